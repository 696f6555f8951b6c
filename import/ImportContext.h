#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The numbering and group knowledge of one read, taken from the data manager and the
// store once the import has been prepared (so replace mode starts from nothing), and
// handed back to the data manager when the rows are built.
class ImportContext
{
public:
    // Reads the data manager's counters and the store's groups and contact ids.
    ImportContext();

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

    // Hands the counters and the names of the new user groups to the data manager.
    void commit() const;

private:
    int m_nextContactId = 1;
    int m_nextGroupId = 1;
    QSet<QString> m_known;
    QSet<int> m_usedGroupIds;
    QStringList m_newUserGroups;
};
