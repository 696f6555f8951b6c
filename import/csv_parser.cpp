#include "import/csv_parser.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

constexpr qsizetype kBlock = 1 << 16;

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

void csv_parser::openBytes(const QByteArray &bytes)
{
    closeFile();
    m_fileName.clear();
    start(bytes);
}

bool csv_parser::start(const QByteArray &input)
{
    m_buffer = input;
    m_pos = 0;
    m_eof = false;
    m_more = true;
    m_line = 0;
    m_unclosedQuoteLine = 0;
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

int csv_parser::readCountingChar()
{
    const int c = readChar();
    if (c == '\n')
        ++m_line;
    return c;
}

qsizetype csv_parser::plainRun(bool quoted) const
{
    // Bytes that need no look at the state: within a quoted field all but the
    // quote, elsewhere all but the separator; line ends are counted one by one.
    const char *p = m_buffer.constData() + m_pos;
    const char *end = m_buffer.constData() + m_buffer.size();
    const char *q = p;
    if (quoted) {
        while (q < end && *q != '"' && *q != '\n' && *q != '\r')
            ++q;
    } else {
        while (q < end && *q != m_fieldTerminator && *q != '\n' && *q != '\r' && *q != '"')
            ++q;
    }
    return q - p;
}

QList<QByteArray> csv_parser::readQuotedRecord()
{
    enum State { FieldStart, Unquoted, Quoted, AfterQuote };
    QList<QByteArray> fields;
    fields.reserve(m_lastFieldCount);
    QByteArray field;
    State state = FieldStart;
    int quoteLine = 0;
    bool any = false;
    m_unclosedQuoteLine = 0;
    const int separator = static_cast<unsigned char>(m_fieldTerminator);
    for (;;) {
        const int c = readCountingChar();
        if (c == EOF) {
            m_more = false;
            if (state == Quoted) {
                // Handed back as read, opening quote included; the caller decides.
                m_unclosedQuoteLine = quoteLine;
                field.prepend('"');
            }
            if (any)
                fields.append(field);
            break;
        }
        any = true;
        if (state == Quoted) {
            if (c != '"') {
                field.append(char(c));
                if (const qsizetype run = plainRun(true)) {
                    field.append(m_buffer.constData() + m_pos, run);
                    m_pos += run;
                }
            } else if (peekChar() == '"') {
                readChar();
                field.append('"');
            } else {
                state = AfterQuote;
            }
            continue;
        }
        if (c == separator || c == '\n') {
            fields.append(std::exchange(field, QByteArray()));
            state = FieldStart;
            if (c == '\n') {
                // A line end closes the record and, as the separator it is, one more empty field.
                fields.append(QByteArray());
                if (peekChar() == EOF)
                    m_more = false;
                break;
            }
            continue;
        }
        if (state == FieldStart) {
            if (c == '"') {
                // Blanks before the opening quote do not count.
                field.clear();
                state = Quoted;
                quoteLine = m_line + 1;
                continue;
            }
            if (c != ' ' && c != '\t')
                state = Unquoted;
        }
        field.append(char(c));
        if (state == Unquoted) {
            if (const qsizetype run = plainRun(false)) {
                field.append(m_buffer.constData() + m_pos, run);
                m_pos += run;
            }
        }
    }
    m_lastFieldCount = fields.size();
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
