// The seven CSV layouts: exact files, quoting, the values taken, encodings and
// the encoding check.

#include "data/TextCodec.h"
#include "export/CsvLayout.h"
#include "export/ExportRules.h"
#include "tests/ExportFixture.h"
#include "tests/TestUtil.h"

using namespace ExportFixture;

namespace {

const QByteArray kAlderHeader = "First Name,Last Name,Work Phone,Home Phone,Mobile Phone,Fax,E-mail Address,"
                                "Primary Phone,Group,Work account,Home account,Mobile account,Fax account,"
                                "Frequent,Photo,Ring index,Ring\n";
const QByteArray kOutlookHeader = "First Name,Last Name,Company Main Phone,Home Phone,Mobile Phone,Business Fax,"
                                  "E-mail Address,Primary Phone,Categories\n";

ContactInfo person(const QString &first, const QString &last)
{
    ContactInfo c = TestUtil::contact(first, last);
    c.id = 1;
    return c;
}

} // namespace

class TestCsvExport : public QObject
{
    Q_OBJECT
private slots:
    void layouts_data();
    void layouts();
    void quoting_data();
    void quoting();
    void values_data();
    void values();
    void emptyPhonebookWritesHeaderOnly_data();
    void emptyPhonebookWritesHeaderOnly();
    void encodings_data();
    void encodings();
    void encodingCheckRefuses_data();
    void encodingCheckRefuses();
    void uncheckedFieldsAreSubstituted();
    void emptyPathFails();
    void csvQuote_data();
    void csvQuote();
    void canEncodeChecksNamesAndMails_data();
    void canEncodeChecksNamesAndMails();
};

void TestCsvExport::layouts_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Alder") << 6 << "alder.csv";
    QTest::newRow("Birch") << 7 << "birch.csv";
    QTest::newRow("Outlook") << 8 << "outlook.csv";
    QTest::newRow("Chinese Outlook") << 9 << "outlook-cn.csv";
    // Outlook Express reads the Outlook layout.
    QTest::newRow("Outlook Express") << 10 << "outlook.csv";
    QTest::newRow("Chinese Outlook Express") << 11 << "outlook-express-cn.csv";
    QTest::newRow("Gmail") << 12 << "gmail.csv";
}

void TestCsvExport::layouts()
{
    QFETCH(int, format);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(format, QStringLiteral("UTF-8"), dir.path(), contacts(), groups(), &path));
    QCOMPARE(path, dir.path() + QStringLiteral("/book.csv"));
    const QByteArray written = readFile(path);
    QCOMPARE(lines(QString::fromUtf8(written)), lines(QString::fromUtf8(expectedFile(expected))));
    QCOMPARE(written, expectedFile(expected));
    QCOMPARE(writtenInMemory(format, QStringLiteral("UTF-8"), contacts(), groups()), written);
}

void TestCsvExport::quoting_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("photo");
    QTest::addColumn<QString>("ringtone");
    QTest::addColumn<QByteArray>("row");
    QTest::newRow("plain") << "Ann"
                           << "/p/a.png"
                           << "/r/a.wav" << QByteArray("Ann,Lee,,,,,,0,,0,0,0,0,0,/p/a.png,0,/r/a.wav");
    QTest::newRow("comma and quotes") << "\"Smith, Jr\"" << QString() << QString()
                                      << QByteArray("\"\"\"Smith, Jr\"\"\",Lee,,,,,,0,,0,0,0,0,0,,0,");
    QTest::newRow("quote alone") << "O\"Neil" << QString() << QString()
                                 << QByteArray("\"O\"\"Neil\",Lee,,,,,,0,,0,0,0,0,0,,0,");
    QTest::newRow("line feed") << "a\nb" << QString() << QString() << QByteArray("\"a\nb\",Lee,,,,,,0,,0,0,0,0,0,,0,");
    QTest::newRow("semicolon and apostrophe stay bare")
        << "a;b'c" << QString() << QString() << QByteArray("a;b'c,Lee,,,,,,0,,0,0,0,0,0,,0,");
    QTest::newRow("comma in the photo path")
        << "Ann"
        << "/p/a,b.png" << QString() << QByteArray("Ann,Lee,,,,,,0,,0,0,0,0,0,\"/p/a,b.png\",0,");
    QTest::newRow("quote in the ringtone path")
        << "Ann" << QString() << "/r/\"x\",y.wav" << QByteArray("Ann,Lee,,,,,,0,,0,0,0,0,0,,0,\"/r/\"\"x\"\",y.wav\"");
}

void TestCsvExport::quoting()
{
    QFETCH(QString, first);
    QFETCH(QString, photo);
    QFETCH(QString, ringtone);
    QFETCH(QByteArray, row);
    ContactInfo c = person(first, QStringLiteral("Lee"));
    c.PhotoUrl = photo;
    c.RingtoneUrl = ringtone;
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(6, QStringLiteral("UTF-8"), dir.path(), { c }, groups(), &path));
    QCOMPARE(readFile(path), kAlderHeader + row + '\n');
}

