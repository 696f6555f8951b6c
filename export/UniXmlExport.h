#pragma once

#include "export/ExportBase.h"

// The general XML phonebook, every stored field (.xml).
class UniXmlExport : public ExportBase
{
    Q_OBJECT
public:
    using ExportBase::ExportBase;

    bool exportFile(
        const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups) override;
};
