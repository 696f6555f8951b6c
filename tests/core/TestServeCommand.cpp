// The headless tool's `serve`: start entry and access-log lines on standard output
// (and in the --log file), the port from --port or port.xml, a clean end on SIGINT
// and SIGTERM, and the phonebook of the folder as other programs change it.

#include "tests/CliRun.h"
#include "tests/TestUtil.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::AnyIPv4, 0);
    return probe.serverPort();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

// Reads standard output until it holds `text` (or the time runs out).
bool waitForOutput(QProcess &process, QByteArray *output, const QByteArray &text, int msecs = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!output->contains(text) && clock.elapsed() < msecs) {
        process.waitForReadyRead(100);
        *output += process.readAllStandardOutput();
        if (process.state() == QProcess::NotRunning) {
            *output += process.readAllStandardOutput();
            break;
        }
    }
    return output->contains(text);
}

// Starts `serve` on the phonebook of `dir` at `port` and reads its output up to the
// port line of the start entry.
bool startServe(QProcess &process, const QString &dir, quint16 port, QByteArray *output, const QStringList &more = {})
{
    process.setWorkingDirectory(dir);
    process.start(QStringLiteral(QUORVANE_CLI_PATH),
        QStringList {
            QStringLiteral("--dir"), dir, QStringLiteral("serve"), QStringLiteral("--port"), QString::number(port) }
            + more);
    return process.waitForStarted() && waitForOutput(process, output, "Port:");
}

QByteArray fetch(quint16 port, const QByteArray &request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000))
        return QByteArray();
    socket.write(request);
    QByteArray reply;
    QElapsedTimer clock;
    clock.start();
    while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < 10000) {
        socket.waitForReadyRead(100);
        reply += socket.readAll();
    }
    return reply + socket.readAll();
}

// Checks the start entry: the running line, one or more address lines, the port.
bool isStartEntry(const QByteArray &output, quint16 port, QString *why)
{
    const QString text = QString::fromUtf8(output);
    static const QRegularExpression entry(QStringLiteral(
        "^HTTPD server is running\\.\\n((ServerIP:\\d+\\.\\d+\\.\\d+\\.\\d+\\n)|(ServerIP\\d+:\\d+\\.\\d+"
        "\\.\\d+\\.\\d+\\n)*)Port:(\\d+)\\n"));
    const QRegularExpressionMatch match = entry.match(text);
    if (!match.hasMatch() || match.captured(4) != QString::number(port)) {
        *why = text.left(300);
        return false;
    }
    return true;
}

// The access-log lines of `output` (those after the start entry), each with its
// time stamp checked (local time, within a minute of now) and replaced by "[T]".
QStringList logLines(const QByteArray &output, QString *why)
{
    static const QRegularExpression stamp(
        QStringLiteral("^(\\S+ - - )\\[(\\d\\d/[A-Z][a-z][a-z]/\\d{4}:\\d\\d:\\d\\d:\\d\\d) [+-]\\d{4}\\]( .*)$"));
    QStringList lines;
    for (const QByteArray &raw : output.split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (line.isEmpty() || line.startsWith(QLatin1String("HTTPD server"))
            || line.startsWith(QLatin1String("ServerIP")) || line.startsWith(QLatin1String("Port:")))
            continue;
        const QRegularExpressionMatch m = stamp.match(line);
        const QDateTime time = QLocale::c().toDateTime(m.captured(2), QStringLiteral("dd/MMM/yyyy:HH:mm:ss"));
        if (!m.hasMatch() || !time.isValid() || qAbs(time.secsTo(QDateTime::currentDateTime())) > 60) {
            *why = QStringLiteral("bad line: ") + line;
            return {};
        }
        lines << m.captured(1) + QStringLiteral("[T]") + m.captured(3);
    }
    return lines;
}

} // namespace

