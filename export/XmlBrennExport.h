#pragma once

#include "export/ExportBase.h"

// XML for Brenn phones (.xml).
class XmlBrennExport : public ExportBase
{
    Q_OBJECT
public:
    using ExportBase::ExportBase;

    bool exportFile(
        const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups) override;
};
