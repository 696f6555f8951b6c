#include "HttpdServer.h"

#include "HttpdThread.h"

#include <QAtomicInt>

namespace {

QAtomicInt g_maxThreads(256);
QAtomicInt g_waitMsecs(30000);
constexpr int kDefaultPending = 30;
// Room in the kernel for a burst of phones beyond the running threads: a full
// backlog drops connection attempts, which phones retry only seconds later.
constexpr int kListenBacklog = 1024;

} // namespace

void HttpdServer::setMaxThreads(int count)
{
    g_maxThreads.storeRelaxed(qMax(1, count));
}

int HttpdServer::maxThreads()
{
    return g_maxThreads.loadRelaxed();
}

void HttpdServer::setWaitMsecs(int msecs)
{
    g_waitMsecs.storeRelaxed(qMax(0, msecs));
}

int HttpdServer::waitMsecs()
{
    return g_waitMsecs.loadRelaxed();
}

HttpdServer::HttpdServer(QObject *parent)
    : QTcpServer(parent)
    , m_maxThreads(maxThreads())
{
    setMaxPendingConnections(kDefaultPending);
    setListenBacklogSize(kListenBacklog);
}

HttpdServer::~HttpdServer()
{
    close();
    for (HttpdThread *thread : std::as_const(m_threads))
        thread->requestInterruption();
    for (HttpdThread *thread : std::as_const(m_threads)) {
        thread->wait();
        delete thread;
    }
    m_threads.clear();
    while (!m_waiting.isEmpty())
        HttpdThread::closeDescriptor(m_waiting.dequeue());
}

void HttpdServer::incomingConnection(qintptr socketDescriptor)
{
    if (m_threads.size() >= m_maxThreads) {
        m_waiting.enqueue(socketDescriptor);
        m_peakWaiting = qMax(m_peakWaiting, int(m_waiting.size()));
        holdBack();
        return;
    }
    startThread(socketDescriptor);
    if (m_threads.size() >= m_maxThreads)
        holdBack();
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
}

void HttpdServer::startThread(qintptr socketDescriptor)
{
    auto *thread = new HttpdThread(socketDescriptor, &m_generator, waitMsecs());
    m_threads.insert(thread);
    m_peakThreads = qMax(m_peakThreads, int(m_threads.size()));
    connect(thread, &HttpdThread::singleRequest, this, &HttpdServer::requestServer);
    connect(thread, &QThread::finished, this, [this, thread] { threadFinished(thread); });
    thread->start(QThread::InheritPriority);
}

void HttpdServer::threadFinished(HttpdThread *thread)
{
    if (!m_threads.remove(thread))
        return;
    thread->wait();
    thread->deleteLater();
    while (m_threads.size() < m_maxThreads && !m_waiting.isEmpty())
        startThread(m_waiting.dequeue());
    if (m_holding && m_threads.size() < m_maxThreads) {
        m_holding = false;
        setMaxPendingConnections(kDefaultPending);
        resumeAccepting();
    }
}
