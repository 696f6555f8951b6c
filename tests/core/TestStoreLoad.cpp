// Loading contacts gives exactly what the left join of the four tables, folded row
// by row, gives: the join is done here literally and compared with the load.

#include "tests/TestUtil.h"

#include "data/Phonebook.h"
#include "data/RecordCompare.h"

#include <QSqlQuery>

#include <algorithm>

using namespace TestUtil;

namespace {

void exec(const QString &sql)
{
    QSqlQuery q;
    QVERIFY2(q.exec(sql), qPrintable(sql));
}

// The reference: the four tables joined and folded as the join's rows come.
QList<ContactInfo> joinedAndFolded()
{
    QList<ContactInfo> result;
    QSqlQuery q;
    q.exec("SELECT contact1.id,contact1.FirstName,contact1.LastName,contact1.Department,contact1.PrimaryIndex,"
           "contact1.Frequent,contact1.PhotoUrl,contact1.RingtoneUrl,contact1.RingtoneIndex,phone1.type,"
           "phone1.phonenumber,phone1.accountindex,mail1.type,mail1.Mail,union1.group_name FROM contact1 left "
           "join phone1 on contact1.id=phone1.cid left join mail1 on contact1.id=mail1.cid left join union1 on "
           "contact1.id=union1.contact_id");
    ContactInfo current;
    while (q.next()) {
        const int id = q.value(0).toInt();
        if (id != current.id && current.id > 0) {
            result.append(current);
            current = ContactInfo();
        }
        current.id = id;
        current.FirstName = q.value(1).toString();
        current.LastName = q.value(2).toString();
        current.Department = q.value(3).toString();
        current.PrimaryIndex = q.value(4).toInt();
        current.Frequent = q.value(5).toInt();
        current.PhotoUrl = q.value(6).toString();
        current.RingtoneUrl = q.value(7).toString();
        current.RingtoneIndex = q.value(8).toInt();
        const PhoneInfo p { q.value(9).toString(), {}, q.value(10).toString(), q.value(11).toInt() };
        if (current.PhoneList.isEmpty() || current.PhoneList.last().type != p.type
            || current.PhoneList.last().phonenumber != p.phonenumber
            || current.PhoneList.last().accountindex != p.accountindex)
            current.PhoneList.append(p);
        const MailInfo m { q.value(12).toString(), {}, q.value(13).toString() };
        if (std::none_of(current.MailList.cbegin(), current.MailList.cend(),
                [&](const MailInfo &x) { return x.type == m.type && x.Mail == m.Mail; }))
            current.MailList.append(m);
        if (!current.GroupList.contains(q.value(14).toString()))
            current.GroupList.append(q.value(14).toString());
    }
    if (current.id != 0)
        result.append(current);
    return result;
}

QString describe(const QList<ContactInfo> &rows)
{
    QStringList out;
    for (const ContactInfo &c : rows) {
        QStringList phones, mails;
        for (const PhoneInfo &p : c.PhoneList)
            phones << QStringLiteral("%1/%2/%3").arg(p.type, p.phonenumber).arg(p.accountindex);
        for (const MailInfo &m : c.MailList)
            mails << m.type + "/" + m.Mail;
        out << QStringLiteral("%1 %2|%3|%4 p%5 f%6 %7|%8|%9 [%10] [%11] [%12]")
                   .arg(c.id)
                   .arg(c.FirstName, c.LastName, c.Department)
                   .arg(c.PrimaryIndex)
                   .arg(c.Frequent)
                   .arg(c.PhotoUrl, c.RingtoneUrl)
                   .arg(c.RingtoneIndex)
                   .arg(phones.join(','), mails.join(','), c.GroupList.join(','));
    }
    return out.join('\n');
}

} // namespace

class TestStoreLoad : public QObject
{
    Q_OBJECT

private slots:
    void loadEqualsTheFoldedJoin_data();
    void loadEqualsTheFoldedJoin();
    void loadSharingWithMemory_data();
    void loadSharingWithMemory();
};

