#pragma once

#include "data/StoreRows.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// The rows one read hands to the store: one list of values per column of the five
// tables, in the store's column order. Imported contacts carry Flag 1.
class ImportRows
{
public:
    // Contact columns the file may give; a null QVariant becomes a null of the
    // column's type.
    struct Contact {
        int id = 0;
        QVariant Department;
        QVariant LastName;
        QVariant FirstName;
        QVariant PhotoUrl;
        QVariant RingtoneUrl;
        QVariant RingtoneIndex;
        QVariant PrimaryIndex;
        QVariant Frequent;
    };

    // How a file counts its phones' accounts. Our layouts count from 1 and write
    // "Using Active Account" (stored -1) as 0, except Alder's, which count from 0 as
    // the store does and write it as -1. A file that does not tell which it is, is
    // judged by its values (normaliseAccounts()).
    enum class Counting : quint8 { Unknown, FromZero, FromOne };

    ImportRows();

    // Room for the expected number of rows of each table.
    void reserve(qsizetype contacts, qsizetype phones, qsizetype mails, qsizetype members);

    void addGroup(int id, const QString &name, const QVariant &photos = QVariant(),
        const QVariant &ringtones = QVariant(), const QVariant &ringtoneIndex = QVariant());
    void addContact(const Contact &contact);
    void addPhone(int cid, const QString &type, const QString &number, const QVariant &account,
        Counting counting = Counting::Unknown);
    void addMail(int cid, const QVariant &type, const QString &address);
    void addMember(int cid, const QString &groupName);

    bool isEmpty() const;

    // Group names are one name whatever their case: a group of the file whose name
    // differs only in case from one of `existing` (the phonebook's groups) or from
    // an earlier group of the file is not created; its members join that group.
    // "default" and "blacklist" are the built-in groups. A name met exactly keeps
    // its spelling. Returns the names of the groups not created.
    QStringList mergeGroupsByCase(const QStringList &existing);

    // What the user should hear about a file that was read all the same (a charset
    // it declares that is unknown, say).
    void addNotice(const QString &notice) { m_notices.append(notice); }
    const QStringList &notices() const { return m_notices; }

    // Brings the account indices to the store's count from 0. Phones whose file
    // told how it counts follow that; the others are judged together: a 0, a
    // negative or a missing index among them means they count from 0 and stay,
    // otherwise each drops by one.
    void normaliseAccounts();
    // Sets how every phone so far counts, for a file that tells only at its end.
    void setPhoneCounting(Counting counting) { m_phoneCounting.fill(counting); }

    // The tables that have rows, keyed by table name.
    Batch batch() const;
    // The same for one table ("group1", "contact1", "phone1", "mail1", "union1").
    Batch batch(const QString &table) const;
    // Rows [first, first + count) of one table: a large import's values are made
    // a slice at a time, as the store takes them.
    Batch batch(const QString &table, qsizetype first, qsizetype count) const;
    qsizetype rowCount(const QString &table) const;
    static const QStringList &tableNames();

private:
    // One column: a value is a text or an integer, or null. Texts sit end to end in
    // one buffer: a hundred thousand short strings each in an allocation of its
    // own take several times their characters.
    class Column
    {
    public:
        explicit Column(bool integer = false)
            : m_integer(integer)
        {
        }
        void reserve(qsizetype n);
        void append(const QVariant &value);
        qsizetype size() const { return m_null.size(); }
        bool isEmpty() const { return m_null.isEmpty(); }
        bool isNull(qsizetype i) const { return m_null.at(i); }
        // Of an integer column.
        int integer(qsizetype i) const { return m_ints.at(i); }
        void setInteger(qsizetype i, int value)
        {
            m_ints[i] = value;
            m_null[i] = false;
            m_other.remove(i);
        }
        // Of a text column.
        QString text(qsizetype i) const;
        void setText(qsizetype i, const QString &value);
        // The value as the store takes it: a null of the column's kind when null.
        QVariant value(qsizetype i) const;
        QVariantList values(qsizetype first, qsizetype count) const;

    private:
        // Where a text lies in m_chars; a null text has size -1.
        struct Span {
            qsizetype begin;
            qsizetype size;
        };
        Span spanOf(const QString &text);

        bool m_integer;
        QString m_chars;
        QList<Span> m_spans;
        QList<int> m_ints;
        QList<bool> m_null;
        // A value a reader gave that is neither (a text in an integer column), by row.
        QHash<qsizetype, QVariant> m_other;
    };
    using Table = QList<Column>;
    static Table table(std::initializer_list<bool> integerColumns);
    static Table groupTable();
    static QList<QVariantList> values(const Table &table, qsizetype first, qsizetype count);
    const Table *tableNamed(const QString &name) const;

    Table m_contact;
    Table m_group;
    Table m_phone;
    Table m_mail;
    Table m_union;
    QList<Counting> m_phoneCounting;
    QStringList m_notices;
};

// Value conversions shared by the readers.
namespace ImportValues {

// An integer column value from text; empty or not a number gives null.
QVariant integer(const QString &value);
// A frequent mark written as a number or as "true": numbers as written, "true" 1,
// any other non-empty text 0, empty null.
QVariant flag(const QString &value);

} // namespace ImportValues
