// The headless tool's export and save commands, run as a separate process on a
// phonebook stored in a fresh folder.

#include "tests/CliRun.h"
#include "tests/TestUtil.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringDecoder>

namespace {

const QString kExportFailed
    = QStringLiteral("Phone book export failed, please check directory or try another coding format!\n");

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QString kExtensions[] = { QStringLiteral(".vcf"), QStringLiteral(".xml"), QStringLiteral(".xml"),
    QStringLiteral(".xml"), QStringLiteral(".xml"), QStringLiteral(".xml"), QStringLiteral(".csv"),
    QStringLiteral(".csv"), QStringLiteral(".csv"), QStringLiteral(".csv"), QStringLiteral(".csv"),
    QStringLiteral(".csv"), QStringLiteral(".csv") };

// The written text for format `format`, hand-written in tests/data/cli/, with the
// declaration naming `iana`.
QString expectedText(int format, const QString &iana)
{
    const QString path = QStringLiteral(QUORVANE_TEST_DATA "/cli/%1%2").arg(format).arg(kExtensions[format]);
    return QString::fromUtf8(readFile(path)).replace(QStringLiteral("@ENCODING@"), iana);
}

QString decode(const QString &iana, const QByteArray &bytes)
{
    if (iana == QLatin1String("UTF-16"))
        return QStringDecoder(QStringConverter::Utf16LE).decode(bytes);
    if (iana == QLatin1String("UTF-32"))
        return QStringDecoder(QStringConverter::Utf32LE).decode(bytes);
    return QStringDecoder(iana.toLatin1().constData()).decode(bytes);
}

} // namespace

class TestExportCli : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void exportEveryFormatAndEncoding_data();
    void exportEveryFormatAndEncoding();
    void exportFailures_data();
    void exportFailures();
    void exportLeavesReadOnlyStore();
    void failedExportKeepsWhatWasThere_data();
    void failedExportKeepsWhatWasThere();
    void save();
    void saveOfManySlicesEqualsTheWindowsSave();
    void saveFails();

private:
    // A fresh folder holding a copy of the prepared phonebook.db.
    QString freshFolder();

    QTemporaryDir m_template;
    QList<std::shared_ptr<QTemporaryDir>> m_folders;
};

void TestExportCli::initTestCase()
{
    QVERIFY(QFile::exists(QStringLiteral(QUORVANE_CLI_PATH)));
    AppPaths::setAppDir(m_template.path());
    DataMgr::instance()->closeStore();
    QVERIFY(DataMgr::instance()->openStore());
    DataMgr *mgr = DataMgr::instance();
    mgr->clearPhonebook();
    TestUtil::addGroup(QStringLiteral("Golf"));
    ContactInfo ivan = TestUtil::contact(QStringLiteral("Ivan"), QStringLiteral("Petrov"),
        { TestUtil::phone(QStringLiteral("Mobile"), QStringLiteral("123"), 0) },
        { TestUtil::mail(QStringLiteral("Work"), QStringLiteral("ivan@example.com")) }, { QStringLiteral("Golf") });
    ivan.PrimaryIndex = 2;
    TestUtil::addContact(ivan);
    TestUtil::addContact(TestUtil::contact(QStringLiteral("Ann"), QString()));
    // Stored ids become 2, 3, 4 here; the tool writes the ids a save would give,
    // 5, 6, 7, so Golf is 6 in every file.
    QVERIFY(mgr->saveToDatabase());
    DataMgr::instance()->closeStore();
    AppPaths::setAppDir(QString());
}

QString TestExportCli::freshFolder()
{
    auto dir = std::make_shared<QTemporaryDir>();
    m_folders.append(dir);
    QFile::copy(m_template.filePath(QStringLiteral("phonebook.db")), dir->filePath(QStringLiteral("phonebook.db")));
    return dir->path();
}

