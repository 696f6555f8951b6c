// The main window's address books: their dialog, the refreshes' line in the
// status bar, and what a refresh changes in the window.

#include "app/MainWindow.h"

#include "app/AddressBookDialog.h"
#include "app/CardRefresher.h"
#include "app/PasswordStore.h"
#include "data/Notifier.h"
#include "data/Records.h"
#include "manager/DataMgr.h"
#include "widgets/ContactEditor.h"
#include "widgets/ContactView.h"
#include "widgets/GroupModel.h"
#include "widgets/GroupView.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

void MainWindow::createRefresher()
{
    m_passwords = new PasswordStore(this);
    CardRefresher::Window hooks;
    hooks.widget = this;
    hooks.hasUnsavedEdits = [this] { return !isSaved(); };
    hooks.isBusy = [this] {
        return DataMgr::instance()->isBusy() || QApplication::activeModalWidget() || QApplication::activePopupWidget()
            || (m_overlay && m_overlay->isVisible());
    };
    hooks.prepare = [this] { return prepareForRefresh(); };
    m_refresher = new CardRefresher(m_passwords, hooks, this);

    m_refreshStatus = new QLabel(this);
    m_refreshStatus->setObjectName(QStringLiteral("refresh_status"));
    // A long message is cut, not a reason for the window to grow; its tip holds it whole.
    m_refreshStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_refreshStatus->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_refreshCancel = new QPushButton(this);
    m_refreshCancel->setObjectName(QStringLiteral("refresh_cancel_button"));
    m_refreshCancel->setFlat(true);
    m_refreshCancel->hide();
    statusBar()->addPermanentWidget(m_refreshStatus, 1);
    statusBar()->addPermanentWidget(m_refreshCancel);
    connect(m_refreshCancel, &QPushButton::clicked, m_refresher, &CardRefresher::cancel);
    connect(m_refresher, &CardRefresher::statusChanged, this, &MainWindow::showRefreshStatus);
    connect(m_refresher, &CardRefresher::phonebookRefreshed, this, &MainWindow::takeRefreshedPhonebook);
    connect(m_refresher, &CardRefresher::refreshFailed, this, &MainWindow::reportRefreshFailure);
    connect(m_passwords, &PasswordStore::sessionOnlyNotice, this, [this](const QString &text) {
        Notifier::current()->message(Notifier::Information, tr("Address books"), text);
    });
    m_refresher->reloadSources();
}

AddressBookDialog *MainWindow::addressBookDialog() const
{
    return m_addressBookDialog;
}

void MainWindow::openAddressBooks()
{
    if (!m_addressBookDialog) {
        m_addressBookDialog = new AddressBookDialog(m_refresher, m_passwords, this);
        m_addressBookDialog->setAttribute(Qt::WA_DeleteOnClose);
        // Contacts of a removed book may be edited now.
        connect(m_addressBookDialog, &AddressBookDialog::sourcesChanged, this, &MainWindow::reshowContact);
    }
    m_addressBookDialog->show();
    m_addressBookDialog->raise();
    m_addressBookDialog->activateWindow();
}

void MainWindow::showRefreshStatus(const QString &text, bool running)
{
    m_refreshStatus->setText(text);
    m_refreshStatus->setToolTip(text);
    m_refreshCancel->setText(tr("Cancel"));
    m_refreshCancel->setVisible(running);
}

Result MainWindow::prepareForRefresh()
{
    DataMgr *mgr = DataMgr::instance();
    const int group = GroupModel::groupIndex(m_groupView->currentGroupRow());
    m_groupBeforeRefresh = group >= 0 ? mgr->phonebook().groups().at(group).name : QString();
    const int current = m_contactView->currentContact();
    m_contactBeforeRefresh = current >= 0 ? mgr->phonebook().contacts().value(current).id : -1;
    if (mgr->phonebook().hasData())
        return Result();
    // Started without the stored phonebook: it is the one the phones get, and the
    // one the refresh goes into; an empty one would be saved over it.
    const DataMgr::StoredPhonebook stored = mgr->storedPhonebook();
    if (stored.contacts < 0)
        return Result::failure(tr("The phonebook could not be read from phonebook.db."), Result::Cause::Store);
    if (stored.isEmpty())
        return Result();
    if (const Result loaded = mgr->reload(); !loaded)
        return loaded;
    forgetHistory();
    setSaved(true);
    return Result();
}

void MainWindow::restoreViewAfterRefresh()
{
    const DataMgr *mgr = DataMgr::instance();
    const int group = m_groupBeforeRefresh.isEmpty() ? -1 : mgr->phonebook().indexOfGroup(m_groupBeforeRefresh);
    m_groupView->selectGroupRow(group >= 0 ? GroupModel::rowOfGroup(group) : 0);
    const int position = m_contactBeforeRefresh >= 0 ? mgr->phonebook().indexOfContact(m_contactBeforeRefresh) : -1;
    if (position >= 0)
        m_contactView->selectContact(position);
}

void MainWindow::takeRefreshedPhonebook()
{
    // The phonebook was replaced and saved: nothing before it can be undone.
    forgetHistory();
    setSaved(true);
    restoreViewAfterRefresh();
    reshowContact();
}

void MainWindow::reportRefreshFailure(const QString &name, const QString &message, bool asked)
{
    restoreViewAfterRefresh();
    // A refresh on schedule says it in the status bar only, not in a box every few minutes.
    if (asked)
        Notifier::current()->message(Notifier::Warning, tr("Address books"),
            tr("The address book \"%1\" could not be refreshed: %2").arg(name, message));
}

QString MainWindow::sourceNote(int id)
{
    const int source = DataMgr::instance()->contactSources().value(id, 0);
    if (source == 0)
        return QString();
    return tr("From the address book \"%1\": a refresh would overwrite edits, so only its groups can be changed "
              "here.")
        .arg(m_refresher->sourceName(source));
}

QList<int> MainWindow::deletableRows(const QList<int> &rows, QStringList *kept)
{
    DataMgr *mgr = DataMgr::instance();
    const QHash<int, int> &sources = mgr->contactSources();
    QList<int> deletable;
    for (const int row : rows) {
        const int source = sources.value(mgr->phonebook().contacts().value(row).id, 0);
        if (source == 0) {
            deletable << row;
        } else if (kept) {
            *kept << m_refresher->sourceName(source);
        }
    }
    return deletable;
}

void MainWindow::reshowContact()
{
    const int current = m_contactView->currentContact();
    const QList<ContactInfo> &contacts = DataMgr::instance()->phonebook().contacts();
    if (m_contactEditor->isEmpty() || m_contactEditor->isEdited() || current < 0 || current >= contacts.size())
        return;
    m_contactEditor->showContact(contacts.at(current), sourceNote(contacts.at(current).id));
}
