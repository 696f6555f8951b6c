// The working phonebook on its own: group and contact commands, their member
// bookkeeping, names, ids and what a load derives.

#include "data/Phonebook.h"
#include "data/Records.h"

#include <QtTest>

namespace {

ContactInfo contact(const QString &first, const QString &last, const QStringList &groups = {})
{
    ContactInfo c;
    c.FirstName = first;
    c.LastName = last;
    c.GroupList = groups;
    return c;
}

// Adds the contact and makes it a member of every group it names.
void add(Phonebook &book, ContactInfo c)
{
    const QStringList groups = c.GroupList;
    c.GroupList.clear();
    const int row = book.addContact(c);
    for (const QString &g : groups)
        book.copyToGroup({ row }, g);
}

// Ann (Golf), Bob (Golf, Chess), Cid (no group).
void threeContacts(Phonebook &book)
{
    book.addGroup("Golf");
    book.addGroup("Chess");
    add(book, contact("Ann", "Lee", { "Golf" }));
    add(book, contact("Bob", "Ray", { "Golf", "Chess" }));
    add(book, contact("Cid", "Moe"));
}

// "Group:id,id|Group:..." for every group in order; a member count that
// disagrees with the ids shows as "!count".
QString membership(const Phonebook &book)
{
    QStringList groups;
    for (const GroupInfo &g : book.groups()) {
        QStringList ids;
        for (int id : g.MemberIds)
            ids << QString::number(id);
        QString text = g.name + ':' + ids.join(',');
        if (g.MemberCount != g.MemberIds.size())
            text += '!' + QString::number(g.MemberCount);
        groups << text;
    }
    return groups.join('|');
}

// "id=GroupText" for every contact, checking the text follows the names.
QString contactGroups(const Phonebook &book)
{
    QStringList contacts;
    for (const ContactInfo &c : book.contacts()) {
        QString text = QString::number(c.id) + '=' + c.GroupText;
        if (c.GroupText != Records::groupText(c.GroupList))
            text += "!" + c.GroupList.join(',');
        contacts << text;
    }
    return contacts.join(' ');
}

} // namespace

class TestPhonebook : public QObject
{
    Q_OBJECT

private slots:
    void emptyPhonebook();
    void addGroupStaysBeforeBlacklist();
    void addContact_data();
    void addContact();
    void command_data();
    void command();
    void removingGroupKeepsLongerNames_data();
    void removingGroupKeepsLongerNames();
    void renameGroup_data();
    void renameGroup();
    void groupNameTaken_data();
    void groupNameTaken();
    void numberForSave();
    void takeDerivesAndCounts();
    void refreshContactSyncsMembership();
    void memberRowsFollowListOrder();
};

void TestPhonebook::emptyPhonebook()
{
    Phonebook book;
    QVERIFY(!book.hasData());
    threeContacts(book);
    QVERIFY(book.hasData());
    const quint64 generation = book.generation();
    book.clear();
    QVERIFY(!book.hasData());
    QVERIFY(book.generation() != generation);
    QCOMPARE(membership(book), QString("Default:|Blacklist:"));
    QCOMPARE(book.groups().at(0).id, 0);
    QCOMPARE(book.groups().at(1).id, 100);
    QCOMPARE(book.nextContactId(), 1);
    QCOMPARE(book.nextGroupId(), 1);
    QVERIFY(book.userGroupNames().isEmpty());
}

void TestPhonebook::addGroupStaysBeforeBlacklist()
{
    Phonebook book;
    QCOMPARE(book.addGroup("Golf"), 1);
    QCOMPARE(book.addGroup("Chess"), 2);
    QCOMPARE(membership(book), QString("Default:|Golf:|Chess:|Blacklist:"));
    // Numbered as the list shows them, "All" and the add-group row included.
    QCOMPARE(book.groups().at(1).id, 3);
    QCOMPARE(book.groups().at(2).id, 4);
    QCOMPARE(book.nextGroupId(), 3);
    QVERIFY(book.hasData());
}

void TestPhonebook::addContact_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("members");

    QTest::newRow("no group") << ""
                              << "Default:|Golf:|Blacklist:";
    QTest::newRow("user group") << "Golf"
                                << "Default:|Golf:2|Blacklist:";
    QTest::newRow("out of range") << "none"
                                  << "Default:|Golf:|Blacklist:";
}

