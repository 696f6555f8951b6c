// The phonebook service beside nginx, both loaded by wrk on loopback: phones
// fetching a cached Birch phonebook of 1 000 contacts, a general one of 10 000 and
// a tiny file, 50 and then 500 at a time, each response on a connection of its own. Also a
// phone beside 1 000 connections that never finish their header, and the headless
// export of 100 000 contacts end to end.

#include "bench/Bench.h"

#include "data/AppPaths.h"
#include "export/ExportFactory.h"
#include "httpd/HttpdServer.h"
#include "httpd/HttpdService.h"
#include "manager/DataMgr.h"
#include "tests/LoopbackClient.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <algorithm>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kTrials = 3;
constexpr int kSeconds = 4;

struct Load {
    bool ran = false;
    double rate = 0;
    double p50Ms = 0;
    double p99Ms = 0;
    qint64 requests = 0;
    qint64 errors = 0;
    // The server's processor time a request, which the rest of a shared machine
    // disturbs less than the rate.
    double cpuMicros = 0;
    // Bytes wrk read, counting the responses still under way when it stopped.
    qint64 bytes = 0;
};

// wrk reports its exact byte count from this script; the script adds no work a
// request.
QString wrkScript()
{
    static const QString path = [] {
        const QString file = Bench::tempDir() + QStringLiteral("/count.lua");
        QFile script(file);
        if (script.open(QIODevice::WriteOnly))
            script.write("done = function(summary, latency, requests)\n"
                         "  io.write(string.format(\"bytes read: %d\\n\", summary.bytes))\n"
                         "end\n");
        return file;
    }();
    return path;
}

// Processor seconds used so far by the process `pid` and its direct children (nginx's
// workers), or by this process when `pid` is 0.
double cpuSeconds(qint64 pid)
{
    const double tick = double(::sysconf(_SC_CLK_TCK));
    auto usage = [tick](const QString &statPath, qint64 *parent) {
        QFile stat(statPath);
        if (!stat.open(QIODevice::ReadOnly))
            return 0.0;
        const QByteArray line = stat.readAll();
        // Fields after the command name, which may hold blanks: state ppid ... utime stime.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 13)
            return 0.0;
        if (parent)
            *parent = fields[1].toLongLong();
        return (fields[11].toDouble() + fields[12].toDouble()) / tick;
    };
    if (pid == 0)
        return usage(QStringLiteral("/proc/self/stat"), nullptr);
    double total = usage(QStringLiteral("/proc/%1/stat").arg(pid), nullptr);
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        qint64 parent = 0;
        if (entry.front().isDigit()) {
            const double used = usage(QStringLiteral("/proc/%1/stat").arg(entry), &parent);
            if (parent == pid)
                total += used;
        }
    }
    return total;
}

// Runs `process` to its end while this thread's event loop serves our server.
void runToEnd(QProcess &process, const QString &program, const QStringList &args)
{
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    process.start(program, args);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    process.waitForFinished(-1);
}

double latencyMs(const QString &text, const char *percentile)
{
    const QRegularExpression pattern(
        QStringLiteral("\\b%1%\\s+([\\d.]+)(us|ms|s|m)\\b").arg(QLatin1String(percentile)));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return -1;
    const double value = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    return unit == QLatin1String("us") ? value / 1000
        : unit == QLatin1String("ms")  ? value
        : unit == QLatin1String("s")   ? value * 1000
                                       : value * 60000;
}

qint64 number(const QString &text, const QString &pattern, int group = 1)
{
    const QRegularExpressionMatch m = QRegularExpression(pattern).match(text);
    return m.hasMatch() ? m.captured(group).toLongLong() : 0;
}

