#include "import/XmlScanner.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include <cctype>
#include <cstring>

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isNameChar(char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// The XML 1.0 Char production.
bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

// UTF-8 text as it stands: a U+FEFF at the start of a piece is a character of the
// text, not a byte-order mark to drop (QString::fromUtf8 drops it).
QString utf8Text(const char *bytes, qsizetype size)
{
    QStringDecoder decoder(
        QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(bytes, size));
}

// Up to this many attributes are checked for repeats by comparing names; beyond it
// a set keeps the check linear.
constexpr qsizetype kDirectAttributeCheck = 8;

} // namespace

XmlScanner::XmlScanner(const QByteArray &utf8)
    : m_data(utf8)
    , m_p(m_data.constData())
    , m_size(m_data.size())
{
    if (m_data.startsWith("\xef\xbb\xbf"))
        m_pos = 3;
}

XmlScanner::TokenType XmlScanner::fail()
{
    m_type = Invalid;
    return m_type;
}

bool XmlScanner::atText(const char *literal) const
{
    const qsizetype n = qsizetype(std::strlen(literal));
    return m_pos + n <= m_size && std::memcmp(m_p + m_pos, literal, size_t(n)) == 0;
}

void XmlScanner::skipSpace()
{
    while (m_pos < m_size && isSpace(m_p[m_pos]))
        ++m_pos;
}

bool XmlScanner::readName(QLatin1String *name)
{
    const qsizetype begin = m_pos;
    if (m_pos >= m_size || !isNameStart(m_p[m_pos]))
        return false;
    ++m_pos;
    while (m_pos < m_size && isNameChar(m_p[m_pos]))
        ++m_pos;
    // A colon (a prefixed name) or a non-ASCII name character is left to the full parser.
    if (m_pos < m_size && (m_p[m_pos] == ':' || static_cast<unsigned char>(m_p[m_pos]) >= 0x80))
        return false;
    *name = QLatin1String(m_p + begin, m_pos - begin);
    return true;
}

bool XmlScanner::checkUtf8(qsizetype &pos) const
{
    const auto byte = [this](qsizetype i) { return i < m_size ? static_cast<unsigned char>(m_p[i]) : 0u; };
    const unsigned lead = byte(pos);
    auto continuation = [&](qsizetype i) { return (byte(i) & 0xC0) == 0x80; };
    char32_t c;
    if (lead >= 0xC2 && lead <= 0xDF) {
        if (!continuation(pos + 1))
            return false;
        pos += 2;
        return true;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned b1 = byte(pos + 1);
        if (!continuation(pos + 1) || !continuation(pos + 2) || (lead == 0xE0 && b1 < 0xA0)
            || (lead == 0xED && b1 > 0x9F))
            return false;
        c = char32_t((lead & 0x0F) << 12 | (b1 & 0x3F) << 6 | (byte(pos + 2) & 0x3F));
        pos += 3;
        return isXmlChar(c);
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned b1 = byte(pos + 1);
        if (!continuation(pos + 1) || !continuation(pos + 2) || !continuation(pos + 3) || (lead == 0xF0 && b1 < 0x90)
            || (lead == 0xF4 && b1 > 0x8F))
            return false;
        pos += 4;
        return true;
    }
    return false;
}

bool XmlScanner::checkReference(qsizetype &pos) const
{
    // pos is at '&'.
    qsizetype end = pos + 1;
    while (end < m_size && end - pos <= 12 && m_p[end] != ';')
        ++end;
    if (end >= m_size || m_p[end] != ';')
        return false;
    const QByteArray ref(m_p + pos + 1, end - pos - 1);
    if (ref == "lt" || ref == "gt" || ref == "amp" || ref == "quot" || ref == "apos") {
        pos = end + 1;
        return true;
    }
    if (ref.size() < 2 || ref[0] != '#')
        return false;
    bool ok = false;
    uint value = 0;
    if (ref[1] == 'x') {
        const QByteArray digits = ref.mid(2);
        if (digits.isEmpty() || digits.size() > 6)
            return false;
        for (char d : digits) {
            if (!std::isxdigit(static_cast<unsigned char>(d)))
                return false;
        }
        value = digits.toUInt(&ok, 16);
    } else {
        const QByteArray digits = ref.mid(1);
        if (digits.size() > 7)
            return false;
        for (char d : digits) {
            if (d < '0' || d > '9')
                return false;
        }
        value = digits.toUInt(&ok, 10);
    }
    if (!ok || !isXmlChar(char32_t(value)))
        return false;
    pos = end + 1;
    return true;
}

