#include "httpd/HttpdThread.h"

#include "httpd/HttpRequest.h"
#include "httpd/HttpdServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kEvents = 256;
// What is read of a request body or of pipelined bytes before the close, so that
// unread bytes do not turn the close into a reset that can cut off the reply.
constexpr int kDrainBytes = 64 * 1024;
// Connections taken from the backlog in one go before the others get a turn.
constexpr int kAcceptBatch = 64;
// How long accepting rests after it failed for want of files or memory.
constexpr qint64 kAcceptRetryMsecs = 100;
// Tags of the epoll entries that are no connection.
char g_wakeTag;
char g_listenTag;

} // namespace

struct HttpdThread::Connection {
    enum State { Reading, Waiting, Sending, Ended };

    int fd = -1;
    State state = Reading;
    qint64 deadline = 0;
    Connection *prev = nullptr;
    Connection *next = nullptr;
    // The header bytes received while reading; the response header while sending.
    QByteArray bytes;
    qsizetype bytesSent = 0;
    int file = -1;
    off_t offset = 0;
    off_t size = 0;
    bool watchingWrites = false;
    // While the main thread writes the phonebook: the request and the file to send.
    HttpdGenerator::TicketPtr ticket;
    QString path;
    // What the access log says of the connection once it ends.
    PeerAddress peer = {};
    HttpRequest request;
    bool reported = false;
    int status = RequestRecord::kNoResponse;
    quint64 generation = 0;
};

void HttpdThread::closeDescriptor(qintptr descriptor)
{
    ::close(int(descriptor));
}

HttpdThread::HttpdThread(
    const QString &root, HttpdGenerator *generator, int waitMsecs, HttpdServer *server, QObject *parent)
    : QThread(parent)
    , m_root(root)
    , m_generator(generator)
    , m_waitMsecs(waitMsecs)
    , m_server(server)
{
    m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
    m_wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    epoll_event event = {};
    event.events = EPOLLIN;
    event.data.ptr = &g_wakeTag;
    ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_wake, &event);
}

HttpdThread::~HttpdThread()
{
    stop();
    wait();
    // Connections handed over after the loop ended.
    for (const int fd : m_newConnections) {
        ::close(fd);
        m_server->connectionClosed();
    }
    ::close(m_wake);
    ::close(m_epoll);
}

QString HttpdThread::dateText(const QDateTime &now, const QLocale &locale)
{
    const QDate date = now.date();
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(locale.dayName(date.dayOfWeek(), QLocale::ShortFormat),
            locale.monthName(date.month(), QLocale::ShortFormat), QString::number(date.day()),
            now.time().toString(QStringLiteral("HH:mm:ss")), QString::number(date.year()));
}

QByteArray HttpdThread::responseHeader(const QDateTime &now, qint64 contentLength, const QLocale &locale)
{
    return QStringLiteral("HTTP/1.0 200 Ok\r\nServer: Zavuvar/1.0\r\nLast-Modified: %1\r\nAccept-Ranges: bytes\r\n"
                          "Content-Type: application/xml\r\nContent-Length: %2\r\n\r\n")
        .arg(dateText(now, locale), QString::number(contentLength))
        .toUtf8();
}

QString HttpdThread::requestMessage(const QString &product, const QString &fileName)
{
    return tr("One device request phonebook.") + QLatin1Char('\n') + tr("Product:") + product + QLatin1Char('\n')
        + tr("FileName:") + fileName;
}

// The header of the current second is made once; only the length differs.
QByteArray HttpdThread::header(qint64 contentLength)
{
    const qint64 second = qint64(::time(nullptr));
    if (second != m_headerSecond) {
        m_headerSecond = second;
        m_headerStart = responseHeader(QDateTime::currentDateTime(), 0);
        m_headerStart.chop(5); // "0\r\n\r\n"
    }
    return m_headerStart + QByteArray::number(contentLength) + "\r\n\r\n";
}

void HttpdThread::adopt(qintptr socketDescriptor)
{
    QMutexLocker lock(&m_inboxMutex);
    m_newConnections.push_back(int(socketDescriptor));
    if (!m_wakePending) {
        m_wakePending = true;
        wake();
    }
}

