// Export -> import -> compare: every layout, in every encoding that can hold the
// phonebook's characters. What each layout must bring back is stated below from
// what its file carries, field by field.

#include "data/TextCodec.h"
#include "export/ExportFactory.h"
#include "tests/ImportTestUtil.h"

using namespace TestUtil;
using namespace ImportTest;

namespace {

// Names and a group name each encoding can hold.
struct Sample {
    const char *encoding;
    const char *first;
    const char *last;
    const char *group;
};

const Sample kSamples[] = {
    { "UTF-8", "张", "伟 Zoë", "同事" },
    { "UTF-16", "张", "伟 Zoë", "同事" },
    { "UTF-32", "张", "伟 Zoë", "同事" },
    { "GBK", "张", "伟", "同事" },
    { "Big5", "陳", "大文", "朋友" },
    { "Big5-HKSCS", "陳", "大文", "朋友" },
    { "Shift-JIS", "山田", "太郎", "友達" },
    { "ISO 2022-JP", "鈴木", "花子", "会社" },
    { "KOI8-R", "Иван", "Петров", "Друзья" },
    { "Windows-1251", "Ольга", "Сидорова", "Работа" },
    { "EUC-KR", "김", "민준", "친구" },
    { "ISO 8859-1", "José", "Müller", "Straße" },
    { "ISO 8859-15", "Zoë", "Œuvre", "€uro" },
};

// What a layout's file holds of a contact.
struct Layout {
    int format;
    const char *name;
    enum Phones { AllPhones, KnownTypes, FirstOfEachType, FirstFourUntyped, FirstNumber, FourColumns, VCardTypes };
    enum Mails { AllMails, FirstMail, NoMail };
    enum Groups { AllGroups, FirstGroup, BrennNumbers, NoGroup };
    enum Primary { AsStored, ByType, NoPrimary };
    Phones phones;
    bool accounts;
    Mails mails;
    Groups groups;
    Primary primary;
    bool department, frequent, photo, ringtone, ringtoneIndex;
    // Group attributes of the definitions.
    bool groupPhotos, groupRingtones, groupRingtoneIndex;
    // Header text the encoding must hold (the Simplified Chinese CSV layouts).
    const char *header;
};

using L = Layout;
const Layout kLayouts[] = {
    { ExportFactory::VCard, "vCard", L::VCardTypes, true, L::FirstMail, L::FirstGroup, L::ByType, false, true, true,
        true, true, false, false, false, "" },
    { ExportFactory::UniXml, "general XML", L::AllPhones, true, L::AllMails, L::AllGroups, L::AsStored, true, true,
        true, true, true, true, true, true, "" },
    { ExportFactory::XmlAlder, "Alder XML", L::KnownTypes, true, L::AllMails, L::AllGroups, L::AsStored, false, true,
        true, true, false, false, true, false, "" },
    { ExportFactory::XmlBirch, "Birch XML", L::FirstOfEachType, true, L::FirstMail, L::AllGroups, L::AsStored, false,
        true, true, true, true, true, true, true, "" },
    { ExportFactory::XmlCedar, "Cedar XML", L::FirstFourUntyped, true, L::FirstMail, L::AllGroups, L::NoPrimary, false,
        false, true, true, true, false, true, true, "" },
    { ExportFactory::XmlBrenn, "Brenn XML", L::FirstNumber, true, L::NoMail, L::BrennNumbers, L::NoPrimary, true, false,
        false, false, false, false, false, false, "" },
    { ExportFactory::CsvAlder, "Alder CSV", L::FourColumns, true, L::FirstMail, L::FirstGroup, L::AsStored, false, true,
        true, true, true, false, false, false, "" },
    { ExportFactory::CsvBirch, "Birch CSV", L::FourColumns, true, L::FirstMail, L::FirstGroup, L::AsStored, false, true,
        true, true, true, false, false, false, "" },
    { ExportFactory::CsvOutlook, "Outlook CSV", L::FourColumns, false, L::FirstMail, L::FirstGroup, L::ByType, false,
        false, false, false, false, false, false, false, "" },
    { ExportFactory::CsvOutlookCN, "Simplified Chinese Outlook CSV", L::FourColumns, false, L::FirstMail, L::FirstGroup,
        L::ByType, false, false, false, false, false, false, false, false,
        "名姓单位主要电话住宅电话移动电话商务传真电子邮件地址主要电话类别" },
    { ExportFactory::CsvOutlookExpress, "Outlook Express CSV", L::FourColumns, false, L::FirstMail, L::FirstGroup,
        L::ByType, false, false, false, false, false, false, false, false, "" },
    { ExportFactory::CsvOutlookExpressCN, "Simplified Chinese Outlook Express CSV", L::FourColumns, false, L::FirstMail,
        L::NoGroup, L::NoPrimary, false, false, false, false, false, false, false, false,
        "名姓业务电话住宅电话移动电话业务传真电子邮件地址" },
    { ExportFactory::CsvGmail, "Gmail CSV", L::FourColumns, false, L::FirstMail, L::FirstGroup, L::NoPrimary, false,
        false, false, false, false, false, false, false, "" },
};

const QStringList kFourTypes = { "Work", "Home", "Mobile", "Fax" };

// The phonebook sent through every layout.
void buildPhonebook(const Sample &s)
{
    GroupInfo golf;
    golf.name = "Golf";
    golf.photos = "/pics/golf.png";
    golf.ringtones = "/ring/golf.wav";
    golf.RingtoneIndex = 2;
    DataMgr::instance()->phonebook().addGroup(golf);
    addGroup(QString::fromUtf8(s.group));

    ContactInfo a = contact(QString::fromUtf8(s.first), QString::fromUtf8(s.last),
        { phone("Work", "100", 0), phone("Mobile", "+1 (555) 0'1", 1), phone("Home", "200", 2), phone("Fax", "400", 0),
            phone("Telex", "77", 1), phone("Mobile", "301", 3) },
        { mail("Home", "a@example.org"), mail("Work", "a2@example.com") }, { QString::fromUtf8(s.group), "Golf" });
    a.Department = "R&D <1>";
    a.PrimaryIndex = 2;
    a.Frequent = 1;
    a.PhotoUrl = "C:\\photos\\a.jpg";
    a.RingtoneUrl = "http://host/r.wav";
    a.RingtoneIndex = 3;
    addContact(a);

    ContactInfo b = contact("Smith, Jr", "O\"Brien & Co", { phone("Work", "300", 0) }, {}, { "Default" });
    addContact(b);

    ContactInfo c = contact("Bob", "Ray", {}, { mail("Other", "bob@example.org") }, { "Blacklist", "Golf" });
    c.Department = "Sales";
    addContact(c);

    ContactInfo d = contact(QString::fromUtf8(s.last), "Lee", { phone("Home", "500", 1) }, {}, {});
    d.PrimaryIndex = 1;
    d.Frequent = 1;
    addContact(d);
    QVERIFY(DataMgr::instance()->saveToDatabase());
}

QString phoneText(const PhoneInfo &p, const QString &type, bool accounts)
{
    return QStringLiteral("phone %1 %2 %3").arg(type, p.phonenumber).arg(accounts ? p.accountindex : 0);
}

// A contact as it must come back through `layout`, or as it came back.
QStringList expected(const ContactInfo &c, const Layout &l)
{
    QStringList out;
    out << "name " + c.FirstName + "|" + c.LastName;
    out << "department " + (l.department ? c.Department : QString());

    QList<PhoneInfo> list;
    QStringList types;
    switch (l.phones) {
    case Layout::AllPhones:
        for (const PhoneInfo &p : c.PhoneList)
            list << p, types << p.type;
        break;
    case Layout::KnownTypes:
        for (const PhoneInfo &p : c.PhoneList) {
            if (p.type != "CompanyTotal")
                list << p, types << p.type;
        }
        break;
    case Layout::VCardTypes:
        for (const PhoneInfo &p : c.PhoneList) {
            if (kFourTypes.contains(p.type) && !p.phonenumber.isEmpty())
                list << p, types << p.type;
        }
        break;
    case Layout::FirstOfEachType: {
        QStringList taken;
        for (const PhoneInfo &p : c.PhoneList) {
            if (kFourTypes.contains(p.type) && !taken.contains(p.type))
                list << p, types << p.type, taken << p.type;
        }
        break;
    }
    case Layout::FirstFourUntyped:
        for (const PhoneInfo &p : c.PhoneList.mid(0, 4))
            list << p, types << "Work";
        break;
    case Layout::FirstNumber:
        for (const PhoneInfo &p : c.PhoneList) {
            if (!p.phonenumber.isEmpty()) {
                list << p, types << p.type;
                break;
            }
        }
        break;
    case Layout::FourColumns:
        for (const QString &type : kFourTypes) {
            for (const PhoneInfo &p : c.PhoneList) {
                if (p.type == type && !p.phonenumber.isEmpty()) {
                    list << p, types << type;
                    break;
                }
            }
        }
        break;
    }
    for (int i = 0; i < list.size(); ++i)
        out << phoneText(list[i], types[i], l.accounts);

    int primary = 0;
    if (l.primary == Layout::AsStored) {
        primary = c.PrimaryIndex;
    } else if (l.primary == Layout::ByType && c.PrimaryIndex >= 0 && c.PrimaryIndex < 4) {
        for (const PhoneInfo &p : c.PhoneList) {
            if (p.type == kFourTypes[c.PrimaryIndex] && !p.phonenumber.isEmpty())
                primary = c.PrimaryIndex;
        }
    }
    out << QStringLiteral("primary %1").arg(primary);
    out << QStringLiteral("frequent %1").arg(l.frequent ? c.Frequent : 0);

    if (l.mails == Layout::AllMails) {
        for (const MailInfo &m : c.MailList)
            out << "mail " + m.type + " " + m.Mail;
    } else if (l.mails == Layout::FirstMail && !c.MailList.isEmpty()) {
        out << "mail Work " + c.MailList.first().Mail;
    }

    QStringList groupList = groups(c);
    if (l.groups == Layout::FirstGroup)
        groupList = groupList.mid(0, 1);
    else if (l.groups == Layout::NoGroup)
        groupList.clear();
    else if (l.groups == Layout::BrennNumbers) {
        // The phone numbers neither "Default" nor "Blacklist".
        groupList.removeAll("Default");
        groupList.removeAll("Blacklist");
    }
    for (const QString &g : groupList)
        out << "group " + g;

    out << "photo " + (l.photo ? c.PhotoUrl : QString());
    out << "ringtone " + (l.ringtone ? c.RingtoneUrl : QString());
    out << QStringLiteral("ringtoneIndex %1").arg(l.ringtoneIndex ? c.RingtoneIndex : 0);
    return out;
}

// Everything an imported contact holds, in the same form.
QStringList actual(const ContactInfo &c)
{
    QStringList out;
    out << "name " + c.FirstName + "|" + c.LastName;
    out << "department " + c.Department;
    for (const PhoneInfo &p : c.PhoneList) {
        if (!p.phonenumber.isEmpty())
            out << phoneText(p, p.type, true);
    }
    out << QStringLiteral("primary %1").arg(c.PrimaryIndex);
    out << QStringLiteral("frequent %1").arg(c.Frequent);
    for (const MailInfo &m : c.MailList) {
        if (!m.Mail.isEmpty())
            out << "mail " + m.type + " " + m.Mail;
    }
    for (const QString &g : groups(c))
        out << "group " + g;
    out << "photo " + c.PhotoUrl;
    out << "ringtone " + c.RingtoneUrl;
    out << QStringLiteral("ringtoneIndex %1").arg(c.RingtoneIndex);
    return out;
}

// A group definition as it must come back (`source`), or as it came back.
QString groupAttributes(const GroupInfo &g, const Layout &l, bool source)
{
    const bool photos = !source || l.groupPhotos;
    const bool ringtones = !source || l.groupRingtones;
    const bool index = !source || l.groupRingtoneIndex;
    return QStringLiteral("%1 [%2] [%3] [%4]")
        .arg(g.name, photos ? g.photos : QString(), ringtones ? g.ringtones : QString())
        .arg(index ? g.RingtoneIndex : 0);
}

} // namespace

class TestImportRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void generalExportBackIntoItsPhonebook_data();
    void generalExportBackIntoItsPhonebook();
    void brennKeepsPredefinedGroups();
    void accountsComeBack_data();
    void accountsComeBack();
};

void TestImportRoundTrip::roundTrip_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("sample");
    for (int l = 0; l < int(std::size(kLayouts)); ++l) {
        for (int s = 0; s < int(std::size(kSamples)); ++s) {
            const QString header = QString::fromUtf8(kLayouts[l].header);
            if (!TextCodec::canEncode(QString::fromLatin1(kSamples[s].encoding), header))
                continue;
            QTest::addRow("%s, %s", kLayouts[l].name, kSamples[s].encoding) << l << s;
        }
    }
}

void TestImportRoundTrip::roundTrip()
{
    QFETCH(int, layout);
    QFETCH(int, sample);
    const Layout &l = kLayouts[layout];
    const QString encoding = QString::fromLatin1(kSamples[sample].encoding);

    Workspace source;
    buildPhonebook(kSamples[sample]);
    DataMgr *mgr = DataMgr::instance();
    QString path;
    QVERIFY(mgr->exportTo(l.format, encoding, "roundtrip", source.path(), &path));
    QList<QStringList> want;
    for (const ContactInfo &c : mgr->phonebook().contacts())
        want << expected(c, l);
    QStringList wantGroups;
    for (const GroupInfo &g : mgr->savedGroups()) {
        if (l.groups == Layout::AllGroups && g.name != "Default" && g.name != "Blacklist")
            wantGroups << groupAttributes(g, l, true);
    }

    Workspace target;
    QVERIFY2(import(path, encoding), qPrintable(path));
    QList<QStringList> got;
    for (const ContactInfo &c : mgr->phonebook().contacts())
        got << actual(c);
    QCOMPARE(got.size(), want.size());
    for (int i = 0; i < got.size(); ++i)
        QCOMPARE(got[i], want[i]);

    QStringList gotGroups;
    for (const GroupInfo &g : mgr->phonebook().groups()) {
        if (l.groups == Layout::AllGroups && g.name != "Default" && g.name != "Blacklist")
            gotGroups << groupAttributes(g, l, false);
    }
    QCOMPARE(gotGroups, wantGroups);
    const QStringList list = groupNames();
    QCOMPARE(list.count("Default"), 1);
    QCOMPARE(list.count("Blacklist"), 1);
    QCOMPARE(groupIdProblem(), QString());
}

