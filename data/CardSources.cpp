#include "data/CardSources.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

Result CardSources::exec(const QString &sql, const QVariantList &values)
{
    QSqlQuery query(m_db);
    if (!query.prepare(sql))
        return Result::failure(query.lastError().text(), Result::Cause::Store);
    for (const QVariant &v : values)
        query.addBindValue(v);
    if (!query.exec())
        return Result::failure(query.lastError().text(), Result::Cause::Store);
    return Result();
}

Result CardSources::prepare()
{
    Result r = exec(QStringLiteral("create table if not exists card_source (id INTEGER PRIMARY KEY, url TEXT, "
                                   "name TEXT, user TEXT, password_file TEXT, group_name TEXT, refresh INT, "
                                   "sync_token TEXT, certificate TEXT)"));
    if (r) {
        // Stores made before sources could trust a certificate of their own.
        QSqlQuery columns(m_db);
        bool found = false;
        if (!columns.exec(QStringLiteral("pragma table_info(card_source)")))
            return Result::failure(columns.lastError().text(), Result::Cause::Store);
        while (columns.next())
            found = found || columns.value(1).toString() == QLatin1String("certificate");
        if (!found)
            r = exec(QStringLiteral("alter table card_source add column certificate TEXT"));
    }
    if (r)
        r = exec(QStringLiteral("create table if not exists card_link (contact_id INT PRIMARY KEY, source INT, "
                                "href TEXT, etag TEXT)"));
    if (r)
        r = exec(QStringLiteral("create index if not exists card_link_source on card_link(source)"));
    return r;
}

Expected<bool> CardSources::exist()
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("select 1 from sqlite_master where type = 'table' and name = 'card_source'")))
        return Result::failure(query.lastError().text(), Result::Cause::Store);
    return query.next();
}

Expected<QList<CardSource>> CardSources::sources()
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("select id, url, name, user, password_file, group_name, refresh, sync_token, "
                                   "certificate from card_source order by id")))
        return Result::failure(query.lastError().text(), Result::Cause::Store);
    QList<CardSource> list;
    while (query.next()) {
        CardSource s;
        s.id = query.value(0).toInt();
        s.url = query.value(1).toString();
        s.name = query.value(2).toString();
        s.user = query.value(3).toString();
        s.passwordFile = query.value(4).toString();
        s.group = query.value(5).toString();
        s.refreshMinutes = query.value(6).toInt();
        s.syncToken = query.value(7).toString();
        s.certificate = query.value(8).toString();
        list.append(s);
    }
    return list;
}

Result CardSources::save(CardSource &source)
{
    const QVariantList values { source.url, source.name, source.user, source.passwordFile, source.group,
        source.refreshMinutes, source.syncToken, source.certificate };
    if (source.id > 0)
        return exec(QStringLiteral("update card_source set url = ?, name = ?, user = ?, password_file = ?, "
                                   "group_name = ?, refresh = ?, sync_token = ?, certificate = ? where id = ?"),
            values + QVariantList { source.id });
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("insert into card_source (url, name, user, password_file, group_name, refresh, "
                                 "sync_token, certificate) values (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant &v : values)
        query.addBindValue(v);
    if (!query.exec())
        return Result::failure(query.lastError().text(), Result::Cause::Store);
    source.id = query.lastInsertId().toInt();
    return Result();
}

Result CardSources::remove(int sourceId)
{
    Result r = exec(QStringLiteral("delete from card_link where source = ?"), { sourceId });
    if (r)
        r = exec(QStringLiteral("delete from card_source where id = ?"), { sourceId });
    return r;
}

Expected<QHash<QString, CardLink>> CardSources::links(int sourceId)
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("select contact_id, href, etag from card_link where source = ?"));
    query.addBindValue(sourceId);
    if (!query.exec())
        return Result::failure(query.lastError().text(), Result::Cause::Store);
    QHash<QString, CardLink> links;
    while (query.next()) {
        CardLink link { query.value(0).toInt(), query.value(1).toString(), query.value(2).toString() };
        links.insert(link.href, link);
    }
    return links;
}

Result CardSources::setLinks(int sourceId, const QList<CardLink> &links)
{
    Result r = exec(QStringLiteral("delete from card_link where source = ?"), { sourceId });
    if (!r)
        return r;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("insert or replace into card_link (contact_id, source, href, etag) "
                                 "values (?, ?, ?, ?)"));
    for (const CardLink &link : links) {
        query.bindValue(0, link.contactId);
        query.bindValue(1, sourceId);
        query.bindValue(2, link.href);
        query.bindValue(3, link.etag);
        if (!query.exec())
            return Result::failure(query.lastError().text(), Result::Cause::Store);
    }
    return Result();
}

Expected<QHash<int, int>> CardSources::contactSources()
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("select contact_id, source from card_link")))
        return Result::failure(query.lastError().text(), Result::Cause::Store);
    QHash<int, int> sources;
    while (query.next())
        sources.insert(query.value(0).toInt(), query.value(1).toInt());
    return sources;
}

Result CardSources::forgetLinks()
{
    Result r = exec(QStringLiteral("delete from card_link"));
    if (r)
        r = exec(QStringLiteral("update card_source set sync_token = ''"));
    return r;
}

Result CardSources::deleteContacts(const QList<int> &ids)
{
    static const char *const statements[] = { "delete from contact1 where id = ?", "delete from phone1 where cid = ?",
        "delete from mail1 where cid = ?", "delete from union1 where contact_id = ?" };
    for (const char *sql : statements) {
        QSqlQuery query(m_db);
        query.prepare(QString::fromLatin1(sql));
        for (int id : ids) {
            query.bindValue(0, id);
            if (!query.exec())
                return Result::failure(query.lastError().text(), Result::Cause::Store);
        }
    }
    return Result();
}

Expected<QList<int>> CardSources::existingContacts(const QList<int> &ids)
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("select 1 from contact1 where id = ?"));
    QList<int> existing;
    for (int id : ids) {
        query.bindValue(0, id);
        if (!query.exec())
            return Result::failure(query.lastError().text(), Result::Cause::Store);
        if (query.next())
            existing.append(id);
        query.finish();
    }
    return existing;
}

Result CardSources::clearImportMarks()
{
    return exec(QStringLiteral("update contact1 set Flag = 0 where Flag = 1"));
}