void HttpdThread::acceptFrom(int listener)
{
    QMutexLocker lock(&m_inboxMutex);
    m_newListener = listener;
    wake();
}

void HttpdThread::resumeAccepting()
{
    QMutexLocker lock(&m_inboxMutex);
    m_resumeAccepting = true;
    if (!m_wakePending) {
        m_wakePending = true;
        wake();
    }
}

void HttpdThread::stop()
{
    QMutexLocker lock(&m_inboxMutex);
    m_stopping = true;
    wake();
}

void HttpdThread::wake()
{
    const quint64 one = 1;
    [[maybe_unused]] const auto n = ::write(m_wake, &one, sizeof one);
}

void HttpdThread::run()
{
    // sendfile to a client that has gone raises SIGPIPE, which would end the
    // process; blocked here, the call fails with EPIPE instead.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    m_clock.start();
    epoll_event events[kEvents];
    for (;;) {
        const int n = ::epoll_wait(m_epoll, events, kEvents, nextTimeout());
        bool acceptable = false;
        for (int i = 0; i < n; ++i) {
            void *tag = events[i].data.ptr;
            if (tag == &g_listenTag) {
                acceptable = true;
            } else if (tag == &g_wakeTag) {
                quint64 count;
                [[maybe_unused]] const auto r = ::read(m_wake, &count, sizeof count);
            } else {
                onEvent(static_cast<Connection *>(tag), events[i].events);
            }
        }
        // Those already open first: a new connection costs nothing until it is read.
        if (acceptable && m_watching)
            acceptSome();
        if (!takeInbox())
            break;
        expire();
        const qint64 now = m_clock.elapsed();
        if (m_retryAcceptAt >= 0 && m_retryAcceptAt <= now) {
            m_retryAcceptAt = -1;
            watchListener(true);
        }
        for (Connection *c : m_ended)
            delete c;
        m_ended.clear();
    }
    watchListener(false);
    while (m_first)
        drop(m_first);
    for (Connection *c : m_ended)
        delete c;
    m_ended.clear();
    flushLog();
}

int HttpdThread::nextTimeout() const
{
    qint64 due = m_first ? m_first->deadline : -1;
    if (m_retryAcceptAt >= 0 && (due < 0 || m_retryAcceptAt < due))
        due = m_retryAcceptAt;
    return due < 0 ? -1 : int(qBound(qint64(0), due - m_clock.elapsed(), qint64(60000)));
}

// Takes connections from the backlog while there is room for them. Every thread
// watches the listening socket with EPOLLEXCLUSIVE, so a connection wakes one
// thread, not all.
void HttpdThread::acceptSome()
{
    for (int i = 0; i < kAcceptBatch; ++i) {
        if (!m_server->takeSlot()) {
            // Phones beyond the cap wait in the backlog until a connection ends.
            m_server->holdBack();
            watchListener(false);
            if (!m_server->atCap())
                watchListener(true);
            return;
        }
        PeerAddress peer;
        socklen_t length = sizeof peer;
        const int fd = ::accept4(m_listener, &peer.any, &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) {
            m_server->connectionOpened();
            startConnection(fd, &peer);
            continue;
        }
        const int failure = errno;
        m_server->slotUnused();
        if (failure == EAGAIN || failure == EWOULDBLOCK)
            return;
        if (failure == EINTR || failure == ECONNABORTED || failure == EPROTO)
            continue;
        // Out of files or memory: a level-triggered socket would wake us again at
        // once, so it rests a moment.
        emit error(QAbstractSocket::SocketResourceError);
        watchListener(false);
        m_retryAcceptAt = m_clock.elapsed() + kAcceptRetryMsecs;
        return;
    }
}

void HttpdThread::watchListener(bool watch)
{
    if (m_listener < 0 || watch == m_watching)
        return;
    if (!watch) {
        ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, m_listener, nullptr);
        m_watching = false;
        return;
    }
    epoll_event event = {};
    event.events = EPOLLIN | EPOLLEXCLUSIVE;
    event.data.ptr = &g_listenTag;
    m_watching = ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_listener, &event) == 0;
}

