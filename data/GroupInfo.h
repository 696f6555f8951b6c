#pragma once

#include <QList>
#include <QString>

// One group of the working group list, including the pseudo rows "All" and "Add group".
struct GroupInfo {
    int id = 0;
    QString name;
    QString DisplayName;
    QString NamePinyin;
    QString photos;
    QString ringtones;
    int RingtoneIndex = 0;
    QList<int> MemberIds;
    QString IconKind;
    int MemberCount = 0;
    bool Selected = false;
};