void TestImportRoundTrip::generalExportBackIntoItsPhonebook_data()
{
    QTest::addColumn<bool>("replaceWay");
    QTest::newRow("keep both") << false;
    QTest::newRow("replace duplicates") << true;
}

void TestImportRoundTrip::generalExportBackIntoItsPhonebook()
{
    QFETCH(bool, replaceWay);
    Workspace ws;
    buildPhonebook(kSamples[0]);
    DataMgr *mgr = DataMgr::instance();
    QString path;
    QVERIFY(mgr->exportTo(ExportFactory::UniXml, "UTF-8", "again", ws.path(), &path));
    const QStringList before = groupNames();
    QVERIFY(mgr->saveToDatabase());
    mgr->setMergeMode(replaceWay ? 0 : 1);
    mgr->setReplaceOnImport(false);
    QVERIFY(mgr->importFile(path, "UTF-8"));
    QCOMPARE(groupNames(), before);
    QCOMPARE(int(mgr->phonebook().contacts().size()), replaceWay ? 4 : 8);
    QCOMPARE(members("Golf").size(), replaceWay ? 2 : 4);
    QCOMPARE(groupIdProblem(), QString());
}

// The phone's own groups come back under their names; Default and Blacklist
// members join none of them.
void TestImportRoundTrip::brennKeepsPredefinedGroups()
{
    Workspace source;
    for (const char *name : { "Family", "Friends", "Golf" })
        addGroup(name);
    addContact(contact("Ann", "A", {}, {}, { "Friends" }));
    addContact(contact("Bob", "B", {}, {}, { "Default" }));
    addContact(contact("Cid", "C", {}, {}, { "Blacklist", "Golf" }));
    addContact(contact("Dee", "D", {}, {}, { "Family", "Work" }));
    DataMgr *mgr = DataMgr::instance();
    QVERIFY(mgr->saveToDatabase());
    QString path;
    QVERIFY(mgr->exportTo(ExportFactory::XmlBrenn, "UTF-8", "brenn", source.path(), &path));

    Workspace target;
    QVERIFY(import(path));
    QCOMPARE(members("Family"), QStringList({ "Dee D" }));
    QCOMPARE(members("Friends"), QStringList({ "Ann A" }));
    QCOMPARE(members("Work"), QStringList({ "Dee D" }));
    QCOMPARE(members("Golf"), QStringList({ "Cid C" }));
    QCOMPARE(groups(*find("Bob", "B")), QStringList());
    QCOMPARE(groups(*find("Cid", "C")), QStringList({ "Golf" }));
}

