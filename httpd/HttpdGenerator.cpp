#include "httpd/HttpdGenerator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

HttpdGenerator::HttpdGenerator(QObject *parent)
    : QObject(parent)
{
}

HttpdGenerator::~HttpdGenerator() = default;

void HttpdGenerator::setWriter(Writer writer)
{
    m_writer = std::move(writer);
}

void HttpdGenerator::setBusyCheck(BusyCheck busy)
{
    m_busy = std::move(busy);
}

void HttpdGenerator::setChangeCheck(ChangeCheck changed)
{
    m_changed = std::move(changed);
}

void HttpdGenerator::request(const TicketPtr &ticket)
{
    QMetaObject::invokeMethod(
        this,
        [this, ticket] {
            m_queue.append(ticket);
            resume();
        },
        Qt::QueuedConnection);
}

void HttpdGenerator::resume()
{
    // A writer that opens a message box runs a nested event loop; requests reaching
    // us from inside it wait in the queue until the running write is over.
    if (m_writing)
        return;
    while (!m_queue.isEmpty()) {
        if (m_busy && m_busy())
            return;
        const TicketPtr ticket = m_queue.takeFirst();
        if (ticket->cancelled)
            continue;
        const QString target = ticket->folder + QStringLiteral("/phonebook.xml");
        ticket->written = QFileInfo::exists(target) || write(ticket->folder, ticket->format);
        if (!ticket->cancelled && ticket->done)
            ticket->done(ticket);
    }
}

bool HttpdGenerator::write(const QString &folder, int format)
{
    if (!m_writer)
        return false;
    QDir().mkpath(folder);
    const QString target = folder + QStringLiteral("/phonebook.xml");
    // A few tries: the phonebook changes rarely, and never from this process meanwhile.
    for (int attempt = 0; attempt < 3; ++attempt) {
        QTemporaryDir scratch(QFileInfo(folder).absolutePath() + QStringLiteral("/.writing-XXXXXX"));
        if (!scratch.isValid())
            return false;
        m_writing = true;
        const bool written = m_writer(format, scratch.path());
        m_writing = false;
        if (!written || !QFile::rename(scratch.filePath(QStringLiteral("phonebook.xml")), target))
            return QFileInfo::exists(target);
        if (!m_changed || !m_changed()) {
            ++m_written;
            return true;
        }
        QFile::remove(target);
    }
    return false;
}
