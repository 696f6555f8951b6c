#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

// Row records exchanged with the store; they carry only what the tables hold.
struct PhoneRow {
    QString type;
    QString phonenumber;
    int accountindex = 0;
};

struct MailRow {
    QString type;
    QString Mail;
};

struct ContactRow {
    int id = 0;
    QString FirstName;
    QString LastName;
    QString Department;
    int PrimaryIndex = 0;
    QString PrimaryNumber;
    int Frequent = 0;
    QList<PhoneRow> phones;
    QList<MailRow> mails;
    QString PhotoUrl;
    QString RingtoneUrl;
    int RingtoneIndex = 0;
    QStringList groupNames;
};

struct GroupRow {
    int id = 0;
    QString name;
    QString photos;
    QString ringtones;
    int RingtoneIndex = 0;
    QList<int> memberIds;
    int memberCount = 0;
};

// Table name ("contact1", "group1", "phone1", "mail1", "union1") to its columns, each
// a list of values with one entry per row, in the table's column order.
using Batch = QMap<QString, QList<QVariantList>>;

namespace StoreValues {
// Null values of the two column kinds.
inline QVariant nullInt()
{
    return QVariant(QMetaType::fromType<int>());
}
inline QVariant nullText()
{
    return QVariant(QMetaType::fromType<QString>());
}
} // namespace StoreValues
