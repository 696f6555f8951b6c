// The main window's Edit menu: undo and redo of the phonebook's changes, the
// Delete key, the search key, ticking all contacts, and what a deletion tells.

#include "app/MainWindow.h"

#include "app/CardRefresher.h"
#include "app/EditHistory.h"
#include "app/OptionFiles.h"
#include "data/AppPaths.h"
#include "manager/DataMgr.h"
#include "widgets/ContactEditor.h"
#include "widgets/ContactModel.h"
#include "widgets/ContactView.h"
#include "widgets/GroupModel.h"
#include "widgets/GroupView.h"
#include "widgets/SearchEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QUndoStack>

namespace {

// How long the deletion notice stays in the status bar.
constexpr int kNoticeMs = 15000;

} // namespace

bool MainWindow::isSaved() const
{
    return m_isSaved && (!m_history || m_history->isClean()) && !(m_contactEditor && m_contactEditor->isEdited());
}

void MainWindow::setSaved(bool saved)
{
    m_isSaved = saved;
    if (saved && m_history)
        m_history->markSaved();
    updateModifiedMark();
}

void MainWindow::updateModifiedMark()
{
    setWindowModified(!isSaved());
    if (!m_phonesView.isNull())
        updatePhonesHeading();
    // A refresh that waited for the edits goes on once they are saved or dropped.
    if (m_refresher)
        m_refresher->poke();
}

void MainWindow::forgetHistory()
{
    m_isSaved = isSaved();
    m_history->reset();
    m_deletionNotice->hide();
    updateModifiedMark();
}

void MainWindow::recordEdit(const QString &text)
{
    m_history->record(text);
    updateModifiedMark();
}

void MainWindow::createEditActions()
{
    m_history = new EditHistory(this);
    QUndoStack *stack = m_history->stack();

    m_undoAct = new QAction(tr("&Undo"), this);
    m_undoAct->setObjectName(QStringLiteral("undo"));
    m_undoAct->setShortcuts(QKeySequence::Undo);
    connect(m_undoAct, &QAction::triggered, this, &MainWindow::undo);
    m_redoAct = new QAction(tr("&Redo"), this);
    m_redoAct->setObjectName(QStringLiteral("redo"));
    m_redoAct->setShortcuts(QKeySequence::Redo);
    connect(m_redoAct, &QAction::triggered, this, &MainWindow::redo);
    connect(stack, &QUndoStack::indexChanged, this, &MainWindow::updateEditActions);
    connect(stack, &QUndoStack::cleanChanged, this, &MainWindow::updateModifiedMark);

    m_deleteAct = new QAction(tr("&Delete Contacts"), this);
    m_deleteAct->setObjectName(QStringLiteral("delete_selected"));
    m_deleteAct->setShortcuts(QKeySequence::Delete);
    connect(m_deleteAct, &QAction::triggered, this, &MainWindow::deleteSelectedContacts);

    m_findAct = new QAction(tr("&Find"), this);
    m_findAct->setObjectName(QStringLiteral("find"));
    m_findAct->setShortcuts(QKeySequence::Find);
    connect(m_findAct, &QAction::triggered, this, &MainWindow::focusSearch);

    m_selectAllAct = new QAction(tr("Select &All"), this);
    m_selectAllAct->setObjectName(QStringLiteral("select_all"));
    m_selectAllAct->setShortcuts(QKeySequence::SelectAll);
    connect(m_selectAllAct, &QAction::triggered, this, &MainWindow::tickAllContacts);
    m_selectNoneAct = new QAction(tr("Select &None"), this);
    m_selectNoneAct->setObjectName(QStringLiteral("select_none"));
    m_selectNoneAct->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    connect(m_selectNoneAct, &QAction::triggered, this, &MainWindow::tickNoContacts);

    m_confirmDeleteAct = new QAction(tr("Confirm Deletions"), this);
    m_confirmDeleteAct->setObjectName(QStringLiteral("confirm delete"));
    m_confirmDeleteAct->setCheckable(true);
    connect(m_confirmDeleteAct, &QAction::triggered, this, &MainWindow::saveConfirmDeleteOption);

    // The notice of the last deletion, with its way back.
    m_deletionNotice = new QLabel(this);
    m_deletionNotice->setObjectName(QStringLiteral("deletion_notice"));
    m_deletionNotice->setTextFormat(Qt::RichText);
    m_deletionNotice->hide();
    connect(m_deletionNotice, &QLabel::linkActivated, this, &MainWindow::undo);
    statusBar()->setObjectName(QStringLiteral("status_bar"));
    statusBar()->addWidget(m_deletionNotice);

    updateEditActions();
}

void MainWindow::createEditMenu()
{
    m_editMenu = menuBar()->addMenu(tr("E&dit"));
    m_editMenu->setObjectName(QStringLiteral("editMenu"));
    m_editMenu->addAction(m_undoAct);
    m_editMenu->addAction(m_redoAct);
    m_editMenu->addSeparator();
    m_editMenu->addAction(m_deleteAct);
    m_editMenu->addSeparator();
    m_editMenu->addAction(m_findAct);
    m_editMenu->addAction(m_selectAllAct);
    m_editMenu->addAction(m_selectNoneAct);
}

void MainWindow::updateEditActions()
{
    const QUndoStack *stack = m_history->stack();
    // Undo stays enabled while the detail panel holds edits: it takes them back.
    m_undoAct->setEnabled(stack->canUndo() || (m_contactEditor && m_contactEditor->isEdited()));
    m_undoAct->setText(stack->canUndo() ? tr("&Undo %1").arg(stack->undoText()) : tr("&Undo"));
    m_redoAct->setEnabled(stack->canRedo());
    m_redoAct->setText(stack->canRedo() ? tr("&Redo %1").arg(stack->redoText()) : tr("&Redo"));
    updateModifiedMark();
}

