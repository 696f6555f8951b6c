#include "data/DBOperator.h"

#include "data/Records.h"
#include "data/SqliteDatabase.h"

DBOperator *DBOperator::instance()
{
    static DBOperator *op = new DBOperator;
    return op;
}

SqliteDatabase *DBOperator::database()
{
    if (!m_database)
        m_database = new SqliteDatabase;
    return m_database;
}

void DBOperator::setMergeMode(int mode)
{
    database()->setMergeMode(mode);
}

bool DBOperator::mergeImported()
{
    return database()->mergeImported();
}

bool DBOperator::insertBatch(const Batch &batch)
{
    return database()->insertBatch(batch);
}

QList<ContactInfo> DBOperator::loadContacts()
{
    const QList<ContactRow> rows = database()->loadContacts();
    QList<ContactInfo> contacts;
    contacts.reserve(rows.size());
    for (const ContactRow &row : rows)
        contacts.append(toContact(row));
    return contacts;
}

QList<GroupInfo> DBOperator::loadGroups()
{
    const QList<GroupRow> rows = database()->loadGroups();
    QList<GroupInfo> groups;
    groups.reserve(rows.size());
    for (const GroupRow &row : rows)
        groups.append(toGroup(row));
    return groups;
}

bool DBOperator::saveAll(const QList<ContactInfo> &contacts, const QList<GroupInfo> &groups)
{
    QList<ContactRow> contactRows;
    contactRows.reserve(contacts.size());
    for (const ContactInfo &c : contacts)
        contactRows.append(toRow(c));
    QList<GroupRow> groupRows;
    groupRows.reserve(groups.size());
    for (const GroupInfo &g : groups)
        groupRows.append(toRow(g));
    return database()->saveAll(contactRows, groupRows);
}

void DBOperator::close()
{
    if (!m_database)
        return;
    m_database->closeDatabase();
    delete m_database;
    m_database = nullptr;
}

ContactInfo DBOperator::toContact(const ContactRow &row)
{
    ContactInfo c;
    c.id = row.id;
    c.FirstName = row.FirstName;
    c.LastName = row.LastName;
    c.Department = row.Department;
    c.PrimaryIndex = row.PrimaryIndex;
    c.PrimaryNumber = row.PrimaryNumber;
    c.Frequent = row.Frequent;
    c.PhotoUrl = row.PhotoUrl;
    c.RingtoneUrl = row.RingtoneUrl;
    c.RingtoneIndex = row.RingtoneIndex;
    c.GroupList = row.groupNames;
    c.PhoneList.reserve(row.phones.size());
    for (const PhoneRow &p : row.phones)
        c.PhoneList.append(PhoneInfo { p.type, QString(), p.phonenumber, p.accountindex });
    c.MailList.reserve(row.mails.size());
    for (const MailRow &m : row.mails)
        c.MailList.append(MailInfo { m.type, QString(), m.Mail });
    return c;
}

GroupInfo DBOperator::toGroup(const GroupRow &row)
{
    GroupInfo g;
    g.id = row.id;
    g.name = row.name;
    g.photos = row.photos;
    g.ringtones = row.ringtones;
    g.RingtoneIndex = row.RingtoneIndex;
    g.MemberIds = row.memberIds;
    g.MemberCount = row.memberCount;
    return g;
}

ContactRow DBOperator::toRow(const ContactInfo &c)
{
    ContactRow row;
    row.id = c.id;
    row.FirstName = c.FirstName;
    row.LastName = c.LastName;
    row.Department = c.Department;
    row.PrimaryIndex = c.PrimaryIndex;
    row.PrimaryNumber = c.PrimaryNumber;
    row.Frequent = c.Frequent;
    row.PhotoUrl = c.PhotoUrl == Records::defaultHeadText() ? QString() : c.PhotoUrl;
    row.RingtoneUrl = c.RingtoneUrl == Records::defaultRingtoneText() ? QString() : c.RingtoneUrl;
    row.RingtoneIndex = c.RingtoneIndex;
    row.groupNames = c.GroupList;
    row.phones.reserve(c.PhoneList.size());
    for (const PhoneInfo &p : c.PhoneList)
        row.phones.append(PhoneRow { p.type, p.phonenumber, p.accountindex });
    row.mails.reserve(c.MailList.size());
    for (const MailInfo &m : c.MailList)
        row.mails.append(MailRow { m.type, m.Mail });
    return row;
}

GroupRow DBOperator::toRow(const GroupInfo &g)
{
    GroupRow row;
    row.id = g.id;
    row.name = g.name;
    row.photos = g.photos;
    row.ringtones = g.ringtones;
    row.RingtoneIndex = g.RingtoneIndex;
    row.memberIds = g.MemberIds;
    row.memberCount = g.MemberCount;
    return row;
}
