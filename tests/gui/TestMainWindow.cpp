#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "tests/gui/GuiTestUtil.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTextEdit>
#include <QtTest>

using GuiTestUtil::BoxAnswerer;
using GuiTestUtil::ProgramFolder;

namespace {

struct Window {
    ProgramFolder folder;
    QPointer<MainWindow> window;
    Window() { window = new MainWindow; }
    ~Window() { delete window; }
};

QMenu *menuAt(MainWindow *w, int index)
{
    return w->menuBar()->actions().value(index)->menu();
}

bool storeOpen()
{
    return QSqlDatabase::database(QString::fromLatin1(QSqlDatabase::defaultConnection), false).isOpen();
}

// Leftovers that closing must remove: an import temporary and a served file.
void makeLeftovers(const ProgramFolder &folder)
{
    folder.write(QStringLiteral("tmp.csv"), "a,b\n");
    QDir().mkpath(folder.file(QStringLiteral("HTTPD/Birch")));
    folder.write(QStringLiteral("HTTPD/Birch/phonebook.xml"), "<x/>");
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // English system, so no translation changes the texts compared below.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    }

    void closePrompt_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Save") << int(QMessageBox::YesRole) << true;
        QTest::newRow("Exit without saving") << int(QMessageBox::NoRole) << true;
        QTest::newRow("Cancel") << int(QMessageBox::RejectRole) << false;
    }
    void closePrompt()
    {
        QFETCH(int, role);
        QFETCH(bool, closes);
        Window w;
        makeLeftovers(w.folder);
        w.window->setSaved(false);
        BoxAnswerer answerer { QMessageBox::ButtonRole(role) };
        w.window->close();
        // "Save" saves first, and says so.
        QCOMPARE(answerer.titles().size(), role == int(QMessageBox::YesRole) ? 2 : 1);
        QCOMPARE(answerer.boxes[0].title, QStringLiteral("Exit program"));
        QCOMPARE(answerer.boxes[0].text, QStringLiteral("Do you want to save this phone book?"));
        QStringList buttons = answerer.boxes[0].buttons;
        buttons.sort();
        QCOMPARE(buttons, QStringList({ "Cancel", "Exit without saving", "Save" }));
        if (closes) {
            QTRY_VERIFY(w.window.isNull());
            QVERIFY(!QFile::exists(w.folder.file(QStringLiteral("tmp.csv"))));
            QVERIFY(!QDir(w.folder.file(QStringLiteral("HTTPD"))).exists());
            QVERIFY(!storeOpen());
        } else {
            QTest::qWait(20);
            QVERIFY(!w.window.isNull());
            QVERIFY(w.window->isVisible());
            QVERIFY(!w.window->isSaved());
            QVERIFY(QFile::exists(w.folder.file(QStringLiteral("HTTPD/Birch/phonebook.xml"))));
            QVERIFY(storeOpen());
        }
    }

    void closeWhenSavedDoesNotAsk()
    {
        Window w;
        BoxAnswerer answerer(QMessageBox::RejectRole);
        w.window->close();
        QTRY_VERIFY(w.window.isNull());
        QCOMPARE(answerer.boxes.size(), 0);
    }

    void exitPaths_data()
    {
        QTest::addColumn<bool>("fromTray");
        QTest::newRow("menu &Exit") << false;
        QTest::newRow("tray Exit") << true;
    }
    void exitPaths()
    {
        QFETCH(bool, fromTray);
        Window w;
        makeLeftovers(w.folder);
        w.window->setSaved(false);
        BoxAnswerer answerer(QMessageBox::NoRole);
        QMenu *menu = fromTray ? w.window->trayMenu() : menuAt(w.window, 0);
        QAction *exit = menu->actions().last();
        QCOMPARE(exit->text(), fromTray ? QStringLiteral("Exit") : QStringLiteral("&Exit"));
        exit->trigger();
        QTRY_VERIFY(w.window.isNull());
        // Unsaved edits are never dropped without the question of the close button.
        QCOMPARE(answerer.titles(), QStringList({ "Exit program" }));
        QVERIFY(!QFile::exists(w.folder.file(QStringLiteral("tmp.csv"))));
        QVERIFY(!QDir(w.folder.file(QStringLiteral("HTTPD"))).exists());
        QVERIFY(!storeOpen());
    }

    void trayMenu()
    {
        Window w;
        QStringList texts;
        for (QAction *a : w.window->trayMenu()->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts, QStringList({ "Restore", "-", "Exit" }));
        if (!TrayIcon::isAvailable())
            QSKIP("no system tray on this platform");
        QVERIFY(w.window->trayIcon()->icon()->isVisible());
        QCOMPARE(w.window->trayIcon()->icon()->toolTip(), QStringLiteral("Quorvane Phonebook Editor"));
    }

    void restoreFromTray()
    {
        Window w;
        w.window->showMinimized();
        QTRY_VERIFY(w.window->windowState().testFlag(Qt::WindowMinimized));
        w.window->trayMenu()->actions().first()->trigger();
        QVERIFY(w.window->isVisible());
        QVERIFY(!w.window->windowState().testFlag(Qt::WindowMinimized));
    }

