#include "export/CSVOutlookExport.h"

#include "export/CsvLayout.h"
#include "export/ExportRules.h"

using namespace CsvLayout;

Result CSVOutlookExport::write(
    QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups, const QString &encoding) const
{
    Q_UNUSED(groups)
    static const QString headers[] = {
        QStringLiteral("First Name,Last Name,Company Main Phone,Home Phone,Mobile Phone,Business Fax,E-mail Address,"
                       "Primary Phone,Categories"),
        QStringLiteral("名,姓,单位主要电话,住宅电话,移动电话,商务传真,电子邮件地址,主要电话,类别"),
        QStringLiteral("名,姓,业务电话,住宅电话,移动电话,业务传真,电子邮件地址"),
    };
    const bool primaryAndCategory = m_header != ChineseExpress;
    return CsvLayout::write(
        out, contacts, encoding, headers[m_header], [primaryAndCategory](QString &line, const ContactInfo &c) {
            const Fields f = fieldsOf(c);
            appendQuoted(line,
                { c.FirstName, c.LastName, f.number[Work], f.number[Home], f.number[Mobile], f.number[Fax], f.email });
            if (primaryAndCategory) {
                line += QLatin1Char(',');
                appendQuoted(line, { ExportRules::primaryNumber(c), f.group });
            }
        });
}
