#include "csv_parser.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr qsizetype kBlock = 1 << 16;

// A field enclosed in double quotes loses them; doubled quotes inside become one.
QByteArray unquote(QByteArray field)
{
    if (field.size() >= 2 && field.startsWith('"') && field.endsWith('"'))
        field = field.mid(1, field.size() - 2);
    if (field.contains("\"\""))
        field.replace("\"\"", "\"");
    return field;
}

} // namespace

csv_parser::csv_parser() = default;

csv_parser::~csv_parser()
{
    if (m_file)
        std::fclose(m_file);
}

void csv_parser::setEnclosure(char c, int mode)
{
    if (c == 0)
        return;
    m_enclosure = c;
    m_mode = mode;
}

void csv_parser::setFieldTerminator(char c)
{
    if (c == 0)
        return;
    m_fieldTerminator = c;
}

void csv_parser::setLineTerminator(char c)
{
    if (c == 0)
        return;
    m_lineTerminator = c;
}

bool csv_parser::openFile(const QByteArray &path)
{
    if (path.isEmpty()) {
        std::fprintf(stderr, "Fatal error : invalid input file %s\n", path.constData());
        return false;
    }
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_fileName = path;
    m_file = std::fopen(path.constData(), "rb");
    if (!m_file) {
        std::fprintf(stderr, "Fatal error : unable to open input file %s\n", path.constData());
        m_fileName.clear();
        return false;
    }
    return start();
}

bool csv_parser::openStream(FILE *handle)
{
    if (!handle) {
        std::fprintf(stderr, "Fatal error : unable to open input file from file pointer\n");
        return false;
    }
    if (m_file && m_file != handle)
        std::fclose(m_file);
    m_file = handle;
    std::rewind(m_file);
    return start();
}

bool csv_parser::start()
{
    m_buffer.clear();
    m_pos = 0;
    m_eof = false;
    m_more = true;
    for (int i = 0; i < std::abs(m_skipLines) && m_more; ++i)
        readRecord();
    m_recordCount = 0;
    return true;
}

int csv_parser::peekChar()
{
    if (m_pos >= m_buffer.size()) {
        if (m_eof || !m_file)
            return EOF;
        m_buffer.resize(kBlock);
        const size_t n = std::fread(m_buffer.data(), 1, kBlock, m_file);
        m_buffer.resize(qsizetype(n));
        m_pos = 0;
        if (n == 0) {
            // A read error ends the input as the end of the file does.
            m_eof = true;
            return EOF;
        }
    }
    return static_cast<unsigned char>(m_buffer.at(m_pos));
}

int csv_parser::readChar()
{
    int c = peekChar();
    if (c == EOF)
        return EOF;
    ++m_pos;
    // Text mode: a carriage return that ends a line is not part of it.
    if (c == '\r' && peekChar() == '\n') {
        ++m_pos;
        c = '\n';
    }
    return c;
}

bool csv_parser::readLine(QByteArray &line)
{
    const qsizetype before = line.size();
    for (;;) {
        const int c = readChar();
        if (c == EOF) {
            m_more = false;
            break;
        }
        line.append(char(c));
        if (c == static_cast<unsigned char>(m_lineTerminator)) {
            if (peekChar() == EOF)
                m_more = false;
            break;
        }
    }
    return line.size() > before;
}

QList<QByteArray> csv_parser::splitPlain(const QByteArray &line) const
{
    QList<QByteArray> fields;
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (c == m_fieldTerminator || c == m_lineTerminator) {
            fields.append(line.mid(start, i - start));
            start = i + 1;
        }
    }
    return fields;
}

QList<QByteArray> csv_parser::splitEnclosed(const QByteArray &line) const
{
    QList<QByteArray> fields;
    qsizetype open = -1;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) != m_enclosure || (i > 0 && line.at(i - 1) == m_escape))
            continue;
        if (open < 0) {
            open = i;
        } else {
            fields.append(line.mid(open + 1, i - open - 1));
            open = -1;
        }
    }
    if (open >= 0)
        fields.append(line.mid(open + 1));
    else if (fields.isEmpty())
        fields.append(line);
    return fields;
}

QList<QByteArray> csv_parser::readQuotedRecord()
{
    QByteArray record;
    bool inQuotes = false;
    int run = 0;
    qsizetype scanned = 0;
    // Read lines until the record's quotes balance: a line feed inside quotes
    // belongs to the field.
    while (readLine(record)) {
        for (; scanned < record.size(); ++scanned) {
            const char c = record.at(scanned);
            if (c == '"') {
                ++run;
                continue;
            }
            if (run % 2)
                inQuotes = !inQuotes;
            run = 0;
        }
        if (!inQuotes || !m_more)
            break;
    }
    if (record.isEmpty())
        return {};

    QList<QByteArray> fields;
    inQuotes = false;
    run = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < record.size(); ++i) {
        const char c = record.at(i);
        if (c == '"') {
            ++run;
            continue;
        }
        if (run % 2)
            inQuotes = !inQuotes;
        run = 0;
        if ((c == ',' || c == '\n') && !inQuotes) {
            fields.append(unquote(record.mid(start, i - start)));
            start = i + 1;
        }
    }
    fields.append(unquote(record.mid(start)));
    return fields;
}

QList<QByteArray> csv_parser::readRecord()
{
    QList<QByteArray> fields;
    if (m_mode == 3) {
        fields = readQuotedRecord();
    } else {
        QByteArray line;
        if (readLine(line))
            fields = m_mode == 2 ? splitEnclosed(line) : splitPlain(line);
    }
    ++m_recordCount;
    return fields;
}

void csv_parser::closeFile()
{
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    m_buffer.clear();
    m_pos = 0;
    m_more = false;
}
