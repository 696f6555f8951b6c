#include "cli/Command.h"
#include "httpd/HttpdService.h"
#include "manager/DataMgr.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
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

int serve(const QStringList &args)
{
    const Cli::Options options = Cli::parseOptions(args, { QStringLiteral("--port"), QStringLiteral("--refresh") }, {});
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
    if (!installSignalHandlers()) {
        Cli::printErr(QStringLiteral("Cannot install the signal handlers"));
        return Cli::Failure;
    }
    if (!Cli::loadPhonebook())
        return Cli::Failure;

    DataMgr *mgr = DataMgr::instance();
    QObject::connect(
        mgr, &DataMgr::httpdMsg, mgr, [](const QString &message) { Cli::printOut(QLatin1Char('\n') + message); });
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
    mgr->stopHttpService();
    return Cli::Success;
}

const Cli::Registrar serveCommand("serve", "serve [--port N] [--refresh MINUTES]",
    "Serve the phonebook to phones over HTTP until interrupted (SIGINT or SIGTERM); with --refresh, fetch "
    "the address-book sources at start and every MINUTES minutes, saving when anything changed; "
    "without --port the port comes from port.xml (in the current folder for a portable copy, in the user's "
    "config folder for an installed one).",
    serve);

} // namespace
