// The vCard reader: our own dialect, cards of other programs (our own and real
// samples), card boundaries, groups named by cards, accounts, encodings, charsets
// declared by properties and rejected files.

#include "data/TextCodec.h"
#include "tests/CliRun.h"
#include "tests/ImportTestUtil.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace TestUtil;
using namespace ImportTest;

namespace {

QString card(const QString &lines)
{
    return "BEGIN:VCARD\nVERSION:3.0\n" + lines + "END:VCARD\n";
}

} // namespace

class TestVCardImport : public QObject
{
    Q_OBJECT

private slots:
    void ownDialect();
    void otherPrograms();
    void realWorld_data();
    void realWorld();
    void realWorldDepartments_data();
    void realWorldDepartments();
    void cards_data();
    void cards();
    void departmentsAndMailTypes_data();
    void departmentsAndMailTypes();
    void escapedNamesRoundTrip();
    void twoNewGroupsInOneCard();
    void boundaryErrors_data();
    void boundaryErrors();
    void encodings_data();
    void encodings();
    void foldedInsideACharacter_data();
    void foldedInsideACharacter();
    void declaredCharsets_data();
    void declaredCharsets();
};

void TestVCardImport::ownDialect()
{
    Workspace ws;
    QVERIFY(import(dataFile("cards.vcf")));
    QCOMPARE(contactsText(),
        QString("Ann|Lee p2 f1 [Work 100 0;Mobile 300 2;Fax 400 1] [ann@example.org] [Golf]\n"
                "伟|张 p0 f0 [Home 8610 0] [] [Golf]"));
    const ContactInfo *ann = find("Ann", "Lee");
    // Values keep their own colons.
    QCOMPARE(ann->PhotoUrl, QString("C:\\photos\\ann.jpg"));
    QCOMPARE(ann->RingtoneUrl, QString("http://host/ring.wav"));
    QCOMPARE(ann->RingtoneIndex, 4);
    QCOMPARE(ann->PrimaryNumber, QString("300"));
    QCOMPARE(storedGroupNames(), QStringList({ "Default", "Golf", "Blacklist" }));
    QCOMPARE(members("Golf"), QStringList({ "Ann Lee", "伟 张" }));
}

void TestVCardImport::otherPrograms()
{
    Workspace ws;
    QVERIFY(import(dataFile("foreign.vcf")));
    // N wins over an earlier FN; WORK with FAX is a work fax; an untyped number is
    // Other beside a Work one; the first PREF counts; a tel: URI gives its number.
    QCOMPARE(contactsText(),
        QString("John|Smith p1 f0 [Work 100 0;Work Fax 200 0;Other 999 0;Pager 555 0;Home 300 0;"
                "Fax 400 0] [john@example.org] []\n"
                "Bob|Ray p0 f0 [Mobile +1-555-0100 0] [] []"));
}

void TestVCardImport::realWorld_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("contacts");
    QTest::newRow("Android 2.1") << "John_Doe_ANDROID.vcf"
                                 << "| p0 f0 [] [john.doe@company.com] []\n"
                                    "| p0 f0 [] [jane.doe@company.com] []\n"
                                    "|Ñ Ñ Ñ Ñ p2 f0 [Mobile 123456789 0] [] []\n"
                                    "|Ñ Ñ Ñ Ñ Ñ Ñ Ñ Ñ Ñ Ñ Ñ p2 f0 [Mobile 123456 0;Home 234567 0;Mobile 3456789 0;"
                                    "Home 45678901 0] [] []\n"
                                    "Ñ Ñ Ñ|Ñ Ñ p2 f0 [Mobile 123456 0;Work 123456 0;Work Fax 123456 0] "
                                    "[bob@company.com;ÑÑÑÑÑÑÑÑÑÑÑÑÑÑ] []\n"
                                    "|ÑÑÑÑ p2 f0 [Mobile 55556666 0] [henry@company.com] []";
    QTest::newRow("Evolution") << "John_Doe_EVOLUTION.vcf"
                               << "John|Doe p0 f0 [Mobile 905-666-1234 0;Work 905-555-1234 0] [john.doe@ibm.com] [VIP]";
    QTest::newRow("Google") << "John_Doe_GMAIL.vcf"
                            << "John|Doe p0 f0 [Mobile 905-555-1234 0;Home 905-666-1234 0] [john.doe@ibm.com] []";
    QTest::newRow("iPhone") << "John_Doe_IPHONE.vcf"
                            << "John|Doe p2 f0 [Mobile 905-555-1234 0;Home 905-666-1234 0;Work 905-777-1234 0;"
                               "Home Fax 905-888-1234 0;Work Fax 905-999-1234 0;Pager 905-111-1234 0;"
                               "Assistant 905-222-1234 0] [john.doe@ibm.com] []";
    QTest::newRow("Outlook 2007") << "outlook-2007.vcf"
                                  << "Michael|Angstadt p0 f0 [Work (111) 555-1111 0;Home (111) 555-2222 0;"
                                     "Mobile (111) 555-4444 0;Work Fax (111) 555-3333 0;Callback (111) 555-4444 0] "
                                     "[mike.angstadt@gmail.com] []";
}

