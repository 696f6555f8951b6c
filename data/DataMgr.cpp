#include "DataMgr.h"

#include "AppPaths.h"
#include "DBOperator.h"
#include "ExportBase.h"
#include "ExportFactory.h"
#include "Notifier.h"
#include "ParseBase.h"
#include "ParseFactory.h"
#include "PinyinKey.h"
#include "Records.h"
#include "SqliteDatabase.h"
#include "TextCodec.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>

#include <memory>

using namespace Records;

namespace {

GroupInfo makeGroup(const QString &name, int id)
{
    GroupInfo g;
    g.id = id;
    g.name = name;
    g.DisplayName = groupDisplayName(name);
    g.NamePinyin = PinyinKey::pinyinOf(name);
    g.IconKind = groupIconKind(name);
    return g;
}

bool isPseudoRow(const GroupInfo &g)
{
    return g.name == kAll || g.name == kAddGroup;
}

bool removeMember(GroupInfo &g, int id)
{
    if (g.MemberIds.removeAll(id) > 0) {
        --g.MemberCount;
        return true;
    }
    return false;
}

void addMember(GroupInfo &g, int id)
{
    if (!g.MemberIds.contains(id)) {
        g.MemberIds.append(id);
        ++g.MemberCount;
    }
}

} // namespace

DataMgr *DataMgr::instance()
{
    static DataMgr *mgr = new DataMgr;
    return mgr;
}

DataMgr::DataMgr()
{
    createDefaultGroups();
}

void DataMgr::createDefaultGroups()
{
    m_groups.append(makeGroup(kAll, 0));
    m_groups.append(makeGroup(kDefault, kDefaultGroupId));
    m_groups.append(makeGroup(kAddGroup, 0));
    m_groups.append(makeGroup(kBlacklist, kBlacklistGroupId));
}

bool DataMgr::hasData() const
{
    return m_groups.size() > 4 || !m_ctList.isEmpty();
}

void DataMgr::setMergeMode(int mode)
{
    DBOperator::instance()->setMergeMode(mode);
}

void DataMgr::fillContactKeys(ContactInfo &c)
{
    const QString first = PinyinKey::pinyinOf(c.FirstName);
    const QString last = PinyinKey::pinyinOf(c.LastName);
    c.NamePinyin = first + last;
    c.NameInitials = QString::fromLatin1(PinyinKey::toInitials(first.toUtf8()) + PinyinKey::toInitials(last.toUtf8()));
    c.GroupText = groupText(c.GroupList);
}

void DataMgr::reload()
{
    m_busy = true;
    // The old lists go first: holding both at once doubles the peak.
    m_ctList.clear();
    m_groups.clear();
    m_ctList = DBOperator::instance()->loadContacts();
    m_groups = DBOperator::instance()->loadGroups();
    rebuildDerived();
    removeHttpFiles();
    emit updateModel();
    m_busy = false;
}

void DataMgr::rebuildDerived()
{
    const int oldCount = int(m_groups.size());
    GroupInfo all = makeGroup(kAll, 0);
    all.MemberIds.reserve(m_ctList.size());
    for (const ContactInfo &c : std::as_const(m_ctList))
        all.MemberIds.append(c.id);
    all.MemberCount = int(m_ctList.size());
    m_groups.prepend(all);
    m_groups.insert(oldCount, makeGroup(kAddGroup, 0));

    for (GroupInfo &g : m_groups) {
        g.NamePinyin = PinyinKey::pinyinOf(g.name);
        g.Selected = false;
        g.IconKind = groupIconKind(g.name);
        g.DisplayName = groupDisplayName(g.name);
    }

    for (ContactInfo &c : m_ctList) {
        fillContactKeys(c);
        c.Selected = false;
        c.Checked = 0;
        rebuildPrimaryNumber(c);
        for (PhoneInfo &p : c.PhoneList)
            rebuildPhoneLabel(p);
        for (MailInfo &m : c.MailList)
            rebuildMailLabel(m);
    }

    m_nextContactId = m_ctList.isEmpty() ? 1 : m_ctList.last().id + 1;
    if (m_groups.size() < 5) {
        m_nextGroupId = 1;
    } else {
        int maxId = 0;
        bool any = false;
        for (const GroupInfo &g : std::as_const(m_groups)) {
            if (isPseudoRow(g))
                continue;
            maxId = any ? qMax(maxId, g.id) : g.id;
            any = true;
        }
        m_nextGroupId = maxId + 1;
    }
    for (const GroupInfo &g : std::as_const(m_groups)) {
        if (isPseudoRow(g) || g.name == kDefault || g.name == kBlacklist)
            continue;
        if (!m_userGroupNames.contains(g.name))
            m_userGroupNames.append(g.name);
    }
}

