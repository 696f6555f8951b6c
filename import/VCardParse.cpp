#include "import/VCardParse.h"

#include "data/Records.h"
#include "data/TextCodec.h"
#include "data/VCardLines.h"
#include "import/ContactLabels.h"
#include "import/ImportContext.h"
#include "import/ImportRows.h"

#include <QHash>
#include <QSet>
#include <QStringConverter>
#include <QVarLengthArray>

#include <map>
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

struct CardMail {
    // Empty when the line named no kind of address.
    QString type;
    QString address;
    QString group;
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
    QList<CardMail> mails;
    // The first ORG line: organisation and units.
    QString department;
    bool hasOrg = false;
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
        return hasName || !phones.isEmpty() || !mails.isEmpty() || !department.isEmpty() || !groups.isEmpty()
            || frequent.isValid() || photo.isValid() || ring.isValid() || ringIndex.isValid();
    }
};

bool is(QStringView word, const char *name)
{
    // Most words are told apart by their length alone.
    const QLatin1String n(name);
    return word.size() == n.size() && word.compare(n, Qt::CaseInsensitive) == 0;
}

// A content line: [group "."] name [";" parameters] ":" value, with its value
// decoded (quoted-printable undone where the property is read) but still escaped.
struct Property {
    QStringView group;
    QStringView name;
    QStringView params;
    QString value;
};

