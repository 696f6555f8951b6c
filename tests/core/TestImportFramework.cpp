// The reader factory, the shared reader operations and the import entry point.

#include "import/CSVParse.h"
#include "import/ImportContext.h"
#include "import/ParseFactory.h"
#include "import/VCardParse.h"
#include "import/XmlParse.h"
#include "tests/ImportTestUtil.h"

#include <QLocale>

using namespace TestUtil;
using namespace ImportTest;

class TestImportFramework : public QObject
{
    Q_OBJECT

private slots:
    void readerBySuffix_data();
    void readerBySuffix();
    void eachImportReadsAfresh();
    void codecByTerritory_data();
    void codecByTerritory();
    void checkEncoding();
    void countersAndNames();
    void rowValuesKeepTheirKind();
    void importFileReloads();
};

void TestImportFramework::readerBySuffix_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reader");
    QTest::newRow("xml") << "/a/b.xml"
                         << "XmlParse";
    QTest::newRow("vcf") << "b.vcf"
                         << "VCardParse";
    QTest::newRow("csv") << "b.csv"
                         << "CSVParse";
    QTest::newRow("only the last suffix counts") << "b.tar.xml"
                                                 << "XmlParse";
    QTest::newRow("upper-case XML") << "b.XML"
                                    << "";
    QTest::newRow("no suffix") << "phonebook"
                               << "";
    QTest::newRow("dot in the folder only") << "/dir.xml/phonebook"
                                            << "";
    QTest::newRow("other suffix") << "b.txt"
                                  << "";
}

void TestImportFramework::readerBySuffix()
{
    QFETCH(QString, path);
    QFETCH(QString, reader);
    const std::unique_ptr<ParseBase> made = ParseFactory::createParser(path);
    const QString kind = dynamic_cast<XmlParse *>(made.get()) ? "XmlParse"
        : dynamic_cast<VCardParse *>(made.get())              ? "VCardParse"
        : dynamic_cast<CSVParse *>(made.get())                ? "CSVParse"
                                                              : "";
    QCOMPARE(kind, reader);
    QCOMPARE(made == nullptr, reader.isEmpty());
}

void TestImportFramework::eachImportReadsAfresh()
{
    Workspace ws;
    // An Outlook file, then one of ours with its columns elsewhere: the second is
    // not read with the columns of the first.
    QVERIFY(import(writeFile(ws, "a.csv", "First Name,Last Name,Categories\nAnn,Lee,Golf\n")));
    QVERIFY(import(writeFile(ws, "b.csv", "Group,Last Name,First Name\nChess,Ray,Bob\n")));
    QCOMPARE(contactsText(), QString("Ann|Lee p0 f0 [] [] [Golf]\nBob|Ray p0 f0 [] [] [Chess]"));
}

void TestImportFramework::codecByTerritory_data()
{
    QTest::addColumn<int>("territory");
    QTest::addColumn<QString>("codec");
    QTest::newRow("China") << int(QLocale::China) << "GBK";
    QTest::newRow("Hong Kong") << int(QLocale::HongKong) << "Big5-HKSCS";
    QTest::newRow("Japan") << int(QLocale::Japan) << "Shift-JIS";
    QTest::newRow("Russia") << int(QLocale::Russia) << "KOI8-R";
    QTest::newRow("Taiwan") << int(QLocale::Taiwan) << "Big5";
    QTest::newRow("Germany") << int(QLocale::Germany) << "EUC-KR";
}

void TestImportFramework::codecByTerritory()
{
    QFETCH(int, territory);
    QFETCH(QString, codec);
    QCOMPARE(ParseBase::codecNameForTerritory(territory), codec);
}

void TestImportFramework::checkEncoding()
{
    const QByteArray latin = QString("José,Müller\n").toUtf8();
    const QByteArray chinese = QString("张,伟\n").toUtf8();
    CSVParse csv;
    QVERIFY(csv.checkEncoding(latin, "ISO 8859-1"));
    QVERIFY(!csv.checkEncoding(chinese, "ISO 8859-1"));
    QVERIFY(csv.checkEncoding(chinese, "GBK"));
    // Only the text before a zero byte counts.
    QVERIFY(csv.checkEncoding(QByteArray("Ann\0", 4) + chinese, "ISO 8859-1"));
    XmlParse xml;
    QVERIFY(xml.checkEncoding(chinese, "ignored"));
}

