#pragma once

#include "export/ExportBase.h"

// XML for Birch phones (.xml).
class XmlBirchExport : public ExportBase
{
public:
    Result write(QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups,
        const QString &encoding) const override;
};
