#pragma once

#include "data/ContactInfo.h"
#include "data/GroupInfo.h"

#include <QDateTime>
#include <QList>
#include <QString>

// Unsaved edits kept in a file of their own beside the store when the editor is
// ended from outside (a signal, the end of the desktop session). It is never the
// saved phonebook: phonebook.db, which phones are served from, stays as the user
// saved it, and the next start offers the copy back.
namespace RecoveryCopy {

struct Contents {
    QDateTime written;
    QList<ContactInfo> contacts;
    // The stored groups, without the display rows "All" and "Add group".
    QList<GroupInfo> groups;
};

// "recovery.json" in the program folder.
QString path();

// Writes the phonebook completely or not at all (an older copy stays as it was
// when this one fails). `groups` may hold the display rows; they are left out.
bool write(const QString &path, const QList<ContactInfo> &contacts, const QList<GroupInfo> &groups, QString *error);
// False, with the reason, when the file cannot be opened or is not a copy of ours.
bool read(const QString &path, Contents *contents, QString *error);

} // namespace RecoveryCopy
