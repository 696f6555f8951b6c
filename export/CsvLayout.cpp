#include "export/CsvLayout.h"

#include "export/ExportFile.h"
#include "export/ExportRules.h"
#include "manager/DataMgr.h"

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

bool writeOwn(const QString &encoding, QString &path, const QList<ContactInfo> &contacts, int accountBase)
{
    static const QString header = QStringLiteral(
        "First Name,Last Name,Work Phone,Home Phone,Mobile Phone,Fax,E-mail Address,Primary Phone,Group,"
        "Work account,Home account,Mobile account,Fax account,Frequent,Photo,Ring index,Ring");
    return write(encoding, path, contacts, header, [accountBase](QString &line, const ContactInfo &c) {
        const Fields f = fieldsOf(c);
        appendQuoted(line,
            { c.FirstName, c.LastName, f.number[Work], f.number[Home], f.number[Mobile], f.number[Fax], f.email });
        line += QLatin1Char(',') + QString::number(c.PrimaryIndex) + QLatin1Char(',');
        appendQuoted(line, { f.group });
        // A type without a number reads 0 whichever way the phone counts.
        for (int s = 0; s < SlotCount; ++s)
            line += QLatin1Char(',') + QString::number(f.hasNumber[s] ? f.account[s] + accountBase : 0);
        line += QLatin1Char(',') + QString::number(c.Frequent) + QLatin1Char(',');
        appendQuoted(line, { ExportRules::photoUrl(c) });
        line += QLatin1Char(',') + QString::number(c.RingtoneIndex) + QLatin1Char(',');
        appendQuoted(line, { ExportRules::ringtoneUrl(c) });
    });
}

bool writeOutlook(const QString &encoding, QString &path, const QList<ContactInfo> &contacts, const QString &header)
{
    return write(encoding, path, contacts, header, [](QString &line, const ContactInfo &c) {
        const Fields f = fieldsOf(c);
        appendQuoted(line,
            { c.FirstName, c.LastName, f.number[Work], f.number[Home], f.number[Mobile], f.number[Fax], f.email,
                ExportRules::primaryNumber(c), f.group });
    });
}

} // namespace CsvLayout
