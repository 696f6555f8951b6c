#pragma once

#include "data/ContactInfo.h"
#include "data/FolderLock.h"
#include "data/GroupInfo.h"
#include "data/Result.h"
#include "data/StoreRows.h"

#include <QCoreApplication>
#include <QSqlDatabase>

// The phonebook store on SQLite: phonebook.db in the program folder, default
// connection. Every step returns its outcome with SQLite's message for a failure.
struct ContactQueries;

class SqliteDatabase
{
    Q_DECLARE_TR_FUNCTIONS(SqliteDatabase)
public:
    enum class OpenMode { ReadWrite, ReadOnly };
    // Write transactions hold the program folder's lock; read ones see one
    // consistent phonebook and lock nothing.
    enum class Access { Write, Read };

    SqliteDatabase() = default;
    ~SqliteDatabase() { closeDatabase(); }
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    // Opens phonebook.db. A missing or zero-length file becomes a new store with
    // the phonebook's tables (read-write only); any other file must already hold
    // them: a database of another program is refused and left as it is.
    Result openDatabase(OpenMode mode = OpenMode::ReadWrite);
    void closeDatabase();
    bool isOpen() const { return m_db.isOpen(); }
    // Lets go of the page cache between commands; the next one reads the file
    // again, mostly from the system's own cache.
    void releaseMemory();
    // The connection, for the store's other tables (the address-book sources),
    // whose statements join this store's transactions.
    QSqlDatabase connection() const { return m_db; }

    Result clearAllTables();
    // Adds the rows of an import (Flag 1) as they are.
    Result insertBatch(const Batch &batch);
    // Within a transaction, before the batches of an import that brings `incoming`
    // contacts: when they are not few beside the stored ones, the indexes are
    // dropped, so rows go in and duplicates go out without keeping them up to
    // date, and restoreIndexes() builds them once from sorted keys after the merge
    // (as saveAll does). A few rows added to many keep them.
    Result suspendIndexes(qsizetype incoming);
    Result restoreIndexes();
    // 0: an imported contact replaces the stored ones of the same name; 1: both stay.
    void setMergeMode(int mode) { m_mergeMode = mode; }
    // Merges the rows an import added with the stored ones (by the merge mode) and
    // makes them stored rows.
    Result mergeImported();
    // What equals the contacts `inMemory` holds (paired by name) shares their data.
    Expected<QList<ContactInfo>> loadContacts(const QList<ContactInfo> &inMemory = {});
    // Reads every contact as loadContacts does, keeping none: whether the store
    // can be loaded whole, at the memory of a slice.
    Result readThrough();
    // Whether the contacts can be read a slice at a time: their ids rise in stored
    // order (as every save and import leaves them).
    Expected<bool> contactsReadInSlices();
    // The next `limit` contacts after stored position `after` (0 before the first),
    // as loadContacts gives them; `after` moves past them. Empty after the last.
    // Slices of one transaction add up to one load.
    Expected<QList<ContactInfo>> loadContactSlice(qint64 &after, int limit);
    // The stored groups with their members, "Default" first and "Blacklist" last
    // (each added when the store has none); their members left out when not wanted,
    // as a writer of files, which names groups per contact, does not.
    enum class Members { Loaded, Left };
    Expected<QList<GroupInfo>> loadGroups(Members members = Members::Loaded);
    // Replaces the whole phonebook; a failure leaves the previous one whole.
    Result saveAll(const QList<ContactInfo> &contacts, const QList<GroupInfo> &groups);
    // Replaces the groups alone, as saveAll would write them; contacts and their
    // memberships (by group name) stay.
    Result saveGroups(const QList<GroupInfo> &groups);

    // Transactions nest (inner levels are savepoints), so every write operation is
    // all-or-nothing on its own and can also be one step of a larger one: an import
    // saves, clears, inserts, merges and reads back as one. endTransaction commits
    // the innermost level when `commit` is true and none of its statements failed,
    // and otherwise undoes it. Its failure carries the level's first error (what
    // failed after it, the undoing included, only followed from it); a level
    // undone on request, with no error in it, fails with an empty message.
    Result beginTransaction(Access access = Access::Write);
    Result endTransaction(bool commit);
    // A statement a caller ran on this connection itself failed: every open level
    // is undone at its end, with that error as the first one. Returns `failure`.
    Result failWith(const Result &failure);

    // What the readers must not collide with: the stored groups (id and name only,
    // without the built-ins that loadGroups adds) and the largest stored contact id.
    Expected<QList<GroupInfo>> storedGroups();
    Expected<int> largestContactId();
    Expected<int> contactCount();
    QString databasePath() const;
    // No phonebook has been stored yet: phonebook.db is missing or zero-length.
    bool isNew() const;
    // Whether another connection (another program) has committed a change since
    // the store was opened or this was last asked.
    bool changedElsewhere();
    // The stored phonebook has not changed while both of these stay the same: the
    // write transactions begun (and connections opened) here, and SQLite's count
    // of other connections' commits.
    quint64 writeCount() const { return m_writes; }
    Expected<int> commitsElsewhere();
    bool inTransaction() const { return !m_levels.isEmpty(); }

private:
    Result exec(const QString &sql);
    // Marks every open level as failed (keeping each one's first error).
    Result fail(const QString &error);
    // The integer of a one-value query.
    Expected<int> selectInt(const char *sql);
    Result insertRows(const Batch &batch);
    // The rows of `queries` into `result`: all of them, or with `slice` (stored
    // position and count) one slice; `lastRow` gets the last contact's position.
    Result readContacts(QList<ContactInfo> &result, const QList<ContactInfo> &inMemory, const ContactQueries &queries,
        const qint64 *slice, qint64 *lastRow);
    Result dropIndexes();
    Result createIndexes();
    // saveAll through Qt's driver, for a connection that is not SQLite's own.
    Result saveAllBatch(const QList<ContactInfo> &contacts, const QList<GroupInfo> &groups);
    Result createTables();
    // How many of the given tables or indexes exist.
    Expected<int> schemaCount(const char *type, const QStringList &names);
    // Creates what a new store lacks and the indexes an older one lacks.
    Result prepareSchema();
    QString notOurs() const;
    QString undoneText() const;
    // SQLite undid the open transaction by itself (it does after a full disk, for
    // one); statements now would each be committed on their own.
    bool transactionLost() const;

    struct Level {
        bool failed = false;
        QString firstError;
        bool locked = false; // it took the folder lock
    };

    QSqlDatabase m_db;
    OpenMode m_mode = OpenMode::ReadWrite;
    int m_mergeMode = 0;
    QList<Level> m_levels;
    FolderLock m_lock;
    int m_dataVersion = 0;
    quint64 m_writes = 0;
};