bool DataMgr::saveToDatabase()
{
    m_savedGroups.clear();
    for (GroupInfo &g : m_groups) {
        if (isPseudoRow(g))
            continue;
        // 100 is what every layout calls "Blacklist"; a user group must not share it.
        if (m_nextGroupId == kBlacklistGroupId)
            ++m_nextGroupId;
        g.id = m_nextGroupId++;
        m_savedGroups.append(g);
        if (g.name != kDefault && g.name != kBlacklist && !m_userGroupNames.contains(g.name))
            m_userGroupNames.append(g.name);
    }
    return DBOperator::instance()->saveAll(m_ctList, m_savedGroups);
}

void DataMgr::clearPhonebook()
{
    m_ctList.clear();
    m_groups.clear();
    m_nextContactId = 1;
    m_nextGroupId = 1;
    m_userGroupNames.clear();
    createDefaultGroups();
    removeHttpFiles();
    emit updateModel();
}

bool DataMgr::resetForImport()
{
    if (!m_replaceOnImport)
        return true;
    clearPhonebook();
    DBOperator::instance()->close();
    QFile::remove(AppPaths::appDir() + QStringLiteral("phonebook.db"));
    removeTemporaryFiles();
    emit updateModel();
    return DBOperator::instance()->database()->openDatabase();
}

void DataMgr::addContact(int groupIndex, ContactInfo contact)
{
    fillContactKeys(contact);
    contact.id = m_ctList.isEmpty() ? 1 : m_ctList.last().id + 1;
    if (groupIndex != 0 && !m_groups.isEmpty())
        addMember(m_groups[0], contact.id);
    if (groupIndex >= 0 && groupIndex < m_groups.size())
        addMember(m_groups[groupIndex], contact.id);
    m_ctList.append(contact);
    ++m_nextContactId;
    emit updateModel();
}

void DataMgr::removeContactId(int id, int fromGroup)
{
    for (int g = fromGroup; g < m_groups.size(); ++g)
        removeMember(m_groups[g], id);
}

void DataMgr::deleteContact(int index)
{
    if (index < 0 || index >= m_ctList.size())
        return;
    removeContactId(m_ctList[index].id, 0);
    m_ctList.removeAt(index);
    emit updateModel();
}

void DataMgr::deleteCheckedContacts()
{
    int i = 0;
    while (i < m_ctList.size()) {
        if (m_ctList[i].Checked == 1) {
            removeContactId(m_ctList[i].id, 0);
            m_ctList.removeAt(i);
        } else {
            ++i;
        }
    }
    emit updateModel();
}

void DataMgr::refreshContact(int index)
{
    if (index < 0 || index >= m_ctList.size())
        return;
    ContactInfo &c = m_ctList[index];
    fillContactKeys(c);
    for (int g = 1; g < m_groups.size(); ++g) {
        GroupInfo &group = m_groups[g];
        const bool named = c.GroupList.contains(group.name);
        if (named)
            addMember(group, c.id);
        else
            removeMember(group, c.id);
    }
}

void DataMgr::addToGroup(ContactInfo &c, const QString &groupName)
{
    if (!c.GroupList.contains(groupName)) {
        c.GroupList.append(groupName);
        c.GroupText += groupName + QStringLiteral("::");
    }
    for (GroupInfo &g : m_groups) {
        if (g.name == groupName)
            addMember(g, c.id);
    }
}

void DataMgr::moveToGroup(ContactInfo &c, const QString &groupName)
{
    c.GroupList = QStringList{groupName};
    c.GroupText = groupName + QStringLiteral("::");
    removeContactId(c.id, 1);
    addToGroup(c, groupName);
}

void DataMgr::copyContactToGroup(int index, const QString &groupName)
{
    if (index < 0 || index >= m_ctList.size())
        return;
    addToGroup(m_ctList[index], groupName);
    emit updateModel();
}

void DataMgr::copyCheckedToGroup(const QString &groupName)
{
    for (ContactInfo &c : m_ctList) {
        if (c.Checked == 1)
            addToGroup(c, groupName);
    }
    emit updateModel();
}

void DataMgr::moveContactToGroup(int index, const QString &groupName)
{
    if (index < 0 || index >= m_ctList.size())
        return;
    moveToGroup(m_ctList[index], groupName);
    emit updateModel();
}

