#include "httpd/HttpRequest.h"

#include <QFileInfo>

namespace {

// The text strictly between positions `from` and `to`; -1 for `to` means the end of
// the line, -1 for `from` the start of it.
QString between(const QString &line, qsizetype from, qsizetype to)
{
    const qsizetype start = from + 1;
    const qsizetype end = to < 0 ? line.size() : to;
    return end > start ? line.mid(start, end - start) : QString();
}

void chopLineBreak(QString &line)
{
    while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
        line.chop(1);
}

// The value of a header line whose name is `nameLength` characters long with its
// colon, taken out of the line without copying it.
QString headerValue(QString &&line, qsizetype nameLength)
{
    line.remove(0, nameLength);
    return std::move(line).trimmed();
}

} // namespace

void HttpRequest::applyLine(QString line)
{
    chopLineBreak(line);
    if (requestLine.isNull() && !line.isEmpty())
        requestLine = line;
    if (line.startsWith(QLatin1String("GET"))) {
        const qsizetype slash = line.indexOf(QLatin1Char('/'), 3);
        if (line.contains(QLatin1String("?pro="))) {
            const qsizetype question = slash < 0 ? -1 : line.indexOf(QLatin1Char('?'), slash + 1);
            // Phones send "GET /phonebook.xml?pro=X": its "=" is at 22, so the token
            // is looked for from 20 on. Shorter names leave the "=" unfound and the
            // token becomes the text before the first blank; phones rely on neither.
            const qsizetype equals = line.indexOf(QLatin1Char('='), 20);
            const qsizetype blank = line.indexOf(QLatin1Char(' '), equals + 1);
            fileName = slash < 0 ? QString() : between(line, slash, question);
            product = between(line, equals, blank);
        } else {
            const qsizetype blank = slash < 0 ? -1 : line.indexOf(QLatin1Char(' '), slash + 1);
            fileName = slash < 0 ? QString() : between(line, slash, blank);
            product = QStringLiteral("UNIXML");
        }
    } else if (line.startsWith(QLatin1String("User-Agent:"))) {
        for (const char *model : { "Cedar", "Birch", "Alder", "Brenn" }) {
            if (line.contains(QLatin1String(model))) {
                product = QLatin1String(model);
                break;
            }
        }
        userAgent = headerValue(std::move(line), 11);
    } else if (line.startsWith(QLatin1String("Referer:"))) {
        referer = headerValue(std::move(line), 8);
    }
}

HttpRequest HttpRequest::parse(const QByteArray &header, bool withPartialLine)
{
    HttpRequest request;
    qsizetype pos = 0;
    for (qsizetype nl = header.indexOf('\n'); nl >= 0; nl = header.indexOf('\n', pos)) {
        request.applyLine(QString::fromUtf8(header.constData() + pos, nl - pos));
        pos = nl + 1;
    }
    if (withPartialLine && pos < header.size())
        request.applyLine(QString::fromUtf8(header.constData() + pos, header.size() - pos));
    return request;
}

int HttpRequest::headerEnd(const QByteArray &data)
{
    bool seenLine = false;
    qsizetype pos = 0;
    for (qsizetype nl = data.indexOf('\n'); nl >= 0; nl = data.indexOf('\n', pos)) {
        const qsizetype length = nl - pos;
        const bool blank = length == 0 || (length == 1 && data.at(pos) == '\r');
        if (blank && seenLine)
            return int(nl + 1);
        seenLine = seenLine || !blank;
        pos = nl + 1;
    }
    return -1;
}

QString HttpRequest::modelFolder(const QString &product)
{
    for (const char *model : { "Alder", "Birch", "Cedar", "Brenn" }) {
        if (product == QLatin1String(model))
            return QStringLiteral("HTTPD/") + product;
    }
    return QStringLiteral("HTTPD/UNIXML");
}

int HttpRequest::modelFormat(const QString &product)
{
    static const char *const models[] = { "Alder", "Birch", "Cedar", "Brenn" };
    for (int i = 0; i < 4; ++i) {
        if (product == QLatin1String(models[i]))
            return 2 + i;
    }
    return 1;
}

QString HttpRequest::modelName(const QString &product)
{
    for (const char *model : { "Alder", "Birch", "Cedar", "Brenn" }) {
        if (product == QLatin1String(model))
            return product;
    }
    return QStringLiteral("UNIXML");
}

bool HttpRequest::isServableName(const QString &name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name.contains(QLatin1String("..")))
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

QString HttpRequest::resolveFile(const QString &folder, const QString &name)
{
    if (!isServableName(name))
        return QString();
    QString dir = folder;
    while (dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    const QString path = dir + QLatin1Char('/') + name;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return path;
    if (!info.isFile())
        return QString();
    // A name without "/" that is no link names an entry of the folder itself.
    if (!info.isSymLink())
        return path;
    const QString inside = QFileInfo(dir).canonicalFilePath() + QLatin1Char('/');
    if (inside.size() < 2 || !info.canonicalFilePath().startsWith(inside))
        return QString();
    return path;
}
