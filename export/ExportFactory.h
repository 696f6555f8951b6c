#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class ExportBase;

// Turns a format number (the position in the export dialog's list) into a new
// exporter. One per process, made on first use.
class ExportFactory : public QObject
{
    Q_OBJECT
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

    static ExportFactory *instance();

    // A new exporter owned by the caller; nullptr outside 0 to 12.
    ExportBase *createExporter(int format) const;

    // The export dialog's format list, translated, in format order.
    static QStringList formatLabels();
    // ".vcf", ".xml" or ".csv"; empty outside 0 to 12.
    static QString extension(int format);
    // The encodings the export dialog offers, in its order.
    static QStringList encodingNames();

private:
    ExportFactory() = default;
};
