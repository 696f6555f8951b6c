#include "CSVOutlookExpressExport.h"

#include "CsvLayout.h"
#include "ExportRules.h"

using namespace CsvLayout;

bool CSVOutlookExpressExport::exportFile(
    const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups)
{
    Q_UNUSED(groups)
    static const QString header = QStringLiteral(
        "First Name,Last Name,Company Main Phone,Home Phone,Mobile Phone,Business Fax,E-mail Address,Primary Phone,"
        "Categories");
    return write(encoding, path, contacts, header, [](QString &line, const ContactInfo &c) {
        const Fields f = fieldsOf(c);
        appendQuoted(line,
            { c.FirstName, c.LastName, f.number[Work], f.number[Home], f.number[Mobile], f.number[Fax], f.email,
                ExportRules::primaryNumber(c), f.group });
    });
}
