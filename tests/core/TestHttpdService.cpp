// The phonebook service over real loopback sockets: what phones receive, what is
// refused, slow and hostile clients, the thread cap, writing missing phonebooks,
// port.xml and the port fallbacks.

#include "httpd/HttpdServer.h"
#include "httpd/HttpdService.h"
#include "httpd/HttpdThread.h"
#include "httpd/PhoneFetches.h"
#include "tests/LoopbackClient.h"
#include "tests/TestUtil.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <functional>
#include <memory>
#include <sys/stat.h>

namespace {

struct Reply {
    QByteArray bytes;
    bool connected = false;
    bool closed = false;
    qint64 msecs = 0; // from connecting until the server closed
};

// A client on the calling thread: sends `writes` with `pauseMs` between them and
// reads until the server closes (or `limitMs` passes).
Reply exchange(quint16 port, const QList<QByteArray> &writes, int pauseMs = 0, int limitMs = 15000)
{
    Reply reply;
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000))
        return reply;
    reply.connected = true;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < writes.size() && socket.state() == QAbstractSocket::ConnectedState; ++i) {
        if (i > 0 && pauseMs > 0)
            QThread::msleep(pauseMs);
        socket.write(writes[i]);
        while (socket.bytesToWrite() > 0 && socket.state() == QAbstractSocket::ConnectedState)
            socket.waitForBytesWritten(100);
    }
    while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < limitMs) {
        socket.waitForReadyRead(50);
        reply.bytes += socket.readAll();
    }
    reply.bytes += socket.readAll();
    reply.closed = socket.state() != QAbstractSocket::ConnectedState;
    reply.msecs = clock.elapsed();
    return reply;
}

// Sends `data` one byte every `intervalMs` until the server closes; returns when.
Reply trickle(quint16 port, const QByteArray &data, int intervalMs)
{
    Reply reply;
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000))
        return reply;
    reply.connected = true;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < 15000; ++i) {
        if (i < data.size()) {
            socket.write(data.mid(i, 1));
            socket.waitForBytesWritten(100);
        }
        socket.waitForReadyRead(intervalMs);
        reply.bytes += socket.readAll();
    }
    reply.closed = socket.state() != QAbstractSocket::ConnectedState;
    reply.msecs = clock.elapsed();
    return reply;
}

// Runs the clients on threads of their own while this thread's event loop runs: the
// server accepts connections on the main thread.
QList<Reply> runClients(const QList<std::function<Reply()>> &clients)
{
    QList<Reply> replies(clients.size());
    std::atomic<int> done { 0 };
    QList<QThread *> threads;
    for (int i = 0; i < clients.size(); ++i) {
        threads.append(QThread::create([&, i] {
            replies[i] = clients[i]();
            ++done;
        }));
        threads.last()->start();
    }
    const QDeadlineTimer deadline(60000);
    while (done < clients.size() && !deadline.hasExpired())
        QTest::qWait(5);
    for (QThread *t : threads) {
        t->wait();
        delete t;
    }
    return replies;
}

Reply runClient(const std::function<Reply()> &client)
{
    return runClients({ client }).first();
}

Reply request(quint16 port, const QByteArray &bytes)
{
    return runClient([=] { return exchange(port, { bytes }); });
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::AnyIPv4, 0);
    return probe.serverPort();
}

// Whether the server has neither closed `fd` nor answered on it.
bool untouched(int fd)
{
    char byte;
    return ::recv(fd, &byte, 1, MSG_DONTWAIT | MSG_PEEK) < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
}

QSet<QString> threadIds()
{
    const QStringList ids = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return QSet<QString>(ids.cbegin(), ids.cend());
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

void writePortXml(const QString &useDefault, const QString &port)
{
    writeFile(QStringLiteral("port.xml"),
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<configHttpdPort>\n    <useDefault>%1"
                       "</useDefault>\n    <port>%2</port>\n</configHttpdPort>\n")
            .arg(useDefault, port)
            .toUtf8());
}

// Splits a reply into header and body after checking the header's every byte; the
// date must be a well-formed current local time, and the body as long as the
// header says.
bool splitReply(const QByteArray &reply, QByteArray *body, QString *why)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^HTTP/1\\.0 200 Ok\\r\\nServer: Zavuvar/1\\.0\\r\\nLast-Modified: ([^\\r\\n]*)\\r\\n"
        "Accept-Ranges: bytes\\r\\nContent-Type: application/xml\\r\\nContent-Length: (\\d+)\\r\\n\\r\\n"));
    const int end = int(reply.indexOf("\r\n\r\n"));
    const QString header = QString::fromUtf8(reply.left(end < 0 ? reply.size() : end + 4));
    const QRegularExpressionMatch match = pattern.match(header);
    if (end < 0 || !match.hasMatch()) {
        *why = QStringLiteral("bad header: ") + header.left(300);
        return false;
    }
    const QString date = match.captured(1);
    const QDateTime sent = QLocale::c().toDateTime(date, QStringLiteral("ddd MMM d HH:mm:ss yyyy"));
    if (!sent.isValid() || qAbs(sent.secsTo(QDateTime::currentDateTime())) > 60) {
        *why = QStringLiteral("bad date: ") + date;
        return false;
    }
    *body = reply.mid(end + 4);
    if (match.captured(2) != QString::number(body->size())) {
        *why = QStringLiteral("Content-Length %1, body of %2 bytes").arg(match.captured(2)).arg(body->size());
        return false;
    }
    return true;
}

QByteArray expectedFile(const QString &name)
{
    QFile file(QStringLiteral(QUORVANE_TEST_DATA "/httpd/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing ") + name.toUtf8();
}

// Two contacts, one of them in the user group "Golf", saved in the store, which is
// what phones get; the layouts of this phonebook are written out by hand in
// tests/data/httpd.
void buildPhonebook()
{
    TestUtil::addGroup(QStringLiteral("Golf"));
    TestUtil::addContact(TestUtil::contact(QStringLiteral("张"), QStringLiteral("伟"),
        { TestUtil::phone(QStringLiteral("Work"), QStringLiteral("8001"), 0),
            TestUtil::phone(QStringLiteral("Mobile"), QStringLiteral("13800000000"), 1) },
        { TestUtil::mail(QStringLiteral("Work"), QStringLiteral("zw@example.com")) }, { QStringLiteral("Golf") }));
    TestUtil::addContact(TestUtil::contact(QStringLiteral("Ann"), QStringLiteral("Lee & Co"),
        { TestUtil::phone(QStringLiteral("Home"), QStringLiteral("5550100"), 2) }));
    QVERIFY(DataMgr::instance()->saveToDatabase());
}

QString message(const QString &product, const QString &fileName)
{
    return QStringLiteral("One device request phonebook.\nProduct:%1\nFileName:%2").arg(product, fileName);
}

// A stand-in for the exporter: writes a large file slowly, so that readers of a
// half-written file would be caught, and counts its calls.
struct SlowWriter {
    std::shared_ptr<int> calls = std::make_shared<int>(0);
    bool fail = false;

    static QByteArray content(int format, int call)
    {
        QByteArray bytes
            = "<phonebook format=\"" + QByteArray::number(format) + "\" call=\"" + QByteArray::number(call) + "\">\n";
        for (int i = 0; i < 20000; ++i)
            bytes += "  <entry n=\"" + QByteArray::number(i) + "\">\xe5\xbc\xa0\xe4\xbc\x9f</entry>\n";
        return bytes + "</phonebook>\n";
    }

    HttpdGenerator::Writer writer() const
    {
        return [calls = calls, fail = fail](int format, const QString &folder) {
            const int call = ++*calls;
            if (fail)
                return false;
            const QByteArray bytes = content(format, call);
            QFile file(folder + QStringLiteral("/phonebook.xml"));
            if (!file.open(QIODevice::WriteOnly))
                return false;
            file.write(bytes.left(bytes.size() / 2));
            file.flush();
            QThread::msleep(300);
            file.write(bytes.mid(bytes.size() / 2));
            return true;
        };
    }
};

} // namespace

