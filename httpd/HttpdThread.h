#pragma once

#include "httpd/HttpdGenerator.h"
#include "httpd/RequestRecord.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QLocale>
#include <QMutex>
#include <QString>
#include <QTcpSocket>
#include <QThread>

#include <atomic>
#include <vector>

class HttpdServer;

// One of the service's connection threads, reused connection after connection.
// Each accepts on the shared listening socket and serves many connections at once
// on non-blocking sockets: a request header
// is read as its bytes arrive, so a client that sends nothing holds only its
// socket, never the thread; the file goes out with sendfile as fast as the client
// takes it; a connection whose phonebook.xml the main thread is writing waits
// without holding the thread either. Every connection has one deadline at a time:
// for its whole header, for the writing of its phonebook, or for the next progress
// of its send.
class HttpdThread : public QThread
{
    Q_OBJECT
public:
    // `root` is the folder the model folders are in, with a trailing "/". The
    // server counts the connections and relays the request log.
    HttpdThread(
        const QString &root, HttpdGenerator *generator, int waitMsecs, HttpdServer *server, QObject *parent = nullptr);
    // Stops the loop and waits for it.
    ~HttpdThread() override;

    // Thread-safe: serve this accepted connection, whose slot is taken.
    void adopt(qintptr socketDescriptor);
    // Thread-safe: accept on this listening socket from now on.
    void acceptFrom(int listener);
    // Thread-safe: watch the listening socket again after the cap was reached.
    void resumeAccepting();
    // Thread-safe: ends the loop; the open connections are dropped.
    void stop();
    // Connections this thread holds now.
    int connectionCount() const { return m_count.load(std::memory_order_relaxed); }

    // The response header sent before a file of `contentLength` bytes.
    static QByteArray responseHeader(
        const QDateTime &now, qint64 contentLength, const QLocale &locale = QLocale::system());
    // "Sun Dec 6 21:14:05 2026" with the locale's short day and month names.
    static QString dateText(const QDateTime &now, const QLocale &locale);
    // Closes an accepted connection that no thread owns.
    static void closeDescriptor(qintptr descriptor);
    // The three-line message that reports a request to the request log.
    static QString requestMessage(const QString &product, const QString &fileName);

signals:
    void error(QTcpSocket::SocketError socketError);

protected:
    void run() override;

private:
    struct Connection;

    void wake();
    bool takeInbox();
    // `peer` is null for a connection whose address is still to be asked.
    void startConnection(int fd, const PeerAddress *peer);
    void acceptSome();
    void watchListener(bool watch);
    void report(Connection *c);
    void reportEnd(Connection *c);
    void flushLog(bool now = false);
    int openFile(const QString &path, bool followLink);
    void onEvent(Connection *c, quint32 events);
    void getMessage(Connection *c);
    void dealWith(Connection *c);
    void phonebookWritten(Connection *c, bool written);
    void startSending(Connection *c, int file);
    void sendSome(Connection *c);
    void watchWriting(Connection *c);
    void disCurrentSocket(Connection *c);
    void drop(Connection *c);
    void expire();
    void schedule(Connection *c);
    void unschedule(Connection *c);
    QByteArray header(qint64 contentLength);
    int nextTimeout() const;

    const QString m_root;
    HttpdGenerator *const m_generator;
    const int m_waitMsecs;
    HttpdServer *const m_server;
    int m_epoll = -1;
    int m_wake = -1;

    // Filled by other threads, emptied by this one.
    QMutex m_inboxMutex;
    std::vector<int> m_newConnections;
    std::vector<HttpdGenerator::TicketPtr> m_written;
    bool m_wakePending = false;
    bool m_stopping = false;
    int m_newListener = -1;
    bool m_resumeAccepting = false;

    // This thread's own state.
    QElapsedTimer m_clock;
    // The open connections in the order of their deadlines (each deadline is "now +
    // wait" when set, so appending keeps the order).
    Connection *m_first = nullptr;
    Connection *m_last = nullptr;
    std::vector<Connection *> m_ended;
    std::atomic<int> m_count { 0 };
    qint64 m_headerSecond = -1;
    QByteArray m_headerStart;
    int m_listener = -1;
    bool m_watching = false;
    // When accepting failed for want of resources: try again then, not at once.
    qint64 m_retryAcceptAt = -1;
    // The requests not yet handed to the server's log.
    std::vector<RequestRecord> m_log;
};
