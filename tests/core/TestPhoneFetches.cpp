// The service's table of phones, fed with ended requests as the server hands them
// over: which requests make one phone, which leave a phone with the current
// phonebook, and the bound on how many phones are kept.

#include "httpd/PhoneFetches.h"

#include <QSignalSpy>
#include <QtTest>

#include <arpa/inet.h>

namespace {

struct Fetch {
    QString address;
    QString agent;
    QString file = QStringLiteral("phonebook.xml");
    int status = 200;
    bool whole = true;
    quint64 generation = 2;
};

RequestRecord ended(const Fetch &fetch, qint64 time = 0)
{
    RequestRecord record;
    record.stage = RequestRecord::Ended;
    const QByteArray address = fetch.address.toLatin1();
    if (::inet_pton(AF_INET, address.constData(), &record.peer.v4.sin_addr) == 1)
        record.peer.v4.sin_family = AF_INET;
    else if (::inet_pton(AF_INET6, address.constData(), &record.peer.v6.sin6_addr) == 1)
        record.peer.v6.sin6_family = AF_INET6;
    record.request.userAgent = fetch.agent;
    record.request.product = fetch.agent.contains(QStringLiteral("Birch")) ? QStringLiteral("Birch") : QString();
    record.request.fileName = fetch.file;
    record.status = fetch.status;
    record.whole = fetch.whole;
    record.bytes = fetch.whole ? 100 : 10;
    record.generation = fetch.generation;
    record.time = time;
    return record;
}

// "address|agent|model|up to date" a phone.
QStringList rows(const PhoneFetches &fetches)
{
    QStringList rows;
    for (const PhoneFetches::Phone &p : fetches.phones())
        rows << QStringList { p.address, p.userAgent, p.model, fetches.isUpToDate(p) ? "yes" : "no" }.join('|');
    return rows;
}

} // namespace

Q_DECLARE_METATYPE(QList<Fetch>)

class TestPhoneFetches : public QObject
{
    Q_OBJECT

private slots:
    void onePhonePerAddressAndAgent_data();
    void onePhonePerAddressAndAgent();
    void newGenerationMakesOlderPhones();
    void forgetsThePhonesHeardFromLongestAgo();
};

void TestPhoneFetches::onePhonePerAddressAndAgent_data()
{
    QTest::addColumn<QList<Fetch>>("fetches");
    QTest::addColumn<QStringList>("expected");

    const QString birch = QStringLiteral("Birch/1.0 (B20)");
    QTest::newRow("same phone twice") << QList<Fetch> { { "10.0.0.5", birch }, { "10.0.0.5", birch } }
                                      << QStringList { "10.0.0.5|Birch/1.0 (B20)|Birch|yes" };
    QTest::newRow("two agents at one address")
        << QList<Fetch> { { "10.0.0.5", birch }, { "10.0.0.5", "Cedar T3" } }
        << QStringList { "10.0.0.5|Birch/1.0 (B20)|Birch|yes", "10.0.0.5|Cedar T3|UNIXML|yes" };
    QTest::newRow("one agent at two addresses")
        << QList<Fetch> { { "10.0.0.5", birch }, { "10.0.0.6", birch } }
        << QStringList { "10.0.0.5|Birch/1.0 (B20)|Birch|yes", "10.0.0.6|Birch/1.0 (B20)|Birch|yes" };
    QTest::newRow("an IPv4 address and its IPv6 form") << QList<Fetch> { { "10.0.0.5", birch },
        { "::ffff:10.0.0.5", birch } } << QStringList { "10.0.0.5|Birch/1.0 (B20)|Birch|yes" };
    QTest::newRow("IPv6 phone") << QList<Fetch> { { "fe80::1", "" } } << QStringList { "fe80::1||UNIXML|yes" };
    QTest::newRow("an older phonebook") << QList<Fetch> { { "10.0.0.5", birch, "phonebook.xml", 200, true, 1 } }
                                        << QStringList { "10.0.0.5|Birch/1.0 (B20)|Birch|no" };
    QTest::newRow("a failed fetch keeps the phonebook it has") << QList<Fetch> { { "10.0.0.5", birch },
        { "10.0.0.5", birch, "phonebook.xml", 444, false } } << QStringList { "10.0.0.5|Birch/1.0 (B20)|Birch|yes" };
    QTest::newRow("a fetch cut short") << QList<Fetch> { { "10.0.0.5", birch, "phonebook.xml", 200, false } }
                                       << QStringList { "10.0.0.5|Birch/1.0 (B20)|Birch|no" };
    QTest::newRow("another file is no phonebook")
        << QList<Fetch> { { "10.0.0.5", birch, "photo.jpg" } } << QStringList { "10.0.0.5|Birch/1.0 (B20)|Birch|no" };
    const QString longAgent = QString(PhoneFetches::kMaxAgent, QLatin1Char('a'));
    QTest::newRow("agents alike up to the bound") << QList<Fetch> { { "10.0.0.5", longAgent + "1" },
        { "10.0.0.5", longAgent + "2" } } << QStringList { "10.0.0.5|" + longAgent + "|UNIXML|yes" };
}