void TestVCardImport::realWorld()
{
    QFETCH(QString, file);
    QFETCH(QString, contacts);
    expectRealWorldImport(file, contacts);
}

void TestVCardImport::realWorldDepartments_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("contacts");
    // Android's cards name their company in quoted-printable Ñ, twice; the first counts.
    const QString n = QStringLiteral("Ñ");
    QTest::newRow("Android 2.1") << "John_Doe_ANDROID.vcf"
                                 << "| {} [Work john.doe@company.com]\n| {} [Work jane.doe@company.com]\n"
                                    "|Ñ Ñ Ñ Ñ {} []\n|Ñ Ñ Ñ Ñ Ñ Ñ Ñ Ñ Ñ Ñ Ñ {} []\n"
                                    "Ñ Ñ Ñ|Ñ Ñ {"
            + n.repeated(12) + "} [Work bob@company.com;Work " + n.repeated(14) + "]\n|ÑÑÑÑ {" + n.repeated(44)
            + "} [Work henry@company.com]";
    QTest::newRow("Evolution") << "John_Doe_EVOLUTION.vcf"
                               << "John|Doe {IBM / Accounting / Dungeon} [Work john.doe@ibm.com]";
    QTest::newRow("Google") << "John_Doe_GMAIL.vcf"
                            << "John|Doe {IBM} [Home john.doe@ibm.com]";
    QTest::newRow("iPhone") << "John_Doe_IPHONE.vcf"
                            << "John|Doe {IBM / Accounting} [Work john.doe@ibm.com]";
    QTest::newRow("Outlook 2007") << "outlook-2007.vcf"
                                  << "Michael|Angstadt {TheCompany / TheDepartment} [Work mike.angstadt@gmail.com]";
}

void TestVCardImport::realWorldDepartments()
{
    QFETCH(QString, file);
    QFETCH(QString, contacts);
    expectRealWorldDepartments(file, contacts);
}

