#include "httpd/HttpdService.h"

#include "data/AppPaths.h"
#include "httpd/HttpdServer.h"

#include <QAtomicInt>
#include <QFile>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QXmlStreamReader>
#include <QtDebug>

namespace {

QAtomicInt g_portOverride(-1);

} // namespace

HttpdService::HttpdService(QObject *parent)
    : QObject(parent)
{
}

HttpdService::~HttpdService()
{
    stopServer();
}

void HttpdService::setPhonebookWriter(HttpdGenerator::Writer writer)
{
    m_writer = std::move(writer);
    if (m_server)
        m_server->generator()->setWriter(m_writer);
}

void HttpdService::setBusyCheck(HttpdGenerator::BusyCheck busy)
{
    m_busy = std::move(busy);
    if (m_server)
        m_server->generator()->setBusyCheck(m_busy);
}

void HttpdService::setChangeCheck(HttpdGenerator::ChangeCheck changed)
{
    m_changed = std::move(changed);
    if (m_server)
        m_server->generator()->setChangeCheck(m_changed);
}

PhoneFetches *HttpdService::fetches() const
{
    return m_server ? m_server->fetches() : nullptr;
}

void HttpdService::phonebookFilesChanged()
{
    if (m_server)
        m_server->newGeneration();
}

void HttpdService::resumeWriting()
{
    if (m_server)
        m_server->generator()->resume();
}

void HttpdService::setPortOverride(int port)
{
    g_portOverride.storeRelaxed(port);
}

quint16 HttpdService::serverPort() const
{
    return m_server && m_server->isListening() ? m_server->serverPort() : 0;
}

Result HttpdService::startServer(QStringList *notices)
{
    if (m_server && m_server->isListening())
        return Result();
    delete m_server;
    m_server = new HttpdServer(this);
    m_server->generator()->setWriter(m_writer);
    m_server->generator()->setBusyCheck(m_busy);
    m_server->generator()->setChangeCheck(m_changed);
    connect(m_server, &HttpdServer::requestServer, this, &HttpdService::httpdMsg);
    connect(m_server, &HttpdServer::requestsEnded, this, &HttpdService::requestsEnded);

    m_addressList.clear();
    const QList<QHostAddress> addresses = QNetworkInterface::allAddresses();
    for (const QHostAddress &address : addresses) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && address != QHostAddress(QHostAddress::LocalHost))
            m_addressList.append(address.toString());
    }
    if (QNetworkInterface::allInterfaces().isEmpty()) {
        return Result::failure(tr("Unable to start the server: NIC device not found."));
    }

    const int override = g_portOverride.loadRelaxed();
    if (override >= 0)
        return listenWithFallback(false, override, notices);
    const PortConfig config = readPortConfig();
    // Only "0" asks for the custom port; any other value means the default one.
    return listenWithFallback(config.useDefault != 0, config.port, notices);
}

Result HttpdService::listenWithFallback(bool useDefault, int port, QStringList *notices)
{
    QString fallback;
    if (useDefault) {
        if (m_server->listenOn(QHostAddress::AnyIPv4, 80))
            return Result();
        fallback = tr("Open the default port 80 failed, please go to 'Options -> Configuration "
                      "Httpd Port' to configure or use a random port.");
    } else {
        // A number outside the port range is refused rather than wrapped to some
        // other port the user never asked for.
        if (port >= 0 && port <= 65535 && m_server->listenOn(QHostAddress::AnyIPv4, quint16(port)))
            return Result();
        fallback = tr("Open the custom port failed, the Httpd server will use a random port");
    }
    if (notices)
        notices->append(fallback);
    if (m_server->listenOn(QHostAddress::AnyIPv4, 0))
        return Result();
    return Result::failure(tr("Unable to start the server: %1.").arg(m_server->errorString()));
}

void HttpdService::stopServer()
{
    delete m_server;
    m_server = nullptr;
}

HttpdService::PortConfig HttpdService::readPortConfig(const QString &path)
{
    PortConfig config;
    QFile file(path.isEmpty() ? AppPaths::portFile() : path);
    if (!file.exists())
        return config;
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug("read port.xml error");
        return config;
    }
    enum { None, UseDefault, Port } pending = None;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (pending != None && xml.isCharacters()) {
            const int value = xml.text().trimmed().toInt();
            (pending == UseDefault ? config.useDefault : config.port) = value;
        }
        pending = None;
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("useDefault"))
                pending = UseDefault;
            else if (xml.name() == QLatin1String("port"))
                pending = Port;
        }
    }
    if (xml.hasError())
        qDebug("read port.xml error");
    return config;
}

QString HttpdService::startEntry(const QStringList &addresses, quint16 port)
{
    QString text = tr("HTTPD server is running.") + QLatin1Char('\n');
    if (addresses.size() == 1) {
        text += tr("ServerIP:%1").arg(addresses.first()) + QLatin1Char('\n');
    } else {
        for (int i = 0; i < addresses.size(); ++i)
            text += tr("ServerIP%1:%2").arg(QString::number(i + 1), addresses[i]) + QLatin1Char('\n');
    }
    text += tr("Port:%1").arg(port) + QLatin1Char('\n');
    return text;
}
