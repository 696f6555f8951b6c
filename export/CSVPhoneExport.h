#pragma once

#include "export/ExportBase.h"

// CSV of our own for Alder and Birch phones (.csv): the four phone types with their
// accounts, the primary index, the first group, the flags, photo and ringtone.
class CSVPhoneExport : public ExportBase
{
public:
    // Accounts are written as stored plus `accountBase`: Alder phones count them
    // from 0, Birch phones from 1.
    explicit CSVPhoneExport(int accountBase)
        : m_accountBase(accountBase)
    {
    }

    Result write(QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups,
        const QString &encoding) const override;

private:
    int m_accountBase;
};
