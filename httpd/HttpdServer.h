#pragma once

#include "httpd/HttpdGenerator.h"

#include <QQueue>
#include <QTcpServer>

#include <atomic>
#include <memory>
#include <vector>

class HttpdThread;

// Accepts connections on the main thread and hands each to one of a few reused
// connection threads (one a core), which serve many connections at once. At most
// maxConnections() are open at a time; beyond that the server stops accepting and
// further phones wait in the listen backlog until a connection ends. Deleting the
// server ends its open connections and waits for its threads.
class HttpdServer : public QTcpServer
{
    Q_OBJECT
public:
    explicit HttpdServer(QObject *parent = nullptr);
    ~HttpdServer() override;

    HttpdGenerator *generator() { return &m_generator; }

    // Connections open now, and the most that were ever open at once.
    int openConnections() const { return m_open.load(); }
    int peakConnections() const { return m_peakConnections; }
    // The most connections ever accepted beyond the cap before accepting stopped.
    int peakWaiting() const { return m_peakWaiting; }
    int threadCount() const { return int(m_threads.size()); }

    // Process-wide settings, read when a server is created. Tests shorten the wait
    // and lower the cap; the defaults are 4 096 connections (fewer when the process
    // may not open that many files), 30 000 ms and one thread a core.
    static void setMaxConnections(int count);
    static int maxConnections();
    static void setWaitMsecs(int msecs);
    static int waitMsecs();
    static void setThreadCount(int count);

signals:
    void requestServer(const QString &message);

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    void serve(qintptr socketDescriptor);
    void connectionClosed();
    void postResume();
    void resume();
    void holdBack();
    void acceptFailed();

    HttpdGenerator m_generator;
    std::vector<std::unique_ptr<HttpdThread>> m_threads;
    // Connections accepted after the cap was reached (at most one accept burst).
    QQueue<qintptr> m_waiting;
    int m_maxConnections;
    int m_peakConnections = 0;
    int m_peakWaiting = 0;
    // Shared with the connection threads, which count ended connections down.
    std::atomic<int> m_open { 0 };
    std::atomic<bool> m_holding { false };
    std::atomic<bool> m_resumePosted { false };
    std::atomic<bool> m_stopping { false };
};
