#include "data/FolderLock.h"

#include "data/AppPaths.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

QAtomicInt g_waitMsecs(5000);

struct Held {
    int fd = -1;
    int depth = 0;
};

QMutex g_mutex;
// By lock file: a second flock on a second descriptor of the same file would
// wait for this very process.
QHash<QString, Held> g_held;

QString tr(const char *text)
{
    return QCoreApplication::translate("FolderLock", text);
}

} // namespace

void FolderLock::setWaitMsecs(int msecs)
{
    g_waitMsecs.storeRelaxed(qMax(0, msecs));
}

int FolderLock::waitMsecs()
{
    return g_waitMsecs.loadRelaxed();
}

QString FolderLock::lockPath()
{
    return AppPaths::appDir() + QStringLiteral("phonebook.lock");
}

bool FolderLock::lock()
{
    if (isLocked())
        return true;
    m_error.clear();
    const QString path = lockPath();
    const QString folder = QDir::toNativeSeparators(QDir::cleanPath(AppPaths::appDir()));
    QMutexLocker locker(&g_mutex);
    auto it = g_held.find(path);
    if (it != g_held.end()) {
        ++it->depth;
        m_path = path;
        return true;
    }
    // Never removed: a lock file deleted under a waiting process would let two in.
    const QByteArray name = QFile::encodeName(path);
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        m_error = tr("The phonebook in %1 cannot be locked for writing: %2 (%3).")
                      .arg(folder, QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    const int wait = waitMsecs();
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            break;
        const int error = errno;
        if ((error != EWOULDBLOCK && error != EINTR) || clock.elapsed() >= wait) {
            ::close(fd);
            m_error = error == EWOULDBLOCK
                ? tr("The phonebook in %1 is being changed by another program; it did not finish within "
                     "%2 seconds. Nothing was changed here; try again when it has finished.")
                      .arg(folder)
                      .arg(wait / 1000.0, 0, 'g', 3)
                : tr("The phonebook in %1 cannot be locked for writing: %2 (%3).")
                      .arg(folder, QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(error)));
            return false;
        }
        QThread::msleep(20);
    }
    g_held.insert(path, Held { fd, 1 });
    m_path = path;
    return true;
}

void FolderLock::unlock()
{
    if (!isLocked())
        return;
    QMutexLocker locker(&g_mutex);
    auto it = g_held.find(m_path);
    if (it != g_held.end() && --it->depth == 0) {
        // Closing the only descriptor ends the lock.
        ::close(it->fd);
        g_held.erase(it);
    }
    m_path.clear();
}
