#include "data/Phonebook.h"

#include "data/ContactNames.h"
#include "data/PinyinKey.h"
#include "data/RecordCompare.h"
#include "data/Records.h"

#include <QSet>

#include <algorithm>
#include <atomic>
#include <utility>

using namespace Records;

namespace {

bool isBuiltIn(const GroupInfo &g)
{
    return g.name == kDefault || g.name == kBlacklist;
}

void addMember(GroupInfo &g, int id)
{
    if (!g.MemberIds.contains(id)) {
        g.MemberIds.append(id);
        ++g.MemberCount;
    }
}

bool removeMember(GroupInfo &g, int id)
{
    if (g.MemberIds.removeAll(id) > 0) {
        --g.MemberCount;
        return true;
    }
    return false;
}

void removeMembers(GroupInfo &g, const QSet<int> &ids)
{
    const qsizetype removed = g.MemberIds.removeIf([&ids](int id) { return ids.contains(id); });
    g.MemberCount -= int(removed);
}

// Stamps are unique across all phonebooks, so that a copy carries its state's.
std::atomic<quint64> s_lastStamp { 0 };

} // namespace

Phonebook::Phonebook()
{
    clear();
}

QList<ContactInfo> &Phonebook::editContacts()
{
    touch();
    return m_contacts;
}

void Phonebook::setNextContactId(int id)
{
    touch();
    m_nextContactId = id;
}

void Phonebook::setNextGroupId(int id)
{
    touch();
    m_nextGroupId = id;
}

void Phonebook::touch()
{
    m_stamp = ++s_lastStamp;
}

GroupInfo Phonebook::makeGroup(const QString &name, int id)
{
    GroupInfo g;
    g.id = id;
    g.name = name;
    g.DisplayName = groupDisplayName(name);
    g.NamePinyin = PinyinKey::pinyinOf(name);
    return g;
}

void Phonebook::fillContactKeys(ContactInfo &c)
{
    ContactNames::fillKeys(c);
    setChanged(c.GroupText, groupText(c.GroupList));
}

namespace {

// Applies `rebuild` to each element, writing back only the changed ones: a list
// shared with another copy of the phonebook stays shared when nothing changes.
template <typename T, typename Rebuild> void rebuildEach(QList<T> &list, Rebuild rebuild)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        T element = list.at(i);
        rebuild(element);
        if (!(element == list.at(i)))
            list[i] = std::move(element);
    }
}

void typeOrWork(QString &type)
{
    if (type.isEmpty())
        type = QStringLiteral("Work");
}

} // namespace

void Phonebook::deriveContact(ContactInfo &c)
{
    fillContactKeys(c);
    rebuildPrimaryNumber(c);
    rebuildEach(c.PhoneList, rebuildPhoneLabel);
    rebuildEach(c.MailList, rebuildMailLabel);
}

void Phonebook::deriveWrittenFields(ContactInfo &c)
{
    // In deriveContact's order: the primary number is looked up before an empty
    // type becomes "Work".
    rebuildPrimaryNumber(c);
    rebuildEach(c.PhoneList, [](PhoneInfo &p) { typeOrWork(p.type); });
    rebuildEach(c.MailList, [](MailInfo &m) { typeOrWork(m.type); });
}

void Phonebook::deriveGroup(GroupInfo &g)
{
    g.NamePinyin = PinyinKey::pinyinOf(g.name);
    g.DisplayName = groupDisplayName(g.name);
}

void Phonebook::addUserGroupName(const QString &name)
{
    touch();
    if (!m_userGroupNames.contains(name))
        m_userGroupNames.append(name);
}

bool Phonebook::hasData() const
{
    return m_groups.size() > 2 || !m_contacts.isEmpty();
}

void Phonebook::clear()
{
    touch();
    m_contacts.clear();
    m_groups = { makeGroup(kDefault, kDefaultGroupId), makeGroup(kBlacklist, kBlacklistGroupId) };
    m_userGroupNames.clear();
    m_nextContactId = 1;
    m_nextGroupId = 1;
    ++m_generation;
}

void Phonebook::take(QList<ContactInfo> contacts, QList<GroupInfo> groups)
{
    take(std::move(contacts), std::move(groups), true);
}

void Phonebook::takeForWriting(QList<ContactInfo> contacts, QList<GroupInfo> groups)
{
    take(std::move(contacts), std::move(groups), false);
}

void Phonebook::take(QList<ContactInfo> contacts, QList<GroupInfo> groups, bool keys)
{
    touch();
    m_contacts = std::move(contacts);
    m_groups = std::move(groups);
    ++m_generation;
    if (keys) {
        for (GroupInfo &g : m_groups)
            deriveGroup(g);
        for (ContactInfo &c : m_contacts)
            deriveContact(c);
    } else {
        for (ContactInfo &c : m_contacts)
            deriveWrittenFields(c);
    }

    m_nextContactId = m_contacts.isEmpty() ? 1 : m_contacts.last().id + 1;
    m_nextGroupId = nextGroupIdAfterLoad(m_groups);
    for (const GroupInfo &g : std::as_const(m_groups)) {
        if (!isBuiltIn(g))
            addUserGroupName(g.name);
    }
}

