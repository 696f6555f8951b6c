// The quick XML scanner: on what it reads it must give exactly the events of
// QXmlStreamReader, and it must give up on everything else, above all on every
// document that is not well-formed.

#include "import/XmlScanner.h"

#include <QFile>
#include <QRandomGenerator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Events {
    bool ok = false;
    QStringList list;
};

void attributesOf(QXmlStreamReader &xml, QStringList &out)
{
    for (const QXmlStreamAttribute &a : xml.attributes())
        out << a.qualifiedName().toString() + "=" + a.value().toString();
}

QString textOf(QXmlStreamReader &xml)
{
    return xml.text().toString();
}

QString textOf(XmlScanner &xml)
{
    return xml.text();
}

// Start and end tags, the text inside the root (adjacent pieces joined) and comments.
template <typename Reader> Events events(Reader &xml, const QStringList &attributeNames = {})
{
    Events e;
    QString pending;
    int depth = 0;
    auto flush = [&] {
        if (!pending.isEmpty())
            e.list << "T " + pending;
        pending.clear();
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            flush();
            QStringList attrs;
            if constexpr (std::is_same_v<Reader, QXmlStreamReader>) {
                attributesOf(xml, attrs);
            } else {
                for (const QString &name : attributeNames) {
                    QString v;
                    if (xml.attribute(QLatin1String(name.toLatin1()), &v))
                        attrs << name + "=" + v;
                }
            }
            e.list << "S " + xml.qualifiedName().toString() + " " + attrs.join(' ');
            ++depth;
        } else if (xml.isEndElement()) {
            flush();
            e.list << "E " + xml.qualifiedName().toString();
            --depth;
        } else if (xml.isCharacters()) {
            if (depth > 0)
                pending += textOf(xml);
        } else if (xml.isComment()) {
            flush();
            e.list << "C " + textOf(xml);
        }
    }
    flush();
    e.ok = !xml.hasError();
    return e;
}

// Every attribute name Qt saw, so the scanner can be asked for the same.
QStringList attributeNames(const QByteArray &doc)
{
    QStringList names;
    QXmlStreamReader xml(doc);
    xml.setNamespaceProcessing(false);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            for (const QXmlStreamAttribute &a : xml.attributes()) {
                if (!names.contains(a.qualifiedName().toString()))
                    names << a.qualifiedName().toString();
            }
        }
    }
    return names;
}

// One element with `count` attributes; the last repeats the first when `repeat`.
QByteArray manyAttributes(int count, bool repeat)
{
    QByteArray doc("<a");
    for (int i = 0; i < count; ++i)
        doc += " a" + QByteArray::number(repeat && i == count - 1 ? 0 : i) + "='" + QByteArray::number(i) + "'";
    return doc + "/>";
}

Events qtEvents(const QByteArray &doc)
{
    QXmlStreamReader xml(doc);
    xml.setNamespaceProcessing(false);
    return events(xml);
}

Events scannerEvents(const QByteArray &doc)
{
    XmlScanner scanner(doc);
    return events(scanner, attributeNames(doc));
}

} // namespace

class TestXmlScanner : public QObject
{
    Q_OBJECT

private slots:
    void readsPlainXml_data();
    void readsPlainXml();
    void leavesTheRestToTheFullParser_data();
    void leavesTheRestToTheFullParser();
    void mutatedDocuments();
    void readingOperations();
};

