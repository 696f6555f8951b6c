// The codec helper: names, bytes written, what each encoding holds, references,
// reading back.

#include "data/TextCodec.h"

#include <QtTest>

class TestTextCodec : public QObject
{
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void roundTrip_data();
    void roundTrip();
    void canEncode_data();
    void canEncode();
    void substitution_data();
    void substitution();
    void references_data();
    void references();
    void byteOrderMarks_data();
    void byteOrderMarks();
    void piecesKeepShiftState();
    void strictDecoding_data();
    void strictDecoding();
    void detection_data();
    void detection();
};

void TestTextCodec::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("xmlName");
    QTest::newRow("UTF-8") << "UTF-8" << true << "UTF-8";
    QTest::newRow("UTF-16") << "UTF-16" << true << "UTF-16";
    QTest::newRow("UTF-32") << "UTF-32" << true << "UTF-32";
    QTest::newRow("GBK") << "GBK" << true << "GBK";
    QTest::newRow("Big5") << "Big5" << true << "Big5";
    QTest::newRow("Big5-HKSCS") << "Big5-HKSCS" << true << "Big5-HKSCS";
    QTest::newRow("Shift-JIS") << "Shift-JIS" << true << "Shift_JIS";
    QTest::newRow("ISO 2022-JP") << "ISO 2022-JP" << true << "ISO-2022-JP";
    QTest::newRow("KOI8-R") << "KOI8-R" << true << "KOI8-R";
    QTest::newRow("Windows-1251") << "Windows-1251" << true << "windows-1251";
    QTest::newRow("EUC-KR") << "EUC-KR" << true << "EUC-KR";
    QTest::newRow("ISO 8859-1") << "ISO 8859-1" << true << "ISO-8859-1";
    QTest::newRow("ISO 8859-15") << "ISO 8859-15" << true << "ISO-8859-15";
    QTest::newRow("case and punctuation ignored") << "utf_8" << true << "UTF-8";
    QTest::newRow("registry alias") << "latin1" << true << "ISO-8859-1";
    QTest::newRow("another registry codec") << "ISO 8859-5" << true << "ISO-8859-5";
    QTest::newRow("unknown") << "no-such-encoding" << false << "UTF-8";
    QTest::newRow("empty") << "" << false << "UTF-8";
}

void TestTextCodec::names()
{
    QFETCH(QString, name);
    QFETCH(bool, known);
    QFETCH(QString, xmlName);
    QCOMPARE(TextCodec::isKnown(name), known);
    QCOMPARE(TextCodec::xmlName(name), xmlName);
}

void TestTextCodec::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("UTF-8") << "UTF-8" << QStringLiteral("a张😀") << QByteArray("a\xE5\xBC\xA0\xF0\x9F\x98\x80");
    QTest::newRow("UTF-16 little-endian, no mark")
        << "UTF-16" << QStringLiteral("a张😀") << QByteArray("a\x00\x20\x5F\x3D\xD8\x00\xDE", 8);
    QTest::newRow("UTF-32 little-endian, no mark")
        << "UTF-32" << QStringLiteral("a张") << QByteArray("a\x00\x00\x00\x20\x5F\x00\x00", 8);
    QTest::newRow("GBK") << "GBK" << QStringLiteral("a中文") << QByteArray("a\xD6\xD0\xCE\xC4");
    QTest::newRow("Big5") << "Big5" << QStringLiteral("中文") << QByteArray("\xA4\xA4\xA4\xE5");
    QTest::newRow("Big5-HKSCS") << "Big5-HKSCS" << QStringLiteral("中文") << QByteArray("\xA4\xA4\xA4\xE5");
    QTest::newRow("Shift-JIS keeps backslash and tilde")
        << "Shift-JIS" << QStringLiteral("\\~日本") << QByteArray("\\~\x93\xFA\x96\x7B");
    QTest::newRow("ISO 2022-JP returns to ASCII")
        << "ISO 2022-JP" << QStringLiteral("a日本b") << QByteArray("a\x1B$BF|K\\\x1B(Bb");
    QTest::newRow("KOI8-R") << "KOI8-R" << QStringLiteral("Жж") << QByteArray("\xF6\xD6");
    QTest::newRow("Windows-1251") << "Windows-1251" << QStringLiteral("Жж") << QByteArray("\xC6\xE6");
    QTest::newRow("EUC-KR") << "EUC-KR" << QStringLiteral("한국어") << QByteArray("\xC7\xD1\xB1\xB9\xBE\xEE");
    QTest::newRow("ISO 8859-1") << "ISO 8859-1" << QStringLiteral("é") << QByteArray("\xE9");
    QTest::newRow("ISO 8859-15") << "ISO 8859-15" << QStringLiteral("€é") << QByteArray("\xA4\xE9");
}

