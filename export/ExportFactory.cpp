#include "export/ExportFactory.h"

#include "export/CSVAlderExport.h"
#include "export/CSVBirchExport.h"
#include "export/CSVGmailExport.h"
#include "export/CSVOutlookCNExport.h"
#include "export/CSVOutlookExport.h"
#include "export/CSVOutlookExpressCNExport.h"
#include "export/CSVOutlookExpressExport.h"
#include "export/UniXmlExport.h"
#include "export/VCardExport.h"
#include "export/XmlAlderExport.h"
#include "export/XmlBirchExport.h"
#include "export/XmlBrennExport.h"
#include "export/XmlCedarExport.h"

ExportFactory *ExportFactory::instance()
{
    static ExportFactory *factory = new ExportFactory;
    return factory;
}

ExportBase *ExportFactory::createExporter(int format) const
{
    switch (format) {
    case VCard:
        return new VCardExport;
    case UniXml:
        return new UniXmlExport;
    case XmlAlder:
        return new XmlAlderExport;
    case XmlBirch:
        return new XmlBirchExport;
    case XmlCedar:
        return new XmlCedarExport;
    case XmlBrenn:
        return new XmlBrennExport;
    case CsvAlder:
        return new CSVAlderExport;
    case CsvBirch:
        return new CSVBirchExport;
    case CsvOutlook:
        return new CSVOutlookExport;
    case CsvOutlookCN:
        return new CSVOutlookCNExport;
    case CsvOutlookExpress:
        return new CSVOutlookExpressExport;
    case CsvOutlookExpressCN:
        return new CSVOutlookExpressCNExport;
    case CsvGmail:
        return new CSVGmailExport;
    default:
        return nullptr;
    }
}

QStringList ExportFactory::formatLabels()
{
    return { tr("VCard"), tr("XML(most universal)"), tr("XML(For Alder)"), tr("XML(For Birch)"), tr("XML(For Cedar)"),
        tr("XML(For Brenn)"), tr("CSV(For Alder)"), tr("CSV(For Birch)"), tr("CSV(For Outlook)"),
        tr("CSV(For Simplified Chinese Outlook)"), tr("CSV(For Outlook Express)"),
        tr("CSV(For Simplified Chinese Outlook Express)"), tr("CSV(For Google GMail)") };
}

QString ExportFactory::extension(int format)
{
    if (format == VCard)
        return QStringLiteral(".vcf");
    if (format >= UniXml && format <= XmlBrenn)
        return QStringLiteral(".xml");
    if (format >= CsvAlder && format < FormatCount)
        return QStringLiteral(".csv");
    return QString();
}

QStringList ExportFactory::encodingNames()
{
    return { QStringLiteral("UTF-8"), QStringLiteral("UTF-16"), QStringLiteral("UTF-32"), QStringLiteral("GBK"),
        QStringLiteral("Big5"), QStringLiteral("Big5-HKSCS"), QStringLiteral("Shift-JIS"),
        QStringLiteral("ISO 2022-JP"), QStringLiteral("KOI8-R"), QStringLiteral("Windows-1251"),
        QStringLiteral("EUC-KR"), QStringLiteral("ISO 8859-1"), QStringLiteral("ISO 8859-15") };
}
