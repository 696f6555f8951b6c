// New, Save, History and Backup in the main window: their prompts, the files
// they write and what a failure leaves behind.

#include "tests/LockHolder.h"
#include "tests/gui/ListWindow.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace ListWindow;
using GuiTestUtil::answerNextDialog;
using GuiTestUtil::BoxAnswerer;

namespace {

// Picks `path` in the next file dialog, or cancels it when `path` is empty.
void chooseInFileDialog(const QString &path)
{
    answerNextDialog([path](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        QVERIFY(dialog);
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// A folder the program cannot write its history copy into: "target" is a file.
void blockTarget(const Window &w)
{
    w.folder.write(QStringLiteral("target"), "not a folder");
}

} // namespace

class TestFileCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void newPhonebook_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<bool>("reset");
        QTest::addColumn<int>("historyFiles");
        QTest::newRow("Save") << int(QMessageBox::YesRole) << false << true << 1;
        QTest::newRow("No, thanks") << int(QMessageBox::NoRole) << false << true << 0;
        QTest::newRow("Cancel") << int(QMessageBox::RejectRole) << false << false << 0;
        QTest::newRow("Save that fails") << int(QMessageBox::YesRole) << true << false << 0;
    }

    void newPhonebook()
    {
        QFETCH(int, answer);
        QFETCH(bool, blocked);
        QFETCH(bool, reset);
        QFETCH(int, historyFiles);
        Window w;
        if (blocked)
            blockTarget(w);
        w.window->setSaved(false);
        BoxAnswerer boxes { QMessageBox::ButtonRole(answer) };
        w.window->constructNewFile();
        QCOMPARE(boxes.boxes.first().title, QString("Save option"));
        QCOMPARE(mgr()->phonebook().contacts().isEmpty(), reset);
        QCOMPARE(filesIn(w.folder.file("target")).size(), historyFiles);
        if (reset) {
            QVERIFY(w.detailEmpty());
            QCOMPARE(TestUtil::loadedContacts().size(), 0);
        } else {
            QCOMPARE(mgr()->phonebook().contacts().size(), 4);
        }
    }

    void newWithoutEditsAsksNothing()
    {
        Window w;
        BoxAnswerer boxes;
        w.window->constructNewFile();
        QVERIFY(boxes.boxes.isEmpty());
        QVERIFY(mgr()->phonebook().contacts().isEmpty());
    }

    void saveWritesTheFiles()
    {
        Window w;
        w.window->setSaved(false);
        BoxAnswerer boxes;
        QVERIFY(w.window->saveFile());
        QVERIFY(w.window->isSaved());
        QCOMPARE(boxes.titles(), QStringList({ "Save Box" }));
        const QStringList history = filesIn(w.folder.file("target"));
        QCOMPARE(history.size(), 1);
        QVERIFY(history.first().startsWith("phonebook_") && history.first().endsWith(".xml"));
        for (const char *model : { "UNIXML", "Birch", "Cedar", "Brenn" })
            QVERIFY(QFile::exists(w.folder.file(QStringLiteral("HTTPD/%1/phonebook.xml").arg(model))));
        QCOMPARE(TestUtil::loadedContacts().size(), 4);
    }

    void saveDropsABlankContactAndSaves()
    {
        Window w;
        w.find<QPushButton>("contact_add_button")->click();
        QCOMPARE(mgr()->phonebook().contacts().size(), 5);
        BoxAnswerer boxes;
        QVERIFY(w.window->saveFile());
        QVERIFY(w.window->isSaved());
        QCOMPARE(QDir(w.folder.file("target")).entryList(QDir::Files).size(), 1);
        QCOMPARE(mgr()->phonebook().contacts().size(), 4);
        QCOMPARE(TestUtil::loadedContacts().size(), 4);
        QCOMPARE(boxes.titles(), QStringList({ "Save Box" }));
    }

    void saveKeepsANameOfBlanks()
    {
        Window w;
        w.find<QPushButton>("contact_add_button")->click();
        QTest::keyClicks(w.find<QLineEdit>("first_name_edit"), "  ");
        BoxAnswerer boxes;
        QVERIFY(w.window->saveFile());
        QCOMPARE(boxes.titles(), QStringList({ "Save Box" }));
        QCOMPARE(mgr()->phonebook().contacts().size(), 5);
        QCOMPARE(TestUtil::loadedContacts().size(), 5);
        QCOMPARE(w.shown().FirstName, QString("  "));
    }

    void exitPromptKeepsTheProgramWhenSaveFails()
    {
        Window w;
        blockTarget(w);
        w.clickContact("Bob Ray");
        w.find<QLineEdit>("first_name_edit")->setText("Robert");
        BoxAnswerer boxes(QMessageBox::YesRole);
        w.window->close();
        QCOMPARE(boxes.titles(), QStringList({ "Exit program", "Save Box" }));
        QVERIFY2(boxes.boxes.last().text.endsWith(" could not be written (Not a directory)."),
            qPrintable(boxes.boxes.last().text));
        QVERIFY(w.window);
        QVERIFY(w.window->isVisible());
        QVERIFY(!w.window->isSaved());
        QCOMPARE(w.byName("Robert").LastName, QString("Ray"));
    }

    void exitAsksToSave_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<bool>("exits");
        QTest::addColumn<int>("historyFiles");
        QTest::newRow("Save") << int(QMessageBox::YesRole) << false << true << 1;
        QTest::newRow("Exit without saving") << int(QMessageBox::NoRole) << false << true << 0;
        QTest::newRow("Cancel") << int(QMessageBox::RejectRole) << false << false << 0;
        QTest::newRow("Save that fails") << int(QMessageBox::YesRole) << true << false << 0;
    }

