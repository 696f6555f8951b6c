// The headless tool's common frame and its dump and new commands.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

Run cli(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(QUORVANE_CLI_PATH), args);
    p.waitForFinished(60000);
    return Run{p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
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
};

void TestCli::newThenDumpGivesBuiltInGroups()
{
    QTemporaryDir dir;
    QCOMPARE(cli({"--dir", dir.path(), "new"}).exitCode, 0);
    const Run dump = cli({"--dir", dir.path(), "dump"});
    QCOMPARE(dump.exitCode, 0);
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(dump.out, &error).object();
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
    const Run run = cli(QStringList({"--dir", dir.path()}) + args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(!run.err.isEmpty());
}

void TestCli::missingFolderFails()
{
    QTemporaryDir dir;
    const Run run = cli({"--dir", dir.filePath("nope"), "dump"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains("nope"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "TestCli.moc"
