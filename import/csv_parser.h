#pragma once

#include <QByteArray>
#include <QList>

#include <cstdio>

// A small tokenizer for delimited text, read from memory or through standard file
// input. Line ends
// are read in text mode (a carriage return before a line feed is dropped). Records
// come back as lists of byte strings; the caller decides their encoding.
//
// Modes: 1 splits a line at the field terminator; 2 returns the texts enclosed in
// pairs of the enclosure character; 3 is CSV with double quotes and the field
// terminator (a comma unless set): a field that starts with a double quote runs
// to its closing quote, over field terminators and line feeds, with doubled
// quotes standing for one; a double quote inside an unquoted field is plain text.
// Lines of any length are read whole.
class csv_parser
{
public:
    csv_parser();
    ~csv_parser();
    csv_parser(const csv_parser &) = delete;
    csv_parser &operator=(const csv_parser &) = delete;

    void setEnclosure(char c, int mode);
    void setFieldTerminator(char c);
    void setLineTerminator(char c);
    // Records to read and discard when a file is opened (the absolute value counts).
    void setSkipLines(int lines) { m_skipLines = lines; }

    // Opens a file by its local 8-bit path; prints a "Fatal error" line to standard
    // error and returns false when that fails.
    bool openFile(const QByteArray &path);
    // Takes over an open stream (rewound first); it is closed by closeFile().
    bool openStream(FILE *handle);
    // Reads `bytes` (shared, not copied) until closeFile().
    void openBytes(const QByteArray &bytes);
    // The next record; empty at the end of the input.
    QList<QByteArray> readRecord();
    void closeFile();

    // True while more input may follow.
    bool more() const { return m_more; }
    int recordCount() const { return m_recordCount; }
    // Mode 3: the line (from 1) where a quoted field of the last record started
    // that the input ended before closing; 0 when every quote was closed.
    int unclosedQuoteLine() const { return m_unclosedQuoteLine; }
    int mode() const { return m_mode; }

private:
    bool start(const QByteArray &input = QByteArray());
    int readChar();
    int peekChar();
    // Appends one line including its terminator; false when nothing was read.
    bool readLine(QByteArray &line);
    QList<QByteArray> splitPlain(const QByteArray &line) const;
    QList<QByteArray> splitEnclosed(const QByteArray &line) const;
    QList<QByteArray> readQuotedRecord();
    // Length of the bytes from the read position on, within the buffer, that mode
    // 3 takes as they are inside (`quoted`) or outside a quoted field.
    qsizetype plainRun(bool quoted) const;
    // readChar() that counts line feeds.
    int readCountingChar();

    char m_enclosure = 0;
    char m_escape = '\\';
    char m_fieldTerminator = ',';
    char m_lineTerminator = '\n';
    int m_skipLines = 0;
    int m_recordCount = 0;
    FILE *m_file = nullptr;
    QByteArray m_fileName;
    int m_mode = 1;
    bool m_more = false;
    int m_line = 0;
    int m_unclosedQuoteLine = 0;
    // Fields of the last record: room for as many in the next.
    qsizetype m_lastFieldCount = 0;

    // Our own read-ahead over the stream, or the whole input read from memory.
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_eof = false;
};
