#pragma once

#include "export/ExportBase.h"

// CSV that Simplified Chinese Outlook imports (.csv).
class CSVOutlookCNExport : public ExportBase
{
    Q_OBJECT
public:
    using ExportBase::ExportBase;

    bool exportFile(
        const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups) override;
};
