// The SQLite store: schema, fold of the joined rows, built-in groups, merge, save.

#include "tests/TestUtil.h"

#include <QSqlQuery>

using namespace TestUtil;

namespace {

int count(const QString &sql)
{
    QSqlQuery q;
    if (!q.exec(sql) || !q.next())
        return -1;
    return q.value(0).toInt();
}

SqliteDatabase *db()
{
    return DBOperator::instance()->database();
}

ContactRow row(int id, const QString &first, const QString &last)
{
    ContactRow r;
    r.id = id;
    r.FirstName = first;
    r.LastName = last;
    return r;
}

GroupRow groupRow(int id, const QString &name)
{
    GroupRow g;
    g.id = id;
    g.name = name;
    return g;
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void createsExactlyTheFiveTables();
    void existingEmptyFileGetsTables();
    void foldsJoinedRowsIntoContacts();
    void contactWithoutChildrenKeepsEmptyEntries();
    void phoneNumbersAreStoredAsTyped();
    void builtInGroupsArePlaced_data();
    void builtInGroupsArePlaced();
    void groupWithIdZeroKeepsItsMembers();
    void repeatedGroupNameLoadsOnce();
    void mergeReplacesDuplicates_data();
    void mergeReplacesDuplicates();
    void mergeTreatsEmptyNamesAsEqual_data();
    void mergeTreatsEmptyNamesAsEqual();
    void failedSaveKeepsPreviousPhonebook();
    void updateRecordSetsOneColumn();
    void updateRecordRefusesUnknownNames_data();
    void updateRecordRefusesUnknownNames();
    void photoPlaceholderIsStoredEmpty();
};

void TestStore::createsExactlyTheFiveTables()
{
    Workspace ws;
    QVERIFY(QFile::exists(ws.file("phonebook.db")));
    const QStringList expected = {
        "create table contact1 (id INT PRIMARY KEY, Department VERCHAR, LastName VERCHAR, FirstName VERCHAR, "
        "PhotoUrl VERCHAR, RingtoneUrl VERCHAR,RingtoneIndex INT, PrimaryIndex INT, Frequent INT, Flag INT)",
        "create table phone1 (cid INT, type VERCHAR, phonenumber VERCHAR, accountindex INT)",
        "create table mail1 (cid INT, type VERCHAR , Mail VERCHAR)",
        "create table group1 (id INT PRIMARY KEY,name VERCHAR , photos VERCHAR, ringtones VERCHAR,RingtoneIndex INT)",
        "create table union1 (contact_id INT, group_name VERCHAR)",
    };
    QSqlQuery q;
    QVERIFY(q.exec("select sql from sqlite_master where type='table' order by rowid"));
    QStringList actual;
    while (q.next())
        actual << q.value(0).toString().replace(QLatin1String("CREATE TABLE"), QLatin1String("create table"));
    QCOMPARE(actual, expected);
    QCOMPARE(count("select count(*) from contact1"), 0);
}

void TestStore::existingEmptyFileGetsTables()
{
    Workspace ws;
    DBOperator::instance()->close();
    QFile::remove(ws.file("phonebook.db"));
    QFile empty(ws.file("phonebook.db"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    QVERIFY(db()->openDatabase());
    QCOMPARE(count("select count(*) from group1"), 0);
}

void TestStore::foldsJoinedRowsIntoContacts()
{
    Workspace ws;
    ContactRow a = row(1, "Ann", "Lee");
    a.phones = { PhoneRow { "Work", "100", 0 }, PhoneRow { "Home", "200", 1 } };
    a.mails = { MailRow { "Work", "a@x" }, MailRow { "Home", "b@x" } };
    a.groupNames = { "Family", "Golf" };
    ContactRow b = row(2, "Bob", "Ray");
    b.phones = { PhoneRow { "Mobile", "300", 2 } };
    b.mails = { MailRow { "Other", "c@x" } };
    b.groupNames = { "Golf" };
    QVERIFY(db()->saveAll({ a, b }, { groupRow(1, "Family"), groupRow(2, "Golf") }));

    const QList<ContactRow> loaded = db()->loadContacts();
    QCOMPARE(loaded.size(), 2);
    QCOMPARE(loaded[0].id, 1);
    QCOMPARE(loaded[0].phones.size(), 2);
    QCOMPARE(loaded[0].phones[1].phonenumber, QString("200"));
    QCOMPARE(loaded[0].phones[1].accountindex, 1);
    QCOMPARE(loaded[0].mails.size(), 2);
    QCOMPARE(loaded[0].mails[1].Mail, QString("b@x"));
    QCOMPARE(loaded[0].groupNames, QStringList({ "Family", "Golf" }));
    QCOMPARE(loaded[1].FirstName, QString("Bob"));
    QCOMPARE(loaded[1].phones.size(), 1);
    QCOMPARE(loaded[1].groupNames, QStringList({ "Golf" }));

    const QList<GroupRow> groups = db()->loadGroups();
    QCOMPARE(groups.size(), 4);
    QCOMPARE(groups[1].name, QString("Family"));
    QCOMPARE(groups[1].memberIds, QList<int>({ 1 }));
    QCOMPARE(groups[2].memberIds, QList<int>({ 1, 2 }));
    QCOMPARE(groups[2].memberCount, 2);
}

void TestStore::contactWithoutChildrenKeepsEmptyEntries()
{
    Workspace ws;
    QVERIFY(db()->saveAll({ row(5, "Solo", "") }, {}));
    const QList<ContactRow> loaded = db()->loadContacts();
    QCOMPARE(loaded.size(), 1);
    QCOMPARE(loaded[0].phones.size(), 1);
    QCOMPARE(loaded[0].phones[0].phonenumber, QString());
    QCOMPARE(loaded[0].mails.size(), 1);
    QCOMPARE(loaded[0].groupNames, QStringList({ QString() }));
}

void TestStore::phoneNumbersAreStoredAsTyped()
{
    Workspace ws;
    ContactRow a = row(1, "O'Brien", "D'Arcy");
    a.phones = { PhoneRow { "Work", "12'34", 0 } };
    QVERIFY(db()->saveAll({ a }, {}));
    QVERIFY(db()->saveAll(db()->loadContacts(), {}));
    const QList<ContactRow> loaded = db()->loadContacts();
    QCOMPARE(loaded[0].phones[0].phonenumber, QString("12'34"));
    QCOMPARE(loaded[0].FirstName, QString("O'Brien"));
}

void TestStore::builtInGroupsArePlaced_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<int>>("expectedIds");

    QTest::newRow("empty store") << QStringList() << QStringList({ "Default", "Blacklist" }) << QList<int>({ 0, 100 });
    QTest::newRow("only user groups") << QStringList({ "Golf" }) << QStringList({ "Default", "Golf", "Blacklist" })
                                      << QList<int>({ 0, 1, 100 });
    QTest::newRow("built-ins out of place")
        << QStringList({ "Blacklist", "Golf", "Default", "Chess" })
        << QStringList({ "Default", "Golf", "Chess", "Blacklist" }) << QList<int>({ 3, 2, 4, 1 });
}

void TestStore::builtInGroupsArePlaced()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, expectedIds);
    Workspace ws;
    QList<GroupRow> groups;
    for (int i = 0; i < stored.size(); ++i)
        groups << groupRow(i + 1, stored[i]);
    QVERIFY(db()->saveAll({}, groups));
    QStringList names;
    QList<int> ids;
    for (const GroupRow &g : db()->loadGroups()) {
        names << g.name;
        ids << g.id;
    }
    QCOMPARE(names, expected);
    QCOMPARE(ids, expectedIds);
}

