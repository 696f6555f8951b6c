#include "export/XmlBirchExport.h"

#include "export/ExportRules.h"
#include "export/LayoutCheck.h"
#include "export/XmlLayout.h"
#include "export/XmlWriter.h"

using namespace ExportRules;

namespace {

// Birch phones take at most this many groups and contacts; the rest is left out.
constexpr int kMaxGroups = LayoutLimits::kModelGroups;
constexpr int kMaxContacts = LayoutLimits::kModelContacts;

} // namespace

Result XmlBirchExport::write(
    QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups, const QString &encoding) const
{
    return XmlLayout::write(out, encoding, [&](XmlWriter &xml) {
        xml.startElement(QLatin1String("AddressBook"));
        xml.textElement(QLatin1String("version"), 1);
        const GroupIds ids
            = XmlLayout::writeGroups(xml, groups, XmlLayout::GroupPhotos | XmlLayout::GroupRingtoneIndex, kMaxGroups);
        static const QString slotTypes[]
            = { QStringLiteral("Work"), QStringLiteral("Home"), QStringLiteral("Mobile"), QStringLiteral("Fax") };
        qsizetype written = 0;
        for (const ContactInfo &c : contacts) {
            if (written++ == kMaxContacts)
                break;
            xml.startElement(QLatin1String("Contact"));
            xml.textElement(QLatin1String("id"), c.id);
            xml.textElement(QLatin1String("FirstName"), c.FirstName);
            xml.textElement(QLatin1String("LastName"), c.LastName);
            xml.textElement(QLatin1String("Primary"), c.PrimaryIndex);
            xml.textElement(QLatin1String("Frequent"), c.Frequent);
            if (!hasPhones(c))
                xml.textElement(QLatin1String("Phone"), QStringView());
            // A Birch phone has one slot per type; every other number keeps its
            // place as an empty entry.
            bool taken[4] = { false, false, false, false };
            for (const PhoneInfo &p : c.PhoneList) {
                if (p.phonenumber.isEmpty())
                    continue;
                int slot = -1;
                for (int s = 0; s < 4; ++s) {
                    if (p.type == slotTypes[s]) {
                        slot = s;
                        break;
                    }
                }
                if (slot < 0 || taken[slot]) {
                    xml.textElement(QLatin1String("Phone"), QStringView());
                    continue;
                }
                taken[slot] = true;
                xml.startElement(QLatin1String("Phone"), QLatin1String("type"), slotTypes[slot]);
                xml.textElement(QLatin1String("phonenumber"), p.phonenumber);
                xml.textElement(QLatin1String("accountindex"), p.accountindex + 1);
                xml.endElement();
            }
            xml.textElement(QLatin1String("Mail"), firstMail(c));
            XmlLayout::writeGroupRefs(xml, c, ids);
            xml.textElement(QLatin1String("PhotoUrl"), photoUrl(c));
            xml.textElement(QLatin1String("RingtoneUrl"), ringtoneUrl(c));
            xml.textElement(QLatin1String("RingtoneIndex"), c.RingtoneIndex);
            xml.endElement();
        }
        xml.endElement();
    });
}
