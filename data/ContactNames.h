#pragma once

#include "data/ContactInfo.h"

#include <QString>

// How a contact's name is shown, sorted and found. A name written in Chinese,
// Japanese or Korean characters reads family name first, without a space
// ("张三" is LastName 张, FirstName 三); every other name reads given name first
// with a space ("Anna McLee"). The stored fields stay as they are.
namespace ContactNames {

// Whether the name is written in CJK characters and in no letters of another script.
bool familyFirst(const QString &firstName, const QString &lastName);
// The name as the lists and the editor's title show it.
QString displayName(const ContactInfo &contact);
// NamePinyin: the spelling of the name in the order it is shown, a space between
// the two names; NameInitials: its capitals in that order. The family name (the
// last name, or the first name when the last name is empty, where a whole
// Chinese name is usually typed) starts with its surname reading where it has
// one of its own (曾 Zeng, 万俟 Moqi).
void fillKeys(ContactInfo &contact);
// What the contact list sorts by (case-folded): NamePinyin, ":::", NameInitials;
// empty when both are.
QString sortKey(const ContactInfo &contact);

// Every text a search looks into, case-folded, without spaces, one per line: the
// spelling of the name in both orders, its initials in both orders, its
// characters in both orders, and each number without spaces, dashes, dots,
// parentheses and "+". The name is spelt with every reading of its characters
// (重 as zhong and as chong); a name whose readings combine in more ways than
// the text should hold is spelt only as it sorts, and `complete` is false.
struct SearchText {
    QString text;
    bool complete = true;
};
SearchText searchText(const ContactInfo &contact);
// Whether a search for `needle` (a searchNeedle()) finds the contact whose
// searchText() is `text`.
bool found(const ContactInfo &contact, const SearchText &text, const QString &needle);
// The typed search as it is looked for in searchText(): case-folded, without
// spaces; a number typed with dashes, dots, parentheses or "+" without them.
// Empty when nothing but spaces was typed.
QString searchNeedle(const QString &typed);

} // namespace ContactNames
