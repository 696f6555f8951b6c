// The CSV tokenizer: quoting, records spanning lines, line ends, modes, skipping,
// files and memory.

#include "import/csv_parser.h"

#include <QTemporaryDir>
#include <QtTest>

using Fields = QList<QByteArray>;
using Records = QList<Fields>;

namespace {

QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("in.csv"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write(bytes);
    return path;
}

// Every record the reader's loop would see: read while more input may follow.
Records readAll(csv_parser &p)
{
    Records records;
    while (p.more())
        records.append(p.readRecord());
    return records;
}

} // namespace

class TestCsvTokenizer : public QObject
{
    Q_OBJECT

private slots:
    void quoteAware_data();
    void quoteAware();
    void longLineIsReadWhole();
    void plainMode_data();
    void plainMode();
    void enclosedMode_data();
    void enclosedMode();
    void skipLines();
    void emptyFileGivesNoRecord();
    void openFailures();
    void openStreamRewinds();
};

void TestCsvTokenizer::quoteAware_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<char>("separator");
    QTest::addColumn<Records>("expected");
    QTest::addColumn<int>("unclosedLine");

    QTest::newRow("plain fields") << QByteArray("a,b\n") << ',' << Records { { "a", "b", "" } } << 0;
    QTest::newRow("quoted comma") << QByteArray("\"Smith, Jr\",x\n") << ',' << Records { { "Smith, Jr", "x", "" } }
                                  << 0;
    QTest::newRow("doubled quotes") << QByteArray("\"say \"\"hi\"\"\",2\n") << ','
                                    << Records { { "say \"hi\"", "2", "" } } << 0;
    QTest::newRow("empty quoted field") << QByteArray("\"\",b\n") << ',' << Records { { "", "b", "" } } << 0;
    QTest::newRow("line feed inside quotes continues the record")
        << QByteArray("\"1 Main St\nFlat 2\",Ann\nBob,Lee\n") << ','
        << Records { { "1 Main St\nFlat 2", "Ann", "" }, { "Bob", "Lee", "" } } << 0;
    QTest::newRow("several line feeds inside quotes")
        << QByteArray("x,\"a\n\nb,c\n\"\ny\n") << ',' << Records { { "x", "a\n\nb,c\n", "" }, { "y", "" } } << 0;
    QTest::newRow("CR LF line ends are line feeds")
        << QByteArray("a,b\r\nc,d\r\n") << ',' << Records { { "a", "b", "" }, { "c", "d", "" } } << 0;
    QTest::newRow("CR LF inside quotes") << QByteArray("\"x\r\ny\",z\r\n") << ',' << Records { { "x\ny", "z", "" } }
                                         << 0;
    QTest::newRow("no final line end") << QByteArray("a,b\nc,d") << ',' << Records { { "a", "b", "" }, { "c", "d" } }
                                       << 0;
    QTest::newRow("unterminated quote runs to the end")
        << QByteArray("a,\"open\nstill") << ',' << Records { { "a", "\"open\nstill" } } << 1;
    QTest::newRow("blank line is a record of empty fields")
        << QByteArray("a\n\nb\n") << ',' << Records { { "a", "" }, { "", "" }, { "b", "" } } << 0;
    QTest::newRow("a quote inside an unquoted field is text")
        << QByteArray("O\"Brien,x\nB,y\n") << ',' << Records { { "O\"Brien", "x", "" }, { "B", "y", "" } } << 0;
    QTest::newRow("blanks before the opening quote")
        << QByteArray(" \"a,b\",c\n") << ',' << Records { { "a,b", "c", "" } } << 0;
    QTest::newRow("UTF-8 bytes pass through") << QByteArray("\xe5\xbc\xa0,\"\xe4\xb8\x89,x\"\n") << ','
                                              << Records { { "\xe5\xbc\xa0", "\xe4\xb8\x89,x", "" } } << 0;
    QTest::newRow("semicolon") << QByteArray("a;\"b;c\";d,e\n") << ';' << Records { { "a", "b;c", "d,e", "" } } << 0;
    QTest::newRow("tab") << QByteArray("a\tb,c\n") << '\t' << Records { { "a", "b,c", "" } } << 0;
    QTest::newRow("unclosed quote names its line")
        << QByteArray("a\r\nb\r\nx,\"c\nd\n") << ',' << Records { { "a", "" }, { "b", "" }, { "x", "\"c\nd\n" } } << 3;
}

