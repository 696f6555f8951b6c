#pragma once

// A store that breaks on cue: while a StoreFault lives, the n-th statement that the
// open phonebook.db connection prepares is refused by SQLite itself (an authorizer
// that denies it), so the store sees a real error at that step.

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

class StoreFault
{
public:
    explicit StoreFault(int n)
        : m_countdown(n)
    {
        const QVariant handle = QSqlDatabase::database().driver()->handle();
        if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
            m_handle = *static_cast<sqlite3 *const *>(handle.constData());
        if (m_handle)
            sqlite3_set_authorizer(m_handle, &StoreFault::authorize, this);
    }
    ~StoreFault()
    {
        if (m_handle)
            sqlite3_set_authorizer(m_handle, nullptr, nullptr);
    }
    StoreFault(const StoreFault &) = delete;
    StoreFault &operator=(const StoreFault &) = delete;

    bool installed() const { return m_handle != nullptr; }
    // Whether the n-th statement came.
    bool fired() const { return m_countdown <= 0; }

private:
    // Called for every action a statement takes while it is prepared; column reads
    // and function calls are parts of a step, everything else counts as one.
    // Asking whether another program committed is no step of a command: a store
    // that cannot say is only written whole again.
    static int authorize(void *self, int action, const char *arg1, const char *, const char *, const char *)
    {
        auto *fault = static_cast<StoreFault *>(self);
        if (action == SQLITE_READ || action == SQLITE_FUNCTION)
            return SQLITE_OK;
        if (action == SQLITE_PRAGMA && qstrcmp(arg1, "data_version") == 0)
            return SQLITE_OK;
        return --fault->m_countdown == 0 ? SQLITE_DENY : SQLITE_OK;
    }

    int m_countdown;
    sqlite3 *m_handle = nullptr;
};
