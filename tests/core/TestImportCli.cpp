// The headless tool's import command.

#include "data/AppPaths.h"
#include "manager/DataMgr.h"
#include "tests/CliRun.h"
#include "tests/LockHolder.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

QString write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile f(dir.filePath(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return f.fileName();
}

QJsonObject dump(const QTemporaryDir &dir)
{
    return QJsonDocument::fromJson(runCli({ "--dir", dir.path(), "dump" }).out.toUtf8()).object();
}

// "First Last [numbers] {groups}" per contact.
QStringList contacts(const QJsonObject &root)
{
    QStringList list;
    for (const QJsonValue &v : root.value("contacts").toArray()) {
        const QJsonObject c = v.toObject();
        QStringList numbers, groups;
        for (const QJsonValue &p : c.value("PhoneList").toArray()) {
            if (!p.toObject().value("phonenumber").toString().isEmpty())
                numbers << p.toObject().value("phonenumber").toString();
        }
        for (const QJsonValue &g : c.value("GroupList").toArray()) {
            if (!g.toString().isEmpty())
                groups << g.toString();
        }
        list << QStringLiteral("%1 %2 [%3] {%4}")
                    .arg(c.value("FirstName").toString(), c.value("LastName").toString(), numbers.join(','),
                        groups.join(','));
    }
    return list;
}

// `count` contacts named `name`0, `name`1, ... with a number each.
QString manyContacts(const QTemporaryDir &dir, const QByteArray &name, int count)
{
    QByteArray bytes = "First Name,Last Name,Work Phone\n";
    for (int i = 0; i < count; ++i)
        bytes += name + QByteArray::number(i) + ",Lee," + QByteArray::number(5550000 + i) + "\n";
    return write(dir, QString::fromLatin1(name) + ".csv", bytes);
}

// The store's own indexes, by name.
QStringList indexNames(const QTemporaryDir &dir)
{
    QStringList names;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("indexes"));
        db.setDatabaseName(dir.filePath(QStringLiteral("phonebook.db")));
        QSqlQuery q(db);
        if (db.open() && q.exec("select name from sqlite_master where type='index' and name not like 'sqlite%'"))
            while (q.next())
                names << q.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("indexes"));
    names.sort();
    return names;
}

int contactCount(const QTemporaryDir &dir)
{
    return int(dump(dir).value("contacts").toArray().size());
}

QStringList groupNames(const QJsonObject &root)
{
    QStringList list;
    for (const QJsonValue &v : root.value("groups").toArray())
        list << v.toObject().value("name").toString();
    return list;
}

} // namespace

class TestImportCli : public QObject
{
    Q_OBJECT

private slots:
    void importsAndMerges();
    void clearEmptiesFirst();
    void encodingOption();
    void autoEncoding_data();
    void autoEncoding();
    void refusedFiles_data();
    void refusedFiles();
    void leftoverCopiesAreNoObstacle();
    void failedImportKeepsPhonebook();
    void failingStoreKeepsPhonebook();
    void usageErrors_data();
    void usageErrors();
    void secondImportWaitsForTheFirst();
    void writerGivesUpWhileAnotherWrites_data();
    void writerGivesUpWhileAnotherWrites();
    void exportThenImport_data();
    void exportThenImport();
    void sameAsTheWindow();
};

void TestImportCli::importsAndMerges()
{
    QTemporaryDir dir;
    const QString first
        = write(dir, "a.csv", "First Name,Last Name,Work Phone,Group\nAnn,Lee,1,Golf\nBob,Ray,2,Default\n");
    const CliRun run = runCli({ "--dir", dir.path(), "import", first });
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    QJsonObject root = dump(dir);
    QCOMPARE(contacts(root), QStringList({ "Ann Lee [1] {Golf}", "Bob Ray [2] {Default}" }));
    QCOMPARE(groupNames(root), QStringList({ "Default", "Golf", "Blacklist" }));
    // Rows into an empty store go in without its indexes, which are then built again.
    QCOMPARE(indexNames(dir),
        QStringList({ "contact1_name_key", "mail1_cid", "phone1_cid", "union1_contact", "union1_group" }));

    // Keep both by default; replace with --replace-duplicates.
    const QString second = write(dir, "b.vcf", "BEGIN:VCARD\nN:Lee;Ann\nTEL;TYPE=HOME:9\nEND:VCARD\n");
    QCOMPARE(runCli({ "--dir", dir.path(), "import", second }).exitCode, 0);
    QCOMPARE(contacts(dump(dir)), QStringList({ "Ann Lee [1] {Golf}", "Bob Ray [2] {Default}", "Ann Lee [9] {}" }));
    const QString third = write(dir, "c.vcf", "BEGIN:VCARD\nN:Lee;Ann\nTEL;TYPE=HOME:5\nEND:VCARD\n");
    QCOMPARE(runCli({ "--dir", dir.path(), "import", "--replace-duplicates", third }).exitCode, 0);
    root = dump(dir);
    QCOMPARE(contacts(root), QStringList({ "Bob Ray [2] {Default}", "Ann Lee [5] {}" }));
    QCOMPARE(groupNames(root), QStringList({ "Default", "Golf", "Blacklist" }));
}

