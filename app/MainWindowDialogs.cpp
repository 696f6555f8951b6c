// The import, export and port dialogs of the main window, and the network
// import's hand-over to the local import.

#include "app/MainWindow.h"

#include "app/DialogParts.h"
#include "app/OptionFiles.h"
#include "app/WebImport.h"
#include "data/TextCodec.h"
#include "export/ExportFactory.h"
#include "manager/DataMgr.h"
#include "widgets/ContactModel.h"
#include "widgets/ContactView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

// Only these three endings, exactly so written, choose a reader.
bool hasReaderSuffix(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix == QLatin1String("xml") || suffix == QLatin1String("csv") || suffix == QLatin1String("vcf");
}

// The heading of a card, which is also what the task bar calls the dialog.
QLabel *dialogTitle(const QString &text, const QRect &geometry, QWidget *parent)
{
    parent->setWindowTitle(text);
    auto *title = new QLabel(text, parent);
    title->setObjectName(QStringLiteral("dialog_title"));
    title->setGeometry(geometry);
    QFont font = title->font();
    font.setBold(true);
    title->setFont(font);
    return title;
}

QPushButton *dialogButton(const QString &text, const QString &name, const QRect &geometry, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

} // namespace

// Local import

QString MainWindow::importEncoding(const QString &path, const QString &chosen)
{
    if (chosen != QLatin1String("auto"))
        return chosen;
    const QString detected = TextCodec::detectFile(path);
    if (detected.isEmpty())
        showPlainMessage(
            tr("Import Box"), tr("The encoding of the file could not be recognised; please choose it from the list."));
    return detected;
}

void MainWindow::localImport()
{
    if (m_importDialog) {
        m_importDialog->raise();
        return;
    }
    auto *dialog = new QDialog(this);
    dialog->setObjectName(QStringLiteral("import_dialog"));
    dialog->setModal(true);
    DialogParts::makeCard(dialog, 502, 253);
    dialogTitle(tr("Import file"), QRect(25, 10, 200, 40), dialog);
    const QString colon = QStringLiteral(":");
    DialogParts::rowLabel(tr("File Encoding") + colon, QRect(16, 50, 120, 35), dialog);
    DialogParts::rowLabel(tr("Clear list") + colon, QRect(16, 90, 120, 35), dialog);
    DialogParts::rowLabel(tr("Replace Way") + colon, QRect(16, 125, 120, 35), dialog);
    DialogParts::rowLabel(tr("Import file") + colon, QRect(16, 160, 120, 35), dialog);
    m_importEncodingBox = new QComboBox(dialog);
    m_importEncodingBox->setObjectName(QStringLiteral("import_encoding_box"));
    m_importEncodingBox->setGeometry(150, 50, 200, 35);
    DialogParts::fillImportEncodings(m_importEncodingBox);
    QCheckBox *no = nullptr;
    DialogParts::noYesPair(tr("No"), tr("Yes"), QRect(150, 90, 50, 35), QRect(250, 90, 50, 35),
        QStringLiteral("import_clear"), &no, &m_importClearYes, dialog);
    DialogParts::noYesPair(tr("No"), tr("Yes"), QRect(150, 125, 50, 35), QRect(250, 125, 50, 35),
        QStringLiteral("import_replace"), &no, &m_importReplaceYes, dialog);
    m_importPathEdit = new QLineEdit(m_importPath, dialog);
    m_importPathEdit->setObjectName(QStringLiteral("import_path_edit"));
    m_importPathEdit->setGeometry(150, 160, 200, 35);
    auto *select
        = dialogButton(tr("Select File"), QStringLiteral("import_select_button"), QRect(360, 160, 100, 35), dialog);
    auto *ok = dialogButton(tr("OK"), QStringLiteral("import_ok_button"), QRect(100, 205, 100, 40), dialog);
    auto *cancel = dialogButton(tr("Cancel"), QStringLiteral("import_cancel_button"), QRect(300, 205, 100, 40), dialog);
    ok->setDefault(true);
    connect(select, &QPushButton::clicked, this, &MainWindow::selectLocalFile);
    connect(ok, &QPushButton::clicked, this, &MainWindow::ImportBegin);
    connect(cancel, &QPushButton::clicked, this, &MainWindow::ImportAbort);
    connect(dialog, &QDialog::rejected, this, &MainWindow::ImportAbort);
    m_importDialog = dialog;
    dialog->show();
}

