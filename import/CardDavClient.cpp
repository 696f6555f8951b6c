#include "import/CardDavClient.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSet>
#include <QXmlStreamReader>

namespace {

const QString kDav = QStringLiteral("DAV:");
const QString kCardDav = QStringLiteral("urn:ietf:params:xml:ns:carddav");
// Cards asked for in one addressbook-multiget.
constexpr int kMultigetBatch = 250;

// The network import's texts, so both speak alike (and share their translations).
QString netText(const char *text)
{
    return QCoreApplication::translate("WebDownload", text);
}

int statusCode(const QString &line)
{
    // "HTTP/1.1 404 Not Found"
    const QStringList parts = line.simplified().split(QLatin1Char(' '));
    return parts.size() >= 2 ? parts.at(1).toInt() : 0;
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

Expected<DavMultistatus> parseMultistatus(const QByteArray &body)
{
    QXmlStreamReader xml(body);
    DavMultistatus ms;
    DavResponse current;
    DavResponse block; // the properties of one propstat, kept when its status is 200
    int blockStatus = 200;
    bool inResponse = false;
    bool inPropstat = false;
    QStringList path; // local names of the open elements below the response
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QStringView ns = xml.namespaceUri();
            const QStringView name = xml.name();
            if (ns == kDav && name == QLatin1String("response")) {
                inResponse = true;
                current = DavResponse();
                path.clear();
                continue;
            }
            if (!inResponse) {
                if (ns == kDav && name == QLatin1String("sync-token"))
                    ms.syncToken = xml.readElementText().trimmed();
                continue;
            }
            if (ns == kDav && name == QLatin1String("propstat")) {
                inPropstat = true;
                block = DavResponse();
                blockStatus = 200;
                continue;
            }
            const QString parent = path.isEmpty() ? QString() : path.constLast();
            if (ns == kDav && name == QLatin1String("href") && !inPropstat) {
                current.href = xml.readElementText().trimmed();
                continue;
            }
            if (ns == kDav && name == QLatin1String("status")) {
                const int code = statusCode(xml.readElementText());
                if (inPropstat)
                    blockStatus = code;
                else
                    current.status = code;
                continue;
            }
            if (!inPropstat) {
                path.append(name.toString());
                continue;
            }
            if (ns == kDav && name == QLatin1String("getetag")) {
                block.etag = xml.readElementText().trimmed();
                continue;
            }
            if (ns == kDav && name == QLatin1String("displayname")) {
                block.displayName = xml.readElementText().trimmed();
                continue;
            }
            if (ns == kCardDav && name == QLatin1String("address-data")) {
                block.addressData = xml.readElementText().toUtf8();
                continue;
            }
            if (ns == kCardDav && name == QLatin1String("addressbook") && parent == QLatin1String("resourcetype"))
                block.isAddressBook = true;
            if (ns == kDav && name == QLatin1String("sync-collection"))
                block.syncCollection = true;
            if (ns == kDav && name == QLatin1String("href")) {
                const QString href = xml.readElementText().trimmed();
                if (parent == QLatin1String("current-user-principal"))
                    block.principal = href;
                else if (parent == QLatin1String("addressbook-home-set"))
                    block.addressBookHome = href;
                continue;
            }
            path.append(name.toString());
        } else if (xml.isEndElement()) {
            const QStringView ns = xml.namespaceUri();
            const QStringView name = xml.name();
            if (ns == kDav && name == QLatin1String("propstat")) {
                inPropstat = false;
                if (blockStatus / 100 == 2) {
                    current.etag = block.etag.isEmpty() ? current.etag : block.etag;
                    current.displayName = block.displayName.isEmpty() ? current.displayName : block.displayName;
                    if (!block.addressData.isEmpty())
                        current.addressData = block.addressData;
                    current.isAddressBook = current.isAddressBook || block.isAddressBook;
                    current.syncCollection = current.syncCollection || block.syncCollection;
                    if (!block.principal.isEmpty())
                        current.principal = block.principal;
                    if (!block.addressBookHome.isEmpty())
                        current.addressBookHome = block.addressBookHome;
                } else if (current.status / 100 == 2 && block.etag.isEmpty() && current.etag.isEmpty()) {
                    // A response whose only properties are missing: keep the failure code.
                    current.status = blockStatus == 404 ? 200 : current.status;
                }
                continue;
            }
            if (ns == kDav && name == QLatin1String("response")) {
                inResponse = false;
                ms.responses.append(current);
                continue;
            }
            if (!path.isEmpty())
                path.removeLast();
        }
    }
    if (xml.hasError())
        return Result::failure(QCoreApplication::translate("CardDavClient", "The server's answer could not be read: %1")
                                   .arg(xml.errorString()));
    return ms;
}

