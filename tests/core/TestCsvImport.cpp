// The CSV reader: the header layouts, files written by the desktop mail programs
// themselves (our own samples and real ones), column lookup by name, fax columns,
// separators, account numbering, encodings and rejected files.

#include "import/CSVParse.h"
#include "import/ImportContext.h"
#include "tests/ImportTestUtil.h"

using namespace TestUtil;
using namespace ImportTest;

class TestCsvImport : public QObject
{
    Q_OBJECT

private slots:
    void layouts_data();
    void layouts();
    void otherPrograms_data();
    void otherPrograms();
    void realWorld_data();
    void realWorld();
    void realWorldDepartments_data();
    void realWorldDepartments();
    void departmentsAndMailTypes_data();
    void departmentsAndMailTypes();
    void recognition_data();
    void recognition();
    void ownLayoutValues();
    void outlookFaxColumns();
    void rejectedFiles_data();
    void rejectedFiles();
    void encodings_data();
    void encodings();
    void convertedInMemory();
    void fileNamedLikeATemporaryCopy_data();
    void fileNamedLikeATemporaryCopy();
};

void TestCsvImport::layouts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("contacts");
    QTest::addColumn<QStringList>("groupNames");

    QTest::newRow("own, accounts from 0")
        << "own.csv"
        << "Smith, Jr|O\"Brien p2 f1 [Work 100 1;Mobile 300 2] [ann@example.org] [Golf]\n"
           "Bob|Lee p0 f0 [] [] []\n"
           "张|伟 p0 f0 [Work 8610 0;Fax 555 0] [] [Default]"
        << QStringList({ "Default", "Golf", "Blacklist" });
    QTest::newRow("own, accounts from 1") << "own_from1.csv"
                                          << "Ann|Lee p2 f1 [Mobile 300 2] [] []\n"
                                             "Bob|Ray p0 f0 [Work 100 0;Home 200 1] [] []"
                                          << QStringList({ "Default", "Blacklist" });
    QTest::newRow("Outlook's own export")
        << "outlook_desktop.csv"
        << "Ann|Lee p2 f0 [Work +1 555 0100 0;Home +1 555 0111 0;Mobile +1 555 0122 0;Fax +1 555 0177 0;"
           "Company Main +1 555 0199 0] [ann@example.org] [Golf]\n"
           "Bob|Ray p0 f0 [Work +1 555 0400 0;Fax +1 555 0300 0;Other Fax +1 555 0500 0] [bob@example.org] [Default]"
        << QStringList({ "Default", "Golf", "Blacklist" });
    QTest::newRow("Outlook layout, primary as phone type")
        << "outlook.csv"
        << "Ann|Lee p2 f0 [Home 200 0;Mobile 300 0] [ann@example.org] [Golf]\n"
           "Bob|Ray p0 f0 [Work 100 0;Fax 400 0] [] [Golf]"
        << QStringList({ "Default", "Golf", "Blacklist" });
    QTest::newRow("Outlook Express with Business Phone")
        << "outlook_express.csv"
        << "Ann|Lee p0 f0 [Work 100 0;Home 200 0;Mobile 300 0;Fax 400 0] [ann@example.org] []"
        << QStringList({ "Default", "Blacklist" });
    QTest::newRow("Simplified Chinese Outlook") << "outlook_cn.csv"
                                                << "三|张 p2 f0 [Work 100 0;Mobile 300 0] [zs@example.cn] [同事]"
                                                << QStringList({ "Default", "同事", "Blacklist" });
    QTest::newRow("Simplified Chinese Outlook Express")
        << "outlook_express_cn.csv"
        << "四|李 p0 f0 [Work 100 0;Home 200 0;Fax 400 0] [ls@example.cn] []"
        << QStringList({ "Default", "Blacklist" });
    QTest::newRow("Gmail")
        << "gmail.csv"
        << "Ann|Lee p0 f0 [Work 100 0;Home 200 0;Home 201 0;Mobile 300 0;Fax 400 0] [ann@example.org] [Golf]\n"
           "Bob|Ray p0 f0 [Work 101 0;Fax 500 0] [] []"
        << QStringList({ "Default", "Golf", "Blacklist" });
    QTest::newRow("header names in other letter case")
        << "header_case.csv"
        << "Ann|Lee p0 f0 [Mobile 300 0] [] [Golf]" << QStringList({ "Default", "Golf", "Blacklist" });
    QTest::newRow("byte-order mark and no final line end")
        << "bom_no_final_newline.csv"
        << "Ann|Lee p0 f0 [Home 200 0] [] []" << QStringList({ "Default", "Blacklist" });
}