void MainWindow::selectLocalFile()
{
    const QString folder = m_importFolder.isEmpty() ? QDir::homePath() + QStringLiteral("/backup") : m_importFolder;
    const QString path = runFileDialog(tr("Open an phonebook contact file (recommended phonebook.xml)"), folder,
        QFileDialog::ExistingFile, QFileDialog::AcceptOpen,
        { tr("common xml text phonebook (*.xml)"), tr("csv text phonebook(*.csv)"),
            tr("common VCard phonebook(*.vcf)") },
        { tr("Look in"), tr("File Name"), tr("File Type"), tr("Open"), tr("Cancel") }, &m_importFolder);
    if (path.isEmpty())
        return;
    m_importPath = path;
    if (m_importPathEdit)
        m_importPathEdit->setText(path);
}

void MainWindow::ImportBegin()
{
    if (!m_importDialog)
        return;
    const QString path = m_importPathEdit->text();
    if (path.isEmpty() || !QFileInfo(path).isFile() || !hasReaderSuffix(path)) {
        showPlainMessage(tr("Import Box"), tr("Please choose correct file to import."));
        return;
    }
    const QString encoding = importEncoding(path, DialogParts::chosenEncoding(m_importEncodingBox));
    if (encoding.isEmpty())
        return;
    m_contactView->commitCurrent();
    m_importDialog->hide();
    showOperationOverlay();
    // The data manager has told the user why when it fails.
    const bool imported = DataMgr::instance()->importPhonebook(
        path, encoding, m_importClearYes->isChecked(), m_importReplaceYes->isChecked());
    hideOperationOverlay();
    if (imported) {
        m_isSaved = false;
        ImportAbort();
    } else {
        m_importDialog->show();
    }
}

void MainWindow::ImportAbort()
{
    if (m_importDialog)
        m_importDialog->deleteLater();
    m_importDialog = nullptr;
    m_importEncodingBox = nullptr;
    m_importClearYes = m_importReplaceYes = nullptr;
    m_importPathEdit = nullptr;
}

// Network import

void MainWindow::selectWebFile()
{
    if (!m_webImport) {
        m_webImport = new WebImport(this);
        connect(m_webImport, &WebImport::webImportSuccess, this, &MainWindow::beginWebImport);
    }
    m_webImport->show();
    m_webImport->raise();
}

void MainWindow::beginWebImport(const QString &fileName, const QString &encoding, bool clearList, bool replaceWay)
{
    const QString path = m_appDir + QStringLiteral("web/") + fileName;
    if (!hasReaderSuffix(path)) {
        showPlainMessage(tr("Import Box"), tr("Please choose correct file to import."));
        return;
    }
    const QString chosen = importEncoding(path, encoding);
    if (chosen.isEmpty())
        return;
    if (m_webImport)
        m_webImport->hide();
    m_contactView->commitCurrent();
    showOperationOverlay();
    const bool imported = DataMgr::instance()->importPhonebook(path, chosen, clearList, replaceWay);
    hideOperationOverlay();
    if (imported) {
        m_isSaved = false;
        if (m_webImport)
            m_webImport->deleteLater();
        m_webImport = nullptr;
    } else if (m_webImport) {
        m_webImport->show();
    }
}

// Export

