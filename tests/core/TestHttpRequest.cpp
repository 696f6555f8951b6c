// Reading a phone's request, choosing its folder and layout, and the fixed texts of
// the service, without sockets.

#include "httpd/HttpRequest.h"
#include "httpd/HttpdService.h"
#include "httpd/HttpdThread.h"
#include "httpd/RequestRecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <arpa/inet.h>

class TestHttpRequest : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void parseKeepsWhatTheLogShows_data();
    void parseKeepsWhatTheLogShows();
    void accessLogLine_data();
    void accessLogLine();
    void headerEnd_data();
    void headerEnd();
    void modelTable_data();
    void modelTable();
    void resolveFile_data();
    void resolveFile();
    void requestMessage();
    void responseHeader_data();
    void responseHeader();
    void startEntry_data();
    void startEntry();
    void portConfig_data();
    void portConfig();
};

void TestHttpRequest::parse_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<bool>("peerClosed");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("product");

    QTest::newRow("pro token, no agent") << QByteArray(
        "GET /phonebook.xml?pro=Birch HTTP/1.1\r\nHost: 10.0.0.5\r\n\r\n")
                                         << false << "phonebook.xml"
                                         << "Birch";
    QTest::newRow("plain request, agent names Brenn")
        << QByteArray("GET /phonebook.xml HTTP/1.1\r\nUser-Agent: Brenn-V40 2.1\r\n\r\n") << false << "phonebook.xml"
        << "Brenn";
    QTest::newRow("agent names no model")
        << QByteArray("GET /phonebook.xml HTTP/1.1\r\nUser-Agent: curl/7.88.1\r\n\r\n") << false << "phonebook.xml"
        << "UNIXML";
    QTest::newRow("agent names Birch and Cedar")
        << QByteArray("GET /phonebook.xml HTTP/1.1\r\nUser-Agent: Birch compatible; Cedar\r\n\r\n") << false
        << "phonebook.xml"
        << "Cedar";
    QTest::newRow("agent names Alder and Brenn")
        << QByteArray("GET /phonebook.xml HTTP/1.1\r\nUser-Agent: Brenn/Alder\r\n\r\n") << false << "phonebook.xml"
        << "Alder";
    QTest::newRow("agent overrides pro token")
        << QByteArray("GET /phonebook.xml?pro=Birch HTTP/1.1\r\nUser-Agent: Cedar T3\r\n\r\n") << false
        << "phonebook.xml"
        << "Cedar";
    QTest::newRow("later request line wins over earlier agent")
        << QByteArray("User-Agent: Cedar\r\nGET /phonebook.xml?pro=Birch HTTP/1.1\r\n\r\n") << false << "phonebook.xml"
        << "Birch";
    QTest::newRow("short name with pro token") << QByteArray("GET /a?pro=Alder HTTP/1.1\r\n\r\n") << false << "a"
                                               << "GET";
    QTest::newRow("short name with pro token and agent")
        << QByteArray("GET /a?pro=Alder HTTP/1.1\r\nUser-Agent: Alder\r\n\r\n") << false << "a"
        << "Alder";
    QTest::newRow("pro token of a longer name")
        << QByteArray("GET /phonebook-office.xml?pro=Cedar HTTP/1.1\r\n\r\n") << false << "phonebook-office.xml"
        << "Cedar";
    QTest::newRow("pro token followed by more query")
        << QByteArray("GET /phonebook.xml?pro=Birch&v=2 HTTP/1.1\r\n\r\n") << false << "phonebook.xml"
        << "Birch&v=2";
    QTest::newRow("agent header name is case-sensitive")
        << QByteArray("GET /phonebook.xml HTTP/1.1\r\nuser-agent: Birch\r\n\r\n") << false << "phonebook.xml"
        << "UNIXML";
    QTest::newRow("model names are case-sensitive")
        << QByteArray("GET /phonebook.xml HTTP/1.1\r\nUser-Agent: birch\r\n\r\n") << false << "phonebook.xml"
        << "UNIXML";
    QTest::newRow("bare line feeds") << QByteArray("GET /phonebook.xml HTTP/1.0\nUser-Agent: Alder\n\n") << false
                                     << "phonebook.xml"
                                     << "Alder";
    QTest::newRow("request line without version")
        << QByteArray("GET /phonebook.xml\r\n\r\n") << false << "phonebook.xml"
        << "UNIXML";
    // The name starts after the first "/" of the line, wherever it is.
    QTest::newRow("first slash in the version") << QByteArray("GET phonebook.xml HTTP/1.0\r\n\r\n") << false << "1.0"
                                                << "UNIXML";
    QTest::newRow("no slash at all") << QByteArray("GET phonebook.xml\r\n\r\n") << false << ""
                                     << "UNIXML";
    QTest::newRow("other method") << QByteArray("POST /phonebook.xml HTTP/1.0\r\nUser-Agent: x\r\n\r\n") << false << ""
                                  << "";
    QTest::newRow("unfinished line while open")
        << QByteArray("GET /phonebook.xml HTTP/1.0\r\nUser-Agent: Bir") << false << "phonebook.xml"
        << "UNIXML";
    QTest::newRow("unfinished line after close")
        << QByteArray("GET /phonebook.xml HTTP/1.0\r\nUser-Agent: Birch") << true << "phonebook.xml"
        << "Birch";
    QTest::newRow("UTF-8 file name") << QByteArray("GET /\xe7\x94\xb5\xe8\xaf\x9d.xml HTTP/1.0\r\n\r\n") << false
                                     << QString::fromUtf8("\xe7\x94\xb5\xe8\xaf\x9d.xml") << "UNIXML";

    // Lines longer than 1 023 bytes are taken whole: their tails are not new lines.
    const QByteArray pad(1100, 'a');
    QTest::newRow("long request line") << QByteArray("GET /phonebook.xml?pro=Brenn HTTP/1.1\r\nX-Pad: " + pad
        + "\r\n\r\n") << false << "phonebook.xml"
                                       << "Brenn";
    QTest::newRow("agent at the end of a long line")
        << QByteArray("GET /phonebook.xml HTTP/1.1\r\nUser-Agent: " + pad + " Cedar\r\n\r\n") << false
        << "phonebook.xml"
        << "Cedar";
    QTest::newRow("agent text inside another long line") << QByteArray(
        "GET /phonebook.xml HTTP/1.1\r\nX-Note: " + QByteArray(1023 - 8, 'b') + "User-Agent: Birch\r\n\r\n")
                                                         << false << "phonebook.xml"
                                                         << "UNIXML";
    QTest::newRow("request text inside another long line") << QByteArray(
        "GET /phonebook.xml HTTP/1.1\r\nX-Note: " + QByteArray(1023 - 8, 'b') + "GET /../phonebook.db HTTP/1.0\r\n\r\n")
                                                           << false << "phonebook.xml"
                                                           << "UNIXML";
    QTest::newRow("long file name") << QByteArray("GET /" + QByteArray(1500, 'n') + ".xml HTTP/1.0\r\n\r\n") << false
                                    << QString(1500, QLatin1Char('n')) + ".xml"
                                    << "UNIXML";
}

