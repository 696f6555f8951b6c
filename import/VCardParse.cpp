#include "import/VCardParse.h"

#include "data/Records.h"
#include "data/TextCodec.h"
#include "import/ContactLabels.h"
#include "import/ImportContext.h"
#include "import/ImportRows.h"

#include <QHash>
#include <QStringConverter>
#include <QVarLengthArray>

#include <utility>

namespace {

struct CardPhone {
    // Empty while the line named no kind of number; settled when the card is read.
    QString type;
    QString number;
    QVariant account;
    // "item2" of "item2.TEL": Apple names such numbers by an X-ABLabel of the group.
    QString group;
    // 1 for the most preferred; 0 when not marked.
    int pref = 0;
};

struct Card {
    bool hasName = false;
    // An N line gave a first or a last name.
    bool hasN = false;
    QString firstName;
    QString lastName;
    QString formattedName;
    QList<CardPhone> phones;
    QVariant primary;
    QStringList mails;
    QStringList groups;
    QString category;
    QHash<QString, QString> labels;
    QVariant frequent;
    QVariant photo;
    QVariant ring;
    QVariant ringIndex;
    // Per account type (Work, Home, Mobile, Fax): no phone before this one still
    // waits for an account of the type.
    int accountFrom[4] = { 0, 0, 0, 0 };

    bool hasContent() const
    {
        return hasName || !phones.isEmpty() || !mails.isEmpty() || !groups.isEmpty() || frequent.isValid()
            || photo.isValid() || ring.isValid() || ringIndex.isValid();
    }
};

bool is(QStringView word, const char *name)
{
    return word.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// The lines of the text without their line ends.
class Lines
{
public:
    explicit Lines(QStringView text)
        : m_text(text)
    {
    }
    bool atEnd() const { return m_pos >= m_text.size(); }
    QStringView next()
    {
        qsizetype end = m_text.indexOf(QLatin1Char('\n'), m_pos);
        if (end < 0)
            end = m_text.size();
        QStringView line = m_text.mid(m_pos, end - m_pos);
        m_pos = end + 1;
        ++m_number;
        return line;
    }
    int number() const { return m_number; }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
    int m_number = 0;
};

// Whether a line's name and parameters (up to the first colon outside quotes)
// mark its value as quoted-printable.
bool isQuotedPrintable(QByteArrayView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return line.first(i).toByteArray().toUpper().contains("QUOTED-PRINTABLE");
    }
    return false;
}

// The file's logical lines, before any byte is decoded (writers fold at 75 bytes,
// also inside a character): a line end followed by a blank or a tab goes with
// that blank, and a quoted-printable value's soft line breaks ("=" at the line
// end) go with the "=". Every line end that went is put back after the logical
// line, as an empty line, so lines keep their numbers. Lines end in a line feed
// (also those that ended in CR LF, or CR CR LF as some phones write).
QByteArray logicalLines(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + 1);
    qsizetype pos = 0;
    auto next = [&bytes, &pos] {
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line(bytes.constData() + pos, end - pos);
        pos = end + 1;
        while (line.endsWith('\r'))
            line.chop(1);
        return line;
    };
    while (pos < bytes.size()) {
        const qsizetype start = out.size();
        out += next();
        int joined = 0;
        for (; pos < bytes.size() && (bytes[pos] == ' ' || bytes[pos] == '\t'); ++joined)
            out += next().sliced(1);
        if (out.endsWith('=') && isQuotedPrintable(QByteArrayView(out).sliced(start))) {
            for (; out.endsWith('=') && pos < bytes.size(); ++joined) {
                out.chop(1);
                out += next();
            }
        }
        out.append(joined + 1, '\n');
    }
    return out;
}

// A content line: [group "."] name [";" parameters] ":" value.
struct Property {
    QStringView group;
    QStringView name;
    QStringView params;
    QStringView value;
};