void TestCsvExport::values_data()
{
    using TestUtil::phone;
    QTest::addColumn<QList<PhoneInfo>>("phones");
    QTest::addColumn<int>("primary");
    QTest::addColumn<QByteArray>("alderRow");
    QTest::addColumn<QByteArray>("outlookRow");
    QTest::newRow("second Work number when the first is empty") << QList<PhoneInfo> {
        phone(QStringLiteral("Work"), QString(), 3), phone(QStringLiteral("Work"), QStringLiteral("55"), 2)
    } << 0 << QByteArray("Ann,Lee,55,,,,,0,,2,0,0,0,0,,0,") << QByteArray("Ann,Lee,55,,,,,,");
    QTest::newRow("Pager only") << QList<PhoneInfo> { phone(QStringLiteral("Pager"), QStringLiteral("7"), 1) } << 4
                                << QByteArray("Ann,Lee,,,,,,4,,0,0,0,0,0,,0,") << QByteArray("Ann,Lee,,,,,,7,");
    QTest::newRow("first of each type") << QList<PhoneInfo> { phone(QStringLiteral("Fax"), QStringLiteral("4"), 3),
        phone(QStringLiteral("Mobile"), QStringLiteral("3"), 2),
        phone(QStringLiteral("Mobile"), QStringLiteral("33"), 0),
        phone(QStringLiteral("Home"), QStringLiteral("2"), 1) }
                                        << 2 << QByteArray("Ann,Lee,,2,3,4,,2,,0,1,2,3,0,,0,")
                                        << QByteArray("Ann,Lee,,2,3,4,,3,");
    QTest::newRow("primary index outside the table")
        << QList<PhoneInfo> { phone(QStringLiteral("Work"), QStringLiteral("1"), 0) } << 23
        << QByteArray("Ann,Lee,1,,,,,23,,0,0,0,0,0,,0,") << QByteArray("Ann,Lee,1,,,,,,");
}

void TestCsvExport::values()
{
    QFETCH(QList<PhoneInfo>, phones);
    QFETCH(int, primary);
    QFETCH(QByteArray, alderRow);
    QFETCH(QByteArray, outlookRow);
    ContactInfo c = person(QStringLiteral("Ann"), QStringLiteral("Lee"));
    c.PhoneList = phones;
    c.PrimaryIndex = primary;
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(6, QStringLiteral("UTF-8"), dir.path(), { c }, groups(), &path));
    QCOMPARE(readFile(path), kAlderHeader + alderRow + '\n');
    QVERIFY(exportTo(8, QStringLiteral("UTF-8"), dir.path(), { c }, groups(), &path));
    QCOMPARE(readFile(path), kOutlookHeader + outlookRow + '\n');
}

void TestCsvExport::emptyPhonebookWritesHeaderOnly_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Alder") << 6 << "alder.csv";
    QTest::newRow("Chinese Outlook Express") << 11 << "outlook-express-cn.csv";
    QTest::newRow("Gmail") << 12 << "gmail.csv";
}

void TestCsvExport::emptyPhonebookWritesHeaderOnly()
{
    QFETCH(int, format);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(format, QStringLiteral("UTF-8"), dir.path(), {}, groups(), &path));
    const QByteArray header = expectedFile(expected).split('\n').first() + '\n';
    QCOMPARE(readFile(path), header);
}

void TestCsvExport::encodings_data()
{
    addEncodingRows();
}

void TestCsvExport::encodings()
{
    QFETCH(QString, encoding);
    QFETCH(QString, iana);
    QFETCH(QString, name);
    QFETCH(QByteArray, nameBytes);
    ContactInfo c = person(name, QStringLiteral("Lee"));
    c.MailList = { TestUtil::mail(QStringLiteral("Work"), QStringLiteral("x@y.z")) };
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(12, encoding, dir.path(), { c }, groups(), &path));
    const QByteArray written = readFile(path);
    QVERIFY2(written.contains(nameBytes), written.toHex(' ').constData());
    bool clean = false;
    const QString text = decodeIndependently(iana, written, &clean);
    QVERIFY(clean);
    const QString expected = QString::fromUtf8(expectedFile(QStringLiteral("gmail.csv")).split('\n').first())
        + QStringLiteral("\n%1,Lee,* Other,x@y.z,,Work,,Home,,Mobile,,Other Fax,\n").arg(name);
    QCOMPARE(lines(text), lines(expected));
}

void TestCsvExport::encodingCheckRefuses_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("address");
    QTest::newRow("Chinese first name in ISO 8859-1") << 6 << "ISO 8859-1"
                                                      << "张"
                                                      << "Lee" << QString();
    QTest::newRow("Cyrillic last name in ISO 8859-15") << 8 << "ISO 8859-15"
                                                       << "Ann"
                                                       << "Иван" << QString();
    QTest::newRow("Chinese mail address in KOI8-R") << 12 << "KOI8-R"
                                                    << "Ann"
                                                    << "Lee"
                                                    << "张@x.cn";
    QTest::newRow("Hangul outside EUC-KR") << 9 << "EUC-KR"
                                           << "똠"
                                           << "Lee" << QString();
    QTest::newRow("unknown encoding") << 7 << "no-such-encoding"
                                      << "Ann"
                                      << "Lee" << QString();
}

