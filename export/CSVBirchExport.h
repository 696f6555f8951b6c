#pragma once

#include "export/ExportBase.h"

// CSV for Birch phones, accounts counted from 1 (.csv).
class CSVBirchExport : public ExportBase
{
    Q_OBJECT
public:
    using ExportBase::ExportBase;

    bool exportFile(
        const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups) override;
};