// False for a line without a colon (a continuation of a value that was not
// folded, as 2.1 writes base64, or no property at all).
bool splitProperty(QStringView line, Property &p)
{
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n && line[i] != QLatin1Char(';') && line[i] != QLatin1Char(':'))
        ++i;
    if (i == n)
        return false;
    const QStringView full = line.left(i).trimmed();
    const qsizetype dot = full.lastIndexOf(QLatin1Char('.'));
    p.group = dot < 0 ? QStringView() : full.left(dot);
    p.name = full.mid(dot + 1);
    const qsizetype paramsStart = i;
    // Parameter values may be quoted and hold colons.
    bool quoted = false;
    while (i < n && (quoted || line[i] != QLatin1Char(':'))) {
        if (line[i] == QLatin1Char('"'))
            quoted = !quoted;
        ++i;
    }
    if (i == n)
        return false;
    p.params = line.mid(paramsStart, i - paramsStart);
    p.value = line.mid(i + 1);
    return true;
}

QStringView unquoted(QStringView v)
{
    v = v.trimmed();
    if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
        v = v.mid(1, v.size() - 2);
    return v;
}

struct Params {
    // TYPE values and the bare words of 2.1 ("TEL;WORK;FAX"), as written.
    QVarLengthArray<QStringView, 6> types;
    QStringView charset;
    bool quotedPrintable = false;
    bool binary = false;
    int pref = 0;

    bool has(const char *type) const
    {
        for (QStringView t : types) {
            if (is(t, type))
                return true;
        }
        return false;
    }
};

Params parseParams(QStringView text)
{
    Params p;
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && (quoted || text[i] != QLatin1Char(';'))) {
            if (text[i] == QLatin1Char('"'))
                quoted = !quoted;
            continue;
        }
        const QStringView piece = text.mid(start, i - start).trimmed();
        start = i + 1;
        if (piece.isEmpty())
            continue;
        const qsizetype eq = piece.indexOf(QLatin1Char('='));
        if (eq < 0) {
            if (is(piece, "QUOTED-PRINTABLE"))
                p.quotedPrintable = true;
            else if (is(piece, "BASE64"))
                p.binary = true;
            else
                p.types.append(piece);
            continue;
        }
        const QStringView name = piece.left(eq).trimmed();
        const QStringView value = unquoted(piece.mid(eq + 1));
        if (is(name, "TYPE")) {
            for (QStringView t : value.split(QLatin1Char(','))) {
                t = unquoted(t);
                if (!t.isEmpty())
                    p.types.append(t);
            }
        } else if (is(name, "ENCODING")) {
            p.quotedPrintable = is(value, "QUOTED-PRINTABLE");
            p.binary = is(value, "B") || is(value, "BASE64");
        } else if (is(name, "CHARSET")) {
            p.charset = value;
        } else if (is(name, "PREF")) {
            const int level = value.toInt();
            p.pref = level > 0 ? level : 1;
        }
    }
    if (p.has("PREF") && (p.pref == 0 || p.pref > 1))
        p.pref = 1;
    return p;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Quoted-printable bytes undone; an "=" that starts no hexadecimal pair is dropped.
QByteArray fromQuotedPrintable(QStringView value)
{
    const QByteArray in = value.toUtf8();
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] != '=') {
            out.append(in[i]);
            continue;
        }
        const int high = i + 2 < in.size() ? hexDigit(in[i + 1]) : -1;
        const int low = i + 2 < in.size() ? hexDigit(in[i + 2]) : -1;
        if (high >= 0 && low >= 0) {
            out.append(char(high * 16 + low));
            i += 2;
        }
    }
    return out;
}

// The value with quoted-printable undone in its character set (UTF-8 unless
// named); `storage` holds it when there was something to undo.
QStringView decoded(QStringView value, const Params &p, QString &storage)
{
    if (!p.quotedPrintable)
        return value;
    const QString charset = p.charset.isEmpty() ? QStringLiteral("UTF-8") : p.charset.toString();
    storage = TextCodec::decode(charset, fromQuotedPrintable(value));
    return storage;
}