void TestPhonebook::addContact()
{
    QFETCH(QString, group);
    QFETCH(QString, members);
    Phonebook book;
    book.addGroup("Golf");
    const int index = group == "none" ? 7 : book.indexOfGroup(group);
    QCOMPARE(book.addContact(contact("Ann", "Lee")), 0);
    QCOMPARE(book.addContact(contact(QString::fromUtf8("三"), QString::fromUtf8("张")), index), 1);
    QCOMPARE(membership(book), members);
    const ContactInfo &added = book.contacts().at(1);
    QCOMPARE(added.id, 2);
    QCOMPARE(added.NamePinyin, QString("Zhang San"));
    QCOMPARE(added.NameInitials, QString("ZS"));
    QCOMPARE(book.nextContactId(), 3);
}

void TestPhonebook::command_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("members");
    QTest::addColumn<QString>("contacts");

    const QString untouched = "Default:|Golf:1,2|Chess:2|Blacklist:";
    QTest::newRow("delete one") << "delete" << QList<int> { 1 } << ""
                                << "Default:|Golf:1|Chess:|Blacklist:"
                                << "1=Golf:: 3=";
    QTest::newRow("delete ticked") << "delete" << QList<int> { 1, 0 } << ""
                                   << "Default:|Golf:|Chess:|Blacklist:"
                                   << "3=";
    QTest::newRow("delete every") << "delete" << QList<int> { 0, 1, 2 } << ""
                                  << "Default:|Golf:|Chess:|Blacklist:"
                                  << "";
    QTest::newRow("delete no such row") << "delete" << QList<int> { -1, 3 } << "" << untouched
                                        << "1=Golf:: 2=Golf::Chess:: 3=";
    QTest::newRow("copy one") << "copy" << QList<int> { 2 } << "Chess"
                              << "Default:|Golf:1,2|Chess:2,3|Blacklist:"
                              << "1=Golf:: 2=Golf::Chess:: 3=Chess::";
    QTest::newRow("copy a member again") << "copy" << QList<int> { 1, 1 } << "Chess" << untouched
                                         << "1=Golf:: 2=Golf::Chess:: 3=";
    QTest::newRow("copy ticked in list order") << "copy" << QList<int> { 2, 0 } << "Chess"
                                               << "Default:|Golf:1,2|Chess:2,1,3|Blacklist:"
                                               << "1=Golf::Chess:: 2=Golf::Chess:: 3=Chess::";
    QTest::newRow("move one") << "move" << QList<int> { 1 } << "Default"
                              << "Default:2|Golf:1|Chess:|Blacklist:"
                              << "1=Golf:: 2=Default:: 3=";
    QTest::newRow("move ticked") << "move" << QList<int> { 2, 0 } << "Blacklist"
                                 << "Default:|Golf:2|Chess:2|Blacklist:1,3"
                                 << "1=Blacklist:: 2=Golf::Chess:: 3=Blacklist::";
    QTest::newRow("remove one") << "remove" << QList<int> { 1 } << "Golf"
                                << "Default:|Golf:1|Chess:2|Blacklist:"
                                << "1=Golf:: 2=Chess:: 3=";
    QTest::newRow("remove ticked") << "remove" << QList<int> { 0, 1, 2 } << "Chess"
                                   << "Default:|Golf:1,2|Chess:|Blacklist:"
                                   << "1=Golf:: 2=Golf:: 3=";
    QTest::newRow("remove from no such group")
        << "remove" << QList<int> { 0 } << "Tennis" << untouched << "1=Golf:: 2=Golf::Chess:: 3=";
    QTest::newRow("dissolve group") << "dissolve" << QList<int>() << "Golf"
                                    << "Default:|Golf:|Chess:2|Blacklist:"
                                    << "1= 2=Chess:: 3=";
    QTest::newRow("delete group") << "deleteGroup" << QList<int>() << "Chess"
                                  << "Default:|Golf:1,2|Blacklist:"
                                  << "1=Golf:: 2=Golf:: 3=";
    QTest::newRow("delete no such group")
        << "deleteGroup" << QList<int>() << "Tennis" << untouched << "1=Golf:: 2=Golf::Chess:: 3=";
}

