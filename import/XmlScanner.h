#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

// A quick reader for the plain XML that phonebook files are made of: elements with
// ASCII names, attributes, text, character references and the five predefined
// entities, comments, and a leading XML declaration naming UTF-8. It reads UTF-8
// bytes and checks that they are well-formed as it goes.
//
// Anything else (a document type, CDATA, processing instructions, prefixed or
// non-ASCII names, other entities, text that is not valid UTF-8) and anything
// malformed makes it give up: hasError() turns true and the caller hands the
// document to a full XML parser, which then decides. So the scanner never accepts
// a document that a full parser rejects, and never has to word an error.
//
// The reading operations follow QXmlStreamReader's, so that one reading routine
// serves both.
class XmlScanner
{
public:
    enum TokenType { NoToken, StartElement, EndElement, Characters, Comment, EndDocument, Invalid };

    explicit XmlScanner(const QByteArray &utf8);

    TokenType readNext();
    bool atEnd() const { return m_type == EndDocument || m_type == Invalid; }
    // The document is outside what the scanner reads (or malformed).
    bool hasError() const { return m_type == Invalid; }

    bool isStartElement() const { return m_type == StartElement; }
    bool isEndElement() const { return m_type == EndElement; }
    bool isCharacters() const { return m_type == Characters; }
    bool isComment() const { return m_type == Comment; }
    bool isWhitespace() const { return m_type == Characters && m_whitespace; }
    bool isCDATA() const { return false; }
    bool isProcessingInstruction() const { return false; }
    bool isEntityReference() const { return false; }

    // The element name of a start or end tag.
    QLatin1String qualifiedName() const { return m_name; }
    // The value of the current start tag's attribute of that name.
    bool attribute(QLatin1String name, QString *value) const;
    // The text of the current characters token.
    QString text() const;

    // As in QXmlStreamReader: to the next child start tag (true) or the end of the
    // current element (false).
    bool readNextStartElement();
    void skipCurrentElement();
    // The text of the current element and all its descendants; ends on its end tag.
    QString readElementText();

private:
    struct Attribute {
        QLatin1String name;
        qsizetype begin;
        qsizetype end;
        bool references;
    };

    TokenType fail();
    bool atText(const char *literal) const;
    bool readName(QLatin1String *name);
    void skipSpace();
    bool readDeclaration();
    bool readStartTag();
    // Whether the current start tag already has an attribute of that name.
    bool isRepeatedAttribute(QLatin1String name);
    bool readEndTag();
    bool readComment();
    bool readCharacters();
    // Checks one reference at m_pos ('&'); false when it is not one we read.
    bool checkReference(qsizetype &pos) const;
    // Checks a UTF-8 sequence starting at `pos`, moving past it.
    bool checkUtf8(qsizetype &pos) const;
    // The text of bytes [begin, end): references resolved when `references`, line
    // ends read as line feeds when `lineEnds`.
    QString decoded(qsizetype begin, qsizetype end, bool references, bool lineEnds) const;

    const QByteArray m_data;
    const char *m_p;
    qsizetype m_size;
    qsizetype m_pos = 0;
    TokenType m_type = NoToken;
    QLatin1String m_name;
    QList<QLatin1String> m_open;
    QList<Attribute> m_attributes;
    // The names of a start tag with many attributes.
    QSet<QLatin1String> m_attributeNames;
    qsizetype m_textBegin = 0;
    qsizetype m_textEnd = 0;
    bool m_textReferences = false;
    bool m_textLineEnds = false;
    bool m_whitespace = false;
    bool m_pendingEnd = false;
    bool m_rootSeen = false;
};
