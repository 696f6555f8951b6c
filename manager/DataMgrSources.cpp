// The data manager's address-book sources: what a refresh brings in, applied to
// the store as one transaction.
#include "data/CardSources.h"
#include "data/FolderLock.h"
#include "data/SqliteDatabase.h"
#include "import/CardDavClient.h"
#include "import/ImportContext.h"
#include "import/ImportRows.h"
#include "import/VCardParse.h"
#include "manager/DataMgr.h"

#include <QRegularExpression>

namespace {

// A card's own groups would make groups of their own; its contact joins the
// source's group instead.
QByteArray withoutGroups(const QByteArray &card)
{
    static const QRegularExpression groupLines(
        QStringLiteral("^(?:[A-Za-z0-9-]+\\.)?(?:CATEGORIES|X-[A-Z]+-GROUP)[;:][^\\n]*\\n(?:[ \\t][^\\n]*\\n)*"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    QString text = QString::fromUtf8(card);
    if (!text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.remove(groupLines);
    return text.toUtf8();
}

int cardsIn(const QByteArray &bytes)
{
    static const QRegularExpression begin(QStringLiteral("^BEGIN:VCARD\\s*$"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    int n = 0;
    for (auto it = begin.globalMatch(QString::fromUtf8(bytes)); it.hasNext(); it.next())
        ++n;
    return n;
}

} // namespace

bool DataMgr::storeIsOpen() const
{
    return m_store && m_store->isOpen();
}

Expected<QList<CardSource>> DataMgr::cardSources()
{
    CardSources tables(m_store->connection());
    // Looking leaves a store that never had a source as it is.
    const Expected<bool> exist = tables.exist();
    if (!exist)
        return exist.result();
    if (!*exist)
        return QList<CardSource>();
    // Tables of an older version gain what they lack.
    if (const Result prepared = tables.prepare(); !prepared)
        return prepared;
    return tables.sources();
}

Result DataMgr::changeCardSources(const std::function<Result(CardSources &)> &change)
{
    CardSources tables(m_store->connection());
    Result r = m_store->beginTransaction();
    if (!r)
        return r;
    r = tables.prepare();
    if (r)
        r = change(tables);
    const Result ended = m_store->endTransaction(r.ok());
    return r ? ended : r;
}

Result DataMgr::saveCardSource(CardSource &source)
{
    return changeCardSources([&source](CardSources &tables) { return tables.save(source); });
}

Result DataMgr::removeCardSource(int sourceId)
{
    m_contactSources.reset();
    return changeCardSources([sourceId](CardSources &tables) { return tables.remove(sourceId); });
}

Expected<QHash<QString, QString>> DataMgr::cardVersions(CardSource &source)
{
    CardSources tables(m_store->connection());
    if (const Result prepared = tables.prepare(); !prepared)
        return prepared;
    const Expected<QHash<QString, CardLink>> links = tables.links(source.id);
    if (!links)
        return links.result();
    QHash<QString, QString> versions;
    QList<int> ids;
    for (const CardLink &link : *links)
        ids.append(link.contactId);
    const Expected<QList<int>> existing = tables.existingContacts(ids);
    if (!existing)
        return existing.result();
    const QSet<int> present(existing->cbegin(), existing->cend());
    for (const CardLink &link : *links) {
        if (present.contains(link.contactId))
            versions.insert(link.href, link.etag);
    }
    // The phonebook was emptied since: the whole book comes again.
    if (versions.isEmpty())
        source.syncToken.clear();
    return versions;
}

const QHash<int, int> &DataMgr::contactSources()
{
    static const QHash<int, int> none;
    if (!m_contactSources) {
        if (!m_store->isOpen())
            return none;
        CardSources tables(m_store->connection());
        const Expected<bool> exist = tables.exist();
        Expected<QHash<int, int>> read
            = exist && *exist ? tables.contactSources() : Expected<QHash<int, int>>(exist.result());
        if (exist && !*exist)
            read = QHash<int, int>();
        // Asked again next time when the store could not tell.
        if (!read)
            return none;
        m_contactSources = std::move(*read);
    }
    return *m_contactSources;
}

Result DataMgr::forgetCardLinks()
{
    m_contactSources.reset();
    CardSources tables(m_store->connection());
    const Expected<bool> exist = tables.exist();
    // Within the caller's transaction: a failure here undoes all of it.
    if (!exist)
        return m_store->failWith(exist.result());
    return *exist ? m_store->failWith(tables.forgetLinks()) : Result();
}

Result DataMgr::publishCardChanges(CardSource &source, const DavChanges &changes, int *applied)
{
    const BusyScope busy(this);
    // No other program may write the folder between the store and the files.
    FolderLock lock;
    if (!lock.lock())
        return Result::failure(lock.error(), Result::Cause::Locked);
    const ImportSnapshot before = snapshot();
    const CardSource sourceBefore = source;
    Result result = m_store->beginTransaction();
    if (!result)
        return result;
    int count = 0;
    result = applyCardChanges(source, changes, &count);
    if (result && count > 0)
        result = savePhonebookFiles();
    const Result ended = m_store->endTransaction(result.ok());
    if (result && ended) {
        if (applied)
            *applied = count;
        return Result();
    }
    // A save that failed after the store took it may have left new files: the
    // service writes them again from the store as it is now.
    if (count > 0)
        removeHttpFiles();
    restore(before);
    source = sourceBefore;
    m_contactSources.reset();
    return result ? ended : result;
}

Result DataMgr::applyCardChanges(CardSource &source, const DavChanges &changes, int *applied)
{
    const BusyScope busy(this);
    const ImportSnapshot before = snapshot();
    const CardSource sourceBefore = source;
    m_contactSources.reset();
    CardSources tables(m_store->connection());
    Result result = m_store->beginTransaction();
    if (!result)
        return result;
    result = tables.prepare();
    if (result)
        result = storeLists();
    Expected<QHash<QString, CardLink>> links
        = result ? tables.links(source.id) : Expected<QHash<QString, CardLink>>(result);
    if (!links)
        result = links.result();

    ImportRows rows;
    int count = 0;
    if (result) {
        // Old versions go; the groups the user gave a contact stay with its new version.
        QList<int> gone;
        QHash<QString, QStringList> keptGroups;
        for (const QString &href : changes.removed) {
            if (links->contains(href)) {
                gone.append(links->take(href).contactId);
                ++count;
            }
        }
        for (const DavCard &card : changes.changed) {
            if (!links->contains(card.href))
                continue;
            const int id = links->take(card.href).contactId;
            gone.append(id);
            const int row = m_phonebook.indexOfContact(id);
            if (row >= 0) {
                QStringList groups = m_phonebook.contacts().at(row).GroupList;
                groups.removeAll(source.group);
                groups.removeAll(QString());
                keptGroups.insert(card.href, groups);
            }
        }
        result = tables.deleteContacts(gone);

        Expected<ImportContext> numbering = result ? importNumbering() : Expected<ImportContext>(result);
        if (result && !numbering)
            result = numbering.result();
        if (result && !changes.changed.isEmpty()) {
            QByteArray cards;
            for (const DavCard &card : changes.changed) {
                if (cardsIn(card.data) != 1) {
                    result = Result::failure(tr("The card %1 could not be read: it holds %2 contacts.")
                                                 .arg(card.href)
                                                 .arg(cardsIn(card.data)));
                    break;
                }
                cards += withoutGroups(card.data);
            }
            const int first = numbering->contactId();
            VCardParse reader;
            Expected<ImportRows> read
                = result ? reader.read(cards, QStringLiteral("UTF-8"), *numbering) : Expected<ImportRows>(result);
            if (result && !read) {
                // Name the card that failed.
                QString which;
                for (const DavCard &card : changes.changed) {
                    ImportContext alone;
                    if (!reader.read(withoutGroups(card.data), QStringLiteral("UTF-8"), alone)) {
                        which = card.href;
                        break;
                    }
                }
                result = Result::failure(tr("The card %1 could not be read: %2").arg(which, read.message()));
            }
            if (result) {
                rows = std::move(*read);
                if (!numbering->isKnownGroup(source.group)) {
                    const int groupId = numbering->idForNewGroup(source.group);
                    rows.addGroup(groupId, source.group);
                    numbering->addGroup(source.group, groupId);
                }
                for (int i = 0; i < changes.changed.size(); ++i) {
                    const DavCard &card = changes.changed.at(i);
                    const int id = first + i;
                    rows.addMember(id, source.group);
                    for (const QString &group : keptGroups.value(card.href)) {
                        if (numbering->isKnownGroup(group))
                            rows.addMember(id, group);
                    }
                    links->insert(card.href, CardLink { id, card.href, card.etag });
                }
                count += int(changes.changed.size());
                m_phonebook.setNextContactId(numbering->nextContactId());
                m_phonebook.setNextGroupId(numbering->nextGroupId());
                for (const QString &name : numbering->newUserGroups())
                    m_phonebook.addUserGroupName(name);
                if (!rows.isEmpty())
                    result = m_store->insertBatch(rows.batch());
                if (result)
                    result = tables.clearImportMarks();
            }
        }
        if (result)
            result = tables.setLinks(source.id, links->values());
        if (result) {
            source.syncToken = changes.syncToken;
            result = tables.save(source);
        }
        if (result && count > 0)
            result = reload();
    }
    const Result ended = m_store->endTransaction(result.ok());
    m_contactSources.reset();
    if (result && ended) {
        if (applied)
            *applied = count;
        return Result();
    }
    restore(before);
    source = sourceBefore;
    return result ? ended : result;
}
