#pragma once

#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringView>

class ExportStream;
namespace TextCodec {
class Encoder;
}

// Writes the AddressBook family of XML files, line by line, into an ExportStream:
// a declaration naming the encoding of the bytes, four spaces of indentation per
// level, text-only elements on one line and never self-closing, attributes as
// name="value", and escaping that leaves out what XML 1.0 cannot carry and
// writes what the encoding cannot hold as character references.
class XmlWriter
{
public:
    explicit XmlWriter(ExportStream &stream);

    void writeDeclaration();

    // An element with element children; close it with endElement().
    void startElement(QLatin1String name);
    void startElement(QLatin1String name, QLatin1String attribute, QStringView value);
    void endElement();

    // One line: start tag, text, end tag.
    void textElement(QLatin1String name, QStringView text);
    void textElement(QLatin1String name, int value);
    void textElement(QLatin1String name, QStringView text, QLatin1String attribute, QStringView value);

    // Appends `text` escaped as element text or attribute value for `encoder`.
    static void appendEscaped(QString &out, QStringView text, bool attribute, TextCodec::Encoder &encoder);

private:
    void indent();
    void indent(qsizetype depth);
    void appendAttribute(QLatin1String attribute, QStringView value);

    ExportStream &m_stream;
    QList<QLatin1String> m_open;
};
