#include "VCardParse.h"

#include "AppPaths.h"
#include "ImportContext.h"
#include "ImportRows.h"
#include "TextCodec.h"

#include <QFileInfo>

namespace {

struct CardPhone {
    QString type;
    QString number;
    QVariant account;
};

struct Card {
    bool hasName = false;
    QString firstName;
    QString lastName;
    QList<CardPhone> phones;
    QVariant primary;
    QStringList mails;
    QStringList groups;
    QVariant frequent;
    QVariant photo;
    QVariant ring;
    QVariant ringIndex;

    bool hasContent() const
    {
        return hasName || !phones.isEmpty() || !mails.isEmpty() || !groups.isEmpty() || frequent.isValid() ||
               photo.isValid() || ring.isValid() || ringIndex.isValid();
    }
};

// The value of a property line: everything after the first colon (a photo path or
// a web address keeps its own colons).
QStringView valueOf(QStringView line)
{
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    return colon < 0 ? QStringView() : line.mid(colon + 1);
}

// The parameters of a property line: between the property name and the first colon.
QStringView paramsOf(QStringView line, qsizetype prefixLength)
{
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    return line.mid(prefixLength, colon < 0 ? line.size() - prefixLength : colon - prefixLength);
}

bool has(QStringView params, const char *word)
{
    return params.contains(QLatin1String(word), Qt::CaseInsensitive);
}

QString phoneType(QStringView params)
{
    if (has(params, "WORK"))
        return QStringLiteral("Work");
    if (has(params, "HOME"))
        return QStringLiteral("Home");
    if (has(params, "CELL"))
        return QStringLiteral("Mobile");
    if (has(params, "FAX"))
        return QStringLiteral("Fax");
    return QString();
}

QString accountType(QStringView params)
{
    if (has(params, "WORK"))
        return QStringLiteral("Work");
    if (has(params, "HOME"))
        return QStringLiteral("Home");
    if (has(params, "MOBILE") || has(params, "CELL"))
        return QStringLiteral("Mobile");
    if (has(params, "FAX"))
        return QStringLiteral("Fax");
    return QString();
}

int typeIndex(const QString &type)
{
    static const QStringList types = {QStringLiteral("Work"), QStringLiteral("Home"), QStringLiteral("Mobile"),
                                      QStringLiteral("Fax")};
    return int(types.indexOf(type));
}

bool startsWith(QStringView line, const char *prefix)
{
    return line.startsWith(QLatin1String(prefix));
}

// Reads every card; false on a misplaced "BEGIN:" or "END:" line.
bool parseCards(const QString &text, QList<Card> &cards)
{
    bool inCard = false;
    bool cardEnded = false;
    bool expectName = false;
    bool accept = false;
    const QStringView all(text);
    qsizetype next = 0;
    while (next <= all.size()) {
        qsizetype end = all.indexOf(QLatin1Char('\n'), next);
        if (end < 0)
            end = all.size();
        const QStringView line = all.mid(next, end - next).trimmed();
        next = end + 1;
        if (line.isEmpty())
            continue;
        if (startsWith(line, "BEGIN:")) {
            if (valueOf(line).trimmed().compare(QLatin1String("VCARD"), Qt::CaseInsensitive) != 0 || inCard)
                return false;
            inCard = expectName = accept = true;
            cardEnded = false;
            cards.append(Card());
            continue;
        }
        if (startsWith(line, "END:")) {
            if (valueOf(line).trimmed().compare(QLatin1String("VCARD"), Qt::CaseInsensitive) != 0 || cardEnded)
                return false;
            inCard = expectName = accept = false;
            cardEnded = true;
            continue;
        }
        if (!accept)
            continue;
        Card &card = cards.last();
        if (expectName && (startsWith(line, "N:") || startsWith(line, "FN:"))) {
            const QStringView name = valueOf(line);
            if (startsWith(line, "N:")) {
                const QList<QStringView> parts = name.split(QLatin1Char(';'));
                card.lastName = parts.value(0).toString();
                card.firstName = parts.value(1).toString();
            } else {
                // The first word is the family name; the rest, all of it, the given name.
                const QStringView trimmed = name.trimmed();
                const qsizetype space = trimmed.indexOf(QLatin1Char(' '));
                card.lastName = (space < 0 ? trimmed : trimmed.left(space)).toString();
                card.firstName = space < 0 ? QString() : trimmed.mid(space + 1).trimmed().toString();
            }
            card.hasName = true;
            expectName = false;
        } else if (startsWith(line, "TEL;")) {
            const QStringView params = paramsOf(line, 4);
            const QString type = phoneType(params);
            QStringView number = valueOf(line).trimmed();
            if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                number = number.mid(4);
            if (type.isEmpty() || number.isEmpty())
                continue;
            card.phones.append(CardPhone{type, number.toString(), QVariant()});
            if (has(params, "PREF") && !card.primary.isValid())
                card.primary = typeIndex(type);
        } else if (startsWith(line, "EMAIL;") || startsWith(line, "EMAIL:")) {
            card.mails.append(valueOf(line).trimmed().toString());
        } else if (startsWith(line, "X-MARLO-ACCOUNT;")) {
            // An account belongs to the card's first phone of its type still without one.
            const QString type = accountType(paramsOf(line, 16));
            for (CardPhone &phone : card.phones) {
                if (!type.isEmpty() && phone.type == type && !phone.account.isValid()) {
                    phone.account = ImportValues::integer(valueOf(line).toString());
                    break;
                }
            }
        } else if (startsWith(line, "X-MARLO-GROUP:")) {
            const QString group = valueOf(line).toString();
            if (!group.isEmpty())
                card.groups.append(group);
        } else if (startsWith(line, "X-MARLO-FREQUENT:")) {
            card.frequent = ImportValues::flag(valueOf(line).toString());
        } else if (startsWith(line, "X-MARLO-PHOTO:")) {
            card.photo = valueOf(line).toString();
        } else if (startsWith(line, "X-MARLO-RING:")) {
            card.ring = valueOf(line).toString();
        } else if (startsWith(line, "X-MARLO-RING-INDEX:")) {
            card.ringIndex = ImportValues::integer(valueOf(line).toString());
        }
    }
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
            rows.addPhone(id, p.type, p.number, p.account);
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

VCardParse::VCardParse(QObject *parent)
    : ParseBase(parent)
    , m_appDir(AppPaths::appDir())
{
}

QString VCardParse::localeCodecName()
{
    return systemCodecName();
}

bool VCardParse::checkFileEncoding(const QString &path, const QString &)
{
    return fitsUtf8OrLocale(path);
}

bool VCardParse::convertFileEncoding(const QString &path, const QString &fromCodec, const QString &toCodec)
{
    QString text;
    return decodeFile(path, fromCodec, &text) && writeEncoded(m_appDir + QStringLiteral("tmp.vcf"), text, toCodec);
}

bool VCardParse::readFile(const QString &path, const QString &codecName)
{
    QString source = path;
    if (codecName != QLatin1String("UTF-8")) {
        if (!convertFileEncoding(path, codecName, QStringLiteral("UTF-8")))
            return false;
        source = m_appDir + QStringLiteral("tmp.vcf");
    }
    if (QFileInfo(source).size() == 0)
        return false;
    QList<Card> cards;
    {
        QString text;
        if (!readUtf8File(source, &text) || !parseCards(text, cards))
            return false;
    }
    // A file that gives nothing fails before the phonebook is touched.
    bool anything = false;
    for (const Card &card : std::as_const(cards))
        anything = anything || card.hasContent();
    if (!anything)
        return false;

    if (!prepareImport())
        return false;
    ImportContext ctx;
    ImportRows rows;
    buildRows(cards, ctx, rows);
    if (rows.normaliseAccounts())
        m_zeroBasedAccounts = true;
    ctx.commit();
    return storeRows(rows);
}

void VCardParse::clearGroupNames()
{
    clearKnownGroupNames();
}

void VCardParse::resetIdCounters()
{
    resetCounters();
}