void TestTextCodec::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QVERIFY(TextCodec::canEncode(name, text));
    QCOMPARE(TextCodec::encode(name, text), bytes);
    QCOMPARE(TextCodec::encodeWithReferences(name, text), bytes);
    QCOMPARE(TextCodec::decode(name, bytes), text);
}

void TestTextCodec::canEncode_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("Chinese in Latin-1") << "ISO 8859-1" << QStringLiteral("a中") << false;
    QTest::newRow("euro in Latin-1") << "ISO 8859-1" << QStringLiteral("€") << false;
    QTest::newRow("euro in Latin-9") << "ISO 8859-15" << QStringLiteral("€") << true;
    QTest::newRow("Hangul in GBK") << "GBK" << QStringLiteral("한") << false;
    QTest::newRow("emoji in GBK") << "GBK" << QStringLiteral("😀") << false;
    QTest::newRow("emoji in UTF-16") << "UTF-16" << QStringLiteral("😀") << true;
    QTest::newRow("Cyrillic in KOI8-R") << "KOI8-R" << QStringLiteral("Привет") << true;
    QTest::newRow("Latin accent in KOI8-R") << "KOI8-R" << QStringLiteral("é") << false;
    // U+B620 is in the Windows superset only, not in KS X 1001.
    QTest::newRow("Hangul outside EUC-KR") << "EUC-KR" << QStringLiteral("똠") << false;
    QTest::newRow("Hangul inside EUC-KR") << "EUC-KR" << QStringLiteral("한글") << true;
    QTest::newRow("C1 control in EUC-KR") << "EUC-KR" << QString(QChar(0x85)) << false;
    QTest::newRow("U+FEFF in GBK") << "GBK" << QString(QChar(0xFEFF)) << false;
    QTest::newRow("U+FEFF in GB18030") << "GB18030" << QString(QChar(0xFEFF)) << true;
    QTest::newRow("unpaired surrogate in UTF-8") << "UTF-8" << QString(QChar(0xD800)) << false;
    QTest::newRow("unknown encoding") << "no-such-encoding" << QStringLiteral("a") << false;
}

void TestTextCodec::canEncode()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(TextCodec::canEncode(name, text), expected);
}

void TestTextCodec::substitution_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Latin-1") << "ISO 8859-1" << QStringLiteral("a中b") << QByteArray("a?b");
    QTest::newRow("EUC-KR, one mark per character") << "EUC-KR" << QStringLiteral("똠a똠") << QByteArray("?a?");
    QTest::newRow("GBK, one mark per code point") << "GBK" << QStringLiteral("😀x") << QByteArray("?x");
    QTest::newRow("GBK marks U+FEFF") << "GBK" << (QStringLiteral("a") + QChar(0xFEFF)) << QByteArray("a?");
    QTest::newRow("EUC-KR marks a C1 control") << "EUC-KR" << (QStringLiteral("a") + QChar(0x85)) << QByteArray("a?");
    QTest::newRow("unknown name writes UTF-8")
        << "no-such-encoding" << QStringLiteral("张") << QByteArray("\xE5\xBC\xA0");
}

void TestTextCodec::substitution()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TextCodec::encode(name, text), bytes);
}

void TestTextCodec::references_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Chinese in Latin-1") << "ISO 8859-1" << QStringLiteral("é中") << QByteArray("\xE9&#x4e2d;");
    QTest::newRow("emoji is one reference") << "Windows-1251" << QStringLiteral("😀Ж") << QByteArray("&#x1f600;\xC6");
    QTest::newRow("Hangul outside EUC-KR") << "EUC-KR" << QStringLiteral("똠한") << QByteArray("&#xb620;\xC7\xD1");
    QTest::newRow("Hangul in Shift-JIS") << "Shift-JIS" << QStringLiteral("한") << QByteArray("&#xd55c;");
    QTest::newRow("unpaired surrogate left out") << "UTF-8" << (QStringLiteral("a") + QChar(0xDC00)) << QByteArray("a");
}

void TestTextCodec::references()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TextCodec::encodeWithReferences(name, text), bytes);
}

void TestTextCodec::byteOrderMarks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("UTF-8 with mark") << "UTF-8" << QByteArray("\xEF\xBB\xBFz\xC3\xA9") << QStringLiteral("zé");
    QTest::newRow("UTF-16 little-endian mark") << "UTF-16" << QByteArray("\xFF\xFEz\x00", 4) << QStringLiteral("z");
    QTest::newRow("UTF-16 big-endian mark") << "UTF-16" << QByteArray("\xFE\xFF\x00z", 4) << QStringLiteral("z");
    QTest::newRow("UTF-16 without mark") << "UTF-16" << QByteArray("z\x00", 2) << QStringLiteral("z");
    QTest::newRow("UTF-32 big-endian mark")
        << "UTF-32" << QByteArray("\x00\x00\xFE\xFF\x00\x00\x00z", 8) << QStringLiteral("z");
    QTest::newRow("UTF-32 without mark") << "UTF-32" << QByteArray("z\x00\x00\x00", 4) << QStringLiteral("z");
}

