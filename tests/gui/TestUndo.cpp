// Undo and redo of every kind of command, the unsaved state that follows them,
// and the keys of the Edit menu with the focus in the lists or in a line edit.

#include "app/EditHistory.h"
#include "data/RecordCompare.h"
#include "export/ExportFactory.h"
#include "tests/gui/ListWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUndoStack>
#include <QtTest>

using namespace ListWindow;
using GuiTestUtil::BoxAnswerer;

namespace {

// Everything of the data manager's phonebook an undo has to bring back.
struct Lists {
    QList<ContactInfo> contacts;
    QList<GroupInfo> groups;
    int nextContactId = 0;
    int nextGroupId = 0;
};

Lists lists()
{
    const Phonebook &book = mgr()->phonebook();
    return { book.contacts(), book.groups(), book.nextContactId(), book.nextGroupId() };
}

// Empty when equal; otherwise what differs first.
QString difference(const Lists &want, const Lists &got)
{
    if (want.contacts.size() != got.contacts.size())
        return QStringLiteral("%1 contacts instead of %2").arg(got.contacts.size()).arg(want.contacts.size());
    for (int i = 0; i < want.contacts.size(); ++i) {
        if (want.contacts[i] != got.contacts[i])
            return QStringLiteral("contact %1 (%2) differs").arg(i).arg(want.contacts[i].FirstName);
    }
    if (want.groups != got.groups)
        return QStringLiteral("the groups differ");
    if (want.nextContactId != got.nextContactId || want.nextGroupId != got.nextGroupId)
        return QStringLiteral("the counters differ");
    return QString();
}

QAction *action(const Window &w, const char *name)
{
    return w.find<QAction>(QString::fromLatin1(name));
}

QLineEdit *edit(const Window &w, const char *name)
{
    return w.find<QLineEdit>(QString::fromLatin1(name));
}

// A key as the user types it: to the widget with the focus.
void key(const Window &w, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget();
    QTest::keyClick(target ? target : w.window.data(), k, modifiers);
}

// The standard phonebook as one read from the store: every derived field set,
// so that committing an untouched contact changes nothing.
void storedPhonebook()
{
    standardPhonebook();
    const Phonebook book = mgr()->phonebook();
    mgr()->takePhonebook(book.contacts(), book.groups());
}

const QByteArray kImported = "<AddressBook><Contact><FirstName>Ann</FirstName><LastName>Lee</LastName></Contact>"
                             "<Contact><FirstName>Bob</FirstName><LastName>Ray</LastName></Contact></AddressBook>";

// Runs the command `name` through the window as a user would; `steps` is the
// number of undo steps it took.
void runCommand(const Window &w, const QString &name, int *steps)
{
    *steps = 1;
    if (name == "add group") {
        w.window->addNewGroup(QStringLiteral("Tennis"));
    } else if (name == "rename group") {
        QAbstractItemModel *model = w.groups()->model();
        model->setData(model->index(w.groupRow("Golf"), 2), QStringLiteral("Darts"));
    } else if (name == "delete group" || name == "dissolve group") {
        w.selectGroup("Golf");
        trigger(w.groupMenu("Golf"), name == "delete group" ? "delete_group" : "dissolve_group");
    } else if (name == "add contact") {
        w.selectGroup("Chess");
        w.window->addNewContactToGroup();
        edit(w, "first_name_edit")->setText(QStringLiteral("Zed"));
        w.window->commitDetail();
        *steps = 2;
    } else if (name == "edit contact") {
        w.clickContact("Bob Ray");
        edit(w, "first_name_edit")->setText(QStringLiteral("Robert"));
        w.clickContact("Anna McLee");
    } else if (name == "move contact" || name == "copy contact") {
        w.selectGroup("Golf");
        const bool move = name == "move contact";
        trigger(w.contactMenu("Anna McLee"), move ? "Chess" : "Blacklist", move ? "move_menu" : "copy_menu");
    } else if (name == "remove contact" || name == "delete contact") {
        w.selectGroup("Golf");
        trigger(w.contactMenu("Anna McLee"), name == "remove contact" ? "remove_contact" : "delete_contact");
    } else if (name == "delete ticked by keys") {
        w.selectGroup("Chess");
        w.clickContact("Bob Ray");
        key(w, Qt::Key_A, Qt::ControlModifier);
        key(w, Qt::Key_Delete);
    } else if (name == "import" || name == "import of its own export, replacing") {
        const bool own = name != "import";
        if (own)
            QVERIFY(
                mgr()->exportTo(ExportFactory::UniXml, "UTF-8", "book", QFileInfo(w.folder.file("book.xml")).path()));
        else
            w.folder.write("book.xml", kImported);
        // Its own export twice: the second time every contact is replaced by an
        // equal one of another id.
        *steps = own ? 2 : 1;
        for (int i = 0; i < *steps; ++i) {
            w.find<QPushButton>("tool_importLabel")->click();
            edit(w, "import_path_edit")->setText(w.folder.file("book.xml"));
            if (own)
                w.find<QCheckBox>("import_replace_yes")->setChecked(true);
            BoxAnswerer boxes;
            w.find<QPushButton>("import_ok_button")->click();
            QTRY_VERIFY(!w.find<QDialog>("import_dialog"));
        }
    }
}

} // namespace

