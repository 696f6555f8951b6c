#include "data/VCardLines.h"

#include <cstring>

#include <QList>

namespace VCardLines {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

QByteArrayView trimmed(QByteArrayView v)
{
    while (!v.isEmpty() && isBlank(v.front()))
        v = v.sliced(1);
    while (!v.isEmpty() && isBlank(v.back()))
        v.chop(1);
    return v;
}

// The parameters of a line's name and parameters, split at the semicolons outside
// double quotes and trimmed; the name comes first.
QList<QByteArrayView> pieces(QByteArrayView head)
{
    QList<QByteArrayView> list;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= head.size(); ++i) {
        if (i < head.size() && (quoted || head[i] != ';')) {
            if (head[i] == '"')
                quoted = !quoted;
            continue;
        }
        list.append(trimmed(head.sliced(start, i - start)));
        start = i + 1;
    }
    return list;
}

// The value of a "NAME=value" parameter, without blanks and quotes; null when the
// piece is no parameter of that name.
QByteArrayView parameter(QByteArrayView piece, QByteArrayView name)
{
    const qsizetype eq = piece.indexOf('=');
    if (eq < 0 || trimmed(piece.first(eq)).compare(name, Qt::CaseInsensitive) != 0)
        return QByteArrayView();
    QByteArrayView value = trimmed(piece.sliced(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = trimmed(value.sliced(1, value.size() - 2));
    return value.isNull() ? QByteArrayView("") : value;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

bool isVCard(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    while (!bytes.isEmpty() && isBlank(bytes.front()))
        bytes = bytes.sliced(1);
    const QByteArrayView begin("BEGIN:VCARD");
    return bytes.size() >= begin.size() && bytes.first(begin.size()).compare(begin, Qt::CaseInsensitive) == 0;
}

QByteArrayView nextLine(const QByteArray &lines, qsizetype &pos)
{
    qsizetype end = lines.indexOf('\n', pos);
    if (end < 0)
        end = lines.size();
    const QByteArrayView line(lines.constData() + pos, end - pos);
    pos = end + 1;
    return line;
}

namespace {

// Whether no line is folded, ends in CR or in "=": then the logical lines are the
// bytes as they stand, and most files, ours among them, are such.
bool hasPlainLines(const QByteArray &bytes)
{
    const char *const begin = bytes.constData();
    const char *const end = begin + bytes.size();
    if (bytes.isEmpty() || std::memchr(begin, '\r', size_t(bytes.size())))
        return false;
    for (const char *at = begin; at < end;) {
        const auto *lineEnd = static_cast<const char *>(std::memchr(at, '\n', size_t(end - at)));
        if (!lineEnd)
            return end[-1] != '=';
        if ((lineEnd > begin && lineEnd[-1] == '=') || (lineEnd + 1 < end && (lineEnd[1] == ' ' || lineEnd[1] == '\t')))
            return false;
        at = lineEnd + 1;
    }
    return true;
}

} // namespace

QByteArray logicalLines(const QByteArray &bytes)
{
    if (hasPlainLines(bytes))
        return bytes.endsWith('\n') ? bytes : bytes + '\n';
    QByteArray out;
    out.reserve(bytes.size() + 1);
    qsizetype pos = 0;
    auto next = [&bytes, &pos] {
        QByteArrayView line = nextLine(bytes, pos);
        while (line.endsWith('\r'))
            line.chop(1);
        return line;
    };
    while (pos < bytes.size()) {
        const qsizetype start = out.size();
        out += next();
        int joined = 0;
        for (; pos < bytes.size() && (bytes[pos] == ' ' || bytes[pos] == '\t'); ++joined)
            out += next().sliced(1);
        if (out.endsWith('=')) {
            const QByteArrayView line = QByteArrayView(out).sliced(start);
            const qsizetype colon = valueColon(line);
            if (colon >= 0 && isQuotedPrintable(line.first(colon))) {
                for (; out.endsWith('=') && pos < bytes.size(); ++joined) {
                    out.chop(1);
                    out += next();
                }
            }
        }
        out.append(joined + 1, '\n');
    }
    return out;
}

qsizetype valueColon(QByteArrayView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return -1;
}

QByteArrayView charset(QByteArrayView head)
{
    QByteArrayView found;
    for (const QByteArrayView piece : pieces(head)) {
        const QByteArrayView value = parameter(piece, "CHARSET");
        if (!value.isNull())
            found = value;
    }
    return found;
}

bool isQuotedPrintable(QByteArrayView head)
{
    bool quotedPrintable = false;
    for (const QByteArrayView piece : pieces(head)) {
        // vCard 2.1 writes the bare word.
        if (piece.compare("QUOTED-PRINTABLE", Qt::CaseInsensitive) == 0)
            quotedPrintable = true;
        else if (const QByteArrayView value = parameter(piece, "ENCODING"); !value.isNull())
            quotedPrintable = value.compare("QUOTED-PRINTABLE", Qt::CaseInsensitive) == 0;
    }
    return quotedPrintable;
}

QByteArray fromQuotedPrintable(QByteArrayView in)
{
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] != '=') {
            out.append(in[i]);
            continue;
        }
        const int high = i + 2 < in.size() ? hexDigit(in[i + 1]) : -1;
        const int low = i + 2 < in.size() ? hexDigit(in[i + 2]) : -1;
        if (high >= 0 && low >= 0) {
            out.append(char(high * 16 + low));
            i += 2;
        }
    }
    return out;
}

} // namespace VCardLines
