#include "httpd/HttpdServer.h"

#include "data/AppPaths.h"
#include "httpd/HttpdThread.h"

#include <QAtomicInt>
#include <QPointer>

#include <sys/resource.h>

namespace {

QAtomicInt g_maxConnections(4096);
QAtomicInt g_waitMsecs(30000);
QAtomicInt g_threadCount(0);
// Room in the kernel for a burst of phones beyond the open connections: a full
// backlog drops connection attempts, which phones retry only seconds later.
constexpr int kListenBacklog = 1024;
// How long a request's log line may wait for others to share a wake-up of the window.
constexpr int kLogDelayMs = 50;
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
    setListenBacklogSize(kListenBacklog);
    m_logTimer.setSingleShot(true);
    m_logTimer.setInterval(kLogDelayMs);
    connect(&m_logTimer, &QTimer::timeout, this, &HttpdServer::deliverLog);
    const int count
        = g_threadCount.loadRelaxed() > 0 ? g_threadCount.loadRelaxed() : qBound(1, QThread::idealThreadCount(), 8);
    const QString root = AppPaths::appDir();
    for (int i = 0; i < count; ++i) {
        auto thread = std::make_unique<HttpdThread>(root, &m_generator, waitMsecs(), this);
        thread->start(QThread::InheritPriority);
        m_threads.push_back(std::move(thread));
    }
}

HttpdServer::~HttpdServer()
{
    m_stopping = true;
    // The threads let go of the listening socket before it closes.
    for (const auto &thread : m_threads)
        thread->stop();
    for (const auto &thread : m_threads)
        thread->wait();
    m_threads.clear();
    close();
    // What the threads reported last still reaches the log.
    deliverLog();
}

bool HttpdServer::listenOn(const QHostAddress &address, quint16 port)
{
    if (!listen(address, port))
        return false;
    pauseAccepting();
    for (const auto &thread : m_threads)
        thread->acceptFrom(int(socketDescriptor()));
    return true;
}

// Accepting is paused as soon as the server listens; a connection Qt took all the
// same still goes to a thread.
void HttpdServer::incomingConnection(qintptr socketDescriptor)
{
    if (!takeSlot()) {
        HttpdThread::closeDescriptor(socketDescriptor);
        return;
    }
    connectionOpened();
    HttpdThread *target = m_threads.front().get();
    for (const auto &thread : m_threads) {
        if (thread->connectionCount() < target->connectionCount())
            target = thread.get();
    }
    target->adopt(socketDescriptor);
}

bool HttpdServer::takeSlot()
{
    int open = m_open.load();
    do {
        if (open >= m_maxConnections)
            return false;
    } while (!m_open.compare_exchange_weak(open, open + 1));
    return true;
}

void HttpdServer::connectionOpened()
{
    const int open = ++m_connected;
    int peak = m_peakConnections.load();
    while (open > peak && !m_peakConnections.compare_exchange_weak(peak, open)) { }
}

// A thread that found no free slot has stopped watching the listening socket; the
// next connection to end has them all watch it again. The flag is set before the
// count is looked at, and the count lowered before the flag is: one of the two
// sides sees the other.
void HttpdServer::holdBack()
{
    m_holding = true;
}

// Runs on a connection thread.
void HttpdServer::connectionClosed()
{
    --m_connected;
    slotUnused();
}

void HttpdServer::slotUnused()
{
    --m_open;
    if (m_holding.load() && !m_stopping.load() && m_holding.exchange(false)) {
        for (const auto &thread : m_threads)
            thread->resumeAccepting();
    }
}

void HttpdServer::newGeneration()
{
    const quint64 generation = m_generation.fetch_add(1, std::memory_order_acq_rel) + 1;
    m_fetches.setGeneration(generation);
}

void HttpdServer::log(std::vector<RequestRecord> &requests, bool now)
{
    QMutexLocker lock(&m_logMutex);
    if (m_log.empty())
        m_log.swap(requests);
    else
        m_log.insert(m_log.end(), std::make_move_iterator(requests.begin()), std::make_move_iterator(requests.end()));
    requests.clear();
    if (m_stopping.load())
        return;
    if (now && !m_log.empty()) {
        m_logPosted = true;
        QMetaObject::invokeMethod(this, &HttpdServer::deliverLog, Qt::QueuedConnection);
    } else if (!m_logPosted && !m_log.empty()) {
        // Waking the main thread for each request cost a tenth of the service's
        // processor time under load.
        m_logPosted = true;
        QMetaObject::invokeMethod(&m_logTimer, qOverload<>(&QTimer::start), Qt::QueuedConnection);
    }
}

void HttpdServer::deliverLog()
{
    std::vector<RequestRecord> requests;
    {
        QMutexLocker lock(&m_logMutex);
        requests.swap(m_log);
        m_logPosted = false;
    }
    const QPointer<HttpdServer> alive(this);
    QList<RequestRecord> ended;
    for (RequestRecord &request : requests) {
        if (request.stage == RequestRecord::Ended) {
            ended.append(std::move(request));
            continue;
        }
        emit requestServer(HttpdThread::requestMessage(request.request.product, request.request.fileName));
        // A receiver may have stopped the service.
        if (!alive)
            return;
    }
    if (!ended.isEmpty()) {
        m_fetches.record(ended);
        emit requestsEnded(ended);
        if (!alive)
            return;
    }
    // The storage goes back for the next requests: a thread that takes it over
    // needs none of its own.
    requests.clear();
    QMutexLocker lock(&m_logMutex);
    if (m_log.empty())
        m_log.swap(requests);
}