class TestServeCommand : public QObject
{
    Q_OBJECT

private slots:
    void servesUntilSignalled_data();
    void servesUntilSignalled();
    void logFileTakesTheSameLines();
    void logThatCannotBeOpened_data();
    void logThatCannotBeOpened();
    void followsPortXml();
    void servesThePhonebookOfDir();
    void followsAnotherProgramsChanges();
    void outlivesClientsGoneEarly();
    void refusesBadOptions_data();
    void refusesBadOptions();
};

void TestServeCommand::servesUntilSignalled_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestServeCommand::servesUntilSignalled()
{
    QFETCH(int, signal);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const quint16 port = freePort();
    QProcess process;
    QByteArray output;
    QVERIFY2(startServe(process, dir.path(), port, &output), output.constData());
    QVERIFY(waitForOutput(process, &output, "\n"));
    QString why;
    QVERIFY2(isStartEntry(output, port, &why), qPrintable(why));

    writeFile(dir.filePath(QStringLiteral("HTTPD/Birch/phonebook.xml")), "<birch>\xe5\xbc\xa0</birch>\n");
    const QByteArray reply = fetch(port, "GET /phonebook.xml HTTP/1.1\r\nUser-Agent: Birch\r\n\r\n");
    QVERIFY2(reply.startsWith("HTTP/1.0 200 Ok\r\n"), reply.constData());
    QVERIFY(reply.endsWith("\r\n\r\n<birch>\xe5\xbc\xa0</birch>\n"));
    QVERIFY(fetch(port, "GET /../phonebook.db HTTP/1.1\r\n\r\n").isEmpty());

    // One line a request, as it ends.
    QVERIFY2(waitForOutput(process, &output, "phonebook.db"), output.constData());
    QVERIFY(waitForOutput(process, &output, "\"-\"\n"));
    const QStringList expected = {
        "127.0.0.1 - - [T] \"GET /phonebook.xml HTTP/1.1\" 200 19 \"-\" \"Birch\"",
        "127.0.0.1 - - [T] \"GET /../phonebook.db HTTP/1.1\" 444 - \"-\" \"-\"",
    };
    const QStringList lines = logLines(output, &why);
    QVERIFY2(!lines.isEmpty(), qPrintable(why));
    QCOMPARE(lines, expected);

    ::kill(pid_t(process.processId()), signal);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(process.readAllStandardError(), QByteArray());
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(!probe.waitForConnected(1000));
}

void TestServeCommand::logFileTakesTheSameLines()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString logPath = dir.filePath(QStringLiteral("access.log"));
    writeFile(logPath, "an earlier line\n");
    const quint16 port = freePort();
    QProcess process;
    QByteArray output;
    QVERIFY2(startServe(process, dir.path(), port, &output, { QStringLiteral("--log"), logPath }), output.constData());
    writeFile(dir.filePath(QStringLiteral("HTTPD/Birch/phonebook.xml")), "<birch/>");
    writeFile(dir.filePath(QStringLiteral("HTTPD/Cedar/phonebook.xml")), "<cedar/>\n");
    QVERIFY(!fetch(port, "GET /phonebook.xml HTTP/1.1\r\nUser-Agent: Birch B20/2.1\r\n\r\n").isEmpty());
    QVERIFY(!fetch(port, "GET /phonebook.xml HTTP/1.1\r\nUser-Agent: Cedar \"T3\"\r\nReferer: pbx\r\n\r\n").isEmpty());
    QVERIFY2(waitForOutput(process, &output, "T3\\\"\"\n"), output.constData());
    process.terminate();
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 0);

    QString why;
    const QStringList lines = logLines(output, &why);
    QVERIFY2(!lines.isEmpty(), qPrintable(why));
    const QStringList expected = {
        "127.0.0.1 - - [T] \"GET /phonebook.xml HTTP/1.1\" 200 8 \"-\" \"Birch B20/2.1\"",
        "127.0.0.1 - - [T] \"GET /phonebook.xml HTTP/1.1\" 200 9 \"pbx\" \"Cedar \\\"T3\\\"\"",
    };
    QCOMPARE(lines, expected);
    // Appended to what the file held, byte for byte what stdout got.
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray logged = log.readAll();
    QVERIFY(logged.startsWith("an earlier line\n"));
    QCOMPARE(logged.mid(16), output.mid(output.indexOf("127.0.0.1")));
}

