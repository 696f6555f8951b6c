#pragma once

#include "export/ExportBase.h"

// XML for Alder phones (.xml).
class XmlAlderExport : public ExportBase
{
public:
    Result write(QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups,
        const QString &encoding) const override;
};
