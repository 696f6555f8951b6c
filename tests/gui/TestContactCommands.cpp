// The context menus of the group and contact lists and their commands, in
// single and batch mode, checked against the data manager's lists.

#include "tests/gui/ListWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace ListWindow;
using TestUtil::groupIndex;

namespace {

QList<int> members(const QString &group)
{
    return mgr()->phonebook().groups().at(groupIndex(group)).MemberIds;
}

} // namespace

class TestContactCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void menusOffered_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("groupEntries");
        QTest::addColumn<QStringList>("contactEntries");
        const QStringList moveCopy { "move_menu", "copy_menu" };
        QTest::newRow("All") << "All" << QStringList() << QStringList { "delete_contact" } + moveCopy;
        QTest::newRow("user group") << "Golf" << QStringList { "delete_group", "dissolve_group" }
                                    << QStringList { "remove_contact", "delete_contact" } + moveCopy;
        QTest::newRow("Default") << "Default" << QStringList { "dissolve_group" } << QStringList();
        QTest::newRow("Blacklist") << "Blacklist" << QStringList { "dissolve_group" } << QStringList();
        QTest::newRow("add-group row") << "Add group" << QStringList() << QStringList();
    }

    void menusOffered()
    {
        QFETCH(QString, group);
        QFETCH(QStringList, groupEntries);
        QFETCH(QStringList, contactEntries);
        Window w;
        QCOMPARE(entries(w.groupMenu(group)), groupEntries);
        if (contactEntries.isEmpty())
            return;
        QMenu *menu = w.contactMenu("Anna McLee");
        QCOMPARE(entries(menu), contactEntries);
        // Every stored group but the two display rows, by stored name.
        QCOMPARE(
            entries(menu->findChild<QMenu *>("move_menu")), QStringList({ "Default", "Golf", "Chess", "Blacklist" }));
    }

    void batchMenuOnlyOnTickedContacts()
    {
        Window w;
        w.find<QPushButton>("batch_button")->click();
        w.clickContact("Bob Ray");
        QVERIFY(!w.contactMenu("Anna McLee"));
        QVERIFY(w.contactMenu("Bob Ray"));
        QVERIFY(w.ticked("Bob"));
    }

    void contactCommands_data()
    {
        QTest::addColumn<bool>("batch");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("submenu");
        QTest::addColumn<int>("contacts");
        QTest::addColumn<QList<int>>("golf");
        QTest::addColumn<QList<int>>("chess");
        QTest::addColumn<QList<int>>("blacklist");
        // Ids: 1 张三 (Golf), 2 Anna (Golf, Chess), 3 李四, 4 Bob (Chess). The
        // commands run in Golf on Anna, and in batch mode on Anna and 张三.
        QTest::newRow("delete") << false << "delete_contact" << QString() << 3 << QList<int> { 1 } << QList<int> { 4 }
                                << QList<int>();
        QTest::newRow("remove") << false << "remove_contact" << QString() << 4 << QList<int> { 1 }
                                << QList<int> { 2, 4 } << QList<int>();
        QTest::newRow("move") << false << "Blacklist"
                              << "move_menu" << 4 << QList<int> { 1 } << QList<int> { 4 } << QList<int> { 2 };
        QTest::newRow("copy") << false << "Blacklist"
                              << "copy_menu" << 4 << QList<int> { 1, 2 } << QList<int> { 2, 4 } << QList<int> { 2 };
        QTest::newRow("batch delete") << true << "delete_contact" << QString() << 2 << QList<int>() << QList<int> { 4 }
                                      << QList<int>();
        QTest::newRow("batch remove") << true << "remove_contact" << QString() << 4 << QList<int>()
                                      << QList<int> { 2, 4 } << QList<int>();
        QTest::newRow("batch move") << true << "Chess"
                                    << "move_menu" << 4 << QList<int>() << QList<int> { 4, 1, 2 } << QList<int>();
        QTest::newRow("batch copy") << true << "Blacklist"
                                    << "copy_menu" << 4 << QList<int> { 1, 2 } << QList<int> { 2, 4 }
                                    << QList<int> { 1, 2 };
    }

    void contactCommands()
    {
        QFETCH(bool, batch);
        QFETCH(QString, entry);
        QFETCH(QString, submenu);
        QFETCH(int, contacts);
        QFETCH(QList<int>, golf);
        QFETCH(QList<int>, chess);
        QFETCH(QList<int>, blacklist);
        Window w;
        w.selectGroup("Golf");
        if (batch) {
            w.find<QPushButton>("batch_button")->click();
            w.clickContact("Anna McLee");
            w.clickContact(QString::fromUtf8("张三"));
        }
        trigger(w.contactMenu("Anna McLee"), entry, submenu);
        QCOMPARE(mgr()->phonebook().contacts().size(), contacts);
        // The "All" row counts what is left.
        QCOMPARE(w.groups()->model()->index(0, GroupModel::CountColumn).data().toString(), QString::number(contacts));
        QCOMPARE(members("Golf"), golf);
        QCOMPARE(members("Chess"), chess);
        QCOMPARE(members("Blacklist"), blacklist);
        QVERIFY(!w.window->isSaved());
        // The group stays shown.
        QCOMPARE(w.groups()->currentGroupRow(), w.groupRow("Golf"));
    }

    void groupCommands_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("groups");
        QTest::newRow("delete") << "delete_group"
                                << QStringList { "All", "Default", "Chess", "Add group", "Blacklist" };
        QTest::newRow("dissolve") << "dissolve_group"
                                  << QStringList { "All", "Default", "Golf", "Chess", "Add group", "Blacklist" };
    }

    void groupCommands()
    {
        QFETCH(QString, entry);
        QFETCH(QStringList, groups);
        Window w;
        trigger(w.groupMenu("Golf"), entry);
        QCOMPARE(w.groupRows(), groups);
        QCOMPARE(w.byName("Anna").GroupList, QStringList({ "Chess" }));
        QCOMPARE(mgr()->phonebook().contacts().size(), 4);
        QVERIFY(!w.window->isSaved());
    }

    void editsSurviveACommand()
    {
        Window w;
        w.clickContact("Anna McLee");
        w.find<QLineEdit>("department_edit")->setText("Finance");
        trigger(w.contactMenu("Anna McLee"), "Default", "copy_menu");
        QCOMPARE(w.byName("Anna").Department, QString("Finance"));
        QCOMPARE(w.byName("Anna").GroupList, QStringList({ "Golf", "Chess", "Default" }));
    }
};

QTEST_MAIN(TestContactCommands)
#include "TestContactCommands.moc"
