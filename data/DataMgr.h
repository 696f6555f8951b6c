#pragma once

#include "ContactInfo.h"
#include "GroupInfo.h"

#include <QObject>
#include <QStringList>

class ParseBase;
class HttpdService;

// Owns the working phonebook: the contact list, the group list (with the "All" and
// "Add group" display rows), the id counters and the known user-group names. Every
// change to the lists ends with updateModel(). Lives on the GUI thread.
class DataMgr : public QObject
{
    Q_OBJECT
public:
    static DataMgr *instance();

    QList<ContactInfo> &ctList() { return m_ctList; }
    QList<GroupInfo> &groupList() { return m_groups; }
    // The stored groups as the last save wrote them; what exports receive.
    const QList<GroupInfo> &savedGroups() const { return m_savedGroups; }

    // Shared with the readers, which number imported rows from them.
    int nextContactId() const { return m_nextContactId; }
    void setNextContactId(int id) { m_nextContactId = id; }
    int nextGroupId() const { return m_nextGroupId; }
    void setNextGroupId(int id) { m_nextGroupId = id; }
    QStringList &userGroupNames() { return m_userGroupNames; }

    void setBusy(bool busy) { m_busy = busy; }
    bool isBusy() const { return m_busy; }
    bool hasData() const;

    void setLanguage(const QString &code) { m_language = code; }
    QString language() const { return m_language; }

    void setReplaceOnImport(bool replace) { m_replaceOnImport = replace; }
    bool replaceOnImport() const { return m_replaceOnImport; }
    void setMergeMode(int mode);

    void reload();
    bool saveToDatabase();
    void clearPhonebook();
    bool resetForImport();

    // Imports and exports (readers and writers pick the layout).
    bool importFile(const QString &path, const QString &encoding);
    // What was wrong with the file of the last failed import, for the user; empty
    // when there was nothing to tell.
    QString importError() const { return m_importError; }
    // Writes folder + "/" + fileName + the layout's extension; `finalPath`, when
    // given, receives the path written.
    bool exportTo(int format, const QString &encoding, const QString &fileName, const QString &folder,
                  QString *finalPath = nullptr);
    // The files of a Save, for the window and the headless tool alike: creates
    // target/ and the HTTPD model folders, writes the store (saveToDatabase), the
    // history copy target/phonebook_yyyyMMddhhmmss.xml and phonebook.xml in
    // HTTPD/UNIXML, Birch, Cedar and Brenn (all UTF-8). The result is that of the
    // history copy, whose path `historyPath` receives; the HTTPD files are a cache
    // whose failures only the HTTP service notices.
    bool savePhonebookFiles(QString *historyPath = nullptr);

    // The phonebook service for phones.
    bool startHttpService();
    bool stopHttpService();
    quint16 httpPort() const;
    QStringList httpClients() const;

    void addContact(int groupIndex, ContactInfo contact);
    void deleteContact(int index);
    void deleteCheckedContacts();
    void refreshContact(int index);
    void copyContactToGroup(int index, const QString &groupName);
    void copyCheckedToGroup(const QString &groupName);
    void moveContactToGroup(int index, const QString &groupName);
    void moveCheckedToGroup(const QString &groupName);
    void removeContactFromGroup(int index, int groupIndex);
    void removeCheckedFromGroup(int groupIndex);
    void clearChecks(const QList<int> &rows);
    QList<int> groupContactRows(int groupIndex) const;

    bool groupNameExists(const QString &name) const;
    void addGroup(GroupInfo group);
    bool renameGroup(const QString &newName, int groupIndex);
    void dissolveGroup(int groupIndex);
    void deleteGroup(int groupIndex);

    static QString csvQuote(const QString &text);
    static bool canEncode(const QList<ContactInfo> &contacts, const QString &encoding);
    void removeHttpFiles();
    // Deletes the readers' temporary files and the whole HTTPD folder.
    void removeTemporaryFiles();

    // Fills the derived fields of a contact (pinyin keys, group text).
    static void fillContactKeys(ContactInfo &contact);

signals:
    void updateModel();
    void httpdMsg(const QString &message);

private:
    DataMgr();

    void createDefaultGroups();
    void rebuildDerived();
    void removeContactId(int id, int fromGroup);
    void addToGroup(ContactInfo &contact, const QString &groupName);
    void moveToGroup(ContactInfo &contact, const QString &groupName);
    void removeFromGroup(int index, int groupIndex);
    void clearGroupMembers(int groupIndex);

    QList<ContactInfo> m_ctList;
    QList<GroupInfo> m_groups;
    QList<GroupInfo> m_savedGroups;
    QStringList m_userGroupNames;
    int m_nextContactId = 1;
    int m_nextGroupId = 1;
    bool m_busy = false;
    bool m_replaceOnImport = false;
    QString m_language = QStringLiteral("en");
    ParseBase *m_importer = nullptr;
    QString m_importError;
    HttpdService *m_httpService = nullptr;
};
