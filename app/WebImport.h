#pragma once

#include "manager/Options.h"

#include <QDialog>
#include <QList>
#include <QSslError>

class QAuthenticator;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class WebDownload;

// The network import dialog: downloads one phonebook file into the web folder
// and hands it on with the chosen import options through webImportSuccess.
// Frameless and fixed in size, it stays open after a download so that the
// result can be read.
class WebImport : public QDialog
{
    Q_OBJECT
public:
    explicit WebImport(QWidget *parent = nullptr);
    ~WebImport() override;

    WebDownload *download() const { return m_download; }

signals:
    void webImportSuccess(const ImportOptions &options);

public slots:
    void downloadFile();
    void cancelDownload();
    void httpRequestFinished(bool ok, const QString &error);
    void updateDataReadProgress(qint64 bytesRead, qint64 totalBytes);
    void enableDownloadButton();
    void slotAuthenticationRequired(const QString &host, quint16 port, QAuthenticator *authenticator);
    void sslErrors(const QList<QSslError> &errors);

protected:
    void changeEvent(QEvent *event) override;

private:
    // The dialog's texts in the language now in force.
    void retranslateUi();
    void showStatus();
    void information(const QString &text);
    // Hides the progress for good: a hidden progress dialog would otherwise show
    // itself again a few seconds after its last update, over the next message.
    void closeProgress();

    WebDownload *m_download;
    QLabel *m_headingLabel;
    QLabel *m_statusLabel;
    QLabel *m_urlLabel;
    QLineEdit *m_urlLineEdit;
    QLabel *m_encodingLabel;
    QComboBox *m_encodingBox;
    QLabel *m_clearListLabel;
    QCheckBox *m_clearListNo;
    QCheckBox *m_clearListYes;
    QButtonGroup *m_clearListGroup;
    QLabel *m_replaceWayLabel;
    QCheckBox *m_replaceWayNo;
    QCheckBox *m_replaceWayYes;
    QButtonGroup *m_replaceWayGroup;
    QPushButton *m_downloadButton;
    QPushButton *m_quitButton;
    QProgressDialog *m_progressDialog;
    QString m_fileName;
    // What the status line says, kept as a state so it can be said again in another language.
    enum class Status { Prompt, Canceled, Downloaded } m_status = Status::Prompt;
    // The user name of the last login, offered again; whether the running
    // download has asked for one already.
    QString m_loginUser;
    bool m_loginAsked = false;
};
