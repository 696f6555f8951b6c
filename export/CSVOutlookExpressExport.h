#pragma once

#include "export/ExportBase.h"

// CSV that Outlook Express imports (.csv).
class CSVOutlookExpressExport : public ExportBase
{
    Q_OBJECT
public:
    using ExportBase::ExportBase;

    bool exportFile(
        const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups) override;
};
