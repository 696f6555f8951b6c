#pragma once

#include "import/ParseBase.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QStringList>

class ImportContext;

// Reads comma-separated phonebooks: our own layout and the Outlook, Outlook Express
// (English and Simplified Chinese), Gmail, Google Contacts and Thunderbird layouts,
// whether written by us or by the mail programs themselves. The layout is
// recognised from the header; columns are found by name, so extra and reordered
// columns do no harm, and every phone and mail column a mail program writes is read.
// Fields may be separated by commas, semicolons or tabs (as the header shows).
class CSVParse : public ParseBase
{
    Q_DECLARE_TR_FUNCTIONS(CSVParse)
public:
    enum Layout {
        NoLayout = 0,
        Own = 2,
        Outlook = 3,
        OutlookChinese = 4,
        OutlookExpress = 5,
        OutlookExpressChinese = 6,
        Gmail = 7,
        Thunderbird = 8,
        GoogleContacts = 9
    };

    CSVParse() = default;

    // Every record is read before a row is made: a quoted field that is never
    // closed fails with its line, as does a header naming no column of ours.
    Expected<ImportRows> read(QByteArray bytes, const QString &encoding, ImportContext &numbering) override;
    // Whether the text fits `codecName`.
    bool checkEncoding(const QByteArray &bytes, const QString &codecName) const override;

    // The layout a header stands for (NoLayout never results here).
    static Layout layoutOf(const QStringList &header);
    // The field separator of a file by its first line: the most frequent of comma,
    // semicolon and tab outside quotes; a comma when none is there.
    static char delimiterOf(const QByteArray &firstLine);
    // The expected column names of a layout, in expected-position order.
    static QStringList expectedColumns(Layout layout);

private:
    using Record = QList<QByteArray>;

    // Maps the expected columns to the header; false when none is present.
    bool recognise(const QStringList &header);
    int headerIndex(const QStringList &header, const QString &name) const;
    QString value(const Record &record, int position) const;
    QByteArray field(const Record &record, int position) const;
    QString column(const Record &record, int index) const;
    // The organisation and department columns joined; null when all are empty.
    QVariant department(const Record &record) const;
    // Index of the first fax column holding a number in the record, or -1.
    int faxColumn(const Record &record) const;
    // The phone and mail columns of the header that `used` does not hold, in header
    // order, each non-empty value one entry.
    void addOtherColumns(const Record &record, int id, const QList<int> &used, ImportRows &rows) const;

    // The rows of one record, in the layout's way.
    void build(const Record &r, ImportContext &ctx, ImportRows &rows);
    void buildOwn(const Record &r, ImportContext &ctx, ImportRows &rows);
    void buildOutlook(const Record &r, ImportContext &ctx, ImportRows &rows);
    void buildOutlookExpress(const Record &r, ImportContext &ctx, ImportRows &rows);
    void buildGoogle(const Record &r, ImportContext &ctx, ImportRows &rows);
    void buildThunderbird(const Record &r, ImportContext &ctx, ImportRows &rows);

    Layout m_layout = NoLayout;
    QMap<int, int> m_columnMap;
    // The same by position, for the per-record lookups.
    QList<int> m_columns;
    QList<int> m_faxColumns;
    // Columns the own layout falls back on when a desktop-mail file lacks its own.
    int m_businessPhone = -1;
    int m_companyMainPhone = -1;
    int m_categories = -1;
    // Every column of the header that holds numbers (with its phone type) or mail
    // addresses.
    QList<QPair<int, QString>> m_phoneColumns;
    QList<int> m_mailColumns;
    // Organisation columns first, then department ones.
    QList<int> m_departmentColumns;
    // Google's numbered "Phone N" and "E-mail N" columns: (label, value) indices.
    QList<QPair<int, int>> m_phonePairs;
    QList<QPair<int, int>> m_mailPairs;
};
