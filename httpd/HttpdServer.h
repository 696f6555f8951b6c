#pragma once

#include "HttpdGenerator.h"

#include <QQueue>
#include <QSet>
#include <QTcpServer>

class HttpdThread;

// Accepts connections on the main thread and serves each on a thread of its own.
// At most maxThreads() run at once; beyond that the server stops accepting and
// further phones wait in the listen backlog until a thread is free. Deleting the
// server ends its open connections and waits for their threads.
class HttpdServer : public QTcpServer
{
    Q_OBJECT
public:
    explicit HttpdServer(QObject *parent = nullptr);
    ~HttpdServer() override;

    HttpdGenerator *generator() { return &m_generator; }

    // Connection threads running now, and the most that ever ran at once.
    int runningThreads() const { return int(m_threads.size()); }
    int peakThreads() const { return m_peakThreads; }
    // The most connections ever accepted beyond the cap before accepting stopped.
    int peakWaiting() const { return m_peakWaiting; }

    // Process-wide limits, read when a server or a thread is created. Tests shorten
    // the wait; the defaults are 256 threads and 30 000 ms.
    static void setMaxThreads(int count);
    static int maxThreads();
    static void setWaitMsecs(int msecs);
    static int waitMsecs();

signals:
    void requestServer(const QString &message);

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    void startThread(qintptr socketDescriptor);
    void threadFinished(HttpdThread *thread);
    void holdBack();

    HttpdGenerator m_generator;
    QSet<HttpdThread *> m_threads;
    // Connections accepted after the cap was reached (at most one accept burst).
    QQueue<qintptr> m_waiting;
    int m_maxThreads;
    int m_peakThreads = 0;
    int m_peakWaiting = 0;
    bool m_holding = false;
};
