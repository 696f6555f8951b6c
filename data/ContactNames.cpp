#include "data/ContactNames.h"

#include "data/PinyinKey.h"
#include "data/Records.h"

#include <QVarLengthArray>

#include <algorithm>
#include <vector>

namespace ContactNames {

namespace {

bool isCjk(QChar::Script script)
{
    return script == QChar::Script_Han || script == QChar::Script_Hiragana || script == QChar::Script_Katakana
        || script == QChar::Script_Hangul || script == QChar::Script_Bopomofo;
}

// 0: no letter of any script; 1: CJK only; -1: a letter of another script.
int cjkState(const QString &text)
{
    int state = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text[i].unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        const QChar::Script script = QChar::script(cp);
        if (isCjk(script))
            state = 1;
        else if (script != QChar::Script_Common && script != QChar::Script_Inherited && QChar::isLetter(cp))
            return -1;
    }
    return state;
}

QString initials(const QString &spelling)
{
    QString out;
    for (const QChar c : spelling) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            out += c;
    }
    return out;
}

QString joined(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return a + b;
    return a + QLatin1Char(' ') + b;
}

bool isNumberPunctuation(QChar c)
{
    return c == QLatin1Char('-') || c == QLatin1Char('.') || c == QLatin1Char('(') || c == QLatin1Char(')')
        || c == QLatin1Char('+');
}

QString withoutSpaces(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            out += c;
    }
    return out;
}

// The two names spelt for the key, in the order shown.
struct Spelled {
    QString first;
    QString second;
};

Spelled spelledNames(const ContactInfo &c, bool family)
{
    const bool lastIsFamily = !c.LastName.isEmpty();
    QString last = PinyinKey::spellFamilyName(c.LastName);
    QString given = lastIsFamily ? PinyinKey::spell(c.FirstName) : PinyinKey::spellFamilyName(c.FirstName);
    if (family)
        return { std::move(last), std::move(given) };
    return { std::move(given), std::move(last) };
}

// Reading combinations a search text spells out; past this a search walks the
// characters' readings instead (matchesReadings()), so that a long company name
// of polyphonic characters does not spell itself hundreds of times.
constexpr int kMaxSpelledReadings = 16;

// A character of a name as a search text spells it.
struct Unit {
    char32_t folded; // case-folded, as a search compares it
    bool capital; // an ASCII capital, which is an initial of its own
    PinyinKey::Readings readings; // none outside the table
    int sortIndex; // the reading the key spells: the surname's in a family name
};
using Units = QVarLengthArray<Unit, 16>;

// The characters of `text` but spaces; `surname` is the one it starts with.
void appendUnits(Units &units, const QString &text, const PinyinKey::Surname *surname)
{
    const qsizetype surnameChars = surname ? qsizetype(std::char_traits<char16_t>::length(surname->chars)) : 0;
    const char *syllable = surname ? surname->reading : nullptr;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text[i].unicode();
        const bool inSurname = i < surnameChars;
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (QChar::isSpace(cp))
            continue;
        Unit unit { QChar::toCaseFolded(cp), cp >= 'A' && cp <= 'Z', PinyinKey::readingsOf(cp), 0 };
        if (inSurname) {
            const char *end = syllable + 1;
            while (*end >= 'a' && *end <= 'z')
                ++end;
            const QLatin1String wanted(syllable, end);
            for (int k = 0; k < unit.readings.count; ++k) {
                if (unit.readings.first[k] == wanted)
                    unit.sortIndex = k;
            }
            syllable = end;
        }
        units.append(unit);
    }
}

// The d-th reading of a unit, counting its sort reading as the 0th.
QLatin1String readingAt(const Unit &unit, int d)
{
    if (d == 0)
        return unit.readings.first[unit.sortIndex];
    return unit.readings.first[d <= unit.sortIndex ? d - 1 : d];
}

void appendFolded(QString &out, char32_t folded)
{
    if (QChar::requiresSurrogates(folded)) {
        out += QChar(QChar::highSurrogate(folded));
        out += QChar(QChar::lowSurrogate(folded));
    } else {
        out += QChar(char16_t(folded));
    }
}

// Syllables are capitalised ASCII; a search compares them in lower case.
void appendLower(QString &out, QLatin1String syllable)
{
    const qsizetype at = out.size();
    out += syllable;
    out[at] = QChar(out[at].unicode() | 0x20);
}

void appendSpelling(QString &out, const Unit *begin, const Unit *end, const int *digit)
{
    for (const Unit *u = begin; u != end; ++u, ++digit) {
        if (u->readings.count > 0)
            appendLower(out, readingAt(*u, *digit));
        else
            appendFolded(out, u->folded);
    }
}

