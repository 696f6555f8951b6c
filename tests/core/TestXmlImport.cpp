// The XML reader: the general and model layouts, group runs and references,
// account numbering, the frequent mark, encodings and rejected files.

#include "import/ImportContext.h"
#include "import/XmlParse.h"
#include "tests/ImportTestUtil.h"

using namespace TestUtil;
using namespace ImportTest;

namespace {

QString wrap(const QString &body)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AddressBook>\n") + body
        + QStringLiteral("</AddressBook>\n");
}

QString contactXml(const QString &first, const QString &inner = QString())
{
    return QStringLiteral("<Contact><FirstName>%1</FirstName><LastName>X</LastName>%2</Contact>\n").arg(first, inner);
}

QString pbgroup(int id, const QString &name)
{
    return QStringLiteral("<pbgroup><id>%1</id><name>%2</name></pbgroup>\n").arg(id).arg(name);
}

} // namespace

class TestXmlImport : public QObject
{
    Q_OBJECT

private slots:
    void generalLayout();
    void modelLayouts_data();
    void modelLayouts();
    void onlyContacts();
    void repeatedPbgroupNameIsOneGroup();
    void runsEndAtOtherNodes_data();
    void runsEndAtOtherNodes();
    void accountNumbering_data();
    void accountNumbering();
    void laterElementsDecideEarlierContacts();
    void frequentMark_data();
    void frequentMark();
    void phoneDefaults();
    void existingUserGroupIsJoined();
    void groupCounterSkips100();
    void predefinedGroupNumbers();
    void rejectedFiles_data();
    void rejectedFiles();
    void encodings_data();
    void encodings();
    void declarationWithoutEncodingIsNotRewritten();
    void byteOrderMarkIsSkipped();
};

void TestXmlImport::generalLayout()
{
    Workspace ws;
    QVERIFY(import(dataFile("general.xml")));

    QCOMPARE(names(), QStringList({ "Ann O'Hara", "张 伟", "Bob Lee" }));
    const ContactInfo *ann = find("Ann", "O'Hara");
    QVERIFY(ann);
    QCOMPARE(ann->Department, QString("R&D <east>"));
    QCOMPARE(ann->PrimaryIndex, 2);
    QCOMPARE(ann->PrimaryNumber, QString("0170 555"));
    QCOMPARE(ann->Frequent, 1);
    // The file counts accounts from 1.
    QCOMPARE(phones(*ann), QStringList({ "Work +1 (555) 010'2 0", "Mobile 0170 555 2", "Telex 77 1" }));
    QCOMPARE(ann->MailList.size(), 2);
    QCOMPARE(ann->MailList[0].type, QString("Home"));
    QCOMPARE(ann->MailList[0].Mail, QString("ann@example.org"));
    QCOMPARE(ann->MailList[1].type, QString("Work"));
    QCOMPARE(ann->MailList[1].Mail, QString("ann.work@example.com"));
    QCOMPARE(groups(*ann), QStringList({ "Golf", "Chess & Go" }));
    QCOMPARE(ann->PhotoUrl, QString("C:/photos/ann.jpg"));
    QCOMPARE(ann->RingtoneUrl, QString("http://host/ring.wav"));
    QCOMPARE(ann->RingtoneIndex, 5);

    const ContactInfo *zhang = find("张", "伟");
    QVERIFY(zhang);
    QCOMPARE(phones(*zhang), QStringList({ "Home 8610 1234 0" }));
    QCOMPARE(mails(*zhang), QStringList());
    QCOMPARE(groups(*zhang), QStringList({ "Default" }));

    const ContactInfo *bob = find("Bob", "Lee");
    QVERIFY(bob);
    QCOMPARE(phones(*bob), QStringList());
    QCOMPARE(groups(*bob), QStringList());

    QCOMPARE(storedGroupNames(), QStringList({ "Default", "Golf", "Chess & Go", "Blacklist" }));
    const GroupInfo *golf = group("Golf");
    QCOMPARE(golf->photos, QString("/pics/golf.png"));
    QCOMPARE(golf->ringtones, QString("/ring/golf.wav"));
    QCOMPARE(golf->RingtoneIndex, 2);
    QCOMPARE(members("Golf"), QStringList({ "Ann O'Hara" }));
    QCOMPARE(members("Chess & Go"), QStringList({ "Ann O'Hara" }));
    QCOMPARE(members("Default"), QStringList({ "张 伟" }));
    QCOMPARE(groupIdProblem(), QString());
}

