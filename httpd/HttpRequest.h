#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What a phone asks for: the file name from the request line and the product token
// that selects the layout. Built line by line, in the order the lines arrived.
class HttpRequest
{
public:
    // Largest request header accepted; a longer one drops the connection.
    static constexpr int kMaxHeaderBytes = 16 * 1024;

    QString fileName;
    QString product;
    // For the access log: the first line as it came, and the values of the
    // User-Agent and Referer headers.
    QString requestLine;
    QString userAgent;
    QString referer;

    // Applies one header line (with or without its line break).
    void applyLine(QString line);

    // Parses the header bytes: every complete line in order, and the unterminated
    // last line too when `withPartialLine` is set (the peer closed after it).
    static HttpRequest parse(const QByteArray &header, bool withPartialLine);

    // Offset just past the blank line that ends the header, or -1 while it is
    // incomplete. Blank lines before the request line are not an end.
    static int headerEnd(const QByteArray &data);

    // The serving folder under the program folder and the export format of a product.
    static QString modelFolder(const QString &product);
    static int modelFormat(const QString &product);
    // The model whose folder serves a product: the product itself, or "UNIXML".
    static QString modelName(const QString &product);

    // Whether a file name may name a file of a model folder at all: not empty, and
    // without "/", "\\", ".." or control characters.
    static bool isServableName(const QString &name);

    // The file name as a path inside `folder`, or an empty text when the name must
    // not be served: empty, holding "/", "\\", ".." or control characters, or naming
    // an existing entry that is not a file inside the folder once links are resolved.
    // A name that passes but does not exist yields its path; the caller decides.
    static QString resolveFile(const QString &folder, const QString &name);
};