void TestImportCli::clearEmptiesFirst()
{
    QTemporaryDir dir;
    QCOMPARE(
        runCli({ "--dir", dir.path(), "import", write(dir, "a.csv", "First Name,Group\nAnn,Golf\n") }).exitCode, 0);
    const QString next = write(dir, "b.csv", "First Name\nBob\n");
    QCOMPARE(runCli({ "--dir", dir.path(), "import", next, "--clear" }).exitCode, 0);
    const QJsonObject root = dump(dir);
    QCOMPARE(contacts(root), QStringList({ "Bob  [] {}" }));
    QCOMPARE(groupNames(root), QStringList({ "Default", "Blacklist" }));
}

void TestImportCli::encodingOption()
{
    QTemporaryDir dir;
    // "张伟" in GBK.
    const QString path = write(dir, "g.csv", "First Name,Last Name\n\xd5\xc5,\xce\xb0\n");
    QCOMPARE(runCli({ "--dir", dir.path(), "import", path, "--encoding", "GBK" }).exitCode, 0);
    QCOMPARE(contacts(dump(dir)), QStringList({ "张 伟 [] {}" }));
}

void TestImportCli::autoEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QStringList>("expected");
    // "First Name,Last Name,Group" and three people, in GBK and in Windows-1252.
    QTest::newRow("GBK is read as GB18030")
        << QByteArray("First Name,Last Name,Group\n\xce\xb0,\xd5\xc5,\xcd\xac\xca\xc2\n\xc4\xc8,\xc0\xee,"
                      "\xbc\xd2\xc8\xcb\n\xc7\xbf,\xcd\xf5,\xc5\xf3\xd3\xd1\n")
        << "GB18030" << QStringList({ "伟 张 [] {同事}", "娜 李 [] {家人}", "强 王 [] {朋友}" });
    QTest::newRow("Windows-1252") << QByteArray("First Name,Last Name,Group\nJ\xfcrgen,M\xfcller,Fu\xdf"
                                                "ball\nFran\xe7oise,Lef\xe8vre,"
                                                "Coll\xe8gues\nBj\xf6rn,\xc5ngstr\xf6m,V\xe4nner\n")
                                  << "Windows-1252"
                                  << QStringList({ "Jürgen Müller [] {Fußball}", "Françoise Lefèvre [] {Collègues}",
                                         "Björn Ångström [] {Vänner}" });
}

void TestImportCli::autoEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const CliRun run = runCli({ "--dir", dir.path(), "import", write(dir, "a.csv", bytes), "--encoding", "auto" });
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, "Encoding: " + encoding + "\n");
    QCOMPARE(contacts(dump(dir)), expected);
}

void TestImportCli::refusedFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QString choose = "Please choose correct file to import.\n";
    const QString failed = "Import is failed,please check the file format and encoding.\n";
    QTest::newRow("missing file") << "" << QByteArray() << choose;
    QTest::newRow("wrong suffix") << "a.txt" << QByteArray("First Name\nA\n") << choose;
    QTest::newRow("upper-case suffix") << "a.CSV" << QByteArray("First Name\nA\n") << choose;
    QTest::newRow("folder named like a file") << "d.xml" << QByteArray() << choose;
    // A failure the file is to blame for is followed by what was wrong.
    QTest::newRow("broken XML") << "a.xml" << QByteArray("<AddressBook>")
                                << failed + "Line 1: Premature end of document.\n";
    QTest::newRow("vCard boundary error") << "a.vcf" << QByteArray("BEGIN:VCARD\nBEGIN:VCARD\n")
                                          << failed + "Line 2: a card begins or ends out of place.\n";
    QTest::newRow("bytes not valid in UTF-8")
        << "a.csv" << QByteArray("First Name\nJ\xfcrgen\n")
        << failed + "The file is not valid UTF-8 text; choose the encoding it was saved in.\n";
}

void TestImportCli::refusedFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QString path = dir.filePath("missing.csv");
    if (name == "d.xml") {
        QVERIFY(QDir(dir.path()).mkdir(name));
        path = dir.filePath(name);
    } else if (!name.isEmpty()) {
        path = write(dir, name, bytes);
    }
    const CliRun run = runCli({ "--dir", dir.path(), "import", path });
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, message);
    for (const char *copy : { "tmp.csv", "tmp1.csv", "tmp2.csv", "tmp.xml", "tmp.vcf" })
        QVERIFY2(!QFile::exists(dir.filePath(copy)), copy);
}