void TestVCardImport::cards_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("contacts");

    QTest::newRow("N gives family;given") << card("N:Smith;John\n") << "John|Smith p0 f0 [] [] []";
    QTest::newRow("FN alone is the first name, whole") << card("FN:van  der Berg\n") << "van  der Berg| p0 f0 [] [] []";
    QTest::newRow("N after FN wins, without prefix and suffix")
        << card("FN:Mr. John Richter Doe Sr.\nN;LANGUAGE=en-us:Doe;John;Richter;Mr.;Sr.\n")
        << "John|Doe p0 f0 [] [] []";
    QTest::newRow("empty N leaves the name to FN") << card("N:;;;;\nFN:Acme Inc.\n") << "Acme Inc.| p0 f0 [] [] []";
    QTest::newRow("escaped characters") << card("N:O\\,Brien\\;x;Ann\\nB\\\\C\n")
                                        << "Ann\nB\\C|O,Brien;x p0 f0 [] [] []";
    QTest::newRow("folded lines, space and tab")
        << card("N:Lee;A\n nn\nTEL;TYPE=CELL:905-666\n\t-1234\n") << "Ann|Lee p0 f0 [Mobile 905-666-1234 0] [] []";
    QTest::newRow("quoted-printable UTF-8 with a soft break")
        << card("N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E5=BC=A0;=E4=\n=BC=9F\n") << "伟|张 p0 f0 [] [] []";
    QTest::newRow("quoted-printable in GBK, 2.1 bare word")
        << card("N;CHARSET=GBK;QUOTED-PRINTABLE:=D5=C5;=CE=B0\n") << "伟|张 p0 f0 [] [] []";
    QTest::newRow("lower-case names and item groups")
        << card("n:Lee;Ann\nitem1.email;type=INTERNET:a@x.org\nitem2.tel;type=home:5\n")
        << "Ann|Lee p0 f0 [Home 5 0] [a@x.org] []";
    QTest::newRow("Apple's label names a grouped number")
        << card("N:A;B\nitem2.TEL:5\nitem2.X-ABLabel:_$!<HomeFAX>!$_\n") << "B|A p0 f0 [Home Fax 5 0] [] []";
    QTest::newRow("every kind of number")
        << card("N:A;B\nTEL;TYPE=HOME,FAX:1\nTEL;WORK;FAX:2\nTEL;FAX:3\nTEL;TYPE=PAGER:4\nTEL;TYPE=CAR:5\n"
                "TEL;TYPE=ISDN:6\nTEL;TYPE=MAIN:7\nTEL;TYPE=WORK,MAIN:8\nTEL;TYPE=VOICE:9\nTEL:10\n")
        << "B|A p0 f0 [Home Fax 1 0;Work Fax 2 0;Fax 3 0;Pager 4 0;Car 5 0;ISDN 6 0;Main 7 0;Company Main 8 0;"
           "Work 9 0;Other 10 0] [] []";
    QTest::newRow("untyped number after a Work one")
        << card("N:A;B\nTEL:1\nTEL;TYPE=WORK:2\n") << "B|A p0 f0 [Other 1 0;Work 2 0] [] []";
    QTest::newRow("TYPE=pref") << card("N:A;B\nTEL;type=HOME:1\nTEL;type=CELL;type=pref:2\n")
                               << "B|A p2 f0 [Home 1 0;Mobile 2 0] [] []";
    QTest::newRow("PREF=1 of 4.0 over PREF=2")
        << card("N:A;B\nTEL;TYPE=home;PREF=2:1\nTEL;TYPE=fax;PREF=1:2\n") << "B|A p3 f0 [Home 1 0;Fax 2 0] [] []";
    QTest::newRow("quoted TYPE list and a tel: URI")
        << card("N:A;B\nTEL;VALUE=uri;TYPE=\"voice,cell\":tel:+1-555-0100\n")
        << "B|A p0 f0 [Mobile +1-555-0100 0] [] []";
    QTest::newRow("value after the first unquoted colon")
        << card("N:A;B\nEMAIL;X-ID=\"a:b\":a@x.org\nEMAIL:b@x.org\n") << "B|A p0 f0 [] [a@x.org;b@x.org] []";
    QTest::newRow("first category is the group")
        << card("N:A;B\nCATEGORIES:My Contacts,Golf\\, club,Work\n") << "B|A p0 f0 [] [] [Golf, club]";
    QTest::newRow("our group wins over categories")
        << card("N:A;B\nCATEGORIES:Golf\nX-MARLO-GROUP:Work\n") << "B|A p0 f0 [] [] [Work]";
    QTest::newRow("binary values are skipped") << card(
        "N:A;B\nPHOTO;ENCODING=b;TYPE=JPEG:AAAA\n TEL:1\nKEY;ENCODING=BASE64:\n"
        "QUJD\nREVG\n\nTEL;TYPE=HOME:2\n") << "B|A p0 f0 [Home 2 0] [] []";
    QTest::newRow("lower-case begin and end") << "begin:vcard\nn:Lee;Ann\nend:vcard\n"
                                              << "Ann|Lee p0 f0 [] [] []";
    QTest::newRow("accounts pair by type") << card(
        "N:A;B\nTEL;TYPE=WORK:1\nTEL;TYPE=HOME:2\nX-MARLO-ACCOUNT;TYPE=HOME:2\n"
        "X-MARLO-ACCOUNT;TYPE=WORK:3\n") << "B|A p0 f0 [Work 1 2;Home 2 1] [] []";
    // Our account lines count from 1 whatever other cards lack.
    QTest::newRow("missing account lines change no other")
        << card("N:A;B\nTEL;TYPE=WORK:1\nTEL;TYPE=CELL:2\n")
            + card("N:C;D\nTEL;TYPE=HOME:3\nX-MARLO-ACCOUNT;TYPE=HOME:1\n")
        << "B|A p0 f0 [Work 1 0;Mobile 2 0] [] []\nD|C p0 f0 [Home 3 0] [] []";
    QTest::newRow("two cards, one new group")
        << card("N:A;B\nX-MARLO-GROUP:Golf\n") + card("N:C;D\nX-MARLO-GROUP:Golf\n")
        << "B|A p0 f0 [] [] [Golf]\nD|C p0 f0 [] [] [Golf]";
    QTest::newRow("lines outside cards are ignored")
        << "N:Out;Side\nTEL;TYPE=WORK:9\n" + card("N:A;B\n") + "EMAIL;TYPE=PREF:x@y\n"
        << "B|A p0 f0 [] [] []";
    QTest::newRow("a card without a name keeps its number")
        << card("TEL;TYPE=CELL:5\n") << "| p0 f0 [Mobile 5 0] [] []";
    QTest::newRow("byte-order mark before the first card") << "\xef\xbb\xbf" + card("N:A;B\n") << "B|A p0 f0 [] [] []";
    QTest::newRow("CR LF line ends") << QString(card("N:A;B\nTEL;TYPE=HOME:7\n")).replace("\n", "\r\n")
                                     << "B|A p0 f0 [Home 7 0] [] []";
    QTest::newRow("last card without END") << "BEGIN:VCARD\nN:A;B\n"
                                           << "B|A p0 f0 [] [] []";
}

