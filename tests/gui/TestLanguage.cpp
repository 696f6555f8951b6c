#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "data/Records.h"
#include "manager/DataMgr.h"
#include "tests/gui/GuiTestUtil.h"
#include "widgets/AddNewGroupDialog.h"
#include "widgets/ContactView.h"
#include "widgets/UserGuideWidget.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
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
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("fileMenu");
        QTest::newRow("file updated") << QByteArray("<root><Language>zh</Language><Note/></root>") << "zh"
                                      << "en"
                                      << QByteArray("<root>\n    <Language>en</Language>\n    <Note/>\n</root>\n")
                                      << "&File";
        QTest::newRow("file created") << QByteArray() << "zh"
                                      << "en" << QByteArray("<root>\n    <Language>en</Language>\n</root>\n")
                                      << "&File";
        QTest::newRow("to Chinese") << QByteArray() << "en"
                                    << "zh" << QByteArray("<root>\n    <Language>zh</Language>\n</root>\n")
                                    << "文件(&F)";
    }
    void choosingAnotherLanguage()
    {
        QFETCH(QByteArray, config);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QByteArray, written);
        QFETCH(QString, fileMenu);
        ProgramFolder folder;
        if (!config.isEmpty())
            folder.write(QStringLiteral("language/config.xml"), config);
        else
            QLocale::setDefault(QLocale(from == QLatin1String("zh") ? QLocale::Chinese : QLocale::English));
        MainWindow w;
        QCOMPARE(w.currentLanguage(), from);
        auto *groupTitle = w.findChild<QLabel *>(QStringLiteral("group_title_label"));
        auto *newButton = w.findChild<QAbstractButton *>(QStringLiteral("tool_newLabel"));
        const QString titleBefore = groupTitle->text();
        const QString tipBefore = newButton->toolTip();
        BoxAnswerer answerer;
        w.findChild<QAction *>(to.toLatin1().constData())->trigger();
        // At once, without a word and without a restart.
        QTRY_COMPARE(fileMenuTitle(&w), fileMenu);
        QCOMPARE(answerer.boxes.size(), 0);
        QCOMPARE(folder.read(QStringLiteral("language/config.xml")), written);
        QCOMPARE(w.currentLanguage(), to);
        QCOMPARE(DataMgr::instance()->language(), to);
        QVERIFY(groupTitle->text() != titleBefore);
        QVERIFY(newButton->toolTip() != tipBefore);
        QCOMPARE(groupTitle->text(), QStringLiteral("    ") + MainWindow::tr("Groups"));
        // New texts keep the buttons' own keys.
        QCOMPARE(w.findChild<QAbstractButton *>(QStringLiteral("tool_backupLabel"))->shortcut(),
            QKeySequence(QStringLiteral("Ctrl+B")));
        QCOMPARE(w.findChild<QAbstractButton *>(QStringLiteral("batch_button"))->shortcut(),
            QKeySequence(QStringLiteral("Ctrl+M")));
        // The toolkit's own texts follow too.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
            to == QLatin1String("zh") ? QStringLiteral("取消") : QStringLiteral("Cancel"));
    }

    // What is open when the language changes follows it, and nothing typed is lost.
    void openWindowsFollowTheLanguage()
    {
        ProgramFolder folder;
        TestUtil::addContact(TestUtil::contact(QStringLiteral("Anna"), QStringLiteral("Lee"),
            { TestUtil::phone("Home Fax", "555 0100") }, {}, { "Default" }));
        QLocale::setDefault(QLocale(QLocale::English));
        MainWindow w;
        w.showHelpInfo();
        w.openWebImport();
        auto *view = w.contactView();
        view->setCurrentIndex(view->model()->index(0, 0));
        auto *first = w.findChild<QLineEdit *>(QStringLiteral("first_name_edit"));
        QVERIFY(first);
        first->setText(QStringLiteral("Annabel"));
        auto *typeBox = w.findChild<QComboBox *>(QStringLiteral("phone_type_box"));
        QCOMPARE(typeBox->currentText(), QStringLiteral("Home Fax(Alderline)"));
        const QStringList english = { w.helpWindow()->windowTitle(),
            w.findChild<QWidget *>(QStringLiteral("web_import_dialog"))->windowTitle(), typeBox->currentText() };

        w.findChild<QAction *>("zh")->trigger();
        QTRY_COMPARE(fileMenuTitle(&w), QStringLiteral("文件(&F)"));
        typeBox = w.findChild<QComboBox *>(QStringLiteral("phone_type_box"));
        const QStringList chinese = { w.helpWindow()->windowTitle(),
            w.findChild<QWidget *>(QStringLiteral("web_import_dialog"))->windowTitle(), typeBox->currentText() };
        for (int i = 0; i < english.size(); ++i)
            QVERIFY2(chinese[i] != english[i], qPrintable(chinese[i]));
        QCOMPARE(typeBox->currentText(), QStringLiteral("家庭传真(Alderline)"));
        QCOMPARE(w.helpWindow()->page(0)->picturePath(), QStringLiteral(":/UserGuide/chinese/1.jpg"));
        // The name typed before the change is still there, and still to be kept.
        first = w.findChild<QLineEdit *>(QStringLiteral("first_name_edit"));
        QCOMPARE(first->text(), QStringLiteral("Annabel"));
        w.commitDetail();
        const ContactInfo kept = DataMgr::instance()->phonebook().contacts().value(0);
        QCOMPARE(kept.FirstName, QStringLiteral("Annabel"));
        // "No picture" and "no ringtone" are shown in words of the language, never stored as those words.
        QCOMPARE(kept.PhotoUrl, QString());
        QCOMPARE(kept.RingtoneUrl, QString());
        QCOMPARE(w.findChild<QLineEdit *>(QStringLiteral("head_text"))->text(), Records::defaultHeadText());
        w.helpWindow()->hide();
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
        // The window changes all the same; the user hears that the choice is not kept.
        QCOMPARE(w.currentLanguage(), QStringLiteral("zh"));
        QCOMPARE(answerer.titles(), QStringList({ "Language change" }));
        QCOMPARE(answerer.boxes[0].icon, QMessageBox::Warning);
        QVERIFY(answerer.boxes[0].text.contains(QStringLiteral("config.xml")));
        QVERIFY(!QFile::exists(folder.file(QStringLiteral("language/config.xml"))));
    }
};

QTEST_MAIN(TestLanguage)
#include "TestLanguage.moc"
