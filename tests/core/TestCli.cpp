// The headless tool's common frame and its dump and new commands.

#include "CliRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {


} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void newThenDumpGivesBuiltInGroups();
    void usageErrors_data();
    void usageErrors();
    void missingFolderFails();
};

void TestCli::newThenDumpGivesBuiltInGroups()
{
    QTemporaryDir dir;
    QCOMPARE(runCli({"--dir", dir.path(), "new"}).exitCode, 0);
    const CliRun dump = runCli({"--dir", dir.path(), "dump"});
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
    QTest::newRow("unknown command") << QStringList({"frobnicate"});
    QTest::newRow("unknown option") << QStringList({"--verbose", "dump"});
    QTest::newRow("dump with argument") << QStringList({"dump", "extra"});
}

void TestCli::usageErrors()
{
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    const CliRun run = runCli(QStringList({"--dir", dir.path()}) + args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(!run.err.isEmpty());
}

void TestCli::missingFolderFails()
{
    QTemporaryDir dir;
    const CliRun run = runCli({"--dir", dir.filePath("nope"), "dump"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains("nope"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "TestCli.moc"
