#include "HttpdThread.h"

#include "AppPaths.h"
#include "HttpRequest.h"
#include "HttpdGenerator.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <cerrno>
#include <poll.h>
#include <sys/sendfile.h>
#endif

namespace {

// Waits are cut into slices so an interruption request is seen within one.
constexpr int kSliceMsecs = 100;
// How much of a file is queued on the socket at a time.
constexpr qint64 kChunkBytes = 256 * 1024;

int slice(const QDeadlineTimer &deadline)
{
    return int(qBound(qint64(0), deadline.remainingTime(), qint64(kSliceMsecs)));
}

} // namespace

void HttpdThread::closeDescriptor(qintptr descriptor)
{
#ifdef Q_OS_WIN
    ::closesocket(SOCKET(descriptor));
#else
    ::close(int(descriptor));
#endif
}

HttpdThread::HttpdThread(qintptr socketDescriptor, HttpdGenerator *generator, int waitMsecs, QObject *parent)
    : QThread(parent)
    , m_socketDescriptor(socketDescriptor)
    , m_root(AppPaths::appDir())
    , m_generator(generator)
    , m_waitMsecs(waitMsecs)
{
}

HttpdThread::~HttpdThread()
{
    delete m_socket;
}

QString HttpdThread::dateText(const QDateTime &now, const QLocale &locale)
{
    const QDate date = now.date();
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(locale.dayName(date.dayOfWeek(), QLocale::ShortFormat),
            locale.monthName(date.month(), QLocale::ShortFormat), QString::number(date.day()),
            now.time().toString(QStringLiteral("HH:mm:ss")), QString::number(date.year()));
}

QByteArray HttpdThread::responseHeader(const QDateTime &now, const QLocale &locale)
{
    return QStringLiteral("HTTP/1.0 200 Ok\r\nServer: Zavuvar/1.0\r\nLast-Modified: %1\r\nAccept-Ranges: bytes\r\n"
                          "Content-Type: application/xml\r\n\r\n")
        .arg(dateText(now, locale))
        .toUtf8();
}

QString HttpdThread::requestMessage(const QString &product, const QString &fileName)
{
    return tr("One device request phonebook.") + QLatin1Char('\n') + tr("Product:") + product + QLatin1Char('\n')
        + tr("FileName:") + fileName;
}

void HttpdThread::run()
{
    m_socket = new QTcpSocket;
    if (m_socket->setSocketDescriptor(m_socketDescriptor, QAbstractSocket::ConnectedState, QIODevice::ReadWrite)) {
        // Bounds what one client can make the thread hold in memory.
        m_socket->setReadBufferSize(HttpRequest::kMaxHeaderBytes);
        getMessage();
        m_socket->abort();
    } else {
        emit error(m_socket->error());
        // Nothing adopted the descriptor, so nothing else would close it.
        closeDescriptor(m_socketDescriptor);
    }
    delete m_socket;
    m_socket = nullptr;
}

void HttpdThread::getMessage()
{
    QByteArray header;
    bool peerClosed = false;
    if (!readHeader(&header, &peerClosed))
        return;
    const HttpRequest request = HttpRequest::parse(header, peerClosed);
    emit singleRequest(requestMessage(request.product, request.fileName));
    if (m_socket->state() == QAbstractSocket::ConnectedState)
        dealWith(request);
}

// Reads until the blank line that ends the header, the peer closes, or the one wait
// for the whole header runs out. False drops the connection unanswered: nothing
// arrived, the header outgrew its bound, or the thread was asked to stop.
bool HttpdThread::readHeader(QByteArray *header, bool *peerClosed)
{
    const QDeadlineTimer deadline(m_waitMsecs);
    QByteArray data;
    for (;;) {
        const QByteArray chunk = m_socket->readAll();
        if (!chunk.isEmpty()) {
            data += chunk;
            const int end = chunk.contains('\n') ? HttpRequest::headerEnd(data) : -1;
            if (end >= 0 && end <= HttpRequest::kMaxHeaderBytes) {
                data.truncate(end);
                break;
            }
            if (data.size() > HttpRequest::kMaxHeaderBytes)
                return false;
        }
        if (isInterruptionRequested())
            return false;
        if (m_socket->state() != QAbstractSocket::ConnectedState) {
            *peerClosed = true;
            break;
        }
        if (deadline.hasExpired())
            break;
        m_socket->waitForReadyRead(slice(deadline));
    }
    if (data.isEmpty())
        return false;
    *header = data;
    return true;
}

