#include "export/ExportFactory.h"

#include "export/CSVGmailExport.h"
#include "export/CSVOutlookExport.h"
#include "export/CSVPhoneExport.h"
#include "export/UniXmlExport.h"
#include "export/VCardExport.h"
#include "export/XmlAlderExport.h"
#include "export/XmlBirchExport.h"
#include "export/XmlBrennExport.h"
#include "export/XmlCedarExport.h"

namespace {

struct Layout {
    int format;
    const char *label; // translated in the context "ExportFactory"
    const char *extension;
    const ExportBase *writer;
};

const Layout *layout(int format)
{
    static const VCardExport vcard;
    static const UniXmlExport general;
    static const XmlAlderExport alderXml;
    static const XmlBirchExport birchXml;
    static const XmlCedarExport cedarXml;
    static const XmlBrennExport brennXml;
    // Alder phones count accounts from 0, Birch phones from 1.
    static const CSVPhoneExport alderCsv(0);
    static const CSVPhoneExport birchCsv(1);
    // Outlook Express reads Outlook's English layout; its Chinese layout is shorter.
    static const CSVOutlookExport outlook(CSVOutlookExport::English);
    static const CSVOutlookExport outlookCn(CSVOutlookExport::Chinese);
    static const CSVOutlookExport expressCn(CSVOutlookExport::ChineseExpress);
    static const CSVGmailExport gmail;
    static const Layout table[] = {
        { ExportFactory::VCard, QT_TRANSLATE_NOOP("ExportFactory", "VCard"), ".vcf", &vcard },
        { ExportFactory::UniXml, QT_TRANSLATE_NOOP("ExportFactory", "XML(most universal)"), ".xml", &general },
        { ExportFactory::XmlAlder, QT_TRANSLATE_NOOP("ExportFactory", "XML(For Alder)"), ".xml", &alderXml },
        { ExportFactory::XmlBirch, QT_TRANSLATE_NOOP("ExportFactory", "XML(For Birch)"), ".xml", &birchXml },
        { ExportFactory::XmlCedar, QT_TRANSLATE_NOOP("ExportFactory", "XML(For Cedar)"), ".xml", &cedarXml },
        { ExportFactory::XmlBrenn, QT_TRANSLATE_NOOP("ExportFactory", "XML(For Brenn)"), ".xml", &brennXml },
        { ExportFactory::CsvAlder, QT_TRANSLATE_NOOP("ExportFactory", "CSV(For Alder)"), ".csv", &alderCsv },
        { ExportFactory::CsvBirch, QT_TRANSLATE_NOOP("ExportFactory", "CSV(For Birch)"), ".csv", &birchCsv },
        { ExportFactory::CsvOutlook, QT_TRANSLATE_NOOP("ExportFactory", "CSV(For Outlook)"), ".csv", &outlook },
        { ExportFactory::CsvOutlookCN, QT_TRANSLATE_NOOP("ExportFactory", "CSV(For Simplified Chinese Outlook)"),
            ".csv", &outlookCn },
        { ExportFactory::CsvOutlookExpress, QT_TRANSLATE_NOOP("ExportFactory", "CSV(For Outlook Express)"), ".csv",
            &outlook },
        { ExportFactory::CsvOutlookExpressCN,
            QT_TRANSLATE_NOOP("ExportFactory", "CSV(For Simplified Chinese Outlook Express)"), ".csv", &expressCn },
        { ExportFactory::CsvGmail, QT_TRANSLATE_NOOP("ExportFactory", "CSV(For Google GMail)"), ".csv", &gmail },
    };
    static_assert(std::size(table) == ExportFactory::FormatCount);
    if (format < 0 || format >= ExportFactory::FormatCount)
        return nullptr;
    Q_ASSERT(table[format].format == format);
    return &table[format];
}

} // namespace

const ExportBase *ExportFactory::writer(int format)
{
    const Layout *l = layout(format);
    return l ? l->writer : nullptr;
}

QString ExportFactory::extension(int format)
{
    const Layout *l = layout(format);
    return l ? QString::fromLatin1(l->extension) : QString();
}

QStringList ExportFactory::formatLabels()
{
    QStringList labels;
    for (int format = 0; format < FormatCount; ++format)
        labels.append(tr(layout(format)->label));
    return labels;
}

QStringList ExportFactory::encodingNames()
{
    return { QStringLiteral("UTF-8"), QStringLiteral("UTF-16"), QStringLiteral("UTF-32"), QStringLiteral("GBK"),
        QStringLiteral("Big5"), QStringLiteral("Big5-HKSCS"), QStringLiteral("Shift-JIS"),
        QStringLiteral("ISO 2022-JP"), QStringLiteral("KOI8-R"), QStringLiteral("Windows-1251"),
        QStringLiteral("EUC-KR"), QStringLiteral("ISO 8859-1"), QStringLiteral("ISO 8859-15") };
}

QStringList ExportFactory::formatNames()
{
    return { QStringLiteral("vcard"), QStringLiteral("xml"), QStringLiteral("alder-xml"), QStringLiteral("birch-xml"),
        QStringLiteral("cedar-xml"), QStringLiteral("brenn-xml"), QStringLiteral("alder-csv"),
        QStringLiteral("birch-csv"), QStringLiteral("outlook-csv"), QStringLiteral("outlook-zh-csv"),
        QStringLiteral("outlook-express-csv"), QStringLiteral("outlook-express-zh-csv"), QStringLiteral("gmail-csv") };
}

int ExportFactory::formatByName(const QString &text)
{
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (isNumber)
        return number >= 0 && number < FormatCount ? number : -1;
    return int(formatNames().indexOf(text.toLower()));
}

QString ExportFactory::encodingByName(const QString &text)
{
    // "ISO 8859-1", "iso-8859-1" and "ISO_8859_1" name one encoding.
    const auto plain = [](QString name) {
        return name.toLower().replace(QLatin1Char(' '), QLatin1Char('-')).replace(QLatin1Char('_'), QLatin1Char('-'));
    };
    const QString wanted = plain(text);
    for (const QString &name : encodingNames()) {
        if (plain(name) == wanted)
            return name;
    }
    return QString();
}
