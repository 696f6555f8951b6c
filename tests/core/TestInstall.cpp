#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kAppId = QStringLiteral("com.quorvane.PhonebookEditor");

struct Run {
    int exitCode = -1;
    QString output;
};

Run run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(120000))
        return { -1, QStringLiteral("%1 did not finish: %2").arg(program, p.errorString()) };
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll()) };
}

} // namespace

// Installs the build into a scratch prefix, as a packager would, and checks what a
// desktop and a server find there with their own tools.
class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_prefix.isValid());
        const Run installed = run(QStringLiteral("cmake"),
            { QStringLiteral("--install"), QStringLiteral(QUORVANE_BUILD_DIR), QStringLiteral("--prefix"),
                m_prefix.path() });
        QVERIFY2(installed.exitCode == 0, qPrintable(installed.output));
    }

    void filesInPlace_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("editor") << "bin/quorvane-phonebook-editor";
        QTest::newRow("tool") << "bin/quorvane-phonebook";
        QTest::newRow("Chinese") << "share/quorvane-phonebook/language/zh.qm";
        QTest::newRow("Qt's Chinese") << "share/quorvane-phonebook/language/qtbase_zh_CN.qm";
        QTest::newRow("menu entry") << "share/applications/" + kAppId + ".desktop";
        QTest::newRow("metainfo") << "share/metainfo/" + kAppId + ".metainfo.xml";
        QTest::newRow("scalable icon") << "share/icons/hicolor/scalable/apps/" + kAppId + ".svg";
        QTest::newRow("editor manual") << "share/man/man1/quorvane-phonebook-editor.1";
        QTest::newRow("tool manual") << "share/man/man1/quorvane-phonebook.1";
        QTest::newRow("unit") << "lib/systemd/system/quorvane-phonebook.service";
    }
    void filesInPlace()
    {
        QFETCH(QString, path);
        const QFileInfo file(m_prefix.filePath(path));
        QVERIFY2(file.isFile() && file.size() > 0, qPrintable(path));
        if (path.startsWith(QLatin1String("bin/")))
            QVERIFY(file.isExecutable());
    }

    // The theme looks an icon up by its folder's size; a picture of another size
    // shows blurred or not at all.
    void iconsInEveryThemeSize()
    {
        for (int size : { 16, 32, 48, 64, 128, 256 }) {
            const QString path
                = m_prefix.filePath(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kAppId));
            QImageReader reader(path);
            QCOMPARE(reader.size(), QSize(size, size));
        }
    }

    void unitStartsTheInstalledTool()
    {
        QFile unit(m_prefix.filePath(QStringLiteral("lib/systemd/system/quorvane-phonebook.service")));
        QVERIFY(unit.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(unit.readAll());
        QVERIFY2(text.contains(QStringLiteral("ExecStart=%1/bin/quorvane-phonebook ").arg(m_prefix.path())),
            qPrintable(text));
        QVERIFY(!text.contains(QLatin1Char('@')));
    }

    void validators_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("file");
        QTest::newRow("desktop entry") << "desktop-file-validate" << QStringList()
                                       << "share/applications/" + kAppId + ".desktop";
        QTest::newRow("AppStream") << "appstreamcli" << QStringList { "validate", "--no-net" }
                                   << "share/metainfo/" + kAppId + ".metainfo.xml";
        QTest::newRow("systemd unit") << "systemd-analyze" << QStringList { "verify" }
                                      << "lib/systemd/system/quorvane-phonebook.service";
        QTest::newRow("manual") << "man" << QStringList { "--warnings", "-l" } << "share/man/man1/quorvane-phonebook.1";
    }
    void validators()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, args);
        QFETCH(QString, file);
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            QSKIP(qPrintable(tool + QStringLiteral(" is not installed (tools/deps.sh installs it)")));
        const Run checked = run(program, args << m_prefix.filePath(file));
        QVERIFY2(checked.exitCode == 0, qPrintable(checked.output));
        // man prints its warnings and still succeeds.
        if (tool == QLatin1String("man"))
            QVERIFY2(!checked.output.contains(QLatin1String("warning")), qPrintable(checked.output));
    }

    // Started from the prefix, both programs keep their data in the user's folders
    // and write nothing into the install.
    void installedProgramsUseTheUserFolders_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("tool") << "quorvane-phonebook";
        QTest::newRow("editor") << "quorvane-phonebook-editor";
    }
    void installedProgramsUseTheUserFolders()
    {
        QFETCH(QString, program);
        QTemporaryDir home;
        const QStringList before = QDir(m_prefix.filePath(QStringLiteral("bin"))).entryList(QDir::AllEntries);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        const QString store = home.filePath(QStringLiteral("data/quorvane-phonebook/phonebook.db"));
        if (program == QLatin1String("quorvane-phonebook")) {
            p.start(m_prefix.filePath(QStringLiteral("bin/") + program), { QStringLiteral("save") });
            QVERIFY(p.waitForFinished(60000));
            QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
            QVERIFY(QDir(home.filePath(QStringLiteral("data/quorvane-phonebook/target"))).entryList(QDir::Files).size()
                == 1);
        } else {
            // The editor opens its store at start.
            p.start(m_prefix.filePath(QStringLiteral("bin/") + program), {});
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(store) || p.state() == QProcess::NotRunning, 30000);
            p.kill();
            p.waitForFinished(5000);
        }
        QVERIFY(QFile::exists(store));
        QCOMPARE(QDir(m_prefix.filePath(QStringLiteral("bin"))).entryList(QDir::AllEntries), before);
    }

private:
    QTemporaryDir m_prefix;
};

QTEST_GUILESS_MAIN(TestInstall)
#include "TestInstall.moc"
