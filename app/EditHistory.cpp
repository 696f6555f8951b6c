#include "app/EditHistory.h"

#include "data/RecordCompare.h"
#include "manager/DataMgr.h"

#include <QBitArray>
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

// Contact ids in list order, kept as runs of consecutive ids: the ids of a
// phonebook read back from the store are one run, whatever its size.
class IdRuns
{
public:
    void append(int id)
    {
        if (m_size == 0 || id != m_last + 1) {
            m_starts.append(m_size);
            m_firstIds.append(id);
        }
        m_last = id;
        ++m_size;
    }
    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    int first() const { return m_firstIds.first(); }
    int at(qsizetype place) const
    {
        const auto run = std::upper_bound(m_starts.cbegin(), m_starts.cend(), place) - m_starts.cbegin() - 1;
        return m_firstIds.at(run) + int(place - m_starts.at(run));
    }

private:
    QList<qsizetype> m_starts;
    QList<int> m_firstIds;
    qsizetype m_size = 0;
    int m_last = 0;
};

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
        const QList<ContactInfo> removed = from.mid(first, from.size() - first - last);
        const QList<ContactInfo> inserted = to.mid(first, to.size() - first - last);
        m_paired.resize(std::min(removed.size(), inserted.size()));
        for (qsizetype i = 0; i < m_paired.size(); ++i)
            m_paired.setBit(i, sameButId(removed.at(i), inserted.at(i)));
        m_removed = side(removed);
        m_inserted = side(inserted);
    }

    bool changesNothing() const
    {
        return m_removed.ids.isEmpty() && m_inserted.ids.isEmpty() && m_before.groups() == m_after.groups()
            && m_before.userGroupNames() == m_after.userGroupNames()
            && m_before.nextContactId() == m_after.nextContactId() && m_before.nextGroupId() == m_after.nextGroupId()
            && m_before.generation() == m_after.generation();
    }

    // The one contact this step appended, or -1.
    int addedContact() const
    {
        return m_removed.ids.isEmpty() && m_inserted.ids.size() == 1 ? m_inserted.ids.first() : -1;
    }

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
    // One side of the run: the contacts not paired with the other side's at the
    // same place, and every place's id.
    struct Side {
        QList<ContactInfo> own;
        IdRuns ids;
    };

    // Equal but for the id: what a replacing import of an unchanged file leaves.
    static bool sameButId(const ContactInfo &a, ContactInfo b)
    {
        b.id = a.id;
        return a == b;
    }

    bool paired(qsizetype place) const { return place < m_paired.size() && m_paired.testBit(place); }

    // A contact paired with the other side's is kept as its id alone: a step that
    // replaced a whole phonebook by an equal one does not hold a second copy.
    Side side(const QList<ContactInfo> &run) const
    {
        Side kept;
        for (qsizetype i = 0; i < run.size(); ++i) {
            kept.ids.append(run.at(i).id);
            if (!paired(i))
                kept.own.append(run.at(i));
        }
        return kept;
    }

    // Whether `present` is that side as it went in.
    bool holds(const QList<ContactInfo> &present, const Side &side) const
    {
        if (present.size() != side.ids.size())
            return false;
        qsizetype own = 0;
        for (qsizetype i = 0; i < present.size(); ++i) {
            if (paired(i) ? present.at(i).id != side.ids.at(i) : present.at(i) != side.own.at(own++))
                return false;
        }
        return true;
    }

    // The contacts of `side`, the paired ones made from the other side's `present`.
    QList<ContactInfo> contactsOf(const Side &side, const QList<ContactInfo> &present) const
    {
        QList<ContactInfo> run;
        run.reserve(side.ids.size());
        qsizetype own = 0;
        for (qsizetype i = 0; i < side.ids.size(); ++i) {
            if (paired(i)) {
                run.append(present.at(i));
                run.last().id = side.ids.at(i);
            } else {
                run.append(side.own.at(own++));
            }
        }
        return run;
    }

    void apply(const Phonebook &shell, const Side &presentSide, const Side &wantedSide)
    {
        DataMgr *mgr = DataMgr::instance();
        QList<ContactInfo> contacts = mgr->phonebook().contacts();
        const qsizetype count = presentSide.ids.size();
        // Every change of the phonebook goes through the history, so the run to
        // replace is there; should it not be, nothing is touched.
        const QList<ContactInfo> present
            = m_first + count <= contacts.size() ? contacts.mid(m_first, count) : QList<ContactInfo>();
        if (!holds(present, presentSide)) {
            qWarning("The phonebook changed outside the undo history; the step was not applied.");
            return;
        }
        const QList<ContactInfo> wanted = contactsOf(wantedSide, present);
        contacts.remove(m_first, count);
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
    // Per place of the shorter side: paired with the other side's contact there.
    QBitArray m_paired;
    Side m_removed;
    Side m_inserted;
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