void TestTextCodec::byteOrderMarks()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(TextCodec::decode(name, bytes), text);
}

// A file is encoded in pieces; a shift state carried over must not be repeated
// or lost at the seams.
void TestTextCodec::piecesKeepShiftState()
{
    TextCodec::Encoder encoder(QStringLiteral("ISO 2022-JP"));
    QByteArray bytes = encoder.encode(u"日本");
    bytes += encoder.encode(u"語\n");
    QCOMPARE(bytes, QByteArray("\x1B$BF|K\\8l\x1B(B\n"));
    QCOMPARE(TextCodec::decode(QStringLiteral("ISO 2022-JP"), bytes), QStringLiteral("日本語\n"));
}

void TestTextCodec::strictDecoding_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::newRow("UTF-8") << "UTF-8" << QByteArray("J\xC3\xBCrgen") << true;
    QTest::newRow("Windows-1252 byte in UTF-8") << "UTF-8" << QByteArray("J\xFCrgen") << false;
    QTest::newRow("UTF-8 cut inside a character") << "UTF-8" << QByteArray("ab\xE5\xBC") << false;
    QTest::newRow("UTF-16 of odd length") << "UTF-16" << QByteArray("\xFF\xFEz\x00z", 5) << false;
    QTest::newRow("UTF-16BE of odd length") << "UTF-16BE" << QByteArray("\x00z\x00", 3) << false;
    QTest::newRow("UTF-32LE cut by a byte") << "UTF-32LE" << QByteArray("z\x00\x00\x00z\x00\x00", 7) << false;
    QTest::newRow("GBK") << "GBK" << QByteArray("\xD5\xC5\xCE\xB0") << true;
    QTest::newRow("GBK cut inside a character") << "GBK" << QByteArray("\xD5\xC5\xCE") << false;
    QTest::newRow("Shift-JIS lead byte before a line feed") << "Shift-JIS" << QByteArray("\x82\xA0\x82\n") << false;
    QTest::newRow("every byte is Latin-1") << "ISO 8859-1" << QByteArray("\x81\xFF\x00", 3) << true;
    QTest::newRow("unknown name") << "Klingon-8" << QByteArray("a") << false;
}

void TestTextCodec::strictDecoding()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QString text;
    QCOMPARE(TextCodec::decodeStrict(name, bytes, &text), valid);
}

void TestTextCodec::detection_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    // Short phonebooks, as users export them.
    const QString simplified = QStringLiteral("名,姓,移动电话,类别\n伟,张,13800000001,同事\n娜,李,13800000002,家人\n"
                                              "强,王,13800000003,朋友\n敏,刘,13800000004,同事\n");
    const QString traditional = QStringLiteral("First Name,Last Name,Mobile Phone,Group\n大文,陳,0912345678,朋友\n"
                                               "美玲,林,0922345678,同事\n志明,黃,0932345678,家人\n");
    const QString western = QStringLiteral("First Name,Last Name,Group\nJürgen,Müller,Fußball\nFrançoise,Lefèvre,"
                                           "Collègues\nJosé,Núñez,Familia\nBjörn,Ångström,Vänner\n");
    const QString ascii = QStringLiteral("First Name,Last Name\nAnn,Lee\n");
    QTest::newRow("ASCII") << ascii.toLatin1() << "UTF-8" << ascii;
    QTest::newRow("UTF-8") << simplified.toUtf8() << "UTF-8" << simplified;
    QTest::newRow("UTF-8 with its mark") << "\xEF\xBB\xBF" + western.toUtf8() << "UTF-8" << western;
    QTest::newRow("UTF-16 with its mark") << "\xFF\xFE" + TextCodec::encode("UTF-16", western) << "UTF-16" << western;
    // Nothing is named that does not read cleanly.
    QTest::newRow("UTF-16 mark, cut by a byte")
        << ("\xFF\xFE" + TextCodec::encode("UTF-16", western)).chopped(1) << QString() << QString();
    QTest::newRow("GB18030") << TextCodec::encode("GBK", simplified) << "GB18030" << simplified;
    QTest::newRow("Big5") << TextCodec::encode("Big5", traditional) << "Big5" << traditional;
    QTest::newRow("Windows-1252") << TextCodec::encode("Windows-1252", western) << "Windows-1252" << western;
}

void TestTextCodec::detection()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QCOMPARE(TextCodec::detect(bytes), name);
    if (!name.isEmpty())
        QCOMPARE(TextCodec::decode(name, bytes), text);
}

QTEST_GUILESS_MAIN(TestTextCodec)
#include "TestTextCodec.moc"