void DataMgr::moveCheckedToGroup(const QString &groupName)
{
    for (ContactInfo &c : m_ctList) {
        if (c.Checked == 1)
            moveToGroup(c, groupName);
    }
    emit updateModel();
}

void DataMgr::removeFromGroup(int index, int groupIndex)
{
    ContactInfo &c = m_ctList[index];
    GroupInfo &g = m_groups[groupIndex];
    c.GroupList.removeAll(g.name);
    removeMember(g, c.id);
    refreshContact(index);
}

void DataMgr::removeContactFromGroup(int index, int groupIndex)
{
    if (index < 0 || index >= m_ctList.size() || groupIndex <= 0 || groupIndex >= m_groups.size())
        return;
    removeFromGroup(index, groupIndex);
    emit updateModel();
}

void DataMgr::removeCheckedFromGroup(int groupIndex)
{
    if (groupIndex <= 0 || groupIndex >= m_groups.size())
        return;
    for (int i = 0; i < m_ctList.size(); ++i) {
        if (m_ctList[i].Checked == 1)
            removeFromGroup(i, groupIndex);
    }
    emit updateModel();
}

void DataMgr::clearChecks(const QList<int> &rows)
{
    for (int row : rows) {
        if (row >= 0 && row < m_ctList.size())
            m_ctList[row].Checked = 0;
    }
}

QList<int> DataMgr::groupContactRows(int groupIndex) const
{
    QList<int> rows;
    if (groupIndex < 0 || groupIndex >= m_groups.size())
        return rows;
    const QList<int> &ids = m_groups[groupIndex].MemberIds;
    const QSet<int> members(ids.cbegin(), ids.cend());
    for (int i = 0; i < m_ctList.size(); ++i) {
        if (members.contains(m_ctList[i].id))
            rows.append(i);
    }
    return rows;
}

bool DataMgr::groupNameExists(const QString &name) const
{
    for (const GroupInfo &g : m_groups) {
        if (g.name == name || g.NamePinyin == name)
            return true;
    }
    return false;
}

void DataMgr::addGroup(GroupInfo group)
{
    const int count = int(m_groups.size());
    group.id = count - 1;
    if (group.NamePinyin.isEmpty())
        group.NamePinyin = PinyinKey::pinyinOf(group.name);
    if (group.IconKind.isEmpty())
        group.IconKind = groupIconKind(group.name);
    if (group.DisplayName.isEmpty())
        group.DisplayName = groupDisplayName(group.name);
    m_groups.insert(qMax(0, count - 2), group);
    ++m_nextGroupId;
    emit updateModel();
}

bool DataMgr::renameGroup(const QString &newName, int groupIndex)
{
    for (const GroupInfo &g : std::as_const(m_groups)) {
        if (g.name == newName) {
            Notifier::current()->message(Notifier::NoIcon, tr("Group name"), tr("Group name cannot be repeated!"));
            return false;
        }
    }
    if (groupIndex < 0 || groupIndex >= m_groups.size())
        return false;
    GroupInfo &g = m_groups[groupIndex];
    const QString oldName = g.name;
    g.name = newName;
    g.DisplayName = elide12(newName);
    g.NamePinyin = PinyinKey::pinyinOf(newName);
    // Membership is by whole name: a contact of "Workshop" is no member of "Work".
    for (ContactInfo &c : m_ctList) {
        if (!c.GroupList.contains(oldName))
            continue;
        c.GroupText.remove(oldName + QStringLiteral("::"));
        c.GroupText += newName + QStringLiteral("::");
        c.GroupList.replace(c.GroupList.indexOf(oldName), newName);
    }
    return true;
}

void DataMgr::clearGroupMembers(int groupIndex)
{
    GroupInfo &g = m_groups[groupIndex];
    g.MemberIds.clear();
    g.MemberCount = 0;
    for (ContactInfo &c : m_ctList) {
        c.GroupList.removeAll(g.name);
        c.GroupText.replace(g.name, QString());
    }
}

void DataMgr::dissolveGroup(int groupIndex)
{
    if (groupIndex < 0 || groupIndex >= m_groups.size() || isPseudoRow(m_groups[groupIndex]))
        return;
    clearGroupMembers(groupIndex);
    emit updateModel();
}

void DataMgr::deleteGroup(int groupIndex)
{
    if (groupIndex < 0 || groupIndex >= m_groups.size() || isPseudoRow(m_groups[groupIndex]))
        return;
    clearGroupMembers(groupIndex);
    m_groups.removeAt(groupIndex);
    emit updateModel();
}

