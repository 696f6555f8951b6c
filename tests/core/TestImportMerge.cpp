// Importing into a phonebook that already has contacts and groups: keep both,
// replace duplicates, clear the list first; the built-in groups are never doubled;
// a rejected file and a failing store change nothing.

#include "tests/ImportTestUtil.h"
#include "tests/StoreFault.h"

#include <QRegularExpression>
#include <QSqlQuery>

using namespace TestUtil;
using namespace ImportTest;

namespace {

// Each reader gets a file with Ann Lee in "Default" (and "Golf" where the layout
// has more than one group) and Bob Ray in "Blacklist".
QString builtInGroupFile(const Workspace &ws, const QString &kind)
{
    if (kind == "general XML" || kind == "Alder XML") {
        const bool general = kind == "general XML";
        const QString g = general ? "<pbgroup><id>%1</id><name>%2</name><photos></photos><ringtones></ringtones>"
                                    "<RingtoneIndex>0</RingtoneIndex></pbgroup>\n"
                                  : "<pbgroup><id>%1</id><name>%2</name><ringtones></ringtones></pbgroup>\n";
        const QString text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AddressBook>\n<version>1</version>\n"
            + g.arg(0).arg("Default") + g.arg(3).arg("Golf") + g.arg(100).arg("Blacklist")
            + "<Contact><FirstName>Ann</FirstName><LastName>Lee</LastName><Phone type=\"Work\"><phonenumber>2"
              "</phonenumber><accountindex>1</accountindex></Phone><Group>0</Group><Group>3</Group></Contact>\n"
              "<Contact><FirstName>Bob</FirstName><LastName>Ray</LastName><Group>100</Group></Contact>\n"
              "</AddressBook>\n";
        return writeFile(ws, "b.xml", text);
    }
    if (kind == "own CSV") {
        return writeFile(ws, "b.csv", "First Name,Last Name,Work Phone,Group\nAnn,Lee,2,Default\nBob,Ray,,Blacklist\n");
    }
    return writeFile(ws, "b.vcf",
        "BEGIN:VCARD\nN:Lee;Ann\nTEL;TYPE=WORK:2\nX-MARLO-GROUP:Default\nEND:VCARD\n"
        "BEGIN:VCARD\nN:Ray;Bob\nX-MARLO-GROUP:Blacklist\nEND:VCARD\n");
}

// A saved phonebook: Old One in "Default", Ann Lee (another number) in "Golf".
void savedPhonebook()
{
    addGroup("Golf");
    addContact(contact("Old", "One", { phone("Home", "1") }, {}, { "Default" }));
    addContact(contact("Ann", "Lee", { phone("Work", "1") }, {}, { "Golf" }));
    QVERIFY(DataMgr::instance()->saveToDatabase());
}

// What the import dialog does on "OK".
bool importLikeTheDialog(const QString &path, bool clearList, bool replaceWay)
{
    DataMgr *mgr = DataMgr::instance();
    if (!mgr->saveToDatabase())
        return false;
    mgr->setMergeMode(replaceWay ? 0 : 1);
    mgr->setReplaceOnImport(clearList);
    return mgr->importFile(path, "UTF-8").ok();
}

int countName(const QStringList &list, const QString &name)
{
    return int(list.count(name));
}

const QString kRealWorld = QStringLiteral("/work/shared/fixtures/realworld");

// Rows of that name in the store itself (the load would hide repeats).
int storedRows(const QString &name)
{
    QSqlQuery q;
    q.prepare("select count(*) from group1 where name = ?");
    q.addBindValue(name);
    if (!q.exec() || !q.next())
        return -1;
    return q.value(0).toInt();
}

} // namespace

