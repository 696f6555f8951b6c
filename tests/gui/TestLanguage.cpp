#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "manager/DataMgr.h"
#include "tests/gui/GuiTestUtil.h"
#include "widgets/AddNewGroupDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QtTest>

using GuiTestUtil::BoxAnswerer;
using GuiTestUtil::ProgramFolder;

namespace {

// Marks every text it is asked for: a text shown without the marks never went
// through the translator.
class MarkingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *, const char *source, const char *, int) const override
    {
        return QStringLiteral("«%1»").arg(QString::fromUtf8(source));
    }
};

// The texts of `widgets` and `actions` that a user reads and that lack the marks.
QStringList unmarkedTexts(const QList<QWidget *> &widgets, const QList<QAction *> &actions)
{
    QStringList unmarked;
    auto check = [&](const QObject *owner, const QString &text) {
        if (!text.isEmpty() && !text.contains(QStringLiteral("«")))
            unmarked << QStringLiteral("%1 (%2): %3").arg(owner->metaObject()->className(), owner->objectName(), text);
    };
    for (QWidget *w : widgets) {
        check(w, w->toolTip());
        check(w, w->statusTip());
        if (w->isWindow())
            check(w, w->windowTitle());
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            check(w, b->text());
        if (auto *l = qobject_cast<QLabel *>(w))
            check(w, l->text());
        if (auto *e = qobject_cast<QLineEdit *>(w))
            check(w, e->placeholderText());
    }
    for (QAction *a : actions) {
        check(a, a->text());
        check(a, a->toolTip());
        check(a, a->statusTip());
    }
    return unmarked;
}

} // namespace

// Which language the window starts in, and what choosing another one writes.
class TestLanguage : public QObject
{
    Q_OBJECT

private:
    static QString fileMenuTitle(MainWindow *w) { return w->menuBar()->actions().first()->text(); }
    static bool checked(MainWindow *w, const char *name)
    {
        return w->findChild<QAction *>(QLatin1String(name))->isChecked();
    }

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void startLanguage_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<int>("systemLanguage");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("zhChecked");
        QTest::addColumn<bool>("enChecked");
        QTest::addColumn<QString>("fileMenu");

