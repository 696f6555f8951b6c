#include "export/XmlLayout.h"

#include "export/ExportStream.h"
#include "export/XmlWriter.h"

namespace XmlLayout {

Result write(QIODevice &out, const QString &encoding, const std::function<void(XmlWriter &)> &body)
{
    ExportStream stream(out, encoding);
    XmlWriter xml(stream);
    xml.writeDeclaration();
    body(xml);
    return stream.finish();
}

ExportRules::GroupIds writeGroups(XmlWriter &xml, const QList<GroupInfo> &groups, int fields, int limit)
{
    ExportRules::GroupIds ids;
    int written = 0;
    for (const GroupInfo &g : groups) {
        if (!ExportRules::isWritten(g))
            continue;
        if (limit >= 0 && written++ == limit)
            break;
        ids.add(g);
        xml.startElement(QLatin1String("pbgroup"));
        xml.textElement(QLatin1String("id"), ExportRules::fileId(g));
        xml.textElement(QLatin1String("name"), g.name);
        if (fields & GroupPhotos)
            xml.textElement(QLatin1String("photos"), g.photos);
        xml.textElement(QLatin1String("ringtones"), g.ringtones);
        if (fields & GroupRingtoneIndex)
            xml.textElement(QLatin1String("RingtoneIndex"), g.RingtoneIndex);
        xml.endElement();
    }
    return ids;
}

void writeGroupRefs(XmlWriter &xml, const ContactInfo &contact, const ExportRules::GroupIds &ids)
{
    const QStringList names = ExportRules::groupNames(contact);
    if (names.isEmpty()) {
        xml.textElement(QLatin1String("Group"), QStringView());
        return;
    }
    for (const QString &name : names) {
        for (int id : ids.idsOf(name))
            xml.textElement(QLatin1String("Group"), id);
    }
}

void writeAllMails(XmlWriter &xml, const ContactInfo &contact)
{
    if (!ExportRules::hasMails(contact)) {
        xml.textElement(QLatin1String("Mail"), QStringView());
        return;
    }
    for (const MailInfo &m : contact.MailList) {
        if (m.Mail.isEmpty())
            continue;
        if (m.type.isEmpty())
            xml.textElement(QLatin1String("Mail"), m.Mail);
        else
            xml.textElement(QLatin1String("Mail"), m.Mail, QLatin1String("type"), m.type);
    }
}

} // namespace XmlLayout
