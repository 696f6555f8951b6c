#include "tests/CliRun.h"
#include "tests/RadicaleServer.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString &kUser = RadicaleServer::kUser;
const QString &kPassword = RadicaleServer::kPassword;

QByteArray card(const QString &uid, const QString &family, const QString &given, const QString &tel)
{
    return RadicaleServer::card(uid, family, given, tel);
}

} // namespace

// A real CardDAV server (Radicale) on loopback feeds the phonebook through the
// headless tool: first fetch, refreshes that carry only the changes, and failures
// that leave the phonebook as it was.
class TestCardDav : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void addFindsTheBooksAndFetches_data();
    void addFindsTheBooksAndFetches();
    void refreshCarriesOnlyTheChanges();
    void failedRefreshChangesNothing_data();
    void failedRefreshChangesNothing();
    void failedFirstFetchAddsNothing();
    void unknownCertificateOnlyWhenTrusted();
    void passwordFileMustBePrivate();
    void storeOfAnOlderVersionKeepsItsSources();
    void newPhonebookForgetsTheCards();

private:
    bool startServer(bool tls = false);
    void stopServer() { m_radicale->stop(); }
    QNetworkReply::NetworkError dav(const QByteArray &method, const QString &path, const QByteArray &body = {},
        const QByteArray &type = "text/vcard")
    {
        return m_radicale->dav(method, path, body, type);
    }
    void makeBook(const QString &name) { QVERIFY(m_radicale->makeBook(name)); }
    // Adds the book as a source, which fetches it.
    void addBook()
    {
        QCOMPARE(
            cli({ QStringLiteral("source"), QStringLiteral("add"),
                    QStringLiteral("http://127.0.0.1:%1/anna/book/").arg(m_port), QStringLiteral("--user"), kUser })
                .exitCode,
            0);
    }
    CliRun cli(QStringList args, const QString &password = kPassword);
    QList<QJsonObject> contacts();

    QTemporaryDir m_tmp;
    QString m_data; // the phonebook's folder
    std::unique_ptr<RadicaleServer> m_radicale;
    quint16 m_port = 0;
};

void TestCardDav::initTestCase()
{
    if (!RadicaleServer::installed())
        QSKIP("Radicale is not installed (tools/deps.sh installs it): no CardDAV server to test against");
}

void TestCardDav::init()
{
    static int round = 0;
    ++round;
    m_data = m_tmp.filePath(QStringLiteral("data%1").arg(round));
    QVERIFY(QDir().mkpath(m_data));
    m_radicale = std::make_unique<RadicaleServer>(m_tmp.filePath(QStringLiteral("server%1").arg(round)));
    QVERIFY(startServer());
}

void TestCardDav::cleanup()
{
    m_radicale.reset();
}

bool TestCardDav::startServer(bool tls)
{
    const bool started = m_radicale->start(tls);
    m_port = m_radicale->port();
    return started;
}

CliRun TestCardDav::cli(QStringList args, const QString &password)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUORVANE_CARDDAV_PASSWORD"), password);
    return runCli(QStringList { QStringLiteral("--dir"), m_data } + args, env);
}

QList<QJsonObject> TestCardDav::contacts()
{
    const CliRun dump = cli({ QStringLiteral("dump") });
    QList<QJsonObject> list;
    for (const QJsonValue &v : QJsonDocument::fromJson(dump.out.toUtf8()).object().value("contacts").toArray())
        list.append(v.toObject());
    return list;
}

namespace {

QStringList names(const QList<QJsonObject> &contacts)
{
    QStringList list;
    for (const QJsonObject &c : contacts)
        list.append(c.value("FirstName").toString() + QLatin1Char(' ') + c.value("LastName").toString());
    list.sort();
    return list;
}

} // namespace

void TestCardDav::addFindsTheBooksAndFetches_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("the book itself") << QStringLiteral("/anna/book/");
    QTest::newRow("the user's home") << QStringLiteral("/anna/");
    QTest::newRow("the server's root") << QStringLiteral("/");
}