// The file is converted in memory: a folder named like the working copy of an older
// version is in nobody's way, and nothing is written beside it.
void TestImportCli::leftoverCopiesAreNoObstacle()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("tmp1.csv"));
    const QString path = write(dir, "a.csv", "First Name\nJ\xfcrgen\n");
    const CliRun run = runCli({ "--dir", dir.path(), "import", path, "--encoding", "ISO 8859-1" });
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QDir(dir.path()).entryList({ "tmp*" }), QStringList({ "tmp1.csv" }));
    QCOMPARE(contacts(dump(dir)), QStringList({ "Jürgen  [] {}" }));
}

void TestImportCli::failedImportKeepsPhonebook()
{
    QTemporaryDir dir;
    QCOMPARE(
        runCli({ "--dir", dir.path(), "import", write(dir, "a.csv", "First Name,Group\nAnn,Golf\n") }).exitCode, 0);
    const QJsonObject before = dump(dir);
    const CliRun run
        = runCli({ "--dir", dir.path(), "import", "--clear", write(dir, "b.vcf", "BEGIN:VCARD\nEND:VCARD\n") });
    QCOMPARE(run.exitCode, 1);
    const QJsonObject after = dump(dir);
    QCOMPARE(contacts(after), contacts(before));
    QCOMPARE(groupNames(after), groupNames(before));
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                       : QByteArray();
}

void TestImportCli::failingStoreKeepsPhonebook()
{
    QTemporaryDir dir;
    QCOMPARE(
        runCli({ "--dir", dir.path(), "import", write(dir, "a.csv", "First Name,Group\nAnn,Golf\n") }).exitCode, 0);
    {
        // The store refuses to clear the import marks, the merge's last statement.
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "direct");
        db.setDatabaseName(dir.filePath("phonebook.db"));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(
            q.exec("create trigger refuse before update on contact1 begin select raise(abort, 'disk says no'); end"));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("direct");
    const QJsonObject before = dump(dir);
    const QByteArray bytes = fileHash(dir.filePath("phonebook.db"));
    const QString next = write(dir, "b.csv", "First Name,Group\nAnn,Chess\nBob,Golf\n");
    for (const QStringList &options :
        { QStringList(), QStringList({ "--replace-duplicates" }), QStringList({ "--clear" }) }) {
        const CliRun run = runCli(QStringList({ "--dir", dir.path(), "import", next }) + options);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith("Import failed: the phonebook could not be written to phonebook.db"),
            qPrintable(run.err));
        QVERIFY(run.err.contains("disk says no"));
        QCOMPARE(dump(dir), before);
        QCOMPARE(fileHash(dir.filePath("phonebook.db")), bytes);
    }
}

void TestImportCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no file") << QStringList({ "import" });
    QTest::newRow("two files") << QStringList({ "import", "a.csv", "b.csv" });
    QTest::newRow("unknown option") << QStringList({ "import", "a.csv", "--merge" });
    QTest::newRow("encoding without a name") << QStringList({ "import", "a.csv", "--encoding" });
    QTest::newRow("unknown encoding") << QStringList({ "import", "a.csv", "--encoding", "no-such" });
}

void TestImportCli::usageErrors()
{
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    const CliRun run = runCli(QStringList({ "--dir", dir.path() }) + args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(!run.err.isEmpty());
}

void TestImportCli::secondImportWaitsForTheFirst()
{
    QTemporaryDir dir;
    const QString large = manyContacts(dir, "Big", 30000);
    const QString small = manyContacts(dir, "Small", 3);
    QProcess first;
    first.start(QStringLiteral(QUORVANE_CLI_PATH), { "--dir", dir.path(), "import", large });
    QVERIFY(first.waitForStarted());
    // The second comes once the first has taken the folder (or, at the latest, 0.4 s on).
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(dir.filePath("phonebook.lock")) && clock.elapsed() < 400)
        QThread::msleep(2);
    const CliRun second = runCli({ "--dir", dir.path(), "import", small });
    QVERIFY(first.waitForFinished(60000));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.err, QString());
    QCOMPARE(second.exitCode, 0);
    QCOMPARE(contactCount(dir), 30003);
}

void TestImportCli::writerGivesUpWhileAnotherWrites_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::newRow("import") << QStringList({ "import", "@/Small.csv" });
    QTest::newRow("save") << QStringList({ "save" });
    QTest::newRow("new") << QStringList({ "new" });
}