void appendInitials(QString &out, const Unit *begin, const Unit *end, const int *digit)
{
    for (const Unit *u = begin; u != end; ++u, ++digit) {
        if (u->readings.count > 0)
            out += QChar(readingAt(*u, *digit).front().unicode() | 0x20);
        else if (u->capital)
            appendFolded(out, u->folded);
    }
}

void appendCharacters(QString &out, const Unit *begin, const Unit *end)
{
    for (const Unit *u = begin; u != end; ++u)
        appendFolded(out, u->folded);
}

// The search text, one part per line, without empty or repeated parts.
class PartWriter
{
public:
    explicit PartWriter(qsizetype reserve) { m_out.reserve(reserve); }
    QString &begin()
    {
        if (!m_parts.isEmpty())
            m_out += QLatin1Char('\n');
        m_start = m_out.size();
        return m_out;
    }
    void end()
    {
        const QStringView part = QStringView(m_out).mid(m_start);
        bool keep = !part.isEmpty();
        for (qsizetype i = 0; keep && i < m_parts.size(); ++i)
            keep = QStringView(m_out).mid(m_parts[i].first, m_parts[i].second) != part;
        if (keep)
            m_parts.append({ m_start, part.size() });
        else
            m_out.truncate(m_parts.isEmpty() ? 0 : m_start - 1);
    }
    QString take() { return std::move(m_out); }

private:
    QString m_out;
    qsizetype m_start = 0;
    QVarLengthArray<std::pair<qsizetype, qsizetype>, 32> m_parts;
};

// One way a search may read a unit, in lower case: a syllable, an initial or
// the character itself.
struct Piece {
    char16_t text[8];
    qsizetype size;
};

// The pieces of each unit in turn: unit i reads as pieces[starts[i]] up to
// pieces[starts[i + 1]]. A unit that reads as nothing (not a capital, for
// initials) is left out.
struct Lattice {
    QVarLengthArray<Piece, 48> pieces;
    QVarLengthArray<qsizetype, 17> starts { 0 };
};

void addPieces(Lattice &lattice, const Unit &unit, bool initialsOnly)
{
    if (unit.readings.count > 0) {
        for (const QLatin1String &reading : unit.readings) {
            Piece piece {};
            piece.size = initialsOnly ? 1 : std::min<qsizetype>(reading.size(), 8);
            for (qsizetype i = 0; i < piece.size; ++i)
                piece.text[i] = char16_t(reading.at(i).unicode() | 0x20);
            lattice.pieces.append(piece);
        }
    } else if (!initialsOnly || unit.capital) {
        Piece piece {};
        if (QChar::requiresSurrogates(unit.folded)) {
            piece.text[0] = QChar::highSurrogate(unit.folded);
            piece.text[1] = QChar::lowSurrogate(unit.folded);
            piece.size = 2;
        } else {
            piece.text[0] = char16_t(unit.folded);
            piece.size = 1;
        }
        lattice.pieces.append(piece);
    } else {
        return;
    }
    lattice.starts.append(lattice.pieces.size());
}