void TestCardDav::addFindsTheBooksAndFetches()
{
    QFETCH(QString, path);
    makeBook(QStringLiteral("Office"));
    QCOMPARE(dav("PUT", QStringLiteral("/anna/book/a.vcf"), card("a", "McLee", "Anna", "+44 20 7946 0001")),
        QNetworkReply::NoError);
    // A name folded and written quoted-printable, as older phones write it.
    QCOMPARE(dav("PUT", QStringLiteral("/anna/book/b.vcf"),
                 "BEGIN:VCARD\r\nVERSION:2.1\r\nUID:b\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E5=BC=A0;\r\n"
                 " =E4=B8=89;;;\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E5=BC=A0=E4=B8=89\r\n"
                 "TEL;CELL:13800138000\r\nEND:VCARD\r\n"),
        QNetworkReply::NoError);

    const CliRun added = cli({ QStringLiteral("source"), QStringLiteral("add"),
        QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path), QStringLiteral("--user"), kUser });
    QVERIFY2(added.exitCode == 0, qPrintable(added.err));
    const QList<QJsonObject> list = contacts();
    QCOMPARE(names(list), QStringList({ QStringLiteral("Anna McLee"), QString::fromUtf8("三 张") }));
    for (const QJsonObject &c : list)
        QVERIFY(c.value("GroupList").toArray().contains(QStringLiteral("Office")));
    // The phones' files were written with them.
    QFile birch(m_data + QStringLiteral("/HTTPD/Birch/phonebook.xml"));
    QVERIFY(birch.open(QIODevice::ReadOnly));
    QVERIFY(birch.readAll().contains("McLee"));
}

void TestCardDav::refreshCarriesOnlyTheChanges()
{
    makeBook(QStringLiteral("Office"));
    for (int i = 0; i < 5; ++i)
        QCOMPARE(dav("PUT", QStringLiteral("/anna/book/%1.vcf").arg(i),
                     card(QString::number(i), QStringLiteral("Family%1").arg(i), QStringLiteral("Given"), "100")),
            QNetworkReply::NoError);
    const CliRun added = cli({ QStringLiteral("source"), QStringLiteral("add"),
        QStringLiteral("http://127.0.0.1:%1/anna/book/").arg(m_port), QStringLiteral("--user"), kUser });
    QVERIFY2(added.exitCode == 0, qPrintable(added.err));
    QCOMPARE(contacts().size(), 5);

    // Nothing changed: one request, nothing applied.
    CliRun synced = cli({ QStringLiteral("source"), QStringLiteral("sync") });
    QVERIFY2(synced.exitCode == 0, qPrintable(synced.err));
    QVERIFY2(synced.out.contains(QStringLiteral("0 contact(s) changed, 1 request(s)")), qPrintable(synced.out));

    QCOMPARE(
        dav("PUT", QStringLiteral("/anna/book/1.vcf"), card("1", "Changed", "Given", "200")), QNetworkReply::NoError);
    QCOMPARE(dav("DELETE", QStringLiteral("/anna/book/2.vcf")), QNetworkReply::NoError);
    QCOMPARE(
        dav("PUT", QStringLiteral("/anna/book/9.vcf"), card("9", "Added", "Given", "300")), QNetworkReply::NoError);
    synced = cli({ QStringLiteral("source"), QStringLiteral("sync") });
    QVERIFY2(synced.exitCode == 0, qPrintable(synced.err));
    // The report of changes and one fetch of the two cards that changed.
    QVERIFY2(synced.out.contains(QStringLiteral("3 contact(s) changed, 2 request(s)")), qPrintable(synced.out));
    QCOMPARE(names(contacts()),
        QStringList({ QStringLiteral("Given Added"), QStringLiteral("Given Changed"), QStringLiteral("Given Family0"),
            QStringLiteral("Given Family3"), QStringLiteral("Given Family4") }));

    // A phonebook emptied by hand gets the whole book back at the next refresh.
    QCOMPARE(cli({ QStringLiteral("new") }).exitCode, 0);
    QCOMPARE(cli({ QStringLiteral("source"), QStringLiteral("sync") }).exitCode, 0);
    QCOMPARE(contacts().size(), 5);
}

void TestCardDav::failedRefreshChangesNothing_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("expected");
    QTest::newRow("wrong password") << "password" << QStringLiteral("refused the login");
    QTest::newRow("server gone") << "server" << QStringLiteral("Download failed");
    // The cards arrived, but the save that follows cannot write its history copy.
    QTest::newRow("save fails") << "history" << QStringLiteral("Save failed");
}

