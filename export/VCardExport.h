#pragma once

#include "export/ExportBase.h"

// vCard 3.0 entries with the X-MARLO- extensions (.vcf).
class VCardExport : public ExportBase
{
    Q_OBJECT
public:
    using ExportBase::ExportBase;

    bool exportFile(
        const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups) override;
};
