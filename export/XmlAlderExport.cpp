#include "export/XmlAlderExport.h"

#include "export/ExportRules.h"
#include "export/XmlLayout.h"
#include "export/XmlWriter.h"

#include <QSet>

using namespace ExportRules;

namespace {

// Alder phones take at most this many groups and contacts; the rest is left out.
constexpr int kMaxGroups = 50;
constexpr int kMaxContacts = 1000;

// The phone types Alder phones know (every type of the table but "CompanyTotal").
bool isAlderType(const QString &type)
{
    static const QSet<QString> types { QStringLiteral("Work"), QStringLiteral("Home"), QStringLiteral("Mobile"),
        QStringLiteral("Fax"), QStringLiteral("Pager"), QStringLiteral("Car"), QStringLiteral("Radio"),
        QStringLiteral("Assistant"), QStringLiteral("Telex"), QStringLiteral("Main"), QStringLiteral("MMS"),
        QStringLiteral("ISDN"), QStringLiteral("TTY TTD"), QStringLiteral("Callback"), QStringLiteral("Work Fax"),
        QStringLiteral("Home Fax"), QStringLiteral("Other Fax"), QStringLiteral("Work Mobile"),
        QStringLiteral("Work Pager"), QStringLiteral("Company Main"), QStringLiteral("Custom"),
        QStringLiteral("Other") };
    return types.contains(type);
}

} // namespace

Result XmlAlderExport::write(
    QIODevice &out, const QList<ContactInfo> &contacts, const QList<GroupInfo> &groups, const QString &encoding) const
{
    return XmlLayout::write(out, encoding, [&](XmlWriter &xml) {
        xml.startElement(QLatin1String("AddressBook"));
        xml.textElement(QLatin1String("version"), 1);
        const GroupIds ids = XmlLayout::writeGroups(xml, groups, 0, kMaxGroups);
        for (qsizetype i = 0; i < contacts.size() && i < kMaxContacts; ++i) {
            const ContactInfo &c = contacts.at(i);
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
                if (p.phonenumber.isEmpty() || !isAlderType(p.type))
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