void TestXmlImport::modelLayouts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Alder counts accounts from 0")
        << "alder.xml"
        << "group 0 Default [2]\ngroup 1 Golf [1]\ngroup 100 Blacklist [1]\n"
           "contact 1 Ann|Lee| p1 f1 Work 100 0;Home 200 2|ann@example.org|Golf;Blacklist\n"
           "contact 2 Bob|Ray| p0 f0 Pager 300 1||Default";
    QTest::newRow("Birch skips empty phones") << "birch.xml"
                                              << "group 0 Default []\ngroup 1 Golf [1]\ngroup 100 Blacklist []\n"
                                                 "contact 1 Ann|Lee| p0 f0 Work 100 0;Fax 400 1|ann@example.org|Golf";
    QTest::newRow("Cedar phones have no type") << "cedar.xml"
                                               << "group 0 Default []\ngroup 1 Golf [1]\ngroup 100 Blacklist []\n"
                                                  "contact 1 Ann|Lee| p0 f0 Work 100 0;Work 200 1|ann@example.org|Golf";
    QTest::newRow("Brenn numbers groups")
        << "brenn.xml"
        << "group 0 Default []\ngroup 1 Golf [1,2]\ngroup 2 Chess [2]\ngroup 3 Friends [1]\ngroup 100 Blacklist []\n"
           "contact 1 Ann|Lee|Sales p0 f0 Work 100 0||Friends;Golf\n"
           "contact 2 Bob|Ray| p0 f0 Work 200 1||Golf;Chess";
}

void TestXmlImport::modelLayouts()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    Workspace ws;
    QVERIFY(import(dataFile(file)));
    // Built-ins the empty phonebook does not store yet come from the file or the load.
    const QStringList lines = describe().split('\n');
    // Group ids other than the built-ins' depend on the counter; compare positions.
    QStringList normalised;
    int next = 1;
    for (QString line : lines) {
        if (line.startsWith("group ") && !line.contains(" Default ") && !line.contains(" Blacklist "))
            line.replace(QRegularExpression("^group \\d+ "), QStringLiteral("group %1 ").arg(next++));
        else if (line.contains(" Default "))
            line.replace(QRegularExpression("^group \\d+ "), "group 0 ");
        else if (line.contains(" Blacklist "))
            line.replace(QRegularExpression("^group \\d+ "), "group 100 ");
        normalised << line;
    }
    QCOMPARE(normalised.join('\n'), expected);
    QCOMPARE(groupIdProblem(), QString());
}

void TestXmlImport::onlyContacts()
{
    Workspace ws;
    const QString path
        = writeFile(ws, "c.xml", wrap(contactXml("Ann", "<Group>3</Group>") + contactXml("Bob", "<Group></Group>")));
    QVERIFY(import(path));
    QCOMPARE(names(), QStringList({ "Ann X", "Bob X" }));
    QCOMPARE(groups(*find("Ann", "X")), QStringList());
    QCOMPARE(storedGroupNames(), QStringList({ "Default", "Blacklist" }));
}

void TestXmlImport::repeatedPbgroupNameIsOneGroup()
{
    Workspace ws;
    const QString path = writeFile(ws, "g.xml",
        wrap(pbgroup(3, "Golf") + pbgroup(4, "Golf") + contactXml("Ann", "<Group>3</Group>")
            + contactXml("Bob", "<Group>4</Group>")));
    QVERIFY(import(path));
    QCOMPARE(storedGroupNames(), QStringList({ "Default", "Golf", "Blacklist" }));
    QCOMPARE(members("Golf"), QStringList({ "Ann X", "Bob X" }));
}