void MainWindow::localExport()
{
    if (m_exportDialog) {
        m_exportDialog->raise();
        return;
    }
    auto *dialog = new QDialog(this);
    dialog->setObjectName(QStringLiteral("export_dialog"));
    dialog->setModal(true);
    DialogParts::makeCard(dialog, 502, 253);
    dialogTitle(tr("Export file"), QRect(25, 5, 200, 35), dialog);
    const QString colon = QStringLiteral(":");
    DialogParts::rowLabel(tr("Format") + colon, QRect(5, 40, 80, 35), dialog);
    DialogParts::rowLabel(tr("Encode") + colon, QRect(5, 80, 80, 35), dialog);
    DialogParts::rowLabel(tr("Name") + colon, QRect(5, 120, 80, 35), dialog);
    DialogParts::rowLabel(tr("Export to") + colon, QRect(5, 160, 80, 35), dialog);
    m_exportFormatBox = new QComboBox(dialog);
    m_exportFormatBox->setObjectName(QStringLiteral("export_format_box"));
    m_exportFormatBox->setGeometry(90, 40, 305, 35);
    m_exportFormatBox->addItems(ExportFactory::formatLabels());
    m_exportFormatBox->setCurrentIndex(ExportFactory::UniXml);
    m_exportEncodingBox = new QComboBox(dialog);
    m_exportEncodingBox->setObjectName(QStringLiteral("export_encoding_box"));
    m_exportEncodingBox->setGeometry(90, 80, 305, 35);
    m_exportEncodingBox->addItems(ExportFactory::encodingNames());
    m_exportNameEdit = new QLineEdit(dialog);
    m_exportNameEdit->setObjectName(QStringLiteral("export_name_edit"));
    m_exportNameEdit->setGeometry(90, 120, 305, 35);
    m_exportPathEdit = new QLineEdit(m_exportFolder, dialog);
    m_exportPathEdit->setObjectName(QStringLiteral("export_path_edit"));
    m_exportPathEdit->setGeometry(90, 160, 305, 35);
    auto *select
        = dialogButton(tr("Select path"), QStringLiteral("export_select_button"), QRect(405, 160, 90, 35), dialog);
    auto *ok = dialogButton(tr("OK"), QStringLiteral("export_ok_button"), QRect(100, 205, 100, 40), dialog);
    auto *cancel = dialogButton(tr("Cancel"), QStringLiteral("export_cancel_button"), QRect(300, 205, 100, 40), dialog);
    ok->setDefault(true);
    connect(select, &QPushButton::clicked, this, &MainWindow::selectExportPath);
    connect(ok, &QPushButton::clicked, this, &MainWindow::exportBegin);
    connect(cancel, &QPushButton::clicked, this, &MainWindow::exportAbort);
    connect(dialog, &QDialog::rejected, this, &MainWindow::exportAbort);
    m_exportDialog = dialog;
    dialog->show();
}

void MainWindow::selectExportPath()
{
    const QString folder = m_exportFolder.isEmpty() ? QStringLiteral("target/") : m_exportFolder;
    const QString path = runFileDialog(tr("Select a folder to export"), folder, QFileDialog::Directory,
        QFileDialog::AcceptOpen, {}, { tr("Look in:"), tr("Path Name"), tr("Path Type"), tr("Select"), tr("Cancel") });
    if (path.isEmpty())
        return;
    m_exportFolder = path;
    if (m_exportPathEdit)
        m_exportPathEdit->setText(path);
}

