#include "ExportFile.h"

namespace {

// Enough text to make encoder calls cheap, small enough to stay in cache.
constexpr qsizetype kChunk = 64 * 1024;

} // namespace

ExportFile::ExportFile(const QString &path, const QString &encoding)
    : m_file(path)
    , m_encoder(encoding)
{
}

bool ExportFile::open()
{
    m_text.reserve(kChunk + 4096);
    return m_file.open(QIODevice::WriteOnly);
}

void ExportFile::endLine()
{
    m_text += QLatin1Char('\n');
    if (m_text.size() >= kChunk)
        writePending();
}

// Pieces end at line ends, so shift states and surrogate pairs are never cut.
void ExportFile::writePending()
{
    if (m_text.isEmpty() || !m_ok)
        return;
    const QByteArray bytes = m_encoder.encode(m_text);
    if (m_file.write(bytes) != bytes.size())
        m_ok = false;
    m_text.resize(0);
}

bool ExportFile::commit()
{
    writePending();
    if (!m_ok) {
        m_file.cancelWriting();
        m_file.commit();
        return false;
    }
    return m_file.commit();
}
