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
};

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

QTEST_GUILESS_MAIN(TestRecords)
#include "TestRecords.moc"