void TestStore::groupWithIdZeroKeepsItsMembers()
{
    // Older imports stored "Default" with id 0; it must not hand its members on.
    Workspace ws;
    ContactRow a = row(1, "Ann", "Lee");
    a.groupNames = { "Default" };
    ContactRow b = row(2, "Bob", "Ray");
    b.groupNames = { "Golf" };
    QVERIFY(db()->saveAll({ a, b }, { groupRow(0, "Default"), groupRow(7, "Golf") }));
    const QList<GroupRow> groups = db()->loadGroups();
    QCOMPARE(groups.size(), 3);
    QCOMPARE(groups[0].name, QString("Default"));
    QCOMPARE(groups[0].memberIds, QList<int>({ 1 }));
    QCOMPARE(groups[1].name, QString("Golf"));
    QCOMPARE(groups[1].memberIds, QList<int>({ 2 }));
}

void TestStore::repeatedGroupNameLoadsOnce()
{
    Workspace ws;
    ContactRow a = row(1, "Ann", "Lee");
    a.groupNames = { "Default" };
    QVERIFY(db()->saveAll({ a }, { groupRow(3, "Golf"), groupRow(4, "Default"), groupRow(5, "Default") }));
    QStringList names;
    for (const GroupRow &g : db()->loadGroups())
        names << g.name;
    QCOMPARE(names, QStringList({ "Default", "Golf", "Blacklist" }));
    QCOMPARE(db()->loadGroups().first().memberIds, QList<int>({ 1 }));
}