    void trayActivation_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("restored");
        QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << true;
        QTest::newRow("click") << int(QSystemTrayIcon::Trigger) << false;
        QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << false;
        QTest::newRow("context") << int(QSystemTrayIcon::Context) << false;
    }
    void trayActivation()
    {
        QFETCH(int, reason);
        QFETCH(bool, restored);
        Window w;
        w.window->showMinimized();
        QTRY_VERIFY(w.window->windowState().testFlag(Qt::WindowMinimized));
        w.window->iconActivated(QSystemTrayIcon::ActivationReason(reason));
        QCOMPARE(!w.window->windowState().testFlag(Qt::WindowMinimized), restored);
        QVERIFY(w.window->isVisible());
    }

    void altOOpensTheOptionsMenu_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "en";
        QTest::newRow("Chinese") << "zh";
    }
    void altOOpensTheOptionsMenu()
    {
        QFETCH(QString, language);
        ProgramFolder folder;
        folder.write(QStringLiteral("language/config.xml"),
            QStringLiteral("<root><Language>%1</Language></root>").arg(language).toUtf8());
        MainWindow w;
        QCOMPARE(w.currentLanguage(), language);
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QMenu *options = menuAt(&w, 5);
        // Twice: Qt hands a key claimed twice to each claimant in turn.
        for (int press = 0; press < 2; ++press) {
            QTest::keyClick(&w, Qt::Key_O, Qt::AltModifier);
            QTRY_VERIFY(options->isVisible());
            options->hide();
        }
    }

    void optionSwitchesShowTheirBoxWhenOff()
    {
        // Unchecked, a switch must still look unlike the plain command below it.
        Window w;
        QMenu *options = menuAt(w.window, 5);
        options->popup(w.window->mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(options));
        const QImage image = options->grab().toImage();
        options->hide();
        auto margin = [&](QAction *a) {
            const QRect row = options->actionGeometry(a);
            return image.copy(QRect(row.left(), row.top(), 28, row.height()));
        };
        QAction *autoStart = w.window->findChild<QAction *>(QStringLiteral("auto start"));
        QVERIFY(!autoStart->isChecked());
        QVERIFY(margin(autoStart) != margin(options->actions().last()));
    }

    void iconsInEverySize()
    {
        Window w;
        const QList<QSize> sizes = { QSize(16, 16), QSize(32, 32), QSize(64, 64), QSize(256, 256) };
        QCOMPARE(w.window->windowIcon().availableSizes(), sizes);
        QCOMPARE(w.window->httpdLog()->windowIcon().availableSizes(), sizes);
    }

    void requestLog()
    {
        Window w;
        QTextEdit *log = w.window->httpdLog()->log();
        QVERIFY(w.window->httpdLog()->isWindow());
        QVERIFY(!log->isVisible());
        log->append(QStringLiteral("HTTPD server is running."));
        w.window->showServiceMessage(QStringLiteral("One device request phonebook."));
        w.window->showServiceMessage(QStringLiteral("second"));
        QCOMPARE(
            log->toPlainText(), QStringLiteral("HTTPD server is running.\n\nOne device request phonebook.\n\nsecond"));
    }

    void operationOverlay()
    {
        Window w;
        QVERIFY(!w.window->findChild<QWidget *>(QStringLiteral("operation_overlay")));
        w.window->showOperationOverlay();
        auto *overlay = w.window->findChild<QWidget *>(QStringLiteral("operation_overlay"));
        QVERIFY(overlay && overlay->isVisible());
        // It covers the whole window, so nothing can be clicked meanwhile.
        QCOMPARE(overlay->size(), w.window->size());
        w.window->hideOperationOverlay();
        QVERIFY(!overlay->isVisible());
        w.window->showOperationOverlay();
        QCOMPARE(w.window->findChildren<QWidget *>(QStringLiteral("operation_overlay")).size(), 1);
    }

    void helpEntryOpensHelpWindow()
    {
        Window w;
        QVERIFY(!w.window->helpWindow());
        menuAt(w.window, 6)->actions().first()->trigger();
        QVERIFY(w.window->helpWindow());
        QVERIFY(w.window->helpWindow()->isVisible());
        QVERIFY(w.window->helpWindow()->isWindow());
        // Opens over the main window, not in a corner of the screen.
        const QPoint offset = w.window->helpWindow()->frameGeometry().center() - w.window->frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        UserGuide *first = w.window->helpWindow();
        w.window->helpWindow()->close();
        menuAt(w.window, 6)->actions().first()->trigger();
        QCOMPARE(w.window->helpWindow(), first);
    }

    void aboutEntryShowsAboutBox()
    {
        Window w;
        BoxAnswerer answerer;
        menuAt(w.window, 7)->actions().first()->trigger();
        QCOMPARE(answerer.titles(), QStringList({ "About" }));
        QVERIFY(answerer.boxes[0].text.contains(QStringLiteral("Quorvane Phonebook Editor")));
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
