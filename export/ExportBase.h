#pragma once

#include "data/ContactInfo.h"
#include "data/GroupInfo.h"

#include <QList>
#include <QObject>
#include <QString>

// A writer of one phonebook file layout. Made per call by ExportFactory, it keeps
// no state, so several may run at once on different threads.
class ExportBase : public QObject
{
    Q_OBJECT
public:
    explicit ExportBase(QObject *parent = nullptr);

    // Writes `contacts` and `groups` in `encoding` to `path` plus the layout's
    // extension; `path` then holds the final path. The file is replaced only
    // when it was written completely; on failure no new file is left behind.
    // The lists come by value: a layout may change its copies.
    virtual bool exportFile(
        const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups);
};