void TestExportCli::exportEveryFormatAndEncoding_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("iana");
    const QList<QPair<QString, QString>> encodings { { QStringLiteral("UTF-8"), QStringLiteral("UTF-8") },
        { QStringLiteral("UTF-16"), QStringLiteral("UTF-16") }, { QStringLiteral("UTF-32"), QStringLiteral("UTF-32") },
        { QStringLiteral("GBK"), QStringLiteral("GBK") }, { QStringLiteral("Big5"), QStringLiteral("Big5") },
        { QStringLiteral("Big5-HKSCS"), QStringLiteral("Big5-HKSCS") },
        { QStringLiteral("Shift-JIS"), QStringLiteral("Shift_JIS") },
        { QStringLiteral("ISO 2022-JP"), QStringLiteral("ISO-2022-JP") },
        { QStringLiteral("KOI8-R"), QStringLiteral("KOI8-R") },
        { QStringLiteral("Windows-1251"), QStringLiteral("windows-1251") },
        { QStringLiteral("EUC-KR"), QStringLiteral("EUC-KR") },
        { QStringLiteral("ISO 8859-1"), QStringLiteral("ISO-8859-1") },
        { QStringLiteral("ISO 8859-15"), QStringLiteral("ISO-8859-15") } };
    for (int format = 0; format <= 12; ++format) {
        for (const auto &e : encodings)
            QTest::addRow("%d %s", format, qPrintable(e.first)) << format << e.first << e.second;
    }
}

void TestExportCli::exportEveryFormatAndEncoding()
{
    QFETCH(int, format);
    QFETCH(QString, encoding);
    QFETCH(QString, iana);
    const QString dir = freshFolder();
    const CliRun r = runCli(
        { QStringLiteral("--dir"), dir, QStringLiteral("export"), QStringLiteral("--format"), QString::number(format),
            QStringLiteral("--encoding"), encoding, QStringLiteral("--out"), dir + QStringLiteral("/x") });
    QCOMPARE(r.err, QString());
    QCOMPARE(r.exitCode, 0);
    const QString written = dir + QStringLiteral("/x") + kExtensions[format];
    QCOMPARE(r.out, written + QLatin1Char('\n'));
    QStringList got = decode(iana, readFile(written)).split(QLatin1Char('\n'));
    QStringList expected = expectedText(format, iana).split(QLatin1Char('\n'));
    // The Chinese CSV headers only survive encodings that hold them.
    const bool chineseHeader = format == 9 || format == 11;
    const QStringList holdChinese { QStringLiteral("UTF-8"), QStringLiteral("UTF-16"), QStringLiteral("UTF-32"),
        QStringLiteral("GBK") };
    if (chineseHeader && !holdChinese.contains(iana)) {
        QCOMPARE(got.first().count(QLatin1Char(',')), expected.first().count(QLatin1Char(',')));
        got.removeFirst();
        expected.removeFirst();
    }
    QCOMPARE(got, expected);
}

void TestExportCli::exportFailures_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing folder") << QStringList {
        "--format", "1", "--encoding", "UTF-8", "--out", "@/no/such/x"
    } << 1 << kExportFailed + QStringLiteral("@/no/such/x.xml could not be written (No such file or directory).\n");
    // Refused before anything is written, in every layout.
    QTest::newRow("unknown encoding for CSV") << QStringList { "--format", "8", "--encoding", "no-such", "--out",
        "@/x" } << 2 << QStringLiteral("The encoding no-such is unknown.\n");
    QTest::newRow("unknown encoding for XML") << QStringList { "--format", "1", "--encoding", "no-such", "--out",
        "@/x" } << 2 << QStringLiteral("The encoding no-such is unknown.\n");
    QTest::newRow("format out of range") << QStringList { "--format", "13", "--encoding", "UTF-8", "--out", "@/x" } << 2
                                         << QString();
    QTest::newRow("format neither a number nor a name")
        << QStringList { "--format", "html", "--encoding", "UTF-8", "--out", "@/x" } << 2 << QString();
    QTest::newRow("no --out") << QStringList { "--format", "1", "--encoding", "UTF-8" } << 2 << QString();
}