void TestPhonebook::command()
{
    QFETCH(QString, command);
    QFETCH(QList<int>, rows);
    QFETCH(QString, group);
    QFETCH(QString, members);
    QFETCH(QString, contacts);
    Phonebook book;
    threeContacts(book);
    const int index = book.indexOfGroup(group);
    if (command == "delete")
        book.deleteContacts(rows);
    else if (command == "copy")
        book.copyToGroup(rows, group);
    else if (command == "move")
        book.moveToGroup(rows, group);
    else if (command == "remove")
        book.removeFromGroup(rows, index);
    else if (command == "dissolve")
        book.dissolveGroup(index);
    else if (command == "deleteGroup")
        book.deleteGroup(index);
    else
        QFAIL("unknown command");
    QCOMPARE(membership(book), members);
    QCOMPARE(contactGroups(book), contacts);
}

void TestPhonebook::removingGroupKeepsLongerNames_data()
{
    QTest::addColumn<bool>("deleteIt");
    QTest::newRow("dissolve") << false;
    QTest::newRow("delete") << true;
}

void TestPhonebook::removingGroupKeepsLongerNames()
{
    QFETCH(bool, deleteIt);
    Phonebook book;
    book.addGroup("Work");
    book.addGroup("Workshop");
    add(book, contact("Ann", "Lee", { "Workshop", "Work" }));
    if (deleteIt)
        book.deleteGroup(book.indexOfGroup("Work"));
    else
        book.dissolveGroup(book.indexOfGroup("Work"));
    QCOMPARE(book.contacts().first().GroupList, QStringList({ "Workshop" }));
    QCOMPARE(contactGroups(book), QString("1=Workshop::"));
    QCOMPARE(book.groups().at(book.indexOfGroup("Workshop")).MemberIds, QList<int>({ 1 }));
}

void TestPhonebook::renameGroup_data()
{
    QTest::addColumn<QString>("newName");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("display");

    QTest::newRow("new name") << "Tennis" << true << "Tennis";
    QTest::newRow("12 characters") << "Abcdefghijkl" << true << "Abcdefghijkl";
    QTest::newRow("13 characters") << "Abcdefghijklm" << true << "Abcdefghijkl...";
    QTest::newRow("other group's name") << "Chess" << false << "Golf";
    QTest::newRow("its own name") << "Golf" << false << "Golf";
    QTest::newRow("built-in name") << "Blacklist" << false << "Golf";
    QTest::newRow("name of the All row") << "All" << false << "Golf";
    QTest::newRow("name of the add row") << "Add group" << false << "Golf";
    QTest::newRow("other group's name in another case") << "CHESS" << false << "Golf";
    QTest::newRow("built-in name in another case") << "blacklist" << false << "Golf";
    QTest::newRow("All row in another case") << "all" << false << "Golf";
    QTest::newRow("its own name in another case") << "GOLF" << true << "GOLF";
}

void TestPhonebook::renameGroup()
{
    QFETCH(QString, newName);
    QFETCH(bool, accepted);
    QFETCH(QString, display);
    Phonebook book;
    book.addGroup("Golf");
    book.addGroup("Golfers");
    book.addGroup("Chess");
    add(book, contact("Ann", "Lee", { "Golf" }));
    add(book, contact("Bob", "Ray", { "Golfers" }));

    const int index = book.indexOfGroup("Golf");
    QCOMPARE(book.renameGroup(index, newName), accepted);
    QCOMPARE(book.groups().at(index).DisplayName, display);
    QCOMPARE(book.contacts()[0].GroupList, QStringList({ accepted ? newName : "Golf" }));
    // A member of a group whose name merely starts with the old name is untouched.
    QCOMPARE(contactGroups(book), QString("1=%1:: 2=Golfers::").arg(accepted ? newName : "Golf"));
    QVERIFY(!book.renameGroup(99, "Tennis2"));
}

void TestPhonebook::groupNameTaken_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("taken");

    QTest::newRow("user group") << QString::fromUtf8("家人") << true;
    QTest::newRow("its key") << "JiaRen" << true;
    QTest::newRow("built-in") << "Default" << true;
    QTest::newRow("All row") << "All" << true;
    QTest::newRow("add row") << "Add group" << true;
    QTest::newRow("free") << "new1" << false;
    QTest::newRow("key in another case") << "jiaren" << true;
    QTest::newRow("built-in in another case") << "DEFAULT" << true;
    QTest::newRow("add row in another case") << "add Group" << true;
}

