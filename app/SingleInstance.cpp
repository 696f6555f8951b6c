#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

QString userName()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    QString name = qEnvironmentVariable("USERNAME");
    if (name.isEmpty())
        name = qEnvironmentVariable("USER");
    return name;
#endif
}

} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent)
    , m_name(serverNameFor(key))
{
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::serverNameFor(const QString &key)
{
    const QByteArray hash
        = QCryptographicHash::hash((userName() + QLatin1Char('\n') + key).toUtf8(), QCryptographicHash::Sha1)
              .toHex()
              .left(16);
    return QStringLiteral("QuorvanePhonebookEditor-") + QString::fromLatin1(hash);
}

bool SingleInstance::connectsToServer(int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    const bool connected = socket.waitForConnected(timeoutMs);
    socket.abort();
    return connected;
}

bool SingleInstance::isRunning()
{
    if (m_checked)
        return m_running;
    m_checked = true;
    if (connectsToServer(1000)) {
        m_running = true;
        return true;
    }
    if (listen())
        return false;
    // Another copy may have started listening between our two attempts.
    m_running = connectsToServer(1000);
    return m_running;
}

bool SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        if (m_server->serverError() != QAbstractSocket::AddressInUseError)
            return false;
        // Nobody answered on the socket, so it is a leftover of a copy that crashed.
        if (connectsToServer(1000))
            return false;
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::readConnection);
    return true;
}

void SingleInstance::readConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const QByteArray data = socket->readAll();
            if (!data.isEmpty())
                emit messageReceived(QString::fromUtf8(data));
        });
    }
}

bool SingleInstance::sendMessage(const QString &message, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(message.toUtf8());
    const bool written = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return written;
}
