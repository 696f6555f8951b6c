#pragma once

#include "httpd/HttpdGenerator.h"
#include "httpd/PhoneFetches.h"
#include "httpd/RequestRecord.h"

#include <QHostAddress>
#include <QMutex>
#include <QTcpServer>
#include <QTimer>

#include <QList>

#include <atomic>
#include <memory>
#include <vector>

class HttpdThread;

// Listens, and lets a few reused connection threads (one a core) accept on the
// listening socket themselves, each serving many connections at once. At most
// maxConnections() are open at a time; beyond that the threads stop accepting and
// further phones wait in the listen backlog until a connection ends. Deleting the
// server ends its open connections and waits for its threads.
class HttpdServer : public QTcpServer
{
    Q_OBJECT
public:
    explicit HttpdServer(QObject *parent = nullptr);
    ~HttpdServer() override;

    // Listens and hands the socket to the connection threads; the main thread
    // accepts nothing itself.
    bool listenOn(const QHostAddress &address, quint16 port);

    HttpdGenerator *generator() { return &m_generator; }
    // The phones served so far, kept on the main thread.
    PhoneFetches *fetches() { return &m_fetches; }

    // Which version of the phones' files is in place; read by the connection
    // threads before they open a file.
    quint64 generation() const { return m_generation.load(std::memory_order_acquire); }
    // The phones' files were rewritten or removed: those sent before are older
    // now. Called on the main thread once the new files are in place.
    void newGeneration();

    // Connections open now, and the most that were ever open at once.
    int openConnections() const { return m_connected.load(); }
    int peakConnections() const { return m_peakConnections.load(); }
    int threadCount() const { return int(m_threads.size()); }

    // Process-wide settings, read when a server is created. Tests shorten the wait
    // and lower the cap; the defaults are 4 096 connections (fewer when the process
    // may not open that many files), 30 000 ms and one thread a core.
    static void setMaxConnections(int count);
    static int maxConnections();
    static void setWaitMsecs(int msecs);
    static int waitMsecs();
    static void setThreadCount(int count);

    // Called by the connection threads. A slot for one more connection, or false
    // at the cap; a slot is given back with connectionClosed(), or with
    // slotUnused() when no connection came of it.
    bool takeSlot();
    void connectionOpened();
    void connectionClosed();
    void slotUnused();
    // Whether the threads are to stop accepting for now (the cap was reached).
    void holdBack();
    bool atCap() const { return m_open.load() >= m_maxConnections; }
    // Requests to report; they reach the signals below in the order given, on
    // the main thread. `requests` is left empty. `now`: before something the
    // request asks of the main thread, which must find its line already logged;
    // otherwise lines wait a moment and go together.
    void log(std::vector<RequestRecord> &requests, bool now);

signals:
    // A request whose header has come, as the request log's message.
    void requestServer(const QString &message);
    // The requests whose connections ended since the last time, in the order
    // they ended; the table of phones has them already.
    void requestsEnded(const QList<RequestRecord> &requests);

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    void deliverLog();

    HttpdGenerator m_generator;
    PhoneFetches m_fetches;
    std::vector<std::unique_ptr<HttpdThread>> m_threads;
    const int m_maxConnections;
    // Shared with the connection threads.
    // Slots taken, and the connections open in them.
    std::atomic<int> m_open { 0 };
    std::atomic<int> m_connected { 0 };
    std::atomic<int> m_peakConnections { 0 };
    std::atomic<bool> m_holding { false };
    std::atomic<bool> m_stopping { false };
    std::atomic<quint64> m_generation { 1 };
    QMutex m_logMutex;
    std::vector<RequestRecord> m_log;
    bool m_logPosted = false;
    QTimer m_logTimer;
};
