#pragma once

#include "data/CardSource.h"
#include "data/Result.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>

// The store's record of sources and of the contacts that came from them. Kept in
// tables of their own, so the phonebook's five tables, and every program that
// reads them, stay as they are.
class CardSources
{
public:
    explicit CardSources(QSqlDatabase db)
        : m_db(std::move(db))
    {
    }

    // Creates the two tables when the store lacks them.
    Result prepare();
    // Whether the store has the tables: a source was added to it once.
    Expected<bool> exist();
    Expected<QList<CardSource>> sources();
    // Adds (id 0) or rewrites the source; `source.id` receives the new id.
    Result save(CardSource &source);
    // Removes the source and its links; its contacts stay, as the user's own.
    Result remove(int sourceId);
    // Links of a source, by href.
    Expected<QHash<QString, CardLink>> links(int sourceId);
    Result setLinks(int sourceId, const QList<CardLink> &links);
    // The source of every contact that came from one, by contact id.
    Expected<QHash<int, int>> contactSources();
    // The phonebook was emptied: no contact is any card's any more, and every
    // source's next fetch brings its whole book.
    Result forgetLinks();
    // Deletes contacts from the phonebook's tables (their numbers, mails and
    // memberships with them).
    Result deleteContacts(const QList<int> &ids);
    // Marks the rows just inserted as the phonebook's own, as a finished import does.
    Result clearImportMarks();
    // Of `ids`, those the phonebook still holds.
    Expected<QList<int>> existingContacts(const QList<int> &ids);

private:
    Result exec(const QString &sql, const QVariantList &values = {});
    QSqlDatabase m_db;
};
