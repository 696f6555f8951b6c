#include "import/ImportContext.h"

#include "data/DBOperator.h"
#include "data/Records.h"
#include "data/SqliteDatabase.h"
#include "manager/DataMgr.h"

ImportContext::ImportContext()
{
    DataMgr *mgr = DataMgr::instance();
    SqliteDatabase *store = DBOperator::instance()->database();
    m_nextContactId = qMax(qMax(1, mgr->nextContactId()), store->largestContactId() + 1);
    m_nextGroupId = mgr->nextGroupId();
    for (const GroupRow &g : store->storedGroups()) {
        m_known.insert(g.name);
        m_usedGroupIds.insert(g.id);
    }
}

int ImportContext::groupId()
{
    while (m_nextGroupId <= 0 || m_nextGroupId == Records::kBlacklistGroupId || m_usedGroupIds.contains(m_nextGroupId))
        ++m_nextGroupId;
    return m_nextGroupId;
}

void ImportContext::addGroup(const QString &name, int id)
{
    m_known.insert(name);
    m_usedGroupIds.insert(id);
    if (name != Records::kDefault && name != Records::kBlacklist)
        m_newUserGroups.append(name);
}

int ImportContext::idForNewGroup(const QString &name)
{
    if (name == Records::kDefault && !m_usedGroupIds.contains(Records::kDefaultGroupId))
        return Records::kDefaultGroupId;
    if (name == Records::kBlacklist && !m_usedGroupIds.contains(Records::kBlacklistGroupId))
        return Records::kBlacklistGroupId;
    return groupId();
}

void ImportContext::commit() const
{
    DataMgr *mgr = DataMgr::instance();
    mgr->setNextContactId(m_nextContactId);
    mgr->setNextGroupId(m_nextGroupId);
    QStringList &names = mgr->userGroupNames();
    for (const QString &name : m_newUserGroups) {
        if (!names.contains(name))
            names.append(name);
    }
}