void HttpdThread::dealWith(const HttpRequest &request)
{
    const QString folder = m_root + HttpRequest::modelFolder(request.product);
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
    const QString path = HttpRequest::resolveFile(folder, request.fileName);
    if (path.isEmpty()) {
        disCurrentSocket();
        return;
    }
    QFile file(path);
    bool opened = file.open(QIODevice::ReadOnly);
    if (!opened && request.fileName == QLatin1String("phonebook.xml") && !QFileInfo::exists(path) && m_generator
        && m_generator->ensurePhonebook(folder, HttpRequest::modelFormat(request.product), m_waitMsecs))
        opened = file.open(QIODevice::ReadOnly);
    if (opened)
        sendFile(file);
    disCurrentSocket();
}

// Sends the header and the file's bytes as they are on disk. A client that stops
// reading for the whole wait, or a stop request, ends the transfer.
bool HttpdThread::sendFile(QFile &file)
{
    m_socket->write(responseHeader(QDateTime::currentDateTime()));
#ifdef Q_OS_LINUX
    // The body goes from the page cache to the socket without a copy through here.
    return writeQueued(nullptr) && sendDirect(file);
#else
    return writeQueued(&file);
#endif
}

// Writes out what is queued on the socket, topping the queue up from `file` (when
// given) until its end.
bool HttpdThread::writeQueued(QFile *file)
{
    QDeadlineTimer stall(m_waitMsecs);
    for (;;) {
        while (file && m_socket->bytesToWrite() < kChunkBytes && !file->atEnd()) {
            const QByteArray bytes = file->read(kChunkBytes);
            if (bytes.isEmpty())
                return false;
            m_socket->write(bytes);
        }
        const qint64 pending = m_socket->bytesToWrite();
        if (pending == 0 && (!file || file->atEnd()))
            return true;
        if (isInterruptionRequested() || m_socket->state() != QAbstractSocket::ConnectedState)
            return false;
        m_socket->waitForBytesWritten(slice(stall));
        if (m_socket->bytesToWrite() < pending)
            stall.setRemainingTime(m_waitMsecs);
        else if (stall.hasExpired())
            return false;
    }
}

#ifdef Q_OS_LINUX
// Runs once the socket's own queue is empty, so the bytes stay in order.
bool HttpdThread::sendDirect(QFile &file)
{
    const int out = int(m_socket->socketDescriptor());
    const int in = file.handle();
    const off_t size = off_t(file.size());
    off_t offset = 0;
    QDeadlineTimer stall(m_waitMsecs);
    while (offset < size) {
        const ssize_t sent = ::sendfile(out, in, &offset, size_t(size - offset));
        if (sent > 0) {
            stall.setRemainingTime(m_waitMsecs);
            continue;
        }
        if (sent == 0) // the file shrank under us
            return false;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        if (isInterruptionRequested() || stall.hasExpired())
            return false;
        pollfd writable = { out, POLLOUT, 0 };
        ::poll(&writable, 1, slice(stall));
    }
    return true;
}
#endif

// Closes the connection after the data queued on it has gone out.
void HttpdThread::disCurrentSocket()
{
    // Unread request bytes would make the close a reset that can cut off the reply.
    m_socket->readAll();
    m_socket->disconnectFromHost();
    const QDeadlineTimer deadline(m_waitMsecs);
    while (
        m_socket->state() != QAbstractSocket::UnconnectedState && !deadline.hasExpired() && !isInterruptionRequested())
        m_socket->waitForDisconnected(slice(deadline));
}
