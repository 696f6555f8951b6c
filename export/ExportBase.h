#pragma once

#include "data/ContactInfo.h"
#include "data/GroupInfo.h"
#include "data/Result.h"
#include "export/ExportContacts.h"

#include <QList>
#include <QString>

class QIODevice;

// A writer of one phonebook file layout. It keeps no state, so one object serves
// every export, on any thread.
class ExportBase
{
public:
    virtual ~ExportBase() = default;

    // Writes `contacts` and `groups` in `encoding` into `out` as it goes. A failure
    // gives the reason (an encoding that cannot hold what the layout checks, the
    // device's error); what was written by then is not a whole file.
    virtual Result write(QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups,
        const QString &encoding) const = 0;
};
