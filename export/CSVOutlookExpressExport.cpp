#include "export/CSVOutlookExpressExport.h"

#include "export/CsvLayout.h"

bool CSVOutlookExpressExport::exportFile(
    const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups)
{
    Q_UNUSED(groups)
    static const QString header = QStringLiteral(
        "First Name,Last Name,Company Main Phone,Home Phone,Mobile Phone,Business Fax,E-mail Address,Primary Phone,"
        "Categories");
    return CsvLayout::writeOutlook(encoding, path, contacts, header);
}
