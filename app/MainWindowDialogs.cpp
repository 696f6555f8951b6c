// The import, export and port commands of the main window: each opens its
// dialog and acts on what the user chose there.

#include "app/MainWindow.h"

#include "app/WindowMemory.h"
#include "data/AppPaths.h"

#include "app/EditHistory.h"
#include "app/ExportDialog.h"
#include "app/ImportDialog.h"
#include "app/OptionFiles.h"
#include "app/PortDialog.h"
#include "app/WebImport.h"
#include "data/TextCodec.h"
#include "manager/DataMgr.h"
#include "widgets/ContactModel.h"
#include "widgets/ContactView.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

// Import

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

bool MainWindow::runImport(ImportOptions options, QWidget *dialog)
{
    options.encoding = importEncoding(options.path, options.encoding);
    if (options.encoding.isEmpty())
        return false;
    const QPointer<QWidget> shown(dialog);
    m_contactView->commitCurrent();
    if (shown)
        shown->hide();
    showOperationOverlay();
    // The list's keys are taken anew after the import; until then they would
    // only sit beneath the file and its rows.
    m_contactView->contactModel()->dropKeys();
    QStringList notices;
    const Result imported = DataMgr::instance()->importPhonebook(options, &notices);
    hideOperationOverlay();
    if (imported) {
        m_history->markStoreWritten();
        recordEdit(tr("Import"));
        // A file read all the same, with something the user should know of it.
        if (!notices.isEmpty())
            showMessage(QMessageBox::Information, tr("Import Box"), notices.join(QLatin1Char('\n')));
    } else {
        showMessage(QMessageBox::Warning, tr("Import Box"), imported.message());
        if (shown)
            shown->show();
    }
    return imported.ok();
}

void MainWindow::localImport()
{
    if (m_importDialog) {
        m_importDialog->raise();
        return;
    }
    m_importDialog = new ImportDialog(m_importPath, this);
    // Once closed it is no longer open for the command, though deleted only later.
    connect(m_importDialog, &QDialog::finished, this, [this] { m_importDialog.clear(); });
    connect(m_importDialog, &ImportDialog::fileRequested, this, &MainWindow::chooseImportFile);
    connect(m_importDialog, &ImportDialog::submitted, this, &MainWindow::importChosenFile);
    m_importDialog->show();
}

void MainWindow::chooseImportFile()
{
    QString folder;
    const QString path = runFileDialog(tr("Open an phonebook contact file (recommended phonebook.xml)"),
        startFolder(WindowMemory::Picker::Import), QFileDialog::ExistingFile, QFileDialog::AcceptOpen,
        { tr("Phonebook files (*.xml *.csv *.vcf)"), tr("common xml text phonebook (*.xml)"),
            tr("csv text phonebook(*.csv)"), tr("common VCard phonebook(*.vcf)"), tr("All files (*)") },
        { tr("Look in"), tr("File Name"), tr("File Type"), tr("Open"), tr("Cancel") }, &folder);
    if (path.isEmpty())
        return;
    WindowMemory::setFolder(WindowMemory::Picker::Import, folder);
    m_importPath = path;
    if (m_importDialog)
        m_importDialog->setPath(path);
}

void MainWindow::importChosenFile()
{
    if (!m_importDialog)
        return;
    const ImportOptions options = m_importDialog->options();
    if (!options.isReadableFile()) {
        showPlainMessage(tr("Import Box"), tr("Please choose correct file to import."));
        return;
    }
    if (runImport(options, m_importDialog) && m_importDialog)
        m_importDialog->accept();
}

void MainWindow::openWebImport()
{
    if (!m_webImport) {
        m_webImport = new WebImport(this);
        connect(m_webImport, &WebImport::webImportSuccess, this, &MainWindow::importDownloadedFile);
    }
    m_webImport->show();
    m_webImport->raise();
}

void MainWindow::importDownloadedFile(const ImportOptions &options)
{
    if (!options.hasReaderSuffix()) {
        showPlainMessage(tr("Import Box"), tr("Please choose correct file to import."));
        return;
    }
    if (runImport(options, m_webImport) && m_webImport) {
        m_webImport->deleteLater();
        m_webImport = nullptr;
    }
}

