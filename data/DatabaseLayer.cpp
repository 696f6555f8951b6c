#include "data/DatabaseLayer.h"

bool DatabaseLayer::openDatabase()
{
    return false;
}
void DatabaseLayer::closeDatabase() { }
bool DatabaseLayer::clearAllTables()
{
    return false;
}
bool DatabaseLayer::createTables()
{
    return false;
}
bool DatabaseLayer::insertBatch(const Batch &)
{
    return false;
}
bool DatabaseLayer::updateRecord(const QString &, const QStringList &, const QStringList &)
{
    return false;
}
bool DatabaseLayer::clearPhones()
{
    return false;
}
bool DatabaseLayer::clearMails()
{
    return false;
}
bool DatabaseLayer::clearContacts()
{
    return false;
}
bool DatabaseLayer::clearGroups()
{
    return false;
}
bool DatabaseLayer::clearUnions()
{
    return false;
}
void DatabaseLayer::setMergeMode(int) { }
bool DatabaseLayer::mergeImported()
{
    return false;
}
QList<GroupRow> DatabaseLayer::loadGroups()
{
    return {};
}
QList<ContactRow> DatabaseLayer::loadContacts()
{
    return {};
}
bool DatabaseLayer::saveAll(const QList<ContactRow> &, const QList<GroupRow> &)
{
    return false;
}