CardDavClient::CardDavClient(QObject *parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
{
    connect(m_manager, &QNetworkAccessManager::authenticationRequired, this, &CardDavClient::onAuthenticationRequired);
    connect(m_manager, &QNetworkAccessManager::sslErrors, this, &CardDavClient::onSslErrors);
}

CardDavClient::~CardDavClient()
{
    cancel();
}

void CardDavClient::setCredentials(const QString &user, const QString &password)
{
    m_user = user;
    m_password = password;
}

void CardDavClient::discover(const QUrl &url)
{
    m_books.clear();
    m_base = url;
    m_authTried = false;
    m_certificateRefused = false;
    emit progress(tr("Looking for address books at %1").arg(url.host()));
    send(Step::Probe, url, "PROPFIND", 0,
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:prop>"
        "<d:resourcetype/><d:displayname/><d:current-user-principal/><c:addressbook-home-set/>"
        "</d:prop></d:propfind>");
}

void CardDavClient::fetch(const QUrl &book, const QString &syncToken, const QHash<QString, QString> &knownEtags)
{
    m_book = book;
    m_base = book;
    m_known = knownEtags;
    m_initialSync = syncToken.isEmpty();
    m_changes = DavChanges();
    m_toFetch.clear();
    m_authTried = false;
    m_certificateRefused = false;
    emit progress(tr("Asking %1 what changed").arg(book.host()));
    send(Step::SyncReport, book, "REPORT", 1,
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<d:sync-collection xmlns:d=\"DAV:\"><d:sync-token>"
            + escaped(syncToken).toUtf8()
            + "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop></d:sync-collection>");
}

void CardDavClient::cancel()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = std::exchange(m_reply, nullptr);
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
    m_step = Step::None;
}

void CardDavClient::send(Step step, const QUrl &url, const QByteArray &method, int depth, const QByteArray &body)
{
    m_step = step;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    request.setTransferTimeout(30000);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/xml; charset=utf-8"));
    request.setRawHeader("Depth", QByteArray::number(depth));
    ++m_requests;
    m_reply = m_manager->sendCustomRequest(request, method, body);
    connect(m_reply, &QNetworkReply::finished, this, &CardDavClient::onFinished);
}

