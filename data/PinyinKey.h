#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QStringView>

// Sort and search keys that spell Chinese names in Hanyu Pinyin.
namespace PinyinKey {

struct TableEntry {
    const char *syllable; // capitalised, without tone marks ("Zhang", "Lve")
    const char16_t *chars; // every GB 2312 character read with it
};

extern const TableEntry kTable[];
extern const int kTableSize;

// The readings of a character besides its kTable one, for search only.
struct OtherReadings {
    char16_t ch;
    const char *syllables; // capitalised, space-separated, most common first
};

extern const OtherReadings kOtherReadings[];
extern const int kOtherReadingsSize;

// A family name read otherwise than its characters usually are.
struct Surname {
    const char16_t *chars; // one character, or the two of a compound surname
    const char *reading; // one capitalised syllable per character ("Zeng", "MoQi")
};

extern const Surname kSurnames[];
extern const int kSurnamesSize;

// Spells every character of the table by its syllable; drops other characters
// of U+0800..U+FFFF; keeps ASCII, two-byte and four-byte sequences as they are.
QByteArray toPinyin(const QByteArray &utf8);
// The upper-case ASCII letters of a spelling, in order.
QByteArray toInitials(const QByteArray &spelling);

// Syllable of one code point, or nullptr when the table has none.
const char *syllableOf(char32_t codePoint);

// Every syllable of one code point, its syllableOf() first; none outside the table.
struct Readings {
    const QLatin1String *first = nullptr;
    int count = 0;
    const QLatin1String *begin() const { return first; }
    const QLatin1String *end() const { return first + count; }
};
Readings readingsOf(char32_t codePoint);

QString pinyinOf(const QString &text);
QString initialsOf(const QString &text);

// The spelling of a name for its sort and search key: characters of the table
// by their syllable, every other character as written, so that kana, hangul and
// Cyrillic names keep a key of their own.
QString spell(const QString &text);
// spell() of a text that starts with a family name: a surname of kSurnames at
// its start reads as the surname, the rest as spell() reads it.
QString spellFamilyName(const QString &text);
// The kSurnames entry the text starts with (a compound before a single
// character), or nullptr.
const Surname *surnameAt(QStringView text);

} // namespace PinyinKey