int Phonebook::nextGroupIdAfterLoad(const QList<GroupInfo> &groups)
{
    // Fewer groups than "Default", "Blacklist" and one of the user's: numbered from 1.
    if (groups.size() < 3)
        return 1;
    int maxId = groups.first().id;
    for (const GroupInfo &g : groups)
        maxId = qMax(maxId, g.id);
    return maxId + 1;
}

QList<GroupInfo> Phonebook::numberedAsSaved(QList<GroupInfo> groups, int nextId)
{
    for (GroupInfo &g : groups) {
        // Every layout calls group 100 "Blacklist".
        if (nextId == kBlacklistGroupId)
            ++nextId;
        g.id = nextId++;
    }
    return groups;
}

QList<GroupInfo> Phonebook::groupsAsSaved() const
{
    return numberedAsSaved(m_groups, m_nextGroupId);
}

QList<GroupInfo> Phonebook::storedGroupsAsSaved(QList<GroupInfo> groups)
{
    const int nextId = nextGroupIdAfterLoad(groups);
    return numberedAsSaved(std::move(groups), nextId);
}

QList<GroupInfo> Phonebook::numberForSave()
{
    touch();
    const QList<GroupInfo> saved = groupsAsSaved();
    for (int i = 0; i < m_groups.size(); ++i) {
        GroupInfo &g = m_groups[i];
        g.id = saved[i].id;
        m_nextGroupId = g.id + 1;
        if (!isBuiltIn(g))
            addUserGroupName(g.name);
    }
    return saved;
}

int Phonebook::indexOfContact(int id) const
{
    for (int i = 0; i < m_contacts.size(); ++i) {
        if (m_contacts[i].id == id)
            return i;
    }
    return -1;
}

int Phonebook::indexOfGroup(const QString &name) const
{
    for (int i = 0; i < m_groups.size(); ++i) {
        if (m_groups[i].name == name)
            return i;
    }
    return -1;
}

bool Phonebook::groupNameTaken(const QString &name, int exceptIndex) const
{
    // Case aside: "Friends" and "friends" side by side read as one group.
    auto same = [&name](const QString &other) { return name.compare(other, Qt::CaseInsensitive) == 0; };
    for (const QString &row : { kAll, kAddGroup }) {
        if (same(row) || same(PinyinKey::pinyinOf(row)))
            return true;
    }
    for (int i = 0; i < m_groups.size(); ++i) {
        if (i != exceptIndex && (same(m_groups[i].name) || same(m_groups[i].NamePinyin)))
            return true;
    }
    return false;
}

QList<int> Phonebook::memberRows(int groupIndex) const
{
    QList<int> rows;
    if (groupIndex < 0 || groupIndex >= m_groups.size())
        return rows;
    const QList<int> &ids = m_groups[groupIndex].MemberIds;
    const QSet<int> members(ids.cbegin(), ids.cend());
    for (int i = 0; i < m_contacts.size(); ++i) {
        if (members.contains(m_contacts[i].id))
            rows.append(i);
    }
    return rows;
}