void CardDavClient::sendHome(const QString &href)
{
    send(Step::Home, resolve(href), "PROPFIND", 1,
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:resourcetype/><d:displayname/></d:prop></d:propfind>");
}

void CardDavClient::sendWellKnown()
{
    send(Step::WellKnown, m_base.resolved(QUrl(QStringLiteral("/.well-known/carddav"))), "PROPFIND", 0,
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:current-user-principal/></d:prop></d:propfind>");
}

void CardDavClient::markGone(const QSet<QString> &listed)
{
    for (auto it = m_known.cbegin(); it != m_known.cend(); ++it) {
        if (!listed.contains(it.key()))
            m_changes.removed.append(it.key());
    }
}

QUrl CardDavClient::resolve(const QString &href) const
{
    return m_base.resolved(QUrl(href));
}

QString CardDavClient::failureText(QNetworkReply *reply) const
{
    const int code = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (code == 401 || code == 407)
        return netText("Download failed: the server refused the login.");
    if (m_certificateRefused)
        return netText("Download failed: the certificate of %1 was refused.").arg(reply->url().host());
    if (code / 100 == 4)
        return tr("No address book at %1 (the server answered %2).").arg(reply->url().toString()).arg(code);
    if (code / 100 == 5)
        return netText("Download failed: The server does not support this request required function.");
    if (reply->error() == QNetworkReply::OperationCanceledError)
        return netText("Download failed: %1.").arg(tr("the server did not answer in time"));
    if (reply->error() != QNetworkReply::NoError)
        return netText("Download failed: %1.").arg(reply->errorString());
    return netText("Download failed: HTTP request failed!");
}

void CardDavClient::onFinished()
{
    QNetworkReply *reply = std::exchange(m_reply, nullptr);
    reply->deleteLater();
    // An aborted or timed-out reply is closed: nothing to read.
    const QByteArray body = reply->isReadable() ? reply->readAll() : QByteArray();
    m_bytes += body.size();
    const int code = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const Step step = m_step;

    if (code != 207) {
        // A server without sync-collection, or one that forgot our token.
        if (step == Step::SyncReport
            && (code == 400 || code == 403 || code == 404 || code == 405 || code == 409 || code == 412 || code == 415
                || code == 501)
            && !m_certificateRefused) {
            send(Step::EtagList, m_book, "PROPFIND", 1,
                "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:getetag/><d:resourcetype/></d:prop></d:propfind>");
            return;
        }
        if ((step == Step::Probe) && (code == 404 || code == 405 || code == 501 || code / 100 == 3)) {
            sendWellKnown();
            return;
        }
        done(false, failureText(reply));
        return;
    }
    const Expected<DavMultistatus> ms = parseMultistatus(body);
    if (!ms) {
        done(false, ms.message());
        return;
    }
    m_base = reply->url();
    handle(*ms, code);
}

void CardDavClient::handle(const DavMultistatus &ms, int)
{
    switch (m_step) {
    case Step::Probe:
    case Step::WellKnown:
        probeResults(ms);
        return;
    case Step::Principal: {
        for (const DavResponse &r : ms.responses) {
            if (!r.addressBookHome.isEmpty()) {
                sendHome(r.addressBookHome);
                return;
            }
        }
        done(false, tr("No address book found at %1.").arg(m_base.toString()));
        return;
    }
    case Step::Home:
        homeResults(ms);
        return;
    case Step::SyncReport:
        for (const DavResponse &r : ms.responses) {
            if (r.status == 404) {
                m_changes.removed.append(r.href);
            } else if (!r.etag.isEmpty() && m_known.value(r.href) != r.etag) {
                m_toFetch.append(r.href);
            }
        }
        m_changes.syncToken = ms.syncToken;
        // A first sync lists every card: what we hold and it does not list is gone.
        if (m_initialSync) {
            QSet<QString> listed;
            for (const DavResponse &r : ms.responses)
                listed.insert(r.href);
            markGone(listed);
        }
        nextMultiget();
        return;
    case Step::EtagList: {
        QSet<QString> present;
        const QString bookPath = m_book.path();
        for (const DavResponse &r : ms.responses) {
            if (r.isAddressBook || r.etag.isEmpty() || QUrl(r.href).path() == bookPath)
                continue;
            present.insert(r.href);
            if (m_known.value(r.href) != r.etag)
                m_toFetch.append(r.href);
        }
        markGone(present);
        nextMultiget();
        return;
    }
    case Step::Multiget:
        for (const DavResponse &r : ms.responses) {
            if (r.status == 404)
                m_changes.removed.append(r.href);
            else if (!r.addressData.isEmpty())
                m_changes.changed.append(DavCard { r.href, r.etag, r.addressData });
        }
        nextMultiget();
        return;
    case Step::None:
        return;
    }
}

void CardDavClient::probeResults(const DavMultistatus &ms)
{
    for (const DavResponse &r : ms.responses) {
        if (r.isAddressBook) {
            m_books.append(DavBook { resolve(r.href), r.displayName });
            done(true);
            return;
        }
    }
    for (const DavResponse &r : ms.responses) {
        if (!r.addressBookHome.isEmpty()) {
            sendHome(r.addressBookHome);
            return;
        }
    }
    for (const DavResponse &r : ms.responses) {
        if (!r.principal.isEmpty()) {
            send(Step::Principal, resolve(r.principal), "PROPFIND", 0,
                "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:prop>"
                "<c:addressbook-home-set/></d:prop></d:propfind>");
            return;
        }
    }
    if (m_step == Step::Probe) {
        sendWellKnown();
        return;
    }
    done(false, tr("No address book found at %1.").arg(m_base.toString()));
}

void CardDavClient::homeResults(const DavMultistatus &ms)
{
    for (const DavResponse &r : ms.responses) {
        if (r.isAddressBook)
            m_books.append(DavBook { resolve(r.href), r.displayName });
    }
    if (m_books.isEmpty())
        done(false, tr("No address book found at %1.").arg(m_base.toString()));
    else
        done(true);
}

void CardDavClient::nextMultiget()
{
    if (m_toFetch.isEmpty()) {
        done(true);
        return;
    }
    const QStringList batch = m_toFetch.mid(0, kMultigetBatch);
    m_toFetch.remove(0, batch.size());
    QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                      "<c:addressbook-multiget xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\">"
                      "<d:prop><d:getetag/><c:address-data/></d:prop>";
    for (const QString &href : batch)
        body += "<d:href>" + escaped(href).toUtf8() + "</d:href>";
    body += "</c:addressbook-multiget>";
    emit progress(tr("Fetching %n card(s)", nullptr, int(batch.size())));
    send(Step::Multiget, m_book, "REPORT", 1, body);
}

void CardDavClient::done(bool ok, const QString &error)
{
    m_step = Step::None;
    emit finished(ok, error);
}

void CardDavClient::onAuthenticationRequired(QNetworkReply *reply, QAuthenticator *authenticator)
{
    // The login set is tried once per job: asked again, the server refused it.
    if (!m_authTried && !m_user.isEmpty()) {
        m_authTried = true;
        authenticator->setUser(m_user);
        authenticator->setPassword(m_password);
        return;
    }
    const bool refused = m_authTried;
    m_authTried = true;
    emit authenticationRequired(reply->url().host(), authenticator, refused);
    if (!authenticator->user().isEmpty()) {
        m_user = authenticator->user();
        m_password = authenticator->password();
    }
}

void CardDavClient::setTrustedCertificate(const QString &sha256)
{
    m_trustedCertificate = sha256.toLower().remove(QLatin1Char(':'));
}

QString CardDavClient::fingerprint(const QSslCertificate &certificate)
{
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}

void CardDavClient::onSslErrors(QNetworkReply *reply, const QList<QSslError> &errors)
{
    QSslCertificate peer = reply->sslConfiguration().peerCertificate();
    if (peer.isNull() && !errors.isEmpty())
        peer = errors.first().certificate();
    m_problemCertificate = fingerprint(peer);
    const QString plain = m_problemCertificate.toLower().remove(QLatin1Char(':'));
    if (!m_trustedCertificate.isEmpty() && plain == m_trustedCertificate) {
        reply->ignoreSslErrors();
        return;
    }
    if (!m_acceptCertificates)
        emit sslErrors(errors);
    if (m_acceptCertificates)
        reply->ignoreSslErrors();
    else
        m_certificateRefused = true;
}

namespace {

Result waitFor(CardDavClient *client)
{
    QEventLoop loop;
    Result result;
    QObject::connect(client, &CardDavClient::finished, &loop, [&](bool ok, const QString &error) {
        result = ok ? Result() : Result::failure(error);
        loop.quit();
    });
    loop.exec();
    return result;
}

} // namespace

Result CardDavClient::discoverAndWait(const QUrl &url)
{
    QMetaObject::invokeMethod(
        this, [this, url] { discover(url); }, Qt::QueuedConnection);
    return waitFor(this);
}

Result CardDavClient::fetchAndWait(
    const QUrl &book, const QString &syncToken, const QHash<QString, QString> &knownEtags)
{
    QMetaObject::invokeMethod(
        this, [this, book, syncToken, knownEtags] { fetch(book, syncToken, knownEtags); }, Qt::QueuedConnection);
    return waitFor(this);
}
