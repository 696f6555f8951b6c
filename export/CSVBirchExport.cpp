#include "export/CSVBirchExport.h"

#include "export/CsvLayout.h"

bool CSVBirchExport::exportFile(
    const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups)
{
    Q_UNUSED(groups)
    return CsvLayout::writeOwn(encoding, path, contacts, 1);
}