void TestCsvTokenizer::quoteAware()
{
    QFETCH(QByteArray, input);
    QFETCH(char, separator);
    QFETCH(Records, expected);
    QFETCH(int, unclosedLine);
    QTemporaryDir dir;
    csv_parser p;
    QVERIFY(p.openFile(QFile::encodeName(writeFile(dir, input))));
    p.setEnclosure('"', 3);
    p.setFieldTerminator(separator);
    QCOMPARE(readAll(p), expected);
    QCOMPARE(p.recordCount(), int(expected.size()));
    QCOMPARE(p.unclosedQuoteLine(), unclosedLine);
    p.closeFile();

    // The same from memory, as the CSV reader reads.
    csv_parser m;
    m.openBytes(input);
    m.setEnclosure('"', 3);
    m.setFieldTerminator(separator);
    QCOMPARE(readAll(m), expected);
    QCOMPARE(m.unclosedQuoteLine(), unclosedLine);
}

void TestCsvTokenizer::longLineIsReadWhole()
{
    // Far beyond any fixed line buffer, with the long field quoted and spanning lines.
    const QByteArray big(200000, 'x');
    const QByteArray input = "a,\"" + big + "\n" + big + "\",b\n";
    QTemporaryDir dir;
    csv_parser p;
    QVERIFY(p.openFile(QFile::encodeName(writeFile(dir, input))));
    p.setEnclosure('"', 3);
    const Fields fields = p.readRecord();
    QCOMPARE(fields.size(), 4);
    QCOMPARE(fields[0], QByteArray("a"));
    QCOMPARE(fields[1].size(), 2 * big.size() + 1);
    QCOMPARE(fields[1], big + "\n" + big);
    QCOMPARE(fields[2], QByteArray("b"));
    QVERIFY(!p.more());
}

void TestCsvTokenizer::plainMode_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<Records>("expected");
    QTest::newRow("terminated line") << QByteArray("a,\"b\",c\n") << Records { { "a", "\"b\"", "c" } };
    QTest::newRow("last line without line end keeps only ended fields") << QByteArray("a,b") << Records { { "a" } };
}

void TestCsvTokenizer::plainMode()
{
    QFETCH(QByteArray, input);
    QFETCH(Records, expected);
    QTemporaryDir dir;
    csv_parser p;
    QVERIFY(p.openFile(QFile::encodeName(writeFile(dir, input))));
    QCOMPARE(p.mode(), 1);
    QCOMPARE(readAll(p), expected);
}

void TestCsvTokenizer::enclosedMode_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<Records>("expected");
    QTest::newRow("pairs only") << QByteArray("'a','b c' x\n") << Records { { "a", "b c" } };
    QTest::newRow("escaped enclosure") << QByteArray("'it\\'s'\n") << Records { { "it\\'s" } };
    QTest::newRow("no pair gives whole line") << QByteArray("abc\n") << Records { { "abc\n" } };
    QTest::newRow("open enclosure runs to line end") << QByteArray("'a' 'bc\n") << Records { { "a", "bc\n" } };
}

void TestCsvTokenizer::enclosedMode()
{
    QFETCH(QByteArray, input);
    QFETCH(Records, expected);
    QTemporaryDir dir;
    csv_parser p;
    p.setEnclosure('\'', 2);
    QVERIFY(p.openFile(QFile::encodeName(writeFile(dir, input))));
    QCOMPARE(readAll(p), expected);
}

void TestCsvTokenizer::skipLines()
{
    QTemporaryDir dir;
    csv_parser p;
    p.setEnclosure('"', 3);
    p.setSkipLines(-2);
    QVERIFY(p.openFile(QFile::encodeName(writeFile(dir, "h1\n\"h\n2\"\nrow\n"))));
    QCOMPARE(p.recordCount(), 0);
    QCOMPARE(readAll(p), Records({ { "row", "" } }));
}

void TestCsvTokenizer::emptyFileGivesNoRecord()
{
    QTemporaryDir dir;
    csv_parser p;
    p.setEnclosure('"', 3);
    QVERIFY(p.openFile(QFile::encodeName(writeFile(dir, QByteArray()))));
    QCOMPARE(p.readRecord(), Fields());
    QVERIFY(!p.more());
}

void TestCsvTokenizer::openFailures()
{
    csv_parser p;
    QVERIFY(!p.openFile(QByteArray()));
    QVERIFY(!p.openFile("/nonexistent/dir/x.csv"));
    QVERIFY(!p.openStream(nullptr));
    QVERIFY(!p.more());
}

void TestCsvTokenizer::openStreamRewinds()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "a,b\nc\n");
    FILE *f = std::fopen(QFile::encodeName(path).constData(), "rb");
    QVERIFY(f);
    std::fgetc(f);
    csv_parser p;
    p.setEnclosure('"', 3);
    QVERIFY(p.openStream(f));
    QCOMPARE(readAll(p), Records({ { "a", "b", "" }, { "c", "" } }));
    p.closeFile();
}

QTEST_GUILESS_MAIN(TestCsvTokenizer)
#include "TestCsvTokenizer.moc"
