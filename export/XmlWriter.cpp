#include "export/XmlWriter.h"

#include "data/TextCodec.h"
#include "export/ExportStream.h"

XmlWriter::XmlWriter(ExportStream &stream)
    : m_stream(stream)
{
}

void XmlWriter::writeDeclaration()
{
    m_stream.text()
        += QLatin1String("<?xml version=\"1.0\" encoding=\"") + m_stream.encoder().xmlName() + QLatin1String("\"?>");
    m_stream.endLine();
}

void XmlWriter::indent()
{
    indent(m_open.size() - 1);
}

void XmlWriter::indent(qsizetype depth)
{
    // The root is not indented; each level below it adds four spaces.
    static const QString spaces(64, QLatin1Char(' '));
    for (qsizetype n = depth * 4; n > 0; n -= spaces.size())
        m_stream.text().append(QStringView(spaces).first(qMin(n, spaces.size())));
}

void XmlWriter::appendAttribute(QLatin1String attribute, QStringView value)
{
    QString &out = m_stream.text();
    out += QLatin1Char(' ');
    out += attribute;
    out += QLatin1String("=\"");
    appendEscaped(out, value, true, m_stream.encoder());
    out += QLatin1Char('"');
}

void XmlWriter::startElement(QLatin1String name)
{
    m_open.append(name);
    indent();
    QString &out = m_stream.text();
    out += QLatin1Char('<');
    out += name;
    out += QLatin1Char('>');
    m_stream.endLine();
}

void XmlWriter::startElement(QLatin1String name, QLatin1String attribute, QStringView value)
{
    m_open.append(name);
    indent();
    QString &out = m_stream.text();
    out += QLatin1Char('<');
    out += name;
    appendAttribute(attribute, value);
    out += QLatin1Char('>');
    m_stream.endLine();
}

void XmlWriter::endElement()
{
    indent();
    QString &out = m_stream.text();
    out += QLatin1String("</");
    out += m_open.takeLast();
    out += QLatin1Char('>');
    m_stream.endLine();
}

void XmlWriter::textElement(QLatin1String name, QStringView text)
{
    // One level below the open element.
    indent(m_open.size());
    QString &out = m_stream.text();
    out += QLatin1Char('<');
    out += name;
    out += QLatin1Char('>');
    appendEscaped(out, text, false, m_stream.encoder());
    out += QLatin1String("</");
    out += name;
    out += QLatin1Char('>');
    m_stream.endLine();
}

void XmlWriter::textElement(QLatin1String name, int value)
{
    textElement(name, QString::number(value));
}

void XmlWriter::textElement(QLatin1String name, QStringView text, QLatin1String attribute, QStringView value)
{
    // One level below the open element.
    indent(m_open.size());
    QString &out = m_stream.text();
    out += QLatin1Char('<');
    out += name;
    appendAttribute(attribute, value);
    out += QLatin1Char('>');
    appendEscaped(out, text, false, m_stream.encoder());
    out += QLatin1String("</");
    out += name;
    out += QLatin1Char('>');
    m_stream.endLine();
}

void XmlWriter::appendEscaped(QString &out, QStringView text, bool attribute, TextCodec::Encoder &encoder)
{
    const bool unicode = encoder.isUnicode();
    // Runs of characters that need nothing are copied in one piece.
    qsizetype runStart = 0;
    int closingBrackets = 0;
    auto flushRun = [&](qsizetype end) {
        if (end > runStart)
            out.append(text.sliced(runStart, end - runStart));
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x80) {
            switch (c) {
            case u'<':
                flushRun(i);
                out += QLatin1String("&lt;");
                runStart = i + 1;
                break;
            case u'&':
                flushRun(i);
                out += QLatin1String("&amp;");
                runStart = i + 1;
                break;
            case u'"':
                flushRun(i);
                out += QLatin1String("&quot;");
                runStart = i + 1;
                break;
            case u'>':
                // Only "]]>" would end a section that is not there.
                if (closingBrackets >= 2) {
                    flushRun(i);
                    out += QLatin1String("&gt;");
                    runStart = i + 1;
                }
                break;
            default:
                break;
            }
            closingBrackets = c == u']' ? closingBrackets + 1 : 0;
            continue;
        }
        if (c < 0x20) {
            flushRun(i);
            runStart = i + 1;
            if (c == u'\t' || c == u'\n' || c == u'\r') {
                closingBrackets = 0;
                if (attribute)
                    TextCodec::appendReference(out, c);
                else
                    out += QChar(c);
            }
            // Other control characters cannot appear in XML 1.0 at all: left out.
            continue;
        }
        closingBrackets = 0;
        char32_t cp = c;
        const qsizetype start = i;
        if (QChar::isSurrogate(c)) {
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
                cp = QChar::surrogateToUcs4(c, text[i + 1].unicode());
                ++i;
            } else {
                // An unpaired surrogate is no character: left out.
                flushRun(start);
                runStart = i + 1;
                continue;
            }
        } else if (c == 0xFFFE || c == 0xFFFF) {
            flushRun(start);
            runStart = i + 1;
            continue;
        }
        if (unicode || encoder.canEncode(cp))
            continue;
        flushRun(start);
        TextCodec::appendReference(out, cp);
        runStart = i + 1;
    }
    flushRun(text.size());
}
