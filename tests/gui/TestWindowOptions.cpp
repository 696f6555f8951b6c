#include "app/AutoStart.h"
#include "app/MainWindow.h"
#include "manager/DataMgr.h"
#include "tests/gui/GuiTestUtil.h"

#include <QAction>
#include <QPushButton>
#include <QtTest>

using GuiTestUtil::BoxAnswerer;
using GuiTestUtil::ProgramFolder;

// The three switches of the Options menu: read at start, written when toggled.
class TestWindowOptions : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;
    static QAction *option(MainWindow &w, const char *name) { return w.findChild<QAction *>(QLatin1String(name)); }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English));
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    }
    void cleanup() { AutoStart::disable(); }

    void optionsAtStart_data()
    {
        QTest::addColumn<QByteArray>("options");
        QTest::addColumn<bool>("autoStart");
        QTest::addColumn<bool>("recoveryData");

        QTest::newRow("no file") << QByteArray() << false << false;
        QTest::newRow("auto start") << QByteArray("<root><AutoStart>1</AutoStart><RecoveryData>0</RecoveryData>"
                                                  "<AutoHttpd>0</AutoHttpd></root>")
                                    << true << false;
        QTest::newRow("recovery") << QByteArray("<root><AutoStart>0</AutoStart><RecoveryData>1</RecoveryData>"
                                                "<AutoHttpd>2</AutoHttpd></root>")
                                  << false << true;
        QTest::newRow("broken") << QByteArray("<root><AutoStart>1</AutoStart>") << false << false;
    }
    void optionsAtStart()
    {
        QFETCH(QByteArray, options);
        QFETCH(bool, autoStart);
        QFETCH(bool, recoveryData);
        ProgramFolder folder;
        // A phonebook left in the store by the last run.
        TestUtil::addContact(TestUtil::contact(QStringLiteral("Ada"), QStringLiteral("Lovelace")));
        QVERIFY(DataMgr::instance()->saveToDatabase());
        DataMgr::instance()->clearPhonebook();
        if (!options.isEmpty())
            folder.write(QStringLiteral("language/options.xml"), options);

        BoxAnswerer answerer;
        MainWindow w;
        QCOMPARE(option(w, "auto start")->isChecked(), autoStart);
        QCOMPARE(w.autoStartState(), autoStart);
        QCOMPARE(option(w, "recovery data")->isChecked(), recoveryData);
        QCOMPARE(DataMgr::instance()->phonebook().contacts().size(), recoveryData ? 1 : 0);
        // Only 1 switches a value on: the HTTP service stays off.
        QVERIFY(!option(w, "auto httpd")->isChecked());
        QCOMPARE(w.httpdButton()->text(), QStringLiteral("O&pen HTTPD"));
        // Reading neither writes the registration nor says anything.
        QVERIFY(!AutoStart::isEnabled());
        QCOMPARE(answerer.boxes.size(), 0);
    }

    void togglingAutoStart()
    {
        ProgramFolder folder;
        MainWindow w;
        BoxAnswerer answerer;
        option(w, "auto start")->trigger();
        QVERIFY(AutoStart::isEnabled());
        QVERIFY(w.autoStartState());
        QCOMPARE(folder.read(QStringLiteral("language/options.xml")),
            QByteArray("<root>\n    <AutoStart>1</AutoStart>\n    <RecoveryData>0</RecoveryData>\n"
                       "    <AutoHttpd>0</AutoHttpd>\n</root>\n"));
        QFile entry(AutoStart::desktopEntryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains(
            "\nExec=" + AutoStart::execValue(QCoreApplication::applicationFilePath()).toUtf8() + "\n"));
        entry.close();

        option(w, "auto start")->trigger();
        QVERIFY(!AutoStart::isEnabled());
        QVERIFY(!w.autoStartState());
        QCOMPARE(answerer.titles(), QStringList({ "Options change", "Options change" }));
        QCOMPARE(answerer.boxes[0].text, QStringLiteral("Config's change will take effect after reboot."));
        QCOMPARE(answerer.boxes[0].icon, QMessageBox::NoIcon);
    }

    void togglingKeepsOnlyExistingElements()
    {
        ProgramFolder folder;
        folder.write(QStringLiteral("language/options.xml"), "<root><AutoStart>0</AutoStart></root>");
        MainWindow w;
        BoxAnswerer answerer;
        option(w, "recovery data")->trigger();
        QCOMPARE(folder.read(QStringLiteral("language/options.xml")),
            QByteArray("<root>\n    <AutoStart>0</AutoStart>\n</root>\n"));
        // Auto Start did not change, so its registration was not touched.
        QVERIFY(!AutoStart::isEnabled());
        QCOMPARE(answerer.titles(), QStringList({ "Options change" }));
    }

    void autoStartReadFromFileIsNotRewritten()
    {
        // The file says on, the registration is gone: unchecking removes nothing
        // and writes nothing, checking again writes it anew.
        ProgramFolder folder;
        folder.write(QStringLiteral("language/options.xml"),
            "<root><AutoStart>1</AutoStart><RecoveryData>0</RecoveryData><AutoHttpd>0</AutoHttpd></root>");
        MainWindow w;
        BoxAnswerer answerer;
        QVERIFY(!AutoStart::isEnabled());
        option(w, "auto start")->trigger();
        QVERIFY(!AutoStart::isEnabled());
        option(w, "auto start")->trigger();
        QVERIFY(AutoStart::isEnabled());
    }
};

QTEST_MAIN(TestWindowOptions)
#include "TestWindowOptions.moc"
