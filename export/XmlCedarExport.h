#pragma once

#include "export/ExportBase.h"

// XML for Cedar phones (.xml).
class XmlCedarExport : public ExportBase
{
    Q_OBJECT
public:
    using ExportBase::ExportBase;

    bool exportFile(
        const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups) override;
};
