#include "export/CSVPhoneExport.h"

#include "export/CsvLayout.h"
#include "export/ExportRules.h"

using namespace CsvLayout;

Result CSVPhoneExport::write(
    QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups, const QString &encoding) const
{
    Q_UNUSED(groups)
    static const QString header = QStringLiteral(
        "First Name,Last Name,Work Phone,Home Phone,Mobile Phone,Fax,E-mail Address,Primary Phone,Group,"
        "Work account,Home account,Mobile account,Fax account,Frequent,Photo,Ring index,Ring");
    const int accountBase = m_accountBase;
    return CsvLayout::write(out, contacts, encoding, header, [accountBase](QString &line, const ContactInfo &c) {
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