// wrk with one connection per response (as phones do) unless `keepAlive`. Errors
// are wrk's socket errors (a response cut short of its Content-Length is a read
// error), requests over 10 s, and statuses other than 2xx/3xx.
Load runWrk(quint16 port, const QString &path, const QString &agent, int connections, int seconds,
    bool keepAlive = false, qint64 serverPid = 0)
{
    QStringList args { QStringLiteral("-t%1").arg(qMax(1, QThread::idealThreadCount())),
        QStringLiteral("-c%1").arg(connections), QStringLiteral("-d%1s").arg(seconds), QStringLiteral("--latency"),
        QStringLiteral("--timeout"), QStringLiteral("10s"), QStringLiteral("-s"), wrkScript() };
    if (!keepAlive)
        args << QStringLiteral("-H") << QStringLiteral("Connection: close");
    if (!agent.isEmpty())
        args << QStringLiteral("-H") << QStringLiteral("User-Agent: ") + agent;
    args << QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path);
    QProcess wrk;
    const double cpuBefore = cpuSeconds(serverPid);
    runToEnd(wrk, QStringLiteral("wrk"), args);
    const double cpu = cpuSeconds(serverPid) - cpuBefore;
    const QString out = QString::fromUtf8(wrk.readAllStandardOutput());
    Load load;
    const QRegularExpressionMatch rate = QRegularExpression(QStringLiteral("Requests/sec:\\s+([\\d.]+)")).match(out);
    if (wrk.exitStatus() != QProcess::NormalExit || wrk.exitCode() != 0 || !rate.hasMatch()) {
        std::fprintf(stderr, "wrk failed: %s%s\n", out.toUtf8().constData(), wrk.readAllStandardError().constData());
        return load;
    }
    load.ran = true;
    load.rate = rate.captured(1).toDouble();
    load.p50Ms = latencyMs(out, "50");
    load.p99Ms = latencyMs(out, "99");
    load.requests = number(out, QStringLiteral("(\\d+) requests in"));
    load.bytes = number(out, QStringLiteral("bytes read: (\\d+)"));
    load.cpuMicros = load.requests > 0 ? cpu * 1e6 / double(load.requests) : 0;
    const QRegularExpressionMatch socket
        = QRegularExpression(QStringLiteral("Socket errors: connect (\\d+), read (\\d+), write (\\d+), timeout (\\d+)"))
              .match(out);
    for (int i = 1; socket.hasMatch() && i <= 4; ++i)
        load.errors += socket.captured(i).toLongLong();
    load.errors += number(out, QStringLiteral("Non-2xx or 3xx responses: (\\d+)"));
    return load;
}

// The run of median throughput, with the errors of all runs and the median
// processor time a request.
Load median(QList<Load> runs)
{
    std::sort(runs.begin(), runs.end(), [](const Load &a, const Load &b) { return a.rate < b.rate; });
    Load m = runs[runs.size() / 2];
    m.errors = 0;
    QList<double> cpu;
    for (const Load &r : runs) {
        m.errors += r.errors;
        cpu.append(r.cpuMicros);
    }
    std::sort(cpu.begin(), cpu.end());
    m.cpuMicros = cpu[cpu.size() / 2];
    return m;
}