void TestStoreLoad::loadEqualsTheFoldedJoin_data()
{
    QTest::addColumn<QStringList>("statements");
    // Whether the contacts can be read a slice at a time (their ids rise in stored order).
    QTest::addColumn<bool>("inSlices");
    QTest::newRow("children of every count")
        << QStringList({ "insert into contact1 values (1,'D','Lee','Ann','p','r',2,1,1,0)",
               "insert into contact1 values (2,null,'Ray','Bob',null,null,null,null,null,0)",
               "insert into contact1 values (3,'','Kim','Cy','','',0,0,0,0)",
               "insert into phone1 values (1,'Work','1',0)", "insert into phone1 values (1,'Home','2',1)",
               "insert into mail1 values (1,'Home','a@x')", "insert into mail1 values (1,null,'b@x')",
               "insert into union1 values (1,'Golf')", "insert into union1 values (1,'Chess')",
               "insert into union1 values (3,'Golf')", "insert into mail1 values (3,'Work','c@x')" })
        << true;
    QTest::newRow("repeated children") << QStringList({ "insert into contact1 values (5,'','A','B','','',0,0,0,0)",
        "insert into phone1 values (5,'Work','1',0)", "insert into phone1 values (5,'Work','1',0)",
        "insert into phone1 values (5,'Home','2',0)", "insert into phone1 values (5,'Work','1',0)",
        "insert into mail1 values (5,'Work','a@x')", "insert into mail1 values (5,'Home','b@x')",
        "insert into mail1 values (5,'Work','a@x')", "insert into union1 values (5,'G')",
        "insert into union1 values (5,'G')", "insert into union1 values (5,'')" })
                                       << true;
    QTest::newRow("children stored out of contact order") << QStringList(
        { "insert into contact1 values (9,'','A','B','','',0,0,0,0)",
            "insert into contact1 values (4,'','C','D','','',0,0,0,0)", "insert into phone1 values (4,'Fax','4',3)",
            "insert into phone1 values (9,'Work','9',0)", "insert into phone1 values (4,'Work','5',0)",
            "insert into union1 values (9,'X')", "insert into union1 values (4,'Y')",
            "insert into union1 values (9,'Z')" }) << false;
    QTest::newRow("null child values and orphans") << QStringList(
        { "insert into contact1 values (7,'','A','B','','',0,0,0,0)", "insert into phone1 values (7,null,null,null)",
            "insert into phone1 values (8,'Work','8',0)", "insert into mail1 values (7,null,null)",
            "insert into union1 values (7,null)", "insert into union1 values (99,'Ghost')" })
                                                   << true;
    QTest::newRow("odd values in number columns")
        << QStringList({ "insert into contact1 values (6,'','A','B','','','2abc',1.7,'12',0)",
               "insert into contact1 values (7,'','C','D','','',-3,2.5,'',0)",
               "insert into phone1 values (6,'Work','1','3')", "insert into phone1 values (7,'Home',2,4.9)" })
        << true;
    QTest::newRow("non-ASCII text") << QStringList(
        { "insert into contact1 values (1,'研发','伟','张','C:\\p.jpg','','',0,0,0)",
            "insert into mail1 values (1,'Work','zoë@example.org')", "insert into union1 values (1,'同事')" })
                                    << true;
    QTest::newRow("empty store") << QStringList() << true;
}

void TestStoreLoad::loadEqualsTheFoldedJoin()
{
    QFETCH(QStringList, statements);
    Workspace ws;
    for (const QString &sql : statements)
        exec(sql);
    const QList<ContactInfo> loaded = TestUtil::loadedContacts();
    QCOMPARE(describe(loaded), describe(joinedAndFolded()));

    // Slices, of one contact and of two (a range of ids that is theirs alone), add up
    // to the same load.
    QFETCH(bool, inSlices);
    SqliteDatabase *store = TestUtil::store();
    const Expected<bool> sliced = store->contactsReadInSlices();
    QVERIFY(sliced);
    QCOMPARE(*sliced, inSlices);
    if (!inSlices)
        return;
    for (const int limit : { 1, 2 }) {
        QList<ContactInfo> read;
        qint64 after = 0;
        for (;;) {
            const Expected<QList<ContactInfo>> slice = store->loadContactSlice(after, limit);
            QVERIFY(slice);
            if (slice->isEmpty())
                break;
            read += *slice;
        }
        QCOMPARE(describe(read), describe(loaded));
    }
}

