// The store's batch insert: how values land in the tables, and that a failing row stores nothing.

#include "tests/TestUtil.h"

#include <QSqlQuery>

using namespace TestUtil;
using namespace StoreValues;

namespace {

QStringList column(const QString &sql)
{
    QStringList out;
    QSqlQuery q;
    q.exec(sql);
    while (q.next())
        out << q.value(0).toString();
    return out;
}

QList<QVariantList> contactColumns(const QList<QVariantList> &rows)
{
    QList<QVariantList> columns(10);
    for (const QVariantList &row : rows) {
        for (int c = 0; c < 10; ++c)
            columns[c].append(row.value(c));
    }
    return columns;
}

} // namespace

class TestStoreBatch : public QObject
{
    Q_OBJECT

private slots:
    void valuesKeepTheirKind_data();
    void valuesKeepTheirKind();
    void textSurvivesWhole();
    void failingRowStoresNothing();
    void unequalColumnsAreRefused();
};

void TestStoreBatch::valuesKeepTheirKind_data()
{
    QTest::addColumn<int>("columnIndex");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("stored");
    // Department is a text column, RingtoneIndex an integer one (columns 1 and 6).
    QTest::newRow("null text") << 1 << nullText() << "null:";
    QTest::newRow("null integer") << 6 << nullInt() << "null:";
    QTest::newRow("invalid value") << 1 << QVariant() << "null:";
    QTest::newRow("empty text") << 1 << QVariant(QString("")) << "text:";
    QTest::newRow("text") << 1 << QVariant(QString("R&D")) << "text:R&D";
    QTest::newRow("integer") << 6 << QVariant(42) << "integer:42";
    QTest::newRow("negative") << 6 << QVariant(-7) << "integer:-7";
    QTest::newRow("boolean") << 6 << QVariant(true) << "integer:1";
    QTest::newRow("integer into a text column") << 1 << QVariant(5) << "text:5";
}

void TestStoreBatch::valuesKeepTheirKind()
{
    QFETCH(int, columnIndex);
    QFETCH(QVariant, value);
    QFETCH(QString, stored);
    Workspace ws;
    QVariantList row { 1, nullText(), "Lee", "Ann", nullText(), nullText(), nullInt(), 0, 0, 1 };
    row[columnIndex] = value;
    Batch batch;
    batch["contact1"] = contactColumns({ row });
    QVERIFY(TestUtil::store()->insertBatch(batch));
    const QString name = columnIndex == 1 ? "Department" : "RingtoneIndex";
    QCOMPARE(column(QStringLiteral("select typeof(%1) || ':' || ifnull(%1, '') from contact1").arg(name)),
        QStringList({ stored }));
    QCOMPARE(column("select typeof(id) || typeof(Flag) from contact1"), QStringList({ "integerinteger" }));
}

void TestStoreBatch::textSurvivesWhole()
{
    Workspace ws;
    const QString name = QString::fromUtf8("张伟 Zoë \xf0\x9f\x98\x80 O'Neil \"x\"");
    Batch batch;
    batch["contact1"] = contactColumns({ { 1, nullText(), name, "", nullText(), nullText(), 0, 0, 0, 1 } });
    batch["phone1"] = { { 1 }, { "Work" }, { "+1 (555) 0'1" }, { 0 } };
    QVERIFY(TestUtil::store()->insertBatch(batch));
    QCOMPARE(column("select LastName from contact1"), QStringList({ name }));
    QCOMPARE(column("select phonenumber from phone1"), QStringList({ "+1 (555) 0'1" }));
}

void TestStoreBatch::failingRowStoresNothing()
{
    Workspace ws;
    Batch batch;
    // The second contact repeats the first one's key.
    batch["contact1"] = contactColumns({ { 1, nullText(), "A", "B", nullText(), nullText(), 0, 0, 0, 1 },
        { 1, nullText(), "C", "D", nullText(), nullText(), 0, 0, 0, 1 },
        { 2, nullText(), "E", "F", nullText(), nullText(), 0, 0, 0, 1 } });
    batch["union1"] = { { 1, 2 }, { "Golf", "Chess" } };
    QVERIFY(!TestUtil::store()->insertBatch(batch));
    QCOMPARE(column("select count(*) from contact1"), QStringList({ "0" }));
    QCOMPARE(column("select count(*) from union1"), QStringList({ "0" }));
}

void TestStoreBatch::unequalColumnsAreRefused()
{
    Workspace ws;
    Batch batch;
    batch["union1"] = { { 1, 2 }, { "Golf" } };
    batch["mail1"] = { { 1 }, { nullText() }, { "a@x" } };
    QVERIFY(!TestUtil::store()->insertBatch(batch));
    QCOMPARE(column("select count(*) from union1"), QStringList({ "0" }));
    QCOMPARE(column("select count(*) from mail1"), QStringList({ "0" }));
}

QTEST_GUILESS_MAIN(TestStoreBatch)
#include "TestStoreBatch.moc"
