#include "export/UniXmlExport.h"

#include "export/ExportRules.h"
#include "export/XmlLayout.h"
#include "export/XmlWriter.h"

using namespace ExportRules;

Result UniXmlExport::write(
    QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups, const QString &encoding) const
{
    return XmlLayout::write(out, encoding, [&](XmlWriter &xml) {
        xml.startElement(QLatin1String("AddressBook"));
        xml.textElement(QLatin1String("version"), 1);
        const GroupIds ids
            = XmlLayout::writeGroups(xml, groups, XmlLayout::GroupPhotos | XmlLayout::GroupRingtoneIndex);
        for (const ContactInfo &c : contacts) {
            xml.startElement(QLatin1String("Contact"));
            xml.textElement(QLatin1String("id"), c.id);
            xml.textElement(QLatin1String("FirstName"), c.FirstName);
            xml.textElement(QLatin1String("LastName"), c.LastName);
            xml.textElement(QLatin1String("Department"), c.Department);
            xml.textElement(QLatin1String("Primary"), c.PrimaryIndex);
            xml.textElement(QLatin1String("Frequent"), c.Frequent);
            if (!hasPhones(c))
                xml.textElement(QLatin1String("Phone"), QStringView());
            for (const PhoneInfo &p : c.PhoneList) {
                if (p.phonenumber.isEmpty())
                    continue;
                xml.startElement(QLatin1String("Phone"), QLatin1String("type"), p.type);
                xml.textElement(QLatin1String("phonenumber"), p.phonenumber);
                xml.textElement(QLatin1String("accountindex"), p.accountindex + 1);
                xml.endElement();
            }
            XmlLayout::writeAllMails(xml, c);
            XmlLayout::writeGroupRefs(xml, c, ids);
            xml.textElement(QLatin1String("PhotoUrl"), photoUrl(c));
            xml.textElement(QLatin1String("RingtoneUrl"), ringtoneUrl(c));
            xml.textElement(QLatin1String("RingtoneIndex"), c.RingtoneIndex);
            xml.endElement();
        }
        xml.endElement();
    });
}
