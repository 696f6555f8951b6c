#pragma once

// Another program writing the phonebook of the current program folder: a child
// process that holds the folder's lock until the object goes.

#include "data/FolderLock.h"

#include <QFile>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

class LockHolder
{
public:
    LockHolder()
    {
        const QByteArray path = QFile::encodeName(FolderLock::lockPath());
        int ready[2];
        if (::pipe(ready) != 0 || (m_pid = ::fork()) < 0)
            return;
        if (m_pid == 0) { // only what is safe between fork and exit
            const int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0666);
            const char locked = fd >= 0 && ::flock(fd, LOCK_EX) == 0;
            if (::write(ready[1], &locked, 1) == 1)
                ::pause();
            ::_exit(0);
        }
        char locked = 0;
        m_locked = ::read(ready[0], &locked, 1) == 1 && locked;
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~LockHolder()
    {
        if (m_pid > 0 && ::kill(m_pid, SIGKILL) == 0)
            ::waitpid(m_pid, nullptr, 0);
    }
    bool locked() const { return m_locked; }

private:
    pid_t m_pid = -1;
    bool m_locked = false;
};
