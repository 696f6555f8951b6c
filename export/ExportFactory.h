#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class ExportBase;

// The thirteen layouts, numbered by their place in the export dialog's list: the
// label, the extension and the writer of each.
class ExportFactory
{
    Q_DECLARE_TR_FUNCTIONS(ExportFactory)
public:
    enum Format {
        VCard = 0,
        UniXml = 1,
        XmlAlder = 2,
        XmlBirch = 3,
        XmlCedar = 4,
        XmlBrenn = 5,
        CsvAlder = 6,
        CsvBirch = 7,
        CsvOutlook = 8,
        CsvOutlookCN = 9,
        CsvOutlookExpress = 10,
        CsvOutlookExpressCN = 11,
        CsvGmail = 12,
        FormatCount = 13
    };

    // The writer of a layout, shared by every caller; nullptr outside 0 to 12.
    static const ExportBase *writer(int format);
    // ".vcf", ".xml" or ".csv"; empty outside 0 to 12.
    static QString extension(int format);
    // The export dialog's format list, translated, in format order.
    static QStringList formatLabels();
    // The encodings the export dialog offers, in its order.
    static QStringList encodingNames();
    // Short names for scripts ("birch-xml"), in format order.
    static QStringList formatNames();
    // The layout a number ("3") or a short name (any case) stands for; -1 for none.
    static int formatByName(const QString &text);
    // The offered encoding a name stands for, in any case and with "_" or " " for
    // "-" ("gbk", "iso-8859-1"); empty for none.
    static QString encodingByName(const QString &text);
};