void TestCsvImport::layouts()
{
    QFETCH(QString, file);
    QFETCH(QString, contacts);
    QFETCH(QStringList, groupNames);
    Workspace ws;
    QVERIFY(import(dataFile(file)));
    QCOMPARE(contactsText(), contacts);
    QCOMPARE(storedGroupNames(), groupNames);
    QCOMPARE(groupIdProblem(), QString());
}

void TestCsvImport::otherPrograms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("contacts");
    QTest::newRow("Thunderbird, a display name alone")
        << "First Name,Last Name,Display Name,Primary Email,Secondary Email,Work Phone,Home Phone,Fax Number,"
           "Pager Number,Mobile Number\nAnn,Lee,Ann Lee,a@x.org,b@x.org,1,2,3,4,5\n,,Help desk,,,,,,,\n"
        << "Ann|Lee p0 f0 [Work 1 0;Home 2 0;Fax 3 0;Pager 4 0;Mobile 5 0] [a@x.org;b@x.org] []\n"
           "Help desk| p0 f0 [] [] []";
    QTest::newRow("Google, ::: values and starred labels")
        << "First Name,Last Name,Labels,E-mail 1 - Label,E-mail 1 - Value,Phone 1 - Label,Phone 1 - Value,"
           "Phone 2 - Label,Phone 2 - Value\nAnn,Lee,* myContacts ::: Golf,* Home,a@x.org ::: b@x.org,* Mobile,"
           "1 ::: 2,Work Fax,3\n"
           "Bob,Ray,* My Contacts,,,Custom,4,,\n"
        << "Ann|Lee p0 f0 [Mobile 1 0;Mobile 2 0;Work Fax 3 0] [a@x.org;b@x.org] [Golf]\n"
           "Bob|Ray p0 f0 [Other 4 0] [] []";
    QTest::newRow("Outlook, every number and address")
        << "First Name,Last Name,Business Phone,Business Phone 2,Car Phone,Pager,Callback,Assistant's Phone,"
           "Radio Phone,Telex,TTY/TDD Phone,ISDN,Other Phone,Home Phone 2,E-mail Address,E-mail 2 Address,"
           "Categories\nAnn,Lee,1,2,3,4,5,6,7,8,9,10,11,12,a@x.org,b@x.org,Golf;Work\n"
        << "Ann|Lee p0 f0 [Work 1 0;Work 2 0;Car 3 0;Pager 4 0;Callback 5 0;Assistant 6 0;Radio 7 0;Telex 8 0;"
           "TTY TTD 9 0;ISDN 10 0;Other 11 0;Home 12 0] [a@x.org;b@x.org] [Golf]";
    QTest::newRow("semicolons") << "First Name;Last Name;Mobile Phone\n\"Lee, Ann\";Lee;1\n"
                                << "Lee, Ann|Lee p0 f0 [Mobile 1 0] [] []";
    QTest::newRow("tabs") << "First Name\tLast Name\tMobile Phone\nAnn\tLee, Jr\t1\n"
                          << "Ann|Lee, Jr p0 f0 [Mobile 1 0] [] []";
    QTest::newRow("carriage returns alone") << "First Name,Last Name\rAnn,Lee\rBob,Ray\r"
                                            << "Ann|Lee p0 f0 [] [] []\nBob|Ray p0 f0 [] [] []";
    QTest::newRow("a quote inside a field is text") << "First Name,Last Name\nAnn,O\"Brien\nBob,Ray\n"
                                                    << "Ann|O\"Brien p0 f0 [] [] []\nBob|Ray p0 f0 [] [] []";
}

void TestCsvImport::otherPrograms()
{
    QFETCH(QString, text);
    QFETCH(QString, contacts);
    Workspace ws;
    QVERIFY(import(writeFile(ws, "o.csv", text)));
    QCOMPARE(contactsText(), contacts);
}

