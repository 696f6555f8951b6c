#include "data/SqliteDatabase.h"

#include "data/AppPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <utility>

namespace {

const char *const kCreateStatements[] = {
    "create table contact1 (id INT PRIMARY KEY, Department VERCHAR, LastName VERCHAR, FirstName VERCHAR, "
    "PhotoUrl VERCHAR, RingtoneUrl VERCHAR,RingtoneIndex INT, PrimaryIndex INT, Frequent INT, Flag INT)",
    "create table phone1 (cid INT, type VERCHAR, phonenumber VERCHAR, accountindex INT)",
    "create table mail1 (cid INT, type VERCHAR , Mail VERCHAR)",
    "create table group1 (id INT PRIMARY KEY,name VERCHAR , photos VERCHAR, ringtones VERCHAR,RingtoneIndex INT)",
    "create table union1 (contact_id INT, group_name VERCHAR)",
};

const QStringList kTables = { "contact1", "phone1", "mail1", "group1", "union1" };
const QStringList kIndexes = { "contact1_name_key", "phone1_cid", "mail1_cid", "union1_contact", "union1_group" };
const QStringList kOldIndexes = { "contact1_names", "contact1_name_pair" };

// Indexes beside the tables: the duplicate merge is a self-join on the names and the
// load joins the child tables on the contact id. Without them both grow quadratically.
const char *const kIndexStatements[] = {
    // Flag stays out of the names index: clearing the import marks would rewrite it.
    // The merge compares an empty name (stored as NULL or "") as "", and can only
    // use an index on that same expression.
    "drop index if exists contact1_names",
    "drop index if exists contact1_name_pair",
    "create index if not exists contact1_name_key on contact1(ifnull(FirstName, ''), ifnull(LastName, ''))",
    "create index if not exists phone1_cid on phone1(cid)",
    "create index if not exists mail1_cid on mail1(cid)",
    "create index if not exists union1_contact on union1(contact_id)",
    "create index if not exists union1_group on union1(group_name)",
};

struct TableInsert {
    const char *table;
    const char *sql;
};

const TableInsert kInserts[] = {
    { "contact1", "INSERT INTO contact1 values (?,?,?,?,?,?,?,?,?,?)" },
    { "group1", "INSERT INTO group1 values (?,?,?,?,?)" },
    { "phone1", "INSERT INTO phone1 values(?,?,?,?)" },
    { "mail1", "INSERT INTO mail1 values(?,?,?)" },
    { "union1", "INSERT INTO union1 values(?,?)" },
};

// The schema's names: the only table and column names updateRecord accepts.
const QHash<QString, QStringList> &schemaColumns()
{
    static const QHash<QString, QStringList> columns = {
        { QStringLiteral("contact1"),
            { "id", "Department", "LastName", "FirstName", "PhotoUrl", "RingtoneUrl", "RingtoneIndex", "PrimaryIndex",
                "Frequent", "Flag" } },
        { QStringLiteral("phone1"), { "cid", "type", "phonenumber", "accountindex" } },
        { QStringLiteral("mail1"), { "cid", "type", "Mail" } },
        { QStringLiteral("group1"), { "id", "name", "photos", "ringtones", "RingtoneIndex" } },
        { QStringLiteral("union1"), { "contact_id", "group_name" } },
    };
    return columns;
}

// Callers of updateRecord quote text values themselves; the value is bound, so the
// quotes (and their doubling inside) are taken off again.
QString unquoted(const QString &value)
{
    if (value.size() >= 2 && value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\'')))
        return value.mid(1, value.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
    return value;
}

