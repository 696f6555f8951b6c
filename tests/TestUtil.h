#pragma once

// Helpers shared by the test executables: a fresh program folder per test, a
// notifier that records instead of showing boxes, and small phonebook builders.

#include "data/AppPaths.h"
#include "data/Notifier.h"
#include "data/Records.h"
#include "data/SqliteDatabase.h"
#include "manager/DataMgr.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>

namespace TestUtil {

// Records every message instead of showing it.
class RecordingNotifier : public Notifier
{
public:
    struct Entry {
        Icon icon;
        QString title;
        QString text;
    };
    QList<Entry> entries;

    RecordingNotifier() { Notifier::install(this); }
    ~RecordingNotifier() override { Notifier::install(nullptr); }
    void message(Icon icon, const QString &title, const QString &text) override
    {
        entries.append(Entry { icon, title, text });
    }
};

// Points the program folder at a new temporary folder, opens an empty store there
// and empties the data manager. The folder lives as long as the object.
class Workspace
{
public:
    Workspace()
    {
        QVERIFY2(m_dir.isValid(), "no temporary folder");
        AppPaths::setAppDir(m_dir.path());
        DataMgr *mgr = DataMgr::instance();
        mgr->closeStore();
        QVERIFY(mgr->openStore());
        mgr->clearPhonebook();
        mgr->setReplaceOnImport(false);
        mgr->setMergeMode(0);
        mgr->setBusy(false);
    }
    ~Workspace()
    {
        DataMgr::instance()->closeStore();
        AppPaths::setAppDir(QString());
    }
    QString path() const { return m_dir.path(); }
    // Path inside the folder.
    QString file(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

inline PhoneInfo phone(const QString &type, const QString &number, int account = 0)
{
    PhoneInfo p;
    p.type = type;
    p.phonenumber = number;
    p.accountindex = account;
    return p;
}

inline MailInfo mail(const QString &type, const QString &address)
{
    MailInfo m;
    m.type = type;
    m.Mail = address;
    return m;
}

inline ContactInfo contact(const QString &first, const QString &last, const QList<PhoneInfo> &phones = {},
    const QList<MailInfo> &mails = {}, const QStringList &groups = {})
{
    ContactInfo c;
    c.FirstName = first;
    c.LastName = last;
    c.PhoneList = phones;
    c.MailList = mails;
    c.GroupList = groups;
    return c;
}

// Adds a user group by name to the working phonebook (before "Blacklist").
inline void addGroup(const QString &name)
{
    DataMgr::instance()->phonebook().addGroup(name);
    DataMgr::instance()->phonebookChanged();
}

// Index of a group by name in the working phonebook's groups, or -1.
inline int groupIndex(const QString &name)
{
    return DataMgr::instance()->phonebook().indexOfGroup(name);
}

// Adds a contact to the phonebook and to each named group.
inline void addContact(ContactInfo c)
{
    Phonebook &book = DataMgr::instance()->phonebook();
    const QStringList groups = c.GroupList;
    c.GroupList.clear();
    const int row = book.addContact(c);
    for (const QString &g : groups)
        book.copyToGroup({ row }, g);
    DataMgr::instance()->phonebookChanged();
}

inline SqliteDatabase *store()
{
    return DataMgr::instance()->store();
}

// The phonebook in the store, as it loads; empty when it cannot be read.
inline QList<ContactInfo> loadedContacts()
{
    const Expected<QList<ContactInfo>> contacts = store()->loadContacts();
    return contacts ? *contacts : QList<ContactInfo>();
}

inline QList<GroupInfo> loadedGroups()
{
    const Expected<QList<GroupInfo>> groups = store()->loadGroups();
    return groups ? *groups : QList<GroupInfo>();
}

// Names of the working phonebook's groups, in order.
inline QStringList groupNames()
{
    QStringList names;
    for (const GroupInfo &g : DataMgr::instance()->phonebook().groups())
        names << g.name;
    return names;
}

} // namespace TestUtil