using namespace LoopbackClient;

class TestHttpdService : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void servesEachModel_data();
    void servesEachModel();
    void missingFileGetsNothing();
    void refusesNamesOutsideTheFolder_data();
    void refusesNamesOutsideTheFolder();
    void requestMessageReachesMainThread();
    void logsEveryRequest_data();
    void logsEveryRequest();
    void servesOnlyFiles_data();
    void servesOnlyFiles();
    void requestInPieces_data();
    void requestInPieces();
    void longLinesReadWhole();
    void idleClientDropped();
    void tricklingClientDropped();
    void oversizedHeaderDropped();
    void capsOpenConnections();
    void idleClientsStarveNobody();
    void reusesThreads();
    void largeFileToSlowReader();
    void largeFileToManyConnections_data();
    void largeFileToManyConnections();
    void stalledReaderDropped();
    void concurrentClientsShareOneWrite();
    void rewritesRemovedPhonebook();
    void failedWriteGetsNothing();
    void stopWhileWaitingForWrite();
    void writesAfterBusyCommand();
    void rewritesFileOfAChangedPhonebook();
    void writesEachModelsLayout_data();
    void writesEachModelsLayout();
    void servesTheSavedPhonebook();
    void concurrentClientsGetOnePhonebook();
    void cacheKeptUntilReloadResetOrSave_data();
    void cacheKeptUntilReloadResetOrSave();
    void phonesTableFollowsThePhonebook_data();
    void phonesTableFollowsThePhonebook();
    void phoneCutShortHasNoPhonebook();
    void stopEndsOpenConnections();
    void customPortFromPortXml();
    void portInUseFallsBack_data();
    void portInUseFallsBack();
    void portXmlFromCurrentFolder();
    void repeatedStartRelaysOnce();
    void stoppedServiceState();
    void stopsWhenApplicationQuits();

private:
    quint16 startService();
    QString httpd(const QString &path) const { return m_workspace->file(QStringLiteral("HTTPD/") + path); }

    std::unique_ptr<TestUtil::Workspace> m_workspace;
    QString m_oldCurrent;
};

void TestHttpdService::init()
{
    m_workspace = std::make_unique<TestUtil::Workspace>();
    m_oldCurrent = QDir::currentPath();
    // port.xml is read from the current folder.
    QVERIFY(QDir::setCurrent(m_workspace->path()));
    HttpdServer::setWaitMsecs(5000);
    HttpdServer::setMaxConnections(4096);
    HttpdService::setPortOverride(-1);
}

void TestHttpdService::cleanup()
{
    DataMgr::instance()->stopHttpService();
    QDir::setCurrent(m_oldCurrent);
    m_workspace.reset();
}

quint16 TestHttpdService::startService()
{
    const quint16 port = freePort();
    writePortXml(QStringLiteral("0"), QString::number(port));
    if (!DataMgr::instance()->startHttpService())
        return 0;
    return DataMgr::instance()->httpPort();
}

void TestHttpdService::servesEachModel_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("message");

    QTest::newRow("pro token Birch") << QByteArray("GET /phonebook.xml?pro=Birch HTTP/1.1\r\nHost: x\r\n\r\n")
                                     << QByteArray("<birch/>\n") << message("Birch", "phonebook.xml");
    QTest::newRow("pro token Alder") << QByteArray("GET /phonebook.xml?pro=Alder HTTP/1.1\r\n\r\n")
                                     << QByteArray("<alder/>\n") << message("Alder", "phonebook.xml");
    QTest::newRow("agent Brenn") << QByteArray("GET /phonebook.xml HTTP/1.1\r\nUser-Agent: Brenn V2\r\n\r\n")
                                 << QByteArray("<brenn/>\n") << message("Brenn", "phonebook.xml");
    QTest::newRow("agent of no model") << QByteArray("GET /phonebook.xml HTTP/1.1\r\nUser-Agent: Wget/1.21\r\n\r\n")
                                       << QByteArray("<unixml/>\n") << message("UNIXML", "phonebook.xml");
    QTest::newRow("agent Birch and Cedar")
        << QByteArray("GET /phonebook.xml HTTP/1.1\r\nUser-Agent: Birch Cedar\r\n\r\n") << QByteArray("<cedar/>\n")
        << message("Cedar", "phonebook.xml");
    QTest::newRow("agent overrides pro token")
        << QByteArray("GET /phonebook.xml?pro=Alder HTTP/1.1\r\nUser-Agent: Brenn\r\n\r\n") << QByteArray("<brenn/>\n")
        << message("Brenn", "phonebook.xml");
    QTest::newRow("short name with pro token")
        << QByteArray("GET /a?pro=Alder HTTP/1.1\r\n\r\n") << QByteArray("unixml a") << message("GET", "a");
    QTest::newRow("short name with pro token and agent")
        << QByteArray("GET /a?pro=Alder HTTP/1.1\r\nUser-Agent: Alder\r\n\r\n") << QByteArray("alder a")
        << message("Alder", "a");
    QByteArray binary;
    for (int i = 0; i < 256; ++i)
        binary += char(i);
    binary += "\xff\xfe\xc3(not UTF-8)\r\n";
    QTest::newRow("bytes as on disk") << QByteArray("GET /photo.jpg HTTP/1.0\r\n\r\n") << binary
                                      << message("UNIXML", "photo.jpg");
}

void TestHttpdService::servesEachModel()
{
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, body);
    QFETCH(QString, message);

    writeFile(httpd("Alder/phonebook.xml"), "<alder/>\n");
    writeFile(httpd("Birch/phonebook.xml"), "<birch/>\n");
    writeFile(httpd("Cedar/phonebook.xml"), "<cedar/>\n");
    writeFile(httpd("Brenn/phonebook.xml"), "<brenn/>\n");
    writeFile(httpd("UNIXML/phonebook.xml"), "<unixml/>\n");
    writeFile(httpd("UNIXML/a"), "unixml a");
    writeFile(httpd("Alder/a"), "alder a");
    QByteArray binary;
    for (int i = 0; i < 256; ++i)
        binary += char(i);
    writeFile(httpd("UNIXML/photo.jpg"), binary + "\xff\xfe\xc3(not UTF-8)\r\n");

    const quint16 port = startService();
    QVERIFY(port != 0);
    QSignalSpy spy(DataMgr::instance(), &DataMgr::httpdMsg);
    const Reply reply = request(port, sent);
    QVERIFY(reply.closed);
    QByteArray received;
    QString why;
    QVERIFY2(splitReply(reply.bytes, &received, &why), qPrintable(why));
    QCOMPARE(received, body);
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toString(), message);
}

void TestHttpdService::missingFileGetsNothing()
{
    const quint16 port = startService();
    QSignalSpy spy(DataMgr::instance(), &DataMgr::httpdMsg);
    const Reply reply = request(port, "GET /photo.jpg HTTP/1.1\r\nUser-Agent: Birch\r\n\r\n");
    QVERIFY(reply.connected);
    QVERIFY(reply.closed);
    QCOMPARE(reply.bytes, QByteArray());
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toString(), message("Birch", "photo.jpg"));
    // The model folder is made even for a miss.
    QVERIFY(QFileInfo(httpd("Birch")).isDir());
}

