// The vCard reader: our own dialect, cards of other programs, card boundaries,
// groups named by cards, accounts, encodings and rejected files.

#include "ImportTestUtil.h"

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
    void cards_data();
    void cards();
    void twoNewGroupsInOneCard();
    void boundaryErrors_data();
    void boundaryErrors();
    void encodings_data();
    void encodings();
};

void TestVCardImport::ownDialect()
{
    Workspace ws;
    QVERIFY(import(dataFile("cards.vcf")));
    QCOMPARE(contactsText(), QString("Ann|Lee p2 f1 [Work 100 0;Mobile 300 2;Fax 400 1] [ann@example.org] [Golf]\n"
                                     "伟|张 p0 f0 [Home 8610 0] [] [Golf]"));
    const ContactInfo *ann = find("Ann", "Lee");
    // Values keep their own colons.
    QCOMPARE(ann->PhotoUrl, QString("C:\\photos\\ann.jpg"));
    QCOMPARE(ann->RingtoneUrl, QString("http://host/ring.wav"));
    QCOMPARE(ann->RingtoneIndex, 4);
    QCOMPARE(ann->PrimaryNumber, QString("300"));
    QCOMPARE(storedGroupNames(), QStringList({"Default", "Golf", "Blacklist"}));
    QCOMPARE(members("Golf"), QStringList({"Ann Lee", "伟 张"}));
}

void TestVCardImport::otherPrograms()
{
    Workspace ws;
    QVERIFY(import(dataFile("foreign.vcf")));
    // FN first gives family name then given name; WORK wins over FAX; a TEL without
    // parameters and a PAGER number are no phones; the first PREF counts.
    QCOMPARE(contactsText(), QString("John|Smith p1 f0 [Work 100 0;Work 200 0;Home 300 0;Fax 400 0] "
                                     "[john@example.org] []\n"
                                     "Bob|Ray p0 f0 [Mobile +1-555-0100 0] [] []"));
}

void TestVCardImport::cards_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("contacts");

    QTest::newRow("N gives family;given") << card("N:Smith;John\n") << "John|Smith p0 f0 [] [] []";
    QTest::newRow("FN keeps every word") << card("FN:van  der Berg\n") << "der Berg|van p0 f0 [] [] []";
    QTest::newRow("accounts pair by type")
        << card("N:A;B\nTEL;TYPE=WORK:1\nTEL;TYPE=HOME:2\nX-MARLO-ACCOUNT;TYPE=HOME:2\n"
                "X-MARLO-ACCOUNT;TYPE=WORK:3\n")
        << "B|A p0 f0 [Work 1 2;Home 2 1] [] []";
    QTest::newRow("missing account lines keep all")
        << card("N:A;B\nTEL;TYPE=WORK:1\nTEL;TYPE=CELL:2\n") + card("N:C;D\nTEL;TYPE=HOME:3\nX-MARLO-ACCOUNT;TYPE=HOME:1\n")
        << "B|A p0 f0 [Work 1 0;Mobile 2 0] [] []\nD|C p0 f0 [Home 3 1] [] []";
    QTest::newRow("two cards, one new group")
        << card("N:A;B\nX-MARLO-GROUP:Golf\n") + card("N:C;D\nX-MARLO-GROUP:Golf\n")
        << "B|A p0 f0 [] [] [Golf]\nD|C p0 f0 [] [] [Golf]";
    QTest::newRow("lines outside cards are ignored")
        << "N:Out;Side\nTEL;TYPE=WORK:9\n" + card("N:A;B\n") + "EMAIL;TYPE=PREF:x@y\n"
        << "B|A p0 f0 [] [] []";
    QTest::newRow("a card without a name keeps its number")
        << card("TEL;TYPE=CELL:5\n") << "| p0 f0 [Mobile 5 0] [] []";
    QTest::newRow("byte-order mark before the first card")
        << "\xef\xbb\xbf" + card("N:A;B\n") << "B|A p0 f0 [] [] []";
    QTest::newRow("CR LF line ends") << QString(card("N:A;B\nTEL;TYPE=HOME:7\n")).replace("\n", "\r\n")
                                     << "B|A p0 f0 [Home 7 0] [] []";
    QTest::newRow("last card without END") << "BEGIN:VCARD\nN:A;B\n" << "B|A p0 f0 [] [] []";
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

void TestVCardImport::twoNewGroupsInOneCard()
{
    Workspace ws;
    DataMgr::instance()->setNextGroupId(100);
    QVERIFY(import(writeFile(ws, "g.vcf", card("N:A;B\nX-MARLO-GROUP:G1\nX-MARLO-GROUP:G2\n") +
                                              card("N:C;D\nX-MARLO-GROUP:G3\n"))));
    QCOMPARE(groups(*find("B", "A")), QStringList({"G1", "G2"}));
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
    addContact(contact("Keep", "Me", {phone("Work", "1")}, {}, {"Golf"}));
    QVERIFY(DataMgr::instance()->saveToDatabase());
    DataMgr::instance()->reload();
    expectRejectedKeepsPhonebook(ws, writeFile(ws, "bad.vcf", text));
}

void TestVCardImport::encodings_data()
{
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("readAs");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("GBK") << "GBK" << "GBK" << "伟" << "张";
    QTest::newRow("Big5") << "Big5" << "Big5" << "大文" << "陳";
    QTest::newRow("Shift-JIS") << "Shift-JIS" << "Shift-JIS" << "太郎" << "山田";
    QTest::newRow("EUC-KR") << "EUC-KR" << "EUC-KR" << "민준" << "김";
    QTest::newRow("KOI8-R") << "KOI8-R" << "KOI8-R" << "Иван" << "Петров";
    QTest::newRow("ISO 8859-15") << "ISO 8859-15" << "ISO 8859-15" << "Zoë" << "Œuvre";
    QTest::newRow("UTF-16") << "UTF-16" << "UTF-16" << "Zoë" << "张";
    QTest::newRow("UTF-16 with its mark read as UTF-8") << "UTF-16" << "UTF-8" << "Zoë" << "张";
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

QTEST_GUILESS_MAIN(TestVCardImport)
#include "TestVCardImport.moc"