// Rows keep each value as the store must get it: a null of the column's kind, an
// empty text apart from none, a number given as text as that text, and an index
// lowered by normaliseAccounts stays a number.
void TestImportFramework::rowValuesKeepTheirKind()
{
    ImportRows rows;
    ImportRows::Contact c;
    c.id = 3;
    c.Department = QString("");
    c.LastName = QString("Lee");
    c.RingtoneIndex = QString("2abc");
    c.PrimaryIndex = 4;
    rows.addContact(c);
    rows.addPhone(3, "Work", QString(), 2, ImportRows::Counting::FromOne);
    rows.addPhone(3, "Home", "5", QVariant(), ImportRows::Counting::FromOne);
    rows.normaliseAccounts();

    auto describe = [](const QVariantList &column) {
        QStringList out;
        for (const QVariant &v : column)
            out << QStringLiteral("%1:%2:%3").arg(v.metaType().name()).arg(v.isNull()).arg(v.toString());
        return out.join(' ');
    };
    const QList<QVariantList> contact = rows.batch("contact1").value("contact1");
    QCOMPARE(contact.size(), 10);
    QVariantList firstRow;
    for (int column : { 0, 1, 2, 3, 4, 6, 7 })
        firstRow << contact[column].first();
    QCOMPARE(describe(firstRow).split(' '),
        QStringList(
            { "int:0:3", "QString:0:", "QString:0:Lee", "QString:1:", "QString:1:", "QString:0:2abc", "int:0:4" }));
    QVERIFY(!contact[1].first().toString().isNull());
    const QList<QVariantList> phone = rows.batch().value("phone1");
    QCOMPARE(describe(phone[2]), QString("QString:0: QString:0:5"));
    QVERIFY(phone[2].first().toString().isNull());
    QCOMPARE(describe(phone[3]), QString("int:0:1 int:1:0"));
    QVERIFY(rows.batch("mail1").isEmpty());
}

void TestImportFramework::countersAndNames()
{
    Workspace ws;
    DataMgr *mgr = DataMgr::instance();
    // A read numbers its rows from the context it is given, passes the group ids
    // in use, and hands its new user groups back; the phonebook it leaves alone.
    ImportContext numbering(7, 50);
    numbering.addStoredGroup(50, "Golf");
    const Expected<ImportRows> rows = VCardParse().read(
        "BEGIN:VCARD\nN:A;B\nX-MARLO-GROUP:Chess\nX-MARLO-GROUP:Golf\nEND:VCARD\n", "UTF-8", numbering);
    QVERIFY(rows);
    QCOMPARE(rows->batch().value("contact1").first(), QVariantList({ 7 }));
    QCOMPARE(rows->batch().value("group1").first(), QVariantList({ 51 }));
    QCOMPARE(rows->batch().value("union1").last(), QVariantList({ "Chess", "Golf" }));
    QCOMPARE(numbering.nextContactId(), 8);
    QCOMPARE(numbering.newUserGroups(), QStringList({ "Chess" }));
    QVERIFY(mgr->phonebook().contacts().isEmpty());
    QVERIFY(mgr->phonebook().userGroupNames().isEmpty());

    // An import numbers on from the data manager's counters and names the new groups.
    mgr->phonebook().setNextContactId(7);
    QVERIFY(import(writeFile(ws, "c.vcf", "BEGIN:VCARD\nN:A;B\nX-MARLO-GROUP:Chess\nEND:VCARD\n")));
    QCOMPARE(mgr->phonebook().contacts().first().id, 7);
    QVERIFY(mgr->phonebook().userGroupNames().contains("Chess"));
}

void TestImportFramework::importFileReloads()
{
    Workspace ws;
    RecordingNotifier notes;
    QSignalSpy updates(DataMgr::instance(), &DataMgr::updateModel);
    QVERIFY(import(writeFile(ws, "a.csv", "First Name,Last Name\nAnn,Lee\n")));
    QVERIFY(updates.count() >= 1);
    QCOMPARE(names(), QStringList({ "Ann Lee" }));
    QCOMPARE(DataMgr::instance()->phonebook().contacts().first().NamePinyin, QString("Ann Lee"));
    // Readers show nothing themselves.
    QVERIFY(notes.entries.isEmpty());
}

QTEST_GUILESS_MAIN(TestImportFramework)
#include "TestImportFramework.moc"