// <?xml version="1.0" [encoding="UTF-8"] [standalone="yes"|"no"] ?>
bool XmlScanner::readDeclaration()
{
    m_pos += 5;
    auto pseudo = [this](const char *name, QByteArray *value) {
        const qsizetype save = m_pos;
        if (m_pos >= m_size || !isSpace(m_p[m_pos]))
            return false;
        skipSpace();
        if (!atText(name)) {
            m_pos = save;
            return false;
        }
        m_pos += qsizetype(std::strlen(name));
        skipSpace();
        if (m_pos >= m_size || m_p[m_pos] != '=')
            return false;
        ++m_pos;
        skipSpace();
        if (m_pos >= m_size || (m_p[m_pos] != '"' && m_p[m_pos] != '\''))
            return false;
        const char quote = m_p[m_pos++];
        const qsizetype begin = m_pos;
        while (m_pos < m_size && m_p[m_pos] != quote && m_p[m_pos] != '<' && m_p[m_pos] != '>')
            ++m_pos;
        if (m_pos >= m_size || m_p[m_pos] != quote)
            return false;
        *value = QByteArray(m_p + begin, m_pos - begin);
        ++m_pos;
        return true;
    };
    QByteArray version, encoding, standalone;
    if (!pseudo("version", &version) || version != "1.0")
        return false;
    qsizetype save = m_pos;
    if (pseudo("encoding", &encoding)) {
        if (encoding.compare("UTF-8", Qt::CaseInsensitive) != 0 && encoding.compare("UTF8", Qt::CaseInsensitive) != 0)
            return false;
    } else {
        m_pos = save;
    }
    save = m_pos;
    if (pseudo("standalone", &standalone)) {
        if (standalone != "yes" && standalone != "no")
            return false;
    } else {
        m_pos = save;
    }
    skipSpace();
    if (!atText("?>"))
        return false;
    m_pos += 2;
    return true;
}

bool XmlScanner::readStartTag()
{
    ++m_pos;
    QLatin1String name;
    if (!readName(&name))
        return false;
    m_attributes.clear();
    m_attributeNames.clear();
    for (;;) {
        const qsizetype beforeSpace = m_pos;
        skipSpace();
        if (m_pos >= m_size)
            return false;
        const char c = m_p[m_pos];
        if (c == '>' || c == '/')
            break;
        // Attributes are separated by white space.
        if (m_pos == beforeSpace)
            return false;
        Attribute a;
        if (!readName(&a.name))
            return false;
        skipSpace();
        if (m_pos >= m_size || m_p[m_pos] != '=')
            return false;
        ++m_pos;
        skipSpace();
        if (m_pos >= m_size || (m_p[m_pos] != '"' && m_p[m_pos] != '\''))
            return false;
        const char quote = m_p[m_pos++];
        a.begin = m_pos;
        a.references = false;
        while (m_pos < m_size && m_p[m_pos] != quote) {
            const unsigned char b = static_cast<unsigned char>(m_p[m_pos]);
            if (b == '<' || b < 0x20)
                return false; // a line end or tab would be normalised; left to the full parser
            if (b == '&') {
                a.references = true;
                if (!checkReference(m_pos))
                    return false;
            } else if (b >= 0x80) {
                if (!checkUtf8(m_pos))
                    return false;
            } else {
                ++m_pos;
            }
        }
        if (m_pos >= m_size)
            return false;
        a.end = m_pos++;
        if (isRepeatedAttribute(a.name))
            return false;
        m_attributes.append(a);
    }
    if (m_p[m_pos] == '/') {
        if (m_pos + 1 >= m_size || m_p[m_pos + 1] != '>')
            return false;
        m_pos += 2;
        m_pendingEnd = true;
    } else {
        ++m_pos;
    }
    m_name = name;
    m_open.append(name);
    m_rootSeen = true;
    m_type = StartElement;
    return true;
}

