#pragma once

#include "data/ContactInfo.h"
#include "data/GroupInfo.h"
#include "data/Result.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Rules that several layouts share.
//
// A contact loaded from the store carries one empty phone, one empty mail entry
// and one empty group name when it has none (the store joins its tables). Such
// entries are not data: every layout treats a phone without a number, a mail
// entry without an address and an empty group name as absent, so a contact
// writes the same whether it was loaded or just made.
namespace TextCodec {
class Encoder;
}

namespace ExportRules {

// Groups that are never written: the "All" row and "add group" (exact case).
bool isWritten(const GroupInfo &group);

// The id a file gives a group: "Default" 0, "Blacklist" 100, others their own.
int fileId(const GroupInfo &group);

// Whether `encoding` can hold every first name, last name and mail address: the
// CSV and vCard layouts refuse to write a file that would lose any of them (the
// writer stops at that contact, and its file is not put in place).
// Other fields are not checked; what the encoding cannot hold of them is written
// as "?". The failure, a reason to go in a sentence, names the encoding and the
// first contact it cannot hold.
Result checkEncodable(const QList<ContactInfo> &contacts, const QString &encoding);
// The same, a contact at a time, for a writer that checks each before writing it.
Result checkKnown(const TextCodec::Encoder &encoder, const QString &encoding);
Result checkEncodable(const ContactInfo &contact, TextCodec::Encoder &encoder, const QString &encoding);

bool hasPhones(const ContactInfo &contact);
bool hasMails(const ContactInfo &contact);
// The first address, empty when there is none.
QString firstMail(const ContactInfo &contact);
// Group names without the empty ones.
QStringList groupNames(const ContactInfo &contact);
// The first group name, empty when there is none.
QString firstGroup(const ContactInfo &contact);

// The number of the first phone of the primary type; the stored primary number
// when no phone has that type.
QString primaryNumber(const ContactInfo &contact);

// Paths, with the editor's "default head" and "default ringtone" texts as empty.
QString photoUrl(const ContactInfo &contact);
QString ringtoneUrl(const ContactInfo &contact);

// Membership by name: every written group carrying a name, in list order.
class GroupIds
{
public:
    void add(const GroupInfo &group);
    // The file ids of the groups named `name`; empty when none is.
    QList<int> idsOf(const QString &name) const { return m_ids.value(name); }

private:
    QHash<QString, QList<int>> m_ids;
};

} // namespace ExportRules
