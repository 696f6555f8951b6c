#pragma once

#include <QList>
#include <QString>

// One stored group: "Default", a user group or "Blacklist".
struct GroupInfo {
    int id = 0;
    QString name;
    QString DisplayName;
    QString NamePinyin;
    QString photos;
    QString ringtones;
    int RingtoneIndex = 0;
    QList<int> MemberIds;
    int MemberCount = 0;
};
