#pragma once

#include "StoreRows.h"

#include <QList>
#include <QString>
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

    ImportRows();

    // Room for the expected number of rows of each table.
    void reserve(qsizetype contacts, qsizetype phones, qsizetype mails, qsizetype members);

    void addGroup(int id, const QString &name, const QVariant &photos = QVariant(),
                  const QVariant &ringtones = QVariant(), const QVariant &ringtoneIndex = QVariant());
    void addContact(const Contact &contact);
    void addPhone(int cid, const QString &type, const QString &number, const QVariant &account);
    void addMail(int cid, const QVariant &type, const QString &address);
    void addMember(int cid, const QString &groupName);

    bool isEmpty() const;

    // Files count accounts either from 0 or from 1: a 0 (or a missing index)
    // anywhere means from 0 and every value stays; otherwise every value drops by
    // one. Returns whether the file counted from 0.
    bool normaliseAccounts();

    // The tables that have rows, keyed by table name.
    Batch batch() const;

private:
    QList<QVariantList> m_contact;
    QList<QVariantList> m_group;
    QList<QVariantList> m_phone;
    QList<QVariantList> m_mail;
    QList<QVariantList> m_union;
};

// Value conversions shared by the readers.
namespace ImportValues {

// An integer column value from text; empty or not a number gives null.
QVariant integer(const QString &value);
// A frequent mark written as a number or as "true": numbers as written, "true" 1,
// any other non-empty text 0, empty null.
QVariant flag(const QString &value);

} // namespace ImportValues
