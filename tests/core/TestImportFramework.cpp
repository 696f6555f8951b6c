// The reader factory, the shared reader operations and the import entry point.

#include "import/CSVParse.h"
#include "import/ParseFactory.h"
#include "import/VCardParse.h"
#include "import/XmlParse.h"
#include "tests/ImportTestUtil.h"

#include <QLocale>
#include <QPointer>

using namespace TestUtil;
using namespace ImportTest;

class TestImportFramework : public QObject
{
    Q_OBJECT

private slots:
    void readerBySuffix_data();
    void readerBySuffix();
    void newReaderReplacesOnlyItsKind();
    void codecByTerritory_data();
    void codecByTerritory();
    void checkFileEncoding();
    void countersAndNames();
    void importFileReloads();
};

void TestImportFramework::readerBySuffix_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reader");
    QTest::newRow("xml") << "/a/b.xml"
                         << "XmlParse";
    QTest::newRow("vcf") << "b.vcf"
                         << "VCardParse";
    QTest::newRow("csv") << "b.csv"
                         << "CSVParse";
    QTest::newRow("only the last suffix counts") << "b.tar.xml"
                                                 << "XmlParse";
    QTest::newRow("upper-case XML") << "b.XML"
                                    << "";
    QTest::newRow("no suffix") << "phonebook"
                               << "";
    QTest::newRow("dot in the folder only") << "/dir.xml/phonebook"
                                            << "";
    QTest::newRow("other suffix") << "b.txt"
                                  << "";
}

void TestImportFramework::readerBySuffix()
{
    QFETCH(QString, path);
    QFETCH(QString, reader);
    ParseFactory *factory = ParseFactory::instance();
    ParseBase *made = factory->createParser(path);
    QCOMPARE(made ? QString::fromLatin1(made->metaObject()->className()) : QString(), reader);
    QCOMPARE(factory->filePath(), path);
}

void TestImportFramework::newReaderReplacesOnlyItsKind()
{
    ParseFactory *factory = ParseFactory::instance();
    QPointer<ParseBase> csv = factory->createParser("a.csv");
    QPointer<ParseBase> xml = factory->createParser("a.xml");
    QPointer<ParseBase> xml2 = factory->createParser("b.xml");
    QVERIFY(xml.isNull());
    QVERIFY(!xml2.isNull());
    QVERIFY(xml2 != csv);
    QVERIFY(!csv.isNull());
}

void TestImportFramework::codecByTerritory_data()
{
    QTest::addColumn<int>("territory");
    QTest::addColumn<QString>("codec");
    QTest::newRow("China") << int(QLocale::China) << "GBK";
    QTest::newRow("Hong Kong") << int(QLocale::HongKong) << "Big5-HKSCS";
    QTest::newRow("Japan") << int(QLocale::Japan) << "Shift-JIS";
    QTest::newRow("Russia") << int(QLocale::Russia) << "KOI8-R";
    QTest::newRow("Taiwan") << int(QLocale::Taiwan) << "Big5";
    QTest::newRow("Germany") << int(QLocale::Germany) << "EUC-KR";
}

void TestImportFramework::codecByTerritory()
{
    QFETCH(int, territory);
    QFETCH(QString, codec);
    QCOMPARE(ParseBase::codecNameForTerritory(territory), codec);
}

void TestImportFramework::checkFileEncoding()
{
    Workspace ws;
    const QString latin = writeFile(ws, "l.csv", "José,Müller\n");
    const QString chinese = writeFile(ws, "c.csv", "张,伟\n");
    CSVParse csv;
    QVERIFY(csv.checkFileEncoding(latin, "ISO 8859-1"));
    QVERIFY(!csv.checkFileEncoding(chinese, "ISO 8859-1"));
    QVERIFY(csv.checkFileEncoding(chinese, "GBK"));
    QVERIFY(!csv.checkFileEncoding(ws.file("missing.csv"), "GBK"));
    XmlParse xml;
    QVERIFY(xml.checkFileEncoding(chinese, "ignored"));
    QVERIFY(!xml.checkFileEncoding(ws.file("missing.xml"), "UTF-8"));
}

void TestImportFramework::countersAndNames()
{
    Workspace ws;
    DataMgr *mgr = DataMgr::instance();
    mgr->setNextContactId(40);
    mgr->setNextGroupId(50);
    mgr->userGroupNames() << "Golf";
    VCardParse reader;
    reader.resetIdCounters();
    QCOMPARE(mgr->nextContactId(), 1);
    QCOMPARE(mgr->nextGroupId(), 1);
    reader.clearGroupNames();
    QVERIFY(mgr->userGroupNames().isEmpty());

    // A read takes its ids from the counters and names its new groups.
    mgr->setNextContactId(7);
    QVERIFY(import(writeFile(ws, "c.vcf", "BEGIN:VCARD\nN:A;B\nX-MARLO-GROUP:Chess\nEND:VCARD\n")));
    QCOMPARE(mgr->ctList().first().id, 7);
    QVERIFY(mgr->userGroupNames().contains("Chess"));
}

void TestImportFramework::importFileReloads()
{
    Workspace ws;
    RecordingNotifier notes;
    QSignalSpy updates(DataMgr::instance(), &DataMgr::updateModel);
    QVERIFY(import(writeFile(ws, "a.csv", "First Name,Last Name\nAnn,Lee\n")));
    QVERIFY(updates.count() >= 1);
    QCOMPARE(names(), QStringList({ "Ann Lee" }));
    QCOMPARE(DataMgr::instance()->ctList().first().NamePinyin, QString("AnnLee"));
    // Readers show nothing themselves.
    QVERIFY(notes.entries.isEmpty());
}

QTEST_GUILESS_MAIN(TestImportFramework)
#include "TestImportFramework.moc"