void TestHttpRequest::parse()
{
    QFETCH(QByteArray, header);
    QFETCH(bool, peerClosed);
    QFETCH(QString, fileName);
    QFETCH(QString, product);

    const HttpRequest request = HttpRequest::parse(header, peerClosed);
    QCOMPARE(request.fileName, fileName);
    QCOMPARE(request.product, product);
}

void TestHttpRequest::parseKeepsWhatTheLogShows_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QString>("requestLine");
    QTest::addColumn<QString>("userAgent");
    QTest::addColumn<QString>("referer");

    QTest::newRow("whole agent, blanks around it trimmed") << QByteArray(
        "GET /phonebook.xml?pro=Birch HTTP/1.1\r\nUser-Agent:  Birch B20/2.1.0 (MAC 00:15:65)  "
        "\r\nReferer: http://pbx/\r\n\r\n") << "GET /phonebook.xml?pro=Birch HTTP/1.1"
                                                           << "Birch B20/2.1.0 (MAC 00:15:65)"
                                                           << "http://pbx/";
    QTest::newRow("long agent kept whole")
        << QByteArray("GET /phonebook.xml HTTP/1.1\r\nUser-Agent: " + QByteArray(3000, 'v') + " Cedar\r\n\r\n")
        << "GET /phonebook.xml HTTP/1.1" << QString(3000, QLatin1Char('v')) + " Cedar"
        << "";
    QTest::newRow("last agent line wins")
        << QByteArray("GET / HTTP/1.0\nUser-Agent: a\nUser-Agent: b\n\n") << "GET / HTTP/1.0"
        << "b"
        << "";
    QTest::newRow("blank lines before the request line")
        << QByteArray("\r\n\r\nGET / HTTP/1.0\r\n\r\n") << "GET / HTTP/1.0"
        << ""
        << "";
    QTest::newRow("first line whatever it is")
        << QByteArray("User-Agent: Cedar\r\nGET / HTTP/1.0\r\n\r\n") << "User-Agent: Cedar"
        << "Cedar"
        << "";
    QTest::newRow("other method") << QByteArray("POST /x HTTP/1.1\r\nUser-Agent: curl/8\r\n\r\n") << "POST /x HTTP/1.1"
                                  << "curl/8"
                                  << "";
}

