#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

const int kSignals[] = { SIGTERM, SIGHUP, SIGINT };
constexpr int kSignalCount = int(sizeof(kSignals) / sizeof(kSignals[0]));

// Created once per process and kept: a handler may still write after the
// object that read the pipe is gone.
int g_pipe[2] = { -1, -1 };
struct sigaction g_previous[kSignalCount];
// The one object that reads the pipe; a second one stays idle.
const TerminationSignals *g_active = nullptr;

void onSignal(int number)
{
    // Only async-signal-safe calls here.
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

bool makePipe()
{
    if (g_pipe[0] >= 0)
        return true;
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return false;
    }
    return true;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (g_active)
        return;
    if (!makePipe()) {
        qWarning("Signals cannot be watched (no pipe): unsaved edits are not kept when the editor is killed.");
        return;
    }
    // Bytes of a signal that arrived while nobody read the pipe are not news.
    unsigned char stale[16];
    while (::read(g_pipe[0], stale, sizeof stale) > 0) { }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
    g_active = this;

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int i = 0; i < kSignalCount; ++i) {
        if (::sigaction(kSignals[i], &action, &g_previous[i]) != 0)
            qWarning("Signal %d cannot be watched: unsaved edits are not kept when it ends the editor.", kSignals[i]);
    }
}

TerminationSignals::~TerminationSignals()
{
    if (g_active != this)
        return;
    g_active = nullptr;
    for (int i = 0; i < kSignalCount; ++i)
        ::sigaction(kSignals[i], &g_previous[i], nullptr);
}

void TerminationSignals::readPipe()
{
    unsigned char bytes[16];
    ssize_t count;
    while ((count = ::read(g_pipe[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < count; ++i)
            emit received(bytes[i]);
    }
}