void TestImportRoundTrip::accountsComeBack_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("account");
    for (const Layout &l : kLayouts) {
        // The Alder and Birch CSV rows are alike but for how they count accounts,
        // so a file of them cannot say which it is; their values decide.
        const bool tells = l.format != ExportFactory::CsvAlder && l.format != ExportFactory::CsvBirch;
        for (int account = -1; l.accounts && tells && account < 6; ++account) {
            const QString name = account < 0 ? "Using Active Account" : QString("account%1").arg(account + 1);
            QTest::addRow("%s, %s", l.name, qPrintable(name)) << l.format << account;
        }
    }
}

// Save, then History of the file: a phone's account comes back as it was, alone in
// the file (nothing else there to tell how the file counts).
void TestImportRoundTrip::accountsComeBack()
{
    QFETCH(int, format);
    QFETCH(int, account);
    Workspace ws;
    addContact(contact("Ann", "Lee", { phone("Work", "100", account) }));
    DataMgr *mgr = DataMgr::instance();
    QString path;
    QVERIFY(mgr->savePhonebookFiles(&path));
    if (format != ExportFactory::UniXml)
        QVERIFY(mgr->exportTo(format, "UTF-8", "book", ws.path(), &path));

    mgr->setMergeMode(1);
    mgr->setReplaceOnImport(true);
    QVERIFY(mgr->importFile(path, "UTF-8"));
    QCOMPARE(mgr->phonebook().contacts().size(), 1);
    QCOMPARE(phones(mgr->phonebook().contacts().first()), QStringList({ QString("Work 100 %1").arg(account) }));
}

QTEST_GUILESS_MAIN(TestImportRoundTrip)
#include "TestImportRoundTrip.moc"