void TestHttpRequest::parseKeepsWhatTheLogShows()
{
    QFETCH(QByteArray, header);
    QFETCH(QString, requestLine);
    QFETCH(QString, userAgent);
    QFETCH(QString, referer);

    const HttpRequest request = HttpRequest::parse(header, false);
    QCOMPARE(request.requestLine, requestLine);
    QCOMPARE(request.userAgent, userAgent);
    QCOMPARE(request.referer, referer);
}

void TestHttpRequest::accessLogLine_data()
{
    QTest::addColumn<QByteArray>("timeZone");
    QTest::addColumn<QString>("peer");
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QByteArray>("line");

    // 2026-12-10 13:55:36 UTC
    QTest::newRow("phone served") << QByteArray("UTC0") << "192.168.1.20"
                                  << QByteArray("GET /phonebook.xml HTTP/1.1\r\nUser-Agent: Birch/1.0\r\n\r\n") << 200
                                  << qint64(2326)
                                  << QByteArray("192.168.1.20 - - [10/Dec/2026:13:55:36 +0000] \"GET /phonebook.xml "
                                                "HTTP/1.1\" 200 2326 \"-\" \"Birch/1.0\"\n");
    QTest::newRow("nothing sent, half-hour zone")
        << QByteArray("IST-5:30") << "10.0.0.7" << QByteArray("GET /photo.jpg HTTP/1.0\r\n\r\n") << 444 << qint64(0)
        << QByteArray("10.0.0.7 - - [10/Dec/2026:19:25:36 +0530] \"GET /photo.jpg HTTP/1.0\" 444 - \"-\" \"-\"\n");
    QTest::newRow("west of Greenwich, IPv4 in IPv6 form")
        << QByteArray("EST5") << "::ffff:10.0.0.7"
        << QByteArray("GET /phonebook.xml?pro=Cedar HTTP/1.1\r\nReferer: http://pbx/list\r\n\r\n") << 200 << qint64(1)
        << QByteArray("10.0.0.7 - - [10/Dec/2026:08:55:36 -0500] \"GET /phonebook.xml?pro=Cedar HTTP/1.1\" 200 1 "
                      "\"http://pbx/list\" \"-\"\n");
    // What a client sends cannot end a field or a line, nor forge one.
    QTest::newRow("quotes, backslashes and control characters")
        << QByteArray("UTC0") << "fe80::1"
        << QByteArray("GET /a\"b\\c HTTP/1.0\r\nUser-Agent: x\" 200 1 \"\x01\ty\rz\x7f\r\n\r\n") << 444 << qint64(0)
        << QByteArray("fe80::1 - - [10/Dec/2026:13:55:36 +0000] \"GET /a\\\"b\\\\c HTTP/1.0\" 444 - \"-\" "
                      "\"x\\\" 200 1 \\\"\\x01\\x09y\\x0Dz\\x7F\"\n");
    QTest::newRow("UTF-8 kept") << QByteArray("UTC0") << "10.0.0.7"
                                << QByteArray("GET /\xe7\x94\xb5.xml HTTP/1.0\r\nUser-Agent: \xe5\xbc\xa0\r\n\r\n")
                                << 200 << qint64(5)
                                << QByteArray("10.0.0.7 - - [10/Dec/2026:13:55:36 +0000] \"GET /\xe7\x94\xb5.xml "
                                              "HTTP/1.0\" 200 5 \"-\" \"\xe5\xbc\xa0\"\n");
}

