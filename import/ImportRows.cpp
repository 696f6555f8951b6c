#include "import/ImportRows.h"

#include "data/Records.h"

#include <QHash>
#include <QSet>

using namespace StoreValues;

namespace {

QVariant orNull(const QVariant &value, bool integerColumn)
{
    if (!value.isValid())
        return integerColumn ? nullInt() : nullText();
    return value;
}

} // namespace

ImportRows::ImportRows()
{
    m_contact.resize(10);
    m_group.resize(5);
    m_phone.resize(4);
    m_mail.resize(3);
    m_union.resize(2);
}

void ImportRows::reserve(qsizetype contacts, qsizetype phones, qsizetype mails, qsizetype members)
{
    for (QVariantList &c : m_contact)
        c.reserve(contacts);
    for (QVariantList &c : m_phone)
        c.reserve(phones);
    m_phoneCounting.reserve(phones);
    for (QVariantList &c : m_mail)
        c.reserve(mails);
    for (QVariantList &c : m_union)
        c.reserve(members);
}

void ImportRows::addGroup(
    int id, const QString &name, const QVariant &photos, const QVariant &ringtones, const QVariant &ringtoneIndex)
{
    m_group[0].append(id);
    m_group[1].append(name);
    m_group[2].append(orNull(photos, false));
    m_group[3].append(orNull(ringtones, false));
    m_group[4].append(orNull(ringtoneIndex, true));
}

void ImportRows::addContact(const Contact &c)
{
    m_contact[0].append(c.id);
    m_contact[1].append(orNull(c.Department, false));
    m_contact[2].append(orNull(c.LastName, false));
    m_contact[3].append(orNull(c.FirstName, false));
    m_contact[4].append(orNull(c.PhotoUrl, false));
    m_contact[5].append(orNull(c.RingtoneUrl, false));
    m_contact[6].append(orNull(c.RingtoneIndex, true));
    m_contact[7].append(orNull(c.PrimaryIndex, true));
    m_contact[8].append(orNull(c.Frequent, true));
    m_contact[9].append(1);
}

void ImportRows::addPhone(
    int cid, const QString &type, const QString &number, const QVariant &account, Counting counting)
{
    m_phone[0].append(cid);
    m_phone[1].append(type);
    m_phone[2].append(number);
    m_phone[3].append(orNull(account, true));
    m_phoneCounting.append(counting);
}

void ImportRows::addMail(int cid, const QVariant &type, const QString &address)
{
    m_mail[0].append(cid);
    m_mail[1].append(orNull(type, false));
    m_mail[2].append(address);
}

void ImportRows::addMember(int cid, const QString &groupName)
{
    m_union[0].append(cid);
    m_union[1].append(groupName);
}

bool ImportRows::isEmpty() const
{
    return m_contact[0].isEmpty() && m_group[0].isEmpty() && m_phone[0].isEmpty() && m_mail[0].isEmpty()
        && m_union[0].isEmpty();
}

QStringList ImportRows::mergeGroupsByCase(const QStringList &existing)
{
    QSet<QString> exact;
    QHash<QString, QString> byFold;
    // The first name of a fold is the one its members join.
    auto know = [&](const QString &name) {
        exact.insert(name);
        const QString fold = name.toCaseFolded();
        if (!byFold.contains(fold))
            byFold.insert(fold, name);
    };
    for (const QString &name : existing)
        know(name);
    const QHash<QString, int> builtIns { { Records::kDefault.toCaseFolded(), Records::kDefaultGroupId },
        { Records::kBlacklist.toCaseFolded(), Records::kBlacklistGroupId } };

    QStringList notCreated;
    QList<QVariantList> kept(m_group.size());
    for (qsizetype i = 0; i < m_group[1].size(); ++i) {
        const QString name = m_group[1][i].toString();
        const QString fold = name.toCaseFolded();
        // Readers repeat no name exactly, nor one the phonebook has.
        if (byFold.contains(fold)) {
            notCreated.append(name);
            continue;
        }
        for (qsizetype c = 0; c < m_group.size(); ++c)
            kept[c].append(m_group[c][i]);
        const auto builtIn = builtIns.constFind(fold);
        const QString proper = builtIn == builtIns.constEnd() ? name
            : *builtIn == Records::kDefaultGroupId            ? Records::kDefault
                                                              : Records::kBlacklist;
        if (proper != name) {
            // "default" where the phonebook has no "Default" yet: it is made that one.
            notCreated.append(name);
            kept[0].last() = *builtIn;
            kept[1].last() = proper;
            know(proper);
            continue;
        }
        know(name);
    }
    if (notCreated.isEmpty())
        return notCreated;
    m_group = kept;
    for (QVariant &member : m_union[1]) {
        const QString name = member.toString();
        if (!name.isEmpty() && !exact.contains(name))
            member = byFold.value(name.toCaseFolded(), name);
    }
    return notCreated;
}

void ImportRows::normaliseAccounts()
{
    QVariantList &accounts = m_phone[3];
    // Our own files tell how they count, and where they count from 1 their 0 is
    // "Using Active Account". A file that does not tell counts from 0 when it shows
    // a 0, a negative or a missing index (as only such files write), else from 1.
    Counting unknown = Counting::FromOne;
    for (qsizetype i = 0; i < accounts.size() && unknown == Counting::FromOne; ++i) {
        if (m_phoneCounting[i] == Counting::Unknown && (accounts[i].isNull() || accounts[i].toInt() <= 0))
            unknown = Counting::FromZero;
    }
    for (qsizetype i = 0; i < accounts.size(); ++i) {
        const Counting counting = m_phoneCounting[i] == Counting::Unknown ? unknown : m_phoneCounting[i];
        if (counting == Counting::FromOne && !accounts[i].isNull())
            accounts[i] = accounts[i].toInt() - 1;
    }
}

Batch ImportRows::batch() const
{
    Batch b;
    auto put = [&b](const char *table, const QList<QVariantList> &columns) {
        if (!columns.first().isEmpty())
            b.insert(QString::fromLatin1(table), columns);
    };
    put("group1", m_group);
    put("contact1", m_contact);
    put("phone1", m_phone);
    put("mail1", m_mail);
    put("union1", m_union);
    return b;
}

namespace ImportValues {

QVariant integer(const QString &value)
{
    bool ok = false;
    const int n = QStringView(value).trimmed().toInt(&ok);
    return ok ? QVariant(n) : nullInt();
}

QVariant flag(const QString &value)
{
    const QStringView t = QStringView(value).trimmed();
    if (t.isEmpty())
        return nullInt();
    if (t == QLatin1String("true"))
        return 1;
    bool ok = false;
    const int n = t.toInt(&ok);
    return ok ? n : 0;
}

} // namespace ImportValues