void TestXmlImport::runsEndAtOtherNodes_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QStringList>("contacts");
    QTest::addColumn<QStringList>("groupNames");

    QTest::newRow("comment between pbgroups")
        << pbgroup(3, "Golf") + "<!-- more -->\n" + pbgroup(4, "Chess") + contactXml("Ann", "<Group>4</Group>")
        << QStringList({ "Ann X" }) << QStringList({ "Default", "Golf", "Blacklist" });
    QTest::newRow("comment between contacts") << contactXml("Ann") + "<!-- rest -->\n" + contactXml("Bob")
                                              << QStringList({ "Ann X" }) << QStringList({ "Default", "Blacklist" });
    QTest::newRow("other element between contacts")
        << contactXml("Ann") + "<version>1</version>\n" + contactXml("Bob") << QStringList({ "Ann X" })
        << QStringList({ "Default", "Blacklist" });
    QTest::newRow("contacts before groups still see them")
        << contactXml("Ann", "<Group>3</Group>") + pbgroup(3, "Golf") << QStringList({ "Ann X" })
        << QStringList({ "Default", "Golf", "Blacklist" });
    QTest::newRow("nothing to read") << QString("<version>1</version>\n") << QStringList()
                                     << QStringList({ "Default", "Blacklist" });
}

void TestXmlImport::runsEndAtOtherNodes()
{
    QFETCH(QString, body);
    QFETCH(QStringList, contacts);
    QFETCH(QStringList, groupNames);
    Workspace ws;
    QVERIFY(import(writeFile(ws, "r.xml", wrap(body))));
    QCOMPARE(names(), contacts);
    QCOMPARE(storedGroupNames(), groupNames);
}

void TestXmlImport::accountNumbering_data()
{
    QTest::addColumn<QString>("phonesXml");
    QTest::addColumn<QStringList>("expected");
    const QString phone = "<Phone type=\"%1\"><phonenumber>%2</phonenumber>%3</Phone>";
    QTest::newRow("counted from 1") << phone.arg("Work", "1", "<accountindex>1</accountindex>")
            + phone.arg("Home", "2", "<accountindex>2</accountindex>")
                                    << QStringList({ "Work 1 0", "Home 2 1" });
    QTest::newRow("a 0 keeps all") << phone.arg("Work", "1", "<accountindex>0</accountindex>")
            + phone.arg("Home", "2", "<accountindex>2</accountindex>")
                                   << QStringList({ "Work 1 0", "Home 2 2" });
    QTest::newRow("a missing index keeps all")
        << phone.arg("Work", "1", "") + phone.arg("Home", "2", "<accountindex>2</accountindex>")
        << QStringList({ "Work 1 0", "Home 2 2" });
    QTest::newRow("an empty index is 0") << phone.arg("Work", "1", "<accountindex></accountindex>")
            + phone.arg("Home", "2", "<accountindex>3</accountindex>")
                                         << QStringList({ "Work 1 0", "Home 2 3" });
}

void TestXmlImport::accountNumbering()
{
    QFETCH(QString, phonesXml);
    QFETCH(QStringList, expected);
    Workspace ws;
    QVERIFY(import(writeFile(ws, "a.xml", wrap(contactXml("Ann", phonesXml)))));
    QCOMPARE(phones(*find("Ann", "X")), expected);
}

// Rows are made as contacts are read; what the file says after a contact still
// decides how that contact reads.
void TestXmlImport::laterElementsDecideEarlierContacts()
{
    const QString phone = "<Phone type=\"Work\"><phonenumber>1</phonenumber><accountindex>2</accountindex></Phone>";
    const QString ann = contactXml("Ann", phone + "<Groups><groupid>0</groupid></Groups>");
    const QString bob = contactXml("Bob", "<Ringtone>r.mp3</Ringtone>");
    {
        // Bob's Alder ringtone says the file counts accounts from 0.
        Workspace ws;
        QVERIFY(import(writeFile(ws, "a.xml", wrap(ann + bob))));
        QCOMPARE(phones(*find("Ann", "X")), QStringList({ "Work 1 2" }));
    }
    {
        // The file's own groups are numbered before the predefined ones its contacts name.
        Workspace ws;
        QVERIFY(import(writeFile(ws, "g.xml", wrap(ann + bob + pbgroup(7, "Golf")))));
        QCOMPARE(phones(*find("Ann", "X")), QStringList({ "Work 1 2" }));
        QVERIFY(group("Golf")->id < group("Family")->id);
        QCOMPARE(groups(*find("Ann", "X")), QStringList({ "Family" }));
    }
}

