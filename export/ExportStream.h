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
