#pragma once

#include "data/Phonebook.h"

#include <QObject>

class QUndoStack;

// The undo history of the working phonebook. Each command of the window changes
// the phonebook, then record()s the change under its name; the history keeps
// the change as the difference between the lists before and after it (the
// groups and counters whole, of the contacts only the run that differs), so a
// command on one contact of a large phonebook costs little memory. Undo and
// redo put the data manager's lists back exactly, ids and order included.
class EditHistory : public QObject
{
    Q_OBJECT
public:
    explicit EditHistory(QObject *parent = nullptr);

    QUndoStack *stack() const { return m_stack; }
    // Keeps what changed since the last record (or reset) as one undoable step
    // named `text`. Nothing changed: nothing is kept.
    void record(const QString &text);
    // The phonebook was replaced (opened, emptied, reloaded): forgets every step.
    void reset();
    // The phonebook was saved as it is now.
    void markSaved();
    bool isClean() const;
    // The last step also wrote phonebook.db (an import does): undoing it does
    // not take that back, so no earlier state counts as saved any more.
    void markStoreWritten();
    // Takes back the last step when it added the contact `id` and nothing came
    // after it, as if it had never been; false otherwise.
    bool dropAddedContact(int id);

signals:
    // Undo or redo changed the lists (after the views were told).
    void applied();

private:
    QUndoStack *m_stack;
    // The phonebook as the last step left it.
    Phonebook m_baseline;
};
