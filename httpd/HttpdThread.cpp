#include "httpd/HttpdThread.h"

#include "httpd/HttpRequest.h"

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
    // While the main thread writes the phonebook: the request and the file to send.
    HttpdGenerator::TicketPtr ticket;
    QString path;
};

void HttpdThread::closeDescriptor(qintptr descriptor)
{
    ::close(int(descriptor));
}

HttpdThread::HttpdThread(
    const QString &root, HttpdGenerator *generator, int waitMsecs, std::function<void()> closed, QObject *parent)
    : QThread(parent)
    , m_root(root)
    , m_generator(generator)
    , m_waitMsecs(waitMsecs)
    , m_closed(std::move(closed))
{
    m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
    m_wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    epoll_event event = {};
    event.events = EPOLLIN;
    event.data.ptr = nullptr;
    ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_wake, &event);
}

HttpdThread::~HttpdThread()
{
    stop();
    wait();
    // Connections handed over after the loop ended.
    for (const int fd : m_newConnections) {
        ::close(fd);
        if (m_closed)
            m_closed();
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
        const int timeout = m_first ? int(qBound(qint64(0), m_first->deadline - m_clock.elapsed(), qint64(60000))) : -1;
        const int n = ::epoll_wait(m_epoll, events, kEvents, timeout);
        for (int i = 0; i < n; ++i) {
            auto *c = static_cast<Connection *>(events[i].data.ptr);
            if (c) {
                onEvent(c, events[i].events);
            } else {
                quint64 count;
                [[maybe_unused]] const auto r = ::read(m_wake, &count, sizeof count);
            }
        }
        if (!takeInbox())
            break;
        expire();
        for (Connection *c : m_ended)
            delete c;
        m_ended.clear();
    }
    while (m_first)
        drop(m_first);
    for (Connection *c : m_ended)
        delete c;
    m_ended.clear();
}

// Takes the connections and the written phonebooks handed over; false when the
// loop is to end.
bool HttpdThread::takeInbox()
{
    std::vector<int> connections;
    std::vector<HttpdGenerator::TicketPtr> written;
    {
        QMutexLocker lock(&m_inboxMutex);
        if (m_stopping)
            return false;
        connections.swap(m_newConnections);
        written.swap(m_written);
        m_wakePending = false;
    }
    for (const int fd : connections)
        startConnection(fd);
    for (const HttpdGenerator::TicketPtr &ticket : written) {
        // A connection that gave up the wait has cancelled its ticket and is gone.
        if (!ticket->cancelled)
            phonebookWritten(static_cast<Connection *>(ticket->owner), ticket->written);
    }
    return true;
}

void HttpdThread::startConnection(int fd)
{
    auto *c = new Connection;
    c->fd = fd;
    epoll_event event = {};
    // Edge-triggered: each side is read or written until it would block, and the
    // interest never changes, so a connection costs one registration.
    event.events = EPOLLIN | EPOLLOUT | EPOLLRDHUP | EPOLLET;
    event.data.ptr = c;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0
        || ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event) < 0) {
        emit error(QAbstractSocket::UnsupportedSocketOperationError);
        ::close(fd);
        delete c;
        if (m_closed)
            m_closed();
        return;
    }
    m_count.fetch_add(1, std::memory_order_relaxed);
    schedule(c);
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
                dealWith(c, HttpRequest::parse(c->bytes, false));
                return;
            }
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (got == 0 && !c->bytes.isEmpty()) {
            const HttpRequest request = HttpRequest::parse(c->bytes, true);
            emit singleRequest(requestMessage(request.product, request.fileName));
        }
        drop(c);
        return;
    }
}

void HttpdThread::dealWith(Connection *c, const HttpRequest &request)
{
    // Queued to the main thread ahead of anything this request asks of it.
    emit singleRequest(requestMessage(request.product, request.fileName));
    const QString folder = m_root + HttpRequest::modelFolder(request.product);
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
    const QString path = HttpRequest::resolveFile(folder, request.fileName);
    if (path.isEmpty()) {
        disCurrentSocket(c);
        return;
    }
    const int file = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (file >= 0) {
        startSending(c, file);
        return;
    }
    if (errno != ENOENT || request.fileName != QLatin1String("phonebook.xml") || !m_generator) {
        disCurrentSocket(c);
        return;
    }
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
    const int file = written ? ::open(QFile::encodeName(c->path).constData(), O_RDONLY | O_CLOEXEC) : -1;
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
    c->bytes = header(qint64(info.st_size));
    c->bytesSent = 0;
    c->state = Connection::Sending;
    schedule(c);
    sendSome(c);
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
    if (m_closed)
        m_closed();
}

// Deals with the connections whose deadline has passed. A header still incomplete
// then is answered from the lines that did arrive, when any did.
void HttpdThread::expire()
{
    const qint64 now = m_clock.elapsed();
    while (m_first && m_first->deadline <= now) {
        Connection *c = m_first;
        if (c->state == Connection::Reading && !c->bytes.isEmpty())
            dealWith(c, HttpRequest::parse(c->bytes, false));
        else
            drop(c);
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
