#pragma once

#include "data/ContactInfo.h"
#include "data/GroupInfo.h"

#include <tuple>

// Field-by-field equality of the records, every field included: what tells
// whether a list came back exactly as it was.

inline bool operator==(const PhoneInfo &a, const PhoneInfo &b)
{
    return std::tie(a.type, a.TypeLabel, a.phonenumber, a.accountindex)
        == std::tie(b.type, b.TypeLabel, b.phonenumber, b.accountindex);
}
inline bool operator!=(const PhoneInfo &a, const PhoneInfo &b)
{
    return !(a == b);
}

inline bool operator==(const MailInfo &a, const MailInfo &b)
{
    return std::tie(a.type, a.TypeLabel, a.Mail) == std::tie(b.type, b.TypeLabel, b.Mail);
}
inline bool operator!=(const MailInfo &a, const MailInfo &b)
{
    return !(a == b);
}

inline bool operator==(const ContactInfo &a, const ContactInfo &b)
{
    return std::tie(a.id, a.FirstName, a.LastName, a.Department, a.NamePinyin, a.NameInitials, a.PrimaryIndex,
               a.PrimaryNumber, a.Frequent, a.PhoneList, a.MailList, a.PhotoUrl, a.RingtoneUrl, a.RingtoneIndex,
               a.GroupList, a.GroupText)
        == std::tie(b.id, b.FirstName, b.LastName, b.Department, b.NamePinyin, b.NameInitials, b.PrimaryIndex,
            b.PrimaryNumber, b.Frequent, b.PhoneList, b.MailList, b.PhotoUrl, b.RingtoneUrl, b.RingtoneIndex,
            b.GroupList, b.GroupText);
}
inline bool operator!=(const ContactInfo &a, const ContactInfo &b)
{
    return !(a == b);
}

inline bool operator==(const GroupInfo &a, const GroupInfo &b)
{
    return std::tie(a.id, a.name, a.DisplayName, a.NamePinyin, a.photos, a.ringtones, a.RingtoneIndex, a.MemberIds,
               a.MemberCount)
        == std::tie(b.id, b.name, b.DisplayName, b.NamePinyin, b.photos, b.ringtones, b.RingtoneIndex, b.MemberIds,
            b.MemberCount);
}
inline bool operator!=(const GroupInfo &a, const GroupInfo &b)
{
    return !(a == b);
}
