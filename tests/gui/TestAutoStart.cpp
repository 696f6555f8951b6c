#include "app/AutoStart.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// The entry goes to the user's configuration folder; the test points
// XDG_CONFIG_HOME at a temporary folder so the real one is never touched.
class TestAutoStart : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;

    QString execLine()
    {
        QFile f(AutoStart::desktopEntryPath());
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
            return QStringLiteral("<no entry>");
        const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            if (line.startsWith(QLatin1String("Exec=")))
                return line.mid(5);
        }
        return QStringLiteral("<no Exec>");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        QCOMPARE(AutoStart::desktopEntryPath(),
            m_config.path() + QStringLiteral("/autostart/QuorvanePhonebookEditor.desktop"));
    }

    void writtenAndRemoved()
    {
        QVERIFY(!AutoStart::isEnabled());
        QVERIFY(AutoStart::enable(QStringLiteral("/opt/quorvane/quorvane-phonebook-editor")));
        QVERIFY(AutoStart::isEnabled());
        QFile f(AutoStart::desktopEntryPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray entry = f.readAll();
        f.close();
        QVERIFY(entry.startsWith("[Desktop Entry]\n"));
        QVERIFY(entry.contains("\nType=Application\n"));
        // The menu entry's icon and translated name come along.
        QVERIFY(entry.contains("\nIcon=com.quorvane.PhonebookEditor\n"));
        QVERIFY(entry.contains("\nName[zh_CN]="));
        QCOMPARE(execLine(), QStringLiteral("/opt/quorvane/quorvane-phonebook-editor"));
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (!validator.isEmpty()) {
            QProcess check;
            check.setProcessChannelMode(QProcess::MergedChannels);
            check.start(validator, { AutoStart::desktopEntryPath() });
            QVERIFY(check.waitForFinished(30000));
            QVERIFY2(check.exitCode() == 0, check.readAll().constData());
        }

        QVERIFY(AutoStart::disable());
        QVERIFY(!AutoStart::isEnabled());
        QVERIFY(!QFile::exists(AutoStart::desktopEntryPath()));
        // Removing what is not there is no failure.
        QVERIFY(AutoStart::disable());
    }

    void enableTwiceKeepsOneEntry()
    {
        QVERIFY(AutoStart::enable(QStringLiteral("/a/editor")));
        QVERIFY(AutoStart::enable(QStringLiteral("/b/editor")));
        QCOMPARE(execLine(), QStringLiteral("/b/editor"));
        QVERIFY(AutoStart::disable());
    }

    void execValue_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "/usr/bin/editor"
                               << "/usr/bin/editor";
        QTest::newRow("blank") << "/home/a b/editor"
                               << "\"/home/a b/editor\"";
        QTest::newRow("dollar") << "/x$y/editor"
                                << "\"/x\\\\$y/editor\"";
        QTest::newRow("double quote") << "/x\"y/e"
                                      << "\"/x\\\\\"y/e\"";
        QTest::newRow("backslash") << "/x\\y/e"
                                   << "\"/x\\\\\\\\y/e\"";
        QTest::newRow("percent") << "/100%/e"
                                 << "/100%%/e";
        QTest::newRow("Chinese") << "/home/用户/editor"
                                 << "/home/用户/editor";
    }
    void execValue()
    {
        QFETCH(QString, path);
        QFETCH(QString, exec);
        QCOMPARE(AutoStart::execValue(path), exec);
    }
};

QTEST_MAIN(TestAutoStart)
#include "TestAutoStart.moc"