void TestHttpdService::refusesNamesOutsideTheFolder_data()
{
    QTest::addColumn<QByteArray>("sent");

    QTest::newRow("parent folders") << QByteArray("GET /../../phonebook.db HTTP/1.0\r\n\r\n");
    QTest::newRow("parent with agent") << QByteArray("GET /../../phonebook.db HTTP/1.0\r\nUser-Agent: Birch\r\n\r\n");
    QTest::newRow("parent with pro token") << QByteArray("GET /../../../phonebook.db?pro=Birch HTTP/1.0\r\n\r\n");
    QTest::newRow("sibling folder") << QByteArray("GET /../Birch/secret.xml HTTP/1.0\r\n\r\n");
    QTest::newRow("absolute path") << QByteArray("GET //etc/hostname HTTP/1.0\r\n\r\n");
    QTest::newRow("backslashes") << QByteArray("GET /..\\..\\phonebook.db HTTP/1.0\r\n\r\n");
    QTest::newRow("link leading out") << QByteArray("GET /store.xml HTTP/1.0\r\n\r\n");
    QTest::newRow("folder itself") << QByteArray("GET /sub HTTP/1.0\r\n\r\n");
    QTest::newRow("empty name") << QByteArray("GET / HTTP/1.0\r\n\r\n");
}

void TestHttpdService::refusesNamesOutsideTheFolder()
{
    QFETCH(QByteArray, sent);

    writeFile(httpd("Birch/secret.xml"), "<secret/>");
    writeFile(httpd("UNIXML/sub/inner.xml"), "<inner/>");
    QVERIFY(QFile::link(m_workspace->file(QStringLiteral("phonebook.db")), httpd("UNIXML/store.xml")));
    const quint16 port = startService();

    const Reply refused = request(port, sent);
    QVERIFY(refused.connected);
    QVERIFY(refused.closed);
    QCOMPARE(refused.bytes, QByteArray());

    // The service is unharmed.
    writeFile(httpd("UNIXML/phonebook.xml"), "<ok/>");
    const Reply served = request(port, "GET /phonebook.xml HTTP/1.0\r\n\r\n");
    QVERIFY(served.bytes.endsWith("\r\n\r\n<ok/>"));
}

void TestHttpdService::requestMessageReachesMainThread()
{
    const quint16 port = startService();
    QStringList messages;
    bool onMainThread = true;
    QObject context;
    connect(DataMgr::instance(), &DataMgr::httpdMsg, &context, [&](const QString &text) {
        messages << text;
        onMainThread = onMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    });
    runClients({ [=] { return exchange(port, { "GET /phonebook.xml?pro=Cedar HTTP/1.1\r\n\r\n" }); },
        [=] { return exchange(port, { "GET /x.png HTTP/1.1\r\nUser-Agent: Alder\r\n\r\n" }); } });
    QTRY_COMPARE(messages.size(), 2);
    QVERIFY(onMainThread);
    messages.sort();
    QCOMPARE(messages[0].split(QLatin1Char('\n')),
        QStringList({ "One device request phonebook.", "Product:Alder", "FileName:x.png" }));
    QCOMPARE(messages[1].split(QLatin1Char('\n')),
        QStringList({ "One device request phonebook.", "Product:Cedar", "FileName:phonebook.xml" }));
}

void TestHttpdService::logsEveryRequest_data()
{
    QTest::addColumn<int>("burst");
    QTest::addColumn<int>("quietMs");
    QTest::addColumn<bool>("stopAtOnce");

    QTest::newRow("one request") << 1 << 0 << false;
    QTest::newRow("300 at once") << 300 << 0 << false;
    QTest::newRow("one after a quiet spell") << 20 << 400 << false;
    QTest::newRow("service stopped right after") << 100 << 0 << true;
}

// Each request is one log entry, however many come together and whenever.
void TestHttpdService::logsEveryRequest()
{
    QFETCH(int, burst);
    QFETCH(int, quietMs);
    QFETCH(bool, stopAtOnce);

    const quint16 port = startService();
    QVERIFY(port != 0);
    QStringList messages;
    QObject context;
    connect(DataMgr::instance(), &DataMgr::httpdMsg, &context, [&](const QString &text) { messages << text; });
    QStringList expected;
    auto send = [&](int first, int count) {
        runClient([=] {
            std::vector<int> fds;
            for (int i = first; i < first + count; ++i) {
                const QByteArray line = "GET /f" + QByteArray::number(i) + ".xml HTTP/1.0\r\nUser-Agent: Cedar\r\n\r\n";
                const std::vector<int> one = openConnections(port, 1, line);
                fds.insert(fds.end(), one.cbegin(), one.cend());
            }
            // Every request is in once the server has closed its connection.
            for (const int fd : fds) {
                readToEnd(fd);
                ::close(fd);
            }
            return Reply();
        });
        for (int i = first; i < first + count; ++i)
            expected << message("Cedar", QStringLiteral("f%1.xml").arg(i));
    };
    send(0, burst);
    if (quietMs > 0) {
        QTRY_COMPARE(messages.size(), burst);
        QTest::qWait(quietMs);
        send(burst, 1);
    }
    if (stopAtOnce)
        DataMgr::instance()->stopHttpService();
    QTRY_COMPARE(messages.size(), expected.size());
    QTest::qWait(100);
    messages.sort();
    expected.sort();
    QCOMPARE(messages, expected);
}

void TestHttpdService::servesOnlyFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("FIFO") << "pipe.xml" << QByteArray();
    QTest::newRow("FIFO as phonebook.xml") << "phonebook.xml" << QByteArray();
    QTest::newRow("link to a FIFO of the folder") << "to-pipe.xml" << QByteArray();
    QTest::newRow("link to a file of the folder") << "to-plain.xml" << QByteArray("<plain/>");
    QTest::newRow("plain file") << "plain.xml" << QByteArray("<plain/>");
}

// What is no regular file is refused without waiting on it; links within the
// folder are followed as ever.
void TestHttpdService::servesOnlyFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, body);

    writeFile(httpd("UNIXML/plain.xml"), "<plain/>");
    QCOMPARE(::mkfifo(QFile::encodeName(httpd("UNIXML/pipe.xml")).constData(), 0644), 0);
    QCOMPARE(::mkfifo(QFile::encodeName(httpd("UNIXML/phonebook.xml")).constData(), 0644), 0);
    QVERIFY(QFile::link(QStringLiteral("pipe.xml"), httpd("UNIXML/to-pipe.xml")));
    QVERIFY(QFile::link(QStringLiteral("plain.xml"), httpd("UNIXML/to-plain.xml")));
    auto writes = std::make_shared<int>(0);
    writePortXml(QStringLiteral("0"), QString::number(freePort()));
    HttpdService service;
    service.setPhonebookWriter([writes](int, const QString &) { return ++*writes, false; });
    QVERIFY(service.startServer());
    const quint16 port = service.serverPort();

    const Reply reply = request(port, "GET /" + name.toUtf8() + " HTTP/1.0\r\n\r\n");
    QVERIFY(reply.closed);
    if (body.isEmpty()) {
        QCOMPARE(reply.bytes, QByteArray());
    } else {
        QByteArray received;
        QString why;
        QVERIFY2(splitReply(reply.bytes, &received, &why), qPrintable(why));
        QCOMPARE(received, body);
    }
    QCOMPARE(*writes, 0);
    // No thread is stuck on the FIFO: every thread still serves.
    const QList<Reply> after = runClients(
        QList<std::function<Reply()>>(8, [=] { return exchange(port, { "GET /plain.xml HTTP/1.0\r\n\r\n" }); }));
    for (const Reply &r : after)
        QVERIFY(r.bytes.endsWith("\r\n\r\n<plain/>"));
}