void TestHttpRequest::accessLogLine()
{
    QFETCH(QByteArray, timeZone);
    QFETCH(QString, peer);
    QFETCH(QByteArray, header);
    QFETCH(int, status);
    QFETCH(qint64, bytes);
    QFETCH(QByteArray, line);

    const QByteArray oldZone = qgetenv("TZ");
    qputenv("TZ", timeZone);
    RequestRecord record;
    record.stage = RequestRecord::Ended;
    const QByteArray address = peer.toLatin1();
    if (::inet_pton(AF_INET, address.constData(), &record.peer.v4.sin_addr) == 1)
        record.peer.v4.sin_family = AF_INET;
    else if (::inet_pton(AF_INET6, address.constData(), &record.peer.v6.sin6_addr) == 1)
        record.peer.v6.sin6_family = AF_INET6;
    record.request = HttpRequest::parse(header, false);
    record.status = status;
    record.bytes = bytes;
    record.time = QDateTime(QDate(2026, 12, 10), QTime(13, 55, 36), Qt::UTC).toMSecsSinceEpoch();
    const QByteArray written = record.accessLogLine();
    if (oldZone.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", oldZone);
    QCOMPARE(written, line);
}

void TestHttpRequest::headerEnd_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("end");

    QTest::newRow("nothing") << QByteArray() << -1;
    QTest::newRow("request line only") << QByteArray("GET / HTTP/1.0\r\n") << -1;
    QTest::newRow("complete") << QByteArray("GET / HTTP/1.0\r\n\r\n") << 18;
    QTest::newRow("with a header line") << QByteArray("GET / HTTP/1.0\r\nHost: a\r\n\r\n") << 27;
    QTest::newRow("bytes after the end") << QByteArray("GET /\r\n\r\nbody") << 9;
    QTest::newRow("bare line feeds") << QByteArray("GET /\n\n") << 7;
    QTest::newRow("half of the blank line") << QByteArray("GET /\r\nA: b\r\n\r") << -1;
    QTest::newRow("leading blank lines skipped") << QByteArray("\r\n\r\nGET /\r\n\r\n") << 13;
    QTest::newRow("blank lines only") << QByteArray("\r\n\r\n\n") << -1;
}

void TestHttpRequest::headerEnd()
{
    QFETCH(QByteArray, data);
    QFETCH(int, end);
    QCOMPARE(HttpRequest::headerEnd(data), end);
}

void TestHttpRequest::modelTable_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("format");

    QTest::newRow("Alder") << "Alder"
                           << "HTTPD/Alder" << 2;
    QTest::newRow("Birch") << "Birch"
                           << "HTTPD/Birch" << 3;
    QTest::newRow("Cedar") << "Cedar"
                           << "HTTPD/Cedar" << 4;
    QTest::newRow("Brenn") << "Brenn"
                           << "HTTPD/Brenn" << 5;
    QTest::newRow("UNIXML") << "UNIXML"
                            << "HTTPD/UNIXML" << 1;
    QTest::newRow("empty") << ""
                           << "HTTPD/UNIXML" << 1;
    QTest::newRow("lower case") << "cedar"
                                << "HTTPD/UNIXML" << 1;
    QTest::newRow("trailing blank") << "Birch "
                                    << "HTTPD/UNIXML" << 1;
    QTest::newRow("request method") << "GET"
                                    << "HTTPD/UNIXML" << 1;
    QTest::newRow("path in token") << "../Birch"
                                   << "HTTPD/UNIXML" << 1;
}

void TestHttpRequest::modelTable()
{
    QFETCH(QString, product);
    QFETCH(QString, folder);
    QFETCH(int, format);
    QCOMPARE(HttpRequest::modelFolder(product), folder);
    QCOMPARE(HttpRequest::modelFormat(product), format);
}

