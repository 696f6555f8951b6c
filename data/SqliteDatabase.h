#pragma once

#include "data/DatabaseLayer.h"
#include "data/FolderLock.h"

#include <QSqlDatabase>

class QSqlQuery;

// The store on SQLite: phonebook.db in the program folder, default connection.
class SqliteDatabase : public DatabaseLayer
{
    Q_OBJECT
public:
    enum class OpenMode { ReadWrite, ReadOnly };
    // Write transactions hold the program folder's lock; read ones see one
    // consistent phonebook and lock nothing.
    enum class Access { Write, Read };

    explicit SqliteDatabase(QObject *parent = nullptr);

    bool openDatabase() override { return openDatabase(OpenMode::ReadWrite); }
    // Opens phonebook.db. A missing or zero-length file becomes a new store with
    // the phonebook's tables (read-write only); any other file must already hold
    // them: a database of another program is refused and left as it is.
    bool openDatabase(OpenMode mode);
    void closeDatabase() override;
    bool clearAllTables() override;
    bool createTables() override;
    bool insertBatch(const Batch &batch) override;
    bool updateRecord(const QString &table, const QStringList &columns, const QStringList &values) override;
    bool clearPhones() override;
    bool clearMails() override;
    bool clearContacts() override;
    bool clearGroups() override;
    bool clearUnions() override;
    void setMergeMode(int mode) override;
    bool mergeImported() override;
    QList<GroupRow> loadGroups() override;
    QList<ContactRow> loadContacts() override;
    bool saveAll(const QList<ContactRow> &contacts, const QList<GroupRow> &groups) override;

    int mergeMode() const { return m_mergeMode; }

    // Transactions nest (inner levels are savepoints), so every write operation is
    // all-or-nothing on its own and can also be one step of a larger one: an import
    // saves, clears, inserts, merges and reads back as one. endTransaction commits
    // the innermost level when `commit` is true and none of its statements failed,
    // and otherwise undoes it; it returns whether the level was committed. A level
    // that failed leaves its first error as lastError(): what failed after it,
    // the undoing included, only followed from it.
    bool beginTransaction(Access access = Access::Write);
    bool endTransaction(bool commit);
    bool inTransaction() const { return !m_levels.isEmpty(); }

    // Every failed statement is counted and its error kept, so that a caller can
    // tell whether a step that returns no result (a load) failed.
    int errorCount() const { return m_errorCount; }
    QString lastError() const { return m_lastError; }

    // What the readers must not collide with: the stored groups (id and name only,
    // without the built-ins that loadGroups adds) and the largest stored contact id.
    QList<GroupRow> storedGroups();
    int largestContactId();
    // The number of stored contacts; -1 when it cannot be read.
    int contactCount();
    QString databasePath() const;
    // No phonebook has been stored yet: phonebook.db is missing or zero-length.
    bool isNew() const;
    // Whether another connection (another program) has committed a change since
    // the store was opened or this was last asked.
    bool changedElsewhere();

private:
    bool exec(const QString &sql);
    // Counts a failed statement; always false.
    bool fail(const QString &error);
    // The integer of a one-value query.
    bool selectInt(const char *sql, int *result);
    bool insertRows(const Batch &batch);
    // How many of the given tables or indexes exist; -1 when the file cannot be read.
    int schemaCount(const char *type, const QStringList &names);
    // Creates what a new store lacks and the indexes an older one lacks.
    bool prepareSchema();
    QString notOurs() const;
    QString undoneText() const;
    // SQLite undid the open transaction by itself (it does after a full disk, for
    // one); statements now would each be committed on their own.
    bool transactionLost() const;

    struct Level {
        int errors; // the error count when it began
        QString firstError;
        bool locked; // it took the folder lock
    };

    QSqlDatabase m_db;
    OpenMode m_mode = OpenMode::ReadWrite;
    int m_mergeMode = 0;
    int m_errorCount = 0;
    QString m_lastError;
    QList<Level> m_levels;
    FolderLock m_lock;
    int m_dataVersion = 0;
};
