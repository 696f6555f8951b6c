#include "export/XmlWriter.h"

#include "data/TextCodec.h"
#include "export/ExportStream.h"

#include <algorithm>
#include <iterator>

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

namespace {

// The ASCII characters that element text or an attribute value cannot carry as
// they stand: controls, markup, the quote; '>' too, which only "]]>" makes markup.
constexpr bool isMarkup(char16_t c)
{
    return c < 0x20 || c == u'<' || c == u'&' || c == u'"' || c == u'>';
}

// Whether `text` goes out exactly as it stands: nothing to escape or leave out, and
// (outside the Unicode encodings) nothing past ASCII to check. Nearly every value
// of a phonebook is, and then a line is written without looking at it twice.
bool isPlain(QStringView text, bool unicode)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x80) {
            if (isMarkup(c))
                return false;
        } else if (!unicode || (c >= 0xD800 && c < 0xE000) || c >= 0xFFFE) {
            return false;
        }
    }
    return true;
}

char16_t *put(char16_t *p, QLatin1String s)
{
    for (const char c : s)
        *p++ = uchar(c);
    return p;
}

char16_t *put(char16_t *p, QStringView s)
{
    std::copy_n(s.utf16(), s.size(), p);
    return p + s.size();
}

// `<name attribute="value"`, the tag left open.
char16_t *putStartTag(char16_t *p, QLatin1String name, QLatin1String attribute, QStringView value)
{
    *p++ = u'<';
    p = put(p, name);
    *p++ = u' ';
    p = put(p, attribute);
    *p++ = u'=';
    *p++ = u'"';
    p = put(p, value);
    *p++ = u'"';
    return p;
}

} // namespace

void XmlWriter::indent()
{
    indent(m_open.size() - 1);
}

void XmlWriter::indent(qsizetype depth)
{
    // The root is not indented; each level below it adds four spaces.
    std::fill_n(m_stream.extend(depth * 4), depth * 4, u' ');
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
    const qsizetype depth = m_open.size() * 4;
    m_open.append(name);
    char16_t *p = std::fill_n(m_stream.extend(depth + name.size() + 2), depth, u' ');
    *p++ = u'<';
    p = put(p, name);
    *p = u'>';
    m_stream.endLine();
}

void XmlWriter::startElement(QLatin1String name, QLatin1String attribute, QStringView value)
{
    const qsizetype depth = m_open.size() * 4;
    m_open.append(name);
    if (isPlain(value, m_stream.encoder().isUnicode())) {
        char16_t *p = m_stream.extend(depth + name.size() + attribute.size() + value.size() + 6);
        *putStartTag(std::fill_n(p, depth, u' '), name, attribute, value) = u'>';
        m_stream.endLine();
        return;
    }
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
    const QLatin1String name = m_open.takeLast();
    const qsizetype depth = m_open.size() * 4;
    char16_t *p = std::fill_n(m_stream.extend(depth + name.size() + 3), depth, u' ');
    *p++ = u'<';
    *p++ = u'/';
    p = put(p, name);
    *p = u'>';
    m_stream.endLine();
}

void XmlWriter::textElement(QLatin1String name, QStringView text)
{
    // One level below the open element.
    const qsizetype depth = m_open.size() * 4;
    if (isPlain(text, m_stream.encoder().isUnicode())) {
        char16_t *p = std::fill_n(m_stream.extend(depth + 2 * name.size() + text.size() + 5), depth, u' ');
        *p++ = u'<';
        p = put(p, name);
        *p++ = u'>';
        p = put(p, text);
        *p++ = u'<';
        *p++ = u'/';
        p = put(p, name);
        *p = u'>';
        m_stream.endLine();
        return;
    }
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
    // Digits straight into a buffer: a number on every line of a contact would
    // otherwise be a string allocated and freed.
    char16_t digits[12];
    char16_t *end = digits + std::size(digits);
    char16_t *p = end;
    unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    do {
        *--p = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        *--p = u'-';
    textElement(name, QStringView(p, end - p));
}

void XmlWriter::textElement(QLatin1String name, QStringView text, QLatin1String attribute, QStringView value)
{
    // One level below the open element.
    const qsizetype depth = m_open.size() * 4;
    const bool unicode = m_stream.encoder().isUnicode();
    if (isPlain(text, unicode) && isPlain(value, unicode)) {
        char16_t *p = m_stream.extend(depth + 2 * name.size() + attribute.size() + value.size() + text.size() + 9);
        p = putStartTag(std::fill_n(p, depth, u' '), name, attribute, value);
        *p++ = u'>';
        p = put(p, text);
        *p++ = u'<';
        *p++ = u'/';
        p = put(p, name);
        *p = u'>';
        m_stream.endLine();
        return;
    }
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