void TestHttpRequest::resolveFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("file in the folder") << "phonebook.xml" << true;
    QTest::newRow("missing file") << "photo.jpg" << true;
    QTest::newRow("percent escapes stay literal") << "%2e%2e%2fphonebook.db" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("parent path") << "../../phonebook.db" << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dots inside a name") << "a..xml" << false;
    QTest::newRow("backslashes") << "..\\..\\phonebook.db" << false;
    QTest::newRow("absolute path") << "/etc/passwd" << false;
    QTest::newRow("sub folder path") << "sub/inner.xml" << false;
    QTest::newRow("sub folder itself") << "sub" << false;
    QTest::newRow("link leading out") << "outside.xml" << false;
    QTest::newRow("link inside") << "alias.xml" << true;
    QTest::newRow("dangling link") << "dangling.xml" << false;
    QTest::newRow("control character") << QStringLiteral("phonebook.xml\x01") << false;
    QTest::newRow("nul character") << QString::fromLatin1("phonebook.xml\0.jpg", 18) << false;
}

void TestHttpRequest::resolveFile()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString folder = root.filePath(QStringLiteral("HTTPD/Birch"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/sub")));
    QFile secret(root.filePath(QStringLiteral("phonebook.db")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.close();
    QFile inner(folder + QStringLiteral("/phonebook.xml"));
    QVERIFY(inner.open(QIODevice::WriteOnly));
    inner.close();
    QVERIFY(QFile::link(root.filePath(QStringLiteral("phonebook.db")), folder + QStringLiteral("/outside.xml")));
    QVERIFY(QFile::link(folder + QStringLiteral("/phonebook.xml"), folder + QStringLiteral("/alias.xml")));
    QVERIFY(QFile::link(folder + QStringLiteral("/gone.xml"), folder + QStringLiteral("/dangling.xml")));

    const QString path = HttpRequest::resolveFile(folder, name);
    QCOMPARE(!path.isEmpty(), accepted);
    if (accepted)
        QCOMPARE(path, folder + QLatin1Char('/') + name);
}

void TestHttpRequest::requestMessage()
{
    QCOMPARE(HttpdThread::requestMessage(QStringLiteral("Birch"), QStringLiteral("phonebook.xml")),
        QStringLiteral("One device request phonebook.\nProduct:Birch\nFileName:phonebook.xml"));
    QCOMPARE(HttpdThread::requestMessage(QString(), QString()),
        QStringLiteral("One device request phonebook.\nProduct:\nFileName:"));
}

void TestHttpRequest::responseHeader_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QByteArray>("header");

    QTest::newRow("one-digit day") << QDateTime(QDate(2026, 12, 6), QTime(21, 14, 5)) << QLocale::c() << qint64(583)
                                   << QByteArray("HTTP/1.0 200 Ok\r\nServer: Zavuvar/1.0\r\n"
                                                 "Last-Modified: Sun Dec 6 21:14:05 2026\r\n"
                                                 "Accept-Ranges: bytes\r\nContent-Type: application/xml\r\n"
                                                 "Content-Length: 583\r\n\r\n");
    QTest::newRow("two-digit day, morning")
        << QDateTime(QDate(2027, 3, 19), QTime(7, 0, 9)) << QLocale::c() << qint64(6 * 1024 * 1024 * 1024LL)
        << QByteArray("HTTP/1.0 200 Ok\r\nServer: Zavuvar/1.0\r\n"
                      "Last-Modified: Fri Mar 19 07:00:09 2027\r\n"
                      "Accept-Ranges: bytes\r\nContent-Type: application/xml\r\nContent-Length: 6442450944\r\n\r\n");
    QTest::newRow("midnight, empty file") << QDateTime(QDate(2026, 1, 1), QTime(0, 0, 0)) << QLocale::c() << qint64(0)
                                          << QByteArray("HTTP/1.0 200 Ok\r\nServer: Zavuvar/1.0\r\n"
                                                        "Last-Modified: Thu Jan 1 00:00:00 2026\r\n"
                                                        "Accept-Ranges: bytes\r\nContent-Type: application/xml\r\n"
                                                        "Content-Length: 0\r\n\r\n");
    // The names follow the system locale, and the header is sent as UTF-8.
    QTest::newRow("Chinese names")
        << QDateTime(QDate(2026, 12, 6), QTime(21, 14, 5)) << QLocale(QLocale::Chinese, QLocale::China) << qint64(12)
        << QByteArray("HTTP/1.0 200 Ok\r\nServer: Zavuvar/1.0\r\n"
                      "Last-Modified: \xe5\x91\xa8\xe6\x97\xa5 12\xe6\x9c\x88 6 21:14:05 2026\r\n"
                      "Accept-Ranges: bytes\r\nContent-Type: application/xml\r\nContent-Length: 12\r\n\r\n");
}

void TestHttpRequest::responseHeader()
{
    QFETCH(QDateTime, now);
    QFETCH(QLocale, locale);
    QFETCH(qint64, length);
    QFETCH(QByteArray, header);
    QCOMPARE(HttpdThread::responseHeader(now, length, locale), header);
}

void TestHttpRequest::startEntry_data()
{
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("entry");

    QTest::newRow("one address") << QStringList { "192.168.1.20" } << 80
                                 << "HTTPD server is running.\nServerIP:192.168.1.20\nPort:80\n";
    QTest::newRow("two addresses") << QStringList { "192.168.1.20", "10.0.0.7" } << 5080
                                   << "HTTPD server is running.\nServerIP1:192.168.1.20\nServerIP2:10.0.0.7\n"
                                      "Port:5080\n";
    QTest::newRow("three addresses") << QStringList { "10.1.1.1", "10.1.1.2", "172.16.0.9" } << 65535
                                     << "HTTPD server is running.\nServerIP1:10.1.1.1\nServerIP2:10.1.1.2\n"
                                        "ServerIP3:172.16.0.9\nPort:65535\n";
    QTest::newRow("no address") << QStringList() << 80 << "HTTPD server is running.\nPort:80\n";
}

void TestHttpRequest::startEntry()
{
    QFETCH(QStringList, addresses);
    QFETCH(int, port);
    QFETCH(QString, entry);
    QCOMPARE(HttpdService::startEntry(addresses, quint16(port)), entry);
}

void TestHttpRequest::portConfig_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("useDefault");
    QTest::addColumn<int>("port");

    QTest::newRow("custom port as the dialog writes it")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<configHttpdPort>\n    <useDefault>0</useDefault>\n"
                      "    <port>5000</port>\n</configHttpdPort>\n")
        << 0 << 5000;
    QTest::newRow("default with empty port")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<configHttpdPort>\n    <useDefault>1</useDefault>\n"
                      "    <port/>\n</configHttpdPort>\n")
        << 1 << 80;
    QTest::newRow("default keeps the typed port")
        << QByteArray("<configHttpdPort><useDefault>1</useDefault><port>6000</port></configHttpdPort>") << 1 << 6000;
    QTest::newRow("not a number") << QByteArray("<configHttpdPort><useDefault>yes</useDefault><port>http</port>"
                                                "</configHttpdPort>")
                                  << 0 << 0;
    QTest::newRow("elements in any order")
        << QByteArray("<configHttpdPort><port>7001</port><useDefault>0</useDefault></configHttpdPort>") << 0 << 7001;
    QTest::newRow("last element wins") << QByteArray(
        "<configHttpdPort><port>7001</port><port>7002</port><useDefault>0</useDefault>"
        "</configHttpdPort>") << 0 << 7002;
    QTest::newRow("broken after the values")
        << QByteArray("<configHttpdPort><useDefault>0</useDefault><port>5050</port><oops></configHttpdPort>") << 0
        << 5050;
    QTest::newRow("other value kept") << QByteArray("<configHttpdPort><useDefault>2</useDefault></configHttpdPort>")
                                      << 2 << 80;
    QTest::newRow("empty file") << QByteArray() << 1 << 80;
}

void TestHttpRequest::portConfig()
{
    QFETCH(QByteArray, content);
    QFETCH(int, useDefault);
    QFETCH(int, port);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("port.xml")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    const HttpdService::PortConfig config = HttpdService::readPortConfig(file.fileName());
    QCOMPARE(config.useDefault, useDefault);
    QCOMPARE(config.port, port);

    const HttpdService::PortConfig missing = HttpdService::readPortConfig(dir.filePath(QStringLiteral("none.xml")));
    QCOMPARE(missing.useDefault, 1);
    QCOMPARE(missing.port, 80);
}

QTEST_GUILESS_MAIN(TestHttpRequest)
#include "TestHttpRequest.moc"