void TestExportCli::exportFailures()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const QString dir = freshFolder();
    options.replaceInStrings(QStringLiteral("@"), dir);
    const CliRun r = runCli(QStringList { QStringLiteral("--dir"), dir, QStringLiteral("export") } + options);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.out, QString());
    if (!message.isEmpty())
        QCOMPARE(r.err, message.replace(QStringLiteral("@"), dir));
    else
        QVERIFY(!r.err.isEmpty());
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList { QStringLiteral("phonebook.db") });
}

void TestExportCli::exportLeavesReadOnlyStore()
{
    const QString dir = freshFolder();
    const QString store = dir + QStringLiteral("/phonebook.db");
    const QByteArray stored = readFile(store);
    QVERIFY(QFile::setPermissions(store, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const CliRun r = runCli({ QStringLiteral("--dir"), dir, QStringLiteral("export"), QStringLiteral("--format"),
        QStringLiteral("1"), QStringLiteral("--encoding"), QStringLiteral("UTF-8"), QStringLiteral("--out"),
        dir + QStringLiteral("/x") });
    QCOMPARE(r.err, QString());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(QString::fromUtf8(readFile(dir + QStringLiteral("/x.xml"))), expectedText(1, QStringLiteral("UTF-8")));
    QVERIFY(readFile(store) == stored);
}

void TestExportCli::failedExportKeepsWhatWasThere_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<QString>("message");
    QTest::newRow("the file's name is a folder's")
        << "folder"
        << kExportFailed + QStringLiteral("@/x.xml could not be written (Filename refers to a directory).\n");
    QTest::newRow("the store cannot be read whole")
        << "store"
        << QStringLiteral("The phonebook could not be read from phonebook.db (no such column: accountindex).\n");
}

void TestExportCli::failedExportKeepsWhatWasThere()
{
    QFETCH(QString, breakage);
    QFETCH(QString, message);
    const QString dir = freshFolder();
    const QString target = dir + QStringLiteral("/x.xml");
    if (breakage == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(target));
    } else {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("the export before\n") > 0);
        old.close();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("break"));
            db.setDatabaseName(dir + QStringLiteral("/phonebook.db"));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("drop table phone1")));
            QVERIFY(q.exec(QStringLiteral("create table phone1 (cid INT, type VERCHAR, phonenumber VERCHAR)")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("break"));
    }
    const QByteArray store = readFile(dir + QStringLiteral("/phonebook.db"));
    const CliRun r = runCli({ QStringLiteral("--dir"), dir, QStringLiteral("export"), QStringLiteral("--format"),
        QStringLiteral("1"), QStringLiteral("--encoding"), QStringLiteral("UTF-8"), QStringLiteral("--out"),
        dir + QStringLiteral("/x") });
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QString());
    QCOMPARE(r.err, message.replace(QStringLiteral("@"), dir));
    if (breakage == QLatin1String("folder"))
        QVERIFY(QFileInfo(target).isDir() && QDir(target).isEmpty());
    else
        QCOMPARE(readFile(target), QByteArray("the export before\n"));
    QVERIFY(readFile(dir + QStringLiteral("/phonebook.db")) == store);
    // Nothing half-written is left beside it.
    QStringList files = QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    files.removeAll(QStringLiteral("phonebook.lock"));
    QCOMPARE(files, (QStringList { QStringLiteral("phonebook.db"), QStringLiteral("x.xml") }));
}