void TestPhonebook::groupNameTaken()
{
    QFETCH(QString, name);
    QFETCH(bool, taken);
    Phonebook book;
    book.addGroup(QString::fromUtf8("家人"));
    QCOMPARE(book.groupNameTaken(name), taken);
}

void TestPhonebook::numberForSave()
{
    Phonebook book;
    book.addGroup("Golf");
    QList<int> ids;
    for (const GroupInfo &g : book.numberForSave())
        ids << g.id;
    QCOMPARE(ids, QList<int>({ 2, 3, 4 }));
    QCOMPARE(book.groups().at(1).id, 3);
    QCOMPARE(book.nextGroupId(), 5);
    QCOMPARE(book.userGroupNames(), QStringList({ "Golf" }));

    // A user group never gets the blacklist's id.
    book.setNextGroupId(99);
    ids.clear();
    for (const GroupInfo &g : book.groupsAsSaved())
        ids << g.id;
    QCOMPARE(ids, QList<int>({ 99, 101, 102 }));
    QCOMPARE(book.groups().at(1).id, 3);
}

void TestPhonebook::takeDerivesAndCounts()
{
    Phonebook book;
    ContactInfo z = contact(QString::fromUtf8("三"), QString::fromUtf8("张"), { "Golf" });
    z.id = 4;
    z.PrimaryIndex = 22;
    PhoneInfo work;
    work.phonenumber = "555";
    PhoneInfo other;
    other.type = "Other";
    other.phonenumber = "999";
    z.PhoneList = { work, other };
    MailInfo mail;
    mail.type = "Other";
    z.MailList = { mail };
    GroupInfo golf;
    golf.id = 7;
    golf.name = "Golf";
    golf.MemberIds = { 4 };
    golf.MemberCount = 1;
    GroupInfo blacklist;
    blacklist.id = 100;
    blacklist.name = "Blacklist";
    GroupInfo def;
    def.id = 3;
    def.name = "Default";
    const quint64 generation = book.generation();
    book.take({ z }, { def, golf, blacklist });

    QVERIFY(book.generation() != generation);
    const ContactInfo &c = book.contacts().first();
    QCOMPARE(c.NamePinyin, QString("Zhang San"));
    QCOMPARE(c.NameInitials, QString("ZS"));
    QCOMPARE(c.GroupText, QString("Golf::"));
    QCOMPARE(c.PrimaryNumber, QString("999"));
    QCOMPARE(c.PhoneList[0].type, QString("Work"));
    QCOMPARE(c.MailList[0].TypeLabel, QString("Others"));
    QCOMPARE(book.groups().at(1).NamePinyin, QString("Golf"));
    QCOMPARE(book.nextContactId(), 5);
    QCOMPARE(book.nextGroupId(), 101);
    QCOMPARE(book.userGroupNames(), QStringList({ "Golf" }));

    // Only the built-in groups: numbering starts again.
    book.take({}, { def, blacklist });
    QCOMPARE(book.nextContactId(), 1);
    QCOMPARE(book.nextGroupId(), 1);
    // The names of groups seen stay known.
    QCOMPARE(book.userGroupNames(), QStringList({ "Golf" }));
}

void TestPhonebook::refreshContactSyncsMembership()
{
    Phonebook book;
    threeContacts(book);
    ContactInfo &ann = book.editContacts()[0];
    ann.GroupList = { "Chess" };
    ann.FirstName = QString::fromUtf8("李");
    book.refreshContact(0);
    book.refreshContact(3);
    QCOMPARE(membership(book), QString("Default:|Golf:2|Chess:2,1|Blacklist:"));
    QCOMPARE(book.contacts()[0].NamePinyin, QString("Li Lee"));
    QCOMPARE(contactGroups(book), QString("1=Chess:: 2=Golf::Chess:: 3="));
}

void TestPhonebook::memberRowsFollowListOrder()
{
    Phonebook book;
    threeContacts(book);
    book.copyToGroup({ 2 }, "Golf");
    QCOMPARE(book.memberRows(book.indexOfGroup("Golf")), QList<int>({ 0, 1, 2 }));
    QCOMPARE(book.memberRows(book.indexOfGroup("Chess")), QList<int>({ 1 }));
    QCOMPARE(book.memberRows(99), QList<int>());
    QCOMPARE(book.indexOfContact(3), 2);
    QCOMPARE(book.indexOfContact(9), -1);
}

QTEST_GUILESS_MAIN(TestPhonebook)
#include "TestPhonebook.moc"
