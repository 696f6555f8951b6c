// The working phonebook: list operations and their member bookkeeping, ids, reload.

#include "tests/LockHolder.h"
#include "tests/StoreFault.h"
#include "tests/TestUtil.h"

#include <QSignalSpy>
#include <QSqlQuery>

using namespace TestUtil;

namespace {

DataMgr *mgr()
{
    return DataMgr::instance();
}

QList<int> members(const QString &group)
{
    return mgr()->groupList().at(groupIndex(group)).MemberIds;
}

int memberCount(const QString &group)
{
    return mgr()->groupList().at(groupIndex(group)).MemberCount;
}

QList<int> ids()
{
    QList<int> list;
    for (const ContactInfo &c : mgr()->ctList())
        list << c.id;
    return list;
}

QStringList storedNames()
{
    QStringList names;
    for (const ContactInfo &c : TestUtil::loadedContacts())
        names << c.FirstName;
    return names;
}

// The two writes of the phonebook as a whole that the editor makes itself.
bool saveOrImport(const QString &how, const Workspace &ws)
{
    if (how == QLatin1String("save"))
        return mgr()->savePhonebookFiles();
    QFile file(ws.file("many.csv"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("First Name,Last Name,Work Phone\n");
    for (int i = 0; i < 2000; ++i)
        file.write("Imported" + QByteArray::number(i) + ",Lee,5550100\n");
    file.close();
    return mgr()->importPhonebook(file.fileName(), "UTF-8", false, false);
}

// Ann (Golf), Bob (Golf, Chess), Cid (no group).
void threeContacts()
{
    addGroup("Golf");
    addGroup("Chess");
    addContact(contact("Ann", "Lee", { phone("Work", "1") }, {}, { "Golf" }));
    addContact(contact("Bob", "Ray", {}, {}, { "Golf", "Chess" }));
    addContact(contact("Cid", "Moe"));
}

} // namespace

class TestDataMgr : public QObject
{
    Q_OBJECT

private slots:
    void clearedPhonebookHasOnlyBuiltIns();
    void addGroupLandsBeforeAddRow();
    void addContactRecordsMembership_data();
    void addContactRecordsMembership();
    void deleteContactUpdatesMembers();
    void deleteCheckedContacts();
    void copyAndMoveContact();
    void batchCopyMoveRemove();
    void dissolveKeepsGroupDeleteRemovesIt();
    void removingGroupKeepsLongerNames_data();
    void removingGroupKeepsLongerNames();
    void renameGroup_data();
    void renameGroup();
    void groupNameExistsByPinyin();
    void saveRenumbersGroupIds();
    void saveNeverGivesAUserGroupBlacklistsId();
    void reloadRebuildsDerivedData();
    void busyMarksNest();
    void groupContactRowsFollowListOrder();
    void refreshContactSyncsMembership();
    void resetForImportEmptiesEverything();
    void failedSaveIsReportedAndKeepsStore();
    void unreadableStoreIsReported();
    void refusedWriteKeepsStore_data();
    void refusedWriteKeepsStore();
};

void TestDataMgr::clearedPhonebookHasOnlyBuiltIns()
{
    Workspace ws;
    threeContacts();
    QVERIFY(mgr()->hasData());
    QSignalSpy spy(mgr(), &DataMgr::updateModel);
    mgr()->clearPhonebook();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(groupNames(), QStringList({ "All", "Default", "Add group", "Blacklist" }));
    QVERIFY(mgr()->ctList().isEmpty());
    QVERIFY(!mgr()->hasData());
    QCOMPARE(mgr()->nextContactId(), 1);
    QCOMPARE(mgr()->groupList().at(3).id, 100);
}

void TestDataMgr::addGroupLandsBeforeAddRow()
{
    Workspace ws;
    addGroup("Golf");
    QCOMPARE(groupNames(), QStringList({ "All", "Default", "Golf", "Add group", "Blacklist" }));
    QCOMPARE(mgr()->groupList().at(2).id, 3);
    QCOMPARE(mgr()->groupList().at(2).IconKind, QString("common"));
    QVERIFY(mgr()->hasData());
}

void TestDataMgr::addContactRecordsMembership_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QList<int>>("allMembers");
    QTest::addColumn<QList<int>>("golfMembers");

    QTest::newRow("All selected") << "All" << QList<int>({ 1 }) << QList<int>();
    QTest::newRow("user group selected") << "Golf" << QList<int>({ 1 }) << QList<int>({ 1 });
}

void TestDataMgr::addContactRecordsMembership()
{
    QFETCH(QString, selected);
    QFETCH(QList<int>, allMembers);
    QFETCH(QList<int>, golfMembers);
    Workspace ws;
    addGroup("Golf");
    mgr()->addContact(groupIndex(selected), contact("Ann", "Lee"));
    QCOMPARE(ids(), QList<int>({ 1 }));
    QCOMPARE(members("All"), allMembers);
    QCOMPARE(memberCount("All"), int(allMembers.size()));
    QCOMPARE(members("Golf"), golfMembers);
    QCOMPARE(mgr()->ctList().first().NamePinyin, QString("AnnLee"));
    QCOMPARE(mgr()->ctList().first().NameInitials, QString("AL"));
}

void TestDataMgr::deleteContactUpdatesMembers()
{
    Workspace ws;
    threeContacts();
    mgr()->deleteContact(1); // Bob
    QCOMPARE(ids(), QList<int>({ 1, 3 }));
    QCOMPARE(members("All"), QList<int>({ 1, 3 }));
    QCOMPARE(members("Golf"), QList<int>({ 1 }));
    QCOMPARE(memberCount("Golf"), 1);
    QCOMPARE(members("Chess"), QList<int>());
    QCOMPARE(memberCount("Chess"), 0);
}

void TestDataMgr::deleteCheckedContacts()
{
    Workspace ws;
    threeContacts();
    mgr()->ctList()[0].Checked = 1;
    mgr()->ctList()[1].Checked = 1;
    mgr()->deleteCheckedContacts();
    QCOMPARE(ids(), QList<int>({ 3 }));
    QCOMPARE(members("Golf"), QList<int>());
    for (ContactInfo &c : mgr()->ctList())
        c.Checked = 1;
    mgr()->deleteCheckedContacts();
    QVERIFY(mgr()->ctList().isEmpty());
    QCOMPARE(memberCount("All"), 0);
}

void TestDataMgr::copyAndMoveContact()
{
    Workspace ws;
    threeContacts();
    mgr()->copyContactToGroup(2, "Chess");
    mgr()->copyContactToGroup(2, "Chess"); // a second copy changes nothing
    QCOMPARE(mgr()->ctList()[2].GroupList, QStringList({ "Chess" }));
    QCOMPARE(members("Chess"), QList<int>({ 2, 3 }));
    QCOMPARE(memberCount("Chess"), 2);

    mgr()->moveContactToGroup(1, "Default");
    const ContactInfo &bob = mgr()->ctList()[1];
    QCOMPARE(bob.GroupList, QStringList({ "Default" }));
    QCOMPARE(bob.GroupText, QString("Default::"));
    QCOMPARE(members("Golf"), QList<int>({ 1 }));
    QCOMPARE(members("Chess"), QList<int>({ 3 }));
    QCOMPARE(members("Default"), QList<int>({ 2 }));
    QCOMPARE(members("All"), QList<int>({ 1, 2, 3 }));
}

void TestDataMgr::batchCopyMoveRemove()
{
    Workspace ws;
    threeContacts();
    mgr()->ctList()[0].Checked = 1;
    mgr()->ctList()[2].Checked = 1;
    mgr()->copyCheckedToGroup("Chess");
    QCOMPARE(members("Chess"), QList<int>({ 2, 1, 3 }));

    mgr()->removeCheckedFromGroup(groupIndex("Chess"));
    QCOMPARE(members("Chess"), QList<int>({ 2 }));
    QCOMPARE(mgr()->ctList()[0].GroupList, QStringList({ "Golf" }));
    QCOMPARE(mgr()->ctList()[0].GroupText, QString("Golf::"));

    mgr()->moveCheckedToGroup("Blacklist");
    QCOMPARE(members("Blacklist"), QList<int>({ 1, 3 }));
    QCOMPARE(members("Golf"), QList<int>({ 2 }));

    mgr()->clearChecks({ 0, 1, 2 });
    for (const ContactInfo &c : mgr()->ctList())
        QCOMPARE(c.Checked, 0);

    mgr()->removeContactFromGroup(1, groupIndex("Golf"));
    QCOMPARE(mgr()->ctList()[1].GroupList, QStringList({ "Chess" }));
    QCOMPARE(members("Golf"), QList<int>());
}

void TestDataMgr::dissolveKeepsGroupDeleteRemovesIt()
{
    Workspace ws;
    threeContacts();
    mgr()->dissolveGroup(groupIndex("Golf"));
    QVERIFY(groupIndex("Golf") > 0);
    QCOMPARE(memberCount("Golf"), 0);
    QCOMPARE(mgr()->ctList()[1].GroupList, QStringList({ "Chess" }));
    QCOMPARE(mgr()->ctList().size(), 3);

    mgr()->deleteGroup(groupIndex("Chess"));
    QCOMPARE(groupIndex("Chess"), -1);
    QCOMPARE(mgr()->ctList()[1].GroupList, QStringList());
    QCOMPARE(mgr()->ctList().size(), 3);
    QCOMPARE(groupNames(), QStringList({ "All", "Default", "Golf", "Add group", "Blacklist" }));

    // The display rows cannot be removed.
    mgr()->deleteGroup(0);
    QCOMPARE(groupNames().first(), QString("All"));
}

void TestDataMgr::removingGroupKeepsLongerNames_data()
{
    QTest::addColumn<bool>("deleteIt");
    QTest::newRow("dissolve") << false;
    QTest::newRow("delete") << true;
}

void TestDataMgr::removingGroupKeepsLongerNames()
{
    QFETCH(bool, deleteIt);
    Workspace ws;
    addGroup("Work");
    addGroup("Workshop");
    addContact(contact("Ann", "Lee", {}, {}, { "Workshop", "Work" }));
    if (deleteIt)
        mgr()->deleteGroup(groupIndex("Work"));
    else
        mgr()->dissolveGroup(groupIndex("Work"));
    const ContactInfo &ann = mgr()->ctList().first();
    QCOMPARE(ann.GroupList, QStringList({ "Workshop" }));
    QCOMPARE(ann.GroupText, QString("Workshop::"));
    QCOMPARE(members("Workshop"), QList<int>({ 1 }));
}

void TestDataMgr::renameGroup_data()
{
    QTest::addColumn<QString>("newName");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("display");

    QTest::newRow("new name") << "Tennis" << true << "Tennis";
    QTest::newRow("12 characters") << "Abcdefghijkl" << true << "Abcdefghijkl";
    QTest::newRow("13 characters") << "Abcdefghijklm" << true << "Abcdefghijkl...";
    QTest::newRow("other group's name") << "Chess" << false << "Golf";
    QTest::newRow("its own name") << "Golf" << false << "Golf";
    QTest::newRow("built-in name") << "Blacklist" << false << "Golf";
}

void TestDataMgr::renameGroup()
{
    QFETCH(QString, newName);
    QFETCH(bool, accepted);
    QFETCH(QString, display);
    Workspace ws;
    RecordingNotifier notes;
    addGroup("Golf");
    addGroup("Golfers");
    addGroup("Chess");
    addContact(contact("Ann", "Lee", {}, {}, { "Golf" }));
    addContact(contact("Bob", "Ray", {}, {}, { "Golfers" }));

    const int index = groupIndex("Golf");
    QCOMPARE(mgr()->renameGroup(newName, index), accepted);
    QCOMPARE(mgr()->groupList().at(index).DisplayName, display);
    if (accepted) {
        QVERIFY(notes.entries.isEmpty());
        QCOMPARE(mgr()->ctList()[0].GroupList, QStringList({ newName }));
        QCOMPARE(mgr()->ctList()[0].GroupText, newName + "::");
    } else {
        QCOMPARE(notes.entries.size(), 1);
        QCOMPARE(notes.entries[0].title, QString("Group name"));
        QCOMPARE(notes.entries[0].text, QString("Group name cannot be repeated!"));
        QCOMPARE(mgr()->ctList()[0].GroupList, QStringList({ "Golf" }));
    }
    // A member of a group whose name merely starts with the old name is untouched.
    QCOMPARE(mgr()->ctList()[1].GroupList, QStringList({ "Golfers" }));
    QCOMPARE(mgr()->ctList()[1].GroupText, QString("Golfers::"));
}

void TestDataMgr::groupNameExistsByPinyin()
{
    Workspace ws;
    addGroup(QString::fromUtf8("家人"));
    QVERIFY(mgr()->groupNameExists(QString::fromUtf8("家人")));
    QVERIFY(mgr()->groupNameExists("JiaRen"));
    QVERIFY(mgr()->groupNameExists("Default"));
    QVERIFY(!mgr()->groupNameExists("new1"));
}

void TestDataMgr::saveRenumbersGroupIds()
{
    Workspace ws;
    addGroup("Golf");
    QVERIFY(mgr()->saveToDatabase());
    QList<int> first;
    for (const GroupInfo &g : mgr()->savedGroups())
        first << g.id;
    QCOMPARE(first, QList<int>({ 2, 3, 4 }));
    QVERIFY(mgr()->saveToDatabase());
    QList<int> second;
    for (const GroupInfo &g : mgr()->savedGroups())
        second << g.id;
    QCOMPARE(second, QList<int>({ 5, 6, 7 }));
    QStringList names;
    for (const GroupInfo &g : mgr()->savedGroups())
        names << g.name;
    QCOMPARE(names, QStringList({ "Default", "Golf", "Blacklist" }));
    QCOMPARE(mgr()->userGroupNames(), QStringList({ "Golf" }));
}

void TestDataMgr::saveNeverGivesAUserGroupBlacklistsId()
{
    Workspace ws;
    addGroup("Golf");
    mgr()->setNextGroupId(99);
    QVERIFY(mgr()->saveToDatabase());
    QList<int> saved;
    for (const GroupInfo &g : mgr()->savedGroups())
        saved << g.id;
    QCOMPARE(saved, QList<int>({ 99, 101, 102 }));
}

void TestDataMgr::busyMarksNest()
{
    Workspace ws;
    QSignalSpy idle(mgr(), &DataMgr::idle);
    // A command of the data manager inside a command of the window.
    mgr()->setBusy(true);
    mgr()->reload();
    QVERIFY(mgr()->isBusy());
    QCOMPARE(idle.count(), 0);
    mgr()->setBusy(false);
    QVERIFY(!mgr()->isBusy());
    QCOMPARE(idle.count(), 1);
    // One release too many leaves no debt behind.
    mgr()->setBusy(false);
    mgr()->setBusy(true);
    QVERIFY(mgr()->isBusy());
    mgr()->setBusy(false);
    QVERIFY(!mgr()->isBusy());
    QCOMPARE(idle.count(), 2);
}

void TestDataMgr::reloadRebuildsDerivedData()
{
    Workspace ws;
    addGroup("Golf");
    ContactInfo c = contact(QString::fromUtf8("张"), QString::fromUtf8("三"),
        { phone("", "555"), phone("Telex", "777", 2), phone("Other", "999") },
        { mail("", "a@x"), mail("Other", "b@x") }, { "Golf" });
    c.PrimaryIndex = 22;
    c.Checked = 1;
    addContact(c);
    addContact(contact("Bob", "Ray"));
    QVERIFY(mgr()->saveToDatabase());
    mgr()->clearPhonebook();

    QSignalSpy spy(mgr(), &DataMgr::updateModel);
    mgr()->reload();
    QCOMPARE(spy.count(), 1);
    QVERIFY(!mgr()->isBusy());
    QCOMPARE(groupNames(), QStringList({ "All", "Default", "Golf", "Add group", "Blacklist" }));
    QCOMPARE(members("All"), QList<int>({ 1, 2 }));
    QCOMPARE(memberCount("All"), 2);
    QCOMPARE(members("Golf"), QList<int>({ 1 }));
    QCOMPARE(mgr()->groupList().at(3).IconKind, QString("Add"));

    const ContactInfo &z = mgr()->ctList()[0];
    QCOMPARE(z.NamePinyin, QString("ZhangSan"));
    QCOMPARE(z.NameInitials, QString("ZS"));
    QCOMPARE(z.GroupText, QString("Golf::"));
    QCOMPARE(z.Checked, 0);
    QCOMPARE(z.PrimaryNumber, QString("999"));
    QCOMPARE(z.PhoneList[0].type, QString("Work"));
    QCOMPARE(z.PhoneList[0].TypeLabel, QString("Work"));
    QCOMPARE(z.PhoneList[1].type, QString("Telex"));
    QCOMPARE(z.PhoneList[1].TypeLabel, QString("Telex(Alderline)"));
    QCOMPARE(z.PhoneList[1].accountindex, 2);
    QCOMPARE(z.MailList[0].type, QString("Work"));
    QCOMPARE(z.MailList[1].TypeLabel, QString("Others"));

    // Bob had no phone, mail or group: the store's join gives him one empty entry each.
    const ContactInfo &b = mgr()->ctList()[1];
    QCOMPARE(b.PhoneList.size(), 1);
    QCOMPARE(b.PhoneList[0].type, QString("Work"));
    QCOMPARE(b.PhoneList[0].phonenumber, QString());
    QCOMPARE(b.GroupList, QStringList({ QString() }));

    QCOMPARE(mgr()->nextContactId(), 3);
    QCOMPARE(mgr()->nextGroupId(), 5); // saved as Default 2, Golf 3, Blacklist 4
    QCOMPARE(mgr()->userGroupNames(), QStringList({ "Golf" }));
}

void TestDataMgr::groupContactRowsFollowListOrder()
{
    Workspace ws;
    threeContacts();
    mgr()->copyContactToGroup(2, "Golf");
    QCOMPARE(mgr()->groupContactRows(groupIndex("Golf")), QList<int>({ 0, 1, 2 }));
    QCOMPARE(mgr()->groupContactRows(groupIndex("Chess")), QList<int>({ 1 }));
    QCOMPARE(mgr()->groupContactRows(0), QList<int>({ 0, 1, 2 }));
    QCOMPARE(mgr()->groupContactRows(99), QList<int>());
}

void TestDataMgr::refreshContactSyncsMembership()
{
    Workspace ws;
    threeContacts();
    ContactInfo &ann = mgr()->ctList()[0];
    ann.GroupList = { "Chess" };
    ann.FirstName = QString::fromUtf8("李");
    mgr()->refreshContact(0);
    QCOMPARE(members("Golf"), QList<int>({ 2 }));
    QCOMPARE(members("Chess"), QList<int>({ 2, 1 }));
    QCOMPARE(memberCount("Chess"), 2);
    QCOMPARE(members("All"), QList<int>({ 1, 2, 3 }));
    QCOMPARE(mgr()->ctList()[0].NamePinyin, QString("LiLee"));
    QCOMPARE(mgr()->ctList()[0].GroupText, QString("Chess::"));
}

void TestDataMgr::resetForImportEmptiesEverything()
{
    Workspace ws;
    threeContacts();
    QVERIFY(mgr()->saveToDatabase());
    QDir().mkpath(ws.file("HTTPD/Birch"));
    QFile(ws.file("HTTPD/Birch/phonebook.xml")).open(QIODevice::WriteOnly);
    QFile(ws.file("tmp.csv")).open(QIODevice::WriteOnly);

    mgr()->setReplaceOnImport(false);
    QVERIFY(mgr()->resetForImport());
    QCOMPARE(mgr()->ctList().size(), 3);

    mgr()->setReplaceOnImport(true);
    QVERIFY(mgr()->resetForImport());
    QVERIFY(mgr()->ctList().isEmpty());
    QVERIFY(!QFile::exists(ws.file("tmp.csv")));
    QVERIFY(!QDir(ws.file("HTTPD")).exists());
    QVERIFY(QFile::exists(ws.file("phonebook.db")));
    QVERIFY(TestUtil::loadedContacts().isEmpty());
}

void TestDataMgr::unreadableStoreIsReported()
{
    Workspace ws;
    threeContacts();
    QVERIFY(mgr()->saveToDatabase());
    mgr()->clearPhonebook();
    addGroup("Kept");
    RecordingNotifier notifier;
    {
        StoreFault fault(1);
        QVERIFY(fault.installed());
        QVERIFY(!mgr()->reload());
    }
    QCOMPARE(notifier.entries.size(), 1);
    QCOMPARE(notifier.entries.first().title, QString("Phonebook store"));
    const QString text = notifier.entries.first().text;
    QVERIFY2(text.startsWith("The phonebook could not be read from phonebook.db (not authorized"), qPrintable(text));
    QVERIFY(mgr()->ctList().isEmpty());
    QVERIFY(groupIndex("Kept") > 0);
    QVERIFY(mgr()->reload());
    QCOMPARE(mgr()->ctList().size(), 3);
}

void TestDataMgr::failedSaveIsReportedAndKeepsStore()
{
    Workspace ws;
    threeContacts();
    QVERIFY(mgr()->saveToDatabase());
    mgr()->deleteContact(0);
    // Each statement of the save fails once; the one after the last lets it through.
    for (int step = 1;; ++step) {
        RecordingNotifier notifier;
        StoreFault fault(step);
        QVERIFY(fault.installed());
        const bool saved = mgr()->saveToDatabase();
        if (!fault.fired()) {
            QVERIFY(saved);
            QVERIFY(step > 10);
            break;
        }
        QVERIFY2(!saved, qPrintable(QStringLiteral("step %1").arg(step)));
        QCOMPARE(notifier.entries.size(), 1);
        QCOMPARE(notifier.entries.first().title, QString("Phonebook store"));
        // The refused statement is named, not what failed after it.
        const QString text = notifier.entries.first().text;
        QVERIFY2(
            text.startsWith("The phonebook could not be written to phonebook.db (not authorized"), qPrintable(text));
        QCOMPARE(storedNames(), QStringList({ "Ann", "Bob", "Cid" }));
    }
    QCOMPARE(storedNames(), QStringList({ "Bob", "Cid" }));
}

void TestDataMgr::refusedWriteKeepsStore_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("locked");
    QTest::newRow("save, disk full") << "save" << false;
    QTest::newRow("import, disk full") << "import" << false;
    QTest::newRow("save, another program writing") << "save" << true;
    QTest::newRow("import, another program writing") << "import" << true;
}

