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

// Types `text` into the search field as a user does.
SearchEdit *typeSearch(const Window &w, const char *text)
{
    SearchEdit *edit = w.window->searchEdit();
    edit->setFocus();
    QTest::keyClicks(edit, text);
    return edit;
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
        w.clickContact("Bob Ray");
        // An edit that moves the contact to the end of the order.
        w.find<QLineEdit>("first_name_edit")->setText("Zu");
        w.clickContact("Anna McLee");
        QTRY_COMPARE(w.shownNames().last(), QString("Zu Ray"));
        w.find<QPushButton>("batch_button")->click();
        w.clickContact("Anna McLee");
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
        QTest::newRow("repeated name in another case") << "Golf"
                                                       << "chess" << true << "Golf"
                                                       << "Group name cannot be repeated!";
        QTest::newRow("own name in another case") << "Golf"
                                                  << "GOLF" << true << "GOLF" << QString();
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
        Window w([] {
            using namespace TestUtil;
            addGroup(QStringLiteral("Golf"));
            addContact(contact(QStringLiteral("Zhao"), QStringLiteral("Li")));
            addContact(contact(QStringLiteral("三"), QStringLiteral("张"), {}, {}, { "Golf" }));
            addContact(contact(QStringLiteral("Ольга"), QStringLiteral("Иванова")));
            addContact(contact(QStringLiteral("Anna"), QStringLiteral("Bell"), {}, {}, { "Golf" }));
            addContact(contact(QStringLiteral("四"), QStringLiteral("李")));
            addContact(contact(QStringLiteral("Ann"), QStringLiteral("Lee")));
        });
        // Given name, then family name: Ann Lee before Anna Bell; 张三 reads zhang san.
        QCOMPARE(w.shownNames(),
            QStringList({ "Ann Lee", "Anna Bell", "李四", "张三", "Zhao Li", QStringLiteral("Ольга Иванова") }));
        w.selectGroup("Golf");
        QCOMPARE(w.shownNames(), QStringList({ "Anna Bell", "张三" }));
        QCOMPARE(w.find<QLabel>("contact_title_label")->text(), QString("    Golf    "));
        w.clickContact("张三");
        QCOMPARE(w.find<QLabel>("detail_title_label")->text().trimmed(), QString("张三"));
    }

    void search_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        const QStringList zhang { "张三" };
        const QStringList anna { "Anna McLee" };
        QTest::newRow("pinyin, family name first") << "zhangsan" << zhang;
        QTest::newRow("initials, family name first") << "ZS" << zhang;
        QTest::newRow("pinyin, given name first") << "sanzhang" << zhang;
        QTest::newRow("initials, given name first") << "sz" << zhang;
        QTest::newRow("pinyin with a space") << "Zhang San" << zhang;
        QTest::newRow("characters") << "张三" << zhang;
        QTest::newRow("characters, given name first") << "三张" << zhang;
        QTest::newRow("latin with a space") << "Anna McLee" << anna;
        QTest::newRow("latin without a space") << "annamclee" << anna;
        QTest::newRow("latin, family name first") << "McLee Anna" << anna;
        QTest::newRow("number as written") << "+86 (10) 1234-5678" << zhang;
        QTest::newRow("part of a number, with a dash") << "1234-5678" << zhang;
        QTest::newRow("number with dots") << "555.123" << anna;
        QTest::newRow("digits of two numbers") << "00" << QStringList { "Bob Ray", "李四" };
        QTest::newRow("part of a key") << "a" << QStringList { "Anna McLee", "Bob Ray", "张三" };
        QTest::newRow("nothing") << "qqq" << QStringList();
    }

    void search()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        Window w([] {
            using namespace TestUtil;
            addGroup(QStringLiteral("Chess"));
            addContact(contact(QStringLiteral("三"), QStringLiteral("张"), { phone("Work", "+86 (10) 1234-5678") }));
            addContact(contact(QStringLiteral("Anna"), QStringLiteral("McLee"), { phone("Home", "555.123.4567") }));
            addContact(contact(QStringLiteral("四"), QStringLiteral("李"), { phone("Mobile", "300") }));
            addContact(
                contact(QStringLiteral("Bob"), QStringLiteral("Ray"), { phone("Work", "400") }, {}, { "Chess" }));
        });
        w.selectGroup("Chess");
        SearchEdit *edit = w.window->searchEdit();
        edit->setFocus();
        // Typed as an input method would give it: key events carry no hanzi.
        edit->insert(typed);
        // A search looks through every group.
        QCOMPARE(w.groups()->currentGroupRow(), 0);
        QCOMPARE(w.shownNames(), found);
        QCOMPARE(w.detailEmpty(), found.isEmpty());
        if (found.isEmpty())
            QCOMPARE(w.find<QLabel>("nobody_title")->text(), QString("No contact matches"));
    }

    void surnamesSortAndAnyReadingFinds_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        // 曾 as Zeng between 陈 and 张; 单 as a family name Shan, in a given name Dan.
        QTest::newRow("no search") << "" << QStringList { "陈四", "单三", "王单", "曾三", "张三", "中国银行长沙分行" };
        QTest::newRow("shan") << "shan" << QStringList { "单三", "王单" };
        QTest::newRow("dan") << "dan" << QStringList { "单三", "王单" };
        QTest::newRow("ceng") << "ceng" << QStringList { "曾三" };
        QTest::newRow("a rarer reading of a long name") << "changsha" << QStringList { "中国银行长沙分行" };
    }

    void surnamesSortAndAnyReadingFinds()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        Window w([] {
            using TestUtil::addContact;
            using TestUtil::contact;
            for (const char *name : { "张三", "曾三", "陈四", "单三" })
                addContact(contact(QString::fromUtf8(name).mid(1), QString::fromUtf8(name).left(1)));
            addContact(contact(QStringLiteral("单"), QStringLiteral("王")));
            addContact(contact(QStringLiteral("中国银行长沙分行"), QString()));
        });
        if (!typed.isEmpty()) {
            w.window->searchEdit()->setFocus();
            w.window->searchEdit()->insert(typed);
        }
        QCOMPARE(w.shownNames(), found);
    }

    void choosingAGroupClearsTheSearch()
    {
        Window w;
        SearchEdit *edit = typeSearch(w, "zs");
        QCOMPARE(w.shownNames(), QStringList({ "张三" }));
        clickRow(w.groups(), w.groupRow("Chess"), 2);
        QVERIFY(!edit->isActive());
        QCOMPARE(edit->text(), QString("Enter contact's name to search"));
        QCOMPARE(w.shownNames(), QStringList({ "Anna McLee", "Bob Ray" }));
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
        QCOMPARE(w.shownNames(), QStringList({ "Bob Ray" }));
        edit->clear();
        w.clickContact("Bob Ray"); // the edit loses the focus and shows its hint again
        QTRY_VERIFY(!edit->isActive());
        QCOMPARE(w.shownNames().size(), 4);
    }

    // An import takes the list's keys anew: the new contacts sort and are found
    // like the others, after a search made before it.
    void importedContactsSortAndAreFound()
    {
        Window w;
        SearchEdit *edit = typeSearch(w, "zs");
        QCOMPARE(w.shownNames(), QStringList({ "张三" }));
        w.folder.write("book.xml",
            "<AddressBook><Contact><FirstName>四</FirstName><LastName>赵</LastName></Contact>"
            "<Contact><FirstName>Abe</FirstName><LastName>Zed</LastName></Contact></AddressBook>");
        w.find<QPushButton>("tool_importLabel")->click();
        w.find<QLineEdit>("import_path_edit")->setText(w.folder.file("book.xml"));
        {
            GuiTestUtil::BoxAnswerer boxes;
            w.find<QPushButton>("import_ok_button")->click();
            QTRY_VERIFY(!w.find<QDialog>("import_dialog"));
        }
        QCOMPARE(w.shownNames(), QStringList({ "张三", "赵四" }));
        edit->clear();
        QCOMPARE(w.shownNames(), QStringList({ "Abe Zed", "Anna McLee", "Bob Ray", "李四", "张三", "赵四" }));
    }

    void emptyGroupShowsPicture()
    {
        Window w;
        QVERIFY(!w.detailEmpty());
        w.selectGroup("Blacklist");
        QVERIFY(w.detailEmpty());
        QVERIFY(w.find<QLabel>("nobody_picture"));
        QCOMPARE(w.find<QLabel>("nobody_title")->text(), QString("This group did not have contact"));
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
        w.clickContact("Bob Ray");
        w.clickContact("张三");
        w.clickContact("张三");
        w.clickContact("Anna McLee");
        QVERIFY(w.ticked("Bob"));
        QVERIFY(!w.ticked(QString::fromUtf8("三")));
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
        w.clickContact("Bob Ray");
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
