#pragma once

#include "data/ContactInfo.h"
#include "data/GroupInfo.h"

#include <QStringList>

#include <utility>

// Vocabularies and derived fields shared by every layer: the phone-type table,
// the mail types, the built-in group names and the label rules.
namespace Records {

inline const QString kAll = QStringLiteral("All");
inline const QString kDefault = QStringLiteral("Default");
inline const QString kAddGroup = QStringLiteral("Add group");
inline const QString kBlacklist = QStringLiteral("Blacklist");

constexpr int kDefaultGroupId = 0;
constexpr int kBlacklistGroupId = 100;
constexpr int kPhoneTypeCount = 23;

// Untranslated display label of row `index` of the phone-type table; empty outside 0..22.
QString phoneTypeLabel(int index);
// Stored word of row `index`; empty outside 0..22.
QString phoneTypeWord(int index);
// Translated display label of row `index`; empty outside 0..22.
QString phoneTypeDisplay(int index);
// Row whose stored word equals `word` exactly, or -1.
int phoneTypeIndexOfWord(const QString &word);

// Stored mail words and their untranslated labels ("Other" shows as "Others").
QStringList mailTypeWords();
QString mailTypeLabel(const QString &word);

// The texts the editor shows for "no photo" and "no ringtone"; stored as empty.
QString defaultHeadText();
QString defaultRingtoneText();
// The photo and ringtone as stored: empty for the default ones.
QString storedPhotoUrl(const ContactInfo &contact);
QString storedRingtoneUrl(const ContactInfo &contact);

// Replaces `field` only when `value` differs: a field that shares its data with
// another copy of the phonebook keeps sharing it.
template <typename T> void setChanged(T &field, T value)
{
    if (!(field == value))
        field = std::move(value);
}

void rebuildPhoneLabel(PhoneInfo &phone);
void rebuildMailLabel(MailInfo &mail);
// Sets PrimaryNumber from the first phone of the primary type; keeps it otherwise.
void rebuildPrimaryNumber(ContactInfo &contact);
// Row whose translated display label equals `label`, or -1.
int phoneTypeIndexOfDisplay(const QString &label);

// Rules of a contact as the editor gives it back, rows as the user left them.
// Nothing typed at all: no name, no number, no mail address. Spaces are typed
// text.
bool isBlank(const ContactInfo &contact);
// The phones that have a number, grouped by type, types in the order they
// first appear.
PhoneInfoList groupPhonesByType(const PhoneInfoList &phones);
// The types a primary number can be chosen from: each type label once, in order.
QStringList primaryChoices(const PhoneInfoList &phones);
// Which of `choices` is the primary one: `picked` while it is still offered,
// else `stored`, else the first.
int primaryChoice(const QStringList &choices, const QString &picked, const QString &stored);
// Settles an edited contact: rows without a number or address go, phones are
// grouped by type, the primary number follows the primary type, and a contact
// without a name takes its first number (or else its first mail) as its first
// name.
void settleEdits(ContactInfo &contact);

QString groupDisplayName(const QString &name);
QString groupIconKind(const QString &name);
// Every name followed by "::".
QString groupText(const QStringList &names);

// Name shortened to 12 characters and "..." when longer.
QString elide12(const QString &name);

} // namespace Records
