#pragma once

#include "data/ContactInfo.h"
#include "data/GroupInfo.h"

#include <QList>
#include <QStringList>

// The working phonebook: the contacts, the stored groups ("Default", the user
// groups, "Blacklist"), the id counters and the user-group names an import
// numbers on from. Rows are positions in contacts(); group indexes are
// positions in groups(). Operations leave rows they cannot find alone.
class Phonebook
{
public:
    Phonebook();

    const QList<ContactInfo> &contacts() const { return m_contacts; }
    // For in-place edits of a contact's fields; refreshContact() afterwards.
    QList<ContactInfo> &editContacts();
    const QList<GroupInfo> &groups() const { return m_groups; }

    int nextContactId() const { return m_nextContactId; }
    void setNextContactId(int id);
    int nextGroupId() const { return m_nextGroupId; }
    void setNextGroupId(int id);
    const QStringList &userGroupNames() const { return m_userGroupNames; }
    void addUserGroupName(const QString &name);

    // Counts the times the contacts were replaced whole (take, clear): a contact
    // id names the same contact only as long as this stays the same.
    quint64 generation() const { return m_generation; }
    // Names what the phonebook holds: every change (and every editContacts())
    // gives a new stamp, never used before by any phonebook, and a copy keeps it.
    // Equal stamps mean equal phonebooks.
    quint64 stamp() const { return m_stamp; }

    // More than an empty phonebook holds.
    bool hasData() const;
    // An empty phonebook: "Default" and "Blacklist", counters from 1, no names.
    void clear();
    // Makes a loaded phonebook the working one: derives every key and label,
    // and sets the counters past what it holds.
    void take(QList<ContactInfo> contacts, QList<GroupInfo> groups);
    // take() for a phonebook that is only saved or written to files, never shown:
    // only what those read is derived (deriveWrittenFields), no keys or labels.
    void takeForWriting(QList<ContactInfo> contacts, QList<GroupInfo> groups);

    // The groups as a save stores them, numbered in list order from the group
    // counter on, passing over the blacklist's id.
    QList<GroupInfo> groupsAsSaved() const;
    // The same for groups read from the store, numbered as after take().
    static QList<GroupInfo> storedGroupsAsSaved(QList<GroupInfo> groups);
    // What a save does to the lists: the groups take the ids groupsAsSaved()
    // gives them, and the counter moves past them. Returns those groups.
    QList<GroupInfo> numberForSave();

    int indexOfContact(int id) const;
    // Index of the first group of that name, or -1.
    int indexOfGroup(const QString &name) const;
    // Whether a new group may not take `name`: a group other than the one at
    // `exceptIndex` has it as its name or its key, or the group list shows a row
    // of that name, case aside.
    bool groupNameTaken(const QString &name, int exceptIndex = -1) const;
    // Whether group `groupIndex` may not be renamed to `newName`: another group,
    // or a row of the group list, has that name, case aside.
    bool renameRefused(int groupIndex, const QString &newName) const;
    // Rows of the members of group `groupIndex`, in list order.
    QList<int> memberRows(int groupIndex) const;

    // Appends the contact with the next id, a member of group `groupIndex`
    // (none when out of range); returns its row.
    int addContact(ContactInfo contact, int groupIndex = -1);
    void deleteContacts(const QList<int> &rows);
    // The contact at `row` was edited: its keys and memberships follow its fields.
    void refreshContact(int row);
    void copyToGroup(const QList<int> &rows, const QString &groupName);
    // Makes the contacts members of the groups named `groupName` only.
    void moveToGroup(const QList<int> &rows, const QString &groupName);
    // Takes the contacts out of every group named as group `groupIndex`.
    void removeFromGroup(const QList<int> &rows, int groupIndex);

    // Inserts a group before the last one; returns its index. Its id is taken
    // anew, its key and displayed name when it has none.
    int addGroup(GroupInfo group);
    int addGroup(const QString &name);
    // False when the name is refused (renameRefused()), unchanged, or there is no such group.
    bool renameGroup(int groupIndex, const QString &newName);
    // Empties the group; it stays.
    void dissolveGroup(int groupIndex);
    void deleteGroup(int groupIndex);

    // Pinyin keys and group text of a contact.
    static void fillContactKeys(ContactInfo &contact);
    // Every derived field of a contact or group read from the store.
    static void deriveContact(ContactInfo &contact);
    // Of those, what the file layouts read: the primary number and the types a
    // load gives phones and mails without one; no keys, no labels.
    static void deriveWrittenFields(ContactInfo &contact);
    static void deriveGroup(GroupInfo &group);
    static GroupInfo makeGroup(const QString &name, int id);

private:
    void touch();
    void take(QList<ContactInfo> contacts, QList<GroupInfo> groups, bool keys);
    // The group counter after take(groups).
    static int nextGroupIdAfterLoad(const QList<GroupInfo> &groups);
    static QList<GroupInfo> numberedAsSaved(QList<GroupInfo> groups, int nextId);
    void addToGroups(QList<int> rows, const QString &groupName, bool move);
    void removeIds(const QList<int> &ids, int onlyGroup = -1);
    void clearMembers(int groupIndex);
    QList<int> validRows(QList<int> rows) const;

    QList<ContactInfo> m_contacts;
    QList<GroupInfo> m_groups;
    QStringList m_userGroupNames;
    int m_nextContactId = 1;
    int m_nextGroupId = 1;
    quint64 m_generation = 0;
    quint64 m_stamp = 0;
};
