#pragma once

// A real CardDAV server (Radicale) on loopback for the tests: one user with a
// password, address books made and cards put over HTTP as another client of the
// server would.

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

class RadicaleServer
{
public:
    static inline const QString kUser = QStringLiteral("anna");
    static inline const QString kPassword = QStringLiteral("s3cret");

    static bool installed() { return !QStandardPaths::findExecutable(QStringLiteral("radicale")).isEmpty(); }

    // Keeps its storage and configuration in `folder`.
    explicit RadicaleServer(const QString &folder)
        : m_folder(folder)
    {
    }
    ~RadicaleServer() { stop(); }

    // Starts it (over TLS with a certificate of its own) and waits until it answers.
    bool start(bool tls = false)
    {
        if (!QDir().mkpath(m_folder + QStringLiteral("/collections")))
            return false;
        QFile users(m_folder + QStringLiteral("/users"));
        if (!users.open(QIODevice::WriteOnly))
            return false;
        users.write((kUser + QLatin1Char(':') + kPassword + QLatin1Char('\n')).toUtf8());
        users.close();
        m_port = freePort();
        QFile config(m_folder + QStringLiteral("/config"));
        if (!config.open(QIODevice::WriteOnly))
            return false;
        QString text = QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n").arg(m_port);
        if (tls) {
            const QString key = m_folder + QStringLiteral("/key.pem");
            const QString cert = m_folder + QStringLiteral("/cert.pem");
            if (QProcess::execute(QStringLiteral("openssl"),
                    { QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                        QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-keyout"), key,
                        QStringLiteral("-out"), cert, QStringLiteral("-days"), QStringLiteral("1"),
                        QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1") })
                != 0)
                return false;
            text += QStringLiteral("ssl = True\ncertificate = %1\nkey = %2\n").arg(cert, key);
        }
        text += QStringLiteral("[auth]\ntype = htpasswd\nhtpasswd_filename = %1/users\nhtpasswd_encryption = plain\n"
                               "[storage]\nfilesystem_folder = %1/collections\n[rights]\ntype = owner_only\n"
                               "[logging]\nlevel = warning\n")
                    .arg(m_folder);
        config.write(text.toUtf8());
        config.close();
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("radicale"), { QStringLiteral("--config"), config.fileName() });
        if (!m_process.waitForStarted())
            return false;
        for (int i = 0; i < 100; ++i) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            if (probe.waitForConnected(100))
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished();
    }

    quint16 port() const { return m_port; }
    // Where it keeps its books: a test may put cards there past the server's checks.
    QString folder() const { return m_folder; }
    // The address of `path` on the server, over http.
    QString url(const QString &path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path); }

    // A request as the user, as another client of the server would send it.
    QNetworkReply::NetworkError dav(const QByteArray &method, const QString &path, const QByteArray &body = {},
        const QByteArray &type = "text/vcard")
    {
        QNetworkRequest request((QUrl(url(path))));
        request.setRawHeader("Authorization", "Basic " + (kUser + QLatin1Char(':') + kPassword).toUtf8().toBase64());
        request.setHeader(QNetworkRequest::ContentTypeHeader, type);
        QNetworkReply *reply = m_net.sendCustomRequest(request, method, body);
        QSignalSpy done(reply, &QNetworkReply::finished);
        done.wait(10000);
        reply->deleteLater();
        return reply->error();
    }

    // The user's address book /anna/book/ with the display name `name`.
    bool makeBook(const QString &name)
    {
        const QByteArray body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                "<mkcol xmlns=\"DAV:\" xmlns:CR=\"urn:ietf:params:xml:ns:carddav\"><set><prop>"
                                "<resourcetype><collection/><CR:addressbook/></resourcetype><displayname>"
            + name.toUtf8() + "</displayname></prop></set></mkcol>";
        return dav("MKCOL", QStringLiteral("/%1/book/").arg(kUser), body, "application/xml") == QNetworkReply::NoError;
    }

    static QByteArray card(const QString &uid, const QString &family, const QString &given, const QString &tel)
    {
        return QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nN:%2;%3;;;\r\nFN:%3 %2\r\n"
                              "TEL;TYPE=WORK:%4\r\nEND:VCARD\r\n")
            .arg(uid, family, given, tel)
            .toUtf8();
    }

private:
    static quint16 freePort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }

    QString m_folder;
    QProcess m_process;
    quint16 m_port = 0;
    QNetworkAccessManager m_net;
};