void TestCardDav::failedRefreshChangesNothing()
{
    QFETCH(QString, fault);
    QFETCH(QString, expected);
    const bool wrongPassword = fault == QLatin1String("password");
    makeBook(QStringLiteral("Office"));
    QCOMPARE(dav("PUT", QStringLiteral("/anna/book/a.vcf"), card("a", "McLee", "Anna", "1")), QNetworkReply::NoError);
    addBook();
    QCOMPARE(dav("PUT", QStringLiteral("/anna/book/a.vcf"), card("a", "Changed", "Anna", "2")), QNetworkReply::NoError);
    QFile store(m_data + QStringLiteral("/phonebook.db"));
    QVERIFY(store.open(QIODevice::ReadOnly));
    const QByteArray before = store.readAll();
    store.close();

    if (fault == QLatin1String("server"))
        stopServer();
    const QString target = m_data + QStringLiteral("/target");
    const QString birch = m_data + QStringLiteral("/HTTPD/Birch/phonebook.xml");
    QFile phones(birch);
    QVERIFY(phones.open(QIODevice::ReadOnly));
    const QByteArray served = phones.readAll();
    phones.close();
    if (fault == QLatin1String("history")) {
        QVERIFY(QDir(target).removeRecursively());
        QFile blocker(target);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    const CliRun synced = cli(
        { QStringLiteral("source"), QStringLiteral("sync") }, wrongPassword ? QStringLiteral("wrong") : kPassword);
    QCOMPARE(synced.exitCode, 1);
    const QString &err = synced.err;
    QVERIFY2(err.contains(expected), qPrintable(err));
    QVERIFY(store.open(QIODevice::ReadOnly));
    QCOMPARE(store.readAll(), before);
    // The phones get what they got, or a file written again from the unchanged store.
    QVERIFY(!phones.exists() || (phones.open(QIODevice::ReadOnly) && phones.readAll() == served));
}

void TestCardDav::failedFirstFetchAddsNothing()
{
    makeBook(QStringLiteral("Office"));
    // Two cards in one file, put past the server's checks: it fails to list the book.
    QFile two(m_radicale->folder() + QStringLiteral("/collections/collection-root/anna/book/two.vcf"));
    QVERIFY(two.open(QIODevice::WriteOnly));
    two.write(card("x", "One", "Anna", "1") + card("y", "Two", "Bert", "2"));
    two.close();
    const CliRun added = cli({ QStringLiteral("source"), QStringLiteral("add"),
        QStringLiteral("http://127.0.0.1:%1/anna/book/").arg(m_port), QStringLiteral("--user"), kUser });
    QCOMPARE(added.exitCode, 1);
    QCOMPARE(cli({ QStringLiteral("source"), QStringLiteral("list") }).out, QString());
}

void TestCardDav::unknownCertificateOnlyWhenTrusted()
{
    stopServer();
    if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
        QSKIP("openssl is not installed: no certificate to test with");
    QVERIFY(startServer(true));
    // The book is put straight into the server's folder: it is the certificate under test.
    const QString book = m_radicale->folder() + QStringLiteral("/collections/collection-root/anna/book");
    QVERIFY(QDir().mkpath(book));
    QFile props(book + QStringLiteral("/.Radicale.props"));
    QVERIFY(props.open(QIODevice::WriteOnly));
    props.write(R"({"D:displayname": "Office", "tag": "VADDRESSBOOK"})");
    props.close();
    QFile a(book + QStringLiteral("/a.vcf"));
    QVERIFY(a.open(QIODevice::WriteOnly));
    a.write(card("a", "McLee", "Anna", "1"));
    a.close();
    QStringList add { QStringLiteral("source"), QStringLiteral("add"),
        QStringLiteral("https://127.0.0.1:%1/anna/").arg(m_port), QStringLiteral("--user"), kUser };
    const CliRun refused = cli(add);
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.contains(QStringLiteral("certificate")), qPrintable(refused.err));
    QCOMPARE(cli({ QStringLiteral("source"), QStringLiteral("list") }).out, QString());

    // Trusted by the fingerprint the refusal named, for the refreshes too.
    const QRegularExpressionMatch fingerprint
        = QRegularExpression(QStringLiteral("--trust-certificate ([0-9A-F:]{95})")).match(refused.err);
    QVERIFY2(fingerprint.hasMatch(), qPrintable(refused.err));
    const CliRun trusted = cli(add << QStringLiteral("--trust-certificate") << fingerprint.captured(1));
    QVERIFY2(trusted.exitCode == 0, qPrintable(trusted.err));
    QCOMPARE(names(contacts()), QStringList { QStringLiteral("Anna McLee") });
    const CliRun synced = cli({ QStringLiteral("source"), QStringLiteral("sync") });
    QVERIFY2(synced.exitCode == 0, qPrintable(synced.err));

    // A new certificate (the server makes one at each start) is refused again.
    stopServer();
    QVERIFY(startServer(true));
    QCOMPARE(cli({ QStringLiteral("source"), QStringLiteral("sync") }).exitCode, 1);
}

