#include "export/ExportStream.h"

#include <QIODevice>

namespace {

// Enough text to make encoder calls cheap, small enough to stay in cache.
constexpr qsizetype kChunk = 64 * 1024;

} // namespace

ExportStream::ExportStream(QIODevice &out, const QString &encoding)
    : m_out(out)
    , m_encoder(encoding)
{
    m_text.reserve(kChunk + 4096);
}

void ExportStream::endLine()
{
    m_text += QLatin1Char('\n');
    if (m_text.size() >= kChunk)
        writePending();
}

// Pieces end at line ends, so shift states and surrogate pairs are never cut.
void ExportStream::writePending()
{
    // After a failure the rest is not written, nor kept.
    if (!m_text.isEmpty() && !m_failed) {
        const QByteArray bytes = m_encoder.encode(m_text);
        if (m_out.write(bytes) != bytes.size()) {
            m_failed = true;
            m_error = m_out.errorString();
        }
    }
    m_text.resize(0);
}

Result ExportStream::finish()
{
    writePending();
    return m_failed ? Result::failure(m_error) : Result();
}
