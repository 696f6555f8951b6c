#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTcpSocket>
#include <QThread>

class HttpRequest;
class HttpdGenerator;
class QFile;

// Serves one connection: reads the request header, reports the request, and sends
// the file of the product's folder (having the main thread write a missing
// phonebook.xml first). Every wait checks for an interruption request, so the
// server can end the thread promptly when it stops.
class HttpdThread : public QThread
{
    Q_OBJECT
public:
    // `waitMsecs` bounds the wait for the whole request header, a stalled send, the
    // closing of the connection and the writing of a missing phonebook.
    HttpdThread(qintptr socketDescriptor, HttpdGenerator *generator, int waitMsecs, QObject *parent = nullptr);
    ~HttpdThread() override;

    // The response header sent before every file.
    static QByteArray responseHeader(const QDateTime &now, const QLocale &locale = QLocale::system());
    // "Sun Dec 6 21:14:05 2026" with the locale's short day and month names.
    static QString dateText(const QDateTime &now, const QLocale &locale);
    // Closes an accepted connection that no socket object owns.
    static void closeDescriptor(qintptr descriptor);
    // The three-line message that reports a request to the request log.
    static QString requestMessage(const QString &product, const QString &fileName);

signals:
    void error(QTcpSocket::SocketError socketError);
    void singleRequest(const QString &message);

protected:
    void run() override;

private:
    void getMessage();
    bool readHeader(QByteArray *header, bool *peerClosed);
    void dealWith(const HttpRequest &request);
    bool sendFile(QFile &file);
    bool writeQueued(QFile *file);
#ifdef Q_OS_LINUX
    bool sendDirect(QFile &file);
#endif
    void disCurrentSocket();

    qintptr m_socketDescriptor;
    QTcpSocket *m_socket = nullptr;
    QString m_root;
    HttpdGenerator *m_generator;
    int m_waitMsecs;
};