void TestImportCli::writerGivesUpWhileAnotherWrites()
{
    QFETCH(QStringList, command);
    QTemporaryDir dir;
    manyContacts(dir, "Small", 3);
    QCOMPARE(runCli({ "--dir", dir.path(), "import", manyContacts(dir, "Kept", 2) }).exitCode, 0);
    AppPaths::setAppDir(dir.path());
    LockHolder other;
    AppPaths::setAppDir(QString());
    QVERIFY(other.locked());
    command.replaceInStrings("@", dir.path());
    const CliRun run = runCli(QStringList({ "--dir", dir.path(), "--lock-wait", "300" }) + command);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(
        run.err.startsWith(QStringLiteral("The phonebook in %1 is being changed by another program").arg(dir.path())),
        qPrintable(run.err));
    QCOMPARE(contactCount(dir), 2);
    QVERIFY(!QFile::exists(dir.filePath("target")));
}

void TestImportCli::exportThenImport_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("wholeContacts");
    const char *names[] = { "vCard", "general XML", "Alder XML", "Birch XML", "Cedar XML", "Brenn XML", "Alder CSV",
        "Birch CSV", "Outlook CSV", "Simplified Chinese Outlook CSV", "Outlook Express CSV",
        "Simplified Chinese Outlook Express CSV", "Gmail CSV" };
    for (int f = 0; f < 13; ++f)
        QTest::newRow(names[f]) << f << (f == 1);
}

// What the dump shows of the contacts, without their ids (a fresh folder numbers anew).
QStringList dumpedContacts(const QJsonObject &root, bool whole)
{
    QStringList out;
    for (const QJsonValue &v : root.value("contacts").toArray()) {
        QJsonObject c = v.toObject();
        c.remove("id");
        out << (whole ? QString::fromUtf8(QJsonDocument(c).toJson(QJsonDocument::Compact))
                      : c.value("FirstName").toString() + "|" + c.value("LastName").toString());
    }
    return out;
}

void TestImportCli::exportThenImport()
{
    QFETCH(int, format);
    QFETCH(bool, wholeContacts);
    QTemporaryDir source, target;
    QCOMPARE(
        runCli({ "--dir", source.path(), "import", QStringLiteral(QUORVANE_TEST_DATA "/import/general.xml") }).exitCode,
        0);
    const CliRun exported = runCli({ "--dir", source.path(), "export", "--format", QString::number(format),
        "--encoding", "UTF-8", "--out", source.filePath("out") });
    QCOMPARE(exported.exitCode, 0);
    const QString file = exported.out.trimmed();
    QVERIFY(QFile::exists(file));
    QCOMPARE(runCli({ "--dir", target.path(), "import", file }).exitCode, 0);
    const QStringList before = dumpedContacts(dump(source), wholeContacts);
    const QStringList after = dumpedContacts(dump(target), wholeContacts);
    QCOMPARE(after, before);
    if (wholeContacts)
        QCOMPARE(groupNames(dump(target)), groupNames(dump(source)));
}

// The tool imports and saves without writing the stored contacts again; the
// phonebook and files it leaves must be the ones the window leaves, ids and all.
void TestImportCli::sameAsTheWindow()
{
    QTemporaryDir cli, window;
    // Groups numbered as the file numbers them, not as a save would.
    for (const QTemporaryDir *dir : { &cli, &window })
        QCOMPARE(runCli({ "--dir", dir->path(), "import", QStringLiteral(QUORVANE_TEST_DATA "/import/general.xml") })
                     .exitCode,
            0);
    const QString more = write(cli, "more.csv",
        "First Name,Last Name,Work Phone,Group\nAnn,Lee,1,Golf\nZed,Ray,2,Chess\nAnn,Lee,3,Book club\n");
    for (const bool replace : { true, false }) {
        const QStringList replacing = replace ? QStringList { "--replace-duplicates" } : QStringList();
        QCOMPARE(runCli(QStringList { "--dir", cli.path(), "import", more } + replacing).exitCode, 0);
        AppPaths::setAppDir(window.path());
        DataMgr *mgr = DataMgr::instance();
        QVERIFY(mgr->openStore().ok());
        QVERIFY(mgr->reload().ok());
        QVERIFY(mgr->importPhonebook(ImportOptions { more, "UTF-8", false, replace }).ok());
        mgr->closeStore();
        QCOMPARE(dump(cli), dump(window));
    }
    QCOMPARE(runCli({ "--dir", cli.path(), "save" }).exitCode, 0);
    QVERIFY(DataMgr::instance()->openStore().ok());
    QVERIFY(DataMgr::instance()->reloadForWriting().ok());
    QVERIFY(DataMgr::instance()->savePhonebookFiles().ok());
    DataMgr::instance()->closeStore();
    QCOMPARE(dump(cli), dump(window));
    for (const char *model : { "UNIXML", "Birch", "Cedar", "Brenn" }) {
        const QString file = QStringLiteral("/HTTPD/%1/phonebook.xml").arg(QLatin1String(model));
        QFile a(cli.path() + file), b(window.path() + file);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(a.readAll(), b.readAll());
    }
}

QTEST_GUILESS_MAIN(TestImportCli)
#include "TestImportCli.moc"