bool agree(const char16_t *a, const char16_t *b, qsizetype length)
{
    for (qsizetype i = 0; i < length; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// Whether `needle` is part of some reading of the lattice, each unit read one way.
bool latticeContains(const Lattice &lattice, QStringView needle)
{
    const qsizetype n = needle.size();
    const char16_t *wanted = needle.utf16();
    // reach[j]: the first j letters of the needle end where the last unit ended;
    // next[j]: the same after this unit. On the stack for the needles people type.
    char small[2 * 64] = {};
    std::vector<char> large;
    char *reach = small;
    char *next = small + 64;
    if (n + 1 > 64) {
        large.assign(size_t(2 * (n + 1)), 0);
        reach = large.data();
        next = reach + n + 1;
    }
    for (qsizetype u = 0; u + 1 < lattice.starts.size(); ++u) {
        std::fill(next, next + n + 1, 0);
        for (qsizetype p = lattice.starts[u]; p < lattice.starts[u + 1]; ++p) {
            const Piece &piece = lattice.pieces[p];
            // A match that starts in this piece...
            for (qsizetype k = 0; k < piece.size; ++k) {
                const qsizetype tail = piece.size - k;
                if (agree(piece.text + k, wanted, std::min(tail, n))) {
                    if (tail >= n)
                        return true;
                    next[tail] = true;
                }
            }
            // ... or goes on through it.
            for (qsizetype j = 1; j < n; ++j) {
                const qsizetype rest = n - j;
                if (reach[j] && agree(piece.text, wanted + j, std::min(piece.size, rest))) {
                    if (piece.size >= rest)
                        return true;
                    next[j + piece.size] = true;
                }
            }
        }
        std::swap(reach, next);
    }
    return false;
}

// Both orders of the names are tried, so which comes first does not matter.
bool matchesReadings(const ContactInfo &c, const QString &needle)
{
    Units units;
    appendUnits(units, c.FirstName, nullptr);
    const qsizetype split = units.size();
    appendUnits(units, c.LastName, nullptr);
    for (const bool initialsOnly : { false, true }) {
        Lattice ab;
        Lattice ba;
        for (qsizetype i = 0; i < units.size(); ++i) {
            addPieces(ab, units[i], initialsOnly);
            addPieces(ba, units[(i + split) % units.size()], initialsOnly);
        }
        if (latticeContains(ab, needle) || latticeContains(ba, needle))
            return true;
    }
    return false;
}

} // namespace

bool familyFirst(const QString &firstName, const QString &lastName)
{
    const int first = cjkState(firstName);
    const int last = cjkState(lastName);
    return first >= 0 && last >= 0 && (first > 0 || last > 0);
}

QString displayName(const ContactInfo &c)
{
    if (familyFirst(c.FirstName, c.LastName))
        return c.LastName + c.FirstName;
    return joined(c.FirstName, c.LastName);
}

void fillKeys(ContactInfo &c)
{
    const Spelled spelled = spelledNames(c, familyFirst(c.FirstName, c.LastName));
    Records::setChanged(c.NamePinyin, joined(spelled.first, spelled.second));
    Records::setChanged(c.NameInitials, initials(spelled.first) + initials(spelled.second));
}

QString sortKey(const ContactInfo &c)
{
    if (c.NamePinyin.isEmpty() && c.NameInitials.isEmpty())
        return QString();
    return (c.NamePinyin + QStringLiteral(":::") + c.NameInitials).toCaseFolded();
}

SearchText searchText(const ContactInfo &c)
{
    const bool family = familyFirst(c.FirstName, c.LastName);
    const bool lastIsFamilyName = !c.LastName.isEmpty();
    const PinyinKey::Surname *surname = PinyinKey::surnameAt(lastIsFamilyName ? c.LastName : c.FirstName);
    const bool firstIsFamilyName = family == lastIsFamilyName;
    Units units;
    appendUnits(units, family ? c.LastName : c.FirstName, firstIsFamilyName ? surname : nullptr);
    const qsizetype split = units.size();
    appendUnits(units, family ? c.FirstName : c.LastName, firstIsFamilyName ? nullptr : surname);

    int combinations = 1;
    for (const Unit &u : units) {
        combinations *= std::max(1, u.readings.count);
        if (combinations > kMaxSpelledReadings)
            break;
    }
    const bool complete = combinations <= kMaxSpelledReadings;

    const Unit *a = units.begin();
    const Unit *mid = units.begin() + split;
    const Unit *b = units.end();
    PartWriter writer(units.size() * 8 * qsizetype(complete ? combinations : 1));
    QVarLengthArray<int, 16> digits(units.size(), 0);
    const int *da = digits.data();
    const int *db = digits.data() + split;
    for (int n = 0; n < (complete ? combinations : 1); ++n) {
        QString &ab = writer.begin();
        appendSpelling(ab, a, mid, da);
        appendSpelling(ab, mid, b, db);
        writer.end();
        QString &ba = writer.begin();
        appendSpelling(ba, mid, b, db);
        appendSpelling(ba, a, mid, da);
        writer.end();
        QString &initialsAb = writer.begin();
        appendInitials(initialsAb, a, mid, da);
        appendInitials(initialsAb, mid, b, db);
        writer.end();
        QString &initialsBa = writer.begin();
        appendInitials(initialsBa, mid, b, db);
        appendInitials(initialsBa, a, mid, da);
        writer.end();
        for (qsizetype i = units.size(); i-- > 0;) {
            if (++digits[i] < std::max(1, units[i].readings.count))
                break;
            digits[i] = 0;
        }
    }
    QString &charsAb = writer.begin();
    appendCharacters(charsAb, a, mid);
    appendCharacters(charsAb, mid, b);
    writer.end();
    QString &charsBa = writer.begin();
    appendCharacters(charsBa, mid, b);
    appendCharacters(charsBa, a, mid);
    writer.end();
    for (const PhoneInfo &phone : c.PhoneList) {
        QString &number = writer.begin();
        for (const QChar ch : phone.phonenumber) {
            if (!ch.isSpace() && !isNumberPunctuation(ch))
                number += ch.toCaseFolded();
        }
        writer.end();
    }
    return { writer.take(), complete };
}

bool found(const ContactInfo &contact, const SearchText &text, const QString &needle)
{
    return text.text.contains(needle) || (!text.complete && matchesReadings(contact, needle));
}

QString searchNeedle(const QString &typed)
{
    const QString needle = withoutSpaces(typed).toCaseFolded();
    QString digits;
    for (const QChar c : needle) {
        if (c.isDigit())
            digits += c;
        else if (!isNumberPunctuation(c))
            return needle;
    }
    return digits.isEmpty() ? needle : digits;
}

} // namespace ContactNames
