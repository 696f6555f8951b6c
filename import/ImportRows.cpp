#include "import/ImportRows.h"

#include "data/Records.h"

#include <QHash>
#include <QSet>

using namespace StoreValues;

void ImportRows::Column::reserve(qsizetype n)
{
    if (m_integer)
        m_ints.reserve(n);
    else
        m_spans.reserve(n);
    m_null.reserve(n);
}

ImportRows::Column::Span ImportRows::Column::spanOf(const QString &text)
{
    if (text.isNull())
        return Span { 0, -1 };
    const Span span { m_chars.size(), text.size() };
    m_chars.append(text);
    return span;
}

void ImportRows::Column::append(const QVariant &value)
{
    const bool null = !value.isValid() || value.isNull();
    const int type = value.typeId();
    m_null.append(null);
    if (m_integer) {
        const bool integer = type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::UInt;
        if (!null && !integer)
            m_other.insert(m_ints.size(), value);
        m_ints.append(null || !integer ? 0 : value.toInt());
    } else {
        const bool text = type == QMetaType::QString;
        if (!null && !text)
            m_other.insert(m_spans.size(), value);
        m_spans.append(spanOf(null || !text ? QString() : *static_cast<const QString *>(value.constData())));
    }
}

QString ImportRows::Column::text(qsizetype i) const
{
    const Span span = m_spans.at(i);
    return span.size < 0 ? QString() : QString(m_chars.constData() + span.begin, span.size);
}

void ImportRows::Column::setText(qsizetype i, const QString &value)
{
    m_spans[i] = spanOf(value);
    m_null[i] = false;
    m_other.remove(i);
}

QVariant ImportRows::Column::value(qsizetype i) const
{
    if (m_null.at(i))
        return m_integer ? StoreValues::nullInt() : StoreValues::nullText();
    if (!m_other.isEmpty()) {
        const auto other = m_other.constFind(i);
        if (other != m_other.constEnd())
            return *other;
    }
    return m_integer ? QVariant(m_ints.at(i)) : QVariant(text(i));
}

QVariantList ImportRows::Column::values(qsizetype first, qsizetype count) const
{
    QVariantList list;
    list.reserve(count);
    for (qsizetype i = first; i < first + count; ++i)
        list.append(value(i));
    return list;
}

ImportRows::Table ImportRows::table(std::initializer_list<bool> integerColumns)
{
    Table t;
    for (bool integer : integerColumns)
        t.append(Column(integer));
    return t;
}

// id, name, photos, ringtones, RingtoneIndex.
ImportRows::Table ImportRows::groupTable()
{
    return table({ true, false, false, false, true });
}

QList<QVariantList> ImportRows::values(const Table &table, qsizetype first, qsizetype count)
{
    QList<QVariantList> columns;
    for (const Column &c : table)
        columns.append(c.values(first, count));
    return columns;
}

ImportRows::ImportRows()
    : m_contact(table({ true, false, false, false, false, false, true, true, true, true }))
    , m_group(groupTable())
    , m_phone(table({ true, false, false, true }))
    , m_mail(table({ true, false, false }))
    , m_union(table({ true, false }))
{
}

void ImportRows::reserve(qsizetype contacts, qsizetype phones, qsizetype mails, qsizetype members)
{
    for (Column &c : m_contact)
        c.reserve(contacts);
    for (Column &c : m_phone)
        c.reserve(phones);
    m_phoneCounting.reserve(phones);
    for (Column &c : m_mail)
        c.reserve(mails);
    for (Column &c : m_union)
        c.reserve(members);
}

void ImportRows::addGroup(
    int id, const QString &name, const QVariant &photos, const QVariant &ringtones, const QVariant &ringtoneIndex)
{
    m_group[0].append(id);
    m_group[1].append(name);
    m_group[2].append(photos);
    m_group[3].append(ringtones);
    m_group[4].append(ringtoneIndex);
}

void ImportRows::addContact(const Contact &c)
{
    m_contact[0].append(c.id);
    m_contact[1].append(c.Department);
    m_contact[2].append(c.LastName);
    m_contact[3].append(c.FirstName);
    m_contact[4].append(c.PhotoUrl);
    m_contact[5].append(c.RingtoneUrl);
    m_contact[6].append(c.RingtoneIndex);
    m_contact[7].append(c.PrimaryIndex);
    m_contact[8].append(c.Frequent);
    m_contact[9].append(1);
}