void TestCardDav::passwordFileMustBePrivate()
{
    makeBook(QStringLiteral("Office"));
    QFile file(m_tmp.filePath(QStringLiteral("password")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kPassword.toUtf8() + "\n");
    file.close();
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther));
    const QStringList args { QStringLiteral("--dir"), m_data, QStringLiteral("source"), QStringLiteral("add"),
        QStringLiteral("http://127.0.0.1:%1/anna/book/").arg(m_port), QStringLiteral("--user"), kUser,
        QStringLiteral("--password-file"), file.fileName() };
    CliRun run = runCli(args);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QStringLiteral("chmod 600")), qPrintable(run.err));
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    run = runCli(args);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
}

void TestCardDav::storeOfAnOlderVersionKeepsItsSources()
{
    QCOMPARE(cli({ QStringLiteral("save") }).exitCode, 0);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("older"));
        db.setDatabaseName(m_data + QStringLiteral("/phonebook.db"));
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("create table card_source (id INTEGER PRIMARY KEY, url TEXT, name TEXT, "
                                          "user TEXT, password_file TEXT, group_name TEXT, refresh INT, "
                                          "sync_token TEXT)")));
        QVERIFY(query.exec(QStringLiteral("insert into card_source (url, name, user, group_name, refresh) values "
                                          "('http://127.0.0.1:%1/anna/book/', 'Office', 'anna', 'Office', 0)")
                               .arg(m_port)));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("older"));
    makeBook(QStringLiteral("Office"));
    QCOMPARE(dav("PUT", QStringLiteral("/anna/book/a.vcf"), card("a", "McLee", "Anna", "1")), QNetworkReply::NoError);
    const CliRun synced = cli({ QStringLiteral("source"), QStringLiteral("sync") });
    QVERIFY2(synced.exitCode == 0, qPrintable(synced.err));
    QCOMPARE(names(contacts()), QStringList { QStringLiteral("Anna McLee") });
}

void TestCardDav::newPhonebookForgetsTheCards()
{
    // Contacts of a new phonebook are numbered from 1 again: none of them may be
    // taken for a card the old phonebook held.
    makeBook(QStringLiteral("Office"));
    QCOMPARE(dav("PUT", QStringLiteral("/anna/book/a.vcf"), card("a", "McLee", "Anna", "1")), QNetworkReply::NoError);
    addBook();
    QCOMPARE(cli({ QStringLiteral("new") }).exitCode, 0);
    QFile own(m_tmp.filePath(QStringLiteral("own.vcf")));
    QVERIFY(own.open(QIODevice::WriteOnly));
    own.write(card("own", "Own", "Olga", "7"));
    own.close();
    const CliRun imported = cli({ QStringLiteral("import"), own.fileName() });
    QVERIFY2(imported.exitCode == 0, qPrintable(imported.err));

    QCOMPARE(dav("PUT", QStringLiteral("/anna/book/a.vcf"), card("a", "Changed", "Anna", "2")), QNetworkReply::NoError);
    const CliRun synced = cli({ QStringLiteral("source"), QStringLiteral("sync") });
    QVERIFY2(synced.exitCode == 0, qPrintable(synced.err));
    QCOMPARE(names(contacts()), QStringList({ QStringLiteral("Anna Changed"), QStringLiteral("Olga Own") }));
}

QTEST_GUILESS_MAIN(TestCardDav)
#include "TestCardDav.moc"