// Whether every response of a load was a 200 of `responseBytes` (header and file):
// no status other than 2xx/3xx, no response cut short (a read error to wrk), and
// the bytes read those of the complete responses plus at most one partial
// response a connection when wrk stopped.
bool allWhole(const QList<Load> &runs, qint64 responseBytes, int connections)
{
    for (const Load &r : runs) {
        if (!r.ran || r.errors != 0 || r.requests == 0 || r.bytes < r.requests * responseBytes
            || r.bytes > (r.requests + connections) * responseBytes)
            return false;
    }
    return responseBytes > 0;
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

void reportLoad(const QString &what, const Load &load, bool whole)
{
    Bench::report(what, load.rate, QStringLiteral("req/s"),
        load.ran ? QStringLiteral("p50 %1 ms, p99 %2 ms, errors %3 (in all %4 runs), %5 us of processor a request, "
                                  "every response 200 and whole: %6")
                       .arg(load.p50Ms, 0, 'f', 2)
                       .arg(load.p99Ms, 0, 'f', 2)
                       .arg(load.errors)
                       .arg(kTrials)
                       .arg(load.cpuMicros, 0, 'f', 0)
                       .arg(whole ? QStringLiteral("yes") : QStringLiteral("NO"))
                 : QStringLiteral("FAILED"));
}

// One response fetched by hand: its whole size when its status is 200 and its
// body is `fileBytes` long, else -1 and why not.
qint64 probe(quint16 port, const QByteArray &request, qint64 fileBytes, QString *why)
{
    const std::vector<int> fds = LoopbackClient::openConnections(port, 1, request);
    if (fds.empty()) {
        *why = QStringLiteral("no connection");
        return -1;
    }
    const QByteArray reply = LoopbackClient::readToEnd(fds[0]);
    ::close(fds[0]);
    const QByteArray status = reply.left(reply.indexOf('\r'));
    const qsizetype end = reply.indexOf("\r\n\r\n");
    if (!status.startsWith("HTTP/1.") || status.mid(9, 4) != "200 ") {
        *why = QStringLiteral("status line \"%1\"").arg(QString::fromLatin1(status));
        return -1;
    }
    if (end < 0 || reply.size() - end - 4 != fileBytes) {
        *why = QStringLiteral("body of %1 bytes, file of %2").arg(end < 0 ? 0 : reply.size() - end - 4).arg(fileBytes);
        return -1;
    }
    return reply.size();
}

// Peak resident memory of the process `pid` and its direct children, in MiB.
double peakMiB(qint64 pid)
{
    auto hwm = [](const QString &entry, qint64 *parent) {
        QFile status(QStringLiteral("/proc/%1/status").arg(entry));
        if (!status.open(QIODevice::ReadOnly))
            return 0.0;
        double kib = 0;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                kib = line.mid(6).trimmed().split(' ').first().toDouble();
            else if (line.startsWith("PPid:"))
                *parent = line.mid(5).trimmed().toLongLong();
        }
        return kib / 1024;
    };
    qint64 parent = 0;
    double total = hwm(QString::number(pid), &parent);
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        if (entry.front().isDigit()) {
            const double used = hwm(entry, &parent);
            if (parent == pid)
                total += used;
        }
    }
    return total;
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Starts nginx on loopback serving `root`; returns its port, or 0 when nginx is
// missing or does not come up.
quint16 startNginx(QProcess &nginx, const QString &root)
{
    const QString program = QFileInfo::exists(QStringLiteral("/usr/sbin/nginx"))
        ? QStringLiteral("/usr/sbin/nginx")
        : QStandardPaths::findExecutable(QStringLiteral("nginx"));
    if (program.isEmpty())
        return 0;
    const QString dir = Bench::tempDir();
    const quint16 port = freePort();
    QFile conf(dir + QStringLiteral("/nginx.conf"));
    if (!conf.open(QIODevice::WriteOnly))
        return 0;
    const QString user = ::geteuid() == 0 ? QStringLiteral("user root;\n") : QString();
    conf.write(
        QStringLiteral("%1worker_processes auto;\ndaemon off;\npid %2/nginx.pid;\nerror_log %2/error.log;\n"
                       "events { worker_connections 4096; }\n"
                       "http {\n  access_log off;\n  sendfile on;\n  default_type application/xml;\n"
                       "  client_body_temp_path %2/body;\n  proxy_temp_path %2/proxy;\n"
                       "  fastcgi_temp_path %2/fastcgi;\n  uwsgi_temp_path %2/uwsgi;\n  scgi_temp_path %2/scgi;\n"
                       "  server {\n    listen 127.0.0.1:%3 backlog=4096;\n    root %4;\n  }\n}\n")
            .arg(user, dir, QString::number(port), root)
            .toUtf8());
    conf.close();
    nginx.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    nginx.start(program,
        { QStringLiteral("-e"), dir + QStringLiteral("/error.log"), QStringLiteral("-p"), dir, QStringLiteral("-c"),
            conf.fileName() });
    if (!nginx.waitForStarted(5000))
        return 0;
    for (int i = 0; i < 100; ++i) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        if (probe.waitForConnected(100))
            return port;
        if (nginx.state() == QProcess::NotRunning)
            return 0;
        QThread::msleep(50);
    }
    return 0;
}

void stopNginx(QProcess &nginx)
{
    nginx.terminate();
    nginx.waitForFinished(5000);
}

// Writes the synthetic phonebook of `contacts` in `format` as `folder`/phonebook.xml;
// returns its size, or -1. The phonebook is set up in a folder of its own, whose
// clearing does not touch `folder`.
qint64 writePhonebook(int contacts, int format, const QString &folder)
{
    Bench::setUpPhonebook(Bench::tempDir(), contacts, false);
    QDir().mkpath(folder);
    if (!DataMgr::instance()->exportAsSaved({ format, QStringLiteral("UTF-8"), QStringLiteral("phonebook"), folder }))
        return -1;
    return QFileInfo(folder + QStringLiteral("/phonebook.xml")).size();
}