bool XmlScanner::isRepeatedAttribute(QLatin1String name)
{
    if (m_attributes.size() < kDirectAttributeCheck) {
        for (const Attribute &other : std::as_const(m_attributes)) {
            if (other.name == name)
                return true;
        }
        return false;
    }
    if (m_attributeNames.isEmpty()) {
        for (const Attribute &other : std::as_const(m_attributes))
            m_attributeNames.insert(other.name);
    }
    if (m_attributeNames.contains(name))
        return true;
    m_attributeNames.insert(name);
    return false;
}

bool XmlScanner::readEndTag()
{
    m_pos += 2;
    QLatin1String name;
    if (!readName(&name))
        return false;
    skipSpace();
    if (m_pos >= m_size || m_p[m_pos] != '>')
        return false;
    ++m_pos;
    if (m_open.isEmpty() || m_open.last() != name)
        return false;
    m_open.removeLast();
    m_name = name;
    m_type = EndElement;
    return true;
}

bool XmlScanner::readComment()
{
    m_pos += 4;
    const qsizetype begin = m_pos;
    bool lineEnds = false;
    while (m_pos < m_size) {
        const unsigned char b = static_cast<unsigned char>(m_p[m_pos]);
        if (b == '-' && m_pos + 1 < m_size && m_p[m_pos + 1] == '-') {
            // "--" may only close the comment, and not right after a '-'.
            if (m_pos + 2 >= m_size || m_p[m_pos + 2] != '>' || (m_pos > begin && m_p[m_pos - 1] == '-'))
                return false;
            m_textBegin = begin;
            m_textEnd = m_pos;
            m_textReferences = false;
            m_textLineEnds = lineEnds;
            m_pos += 3;
            m_type = Comment;
            return true;
        }
        if (b < 0x20 && !isSpace(char(b)))
            return false;
        lineEnds = lineEnds || b == '\r';
        if (b >= 0x80) {
            if (!checkUtf8(m_pos))
                return false;
        } else {
            ++m_pos;
        }
    }
    return false;
}

bool XmlScanner::readCharacters()
{
    const qsizetype begin = m_pos;
    bool whitespace = true;
    bool references = false;
    bool lineEnds = false;
    while (m_pos < m_size) {
        const unsigned char b = static_cast<unsigned char>(m_p[m_pos]);
        if (b == '<')
            break;
        if (b == '&') {
            whitespace = false;
            references = true;
            if (!checkReference(m_pos))
                return false;
            continue;
        }
        if (b >= 0x80) {
            whitespace = false;
            if (!checkUtf8(m_pos))
                return false;
            continue;
        }
        if (!isSpace(char(b))) {
            if (b < 0x20)
                return false;
            whitespace = false;
            if (b == '>' && m_pos >= begin + 2 && m_p[m_pos - 1] == ']' && m_p[m_pos - 2] == ']')
                return false;
        } else if (b == '\r') {
            lineEnds = true;
        }
        ++m_pos;
    }
    // Outside the root element only white space may stand.
    if (m_open.isEmpty() && !whitespace)
        return false;
    m_textBegin = begin;
    m_textEnd = m_pos;
    m_textReferences = references;
    m_textLineEnds = lineEnds;
    m_whitespace = whitespace;
    m_type = Characters;
    return true;
}

