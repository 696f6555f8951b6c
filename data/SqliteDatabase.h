#pragma once

#include "DatabaseLayer.h"

#include <QSqlDatabase>

class QSqlQuery;

// The store on SQLite: phonebook.db in the program folder, default connection.
class SqliteDatabase : public DatabaseLayer
{
    Q_OBJECT
public:
    explicit SqliteDatabase(QObject *parent = nullptr);

    bool openDatabase() override;
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
    // and otherwise undoes it; it returns whether the level was committed.
    bool beginTransaction();
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

private:
    bool exec(const QString &sql);
    // Counts a failed statement; always false.
    bool fail(const QString &error);
    // The integer of a one-value query.
    bool selectInt(const char *sql, int *result);
    bool insertRows(const Batch &batch);
    bool hasTables();

    QSqlDatabase m_db;
    int m_mergeMode = 0;
    int m_errorCount = 0;
    QString m_lastError;
    // The error count when each open transaction level began.
    QList<int> m_levels;
};
