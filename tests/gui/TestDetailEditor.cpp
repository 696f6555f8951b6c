// The contact detail editor: what is shown, what is committed when the user
// leaves a contact, and what merely looking at a contact must not change.

#include "tests/gui/ListWindow.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace ListWindow;
using TestUtil::contact;
using TestUtil::phone;

namespace {

// Ann with a phone whose type the type box does not offer, Bob with an
// extended primary type.
void unusualPhonebook()
{
    ContactInfo ann = contact("Ann", "Lee", { phone("CompanyTotal", "111"), phone("Home", "222") });
    ann.PrimaryIndex = 7;
    TestUtil::addContact(ann);
    ContactInfo bob = contact("Bob", "Ray", { phone("Work", "333"), phone("Telex", "444") });
    bob.PrimaryIndex = 9;
    TestUtil::addContact(bob);
}

QLineEdit *edit(const Window &w, const char *name)
{
    return w.find<QLineEdit>(QString::fromLatin1(name));
}

// The phone or mail rows of the detail editor ("phoneItem", "mailItem"), rows
// the user removed left out.
QList<QWidget *> rows(const Window &w, const char *name)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return w.window->findChildren<QWidget *>(QString::fromLatin1(name));
}

template <typename T> T *part(QWidget *row, const char *name)
{
    return row->findChild<T *>(QString::fromLatin1(name));
}

void click(const Window &w, const char *button)
{
    w.find<QPushButton>(QString::fromLatin1(button))->click();
}

// Claims every key for the widget it watches, as a line edit claims Ctrl+E
// ("end of line") under the X11 key scheme; offscreen follows the Windows one,
// where a line edit claims none of the window's keys.
class ClaimsEveryKey : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        event->accept();
        return true;
    }
};

} // namespace

class TestDetailEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void editsCommittedOnLeaving()
    {
        Window w;
        w.clickContact("Bob Ray");
        edit(w, "first_name_edit")->setText("Robert");
        edit(w, "department_edit")->setText("Sales");
        click(w, "add_mail_row_button");
        part<QLineEdit>(rows(w, "mailItem").last(), "mail_address_edit")->setText("bob@example.com");
        w.clickContact("Anna McLee");
        const ContactInfo &bob = w.byName("Robert");
        QCOMPARE(bob.Department, QString("Sales"));
        QCOMPARE(bob.MailList.size(), 1);
        QCOMPARE(bob.MailList.first().Mail, QString("bob@example.com"));
        QCOMPARE(bob.NamePinyin, QString("Robert Ray"));
        QVERIFY(!w.window->isSaved());
    }

    void lookingChangesNothing()
    {
        Window w(unusualPhonebook);
        const QList<ContactInfo> before = mgr()->phonebook().contacts();
        w.clickContact("Bob Ray");
        w.clickContact("Ann Lee");
        w.clickContact("Bob Ray");
        QVERIFY(w.window->isSaved());
        for (int i = 0; i < before.size(); ++i) {
            QCOMPARE(mgr()->phonebook().contacts()[i].PhoneList.size(), before[i].PhoneList.size());
            QCOMPARE(mgr()->phonebook().contacts()[i].PhoneList.first().type, before[i].PhoneList.first().type);
        }
    }

    void untouchedTypeKeepsItsWord()
    {
        Window w(unusualPhonebook);
        w.clickContact("Ann Lee");
        QWidget *row = rows(w, "phoneItem").first();
        QCOMPARE(part<QComboBox>(row, "phone_type_box")->currentText(), QString("CompanyTotal"));
        // Another field changes; the type of that row does not.
        part<QLineEdit>(row, "phone_number_edit")->setText("112");
        w.clickContact("Bob Ray");
        const ContactInfo &ann = w.byName("Ann");
        QCOMPARE(ann.PhoneList.first().type, QString("CompanyTotal"));
        QCOMPARE(ann.PhoneList.first().phonenumber, QString("112"));
        QCOMPARE(ann.PrimaryIndex, 7);
    }

    void extendedPrimaryTypeShowsItsNumber()
    {
        Window w(unusualPhonebook);
        const int row = w.rowOfName("Bob Ray");
        QCOMPARE(w.contacts()->model()->index(row, ContactModel::NumberColumn).data().toString(), QString("444"));
        w.clickContact("Bob Ray");
        QCOMPARE(w.find<QComboBox>("primary_box")->currentText(), QString("Telex(Alderline)"));
    }

    void choicesStoredAndShownAgain_data()
    {
        QTest::addColumn<int>("typeEntry");
        QTest::addColumn<int>("accountEntry");
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("account");
        QTest::newRow("active account") << 0 << 6 << "Work" << -1;
        QTest::newRow("extended type") << 12 << 2 << "TTY TTD" << 2;
    }

    void choicesStoredAndShownAgain()
    {
        QFETCH(int, typeEntry);
        QFETCH(int, accountEntry);
        QFETCH(QString, word);
        QFETCH(int, account);
        Window w;
        w.clickContact("Bob Ray");
        QWidget *row = rows(w, "phoneItem").first();
        part<QComboBox>(row, "phone_type_box")->setCurrentIndex(typeEntry);
        part<QComboBox>(row, "phone_account_box")->setCurrentIndex(accountEntry);
        const QString label = part<QComboBox>(row, "phone_type_box")->currentText();
        w.clickContact("Anna McLee");
        const PhoneInfo stored = w.byName("Bob").PhoneList.first();
        QCOMPARE(stored.type, word);
        QCOMPARE(stored.accountindex, account);
        w.clickContact("Bob Ray");
        row = rows(w, "phoneItem").first();
        QCOMPARE(part<QComboBox>(row, "phone_type_box")->currentText(), label);
        QCOMPARE(part<QComboBox>(row, "phone_account_box")->currentIndex(), accountEntry);
    }

    void primaryBoxNeedsTwoTypes()
    {
        Window w;
        w.clickContact("Bob Ray");
        auto *primary = w.find<QComboBox>("primary_box");
        QVERIFY(!primary->isEnabled());
        click(w, "add_phone_row_button"); // another Work number: still one type
        QVERIFY(!primary->isEnabled());
        part<QComboBox>(rows(w, "phoneItem").last(), "phone_type_box")->setCurrentIndex(2);
        QVERIFY(primary->isEnabled());
        QCOMPARE(primary->count(), 2);
        primary->setCurrentIndex(1);
        part<QLineEdit>(rows(w, "phoneItem").last(), "phone_number_edit")->setText("401");
        w.clickContact("Anna McLee");
        const ContactInfo &bob = w.byName("Bob");
        QCOMPARE(bob.PrimaryIndex, 2);
        QCOMPARE(bob.PrimaryNumber, QString("401"));
    }

    void removedRowsLeaveTheContact()
    {
        Window w;
        w.clickContact("Anna McLee");
        part<QPushButton>(rows(w, "phoneItem").first(), "phone_delete_button")->click();
        part<QPushButton>(rows(w, "mailItem").first(), "mail_delete_button")->click();
        QVERIFY(rows(w, "phoneItem").isEmpty());
        w.clickContact("Bob Ray");
        QVERIFY(w.byName("Anna").PhoneList.isEmpty());
        QVERIFY(w.byName("Anna").MailList.isEmpty());
    }

    void blankContactRemovedSilently()
    {
        Window w;
        GuiTestUtil::BoxAnswerer boxes;
        w.find<QPushButton>("contact_add_button")->click();
        QCOMPARE(mgr()->phonebook().contacts().size(), 5);
        QVERIFY(w.shown().FirstName.isEmpty());
        // Asking for another new contact stays on the blank one.
        w.find<QPushButton>("contact_add_button")->click();
        QCOMPARE(mgr()->phonebook().contacts().size(), 5);
        w.clickContact("Bob Ray");
        QCOMPARE(mgr()->phonebook().contacts().size(), 4);
        QCOMPARE(w.shown().FirstName, QString("Bob"));
        QVERIFY(boxes.boxes.isEmpty());
    }

    void clickAfterABlankContactGoesToTheContactClicked_data()
    {
        QTest::addColumn<bool>("batch");
        QTest::newRow("single") << false;
        QTest::newRow("batch") << true;
    }

    void clickAfterABlankContactGoesToTheContactClicked()
    {
        QFETCH(bool, batch);
        Window w;
        if (batch)
            w.find<QPushButton>("batch_button")->click();
        auto *add = w.find<QPushButton>("contact_add_button");
        QTest::mouseClick(add, Qt::LeftButton, Qt::NoModifier, add->rect().center());
        QCOMPARE(w.shownNames().first(), QString()); // the blank one, on top
        w.clickContact("张三");
        QCOMPARE(w.shown().FirstName, QString("三"));
        const QModelIndexList selected = w.contacts()->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().row(), w.rowOfName("张三"));
        QCOMPARE(w.ticked("三"), batch);
    }

    void namelessContactTakesItsNumber()
    {
        Window w;
        w.find<QPushButton>("contact_add_button")->click();
        click(w, "add_phone_row_button");
        part<QLineEdit>(rows(w, "phoneItem").first(), "phone_number_edit")->setText("5550100");
        w.window->commitDetail();
        QCOMPARE(mgr()->phonebook().contacts().last().FirstName, QString("5550100"));
        QCOMPARE(edit(w, "first_name_edit")->text(), QString("5550100"));
    }

    void menuKeysWorkInTheNameEdit_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("opens");
        QTest::newRow("Ctrl+N") << QKeySequence(QKeySequence::New) << "Save option";
        QTest::newRow("Ctrl+S") << QKeySequence(QKeySequence::Save) << "Save Box";
        QTest::newRow("Ctrl+R") << QKeySequence("Ctrl+R") << "Select a history to continue edit";
        QTest::newRow("Ctrl+B") << QKeySequence("Ctrl+B") << "Back up";
        QTest::newRow("Ctrl+I") << QKeySequence("Ctrl+I") << "Import file";
        QTest::newRow("Ctrl+W") << QKeySequence("Ctrl+W") << "Network Import";
        QTest::newRow("Ctrl+E") << QKeySequence("Ctrl+E") << "Export file";
        QTest::newRow("Ctrl+Q") << QKeySequence(QKeySequence::Quit) << "Exit program";
        QTest::newRow("F1") << QKeySequence(QKeySequence::HelpContents) << "Quorvane Phonebook Editor Help";
        QTest::newRow("Ctrl+M") << QKeySequence("Ctrl+M") << "Cancel Batch";
    }

    void menuKeysWorkInTheNameEdit()
    {
        QFETCH(QKeySequence, key);
        QFETCH(QString, opens);
        if (key.isEmpty())
            QSKIP("no such standard key on this platform (offscreen has no Quit key)");
        Window w;
        w.clickContact("Bob Ray");
        QLineEdit *name = edit(w, "first_name_edit");
        // A click on the list leaves the keys there; the user clicks into the name.
        QTest::mouseClick(name, Qt::LeftButton);
        QTest::keyClicks(name, "by"); // unsaved, so that New and Exit ask first
        QVERIFY(name->hasFocus());
        ClaimsEveryKey claim;
        name->installEventFilter(&claim);
        // What the key brought up: windows by their titles and the Batch button's
        // text; modal ones are closed once seen.
        QStringList seen;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            QStringList now { w.find<QPushButton>("batch_button")->text() };
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (top->isVisible() && top != w.window)
                    now << top->windowTitle();
            }
            for (const QString &text : now) {
                if (!seen.contains(text))
                    seen << text;
            }
            if (auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                modal->reject();
        });
        watcher.start(0);
        QTest::keySequence(name, key);
        QTRY_VERIFY2(seen.contains(opens), qPrintable(seen.join(", ")));
    }

    void newContactJoinsTheShownGroup()
    {
        Window w;
        w.selectGroup("Chess");
        w.find<QPushButton>("contact_add_button")->click();
        edit(w, "first_name_edit")->setText("Cid");
        w.window->commitDetail();
        const ContactInfo &cid = w.byName("Cid");
        QCOMPARE(cid.GroupList, QStringList({ "Chess" }));
        QVERIFY(mgr()->phonebook().groups().at(TestUtil::groupIndex("Chess")).MemberIds.contains(cid.id));
        // "All" counts it.
        QCOMPARE(w.groups()->model()->index(0, GroupModel::CountColumn).data().toString(), QString("5"));
        QTRY_COMPARE(w.shownNames(), QStringList({ "Anna McLee", "Bob Ray", "Cid" }));
    }
};

QTEST_MAIN(TestDetailEditor)
#include "TestDetailEditor.moc"
