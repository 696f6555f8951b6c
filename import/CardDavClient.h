#pragma once

#include "data/Result.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QSslCertificate>
#include <QSslError>
#include <QString>
#include <QUrl>

class QAuthenticator;
class QNetworkAccessManager;
class QNetworkReply;

// What a CardDAV server answered to PROPFIND or REPORT, as far as we read it.
struct DavResponse {
    QString href;
    int status = 200; // of the response, or of its first property block
    QString etag;
    QString displayName;
    QByteArray addressData;
    bool isAddressBook = false;
    bool syncCollection = false; // the collection offers sync-collection
    QString principal; // current-user-principal
    QString addressBookHome; // addressbook-home-set
};
struct DavMultistatus {
    QList<DavResponse> responses;
    QString syncToken;
};
// Reads a 207 Multi-Status body; fails with what was wrong.
Expected<DavMultistatus> parseMultistatus(const QByteArray &body);

// One address book found on a server.
struct DavBook {
    QUrl url;
    QString name;
};

// A card as fetched: its href, version and the vCard text.
struct DavCard {
    QString href;
    QString etag;
    QByteArray data;
};
// What changed in an address book since the last fetch.
struct DavChanges {
    QList<DavCard> changed; // new or changed cards
    QStringList removed; // hrefs of cards gone from the server
    QString syncToken; // to give the next fetch; empty when the server has none
};

// Talks CardDAV (RFC 6352) to one server: finds its address books and fetches
// what changed since the last time, by sync-collection (RFC 6578) where the
// server offers it, otherwise by comparing every card's ETag. Asynchronous: one
// job at a time, ending in finished().
class CardDavClient : public QObject
{
    Q_OBJECT
public:
    explicit CardDavClient(QObject *parent = nullptr);
    ~CardDavClient() override;

    void setCredentials(const QString &user, const QString &password);
    // The login the last job used: the one set, or the one a handler of
    // authenticationRequired() gave instead.
    QString user() const { return m_user; }
    QString password() const { return m_password; }
    // Certificate problems are refused unless this is set (the user accepted them).
    void setAcceptCertificates(bool accept) { m_acceptCertificates = accept; }
    bool acceptsCertificates() const { return m_acceptCertificates; }
    // A certificate trusted by its SHA-256 (hex, colons allowed) whatever its problems.
    void setTrustedCertificate(const QString &sha256);
    // The SHA-256 of the last certificate with problems (refused or accepted), as
    // colon-separated hex, for the user to check and for setTrustedCertificate().
    QString problemCertificate() const { return m_problemCertificate; }
    bool certificateRefused() const { return m_certificateRefused; }
    static QString fingerprint(const QSslCertificate &certificate);

    // The address books at `url`: the book itself, or those of the user whose
    // principal or server root it is (found through /.well-known/carddav).
    void discover(const QUrl &url);
    // The cards changed since `syncToken` (empty: all of them); `knownEtags`
    // (href → ETag) is what we hold, for servers without sync-collection.
    void fetch(const QUrl &book, const QString &syncToken, const QHash<QString, QString> &knownEtags);
    void cancel();
    bool isRunning() const { return m_reply != nullptr; }

    // Results of the last job.
    const QList<DavBook> &books() const { return m_books; }
    const DavChanges &changes() const { return m_changes; }
    // Requests sent and body bytes received since construction.
    int requestCount() const { return m_requests; }
    qint64 bytesReceived() const { return m_bytes; }

    // Runs a job to its end in a local event loop; for the headless tool.
    Result discoverAndWait(const QUrl &url);
    Result fetchAndWait(const QUrl &book, const QString &syncToken, const QHash<QString, QString> &knownEtags);

signals:
    // Connected directly: call setAcceptCertificates(true) before returning to go on.
    void sslErrors(const QList<QSslError> &errors);
    // Connected directly: the server wants a login and the one set was refused, or
    // none was set. Fill in `authenticator` to try another; leaving it unchanged
    // fails the job. `refused`: a login of this job was already turned down.
    void authenticationRequired(const QString &host, QAuthenticator *authenticator, bool refused);
    void progress(const QString &what);
    // `error` says for the user what went wrong when `ok` is false.
    void finished(bool ok, const QString &error);

private:
    enum class Step { None, Probe, WellKnown, Principal, Home, SyncReport, EtagList, Multiget };
    void send(Step step, const QUrl &url, const QByteArray &method, int depth, const QByteArray &body);
    // PROPFIND of the address books in a home, and of the server's well-known entry.
    void sendHome(const QString &href);
    void sendWellKnown();
    // Every card we hold that the server's listing `listed` leaves out is gone.
    void markGone(const QSet<QString> &listed);
    void onFinished();
    void handle(const DavMultistatus &ms, int httpStatus);
    void probeResults(const DavMultistatus &ms);
    void homeResults(const DavMultistatus &ms);
    void nextMultiget();
    void done(bool ok, const QString &error = QString());
    void onAuthenticationRequired(QNetworkReply *reply, QAuthenticator *authenticator);
    void onSslErrors(QNetworkReply *reply, const QList<QSslError> &errors);
    QString failureText(QNetworkReply *reply) const;
    QUrl resolve(const QString &href) const;

    QNetworkAccessManager *m_manager;
    QNetworkReply *m_reply = nullptr;
    Step m_step = Step::None;
    QString m_user;
    QString m_password;
    bool m_authTried = false;
    bool m_acceptCertificates = false;
    bool m_certificateRefused = false;
    QString m_trustedCertificate; // plain lower-case hex
    QString m_problemCertificate;
    QUrl m_base;
    QUrl m_book;
    QHash<QString, QString> m_known;
    bool m_initialSync = false;
    QStringList m_toFetch;
    QList<DavBook> m_books;
    DavChanges m_changes;
    int m_requests = 0;
    qint64 m_bytes = 0;
};
