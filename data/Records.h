#pragma once

#include "data/ContactInfo.h"
#include "data/GroupInfo.h"

#include <QStringList>

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

void rebuildPhoneLabel(PhoneInfo &phone);
void rebuildMailLabel(MailInfo &mail);
// Sets PrimaryNumber from the first phone of the primary type; keeps it otherwise.
void rebuildPrimaryNumber(ContactInfo &contact);

QString groupDisplayName(const QString &name);
QString groupIconKind(const QString &name);
// Every name followed by "::".
QString groupText(const QStringList &names);

// Name shortened to 12 characters and "..." when longer.
QString elide12(const QString &name);

} // namespace Records
