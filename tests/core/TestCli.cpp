// The headless tool's common frame and its dump and new commands.

#include "tests/CliRun.h"

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
    void usageErrors_data();
    void usageErrors();
    void missingFolderFails();
    void othersStoreLeftAlone_data();
    void othersStoreLeftAlone();
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

QTEST_GUILESS_MAIN(TestCli)
#include "TestCli.moc"
