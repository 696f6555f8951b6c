// Vocabularies and derived fields of the records.

#include "data/Records.h"

#include <QtTest>

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void phoneLabel_data();
    void phoneLabel();
    void primaryNumber_data();
    void primaryNumber();
    void groupDisplayName_data();
    void groupDisplayName();
    void iconKind_data();
    void iconKind();
    void mailLabel_data();
    void mailLabel();
    void editedContact_data();
    void editedContact();
};

namespace {

// "Work:1 Home:" as phones, the type word doubling as its label.
PhoneInfoList phones(const QString &text)
{
    PhoneInfoList list;
    for (const QString &row : text.split(' ', Qt::SkipEmptyParts)) {
        const QString type = row.section(':', 0, 0);
        list.append(PhoneInfo { type, type, row.section(':', 1), 0 });
    }
    return list;
}

QString phonesText(const PhoneInfoList &list)
{
    QStringList rows;
    for (const PhoneInfo &p : list)
        rows << p.type + ':' + p.phonenumber;
    return rows.join(' ');
}

} // namespace

void TestRecords::phoneLabel_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("storedAfter");
    QTest::addColumn<QString>("label");

    QTest::newRow("empty becomes Work") << ""
                                        << "Work"
                                        << "Work";
    QTest::newRow("basic") << "Mobile"
                           << "Mobile"
                           << "Mobile";
    QTest::newRow("extended keeps its word") << "Telex"
                                             << "Telex"
                                             << "Telex(Alderline)";
    QTest::newRow("two words") << "TTY TTD"
                               << "TTY TTD"
                               << "TTY TTD(Alderline)";
    QTest::newRow("last row") << "Other"
                              << "Other"
                              << "Other";
    QTest::newRow("case matters") << "work"
                                  << "work"
                                  << "previous";
    QTest::newRow("suffixed word is unknown") << "Telex(Alderline)"
                                              << "Telex(Alderline)"
                                              << "previous";
}

void TestRecords::phoneLabel()
{
    QFETCH(QString, type);
    QFETCH(QString, storedAfter);
    QFETCH(QString, label);
    PhoneInfo p;
    p.type = type;
    p.TypeLabel = "previous";
    Records::rebuildPhoneLabel(p);
    QCOMPARE(p.type, storedAfter);
    QCOMPARE(p.TypeLabel, label);
}

void TestRecords::primaryNumber_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("number");

    QTest::newRow("Work") << 0 << "w1";
    QTest::newRow("Mobile") << 2 << "m1";
    QTest::newRow("Other is index 22") << 22 << "o1";
    QTest::newRow("no phone of that type keeps the old value") << 1 << "old";
    QTest::newRow("out of range") << 23 << "old";
    QTest::newRow("negative") << -1 << "old";
    QTest::newRow("extended type by its stored word") << 9 << "t1";
}

void TestRecords::primaryNumber()
{
    QFETCH(int, index);
    QFETCH(QString, number);
    ContactInfo c;
    c.PrimaryIndex = index;
    c.PrimaryNumber = "old";
    c.PhoneList = { PhoneInfo { "Work", "", "w1", 0 }, PhoneInfo { "Mobile", "", "m1", 0 },
        PhoneInfo { "Work", "", "w2", 0 }, PhoneInfo { "Other", "", "o1", 0 }, PhoneInfo { "Telex", "", "t1", 0 } };
    Records::rebuildPrimaryNumber(c);
    QCOMPARE(c.PrimaryNumber, number);
}

void TestRecords::groupDisplayName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("display");

    QTest::newRow("built-in") << "Blacklist"
                              << "Blacklist";
    QTest::newRow("translated user group") << "Family"
                                           << "Family";
    QTest::newRow("short") << "Golf"
                           << "Golf";
    QTest::newRow("12 characters") << "Abcdefghijkl"
                                   << "Abcdefghijkl";
    QTest::newRow("13 characters") << "Abcdefghijklm"
                                   << "Abcdefghijkl...";
    QTest::newRow("13 Chinese characters") << QString(13, QChar(0x5F20)) << QString(12, QChar(0x5F20)) + "...";
}

void TestRecords::groupDisplayName()
{
    QFETCH(QString, name);
    QFETCH(QString, display);
    QCOMPARE(Records::groupDisplayName(name), display);
}

