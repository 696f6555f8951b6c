#include "export/ExportRules.h"

#include "data/Records.h"
#include "data/TextCodec.h"

#include <QCoreApplication>

namespace ExportRules {

bool isWritten(const GroupInfo &group)
{
    return group.name != QLatin1String("All") && group.name != QLatin1String("add group");
}

int fileId(const GroupInfo &group)
{
    if (group.name == Records::kDefault)
        return Records::kDefaultGroupId;
    if (group.name == Records::kBlacklist)
        return Records::kBlacklistGroupId;
    return group.id;
}

Result checkKnown(const TextCodec::Encoder &encoder, const QString &encoding)
{
    if (!encoder.isKnown())
        return Result::failure(QCoreApplication::translate("ExportRules", "the encoding %1 is unknown").arg(encoding));
    return Result();
}

Result checkEncodable(const ContactInfo &c, TextCodec::Encoder &encoder, const QString &encoding)
{
    bool holds = encoder.canEncode(c.FirstName) && encoder.canEncode(c.LastName);
    for (qsizetype m = 0; holds && m < c.MailList.size(); ++m)
        holds = encoder.canEncode(c.MailList.at(m).Mail);
    if (!holds)
        return Result::failure(
            QCoreApplication::translate("ExportRules", "the encoding %1 cannot hold the name or mail address of %2")
                .arg(encoding, (c.FirstName + QLatin1Char(' ') + c.LastName).trimmed()));
    return Result();
}

Result checkEncodable(const QList<ContactInfo> &contacts, const QString &encoding)
{
    TextCodec::Encoder encoder(encoding);
    if (const Result known = checkKnown(encoder, encoding); !known)
        return known;
    for (const ContactInfo &c : contacts) {
        if (const Result holds = checkEncodable(c, encoder, encoding); !holds)
            return holds;
    }
    return Result();
}

bool hasPhones(const ContactInfo &contact)
{
    for (const PhoneInfo &p : contact.PhoneList) {
        if (!p.phonenumber.isEmpty())
            return true;
    }
    return false;
}

bool hasMails(const ContactInfo &contact)
{
    return !firstMail(contact).isEmpty();
}

QString firstMail(const ContactInfo &contact)
{
    for (const MailInfo &m : contact.MailList) {
        if (!m.Mail.isEmpty())
            return m.Mail;
    }
    return QString();
}

QStringList groupNames(const ContactInfo &contact)
{
    if (!contact.GroupList.contains(QString()))
        return contact.GroupList;
    QStringList names = contact.GroupList;
    names.removeAll(QString());
    return names;
}

QString firstGroup(const ContactInfo &contact)
{
    for (const QString &name : contact.GroupList) {
        if (!name.isEmpty())
            return name;
    }
    return QString();
}

QString primaryNumber(const ContactInfo &contact)
{
    const QString type = Records::phoneTypeLabel(contact.PrimaryIndex);
    if (!type.isEmpty()) {
        for (const PhoneInfo &p : contact.PhoneList) {
            if (p.type == type)
                return p.phonenumber;
        }
    }
    return contact.PrimaryNumber;
}

QString photoUrl(const ContactInfo &contact)
{
    return contact.PhotoUrl == Records::defaultHeadText() ? QString() : contact.PhotoUrl;
}

QString ringtoneUrl(const ContactInfo &contact)
{
    return contact.RingtoneUrl == Records::defaultRingtoneText() ? QString() : contact.RingtoneUrl;
}

void GroupIds::add(const GroupInfo &group)
{
    m_ids[group.name].append(fileId(group));
}

} // namespace ExportRules
