// The phonebook service under a burst of phones: a cached phonebook.xml of 10 000
// contacts fetched 2 000 times by 50, then by 500 connections at once; nginx serving
// the same file on loopback, when installed, is the yardstick.

#include "Bench.h"

#include "AppPaths.h"
#include "DataMgr.h"
#include "ExportFactory.h"
#include "HttpdService.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kContacts = 10000;
constexpr int kRequests = 2000;
constexpr int kTrials = 3;

struct LoadResult {
    int ok = 0;
    int failed = 0;
    double seconds = 0;
    double p50Ms = 0;
    double p99Ms = 0;
};

// One client connection of the load generator.
struct Slot {
    int fd = -1;
    bool sent = false;
    qint64 started = 0;
    qint64 received = 0;
    QByteArray head; // the first bytes, up to the end of the response header
};

// A small epoll load generator: keeps `concurrency` HTTP/1.0 requests in flight
// until `total` have completed; a request succeeds when it receives a 200 status
// line and exactly `bodySize` bytes of body before the server closes.
LoadResult runLoad(quint16 port, int total, int concurrency, qint64 bodySize)
{
    static const QByteArray request = "GET /phonebook.xml HTTP/1.0\r\nHost: 127.0.0.1\r\nUser-Agent: bench\r\n\r\n";
    LoadResult result;
    QList<double> latencies;
    QElapsedTimer clock;
    clock.start();
    const int ep = epoll_create1(0);
    std::vector<Slot> conns(static_cast<size_t>(concurrency));
    std::vector<char> buffer(256 * 1024);
    int started = 0;
    int finished = 0;

    auto open = [&](int index) {
        Slot &s = conns[size_t(index)];
        s = Slot();
        s.started = clock.nsecsElapsed();
        s.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in addr = {};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(s.fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
        epoll_event ev = {};
        ev.events = EPOLLOUT | EPOLLIN | EPOLLRDHUP;
        ev.data.u32 = uint32_t(index);
        epoll_ctl(ep, EPOLL_CTL_ADD, s.fd, &ev);
        ++started;
    };
    auto finish = [&](int index, bool ok) {
        Slot &s = conns[size_t(index)];
        epoll_ctl(ep, EPOLL_CTL_DEL, s.fd, nullptr);
        ::close(s.fd);
        s.fd = -1;
        const int end = int(s.head.indexOf("\r\n\r\n"));
        ok = ok && s.head.startsWith("HTTP/1.") && s.head.mid(8, 5) == " 200 " && end > 0
            && s.received - (end + 4) == bodySize;
        if (ok) {
            ++result.ok;
            latencies.append(double(clock.nsecsElapsed() - s.started) / 1e6);
        } else {
            ++result.failed;
        }
        ++finished;
        if (started < total)
            open(index);
    };

    for (int i = 0; i < concurrency && started < total; ++i)
        open(i);
    std::vector<epoll_event> events(static_cast<size_t>(concurrency));
    qint64 lastEvent = clock.elapsed();
    while (finished < total) {
        const int n = epoll_wait(ep, events.data(), concurrency, 1000);
        if (n <= 0) {
            if (clock.elapsed() - lastEvent > 60000) {
                for (int i = 0; i < concurrency; ++i) {
                    if (conns[size_t(i)].fd >= 0)
                        finish(i, false);
                }
            }
            continue;
        }
        lastEvent = clock.elapsed();
        for (int e = 0; e < n; ++e) {
            const int index = int(events[size_t(e)].data.u32);
            Slot &s = conns[size_t(index)];
            if (s.fd < 0)
                continue;
            if (!s.sent && (events[size_t(e)].events & EPOLLOUT)) {
                int error = 0;
                socklen_t length = sizeof error;
                getsockopt(s.fd, SOL_SOCKET, SO_ERROR, &error, &length);
                if (error != 0
                    || ::send(s.fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL) != request.size()) {
                    finish(index, false);
                    continue;
                }
                s.sent = true;
                epoll_event ev = {};
                ev.events = EPOLLIN | EPOLLRDHUP;
                ev.data.u32 = uint32_t(index);
                epoll_ctl(ep, EPOLL_CTL_MOD, s.fd, &ev);
                continue;
            }
            for (;;) {
                const ssize_t got = ::recv(s.fd, buffer.data(), buffer.size(), 0);
                if (got > 0) {
                    if (s.head.size() < 1024)
                        s.head.append(buffer.data(), int(qMin<ssize_t>(got, 1024)));
                    s.received += got;
                    continue;
                }
                if (got == 0)
                    finish(index, s.sent);
                else if (errno != EAGAIN && errno != EWOULDBLOCK)
                    finish(index, false);
                break;
            }
        }
    }
    ::close(ep);
    result.seconds = Bench::seconds(clock);
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.isEmpty()) {
        result.p50Ms = latencies[qsizetype(latencies.size() * 0.50)];
        result.p99Ms = latencies[qMin(latencies.size() - 1, qsizetype(latencies.size() * 0.99))];
    }
    return result;
}

