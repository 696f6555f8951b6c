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

    void windowFrame()
    {
        Window w;
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Quorvane Phonebook Editor"));
        QCOMPARE(w.window->objectName(), QStringLiteral("central_widget"));
        QCOMPARE(w.window->size(), QSize(950, 609));
        QCOMPARE(w.window->minimumSize(), QSize(950, 609));
        QCOMPARE(w.window->maximumSize(), QSize(950, 609));
        QVERIFY(w.window->isVisible());
        const Qt::WindowFlags flags = w.window->windowFlags();
        QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    }

    void menuBarMenus()
    {
        Window w;
        QMenuBar *bar = w.window->menuBar();
        QCOMPARE(bar->objectName(), QStringLiteral("menu_bar"));
        QCOMPARE(bar->font().family(), QStringLiteral("Times"));
        QCOMPARE(bar->font().pointSize(), 10);
        QStringList titles, names;
        for (QAction *a : bar->actions()) {
            QVERIFY(a->menu());
            titles << a->text();
            names << a->menu()->objectName();
        }
        QCOMPARE(titles, QStringList({ "&File", "&Import", "&Export", "&Language", "&Options", "&Help", "&About" }));
        QCOMPARE(
            names, QStringList({ "fileMenu", "importMenu", "exportMenu", "langMenu", "", "helpMenu", "aboutMenu" }));
    }

    void menuEntries_data()
    {
        QTest::addColumn<int>("menu");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QKeySequence>>("keys");
        QTest::addColumn<QString>("statusTip");
        QTest::addColumn<bool>("checkable");
        QTest::addColumn<QString>("name");

        using K = QList<QKeySequence>;
        auto standard = [](QKeySequence::StandardKey key) { return QKeySequence::keyBindings(key); };
        QTest::newRow("New") << 0 << 0 << "&New" << standard(QKeySequence::New) << "construct a new phone book" << false
                             << "";
        QTest::newRow("Save") << 0 << 1 << "&Save" << standard(QKeySequence::Save) << "Save file" << false << "";
        QTest::newRow("History") << 0 << 3 << "&History" << K { QKeySequence("Ctrl+R") } << "Show history" << false
                                 << "";
        QTest::newRow("Exit") << 0 << 5 << "&Exit" << standard(QKeySequence::Quit) << "Quit program" << false << "";
        QTest::newRow("Local Import") << 1 << 0 << "&Local Import" << K { QKeySequence("Ctrl+I") }
                                      << "Import file local" << false << "";
        QTest::newRow("Network Import") << 1 << 1 << "&Network Import" << K { QKeySequence("Ctrl+W") }
                                        << "Import file web" << false << "";
        QTest::newRow("Local Export") << 2 << 0 << "&Local Export" << K { QKeySequence("Ctrl+E") }
                                      << "Export file local" << false << "";
        QTest::newRow("Chinese") << 3 << 0 << "简体中文" << K {} << "" << true << "zh";
        QTest::newRow("English") << 3 << 1 << "English" << K {} << "" << true << "en";
        QTest::newRow("Auto Start") << 4 << 0 << "Auto Start" << K {} << "" << true << "auto start";
        QTest::newRow("Recovery Data") << 4 << 1 << "Recovery Data" << K {} << "" << true << "recovery data";
        QTest::newRow("Auto Httpd") << 4 << 2 << "Auto Httpd" << K {} << "" << true << "auto httpd";
        QTest::newRow("Port") << 4 << 3 << "Configure Httpd Port" << K {} << "Configure Httpd Port" << false << "";
        QTest::newRow("Help") << 5 << 0 << "&Help" << standard(QKeySequence::HelpContents) << "Show help info" << false
                              << "";
        QTest::newRow("About") << 6 << 0 << "About" << K {} << "Show about info" << false << "";
    }
    void menuEntries()
    {
        QFETCH(int, menu);
        QFETCH(int, position);
        QFETCH(QString, text);
        QFETCH(QList<QKeySequence>, keys);
        QFETCH(QString, statusTip);
        QFETCH(bool, checkable);
        QFETCH(QString, name);
        Window w;
        QAction *a = menuAt(w.window, menu)->actions().value(position);
        QVERIFY(a);
        QCOMPARE(a->text(), text);
        QCOMPARE(a->shortcuts(), keys);
        QCOMPARE(a->statusTip(), statusTip);
        QCOMPARE(a->isCheckable(), checkable);
        QCOMPARE(a->objectName(), name);
        QVERIFY(!a->isChecked() || menu == 3);
    }

    void menuLayout()
    {
        Window w;
        QList<int> counts, separators;
        for (QAction *m : w.window->menuBar()->actions()) {
            counts << int(m->menu()->actions().size());
            for (QAction *a : m->menu()->actions()) {
                if (a->isSeparator())
                    separators << int(m->menu()->actions().indexOf(a));
            }
        }
        QCOMPARE(counts, QList<int>({ 6, 2, 1, 2, 4, 1, 1 }));
        QCOMPARE(separators, QList<int>({ 2, 4 }));
        QAction *zh = w.window->findChild<QAction *>(QStringLiteral("zh"));
        QVERIFY(zh->actionGroup() && zh->actionGroup()->isExclusive());
        QCOMPARE(zh->actionGroup(), w.window->findChild<QAction *>(QStringLiteral("en"))->actionGroup());
    }

    void toolStrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QKeySequence>("shortcut");

        QTest::newRow("New") << "tool_newLabel"
                             << "New" << QRect(20, 10, 108, 33) << "New phonebook  Ctrl+N" << QKeySequence();
        QTest::newRow("Save") << "tool_saveLabel"
                              << "Save file" << QRect(128, 10, 108, 33) << "Save phonebook  Ctrl+S" << QKeySequence();
        QTest::newRow("Export") << "tool_exportLabel"
                                << "Export" << QRect(236, 10, 108, 33) << "Export phonebook  Ctrl+E" << QKeySequence();
        QTest::newRow("Import") << "tool_importLabel"
                                << "Import" << QRect(344, 10, 108, 33) << "Import phonebook  Ctrl+I" << QKeySequence();
        QTest::newRow("History") << "tool_historyLabel"
                                 << "History" << QRect(452, 10, 108, 33) << "Recent phonebook  Ctrl+R"
                                 << QKeySequence();
        QTest::newRow("Backup") << "tool_backupLabel"
                                << "Backup" << QRect(568, 10, 108, 33) << "Backup phonebook  Ctrl+B"
                                << QKeySequence("Ctrl+B");
        QTest::newRow("HTTPD") << "tool_httpButton"
                               << "O&pen HTTPD" << QRect(710, 10, 158, 33) << "" << QKeySequence("Alt+P");
    }
    void toolStrip()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        QFETCH(QString, toolTip);
        QFETCH(QKeySequence, shortcut);
        Window w;
        auto *button = w.window->findChild<QPushButton *>(name);
        QVERIFY(button);
        QWidget *strip = button->parentWidget();
        QCOMPARE(strip->parentWidget(), static_cast<QWidget *>(w.window.data()));
        QCOMPARE(strip->geometry(), QRect(0, 20, 948, 53));
        QCOMPARE(strip->styleSheet(), QStringLiteral("QWidget {font: normal; font-size: 14px; font-family: 'Times';}"));
        QCOMPARE(button->text(), text);
        QCOMPARE(button->geometry(), geometry);
        QCOMPARE(button->toolTip(), toolTip);
        QCOMPARE(button->shortcut(), shortcut);
        QCOMPARE(button->iconSize(), QSize(24, 24));
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QCOMPARE(strip->findChildren<QPushButton *>().size(), 7);
    }

    void panels_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");

        QTest::newRow("group title") << "group_title_label" << QRect(0, 0, 230, 30) << "    Groups";
        QTest::newRow("contact title") << "contact_title_label" << QRect(0, 0, 280, 31)
                                       << "    All    "; // framed as every group name the list shows
        QTest::newRow("batch") << "batch_button" << QRect(180, 5, 87, 21) << "Batch";
        QTest::newRow("search strip") << "contact_search_label" << QRect(0, 31, 280, 31) << "";
        QTest::newRow("add contact") << "contact_add_button" << QRect(0, 62, 280, 31) << "";
        QTest::newRow("detail title") << "detail_title_label" << QRect(0, 0, 381, 30) << "";
    }
    void panels()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        Window w;
        auto *widget = w.window->findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), geometry);
        if (auto *label = qobject_cast<QLabel *>(widget))
            QCOMPARE(label->text(), text);
        if (auto *button = qobject_cast<QPushButton *>(widget))
            QCOMPARE(button->text(), text);
        // Every panel sits in the central widget, side by side below the strip.
        QWidget *panel = widget->parentWidget();
        QCOMPARE(panel->parentWidget(), w.window->centralWidget());
        const QList<QRect> panels = { QRect(20, 56, 230, 508), QRect(260, 56, 280, 508), QRect(540, 56, 380, 508) };
        QVERIFY2(panels.contains(panel->geometry()), qPrintable(name));
    }

    void contactButtons()
    {
        Window w;
        auto *batch = w.window->findChild<QPushButton *>(QStringLiteral("batch_button"));
        QCOMPARE(batch->shortcut(), QKeySequence("Ctrl+M"));
        QCOMPARE(batch->toolTip(), QStringLiteral("multiple choice  Ctrl+M"));
        auto *add = w.window->findChild<QPushButton *>(QStringLiteral("contact_add_button"));
        QVERIFY(add->isFlat());
        QCOMPARE(add->shortcut(), QKeySequence("Ctrl+G"));
        QCOMPARE(add->toolTip(), QStringLiteral("Create one contact  Ctrl+G"));
        auto *text = add->findChild<QLabel *>(QStringLiteral("contact_add_text"));
        QCOMPARE(text->text(), QStringLiteral(" Add new contact"));
        QCOMPARE(text->geometry(), QRect(55, 0, 120, 30));
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
        QMenu *options = menuAt(&w, 4);
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
        QMenu *options = menuAt(w.window, 4);
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
        QTextEdit *log = w.window->httpdLog();
        QCOMPARE(log->windowTitle(), QStringLiteral("HTTPD server request informations"));
        QCOMPARE(log->size(), QSize(480, 320));
        QVERIFY(log->isWindow());
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
        QCOMPARE(overlay->size(), QSize(950, 609));
        QCOMPARE(overlay->findChild<QLabel *>(QStringLiteral("operation_text"))->text(),
            QStringLiteral("Operating,please wait."));
        w.window->hideOperationOverlay();
        QVERIFY(!overlay->isVisible());
        w.window->showOperationOverlay();
        QCOMPARE(w.window->findChildren<QWidget *>(QStringLiteral("operation_overlay")).size(), 1);
    }

    void helpEntryOpensHelpWindow()
    {
        Window w;
        QVERIFY(!w.window->helpWindow());
        menuAt(w.window, 5)->actions().first()->trigger();
        QVERIFY(w.window->helpWindow());
        QVERIFY(w.window->helpWindow()->isVisible());
        QVERIFY(w.window->helpWindow()->isWindow());
        // Opens over the main window, not in a corner of the screen.
        const QPoint offset = w.window->helpWindow()->frameGeometry().center() - w.window->frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        UserGuide *first = w.window->helpWindow();
        w.window->helpWindow()->close();
        menuAt(w.window, 5)->actions().first()->trigger();
        QCOMPARE(w.window->helpWindow(), first);
    }

    void aboutEntryShowsAboutBox()
    {
        Window w;
        BoxAnswerer answerer;
        menuAt(w.window, 6)->actions().first()->trigger();
        QCOMPARE(answerer.titles(), QStringList({ "About" }));
        QVERIFY(answerer.boxes[0].text.contains(QStringLiteral("Quorvane Phonebook Editor")));
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