class TestImportMerge : public QObject
{
    Q_OBJECT

private slots:
    void builtInGroupsOnce_data();
    void builtInGroupsOnce();
    void repeatedDefaultInStoreLoadsOnce();
    void duplicates_data();
    void duplicates();
    void clearListEmptiesFirst();
    void rejectedFileInReplaceMode_data();
    void rejectedFileInReplaceMode();
    void deletedGroupIsCreatedAgain();
    void groupNamesMergeWhateverTheirCase_data();
    void groupNamesMergeWhateverTheirCase();
    void secondImportContinuesNumbering();
    void replacingImportKeepsCount_data();
    void replacingImportKeepsCount();
    void failingStoreStepChangesNothing_data();
    void failingStoreStepChangesNothing();
    void importAfterChangeKeepsIt_data();
    void importAfterChangeKeepsIt();
    void unchangedListsAreNotSavedAgain();
};

void TestImportMerge::builtInGroupsOnce_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("clearList");
    QTest::addColumn<bool>("replaceWay");
    QTest::addColumn<QStringList>("defaultMembers");
    QTest::addColumn<int>("contactCount");
    for (const char *kind : { "general XML", "Alder XML", "own CSV", "vCard" }) {
        QTest::addRow("%s, keep both", kind) << kind << false << false << QStringList({ "Old One", "Ann Lee" }) << 4;
        QTest::addRow("%s, replace duplicates", kind)
            << kind << false << true << QStringList({ "Old One", "Ann Lee" }) << 3;
        QTest::addRow("%s, clear list", kind) << kind << true << false << QStringList({ "Ann Lee" }) << 2;
    }
}

void TestImportMerge::builtInGroupsOnce()
{
    QFETCH(QString, kind);
    QFETCH(bool, clearList);
    QFETCH(bool, replaceWay);
    QFETCH(QStringList, defaultMembers);
    QFETCH(int, contactCount);
    Workspace ws;
    savedPhonebook();
    QVERIFY(importLikeTheDialog(builtInGroupFile(ws, kind), clearList, replaceWay));

    const QStringList list = groupNames();
    QCOMPARE(countName(list, "Default"), 1);
    QCOMPARE(countName(list, "Blacklist"), 1);
    QCOMPARE(list.first(), QString("Default"));
    QCOMPARE(list.last(), QString("Blacklist"));
    QCOMPARE(storedRows("Default"), 1);
    QCOMPARE(storedRows("Blacklist"), 1);
    QCOMPARE(int(DataMgr::instance()->phonebook().contacts().size()), contactCount);
    QCOMPARE(members("Default"), defaultMembers);
    QCOMPARE(members("Blacklist"), QStringList({ "Bob Ray" }));
    // Only the XML files define "Golf"; after clearing, the others leave none.
    const bool golfExpected = !clearList || kind.endsWith("XML");
    QCOMPARE(countName(list, "Golf"), golfExpected ? 1 : 0);
    QCOMPARE(groupIdProblem(), QString());

    // The same file again changes nothing about the group list.
    QVERIFY(importLikeTheDialog(builtInGroupFile(ws, kind), false, true));
    QCOMPARE(groupNames(), list);
    QCOMPARE(storedRows("Default"), 1);
    QCOMPARE(storedRows("Blacklist"), 1);
    QCOMPARE(groupIdProblem(), QString());
}

void TestImportMerge::repeatedDefaultInStoreLoadsOnce()
{
    Workspace ws;
    ContactInfo a = contact("Ann", "Lee", {}, {}, { "Default" });
    a.id = 1;
    GroupInfo d1, d2, golf;
    d1.id = 4;
    d1.name = "Default";
    d2.id = 5;
    d2.name = "Default";
    golf.id = 6;
    golf.name = "Golf";
    QVERIFY(TestUtil::store()->saveAll({ a }, { golf, d1, d2 }));
    QVERIFY(DataMgr::instance()->reload());
    QCOMPARE(groupNames(), QStringList({ "Default", "Golf", "Blacklist" }));
    QCOMPARE(members("Default"), QStringList({ "Ann Lee" }));

    // Saving and importing from there keeps one "Default".
    QVERIFY(importLikeTheDialog(builtInGroupFile(ws, "own CSV"), false, false));
    QCOMPARE(groupNames(), QStringList({ "Default", "Golf", "Blacklist" }));
    QCOMPARE(members("Default"), QStringList({ "Ann Lee", "Ann Lee" }));
}

