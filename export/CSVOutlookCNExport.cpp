#include "export/CSVOutlookCNExport.h"

#include "export/CsvLayout.h"

bool CSVOutlookCNExport::exportFile(
    const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups)
{
    Q_UNUSED(groups)
    static const QString header
        = QStringLiteral("名,姓,单位主要电话,住宅电话,移动电话,商务传真,电子邮件地址,主要电话,类别");
    return CsvLayout::writeOutlook(encoding, path, contacts, header);
}