class TestUndo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void undoRedoRestoresLists_data()
    {
        QTest::addColumn<QString>("command");
        for (const char *command : { "add group", "rename group", "delete group", "dissolve group", "add contact",
                 "edit contact", "move contact", "copy contact", "remove contact", "delete contact",
                 "delete ticked by keys", "import", "import of its own export, replacing" })
            QTest::newRow(command) << QString::fromLatin1(command);
    }
    void undoRedoRestoresLists()
    {
        QFETCH(QString, command);
        Window w;
        const Lists before = lists();
        QVERIFY(w.window->isSaved());
        int steps = 0;
        runCommand(w, command, &steps);
        const Lists after = lists();
        QVERIFY2(!difference(before, after).isEmpty(), "the command changed nothing");
        QVERIFY(!w.window->isSaved());
        QVERIFY(w.window->isWindowModified());
        for (int i = 0; i < steps; ++i)
            action(w, "undo")->trigger();
        QVERIFY2(difference(before, lists()).isEmpty(), qPrintable(difference(before, lists())));
        // Back at the saved state: nothing to save. An import wrote the store,
        // which undo does not take back: that is for the next save.
        const bool storeWritten = command.startsWith("import");
        QCOMPARE(w.window->isSaved(), !storeWritten);
        QCOMPARE(w.window->isWindowModified(), storeWritten);
        for (int i = 0; i < steps; ++i)
            action(w, "redo")->trigger();
        QVERIFY2(difference(after, lists()).isEmpty(), qPrintable(difference(after, lists())));
        QVERIFY(!w.window->isSaved());
    }

    // Saving marks the state clean without losing the history; opening another
    // phonebook drops it.
    void cleanStateFollowsSave()
    {
        Window w;
        w.window->addNewGroup(QStringLiteral("Tennis"));
        {
            BoxAnswerer boxes;
            QVERIFY(w.window->saveFile());
        }
        QVERIFY(w.window->isSaved());
        action(w, "undo")->trigger();
        QCOMPARE(w.groupRow("Tennis"), -1);
        QVERIFY(!w.window->isSaved());
        action(w, "redo")->trigger();
        QVERIFY(w.groupRow("Tennis") >= 0);
        QVERIFY(w.window->isSaved());
        BoxAnswerer boxes(QMessageBox::NoRole);
        w.window->constructNewFile();
        QVERIFY(!w.window->editHistory()->stack()->canUndo());
        QVERIFY(!action(w, "undo")->isEnabled());
    }

    // Keys with the focus in a line edit: the field's own meaning first.
    void keysInLineEdit_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("textAfter");
        QTest::addColumn<bool>("groupUndone");
        QTest::newRow("Ctrl+Z undoes typing first") << "first_name_edit"
                                                    << "x,undo"
                                                    << "Bob" << false;
        QTest::newRow("Ctrl+Z with nothing typed undoes the command") << "first_name_edit"
                                                                      << "undo"
                                                                      << "Bob" << true;
        QTest::newRow("Ctrl+Z twice: typing, then the command") << "first_name_edit"
                                                                << "x,undo,undo"
                                                                << "Bob" << true;
        QTest::newRow("Delete stays in the field") << "first_name_edit"
                                                   << "home,delete"
                                                   << "ob" << false;
        QTest::newRow("Esc clears the search") << "contact_search_edit"
                                               << "find,x,esc"
                                               << "" << false;
    }
    void keysInLineEdit()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, textAfter);
        QFETCH(bool, groupUndone);
        Window w(storedPhonebook);
        w.window->addNewGroup(QStringLiteral("Tennis"));
        w.selectGroup("Chess");
        w.clickContact("Bob Ray");
        QLineEdit *start = edit(w, "first_name_edit");
        start->setFocus();
        QTRY_VERIFY(start->hasFocus());
        const int contacts = int(mgr()->phonebook().contacts().size());
        for (const QString &k : typed.split(',')) {
            if (k == "undo")
                key(w, Qt::Key_Z, Qt::ControlModifier);
            else if (k == "delete")
                key(w, Qt::Key_Delete);
            else if (k == "home")
                key(w, Qt::Key_Home);
            else if (k == "find")
                key(w, Qt::Key_F, Qt::ControlModifier);
            else if (k == "esc")
                key(w, Qt::Key_Escape);
            else
                QTest::keyClicks(QApplication::focusWidget(), k);
        }
        QLineEdit *target = edit(w, qPrintable(field));
        QVERIFY(target->hasFocus());
        QCOMPARE(target->text(), textAfter);
        QCOMPARE(w.groupRow("Tennis") < 0, groupUndone);
        QCOMPARE(mgr()->phonebook().contacts().size(), contacts);
        if (field == "contact_search_edit")
            QCOMPARE(w.shownNames().size(), contacts);
    }

    void deleteKeyAnnouncesUndo()
    {
        Window w;
        w.clickContact("Bob Ray");
        key(w, Qt::Key_Delete);
        QVERIFY(w.byName("Bob").FirstName.isEmpty());
        auto *notice = w.find<QLabel>("deletion_notice");
        QVERIFY(notice->isVisible());
        QVERIFY(notice->text().startsWith("Deleted 1 contact "));
        emit notice->linkActivated(QStringLiteral("undo"));
        QCOMPARE(w.byName("Bob").LastName, QString("Ray"));
        QVERIFY(!notice->isVisible());
    }

    void confirmation_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<bool>("dontAsk");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("cancel") << false << false << QByteArray("<ConfirmDelete>1</ConfirmDelete>");
        QTest::newRow("delete") << true << false << QByteArray("<ConfirmDelete>1</ConfirmDelete>");
        QTest::newRow("delete, don't ask again") << true << true << QByteArray("<ConfirmDelete>0</ConfirmDelete>");
    }
    void confirmation()
    {
        QFETCH(bool, accept);
        QFETCH(bool, dontAsk);
        QFETCH(QByteArray, stored);
        Window w;
        // A file from before the switch existed: it is added when turned on.
        w.folder.write("language/options.xml", "<root>\n    <AutoStart>0</AutoStart>\n</root>\n");
        action(w, "confirm delete")->trigger();
        w.selectGroup("Chess");
        w.clickContact("Bob Ray");
        QStringList asked;
        GuiTestUtil::answerNextDialog([&](QWidget *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            QVERIFY(box);
            asked << box->text();
            box->checkBox()->setChecked(dontAsk);
            for (QAbstractButton *b : box->buttons()) {
                if (box->buttonRole(b) == (accept ? QMessageBox::AcceptRole : QMessageBox::RejectRole))
                    b->click();
            }
        });
        key(w, Qt::Key_A, Qt::ControlModifier);
        key(w, Qt::Key_Delete);
        QCOMPARE(asked, QStringList { "Delete 2 contacts?" });
        QCOMPARE(w.byName("Bob").LastName.isEmpty(), accept);
        QCOMPARE(action(w, "confirm delete")->isChecked(), !dontAsk);
        QVERIFY(w.folder.read("language/options.xml").contains(stored));
    }
};

QTEST_MAIN(TestUndo)
#include "TestUndo.moc"
