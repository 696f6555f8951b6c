// The headless tool's common frame and its dump and new commands.

#include "tests/CliRun.h"
#include "tests/TestUtil.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void newThenDumpGivesBuiltInGroups();
    void dumpIsQtsJson_data();
    void dumpIsQtsJson();
    void usageErrors_data();
    void usageErrors();
    void missingFolderFails();
    void othersStoreLeftAlone_data();
    void othersStoreLeftAlone();
    void dataFolderFollowsTheCopy_data();
    void dataFolderFollowsTheCopy();
    void layoutsAndEncodingsByName_data();
    void layoutsAndEncodingsByName();
};

void TestCli::newThenDumpGivesBuiltInGroups()
{
    QTemporaryDir dir;
    QCOMPARE(runCli({ "--dir", dir.path(), "new" }).exitCode, 0);
    const CliRun dump = runCli({ "--dir", dir.path(), "dump" });
    QCOMPARE(dump.exitCode, 0);
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(dump.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(root.value("contacts").toArray().size(), 0);
    const QJsonArray groups = root.value("groups").toArray();
    QCOMPARE(groups.size(), 2);
    QCOMPARE(groups[0].toObject().value("name").toString(), QString("Default"));
    QCOMPARE(groups[0].toObject().value("id").toInt(), 0);
    QCOMPARE(groups[1].toObject().value("name").toString(), QString("Blacklist"));
    QCOMPARE(groups[1].toObject().value("id").toInt(), 100);
    QVERIFY(QFile::exists(dir.filePath("phonebook.db")));
    // dump only reads: the phones' files of the last save stay.
    QCOMPARE(runCli({ "--dir", dir.path(), "save" }).exitCode, 0);
    QCOMPARE(runCli({ "--dir", dir.path(), "dump" }).exitCode, 0);
    QVERIFY(QFile::exists(dir.filePath("HTTPD/Birch/phonebook.xml")));
}

void TestCli::dumpIsQtsJson_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("Ann");
    QTest::newRow("quote, backslash and slash") << QStringLiteral("A \"B\" C\\D/E");
    QTest::newRow("control characters") << QStringLiteral("tab\tline\nret\r\u0001\u001f\b\f");
    QTest::newRow("Chinese and Cyrillic") << QStringLiteral("张三 Ольга");
    QTest::newRow("beyond the first plane") << QString::fromUtf8("Emoji \xF0\x9F\x98\x80 \xF0\xA0\x80\x80");
    QTest::newRow("empty") << QString();
}

// The dump is written as it goes; it must stay the text Qt's JSON writer makes of
// the same tree, value for value.
void TestCli::dumpIsQtsJson()
{
    QFETCH(QString, name);
    {
        TestUtil::Workspace ws;
        TestUtil::addGroup(name.isEmpty() ? QStringLiteral("G") : name);
        ContactInfo c = TestUtil::contact(name, QStringLiteral("Lee"),
            { TestUtil::phone(QStringLiteral("Home"), name + QStringLiteral("42")) },
            { TestUtil::mail(name, QStringLiteral("a@b.c")) });
        c.Department = name;
        TestUtil::addContact(c);
        TestUtil::addContact(TestUtil::contact(QStringLiteral("Bob"), QString()));
        QVERIFY(DataMgr::instance()->saveToDatabase());
        DataMgr::instance()->closeStore();
        const CliRun dump = runCli({ "--dir", ws.path(), "dump" });
        QCOMPARE(dump.exitCode, 0);
        QCOMPARE(dump.err, QString());
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(dump.out.toUtf8(), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(dump.out.toUtf8(), doc.toJson(QJsonDocument::Indented));
        const QJsonArray contacts = doc.object().value("contacts").toArray();
        QCOMPARE(contacts.size(), 2);
        const QJsonObject first = contacts[0].toObject();
        QCOMPARE(first.value("FirstName").toString(), name);
        QCOMPARE(first.value("Department").toString(), name);
        QCOMPARE(first.value("PhoneList").toArray()[0].toObject().value("phonenumber").toString(),
            name + QStringLiteral("42"));
        // The keys a load derives are in it.
        QVERIFY(first.value("NamePinyin").toString().endsWith(QStringLiteral("Lee")));
        QCOMPARE(doc.object().value("groups").toArray().size(), 3);
    }
}

void TestCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no command") << QStringList();
    QTest::newRow("unknown command") << QStringList({ "frobnicate" });
    QTest::newRow("unknown option") << QStringList({ "--verbose", "dump" });
    QTest::newRow("dump with argument") << QStringList({ "dump", "extra" });
}