void TestXmlImport::frequentMark_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<int>("expected");
    QTest::newRow("1 from our own files") << "<Frequent>1</Frequent>" << 1;
    QTest::newRow("true") << "<Frequent>true</Frequent>" << 1;
    QTest::newRow("upper-case TRUE") << "<Frequent>TRUE</Frequent>" << 0;
    QTest::newRow("0") << "<Frequent>0</Frequent>" << 0;
    QTest::newRow("missing") << QString() << 0;
}

void TestXmlImport::frequentMark()
{
    QFETCH(QString, element);
    QFETCH(int, expected);
    Workspace ws;
    QVERIFY(import(writeFile(ws, "f.xml", wrap(contactXml("Ann", element)))));
    QCOMPARE(find("Ann", "X")->Frequent, expected);
}

void TestXmlImport::phoneDefaults()
{
    Workspace ws;
    const QString body = contactXml("Ann",
        "<Phone><phonenumber>1'2''3</phonenumber></Phone>"
        "<Phone type=\"Home\"><accountindex>2</accountindex></Phone>"
        "<Phone type=\"Fax\"><phonenumber></phonenumber>"
        "<accountindex>2</accountindex></Phone>");
    QVERIFY(import(writeFile(ws, "p.xml", wrap(body))));
    // No type means Work; no number means no phone; apostrophes stay as written.
    QCOMPARE(phones(*find("Ann", "X")), QStringList({ "Work 1'2''3 0" }));
    QCOMPARE(find("Ann", "X")->PhoneList.size(), 1);
}

void TestXmlImport::existingUserGroupIsJoined()
{
    Workspace ws;
    addGroup("Golf");
    addContact(contact("Old", "Member", {}, {}, { "Golf" }));
    QVERIFY(DataMgr::instance()->saveToDatabase());
    DataMgr::instance()->setMergeMode(1);
    QVERIFY(import(writeFile(ws, "j.xml", wrap(pbgroup(9, "Golf") + contactXml("Ann", "<Group>9</Group>")))));
    QCOMPARE(storedGroupNames(), QStringList({ "Default", "Golf", "Blacklist" }));
    QCOMPARE(members("Golf"), QStringList({ "Old Member", "Ann X" }));
}

void TestXmlImport::groupCounterSkips100()
{
    Workspace ws;
    DataMgr::instance()->phonebook().setNextGroupId(99);
    const QString body = "<Group id=\"3\">A</Group><Group id=\"4\">B</Group><Group id=\"5\">C</Group>\n"
        + contactXml("Ann", "<Group>3</Group><Group>4</Group><Group>5</Group>");
    QVERIFY(import(writeFile(ws, "c.xml", wrap(body))));
    QCOMPARE(group("A")->id, 99);
    QCOMPARE(group("B")->id, 101);
    QCOMPARE(group("C")->id, 102);
    QCOMPARE(groups(*find("Ann", "X")), QStringList({ "A", "B", "C" }));
}

void TestXmlImport::predefinedGroupNumbers()
{
    Workspace ws;
    const QString body = contactXml("Ann",
        "<Groups><groupid>0</groupid><groupid>1</groupid><other>2</other>"
        "<groupid>2</groupid><groupid>x</groupid></Groups>");
    QVERIFY(import(writeFile(ws, "n.xml", wrap(body))));
    // "x" is no number: 0, the first predefined group again.
    QCOMPARE(groups(*find("Ann", "X")), QStringList({ "Family", "Friends", "Work" }));
    QCOMPARE(storedGroupNames(), QStringList({ "Default", "Family", "Friends", "Work", "Blacklist" }));
}

void TestXmlImport::rejectedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("detail");
    QTest::newRow("not well-formed") << QByteArray("<AddressBook>\n<Contact><FirstName>A</Contact>\n</AddressBook>")
                                     << "UTF-8"
                                     << "Line 2: Opening and ending tag mismatch.";
    QTest::newRow("broken after the contacts")
        << QByteArray("<AddressBook><Contact><FirstName>A</FirstName></Contact></AddressBook>\n\n<x>") << "UTF-8"
        << "Line 3: Extra content at end of document.";
    QTest::newRow("empty file") << QByteArray() << "UTF-8"
                                << "Line 1: Premature end of document.";
    QTest::newRow("unknown encoding") << QByteArray("<AddressBook/>") << "Klingon-8"
                                      << "The encoding Klingon-8 is unknown.";
}

