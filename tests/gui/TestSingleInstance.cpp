#include "app/SingleInstance.h"

#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// One copy per user and program folder, checked in process and with the built
// editor copied into a temporary program folder.
class TestSingleInstance : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

    QProcess *startEditor(const QString &program)
    {
        auto *p = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(program, {});
        return p;
    }

    // The copy is up once it has opened its store in the program folder.
    static bool waitUntilUp(const QString &folder, QProcess *p)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 20000) {
            if (QFile::exists(folder + QStringLiteral("/phonebook.db")))
                return true;
            if (p->state() == QProcess::NotRunning)
                return false;
            QTest::qWait(50);
        }
        return false;
    }

    static QString copyEditor(const QTemporaryDir &dir)
    {
        const QString target = dir.filePath(QStringLiteral("quorvane-phonebook-editor"));
        if (!QFile::copy(QStringLiteral(QUORVANE_EDITOR_PATH), target))
            return QString();
        // A portable copy: its data beside it, where the test looks.
        QFile marker(dir.filePath(QStringLiteral("portable")));
        if (!marker.open(QIODevice::WriteOnly))
            return QString();
        return target;
    }

    static void stop(QProcess *p)
    {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
    }

private slots:
    void initTestCase() { QVERIFY(m_home.isValid()); }

    void secondObjectFindsFirst()
    {
        const QString key = m_home.filePath(QStringLiteral("in-process"));
        SingleInstance first(key);
        QVERIFY(!first.isRunning());
        QSignalSpy received(&first, &SingleInstance::messageReceived);

        SingleInstance second(key);
        QVERIFY(second.isRunning());
        QVERIFY(second.sendMessage(QStringLiteral("raies"), 5000));
        QVERIFY(received.wait(5000) || !received.isEmpty());
        QCOMPARE(received.first().first().toString(), QStringLiteral("raies"));

        SingleInstance elsewhere(key + QStringLiteral("-other"));
        QVERIFY(!elsewhere.isRunning());
    }

    void namesDependOnKey()
    {
        QCOMPARE(
            SingleInstance::serverNameFor(QStringLiteral("/a/")), SingleInstance::serverNameFor(QStringLiteral("/a/")));
        QVERIFY(SingleInstance::serverNameFor(QStringLiteral("/a/"))
            != SingleInstance::serverNameFor(QStringLiteral("/b/")));
        QVERIFY(SingleInstance::serverNameFor(QString(300, QLatin1Char('x'))).size() < 64);
    }

    void leftoverSocketIsReplaced()
    {
        const QString key = m_home.filePath(QStringLiteral("stale"));
        const QString name = SingleInstance::serverNameFor(key);
        // A socket file nobody listens on, as a crashed copy leaves it behind.
        const QByteArray path = QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + name);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        QVERIFY(size_t(path.size()) < sizeof(address.sun_path));
        memcpy(address.sun_path, path.constData(), size_t(path.size()));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
        ::close(fd);
        QVERIFY(QFile::exists(QFile::decodeName(path)));

        SingleInstance fresh(key);
        QVERIFY(!fresh.isRunning());
        SingleInstance later(key);
        QVERIFY(later.isRunning());
    }

    void secondEditorExitsAtOnce()
    {
        QTemporaryDir folder;
        const QString program = copyEditor(folder);
        QVERIFY(!program.isEmpty());
        QProcess *first = startEditor(program);
        QVERIFY(waitUntilUp(folder.path(), first));

        QElapsedTimer timer;
        timer.start();
        QProcess *second = startEditor(program);
        QVERIFY(second->waitForFinished(5000));
        QVERIFY(timer.elapsed() < 5000);
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);
        stop(first);
    }

    void crashedEditorDoesNotBlock()
    {
        QTemporaryDir folder;
        const QString program = copyEditor(folder);
        QProcess *crashed = startEditor(program);
        QVERIFY(waitUntilUp(folder.path(), crashed));
        stop(crashed); // killed: its socket file stays behind
        QFile::remove(folder.filePath(QStringLiteral("phonebook.db")));

        QProcess *next = startEditor(program);
        QVERIFY(waitUntilUp(folder.path(), next));
        QProcess *third = startEditor(program);
        QVERIFY(third->waitForFinished(5000));
        QCOMPARE(third->exitCode(), 0);
        QCOMPARE(next->state(), QProcess::Running);
        stop(next);
    }
};

QTEST_MAIN(TestSingleInstance)
#include "TestSingleInstance.moc"
