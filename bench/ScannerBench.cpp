// The quick XML scanner on one start tag with 7 000 attributes, beside
// QXmlStreamReader on the same bytes: the repeated-attribute check must stay linear.

#include "bench/Bench.h"

#include "import/XmlScanner.h"

#include <QXmlStreamReader>

#include <algorithm>

namespace {

constexpr int kAttributes = 7000;

QByteArray manyAttributes()
{
    QByteArray doc("<a");
    for (int i = 0; i < kAttributes; ++i)
        doc += " a" + QByteArray::number(i) + "=\"" + QByteArray::number(i) + '"';
    return doc + "/>";
}

template <typename Read> double median(Read read)
{
    QList<double> times;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        read();
        times.append(Bench::seconds(t));
    }
    std::sort(times.begin(), times.end());
    return times[1];
}

void scanAttributes()
{
    const QByteArray doc = manyAttributes();
    bool scanned = false;
    const double scanner = median([&] {
        XmlScanner xml(doc);
        while (!xml.atEnd())
            xml.readNext();
        scanned = !xml.hasError();
    });
    const double qt = median([&] {
        QXmlStreamReader xml(doc);
        while (!xml.atEnd())
            xml.readNext();
    });
    const QString detail = QStringLiteral("%1 attributes, median of 3").arg(kAttributes);
    Bench::report(QStringLiteral("XML scanner, one tag of many attributes"), scanner, QStringLiteral("s"),
        scanned ? detail : QStringLiteral("FAILED"));
    Bench::report(QStringLiteral("QXmlStreamReader, the same tag"), qt, QStringLiteral("s"), detail);
}

const Bench::Registrar attributes("xml-scanner-attributes", scanAttributes);

} // namespace
