// The phonebook file commands of the main window: New, Save, History and Backup.

#include "app/MainWindow.h"

#include "data/AppPaths.h"
#include "export/ExportFactory.h"
#include "manager/DataMgr.h"
#include "widgets/ContactView.h"
#include "widgets/SearchEdit.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

QString MainWindow::runFileDialog(const QString &caption, const QString &folder, QFileDialog::FileMode mode,
    QFileDialog::AcceptMode accept, const QStringList &filters, const QStringList &labels, QString *chosenFolder)
{
    // The toolkit's own dialog, so that its captions and labels are ours on every platform.
    QFileDialog dialog(nullptr, caption, folder);
    dialog.setObjectName(QStringLiteral("file_dialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog.setWindowIcon(windowIcon());
    dialog.setFileMode(mode);
    dialog.setAcceptMode(accept);
    dialog.setViewMode(QFileDialog::Detail);
    if (mode == QFileDialog::Directory)
        dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.first());
    }
    const QFileDialog::DialogLabel roles[] = { QFileDialog::LookIn, QFileDialog::FileName, QFileDialog::FileType,
        QFileDialog::Accept, QFileDialog::Reject };
    for (int i = 0; i < labels.size() && i < 5; ++i)
        dialog.setLabelText(roles[i], labels[i]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (chosenFolder)
        *chosenFolder = dialog.directory().absolutePath();
    return dialog.selectedFiles().first();
}

QString MainWindow::startFolder(WindowMemory::Picker picker) const
{
    const QString remembered = WindowMemory::folder(picker);
    if (!remembered.isEmpty())
        return remembered;
    // History copies and backups have folders of their own; other files are the user's.
    if (picker == WindowMemory::Picker::History)
        return m_appDir + QStringLiteral("target/");
    if (picker == WindowMemory::Picker::Backup) {
        const QString backupDir = m_appDir + QStringLiteral("backup");
        QDir().mkpath(backupDir);
        return backupDir;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

bool MainWindow::resetPhonebook()
{
    DataMgr *mgr = DataMgr::instance();
    // The store first: when it cannot be emptied, nothing else is touched.
    if (const Result emptied = mgr->emptyStore(); !emptied) {
        QMessageBox::critical(this, DataMgr::tr("Phonebook store"),
            DataMgr::tr("The phonebook could not be written to phonebook.db (%1).").arg(emptied.message()));
        return false;
    }
    mgr->setBusy(true);
    mgr->clearPhonebook();
    forgetHistory();
    if (m_searchEdit->isActive()) {
        m_searchEdit->deactivate();
        m_searchEdit->clearFocus();
    }
    showEmptyDetail();
    mgr->removeTemporaryFiles();
    mgr->setBusy(false);
    return true;
}

MainWindow::SaveAnswer MainWindow::askToSave(
    QMessageBox::Icon icon, const QString &title, const QString &text, const QString &discard, const QString &name)
{
    QMessageBox box(icon, title, text, QMessageBox::NoButton, this);
    box.setObjectName(name);
    QPushButton *save = box.addButton(tr("Save"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(discard, QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveFirst;
    return box.clickedButton() == no ? Discard : Cancelled;
}

bool MainWindow::settleUnsavedEdits(bool exiting)
{
    if (isSaved())
        return true;
    const SaveAnswer answer = exiting
        ? askToSave(QMessageBox::Question, tr("Exit program"), tr("Do you want to save this phone book?"),
            tr("Exit without saving"), QStringLiteral("exit_box"))
        : askToSave(QMessageBox::NoIcon, tr("Save option"), tr("You want to save current edit phone book message?"),
            tr("No,thanks."), QStringLiteral("save_option_box"));
    // A save that failed has said why; the edits stay, and so does everything else.
    return answer == Discard || (answer == SaveFirst && saveFile());
}

void MainWindow::constructNewFile()
{
    if (DataMgr::instance()->phonebook().hasData() && !settleUnsavedEdits(false))
        return;
    resetPhonebook();
}

bool MainWindow::saveFile()
{
    showOperationOverlay();
    commitDetail();
    DataMgr *mgr = DataMgr::instance();
    mgr->setBusy(true);
    const Result saved = mgr->savePhonebookFiles();
    mgr->setBusy(false);
    hideOperationOverlay();
    if (!saved) {
        switch (saved.cause()) {
        case Result::Cause::Store:
            showMessage(QMessageBox::Critical, DataMgr::tr("Phonebook store"), saved.message());
            break;
        case Result::Cause::Locked:
            showMessage(QMessageBox::Critical, tr("Save Box"), saved.message());
            break;
        case Result::Cause::Other:
            showPlainMessage(tr("Save Box"), saved.message());
            break;
        }
        return false;
    }
    setSaved(true);
    showPlainMessage(
        tr("Save Box"), tr("current phonebook has been saved in target folder and named with current date and time."));
    return true;
}

void MainWindow::showHistory()
{
    QString folder;
    const QString path = runFileDialog(tr("Select a history to continue edit"),
        startFolder(WindowMemory::Picker::History), QFileDialog::ExistingFile, QFileDialog::AcceptOpen,
        { tr("Saved phonebooks (*.xml *.csv *.vcf)"), tr("All files (*)") },
        { tr("Look in"), tr("File Name"), tr("File Type"), tr("Select"), tr("Cancel") }, &folder);
    if (path.isEmpty())
        return;
    WindowMemory::setFolder(WindowMemory::Picker::History, folder);
    if (!settleUnsavedEdits(false))
        return;
    m_contactView->commitCurrent();
    showOperationOverlay();
    // Emptied first and filled from the file as one step: a file that cannot be
    // read leaves the phonebook as it was.
    DataMgr *mgr = DataMgr::instance();
    const Result imported = mgr->importHistory(path);
    hideOperationOverlay();
    // A store that could not be written (or another program's lock on it) is no
    // fault of the history file.
    if (imported.cause() == Result::Cause::Store) {
        QMessageBox::critical(this, DataMgr::tr("Phonebook store"), imported.message());
        return;
    }
    if (!imported) {
        showPlainMessage(tr("Import History Failed"), tr("Import history failed,please check the history file."));
        return;
    }
    forgetHistory();
    if (m_searchEdit->isActive()) {
        m_searchEdit->deactivate();
        m_searchEdit->clearFocus();
    }
}

void MainWindow::showBackupWindow()
{
    QString folder;
    // A backup is always written in the general XML layout.
    const QString chosen = runFileDialog(tr("Back up"), startFolder(WindowMemory::Picker::Backup), QFileDialog::AnyFile,
        QFileDialog::AcceptSave, { tr("Phonebook backups (*.xml)") },
        { tr("Look in"), tr("File Name"), tr("File Type"), tr("Back up"), tr("Cancel") }, &folder);
    if (chosen.isEmpty())
        return;
    WindowMemory::setFolder(WindowMemory::Picker::Backup, folder);
    const QFileInfo info(chosen);
    QString name = info.fileName();
    // One known ending is dropped, so "a.csv.xml" stays "a.csv.xml".
    for (const char *suffix : { ".xml", ".csv", ".vcf" }) {
        if (name.endsWith(QLatin1String(suffix))) {
            name.chop(4);
            break;
        }
    }
    if (name.isEmpty())
        return;
    commitDetail();
    // Always the general layout, whatever ending was typed; the writer adds ".xml".
    // What a save would write now: the groups as they are, not as last saved.
    QString written;
    const Result backedUp = DataMgr::instance()->exportAsSaved(
        { ExportFactory::UniXml, QStringLiteral("UTF-8"), name, info.absolutePath() }, &written);
    if (backedUp)
        showPlainMessage(
            tr("Backup Option"), tr("The phonebook has been backed up to %1.").arg(QDir::toNativeSeparators(written)));
    else
        showPlainMessage(tr("Backup Option"),
            tr("Backup failed, please check the folder and try again.") + QLatin1Char('\n') + backedUp.message());
}
