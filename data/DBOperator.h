#pragma once

#include "data/ContactInfo.h"
#include "data/GroupInfo.h"
#include "data/StoreRows.h"

#include <QObject>

class SqliteDatabase;

// The single entry point to the store: converts between the working records and
// the store's rows. Lives on the GUI thread.
class DBOperator : public QObject
{
    Q_OBJECT
public:
    static DBOperator *instance();

    SqliteDatabase *database();

    void setMergeMode(int mode);
    bool mergeImported();
    bool insertBatch(const Batch &batch);
    QList<ContactInfo> loadContacts();
    QList<GroupInfo> loadGroups();
    bool saveAll(const QList<ContactInfo> &contacts, const QList<GroupInfo> &groups);
    void close();

    static ContactInfo toContact(const ContactRow &row);
    static GroupInfo toGroup(const GroupRow &row);
    static ContactRow toRow(const ContactInfo &contact);
    static GroupRow toRow(const GroupInfo &group);

private:
    DBOperator() = default;

    SqliteDatabase *m_database = nullptr;
};