void TestCsvImport::realWorld_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("contacts");
    const QString thunderbird
        = "Wei|Zhang p0 f0 [Work +86 10 5555 0101 0;Home +86 10 5555 0102 0;Fax +86 10 5555 0103 0;Pager 5550104 0;"
          "Mobile +86 138 0000 0105 0] [wei.zhang@example.com;zw@example.org] []\n"
          "伟|王 p0 f0 [Mobile 139 0000 0201 0] [wang@example.cn] []\n"
          "Help desk| p0 f0 [] [help@example.com] []";
    QTest::newRow("Thunderbird") << "thunderbird.csv" << thunderbird;
    QTest::newRow("Thunderbird, semicolons") << "thunderbird-semicolon.csv" << thunderbird;
    QTest::newRow("Google Contacts")
        << "google-contacts.csv"
        << "Aisha|Rahman p0 f0 [Mobile +60 12-345 6789 0;Work +60 3-1234 5678 0;Work +60 3-1234 5679 0;"
           "Work Fax +60 3-1234 5600 0] [aisha@example.com;a.rahman@example.org] [Rotary]\n"
           "小明|李 p0 f0 [Home 010 5555 0301 0;Pager 5550302 0] [xiaoming@example.cn] [家人]";
}

void TestCsvImport::realWorld()
{
    QFETCH(QString, file);
    QFETCH(QString, contacts);
    expectRealWorldImport(file, contacts);
}

void TestCsvImport::realWorldDepartments_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("contacts");
    const QString thunderbird = "Wei|Zhang {Example Ltd / Sales} [Work wei.zhang@example.com;Work zw@example.org]\n"
                                "伟|王 {} [Work wang@example.cn]\nHelp desk| {} [Work help@example.com]";
    QTest::newRow("Thunderbird") << "thunderbird.csv" << thunderbird;
    QTest::newRow("Thunderbird, semicolons") << "thunderbird-semicolon.csv" << thunderbird;
    QTest::newRow("Google Contacts") << "google-contacts.csv"
                                     << "Aisha|Rahman {} [Home aisha@example.com;Work a.rahman@example.org]\n"
                                        "小明|李 {} [Other xiaoming@example.cn]";
}

void TestCsvImport::realWorldDepartments()
{
    QFETCH(QString, file);
    QFETCH(QString, contacts);
    expectRealWorldDepartments(file, contacts);
}

void TestCsvImport::departmentsAndMailTypes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("contacts");
    QTest::newRow("Outlook's Company and Department")
        << "First Name,Last Name,Company,Department,Business Phone,E-mail Address\nAnn,Lee,Acme,Sales,1,a@x\n"
           "Bob,Ray,,Sales,,\nCy,Ho,Acme,acme,,\n"
        << "Ann|Lee {Acme / Sales} [Work a@x]\nBob|Ray {Sales} []\nCy|Ho {Acme} []";
    QTest::newRow("Thunderbird's Organization and Department")
        << "First Name,Last Name,Display Name,Primary Email,Department,Organization\nAnn,Lee,,a@x,Sales,Acme\n"
        << "Ann|Lee {Acme / Sales} [Work a@x]";
    QTest::newRow("Outlook in Chinese") << "名,姓,公司,部门,类别\n伟,张,示例公司,销售部,\n"
                                        << "伟|张 {示例公司 / 销售部} []";
    QTest::newRow("Google, labels of every kind")
        << "First Name,Last Name,Organization Name,Organization Department,Labels,E-mail 1 - Label,"
           "E-mail 1 - Value,E-mail 2 - Label,E-mail 2 - Value,E-mail 3 - Label,E-mail 3 - Value,"
           "E-mail 4 - Label,E-mail 4 - Value\n"
           "Ann,Lee,Acme,Sales,,* Home,h@x ::: h2@x,Work,w@x,Other,o@x,School,s@x\n"
           "Bob,Ray,,,,,u@x,Mobile,m@x,* Other,o@x,,\n"
        << "Ann|Lee {Acme / Sales} [Home h@x;Home h2@x;Work w@x;Other o@x;Other s@x]\n"
           "Bob|Ray {} [Work u@x;Mobile m@x;Other o@x]";
    // The older layout is also ours, which writes "* Other" on every address.
    QTest::newRow("older Google layout")
        << "Given Name,Family Name,E-mail 1 - type,E-mail 1 - Value,Organization 1 - Name,"
           "Organization 1 - Department\nAnn,Lee,* Other,a@x,Acme,Sales\nBob,Ray,Home,b@x,,\n"
        << "Ann|Lee {Acme / Sales} [Work a@x]\nBob|Ray {} [Home b@x]";
}