void TestHttpdService::requestInPieces_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("request line, agent, blank line") << QList<QByteArray> { "GET /phonebook.xml HTTP/1.0\r\n",
        "User-Agent: Brenn\r\n", "\r\n" } << QByteArray("<brenn/>");
    QTest::newRow("split inside the file name")
        << QList<QByteArray> { "GET /phone", "book.xml?pro=Cedar HTTP/1.0\r\n\r\n" } << QByteArray("<cedar/>");
    QTest::newRow("split inside the agent line") << QList<QByteArray> { "GET /phonebook.xml HTTP/1.0\r\nUser-Ag",
        "ent: Bi", "rch\r", "\n\r\n" } << QByteArray("<birch/>");
}

void TestHttpdService::requestInPieces()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QByteArray, body);

    writeFile(httpd("UNIXML/phonebook.xml"), "<unixml/>");
    writeFile(httpd("Brenn/phonebook.xml"), "<brenn/>");
    writeFile(httpd("Cedar/phonebook.xml"), "<cedar/>");
    writeFile(httpd("Birch/phonebook.xml"), "<birch/>");
    const quint16 port = startService();
    const Reply reply = runClient([&] { return exchange(port, pieces, 300); });
    QByteArray received;
    QString why;
    QVERIFY2(splitReply(reply.bytes, &received, &why), qPrintable(why));
    QCOMPARE(received, body);
}

void TestHttpdService::longLinesReadWhole()
{
    writeFile(httpd("UNIXML/phonebook.xml"), "<unixml/>");
    writeFile(httpd("Birch/phonebook.xml"), "<birch/>");
    writeFile(httpd("Cedar/phonebook.xml"), "<cedar/>");
    const quint16 port = startService();

    // The tail of a long line is not a line of its own.
    const QByteArray disguised
        = "GET /phonebook.xml HTTP/1.1\r\nX-Note: " + QByteArray(1015, 'b') + "User-Agent: Birch\r\n\r\n";
    QByteArray received;
    QString why;
    QVERIFY2(splitReply(request(port, disguised).bytes, &received, &why), qPrintable(why));
    QCOMPARE(received, QByteArray("<unixml/>"));

    const QByteArray longAgent
        = "GET /phonebook.xml HTTP/1.1\r\nUser-Agent: " + QByteArray(3000, 'v') + " Cedar\r\n\r\n";
    QVERIFY2(splitReply(request(port, longAgent).bytes, &received, &why), qPrintable(why));
    QCOMPARE(received, QByteArray("<cedar/>"));
}

void TestHttpdService::idleClientDropped()
{
    HttpdServer::setWaitMsecs(600);
    const quint16 port = startService();
    QSignalSpy spy(DataMgr::instance(), &DataMgr::httpdMsg);
    const Reply reply = runClient([=] { return exchange(port, {}, 0, 10000); });
    QVERIFY(reply.connected);
    QVERIFY(reply.closed);
    QCOMPARE(reply.bytes, QByteArray());
    QVERIFY2(reply.msecs >= 400 && reply.msecs < 5000, QByteArray::number(reply.msecs));
    QTest::qWait(50);
    QCOMPARE(spy.count(), 0);
}

void TestHttpdService::tricklingClientDropped()
{
    HttpdServer::setWaitMsecs(1500);
    writeFile(httpd("UNIXML/phonebook.xml"), "<unixml/>");
    const quint16 port = startService();
    // One byte every 400 ms would take 11 s for this request line.
    const Reply reply = runClient([=] { return trickle(port, "GET /phonebook.xml HTTP/1.0\r\n\r\n", 400); });
    QVERIFY(reply.closed);
    QCOMPARE(reply.bytes, QByteArray());
    QVERIFY2(reply.msecs >= 1200 && reply.msecs < 4500, QByteArray::number(reply.msecs));
}

void TestHttpdService::oversizedHeaderDropped()
{
    writeFile(httpd("UNIXML/phonebook.xml"), "<unixml/>");
    writeFile(httpd("Birch/phonebook.xml"), "<birch/>");
    const quint16 port = startService();
    QSignalSpy spy(DataMgr::instance(), &DataMgr::httpdMsg);

    const QByteArray huge = "GET /phonebook.xml HTTP/1.0\r\nX-Pad: " + QByteArray(64 * 1024, 'p') + "\r\n\r\n";
    const Reply dropped = request(port, huge);
    QVERIFY(dropped.closed);
    QCOMPARE(dropped.bytes, QByteArray());
    QTest::qWait(50);
    QCOMPARE(spy.count(), 0);

    // A large header within the bound is still served, and so is the next phone.
    const QByteArray large
        = "GET /phonebook.xml HTTP/1.0\r\nX-Pad: " + QByteArray(15 * 1024, 'p') + "\r\nUser-Agent: Birch\r\n\r\n";
    QByteArray received;
    QString why;
    QVERIFY2(splitReply(request(port, large).bytes, &received, &why), qPrintable(why));
    QCOMPARE(received, QByteArray("<birch/>"));
    QVERIFY2(splitReply(request(port, "GET /phonebook.xml HTTP/1.0\r\n\r\n").bytes, &received, &why), qPrintable(why));
    QCOMPARE(received, QByteArray("<unixml/>"));
}

void TestHttpdService::capsOpenConnections()
{
    HttpdServer::setMaxConnections(4);
    HttpdServer::setWaitMsecs(700);
    writeFile(httpd("UNIXML/phonebook.xml"), "<unixml/>");
    HttpdService service;
    writePortXml(QStringLiteral("0"), QString::number(freePort()));
    QVERIFY(service.startServer());
    const quint16 capped = service.serverPort();

    // Ten idle phones hold the four connections; the rest wait in the backlog and
    // are served (here: dropped for idling) as connections end, as is the real request.
    QList<std::function<Reply()>> clients;
    for (int i = 0; i < 10; ++i)
        clients.append([=] { return exchange(capped, {}, 0, 20000); });
    clients.append([=] {
        QThread::msleep(200);
        return exchange(capped, { "GET /phonebook.xml HTTP/1.0\r\n\r\n" }, 0, 20000);
    });
    const QList<Reply> replies = runClients(clients);
    for (int i = 0; i < 10; ++i) {
        QVERIFY(replies[i].closed);
        QCOMPARE(replies[i].bytes, QByteArray());
    }
    QVERIFY(replies[10].bytes.endsWith("\r\n\r\n<unixml/>"));
    // The real request waited for a free connection: two rounds of idle phones.
    QVERIFY2(replies[10].msecs >= 1000, QByteArray::number(replies[10].msecs));
    // Phones beyond the cap were left in the listen backlog, not accepted early.
    QCOMPARE(service.server()->peakConnections(), 4);
    QTRY_COMPARE(service.server()->openConnections(), 0);
}