void TestImportMerge::duplicates_data()
{
    QTest::addColumn<bool>("replaceWay");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("keep both") << false
                               << QStringList({ "Old One [Home 1 0]", "Ann Lee [Work 1 0]", "Ann Lee [Work 2 0]" });
    QTest::newRow("replace duplicates") << true << QStringList({ "Old One [Home 1 0]", "Ann Lee [Work 2 0]" });
}

void TestImportMerge::duplicates()
{
    QFETCH(bool, replaceWay);
    QFETCH(QStringList, expected);
    Workspace ws;
    savedPhonebook();
    QVERIFY(importLikeTheDialog(
        writeFile(ws, "d.csv", "First Name,Last Name,Work Phone,Group\nAnn,Lee,2,Golf\n"), false, replaceWay));
    QStringList got;
    for (const ContactInfo &c : DataMgr::instance()->phonebook().contacts())
        got << QStringLiteral("%1 %2 [%3]").arg(c.FirstName, c.LastName, phones(c).join(';'));
    QCOMPARE(got, expected);
    QCOMPARE(members("Golf").last(), QString("Ann Lee"));
}

void TestImportMerge::clearListEmptiesFirst()
{
    Workspace ws;
    savedPhonebook();
    QDir().mkpath(ws.file("HTTPD/UNIXML"));
    QVERIFY(importLikeTheDialog(writeFile(ws, "c.csv", "First Name,Last Name\nNew,Person\n"), true, false));
    QCOMPARE(names(), QStringList({ "New Person" }));
    QCOMPARE(groupNames(), QStringList({ "Default", "Blacklist" }));
    QVERIFY(!QDir(ws.file("HTTPD")).exists());
    QSqlQuery q;
    QVERIFY(q.exec("select count(*) from contact1") && q.next());
    QCOMPARE(q.value(0).toInt(), 1);
}

void TestImportMerge::rejectedFileInReplaceMode_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding");
    QTest::newRow("broken XML") << "x.xml" << QByteArray("<AddressBook><Contact>") << "UTF-8";
    QTest::newRow("CSV without known columns") << "x.csv" << QByteArray("a,b\n1,2\n") << "UTF-8";
    QTest::newRow("vCard boundary error") << "x.vcf" << QByteArray("BEGIN:VCARD\nBEGIN:VCARD\n") << "UTF-8";
    QTest::newRow("vCard without rows") << "x.vcf" << QByteArray("BEGIN:VCARD\nEND:VCARD\n") << "UTF-8";
    QTest::newRow("unknown encoding") << "x.vcf" << QByteArray("BEGIN:VCARD\nN:A;B\nEND:VCARD\n") << "Nope";
    QTest::newRow("no reader for the suffix") << "x.txt" << QByteArray("First Name\nA\n") << "UTF-8";
    QTest::newRow("missing file") << "" << QByteArray() << "UTF-8";
}

void TestImportMerge::rejectedFileInReplaceMode()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);
    Workspace ws;
    savedPhonebook();
    DataMgr *mgr = DataMgr::instance();
    QVERIFY(mgr->reload());
    mgr->setReplaceOnImport(true);
    mgr->setMergeMode(0);
    const QString before = describe();
    const QByteArray db = fileHash(ws.file("phonebook.db"));
    const int nextContact = mgr->phonebook().nextContactId();
    const int nextGroup = mgr->phonebook().nextGroupId();
    const QString path = name.isEmpty() ? ws.file("missing.csv") : writeBytes(ws, name, bytes);
    QVERIFY(!mgr->importFile(path, encoding));
    QCOMPARE(describe(), before);
    QCOMPARE(fileHash(ws.file("phonebook.db")), db);
    QCOMPARE(mgr->phonebook().nextContactId(), nextContact);
    QCOMPARE(mgr->phonebook().nextGroupId(), nextGroup);
    // The store is still open and whole.
    QVERIFY(mgr->reload());
    QCOMPARE(describe(), before);
}