void ImportRows::addPhone(
    int cid, const QString &type, const QString &number, const QVariant &account, Counting counting)
{
    m_phone[0].append(cid);
    m_phone[1].append(type);
    m_phone[2].append(number);
    m_phone[3].append(account);
    m_phoneCounting.append(counting);
}

void ImportRows::addMail(int cid, const QVariant &type, const QString &address)
{
    m_mail[0].append(cid);
    m_mail[1].append(type);
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
    Table kept = groupTable();
    for (qsizetype i = 0; i < m_group[1].size(); ++i) {
        const QString name = m_group[1].value(i).toString();
        const QString fold = name.toCaseFolded();
        // Readers repeat no name exactly, nor one the phonebook has.
        if (byFold.contains(fold)) {
            notCreated.append(name);
            continue;
        }
        for (qsizetype c = 0; c < m_group.size(); ++c)
            kept[c].append(m_group[c].value(i));
        const auto builtIn = builtIns.constFind(fold);
        const QString proper = builtIn == builtIns.constEnd() ? name
            : *builtIn == Records::kDefaultGroupId            ? Records::kDefault
                                                              : Records::kBlacklist;
        if (proper != name) {
            // "default" where the phonebook has no "Default" yet: it is made that one.
            notCreated.append(name);
            kept[0].setInteger(kept[0].size() - 1, *builtIn);
            kept[1].setText(kept[1].size() - 1, proper);
            know(proper);
            continue;
        }
        know(name);
    }
    if (notCreated.isEmpty())
        return notCreated;
    m_group = kept;
    Column &members = m_union[1];
    for (qsizetype i = 0; i < members.size(); ++i) {
        const QString name = members.text(i);
        if (!name.isEmpty() && !exact.contains(name))
            members.setText(i, byFold.value(name.toCaseFolded(), name));
    }
    return notCreated;
}

void ImportRows::normaliseAccounts()
{
    Column &accounts = m_phone[3];
    // Our own files tell how they count, and where they count from 1 their 0 is
    // "Using Active Account". A file that does not tell counts from 0 when it shows
    // a 0, a negative or a missing index (as only such files write), else from 1.
    Counting unknown = Counting::FromOne;
    for (qsizetype i = 0; i < accounts.size() && unknown == Counting::FromOne; ++i) {
        if (m_phoneCounting[i] == Counting::Unknown && (accounts.isNull(i) || accounts.value(i).toInt() <= 0))
            unknown = Counting::FromZero;
    }
    for (qsizetype i = 0; i < accounts.size(); ++i) {
        const Counting counting = m_phoneCounting[i] == Counting::Unknown ? unknown : m_phoneCounting[i];
        if (counting == Counting::FromOne && !accounts.isNull(i))
            accounts.setInteger(i, accounts.value(i).toInt() - 1);
    }
}

const QStringList &ImportRows::tableNames()
{
    static const QStringList names { QStringLiteral("group1"), QStringLiteral("contact1"), QStringLiteral("phone1"),
        QStringLiteral("mail1"), QStringLiteral("union1") };
    return names;
}

const ImportRows::Table *ImportRows::tableNamed(const QString &name) const
{
    const Table *const tables[] = { &m_group, &m_contact, &m_phone, &m_mail, &m_union };
    const qsizetype index = tableNames().indexOf(name);
    return index < 0 ? nullptr : tables[index];
}

qsizetype ImportRows::rowCount(const QString &name) const
{
    const Table *table = tableNamed(name);
    return table ? table->first().size() : 0;
}

Batch ImportRows::batch(const QString &name, qsizetype first, qsizetype count) const
{
    Batch b;
    const qsizetype rows = rowCount(name);
    first = qBound(qsizetype(0), first, rows);
    count = qBound(qsizetype(0), count, rows - first);
    if (count > 0)
        b.insert(name, values(*tableNamed(name), first, count));
    return b;
}

Batch ImportRows::batch(const QString &name) const
{
    return batch(name, 0, rowCount(name));
}

Batch ImportRows::batch() const
{
    Batch b;
    for (const QString &name : tableNames())
        b.insert(batch(name));
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