void TestVCardImport::cards()
{
    QFETCH(QString, text);
    QFETCH(QString, contacts);
    Workspace ws;
    QVERIFY(import(writeFile(ws, "c.vcf", text)));
    QCOMPARE(contactsText(), contacts);
    QCOMPARE(groupIdProblem(), QString());
}

void TestVCardImport::departmentsAndMailTypes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("contacts");
    QTest::newRow("organisation alone") << card("N:A;B\nORG:Acme\n") << "B|A {Acme} []";
    QTest::newRow("units follow the organisation")
        << card("N:A;B\nORG:IBM;Accounting;Dungeon\n") << "B|A {IBM / Accounting / Dungeon} []";
    QTest::newRow("escaped comma, empty and repeated units")
        << card("N:A;B\nORG:ABC\\, Inc.;;Sales;sales\n") << "B|A {ABC, Inc. / Sales} []";
    QTest::newRow("the first ORG counts") << card("N:A;B\nORG:First\nORG:Second\n") << "B|A {First} []";
    QTest::newRow("quoted-printable ORG, a broken later one unread") << card(
        "N:A;B\nORG;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E5=BC=A0=\n=E4=BC=9F\n"
        "ORG;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C3=80\n") << "B|A {张伟} []";
    QTest::newRow("a card with a company only") << card("ORG:Acme\n") << "| {Acme} []";
    QTest::newRow("TYPE=HOME, type=work, bare 2.1 words")
        << card("N:A;B\nEMAIL;TYPE=HOME:h@x\nEMAIL;type=work:w@x\nEMAIL;HOME:b@x\nEMAIL;PREF;WORK:p@x\n")
        << "B|A {} [Home h@x;Work w@x;Home b@x;Work p@x]";
    QTest::newRow("INTERNET and PREF name no kind")
        << card("N:A;B\nEMAIL;TYPE=INTERNET,HOME:h@x\nEMAIL;TYPE=INTERNET;TYPE=pref:n@x\nEMAIL:u@x\n")
        << "B|A {} [Home h@x;Work n@x;Work u@x]";
    QTest::newRow("mobile and other") << card("N:A;B\nEMAIL;CELL:m@x\nEMAIL;TYPE=OTHER:o@x\n")
                                      << "B|A {} [Mobile m@x;Other o@x]";
    QTest::newRow("Apple's labels") << card(
        "N:A;B\nitem1.EMAIL;type=INTERNET:h@x\nitem1.X-ABLabel:_$!<Home>!$_\n"
        "item2.EMAIL:s@x\nitem2.X-ABLabel:School\nitem3.EMAIL;type=WORK:w@x\nitem3.X-ABLabel:Other\n")
                                    << "B|A {} [Home h@x;Other s@x;Work w@x]";
}

