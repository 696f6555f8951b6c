#include "export/ExportFile.h"

namespace {

// Enough text to make encoder calls cheap, small enough to stay in cache.
constexpr qsizetype kChunk = 64 * 1024;

// Exporters may run on several threads at once.
thread_local QString t_lastError;

} // namespace

ExportFile::ExportFile(const QString &path, const QString &encoding)
    : m_file(path)
    , m_encoder(encoding)
{
    t_lastError.clear();
}

QString ExportFile::lastError()
{
    return t_lastError;
}

bool ExportFile::failed()
{
    t_lastError = m_file.errorString();
    return false;
}

bool ExportFile::open()
{
    m_text.reserve(kChunk + 4096);
    return m_file.open(QIODevice::WriteOnly) || failed();
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
    if (m_file.write(bytes) != bytes.size()) {
        m_ok = false;
        failed();
    }
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
    return m_file.commit() || failed();
}
