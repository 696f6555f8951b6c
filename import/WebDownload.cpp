#include "import/WebDownload.h"

#include "data/AppPaths.h"

#include <QAuthenticator>
#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>

WebDownload::WebDownload(QObject *parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
{
    connect(m_manager, &QNetworkAccessManager::authenticationRequired, this, &WebDownload::onAuthenticationRequired);
}

WebDownload::~WebDownload()
{
    stop();
}

QUrl WebDownload::urlFromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    const bool hasScheme = trimmed.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || trimmed.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
    return QUrl(hasScheme ? trimmed : QStringLiteral("http://") + trimmed);
}

QString WebDownload::fileNameFor(const QUrl &url)
{
    if (!url.isValid() || url.host().isEmpty())
        return QString();
    const QString name = url.fileName(QUrl::FullyDecoded);
    // The name is joined to the web folder, so nothing in it may point elsewhere.
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1Char('/'))
        || name.contains(QLatin1Char('\\')) || name.contains(QChar(0)))
        return QString();
    return name;
}

QString WebDownload::webFolder()
{
    return AppPaths::appDir() + QStringLiteral("web/");
}

bool WebDownload::start(const QUrl &url, const QString &fileName)
{
    stop();
    m_errorString.clear();
    QDir().mkpath(webFolder());
    m_file = new QSaveFile(webFolder() + fileName, this);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_errorString = unableToSave();
        delete m_file;
        m_file = nullptr;
        return false;
    }

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    m_reply = m_manager->get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &WebDownload::checkStatus);
    connect(m_reply, &QIODevice::readyRead, this, &WebDownload::readBody);
    connect(m_reply, &QNetworkReply::downloadProgress, this, &WebDownload::progress);
    connect(m_reply, &QNetworkReply::finished, this, &WebDownload::onFinished);
    connect(m_reply, &QNetworkReply::sslErrors, this, &WebDownload::onSslErrors);
    m_sslRefused = false;
    return true;
}

void WebDownload::cancel()
{
    stop();
}

void WebDownload::ignoreSslErrors()
{
    if (m_reply)
        m_reply->ignoreSslErrors();
    m_sslIgnored = true;
}

void WebDownload::onSslErrors(const QList<QSslError> &errors)
{
    m_sslIgnored = false;
    Q_EMIT sslErrors(errors);
    // Not let pass: the connection ends, and the message says why.
    if (!m_sslIgnored)
        m_sslRefused = true;
}

void WebDownload::readBody()
{
    // A redirect's own body is not part of the file.
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status / 100 == 3) {
        m_reply->readAll();
        return;
    }
    m_file->write(m_reply->readAll());
}

void WebDownload::checkStatus()
{
    // Stop as soon as the server's answer shows there is no file to be had.
    const QString failure = statusFailure();
    if (!failure.isEmpty())
        fail(failure);
}

QString WebDownload::statusFailure() const
{
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return QString();
    const int code = status.toInt();
    // 401 and 407 come back after the login dialog was cancelled or refused.
    if (code == 401 || code == 407)
        return tr("Download failed: the server refused the login.");
    switch (code / 100) {
    case 2:
    case 3:
        return QString();
    case 4:
        return tr("Download failed: File not found.");
    case 5:
        return tr("Download failed: The server does not support this request required function.");
    default:
        return tr("Download failed: %1.")
            .arg(m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    }
}

void WebDownload::onFinished()
{
    const QString failure = statusFailure();
    if (!failure.isEmpty()) {
        fail(failure);
        return;
    }
    // A redirect that was not followed (too many, or from https to http) is no file either.
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_sslRefused && m_reply->error() != QNetworkReply::NoError) {
        fail(tr("Download failed: the certificate of %1 was refused.").arg(m_reply->url().host()));
        return;
    }
    if (m_reply->error() != QNetworkReply::NoError || status / 100 == 3) {
        fail(tr("Download failed: HTTP request failed!"));
        return;
    }
    readBody();
    if (!m_file->commit()) {
        fail(unableToSave());
        return;
    }
    stop();
    Q_EMIT finished(true, QString());
}

void WebDownload::onAuthenticationRequired(QNetworkReply *reply, QAuthenticator *authenticator)
{
    if (reply != m_reply)
        return;
    const QUrl url = reply->url();
    Q_EMIT authenticationRequired(url.host(), quint16(url.port(0)), authenticator);
}

void WebDownload::stop()
{
    if (m_reply) {
        QNetworkReply *reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        // Deleting the reply ends its transfer. abort() would too, but on a reply
        // with an error status it reports a second error. Queued, because this may
        // run inside the reply's own signal; not deleteLater(), which would wait
        // for the message box that usually follows.
        QMetaObject::invokeMethod(
            m_manager, [reply] { delete reply; }, Qt::QueuedConnection);
    }
    if (m_file) {
        // Not committed: the temporary file goes, the target is untouched.
        m_file->cancelWriting();
        delete m_file;
        m_file = nullptr;
    }
}

void WebDownload::fail(const QString &message)
{
    stop();
    m_errorString = message;
    Q_EMIT finished(false, message);
}

QString WebDownload::unableToSave() const
{
    return tr("Unable to save the file %1.").arg(QDir::toNativeSeparators(m_file->fileName()));
}
