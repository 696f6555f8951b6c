#pragma once

#include "data/Result.h"
#include "data/TextCodec.h"

#include <QString>

class QIODevice;

// The text a writer makes, encoded and written to the device as it grows, so no
// whole file is ever held in memory.
class ExportStream
{
public:
    ExportStream(QIODevice &out, const QString &encoding);

    TextCodec::Encoder &encoder() { return m_encoder; }

    // Pending text: append to it freely and call endLine() at every line end.
    QString &text() { return m_text; }
    // Room for `count` more characters at the end of the pending text, to be filled
    // by the caller: one resize instead of an append per piece of a line.
    char16_t *extend(qsizetype count)
    {
        const qsizetype at = m_text.size();
        m_text.resize(at + count);
        return reinterpret_cast<char16_t *>(m_text.data()) + at;
    }
    void endLine();

    // Writes the rest; the device's reason when it did not take every byte.
    Result finish();

private:
    void writePending();

    QIODevice &m_out;
    TextCodec::Encoder m_encoder;
    QString m_text;
    bool m_failed = false;
    QString m_error;
};