bool startService(HttpdService &service)
{
    // Port 0 in place of port.xml: a free port, no message.
    HttpdService::setPortOverride(0);
    return service.startServer().ok();
}

void httpdLoad()
{
    if (QStandardPaths::findExecutable(QStringLiteral("wrk")).isEmpty()) {
        Bench::report(QStringLiteral("wrk"), 0, QStringLiteral("-"), QStringLiteral("not installed"));
        return;
    }
    const QString dir = Bench::tempDir();
    const QString httpd = dir + QStringLiteral("/HTTPD");
    const qint64 birch = writePhonebook(1000, ExportFactory::XmlBirch, httpd + QStringLiteral("/Birch"));
    const qint64 general = writePhonebook(10000, ExportFactory::UniXml, httpd + QStringLiteral("/UNIXML"));
    // nginx's workers may run as another user: every folder on the way is readable.
    for (const QString &folder : { dir, httpd, httpd + QStringLiteral("/Birch"), httpd + QStringLiteral("/UNIXML") })
        QFile::setPermissions(folder, QFile::permissions(folder) | QFileDevice::ReadOther | QFileDevice::ExeOther);
    // The service serves from the program folder.
    AppPaths::setAppDir(dir);
    Bench::report(QStringLiteral("Birch phonebook.xml, 1 000 contacts"), double(birch) / 1024, QStringLiteral("KiB"));
    Bench::report(
        QStringLiteral("general phonebook.xml, 10 000 contacts"), double(general) / 1024, QStringLiteral("KiB"));

    Bench::resetPeakMemory();
    HttpdService service;
    QProcess nginx;
    const quint16 nginxPort = startNginx(nginx, httpd);
    if (birch < 0 || general < 0 || !startService(service) || nginxPort == 0) {
        Bench::report(QStringLiteral("set-up"), 0, QStringLiteral("-"),
            nginxPort == 0 ? QStringLiteral("nginx not available") : QStringLiteral("FAILED"));
        stopNginx(nginx);
        return;
    }
    const quint16 port = service.serverPort();
    Bench::report(QStringLiteral("our connection threads"), service.server()->threadCount(), QStringLiteral("-"),
        QStringLiteral("nginx: worker_processes auto, sendfile on; wrk: one thread a core"));

    // A tiny file shows what each request costs beside its bytes: the parsing,
    // the request log and the table of phones.
    QFile tiny(httpd + QStringLiteral("/UNIXML/tiny.xml"));
    tiny.open(QIODevice::WriteOnly);
    tiny.write("<t/>\n");
    tiny.close();

    struct File {
        QString label;
        QString agent; // what selects the file at our server
        QString ourPath;
        QString nginxPath;
        qint64 size;
    };
    const QString phonebookPath = QStringLiteral("/phonebook.xml");
    const QList<File> files { { QStringLiteral("Birch 1 000"), QStringLiteral("Birch"), phonebookPath,
                                  QStringLiteral("/Birch/phonebook.xml"), birch },
        { QStringLiteral("general 10 000"), QString(), phonebookPath, QStringLiteral("/UNIXML/phonebook.xml"),
            general },
        { QStringLiteral("tiny file"), QString(), QStringLiteral("/tiny.xml"), QStringLiteral("/UNIXML/tiny.xml"),
            tiny.size() } };
    double best = 0;
    for (const File &file : files) {
        const QString &ourPath = file.ourPath;
        QString why;
        const QByteArray agentLine
            = file.agent.isEmpty() ? QByteArray() : "User-Agent: " + file.agent.toUtf8() + "\r\n";
        const qint64 ourBytes = probe(port,
            "GET " + ourPath.toUtf8() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + agentLine + "Connection: close\r\n\r\n",
            file.size, &why);
        if (ourBytes < 0)
            Bench::report(file.label + QStringLiteral(": our response"), 0, QStringLiteral("-"), why);
        const qint64 nginxBytes = probe(nginxPort,
            "GET " + file.nginxPath.toUtf8() + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n", file.size,
            &why);
        if (nginxBytes < 0)
            Bench::report(file.label + QStringLiteral(": nginx's response"), 0, QStringLiteral("-"), why);

        runWrk(port, ourPath, file.agent, 50, 1);
        runWrk(nginxPort, file.nginxPath, QString(), 50, 1);
        for (const int connections : { 50, 500 }) {
            // Our runs and nginx's alternate, so both meet the same load from the
            // rest of the shared machine.
            QList<Load> ours;
            QList<Load> theirs;
            for (int trial = 0; trial < kTrials; ++trial) {
                ours.append(runWrk(port, ourPath, file.agent, connections, kSeconds));
                theirs.append(
                    runWrk(nginxPort, file.nginxPath, QString(), connections, kSeconds, false, nginx.processId()));
            }
            const Load mine = median(ours);
            const Load yardstick = median(theirs);
            const QString what = QStringLiteral("%1, %2 connections: ").arg(file.label).arg(connections);
            reportLoad(what + QStringLiteral("ours"), mine, allWhole(ours, ourBytes, connections));
            reportLoad(what + QStringLiteral("nginx"), yardstick, allWhole(theirs, nginxBytes, connections));
            const double rate = yardstick.rate > 0 ? mine.rate / yardstick.rate : 0;
            Bench::report(what + QStringLiteral("ours/nginx, requests a second"), rate, QStringLiteral("x"),
                QStringLiteral("target: at least 1.0: %1").arg(verdict(rate >= 1.0)));
            const double cpu = yardstick.cpuMicros > 0 ? mine.cpuMicros / yardstick.cpuMicros : 0;
            Bench::report(what + QStringLiteral("ours/nginx, processor a request"), cpu, QStringLiteral("x"),
                QStringLiteral("%1 us against %2 us; target: at most 1.2: %3")
                    .arg(mine.cpuMicros, 0, 'f', 0)
                    .arg(yardstick.cpuMicros, 0, 'f', 0)
                    .arg(verdict(cpu > 0 && cpu <= 1.2)));
            if (connections == 50 && file.agent == QLatin1String("Birch")) {
                Bench::report(what + QStringLiteral("our p99"), mine.p99Ms, QStringLiteral("ms"),
                    QStringLiteral("target: at most 20 ms: %1").arg(verdict(mine.p99Ms >= 0 && mine.p99Ms <= 20)));
            }
            // wrk's ceiling below is measured against the phonebooks.
            if (file.ourPath == phonebookPath)
                best = qMax(best, qMax(mine.rate, yardstick.rate));
        }
    }
    Bench::report(QStringLiteral("peak memory during the loads: ours"), Bench::peakMemoryMiB(), QStringLiteral("MiB"),
        QStringLiteral("the whole benchmark process, phonebook included"));
    Bench::report(QStringLiteral("peak memory during the loads: nginx"), peakMiB(nginx.processId()),
        QStringLiteral("MiB"), QStringLiteral("master and workers"));

    // wrk's own ceiling: the tiny file from nginx, with a connection a request as
    // above, and over kept-alive connections.
    for (const bool keepAlive : { false, true }) {
        const Load ceiling = runWrk(nginxPort, QStringLiteral("/UNIXML/tiny.xml"), QString(), 50, kSeconds, keepAlive);
        Bench::report(QStringLiteral("wrk's ceiling: tiny file from nginx, %1")
                          .arg(keepAlive ? QStringLiteral("kept alive") : QStringLiteral("a connection a request")),
            ceiling.rate, QStringLiteral("req/s"),
            QStringLiteral("%1x the best figure above; wrk is not the limit when well above 1")
                .arg(best > 0 ? ceiling.rate / best : 0, 0, 'f', 1));
    }
    service.stopServer();
    stopNginx(nginx);
}

