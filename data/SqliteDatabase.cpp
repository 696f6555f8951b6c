#include "data/SqliteDatabase.h"

#include "data/AppPaths.h"
#include "data/KnownContacts.h"
#include "data/Records.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

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

// Flag stays out of the names index: clearing the import marks would rewrite it.
// The merge compares an empty name (stored as NULL or "") as "", and can only use
// an index on that same expression.
const char *const kNameKeyIndex
    = "create index if not exists contact1_name_key on contact1(ifnull(FirstName, ''), ifnull(LastName, ''))";

// Indexes beside the tables: the duplicate merge is a self-join on the names and the
// load joins the child tables on the contact id. Without them both grow quadratically.
const char *const kIndexStatements[] = {
    "drop index if exists contact1_names",
    "drop index if exists contact1_name_pair",
    kNameKeyIndex,
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

Result SqliteDatabase::openDatabase(OpenMode mode)
{
    const QString name = QString::fromLatin1(QSqlDatabase::defaultConnection);
    m_db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                        : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    closeDatabase();
    // Another connection counts others' commits from elsewhere.
    ++m_writes;
    m_db.setDatabaseName(databasePath());
    m_db.setConnectOptions(mode == OpenMode::ReadOnly ? QStringLiteral("QSQLITE_OPEN_READONLY") : QString());
    m_mode = mode;
    if (!m_db.open())
        return fail(m_db.lastError().text());
    Result result;
    if (mode == OpenMode::ReadWrite) {
        result = prepareSchema();
    } else {
        const Expected<int> tables = schemaCount("table", kTables);
        if (!tables)
            result = tables.result();
        else if (*tables != kTables.size())
            result = fail(notOurs());
    }
    // A reader goes through the file once, in order: pages it keeps are never asked
    // for again, and a large cache only costs the memory to hold them. A writer's
    // bulk work (a save, an import's rows and indexes) runs no faster with more than
    // 16 MB, and a large import holds its file and rows beside the cache.
    if (result)
        result = exec(mode == OpenMode::ReadOnly ? QStringLiteral("PRAGMA cache_size=-2048")
                                                 : QStringLiteral("PRAGMA cache_size=-16384"));
    if (result)
        result = exec(QStringLiteral("PRAGMA temp_store=MEMORY"));
    if (result) {
        const Expected<int> version = commitsElsewhere();
        if (version)
            m_dataVersion = *version;
        else
            result = version.result();
    }
    // Nothing is done with a file that is not ours.
    if (!result)
        m_db.close();
    return result;
}

Expected<int> SqliteDatabase::schemaCount(const char *type, const QStringList &names)
{
    const QByteArray sql = QStringLiteral("select count(*) from sqlite_master where type='%1' and name in ('%2')")
                               .arg(QLatin1String(type), names.join(QStringLiteral("','")))
                               .toLatin1();
    return selectInt(sql.constData());
}

Result SqliteDatabase::prepareSchema()
{
    const Expected<int> tables = schemaCount("table", kTables);
    if (!tables)
        return tables.result();
    // Tables are created only in a new file: a database of another program gets
    // none added, and is then no phonebook to dump, serve or save into.
    if (*tables != kTables.size() && !isNew())
        return fail(notOurs());
    if (*tables == kTables.size()) {
        const Expected<int> indexes = schemaCount("index", kIndexes);
        const Expected<int> oldIndexes = schemaCount("index", kOldIndexes);
        if (indexes && *indexes == kIndexes.size() && oldIndexes && *oldIndexes == 0)
            return Result();
    }
    // Under the folder lock, and looked at again: another program may have just
    // created them.
    if (const Result begun = beginTransaction(); !begun)
        return begun;
    const Expected<int> now = schemaCount("table", kTables);
    Result result = now.result();
    if (now && *now == 0)
        result = createTables();
    if (result)
        result = createIndexes();
    return endTransaction(result.ok());
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

Result SqliteDatabase::fail(const QString &error)
{
    for (Level &level : m_levels) {
        if (!level.failed)
            level.firstError = error;
        level.failed = true;
    }
    return Result::failure(error);
}

Result SqliteDatabase::failWith(const Result &failure)
{
    if (!failure)
        (void)fail(failure.message());
    return failure;
}

void SqliteDatabase::releaseMemory()
{
    if (sqlite3 *handle = nativeHandle(m_db); handle && m_levels.isEmpty())
        sqlite3_db_release_memory(handle);
}

bool SqliteDatabase::transactionLost() const
{
    sqlite3 *handle = nativeHandle(m_db);
    return !m_levels.isEmpty() && handle && sqlite3_get_autocommit(handle);
}

Result SqliteDatabase::exec(const QString &sql)
{
    if (transactionLost())
        return fail(undoneText());
    QSqlQuery query(m_db);
    query.exec(sql);
    return query.lastError().isValid() ? fail(query.lastError().text()) : Result();
}

Expected<int> SqliteDatabase::selectInt(const char *sql)
{
    QSqlQuery query(m_db);
    if (!query.exec(QString::fromLatin1(sql)) || !query.next())
        return fail(query.lastError().text());
    return query.value(0).toInt();
}

bool SqliteDatabase::changedElsewhere()
{
    if (!m_db.isOpen())
        return false;
    const Expected<int> version = commitsElsewhere();
    return version && std::exchange(m_dataVersion, *version) != *version;
}

Expected<int> SqliteDatabase::commitsElsewhere()
{
    return selectInt("PRAGMA data_version");
}

Result SqliteDatabase::beginTransaction(Access access)
{
    // Counted even when it fails or is undone: afterwards nobody vouches for the store.
    if (access == Access::Write)
        ++m_writes;
    Level level;
    if (access == Access::Write && !m_lock.isLocked()) {
        if (!m_lock.lock())
            return fail(m_lock.error());
        level.locked = true;
    }
    // Immediate: a write transaction reads the phonebook it is going to change
    // with SQLite's write lock already taken.
    const Result begun = !m_levels.isEmpty()
        ? exec(QStringLiteral("SAVEPOINT level%1").arg(m_levels.size()))
        : exec(access == Access::Write ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    if (!begun) {
        if (level.locked)
            m_lock.unlock();
        return begun;
    }
    m_levels.append(level);
    return Result();
}

Result SqliteDatabase::endTransaction(bool commit)
{
    if (m_levels.isEmpty())
        return Result::failure(QString());
    const int depth = int(m_levels.size()) - 1;
    const QString savepoint = QStringLiteral("level%1").arg(depth);
    const bool lost = transactionLost();
    // A level in which a statement failed is undone, even when its caller overlooked it.
    Result committed = Result::failure(QString());
    if (commit && !lost && !m_levels.last().failed)
        committed = depth == 0 ? exec(QStringLiteral("COMMIT")) : exec(QStringLiteral("RELEASE ") + savepoint);
    const Level level = m_levels.takeLast();
    Result undone;
    if (!committed && !lost) {
        if (depth > 0) {
            // When this fails the outer level sees the failure and undoes everything.
            undone = exec(QStringLiteral("ROLLBACK TO ") + savepoint);
            if (undone)
                undone = exec(QStringLiteral("RELEASE ") + savepoint);
        } else {
            sqlite3 *handle = nativeHandle(m_db);
            undone = exec(QStringLiteral("ROLLBACK"));
            if (!undone && handle && !sqlite3_get_autocommit(handle)) {
                // The transaction is still open; closing the connection discards it.
                (void)openDatabase(m_mode);
            }
        }
    }
    if (level.locked)
        m_lock.unlock();
    if (committed)
        return committed;
    // What went wrong is the first error; the failures after it, of the undoing
    // too, only followed from it.
    if (level.failed)
        return Result::failure(level.firstError);
    if (lost)
        return Result::failure(undoneText());
    // Undone on request; only a failure to undo has something to say.
    return undone ? Result::failure(QString()) : undone;
}

Result SqliteDatabase::clearAllTables()
{
    if (const Result begun = beginTransaction(); !begun)
        return begun;
    Result result;
    for (const char *table : { "contact1", "group1", "phone1", "mail1", "union1" }) {
        if (result)
            result = exec(QStringLiteral("delete from ") + QLatin1String(table));
    }
    return endTransaction(result.ok());
}

Result SqliteDatabase::createTables()
{
    if (const Result begun = beginTransaction(); !begun)
        return begun;
    Result result;
    for (const char *sql : kCreateStatements) {
        if (result)
            result = exec(QString::fromLatin1(sql));
    }
    return endTransaction(result.ok());
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
// `utf8` holds the bytes of a text value until the row is stepped: SQLite keeps
// its text as UTF-8, and Qt's conversion is quicker than SQLite's.
int bindValue(sqlite3_stmt *statement, int index, const QVariant &v, QByteArray &utf8)
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
        utf8 = static_cast<const QString *>(v.constData())->toUtf8();
        return sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
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
    QList<QByteArray> utf8(columns.size());
    for (qsizetype r = 0; ok && r < rows; ++r) {
        for (int c = 0; ok && c < columns.size(); ++c)
            ok = bindValue(statement, c + 1, columns[c].at(r), utf8[c]) == SQLITE_OK;
        ok = ok && sqlite3_step(statement) == SQLITE_DONE;
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    return ok;
}

} // namespace

Result SqliteDatabase::insertRows(const Batch &batch)
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
    return Result();
}

Result SqliteDatabase::insertBatch(const Batch &batch)
{
    if (const Result begun = beginTransaction(); !begun)
        return begun;
    return endTransaction(insertRows(batch).ok());
}

// Inside a transaction. SQLite drops nothing while another statement of this
// connection is still reading: the rows then go in with the indexes kept up to
// date, as they always did. Any other refusal fails the transaction.
Result SqliteDatabase::dropIndexes()
{
    for (const QString &index : kIndexes) {
        if (transactionLost())
            return fail(undoneText());
        QSqlQuery query(m_db);
        if (query.exec(QStringLiteral("drop index if exists ") + index))
            continue;
        if (query.lastError().nativeErrorCode().toInt() % 256 == SQLITE_LOCKED)
            return Result();
        return fail(query.lastError().text());
    }
    return Result();
}

Result SqliteDatabase::createIndexes()
{
    for (const char *statement : kIndexStatements) {
        if (const Result created = exec(QLatin1String(statement)); !created)
            return created;
    }
    return Result();
}

Result SqliteDatabase::suspendIndexes(qsizetype incoming)
{
    const Expected<int> stored = contactCount();
    if (!stored)
        return stored.result();
    return incoming > 0 && *stored <= incoming * 4 ? dropIndexes() : Result();
}

// The indexes dropIndexes dropped.
Result SqliteDatabase::restoreIndexes()
{
    for (const char *statement : kIndexStatements) {
        if (qstrncmp(statement, "create", 6) != 0)
            continue;
        if (const Result created = exec(QLatin1String(statement)); !created)
            return created;
    }
    return Result();
}

Result SqliteDatabase::mergeImported()
{
    if (const Result begun = beginTransaction(); !begun)
        return begun;
    const Expected<int> oldRows = selectInt("select count(*) from contact1 where Flag = 0");
    const Expected<int> newRows = oldRows ? selectInt("select count(*) from contact1 where Flag = 1") : oldRows;
    Result result = newRows.result();
    if (result && *oldRows != 0 && *newRows != 0 && m_mergeMode == 0) {
        // The duplicates are found once, not once per table, through the names index
        // (built here when the rows went in without it); the child tables go
        // without theirs, each read once.
        const QString statements[] = {
            QLatin1String(kNameKeyIndex),
            QStringLiteral("create temp table if not exists merge_old (id INT PRIMARY KEY)"),
            QStringLiteral("delete from merge_old"),
            QStringLiteral("insert or ignore into merge_old ") + duplicatesQuery(),
            QStringLiteral("delete from union1 where contact_id in (select id from merge_old)"),
            QStringLiteral("delete from mail1 where cid in (select id from merge_old)"),
            QStringLiteral("delete from phone1 where cid in (select id from merge_old)"),
            QStringLiteral("delete from contact1 where id in (select id from merge_old)"),
            QStringLiteral("delete from merge_old"),
        };
        for (const QString &sql : statements) {
            if (result)
                result = exec(sql);
        }
    }
    if (result)
        result = exec(QStringLiteral("update contact1 set Flag = 0 where Flag = 1"));
    return endTransaction(result.ok());
}

namespace {

// Hands out one shared string per distinct value, so a hundred thousand "Mobile"
// are one allocation rather than a hundred thousand. Values past the first few
// thousand distinct ones are not kept: a column of unique values gains nothing.
class TextPool
{
public:
    QString text(QByteArrayView utf8)
    {
        if (utf8.isEmpty())
            return QString::fromUtf8(utf8);
        const std::string_view key(utf8.data(), size_t(utf8.size()));
        const auto it = m_known.find(key);
        if (it != m_known.end())
            return it->second;
        QString value = QString::fromUtf8(utf8);
        if (m_known.size() < kLimit) {
            m_keys.push_back(utf8.toByteArray());
            m_known.emplace(std::string_view(m_keys.back().constData(), size_t(m_keys.back().size())), value);
        }
        return value;
    }

private:
    static constexpr size_t kLimit = 4096;
    // The keys' bytes; a deque never moves what it holds.
    std::deque<QByteArray> m_keys;
    // The standard hash: Qt's own for byte arrays costs more than the lookup saves.
    std::unordered_map<std::string_view, QString> m_known;
};

// Reads the rows of one query, through SQLite itself when the connection is SQLite's
// (a hundred thousand contacts are millions of values) and through QSqlQuery
// otherwise. Values read as QSqlQuery gives them: NULL text as empty, NULL numbers
// as 0, text in a number column as its number or 0.
class RowReader
{
public:
    // `values` fill the query's placeholders in order.
    RowReader(const QSqlDatabase &db, const char *sql, std::initializer_list<qint64> values = {})
    {
        if (sqlite3 *handle = nativeHandle(db)) {
            m_handle = handle;
            if (sqlite3_prepare_v2(handle, sql, -1, &m_statement, nullptr) != SQLITE_OK)
                m_statement = nullptr;
            int position = 0;
            for (const qint64 value : values) {
                if (m_statement && sqlite3_bind_int64(m_statement, ++position, value) != SQLITE_OK) {
                    sqlite3_finalize(m_statement);
                    m_statement = nullptr;
                }
            }
            m_ok = m_statement != nullptr;
        } else {
            m_query.emplace(db);
            m_query->setForwardOnly(true);
            m_ok = m_query->prepare(QString::fromLatin1(sql));
            for (const qint64 value : values)
                m_query->addBindValue(value);
            m_ok = m_ok && m_query->exec();
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
    bool failed() const { return !m_ok || (!m_statement && m_query->lastError().isValid()); }
    bool next()
    {
        if (!m_ok)
            return false;
        if (!m_statement)
            return m_query->next();
        const int step = sqlite3_step(m_statement);
        // A read that stops on an error is no complete result.
        m_ok = step == SQLITE_ROW || step == SQLITE_DONE;
        return step == SQLITE_ROW;
    }
    QString error() const
    {
        return m_handle ? QString::fromUtf8(sqlite3_errmsg(m_handle)) : m_query->lastError().text();
    }
    QString text(int column) const
    {
        if (!m_statement)
            return m_query->value(column).toString();
        // As stored (UTF-8): SQLite need not convert it into a copy of its own first.
        const char *data = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
        if (!data)
            return QString();
        return QString::fromUtf8(data, sqlite3_column_bytes(m_statement, column));
    }
    // A value that many rows repeat (a type, a group name) as the one string they share.
    QString text(int column, TextPool &pool) const
    {
        if (!m_statement)
            return m_query->value(column).toString();
        const char *data = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
        if (!data)
            return QString();
        return pool.text(QByteArrayView(data, sqlite3_column_bytes(m_statement, column)));
    }
    // Reads every value of the row (a long text from the pages it overflows to) and
    // keeps none.
    void readValues() const
    {
        if (!m_statement) {
            for (int column = 0; column < m_query->record().count(); ++column)
                (void)m_query->value(column);
            return;
        }
        for (int column = 0; column < sqlite3_column_count(m_statement); ++column)
            (void)sqlite3_column_bytes(m_statement, column);
    }
    // Whether the value is an integer as stored, not text or NULL read as one.
    bool isInteger(int column) const
    {
        if (!m_statement)
            return m_query->value(column).typeId() == QMetaType::LongLong
                || m_query->value(column).typeId() == QMetaType::Int;
        return sqlite3_column_type(m_statement, column) == SQLITE_INTEGER;
    }
    qint64 integer64(int column) const
    {
        return m_statement ? sqlite3_column_int64(m_statement, column) : m_query->value(column).toLongLong();
    }
    int integer(int column) const
    {
        if (!m_statement)
            return m_query->value(column).toInt();
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
    // Only for a connection that is not SQLite's own.
    std::optional<QSqlQuery> m_query;
    sqlite3 *m_handle = nullptr;
    sqlite3_stmt *m_statement = nullptr;
    bool m_ok = false;
};

} // namespace

namespace {

// Finds a contact's row by its id. Stored contacts normally come in rising id
// order and child rows in the contacts' order: then the row of the previous
// lookup or the one after it answers nearly every lookup, and a binary search the
// rest. Otherwise a table of every id answers, its last row for an id held twice.
class RowOfId
{
public:
    explicit RowOfId(const QList<ContactInfo> &contacts)
        : m_contacts(contacts)
    {
        for (qsizetype i = 1; m_rising && i < contacts.size(); ++i)
            m_rising = contacts[i - 1].id < contacts[i].id;
        if (!m_rising) {
            m_rows.reserve(contacts.size());
            for (qsizetype i = 0; i < contacts.size(); ++i)
                m_rows.insert(contacts[i].id, i);
        }
    }
    // -1 when no contact has the id.
    qsizetype find(int id)
    {
        if (!m_rising)
            return m_rows.value(id, -1);
        if (m_last >= 0 && m_contacts[m_last].id == id)
            return m_last;
        if (m_last + 1 < m_contacts.size() && m_contacts[m_last + 1].id == id)
            return ++m_last;
        const auto it = std::lower_bound(
            m_contacts.cbegin(), m_contacts.cend(), id, [](const ContactInfo &c, int wanted) { return c.id < wanted; });
        if (it == m_contacts.cend() || it->id != id)
            return -1;
        m_last = it - m_contacts.cbegin();
        return m_last;
    }

private:
    const QList<ContactInfo> &m_contacts;
    bool m_rising = true;
    qsizetype m_last = -1;
    QHash<int, qsizetype> m_rows;
};

} // namespace

// The queries of one read of contacts and their phones, mails and groups.
struct ContactQueries {
    const char *contacts;
    const char *phones;
    const char *mails;
    const char *groups;
};

namespace {

// The queries of a whole load, and of a slice: the contacts after a stored
// position, and the rows of the ids they span (rising ids make that range theirs
// alone), in stored order within each contact as a whole load reads them.
const ContactQueries kAllContacts {
    "SELECT id,FirstName,LastName,Department,PrimaryIndex,Frequent,PhotoUrl,RingtoneUrl,RingtoneIndex,rowid "
    "FROM contact1",
    "SELECT cid,type,phonenumber,accountindex FROM phone1",
    "SELECT cid,type,Mail FROM mail1",
    "SELECT contact_id,group_name FROM union1",
};
const ContactQueries kContactSlice {
    "SELECT id,FirstName,LastName,Department,PrimaryIndex,Frequent,PhotoUrl,RingtoneUrl,RingtoneIndex,rowid "
    "FROM contact1 WHERE rowid > ? ORDER BY rowid LIMIT ?",
    "SELECT cid,type,phonenumber,accountindex FROM phone1 WHERE cid BETWEEN ? AND ? ORDER BY cid,rowid",
    "SELECT cid,type,Mail FROM mail1 WHERE cid BETWEEN ? AND ? ORDER BY cid,rowid",
    "SELECT contact_id,group_name FROM union1 WHERE contact_id BETWEEN ? AND ? ORDER BY contact_id,rowid",
};

} // namespace

Expected<QList<ContactInfo>> SqliteDatabase::loadContacts(const QList<ContactInfo> &inMemory)
{
    QList<ContactInfo> result;
    // Sized once: growing a list of 100 000 contacts moves them all several times.
    const Expected<int> count = contactCount();
    if (!count)
        return count.result();
    result.reserve(*count);
    qint64 last = 0;
    if (const Result read = readContacts(result, inMemory, kAllContacts, nullptr, &last); !read)
        return read;
    return result;
}

Result SqliteDatabase::readThrough()
{
    // The reads of a load, every row and value, made into nothing: a load fails
    // only where one of them does.
    for (const char *sql : { kAllContacts.contacts, kAllContacts.phones, kAllContacts.mails, kAllContacts.groups }) {
        RowReader q(m_db, sql);
        while (q.next())
            q.readValues();
        if (q.failed())
            return fail(q.error());
    }
    return Result();
}

Expected<bool> SqliteDatabase::contactsReadInSlices()
{
    RowReader q(m_db, "SELECT id FROM contact1 ORDER BY rowid");
    bool rising = true;
    qint64 previous = 0;
    bool first = true;
    while (rising && q.next()) {
        const qint64 id = q.integer64(0);
        rising = q.isInteger(0) && (first || id > previous);
        previous = id;
        first = false;
    }
    if (q.failed())
        return fail(q.error());
    return rising;
}

Expected<QList<ContactInfo>> SqliteDatabase::loadContactSlice(qint64 &after, int limit)
{
    QList<ContactInfo> result;
    result.reserve(limit);
    const qint64 bounds[] = { after, limit };
    if (const Result read = readContacts(result, {}, kContactSlice, bounds, &after); !read)
        return read;
    return result;
}

Result SqliteDatabase::readContacts(QList<ContactInfo> &result, const QList<ContactInfo> &inMemory,
    const ContactQueries &queries, const qint64 *slice, qint64 *lastRow)
{
    KnownContacts sharing(inMemory);
    // One scan per table, folded by contact id, gives what the left join of the four
    // tables gives, without repeating every contact once per phone, mail and group.
    // Child rows come in stored order, which is the join's order within a contact.
    TextPool departments;
    TextPool types;
    TextPool groupNames;
    // A read that stops on an error gives no contacts at all.
    auto readFailure = [this](const RowReader &q) { return q.failed() ? fail(q.error()) : Result(); };
    {
        RowReader q
            = slice ? RowReader(m_db, queries.contacts, { slice[0], slice[1] }) : RowReader(m_db, queries.contacts);
        while (q.next()) {
            ContactInfo &c = result.emplaceBack();
            c.id = q.integer(0);
            c.FirstName = q.text(1);
            c.LastName = q.text(2);
            c.Department = q.text(3, departments);
            c.PrimaryIndex = q.integer(4);
            c.Frequent = q.integer(5);
            c.PhotoUrl = q.text(6);
            c.RingtoneUrl = q.text(7);
            c.RingtoneIndex = q.integer(8);
            *lastRow = q.integer64(9);
            sharing.pair(result.size() - 1, c);
        }
        if (const Result read = readFailure(q); !read)
            return read;
    }
    if (result.isEmpty())
        return Result();
    // A slice's rows are those of the ids it spans.
    const qint64 firstId = result.first().id;
    const qint64 lastId = result.last().id;
    auto children = [&](const char *sql) {
        return slice ? RowReader(m_db, sql, { firstId, lastId }) : RowReader(m_db, sql);
    };
    RowOfId rowOf(result);
    {
        RowReader q = children(queries.phones);
        while (q.next()) {
            const qsizetype row = rowOf.find(q.integer(0));
            if (row < 0)
                continue;
            PhoneInfoList &phones = result[row].PhoneList;
            const PhoneInfo phone { q.text(1, types), QString(), q.text(2), q.integer(3) };
            // The join repeats a phone once per mail and group; equal neighbours are one.
            if (phones.isEmpty() || phones.last().type != phone.type || phones.last().phonenumber != phone.phonenumber
                || phones.last().accountindex != phone.accountindex)
                phones.append(phone);
            sharing.sharePhones(row, phones);
        }
        if (const Result read = readFailure(q); !read)
            return read;
    }
    {
        RowReader q = children(queries.mails);
        while (q.next()) {
            const qsizetype row = rowOf.find(q.integer(0));
            if (row < 0)
                continue;
            MailInfoList &mails = result[row].MailList;
            const MailInfo mail { q.text(1, types), QString(), q.text(2) };
            bool known = false;
            for (const MailInfo &m : std::as_const(mails)) {
                if (m.type == mail.type && m.Mail == mail.Mail) {
                    known = true;
                    break;
                }
            }
            if (!known)
                mails.append(mail);
            sharing.shareMails(row, mails);
        }
        if (const Result read = readFailure(q); !read)
            return read;
    }
    {
        RowReader q = children(queries.groups);
        while (q.next()) {
            const qsizetype row = rowOf.find(q.integer(0));
            if (row < 0)
                continue;
            QStringList &groups = result[row].GroupList;
            const QString group = q.text(1, groupNames);
            if (!groups.contains(group))
                groups.append(group);
            sharing.shareGroups(row, groups);
        }
        if (const Result read = readFailure(q); !read)
            return read;
    }

    // A contact without phones, mails or groups gets the one empty entry that the
    // join's null columns give it.
    for (ContactInfo &c : result) {
        if (c.PhoneList.isEmpty())
            c.PhoneList.append(PhoneInfo { QString(), QString(), QString(), 0 });
        if (c.MailList.isEmpty())
            c.MailList.append(MailInfo { QString(), QString(), QString() });
        if (c.GroupList.isEmpty())
            c.GroupList.append(QString());
    }
    sharing.finish(result);
    return Result();
}

Expected<QList<GroupInfo>> SqliteDatabase::loadGroups(Members members)
{
    QList<GroupInfo> folded;
    // Without members each group is its one row, in the order the join gives them.
    RowReader q(m_db,
        members == Members::Loaded ? "SELECT group1.id,group1.name,group1.photos,group1.ringtones,group1.RingtoneIndex,"
                                     "union1.contact_id FROM group1 left join union1 on group1.name=union1.group_name"
                                   : "SELECT id,name,photos,ringtones,RingtoneIndex,0 FROM group1");
    {
        // A new group starts whenever the id changes, whatever its value: a group
        // stored with id 0 is a group like any other.
        bool haveCurrent = false;
        GroupInfo current;
        QSet<int> currentMembers;
        while (q.next()) {
            const int id = q.integer(0);
            if (!haveCurrent || id != current.id) {
                if (haveCurrent)
                    folded.append(current);
                current = GroupInfo();
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
                current.MemberIds.append(member);
                ++current.MemberCount;
            }
        }
        if (haveCurrent)
            folded.append(current);
        if (q.failed())
            return fail(q.error());
    }

    // One group per name: membership is by name, so a repeated row (an older store
    // may hold two "Default" rows) is the same group and is folded into the first.
    QList<GroupInfo> groups;
    QHash<QString, int> byName;
    for (const GroupInfo &row : std::as_const(folded)) {
        const auto it = byName.constFind(row.name);
        if (it == byName.constEnd()) {
            byName.insert(row.name, int(groups.size()));
            groups.append(row);
            continue;
        }
        GroupInfo &first = groups[*it];
        const QSet<int> known(first.MemberIds.cbegin(), first.MemberIds.cend());
        for (int member : row.MemberIds) {
            if (!known.contains(member)) {
                first.MemberIds.append(member);
                ++first.MemberCount;
            }
        }
    }

    const int defaultPos = byName.value(QStringLiteral("Default"), -1);
    if (defaultPos < 0) {
        GroupInfo row;
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
        GroupInfo row;
        row.id = 100;
        row.name = QStringLiteral("Blacklist");
        groups.append(row);
    } else {
        groups.move(blacklistPos, groups.size() - 1);
    }
    return groups;
}

Expected<QList<GroupInfo>> SqliteDatabase::storedGroups()
{
    QList<GroupInfo> groups;
    RowReader q(m_db, "select id, name from group1");
    while (q.next()) {
        GroupInfo g;
        g.id = q.integer(0);
        g.name = q.text(1);
        groups.append(g);
    }
    if (q.failed())
        return fail(q.error());
    return groups;
}

Expected<int> SqliteDatabase::largestContactId()
{
    return selectInt("select ifnull(max(id), 0) from contact1");
}

Expected<int> SqliteDatabase::contactCount()
{
    return selectInt("select count(*) from contact1");
}

namespace {

// One prepared INSERT, bound value by value straight from the records.
class Inserter
{
public:
    Inserter(sqlite3 *handle, const char *sql)
        : m_handle(handle)
    {
        if (sqlite3_prepare_v2(handle, sql, -1, &m_statement, nullptr) != SQLITE_OK)
            m_statement = nullptr;
        check(m_statement != nullptr);
    }
    ~Inserter()
    {
        if (m_statement)
            sqlite3_finalize(m_statement);
    }
    Inserter(const Inserter &) = delete;
    Inserter &operator=(const Inserter &) = delete;

    bool ok() const { return m_ok; }
    // SQLite's message for the first failure, taken when it happened.
    const QString &error() const { return m_error; }
    // A null text is stored as NULL, an empty one as "", as the driver of Qt does.
    // The text must live until row() has run.
    Inserter &text(const QString &value)
    {
        if (!m_ok)
            return *this;
        ++m_column;
        if (value.isNull()) {
            check(sqlite3_bind_null(m_statement, m_column) == SQLITE_OK);
            return *this;
        }
        // ASCII goes in as the UTF-8 the store keeps, through a buffer of the
        // column's own, so SQLite converts and allocates nothing for it; other
        // text as UTF-16, which SQLite converts as it always has.
        if (m_column > qsizetype(m_ascii.size()))
            m_ascii.resize(m_column);
        QByteArray &bytes = m_ascii[m_column - 1];
        bytes.resize(value.size());
        const char16_t *from = reinterpret_cast<const char16_t *>(value.constData());
        char *to = bytes.data();
        char16_t all = 0;
        for (qsizetype i = 0; i < value.size(); ++i) {
            all |= from[i];
            to[i] = char(from[i]);
        }
        if (all < 0x80)
            check(sqlite3_bind_text(m_statement, m_column, bytes.constData(), int(bytes.size()), SQLITE_STATIC)
                == SQLITE_OK);
        else
            check(sqlite3_bind_text16(
                      m_statement, m_column, value.utf16(), int(value.size() * sizeof(QChar)), SQLITE_STATIC)
                == SQLITE_OK);
        return *this;
    }
    Inserter &integer(int value)
    {
        if (m_ok)
            check(sqlite3_bind_int64(m_statement, ++m_column, value) == SQLITE_OK);
        return *this;
    }
    // Inserts the bound row; false from the first failure on.
    bool row()
    {
        if (m_ok)
            check(sqlite3_step(m_statement) == SQLITE_DONE);
        if (m_statement)
            sqlite3_reset(m_statement);
        m_column = 0;
        return m_ok;
    }

private:
    void check(bool ok)
    {
        if (!ok && m_ok)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_handle));
        m_ok = ok;
    }

    sqlite3 *m_handle;
    QString m_error;
    std::vector<QByteArray> m_ascii;
    sqlite3_stmt *m_statement = nullptr;
    int m_column = 0;
    bool m_ok = true;
};

} // namespace

Result SqliteDatabase::saveAll(const QList<ContactInfo> &contacts, const QList<GroupInfo> &groups)
{
    sqlite3 *handle = nativeHandle(m_db);
    if (!handle)
        return saveAllBatch(contacts, groups);
    // Clearing and refilling is one transaction: a failure anywhere leaves the
    // previous phonebook whole.
    if (const Result begun = beginTransaction(); !begun)
        return begun;
    Result result;
    for (const char *table : { "phone1", "mail1", "contact1", "group1", "union1" }) {
        if (result)
            result = exec(QStringLiteral("delete from ") + QLatin1String(table));
    }
    // A whole phonebook goes in faster without the indexes, which are then built
    // once from sorted keys instead of kept up to date row by row. (Rows added to
    // as many already stored, as an import does, do not: they are kept up to date.)
    if (result)
        result = dropIndexes();
    if (result && transactionLost())
        result = fail(undoneText());
    if (result) {
        // Each statement is prepared once for the whole phonebook.
        Inserter contact(handle, kInserts[0].sql);
        Inserter group(handle, kInserts[1].sql);
        Inserter phone(handle, kInserts[2].sql);
        Inserter mail(handle, kInserts[3].sql);
        Inserter member(handle, kInserts[4].sql);
        bool ok = contact.ok() && group.ok() && phone.ok() && mail.ok() && member.ok();
        for (qsizetype i = 0; ok && i < contacts.size(); ++i) {
            const ContactInfo &c = contacts[i];
            const QString photo = Records::storedPhotoUrl(c);
            const QString ringtone = Records::storedRingtoneUrl(c);
            ok = contact.integer(c.id)
                     .text(c.Department)
                     .text(c.LastName)
                     .text(c.FirstName)
                     .text(photo)
                     .text(ringtone)
                     .integer(c.RingtoneIndex)
                     .integer(c.PrimaryIndex)
                     .integer(c.Frequent)
                     .integer(0)
                     .row();
            // Numbers are bound, never spliced into SQL, so they are stored exactly as typed.
            for (qsizetype p = 0; ok && p < c.PhoneList.size(); ++p) {
                const PhoneInfo &phoneInfo = c.PhoneList[p];
                ok = phone.integer(c.id)
                         .text(phoneInfo.type)
                         .text(phoneInfo.phonenumber)
                         .integer(phoneInfo.accountindex)
                         .row();
            }
            for (qsizetype m = 0; ok && m < c.MailList.size(); ++m)
                ok = mail.integer(c.id).text(c.MailList[m].type).text(c.MailList[m].Mail).row();
            for (qsizetype g = 0; ok && g < c.GroupList.size(); ++g)
                ok = member.integer(c.id).text(c.GroupList[g]).row();
        }
        for (qsizetype i = 0; ok && i < groups.size(); ++i) {
            const GroupInfo &g = groups[i];
            ok = group.integer(g.id).text(g.name).text(g.photos).text(g.ringtones).integer(g.RingtoneIndex).row();
        }
        if (!ok) {
            for (const Inserter *failed : { &contact, &group, &phone, &mail, &member }) {
                if (!failed->ok()) {
                    result = fail(failed->error());
                    break;
                }
            }
        }
    }
    if (result)
        result = restoreIndexes();
    return endTransaction(result.ok());
}

namespace {

QList<QVariantList> groupColumns(const QList<GroupInfo> &groups)
{
    QList<QVariantList> columns(5);
    for (const GroupInfo &g : groups) {
        columns[0].append(g.id);
        columns[1].append(g.name);
        columns[2].append(g.photos);
        columns[3].append(g.ringtones);
        columns[4].append(g.RingtoneIndex);
    }
    return columns;
}

} // namespace

Result SqliteDatabase::saveGroups(const QList<GroupInfo> &groups)
{
    if (const Result begun = beginTransaction(); !begun)
        return begun;
    Result result = exec(QStringLiteral("delete from group1"));
    if (result)
        result = insertRows(Batch { { QStringLiteral("group1"), groupColumns(groups) } });
    return endTransaction(result.ok());
}

Result SqliteDatabase::saveAllBatch(const QList<ContactInfo> &contacts, const QList<GroupInfo> &groups)
{
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

    for (const ContactInfo &c : contacts) {
        contactCols[0].append(c.id);
        contactCols[1].append(c.Department);
        contactCols[2].append(c.LastName);
        contactCols[3].append(c.FirstName);
        contactCols[4].append(Records::storedPhotoUrl(c));
        contactCols[5].append(Records::storedRingtoneUrl(c));
        contactCols[6].append(c.RingtoneIndex);
        contactCols[7].append(c.PrimaryIndex);
        contactCols[8].append(c.Frequent);
        contactCols[9].append(0);
        // Numbers are bound, never spliced into SQL, so they are stored exactly as typed.
        for (const PhoneInfo &p : c.PhoneList) {
            phoneCols[0].append(c.id);
            phoneCols[1].append(p.type);
            phoneCols[2].append(p.phonenumber);
            phoneCols[3].append(p.accountindex);
        }
        for (const MailInfo &m : c.MailList) {
            mailCols[0].append(c.id);
            mailCols[1].append(m.type);
            mailCols[2].append(m.Mail);
        }
        for (const QString &g : c.GroupList) {
            unionCols[0].append(c.id);
            unionCols[1].append(g);
        }
    }
    groupCols = groupColumns(groups);

    // Clearing and refilling is one transaction: a failure anywhere leaves the
    // previous phonebook whole.
    if (const Result begun = beginTransaction(); !begun)
        return begun;
    Result result;
    for (const char *table : { "phone1", "mail1", "contact1", "group1", "union1" }) {
        if (result)
            result = exec(QStringLiteral("delete from ") + QLatin1String(table));
    }
    if (result)
        result = insertRows(batch);
    return endTransaction(result.ok());
}
