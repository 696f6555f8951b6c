#include "export/CSVGmailExport.h"

#include "export/CsvLayout.h"

using namespace CsvLayout;

Result CSVGmailExport::write(
    QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups, const QString &encoding) const
{
    Q_UNUSED(groups)
    static const QString header = QStringLiteral(
        "Given Name,Family Name,E-mail 1 - type,E-mail 1 - Value,Group Membership,Phone 1 - Type,Phone 1 - Value,"
        "Phone 2 - Type,Phone 2 - Value,Phone 3 - Type,Phone 3 - Value,Phone 4 - Type,Phone 4 - Value,"
        "Phone 5 - Type,Phone 5 - Value,Phone 6 - Type,Phone 6 - Value,Phone 7 - Type,Phone 7 - Value");
    // Rows carry four phones only; Gmail leaves the other header columns empty.
    return CsvLayout::write(out, contacts, encoding, header, [](QString &line, const ContactInfo &c) {
        const Fields f = fieldsOf(c);
        appendQuoted(line, { c.FirstName, c.LastName });
        line += QLatin1String(",* Other,");
        appendQuoted(line, { f.email, f.group });
        line += QLatin1String(",Work,");
        appendQuoted(line, { f.number[Work] });
        line += QLatin1String(",Home,");
        appendQuoted(line, { f.number[Home] });
        line += QLatin1String(",Mobile,");
        appendQuoted(line, { f.number[Mobile] });
        line += QLatin1String(",Other Fax,");
        appendQuoted(line, { f.number[Fax] });
    });
}
