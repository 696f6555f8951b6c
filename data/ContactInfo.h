#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One number of a contact. `type` is the stored word, `TypeLabel` its display text.
struct PhoneInfo {
    QString type;
    QString TypeLabel;
    QString phonenumber;
    int accountindex = 0;
};

// One mail address of a contact.
struct MailInfo {
    QString type;
    QString TypeLabel;
    QString Mail;
};

using PhoneInfoList = QList<PhoneInfo>;
using MailInfoList = QList<MailInfo>;

// One contact of the working phonebook. NamePinyin, NameInitials, PrimaryNumber and
// GroupText are derived and rebuilt after every load.
struct ContactInfo {
    int id = 0;
    QString FirstName;
    QString LastName;
    QString Department;
    QString NamePinyin;
    QString NameInitials;
    int PrimaryIndex = 0;
    QString PrimaryNumber;
    int Frequent = 0;
    PhoneInfoList PhoneList;
    MailInfoList MailList;
    QString PhotoUrl;
    QString RingtoneUrl;
    int RingtoneIndex = 0;
    QStringList GroupList;
    QString GroupText;
};