// Runs the load on a thread of its own: our server accepts on this thread's loop.
LoadResult runLoadAside(quint16 port, int total, int concurrency, qint64 bodySize)
{
    LoadResult result;
    QThread *load = QThread::create([&] { result = runLoad(port, total, concurrency, bodySize); });
    QEventLoop loop;
    QObject::connect(load, &QThread::finished, &loop, &QEventLoop::quit);
    load->start();
    loop.exec();
    load->wait();
    delete load;
    return result;
}

double rate(const LoadResult &r)
{
    return r.seconds > 0 ? r.ok / r.seconds : 0.0;
}

// Reports the run of median throughput; returns it.
LoadResult reportLoad(const QString &server, int concurrency, QList<LoadResult> runs)
{
    std::sort(runs.begin(), runs.end(), [](const LoadResult &a, const LoadResult &b) { return rate(a) < rate(b); });
    int failed = 0;
    for (const LoadResult &r : runs)
        failed += r.failed;
    const LoadResult &r = runs[runs.size() / 2];
    const QString what = QStringLiteral("%1, %2 connections").arg(server).arg(concurrency);
    Bench::report(what + QStringLiteral(": throughput"), rate(r), QStringLiteral("req/s"),
        QStringLiteral("median of %1 runs of %2 (%3 to %4); failed in all runs: %5")
            .arg(runs.size())
            .arg(kRequests)
            .arg(rate(runs.first()), 0, 'f', 0)
            .arg(rate(runs.last()), 0, 'f', 0)
            .arg(failed));
    Bench::report(what + QStringLiteral(": latency p99"), r.p99Ms, QStringLiteral("ms"),
        QStringLiteral("p50 %1 ms").arg(r.p50Ms, 0, 'f', 1));
    return r;
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

void httpdBurst()
{
    const QString dir = Bench::tempDir();
    Bench::setUpPhonebook(dir, kContacts, true);
    DataMgr *mgr = DataMgr::instance();
    const QString folder = AppPaths::appDir() + QStringLiteral("HTTPD/UNIXML");
    QDir().mkpath(folder);
    if (!mgr->exportTo(ExportFactory::UniXml, QStringLiteral("UTF-8"), QStringLiteral("phonebook"), folder)) {
        Bench::report(
            QStringLiteral("export of the cached phonebook"), 0, QStringLiteral("s"), QStringLiteral("FAILED"));
        return;
    }
    const qint64 size = QFileInfo(folder + QStringLiteral("/phonebook.xml")).size();
    Bench::report(
        QStringLiteral("cached phonebook.xml, 10 000 contacts"), double(size) / (1024 * 1024), QStringLiteral("MiB"));

    // Port 0 in place of port.xml: a free port, no message.
    HttpdService::setPortOverride(0);
    if (!mgr->startHttpService()) {
        Bench::report(QStringLiteral("start"), 0, QStringLiteral("s"), QStringLiteral("FAILED"));
        return;
    }
    const quint16 port = mgr->httpPort();
    QProcess nginx;
    const quint16 nginxPort = startNginx(nginx, folder);
    if (nginxPort == 0)
        Bench::report(QStringLiteral("nginx"), 0, QStringLiteral("-"), QStringLiteral("not available, no comparison"));

    // Our runs and nginx's alternate, so both meet the same load from the rest of
    // the shared machine; each figure is the median of three runs.
    runLoadAside(port, 200, 10, size);
    if (nginxPort)
        runLoad(nginxPort, 200, 10, size);
    for (const int concurrency : { 50, 500 }) {
        QList<LoadResult> ours;
        QList<LoadResult> theirs;
        for (int trial = 0; trial < kTrials; ++trial) {
            ours.append(runLoadAside(port, kRequests, concurrency, size));
            if (nginxPort)
                theirs.append(runLoad(nginxPort, kRequests, concurrency, size));
        }
        const LoadResult mine = reportLoad(QStringLiteral("ours"), concurrency, ours);
        if (!nginxPort)
            continue;
        const LoadResult yardstick = reportLoad(QStringLiteral("nginx"), concurrency, theirs);
        Bench::report(QStringLiteral("throughput ours/nginx, %1 connections").arg(concurrency),
            rate(mine) / rate(yardstick), QStringLiteral("x"),
            concurrency == 50 ? QStringLiteral("target at least 0.5") : QStringLiteral("target: no failed request"));
    }
    mgr->stopHttpService();
    if (nginxPort) {
        nginx.terminate();
        nginx.waitForFinished(5000);
    }
}

const Bench::Registrar httpdCase("httpd-burst", httpdBurst);

} // namespace