    void exitAsksToSave()
    {
        QFETCH(int, answer);
        QFETCH(bool, blocked);
        QFETCH(bool, exits);
        QFETCH(int, historyFiles);
        Window w;
        if (blocked)
            blockTarget(w);
        w.clickContact("Bob Ray");
        QTest::keyClicks(w.find<QLineEdit>("first_name_edit"), "by");
        BoxAnswerer boxes { QMessageBox::ButtonRole(answer) };
        // File -> Exit (Ctrl+Q where the platform has a Quit key; offscreen has none).
        w.window->menuBar()->actions().first()->menu()->actions().last()->trigger();
        QCOMPARE(boxes.titles().value(0), QString("Exit program"));
        QTRY_COMPARE(w.window.isNull(), exits);
        QCOMPARE(filesIn(w.folder.file("target")).size(), historyFiles);
        if (historyFiles)
            QVERIFY(w.folder.read("target/" + filesIn(w.folder.file("target")).first()).contains("Bobby"));
        if (!exits)
            QCOMPARE(w.find<QLineEdit>("first_name_edit")->text(), QString("Bobby"));
    }

    void history_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("locked"); // another program is writing the phonebook
        const QStringList standard { "Anna McLee", "Bob Ray", "李四", "张三" };
        const int no = int(QMessageBox::NoRole);
        QTest::newRow("cancelled") << QString() << no << QStringList() << standard << false;
        QTest::newRow("unreadable file") << "bad.xml" << no << QStringList { "Save option", "Import History Failed" }
                                         << standard << false;
        QTest::newRow("saved copy") << "good.xml" << no << QStringList { "Save option" } << QStringList { "Ann", "Zed" }
                                    << false;
        QTest::newRow("edits kept by Cancel")
            << "good.xml" << int(QMessageBox::RejectRole) << QStringList { "Save option" } << standard << false;
        QTest::newRow("store locked") << "good.xml" << no << QStringList { "Save option", "Phonebook store" }
                                      << standard << true;
    }

    void history()
    {
        QFETCH(QString, file);
        QFETCH(int, answer);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, names);
        QFETCH(bool, locked);
        Window w;
        std::unique_ptr<LockHolder> other;
        if (locked) {
            other = std::make_unique<LockHolder>();
            QVERIFY(other->locked());
            FolderLock::setWaitMsecs(200);
        }
        w.folder.write("bad.xml", "<AddressBook><Contact>");
        w.folder.write("good.xml",
            "<AddressBook><Contact><FirstName>Zed</FirstName></Contact>"
            "<Contact><FirstName>Ann</FirstName></Contact></AddressBook>");
        w.window->setSaved(false);
        BoxAnswerer answerer { QMessageBox::ButtonRole(answer) };
        chooseInFileDialog(file.isEmpty() ? QString() : w.folder.file(file));
        w.window->showHistory();
        FolderLock::setWaitMsecs(5000);
        QCOMPARE(answerer.titles(), boxes);
        if (locked)
            QVERIFY2(answerer.boxes.last().text.startsWith("The phonebook could not be written to phonebook.db (The "
                                                           "phonebook in"),
                qPrintable(answerer.boxes.last().text));
        QCOMPARE(w.shownNames(), names);
        QCOMPARE(int(mgr()->phonebook().contacts().size()), int(names.size()));
        QVERIFY(!w.window->isSaved()); // History leaves the flag alone
    }

    void backup_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow(".csv") << "a.csv"
                              << "a.xml";
        QTest::newRow(".vcf") << "b.vcf"
                              << "b.xml";
        QTest::newRow(".xml") << "c.xml"
                              << "c.xml";
        QTest::newRow(".txt") << "d.txt"
                              << "d.txt.xml";
        QTest::newRow("two endings") << "e.csv.xml"
                                     << "e.csv.xml";
    }

    void backup()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        Window w;
        BoxAnswerer boxes;
        chooseInFileDialog(w.folder.file("backup/" + typed));
        w.window->showBackupWindow();
        QCOMPARE(boxes.titles(), QStringList({ "Backup Option" }));
        QCOMPARE(boxes.boxes.first().text,
            QString("The phonebook has been backed up to %1.").arg(w.folder.file("backup/" + written)));
        QCOMPARE(filesIn(w.folder.file("backup")), QStringList({ written }));
        QVERIFY(w.folder.read("backup/" + written).contains("<FirstName>Bob</FirstName>"));
        QVERIFY(w.window->isSaved());
    }

    void backupBeforeAnySaveKeepsTheGroups()
    {
        Window w;
        BoxAnswerer boxes;
        chooseInFileDialog(w.folder.file("backup/early.xml"));
        w.window->showBackupWindow();
        chooseInFileDialog(w.folder.file("backup/early.xml"));
        w.window->showHistory();
        QCOMPARE(boxes.titles(), QStringList({ "Backup Option" }));
        QVERIFY(TestUtil::groupIndex("Golf") > 0);
        QCOMPARE(w.byName("Anna").GroupList, QStringList({ "Golf", "Chess" }));
        QCOMPARE(w.byName("Bob").GroupList, QStringList({ "Chess" }));
        w.selectGroup("Chess");
        QCOMPARE(w.shownNames(), QStringList({ "Anna McLee", "Bob Ray" }));
    }

    void backupFailureIsReported()
    {
        Window w;
        QDir().mkpath(w.folder.file("backup/taken.xml")); // a folder where the file should go
        BoxAnswerer boxes;
        chooseInFileDialog(w.folder.file("backup/taken"));
        w.window->showBackupWindow();
        QCOMPARE(boxes.titles(), QStringList({ "Backup Option" }));
        // The box names the file that could not be written.
        const QString text = boxes.boxes.first().text;
        QVERIFY2(text.startsWith("Backup failed, please check the folder and try again.\n")
                && text.contains(QDir::toNativeSeparators(w.folder.file("backup/taken.xml"))),
            qPrintable(text));
    }
};

QTEST_MAIN(TestFileCommands)
#include "TestFileCommands.moc"
