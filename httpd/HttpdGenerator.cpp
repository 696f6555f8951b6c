#include "HttpdGenerator.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWaitCondition>

struct HttpdGenerator::Job {
    enum State { Waiting, Running, Written, Failed, Abandoned };

    QString folder;
    int format = 1;
    QMutex mutex;
    QWaitCondition done;
    State state = Waiting;
};

HttpdGenerator::HttpdGenerator(QObject *parent)
    : QObject(parent)
{
}

HttpdGenerator::~HttpdGenerator() = default;

void HttpdGenerator::setWriter(Writer writer)
{
    m_writer = std::move(writer);
}

bool HttpdGenerator::ensurePhonebook(const QString &folder, int format, int waitMsecs)
{
    auto job = std::make_shared<Job>();
    job->folder = folder;
    job->format = format;
    if (QThread::currentThread() == thread()) {
        run(job);
        return job->state == Job::Written;
    }

    QMetaObject::invokeMethod(
        this, [this, job] { run(job); }, Qt::QueuedConnection);
    // The wait is cut into slices so that a stopping server, which interrupts the
    // thread and then waits for it on the main thread, is never kept waiting.
    const QDeadlineTimer deadline(waitMsecs);
    QThread *self = QThread::currentThread();
    QMutexLocker lock(&job->mutex);
    for (;;) {
        if (job->state == Job::Written || job->state == Job::Failed)
            return job->state == Job::Written;
        if (deadline.hasExpired() || self->isInterruptionRequested()) {
            if (job->state == Job::Waiting)
                job->state = Job::Abandoned;
            return false;
        }
        job->done.wait(&job->mutex, QDeadlineTimer(qBound(qint64(1), deadline.remainingTime(), qint64(100))));
    }
}

void HttpdGenerator::run(const std::shared_ptr<Job> &job)
{
    {
        QMutexLocker lock(&job->mutex);
        if (job->state != Job::Waiting)
            return;
    }
    // A writer that opens a message box runs a nested event loop; a request reaching
    // us from inside it waits until the running write is over.
    if (m_writing) {
        QTimer::singleShot(50, this, [this, job] { run(job); });
        return;
    }
    {
        QMutexLocker lock(&job->mutex);
        if (job->state != Job::Waiting)
            return;
        job->state = Job::Running;
    }
    const QString target = job->folder + QStringLiteral("/phonebook.xml");
    const bool ok = QFileInfo::exists(target) || write(job->folder, job->format);
    QMutexLocker lock(&job->mutex);
    job->state = ok ? Job::Written : Job::Failed;
    job->done.wakeAll();
}

bool HttpdGenerator::write(const QString &folder, int format)
{
    if (!m_writer)
        return false;
    QDir().mkpath(folder);
    QTemporaryDir scratch(QFileInfo(folder).absolutePath() + QStringLiteral("/.writing-XXXXXX"));
    if (!scratch.isValid())
        return false;
    m_writing = true;
    const bool written = m_writer(format, scratch.path());
    m_writing = false;
    const QString target = folder + QStringLiteral("/phonebook.xml");
    if (!written || !QFile::rename(scratch.filePath(QStringLiteral("phonebook.xml")), target))
        return QFileInfo::exists(target);
    ++m_written;
    return true;
}
