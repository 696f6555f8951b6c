#pragma once

#include <QString>

// One writer per program folder, across processes: an advisory lock (flock) on
// phonebook.lock beside phonebook.db. Every change of the store is made under it,
// so a second program waits for the first one instead of writing over its work,
// and gives up with a message after a bounded wait. Holds nest within a process
// (the folder stays locked until the outermost holder lets go); only the thread
// that owns the store takes it.
class FolderLock
{
public:
    FolderLock() = default;
    ~FolderLock() { unlock(); }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    // Locks the current program folder, waiting up to waitMsecs() for another
    // process to let go; false, with error() saying why, when it did not.
    bool lock();
    void unlock();
    bool isLocked() const { return !m_path.isEmpty(); }
    QString error() const { return m_error; }

    // How long lock() waits; 5000 ms unless set.
    static void setWaitMsecs(int msecs);
    static int waitMsecs();
    // The lock file of the current program folder.
    static QString lockPath();

private:
    QString m_path;
    QString m_error;
};