// Export

void MainWindow::localExport()
{
    if (m_exportDialog) {
        m_exportDialog->raise();
        return;
    }
    m_exportDialog = new ExportDialog(m_exportFolder, this);
    connect(m_exportDialog, &QDialog::finished, this, [this] { m_exportDialog.clear(); });
    connect(m_exportDialog, &ExportDialog::folderRequested, this, &MainWindow::chooseExportFolder);
    connect(m_exportDialog, &ExportDialog::submitted, this, &MainWindow::exportChosenFile);
    connect(m_exportDialog, &ExportDialog::contactChosen, this, &MainWindow::revealContact);
    m_exportDialog->show();
}

void MainWindow::chooseExportFolder()
{
    const QString path = runFileDialog(tr("Select a folder to export"),
        m_exportFolder.isEmpty() ? startFolder(WindowMemory::Picker::Export) : m_exportFolder, QFileDialog::Directory,
        QFileDialog::AcceptOpen, {}, { tr("Look in:"), tr("Path Name"), tr("Path Type"), tr("Select"), tr("Cancel") });
    if (path.isEmpty())
        return;
    m_exportFolder = path;
    WindowMemory::setFolder(WindowMemory::Picker::Export, path);
    if (m_exportDialog)
        m_exportDialog->setFolder(path);
}

void MainWindow::exportChosenFile()
{
    if (!m_exportDialog)
        return;
    const ExportOptions options = m_exportDialog->options();
    if (!options.isComplete()) {
        showPlainMessage(tr("Export Box"), tr("Please enter a name and choose correct path to export."));
        return;
    }
    const QString file = options.filePath();
    if (QFileInfo::exists(file)) {
        QMessageBox box(QMessageBox::NoIcon, tr("Replace action"),
            file + tr("has already exist") + QStringLiteral(",") + tr("do you want to replace it?"),
            QMessageBox::NoButton, this);
        box.setObjectName(QStringLiteral("replace_box"));
        QPushButton *yes = box.addButton(tr("Yes"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(tr("No"), QMessageBox::NoRole);
        box.setDefaultButton(no);
        box.exec();
        if (box.clickedButton() != yes || !m_exportDialog)
            return;
    }
    m_exportDialog->hide();
    showOperationOverlay();
    commitDetail();
    const Result exported = DataMgr::instance()->exportAsSaved(options);
    hideOperationOverlay();
    if (m_exportDialog)
        m_exportDialog->show();
    if (exported) {
        m_exportFolder = options.folder;
        WindowMemory::setFolder(WindowMemory::Picker::Export, options.folder);
        showPlainMessage(tr("Export Box"), tr("Phone book has been exported successfully!"));
        if (m_exportDialog)
            m_exportDialog->accept();
    } else {
        showPlainMessage(tr("Export Box"),
            tr("Phone book export failed, please check directory or try another coding format!") + QLatin1Char('\n')
                + exported.message());
    }
}

// HTTP port

void MainWindow::openPortDialog()
{
    if (m_portDialog) {
        m_portDialog->raise();
        return;
    }
    PortOptions saved;
    bool useDefault = true;
    QString port;
    if (OptionFiles::readPort(AppPaths::portFile(), &useDefault, &port))
        saved = { useDefault, port };
    m_portDialog = new PortDialog(saved, this);
    connect(m_portDialog, &QDialog::finished, this, [this] { m_portDialog.clear(); });
    connect(m_portDialog, &PortDialog::submitted, this, &MainWindow::savePortChoice);
    m_portDialog->show();
}

void MainWindow::savePortChoice()
{
    if (!m_portDialog)
        return;
    const PortOptions options = m_portDialog->options();
    if (!options.isValid()) {
        QMessageBox::critical(this, tr("Port Error"), tr("The port should between 5000 and 65535!"));
        return;
    }
    if (!OptionFiles::writePort(AppPaths::portFile(), options.useDefault, options.port)) {
        QMessageBox::critical(this, tr("Port Error"),
            tr("The port could not be saved in %1.")
                .arg(QDir::toNativeSeparators(QFileInfo(AppPaths::portFile()).absoluteFilePath())));
        return;
    }
    if (m_portDialog)
        m_portDialog->accept();
}
