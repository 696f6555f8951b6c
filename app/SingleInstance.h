#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Keeps one copy of the editor per user and program folder. The first copy
// listens on a local socket; a later copy finds it, hands over a message and
// leaves. A socket file left behind by a crashed copy is recognised (nobody
// answers on it) and replaced.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // `key` separates unrelated installations; the editor passes its program folder.
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when another copy answered; false when this copy now owns the socket
    // (or could not create it, in which case it runs unguarded rather than not at all).
    bool isRunning();
    // Sends `message` to the running copy; false when it could not be delivered in time.
    bool sendMessage(const QString &message, int timeoutMs);

    // The socket name for a key: per user, and per key through a hash so that
    // long or odd folder names stay within the socket path limits.
    static QString serverNameFor(const QString &key);

signals:
    void messageReceived(const QString &message);

private:
    bool connectsToServer(int timeoutMs) const;
    bool listen();
    void readConnection();

    QString m_name;
    QLocalServer *m_server = nullptr;
    bool m_checked = false;
    bool m_running = false;
};
