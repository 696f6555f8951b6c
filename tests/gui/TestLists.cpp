// The group and contact lists in the main window: groups added and renamed in
// place, contacts ordered and found by their pinyin key, batch mode.

#include "tests/gui/ListWindow.h"
#include "widgets/AddNewGroupDialog.h"
#include "widgets/GroupModel.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using namespace ListWindow;
using GuiTestUtil::answerNextDialog;
using GuiTestUtil::clickRow;

namespace {

// Answers the add-group dialog: types `name` (unless empty) and presses "Add",
// or presses "Close" when `name` is null.
void answerAddGroup(const QString &name, QString *proposed = nullptr)
{
    answerNextDialog([name, proposed](QWidget *w) {
        auto *dialog = qobject_cast<AddNewGroupDialog *>(w);
        QVERIFY(dialog);
        if (proposed)
            *proposed = dialog->lineEdit()->text();
        if (name.isNull()) {
            dialog->reject();
            return;
        }
        if (!name.isEmpty())
            dialog->lineEdit()->setText(name);
        dialog->accept();
    });
}

void pressAddGroupRow(const Window &w)
{
    clickRow(w.groups(), w.groupRow(QStringLiteral("Add group")));
}

} // namespace

class TestLists : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void modelsStayConsistent()
    {
        Window w;
        for (QAbstractItemModel *model :
            { static_cast<QAbstractItemModel *>(w.groups()->groupModel()), w.groups()->model() })
            new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::QtTest, w.window);
        new QAbstractItemModelTester(
            w.contacts()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest, w.window);
        w.selectGroup("Golf");
        w.selectGroup("Blacklist");
        w.selectGroup("All");
        w.clickContact("BobRay");
        // An edit that moves the contact to the end of the order.
        w.find<QLineEdit>("first_name_edit")->setText("Zu");
        w.clickContact("AnnaMcLee");
        QTRY_COMPARE(w.shownNames().last(), QString("ZuRay"));
        w.find<QPushButton>("batch_button")->click();
        w.clickContact("AnnaMcLee");
        w.find<QPushButton>("batch_button")->click();
        TestUtil::addGroup("Tennis");
        mgr()->phonebook().deleteContacts({ 0 });
        mgr()->phonebookChanged();
    }

    void addGroupRow_data()
    {
        QTest::addColumn<QString>("taken");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("proposal");
        QTest::addColumn<QStringList>("groups");
        const QStringList base { "All", "Default", "Golf", "Chess" };
        const QStringList tail { "Add group", "Blacklist" };
        QTest::newRow("cancelled") << QString() << QString() << "new1" << base + tail;
        QTest::newRow("proposal accepted") << QString() << ""
                                           << "new1" << base + QStringList { "new1" } + tail;
        QTest::newRow("proposal skips a taken name")
            << "new1"
            << ""
            << "new2" << QStringList { "All", "Default", "Golf", "Chess", "new1", "new2" } + tail;
        QTest::newRow("own name") << QString() << "Tennis"
                                  << "new1" << base + QStringList { "Tennis" } + tail;
    }

    void addGroupRow()
    {
        QFETCH(QString, taken);
        QFETCH(QString, typed);
        QFETCH(QString, proposal);
        QFETCH(QStringList, groups);
        Window w;
        if (!taken.isEmpty())
            TestUtil::addGroup(taken);
        QString proposed;
        answerAddGroup(typed, &proposed);
        pressAddGroupRow(w);
        QCOMPARE(proposed, proposal);
        QCOMPARE(w.groupRows(), groups);
        QCOMPARE(w.window->isSaved(), typed.isNull());
    }

    void addGroupRefusesRepeatedName()
    {
        Window w;
        TestUtil::RecordingNotifier notes;
        answerAddGroup("Golf");
        answerNextDialog([](QWidget *dialog) { QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection); });
        pressAddGroupRow(w);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(notes.entries.size(), 1);
        QCOMPARE(notes.entries.first().text, QString("Group name cannot be repeated!"));
        QCOMPARE(w.groupRows().count("Golf"), 1);
    }

    void renameInPlace_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("message");
        QTest::newRow("user group") << "Golf"
                                    << "Putting" << true << "Putting" << QString();
        QTest::newRow("repeated name") << "Golf"
                                       << "Chess" << true << "Golf"
                                       << "Group name cannot be repeated!";
        QTest::newRow("All") << "All"
                             << "x" << false << "All" << QString();
        QTest::newRow("Default") << "Default"
                                 << "x" << false << "Default" << QString();
        QTest::newRow("Blacklist") << "Blacklist"
                                   << "x" << false << "Blacklist" << QString();
    }

    void renameInPlace()
    {
        QFETCH(QString, group);
        QFETCH(QString, typed);
        QFETCH(bool, editable);
        QFETCH(QString, result);
        QFETCH(QString, message);
        Window w;
        TestUtil::RecordingNotifier notes;
        const int row = w.groupRow(group);
        const QPoint at = w.groups()->visualRect(w.groups()->model()->index(row, 2)).center();
        QTest::mouseClick(w.groups()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(w.groups()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        auto *editor = w.groups()->findChild<QLineEdit *>("group_name_editor");
        QCOMPARE(editor != nullptr && editor->isVisible(), editable);
        if (editor) {
            editor->setText(typed);
            QPointer<QLineEdit> open = editor;
            QTest::keyClick(editor, Qt::Key_Return);
            // The delegate commits on the next turn of the event loop.
            QTRY_VERIFY(!open || !open->isVisible());
        }
        QCOMPARE(GroupModel::rowName(row), result);
        QCOMPARE(notes.entries.isEmpty() ? QString() : notes.entries.first().text, message);
        if (result != group) {
            QCOMPARE(w.byName("Anna").GroupList, QStringList({ result, "Chess" }));
            QVERIFY(!w.window->isSaved());
        }
    }

    void contactsOrderedByPinyin()
    {
        Window w;
        QCOMPARE(w.shownNames(), QStringList({ "AnnaMcLee", "BobRay", "李四", "张三" }));
        w.selectGroup("Golf");
        QCOMPARE(w.shownNames(), QStringList({ "AnnaMcLee", "张三" }));
        QCOMPARE(w.find<QLabel>("contact_title_label")->text(), QString("    Golf    "));
    }

    void search_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("initials") << "ZS" << QStringList { "张三" };
        QTest::newRow("pinyin in lower case") << "zhang" << QStringList { "张三" };
        QTest::newRow("part of a key") << "a" << QStringList { "AnnaMcLee", "BobRay", "张三" };
        QTest::newRow("displayed name when no key has it") << "四" << QStringList { "李四" };
        QTest::newRow("nothing") << "qqq" << QStringList();
    }

    void search()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        Window w;
        w.selectGroup("Chess");
        SearchEdit *edit = w.window->searchEdit();
        edit->setFocus();
        edit->insert(typed);
        // A search looks through every group.
        QCOMPARE(w.groups()->currentGroupRow(), 0);
        QCOMPARE(w.shownNames(), found);
        QCOMPARE(w.detailEmpty(), found.isEmpty());
    }

    void placeholderDoesNotFilter()
    {
        Window w;
        SearchEdit *edit = w.window->searchEdit();
        QVERIFY(!edit->isActive());
        QCOMPARE(edit->text(), QString("Enter contact's name to search"));
        QCOMPARE(w.shownNames().size(), 4);
        edit->setFocus();
        QTest::keyClicks(edit, "Bob");
        QCOMPARE(w.shownNames(), QStringList({ "BobRay" }));
        edit->clear();
        w.clickContact("BobRay"); // the edit loses the focus and shows its hint again
        QTRY_VERIFY(!edit->isActive());
        QCOMPARE(w.shownNames().size(), 4);
    }

    void emptyGroupShowsPicture()
    {
        Window w;
        QVERIFY(!w.detailEmpty());
        w.selectGroup("Blacklist");
        QVERIFY(w.detailEmpty());
        QVERIFY(w.find<QLabel>("nobody_picture"));
    }

    void scrolledByDraggingToEitherEnd()
    {
        Window w([] {
            for (int i = 0; i < 40; ++i)
                TestUtil::addContact(TestUtil::contact(QStringLiteral("C%1").arg(i, 2, 10, QLatin1Char('0')), "X"));
        });
        QSignalSpy bottomed(w.contacts(), &UniView::bottomed);
        QSignalSpy topped(w.contacts(), &UniView::topped);
        QScrollBar *bar = w.contacts()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum() / 2);
        QCOMPARE(bottomed.size() + topped.size(), 0);
        bar->setValue(bar->maximum());
        QCOMPARE(bottomed.size(), 1);
        bar->setValue(0);
        QCOMPARE(topped.size(), 1);
        // Dragging the list up by 100 pixels scrolls it down by as much.
        QWidget *viewport = w.contacts()->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(100, 300));
        QTest::mouseMove(viewport, QPoint(100, 200));
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(100, 200));
        QCOMPARE(bar->value(), 100);
    }

    void batchModeTicksAndLeavingClearsEveryTick()
    {
        Window w;
        auto *batch = w.find<QPushButton>("batch_button");
        QTest::keyClick(w.window, Qt::Key_M, Qt::ControlModifier);
        QTRY_COMPARE(batch->text(), QString("Cancel Batch"));
        w.clickContact("BobRay");
        w.clickContact("张三");
        w.clickContact("张三");
        w.clickContact("AnnaMcLee");
        QVERIFY(w.ticked("Bob"));
        QVERIFY(!w.ticked(QString::fromUtf8("张")));
        // A tick in another group goes too.
        w.selectGroup("Golf");
        QTest::keyClick(w.window, Qt::Key_M, Qt::ControlModifier);
        QTRY_COMPARE(batch->text(), QString("Batch"));
        QCOMPARE(w.contacts()->contactModel()->tickedPositions(), QList<int>());
    }

    void ticksStayWithTheirContacts()
    {
        Window w;
        w.find<QPushButton>("batch_button")->click();
        w.clickContact("BobRay");
        // A contact before Bob in the list goes: the tick stays on Bob.
        mgr()->phonebook().deleteContacts({ 0 });
        mgr()->phonebookChanged();
        QVERIFY(w.ticked("Bob"));
        QCOMPARE(w.contacts()->contactModel()->tickedPositions().size(), 1);
        // Another phonebook in its place comes without ticks, whatever its ids.
        const Phonebook copy = mgr()->phonebook();
        mgr()->takePhonebook(copy.contacts(), copy.groups());
        QVERIFY(!w.ticked("Bob"));
        QVERIFY(w.contacts()->contactModel()->tickedPositions().isEmpty());
    }
};

QTEST_MAIN(TestLists)
#include "TestLists.moc"