// SQLite's own connection behind the Qt one; nullptr when the driver is another.
sqlite3 *nativeHandle(const QSqlDatabase &db)
{
    if (!db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

QString text(const QSqlQuery &q, int column)
{
    return q.value(column).toString();
}

// The old copies (Flag 0) of the contacts an import brings again (Flag 1): equal
// first and last names, where a missing name (NULL) equals an empty one.
QString duplicatesQuery()
{
    return QStringLiteral("select p1.id as contact_id from contact1 p1,contact1 p2 where p1.id<>p2.id and "
                          "ifnull(p1.FirstName, '')=ifnull(p2.FirstName, '') and "
                          "ifnull(p1.LastName, '')=ifnull(p2.LastName, '') and p1.Flag <>p2.Flag and p1.Flag=%1")
        .arg(0);
}

} // namespace

SqliteDatabase::SqliteDatabase(QObject *parent)
    : DatabaseLayer(parent)
{
}

QString SqliteDatabase::databasePath() const
{
    return AppPaths::appDir() + QStringLiteral("phonebook.db");
}

bool SqliteDatabase::isNew() const
{
    // A zero-length file is what a program that stopped while creating the store
    // leaves; it holds nobody's data.
    return QFileInfo(databasePath()).size() == 0;
}

bool SqliteDatabase::openDatabase(OpenMode mode)
{
    const QString name = QString::fromLatin1(QSqlDatabase::defaultConnection);
    m_db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                        : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    closeDatabase();
    m_db.setDatabaseName(databasePath());
    m_db.setConnectOptions(mode == OpenMode::ReadOnly ? QStringLiteral("QSQLITE_OPEN_READONLY") : QString());
    m_mode = mode;
    if (!m_db.open())
        return fail(m_db.lastError().text());
    bool ok = false;
    if (mode == OpenMode::ReadWrite) {
        ok = prepareSchema();
    } else {
        const int tables = schemaCount("table", kTables);
        ok = tables == kTables.size() || (tables >= 0 && fail(notOurs()));
    }
    ok = ok && exec(QStringLiteral("PRAGMA cache_size=-131072")) && exec(QStringLiteral("PRAGMA temp_store=MEMORY"));
    ok = ok && selectInt("PRAGMA data_version", &m_dataVersion);
    // Nothing is done with a file that is not ours.
    if (!ok)
        m_db.close();
    return ok;
}

int SqliteDatabase::schemaCount(const char *type, const QStringList &names)
{
    int count = -1;
    const QByteArray sql = QStringLiteral("select count(*) from sqlite_master where type='%1' and name in ('%2')")
                               .arg(QLatin1String(type), names.join(QStringLiteral("','")))
                               .toLatin1();
    return selectInt(sql.constData(), &count) ? count : -1;
}

bool SqliteDatabase::prepareSchema()
{
    const int tables = schemaCount("table", kTables);
    if (tables < 0)
        return false;
    // Tables are created only in a new file: a database of another program gets
    // none added, and is then no phonebook to dump, serve or save into.
    if (tables != kTables.size() && !isNew())
        return fail(notOurs());
    if (tables == kTables.size() && schemaCount("index", kIndexes) == kIndexes.size()
        && schemaCount("index", kOldIndexes) == 0)
        return true;
    // Under the folder lock, and looked at again: another program may have just
    // created them.
    if (!beginTransaction())
        return false;
    bool ok = true;
    if (schemaCount("table", kTables) == 0)
        ok = createTables();
    for (const char *sql : kIndexStatements)
        ok = ok && exec(QString::fromLatin1(sql));
    return endTransaction(ok);
}

QString SqliteDatabase::undoneText() const
{
    return tr("the change was undone after an earlier error");
}

QString SqliteDatabase::notOurs() const
{
    return tr("it is not a phonebook store (it lacks the phonebook's tables); it was left as it is.");
}

void SqliteDatabase::closeDatabase()
{
    // An open transaction ends with the connection.
    m_levels.clear();
    m_lock.unlock();
    if (m_db.isValid())
        m_db.close();
}

bool SqliteDatabase::fail(const QString &error)
{
    ++m_errorCount;
    m_lastError = error;
    for (Level &level : m_levels) {
        if (level.firstError.isEmpty())
            level.firstError = error;
    }
    return false;
}

bool SqliteDatabase::transactionLost() const
{
    sqlite3 *handle = nativeHandle(m_db);
    return !m_levels.isEmpty() && handle && sqlite3_get_autocommit(handle);
}

bool SqliteDatabase::exec(const QString &sql)
{
    if (transactionLost())
        return fail(undoneText());
    QSqlQuery query(m_db);
    query.exec(sql);
    return !query.lastError().isValid() || fail(query.lastError().text());
}

bool SqliteDatabase::selectInt(const char *sql, int *result)
{
    QSqlQuery query(m_db);
    if (!query.exec(QString::fromLatin1(sql)) || !query.next())
        return fail(query.lastError().text());
    *result = query.value(0).toInt();
    return true;
}

bool SqliteDatabase::changedElsewhere()
{
    int version = 0;
    if (!m_db.isOpen() || !selectInt("PRAGMA data_version", &version))
        return false;
    return std::exchange(m_dataVersion, version) != version;
}

bool SqliteDatabase::beginTransaction(Access access)
{
    Level level { 0, QString(), false };
    if (access == Access::Write && !m_lock.isLocked()) {
        if (!m_lock.lock())
            return fail(m_lock.error());
        level.locked = true;
    }
    // Immediate: a write transaction reads the phonebook it is going to change
    // with SQLite's write lock already taken.
    const bool ok = !m_levels.isEmpty()
        ? exec(QStringLiteral("SAVEPOINT level%1").arg(m_levels.size()))
        : exec(access == Access::Write ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    if (!ok) {
        if (level.locked)
            m_lock.unlock();
        return false;
    }
    level.errors = m_errorCount;
    m_levels.append(level);
    return true;
}

bool SqliteDatabase::endTransaction(bool commit)
{
    if (m_levels.isEmpty())
        return false;
    const int depth = int(m_levels.size()) - 1;
    const QString savepoint = QStringLiteral("level%1").arg(depth);
    const bool lost = transactionLost();
    // A level in which a statement failed is undone, even when its caller overlooked it.
    bool committed = false;
    if (commit && !lost && m_errorCount == m_levels.last().errors)
        committed = depth == 0 ? exec(QStringLiteral("COMMIT")) : exec(QStringLiteral("RELEASE ") + savepoint);
    const Level level = m_levels.takeLast();
    if (!committed && !lost) {
        if (depth > 0) {
            // When this fails the outer level sees the failure and undoes everything.
            if (exec(QStringLiteral("ROLLBACK TO ") + savepoint))
                exec(QStringLiteral("RELEASE ") + savepoint);
        } else {
            sqlite3 *handle = nativeHandle(m_db);
            if (!exec(QStringLiteral("ROLLBACK")) && handle && !sqlite3_get_autocommit(handle)) {
                // The transaction is still open; closing the connection discards it.
                openDatabase(m_mode);
            }
        }
    }
    // What went wrong is the first error; the failures after it, of the undoing
    // too, only followed from it.
    if (!committed && !level.firstError.isEmpty())
        m_lastError = level.firstError;
    if (level.locked)
        m_lock.unlock();
    return committed;
}

bool SqliteDatabase::clearAllTables()
{
    if (!beginTransaction())
        return false;
    const bool ok = exec(QStringLiteral("delete from contact1")) && exec(QStringLiteral("delete from group1"))
        && exec(QStringLiteral("delete from phone1")) && exec(QStringLiteral("delete from mail1"))
        && exec(QStringLiteral("delete from union1"));
    return endTransaction(ok);
}

bool SqliteDatabase::createTables()
{
    if (!beginTransaction())
        return false;
    bool ok = true;
    for (const char *sql : kCreateStatements)
        ok = ok && exec(QString::fromLatin1(sql));
    return endTransaction(ok);
}

namespace {

// Every column of a table holds one value per row.
bool sameLengths(const QList<QVariantList> &columns)
{
    for (const QVariantList &column : columns) {
        if (column.size() != columns.first().size())
            return false;
    }
    return true;
}

bool isNullValue(const QVariant &v)
{
    if (v.isNull())
        return true;
    if (v.typeId() == QMetaType::QString)
        return static_cast<const QString *>(v.constData())->isNull();
    if (v.typeId() == QMetaType::QByteArray)
        return static_cast<const QByteArray *>(v.constData())->isNull();
    return false;
}

// Binds the values as Qt's SQLite driver would: null, integer, real, blob or text.
int bindValue(sqlite3_stmt *statement, int index, const QVariant &v)
{
    if (isNullValue(v))
        return sqlite3_bind_null(statement, index);
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return sqlite3_bind_int64(statement, index, v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(statement, index, v.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray *bytes = static_cast<const QByteArray *>(v.constData());
        return sqlite3_bind_blob(statement, index, bytes->constData(), int(bytes->size()), SQLITE_STATIC);
    }
    case QMetaType::QString: {
        // The value lives in the batch until the row is stepped.
        const QString *text = static_cast<const QString *>(v.constData());
        return sqlite3_bind_text16(statement, index, text->utf16(), int(text->size() * sizeof(QChar)), SQLITE_STATIC);
    }
    default: {
        const QString text = v.toString();
        return sqlite3_bind_text16(statement, index, text.utf16(), int(text.size() * sizeof(QChar)), SQLITE_TRANSIENT);
    }
    }
}

// One table's rows through one prepared statement; stops at the first failing row.
bool insertNative(sqlite3 *handle, const char *sql, const QList<QVariantList> &columns)
{
    const qsizetype rows = columns.first().size();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(handle, sql, -1, &statement, nullptr) != SQLITE_OK || !statement)
        return false;
    bool ok = sqlite3_bind_parameter_count(statement) == columns.size();
    for (qsizetype r = 0; ok && r < rows; ++r) {
        for (int c = 0; ok && c < columns.size(); ++c)
            ok = bindValue(statement, c + 1, columns[c].at(r)) == SQLITE_OK;
        ok = ok && sqlite3_step(statement) == SQLITE_DONE;
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    return ok;
}

} // namespace

bool SqliteDatabase::insertRows(const Batch &batch)
{
    if (transactionLost())
        return fail(undoneText());
    // Binding through SQLite itself: Qt's batch emulation re-binds every value by
    // name for every row, which was a third of a large import's store time.
    sqlite3 *handle = nativeHandle(m_db);
    for (const TableInsert &insert : kInserts) {
        const auto it = batch.constFind(QLatin1String(insert.table));
        if (it == batch.constEnd() || it->isEmpty() || it->first().isEmpty())
            continue;
        // Columns of unequal length are no rows (Qt's batch would read past the end).
        if (!sameLengths(*it))
            return fail(QStringLiteral("%1: columns of unequal length").arg(QLatin1String(insert.table)));
        if (handle) {
            if (!insertNative(handle, insert.sql, *it))
                return fail(QString::fromUtf8(sqlite3_errmsg(handle)));
            continue;
        }
        QSqlQuery query(m_db);
        if (!query.prepare(QString::fromLatin1(insert.sql)))
            return fail(query.lastError().text());
        for (const QVariantList &column : *it)
            query.addBindValue(column);
        if (!query.execBatch())
            return fail(query.lastError().text());
    }
    return true;
}

bool SqliteDatabase::insertBatch(const Batch &batch)
{
    return beginTransaction() && endTransaction(insertRows(batch));
}

bool SqliteDatabase::updateRecord(const QString &table, const QStringList &columns, const QStringList &values)
{
    QStringList names = columns;
    QStringList data = values;
    names.removeAll(QStringLiteral(","));
    data.removeAll(QStringLiteral(","));
    if (names.size() < 2 || data.isEmpty())
        return false;
    const auto schema = schemaColumns().constFind(table);
    if (schema == schemaColumns().constEnd() || !schema->contains(names.first()))
        return false;
    bool ok = false;
    for (int i = 1; i < names.size() && i < data.size(); ++i) {
        if (!schema->contains(names[i]))
            return false;
        QSqlQuery query(m_db);
        query.prepare(QStringLiteral("update %1 set %2=? where %3=?").arg(table, names[i], names.first()));
        query.addBindValue(unquoted(data[i]));
        query.addBindValue(unquoted(data.first()));
        query.exec();
        ok = !query.lastError().isValid() || fail(query.lastError().text());
    }
    return ok;
}

bool SqliteDatabase::clearPhones()
{
    return exec(QStringLiteral("delete from phone1"));
}
bool SqliteDatabase::clearMails()
{
    return exec(QStringLiteral("delete from mail1"));
}
bool SqliteDatabase::clearContacts()
{
    return exec(QStringLiteral("delete from contact1"));
}
bool SqliteDatabase::clearGroups()
{
    return exec(QStringLiteral("delete from group1"));
}
bool SqliteDatabase::clearUnions()
{
    return exec(QStringLiteral("delete from union1"));
}

void SqliteDatabase::setMergeMode(int mode)
{
    m_mergeMode = mode;
}

bool SqliteDatabase::mergeImported()
{
    if (!beginTransaction())
        return false;
    int oldRows = 0;
    int newRows = 0;
    bool ok = selectInt("select count(*) from contact1 where Flag = 0", &oldRows)
        && selectInt("select count(*) from contact1 where Flag = 1", &newRows);
    if (ok && oldRows != 0 && newRows != 0 && m_mergeMode == 0) {
        // The duplicates are found once, not once per table.
        const QString statements[] = {
            QStringLiteral("create temp table if not exists merge_old (id INT PRIMARY KEY)"),
            QStringLiteral("delete from merge_old"),
            QStringLiteral("insert or ignore into merge_old ") + duplicatesQuery(),
            QStringLiteral("delete from union1 where contact_id in (select id from merge_old)"),
            QStringLiteral("delete from mail1 where cid in (select id from merge_old)"),
            QStringLiteral("delete from phone1 where cid in (select id from merge_old)"),
            QStringLiteral("delete from contact1 where id in (select id from merge_old)"),
            QStringLiteral("delete from merge_old"),
        };
        for (const QString &sql : statements)
            ok = ok && exec(sql);
    }
    ok = ok && exec(QStringLiteral("update contact1 set Flag = 0 where Flag = 1"));
    return endTransaction(ok);
}

namespace {

// Reads the rows of one query, through SQLite itself when the connection is SQLite's
// (a hundred thousand contacts are millions of values) and through QSqlQuery
// otherwise. Values read as QSqlQuery gives them: NULL text as empty, NULL numbers
// as 0, text in a number column as its number or 0.
class RowReader
{
public:
    RowReader(const QSqlDatabase &db, const char *sql)
        : m_query(db)
    {
        if (sqlite3 *handle = nativeHandle(db)) {
            m_handle = handle;
            if (sqlite3_prepare_v2(handle, sql, -1, &m_statement, nullptr) != SQLITE_OK)
                m_statement = nullptr;
            m_ok = m_statement != nullptr;
        } else {
            m_query.setForwardOnly(true);
            m_ok = m_query.exec(QString::fromLatin1(sql));
        }
    }
    ~RowReader()
    {
        if (m_statement)
            sqlite3_finalize(m_statement);
    }
    RowReader(const RowReader &) = delete;
    RowReader &operator=(const RowReader &) = delete;

    // The query could not be prepared, or stopped on an error before its end.
    bool failed() const { return !m_ok || (!m_statement && m_query.lastError().isValid()); }
    bool next()
    {
        if (!m_ok)
            return false;
        if (!m_statement)
            return m_query.next();
        const int step = sqlite3_step(m_statement);
        // A read that stops on an error is no complete result.
        m_ok = step == SQLITE_ROW || step == SQLITE_DONE;
        return step == SQLITE_ROW;
    }
    QString error() const
    {
        return m_handle ? QString::fromUtf8(sqlite3_errmsg(m_handle)) : m_query.lastError().text();
    }
    QString text(int column) const
    {
        if (!m_statement)
            return m_query.value(column).toString();
        const void *data = sqlite3_column_text16(m_statement, column);
        if (!data)
            return QString();
        return QString(static_cast<const QChar *>(data), sqlite3_column_bytes16(m_statement, column) / 2);
    }
    int integer(int column) const
    {
        if (!m_statement)
            return m_query.value(column).toInt();
        switch (sqlite3_column_type(m_statement, column)) {
        case SQLITE_INTEGER:
            return int(sqlite3_column_int64(m_statement, column));
        case SQLITE_NULL:
            return 0;
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(m_statement, column)).toInt();
        default:
            return text(column).toInt();
        }
    }

private:
    QSqlQuery m_query;
    sqlite3 *m_handle = nullptr;
    sqlite3_stmt *m_statement = nullptr;
    bool m_ok = false;
};

} // namespace

QList<ContactRow> SqliteDatabase::loadContacts()
{
    // One scan per table, folded by contact id, gives what the left join of the four
    // tables gives, without repeating every contact once per phone, mail and group.
    // Child rows come in stored order, which is the join's order within a contact.
    QList<ContactRow> result;
    QHash<int, qsizetype> position;
    // A read that stops on an error gives no contacts at all; the failure is counted.
    auto readFailed = [this](const RowReader &q) { return q.failed() && !fail(q.error()); };
    {
        RowReader q(m_db,
            "SELECT id,FirstName,LastName,Department,PrimaryIndex,Frequent,PhotoUrl,RingtoneUrl,"
            "RingtoneIndex FROM contact1");
        while (q.next()) {
            ContactRow row;
            row.id = q.integer(0);
            row.FirstName = q.text(1);
            row.LastName = q.text(2);
            row.Department = q.text(3);
            row.PrimaryIndex = q.integer(4);
            row.Frequent = q.integer(5);
            row.PhotoUrl = q.text(6);
            row.RingtoneUrl = q.text(7);
            row.RingtoneIndex = q.integer(8);
            position.insert(row.id, result.size());
            result.append(row);
        }
        if (readFailed(q))
            return {};
    }

    {
        RowReader q(m_db, "SELECT cid,type,phonenumber,accountindex FROM phone1");
        while (q.next()) {
            const auto it = position.constFind(q.integer(0));
            if (it == position.constEnd())
                continue;
            QList<PhoneRow> &phones = result[*it].phones;
            const PhoneRow phone { q.text(1), q.text(2), q.integer(3) };
            // The join repeats a phone once per mail and group; equal neighbours are one.
            if (phones.isEmpty() || phones.last().type != phone.type || phones.last().phonenumber != phone.phonenumber
                || phones.last().accountindex != phone.accountindex)
                phones.append(phone);
        }
        if (readFailed(q))
            return {};
    }
    {
        RowReader q(m_db, "SELECT cid,type,Mail FROM mail1");
        while (q.next()) {
            const auto it = position.constFind(q.integer(0));
            if (it == position.constEnd())
                continue;
            QList<MailRow> &mails = result[*it].mails;
            const MailRow mail { q.text(1), q.text(2) };
            bool known = false;
            for (const MailRow &m : std::as_const(mails)) {
                if (m.type == mail.type && m.Mail == mail.Mail) {
                    known = true;
                    break;
                }
            }
            if (!known)
                mails.append(mail);
        }
        if (readFailed(q))
            return {};
    }
    {
        RowReader q(m_db, "SELECT contact_id,group_name FROM union1");
        while (q.next()) {
            const auto it = position.constFind(q.integer(0));
            if (it == position.constEnd())
                continue;
            QStringList &groups = result[*it].groupNames;
            const QString group = q.text(1);
            if (!groups.contains(group))
                groups.append(group);
        }
        if (readFailed(q))
            return {};
    }

    // A contact without phones, mails or groups gets the one empty entry that the
    // join's null columns give it.
    for (ContactRow &row : result) {
        if (row.phones.isEmpty())
            row.phones.append(PhoneRow { QString(), QString(), 0 });
        if (row.mails.isEmpty())
            row.mails.append(MailRow { QString(), QString() });
        if (row.groupNames.isEmpty())
            row.groupNames.append(QString());
    }
    return result;
}

QList<GroupRow> SqliteDatabase::loadGroups()
{
    QList<GroupRow> folded;
    RowReader q(m_db,
        "SELECT group1.id,group1.name,group1.photos,group1.ringtones,group1.RingtoneIndex,"
        "union1.contact_id FROM group1 left join union1 on group1.name=union1.group_name");
    {
        // A new group starts whenever the id changes, whatever its value: a group
        // stored with id 0 is a group like any other.
        bool haveCurrent = false;
        GroupRow current;
        QSet<int> currentMembers;
        while (q.next()) {
            const int id = q.integer(0);
            if (!haveCurrent || id != current.id) {
                if (haveCurrent)
                    folded.append(current);
                current = GroupRow();
                currentMembers.clear();
                haveCurrent = true;
            }
            current.id = id;
            current.name = q.text(1);
            current.photos = q.text(2);
            current.ringtones = q.text(3);
            current.RingtoneIndex = q.integer(4);
            const int member = q.integer(5);
            if (member != 0 && !currentMembers.contains(member)) {
                currentMembers.insert(member);
                current.memberIds.append(member);
                ++current.memberCount;
            }
        }
        if (haveCurrent)
            folded.append(current);
        if (q.failed()) {
            fail(q.error());
            return {};
        }
    }

    // One group per name: membership is by name, so a repeated row (an older store
    // may hold two "Default" rows) is the same group and is folded into the first.
    QList<GroupRow> groups;
    QHash<QString, int> byName;
    for (const GroupRow &row : std::as_const(folded)) {
        const auto it = byName.constFind(row.name);
        if (it == byName.constEnd()) {
            byName.insert(row.name, int(groups.size()));
            groups.append(row);
            continue;
        }
        GroupRow &first = groups[*it];
        const QSet<int> known(first.memberIds.cbegin(), first.memberIds.cend());
        for (int member : row.memberIds) {
            if (!known.contains(member)) {
                first.memberIds.append(member);
                ++first.memberCount;
            }
        }
    }

    const int defaultPos = byName.value(QStringLiteral("Default"), -1);
    if (defaultPos < 0) {
        GroupRow row;
        row.id = 0;
        row.name = QStringLiteral("Default");
        groups.prepend(row);
    } else {
        groups.move(defaultPos, 0);
    }
    int blacklistPos = -1;
    for (int i = 0; i < groups.size(); ++i) {
        if (groups[i].name == QLatin1String("Blacklist")) {
            blacklistPos = i;
            break;
        }
    }
    if (blacklistPos < 0) {
        GroupRow row;
        row.id = 100;
        row.name = QStringLiteral("Blacklist");
        groups.append(row);
    } else {
        groups.move(blacklistPos, groups.size() - 1);
    }
    return groups;
}

QList<GroupRow> SqliteDatabase::storedGroups()
{
    QList<GroupRow> groups;
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    q.exec(QStringLiteral("select id, name from group1"));
    while (q.next()) {
        GroupRow row;
        row.id = q.value(0).toInt();
        row.name = text(q, 1);
        groups.append(row);
    }
    if (q.lastError().isValid())
        fail(q.lastError().text());
    return groups;
}

int SqliteDatabase::largestContactId()
{
    int largest = 0;
    selectInt("select ifnull(max(id), 0) from contact1", &largest);
    return largest;
}

int SqliteDatabase::contactCount()
{
    int count = -1;
    return selectInt("select count(*) from contact1", &count) ? count : -1;
}

bool SqliteDatabase::saveAll(const QList<ContactRow> &contacts, const QList<GroupRow> &groups)
{
    using namespace StoreValues;
    Batch batch;
    QList<QVariantList> &contactCols = batch[QStringLiteral("contact1")];
    QList<QVariantList> &phoneCols = batch[QStringLiteral("phone1")];
    QList<QVariantList> &mailCols = batch[QStringLiteral("mail1")];
    QList<QVariantList> &unionCols = batch[QStringLiteral("union1")];
    QList<QVariantList> &groupCols = batch[QStringLiteral("group1")];
    contactCols.resize(10);
    phoneCols.resize(4);
    mailCols.resize(3);
    unionCols.resize(2);
    groupCols.resize(5);

    for (const ContactRow &c : contacts) {
        contactCols[0].append(c.id);
        contactCols[1].append(c.Department);
        contactCols[2].append(c.LastName);
        contactCols[3].append(c.FirstName);
        contactCols[4].append(c.PhotoUrl);
        contactCols[5].append(c.RingtoneUrl);
        contactCols[6].append(c.RingtoneIndex);
        contactCols[7].append(c.PrimaryIndex);
        contactCols[8].append(c.Frequent);
        contactCols[9].append(0);
        // Numbers are bound, never spliced into SQL, so they are stored exactly as typed.
        for (const PhoneRow &p : c.phones) {
            phoneCols[0].append(c.id);
            phoneCols[1].append(p.type);
            phoneCols[2].append(p.phonenumber);
            phoneCols[3].append(p.accountindex);
        }
        for (const MailRow &m : c.mails) {
            mailCols[0].append(c.id);
            mailCols[1].append(m.type);
            mailCols[2].append(m.Mail);
        }
        for (const QString &g : c.groupNames) {
            unionCols[0].append(c.id);
            unionCols[1].append(g);
        }
    }
    for (const GroupRow &g : groups) {
        groupCols[0].append(g.id);
        groupCols[1].append(g.name);
        groupCols[2].append(g.photos);
        groupCols[3].append(g.ringtones);
        groupCols[4].append(g.RingtoneIndex);
    }

    // Clearing and refilling is one transaction: a failure anywhere leaves the
    // previous phonebook whole.
    if (!beginTransaction())
        return false;
    const bool ok = clearPhones() && clearMails() && clearContacts() && clearGroups() && clearUnions();
    return endTransaction(ok && insertRows(batch));
}
