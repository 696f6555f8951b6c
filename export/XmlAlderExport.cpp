#include "export/XmlAlderExport.h"

#include "export/ExportRules.h"
#include "export/LayoutCheck.h"
#include "export/XmlLayout.h"
#include "export/XmlWriter.h"

#include <QSet>

using namespace ExportRules;

namespace {

// Alder phones take at most this many groups and contacts; the rest is left out.
constexpr int kMaxGroups = LayoutLimits::kModelGroups;
constexpr int kMaxContacts = LayoutLimits::kModelContacts;

} // namespace

Result XmlAlderExport::write(
    QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups, const QString &encoding) const
{
    return XmlLayout::write(out, encoding, [&](XmlWriter &xml) {
        xml.startElement(QLatin1String("AddressBook"));
        xml.textElement(QLatin1String("version"), 1);
        const GroupIds ids = XmlLayout::writeGroups(xml, groups, 0, kMaxGroups);
        qsizetype written = 0;
        for (const ContactInfo &c : contacts) {
            if (written++ == kMaxContacts)
                break;
            xml.startElement(QLatin1String("Contact"));
            xml.textElement(QLatin1String("FirstName"), c.FirstName);
            xml.textElement(QLatin1String("LastName"), c.LastName);
            xml.textElement(QLatin1String("Primary"), c.PrimaryIndex);
            xml.textElement(QLatin1String("Frequent"), c.Frequent);
            xml.textElement(QLatin1String("Ringtone"), ringtoneUrl(c));
            xml.textElement(QLatin1String("PhotoUrl"), photoUrl(c));
            if (!hasPhones(c))
                xml.textElement(QLatin1String("Phone"), QStringView());
            for (const PhoneInfo &p : c.PhoneList) {
                if (p.phonenumber.isEmpty() || !LayoutLimits::isAlderPhoneType(p.type))
                    continue;
                xml.startElement(QLatin1String("Phone"), QLatin1String("type"), p.type);
                xml.textElement(QLatin1String("phonenumber"), p.phonenumber);
                // Alder phones count accounts from 0, as the store does.
                xml.textElement(QLatin1String("accountindex"), p.accountindex);
                xml.endElement();
            }
            XmlLayout::writeAllMails(xml, c);
            XmlLayout::writeGroupRefs(xml, c, ids);
            xml.endElement();
        }
        xml.endElement();
    });
}