QString DataMgr::csvQuote(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    if (quoted.contains(QLatin1Char(',')) || quoted.contains(QLatin1Char('"')) || quoted.contains(QLatin1Char('\n')))
        quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
    return quoted;
}

bool DataMgr::canEncode(const QList<ContactInfo> &contacts, const QString &encoding)
{
    QString all;
    for (const ContactInfo &c : contacts) {
        all += c.FirstName;
        all += c.LastName;
        for (const MailInfo &m : c.MailList)
            all += m.Mail;
    }
    return TextCodec::canEncode(encoding, all);
}

void DataMgr::removeTemporaryFiles()
{
    const QString dir = AppPaths::appDir();
    for (const char *name : {"tmp.csv", "tmp1.csv", "tmp2.csv", "tmp.xml", "tmp.vcf"})
        QFile::remove(dir + QLatin1String(name));
    QDir(dir + QStringLiteral("HTTPD")).removeRecursively();
}

void DataMgr::removeHttpFiles()
{
    const QString dir = AppPaths::appDir() + QStringLiteral("HTTPD/");
    for (const char *model : {"Alder", "Birch", "Cedar", "Brenn", "UNIXML"})
        QFile::remove(dir + QLatin1String(model) + QStringLiteral("/phonebook.xml"));
}

// Export and the files of a save.

bool DataMgr::exportTo(int format, const QString &encoding, const QString &fileName, const QString &folder,
                       QString *finalPath)
{
    const std::unique_ptr<ExportBase> exporter(ExportFactory::instance()->createExporter(format));
    if (!exporter)
        return false;
    QString path = folder + QLatin1Char('/') + fileName;
    const bool ok = exporter->exportFile(encoding, path, m_ctList, m_savedGroups);
    if (finalPath)
        *finalPath = path;
    return ok;
}

bool DataMgr::savePhonebookFiles(QString *historyPath)
{
    const QString dir = AppPaths::appDir();
    for (const char *folder : {"target", "HTTPD/UNIXML", "HTTPD/Birch", "HTTPD/Cedar", "HTTPD/Brenn"})
        QDir().mkpath(dir + QLatin1String(folder));
    const QString historyName =
        QStringLiteral("phonebook_") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
    saveToDatabase();
    const QString utf8 = QStringLiteral("UTF-8");
    const QString phonebook = QStringLiteral("phonebook");
    const bool saved = exportTo(ExportFactory::UniXml, utf8, historyName, dir + QStringLiteral("target"), historyPath);
    exportTo(ExportFactory::UniXml, utf8, phonebook, dir + QStringLiteral("HTTPD/UNIXML"));
    exportTo(ExportFactory::XmlBirch, utf8, phonebook, dir + QStringLiteral("HTTPD/Birch"));
    exportTo(ExportFactory::XmlCedar, utf8, phonebook, dir + QStringLiteral("HTTPD/Cedar"));
    exportTo(ExportFactory::XmlBrenn, utf8, phonebook, dir + QStringLiteral("HTTPD/Brenn"));
    return saved;
}

// Import
bool DataMgr::importFile(const QString &path, const QString &encoding)
{
    m_importError.clear();
    m_importer = ParseFactory::instance()->createParser(path);
    if (!m_importer)
        return false;
    if (!m_importer->readFile(path, encoding)) {
        m_importError = m_importer->errorString();
        return false;
    }
    reload();
    return true;
}

// The phonebook service for phones.
#include "HttpdService.h"

bool DataMgr::startHttpService()
{
    if (!m_httpService) {
        m_httpService = new HttpdService(this);
        // Runs on this thread while the asking connection thread waits.
        m_httpService->setPhonebookWriter([this](int format, const QString &folder) {
            saveToDatabase();
            return exportTo(format, QStringLiteral("UTF-8"), QStringLiteral("phonebook"), folder);
        });
        // Connection threads must not outlive the application object.
        if (QCoreApplication::instance())
            connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &DataMgr::stopHttpService,
                    Qt::UniqueConnection);
    }
    connect(m_httpService, &HttpdService::httpdMsg, this, &DataMgr::httpdMsg, Qt::UniqueConnection);
    if (!m_httpService->startServer()) {
        stopHttpService();
        return false;
    }
    return true;
}

bool DataMgr::stopHttpService()
{
    if (m_httpService) {
        m_httpService->stopServer();
        delete m_httpService;
        m_httpService = nullptr;
    }
    return true;
}

quint16 DataMgr::httpPort() const
{
    return m_httpService ? m_httpService->serverPort() : 80;
}

QStringList DataMgr::httpClients() const
{
    return m_httpService ? m_httpService->addressList() : QStringList();
}