void TestXmlScanner::readsPlainXml_data()
{
    QTest::addColumn<QByteArray>("doc");
    QTest::newRow("empty root") << QByteArray("<a/>");
    QTest::newRow("declaration and children")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AddressBook>\n  <x a=\"1\" b='two'>t</x>\n"
                      "  <y/>\n</AddressBook>\n");
    QTest::newRow("references") << QByteArray("<a v=\"&lt;&amp;&quot;\">&lt;b&gt; &amp; &#x4e2d;&#20013;&apos;</a>");
    QTest::newRow("line ends") << QByteArray("<a>one\r\ntwo\rthree\nfour</a>");
    QTest::newRow("line ends and ampersands in comments") << QByteArray("<a><!-- x\r\ny\r & z --></a>");
    QTest::newRow("comments everywhere") << QByteArray("<!-- before --><a><!--in-->x<!---->y</a><!-- after -->\n");
    QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf<?xml version='1.0'?><a>b</a>");
    QTest::newRow("multi-byte text") << QByteArray("<a n=\"\xe5\xbc\xa0\">\xe4\xbc\x9f \xf0\x9f\x98\x80 \xc3\xa9</a>");
    QTest::newRow("standalone") << QByteArray("<?xml version=\"1.0\" standalone=\"yes\"?><a/>");
    QTest::newRow("spaces in tags") << QByteArray("<a  x = \"1\"  ><b\n/></a >");
    QTest::newRow("brackets in text") << QByteArray("<a>]] > x>y ]</a>");
    QTest::newRow("names") << QByteArray("<A_b-c.9><_x/></A_b-c.9>");
    // U+FEFF inside a document is a character, even where a decoded piece starts.
    QTest::newRow("U+FEFF in text and attributes") << QByteArray("<a x=\"\xef\xbb\xbf"
                                                                 "v\" y=\"&amp;\xef\xbb\xbf\">\xef\xbb\xbf"
                                                                 "A&amp;\xef\xbb\xbf"
                                                                 "B"
                                                                 "<b>\xef\xbb\xbf</b></a>");
    QTest::newRow("many attributes") << manyAttributes(20, false);
    QFile general(QStringLiteral(QUORVANE_TEST_DATA "/import/general.xml"));
    QVERIFY(general.open(QIODevice::ReadOnly));
    QTest::newRow("general layout file") << general.readAll();
    QFile brenn(QStringLiteral(QUORVANE_TEST_DATA "/import/brenn.xml"));
    QVERIFY(brenn.open(QIODevice::ReadOnly));
    QTest::newRow("Brenn layout file") << brenn.readAll();
}

void TestXmlScanner::readsPlainXml()
{
    QFETCH(QByteArray, doc);
    const Events qt = qtEvents(doc);
    const Events scanned = scannerEvents(doc);
    QVERIFY(qt.ok);
    QVERIFY(scanned.ok);
    QCOMPARE(scanned.list, qt.list);
}

void TestXmlScanner::leavesTheRestToTheFullParser_data()
{
    QTest::addColumn<QByteArray>("doc");
    // Well-formed, but not what the scanner reads.
    QTest::newRow("document type") << QByteArray("<!DOCTYPE a [<!ENTITY e 'x'>]><a>&e;</a>");
    QTest::newRow("CDATA") << QByteArray("<a><![CDATA[<x>]]></a>");
    QTest::newRow("processing instruction") << QByteArray("<a><?pi data?></a>");
    QTest::newRow("prefixed name") << QByteArray("<p:a xmlns:p='u'/>");
    QTest::newRow("non-ASCII name") << QByteArray("<\xe5\x90\x8d/>");
    QTest::newRow("tab in attribute") << QByteArray("<a x='1\t2'/>");
    QTest::newRow("other encoding declared") << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>");
    QTest::newRow("version 1.1") << QByteArray("<?xml version=\"1.1\"?><a/>");
    // Not well-formed.
    QTest::newRow("mismatched tags") << QByteArray("<a><b></a></b>");
    QTest::newRow("unclosed root") << QByteArray("<a><b/>");
    QTest::newRow("two roots") << QByteArray("<a/><b/>");
    QTest::newRow("text after the root") << QByteArray("<a/>x");
    QTest::newRow("unquoted attribute") << QByteArray("<a x=1/>");
    QTest::newRow("repeated attribute") << QByteArray("<a x='1' x='2'/>");
    QTest::newRow("repeated attribute among many") << manyAttributes(20, true);
    QTest::newRow("attributes without space") << QByteArray("<a x='1'y='2'/>");
    QTest::newRow("]]> in text") << QByteArray("<a>x]]>y</a>");
    QTest::newRow("-- in comment") << QByteArray("<a><!-- a -- b --></a>");
    QTest::newRow("comment ending in -") << QByteArray("<a><!-- a ---></a>");
    QTest::newRow("control character") << QByteArray("<a>\x01</a>");
    QTest::newRow("invalid UTF-8") << QByteArray("<a>\xff</a>");
    QTest::newRow("encoded surrogate") << QByteArray("<a>\xed\xa0\x80</a>");
    QTest::newRow("U+FFFE") << QByteArray("<a>\xef\xbf\xbe</a>");
    QTest::newRow("reference to 0") << QByteArray("<a>&#0;</a>");
    QTest::newRow("reference to a surrogate") << QByteArray("<a>&#xD800;</a>");
    QTest::newRow("bare ampersand") << QByteArray("<a>&</a>");
    QTest::newRow("unknown entity") << QByteArray("<a>&nbsp;</a>");
    QTest::newRow("< in attribute") << QByteArray("<a x='<'/>");
    QTest::newRow("declaration not first") << QByteArray(" <?xml version='1.0'?><a/>");
    QTest::newRow("empty document") << QByteArray();
    QTest::newRow("only a declaration") << QByteArray("<?xml version='1.0'?>");
    QTest::newRow("only white space") << QByteArray(" \n ");
    QTest::newRow("end tag without start") << QByteArray("</a>");
}