void TestExportCli::save()
{
    const QString dir = freshFolder();
    const CliRun r = runCli({ QStringLiteral("--dir"), dir, QStringLiteral("save") });
    QCOMPARE(r.err, QString());
    QCOMPARE(r.exitCode, 0);
    const QRegularExpression historyName(
        QStringLiteral("^%1/target/phonebook_\\d{14}\\.xml\\n$").arg(QRegularExpression::escape(dir)));
    QVERIFY2(historyName.match(r.out).hasMatch(), qPrintable(r.out));
    const QString history = r.out.trimmed();
    QCOMPARE(QString::fromUtf8(readFile(history)), expectedText(1, QStringLiteral("UTF-8")));

    QStringList files;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next().mid(dir.size() + 1);
    files.sort();
    QCOMPARE(files,
        (QStringList { QStringLiteral("HTTPD/Birch/phonebook.xml"), QStringLiteral("HTTPD/Brenn/phonebook.xml"),
            QStringLiteral("HTTPD/Cedar/phonebook.xml"), QStringLiteral("HTTPD/UNIXML/phonebook.xml"),
            QStringLiteral("phonebook.db"), QStringLiteral("phonebook.lock"), history.mid(dir.size() + 1) }));
    QCOMPARE(QString::fromUtf8(readFile(dir + QStringLiteral("/HTTPD/UNIXML/phonebook.xml"))),
        expectedText(1, QStringLiteral("UTF-8")));
    QCOMPARE(QString::fromUtf8(readFile(dir + QStringLiteral("/HTTPD/Birch/phonebook.xml"))),
        expectedText(3, QStringLiteral("UTF-8")));
    QCOMPARE(QString::fromUtf8(readFile(dir + QStringLiteral("/HTTPD/Cedar/phonebook.xml"))),
        expectedText(4, QStringLiteral("UTF-8")));
    QCOMPARE(QString::fromUtf8(readFile(dir + QStringLiteral("/HTTPD/Brenn/phonebook.xml"))),
        expectedText(5, QStringLiteral("UTF-8")));
}

// The tool writes the files from one read of the store shared by four writers, a
// slice at a time; the window writes them from its lists. Past a few slices, with
// one writer stopping early (Birch takes 1000 contacts), the files are the same.
void TestExportCli::saveOfManySlicesEqualsTheWindowsSave()
{
    QTemporaryDir window;
    QTemporaryDir tool;
    AppPaths::setAppDir(window.path());
    DataMgr *mgr = DataMgr::instance();
    mgr->closeStore();
    QVERIFY(mgr->openStore());
    mgr->clearPhonebook();
    TestUtil::addGroup(QStringLiteral("Golf"));
    QList<int> golfers;
    for (int i = 0; i < 21000; ++i) {
        ContactInfo c = TestUtil::contact(QStringLiteral("P%1").arg(i), QStringLiteral("Lee"),
            { TestUtil::phone(QStringLiteral("Mobile"), QString::number(5550000 + i), 0) });
        const int id = mgr->phonebook().addContact(c);
        if (i % 3 == 0)
            golfers.append(id);
    }
    mgr->phonebook().copyToGroup(golfers, QStringLiteral("Golf"));
    QVERIFY(mgr->saveToDatabase());
    QVERIFY(
        QFile::copy(window.filePath(QStringLiteral("phonebook.db")), tool.filePath(QStringLiteral("phonebook.db"))));
    QVERIFY(mgr->reloadForWriting());
    QString windowHistory;
    QVERIFY(mgr->savePhonebookFiles(&windowHistory));
    mgr->closeStore();
    AppPaths::setAppDir(QString());

    const CliRun r = runCli({ QStringLiteral("--dir"), tool.path(), QStringLiteral("save") });
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(readFile(r.out.trimmed()), readFile(windowHistory));
    for (const char *model : { "UNIXML", "Birch", "Cedar", "Brenn" }) {
        const QString file = QStringLiteral("/HTTPD/%1/phonebook.xml").arg(QLatin1String(model));
        QCOMPARE(readFile(tool.path() + file), readFile(window.path() + file));
    }
}

void TestExportCli::saveFails()
{
    const QString dir = freshFolder();
    QFile blocker(dir + QStringLiteral("/target"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const CliRun r = runCli({ QStringLiteral("--dir"), dir, QStringLiteral("save") });
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QString());
    // What could not be written, and why.
    const QRegularExpression message(QStringLiteral(
        "^Save failed: %1/target/phonebook_\\d{14}\\.xml could not be written \\(Not a directory\\)\\.\\n$")
                                         .arg(QRegularExpression::escape(dir)));
    QVERIFY2(message.match(r.err).hasMatch(), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TestExportCli)
#include "TestExportCli.moc"
