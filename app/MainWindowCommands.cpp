// The group and contact commands of the main window: the two context menus, new
// groups and new contacts.

#include "app/MainWindow.h"

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

void MainWindow::show_Groupmenu(const QPoint &pos)
{
    const QModelIndex index = m_groupView->indexAt(pos);
    if (!index.isValid())
        return;
    const QList<GroupInfo> &groups = DataMgr::instance()->groupList();
    if (groups.value(index.row()).IconKind == QLatin1String("Add"))
        return;
    const int current = m_groupView->currentGroupRow();
    if (current <= 0 || current >= groups.size())
        return;
    const QString name = groups[current].name;
    if (m_groupMenu)
        m_groupMenu->deleteLater();
    m_groupMenu = new QMenu(this);
    m_groupMenu->setObjectName(QStringLiteral("group_menu"));
    m_groupMenu->setAttribute(Qt::WA_DeleteOnClose);
    if (name != Records::kDefault && name != Records::kBlacklist)
        connect(menuAction(m_groupMenu, tr("Delete group"), QStringLiteral("delete_group")), &QAction::triggered, this,
            &MainWindow::onDeleteGroup);
    connect(menuAction(m_groupMenu, tr("Dissolute group"), QStringLiteral("dissolve_group")), &QAction::triggered, this,
        &MainWindow::onDissGroup);
    m_groupMenu->popup(m_groupView->viewport()->mapToGlobal(pos));
}

void MainWindow::show_Contactmenu(const QPoint &pos)
{
    const QModelIndex index = m_contactView->indexAt(pos);
    if (!index.isValid() || m_contactView->contactModel()->rowCount() == 0)
        return;
    DataMgr *mgr = DataMgr::instance();
    if (inBatchMode()) {
        const int position = m_contactView->contactModel()->position(index.row());
        if (position < 0 || mgr->ctList().at(position).Checked != 1)
            return;
    }
    if (m_contactMenu)
        m_contactMenu->deleteLater();
    m_contactMenu = new QMenu(this);
    m_contactMenu->setObjectName(QStringLiteral("contact_menu"));
    m_contactMenu->setAttribute(Qt::WA_DeleteOnClose);
    if (m_groupView->currentGroupRow() != 0)
        connect(menuAction(m_contactMenu, tr("Remove contact"), QStringLiteral("remove_contact")), &QAction::triggered,
            this, &MainWindow::onRemoveContact);
    connect(menuAction(m_contactMenu, tr("Delete contact"), QStringLiteral("delete_contact")), &QAction::triggered,
        this, &MainWindow::onDeleteContact);
    QMenu *moveMenu = m_contactMenu->addMenu(tr("Move to"));
    moveMenu->setObjectName(QStringLiteral("move_menu"));
    QMenu *copyMenu = m_contactMenu->addMenu(tr("Copy to"));
    copyMenu->setObjectName(QStringLiteral("copy_menu"));
    for (const GroupInfo &g : mgr->groupList()) {
        if (g.name == Records::kAll || g.name == Records::kAddGroup)
            continue;
        // The stored name travels as the entry's object name.
        // An "&" in a name is text, not a mnemonic.
        const QString text = QString(g.DisplayName).replace(QLatin1Char('&'), QStringLiteral("&&"));
        connect(menuAction(moveMenu, text, g.name), &QAction::triggered, this, &MainWindow::onMVContactToGroup);
        connect(menuAction(copyMenu, text, g.name), &QAction::triggered, this, &MainWindow::onCopyContactToGroup);
    }
    m_contactMenu->popup(m_contactView->viewport()->mapToGlobal(pos));
}

void MainWindow::runContactCommand(const std::function<void(int, int)> &operation, bool reselect)
{
    const int groupRow = m_groupView->currentGroupRow();
    if (m_contactView->contactModel()->rowCount() == 0)
        return;
    // Edits of the shown contact are kept before the lists change under it.
    m_contactView->commitCurrent();
    DataMgr *mgr = DataMgr::instance();
    mgr->setBusy(true);
    operation(groupRow, m_contactView->currentContact());
    mgr->setBusy(false);
    if (reselect)
        m_groupView->selectGroupRow(groupRow);
    m_isSaved = false;
}

void MainWindow::onDeleteContact()
{
    runContactCommand(
        [this](int, int contact) {
            if (inBatchMode())
                DataMgr::instance()->deleteCheckedContacts();
            else
                DataMgr::instance()->deleteContact(contact);
        },
        true);
}

void MainWindow::onRemoveContact()
{
    // The group is shown again, so the user sees the contact leave it.
    runContactCommand(
        [this](int group, int contact) {
            if (inBatchMode())
                DataMgr::instance()->removeCheckedFromGroup(group);
            else
                DataMgr::instance()->removeContactFromGroup(contact, group);
        },
        true);
}

void MainWindow::transferToGroup(bool move)
{
    // The target group's stored name travels as the menu entry's object name.
    const QString target = sender() ? sender()->objectName() : QString();
    if (target.isEmpty())
        return;
    runContactCommand(
        [this, target, move](int, int contact) {
            DataMgr *mgr = DataMgr::instance();
            if (inBatchMode())
                move ? mgr->moveCheckedToGroup(target) : mgr->copyCheckedToGroup(target);
            else
                move ? mgr->moveContactToGroup(contact, target) : mgr->copyContactToGroup(contact, target);
        },
        true);
}

void MainWindow::onMVContactToGroup()
{
    transferToGroup(true);
}

void MainWindow::onCopyContactToGroup()
{
    transferToGroup(false);
}

void MainWindow::runGroupCommand(bool dissolve)
{
    const int groupRow = m_groupView->currentGroupRow();
    m_contactView->commitCurrent();
    DataMgr *mgr = DataMgr::instance();
    mgr->setBusy(true);
    m_contactEditor->clearGroups();
    if (dissolve)
        mgr->dissolveGroup(groupRow);
    else
        mgr->deleteGroup(groupRow);
    mgr->setBusy(false);
    // A dissolved group stays; it is shown, now empty.
    if (dissolve)
        m_groupView->selectGroupRow(groupRow);
    m_isSaved = false;
}

void MainWindow::onDeleteGroup()
{
    runGroupCommand(false);
}

void MainWindow::onDissGroup()
{
    runGroupCommand(true);
}

void MainWindow::addNewGroup(const QString &name)
{
    GroupInfo group;
    group.name = name;
    group.IconKind = QStringLiteral("common");
    m_contactView->commitCurrent();
    DataMgr *mgr = DataMgr::instance();
    mgr->addGroup(group);
    // The new group is shown, ready for its first contacts.
    const QList<GroupInfo> &groups = mgr->groupList();
    for (int row = 0; row < groups.size(); ++row) {
        if (groups[row].name == name)
            m_groupView->selectGroupRow(row);
    }
    m_isSaved = false;
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
    ContactInfo contact;
    if (groupRow > 0 && groupRow < mgr->groupList().size())
        contact.GroupList = QStringList { mgr->groupList()[groupRow].name };
    mgr->addContact(groupRow, contact);
    m_groupView->selectGroupRow(groupRow);
    m_contactView->selectContact(int(mgr->ctList().size()) - 1);
    m_contactEditor->focusName();
    m_isSaved = false;
}