void TestCli::usageErrors()
{
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    const CliRun run = runCli(QStringList({ "--dir", dir.path() }) + args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(!run.err.isEmpty());
}

void TestCli::missingFolderFails()
{
    QTemporaryDir dir;
    const CliRun run = runCli({ "--dir", dir.filePath("nope"), "dump" });
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains("nope"));
}

void TestCli::othersStoreLeftAlone_data()
{
    QTest::addColumn<QString>("store");
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<int>("exitCode");
    const QStringList exportXml { "export", "--format", "1", "--encoding", "UTF-8", "--out", "@/x" };
    // A database of another program is refused by every command.
    for (const QStringList &command : { QStringList { "dump" }, exportXml, QStringList { "serve", "--port", "0" },
             QStringList { "import", "@/a.csv" }, QStringList { "save" }, QStringList { "new" } })
        QTest::newRow(qPrintable("foreign, " + command.first())) << "foreign" << command << 1;
    // Reading a folder without a phonebook gives the empty one and creates none.
    QTest::newRow("none, dump") << "none" << QStringList { "dump" } << 0;
    QTest::newRow("none, export") << "none" << exportXml << 0;
    QTest::newRow("zero-length, dump") << "zero-length" << QStringList { "dump" } << 0;
}

void TestCli::othersStoreLeftAlone()
{
    QFETCH(QString, store);
    QFETCH(QStringList, command);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    const QString path = dir.filePath("phonebook.db");
    if (store == "zero-length")
        QFile(path).open(QIODevice::WriteOnly);
    if (store == "foreign") {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(path);
            QVERIFY(db.open() && QSqlQuery(db).exec("create table notes (text VERCHAR)"));
        }
        QSqlDatabase::removeDatabase("foreign");
    }
    QFile csv(dir.filePath("a.csv"));
    QVERIFY(csv.open(QIODevice::WriteOnly) && csv.write("First Name\nAnn\n") > 0);
    csv.close();
    const QByteArray before = readFile(path);

    const CliRun run = runCli(QStringList { "--dir", dir.path() } + command.replaceInStrings("@", dir.path()));
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode != 0)
        QCOMPARE(run.err,
            QStringLiteral("Cannot open %1: it is not a phonebook store (it lacks the phonebook's tables); it was left "
                           "as it is.\n")
                .arg(path));
    QCOMPARE(QFile::exists(path), store != "none");
    QVERIFY(readFile(path) == before);
    QCOMPARE(QFile::exists(dir.filePath("x.xml")), exitCode == 0 && command.first() == "export");
}

void TestCli::dataFolderFollowsTheCopy_data()
{
    QTest::addColumn<QString>("beside"); // a file beside the copied tool
    QTest::addColumn<bool>("readOnly"); // the tool's folder cannot be written
    QTest::addColumn<bool>("useDir"); // --dir names a third folder
    QTest::addColumn<QString>("expected"); // "exe", "user" or "dir"
    QTest::newRow("portable mark") << "portable" << false << false << "exe";
    QTest::newRow("phonebook beside it") << "phonebook.db" << false << false << "exe";
    QTest::newRow("installed, folder writable") << "" << false << false << "user";
    QTest::newRow("installed, folder read-only") << "" << true << false << "user";
    QTest::newRow("installed, --dir") << "" << false << true << "dir";
}