void TestXmlImport::rejectedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);
    QFETCH(QString, detail);
    Workspace ws;
    addContact(contact("Keep", "Me", { phone("Work", "1") }));
    QVERIFY(DataMgr::instance()->saveToDatabase());
    QVERIFY(DataMgr::instance()->reload());
    expectRejectedKeepsPhonebook(ws, writeBytes(ws, "bad.xml", bytes), encoding);
    ImportContext numbering;
    const Expected<ImportRows> rows = XmlParse().read(bytes, encoding, numbering);
    QVERIFY(!rows);
    QCOMPARE(rows.message(), detail);
}

void TestXmlImport::encodings_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("GBK") << "GBK"
                         << "张三"
                         << "李四";
    QTest::newRow("Big5") << "Big5"
                          << "陳大文"
                          << "黃";
    QTest::newRow("Big5-HKSCS") << "Big5-HKSCS"
                                << "陳"
                                << "黃";
    QTest::newRow("Shift-JIS") << "Shift-JIS"
                               << "山田"
                               << "太郎";
    QTest::newRow("ISO 2022-JP") << "ISO 2022-JP"
                                 << "鈴木"
                                 << "花子";
    QTest::newRow("EUC-KR") << "EUC-KR"
                            << "김"
                            << "민준";
    QTest::newRow("KOI8-R") << "KOI8-R"
                            << "Иван"
                            << "Петров";
    QTest::newRow("Windows-1251") << "Windows-1251"
                                  << "Ольга"
                                  << "Сидорова";
    QTest::newRow("ISO 8859-1") << "ISO 8859-1"
                                << "José"
                                << "Müller";
    QTest::newRow("ISO 8859-15") << "ISO 8859-15"
                                 << "Zoë"
                                 << "Œuvre €";
    QTest::newRow("UTF-16") << "UTF-16"
                            << "Zoë"
                            << "张";
    QTest::newRow("UTF-32") << "UTF-32"
                            << "Zoë"
                            << "张";
    QTest::newRow("lower-case utf-8 is converted too") << "utf-8"
                                                       << "Zoë"
                                                       << "张";
}

void TestXmlImport::encodings()
{
    QFETCH(QString, encoding);
    QFETCH(QString, first);
    QFETCH(QString, last);
    Workspace ws;
    const QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n<AddressBook>\n"
                                        "<Contact><FirstName>%2</FirstName><LastName>%3</LastName>"
                                        "<Phone type=\"Home\"><phonenumber>1</phonenumber></Phone></Contact>\n"
                                        "</AddressBook>\n")
                             .arg(encoding, first, last);
    QVERIFY(import(writeFile(ws, "e.xml", text, encoding), encoding));
    QCOMPARE(names(), QStringList({ first + ' ' + last }));
    QCOMPARE(phones(*find(first, last)), QStringList({ "Home 1 0" }));
    // Converted in memory: no UTF-8 copy is left beside the program.
    QVERIFY(!QFile::exists(ws.file("tmp.xml")));
}

void TestXmlImport::declarationWithoutEncodingIsNotRewritten()
{
    Workspace ws;
    const QString text = QStringLiteral("<?xml version=\"1.0\"?>\n<AddressBook>\n<Contact><FirstName>José</FirstName>"
                                        "<LastName>X</LastName><Phone type=\"Home\"><phonenumber>1</phonenumber>"
                                        "</Phone></Contact>\n</AddressBook>\n");
    QVERIFY(import(writeFile(ws, "d.xml", text, "ISO 8859-1"), "ISO 8859-1"));
    QCOMPARE(phones(*find("José", "X")), QStringList({ "Home 1 0" }));
}

void TestXmlImport::byteOrderMarkIsSkipped()
{
    Workspace ws;
    QVERIFY(import(writeFile(ws, "b.xml", wrap(contactXml("Ann")), "UTF-8", true)));
    QCOMPARE(names(), QStringList({ "Ann X" }));
}

QTEST_GUILESS_MAIN(TestXmlImport)
#include "TestXmlImport.moc"
