#include "httpd/HttpdServer.h"

#include "data/AppPaths.h"
#include "httpd/HttpdThread.h"

#include <QAtomicInt>
#include <QTimer>

#include <sys/resource.h>

namespace {

QAtomicInt g_maxConnections(4096);
QAtomicInt g_waitMsecs(30000);
QAtomicInt g_threadCount(0);
constexpr int kDefaultPending = 30;
// Room in the kernel for a burst of phones beyond the open connections: a full
// backlog drops connection attempts, which phones retry only seconds later.
constexpr int kListenBacklog = 1024;
// Files the rest of the program may want open while the service is at its cap.
constexpr int kSpareFiles = 256;

// How many files this process may open, raised once towards what the system
// allows: a desktop session's default of 1 024 would stop the service short of
// its cap, and a failed accept stops accepting.
int fileLimit()
{
    static const int limit = [] {
        rlimit limits = {};
        if (::getrlimit(RLIMIT_NOFILE, &limits) != 0)
            return 1024;
        const rlim_t wanted = 16384;
        if (limits.rlim_cur < wanted && limits.rlim_cur != RLIM_INFINITY) {
            rlimit raised = limits;
            raised.rlim_cur = limits.rlim_max == RLIM_INFINITY ? wanted : qMin(wanted, limits.rlim_max);
            if (::setrlimit(RLIMIT_NOFILE, &raised) == 0)
                limits = raised;
        }
        return limits.rlim_cur == RLIM_INFINITY ? int(wanted) : int(qMin<rlim_t>(limits.rlim_cur, 1 << 30));
    }();
    return limit;
}

} // namespace

void HttpdServer::setMaxConnections(int count)
{
    g_maxConnections.storeRelaxed(qMax(1, count));
}

int HttpdServer::maxConnections()
{
    return g_maxConnections.loadRelaxed();
}

void HttpdServer::setWaitMsecs(int msecs)
{
    g_waitMsecs.storeRelaxed(qMax(0, msecs));
}

int HttpdServer::waitMsecs()
{
    return g_waitMsecs.loadRelaxed();
}

void HttpdServer::setThreadCount(int count)
{
    g_threadCount.storeRelaxed(qMax(0, count));
}

HttpdServer::HttpdServer(QObject *parent)
    : QTcpServer(parent)
    , m_maxConnections(qBound(1, maxConnections(), fileLimit() - kSpareFiles))
{
    setMaxPendingConnections(kDefaultPending);
    setListenBacklogSize(kListenBacklog);
    connect(this, &QTcpServer::acceptError, this, &HttpdServer::acceptFailed);

    const int count
        = g_threadCount.loadRelaxed() > 0 ? g_threadCount.loadRelaxed() : qBound(1, QThread::idealThreadCount(), 8);
    const QString root = AppPaths::appDir();
    for (int i = 0; i < count; ++i) {
        auto thread = std::make_unique<HttpdThread>(root, &m_generator, waitMsecs(), [this] { connectionClosed(); });
        connect(thread.get(), &HttpdThread::singleRequest, this, &HttpdServer::requestServer);
        thread->start(QThread::InheritPriority);
        m_threads.push_back(std::move(thread));
    }
}

HttpdServer::~HttpdServer()
{
    m_stopping = true;
    close();
    for (const auto &thread : m_threads)
        thread->stop();
    m_threads.clear();
    while (!m_waiting.isEmpty())
        HttpdThread::closeDescriptor(m_waiting.dequeue());
}

void HttpdServer::incomingConnection(qintptr socketDescriptor)
{
    if (m_open.load() >= m_maxConnections) {
        m_waiting.enqueue(socketDescriptor);
        m_peakWaiting = qMax(m_peakWaiting, int(m_waiting.size()));
        holdBack();
        return;
    }
    serve(socketDescriptor);
    if (m_open.load() >= m_maxConnections)
        holdBack();
}

void HttpdServer::serve(qintptr socketDescriptor)
{
    m_peakConnections = qMax(m_peakConnections, ++m_open);
    // The thread with the fewest connections: idle clients pile up on none.
    HttpdThread *target = m_threads.front().get();
    for (const auto &thread : m_threads) {
        if (thread->connectionCount() < target->connectionCount())
            target = thread.get();
    }
    target->adopt(socketDescriptor);
}

// Stops accepting: with no pending room the accept loop ends at once, and the
// paused notifier keeps further connections in the kernel's listen backlog.
void HttpdServer::holdBack()
{
    if (m_holding)
        return;
    m_holding = true;
    setMaxPendingConnections(0);
    pauseAccepting();
    // A connection that ended just before the flag was set did not see it.
    if (m_open.load() < m_maxConnections)
        postResume();
}

// Runs on a connection thread.
void HttpdServer::connectionClosed()
{
    --m_open;
    if (m_holding.load())
        postResume();
}

void HttpdServer::postResume()
{
    if (!m_stopping && !m_resumePosted.exchange(true))
        QMetaObject::invokeMethod(this, &HttpdServer::resume, Qt::QueuedConnection);
}

void HttpdServer::resume()
{
    m_resumePosted = false;
    while (m_open.load() < m_maxConnections && !m_waiting.isEmpty())
        serve(m_waiting.dequeue());
    if (m_holding && m_open.load() < m_maxConnections) {
        m_holding = false;
        setMaxPendingConnections(kDefaultPending);
        resumeAccepting();
    }
}

// The server pauses itself when an accept fails for want of resources (too many
// open files, say); it tries again shortly rather than stay deaf.
void HttpdServer::acceptFailed()
{
    QTimer::singleShot(100, this, [this] {
        if (!m_holding && isListening())
            resumeAccepting();
    });
}
