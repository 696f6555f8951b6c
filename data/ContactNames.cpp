#include "data/ContactNames.h"

#include "data/PinyinKey.h"

#include <QStringList>

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
    c.NamePinyin = joined(spelled.first, spelled.second);
    c.NameInitials = initials(spelled.first) + initials(spelled.second);
}

QString sortKey(const ContactInfo &c)
{
    if (c.NamePinyin.isEmpty() && c.NameInitials.isEmpty())
        return QString();
    return (c.NamePinyin + QStringLiteral(":::") + c.NameInitials).toCaseFolded();
}

QString searchText(const ContactInfo &c)
{
    const bool family = familyFirst(c.FirstName, c.LastName);
    const QString &first = family ? c.LastName : c.FirstName;
    const QString &second = family ? c.FirstName : c.LastName;
    const Spelled spelled = spelledNames(c, family);
    const QString &a = spelled.first;
    const QString &b = spelled.second;
    QStringList parts { a + b, b + a, initials(a) + initials(b), initials(b) + initials(a), first + second,
        second + first };
    for (const PhoneInfo &phone : c.PhoneList) {
        QString number = phone.phonenumber;
        number.removeIf(isNumberPunctuation);
        parts.append(number);
    }
    for (QString &part : parts)
        part = withoutSpaces(part).toCaseFolded();
    parts.removeAll(QString());
    parts.removeDuplicates();
    return parts.join(QLatin1Char('\n'));
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