void TestHttpdService::idleClientsStarveNobody()
{
    writeFile(httpd("Birch/phonebook.xml"), "<birch/>");
    HttpdServer::setWaitMsecs(30000);
    const quint16 port = startService();
    bool idleUntouched = false;
    const Reply phone = runClient([&] {
        const std::vector<int> idle = openConnections(port, 300, "GET /phonebook.xml HTTP/1.0\r\nUser-Ag");
        const Reply reply = exchange(port, { "GET /phonebook.xml HTTP/1.0\r\nUser-Agent: Birch\r\n\r\n" });
        idleUntouched = idle.size() == 300 && std::all_of(idle.cbegin(), idle.cend(), untouched);
        for (const int fd : idle)
            ::close(fd);
        return reply;
    });
    QByteArray body;
    QString why;
    QVERIFY2(splitReply(phone.bytes, &body, &why), qPrintable(why));
    QCOMPARE(body, QByteArray("<birch/>"));
    // Answered while all the others were still within their 30 s for the header.
    QVERIFY(idleUntouched);
}

void TestHttpdService::reusesThreads()
{
    writeFile(httpd("UNIXML/small.xml"), "<small/>");
    writePortXml(QStringLiteral("0"), QString::number(freePort()));
    HttpdService service;
    QVERIFY(service.startServer());
    const quint16 port = service.serverPort();

    const QSet<QString> before = threadIds();
    QSet<QString> seen;
    std::atomic<bool> sampling { true };
    std::unique_ptr<QThread> sampler(QThread::create([&] {
        while (sampling) {
            seen.unite(threadIds());
            QThread::usleep(200);
        }
    }));
    sampler->start();

    int sequential = 0;
    runClient([&] {
        for (int i = 0; i < 1000; ++i)
            sequential += exchange(port, { "GET /small.xml HTTP/1.0\r\n\r\n" }).bytes.endsWith("\r\n\r\n<small/>");
        return Reply();
    });
    QCOMPARE(sequential, 1000);

    // Two hundred requests open at once, then all complete their header.
    const std::vector<int> fds = openConnections(port, 200, "GET /small.xml HTTP/1.0\r\n");
    QCOMPARE(int(fds.size()), 200);
    QTRY_COMPARE(service.server()->openConnections(), 200);
    int concurrent = 0;
    for (const int fd : fds)
        ::send(fd, "\r\n", 2, MSG_NOSIGNAL);
    for (const int fd : fds) {
        concurrent += readToEnd(fd).endsWith("\r\n\r\n<small/>");
        ::close(fd);
    }
    QCOMPARE(concurrent, 200);

    sampling = false;
    sampler->wait();
    // No thread came or went but the sampler and the client.
    QVERIFY2((seen - before).size() <= 2, QByteArray::number((seen - before).size()));
}

// Random bytes that are certainly not UTF-8 text.
QByteArray noise(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 x = 2463534242u;
    for (int i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes[i] = char(x);
    }
    return bytes;
}

void TestHttpdService::largeFileToSlowReader()
{
    HttpdServer::setWaitMsecs(3000);
    const QByteArray photo = noise(6 * 1024 * 1024);
    writeFile(httpd("Birch/photo.jpg"), photo);
    const quint16 port = startService();
    // Pauses shorter than the wait, but long enough for the socket to fill up.
    const Reply reply = runClient([=] {
        Reply r;
        QTcpSocket socket;
        socket.setReadBufferSize(64 * 1024);
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (!socket.waitForConnected(5000))
            return r;
        socket.write("GET /photo.jpg HTTP/1.1\r\nUser-Agent: Birch\r\n\r\n");
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < 30000; ++i) {
            socket.waitForReadyRead(100);
            r.bytes += socket.readAll();
            if (i % 20 == 0)
                QThread::msleep(400);
        }
        r.bytes += socket.readAll();
        r.closed = socket.state() != QAbstractSocket::ConnectedState;
        return r;
    });
    QVERIFY(reply.closed);
    QByteArray body;
    QString why;
    QVERIFY2(splitReply(reply.bytes, &body, &why), qPrintable(why));
    QCOMPARE(body.size(), photo.size());
    QVERIFY(body == photo);
}

void TestHttpdService::largeFileToManyConnections_data()
{
    QTest::addColumn<int>("connections");
    QTest::addColumn<int>("size");

    QTest::newRow("100 connections, 2 MiB") << 100 << 2 * 1024 * 1024;
    QTest::newRow("400 connections, 256 KiB") << 400 << 256 * 1024;
}

// All connections ask at once and are read one after another, so the sends of all
// but one block on full sockets and must pick up again when read.
void TestHttpdService::largeFileToManyConnections()
{
    QFETCH(int, connections);
    QFETCH(int, size);

    const QByteArray photo = noise(size);
    writeFile(httpd("Birch/photo.jpg"), photo);
    const quint16 port = startService();
    int whole = 0;
    QString why;
    runClient([&] {
        const std::vector<int> fds
            = openConnections(port, connections, "GET /photo.jpg HTTP/1.0\r\nUser-Agent: Birch\r\n\r\n");
        for (const int fd : fds) {
            QByteArray body;
            if (splitReply(readToEnd(fd), &body, &why) && body == photo)
                ++whole;
            ::close(fd);
        }
        return Reply();
    });
    QVERIFY2(whole == connections, qPrintable(QStringLiteral("%1 whole; %2").arg(whole).arg(why)));
}

void TestHttpdService::stalledReaderDropped()
{
    HttpdServer::setWaitMsecs(800);
    const QByteArray photo = noise(32 * 1024 * 1024);
    writeFile(httpd("UNIXML/big.bin"), photo);
    writePortXml(QStringLiteral("0"), QString::number(freePort()));
    HttpdService service;
    QVERIFY(service.startServer());
    const quint16 port = service.serverPort();

    std::atomic<bool> sent { false };
    std::atomic<bool> release { false };
    Reply reply;
    std::unique_ptr<QThread> client(QThread::create([&] {
        QTcpSocket socket;
        socket.setReadBufferSize(4096);
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.waitForConnected(5000);
        socket.write("GET /big.bin HTTP/1.0\r\n\r\n");
        socket.waitForBytesWritten(1000);
        sent = true;
        while (!release)
            QThread::msleep(10);
        QElapsedTimer clock;
        clock.start();
        socket.setReadBufferSize(0);
        while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < 20000) {
            socket.waitForReadyRead(100);
            reply.bytes += socket.readAll();
        }
        reply.bytes += socket.readAll();
        reply.closed = socket.state() != QAbstractSocket::ConnectedState;
    }));
    client->start();
    QTRY_VERIFY(sent);
    QTRY_COMPARE(service.server()->peakConnections(), 1);
    // The server gives up on a phone that reads nothing for the whole wait.
    QTRY_COMPARE_WITH_TIMEOUT(service.server()->openConnections(), 0, 5000);
    release = true;
    QVERIFY(client->wait(30000));
    QVERIFY(reply.closed);
    QVERIFY2(reply.bytes.size() < photo.size(), QByteArray::number(reply.bytes.size()));
}

