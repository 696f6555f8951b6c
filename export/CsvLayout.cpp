#include "CsvLayout.h"

#include "DataMgr.h"
#include "ExportFile.h"
#include "ExportRules.h"

namespace CsvLayout {

Fields fieldsOf(const ContactInfo &contact)
{
    static const QString words[SlotCount]
        = { QStringLiteral("Work"), QStringLiteral("Home"), QStringLiteral("Mobile"), QStringLiteral("Fax") };
    Fields f;
    for (const PhoneInfo &p : contact.PhoneList) {
        if (p.phonenumber.isEmpty())
            continue;
        for (int s = 0; s < SlotCount; ++s) {
            if (!f.hasNumber[s] && p.type == words[s]) {
                f.number[s] = p.phonenumber;
                f.account[s] = p.accountindex;
                f.hasNumber[s] = true;
                break;
            }
        }
    }
    f.email = ExportRules::firstMail(contact);
    f.group = ExportRules::firstGroup(contact);
    return f;
}

bool write(const QString &encoding, QString &path, const QList<ContactInfo> &contacts, const QString &header,
    const std::function<void(QString &line, const ContactInfo &contact)> &row)
{
    if (!DataMgr::canEncode(contacts, encoding) || path.isEmpty())
        return false;
    path += QLatin1String(".csv");
    ExportFile file(path, encoding);
    if (!file.open())
        return false;
    file.text() += header;
    file.endLine();
    for (const ContactInfo &c : contacts) {
        row(file.text(), c);
        file.endLine();
    }
    return file.commit();
}

void appendQuoted(QString &line, std::initializer_list<QString> fields)
{
    bool first = true;
    for (const QString &field : fields) {
        if (!first)
            line += QLatin1Char(',');
        first = false;
        line += DataMgr::csvQuote(field);
    }
}

} // namespace CsvLayout