void TestVCardImport::departmentsAndMailTypes()
{
    QFETCH(QString, text);
    QFETCH(QString, contacts);
    Workspace ws;
    QVERIFY(import(writeFile(ws, "c.vcf", text)));
    QCOMPARE(departmentsText(), contacts);
}

void TestVCardImport::escapedNamesRoundTrip()
{
    const QStringList firsts = { "A;B", "C,D\\E", "two\nlines", "x:y" };
    QTemporaryDir out;
    QString path;
    {
        Workspace source;
        for (const QString &first : firsts)
            addContact(contact(first, "Lee;Jr", { phone("Work", "1") }));
        QVERIFY(DataMgr::instance()->saveToDatabase());
        QVERIFY(DataMgr::instance()->exportTo(0, "UTF-8", "names", out.path(), &path));
    }
    Workspace target;
    QVERIFY(import(path));
    QStringList expected;
    for (const QString &first : firsts)
        expected << first + " Lee;Jr";
    QCOMPARE(names(), expected);
}

void TestVCardImport::twoNewGroupsInOneCard()
{
    Workspace ws;
    DataMgr::instance()->phonebook().setNextGroupId(100);
    QVERIFY(import(writeFile(
        ws, "g.vcf", card("N:A;B\nX-MARLO-GROUP:G1\nX-MARLO-GROUP:G2\n") + card("N:C;D\nX-MARLO-GROUP:G3\n"))));
    QCOMPARE(groups(*find("B", "A")), QStringList({ "G1", "G2" }));
    QCOMPARE(group("G1")->id, 101);
    QCOMPARE(group("G2")->id, 102);
    QVERIFY(group("G3")->id > 102);
    QCOMPARE(groupIdProblem(), QString());
}

void TestVCardImport::boundaryErrors_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("BEGIN twice") << "BEGIN:VCARD\nN:A;B\nBEGIN:VCARD\nEND:VCARD\n";
    QTest::newRow("END twice") << card("N:A;B\n") + "END:VCARD\n";
    QTest::newRow("other object") << "BEGIN:VCALENDAR\nEND:VCALENDAR\n";
    QTest::newRow("error after good cards") << card("N:A;B\n") + card("N:C;D\n") + "BEGIN:VCARD\nBEGIN:VCARD\n";
    QTest::newRow("only BEGIN and END") << "BEGIN:VCARD\nEND:VCARD\n";
    QTest::newRow("no card at all") << "hello\n";
    QTest::newRow("empty file") << QString();
}

void TestVCardImport::boundaryErrors()
{
    QFETCH(QString, text);
    Workspace ws;
    addGroup("Golf");
    addContact(contact("Keep", "Me", { phone("Work", "1") }, {}, { "Golf" }));
    QVERIFY(DataMgr::instance()->saveToDatabase());
    QVERIFY(DataMgr::instance()->reload());
    expectRejectedKeepsPhonebook(ws, writeFile(ws, "bad.vcf", text));
}