// Takes the connections and the written phonebooks handed over; false when the
// loop is to end.
bool HttpdThread::takeInbox()
{
    std::vector<int> connections;
    std::vector<HttpdGenerator::TicketPtr> written;
    bool resume = false;
    {
        QMutexLocker lock(&m_inboxMutex);
        if (m_stopping)
            return false;
        connections.swap(m_newConnections);
        written.swap(m_written);
        m_wakePending = false;
        if (m_newListener >= 0) {
            m_listener = m_newListener;
            m_newListener = -1;
            resume = true;
        }
        resume = resume || m_resumeAccepting;
        m_resumeAccepting = false;
    }
    if (resume && m_retryAcceptAt < 0)
        watchListener(true);
    for (const int fd : connections) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) {
            ::close(fd);
            m_server->connectionClosed();
            continue;
        }
        startConnection(fd, nullptr);
    }
    for (const HttpdGenerator::TicketPtr &ticket : written) {
        // A connection that gave up the wait has cancelled its ticket and is gone.
        if (!ticket->cancelled)
            phonebookWritten(static_cast<Connection *>(ticket->owner), ticket->written);
    }
    return true;
}

// Takes a non-blocking socket whose slot is taken.
void HttpdThread::startConnection(int fd, const PeerAddress *peer)
{
    auto *c = new Connection;
    c->fd = fd;
    if (peer) {
        c->peer = *peer;
    } else {
        socklen_t length = sizeof c->peer;
        if (::getpeername(fd, &c->peer.any, &length) != 0)
            c->peer.any.sa_family = AF_UNSPEC;
    }
    epoll_event event = {};
    // Edge-triggered: the socket is read until it would block. Writing is watched
    // only once a send has blocked.
    event.events = EPOLLIN | EPOLLRDHUP | EPOLLET;
    event.data.ptr = c;
    if (::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event) < 0) {
        emit error(QAbstractSocket::UnsupportedSocketOperationError);
        ::close(fd);
        delete c;
        m_server->connectionClosed();
        return;
    }
    m_count.fetch_add(1, std::memory_order_relaxed);
    schedule(c);
    // The request has usually come with the connection.
    getMessage(c);
}

void HttpdThread::onEvent(Connection *c, quint32 events)
{
    switch (c->state) {
    case Connection::Reading:
        if (events & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR))
            getMessage(c);
        break;
    case Connection::Waiting:
        if (events & (EPOLLHUP | EPOLLERR))
            drop(c);
        break;
    case Connection::Sending:
        if (events & (EPOLLOUT | EPOLLHUP | EPOLLERR))
            sendSome(c);
        break;
    case Connection::Ended:
        break;
    }
}

