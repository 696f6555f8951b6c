#pragma once

#include "export/ExportBase.h"

// vCard 3.0 entries with the X-MARLO- extensions (.vcf).
class VCardExport : public ExportBase
{
public:
    Result write(QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups,
        const QString &encoding) const override;
};
