#pragma once

#include "export/ExportBase.h"

// CSV that Outlook and Outlook Express import (.csv), under an English or a
// Simplified Chinese header.
class CSVOutlookExport : public ExportBase
{
public:
    enum Header {
        // Outlook and Outlook Express alike.
        English,
        Chinese,
        // Simplified Chinese Outlook Express: the names, four numbers and the mail
        // address; no primary phone and no category.
        ChineseExpress
    };

    explicit CSVOutlookExport(Header header)
        : m_header(header)
    {
    }

    Result write(QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups,
        const QString &encoding) const override;

private:
    Header m_header;
};
