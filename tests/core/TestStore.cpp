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
    return store();
}

ContactInfo row(int id, const QString &first, const QString &last)
{
    ContactInfo r;
    r.id = id;
    r.FirstName = first;
    r.LastName = last;
    return r;
}

GroupInfo groupRow(int id, const QString &name)
{
    GroupInfo g;
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
    DataMgr::instance()->closeStore();
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
    ContactInfo a = row(1, "Ann", "Lee");
    a.PhoneList = { PhoneInfo { "Work", {}, "100", 0 }, PhoneInfo { "Home", {}, "200", 1 } };
    a.MailList = { MailInfo { "Work", {}, "a@x" }, MailInfo { "Home", {}, "b@x" } };
    a.GroupList = { "Family", "Golf" };
    ContactInfo b = row(2, "Bob", "Ray");
    b.PhoneList = { PhoneInfo { "Mobile", {}, "300", 2 } };
    b.MailList = { MailInfo { "Other", {}, "c@x" } };
    b.GroupList = { "Golf" };
    QVERIFY(db()->saveAll({ a, b }, { groupRow(1, "Family"), groupRow(2, "Golf") }));

    const QList<ContactInfo> loaded = loadedContacts();
    QCOMPARE(loaded.size(), 2);
    QCOMPARE(loaded[0].id, 1);
    QCOMPARE(loaded[0].PhoneList.size(), 2);
    QCOMPARE(loaded[0].PhoneList[1].phonenumber, QString("200"));
    QCOMPARE(loaded[0].PhoneList[1].accountindex, 1);
    QCOMPARE(loaded[0].MailList.size(), 2);
    QCOMPARE(loaded[0].MailList[1].Mail, QString("b@x"));
    QCOMPARE(loaded[0].GroupList, QStringList({ "Family", "Golf" }));
    QCOMPARE(loaded[1].FirstName, QString("Bob"));
    QCOMPARE(loaded[1].PhoneList.size(), 1);
    QCOMPARE(loaded[1].GroupList, QStringList({ "Golf" }));

    const QList<GroupInfo> groups = loadedGroups();
    QCOMPARE(groups.size(), 4);
    QCOMPARE(groups[1].name, QString("Family"));
    QCOMPARE(groups[1].MemberIds, QList<int>({ 1 }));
    QCOMPARE(groups[2].MemberIds, QList<int>({ 1, 2 }));
    QCOMPARE(groups[2].MemberCount, 2);
}

void TestStore::contactWithoutChildrenKeepsEmptyEntries()
{
    Workspace ws;
    QVERIFY(db()->saveAll({ row(5, "Solo", "") }, {}));
    const QList<ContactInfo> loaded = loadedContacts();
    QCOMPARE(loaded.size(), 1);
    QCOMPARE(loaded[0].PhoneList.size(), 1);
    QCOMPARE(loaded[0].PhoneList[0].phonenumber, QString());
    QCOMPARE(loaded[0].MailList.size(), 1);
    QCOMPARE(loaded[0].GroupList, QStringList({ QString() }));
}

void TestStore::phoneNumbersAreStoredAsTyped()
{
    Workspace ws;
    ContactInfo a = row(1, "O'Brien", "D'Arcy");
    a.PhoneList = { PhoneInfo { "Work", {}, "12'34", 0 } };
    QVERIFY(db()->saveAll({ a }, {}));
    QVERIFY(db()->saveAll(loadedContacts(), {}));
    const QList<ContactInfo> loaded = loadedContacts();
    QCOMPARE(loaded[0].PhoneList[0].phonenumber, QString("12'34"));
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
    QList<GroupInfo> groups;
    for (int i = 0; i < stored.size(); ++i)
        groups << groupRow(i + 1, stored[i]);
    QVERIFY(db()->saveAll({}, groups));
    QStringList names;
    QList<int> ids;
    for (const GroupInfo &g : loadedGroups()) {
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
    ContactInfo a = row(1, "Ann", "Lee");
    a.GroupList = { "Default" };
    ContactInfo b = row(2, "Bob", "Ray");
    b.GroupList = { "Golf" };
    QVERIFY(db()->saveAll({ a, b }, { groupRow(0, "Default"), groupRow(7, "Golf") }));
    const QList<GroupInfo> groups = loadedGroups();
    QCOMPARE(groups.size(), 3);
    QCOMPARE(groups[0].name, QString("Default"));
    QCOMPARE(groups[0].MemberIds, QList<int>({ 1 }));
    QCOMPARE(groups[1].name, QString("Golf"));
    QCOMPARE(groups[1].MemberIds, QList<int>({ 2 }));
}

void TestStore::repeatedGroupNameLoadsOnce()
{
    Workspace ws;
    ContactInfo a = row(1, "Ann", "Lee");
    a.GroupList = { "Default" };
    QVERIFY(db()->saveAll({ a }, { groupRow(3, "Golf"), groupRow(4, "Default"), groupRow(5, "Default") }));
    QStringList names;
    for (const GroupInfo &g : loadedGroups())
        names << g.name;
    QCOMPARE(names, QStringList({ "Default", "Golf", "Blacklist" }));
    QCOMPARE(loadedGroups().first().MemberIds, QList<int>({ 1 }));
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
        ContactInfo ann = row(1, "Ann", "Lee");
        ann.PhoneList = { PhoneInfo { "Work", {}, "old", 0 } };
        ann.GroupList = { "Golf" };
        ContactInfo annLower = row(2, "ann", "Lee");
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
    const QList<ContactInfo> loaded = loadedContacts();
    QCOMPARE(loaded.size(), 2);
    QCOMPARE(loaded[1].FirstName, QString("Bob"));
    QCOMPARE(loadedGroups().size(), 3);
}

void TestStore::photoPlaceholderIsStoredEmpty()
{
    Workspace ws;
    ContactInfo c = contact("Ann", "Lee");
    c.id = 1;
    c.PhotoUrl = Records::defaultHeadText();
    c.RingtoneUrl = Records::defaultRingtoneText();
    QVERIFY(db()->saveAll({ c }, {}));
    const ContactInfo loaded = loadedContacts().first();
    QCOMPARE(loaded.PhotoUrl, QString());
    QCOMPARE(loaded.RingtoneUrl, QString());
}

QTEST_GUILESS_MAIN(TestStore)
#include "TestStore.moc"