// vCard escapes undone: "\\", "\,", "\;", "\:" and "\n" (a line break); any other
// backslash stays.
QString unescaped(QStringView v)
{
    if (!v.contains(QLatin1Char('\\')))
        return v.toString();
    QString out;
    out.reserve(v.size());
    for (qsizetype i = 0; i < v.size(); ++i) {
        const QChar c = v[i];
        if (c != QLatin1Char('\\') || i + 1 == v.size()) {
            out.append(c);
            continue;
        }
        const QChar e = v[++i];
        if (e == QLatin1Char('n') || e == QLatin1Char('N'))
            out.append(QLatin1Char('\n'));
        else if (e == QLatin1Char('\\') || e == QLatin1Char(',') || e == QLatin1Char(';') || e == QLatin1Char(':'))
            out.append(e);
        else
            out.append(c).append(e);
    }
    return out;
}

// The parts of a value between unescaped separators, still escaped.
QList<QStringView> splitUnescaped(QStringView v, QChar separator)
{
    QList<QStringView> parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] == QLatin1Char('\\'))
            ++i;
        else if (v[i] == separator) {
            parts.append(v.mid(start, i - start));
            start = i + 1;
        }
    }
    parts.append(v.mid(start));
    return parts;
}

// An X-MARLO- value: as written, without the blanks that end the line.
QString ownValue(QStringView value)
{
    while (!value.isEmpty() && value.back().isSpace())
        value.chop(1);
    return value.toString();
}

// The value as text: decoded and unescaped.
QString text(const Property &prop, const Params &params)
{
    QString storage;
    return unescaped(decoded(prop.value, params, storage));
}

// The phone type a TEL line names; empty when it names none (VOICE or nothing).
QString telType(const Params &p)
{
    const bool work = p.has("WORK");
    if (p.has("FAX"))
        return work ? QStringLiteral("Work Fax") : p.has("HOME") ? QStringLiteral("Home Fax") : QStringLiteral("Fax");
    // Outlook's X-MS-TEL writes the company's number so.
    if (p.has("COMPANY"))
        return QStringLiteral("Company Main");
    for (QStringView t : p.types) {
        const QString type = ContactLabels::phoneType(t);
        if (type.isEmpty() || type == QLatin1String("Work") || type == QLatin1String("Home"))
            continue;
        if (type == QLatin1String("Main") && work)
            return QStringLiteral("Company Main");
        return type;
    }
    if (p.has("HOME"))
        return QStringLiteral("Home");
    if (work)
        return QStringLiteral("Work");
    return QString();
}

// Work 0, Home 1, Mobile 2, Fax 3; -1 for none.
int accountType(const Params &p)
{
    if (p.has("WORK"))
        return 0;
    if (p.has("HOME"))
        return 1;
    if (p.has("MOBILE") || p.has("CELL"))
        return 2;
    if (p.has("FAX"))
        return 3;
    return -1;
}

void addPhone(Card &card, const Property &prop, const Params &params)
{
    QString number = text(prop, params).trimmed();
    // vCard 4.0 writes numbers as tel: URIs.
    if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        number = number.mid(4).trimmed();
    if (number.isEmpty())
        return;
    card.phones.append(CardPhone { telType(params), number, QVariant(), prop.group.toString(), params.pref });
}

void setName(Card &card, const Property &prop, const Params &params)
{
    card.hasName = true;
    if (card.hasN)
        return;
    // Family; given; additional; prefixes; suffixes: only the first two are ours.
    QString storage;
    const QList<QStringView> parts = splitUnescaped(decoded(prop.value, params, storage), QLatin1Char(';'));
    const QString last = unescaped(parts.value(0)).trimmed();
    const QString first = unescaped(parts.value(1)).trimmed();
    if (last.isEmpty() && first.isEmpty())
        return;
    card.lastName = last;
    card.firstName = first;
    card.hasN = true;
}

void setCategory(Card &card, const Property &prop, const Params &params)
{
    if (!card.category.isEmpty())
        return;
    QString storage;
    for (QStringView part : splitUnescaped(decoded(prop.value, params, storage), QLatin1Char(','))) {
        const QString category = unescaped(part).trimmed();
        if (!category.isEmpty() && !ContactLabels::isAllContactsGroup(category)) {
            card.category = category;
            return;
        }
    }
}

