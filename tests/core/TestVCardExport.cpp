// The vCard layout: the exact file, telephone and account lines, encodings and
// the encoding check.

#include "tests/ExportFixture.h"
#include "tests/TestUtil.h"

using namespace ExportFixture;

namespace {

ContactInfo person(const QString &first, const QString &last)
{
    ContactInfo c = TestUtil::contact(first, last);
    c.id = 1;
    return c;
}

// One entry without a mail address whose lines 5 (telephones) are `tel`; the names
// as the file holds them.
QString entry(const QString &first, const QString &last, const QString &tel)
{
    return QStringLiteral("BEGIN:VCARD\nVERSION:3.0\nN:%2;%1\nFN:%1 %2\n%3"
                          "X-MARLO-GROUP:\nX-MARLO-FREQUENT:0\nX-MARLO-PHOTO:\n"
                          "X-MARLO-RING-INDEX:0\nX-MARLO-RING:\nEND:VCARD\n")
        .arg(first, last, tel);
}

} // namespace

class TestVCardExport : public QObject
{
    Q_OBJECT
private slots:
    void layout();
    void telephones_data();
    void telephones();
    void escapedNames_data();
    void escapedNames();
    void emptyPhonebookWritesEmptyFile();
    void encodings_data();
    void encodings();
    void encodingCheckRefuses();
};

void TestVCardExport::layout()
{
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(0, QStringLiteral("UTF-8"), dir.path(), contacts(), groups(), &path));
    QCOMPARE(path, dir.path() + QStringLiteral("/book.vcf"));
    const QByteArray written = readFile(path);
    QCOMPARE(lines(QString::fromUtf8(written)), lines(QString::fromUtf8(expectedFile(QStringLiteral("book.vcf")))));
    QCOMPARE(written, expectedFile(QStringLiteral("book.vcf")));
    QCOMPARE(writtenInMemory(0, QStringLiteral("UTF-8"), contacts(), groups()), written);
}

void TestVCardExport::telephones_data()
{
    using TestUtil::phone;
    QTest::addColumn<QList<PhoneInfo>>("phones");
    QTest::addColumn<int>("primary");
    QTest::addColumn<QString>("tel");
    QTest::newRow("primary Mobile, account 0")
        << QList<PhoneInfo> { phone(QStringLiteral("Mobile"), QStringLiteral("13800"), 0) } << 2
        << "TEL;TYPE=CELL,PREF:13800\nX-MARLO-ACCOUNT;TYPE=MOBILE:1\n";
    QTest::newRow("both Work numbers carry PREF")
        << QList<PhoneInfo> { phone(QStringLiteral("Work"), QStringLiteral("1"), 1),
               phone(QStringLiteral("Fax"), QStringLiteral("2"), 0),
               phone(QStringLiteral("Work"), QStringLiteral("3"), 5) }
        << 0
        << "TEL;TYPE=WORK,PREF:1\nX-MARLO-ACCOUNT;TYPE=WORK:2\nTEL;TYPE=FAX:2\nX-MARLO-ACCOUNT;TYPE=FAX:1\n"
           "TEL;TYPE=WORK,PREF:3\nX-MARLO-ACCOUNT;TYPE=WORK:6\n";
    QTest::newRow("Pager only") << QList<PhoneInfo> { phone(QStringLiteral("Pager"), QStringLiteral("9"), 0) } << 4
                                << QString();
    QTest::newRow("Work without number") << QList<PhoneInfo> { phone(QStringLiteral("Work"), QString(), 0) } << 0
                                         << QString();
    QTest::newRow("primary Fax") << QList<PhoneInfo> { phone(QStringLiteral("Home"), QStringLiteral("8"), 2),
        phone(QStringLiteral("Fax"), QStringLiteral("7"), 3) }
                                 << 3
                                 << "TEL;TYPE=HOME:8\nX-MARLO-ACCOUNT;TYPE=HOME:3\nTEL;TYPE=FAX,PREF:7\n"
                                    "X-MARLO-ACCOUNT;TYPE=FAX:4\n";
}

void TestVCardExport::telephones()
{
    QFETCH(QList<PhoneInfo>, phones);
    QFETCH(int, primary);
    QFETCH(QString, tel);
    ContactInfo c = person(QStringLiteral("A;B"), QStringLiteral("C,D"));
    c.PhoneList = phones;
    c.PrimaryIndex = primary;
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(0, QStringLiteral("UTF-8"), dir.path(), { c }, groups(), &path));
    // Commas and semicolons in names are escaped.
    QCOMPARE(
        lines(QString::fromUtf8(readFile(path))), lines(entry(QStringLiteral("A\\;B"), QStringLiteral("C\\,D"), tel)));
}

void TestVCardExport::escapedNames_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("inFile");
    QTest::newRow("backslash") << "a\\b"
                               << "a\\\\b";
    QTest::newRow("line feed") << "a\nb"
                               << "a\\nb";
    QTest::newRow("CR LF") << "a\r\nb"
                           << "a\\nb";
    QTest::newRow("carriage return") << "a\rb"
                                     << "a\\nb";
    QTest::newRow("comma and semicolon") << "a,b;c"
                                         << "a\\,b\\;c";
}

void TestVCardExport::escapedNames()
{
    QFETCH(QString, first);
    QFETCH(QString, inFile);
    QTemporaryDir dir;
    QString path;
    QVERIFY(
        exportTo(0, QStringLiteral("UTF-8"), dir.path(), { person(first, QStringLiteral("Lee")) }, groups(), &path));
    QCOMPARE(lines(QString::fromUtf8(readFile(path))), lines(entry(inFile, QStringLiteral("Lee"), QString())));
}

void TestVCardExport::emptyPhonebookWritesEmptyFile()
{
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(0, QStringLiteral("UTF-16"), dir.path(), {}, groups(), &path));
    QVERIFY(QFile::exists(path));
    QCOMPARE(readFile(path), QByteArray());
}

void TestVCardExport::encodings_data()
{
    addEncodingRows();
}

void TestVCardExport::encodings()
{
    QFETCH(QString, encoding);
    QFETCH(QString, iana);
    QFETCH(QString, name);
    QFETCH(QByteArray, nameBytes);
    QTemporaryDir dir;
    QString path;
    QVERIFY(exportTo(0, encoding, dir.path(), { person(name, QStringLiteral("Lee")) }, groups(), &path));
    const QByteArray written = readFile(path);
    QVERIFY2(written.contains(nameBytes), written.toHex(' ').constData());
    bool clean = false;
    const QString text = decodeIndependently(iana, written, &clean);
    QVERIFY(clean);
    QCOMPARE(lines(text), lines(entry(name, QStringLiteral("Lee"), QString())));
}

void TestVCardExport::encodingCheckRefuses()
{
    QTemporaryDir dir;
    QVERIFY(!exportTo(
        0, QStringLiteral("ISO 8859-1"), dir.path(), { person(QStringLiteral("张"), QStringLiteral("三")) }, groups()));
    QCOMPARE(filesIn(dir.path()), QStringList());
    // The same contact passes in an encoding that holds it.
    QVERIFY(exportTo(
        0, QStringLiteral("GBK"), dir.path(), { person(QStringLiteral("张"), QStringLiteral("三")) }, groups()));
    QCOMPARE(filesIn(dir.path()), QStringList { QStringLiteral("book.vcf") });
}

QTEST_GUILESS_MAIN(TestVCardExport)
#include "TestVCardExport.moc"