// Reads what has arrived, up to the blank line that ends the header. A header
// that outgrows its bound is dropped unanswered; a peer that closes before the
// blank line is reported with what it sent, and not answered.
void HttpdThread::getMessage(Connection *c)
{
    char buffer[8192];
    for (;;) {
        const qsizetype room = HttpRequest::kMaxHeaderBytes + 1 - c->bytes.size();
        if (room <= 0) {
            drop(c);
            return;
        }
        const ssize_t got = ::recv(c->fd, buffer, size_t(qMin<qsizetype>(room, sizeof buffer)), 0);
        if (got > 0) {
            c->bytes.append(buffer, qsizetype(got));
            if (!std::memchr(buffer, '\n', size_t(got)))
                continue;
            const int end = HttpRequest::headerEnd(c->bytes);
            if (end >= 0 && end <= HttpRequest::kMaxHeaderBytes) {
                c->bytes.truncate(end);
                c->request = HttpRequest::parse(c->bytes, false);
                dealWith(c);
                return;
            }
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (got == 0 && !c->bytes.isEmpty()) {
            c->request = HttpRequest::parse(c->bytes, true);
            report(c);
        }
        drop(c);
        return;
    }
}

void HttpdThread::report(Connection *c)
{
    // Into the server's one log at once, before the reply: lines keep the order
    // the requests came in, whatever thread served them. The server wakes the
    // window once for all the lines that come within a moment.
    c->reported = true;
    RequestRecord &record = m_log.emplace_back();
    record.request.product = c->request.product;
    record.request.fileName = c->request.fileName;
    flushLog();
}

// Into the server's log at once too, before the connection closes: a client that
// saw it close and asks again, of another thread, is logged after it.
void HttpdThread::reportEnd(Connection *c)
{
    if (!c->reported)
        return;
    RequestRecord &record = m_log.emplace_back();
    record.stage = RequestRecord::Ended;
    record.status = c->status;
    record.whole = c->status == 200 && c->offset == c->size && c->bytesSent == c->bytes.size();
    record.generation = c->generation;
    record.bytes = qint64(c->offset);
    record.time = QDateTime::currentMSecsSinceEpoch();
    record.peer = c->peer;
    record.request = std::move(c->request);
    flushLog();
}

void HttpdThread::flushLog(bool now)
{
    // Urgent even when this thread's lines went already: they may still be waiting.
    if (!m_log.empty() || now)
        m_server->log(m_log, now);
}

// Opens a file to send without waiting on it: a FIFO or a device put in place of a
// file is refused, not read (opening a FIFO would wait for a writer). Without
// `followLink` a link fails with ELOOP. -1 with errno set on failure.
int HttpdThread::openFile(const QString &path, bool followLink)
{
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (followLink ? 0 : O_NOFOLLOW);
    const int file = ::open(QFile::encodeName(path).constData(), flags);
    if (file < 0)
        return -1;
    struct stat info = {};
    if (::fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(file);
        errno = EACCES;
        return -1;
    }
    return file;
}

void HttpdThread::dealWith(Connection *c)
{
    report(c);
    const HttpRequest &request = c->request;
    const QString folder = m_root + HttpRequest::modelFolder(request.product);
    if (!HttpRequest::isServableName(request.fileName)) {
        // The model folder is made even for a request that gets nothing.
        if (!QFileInfo::exists(folder))
            QDir().mkpath(folder);
        disCurrentSocket(c);
        return;
    }
    const QString path = folder + QLatin1Char('/') + request.fileName;
    // Read before the file is opened: a save bumps it once its files are in place,
    // so a file opened meanwhile is at worst taken for an older one.
    c->generation = m_server->generation();
    // A plain file in the folder is served at once; a link only after it is known
    // to lead to a file inside the folder.
    int file = openFile(path, false);
    if (file < 0 && errno == ELOOP) {
        const QString resolved = HttpRequest::resolveFile(folder, request.fileName);
        file = resolved.isEmpty() ? -1 : openFile(resolved, true);
        if (file < 0)
            errno = EACCES;
    }
    if (file >= 0) {
        startSending(c, file);
        return;
    }
    if (errno != ENOENT) {
        disCurrentSocket(c);
        return;
    }
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
    if (request.fileName != QLatin1String("phonebook.xml") || !m_generator) {
        disCurrentSocket(c);
        return;
    }
    // The log reaches the main thread ahead of anything this request asks of it.
    flushLog(true);
    auto ticket = std::make_shared<HttpdGenerator::Ticket>();
    ticket->folder = folder;
    ticket->format = HttpRequest::modelFormat(request.product);
    ticket->owner = c;
    ticket->done = [this](const HttpdGenerator::TicketPtr &done) {
        QMutexLocker lock(&m_inboxMutex);
        m_written.push_back(done);
        if (!m_wakePending) {
            m_wakePending = true;
            wake();
        }
    };
    c->ticket = ticket;
    c->path = path;
    c->state = Connection::Waiting;
    schedule(c);
    m_generator->request(ticket);
}

void HttpdThread::phonebookWritten(Connection *c, bool written)
{
    c->ticket.reset();
    c->generation = m_server->generation();
    const int file = written ? openFile(c->path, false) : -1;
    if (file < 0)
        disCurrentSocket(c);
    else
        startSending(c, file);
}

void HttpdThread::startSending(Connection *c, int file)
{
    struct stat info = {};
    if (::fstat(file, &info) != 0) {
        ::close(file);
        disCurrentSocket(c);
        return;
    }
    c->file = file;
    c->offset = 0;
    c->size = info.st_size;
    c->status = 200;
    c->bytes = header(qint64(info.st_size));
    c->bytesSent = 0;
    c->state = Connection::Sending;
    schedule(c);
    sendSome(c);
}

// Watches writing from the first send that blocks on.
void HttpdThread::watchWriting(Connection *c)
{
    if (c->watchingWrites)
        return;
    epoll_event event = {};
    event.events = EPOLLOUT | EPOLLRDHUP | EPOLLET;
    event.data.ptr = c;
    if (::epoll_ctl(m_epoll, EPOLL_CTL_MOD, c->fd, &event) == 0)
        c->watchingWrites = true;
    else
        drop(c);
}

// Sends the header and then the file's bytes as they are on disk, straight from
// the page cache, until the socket is full. A client that takes nothing for the
// whole wait is dropped when its deadline passes.
void HttpdThread::sendSome(Connection *c)
{
    bool progress = false;
    for (;;) {
        ssize_t sent;
        if (c->bytesSent < c->bytes.size()) {
            // Held back a moment so that the header and the first bytes of the file
            // share a packet.
            const int more = c->size > 0 ? MSG_MORE : 0;
            sent = ::send(c->fd, c->bytes.constData() + c->bytesSent, size_t(c->bytes.size() - c->bytesSent),
                MSG_NOSIGNAL | more);
            if (sent > 0)
                c->bytesSent += sent;
        } else if (c->offset < c->size) {
            sent = ::sendfile(c->fd, c->file, &c->offset, size_t(c->size - c->offset));
        } else {
            disCurrentSocket(c);
            return;
        }
        if (sent > 0) {
            progress = true;
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (progress)
                schedule(c);
            watchWriting(c);
            return;
        } else {
            // An error, or the file shrank under us: the client sees the body end
            // short of its length.
            drop(c);
            return;
        }
    }
}

// Ends a connection whose reply (if any) is queued in full: the kernel sends the
// rest and then closes.
void HttpdThread::disCurrentSocket(Connection *c)
{
    char buffer[8192];
    for (int drained = 0; drained < kDrainBytes;) {
        const ssize_t got = ::recv(c->fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got <= 0)
            break;
        drained += int(got);
    }
    drop(c);
}

void HttpdThread::drop(Connection *c)
{
    if (c->state == Connection::Ended)
        return;
    if (c->ticket) {
        c->ticket->cancelled = true;
        c->ticket.reset();
    }
    reportEnd(c);
    if (c->file >= 0)
        ::close(c->file);
    ::close(c->fd);
    unschedule(c);
    c->state = Connection::Ended;
    c->bytes.clear();
    // Deleted at the end of the loop's round: a later event of the same round may
    // still name it.
    m_ended.push_back(c);
    m_count.fetch_sub(1, std::memory_order_relaxed);
    m_server->connectionClosed();
}

// Deals with the connections whose deadline has passed. A header still incomplete
// then is answered from the lines that did arrive, when any did.
void HttpdThread::expire()
{
    const qint64 now = m_clock.elapsed();
    while (m_first && m_first->deadline <= now) {
        Connection *c = m_first;
        if (c->state == Connection::Reading && !c->bytes.isEmpty()) {
            c->request = HttpRequest::parse(c->bytes, false);
            dealWith(c);
        } else {
            drop(c);
        }
    }
}

void HttpdThread::schedule(Connection *c)
{
    unschedule(c);
    c->deadline = m_clock.elapsed() + m_waitMsecs;
    c->prev = m_last;
    c->next = nullptr;
    if (m_last)
        m_last->next = c;
    else
        m_first = c;
    m_last = c;
}

void HttpdThread::unschedule(Connection *c)
{
    if (c->prev)
        c->prev->next = c->next;
    else if (m_first == c)
        m_first = c->next;
    if (c->next)
        c->next->prev = c->prev;
    else if (m_last == c)
        m_last = c->prev;
    c->prev = nullptr;
    c->next = nullptr;
}
