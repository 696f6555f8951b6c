#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The numbering of one read: where the contact and group ids go on, and which group
// names and ids the phonebook already has. A plain value: the data manager makes it
// from its counters and the store, a reader numbers its rows from it, and the data
// manager takes the counters and the new user groups back once the rows are in.
class ImportContext
{
public:
    // The numbering of an empty phonebook: ids from 1, no groups.
    ImportContext() = default;
    ImportContext(int nextContactId, int nextGroupId);

    // A group the phonebook already has.
    void addStoredGroup(int id, const QString &name);
    // The names of those groups, in the order given.
    const QStringList &storedGroupNames() const { return m_storedNames; }

    int contactId() const { return m_nextContactId; }
    void advanceContactId() { ++m_nextContactId; }

    // The group counter's value, moved past 100 ("Blacklist" in every layout), past
    // 0 and past every id already taken, so a new group never shares an id.
    int groupId();
    void advanceGroupId() { ++m_nextGroupId; }

    // Whether the phonebook already has a group of that name (the built-ins
    // included) or this read has created one.
    bool isKnownGroup(const QString &name) const { return m_known.contains(name); }
    // Records a group created by this read under `id`.
    void addGroup(const QString &name, int id);
    // Id for a new group named `name`: 0 for "Default" and 100 for "Blacklist"
    // while those ids are free, otherwise groupId().
    int idForNewGroup(const QString &name);

    // What the data manager takes back after the read.
    int nextContactId() const { return m_nextContactId; }
    int nextGroupId() const { return m_nextGroupId; }
    // The user groups this read created, in the order it made them.
    const QStringList &newUserGroups() const { return m_newUserGroups; }

private:
    int m_nextContactId = 1;
    int m_nextGroupId = 1;
    QSet<QString> m_known;
    QSet<int> m_usedGroupIds;
    QStringList m_newUserGroups;
    QStringList m_storedNames;
};