void TestServeCommand::logThatCannotBeOpened_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("a folder") << ".";
    QTest::newRow("in a missing folder") << "missing/access.log";
    QTest::newRow("no name") << "";
}

// Refused before anything is served: the service never starts.
void TestServeCommand::logThatCannotBeOpened()
{
    QFETCH(QString, path);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const quint16 port = freePort();
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(QUORVANE_CLI_PATH),
        { QStringLiteral("--dir"), dir.path(), QStringLiteral("serve"), QStringLiteral("--port"), QString::number(port),
            QStringLiteral("--log"), path });
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardError().startsWith("Cannot open the log"));
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("phonebook.db"))));
}

void TestServeCommand::followsPortXml()
{
    QTemporaryDir dir;
    QTemporaryDir current;
    QVERIFY(dir.isValid() && current.isValid());
    const quint16 port = freePort();
    writeFile(current.filePath(QStringLiteral("port.xml")),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<configHttpdPort>\n    <useDefault>0</useDefault>\n"
        "    <port>"
            + QByteArray::number(port) + "</port>\n</configHttpdPort>\n");
    QProcess process;
    process.setWorkingDirectory(current.path());
    process.start(QStringLiteral(QUORVANE_CLI_PATH), { QStringLiteral("--dir"), dir.path(), QStringLiteral("serve") });
    QByteArray output;
    QVERIFY2(waitForOutput(process, &output, "Port:"), output.constData());
    QVERIFY(waitForOutput(process, &output, "\n"));
    QString why;
    QVERIFY2(isStartEntry(output, port, &why), qPrintable(why));
    process.terminate();
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 0);
}

void TestServeCommand::servesThePhonebookOfDir()
{
    // The phonebook of the folder, saved by this process and then left to the tool.
    TestUtil::Workspace dir;
    TestUtil::addContact(TestUtil::contact(QStringLiteral("Ann"), QStringLiteral("Lee"),
        { TestUtil::phone(QStringLiteral("Pager"), QStringLiteral("100")),
            TestUtil::phone(QStringLiteral("Home"), QStringLiteral("5550100")) },
        { TestUtil::mail(QStringLiteral("Home"), QStringLiteral("ann@example.com")),
            TestUtil::mail(QStringLiteral("Work"), QStringLiteral("lee@example.com")) }));
    QVERIFY(DataMgr::instance()->saveToDatabase());
    DataMgr::instance()->closeStore();
    QFile store(dir.file(QStringLiteral("phonebook.db")));
    QVERIFY(store.open(QIODevice::ReadOnly));
    const QByteArray stored = store.readAll();
    store.close();

    const quint16 port = freePort();
    QProcess process;
    QByteArray output;
    QVERIFY2(startServe(process, dir.path(), port, &output), output.constData());

    // The request line and the agent line come in separate packets.
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(socket.waitForConnected(5000));
    socket.write("GET /phonebook.xml HTTP/1.0\r\n");
    QVERIFY(socket.waitForBytesWritten(1000));
    QTest::qSleep(500);
    socket.write("User-Agent: Birch\r\n\r\n");
    QByteArray reply;
    QElapsedTimer clock;
    clock.start();
    while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < 10000) {
        socket.waitForReadyRead(100);
        reply += socket.readAll();
    }
    reply += socket.readAll();
    const int end = int(reply.indexOf("\r\n\r\n"));
    QVERIFY2(end > 0, reply.constData());
    QFile expected(QStringLiteral(QUORVANE_TEST_DATA "/httpd/birch-cli.xml"));
    QVERIFY(expected.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(reply.mid(end + 4)), QString::fromUtf8(expected.readAll()));

    process.terminate();
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 0);
    // Serving wrote the phone's file, not the store.
    QVERIFY(store.open(QIODevice::ReadOnly));
    QVERIFY(store.readAll() == stored);
}