void TestStore::mergeReplacesDuplicates_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("haveOldRows");
    QTest::addColumn<QList<int>>("expectedIds");

    QTest::newRow("replace duplicates") << 0 << true << QList<int>({ 2, 10 });
    QTest::newRow("keep both") << 1 << true << QList<int>({ 1, 2, 10 });
    QTest::newRow("only imported rows") << 0 << false << QList<int>({ 10 });
}

void TestStore::mergeReplacesDuplicates()
{
    QFETCH(int, mode);
    QFETCH(bool, haveOldRows);
    QFETCH(QList<int>, expectedIds);
    Workspace ws;
    if (haveOldRows) {
        ContactRow ann = row(1, "Ann", "Lee");
        ann.phones = { PhoneRow { "Work", "old", 0 } };
        ann.groupNames = { "Golf" };
        ContactRow annLower = row(2, "ann", "Lee");
        QVERIFY(db()->saveAll({ ann, annLower }, { groupRow(1, "Golf") }));
    }
    // The freshly imported Ann Lee, as a reader writes it.
    Batch batch;
    batch["contact1"]
        = { { 10 }, { QString() }, { "Lee" }, { "Ann" }, { QString() }, { QString() }, { 0 }, { 0 }, { 0 }, { 1 } };
    batch["phone1"] = { { 10 }, { "Work" }, { "new" }, { 0 } };
    QVERIFY(db()->insertBatch(batch));
    db()->setMergeMode(mode);
    QVERIFY(db()->mergeImported());

    QList<int> ids;
    QSqlQuery q;
    QVERIFY(q.exec("select id from contact1 order by id"));
    while (q.next())
        ids << q.value(0).toInt();
    QCOMPARE(ids, expectedIds);
    QCOMPARE(count("select count(*) from contact1 where Flag <> 0"), 0);
    QCOMPARE(count("select count(*) from phone1 where cid = 10 and phonenumber = 'new'"), 1);
    // The replaced contact leaves no phones or memberships behind.
    QCOMPARE(count("select count(*) from phone1 where phonenumber = 'old'"), expectedIds.contains(1) ? 1 : 0);
    QCOMPARE(count("select count(*) from union1 where contact_id = 1"), expectedIds.contains(1) ? 1 : 0);
}

void TestStore::mergeTreatsEmptyNamesAsEqual_data()
{
    using namespace StoreValues;
    const QVariant empty = QString("");
    // First and last name of the stored contact and of the imported one.
    QTest::addColumn<QVariantList>("stored");
    QTest::addColumn<QVariantList>("imported");
    QTest::addColumn<int>("contactsAfter");
    QTest::newRow("no last names") << QVariantList { "Ann", nullText() } << QVariantList { "Ann", nullText() } << 1;
    QTest::newRow("missing and empty last name")
        << QVariantList { "Ann", nullText() } << QVariantList { "Ann", empty } << 1;
    QTest::newRow("empty and missing first name")
        << QVariantList { empty, "Lee" } << QVariantList { nullText(), "Lee" } << 1;
    QTest::newRow("no names at all") << QVariantList { nullText(), nullText() } << QVariantList { empty, empty } << 1;
    QTest::newRow("missing and given last name")
        << QVariantList { "Ann", nullText() } << QVariantList { "Ann", "Lee" } << 2;
}