void TestXmlScanner::leavesTheRestToTheFullParser()
{
    QFETCH(QByteArray, doc);
    QVERIFY(!scannerEvents(doc).ok);
}

void TestXmlScanner::mutatedDocuments()
{
    // Random small damage to valid documents: whenever the scanner still reads the
    // result, the full parser must accept it too and see the same.
    const QByteArray bases[] = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AddressBook>\n<pbgroup><id>3</id><name>G&amp;o</name></pbgroup>\n"
        "<Contact><FirstName>A</FirstName><Phone type=\"Work\"><phonenumber>1</phonenumber></Phone>"
        "<!-- c --><Mail>a@b</Mail></Contact>\n</AddressBook>\n",
        "<a x='1' y=\"&#x41;\"><b>t&lt;\xe4\xb8\xad</b><c/></a>",
        "<?xml version='1.0' standalone='no'?><!--p--><r>\r\n<q a=\"&amp;&#65;\"/>]]x<!---->&apos;</r><!--e-->",
    };
    const QByteArray alphabet("<>/=\"'&;#!-?[]x \n\r\t\xe4\xb8");
    QRandomGenerator random(20240607);
    int accepted = 0;
    for (const QByteArray &base : bases) {
        for (int round = 0; round < 3000; ++round) {
            QByteArray doc = base;
            const int edits = 1 + random.bounded(3);
            for (int e = 0; e < edits; ++e) {
                const int at = random.bounded(int(doc.size()) + 1);
                const char c = alphabet.at(random.bounded(int(alphabet.size())));
                switch (random.bounded(3)) {
                case 0:
                    doc.insert(at, c);
                    break;
                case 1:
                    if (at < doc.size())
                        doc.remove(at, 1);
                    break;
                default:
                    if (at < doc.size())
                        doc[at] = c;
                }
            }
            const Events scanned = scannerEvents(doc);
            if (!scanned.ok)
                continue;
            ++accepted;
            const Events qt = qtEvents(doc);
            if (!qt.ok || scanned.list != qt.list)
                QFAIL(qPrintable(QStringLiteral("scanner and parser differ on: ")
                    + QString::fromUtf8(doc.toPercentEncoding(" <>/=\"'"))));
        }
    }
    // The check above must have had something to check.
    QVERIFY(accepted > 100);
}

void TestXmlScanner::readingOperations()
{
    XmlScanner xml("<r><a k='v'>x<b>y</b><!--c-->z</a><e/><f>1</f></r>");
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.qualifiedName(), QLatin1String("r"));
    QVERIFY(xml.readNextStartElement());
    QString v;
    QVERIFY(xml.attribute(QLatin1String("k"), &v));
    QCOMPARE(v, QString("v"));
    QVERIFY(!xml.attribute(QLatin1String("missing"), &v));
    QCOMPARE(xml.readElementText(), QString("xyz"));
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.qualifiedName(), QLatin1String("e"));
    QCOMPARE(xml.readElementText(), QString());
    QVERIFY(xml.readNextStartElement());
    xml.skipCurrentElement();
    QVERIFY(!xml.readNextStartElement());
    QCOMPARE(xml.qualifiedName(), QLatin1String("r"));
    xml.readNext();
    QVERIFY(xml.atEnd());
    QVERIFY(!xml.hasError());
}

QTEST_GUILESS_MAIN(TestXmlScanner)
#include "TestXmlScanner.moc"
