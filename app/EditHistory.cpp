#include "app/EditHistory.h"

#include "data/RecordCompare.h"
#include "manager/DataMgr.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>
#include <functional>

namespace {

// A phonebook's groups, names and counters without its contacts: cheap to keep.
Phonebook shellOf(const Phonebook &book)
{
    Phonebook shell = book;
    shell.editContacts() = QList<ContactInfo>();
    return shell;
}

class PhonebookChange : public QUndoCommand
{
public:
    PhonebookChange(const Phonebook &before, const Phonebook &after, const QString &text, std::function<void()> applied)
        : QUndoCommand(text)
        , m_before(shellOf(before))
        , m_after(shellOf(after))
        , m_applied(std::move(applied))
    {
        const QList<ContactInfo> &from = before.contacts();
        const QList<ContactInfo> &to = after.contacts();
        if (from.isSharedWith(to))
            return;
        const qsizetype shorter = std::min(from.size(), to.size());
        qsizetype first = 0;
        while (first < shorter && from.at(first) == to.at(first))
            ++first;
        qsizetype last = 0;
        while (last < shorter - first && from.at(from.size() - 1 - last) == to.at(to.size() - 1 - last))
            ++last;
        m_first = first;
        m_removed = from.mid(first, from.size() - first - last);
        m_inserted = to.mid(first, to.size() - first - last);
    }

    bool changesNothing() const
    {
        return m_removed.isEmpty() && m_inserted.isEmpty() && m_before.groups() == m_after.groups()
            && m_before.userGroupNames() == m_after.userGroupNames()
            && m_before.nextContactId() == m_after.nextContactId() && m_before.nextGroupId() == m_after.nextGroupId()
            && m_before.generation() == m_after.generation();
    }

    // The one contact this step appended, or -1.
    int addedContact() const { return m_removed.isEmpty() && m_inserted.size() == 1 ? m_inserted.first().id : -1; }

    void dropOnUndo() { m_drop = true; }

    void undo() override
    {
        apply(m_before, m_inserted, m_removed);
        // Undone for good: the stack deletes an obsolete step.
        if (m_drop)
            setObsolete(true);
    }

    void redo() override
    {
        // The change is already made when the step is pushed.
        if (m_done) {
            m_done = false;
            return;
        }
        apply(m_after, m_removed, m_inserted);
    }

private:
    void apply(const Phonebook &shell, const QList<ContactInfo> &present, const QList<ContactInfo> &wanted)
    {
        DataMgr *mgr = DataMgr::instance();
        QList<ContactInfo> contacts = mgr->phonebook().contacts();
        // Every change of the phonebook goes through the history, so the run to
        // replace is there; should it not be, nothing is touched.
        if (m_first + present.size() > contacts.size()
            || !std::equal(present.cbegin(), present.cend(), contacts.cbegin() + m_first)) {
            qWarning("The phonebook changed outside the undo history; the step was not applied.");
            return;
        }
        contacts.remove(m_first, present.size());
        contacts.insert(m_first, wanted.size(), ContactInfo());
        std::copy(wanted.cbegin(), wanted.cend(), contacts.begin() + m_first);
        Phonebook book = shell;
        book.editContacts() = std::move(contacts);
        {
            const DataMgr::BusyScope busy(mgr);
            mgr->phonebook() = std::move(book);
            mgr->phonebookChanged();
        }
        m_applied();
    }

    Phonebook m_before;
    Phonebook m_after;
    qsizetype m_first = 0;
    QList<ContactInfo> m_removed;
    QList<ContactInfo> m_inserted;
    std::function<void()> m_applied;
    bool m_done = true;
    bool m_drop = false;
};

} // namespace

EditHistory::EditHistory(QObject *parent)
    : QObject(parent)
    , m_stack(new QUndoStack(this))
    , m_baseline(DataMgr::instance()->phonebook())
{
    // Each step holds only what it changed, but a replacing import holds the
    // whole phonebook it replaced: a bound keeps a long session's memory in check.
    m_stack->setUndoLimit(100);
}

void EditHistory::record(const QString &text)
{
    const Phonebook &now = DataMgr::instance()->phonebook();
    auto *change = new PhonebookChange(m_baseline, now, text, [this] {
        m_baseline = DataMgr::instance()->phonebook();
        emit applied();
    });
    m_baseline = now;
    if (change->changesNothing()) {
        delete change;
        return;
    }
    m_stack->push(change);
}

void EditHistory::reset()
{
    m_stack->clear();
    m_baseline = DataMgr::instance()->phonebook();
}

void EditHistory::markSaved()
{
    // A save numbers the groups anew; the next step starts from that.
    m_baseline = DataMgr::instance()->phonebook();
    m_stack->setClean();
}

void EditHistory::markStoreWritten()
{
    m_stack->resetClean();
}

bool EditHistory::isClean() const
{
    return m_stack->isClean();
}

bool EditHistory::dropAddedContact(int id)
{
    const int index = m_stack->index();
    if (index == 0 || index != m_stack->count())
        return false;
    auto *top = const_cast<PhonebookChange *>(static_cast<const PhonebookChange *>(m_stack->command(index - 1)));
    if (top->addedContact() != id)
        return false;
    top->dropOnUndo();
    m_stack->undo();
    return true;
}