void TestStore::mergeTreatsEmptyNamesAsEqual()
{
    using namespace StoreValues;
    QFETCH(QVariantList, stored);
    QFETCH(QVariantList, imported);
    QFETCH(int, contactsAfter);
    Workspace ws;
    // Ids, names and Flag as the store keeps them: 0 for the phonebook, 1 freshly imported.
    Batch batch;
    batch["contact1"] = { { 1, 2 }, { nullText(), nullText() }, { stored[1], imported[1] }, { stored[0], imported[0] },
        { nullText(), nullText() }, { nullText(), nullText() }, { 0, 0 }, { 0, 0 }, { 0, 0 }, { 0, 1 } };
    QVERIFY(db()->insertBatch(batch));
    db()->setMergeMode(0);
    QVERIFY(db()->mergeImported());
    QCOMPARE(count("select count(*) from contact1"), contactsAfter);
    QCOMPARE(count("select count(*) from contact1 where id = 2"), 1);
}

void TestStore::failedSaveKeepsPreviousPhonebook()
{
    Workspace ws;
    QVERIFY(db()->saveAll({ row(1, "Ann", "Lee"), row(2, "Bob", "Ray") }, { groupRow(1, "Golf") }));
    // Two contacts with one id violate the primary key half-way through the insert.
    QVERIFY(!db()->saveAll({ row(3, "Cid", "X"), row(3, "Dee", "Y") }, {}));
    const QList<ContactRow> loaded = db()->loadContacts();
    QCOMPARE(loaded.size(), 2);
    QCOMPARE(loaded[1].FirstName, QString("Bob"));
    QCOMPARE(db()->loadGroups().size(), 3);
}

void TestStore::updateRecordSetsOneColumn()
{
    Workspace ws;
    QVERIFY(db()->saveAll({ row(7, "Ann", "Lee"), row(8, "Bob", "Ray") }, {}));
    QVERIFY(db()->updateRecord("contact1", { "id", ",", "FirstName" }, { "7", ",", "'Ma''ry'" }));
    const QList<ContactRow> loaded = db()->loadContacts();
    QCOMPARE(loaded[0].FirstName, QString("Ma'ry"));
    QCOMPARE(loaded[1].FirstName, QString("Bob"));
}

void TestStore::updateRecordRefusesUnknownNames_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QStringList>("values");

    QTest::newRow("unknown table") << "contact1; drop table group1" << QStringList({ "id", "FirstName" })
                                   << QStringList({ "7", "'x'" });
    QTest::newRow("unknown column") << "contact1" << QStringList({ "id", "FirstName=1; --" })
                                    << QStringList({ "7", "'x'" });
    QTest::newRow("unknown key column") << "contact1" << QStringList({ "1=1 or id", "FirstName" })
                                        << QStringList({ "7", "'x'" });
    QTest::newRow("one column only") << "contact1" << QStringList({ "id" }) << QStringList({ "7" });
}

void TestStore::updateRecordRefusesUnknownNames()
{
    QFETCH(QString, table);
    QFETCH(QStringList, columns);
    QFETCH(QStringList, values);
    Workspace ws;
    QVERIFY(db()->saveAll({ row(7, "Ann", "Lee") }, { groupRow(1, "Golf") }));
    QVERIFY(!db()->updateRecord(table, columns, values));
    QCOMPARE(db()->loadContacts().first().FirstName, QString("Ann"));
    QCOMPARE(count("select count(*) from group1"), 1);
}

void TestStore::photoPlaceholderIsStoredEmpty()
{
    Workspace ws;
    ContactInfo c = contact("Ann", "Lee");
    c.id = 1;
    c.PhotoUrl = Records::defaultHeadText();
    c.RingtoneUrl = Records::defaultRingtoneText();
    QVERIFY(DBOperator::instance()->saveAll({ c }, {}));
    const ContactRow loaded = db()->loadContacts().first();
    QCOMPARE(loaded.PhotoUrl, QString());
    QCOMPARE(loaded.RingtoneUrl, QString());
}

QTEST_GUILESS_MAIN(TestStore)
#include "TestStore.moc"