void TestPhoneFetches::onePhonePerAddressAndAgent()
{
    QFETCH(QList<Fetch>, fetches);
    QFETCH(QStringList, expected);

    PhoneFetches table;
    table.setGeneration(2);
    QList<RequestRecord> batch;
    for (const Fetch &fetch : fetches)
        batch << ended(fetch);
    table.record(batch);
    QCOMPARE(rows(table), expected);
}

void TestPhoneFetches::newGenerationMakesOlderPhones()
{
    PhoneFetches table;
    table.setGeneration(2);
    QSignalSpy added(&table, &PhoneFetches::phonesAdded);
    QSignalSpy changed(&table, &PhoneFetches::phonesChanged);
    table.record({ ended({ "10.0.0.5", "Birch" }), ended({ "10.0.0.6", "Birch" }) });
    QCOMPARE(added.count(), 1);
    QCOMPARE(added.first(), QVariantList({ 0, 1 }));

    QSignalSpy generation(&table, &PhoneFetches::generationChanged);
    table.setGeneration(3);
    QCOMPARE(generation.count(), 1);
    QCOMPARE(rows(table), QStringList({ "10.0.0.5|Birch|Birch|no", "10.0.0.6|Birch|Birch|no" }));

    // The second phone fetches the new one; no phone is added.
    table.record({ ended({ "10.0.0.6", "Birch", "phonebook.xml", 200, true, 3 }) });
    QCOMPARE(added.count(), 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first(), QVariantList({ 1, 1 }));
    QCOMPARE(rows(table), QStringList({ "10.0.0.5|Birch|Birch|no", "10.0.0.6|Birch|Birch|yes" }));
}

void TestPhoneFetches::forgetsThePhonesHeardFromLongestAgo()
{
    constexpr int kFull = PhoneFetches::kMaxPhones;
    PhoneFetches table;
    table.setGeneration(2);
    // Phone i was last heard from at time i, except the first, heard from last of all.
    QList<RequestRecord> batch;
    for (int i = 0; i < kFull; ++i)
        batch << ended({ "10.0.0.5", QStringLiteral("agent %1").arg(i) }, i == 0 ? kFull : i);
    table.record(batch);
    QCOMPARE(table.phones().size(), kFull);

    QSignalSpy aboutToForget(&table, &PhoneFetches::aboutToForget);
    QSignalSpy forgotten(&table, &PhoneFetches::forgotten);
    QSignalSpy added(&table, &PhoneFetches::phonesAdded);
    table.record({ ended({ "10.0.0.5", "newcomer" }, kFull + 1) });
    QCOMPARE(aboutToForget.count(), 1);
    QCOMPARE(forgotten.count(), 1);
    const int kept = kFull - kFull / 10;
    QCOMPARE(table.phones().size(), kept + 1);
    QCOMPARE(added.first(), QVariantList({ kept, kept }));
    // The tenth heard from longest ago went; the order of the rest is kept.
    QCOMPARE(table.phones().first().userAgent, QStringLiteral("agent 0"));
    QCOMPARE(table.phones().at(1).userAgent, QStringLiteral("agent %1").arg(kFull / 10 + 1));
    QCOMPARE(table.phones().last().userAgent, QStringLiteral("newcomer"));

    // The phones kept are still found under their own row.
    QSignalSpy changed(&table, &PhoneFetches::phonesChanged);
    table.record({ ended({ "10.0.0.5", QStringLiteral("agent %1").arg(kFull - 1) }, kFull + 2) });
    QCOMPARE(table.phones().size(), kept + 1);
    QCOMPARE(changed.first(), QVariantList({ kept - 1, kept - 1 }));
    QCOMPARE(table.phones().at(kept - 1).time, qint64(kFull + 2));
}

QTEST_GUILESS_MAIN(TestPhoneFetches)
#include "TestPhoneFetches.moc"