void TestVCardImport::encodings_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("readAs");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("GBK") << "GBK"
                         << "GBK"
                         << "伟"
                         << "张";
    QTest::newRow("Big5") << "Big5"
                          << "Big5"
                          << "大文"
                          << "陳";
    QTest::newRow("Shift-JIS") << "Shift-JIS"
                               << "Shift-JIS"
                               << "太郎"
                               << "山田";
    QTest::newRow("EUC-KR") << "EUC-KR"
                            << "EUC-KR"
                            << "민준"
                            << "김";
    QTest::newRow("KOI8-R") << "KOI8-R"
                            << "KOI8-R"
                            << "Иван"
                            << "Петров";
    QTest::newRow("ISO 8859-15") << "ISO 8859-15"
                                 << "ISO 8859-15"
                                 << "Zoë"
                                 << "Œuvre";
    QTest::newRow("UTF-16") << "UTF-16"
                            << "UTF-16"
                            << "Zoë"
                            << "张";
    QTest::newRow("UTF-16 with its mark read as UTF-8") << "UTF-16"
                                                        << "UTF-8"
                                                        << "Zoë"
                                                        << "张";
}

void TestVCardImport::encodings()
{
    QFETCH(QString, encoding);
    QFETCH(QString, readAs);
    QFETCH(QString, first);
    QFETCH(QString, last);
    Workspace ws;
    // The UTF-16 writer puts a byte-order mark first.
    QString text = card("N:" + last + ";" + first + "\nX-MARLO-GROUP:" + last + "\n");
    if (encoding == "UTF-16")
        text.prepend(QChar(0xFEFF));
    QVERIFY(import(writeFile(ws, "e.vcf", text, encoding), readAs));
    QCOMPARE(contactsText(), QStringLiteral("%1|%2 p0 f0 [] [] [%2]").arg(first, last));
}

void TestVCardImport::foldedInsideACharacter_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("encoding");
    // 张 is E5 BC A0 in UTF-8 and D5 C5 in GBK; writers fold at 75 bytes.
    QTest::newRow("UTF-8 fold") << QByteArray("N:Lee;\xE5\xBC\r\n \xA0\r\n") << "UTF-8";
    QTest::newRow("GBK fold") << QByteArray("N:Lee;\xD5\r\n\t\xC5\r\n") << "GBK";
    QTest::newRow("quoted-printable soft break")
        << QByteArray("N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Lee;\xE5\xBC=\r\n\xA0\r\n") << "UTF-8";
}

void TestVCardImport::foldedInsideACharacter()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, encoding);
    Workspace ws;
    QVERIFY(import(writeBytes(ws, "f.vcf", "BEGIN:VCARD\r\n" + name + "END:VCARD\r\n"), encoding));
    QCOMPARE(names(), QStringList({ "张 Lee" }));
}