void TestHttpdService::concurrentClientsShareOneWrite()
{
    SlowWriter writer;
    writePortXml(QStringLiteral("0"), QString::number(freePort()));
    HttpdService service;
    service.setPhonebookWriter(writer.writer());
    QVERIFY(service.startServer());
    const quint16 port = service.serverPort();

    QList<std::function<Reply()>> clients;
    for (int i = 0; i < 20; ++i)
        clients.append([=] { return exchange(port, { "GET /phonebook.xml?pro=Birch HTTP/1.1\r\n\r\n" }); });
    const QList<Reply> replies = runClients(clients);
    const QByteArray expected = SlowWriter::content(3, 1);
    for (const Reply &reply : replies) {
        QByteArray body;
        QString why;
        QVERIFY2(splitReply(reply.bytes, &body, &why), qPrintable(why));
        QCOMPARE(body.size(), expected.size());
        QVERIFY(body == expected);
    }
    QCOMPARE(*writer.calls, 1);
    QCOMPARE(service.server()->generator()->writtenCount(), 1);
    QFile file(httpd("Birch/phonebook.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == expected);
    // No scratch folder is left behind.
    QCOMPARE(
        QDir(m_workspace->file(QStringLiteral("HTTPD"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList { "Birch" });
}

void TestHttpdService::rewritesRemovedPhonebook()
{
    SlowWriter writer;
    writePortXml(QStringLiteral("0"), QString::number(freePort()));
    HttpdService service;
    service.setPhonebookWriter(writer.writer());
    QVERIFY(service.startServer());
    const quint16 port = service.serverPort();

    QByteArray body;
    QString why;
    QVERIFY2(splitReply(request(port, "GET /phonebook.xml HTTP/1.0\r\nUser-Agent: Cedar\r\n\r\n").bytes, &body, &why),
        qPrintable(why));
    QVERIFY(body == SlowWriter::content(4, 1));
    // Cached: the second request writes nothing.
    QVERIFY2(splitReply(request(port, "GET /phonebook.xml HTTP/1.0\r\nUser-Agent: Cedar\r\n\r\n").bytes, &body, &why),
        qPrintable(why));
    QVERIFY(body == SlowWriter::content(4, 1));
    QCOMPARE(*writer.calls, 1);

    DataMgr::instance()->removeHttpFiles();
    QVERIFY2(splitReply(request(port, "GET /phonebook.xml HTTP/1.0\r\nUser-Agent: Cedar\r\n\r\n").bytes, &body, &why),
        qPrintable(why));
    QVERIFY(body == SlowWriter::content(4, 2));
    QCOMPARE(*writer.calls, 2);

    // Only phonebook.xml is ever written on demand.
    const Reply other = request(port, "GET /contacts.xml HTTP/1.0\r\nUser-Agent: Cedar\r\n\r\n");
    QCOMPARE(other.bytes, QByteArray());
    QCOMPARE(*writer.calls, 2);
}

void TestHttpdService::failedWriteGetsNothing()
{
    SlowWriter writer;
    writer.fail = true;
    writePortXml(QStringLiteral("0"), QString::number(freePort()));
    HttpdService service;
    service.setPhonebookWriter(writer.writer());
    QVERIFY(service.startServer());
    const Reply reply = request(service.serverPort(), "GET /phonebook.xml HTTP/1.0\r\n\r\n");
    QVERIFY(reply.closed);
    QCOMPARE(reply.bytes, QByteArray());
    QCOMPARE(*writer.calls, 1);
    QVERIFY(!QFile::exists(httpd("UNIXML/phonebook.xml")));
}

void TestHttpdService::stopWhileWaitingForWrite()
{
    HttpdServer::setWaitMsecs(30000);
    SlowWriter writer;
    writePortXml(QStringLiteral("0"), QString::number(freePort()));
    auto *service = new HttpdService;
    service->setPhonebookWriter(writer.writer());
    QVERIFY(service->startServer());
    const quint16 port = service->serverPort();

    // The request message reaches the main thread before the thread's request for
    // the missing file is handled; stopping there leaves a thread waiting for the
    // main thread while the main thread waits for the thread.
    qint64 stopMsecs = -1;
    QObject context;
    connect(service, &HttpdService::httpdMsg, &context, [&] {
        QElapsedTimer clock;
        clock.start();
        delete service;
        service = nullptr;
        stopMsecs = clock.elapsed();
    });
    const Reply reply = request(port, "GET /phonebook.xml HTTP/1.0\r\n\r\n");
    QVERIFY(service == nullptr);
    QVERIFY2(stopMsecs >= 0 && stopMsecs < 3000, QByteArray::number(stopMsecs));
    QVERIFY(reply.closed);
    QCOMPARE(reply.bytes, QByteArray());
    QTest::qWait(100);
    QCOMPARE(*writer.calls, 0);
}

void TestHttpdService::writesAfterBusyCommand()
{
    buildPhonebook();
    const quint16 port = startService();
    DataMgr *mgr = DataMgr::instance();
    QSignalSpy spy(mgr, &DataMgr::httpdMsg);
    mgr->setBusy(true);
    Reply reply;
    std::atomic<bool> answered { false };
    std::unique_ptr<QThread> client(QThread::create([&] {
        reply = exchange(port, { "GET /phonebook.xml HTTP/1.0\r\nUser-Agent: Birch\r\n\r\n" });
        answered = true;
    }));
    client->start();
    // The request reaches the main thread, which writes nothing in mid-command.
    QTRY_COMPARE(spy.count(), 1);
    QTest::qWait(200);
    QVERIFY(!answered);
    mgr->phonebook().editContacts()[1].FirstName = QStringLiteral("Zed");
    QVERIFY(mgr->saveToDatabase());
    mgr->setBusy(false);
    QTRY_VERIFY(answered);
    client->wait();
    QByteArray body;
    QString why;
    QVERIFY2(splitReply(reply.bytes, &body, &why), qPrintable(why));
    QVERIFY2(body.contains("        <FirstName>Zed</FirstName>\n"), body.constData());
}

void TestHttpdService::rewritesFileOfAChangedPhonebook()
{
    SlowWriter writer;
    writePortXml(QStringLiteral("0"), QString::number(freePort()));
    HttpdService service;
    service.setPhonebookWriter(writer.writer());
    // Another program changes the phonebook while the first file is written.
    int checks = 0;
    service.setChangeCheck([&checks] { return ++checks == 1; });
    QVERIFY(service.startServer());
    QByteArray body;
    QString why;
    QVERIFY2(splitReply(request(service.serverPort(), "GET /phonebook.xml HTTP/1.0\r\n\r\n").bytes, &body, &why),
        qPrintable(why));
    QVERIFY(body == SlowWriter::content(1, 2));
    QCOMPARE(*writer.calls, 2);
}

void TestHttpdService::writesEachModelsLayout_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");

    QTest::newRow("general") << QByteArray("GET /phonebook.xml HTTP/1.1\r\nUser-Agent: Firmware 1.2\r\n\r\n")
                             << "UNIXML"
                             << "unixml.xml";
    QTest::newRow("Alder") << QByteArray("GET /phonebook.xml?pro=Alder HTTP/1.1\r\n\r\n") << "Alder"
                           << "alder.xml";
    QTest::newRow("Birch") << QByteArray("GET /phonebook.xml HTTP/1.1\r\nUser-Agent: Birch\r\n\r\n") << "Birch"
                           << "birch.xml";
    QTest::newRow("Cedar") << QByteArray("GET /phonebook.xml?pro=Cedar HTTP/1.1\r\n\r\n") << "Cedar"
                           << "cedar.xml";
    QTest::newRow("Brenn") << QByteArray("GET /phonebook.xml HTTP/1.0\r\nUser-Agent: Brenn\r\n\r\n") << "Brenn"
                           << "brenn.xml";
}

void TestHttpdService::writesEachModelsLayout()
{
    QFETCH(QByteArray, sent);
    QFETCH(QString, folder);
    QFETCH(QString, expected);

    buildPhonebook();
    const quint16 port = startService();
    QByteArray body;
    QString why;
    QVERIFY2(splitReply(request(port, sent).bytes, &body, &why), qPrintable(why));
    QCOMPARE(QString::fromUtf8(body), QString::fromUtf8(expectedFile(expected)));
    QFile written(httpd(folder + QStringLiteral("/phonebook.xml")));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll() == body);
}

void TestHttpdService::servesTheSavedPhonebook()
{
    // What a Save writes for the phones...
    buildPhonebook();
    TestUtil::addContact(TestUtil::contact(QStringLiteral("Bo"), QString()));
    DataMgr *mgr = DataMgr::instance();
    QVERIFY(mgr->savePhonebookFiles());
    QMap<QString, QByteArray> saved;
    for (const QString model : { "UNIXML", "Birch", "Cedar", "Brenn" }) {
        QFile file(httpd(model + QStringLiteral("/phonebook.xml")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        saved[model] = file.readAll();
    }
    // ...is what phones get after a restart that left the working phonebook empty
    // (no recovery), with an edit that was never saved.
    mgr->removeTemporaryFiles();
    DataMgr::instance()->closeStore();
    QVERIFY(DataMgr::instance()->openStore());
    mgr->clearPhonebook();
    TestUtil::addContact(TestUtil::contact(QStringLiteral("Unsaved"), QStringLiteral("Edit")));
    const quint16 port = startService();
    for (auto it = saved.cbegin(); it != saved.cend(); ++it) {
        QByteArray body;
        QString why;
        const QByteArray sent = "GET /phonebook.xml?pro=" + it.key().toLatin1() + " HTTP/1.1\r\n\r\n";
        QVERIFY2(splitReply(request(port, sent).bytes, &body, &why), qPrintable(why));
        QCOMPARE(body, it.value());
    }
}

void TestHttpdService::concurrentClientsGetOnePhonebook()
{
    buildPhonebook();
    const quint16 port = startService();
    QList<std::function<Reply()>> clients;
    for (int i = 0; i < 20; ++i)
        clients.append([=] { return exchange(port, { "GET /phonebook.xml?pro=Cedar HTTP/1.1\r\n\r\n" }); });
    const QList<Reply> replies = runClients(clients);
    const QString expected = QString::fromUtf8(expectedFile(QStringLiteral("cedar.xml")));
    for (const Reply &reply : replies) {
        QByteArray body;
        QString why;
        QVERIFY2(splitReply(reply.bytes, &body, &why), qPrintable(why));
        QCOMPARE(QString::fromUtf8(body), expected);
    }
}

void TestHttpdService::cacheKeptUntilReloadResetOrSave_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("reload") << "reload";
    QTest::newRow("reset") << "reset";
    QTest::newRow("save") << "save";
}

void TestHttpdService::cacheKeptUntilReloadResetOrSave()
{
    QFETCH(QString, action);

    buildPhonebook();
    const quint16 port = startService();
    const QByteArray birch = "GET /phonebook.xml HTTP/1.1\r\nUser-Agent: Birch\r\n\r\n";
    QByteArray body;
    QString why;
    QVERIFY2(splitReply(request(port, birch).bytes, &body, &why), qPrintable(why));
    QCOMPARE(QString::fromUtf8(body), QString::fromUtf8(expectedFile(QStringLiteral("birch.xml"))));

    DataMgr *mgr = DataMgr::instance();
    mgr->phonebook().editContacts()[1].FirstName = QStringLiteral("Zed");
    QVERIFY2(splitReply(request(port, birch).bytes, &body, &why), qPrintable(why));
    QCOMPARE(QString::fromUtf8(body), QString::fromUtf8(expectedFile(QStringLiteral("birch.xml"))));

    if (action == QLatin1String("reload")) {
        QVERIFY(mgr->saveToDatabase());
        QVERIFY(mgr->reload());
    } else if (action == QLatin1String("reset")) {
        QVERIFY(DataMgr::instance()->emptyStore());
        mgr->clearPhonebook();
    } else {
        QVERIFY(mgr->savePhonebookFiles());
    }
    QVERIFY2(splitReply(request(port, birch).bytes, &body, &why), qPrintable(why));
    if (action == QLatin1String("reset")) {
        QCOMPARE(QString::fromUtf8(body),
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<AddressBook>\n"
                           "    <version>1</version>\n"
                           "    <pbgroup>\n"
                           "        <id>0</id>\n"
                           "        <name>Default</name>\n"
                           "        <photos></photos>\n"
                           "        <ringtones></ringtones>\n"
                           "        <RingtoneIndex>0</RingtoneIndex>\n"
                           "    </pbgroup>\n"
                           "    <pbgroup>\n"
                           "        <id>100</id>\n"
                           "        <name>Blacklist</name>\n"
                           "        <photos></photos>\n"
                           "        <ringtones></ringtones>\n"
                           "        <RingtoneIndex>0</RingtoneIndex>\n"
                           "    </pbgroup>\n"
                           "</AddressBook>\n"));
    } else {
        QVERIFY2(body.contains("        <FirstName>Zed</FirstName>\n"), body.constData());
        QVERIFY(!body.contains("<FirstName>Ann</FirstName>"));
        QVERIFY(body.contains("        <FirstName>\xe5\xbc\xa0</FirstName>\n"));
    }
}

void TestHttpdService::phonesTableFollowsThePhonebook_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("firstUpToDate");

    QTest::newRow("edit and save") << "save" << false;
    QTest::newRow("edit, store and reload") << "reload" << false;
    QTest::newRow("new phonebook") << "reset" << false;
    QTest::newRow("edit not saved") << "edit" << true;
}

// Two phones of different models fetch, one before and one after the change.
void TestHttpdService::phonesTableFollowsThePhonebook()
{
    QFETCH(QString, action);
    QFETCH(bool, firstUpToDate);

    buildPhonebook();
    const quint16 port = startService();
    DataMgr *mgr = DataMgr::instance();
    PhoneFetches *fetches = mgr->phoneFetches();
    QVERIFY(fetches);
    QList<RequestRecord> ended;
    QObject context;
    connect(mgr, &DataMgr::httpRequestsEnded, &context, [&](const QList<RequestRecord> &r) { ended += r; });
    const QByteArray birch = "GET /phonebook.xml HTTP/1.1\r\nUser-Agent: Birch/2.1 (office)\r\n\r\n";
    QByteArray birchBody;
    QString why;
    QVERIFY2(splitReply(request(port, birch).bytes, &birchBody, &why), qPrintable(why));

    mgr->phonebook().editContacts()[1].FirstName = QStringLiteral("Zed");
    if (action == QLatin1String("save")) {
        QVERIFY(mgr->savePhonebookFiles());
    } else if (action == QLatin1String("reload")) {
        QVERIFY(mgr->saveToDatabase());
        QVERIFY(mgr->reload());
    } else if (action == QLatin1String("reset")) {
        QVERIFY(mgr->emptyStore());
        mgr->clearPhonebook();
    }
    QByteArray cedarBody;
    QVERIFY2(splitReply(request(port, "GET /phonebook.xml?pro=Cedar HTTP/1.0\r\nUser-Agent: T3\r\n\r\n").bytes,
                 &cedarBody, &why),
        qPrintable(why));

    QTRY_COMPARE(fetches->phones().size(), 2);
    const PhoneFetches::Phone &first = fetches->phones().at(0);
    const PhoneFetches::Phone &second = fetches->phones().at(1);
    QCOMPARE(first.address, QStringLiteral("127.0.0.1"));
    QCOMPARE(first.userAgent, QStringLiteral("Birch/2.1 (office)"));
    QCOMPARE(first.model, QStringLiteral("Birch"));
    QCOMPARE(first.bytes, qint64(birchBody.size()));
    QCOMPARE(second.userAgent, QStringLiteral("T3"));
    QCOMPARE(second.model, QStringLiteral("Cedar"));
    QCOMPARE(second.bytes, qint64(cedarBody.size()));
    QCOMPARE(fetches->isUpToDate(first), firstUpToDate);
    QVERIFY(fetches->isUpToDate(second));
    // What the access log gets of the same requests.
    QCOMPARE(ended.size(), 2);
    QCOMPARE(ended[0].request.requestLine, QStringLiteral("GET /phonebook.xml HTTP/1.1"));
    QCOMPARE(ended[0].status, 200);
    QCOMPARE(ended[1].bytes, qint64(cedarBody.size()));

    // The older phone fetches again: still one row, now up to date.
    QVERIFY2(splitReply(request(port, birch).bytes, &birchBody, &why), qPrintable(why));
    QTRY_COMPARE(ended.size(), 3);
    QCOMPARE(fetches->phones().size(), 2);
    QVERIFY(fetches->isUpToDate(fetches->phones().at(0)));
}

void TestHttpdService::phoneCutShortHasNoPhonebook()
{
    const QByteArray big = QByteArray(32 * 1024 * 1024, 'x');
    writeFile(httpd("UNIXML/phonebook.xml"), big);
    const quint16 port = startService();
    runClient([=] {
        const std::vector<int> fds = openConnections(port, 1, "GET /phonebook.xml HTTP/1.0\r\n\r\n");
        char head[16];
        // Some of the reply has come; then the phone goes.
        if (!fds.empty() && ::recv(fds[0], head, sizeof head, MSG_WAITALL) == sizeof head) {
            const linger reset = { 1, 0 };
            ::setsockopt(fds[0], SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        }
        for (const int fd : fds)
            ::close(fd);
        return Reply();
    });
    PhoneFetches *fetches = DataMgr::instance()->phoneFetches();
    QTRY_COMPARE(fetches->phones().size(), 1);
    const PhoneFetches::Phone &phone = fetches->phones().first();
    QCOMPARE(phone.status, 200);
    QVERIFY2(phone.bytes < big.size(), QByteArray::number(phone.bytes));
    QCOMPARE(phone.phonebook, quint64(0));
    QVERIFY(!fetches->isUpToDate(phone));
}

void TestHttpdService::stopEndsOpenConnections()
{
    HttpdServer::setWaitMsecs(30000);
    const quint16 port = startService();
    std::atomic<bool> connected { false };
    Reply reply;
    std::unique_ptr<QThread> client(QThread::create([&] {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        connected = socket.waitForConnected(5000);
        socket.write("GET /phonebook.xml HTTP/1.0\r\n");
        socket.waitForBytesWritten(1000);
        QElapsedTimer clock;
        clock.start();
        while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < 20000)
            socket.waitForReadyRead(50);
        reply.closed = socket.state() != QAbstractSocket::ConnectedState;
    }));
    client->start();
    QTRY_VERIFY(connected);
    QTest::qWait(300);
    QElapsedTimer clock;
    clock.start();
    DataMgr::instance()->stopHttpService();
    QVERIFY2(clock.elapsed() < 3000, QByteArray::number(clock.elapsed()));
    QVERIFY(client->wait(5000));
    QVERIFY(reply.closed);

    // Nothing listens any more.
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(!probe.waitForConnected(1000));
}

void TestHttpdService::customPortFromPortXml()
{
    const quint16 port = freePort();
    writePortXml(QStringLiteral("0"), QString::number(port));
    QStringList notices;
    QVERIFY(DataMgr::instance()->startHttpService(&notices));
    QCOMPARE(DataMgr::instance()->httpPort(), port);
    QCOMPARE(notices, QStringList());
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(probe.waitForConnected(2000));
}

void TestHttpdService::portInUseFallsBack_data()
{
    QTest::addColumn<QString>("portText");
    QTest::addColumn<bool>("occupy");

    QTest::newRow("port in use") << "" << true;
    QTest::newRow("port above the range") << "70000" << false;
    QTest::newRow("negative port") << "-1" << false;
}

void TestHttpdService::portInUseFallsBack()
{
    QFETCH(QString, portText);
    QFETCH(bool, occupy);

    QTcpServer occupant;
    QVERIFY(occupant.listen(QHostAddress::AnyIPv4, 0));
    writePortXml(QStringLiteral("0"), occupy ? QString::number(occupant.serverPort()) : portText);
    QStringList notices;
    QVERIFY(DataMgr::instance()->startHttpService(&notices));
    const quint16 port = DataMgr::instance()->httpPort();
    QVERIFY(port != 0);
    QVERIFY(port != occupant.serverPort());
    if (!occupy) {
        QVERIFY(port != 4464); // 70000 taken as 16 bits
        QVERIFY(port != 65535); // -1 taken as 16 bits
    }
    QCOMPARE(notices,
        QStringList { QStringLiteral("Open the custom port failed, the Httpd server will use a random port") });

    writeFile(httpd("UNIXML/phonebook.xml"), "<fallback/>");
    QVERIFY(request(port, "GET /phonebook.xml HTTP/1.0\r\n\r\n").bytes.endsWith("\r\n\r\n<fallback/>"));
}

void TestHttpdService::portXmlFromCurrentFolder()
{
    // The program folder holds one port.xml, the current folder another.
    const quint16 inProgramFolder = freePort();
    writePortXml(QStringLiteral("0"), QString::number(inProgramFolder));
    QTemporaryDir current;
    QVERIFY(QDir::setCurrent(current.path()));
    quint16 port = freePort();
    while (port == inProgramFolder)
        port = freePort();
    writePortXml(QStringLiteral("0"), QString::number(port));

    QVERIFY(DataMgr::instance()->startHttpService());
    QCOMPARE(DataMgr::instance()->httpPort(), port);
}

void TestHttpdService::repeatedStartRelaysOnce()
{
    const quint16 port = startService();
    QVERIFY(DataMgr::instance()->startHttpService());
    QCOMPARE(DataMgr::instance()->httpPort(), port);
    QSignalSpy spy(DataMgr::instance(), &DataMgr::httpdMsg);
    request(port, "GET /phonebook.xml HTTP/1.0\r\n\r\n");
    QTRY_COMPARE(spy.count(), 1);
    QTest::qWait(100);
    QCOMPARE(spy.count(), 1);
}

void TestHttpdService::stoppedServiceState()
{
    DataMgr *mgr = DataMgr::instance();
    QCOMPARE(mgr->httpPort(), quint16(80));
    QCOMPARE(mgr->httpClients(), QStringList());
    const quint16 port = startService();
    QVERIFY(port != 0);
    for (const QString &address : mgr->httpClients()) {
        const QHostAddress host(address);
        QCOMPARE(host.protocol(), QAbstractSocket::IPv4Protocol);
        QVERIFY(!host.isLoopback());
    }
    mgr->stopHttpService();
    QCOMPARE(mgr->httpPort(), quint16(80));
    QCOMPARE(mgr->httpClients(), QStringList());
    // A second stop is harmless.
    mgr->stopHttpService();
    QCOMPARE(mgr->httpPort(), quint16(80));
}

void TestHttpdService::stopsWhenApplicationQuits()
{
    const quint16 port = startService();
    QVERIFY(port != 0);
    QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
    QCOMPARE(DataMgr::instance()->httpPort(), quint16(80));
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(!probe.waitForConnected(1000));
}

QTEST_GUILESS_MAIN(TestHttpdService)
#include "TestHttpdService.moc"