XmlScanner::TokenType XmlScanner::readNext()
{
    if (m_type == Invalid || m_type == EndDocument)
        return m_type;
    if (m_pendingEnd) {
        m_pendingEnd = false;
        m_open.removeLast();
        m_type = EndElement;
        return m_type;
    }
    for (;;) {
        if (m_pos >= m_size) {
            if (!m_rootSeen || !m_open.isEmpty())
                return fail();
            m_type = EndDocument;
            return m_type;
        }
        const char c = m_p[m_pos];
        if (c != '<') {
            if (!readCharacters())
                return fail();
            // White space outside the root element is no token.
            if (m_open.isEmpty())
                continue;
            return m_type;
        }
        bool ok;
        if (atText("</")) {
            ok = readEndTag();
        } else if (atText("<!--")) {
            ok = readComment();
        } else if (atText("<?xml") && m_pos == (m_data.startsWith("\xef\xbb\xbf") ? 3 : 0) && m_pos + 5 < m_size
            && isSpace(m_p[m_pos + 5])) {
            ok = readDeclaration();
            if (ok)
                continue;
        } else if (atText("<!") || atText("<?")) {
            ok = false; // document types, CDATA, processing instructions
        } else {
            // One root element only.
            ok = !(m_rootSeen && m_open.isEmpty()) && readStartTag();
        }
        if (!ok)
            return fail();
        return m_type;
    }
}

QString XmlScanner::decoded(qsizetype begin, qsizetype end, bool references, bool lineEnds) const
{
    if (!references && !lineEnds)
        return utf8Text(m_p + begin, end - begin);
    QString out;
    out.reserve(end - begin);
    qsizetype run = begin;
    auto flush = [&](qsizetype upTo) {
        if (upTo > run)
            out += utf8Text(m_p + run, upTo - run);
    };
    for (qsizetype i = begin; i < end;) {
        const char c = m_p[i];
        if (c == '\r' && lineEnds) {
            // Line ends read as one line feed.
            flush(i);
            out += QLatin1Char('\n');
            i += (i + 1 < end && m_p[i + 1] == '\n') ? 2 : 1;
            run = i;
        } else if (c == '&' && references) {
            flush(i);
            const qsizetype semicolon = QByteArrayView(m_p + i, end - i).indexOf(';') + i;
            const QByteArray ref(m_p + i + 1, semicolon - i - 1);
            if (ref == "lt")
                out += QLatin1Char('<');
            else if (ref == "gt")
                out += QLatin1Char('>');
            else if (ref == "amp")
                out += QLatin1Char('&');
            else if (ref == "quot")
                out += QLatin1Char('"');
            else if (ref == "apos")
                out += QLatin1Char('\'');
            else {
                const bool hex = ref.size() > 1 && ref[1] == 'x';
                const char32_t cp = char32_t(ref.mid(hex ? 2 : 1).toUInt(nullptr, hex ? 16 : 10));
                out += QString::fromUcs4(&cp, 1);
            }
            i = semicolon + 1;
            run = i;
        } else {
            ++i;
        }
    }
    flush(end);
    return out;
}

QString XmlScanner::text() const
{
    if (m_type != Characters && m_type != Comment)
        return QString();
    return decoded(m_textBegin, m_textEnd, m_textReferences, m_textLineEnds);
}

bool XmlScanner::attribute(QLatin1String name, QString *value) const
{
    for (const Attribute &a : m_attributes) {
        if (a.name == name) {
            *value = decoded(a.begin, a.end, a.references, false);
            return true;
        }
    }
    return false;
}

bool XmlScanner::readNextStartElement()
{
    while (readNext() != Invalid && m_type != EndDocument) {
        if (m_type == StartElement)
            return true;
        if (m_type == EndElement)
            return false;
    }
    return false;
}

void XmlScanner::skipCurrentElement()
{
    int depth = 1;
    while (depth > 0 && readNext() != Invalid && m_type != EndDocument) {
        if (m_type == StartElement)
            ++depth;
        else if (m_type == EndElement)
            --depth;
    }
}

QString XmlScanner::readElementText()
{
    QString out;
    int depth = 1;
    while (readNext() != Invalid && m_type != EndDocument) {
        if (m_type == Characters) {
            out += text();
        } else if (m_type == StartElement) {
            ++depth;
        } else if (m_type == EndElement && --depth == 0) {
            break;
        }
    }
    return out;
}