void TestImportMerge::deletedGroupIsCreatedAgain()
{
    Workspace ws;
    savedPhonebook();
    DataMgr *mgr = DataMgr::instance();
    mgr->phonebook().deleteGroup(groupIndex("Golf"));
    mgr->phonebookChanged();
    QVERIFY(mgr->phonebook().userGroupNames().contains("Golf"));
    QVERIFY(importLikeTheDialog(writeFile(ws, "g.csv", "First Name,Last Name,Group\nNew,Person,Golf\n"), false, false));
    QCOMPARE(groupNames(), QStringList({ "Default", "Golf", "Blacklist" }));
    QCOMPARE(members("Golf"), QStringList({ "New Person" }));
}

void TestImportMerge::groupNamesMergeWhateverTheirCase_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("clearList");
    QTest::addColumn<QString>("golf");
    QTest::addColumn<QStringList>("golfMembers");
    for (const char *kind : { "general XML", "own CSV", "vCard" }) {
        QTest::addRow("%s, into the saved Golf", kind)
            << kind << false << "Golf" << QStringList({ "Ann Lee", "New One", "New Two" });
        QTest::addRow("%s, first spelling of the file", kind)
            << kind << true << "golf" << QStringList({ "New One", "New Two" });
    }
}

void TestImportMerge::groupNamesMergeWhateverTheirCase()
{
    QFETCH(QString, kind);
    QFETCH(bool, clearList);
    QFETCH(QString, golf);
    QFETCH(QStringList, golfMembers);
    Workspace ws;
    savedPhonebook();
    QString path;
    if (kind == "own CSV") {
        path = writeFile(ws, "c.csv", "First Name,Last Name,Group\nNew,One,golf\nNew,Two,GOLF\nNew,Three,default\n");
    } else if (kind == "vCard") {
        path = writeFile(ws, "c.vcf",
            "BEGIN:VCARD\nN:One;New\nX-MARLO-GROUP:golf\nEND:VCARD\n"
            "BEGIN:VCARD\nN:Two;New\nX-MARLO-GROUP:GOLF\nEND:VCARD\n"
            "BEGIN:VCARD\nN:Three;New\nX-MARLO-GROUP:default\nEND:VCARD\n");
    } else {
        const QString g = "<pbgroup><id>%1</id><name>%2</name><photos></photos><ringtones></ringtones>"
                          "<RingtoneIndex>0</RingtoneIndex></pbgroup>\n";
        const QString c = "<Contact><FirstName>New</FirstName><LastName>%1</LastName><Group>%2</Group></Contact>\n";
        path = writeFile(ws, "c.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AddressBook>\n<version>1</version>\n" + g.arg(3).arg("golf")
                + g.arg(4).arg("GOLF") + g.arg(5).arg("default") + c.arg("One").arg(3) + c.arg("Two").arg(4)
                + c.arg("Three").arg(5) + "</AddressBook>\n");
    }
    QVERIFY(importLikeTheDialog(path, clearList, false));
    QCOMPARE(groupNames(), QStringList({ "Default", golf, "Blacklist" }));
    QCOMPARE(members(golf), golfMembers);
    QVERIFY(members("Default").contains("New Three"));
    QCOMPARE(storedRows("GOLF"), 0);
    QCOMPARE(storedRows("default"), 0);
    QVERIFY(!DataMgr::instance()->phonebook().userGroupNames().contains("GOLF"));
    QCOMPARE(groupIdProblem(), QString());
}

void TestImportMerge::secondImportContinuesNumbering()
{
    Workspace ws;
    savedPhonebook();
    QVERIFY(
        importLikeTheDialog(writeFile(ws, "a.vcf", "BEGIN:VCARD\nN:A;B\nX-MARLO-GROUP:G1\nEND:VCARD\n"), false, false));
    QVERIFY(importLikeTheDialog(writeFile(ws, "b.xml",
                                    "<AddressBook><pbgroup><id>1</id><name>G2</name></pbgroup>"
                                    "<Contact><FirstName>C</FirstName><Group>1</Group></Contact>"
                                    "</AddressBook>"),
        false, false));
    QList<int> ids;
    for (const ContactInfo &c : DataMgr::instance()->phonebook().contacts())
        ids << c.id;
    QCOMPARE(ids.size(), 4);
    QCOMPARE(QSet<int>(ids.begin(), ids.end()).size(), 4);
    QCOMPARE(groupNames(), QStringList({ "Default", "Golf", "G1", "G2", "Blacklist" }));
    QCOMPARE(groupIdProblem(), QString());
}

