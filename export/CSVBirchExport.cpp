#include "CSVBirchExport.h"

#include "CsvLayout.h"
#include "ExportRules.h"

using namespace CsvLayout;

namespace {

const QString kHeader = QStringLiteral("First Name,Last Name,Work Phone,Home Phone,Mobile Phone,Fax,E-mail Address,"
                                       "Primary Phone,Group,Work account,Home account,Mobile account,Fax account,"
                                       "Frequent,Photo,Ring index,Ring");

} // namespace

bool CSVBirchExport::exportFile(
    const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups)
{
    Q_UNUSED(groups)
    return write(encoding, path, contacts, kHeader, [](QString &line, const ContactInfo &c) {
        const Fields f = fieldsOf(c);
        appendQuoted(line,
            { c.FirstName, c.LastName, f.number[Work], f.number[Home], f.number[Mobile], f.number[Fax], f.email });
        line += QLatin1Char(',') + QString::number(c.PrimaryIndex) + QLatin1Char(',');
        appendQuoted(line, { f.group });
        // Birch phones count accounts from 1; a missing number still reads 0.
        for (int s = 0; s < SlotCount; ++s)
            line += QLatin1Char(',') + QString::number(f.hasNumber[s] ? f.account[s] + 1 : 0);
        line += QLatin1Char(',') + QString::number(c.Frequent) + QLatin1Char(',');
        appendQuoted(line, { ExportRules::photoUrl(c) });
        line += QLatin1Char(',') + QString::number(c.RingtoneIndex) + QLatin1Char(',');
        appendQuoted(line, { ExportRules::ringtoneUrl(c) });
    });
}
