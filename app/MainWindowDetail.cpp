// The main window's side of the contact editor: what it shows, the removal of a
// blank contact and the commit of the edits into the phonebook.

#include "app/MainWindow.h"

#include "app/EditHistory.h"
#include "data/Records.h"
#include "manager/DataMgr.h"
#include "widgets/ContactEditor.h"
#include "widgets/ContactModel.h"
#include "widgets/ContactView.h"
#include "widgets/GroupView.h"

void MainWindow::showEmptyDetail()
{
    QWidget *page = m_contactEditor->showNobody(m_contactView && m_contactView->isSearching());
    if (!DataMgr::instance()->phonebook().hasData())
        addSavedPhonebookOffer(page);
}

bool MainWindow::shownContactIsBlank() const
{
    // An address book's card may be blank; it is the server's to remove.
    return !m_contactEditor->isEmpty() && !m_contactEditor->isReadOnly()
        && Records::isBlank(m_contactEditor->editedContact());
}

bool MainWindow::checkDetailValues()
{
    if (m_contactEditor->isEmpty() || m_contactView->currentContact() < 0)
        return true;
    if (!shownContactIsBlank())
        return true;
    DataMgr *mgr = DataMgr::instance();
    const int groupRow = m_groupView->currentGroupRow();
    const int id = m_contactEditor->shownContact().id;
    const int position = mgr->phonebook().indexOfContact(id);
    // Nothing of it is worth keeping: it goes without a word. Just added, it
    // leaves no step behind either.
    m_contactEditor->dropEdits();
    if (position >= 0 && !m_history->dropAddedContact(id)) {
        {
            const DataMgr::BusyScope busy(mgr);
            mgr->phonebook().deleteContacts({ position });
            mgr->phonebookChanged();
        }
        recordEdit(tr("Delete %n Contact(s)", nullptr, 1));
    }
    updateEditActions();
    m_groupView->selectGroupRow(groupRow);
    return false;
}

void MainWindow::commitDetail()
{
    if (m_contactView->contactModel()->rowCount() == 0)
        return;
    // A blank contact holds nothing to write: it goes, and the save goes on
    // without it rather than stopping without a word.
    if (checkDetailValues())
        m_contactView->commitCurrent();
}

void MainWindow::showContactDetail(int current, int previous)
{
    DataMgr *mgr = DataMgr::instance();
    if (previous != -1 && !mgr->isBusy())
        commitShownContact();
    const QList<ContactInfo> &contacts = mgr->phonebook().contacts();
    if (current >= 0 && current < contacts.size() && current != previous)
        m_contactEditor->showContact(contacts.at(current), sourceNote(contacts.at(current).id));
}

void MainWindow::commitShownContact()
{
    if (m_contactEditor->isEmpty() || !m_contactEditor->isEdited())
        return;
    DataMgr *mgr = DataMgr::instance();
    // By id: positions move when contacts are added or removed around it.
    const int position = mgr->phonebook().indexOfContact(m_contactEditor->shownContact().id);
    if (position < 0)
        return;
    ContactInfo &c = mgr->phonebook().editContacts()[position];
    m_contactEditor->collectInto(c);
    Records::settleEdits(c);
    {
        const DataMgr::BusyScope busy(mgr);
        mgr->phonebook().refreshContact(position);
    }
    m_contactEditor->takeCommitted(c);
    recordEdit(tr("Edit Contact"));
    m_contactView->contactEdited(position);
}
