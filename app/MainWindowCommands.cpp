// The group and contact commands of the main window: the two context menus, new
// groups and new contacts.

#include "app/MainWindow.h"

#include "app/EditHistory.h"
#include "data/Records.h"
#include "manager/DataMgr.h"
#include "widgets/ContactEditor.h"
#include "widgets/ContactModel.h"
#include "widgets/ContactView.h"
#include "widgets/GroupModel.h"
#include "widgets/GroupView.h"

#include <QAction>
#include <QMenu>

namespace {

QAction *menuAction(QMenu *menu, const QString &text, const QString &name)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

} // namespace

bool MainWindow::inBatchMode() const
{
    return m_contactView->isBatchMode();
}

void MainWindow::showGroupMenu(const QPoint &pos)
{
    const QModelIndex index = m_groupView->indexAt(pos);
    if (!index.isValid() || GroupModel::isAddRow(index.row()))
        return;
    const int current = GroupModel::groupIndex(m_groupView->currentGroupRow());
    if (current < 0)
        return;
    const QString name = DataMgr::instance()->phonebook().groups().at(current).name;
    if (m_groupMenu)
        m_groupMenu->deleteLater();
    m_groupMenu = new QMenu(this);
    m_groupMenu->setObjectName(QStringLiteral("group_menu"));
    m_groupMenu->setAttribute(Qt::WA_DeleteOnClose);
    if (name != Records::kDefault && name != Records::kBlacklist)
        connect(menuAction(m_groupMenu, tr("Delete group"), QStringLiteral("delete_group")), &QAction::triggered, this,
            &MainWindow::deleteCurrentGroup);
    connect(menuAction(m_groupMenu, tr("Dissolute group"), QStringLiteral("dissolve_group")), &QAction::triggered, this,
        &MainWindow::dissolveCurrentGroup);
    m_groupMenu->popup(m_groupView->viewport()->mapToGlobal(pos));
}

void MainWindow::showContactMenu(const QPoint &pos)
{
    const QModelIndex index = m_contactView->indexAt(pos);
    if (!index.isValid() || m_contactView->contactModel()->rowCount() == 0)
        return;
    DataMgr *mgr = DataMgr::instance();
    if (inBatchMode()) {
        const int position = m_contactView->contactModel()->position(index.row());
        if (!m_contactView->contactModel()->isTicked(position))
            return;
    }
    if (m_contactMenu)
        m_contactMenu->deleteLater();
    m_contactMenu = new QMenu(this);
    m_contactMenu->setObjectName(QStringLiteral("contact_menu"));
    m_contactMenu->setAttribute(Qt::WA_DeleteOnClose);
    if (m_groupView->currentGroupRow() != 0)
        connect(menuAction(m_contactMenu, tr("Remove contact"), QStringLiteral("remove_contact")), &QAction::triggered,
            this, &MainWindow::removeContactsFromGroup);
    connect(menuAction(m_contactMenu, tr("Delete contact"), QStringLiteral("delete_contact")), &QAction::triggered,
        this, &MainWindow::deleteContacts);
    QMenu *moveMenu = m_contactMenu->addMenu(tr("Move to"));
    moveMenu->setObjectName(QStringLiteral("move_menu"));
    QMenu *copyMenu = m_contactMenu->addMenu(tr("Copy to"));
    copyMenu->setObjectName(QStringLiteral("copy_menu"));
    for (const GroupInfo &g : mgr->phonebook().groups()) {
        // The stored name travels as the entry's object name.
        // An "&" in a name is text, not a mnemonic.
        const QString text = QString(g.DisplayName).replace(QLatin1Char('&'), QStringLiteral("&&"));
        connect(menuAction(moveMenu, text, g.name), &QAction::triggered, this, &MainWindow::moveContactsToGroup);
        connect(menuAction(copyMenu, text, g.name), &QAction::triggered, this, &MainWindow::copyContactsToGroup);
    }
    m_contactMenu->popup(m_contactView->viewport()->mapToGlobal(pos));
}

int MainWindow::runContactCommand(const std::function<QString(int)> &text,
    const std::function<void(Phonebook &, const QList<int> &, int)> &operation, const std::function<bool(int)> &confirm,
    const std::function<QList<int>(const QList<int> &)> &select)
{
    const int groupRow = m_groupView->currentGroupRow();
    if (m_contactView->contactModel()->rowCount() == 0)
        return 0;
    // Edits of the shown contact are kept before the lists change under it.
    m_contactView->commitCurrent();
    // In batch mode the ticked contacts, wherever they are shown; else the current one.
    const int current = m_contactView->currentContact();
    QList<int> rows = inBatchMode() ? m_contactView->contactModel()->tickedPositions() : QList<int> { current };
    if (select && (inBatchMode() || current >= 0))
        rows = select(rows);
    DataMgr *mgr = DataMgr::instance();
    const int count = inBatchMode() || current >= 0 ? int(rows.size()) : 0;
    if (count == 0 || (confirm && !confirm(count)))
        return 0;
    {
        const DataMgr::BusyScope busy(mgr);
        operation(mgr->phonebook(), rows, GroupModel::groupIndex(groupRow));
        mgr->phonebookChanged();
    }
    recordEdit(text(count));
    // The group is shown again, so the user sees the contacts leave or join it.
    m_groupView->selectGroupRow(groupRow);
    return count;
}

