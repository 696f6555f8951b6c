#include "export/CSVOutlookExpressCNExport.h"

#include "export/CsvLayout.h"

using namespace CsvLayout;

bool CSVOutlookExpressCNExport::exportFile(
    const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups)
{
    Q_UNUSED(groups)
    static const QString header = QStringLiteral("名,姓,业务电话,住宅电话,移动电话,业务传真,电子邮件地址");
    return write(encoding, path, contacts, header, [](QString &line, const ContactInfo &c) {
        const Fields f = fieldsOf(c);
        appendQuoted(line,
            { c.FirstName, c.LastName, f.number[Work], f.number[Home], f.number[Mobile], f.number[Fax], f.email });
    });
}