void TestDataMgr::refusedWriteKeepsStore()
{
    QFETCH(QString, how);
    QFETCH(bool, locked);
    Workspace ws;
    threeContacts();
    QVERIFY(mgr()->saveToDatabase());
    for (int i = 0; i < 2000; ++i)
        addContact(contact(QStringLiteral("Added%1").arg(i), "Lee", { phone("Work", "5550100") }));
    std::unique_ptr<LockHolder> other;
    QSqlQuery q;
    if (locked) {
        other = std::make_unique<LockHolder>();
        QVERIFY(other->locked());
        FolderLock::setWaitMsecs(200);
    } else {
        // No room for the store to grow; SQLite then undoes the whole transaction itself.
        QVERIFY(q.exec("PRAGMA page_count") && q.next());
        QVERIFY(q.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(q.value(0).toInt())));
    }
    RecordingNotifier notifier;
    const bool written = saveOrImport(how, ws);
    FolderLock::setWaitMsecs(5000);
    QVERIFY(!written);
    QCOMPARE(notifier.entries.size(), 1);
    const QString reason = locked
        ? QStringLiteral("The phonebook in %1 is being changed by another program").arg(ws.path())
        : QStringLiteral("(database or disk is full)");
    QVERIFY2(notifier.entries.first().text.contains(reason), qPrintable(notifier.entries.first().text));
    QCOMPARE(storedNames(), QStringList({ "Ann", "Bob", "Cid" }));
    QCOMPARE(mgr()->ctList().size(), 2003);
    QVERIFY(QDir(ws.file("target")).isEmpty());
}

QTEST_GUILESS_MAIN(TestDataMgr)
#include "TestDataMgr.moc"
