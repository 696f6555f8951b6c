#include "export/XmlBrennExport.h"

#include "data/Records.h"
#include "export/ExportRules.h"
#include "export/XmlLayout.h"
#include "export/XmlWriter.h"

#include <QCoreApplication>
#include <QHash>

using namespace ExportRules;

namespace {

// Brenn phones number groups themselves: their three predefined groups are 0, 1
// and 2, the others follow from 3.
struct BrennGroups {
    QHash<QString, int> numbers;
    QList<QPair<int, QString>> userGroups;
};

BrennGroups numbering(const QList<GroupInfo> &groups)
{
    BrennGroups result;
    const QString predefined[] = { QCoreApplication::translate("XmlBrennExport", "Family"),
        QCoreApplication::translate("XmlBrennExport", "Friends"),
        QCoreApplication::translate("XmlBrennExport", "Work") };
    for (int i = 0; i < 3; ++i)
        result.numbers.insert(predefined[i], i);
    int next = 3;
    for (const GroupInfo &g : groups) {
        if (!isWritten(g) || g.name == Records::kDefault || g.name == Records::kBlacklist
            || result.numbers.contains(g.name))
            continue;
        result.numbers.insert(g.name, next);
        result.userGroups.append({ next, g.name });
        ++next;
    }
    return result;
}

} // namespace

Result XmlBrennExport::write(
    QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups, const QString &encoding) const
{
    const BrennGroups brenn = numbering(groups);
    return XmlLayout::write(out, encoding, [&](XmlWriter &xml) {
        xml.startElement(QLatin1String("AddressBook"));
        for (const ContactInfo &c : contacts) {
            xml.startElement(QLatin1String("Contact"));
            xml.textElement(QLatin1String("FirstName"), c.FirstName);
            xml.textElement(QLatin1String("LastName"), c.LastName);
            xml.textElement(QLatin1String("Department"), c.Department);
            const PhoneInfo *first = nullptr;
            for (const PhoneInfo &p : c.PhoneList) {
                if (!p.phonenumber.isEmpty()) {
                    first = &p;
                    break;
                }
            }
            if (first) {
                xml.startElement(QLatin1String("Phone"), QLatin1String("type"), first->type);
                xml.textElement(QLatin1String("phonenumber"), first->phonenumber);
                xml.textElement(QLatin1String("accountindex"), first->accountindex + 1);
                xml.textElement(QLatin1String("downloaded"), 0);
                xml.endElement();
            } else {
                xml.textElement(QLatin1String("Phone"), QStringView());
            }
            // Only names the phone knows by number: "Default", "Blacklist" or an
            // unknown name written as 0 would put the contact into its Family group.
            QList<int> numbers;
            for (const QString &name : groupNames(c)) {
                const auto number = brenn.numbers.constFind(name);
                if (number != brenn.numbers.constEnd())
                    numbers.append(*number);
            }
            if (!numbers.isEmpty()) {
                xml.startElement(QLatin1String("Groups"));
                for (int number : std::as_const(numbers))
                    xml.textElement(QLatin1String("groupid"), number);
                xml.endElement();
            }
            xml.endElement();
        }
        for (const auto &group : brenn.userGroups)
            xml.textElement(QLatin1String("Group"), group.second, QLatin1String("id"), QString::number(group.first));
        xml.endElement();
    });
}