void MainWindow::exportBegin()
{
    if (!m_exportDialog)
        return;
    const QString name = m_exportNameEdit->text().trimmed();
    const QString folder = m_exportPathEdit->text().trimmed();
    // A name is a file name: it cannot lead into another folder.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || folder.isEmpty()
        || !QFileInfo(folder).isDir()) {
        showPlainMessage(tr("Export Box"), tr("Please enter a name and choose correct path to export."));
        return;
    }
    const int format = m_exportFormatBox->currentIndex();
    const QString file = folder + QLatin1Char('/') + name + ExportFactory::extension(format);
    if (QFileInfo::exists(file)) {
        QMessageBox box(QMessageBox::NoIcon, tr("Replace action"),
            file + tr("has already exist") + QStringLiteral(",") + tr("do you want to replace it?"),
            QMessageBox::NoButton, this);
        box.setObjectName(QStringLiteral("replace_box"));
        QPushButton *yes = box.addButton(tr("Yes"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(tr("No"), QMessageBox::NoRole);
        box.setDefaultButton(no);
        box.exec();
        if (box.clickedButton() != yes)
            return;
    }
    m_exportDialog->hide();
    showOperationOverlay();
    commitDetail();
    const bool exported = DataMgr::instance()->exportAsSaved(format, m_exportEncodingBox->currentText(), name, folder);
    hideOperationOverlay();
    m_exportDialog->show();
    if (exported) {
        m_exportFolder = folder;
        showPlainMessage(tr("Export Box"), tr("Phone book has been exported successfully!"));
        exportAbort();
    } else {
        showPlainMessage(
            tr("Export Box"), tr("Phone book export failed, please check directory or try another coding format!"));
    }
}

void MainWindow::exportAbort()
{
    if (m_exportDialog)
        m_exportDialog->deleteLater();
    m_exportDialog = nullptr;
    m_exportFormatBox = m_exportEncodingBox = nullptr;
    m_exportNameEdit = m_exportPathEdit = nullptr;
}

// HTTP port

void MainWindow::configHttpdPortOption()
{
    if (m_portDialog) {
        m_portDialog->raise();
        return;
    }
    auto *dialog = new QDialog(this);
    dialog->setObjectName(QStringLiteral("port_dialog"));
    dialog->setModal(true);
    DialogParts::makeCard(dialog, 500, 200);
    dialogTitle(tr("Configure Httpd Port"), QRect(10, 10, 300, 40), dialog);
    DialogParts::rowLabel(tr("Use the Default Port 80:"), QRect(10, 50, 190, 35), dialog);
    DialogParts::rowLabel(tr("Custom Port (5000-65535):"), QRect(10, 100, 190, 35), dialog);
    m_portDefaultBox = new QCheckBox(dialog);
    m_portDefaultBox->setObjectName(QStringLiteral("port_default_box"));
    m_portDefaultBox->setGeometry(210, 50, 250, 35);
    m_portDefaultBox->setChecked(true);
    m_portEdit = new QLineEdit(dialog);
    m_portEdit->setObjectName(QStringLiteral("port_edit"));
    m_portEdit->setGeometry(210, 100, 250, 35);
    m_portEdit->setValidator(new QIntValidator(0, 65535, m_portEdit));
    m_portEdit->setEnabled(false);
    auto *ok = dialogButton(tr("OK"), QStringLiteral("port_ok_button"), QRect(100, 150, 100, 40), dialog);
    auto *cancel = dialogButton(tr("Cancel"), QStringLiteral("port_cancel_button"), QRect(300, 150, 100, 40), dialog);
    ok->setDefault(true);
    bool useDefault = true;
    QString port;
    if (OptionFiles::readPort(QStringLiteral("port.xml"), &useDefault, &port)) {
        m_portDefaultBox->setChecked(useDefault);
        m_portEdit->setText(port);
    }
    slotUseDefault(m_portDefaultBox->isChecked());
    connect(m_portDefaultBox, &QCheckBox::toggled, this, &MainWindow::slotUseDefault);
    connect(ok, &QPushButton::clicked, this, &MainWindow::configHttpdPortBegin);
    connect(cancel, &QPushButton::clicked, this, &MainWindow::configHttpdPortAbort);
    connect(dialog, &QDialog::rejected, this, &MainWindow::configHttpdPortAbort);
    m_portDialog = dialog;
    dialog->show();
}

void MainWindow::slotUseDefault(bool checked)
{
    if (m_portEdit)
        m_portEdit->setEnabled(!checked);
}

void MainWindow::configHttpdPortBegin()
{
    if (!m_portDialog)
        return;
    const int port = m_portEdit->text().toInt();
    const bool useDefault = m_portDefaultBox->isChecked();
    if (!useDefault && (port < 5000 || port > 65535)) {
        QMessageBox::critical(this, tr("Port Error"), tr("The port should between 5000 and 65535!"));
        return;
    }
    if (!OptionFiles::writePort(QStringLiteral("port.xml"), useDefault, m_portEdit->text())) {
        QMessageBox::critical(this, tr("Port Error"),
            tr("The port could not be saved in %1.")
                .arg(QDir::toNativeSeparators(QFileInfo(QStringLiteral("port.xml")).absoluteFilePath())));
        return;
    }
    configHttpdPortAbort();
}

void MainWindow::configHttpdPortAbort()
{
    if (m_portDialog)
        m_portDialog->deleteLater();
    m_portDialog = nullptr;
    m_portDefaultBox = nullptr;
    m_portEdit = nullptr;
}
