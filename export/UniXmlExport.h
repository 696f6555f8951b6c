#pragma once

#include "export/ExportBase.h"

// The general XML phonebook, every stored field (.xml).
class UniXmlExport : public ExportBase
{
public:
    Result write(QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups,
        const QString &encoding) const override;
};