void TestCsvExport::encodingCheckRefuses()
{
    QFETCH(int, format);
    QFETCH(QString, encoding);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, address);
    ContactInfo c = person(first, last);
    if (!address.isEmpty())
        c.MailList = { TestUtil::mail(QStringLiteral("Work"), address) };
    QTemporaryDir dir;
    const Result result = DataMgr::exportFile(format, encoding, dir.filePath("book"),
        QList<ContactInfo> { person(QStringLiteral("Bob"), QStringLiteral("B")), c }, groups());
    QVERIFY(!result.ok());
    QCOMPARE(filesIn(dir.path()), QStringList());
    // The user learns which file, and which contact the encoding cannot hold or
    // that it is unknown.
    QVERIFY2(result.message().startsWith(dir.filePath("book.csv") + " could not be written (the encoding " + encoding),
        qPrintable(result.message()));
    QVERIFY2(result.message().contains(TextCodec::isKnown(encoding) ? first + ' ' + last : QStringLiteral("unknown")),
        qPrintable(result.message()));
}

// Only names and addresses are checked; other fields take the codec's "?".
void TestCsvExport::uncheckedFieldsAreSubstituted()
{
    ContactInfo c = person(QStringLiteral("Zoë"), QStringLiteral("Lee"));
    c.GroupList = { QStringLiteral("高尔夫") };
    c.PhoneList = { TestUtil::phone(QStringLiteral("Work"), QStringLiteral("１２")) };
    c.Department = QStringLiteral("研发");
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(6, QStringLiteral("ISO 8859-1"), dir.path(), { c }, groups(), &path));
    QCOMPARE(readFile(path), kAlderHeader + QByteArray("Zo\xEB,Lee,??,,,,,0,???,0,0,0,0,0,,0,\n"));
    QVERIFY(exportTo(9, QStringLiteral("ISO 8859-1"), dir.path(), { c }, groups(), &path));
    QCOMPARE(readFile(path),
        QByteArray("?,?,??????,????,????,????,??????,????,??\n"
                   "Zo\xEB,Lee,??,,,,,??,???\n"));
}

void TestCsvExport::emptyPathFails()
{
    for (int format = 0; format < ExportFactory::FormatCount; ++format) {
        QString path;
        QVERIFY(!DataMgr::exportFile(format, QStringLiteral("UTF-8"), QString(), contacts(), groups(), &path));
        QCOMPARE(path, QString());
    }
}

void TestCsvExport::csvQuote_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("quoted");

    QTest::newRow("plain") << "Ann"
                           << "Ann";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("comma") << "Lee, Ann"
                           << "\"Lee, Ann\"";
    QTest::newRow("quotes") << "\"Smith, Jr\""
                            << "\"\"\"Smith, Jr\"\"\"";
    QTest::newRow("quote only") << "5\" disk"
                                << "\"5\"\" disk\"";
    QTest::newRow("line feed") << "a\nb"
                               << "\"a\nb\"";
    QTest::newRow("carriage return alone") << "a\rb"
                                           << "a\rb";
    QTest::newRow("long") << QString(4000, 'x') + ","
                          << "\"" + QString(4000, 'x') + ",\"";
}

void TestCsvExport::csvQuote()
{
    QFETCH(QString, text);
    QFETCH(QString, quoted);
    QCOMPARE(CsvLayout::quote(text), quoted);
}

void TestCsvExport::canEncodeChecksNamesAndMails_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("department");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<bool>("ok");

    QTest::newRow("latin in latin-1") << "Zoë"
                                      << ""
                                      << "z@x"
                                      << "ISO 8859-1" << true;
    QTest::newRow("chinese name in latin-1") << "张"
                                             << ""
                                             << "z@x"
                                             << "ISO 8859-1" << false;
    QTest::newRow("chinese mail in latin-1") << "Ann"
                                             << ""
                                             << "张@x"
                                             << "ISO 8859-1" << false;
    QTest::newRow("department not checked") << "Ann"
                                            << "张"
                                            << "a@x"
                                            << "ISO 8859-1" << true;
    QTest::newRow("chinese in GBK") << "张"
                                    << ""
                                    << "z@x"
                                    << "GBK" << true;
    QTest::newRow("unknown encoding") << "Ann"
                                      << ""
                                      << "a@x"
                                      << "No-Such-Codec" << false;
}

void TestCsvExport::canEncodeChecksNamesAndMails()
{
    QFETCH(QString, first);
    QFETCH(QString, department);
    QFETCH(QString, address);
    QFETCH(QString, encoding);
    QFETCH(bool, ok);
    ContactInfo c = TestUtil::contact(first, "Lee", {}, { TestUtil::mail("Work", address) });
    c.Department = department;
    QCOMPARE(ExportRules::checkEncodable({ c }, encoding).ok(), ok);
}

QTEST_GUILESS_MAIN(TestCsvExport)
#include "TestCsvExport.moc"