void setAccount(Card &card, const Property &prop, const Params &params)
{
    // An account belongs to the card's first phone of its type still without one;
    // the search goes on where the last one of the type ended.
    static const QString types[4]
        = { QStringLiteral("Work"), QStringLiteral("Home"), QStringLiteral("Mobile"), QStringLiteral("Fax") };
    const int slot = accountType(params);
    if (slot < 0)
        return;
    for (int &i = card.accountFrom[slot]; i < card.phones.size(); ++i) {
        CardPhone &phone = card.phones[i];
        if (phone.type == types[slot] && !phone.account.isValid()) {
            phone.account = ImportValues::integer(prop.value.toString());
            ++i;
            return;
        }
    }
}

// One property of an open card.
void take(Card &card, const Property &prop, const Params &params)
{
    const QStringView name = prop.name;
    if (is(name, "N")) {
        setName(card, prop, params);
    } else if (is(name, "FN")) {
        card.hasName = true;
        if (card.formattedName.isEmpty())
            card.formattedName = text(prop, params).trimmed();
    } else if (is(name, "TEL") || is(name, "X-MS-TEL")) {
        addPhone(card, prop, params);
    } else if (is(name, "EMAIL")) {
        const QString mail = text(prop, params).trimmed();
        if (!mail.isEmpty())
            card.mails.append(mail);
    } else if (is(name, "CATEGORIES")) {
        setCategory(card, prop, params);
    } else if (is(name, "X-ABLABEL")) {
        if (!prop.group.isEmpty())
            card.labels.insert(prop.group.toString(), text(prop, params));
    } else if (name.startsWith(QLatin1String("X-MARLO-"), Qt::CaseInsensitive)) {
        // Our own properties carry their values as they stand.
        const QStringView own = name.mid(8);
        if (is(own, "ACCOUNT")) {
            setAccount(card, prop, params);
        } else if (is(own, "GROUP")) {
            const QString group = ownValue(prop.value);
            if (!group.isEmpty())
                card.groups.append(group);
        } else if (is(own, "FREQUENT")) {
            card.frequent = ImportValues::flag(ownValue(prop.value));
        } else if (is(own, "PHOTO")) {
            card.photo = ownValue(prop.value);
        } else if (is(own, "RING")) {
            card.ring = ownValue(prop.value);
        } else if (is(own, "RING-INDEX")) {
            card.ringIndex = ImportValues::integer(ownValue(prop.value));
        }
    }
}

// What can only be settled once the whole card is read.
void finish(Card &card)
{
    // The formatted name stands for a card without names of its own, whole, as
    // the program that wrote it showed it.
    if (!card.hasN && !card.formattedName.isEmpty())
        card.firstName = card.formattedName;

    bool hasWork = false;
    for (CardPhone &phone : card.phones) {
        if (phone.type.isEmpty() && !phone.group.isEmpty())
            phone.type = ContactLabels::phoneType(card.labels.value(phone.group));
        hasWork = hasWork || phone.type == QLatin1String("Work");
    }
    // A number of no kind is the work number while the card has none.
    const CardPhone *preferred = nullptr;
    for (CardPhone &phone : card.phones) {
        if (phone.type.isEmpty()) {
            phone.type = hasWork ? QStringLiteral("Other") : QStringLiteral("Work");
            hasWork = true;
        }
        if (phone.pref > 0 && (!preferred || phone.pref < preferred->pref))
            preferred = &phone;
    }
    if (preferred)
        card.primary = Records::phoneTypeIndexOfWord(preferred->type);

    if (card.groups.isEmpty() && !card.category.isEmpty())
        card.groups.append(card.category);
}

