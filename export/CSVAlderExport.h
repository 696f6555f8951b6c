#pragma once

#include "export/ExportBase.h"

// CSV for Alder phones, accounts counted from 0 (.csv).
class CSVAlderExport : public ExportBase
{
    Q_OBJECT
public:
    using ExportBase::ExportBase;

    bool exportFile(
        const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups) override;
};