// One phone's request: milliseconds until the whole reply had come, or -1 when it
// did not come whole.
double phoneRequest(quint16 port)
{
    QElapsedTimer clock;
    clock.start();
    const std::vector<int> fds
        = LoopbackClient::openConnections(port, 1, "GET /phonebook.xml HTTP/1.0\r\nUser-Agent: Birch\r\n\r\n");
    if (fds.empty())
        return -1;
    const QByteArray reply = LoopbackClient::readToEnd(fds[0]);
    ::close(fds[0]);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    const int end = int(reply.indexOf("\r\n\r\n"));
    const QRegularExpressionMatch length = QRegularExpression(QStringLiteral("Content-Length: (\\d+)\\r\\n"))
                                               .match(QString::fromLatin1(reply.left(end + 2)));
    return end > 0 && length.hasMatch() && reply.size() - end - 4 == length.captured(1).toLongLong() ? ms : -1;
}

void httpdIdle()
{
    constexpr int kIdle = 1000;
    constexpr int kPhones = 20;
    const QString dir = Bench::tempDir();
    if (writePhonebook(1000, ExportFactory::XmlBirch, dir + QStringLiteral("/HTTPD/Birch")) < 0)
        return;
    AppPaths::setAppDir(dir);
    HttpdService service;
    if (!startService(service)) {
        Bench::report(QStringLiteral("start"), 0, QStringLiteral("-"), QStringLiteral("FAILED"));
        return;
    }
    const quint16 port = service.serverPort();
    HttpdServer *server = service.server();
    QList<double> times;
    int opened = 0;
    std::unique_ptr<QThread> client(QThread::create([&] {
        const std::vector<int> idle
            = LoopbackClient::openConnections(port, kIdle, "GET /phonebook.xml HTTP/1.0\r\nUser-Ag");
        opened = int(idle.size());
        QElapsedTimer clock;
        clock.start();
        while (server->openConnections() < kIdle && clock.elapsed() < 10000)
            QThread::msleep(5);
        for (int i = 0; i < kPhones; ++i)
            times.append(phoneRequest(port));
        for (const int fd : idle)
            ::close(fd);
    }));
    QEventLoop loop;
    QObject::connect(client.get(), &QThread::finished, &loop, &QEventLoop::quit);
    client->start();
    loop.exec();
    client->wait();
    const int failed = int(std::count(times.cbegin(), times.cend(), -1.0));
    std::sort(times.begin(), times.end());
    Bench::report(QStringLiteral("a phone beside %1 idle connections: median").arg(opened), times[times.size() / 2],
        QStringLiteral("ms"),
        QStringLiteral("%1 phones one after another, %2 without their whole reply").arg(kPhones).arg(failed));
    Bench::report(QStringLiteral("a phone beside %1 idle connections: slowest").arg(opened), times.last(),
        QStringLiteral("ms"), QStringLiteral("target: at most 100 ms"));
    service.stopServer();
}

