// The data manager over the working phonebook: clearing, saving, reloading, busy marks.

#include "tests/LockHolder.h"
#include "tests/StoreFault.h"
#include "tests/TestUtil.h"

#include <QDirIterator>
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
    return mgr()->phonebook().groups().at(groupIndex(group)).MemberIds;
}

int memberCount(const QString &group)
{
    return mgr()->phonebook().groups().at(groupIndex(group)).MemberCount;
}

QList<int> ids()
{
    QList<int> list;
    for (const ContactInfo &c : mgr()->phonebook().contacts())
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
Result saveOrImport(const QString &how, const Workspace &ws)
{
    if (how == QLatin1String("save"))
        return mgr()->savePhonebookFiles();
    QFile file(ws.file("many.csv"));
    if (!file.open(QIODevice::WriteOnly))
        return Result::failure(file.errorString());
    file.write("First Name,Last Name,Work Phone\n");
    for (int i = 0; i < 2000; ++i)
        file.write("Imported" + QByteArray::number(i) + ",Lee,5550100\n");
    file.close();
    return mgr()->importPhonebook({ file.fileName(), "UTF-8", false, false });
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
    void saveRenumbersGroupIds();
    void saveNeverGivesAUserGroupBlacklistsId();
    void reloadRebuildsDerivedData();
    void busyMarksNest();
    void resetForImportEmptiesEverything();
    void failedSaveIsReportedAndKeepsStore();
    void failedSaveKeepsFiles();
    void unreadableStoreIsReported();
    void refusedWriteKeepsStore_data();
    void refusedWriteKeepsStore();
};

void TestDataMgr::clearedPhonebookHasOnlyBuiltIns()
{
    Workspace ws;
    threeContacts();
    QVERIFY(mgr()->phonebook().hasData());
    QSignalSpy spy(mgr(), &DataMgr::updateModel);
    mgr()->clearPhonebook();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(groupNames(), QStringList({ "Default", "Blacklist" }));
    QVERIFY(!mgr()->phonebook().hasData());
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
    QCOMPARE(mgr()->phonebook().userGroupNames(), QStringList({ "Golf" }));
}

void TestDataMgr::saveNeverGivesAUserGroupBlacklistsId()
{
    Workspace ws;
    addGroup("Golf");
    mgr()->phonebook().setNextGroupId(99);
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
    QVERIFY(mgr()->reload());
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
    ContactInfo c = contact(QString::fromUtf8("三"), QString::fromUtf8("张"),
        { phone("", "555"), phone("Telex", "777", 2), phone("Other", "999") },
        { mail("", "a@x"), mail("Other", "b@x") }, { "Golf" });
    c.PrimaryIndex = 22;
    addContact(c);
    addContact(contact("Bob", "Ray"));
    QVERIFY(mgr()->saveToDatabase());
    mgr()->clearPhonebook();

    QSignalSpy spy(mgr(), &DataMgr::updateModel);
    QVERIFY(mgr()->reload());
    QCOMPARE(spy.count(), 1);
    QVERIFY(!mgr()->isBusy());
    QCOMPARE(groupNames(), QStringList({ "Default", "Golf", "Blacklist" }));
    QCOMPARE(ids(), QList<int>({ 1, 2 }));
    QCOMPARE(members("Golf"), QList<int>({ 1 }));
    QCOMPARE(memberCount("Golf"), 1);

    const ContactInfo &z = mgr()->phonebook().contacts()[0];
    QCOMPARE(z.NamePinyin, QString("Zhang San"));
    QCOMPARE(z.NameInitials, QString("ZS"));
    QCOMPARE(z.GroupText, QString("Golf::"));
    QCOMPARE(z.PrimaryNumber, QString("999"));
    QCOMPARE(z.PhoneList[0].type, QString("Work"));
    QCOMPARE(z.PhoneList[0].TypeLabel, QString("Work"));
    QCOMPARE(z.PhoneList[1].type, QString("Telex"));
    QCOMPARE(z.PhoneList[1].TypeLabel, QString("Telex(Alderline)"));
    QCOMPARE(z.PhoneList[1].accountindex, 2);
    QCOMPARE(z.MailList[0].type, QString("Work"));
    QCOMPARE(z.MailList[1].TypeLabel, QString("Others"));

    // Bob had no phone, mail or group: the store's join gives him one empty entry each.
    const ContactInfo &b = mgr()->phonebook().contacts()[1];
    QCOMPARE(b.PhoneList.size(), 1);
    QCOMPARE(b.PhoneList[0].type, QString("Work"));
    QCOMPARE(b.PhoneList[0].phonenumber, QString());
    QCOMPARE(b.GroupList, QStringList({ QString() }));

    QCOMPARE(mgr()->phonebook().nextContactId(), 3);
    QCOMPARE(mgr()->phonebook().nextGroupId(), 5); // saved as Default 2, Golf 3, Blacklist 4
    QCOMPARE(mgr()->phonebook().userGroupNames(), QStringList({ "Golf" }));
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
    QCOMPARE(mgr()->phonebook().contacts().size(), 3);

    mgr()->setReplaceOnImport(true);
    QVERIFY(mgr()->resetForImport());
    QVERIFY(mgr()->phonebook().contacts().isEmpty());
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
    Result loaded;
    {
        StoreFault fault(1);
        QVERIFY(fault.installed());
        loaded = mgr()->reload();
    }
    QVERIFY(!loaded);
    const QString text = loaded.message();
    QVERIFY2(text.startsWith("The phonebook could not be read from phonebook.db (not authorized"), qPrintable(text));
    QVERIFY(mgr()->phonebook().contacts().isEmpty());
    QVERIFY(groupIndex("Kept") > 0);
    QVERIFY(mgr()->reload());
    QCOMPARE(mgr()->phonebook().contacts().size(), 3);
}

void TestDataMgr::failedSaveIsReportedAndKeepsStore()
{
    Workspace ws;
    threeContacts();
    QVERIFY(mgr()->saveToDatabase());
    mgr()->phonebook().deleteContacts({ 0 });
    // Each statement of the save fails once; the one after the last lets it through.
    for (int step = 1;; ++step) {
        StoreFault fault(step);
        QVERIFY(fault.installed());
        const Result saved = mgr()->saveToDatabase();
        if (!fault.fired()) {
            QVERIFY(saved);
            QVERIFY(step > 10);
            break;
        }
        QVERIFY2(!saved, qPrintable(QStringLiteral("step %1").arg(step)));
        QCOMPARE(saved.cause(), Result::Cause::Store);
        // The refused statement is named, not what failed after it.
        const QString text = saved.message();
        QVERIFY2(
            text.startsWith("The phonebook could not be written to phonebook.db (not authorized"), qPrintable(text));
        QCOMPARE(storedNames(), QStringList({ "Ann", "Bob", "Cid" }));
    }
    QCOMPARE(storedNames(), QStringList({ "Bob", "Cid" }));
}

// The files of a save are written while the store is; a store that refuses the
// phonebook leaves the files of the save before as they were, and no others.
void TestDataMgr::failedSaveKeepsFiles()
{
    Workspace ws;
    threeContacts();
    QVERIFY(mgr()->savePhonebookFiles());
    const auto files = [&ws] {
        QMap<QString, QByteArray> contents;
        QDirIterator it(ws.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile f(path);
            if (!path.endsWith(QLatin1String(".db")) && !path.endsWith(QLatin1String(".lock"))
                && f.open(QIODevice::ReadOnly))
                contents.insert(path, f.readAll());
        }
        return contents;
    };
    const QMap<QString, QByteArray> before = files();
    QVERIFY(before.size() >= 5);
    mgr()->phonebook().deleteContacts({ 0 });
    for (int step = 1;; ++step) {
        StoreFault fault(step);
        const Result saved = mgr()->savePhonebookFiles();
        if (!fault.fired()) {
            QVERIFY(saved);
            break;
        }
        QCOMPARE(saved.cause(), Result::Cause::Store);
        QVERIFY2(files() == before, qPrintable(QStringLiteral("step %1").arg(step)));
        QCOMPARE(storedNames(), QStringList({ "Ann", "Bob", "Cid" }));
    }
    QVERIFY(files() != before);
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
    const Result written = saveOrImport(how, ws);
    FolderLock::setWaitMsecs(5000);
    QVERIFY(!written);
    const QString reason = locked
        ? QStringLiteral("The phonebook in %1 is being changed by another program").arg(ws.path())
        : QStringLiteral("(database or disk is full)");
    QVERIFY2(written.message().contains(reason), qPrintable(written.message()));
    QCOMPARE(storedNames(), QStringList({ "Ann", "Bob", "Cid" }));
    QCOMPARE(mgr()->phonebook().contacts().size(), 2003);
    QVERIFY(QDir(ws.file("target")).isEmpty());
}

QTEST_GUILESS_MAIN(TestDataMgr)
#include "TestDataMgr.moc"
