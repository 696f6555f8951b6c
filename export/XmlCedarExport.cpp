#include "export/XmlCedarExport.h"

#include "export/ExportRules.h"
#include "export/XmlLayout.h"
#include "export/XmlWriter.h"

using namespace ExportRules;

namespace {

// Cedar phones show at most this many numbers per contact.
constexpr int kMaxPhones = 4;

} // namespace

Result XmlCedarExport::write(
    QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups, const QString &encoding) const
{
    return XmlLayout::write(out, encoding, [&](XmlWriter &xml) {
        xml.startElement(QLatin1String("AddressBook"));
        xml.textElement(QLatin1String("version"), 1);
        const GroupIds ids = XmlLayout::writeGroups(xml, groups, XmlLayout::GroupRingtoneIndex);
        for (const ContactInfo &c : contacts) {
            xml.startElement(QLatin1String("Contact"));
            xml.textElement(QLatin1String("FirstName"), c.FirstName);
            xml.textElement(QLatin1String("LastName"), c.LastName);
            int phones = 0;
            for (const PhoneInfo &p : c.PhoneList) {
                if (p.phonenumber.isEmpty())
                    continue;
                if (phones++ == kMaxPhones)
                    break;
                xml.startElement(QLatin1String("Phone"));
                xml.textElement(QLatin1String("phonenumber"), p.phonenumber);
                xml.textElement(QLatin1String("accountindex"), p.accountindex + 1);
                xml.endElement();
            }
            if (phones == 0)
                xml.textElement(QLatin1String("Phone"), QStringView());
            XmlLayout::writeGroupRefs(xml, c, ids);
            xml.textElement(QLatin1String("PhotoUrl"), photoUrl(c));
            xml.textElement(QLatin1String("RingtoneUrl"), ringtoneUrl(c));
            xml.textElement(QLatin1String("RingtoneIndex"), c.RingtoneIndex);
            xml.textElement(QLatin1String("Mail"), firstMail(c));
            xml.endElement();
        }
        xml.endElement();
    });
}
