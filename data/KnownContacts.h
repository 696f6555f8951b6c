#pragma once

#include "data/ContactInfo.h"

#include <QList>

#include <utility>
#include <vector>

// What a load reads is mostly what the working phonebook already holds: a reload
// after a save, an import that replaces duplicates. Each loaded contact is paired
// with a held one of the same names (the one of its id first), and every field
// equal to the held one's takes the held one's value, which shares its memory:
// the phonebook and its undo history then hold one copy, not two, and a load of
// 100 000 contacts over 100 000 held ones needs little more than the rows.
// Derived fields are carried over with the fields they come from; a derive
// afterwards replaces whatever no longer fits.
class KnownContacts
{
public:
    // `known` must outlive this object and stay unchanged meanwhile.
    explicit KnownContacts(const QList<ContactInfo> &known);

    bool isEmpty() const { return m_known.isEmpty(); }

    // The contact at `row` was just read (names and the other fields of its own
    // row): pairs it and shares what is equal.
    void pair(qsizetype row, ContactInfo &loaded);
    // Called after an element was appended to, or kept out of, the list of the
    // contact at `row`: the last element, or the whole list once it equals the
    // paired one's, is shared.
    void sharePhones(qsizetype row, PhoneInfoList &phones) const;
    void shareMails(qsizetype row, MailInfoList &mails) const;
    void shareGroups(qsizetype row, QStringList &groups) const;
    // After the lists are complete: shares the lists equal to the paired ones'
    // and the fields derived from them.
    void finish(QList<ContactInfo> &loaded) const;

private:
    const ContactInfo *pairOf(qsizetype row) const;

    const QList<ContactInfo> &m_known;
    // Hash of the names and the row in m_known, sorted by hash.
    std::vector<std::pair<size_t, qsizetype>> m_byName;
    // Per loaded row, its known row or -1.
    std::vector<qsizetype> m_pairs;
    std::vector<bool> m_taken;
};
