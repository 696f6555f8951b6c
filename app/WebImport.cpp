#include "app/WebImport.h"

#include "app/DialogParts.h"
#include "app/NetworkPrompts.h"
#include "export/ExportFactory.h"
#include "import/WebDownload.h"

#include <QAuthenticator>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

WebImport::WebImport(QWidget *parent)
    : QDialog(parent)
    , m_download(new WebDownload(this))
{
    setObjectName(QStringLiteral("web_import_dialog"));
    DialogParts::makeCard(this, 502, 253, QStringLiteral(".WebImport"));

    m_headingLabel = new QLabel(this);
    m_headingLabel->setGeometry(25, 8, 452, 28);
    m_headingLabel->setAlignment(Qt::AlignCenter);
    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("web_status_label"));
    m_statusLabel->setGeometry(25, 36, 452, 26);
    m_statusLabel->setWordWrap(true);

    m_urlLabel = DialogParts::rowLabel(QString(), QRect(25, 64, 120, 30), this);
    m_urlLineEdit = new QLineEdit(this);
    m_urlLineEdit->setObjectName(QStringLiteral("web_url_edit"));
    m_urlLineEdit->setGeometry(150, 64, 325, 30);
    m_urlLabel->setBuddy(m_urlLineEdit);

    m_encodingLabel = DialogParts::rowLabel(QString(), QRect(25, 98, 120, 30), this);
    m_encodingBox = new QComboBox(this);
    m_encodingBox->setObjectName(QStringLiteral("web_encoding_box"));
    m_encodingBox->setGeometry(150, 98, 200, 30);
    DialogParts::fillImportEncodings(m_encodingBox);

    m_clearListLabel = DialogParts::rowLabel(QString(), QRect(25, 134, 120, 30), this);
    m_clearListGroup = DialogParts::noYesPair(QString(), QString(), QRect(180, 132, 50, 30), QRect(300, 132, 50, 30),
        QStringLiteral("web_clear"), &m_clearListNo, &m_clearListYes, this);
    m_replaceWayLabel = DialogParts::rowLabel(QString(), QRect(25, 170, 120, 30), this);
    m_replaceWayGroup = DialogParts::noYesPair(QString(), QString(), QRect(180, 165, 50, 30), QRect(300, 165, 50, 30),
        QStringLiteral("web_replace"), &m_replaceWayNo, &m_replaceWayYes, this);

    m_downloadButton = new QPushButton(this);
    m_downloadButton->setObjectName(QStringLiteral("web_download_button"));
    m_downloadButton->setGeometry(100, 207, 100, 36);
    m_downloadButton->setDefault(true);
    m_quitButton = new QPushButton(this);
    m_quitButton->setObjectName(QStringLiteral("web_quit_button"));
    m_quitButton->setGeometry(300, 207, 100, 36);
    m_quitButton->setAutoDefault(false);

    m_progressDialog = new QProgressDialog(this);
    m_progressDialog->setObjectName(QStringLiteral("web_progress_dialog"));
    m_progressDialog->setWindowModality(Qt::WindowModal);
    m_progressDialog->setAutoClose(false);
    m_progressDialog->setAutoReset(false);
    // It would otherwise show itself a few seconds after construction.
    m_progressDialog->reset();
    m_progressDialog->hide();
    retranslateUi();

    connect(m_urlLineEdit, &QLineEdit::textChanged, this, &WebImport::enableDownloadButton);
    connect(m_download, &WebDownload::finished, this, &WebImport::httpRequestFinished);
    connect(m_download, &WebDownload::progress, this, &WebImport::updateDataReadProgress);
    connect(m_download, &WebDownload::authenticationRequired, this, &WebImport::slotAuthenticationRequired,
        Qt::DirectConnection);
    connect(m_download, &WebDownload::sslErrors, this, &WebImport::sslErrors, Qt::DirectConnection);
    connect(m_progressDialog, &QProgressDialog::canceled, this, &WebImport::cancelDownload);
    connect(m_downloadButton, &QPushButton::clicked, this, &WebImport::downloadFile);
    connect(m_quitButton, &QPushButton::clicked, this, &QWidget::close);

    enableDownloadButton();
}

WebImport::~WebImport()
{
    m_download->cancel();
}