void MainWindow::deleteContacts()
{
    // An address book's contact would come back with its next refresh: it stays.
    QStringList books;
    const int deleted = runContactCommand([](int n) { return tr("Delete %n Contact(s)", nullptr, n); },
        [](Phonebook &book, const QList<int> &rows, int) { book.deleteContacts(rows); },
        [this](int n) { return confirmDeletion(n); },
        [this, &books](const QList<int> &rows) { return deletableRows(rows, &books); });
    books.removeDuplicates();
    const QString kept = QStringLiteral("\"%1\"").arg(books.join(QStringLiteral("\", \"")));
    if (deleted > 0) {
        QString what = tr("Deleted %n contact(s)", nullptr, deleted);
        if (!books.isEmpty())
            what += tr("; those from the address book %1 were kept").arg(kept);
        announceDeletion(what);
    } else if (!books.isEmpty()) {
        showMessage(QMessageBox::Information, tr("Delete"),
            tr("This comes from the address book %1 and would come back with its next refresh, so it is kept. "
               "Delete it on the server, or remove the address book (its contacts then stay as your own).")
                .arg(kept));
    }
}

void MainWindow::removeContactsFromGroup()
{
    runContactCommand([](int n) { return tr("Remove %n Contact(s) from Group", nullptr, n); },
        [](Phonebook &book, const QList<int> &rows, int group) { book.removeFromGroup(rows, group); });
}

void MainWindow::transferToGroup(bool move)
{
    // The target group's stored name travels as the menu entry's object name.
    const QString target = sender() ? sender()->objectName() : QString();
    if (target.isEmpty())
        return;
    const auto text
        = [move](int n) { return move ? tr("Move %n Contact(s)", nullptr, n) : tr("Copy %n Contact(s)", nullptr, n); };
    runContactCommand(text, [target, move](Phonebook &book, const QList<int> &rows, int) {
        if (move)
            book.moveToGroup(rows, target);
        else
            book.copyToGroup(rows, target);
    });
}

void MainWindow::moveContactsToGroup()
{
    transferToGroup(true);
}

void MainWindow::copyContactsToGroup()
{
    transferToGroup(false);
}

void MainWindow::runGroupCommand(bool dissolve)
{
    const int groupRow = m_groupView->currentGroupRow();
    const int group = GroupModel::groupIndex(groupRow);
    DataMgr *mgr = DataMgr::instance();
    if (group < 0)
        return;
    m_contactView->commitCurrent();
    const GroupInfo target = mgr->phonebook().groups().at(group);
    const int members = int(mgr->phonebook().memberRows(group).size());
    if (!dissolve && !confirmDeletion(members, target.DisplayName))
        return;
    mgr->setBusy(true);
    m_contactEditor->clearGroups();
    if (dissolve)
        mgr->phonebook().dissolveGroup(group);
    else
        mgr->phonebook().deleteGroup(group);
    mgr->phonebookChanged();
    mgr->setBusy(false);
    recordEdit(dissolve ? tr("Dissolve Group") : tr("Delete Group"));
    // A dissolved group stays; it is shown, now empty.
    if (dissolve)
        m_groupView->selectGroupRow(groupRow);
    else
        announceDeletion(tr("Deleted the group \"%1\"").arg(target.DisplayName));
}

void MainWindow::deleteCurrentGroup()
{
    runGroupCommand(false);
}

void MainWindow::dissolveCurrentGroup()
{
    runGroupCommand(true);
}

void MainWindow::addNewGroup(const QString &name)
{
    m_contactView->commitCurrent();
    DataMgr *mgr = DataMgr::instance();
    int group = -1;
    {
        const DataMgr::BusyScope busy(mgr);
        group = mgr->phonebook().addGroup(name);
        mgr->phonebookChanged();
    }
    recordEdit(tr("Add Group"));
    // The new group is shown, ready for its first contacts.
    m_groupView->selectGroupRow(GroupModel::rowOfGroup(group));
}

void MainWindow::addNewContactToGroup()
{
    // A blank new contact is still being filled in: stay on it rather than pile
    // up empty ones.
    if (m_contactView->currentContact() >= 0 && shownContactIsBlank()) {
        m_contactEditor->focusName();
        return;
    }
    if (!checkDetailValues())
        return;
    m_contactView->commitCurrent();
    DataMgr *mgr = DataMgr::instance();
    const int groupRow = m_groupView->currentGroupRow();
    const int group = GroupModel::groupIndex(groupRow);
    ContactInfo contact;
    if (group >= 0)
        contact.GroupList = QStringList { mgr->phonebook().groups().at(group).name };
    int row = -1;
    {
        const DataMgr::BusyScope busy(mgr);
        row = mgr->phonebook().addContact(contact, group);
        mgr->phonebookChanged();
    }
    recordEdit(tr("Add Contact"));
    m_groupView->selectGroupRow(groupRow);
    m_contactView->selectContact(row);
    m_contactEditor->focusName();
}