// Reads every card; false, with the line, on a misplaced "BEGIN:" or "END:".
bool parseCards(const QString &text, QList<Card> &cards, int *badLine)
{
    bool inCard = false;
    bool cardEnded = false;
    Lines lines(text);
    while (!lines.atEnd()) {
        const QStringView line = lines.next();
        const int number = lines.number();
        Property prop;
        if (!splitProperty(line, prop))
            continue;
        const bool begin = is(prop.name, "BEGIN");
        if (begin || is(prop.name, "END")) {
            const bool vcard = is(prop.value.trimmed(), "VCARD");
            if (!vcard || (begin ? inCard : cardEnded)) {
                *badLine = number;
                return false;
            }
            if (inCard && !begin)
                finish(cards.last());
            inCard = begin;
            cardEnded = !begin;
            if (begin)
                cards.append(Card());
            continue;
        }
        if (!inCard)
            continue;
        const Params params = parseParams(prop.params);
        if (!params.binary)
            take(cards.last(), prop, params);
    }
    if (inCard)
        finish(cards.last());
    return true;
}

void buildRows(const QList<Card> &cards, ImportContext &ctx, ImportRows &rows)
{
    for (const Card &card : cards) {
        const int id = ctx.contactId();
        if (card.hasContent()) {
            ImportRows::Contact c;
            c.id = id;
            c.FirstName = card.firstName;
            c.LastName = card.lastName;
            c.PrimaryIndex = card.primary;
            c.Frequent = card.frequent;
            c.PhotoUrl = card.photo;
            c.RingtoneUrl = card.ring;
            c.RingtoneIndex = card.ringIndex;
            rows.addContact(c);
        }
        for (const CardPhone &p : card.phones)
            rows.addPhone(id, p.type, p.number, p.account, ImportRows::Counting::FromOne);
        for (const QString &mail : card.mails)
            rows.addMail(id, QVariant(), mail);
        for (const QString &group : card.groups) {
            if (!ctx.isKnownGroup(group)) {
                const int groupId = ctx.idForNewGroup(group);
                rows.addGroup(groupId, group);
                ctx.addGroup(group, groupId);
            }
            rows.addMember(id, group);
        }
        ctx.advanceContactId();
        ctx.advanceGroupId();
    }
}

} // namespace

bool VCardParse::checkEncoding(const QByteArray &bytes, const QString &) const
{
    return fitsUtf8OrLocale(bytes);
}

Expected<ImportRows> VCardParse::read(QByteArray bytes, const QString &encoding, ImportContext &numbering)
{
    if (encoding != QLatin1String("UTF-8")) {
        // Where line ends and blanks are single bytes, folds are undone before the
        // bytes are decoded.
        if (TextCodec::encode(encoding, QStringLiteral("\n ")) == "\n ")
            bytes = logicalLines(bytes);
        const Expected<QString> text = decode(std::exchange(bytes, QByteArray()), encoding);
        if (!text)
            return text.result();
        bytes = TextCodec::encode(QStringLiteral("UTF-8"), *text);
    }
    QList<Card> cards;
    if (!bytes.isEmpty()) {
        // A UTF-16 or UTF-32 file (by its byte-order mark) is unfolded as UTF-8.
        const auto mark = QStringConverter::encodingForData(bytes);
        if (mark && *mark != QStringConverter::Utf8) {
            const Expected<QString> text = decodeUtf8(std::exchange(bytes, QByteArray()));
            if (!text)
                return text.result();
            bytes = text->toUtf8();
        }
        QByteArray lines = logicalLines(std::exchange(bytes, QByteArray()));
        const Expected<QString> text = decodeUtf8(std::exchange(lines, QByteArray()));
        if (!text)
            return text.result();
        int badLine = 0;
        if (!parseCards(*text, cards, &badLine))
            return Result::failure(tr("Line %1: a card begins or ends out of place.").arg(badLine));
    }
    bool anything = false;
    for (const Card &card : std::as_const(cards))
        anything = anything || card.hasContent();
    if (!anything)
        return Result::failure(tr("The file holds no contact."));

    ImportRows rows;
    buildRows(cards, numbering, rows);
    rows.normaliseAccounts();
    return Expected<ImportRows>(std::move(rows));
}