// Where `save` puts the phonebook: beside a portable copy, in the user's data folder
// for an installed one (whether or not its folder could be written), or in --dir.
void TestCli::dataFolderFollowsTheCopy()
{
    QFETCH(QString, beside);
    QFETCH(bool, readOnly);
    QFETCH(bool, useDir);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("bin") && QDir(root.path()).mkpath("home") && QDir(root.path()).mkpath("dir"));
    const QString bin = root.filePath("bin/");
    QVERIFY(QFile::copy(QStringLiteral(QUORVANE_CLI_PATH), bin + "quorvane-phonebook"));
    if (beside == "phonebook.db") {
        QVERIFY(runCli({ "--dir", bin, "new" }).exitCode == 0);
    } else if (!beside.isEmpty()) {
        QFile mark(bin + beside);
        QVERIFY(mark.open(QIODevice::WriteOnly));
    }
    const QStringList before = QDir(bin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    if (readOnly)
        QVERIFY(QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner));

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", root.filePath("home/data"));
    env.insert("XDG_CONFIG_HOME", root.filePath("home/config"));
    p.setProcessEnvironment(env);
    QStringList args;
    if (useDir)
        args << "--dir" << root.filePath("dir");
    p.start(bin + "quorvane-phonebook", args << "save");
    QVERIFY(p.waitForFinished(60000));
    QFile::setPermissions(bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());

    const QString data = expected == "exe" ? bin
        : expected == "dir"                ? root.filePath("dir/")
                                           : root.filePath("home/data/quorvane-phonebook/");
    QVERIFY(QFile::exists(data + "phonebook.db"));
    QVERIFY(QDir(data + "target").entryList(QDir::Files).size() == 1);
    if (expected != "exe")
        QCOMPARE(QDir(bin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    if (expected != "user")
        QVERIFY(!QFile::exists(root.filePath("home/data/quorvane-phonebook")));
}

void TestCli::layoutsAndEncodingsByName_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("sameAsFormat");
    QTest::addColumn<QString>("sameAsEncoding");
    QTest::newRow("name") << "birch-xml"
                          << "gbk"
                          << "3"
                          << "GBK";
    QTest::newRow("name in capitals") << "GMAIL-CSV"
                                      << "iso-8859-1"
                                      << "12"
                                      << "ISO 8859-1";
    QTest::newRow("underscores") << "vcard"
                                 << "shift_jis"
                                 << "0"
                                 << "Shift-JIS";
}

// A layout and an encoding by name write the very file their number and label do;
// --quiet leaves the path written out.
void TestCli::layoutsAndEncodingsByName()
{
    QFETCH(QString, format);
    QFETCH(QString, encoding);
    QFETCH(QString, sameAsFormat);
    QFETCH(QString, sameAsEncoding);
    QTemporaryDir dir;
    QCOMPARE(runCli({ "--dir", dir.path(), "new" }).exitCode, 0);
    const CliRun byName = runCli({ "--quiet", "--dir", dir.path(), "export", "--format", format, "--encoding", encoding,
        "--out", dir.filePath("a") });
    QCOMPARE(byName.exitCode, 0);
    QCOMPARE(byName.out, QString());
    const CliRun byNumber = runCli({ "--dir", dir.path(), "export", "--format", sameAsFormat, "--encoding",
        sameAsEncoding, "--out", dir.filePath("b") });
    QCOMPARE(byNumber.exitCode, 0);
    const QString written = byNumber.out.trimmed();
    QVERIFY(written.endsWith(QStringLiteral("/b") + written.right(4)));
    QCOMPARE(readFile(dir.filePath("a") + written.right(4)), readFile(written));
    QCOMPARE(runCli({ "list-formats" }).out.count(QLatin1Char('\n')), 13);
    QVERIFY(runCli({ "--version" }).out.startsWith("quorvane-phonebook "));
}

QTEST_GUILESS_MAIN(TestCli)
#include "TestCli.moc"
