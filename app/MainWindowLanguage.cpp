// The main window's texts: set once it is built and again whenever the language
// changes, so a new language shows at once.

#include "app/MainWindow.h"

#include "app/TrayIcon.h"
#include "widgets/ContactEditor.h"
#include "widgets/PhoneCheckView.h"
#include "widgets/SearchEdit.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace {

QString withKey(const QString &hint, const QString &key)
{
    return hint + QStringLiteral("  ") + key;
}

void setAction(QAction *action, const QString &text, const QString &statusTip = QString())
{
    action->setText(text);
    action->setStatusTip(statusTip);
}

} // namespace

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QMainWindow::changeEvent(event);
}

void MainWindow::retranslateUi()
{
    setAction(m_newAct, tr("&New"), tr("construct a new phone book"));
    setAction(m_saveAct, tr("&Save"), tr("Save file"));
    setAction(m_historyAct, tr("&History"), tr("Show history"));
    setAction(m_exitAct, tr("&Exit"), tr("Quit program"));
    setAction(m_localImportAct, tr("&Local Import"), tr("Import file local"));
    setAction(m_webImportAct, tr("&Network Import"), tr("Import file web"));
    setAction(m_addressBooksAct, tr("Address &books…"), tr("Contacts from address-book servers, kept up to date"));
    setAction(m_localExportAct, tr("&Local Export"), tr("Export file local"));
    setAction(m_phonesAct, tr("&Phones"), tr("Check what each phone model gets"));
    setAction(m_autoStartAct, tr("Auto Start"));
    setAction(m_recoveryDataAct, tr("Recovery Data"));
    setAction(m_autoHttpdAct, tr("Auto Httpd"));
    setAction(m_httpdPortAct, tr("Configure Httpd Port"), tr("Configure Httpd Port"));
    setAction(m_helpAct, tr("&Help"), tr("Show help info"));
    setAction(m_aboutAct, tr("About"), tr("Show about info"));
    setAction(m_deleteAct, tr("&Delete Contacts"));
    setAction(m_findAct, tr("&Find"));
    setAction(m_selectAllAct, tr("Select &All"));
    setAction(m_selectNoneAct, tr("Select &None"));
    setAction(m_confirmDeleteAct, tr("Confirm Deletions"));
    updateEditActions();

    m_fileMenu->setTitle(tr("&File"));
    m_editMenu->setTitle(tr("E&dit"));
    m_importMenu->setTitle(tr("&Import"));
    m_exportMenu->setTitle(tr("&Export"));
    m_languageMenu->setTitle(tr("&Language"));
    m_optionsMenu->setTitle(tr("&Options"));
    m_helpMenu->setTitle(tr("&Help"));
    m_aboutMenu->setTitle(tr("&About"));

    m_newButton->setText(tr("New"));
    m_newButton->setToolTip(withKey(tr("New phonebook"), tr("Ctrl+N")));
    m_saveButton->setText(tr("Save file"));
    m_saveButton->setToolTip(withKey(tr("Save phonebook"), tr("Ctrl+S")));
    m_exportButton->setText(tr("Export"));
    m_exportButton->setToolTip(withKey(tr("Export phonebook"), tr("Ctrl+E")));
    m_importButton->setText(tr("Import"));
    m_importButton->setToolTip(withKey(tr("Import phonebook"), tr("Ctrl+I")));
    m_historyButton->setText(tr("History"));
    m_historyButton->setToolTip(withKey(tr("Recent phonebook"), tr("Ctrl+R")));
    m_backupButton->setText(tr("Backup"));
    // A new text takes the button's own key away.
    m_backupButton->setShortcut(QKeySequence(QStringLiteral("CTRL+B")));
    m_backupButton->setToolTip(withKey(tr("Backup phonebook"), tr("Ctrl+B")));
    m_phonesButton->setText(tr("Phones"));
    m_phonesButton->setToolTip(withKey(tr("Check what each phone model gets"), tr("Ctrl+P")));
    setHttpdButtonOpen(m_httpdShowsOpen);

    m_groupTitleLabel->setText(QStringLiteral("    ") + tr("Groups"));
    m_batchButton->setToolTip(withKey(tr("multiple choice"), tr("Ctrl+M")));
    m_searchEdit->setHint(tr("Enter contact's name to search"));
    m_addContactButton->setToolTip(withKey(tr("Create one contact"), tr("Ctrl+G")));
    if (auto *addText = m_addContactButton->findChild<QLabel *>(QStringLiteral("contact_add_text")))
        addText->setText(tr(" Add new contact"));
    // The picture of an empty group is built with its texts; the shown contact
    // follows the change itself, keeping what the user typed.
    if (m_contactEditor->isEmpty())
        showEmptyDetail();

    if (m_phonesView) {
        m_phonesView->setWindowTitle(tr("Phones"));
        // The findings are worded when the check runs.
        checkPhones();
    }
    if (m_refreshCancel)
        m_refreshCancel->setText(tr("Cancel"));
    if (m_httpdLog)
        m_httpdLog->setWindowTitle(tr("HTTPD server request informations"));
    if (m_overlay) {
        if (auto *text = m_overlay->findChild<QLabel *>(QStringLiteral("operation_text")))
            text->setText(tr("Operating,please wait."));
    }
    if (m_restoreAct) {
        m_restoreAct->setText(tr("Restore"));
        m_trayExitAct->setText(tr("Exit"));
        m_trayIcon->setToolTip(tr("Quorvane Phonebook Editor"));
    }
}