// The name and parameters of a line (the text before its value's colon).
void splitHead(QStringView head, Property &p)
{
    qsizetype i = head.indexOf(QLatin1Char(';'));
    if (i < 0)
        i = head.size();
    const QStringView full = head.left(i).trimmed();
    const qsizetype dot = full.lastIndexOf(QLatin1Char('.'));
    p.group = dot < 0 ? QStringView() : full.left(dot);
    p.name = full.mid(dot + 1);
    p.params = head.mid(i);
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

// The value as text: unescaped.
QString text(const Property &prop)
{
    return unescaped(prop.value);
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
    QString number = text(prop).trimmed();
    // vCard 4.0 writes numbers as tel: URIs.
    if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        number = number.mid(4).trimmed();
    if (number.isEmpty())
        return;
    card.phones.append(CardPhone { telType(params), number, QVariant(), prop.group.toString(), params.pref });
}

void setName(Card &card, const Property &prop)
{
    card.hasName = true;
    if (card.hasN)
        return;
    // Family; given; additional; prefixes; suffixes: only the first two are ours.
    const QList<QStringView> parts = splitUnescaped(prop.value, QLatin1Char(';'));
    const QString last = unescaped(parts.value(0)).trimmed();
    const QString first = unescaped(parts.value(1)).trimmed();
    if (last.isEmpty() && first.isEmpty())
        return;
    card.lastName = last;
    card.firstName = first;
    card.hasN = true;
}

// The first type word that names a kind of address: "TYPE=INTERNET,HOME",
// "type=home" and 2.1's bare "EMAIL;WORK" alike.
QString mailType(const Params &p)
{
    for (QStringView t : p.types) {
        const QString type = ContactLabels::mailType(t);
        if (!type.isEmpty())
            return type;
    }
    return QString();
}

void setDepartment(Card &card, const Property &prop)
{
    if (card.hasOrg)
        return;
    card.hasOrg = true;
    QStringList parts;
    for (QStringView part : splitUnescaped(prop.value, QLatin1Char(';')))
        parts.append(unescaped(part));
    card.department = ContactLabels::department(parts);
}

void setCategory(Card &card, const Property &prop)
{
    if (!card.category.isEmpty())
        return;
    for (QStringView part : splitUnescaped(prop.value, QLatin1Char(','))) {
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
            phone.account = ImportValues::integer(prop.value);
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
        setName(card, prop);
    } else if (is(name, "FN")) {
        card.hasName = true;
        if (card.formattedName.isEmpty())
            card.formattedName = text(prop).trimmed();
    } else if (is(name, "TEL") || is(name, "X-MS-TEL")) {
        addPhone(card, prop, params);
    } else if (is(name, "EMAIL")) {
        const QString mail = text(prop).trimmed();
        if (!mail.isEmpty())
            card.mails.append(CardMail { mailType(params), mail, prop.group.toString() });
    } else if (is(name, "ORG")) {
        setDepartment(card, prop);
    } else if (is(name, "CATEGORIES")) {
        setCategory(card, prop);
    } else if (is(name, "X-ABLABEL")) {
        if (!prop.group.isEmpty())
            card.labels.insert(prop.group.toString(), text(prop));
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

    // Apple names addresses by an X-ABLabel of the group too; a label of its own
    // making is some other address.
    for (CardMail &mail : card.mails) {
        if (!mail.type.isEmpty() || mail.group.isEmpty())
            continue;
        const QString label = card.labels.value(mail.group);
        if (!label.isEmpty()) {
            mail.type = ContactLabels::mailType(label);
            if (mail.type.isEmpty())
                mail.type = QStringLiteral("Other");
        }
    }

    if (card.groups.isEmpty() && !card.category.isEmpty())
        card.groups.append(card.category);
}

// Whether quoted-printable values of the property are undone: the properties we
// read as text. Our own properties carry their values as they stand.
bool readsQuotedPrintable(QStringView name)
{
    return is(name, "N") || is(name, "FN") || is(name, "TEL") || is(name, "X-MS-TEL") || is(name, "EMAIL")
        || is(name, "ORG") || is(name, "CATEGORIES") || is(name, "X-ABLABEL");
}

// The rows of one card, numbered on from `ctx`.
void addCard(const Card &card, ImportContext &ctx, ImportRows &rows)
{
    {
        const int id = ctx.contactId();
        if (card.hasContent()) {
            ImportRows::Contact c;
            c.id = id;
            c.FirstName = card.firstName;
            c.LastName = card.lastName;
            if (!card.department.isEmpty())
                c.Department = card.department;
            c.PrimaryIndex = card.primary;
            c.Frequent = card.frequent;
            c.PhotoUrl = card.photo;
            c.RingtoneUrl = card.ring;
            c.RingtoneIndex = card.ringIndex;
            rows.addContact(c);
        }
        for (const CardPhone &p : card.phones)
            rows.addPhone(id, p.type, p.number, p.account, ImportRows::Counting::FromOne);
        for (const CardMail &mail : card.mails)
            rows.addMail(id, mail.type.isEmpty() ? QVariant() : QVariant(mail.type), mail.address);
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

// Reads the logical lines of a file, card by card into rows. Every byte is read strictly: the
// value of a property in the charset it declares, the rest in the file's encoding.
class CardReader
{
    Q_DECLARE_TR_FUNCTIONS(VCardParse)
public:
    // `declaredBytes`: a declared charset applies to the value's bytes as they stand
    // (false when the file has already been decoded whole, so that it only applies
    // to quoted-printable bytes).
    CardReader(const QString &encoding, bool declaredBytes)
        : m_encoding(encoding)
        , m_file(encoding)
        , m_declaredBytes(declaredBytes)
    {
    }

    // `anything`: some card held a contact.
    Result read(const QByteArray &lines, ImportContext &ctx, ImportRows &rows, bool &anything);
    // What the user should hear about a file that was read: each unknown charset,
    // with the first property that declared it.
    const QStringList &notices() const { return m_notices; }

private:
    // The decoder of a declared charset; null when it is unknown.
    TextCodec::Decoder *declared(const QString &charset);
    QString where(int line, int cards, bool inCard) const;

    QString m_encoding;
    TextCodec::Decoder m_file;
    bool m_declaredBytes;
    std::map<QString, TextCodec::Decoder> m_charsets;
    QStringList m_notices;
    QSet<QString> m_reported;
};

TextCodec::Decoder *CardReader::declared(const QString &charset)
{
    auto it = m_charsets.find(charset);
    if (it == m_charsets.end())
        it = m_charsets.emplace(charset, TextCodec::Decoder::forCharset(charset)).first;
    return it->second.isKnown() ? &it->second : nullptr;
}

QString CardReader::where(int line, int cards, bool inCard) const
{
    return inCard ? tr("Line %1 (card %2)").arg(line).arg(cards) : tr("Line %1").arg(line);
}

Result CardReader::read(const QByteArray &lines, ImportContext &ctx, ImportRows &rows, bool &anything)
{
    // Only the open card is held; each one becomes rows when it ends.
    Card card;
    int cards = 0;
    auto endCard = [&] {
        finish(card);
        anything = anything || card.hasContent();
        addCard(card, ctx, rows);
    };
    bool inCard = false;
    bool cardEnded = false;
    int number = 0;
    QString head;
    for (qsizetype pos = 0; pos < lines.size();) {
        const QByteArrayView line = VCardLines::nextLine(lines, pos);
        ++number;
        // A line without a colon is no property (or a value 2.1 did not fold).
        const qsizetype colon = VCardLines::valueColon(line);
        if (!m_file.decode(colon < 0 ? line : line.first(colon), &head))
            return Result::failure(tr("%1 is not valid %2 text; choose the encoding the file was saved in.")
                                       .arg(where(number, cards, inCard), m_encoding));
        if (colon < 0)
            continue;
        Property prop;
        splitHead(head, prop);
        const Params params = parseParams(prop.params);

        // The value's bytes: quoted-printable undone where we read it, in the
        // charset the property declares or else in the file's encoding.
        QByteArrayView bytes = line.sliced(colon + 1);
        // Only the first ORG of a card is read; the others are not decoded.
        const bool unquote = params.quotedPrintable && inCard && readsQuotedPrintable(prop.name)
            && !(is(prop.name, "ORG") && card.hasOrg);
        QByteArray unquoted;
        if (unquote) {
            unquoted = VCardLines::fromQuotedPrintable(bytes);
            bytes = unquoted;
        }
        TextCodec::Decoder *decoder = &m_file;
        const QString charset = params.charset.toString();
        const bool unknownCharset = !charset.isEmpty() && (m_declaredBytes || unquote) && !declared(charset);
        if (!charset.isEmpty() && (m_declaredBytes || unquote)) {
            if (TextCodec::Decoder *own = declared(charset))
                decoder = own;
        }
        if (!decoder->decode(bytes, &prop.value)) {
            const QString at = where(number, cards, inCard);
            const QString name = prop.name.toString();
            if (decoder != &m_file)
                return Result::failure(
                    tr("%1: %2 is not valid %3 text, the charset it declares.").arg(at, name, charset));
            if (!charset.isEmpty() && (m_declaredBytes || unquote))
                return Result::failure(tr("%1: %2 declares the unknown charset %3, and it is not valid %4 text either; "
                                          "choose the encoding the file was saved in.")
                                           .arg(at, name, charset, m_encoding));
            return Result::failure(tr("%1: %2 is not valid %3 text; choose the encoding the file was saved in.")
                                       .arg(at, name, m_encoding));
        }

        if (unknownCharset && !m_reported.contains(charset)) {
            m_reported.insert(charset);
            m_notices.append(tr("%1: %2 declares the unknown charset %3; it was read as %4.")
                                 .arg(where(number, cards, inCard), prop.name.toString(), charset, m_encoding));
        }

        const bool begin = is(prop.name, "BEGIN");
        if (begin || is(prop.name, "END")) {
            const bool vcard = is(QStringView(prop.value).trimmed(), "VCARD");
            if (!vcard || (begin ? inCard : cardEnded))
                return Result::failure(tr("Line %1: a card begins or ends out of place.").arg(number));
            if (inCard && !begin)
                endCard();
            inCard = begin;
            cardEnded = !begin;
            if (begin) {
                card = Card();
                ++cards;
            }
            continue;
        }
        if (inCard && !params.binary)
            take(card, prop, params);
    }
    if (inCard)
        endCard();
    return Result();
}

// Whether the encoding writes line ends, blanks and the delimiters of a line as
// those single bytes and uses them in no other character: UTF-8 and the 8-bit and
// East Asian encodings do; UTF-16, UTF-32 and the shifting ISO 2022-JP do not.
bool splitsOnBytes(const QString &encoding)
{
    static const QByteArray delimiters("\r\n\t :;=\"");
    return !encoding.contains(QLatin1String("2022"))
        && TextCodec::encode(encoding, QString::fromLatin1(delimiters)) == delimiters;
}

struct LineCounts {
    qsizetype cards = 0;
    qsizetype phones = 0;
    qsizetype mails = 0;
    qsizetype groups = 0;
};

// The lines that start cards, phones, mails and memberships, in one pass.
LineCounts countLines(const QByteArray &lines)
{
    LineCounts counts;
    for (qsizetype pos = 0; pos < lines.size();) {
        const QByteArrayView line = QByteArrayView(lines).sliced(pos);
        if (line.startsWith("BEGIN:VCARD"))
            ++counts.cards;
        else if (line.startsWith("TEL"))
            ++counts.phones;
        else if (line.startsWith("EMAIL"))
            ++counts.mails;
        else if (line.startsWith("X-MARLO-GROUP"))
            ++counts.groups;
        const qsizetype end = lines.indexOf('\n', pos);
        pos = end < 0 ? lines.size() : end + 1;
    }
    return counts;
}

} // namespace

bool VCardParse::checkEncoding(const QByteArray &bytes, const QString &) const
{
    return fitsUtf8OrLocale(bytes);
}

Expected<ImportRows> VCardParse::read(QByteArray bytes, const QString &encoding, ImportContext &numbering)
{
    if (!TextCodec::isKnown(encoding))
        return Result::failure(ParseBase::tr("The encoding %1 is unknown.").arg(encoding));
    QString fileEncoding = encoding;
    bool declaredBytes = true;
    // A UTF-16 or UTF-32 file (by its byte-order mark, or as chosen), or one whose
    // characters may hold delimiter bytes, is decoded whole first; declared
    // charsets then apply to quoted-printable bytes only.
    const auto mark = QStringConverter::encodingForData(bytes);
    if (encoding == QLatin1String("UTF-8") ? mark && *mark != QStringConverter::Utf8 : !splitsOnBytes(encoding)) {
        // Where line ends and blanks are single bytes, folds are undone before the
        // bytes are decoded.
        if (TextCodec::encode(encoding, QStringLiteral("\n ")) == "\n ")
            bytes = VCardLines::logicalLines(bytes);
        const Expected<QString> text = encoding == QLatin1String("UTF-8")
            ? decodeUtf8(std::exchange(bytes, QByteArray()))
            : decode(std::exchange(bytes, QByteArray()), encoding);
        if (!text)
            return text.result();
        bytes = text->toUtf8();
        fileEncoding = QStringLiteral("UTF-8");
        declaredBytes = false;
    }
    ImportRows rows;
    bool anything = false;
    QStringList notices;
    if (!bytes.isEmpty()) {
        const QByteArray lines = VCardLines::logicalLines(std::exchange(bytes, QByteArray()));
        // Room for the rows at once: a hint, counted as our own cards are written.
        const LineCounts counts = countLines(lines);
        rows.reserve(counts.cards, counts.phones, counts.mails, counts.groups);
        CardReader reader(fileEncoding, declaredBytes);
        const Result read = reader.read(lines, numbering, rows, anything);
        if (!read)
            return read;
        notices = reader.notices();
    }
    if (!anything)
        return Result::failure(tr("The file holds no contact."));

    rows.normaliseAccounts();
    for (const QString &notice : std::as_const(notices))
        rows.addNotice(notice);
    return Expected<ImportRows>(std::move(rows));
}