void TestVCardImport::declaredCharsets_data()
{
    // The lines of a 2.1 card, then what the default encoding (UTF-8) and "Auto"
    // give: the contacts, or the reader's message.
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("utf8");
    QTest::addColumn<QString>("automatic");
    const QString joehn = "Jöhn|Dör p0 f0 [] [] []";
    const QString lisi = "四|李 p0 f0 [] [] []";
    QTest::newRow("Latin-1") << QByteArray("N;CHARSET=ISO-8859-1:D\xF6r;J\xF6hn\r\n") << joehn << joehn;
    QTest::newRow("GB2312") << QByteArray("N;CHARSET=GB2312:\xC0\xEE;\xCB\xC4\r\n") << lisi << lisi;
    QTest::newRow("Latin-1 quoted-printable")
        << QByteArray("N;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:D=F6r;J=F6hn\r\n") << joehn << joehn;
    QTest::newRow("GB2312 quoted-printable, lower case")
        << QByteArray("N;charset=gb2312;encoding=quoted-printable:=C0=EE;=CB=C4\r\n") << lisi << lisi;
    // 镕 is a GBK character, which phones write under the name GB2312.
    const QString mixed = "镕|李 p0 f0 [] [] [Fußball]";
    QTest::newRow("GB2312 name, UTF-8 note and category")
        << QByteArray("N;CHARSET=GB2312:\xC0\xEE;\xE9\x46\r\nNOTE;CHARSET=UTF-8:Gr\xC3\xBC\xC3\x9F"
                      "e\r\nCATEGORIES:Fu\xC3\x9F\r\n ball\r\n")
        << mixed << mixed;
    QTest::newRow("unknown charset, UTF-8 bytes")
        << QByteArray("N;CHARSET=X-OLD:D\xC3\xB6r;J\xC3\xB6hn\r\n") << joehn << joehn;
    // "Auto" sees the bytes of an unknown charset as the file's own.
    QTest::newRow("unknown charset, Latin-1 bytes")
        << QByteArray("N;CHARSET=X-OLD:M\xFCller-L\xFC"
                      "denscheid;J\xFCrgen\r\n")
        << "Line 3 (card 1): N declares the unknown charset X-OLD, and it is not valid UTF-8 text either; "
           "choose the encoding the file was saved in."
        << "Jürgen|Müller-Lüdenscheid p0 f0 [] [] []";
    const QString cut = "Line 4 (card 1): N is not valid GB2312 text, the charset it declares.";
    QTest::newRow("GB2312 cut short") << QByteArray("TEL;CELL:1\r\nN;CHARSET=GB2312:\xC0\xEE;\xCB\r\n") << cut << cut;
    QTest::newRow("quoted-printable GB2312 cut short")
        << QByteArray("TEL;CELL:1\r\nN;CHARSET=GB2312;QUOTED-PRINTABLE:=C0=EE;=CB\r\n") << cut << cut;
    // 똠 (8C 63) is a syllable of the Windows superset only.
    const QString korean = "Line 3 (card 1): N is not valid EUC-KR text, the charset it declares.";
    QTest::newRow("EUC-KR holds no extra syllables")
        << QByteArray("N;CHARSET=EUC-KR:\xC7\xD1;\x8C\x63\r\n") << korean << korean;
}

void TestVCardImport::declaredCharsets()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, utf8);
    QFETCH(QString, automatic);
    const QByteArray bytes = "BEGIN:VCARD\r\nVERSION:2.1\r\n" + lines + "END:VCARD\r\n";
    const QString refused = "Import is failed,please check the file format and encoding.\n";
    for (const QString &chosen : { QStringLiteral("UTF-8"), QStringLiteral("auto") }) {
        Workspace ws;
        const QString path = writeBytes(ws, "c.vcf", bytes);
        const QString encoding = chosen == "auto" ? TextCodec::detectFile(path) : chosen;
        const Result read = DataMgr::instance()->importFile(path, encoding);
        QCOMPARE(
            read.ok() ? contactsText() : QString(read.message()).remove(refused), chosen == "auto" ? automatic : utf8);
    }

    // The headless tool, as a new user runs it.
    QTemporaryDir dir;
    QFile file(dir.filePath("c.vcf"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    const CliRun run = runCli({ "--dir", dir.path(), "import", file.fileName() });
    QStringList names;
    const QJsonArray contacts
        = QJsonDocument::fromJson(runCli({ "--dir", dir.path(), "dump" }).out.toUtf8())["contacts"].toArray();
    for (const QJsonValue &c : contacts)
        names << c["FirstName"].toString() + "|" + c["LastName"].toString();
    if (utf8.startsWith("Line ")) {
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, refused + utf8 + "\n");
        QCOMPARE(names, QStringList());
    } else {
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(names, QStringList(utf8.section(' ', 0, 0)));
        // A charset nobody knows is named even when its bytes read well.
        const QString notice = lines.contains("X-OLD")
            ? "Line 3 (card 1): N declares the unknown charset X-OLD; it was read as UTF-8.\n"
            : QString();
        QCOMPARE(run.err, notice);
    }
}

QTEST_GUILESS_MAIN(TestVCardImport)
#include "TestVCardImport.moc"