void TestCsvImport::departmentsAndMailTypes()
{
    QFETCH(QString, text);
    QFETCH(QString, contacts);
    Workspace ws;
    QVERIFY(import(writeFile(ws, "d.csv", text)));
    QCOMPARE(departmentsText(), contacts);
}

void TestCsvImport::recognition_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("layout");
    QTest::newRow("Outlook by Categories") << "First Name,Last Name,Categories" << int(CSVParse::Outlook);
    QTest::newRow("Categories with Business Phone falls to own")
        << "First Name,Last Name,Categories,Business Phone" << int(CSVParse::Own);
    QTest::newRow("business phone in other case is still Outlook")
        << "First Name,Categories,business phone" << int(CSVParse::Outlook);
    QTest::newRow("Outlook, Chinese") << "名,姓,类别" << int(CSVParse::OutlookChinese);
    QTest::newRow("Outlook Express by Business Fax") << "First Name,Business Fax" << int(CSVParse::OutlookExpress);
    QTest::newRow("Outlook Express, Chinese") << "名,姓,业务传真" << int(CSVParse::OutlookExpressChinese);
    QTest::newRow("Gmail") << "Given Name,Family Name" << int(CSVParse::Gmail);
    QTest::newRow("own") << "First Name,Last Name,Group" << int(CSVParse::Own);
    QTest::newRow("Thunderbird") << "First Name,Last Name,Primary Email,Work Phone" << int(CSVParse::Thunderbird);
    QTest::newRow("Google's current layout before Gmail")
        << "First Name,Last Name,Labels,Phone 1 - Label,Phone 1 - Value" << int(CSVParse::GoogleContacts);
}

void TestCsvImport::recognition()
{
    QFETCH(QString, header);
    QFETCH(int, layout);
    QCOMPARE(int(CSVParse::layoutOf(header.split(','))), layout);
}

void TestCsvImport::ownLayoutValues()
{
    Workspace ws;
    QVERIFY(import(dataFile("own.csv")));
    const ContactInfo *c = find("Smith, Jr", "O\"Brien");
    QVERIFY(c);
    QCOMPARE(c->PhotoUrl, QString("/p/a.png"));
    QCOMPARE(c->RingtoneIndex, 3);
    QCOMPARE(c->RingtoneUrl, QString("/r/a.wav"));
    QCOMPARE(c->PrimaryNumber, QString("300"));
    // "Default" was not stored yet, so the file created it with its own id.
    QCOMPARE(group("Default")->id, 0);
    QCOMPARE(members("Default"), QStringList({ "张 伟" }));
}

void TestCsvImport::outlookFaxColumns()
{
    Workspace ws;
    const QString text = "First Name,Last Name,Business Fax,Home Fax,Other Fax,Categories\n"
                         "Ann,Lee,,222,333,\n"
                         "Bob,Ray,111,222,,\n";
    QVERIFY(import(writeFile(ws, "fax.csv", text)));
    // The first fax number is the Fax; the others keep their own kinds.
    QCOMPARE(phones(*find("Ann", "Lee")), QStringList({ "Fax 222 0", "Other Fax 333 0" }));
    QCOMPARE(phones(*find("Bob", "Ray")), QStringList({ "Fax 111 0", "Home Fax 222 0" }));
}

void TestCsvImport::rejectedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("detail");
    const QString noColumn = "The first line of the file names no column this program reads.";
    QTest::newRow("no known column") << QByteArray("Foo,Bar\n1,2\n") << "UTF-8" << noColumn;
    QTest::newRow("empty file") << QByteArray() << "UTF-8" << noColumn;
    QTest::newRow("unknown encoding") << QByteArray("First Name\nAnn\n") << "Klingon-8"
                                      << "The encoding Klingon-8 is unknown.";
    QTest::newRow("quote never closed") << QByteArray("First Name,Last Name\nAnn,Lee\n\"Bob,Ray\nCid,Day\n") << "UTF-8"
                                        << "The quoted field that starts on line 3 is never closed.";
    QTest::newRow("Windows-1252 bytes read as UTF-8")
        << QByteArray("First Name\nJ\xfcrgen\n") << "UTF-8"
        << "The file is not valid UTF-8 text; choose the encoding it was saved in.";
    QTest::newRow("bytes Shift-JIS does not have")
        << QByteArray("First Name\n\x82\xa0\x82\n") << "Shift-JIS"
        << "The file is not valid Shift-JIS text; choose the encoding it was saved in.";
}

