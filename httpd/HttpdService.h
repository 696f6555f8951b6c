#pragma once

#include "data/Result.h"
#include "httpd/HttpdGenerator.h"
#include "httpd/RequestRecord.h"

#include <QObject>
#include <QStringList>

class HttpdServer;
class PhoneFetches;

// One running phonebook service: finds the machine's addresses, reads port.xml from
// the current folder, listens (falling back to a port the system chooses), and
// relays every request message.
class HttpdService : public QObject
{
    Q_OBJECT
public:
    // The port settings as port.xml holds them; defaults when the file is missing.
    struct PortConfig {
        int useDefault = 1;
        int port = 80;
    };

    explicit HttpdService(QObject *parent = nullptr);
    ~HttpdService() override;

    // Listens, or says why it cannot. `notices`, when given, receives what the user
    // should hear about a start that went through all the same (a port that was
    // taken, so another one is used).
    Result startServer(QStringList *notices = nullptr);
    // Stops listening, ends the open connections and waits for their threads.
    void stopServer();
    QStringList addressList() const { return m_addressList; }
    // The port listened on, 0 while not listening.
    quint16 serverPort() const;
    HttpdServer *server() const { return m_server; }
    // The phones served since the start; null while not running.
    PhoneFetches *fetches() const;
    // The phones' files were rewritten or removed (see HttpdServer::newGeneration).
    void phonebookFilesChanged();

    // What writes a missing phonebook.xml, and whether the phonebook is in the
    // middle of a command (no writing then); set before startServer.
    void setPhonebookWriter(HttpdGenerator::Writer writer);
    void setBusyCheck(HttpdGenerator::BusyCheck busy);
    void setChangeCheck(HttpdGenerator::ChangeCheck changed);

    // A port that replaces port.xml for every later start (the headless tool's
    // --port); -1 returns to port.xml.
    static void setPortOverride(int port);

    // `path` defaults to AppPaths::portFile().
    static PortConfig readPortConfig(const QString &path = QString());

    // The request log's entry when the service has started: the running line, the
    // address lines and the port line, each ending with a line feed.
    static QString startEntry(const QStringList &addresses, quint16 port);

public slots:
    // The phonebook is no longer busy: writes what phones asked for meanwhile.
    void resumeWriting();

signals:
    void httpdMsg(const QString &message);
    // Relays HttpdServer::requestsEnded.
    void requestsEnded(const QList<RequestRecord> &requests);

private:
    Result listenWithFallback(bool useDefault, int port, QStringList *notices);

    HttpdServer *m_server = nullptr;
    QStringList m_addressList;
    HttpdGenerator::Writer m_writer;
    HttpdGenerator::BusyCheck m_busy;
    HttpdGenerator::ChangeCheck m_changed;
};