void TestImportMerge::replacingImportKeepsCount_data()
{
    QTest::addColumn<QString>("path");
    for (const char *name : { "general.xml", "brenn.xml", "alder.xml", "own.csv", "outlook.csv", "cards.vcf" })
        QTest::newRow(name) << dataFile(name);
    QTest::newRow("contacts without first or last name") << QStringLiteral("nameless.xml");
    const QDir realWorld(kRealWorld);
    const QStringList samples = realWorld.entryList({ "*.vcf", "*.csv" }, QDir::Files, QDir::Name);
    for (const QString &name : samples)
        QTest::newRow(qPrintable("real-world " + name)) << realWorld.filePath(name);
    if (samples.isEmpty())
        QTest::newRow("real-world samples") << QString();
}

// Importing a file again with duplicates replaced gives the same phonebook size,
// however often: every contact replaces its own earlier copy.
void TestImportMerge::replacingImportKeepsCount()
{
    QFETCH(QString, path);
    if (path.isEmpty())
        QSKIP("no real-world samples on this machine");
    Workspace ws;
    if (path == "nameless.xml") {
        path = writeFile(ws, path,
            "<AddressBook>"
                + QString("<Contact><FirstName>Ann</FirstName></Contact>"
                          "<Contact><LastName>Lee</LastName></Contact>"
                          "<Contact><FirstName></FirstName><LastName/></Contact>"
                          "<Contact><Phone><phonenumber>1</phonenumber></Phone></Contact>")
                + "</AddressBook>");
    }
    DataMgr *mgr = DataMgr::instance();
    const bool realWorld = path.startsWith(kRealWorld);
    QStringList notices;
    const Result first = mgr->importPhonebook({ path, "UTF-8", false, true }, &notices);
    if (!first && realWorld)
        QSKIP("the reader refuses this sample");
    QVERIFY2(first, qPrintable(first.message()));
    QCOMPARE(notices, QStringList());
    const qsizetype count = mgr->phonebook().contacts().size();
    QVERIFY(count > 0);
    for (int again = 0; again < 2; ++again) {
        QVERIFY(mgr->importPhonebook({ path, "UTF-8", false, true }));
        QCOMPARE(mgr->phonebook().contacts().size(), count);
    }
}

void TestImportMerge::importAfterChangeKeepsIt_data()
{
    QTest::addColumn<int>("change");
    const char *changes[] = { "nothing", "contact edited in place", "contact added", "group renamed",
        "saved after an edit", "store emptied here", "store changed by another program" };
    for (int i = 0; i < int(std::size(changes)); ++i)
        QTest::newRow(changes[i]) << i;
}