void TestCsvImport::rejectedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);
    QFETCH(QString, detail);
    Workspace ws;
    addContact(contact("Keep", "Me", { phone("Work", "1") }));
    QVERIFY(DataMgr::instance()->saveToDatabase());
    QVERIFY(DataMgr::instance()->reload());
    expectRejectedKeepsPhonebook(ws, writeBytes(ws, "bad.csv", bytes), encoding);
    ImportContext numbering;
    const Expected<ImportRows> rows = CSVParse().read(bytes, encoding, numbering);
    QVERIFY(!rows);
    QCOMPARE(rows.message(), detail);
}

void TestCsvImport::encodings_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("group");
    const QString own = "First Name,Last Name,Mobile Phone,Group";
    const QString chinese = "名,姓,移动电话,类别";
    QTest::newRow("GBK, Chinese header") << "GBK" << chinese << "三"
                                         << "张"
                                         << "同事";
    QTest::newRow("Big5") << "Big5" << own << "大文"
                          << "陳"
                          << "朋友";
    QTest::newRow("Big5-HKSCS") << "Big5-HKSCS" << own << "大文"
                                << "陳"
                                << "朋友";
    QTest::newRow("Shift-JIS") << "Shift-JIS" << own << "太郎"
                               << "山田"
                               << "友達";
    QTest::newRow("ISO 2022-JP") << "ISO 2022-JP" << own << "花子"
                                 << "鈴木"
                                 << "会社";
    QTest::newRow("EUC-KR") << "EUC-KR" << own << "민준"
                            << "김"
                            << "친구";
    QTest::newRow("KOI8-R") << "KOI8-R" << own << "Иван"
                            << "Петров"
                            << "Друзья";
    QTest::newRow("Windows-1251") << "Windows-1251" << own << "Ольга"
                                  << "Сидорова"
                                  << "Работа";
    QTest::newRow("ISO 8859-1") << "ISO 8859-1" << own << "José"
                                << "Müller"
                                << "Straße";
    QTest::newRow("ISO 8859-15") << "ISO 8859-15" << own << "Zoë"
                                 << "Œuvre"
                                 << "€uro";
    QTest::newRow("UTF-16") << "UTF-16" << chinese << "三"
                            << "张"
                            << "同事";
    QTest::newRow("UTF-32") << "UTF-32" << own << "Zoë"
                            << "张"
                            << "同事";
}

void TestCsvImport::encodings()
{
    QFETCH(QString, encoding);
    QFETCH(QString, header);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, group);
    Workspace ws;
    const QString text = header + "\n\"" + first + "\",\"" + last + "\",300,\"" + group + "\"\n";
    QVERIFY(import(writeFile(ws, "e.csv", text, encoding), encoding));
    QCOMPARE(contactsText(), QStringLiteral("%1|%2 p0 f0 [Mobile 300 0] [] [%3]").arg(first, last, group));
}

void TestCsvImport::convertedInMemory()
{
    Workspace ws;
    QVERIFY(import(writeFile(ws, "t.csv", "First Name\rJosé\rZoë", "ISO 8859-1"), "ISO 8859-1"));
    QCOMPARE(names(), QStringList({ "José ", "Zoë " }));
    // No converted or line-normalised copy is left beside the program.
    QCOMPARE(QDir(ws.path()).entryList({ "tmp*" }), QStringList());
}

void TestCsvImport::fileNamedLikeATemporaryCopy_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("tmp.csv") << "tmp.csv";
    QTest::newRow("tmp2.csv") << "tmp2.csv";
}

void TestCsvImport::fileNamedLikeATemporaryCopy()
{
    QFETCH(QString, name);
    Workspace ws;
    // A file the user keeps in the program folder under the name of a working copy.
    QFile f(ws.file(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("First Name,Last Name\nAnn,Lee\n");
    f.close();
    QVERIFY(import(ws.file(name)));
    QCOMPARE(names(), QStringList({ "Ann Lee" }));
}

QTEST_GUILESS_MAIN(TestCsvImport)
#include "TestCsvImport.moc"
