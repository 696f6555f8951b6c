#pragma once

#include "export/ExportBase.h"

// XML for Birch phones (.xml).
class XmlBirchExport : public ExportBase
{
    Q_OBJECT
public:
    using ExportBase::ExportBase;

    bool exportFile(
        const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups) override;
};