// An import saves the lists first unless the store holds them already: whatever
// happened since the phonebook was opened, the import gives what a save before
// it would have given.
void TestImportMerge::importAfterChangeKeepsIt()
{
    QFETCH(int, change);
    DataMgr *mgr = DataMgr::instance();
    auto importAfterChange = [&](bool saveFirst) {
        Workspace ws;
        savedPhonebook();
        if (!mgr->reload())
            return QStringLiteral("reload failed");
        Phonebook &book = mgr->phonebook();
        switch (change) {
        case 1:
        case 4:
            book.editContacts()[0].FirstName = QStringLiteral("Zed");
            book.refreshContact(0);
            if (change == 4 && !mgr->saveToDatabase())
                return QStringLiteral("save failed");
            break;
        case 2:
            book.addContact(contact("New", "Guy"));
            break;
        case 3:
            book.renameGroup(book.indexOfGroup("Golf"), "Chess");
            break;
        case 5:
            if (!mgr->emptyStore())
                return QStringLiteral("emptying failed");
            break;
        case 6: {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(ws.file("phonebook.db"));
            const bool deleted = other.open() && QSqlQuery(other).exec("delete from contact1");
            other.close();
            other = QSqlDatabase();
            QSqlDatabase::removeDatabase("other");
            if (!deleted)
                return QStringLiteral("the other connection failed");
            break;
        }
        default:
            break;
        }
        if (saveFirst && !mgr->saveToDatabase())
            return QStringLiteral("save failed");
        const QString path = builtInGroupFile(ws, "general XML");
        if (const Result imported = mgr->importPhonebook({ path, "UTF-8", false, true }); !imported)
            return imported.message();
        const QString after = describe();
        // What the store holds loads as the lists show it.
        if (!mgr->reload() || describe() != after)
            return QStringLiteral("store and lists differ");
        // Every save numbers the groups anew; the extra one moves them on.
        return QString(after).replace(
            QRegularExpression("^group \\d+ ", QRegularExpression::MultilineOption), "group ");
    };
    QCOMPARE(importAfterChange(false), importAfterChange(true));
}

// The lists a load gave are not written again: a row the store gained behind
// their back, on the same connection, is still there after the import.
void TestImportMerge::unchangedListsAreNotSavedAgain()
{
    Workspace ws;
    savedPhonebook();
    DataMgr *mgr = DataMgr::instance();
    QVERIFY(mgr->reload());
    QVERIFY(QSqlQuery().exec("insert into contact1 (id, FirstName, LastName) values (90, 'Raw', 'Row')"));
    QVERIFY(mgr->importPhonebook({ builtInGroupFile(ws, "own CSV"), "UTF-8", false, true }));
    QVERIFY(describe().contains("Raw|Row"));
}

void TestImportMerge::failingStoreStepChangesNothing_data()
{
    QTest::addColumn<bool>("clearList");
    QTest::addColumn<bool>("replaceWay");
    QTest::newRow("keep both") << false << false;
    QTest::newRow("replace duplicates") << false << true;
    QTest::newRow("clear list") << true << false;
}

// Each statement of the import (the save first, the clearing, the rows, the merge,
// the reading back, the commit) fails once: the import is refused with a message,
// and the phonebook, its counters and phonebook.db are exactly as before.
void TestImportMerge::failingStoreStepChangesNothing()
{
    QFETCH(bool, clearList);
    QFETCH(bool, replaceWay);
    DataMgr *mgr = DataMgr::instance();
    for (int step = 1;; ++step) {
        Workspace ws;
        savedPhonebook();
        QVERIFY(mgr->reload());
        const QString path = builtInGroupFile(ws, "general XML");
        const QString before = describe();
        const QByteArray db = fileHash(ws.file("phonebook.db"));
        const int nextContact = mgr->phonebook().nextContactId();
        const int nextGroup = mgr->phonebook().nextGroupId();
        StoreFault fault(step);
        QVERIFY(fault.installed());
        const Result imported = mgr->importPhonebook({ path, "UTF-8", clearList, replaceWay });
        if (!fault.fired()) {
            // Past the last statement: the import goes through.
            QVERIFY(imported);
            QVERIFY(step > 30);
            break;
        }
        const QString at = QStringLiteral("step %1").arg(step);
        QVERIFY2(!imported, qPrintable(at));
        QCOMPARE(describe(), before);
        QCOMPARE(fileHash(ws.file("phonebook.db")), db);
        QCOMPARE(mgr->phonebook().nextContactId(), nextContact);
        QCOMPARE(mgr->phonebook().nextGroupId(), nextGroup);
        QCOMPARE(imported.cause(), Result::Cause::Store);
        // The refused statement is named, not what failed after it.
        QVERIFY2(
            imported.message().contains("phonebook.db (not authorized"), qPrintable(at + ": " + imported.message()));
        // The store holds what the lists show.
        QVERIFY(mgr->reload());
        QCOMPARE(describe(), before);
    }
}

QTEST_GUILESS_MAIN(TestImportMerge)
#include "TestImportMerge.moc"