namespace {

QList<ContactInfo> derived(QList<ContactInfo> contacts)
{
    for (ContactInfo &c : contacts)
        Phonebook::deriveContact(c);
    return contacts;
}

} // namespace

// A load that shares with the contacts in memory gives what a plain load gives,
// whatever the store changed since they were loaded, and shares what did not change.
void TestStoreLoad::loadSharingWithMemory_data()
{
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<int>("unchangedId");
    QTest::newRow("nothing changed") << QStringList() << 1;
    QTest::newRow("a number, a type, a mail and a group of another contact") << QStringList(
        { "update phone1 set phonenumber='9' where cid=2 and type='Work'",
            "update phone1 set type='Fax' where cid=2 and type='Home'", "update mail1 set Mail='new@x' where cid=2",
            "insert into union1 values (2,'Chess')" }) << 1;
    QTest::newRow("renamed, so paired with nothing")
        << QStringList({ "update contact1 set LastName='Zed' where id=2" }) << 1;
    QTest::newRow("replaced by a new id, as an import replaces a duplicate")
        << QStringList({ "insert into contact1 select 10,Department,LastName,FirstName,PhotoUrl,RingtoneUrl,"
                         "RingtoneIndex,PrimaryIndex,Frequent,Flag from contact1 where id=1",
               "update phone1 set cid=10 where cid=1", "update mail1 set cid=10 where cid=1",
               "update union1 set contact_id=10 where contact_id=1", "delete from contact1 where id=1" })
        << 10;
    QTest::newRow("a second contact of the same names, untyped phones") << QStringList(
        { "insert into contact1 values (11,'','Ann','Lee','','',0,2,0,0)", "insert into phone1 values (11,'','5',0)",
            "insert into phone1 values (11,'','5',0)", "update phone1 set type='' where cid=3" })
                                                                        << 1;
}

void TestStoreLoad::loadSharingWithMemory()
{
    QFETCH(QStringList, changes);
    QFETCH(int, unchangedId);
    Workspace ws;
    for (const char *sql :
        { "insert into contact1 values (1,'D','Ann','Lee','p','r',2,1,1,0)",
            "insert into contact1 values (2,null,'Bob','Ray',null,null,null,3,null,0)",
            "insert into contact1 values (3,'','Cy','张',' ','',0,0,0,0)", "insert into phone1 values (1,'Work','1',0)",
            "insert into phone1 values (1,'Home','2',1)", "insert into phone1 values (2,'Work','3',0)",
            "insert into phone1 values (2,'Home','4',0)", "insert into phone1 values (3,'','6',0)",
            "insert into mail1 values (1,'Home','a@x')", "insert into mail1 values (2,null,'b@x')",
            "insert into union1 values (1,'Golf')", "insert into union1 values (2,'Golf')" })
        exec(QString::fromUtf8(sql));
    const QList<ContactInfo> held = derived(loadedContacts());
    for (const QString &sql : changes)
        exec(sql);

    const QList<ContactInfo> plain = derived(loadedContacts());
    const Expected<QList<ContactInfo>> loaded = store()->loadContacts(held);
    QVERIFY(loaded.ok());
    const QList<ContactInfo> shared = derived(*loaded);
    QCOMPARE(describe(shared), describe(plain));
    QVERIFY(shared == plain);

    const ContactInfo &before = held.first();
    const auto after = std::find_if(
        shared.cbegin(), shared.cend(), [unchangedId](const ContactInfo &c) { return c.id == unchangedId; });
    QVERIFY(after != shared.cend());
    QVERIFY(after->LastName.isSharedWith(before.LastName));
    QVERIFY(after->NamePinyin.isSharedWith(before.NamePinyin));
    QVERIFY(after->PhoneList.isSharedWith(before.PhoneList));
    QVERIFY(after->MailList.isSharedWith(before.MailList));
    QVERIFY(after->GroupList.isSharedWith(before.GroupList));
}

QTEST_GUILESS_MAIN(TestStoreLoad)
#include "TestStoreLoad.moc"