void TestServeCommand::followsAnotherProgramsChanges()
{
    TestUtil::Workspace dir;
    TestUtil::addContact(TestUtil::contact(QStringLiteral("Ann"), QStringLiteral("Lee")));
    QVERIFY(DataMgr::instance()->saveToDatabase());
    DataMgr::instance()->closeStore();
    const quint16 port = freePort();
    QProcess process;
    QByteArray output;
    QVERIFY2(startServe(process, dir.path(), port, &output), output.constData());
    const QByteArray birch = "GET /phonebook.xml HTTP/1.0\r\nUser-Agent: Birch\r\n\r\n";
    QVERIFY(fetch(port, birch).contains("<FirstName>Ann</FirstName>"));
    const QString cached = dir.file(QStringLiteral("HTTPD/Birch/phonebook.xml"));
    QFile file(cached);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray old = file.readAll();
    file.close();

    // Another program brings in another phonebook, and (as one stopped half-way
    // would) leaves the file cached from the old one.
    writeFile(dir.file(QStringLiteral("new.csv")), "First Name,Last Name\nZed,Roe\n");
    const CliRun import = runCli({ QStringLiteral("--dir"), dir.path(), QStringLiteral("import"),
        dir.file(QStringLiteral("new.csv")), "--clear" });
    QCOMPARE(import.exitCode, 0);
    writeFile(cached, old);

    for (const QByteArray &request : { QByteArray("GET /phonebook.xml HTTP/1.0\r\n\r\n"), birch }) {
        const QByteArray reply = fetch(port, request);
        QVERIFY2(reply.contains("<FirstName>Zed</FirstName>") && !reply.contains("Ann"), reply.constData());
    }
    process.terminate();
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 0);
}

void TestServeCommand::outlivesClientsGoneEarly()
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("HTTPD/UNIXML/big.bin")), QByteArray(1024 * 1024, 'x'));
    const quint16 port = freePort();
    QProcess process;
    QByteArray output;
    QVERIFY2(startServe(process, dir.path(), port, &output), output.constData());
    // Each leaves before the reply, which then meets a reset: the sends after it
    // fail, and must not end the process.
    for (int i = 0; i < 3; ++i) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(socket.waitForConnected(5000));
        socket.write("GET /big.bin HTTP/1.0\r\n\r\n");
        QVERIFY(socket.waitForBytesWritten(1000));
        socket.abort();
        QTest::qWait(100);
    }
    QVERIFY(fetch(port, "GET /big.bin HTTP/1.0\r\n\r\n").endsWith(QByteArray(1024, 'x')));
    QCOMPARE(process.state(), QProcess::Running);
    process.terminate();
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 0);
}

void TestServeCommand::refusesBadOptions_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("port not a number") << QStringList { "serve", "--port", "http" };
    QTest::newRow("port too large") << QStringList { "serve", "--port", "65536" };
    QTest::newRow("negative port") << QStringList { "serve", "--port", "-5" };
    QTest::newRow("port without value") << QStringList { "serve", "--port" };
    QTest::newRow("unknown option") << QStringList { "serve", "--host", "x" };
    QTest::newRow("stray argument") << QStringList { "serve", "now" };
}

void TestServeCommand::refusesBadOptions()
{
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(QUORVANE_CLI_PATH), QStringList { QStringLiteral("--dir"), dir.path() } + args);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(!process.readAllStandardError().isEmpty());
}

QTEST_GUILESS_MAIN(TestServeCommand)
#include "TestServeCommand.moc"
