#pragma once

#include "export/ExportBase.h"

// CSV that Google Gmail imports (.csv).
class CSVGmailExport : public ExportBase
{
public:
    Result write(QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups,
        const QString &encoding) const override;
};