QList<int> Phonebook::validRows(QList<int> rows) const
{
    // In list order, each once: as one contact at a time in list order would go.
    rows.removeIf([this](int row) { return row < 0 || row >= m_contacts.size(); });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int Phonebook::addContact(ContactInfo contact, int groupIndex)
{
    touch();
    fillContactKeys(contact);
    rebuildPrimaryNumber(contact);
    contact.id = m_contacts.isEmpty() ? 1 : m_contacts.last().id + 1;
    if (groupIndex >= 0 && groupIndex < m_groups.size())
        addMember(m_groups[groupIndex], contact.id);
    m_contacts.append(contact);
    ++m_nextContactId;
    return int(m_contacts.size()) - 1;
}

void Phonebook::removeIds(const QList<int> &ids, int onlyGroup)
{
    if (ids.isEmpty())
        return;
    // One pass over the groups for all of them: a phonebook of 100 000 with
    // thousands ticked must not walk every group once per contact.
    const QSet<int> set(ids.cbegin(), ids.cend());
    const QString name = onlyGroup >= 0 ? m_groups[onlyGroup].name : QString();
    for (GroupInfo &g : m_groups) {
        if (onlyGroup < 0 || g.name == name)
            removeMembers(g, set);
    }
}

void Phonebook::deleteContacts(const QList<int> &rows)
{
    touch();
    const QList<int> valid = validRows(rows);
    if (valid.isEmpty())
        return;
    QList<int> ids;
    for (int row : valid)
        ids.append(m_contacts[row].id);
    removeIds(ids);
    // One pass, not one removal per row: thousands ticked out of 100 000.
    qsizetype kept = 0;
    qsizetype next = 0;
    for (qsizetype row = 0; row < m_contacts.size(); ++row) {
        if (next < valid.size() && valid[next] == row) {
            ++next;
            continue;
        }
        if (kept != row)
            m_contacts[kept] = std::move(m_contacts[row]);
        ++kept;
    }
    m_contacts.resize(kept);
}

void Phonebook::refreshContact(int row)
{
    touch();
    if (row < 0 || row >= m_contacts.size())
        return;
    ContactInfo &c = m_contacts[row];
    fillContactKeys(c);
    for (GroupInfo &g : m_groups) {
        if (c.GroupList.contains(g.name))
            addMember(g, c.id);
        else
            removeMember(g, c.id);
    }
}

void Phonebook::addToGroups(QList<int> rows, const QString &groupName, bool move)
{
    touch();
    rows = validRows(rows);
    QList<int> ids;
    for (int row : std::as_const(rows)) {
        ContactInfo &c = m_contacts[row];
        if (move)
            c.GroupList = QStringList { groupName };
        else if (!c.GroupList.contains(groupName))
            c.GroupList.append(groupName);
        c.GroupText = groupText(c.GroupList);
        ids.append(c.id);
    }
    if (move)
        removeIds(ids);
    for (GroupInfo &g : m_groups) {
        if (g.name != groupName)
            continue;
        // Appended in list order, as one contact at a time would have been.
        QSet<int> missing(ids.cbegin(), ids.cend());
        for (int id : std::as_const(g.MemberIds))
            missing.remove(id);
        for (int id : std::as_const(ids)) {
            if (missing.remove(id)) {
                g.MemberIds.append(id);
                ++g.MemberCount;
            }
        }
    }
}

void Phonebook::copyToGroup(const QList<int> &rows, const QString &groupName)
{
    addToGroups(rows, groupName, false);
}

void Phonebook::moveToGroup(const QList<int> &rows, const QString &groupName)
{
    addToGroups(rows, groupName, true);
}

void Phonebook::removeFromGroup(const QList<int> &rows, int groupIndex)
{
    touch();
    if (groupIndex < 0 || groupIndex >= m_groups.size())
        return;
    const QString name = m_groups[groupIndex].name;
    QList<int> ids;
    for (int row : validRows(rows)) {
        ContactInfo &c = m_contacts[row];
        c.GroupList.removeAll(name);
        c.GroupText = groupText(c.GroupList);
        ids.append(c.id);
    }
    removeIds(ids, groupIndex);
}

int Phonebook::addGroup(const QString &name)
{
    GroupInfo group;
    group.name = name;
    return addGroup(group);
}

int Phonebook::addGroup(GroupInfo group)
{
    touch();
    // Numbered as the list shows it, with its "All" and add-group rows; a save
    // numbers the groups anew.
    group.id = int(m_groups.size()) + 1;
    if (group.NamePinyin.isEmpty())
        group.NamePinyin = PinyinKey::pinyinOf(group.name);
    if (group.DisplayName.isEmpty())
        group.DisplayName = groupDisplayName(group.name);
    // "Blacklist" stays last.
    const int at = qMax(0, int(m_groups.size()) - 1);
    m_groups.insert(at, group);
    ++m_nextGroupId;
    return at;
}

bool Phonebook::renameGroup(int groupIndex, const QString &newName)
{
    touch();
    if (groupIndex < 0 || groupIndex >= m_groups.size() || newName == m_groups[groupIndex].name
        || renameRefused(groupIndex, newName))
        return false;
    GroupInfo &g = m_groups[groupIndex];
    const QString oldName = g.name;
    g.name = newName;
    g.DisplayName = elide12(newName);
    g.NamePinyin = PinyinKey::pinyinOf(newName);
    // Membership is by whole name: a contact of "Workshop" is no member of "Work".
    for (ContactInfo &c : m_contacts) {
        if (!c.GroupList.contains(oldName))
            continue;
        c.GroupText.remove(oldName + QStringLiteral("::"));
        c.GroupText += newName + QStringLiteral("::");
        c.GroupList.replace(c.GroupList.indexOf(oldName), newName);
    }
    return true;
}

bool Phonebook::renameRefused(int groupIndex, const QString &newName) const
{
    // Only another group's name counts: "friends" may become "Friends".
    auto same = [&newName](const QString &other) { return newName.compare(other, Qt::CaseInsensitive) == 0; };
    if (same(kAll) || same(kAddGroup))
        return true;
    for (int i = 0; i < m_groups.size(); ++i) {
        if (i != groupIndex && same(m_groups[i].name))
            return true;
    }
    return false;
}

void Phonebook::clearMembers(int groupIndex)
{
    touch();
    GroupInfo &g = m_groups[groupIndex];
    g.MemberIds.clear();
    g.MemberCount = 0;
    // Rebuilt from the names: cutting the name out of the text as a substring
    // would turn a member of "Workshop" into one of "shop" when "Work" goes.
    for (ContactInfo &c : m_contacts) {
        if (c.GroupList.removeAll(g.name) > 0)
            c.GroupText = groupText(c.GroupList);
    }
}

void Phonebook::dissolveGroup(int groupIndex)
{
    if (groupIndex < 0 || groupIndex >= m_groups.size())
        return;
    clearMembers(groupIndex);
}

void Phonebook::deleteGroup(int groupIndex)
{
    touch();
    if (groupIndex < 0 || groupIndex >= m_groups.size())
        return;
    clearMembers(groupIndex);
    m_groups.removeAt(groupIndex);
}