bool MainWindow::settleDetailForHistory(bool undoing)
{
    if (m_contactEditor->isEmpty())
        return true;
    if (!shownContactIsBlank()) {
        m_contactView->commitCurrent();
        return true;
    }
    // A blank contact just added goes back out as the step undone; other blank
    // edits are let go, as leaving the contact would.
    m_contactEditor->dropEdits();
    if (!undoing || !m_history->dropAddedContact(m_contactEditor->shownContact().id))
        return true;
    m_groupView->selectGroupRow(m_groupView->currentGroupRow());
    return false;
}

void MainWindow::undo()
{
    if (!settleDetailForHistory(true))
        return;
    if (!m_history->stack()->canUndo())
        return;
    const DataMgr *mgr = DataMgr::instance();
    const int group = GroupModel::groupIndex(m_groupView->currentGroupRow());
    const QString groupName = group >= 0 ? mgr->phonebook().groups().at(group).name : QString();
    const int current = m_contactView->currentContact();
    const int contactId = current >= 0 ? mgr->phonebook().contacts().value(current).id : -1;
    m_history->stack()->undo();
    m_deletionNotice->hide();
    // The user stays where the step was taken back, as far as that is still there.
    const int groupNow = groupName.isEmpty() ? -1 : mgr->phonebook().indexOfGroup(groupName);
    m_groupView->selectGroupRow(groupNow >= 0 ? GroupModel::rowOfGroup(groupNow) : 0);
    if (contactId >= 0)
        m_contactView->selectContact(mgr->phonebook().indexOfContact(contactId));
}

void MainWindow::redo()
{
    if (!settleDetailForHistory(false))
        return;
    // A new edit has just ended what there was to redo.
    if (!m_history->stack()->canRedo())
        return;
    const DataMgr *mgr = DataMgr::instance();
    const int group = GroupModel::groupIndex(m_groupView->currentGroupRow());
    const QString groupName = group >= 0 ? mgr->phonebook().groups().at(group).name : QString();
    m_history->stack()->redo();
    const int groupNow = groupName.isEmpty() ? -1 : mgr->phonebook().indexOfGroup(groupName);
    m_groupView->selectGroupRow(groupNow >= 0 ? GroupModel::rowOfGroup(groupNow) : 0);
}

bool MainWindow::confirmDeletion(int count, const QString &group)
{
    if (!m_confirmDeleteAct->isChecked())
        return true;
    QMessageBox box(QMessageBox::Question, tr("Delete"),
        group.isEmpty()
            ? tr("Delete %n contact(s)?", nullptr, count)
            : tr("Delete the group \"%1\"? Its %n contact(s) stay in the phonebook.", nullptr, count).arg(group),
        QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("confirm_delete_box"));
    QPushButton *yes = box.addButton(tr("Delete"), QMessageBox::AcceptRole);
    QPushButton *no = box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    auto *dontAsk = new QCheckBox(tr("Don't ask again"));
    dontAsk->setObjectName(QStringLiteral("dont_ask_again"));
    box.setCheckBox(dontAsk);
    box.exec();
    const bool confirmed = box.clickedButton() == yes;
    // Asked not to be asked, whatever the answer this time.
    if (dontAsk->isChecked()) {
        m_confirmDeleteAct->setChecked(false);
        saveConfirmDeleteOption();
    }
    return confirmed;
}

void MainWindow::announceDeletion(const QString &what)
{
    const QString undoKey = m_undoAct->shortcut().toString(QKeySequence::NativeText);
    m_deletionNotice->setText(
        QStringLiteral("%1 — <a href=\"undo\">%2</a> (%3)").arg(what.toHtmlEscaped(), tr("Undo"), undoKey));
    m_deletionNotice->show();
    // The notice stays only while the deletion is the step Undo takes back.
    const int index = m_history->stack()->index();
    QTimer::singleShot(kNoticeMs, m_deletionNotice, [this, index] {
        if (m_history->stack()->index() == index)
            m_deletionNotice->hide();
    });
}

void MainWindow::deleteSelectedContacts()
{
    deleteContacts();
}

void MainWindow::focusSearch()
{
    m_searchEdit->setFocus(Qt::ShortcutFocusReason);
    m_searchEdit->selectAll();
}

void MainWindow::tickAllContacts()
{
    if (!inBatchMode())
        m_contactView->changeBatchState();
    m_contactView->contactModel()->tickShown(true);
}

void MainWindow::tickNoContacts()
{
    if (inBatchMode())
        m_contactView->contactModel()->tickShown(false);
}

void MainWindow::saveConfirmDeleteOption()
{
    OptionFiles::Options options;
    options.autoStart = m_autoStartAct->isChecked();
    options.recoveryData = m_recoveryDataAct->isChecked();
    options.autoHttpd = m_autoHttpdAct->isChecked();
    options.confirmDelete = m_confirmDeleteAct->isChecked();
    // Takes effect at once; nothing to say.
    OptionFiles::writeOptions(AppPaths::configDir() + QStringLiteral("options.xml"), options);
}

bool MainWindow::textFieldKeeps(const QWidget *focus, const QKeyEvent *event) const
{
    const auto *edit = qobject_cast<const QLineEdit *>(focus);
    if (!edit || edit->isReadOnly())
        return false;
    // Its own undo first; the phonebook's once it has nothing left to undo.
    if (event->matches(QKeySequence::Undo))
        return edit->isUndoAvailable();
    if (event->matches(QKeySequence::Redo))
        return edit->isRedoAvailable();
    return event->matches(QKeySequence::SelectAll) || event->matches(QKeySequence::Delete)
        || (event->key() == Qt::Key_A && event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier));
}
