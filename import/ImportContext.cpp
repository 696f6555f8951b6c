#include "import/ImportContext.h"

#include "data/Records.h"

ImportContext::ImportContext(int nextContactId, int nextGroupId)
    : m_nextContactId(nextContactId)
    , m_nextGroupId(nextGroupId)
{
}

void ImportContext::addStoredGroup(int id, const QString &name)
{
    m_known.insert(name);
    m_usedGroupIds.insert(id);
    m_storedNames.append(name);
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
