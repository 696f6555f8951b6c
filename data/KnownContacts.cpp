#include "data/KnownContacts.h"

#include <QHashFunctions>

#include <algorithm>

namespace {

size_t nameHash(const QString &first, const QString &last)
{
    return qHashMulti(0, first, last);
}

// Once the lists are complete, a stored empty type counts as "Work", which is
// what a derive makes of it and what a held contact already shows. While they
// are read, types count as stored: the reader compares each new element with
// the ones before it.
template <bool Derived> bool sameType(const QString &loaded, const QString &held)
{
    if constexpr (Derived) {
        if (loaded.isEmpty())
            return held == QLatin1String("Work");
    }
    return loaded == held;
}

template <bool Derived> bool samePhone(const PhoneInfo &loaded, const PhoneInfo &held)
{
    // A derive looks for the primary number before it types an untyped phone, so
    // an untyped number is never the primary one of a load; in a held list it may
    // have become one. Only the empty entry of a contact without phones counts as "Work".
    if (Derived && loaded.type.isEmpty() && !loaded.phonenumber.isEmpty())
        return false;
    return loaded.phonenumber == held.phonenumber && loaded.accountindex == held.accountindex
        && sameType<Derived>(loaded.type, held.type);
}

template <bool Derived> bool sameMail(const MailInfo &loaded, const MailInfo &held)
{
    return loaded.Mail == held.Mail && sameType<Derived>(loaded.type, held.type);
}

bool sameGroup(const QString &loaded, const QString &held)
{
    return loaded == held;
}

template <typename T, typename Same> bool sameList(const QList<T> &loaded, const QList<T> &held, Same same)
{
    return loaded.size() == held.size() && std::equal(loaded.cbegin(), loaded.cend(), held.cbegin(), same);
}

template <typename T, typename Same> void shareLast(QList<T> &list, const QList<T> &held, Same same)
{
    const qsizetype last = list.size() - 1;
    if (last < 0 || last >= held.size() || list.isSharedWith(held) || !same(list.at(last), held.at(last)))
        return;
    if (sameList(list, held, same))
        list = held;
    else
        list[last] = held.at(last);
}

template <typename T, typename Same> bool shareWhole(QList<T> &list, const QList<T> &held, Same same)
{
    if (list.isSharedWith(held))
        return true;
    if (!sameList(list, held, same))
        return false;
    list = held;
    return true;
}

template <typename T> void shareEqual(T &field, const T &held)
{
    if (field == held)
        field = held;
}

} // namespace

KnownContacts::KnownContacts(const QList<ContactInfo> &known)
    : m_known(known)
    , m_taken(size_t(known.size()), false)
{
    m_byName.reserve(size_t(known.size()));
    for (qsizetype i = 0; i < known.size(); ++i)
        m_byName.emplace_back(nameHash(known[i].FirstName, known[i].LastName), i);
    std::sort(m_byName.begin(), m_byName.end());
}

const ContactInfo *KnownContacts::pairOf(qsizetype row) const
{
    if (row < 0 || size_t(row) >= m_pairs.size() || m_pairs[size_t(row)] < 0)
        return nullptr;
    return &m_known[m_pairs[size_t(row)]];
}

void KnownContacts::pair(qsizetype row, ContactInfo &loaded)
{
    if (row < 0 || m_known.isEmpty())
        return;
    if (size_t(row) >= m_pairs.size())
        m_pairs.resize(size_t(row) + 1, -1);
    const size_t hash = nameHash(loaded.FirstName, loaded.LastName);
    auto it = std::lower_bound(m_byName.cbegin(), m_byName.cend(), std::make_pair(hash, qsizetype(-1)));
    // Of the untaken ones of these names, the one of the same id; else the first.
    qsizetype chosen = -1;
    for (; it != m_byName.cend() && it->first == hash; ++it) {
        const ContactInfo &held = m_known[it->second];
        if (m_taken[size_t(it->second)] || held.FirstName != loaded.FirstName || held.LastName != loaded.LastName)
            continue;
        if (chosen < 0 || held.id == loaded.id)
            chosen = it->second;
        if (held.id == loaded.id)
            break;
    }
    if (chosen < 0)
        return;
    m_taken[size_t(chosen)] = true;
    m_pairs[size_t(row)] = chosen;
    const ContactInfo &held = m_known[chosen];
    loaded.FirstName = held.FirstName;
    loaded.LastName = held.LastName;
    // Keys come from the names alone.
    loaded.NamePinyin = held.NamePinyin;
    loaded.NameInitials = held.NameInitials;
    shareEqual(loaded.Department, held.Department);
    shareEqual(loaded.PhotoUrl, held.PhotoUrl);
    shareEqual(loaded.RingtoneUrl, held.RingtoneUrl);
}

void KnownContacts::sharePhones(qsizetype row, PhoneInfoList &phones) const
{
    if (const ContactInfo *held = pairOf(row))
        shareLast(phones, held->PhoneList, samePhone<false>);
}

void KnownContacts::shareMails(qsizetype row, MailInfoList &mails) const
{
    if (const ContactInfo *held = pairOf(row))
        shareLast(mails, held->MailList, sameMail<false>);
}

void KnownContacts::shareGroups(qsizetype row, QStringList &groups) const
{
    if (const ContactInfo *held = pairOf(row))
        shareLast(groups, held->GroupList, sameGroup);
}

void KnownContacts::finish(QList<ContactInfo> &loaded) const
{
    for (qsizetype row = 0; row < loaded.size(); ++row) {
        const ContactInfo *held = pairOf(row);
        if (!held)
            continue;
        ContactInfo &c = loaded[row];
        const bool phones = shareWhole(c.PhoneList, held->PhoneList, samePhone<true>);
        shareWhole(c.MailList, held->MailList, sameMail<true>);
        if (shareWhole(c.GroupList, held->GroupList, sameGroup))
            c.GroupText = held->GroupText;
        if (phones && c.PrimaryIndex == held->PrimaryIndex)
            c.PrimaryNumber = held->PrimaryNumber;
    }
}
