#include "export/ExportBase.h"

ExportBase::ExportBase(QObject *parent)
    : QObject(parent)
{
}

bool ExportBase::exportFile(
    const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups)
{
    Q_UNUSED(encoding)
    Q_UNUSED(path)
    Q_UNUSED(contacts)
    Q_UNUSED(groups)
    return true;
}
