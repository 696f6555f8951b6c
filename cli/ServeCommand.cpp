#include "cli/Command.h"
#include "httpd/HttpdService.h"
#include "manager/DataMgr.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The signal handler only writes a byte; the event loop reads it and quits, so the
// service is stopped from the main thread like any other stop.
int g_signalPipe[2] = { -1, -1 };

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &byte, 1);
}

bool installSignalHandlers()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

// Writes the access-log lines of the requests that ended to stdout and to the log
// file, once a batch. A log file that cannot be written is said once, until it
// can be written again.
class AccessLog
{
public:
    bool open(const QString &path)
    {
        m_file.setFileName(path);
        // Unbuffered: a failed write is not tried again with the next batch.
        if (!path.isEmpty() && m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return true;
        Cli::printErr(QStringLiteral("Cannot open the log %1: %2")
                          .arg(path, path.isEmpty() ? QStringLiteral("no file name") : m_file.errorString()));
        return false;
    }
    void write(const QList<RequestRecord> &requests)
    {
        QByteArray lines;
        for (const RequestRecord &request : requests)
            lines += request.accessLogLine();
        std::fwrite(lines.constData(), 1, size_t(lines.size()), stdout);
        std::fflush(stdout);
        if (!m_file.isOpen())
            return;
        const bool written = m_file.write(lines) == lines.size();
        if (!written && !m_failing)
            Cli::printErr(
                QStringLiteral("Cannot write to the log %1: %2").arg(m_file.fileName(), m_file.errorString()));
        m_failing = !written;
        m_failed = m_failed || !written;
    }
    // Whether any batch could not be written to the file.
    bool failed() const { return m_failed; }

private:
    QFile m_file;
    bool m_failing = false;
    bool m_failed = false;
};

int serve(const QStringList &args)
{
    const Cli::Options options = Cli::parseOptions(
        args, { QStringLiteral("--port"), QStringLiteral("--refresh"), QStringLiteral("--log") }, {});
    if (!options.error.isEmpty() || !options.positional.isEmpty()) {
        Cli::printErr(options.error.isEmpty() ? QStringLiteral("serve takes no arguments") : options.error);
        return Cli::Usage;
    }
    if (options.values.contains(QStringLiteral("--port"))) {
        bool ok = false;
        const int port = options.values.value(QStringLiteral("--port")).toInt(&ok);
        if (!ok || port < 0 || port > 65535) {
            Cli::printErr(QStringLiteral("--port needs a number from 0 to 65535"));
            return Cli::Usage;
        }
        HttpdService::setPortOverride(port);
    }
    int refreshMinutes = 0;
    if (options.values.contains(QStringLiteral("--refresh"))) {
        bool ok = false;
        refreshMinutes = options.values.value(QStringLiteral("--refresh")).toInt(&ok);
        if (!ok || refreshMinutes < 1) {
            Cli::printErr(QStringLiteral("--refresh needs a number of minutes from 1"));
            return Cli::Usage;
        }
    }
    AccessLog accessLog;
    if (options.values.contains(QStringLiteral("--log"))
        && !accessLog.open(options.values.value(QStringLiteral("--log"))))
        return Cli::Failure;
    if (!installSignalHandlers()) {
        Cli::printErr(QStringLiteral("Cannot install the signal handlers"));
        return Cli::Failure;
    }
    if (!Cli::loadPhonebook())
        return Cli::Failure;

    DataMgr *mgr = DataMgr::instance();
    QObject::connect(mgr, &DataMgr::httpRequestsEnded, mgr,
        [&accessLog](const QList<RequestRecord> &requests) { accessLog.write(requests); });
    QStringList notices;
    const Result started = mgr->startHttpService(&notices);
    for (const QString &notice : std::as_const(notices))
        Cli::printErr(notice);
    if (!started) {
        Cli::printErr(started.message());
        return Cli::Failure;
    }
    // printOut adds the line feed that ends the entry's last line.
    QString entry = HttpdService::startEntry(mgr->httpClients(), mgr->httpPort());
    entry.chop(1);
    Cli::printOut(entry);

    // The address books are fetched at start and then every so many minutes; a
    // failed refresh is reported and the phones keep the phonebook they had.
    QTimer refresh;
    if (refreshMinutes > 0) {
        QObject::connect(&refresh, &QTimer::timeout, qApp, [] { Cli::syncSources({}); });
        refresh.start(std::chrono::minutes(refreshMinutes));
        QTimer::singleShot(0, qApp, [] { Cli::syncSources({}); });
    }

    QSocketNotifier notifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, qApp, [] {
        char byte;
        [[maybe_unused]] const auto n = ::read(g_signalPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    // The requests still under way end here and are logged.
    mgr->stopHttpService();
    return accessLog.failed() ? Cli::Failure : Cli::Success;
}

const Cli::Registrar serveCommand("serve", "serve [--port N] [--refresh MINUTES] [--log FILE]",
    "Serve the phonebook to phones over HTTP until interrupted (SIGINT or SIGTERM); with --refresh, fetch "
    "the address-book sources at start and every MINUTES minutes, saving when anything changed; "
    "without --port the port comes from port.xml (in the current folder for a portable copy, in the user's "
    "config folder for an installed one). After the start lines, each request is printed on stdout as it "
    "ends, one line in the combined log format (the common log format followed by the Referer and the "
    "User-Agent, in local time; status 444 for a request closed without a response); --log appends the "
    "same lines to FILE, and the exit status is 1 when FILE could not be written.",
    serve);

} // namespace
