#include "data/PinyinKey.h"

#include <algorithm>
#include <vector>

namespace PinyinKey {

namespace {

// Every table character lies in the CJK Unified Ideographs block, so flat
// arrays over that block, built once, answer each lookup in constant time.
constexpr char32_t kFirst = 0x4E00;
constexpr char32_t kLast = 0x9FFF;

bool inBlock(char32_t codePoint)
{
    return codePoint >= kFirst && codePoint <= kLast;
}

const std::vector<short> &index()
{
    static const std::vector<short> built = [] {
        std::vector<short> v(kLast - kFirst + 1, -1);
        for (int i = 0; i < kTableSize; ++i) {
            for (const char16_t *c = kTable[i].chars; *c; ++c) {
                if (inBlock(*c))
                    v[*c - kFirst] = short(i);
            }
        }
        return v;
    }();
    return built;
}

// All readings of the table's characters, one run per character.
struct ReadingIndex {
    std::vector<QLatin1String> syllables;
    std::vector<int> start; // per block position; -1 outside the table
    std::vector<unsigned char> count;
};

const ReadingIndex &readingIndex()
{
    static const ReadingIndex built = [] {
        ReadingIndex r;
        r.start.assign(kLast - kFirst + 1, -1);
        r.count.assign(kLast - kFirst + 1, 0);
        std::vector<const char *> others(kLast - kFirst + 1, nullptr);
        for (int i = 0; i < kOtherReadingsSize; ++i) {
            if (inBlock(kOtherReadings[i].ch))
                others[kOtherReadings[i].ch - kFirst] = kOtherReadings[i].syllables;
        }
        const std::vector<short> &rows = index();
        for (size_t pos = 0; pos < rows.size(); ++pos) {
            if (rows[pos] < 0)
                continue;
            r.start[pos] = int(r.syllables.size());
            r.syllables.push_back(QLatin1String(kTable[rows[pos]].syllable));
            for (const char *s = others[pos]; s && *s;) {
                const char *end = s;
                while (*end && *end != ' ')
                    ++end;
                r.syllables.push_back(QLatin1String(s, end));
                s = *end ? end + 1 : end;
            }
            r.count[pos] = static_cast<unsigned char>(r.syllables.size() - size_t(r.start[pos]));
        }
        return r;
    }();
    return built;
}

// kSurnames by first character, compounds before single characters; per block
// position the first entry that starts with it.
struct SurnameIndex {
    std::vector<const Surname *> sorted;
    std::vector<short> first;
};

const SurnameIndex &surnameIndex()
{
    static const SurnameIndex built = [] {
        SurnameIndex s;
        for (int i = 0; i < kSurnamesSize; ++i)
            s.sorted.push_back(&kSurnames[i]);
        std::stable_sort(s.sorted.begin(), s.sorted.end(), [](const Surname *a, const Surname *b) {
            if (a->chars[0] != b->chars[0])
                return a->chars[0] < b->chars[0];
            return std::char_traits<char16_t>::length(a->chars) > std::char_traits<char16_t>::length(b->chars);
        });
        s.first.assign(kLast - kFirst + 1, -1);
        for (size_t i = s.sorted.size(); i-- > 0;) {
            if (inBlock(s.sorted[i]->chars[0]))
                s.first[s.sorted[i]->chars[0] - kFirst] = short(i);
        }
        return s;
    }();
    return built;
}

} // namespace

const char *syllableOf(char32_t codePoint)
{
    if (!inBlock(codePoint))
        return nullptr;
    const short row = index()[codePoint - kFirst];
    return row < 0 ? nullptr : kTable[row].syllable;
}

Readings readingsOf(char32_t codePoint)
{
    if (!inBlock(codePoint))
        return {};
    const ReadingIndex &r = readingIndex();
    const int start = r.start[codePoint - kFirst];
    if (start < 0)
        return {};
    return { r.syllables.data() + start, r.count[codePoint - kFirst] };
}

const Surname *surnameAt(QStringView text)
{
    if (text.isEmpty() || !inBlock(text[0].unicode()))
        return nullptr;
    const SurnameIndex &s = surnameIndex();
    const short first = s.first[text[0].unicode() - kFirst];
    if (first < 0)
        return nullptr;
    for (size_t i = size_t(first); i < s.sorted.size() && s.sorted[i]->chars[0] == text[0].unicode(); ++i) {
        const QStringView chars(s.sorted[i]->chars);
        if (text.startsWith(chars))
            return s.sorted[i];
    }
    return nullptr;
}

QByteArray toPinyin(const QByteArray &utf8)
{
    QByteArray out;
    out.reserve(utf8.size() * 2);
    const int n = int(utf8.size());
    int i = 0;
    while (i < n) {
        const uchar b = uchar(utf8[i]);
        if (b >= 0xE0 && b < 0xF0 && i + 2 < n) {
            const char32_t cp
                = ((b * 4096u) + ((uchar(utf8[i + 1]) * 64u) % 4096u) + (uchar(utf8[i + 2]) % 64u)) & 0xFFFFu;
            if (const char *syllable = syllableOf(cp))
                out.append(syllable);
            i += 3;
        } else if (b >= 0xF0 && i + 3 < n) {
            // Characters above U+FFFF have no reading; keep them as written.
            out.append(utf8.constData() + i, 4);
            i += 4;
        } else {
            out.append(char(b));
            ++i;
        }
    }
    return out;
}

QByteArray toInitials(const QByteArray &spelling)
{
    QByteArray out;
    for (const char c : spelling) {
        if (c >= 'A' && c <= 'Z')
            out.append(c);
    }
    return out;
}

QString pinyinOf(const QString &text)
{
    if (text.isEmpty())
        return QString();
    return QString::fromUtf8(toPinyin(text.toUtf8()));
}

QString initialsOf(const QString &text)
{
    if (text.isEmpty())
        return QString();
    return QString::fromUtf8(toInitials(toPinyin(text.toUtf8())));
}

namespace {

void appendSpelling(QString &out, QStringView text)
{
    for (const QChar c : text) {
        if (const char *syllable = syllableOf(c.unicode()))
            out += QLatin1String(syllable);
        else
            out += c;
    }
}

} // namespace

QString spell(const QString &text)
{
    QString out;
    out.reserve(text.size() * 3);
    appendSpelling(out, text);
    return out;
}

QString spellFamilyName(const QString &text)
{
    const Surname *surname = surnameAt(text);
    if (!surname)
        return spell(text);
    QString out;
    out.reserve(text.size() * 3);
    out += QLatin1String(surname->reading);
    appendSpelling(out, QStringView(text).mid(qsizetype(std::char_traits<char16_t>::length(surname->chars))));
    return out;
}

} // namespace PinyinKey
