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
    void clearAllTables() override;
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

    // What the readers must not collide with: the stored groups (id and name only,
    // without the built-ins that loadGroups adds) and the largest stored contact id.
    QList<GroupRow> storedGroups();
    int largestContactId();
    QString databasePath() const;

private:
    bool exec(const QString &sql);
    bool insertRows(const Batch &batch);
    bool hasTables();

    QSqlDatabase m_db;
    int m_mergeMode = 0;
};
