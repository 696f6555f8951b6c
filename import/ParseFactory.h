#pragma once

#include <QObject>
#include <QString>

class ParseBase;
class XmlParse;
class CSVParse;
class VCardParse;

// Makes the reader for a file by its suffix: "xml", "vcf" or "csv" (case-sensitive,
// the last suffix of the file name only). Every call makes a fresh reader, so no
// state of an earlier read carries over; the reader of the same kind made before is
// deleted then.
class ParseFactory : public QObject
{
    Q_OBJECT
public:
    static ParseFactory *instance();

    // nullptr for any other suffix.
    ParseBase *createParser(const QString &path);

    QString filePath() const { return m_filePath; }

private:
    ParseFactory() = default;

    XmlParse *m_xmlReader = nullptr;
    CSVParse *m_csvReader = nullptr;
    VCardParse *m_vcardReader = nullptr;
    QString m_filePath;
};