        const QByteArray none;
        // The system language only counts when there is no config.xml.
        QTest::newRow("config zh") << QByteArray("<root>\n    <Language>zh</Language>\n</root>\n")
                                   << int(QLocale::English) << "zh" << true << false << "文件(&F)";
        QTest::newRow("config en") << QByteArray("<root><Language>en</Language></root>") << int(QLocale::Chinese)
                                   << "en" << false << true << "&File";
        QTest::newRow("config fr") << QByteArray("<root><Language>fr</Language></root>") << int(QLocale::Chinese)
                                   << "en" << false << true << "&File";
        QTest::newRow("config broken") << QByteArray("<root><Language>zh</Language>") << int(QLocale::Chinese) << "zh"
                                       << true << false << "文件(&F)";
        QTest::newRow("no config, Chinese system")
            << none << int(QLocale::Chinese) << "zh" << true << false << "文件(&F)";
        QTest::newRow("no config, English system") << none << int(QLocale::English) << "en" << false << true << "&File";
        QTest::newRow("no config, German system") << none << int(QLocale::German) << "" << false << false << "&File";
    }
    void startLanguage()
    {
        QFETCH(QByteArray, config);
        QFETCH(int, systemLanguage);
        QFETCH(QString, language);
        QFETCH(bool, zhChecked);
        QFETCH(bool, enChecked);
        QFETCH(QString, fileMenu);

        ProgramFolder folder;
        if (!config.isEmpty())
            folder.write(QStringLiteral("language/config.xml"), config);
        QLocale::setDefault(QLocale(QLocale::Language(systemLanguage)));
        BoxAnswerer answerer;
        MainWindow w;
        QCOMPARE(w.currentLanguage(), language);
        QCOMPARE(DataMgr::instance()->language(), language);
        QCOMPARE(checked(&w, "zh"), zhChecked);
        QCOMPARE(checked(&w, "en"), enChecked);
        QCOMPARE(fileMenuTitle(&w), fileMenu);
        // Loading the language at start never asks anything.
        QCOMPARE(answerer.boxes.size(), 0);
        if (!config.isEmpty())
            QCOMPARE(folder.read(QStringLiteral("language/config.xml")), config);
    }

    void everyTextGoesThroughTheTranslator()
    {
        ProgramFolder folder;
        // No catalogue of ours for German: the marking translator is the only one.
        QLocale::setDefault(QLocale(QLocale::German));
        MarkingTranslator marking;
        QCoreApplication::installTranslator(&marking);
        MainWindow w;
        w.showOperationOverlay();
        w.hideOperationOverlay();
        w.showHelpInfo();
        AddNewGroupDialog dialog(QStringLiteral("new1"));

        const QList<QWidget *> windows = { &w, w.httpdLog(), w.helpWindow(), &dialog };
        QList<QWidget *> widgets = windows;
        for (QWidget *window : windows)
            widgets += window->findChildren<QWidget *>();
        // The page counter shows numbers only.
        widgets.removeAll(w.helpWindow()->findChild<QWidget *>(QStringLiteral("guide_page_counter")));
        QList<QAction *> actions = w.findChildren<QAction *>() + w.trayMenu()->actions();
        // The language names are written in their own language.
        actions.removeAll(w.findChild<QAction *>(QStringLiteral("zh")));
        actions.removeAll(w.findChild<QAction *>(QStringLiteral("en")));
        actions.removeIf([](QAction *a) { return a->isSeparator(); });

        QStringList unmarked = unmarkedTexts(widgets, actions);
        // The window title is the product's name in every language.
        // "[*]" is where the mark of unsaved edits goes.
        unmarked.removeAll(QStringLiteral("MainWindow (central_widget): Quorvane Phonebook Editor[*]"));
        if (!w.trayIcon()->toolTip().contains(QStringLiteral("«")))
            unmarked << QStringLiteral("tray icon: ") + w.trayIcon()->toolTip();
        w.helpWindow()->hide();
        QCoreApplication::removeTranslator(&marking);
        QCOMPARE(unmarked, QStringList());
    }

    void chineseTranslationOfQtDialogs()
    {
        ProgramFolder folder;
        folder.write(QStringLiteral("language/config.xml"), "<root><Language>zh</Language></root>");
        MainWindow w;
        // The toolkit's own catalogue is loaded too: its standard buttons speak Chinese.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    }

    void choosingAnotherLanguage_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("file updated") << QByteArray("<root><Language>zh</Language><Note/></root>")
                                      << QByteArray("<root>\n    <Language>en</Language>\n    <Note/>\n</root>\n");
        QTest::newRow("file created") << QByteArray() << QByteArray("<root>\n    <Language>en</Language>\n</root>\n");
    }
    void choosingAnotherLanguage()
    {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, written);
        ProgramFolder folder;
        if (!config.isEmpty())
            folder.write(QStringLiteral("language/config.xml"), config);
        else
            QLocale::setDefault(QLocale(QLocale::Chinese));
        MainWindow w;
        QCOMPARE(w.currentLanguage(), QStringLiteral("zh"));
        BoxAnswerer answerer;
        w.findChild<QAction *>(QStringLiteral("en"))->trigger();
        QCOMPARE(answerer.titles(), QStringList({ "更改语言" }));
        QCOMPARE(answerer.boxes[0].text, QStringLiteral("更改语言将在程序重新启动后生效。"));
        QCOMPARE(answerer.boxes[0].icon, QMessageBox::NoIcon);
        QCOMPARE(folder.read(QStringLiteral("language/config.xml")), written);
        QCOMPARE(w.currentLanguage(), QStringLiteral("en"));
        // The translation in force stays until the next start.
        QCOMPARE(fileMenuTitle(&w), QStringLiteral("文件(&F)"));
    }

    void choosingTheSameLanguageDoesNothing()
    {
        ProgramFolder folder;
        const QByteArray config("<root><Language>en</Language></root>");
        folder.write(QStringLiteral("language/config.xml"), config);
        MainWindow w;
        BoxAnswerer answerer;
        w.findChild<QAction *>(QStringLiteral("en"))->trigger();
        QCOMPARE(answerer.boxes.size(), 0);
        QCOMPARE(folder.read(QStringLiteral("language/config.xml")), config);
    }

    void choosingWithoutLanguageFolder()
    {
        ProgramFolder folder;
        QDir(folder.file(QStringLiteral("language"))).removeRecursively();
        QLocale::setDefault(QLocale(QLocale::English));
        MainWindow w;
        BoxAnswerer answerer;
        w.findChild<QAction *>(QStringLiteral("zh"))->trigger();
        // Nothing can be written, but the user is told all the same.
        QCOMPARE(answerer.titles(), QStringList({ "Language change" }));
        QVERIFY(!QFile::exists(folder.file(QStringLiteral("language/config.xml"))));
    }
};

QTEST_MAIN(TestLanguage)
#include "TestLanguage.moc"
