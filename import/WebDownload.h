#pragma once

#include <QList>
#include <QObject>
#include <QSslError>
#include <QString>
#include <QUrl>

class QAuthenticator;
class QNetworkAccessManager;
class QNetworkReply;
class QSaveFile;

// Fetches one phonebook file over HTTP or HTTPS into the program's web/ folder.
// The body goes to a temporary file that replaces the target only when the whole
// download succeeded, so a failed or cancelled download leaves no partial file
// and an older file of the same name stays as it was.
class WebDownload : public QObject
{
    Q_OBJECT
public:
    explicit WebDownload(QObject *parent = nullptr);
    ~WebDownload() override;

    // The address as typed: "http://" is put in front unless it names http or https.
    static QUrl urlFromText(const QString &text);
    // The name the file gets in the web folder: the last segment of the path,
    // percent-decoded. Empty when the address has no usable name ("", "." and
    // ".." and names that would land outside the folder are refused).
    static QString fileNameFor(const QUrl &url);
    // appDir + "web/".
    static QString webFolder();

    // Starts downloading `url` into webFolder() + `fileName`. Returns false when
    // the target cannot be written; errorString() then says why.
    bool start(const QUrl &url, const QString &fileName);
    // Stops the running download without a trace; finished() is not emitted.
    void cancel();
    bool isRunning() const { return m_reply != nullptr; }
    QString errorString() const { return m_errorString; }

    // Only valid inside a slot connected to sslErrors(): continue the download anyway.
    void ignoreSslErrors();

signals:
    void progress(qint64 received, qint64 total);
    // Connected directly: fill in the authenticator before returning, or leave it
    // unchanged to let the request fail.
    void authenticationRequired(const QString &host, quint16 port, QAuthenticator *authenticator);
    // Connected directly: call ignoreSslErrors() before returning to continue.
    void sslErrors(const QList<QSslError> &errors);
    // Once per started download unless it was cancelled: `error` is the message
    // for the user when `ok` is false.
    void finished(bool ok, const QString &error);

private:
    void readBody();
    void checkStatus();
    void onFinished();
    void onAuthenticationRequired(QNetworkReply *reply, QAuthenticator *authenticator);
    void onSslErrors(const QList<QSslError> &errors);
    // The message for a final response status that is not a success, or empty.
    QString statusFailure() const;
    void stop();
    void fail(const QString &message);
    QString unableToSave() const;

    QNetworkAccessManager *m_manager;
    QNetworkReply *m_reply = nullptr;
    QSaveFile *m_file = nullptr;
    QString m_errorString;
    // The certificate problems of the running download were let pass / were not.
    bool m_sslIgnored = false;
    bool m_sslRefused = false;
};