void WebImport::downloadFile()
{
    if (m_download->isRunning())
        return;
    const QUrl url = WebDownload::urlFromText(m_urlLineEdit->text());
    const QString fileName = WebDownload::fileNameFor(url);
    if (fileName.isEmpty()) {
        information(tr("Please enter in the correct address of network phonebook."));
        return;
    }
    // An existing file is only replaced once the new one has fully arrived.
    if (QFile::exists(WebDownload::webFolder() + fileName)
        && QMessageBox::question(this, tr("HTTP"),
               tr("There already exists a file called %1 in the current directory. Overwrite?").arg(fileName),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    if (!m_download->start(url, fileName)) {
        information(m_download->errorString());
        return;
    }
    m_fileName = fileName;
    m_loginAsked = false;
    m_progressDialog->setWindowTitle(tr("HTTP"));
    m_progressDialog->setLabelText(tr("Downloading %1.").arg(fileName));
    m_progressDialog->setRange(0, 0);
    m_progressDialog->show();
    m_downloadButton->setEnabled(false);
}

void WebImport::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void WebImport::retranslateUi()
{
    m_headingLabel->setText(tr("Network Import"));
    setWindowTitle(m_headingLabel->text());
    m_urlLabel->setText(tr("&URL:"));
    m_encodingLabel->setText(tr("File encoding") + QLatin1Char(':'));
    m_clearListLabel->setText(tr("Clear list") + QLatin1Char(':'));
    m_replaceWayLabel->setText(tr("Replace Way") + QLatin1Char(':'));
    for (QCheckBox *no : { m_clearListNo, m_replaceWayNo })
        no->setText(tr("No"));
    for (QCheckBox *yes : { m_clearListYes, m_replaceWayYes })
        yes->setText(tr("Yes"));
    m_downloadButton->setText(tr("Download"));
    m_quitButton->setText(tr("Quit"));
    DialogParts::retranslateImportEncodings(m_encodingBox);
    showStatus();
}

void WebImport::showStatus()
{
    switch (m_status) {
    case Status::Prompt:
        m_statusLabel->setText(tr("Please enter the URL of a file you want to download."));
        break;
    case Status::Canceled:
        m_statusLabel->setText(tr("Download canceled."));
        break;
    case Status::Downloaded:
        m_statusLabel->setText(tr("Downloaded %1 to web folder success!").arg(m_fileName));
        break;
    }
}

void WebImport::cancelDownload()
{
    if (!m_download->isRunning())
        return;
    m_download->cancel();
    closeProgress();
    m_status = Status::Canceled;
    showStatus();
    enableDownloadButton();
}

void WebImport::httpRequestFinished(bool ok, const QString &error)
{
    closeProgress();
    enableDownloadButton();
    if (!ok) {
        information(error);
        return;
    }
    m_status = Status::Downloaded;
    showStatus();
    Q_EMIT webImportSuccess({ WebDownload::webFolder() + m_fileName, DialogParts::chosenEncoding(m_encodingBox),
        m_clearListYes->isChecked(), m_replaceWayYes->isChecked() });
}

void WebImport::updateDataReadProgress(qint64 bytesRead, qint64 totalBytes)
{
    // An unknown size (no Content-Length) shows a busy bar.
    const qint64 total = qMax<qint64>(totalBytes, 0);
    // The bar counts in int; larger files are shown in kilobytes.
    const int shift = total > INT_MAX ? 10 : 0;
    m_progressDialog->setMaximum(int(total >> shift));
    m_progressDialog->setValue(int(qMin(bytesRead, total) >> shift));
}

void WebImport::enableDownloadButton()
{
    m_downloadButton->setEnabled(!m_urlLineEdit->text().isEmpty() && !m_download->isRunning());
}

void WebImport::slotAuthenticationRequired(const QString &host, quint16, QAuthenticator *authenticator)
{
    // Asked again within one download: the server did not take the last login.
    const bool refused = m_loginAsked;
    m_loginAsked = true;
    NetworkPrompts::askCredentials(
        this, tr("%1 at %2").arg(authenticator->realm(), host), authenticator, &m_loginUser, refused);
}

void WebImport::sslErrors(const QList<QSslError> &errors)
{
    if (NetworkPrompts::acceptCertificateErrors(this, errors))
        m_download->ignoreSslErrors();
}

void WebImport::closeProgress()
{
    m_progressDialog->reset();
    m_progressDialog->hide();
}

void WebImport::information(const QString &text)
{
    QMessageBox::information(this, tr("HTTP"), text);
}
