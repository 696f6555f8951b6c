// Unsaved edits survive the editor being ended from outside (a real signal, the
// end of the desktop session), and a saved phonebook is never out of sight.

#include "data/RecoveryCopy.h"
#include "tests/gui/ListWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <csignal>
#include <unistd.h>

using namespace ListWindow;
using GuiTestUtil::BoxAnswerer;

namespace {

const QStringList kStandard { "Anna McLee", "Bob Ray", "李四", "张三" };

// The standard phonebook saved in the store, the working one as saved.
void savedPhonebook()
{
    standardPhonebook();
    QVERIFY(mgr()->saveToDatabase());
}

// Bob renamed in the detail editor, not yet committed to the lists.
void renameBob(const Window &w)
{
    w.clickContact("Bob Ray");
    w.find<QLineEdit>("first_name_edit")->setText("Robert");
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void signalKeepsUnsavedEdits_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("edit");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("copyLeft");
        const QStringList renamed { "Anna McLee", "李四", "Robert Ray", "张三" };
        QTest::newRow("SIGTERM, restored") << SIGTERM << true << int(QMessageBox::AcceptRole) << renamed << false;
        QTest::newRow("SIGHUP, discarded")
            << SIGHUP << true << int(QMessageBox::DestructiveRole) << QStringList() << false;
        QTest::newRow("SIGTERM, later") << SIGTERM << true << int(QMessageBox::RejectRole) << QStringList() << true;
        QTest::newRow("nothing unsaved") << SIGTERM << false << -1 << QStringList() << false;
    }

    void signalKeepsUnsavedEdits()
    {
        QFETCH(int, signalNumber);
        QFETCH(bool, edit);
        QFETCH(int, answer);
        QFETCH(QStringList, names);
        QFETCH(bool, copyLeft);
        Window w(savedPhonebook);
        if (edit)
            renameBob(w);
        QDir().mkpath(w.folder.file("HTTPD/Birch"));
        const QByteArray store = w.folder.read("phonebook.db");

        ::kill(::getpid(), signalNumber);
        QTRY_VERIFY(!w.window);
        QVERIFY(!QDir(w.folder.file("HTTPD")).exists()); // the exit cleanup ran
        QCOMPARE(QFile::exists(RecoveryCopy::path()), edit);

        // The next start, with Recovery Data off.
        QVERIFY(DataMgr::instance()->openStore());
        mgr()->clearPhonebook();
        BoxAnswerer boxes { QMessageBox::ButtonRole(answer) };
        w.window = new MainWindow;
        QCOMPARE(boxes.titles(), edit ? QStringList { "Unsaved edits" } : QStringList());
        if (edit)
            QVERIFY(boxes.boxes.first().text.contains("(4 contacts)"));
        QCOMPARE(w.shownNames(), names);
        QCOMPARE(w.window->isSaved(), names.isEmpty());
        QCOMPARE(QFile::exists(RecoveryCopy::path()), copyLeft);
        QCOMPARE(w.folder.read("phonebook.db"), store); // the saved phonebook is not touched
    }

    void sessionEnd_data()
    {
        QTest::addColumn<bool>("mayAsk");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("ends");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("no interaction") << false << -1 << true << true << QStringList();
        QTest::newRow("Save") << true << int(QMessageBox::YesRole) << true << false
                              << QStringList { "Exit program", "Save Box" };
        QTest::newRow("Cancel") << true << int(QMessageBox::RejectRole) << false << false
                                << QStringList { "Exit program" };
    }

    void sessionEnd()
    {
        QFETCH(bool, mayAsk);
        QFETCH(int, answer);
        QFETCH(bool, ends);
        QFETCH(bool, copy);
        QFETCH(QStringList, boxes);
        Window w;
        renameBob(w);
        BoxAnswerer answerer { QMessageBox::ButtonRole(answer) };
        QCOMPARE(w.window->commitSession(mayAsk), ends);
        QCOMPARE(answerer.titles(), boxes);
        QCOMPARE(QFile::exists(RecoveryCopy::path()), copy);
        QCOMPARE(TestUtil::loadedContacts().size(), answer == QMessageBox::YesRole ? 4 : 0);

        // The session then closes the window: asked already, it asks no more.
        w.window->close();
        QCOMPARE(answerer.boxes.size(), boxes.size() + (ends ? 0 : 1));
        QTRY_COMPARE(w.window.isNull(), ends);
    }

    void emptyPanelOffersTheSavedPhonebook()
    {
        Window w([] {
            savedPhonebook();
            mgr()->clearPhonebook();
            QFile store(DataMgr::instance()->storePath());
            QVERIFY(store.open(QIODevice::ReadOnly));
            QVERIFY(store.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(14, 30)), QFileDevice::FileModificationTime));
        });
        QVERIFY(w.shownNames().isEmpty());
        const QString offer = w.find<QLabel>("nobody_hint")->text();
        QVERIFY2(offer.contains("4 contacts") && offer.contains("3/5/24"), qPrintable(offer));

        QTest::mouseClick(w.find<QPushButton>("open_saved_button"), Qt::LeftButton);
        QCOMPARE(w.shownNames(), kStandard);
        QVERIFY(w.window->isSaved());

        // New empties the store too: nothing is left to offer.
        w.window->constructNewFile();
        QTRY_VERIFY(!w.find<QPushButton>("open_saved_button"));
    }
};

QTEST_MAIN(TestRecovery)
#include "TestRecovery.moc"
