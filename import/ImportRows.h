#pragma once

#include "data/StoreRows.h"

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

    // The tables that have rows, keyed by table name.
    Batch batch() const;

private:
    QList<QVariantList> m_contact;
    QList<QVariantList> m_group;
    QList<QVariantList> m_phone;
    QList<QVariantList> m_mail;
    QList<QVariantList> m_union;
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
