#pragma once

#include "data/StoreRows.h"

#include <QObject>

// Abstract phonebook store. The base implementations do nothing and report failure.
class DatabaseLayer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool openDatabase();
    virtual void closeDatabase();
    virtual bool clearAllTables();
    virtual bool createTables();
    virtual bool insertBatch(const Batch &batch);
    virtual bool updateRecord(const QString &table, const QStringList &columns, const QStringList &values);
    virtual bool clearPhones();
    virtual bool clearMails();
    virtual bool clearContacts();
    virtual bool clearGroups();
    virtual bool clearUnions();
    virtual void setMergeMode(int mode);
    virtual bool mergeImported();
    virtual QList<GroupRow> loadGroups();
    virtual QList<ContactRow> loadContacts();
    virtual bool saveAll(const QList<ContactRow> &contacts, const QList<GroupRow> &groups);
};