void httpdExport()
{
    const QString dir = Bench::tempDir();
    Bench::setUpPhonebook(dir, 100000, true);
    DataMgr::instance()->closeStore();
    const QStringList args { QStringLiteral("--dir"), dir, QStringLiteral("export"), QStringLiteral("--format"),
        QStringLiteral("1"), QStringLiteral("--encoding"), QStringLiteral("UTF-8"), QStringLiteral("--out"),
        dir + QStringLiteral("/general") };
    QList<double> runs;
    bool ok = true;
    for (int trial = 0; trial < kTrials; ++trial) {
        QProcess cli;
        cli.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        cli.start(QStringLiteral(QUORVANE_CLI_PATH), args);
        ok = cli.waitForFinished(-1) && cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0 && ok;
        runs.append(Bench::seconds(clock));
    }
    std::sort(runs.begin(), runs.end());
    Bench::report(QStringLiteral("headless export, 100 000 contacts, general XML"), runs[runs.size() / 2],
        QStringLiteral("s"),
        ok ? QStringLiteral("median of %1 (%2 to %3 s), %4 MB; target: at most 1 s")
                 .arg(runs.size())
                 .arg(runs.first(), 0, 'f', 3)
                 .arg(runs.last(), 0, 'f', 3)
                 .arg(QFileInfo(dir + QStringLiteral("/general.xml")).size() / 1e6, 0, 'f', 1)
           : QStringLiteral("FAILED"));
}

const Bench::Registrar loadCase("httpd-load", httpdLoad);
const Bench::Registrar idleCase("httpd-idle", httpdIdle);
const Bench::Registrar exportCase("httpd-export", httpdExport);

} // namespace
