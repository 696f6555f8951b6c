#pragma once

#include "export/ExportBase.h"

// CSV that Google Gmail imports (.csv).
class CSVGmailExport : public ExportBase
{
    Q_OBJECT
public:
    using ExportBase::ExportBase;

    bool exportFile(
        const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups) override;
};