void TestRecords::iconKind_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::newRow("All") << "All"
                         << "All";
    QTest::newRow("Add group") << "Add group"
                               << "Add";
    QTest::newRow("Default") << "Default"
                             << "Default";
    QTest::newRow("Blacklist") << "Blacklist"
                               << "Blacklist";
    QTest::newRow("Family") << "Family"
                            << "common";
    QTest::newRow("lower-case blacklist") << "blacklist"
                                          << "common";
}

void TestRecords::iconKind()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QCOMPARE(Records::groupIconKind(name), kind);
}

void TestRecords::mailLabel_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("storedAfter");
    QTest::addColumn<QString>("label");
    QTest::newRow("empty") << ""
                           << "Work"
                           << "Work";
    QTest::newRow("Other shows as Others") << "Other"
                                           << "Other"
                                           << "Others";
    QTest::newRow("Home") << "Home"
                          << "Home"
                          << "Home";
    QTest::newRow("unknown keeps label") << "Fax"
                                         << "Fax"
                                         << "previous";
}

void TestRecords::mailLabel()
{
    QFETCH(QString, type);
    QFETCH(QString, storedAfter);
    QFETCH(QString, label);
    MailInfo m;
    m.type = type;
    m.TypeLabel = "previous";
    Records::rebuildMailLabel(m);
    QCOMPARE(m.type, storedAfter);
    QCOMPARE(m.TypeLabel, label);
}

// A contact as the editor gives it back, and what the rules make of it.
void TestRecords::editedContact_data()
{
    QTest::addColumn<QString>("phoneRows");
    QTest::addColumn<QStringList>("mails");
    QTest::addColumn<QString>("first");
    QTest::addColumn<int>("primary");
    QTest::addColumn<QString>("picked");
    QTest::addColumn<bool>("blank");
    QTest::addColumn<QString>("settled");
    QTest::addColumn<QString>("primaryNumber");
    QTest::addColumn<QString>("firstAfter");
    QTest::addColumn<QString>("choice");

    QTest::newRow("nothing typed") << "Work:" << QStringList { "" } << "" << 0 << "" << true << ""
                                   << ""
                                   << ""
                                   << "Work";
    QTest::newRow("spaces are typed") << "Work:" << QStringList() << " " << 0 << "" << false << ""
                                      << ""
                                      << " "
                                      << "Work";
    QTest::newRow("grouped by type, first seen first")
        << "Home:1 Work:2 Home:3 Mobile:4 Work:" << QStringList() << "Ann" << 0 << "Mobile" << false
        << "Home:1 Home:3 Work:2 Mobile:4"
        << "2"
        << "Ann"
        << "Mobile";
    QTest::newRow("nameless takes its number")
        << "Work: Mobile:555" << QStringList { "a@x" } << "" << 2 << "Fax" << false << "Mobile:555"
        << "555"
        << "555"
        << "Mobile";
    QTest::newRow("nameless without number takes its mail")
        << "" << QStringList { "", "a@x" } << "" << 0 << "" << false << ""
        << ""
        << "a@x"
        << "";
    QTest::newRow("primary type without number") << "Work:1" << QStringList() << "Ann" << 1 << "" << false << "Work:1"
                                                 << ""
                                                 << "Ann"
                                                 << "Work";
}

void TestRecords::editedContact()
{
    QFETCH(QString, phoneRows);
    QFETCH(QStringList, mails);
    QFETCH(QString, first);
    QFETCH(int, primary);
    QFETCH(QString, picked);
    ContactInfo c;
    c.FirstName = first;
    c.PrimaryIndex = primary;
    c.PrimaryNumber = "old";
    c.PhoneList = phones(phoneRows);
    for (const QString &address : mails)
        c.MailList.append(MailInfo { "Work", "Work", address });
    QTEST(Records::isBlank(c), "blank");
    const QStringList choices = Records::primaryChoices(c.PhoneList);
    QTEST(choices.value(Records::primaryChoice(choices, picked, Records::phoneTypeDisplay(primary))), "choice");
    Records::settleEdits(c);
    QTEST(phonesText(c.PhoneList), "settled");
    QTEST(c.PrimaryNumber, "primaryNumber");
    QTEST(c.FirstName, "firstAfter");
    for (const MailInfo &m : c.MailList)
        QVERIFY(!m.Mail.isEmpty());
}

QTEST_GUILESS_MAIN(TestRecords)
#include "TestRecords.moc"
