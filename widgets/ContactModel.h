#pragma once

#include "data/ContactNames.h"

#include <QAbstractTableModel>
#include <QList>
#include <QSet>
#include <QString>

// The contacts of the selected group as a table, read straight from the
// phonebook's contact list: each row holds only the contact's position in that
// list. The model keeps what the user marked: the ticks of batch mode and the
// row with the arrow, by contact id, so they stay with their contacts while the
// list changes under them, and go when another phonebook replaces it. Rows are ordered by the pinyin key without regard
// to case. The keys and the texts a search looks into are cached per phonebook revision, so choosing another group or
// typing a search letter on a phonebook of 100 000 contacts never sorts or spells the whole list again.
class ContactModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        PadColumn,
        AvatarColumn,
        NameColumn,
        NumberColumn,
        CheckColumn,
        KeyColumn,
        GroupColumn,
        ArrowColumn,
        ColumnCount
    };

    explicit ContactModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDropActions() const override;

    // Shows the contacts at `positions` (in any order; a group's members) or,
    // with `all`, every contact, filtered by `search`: the contacts whose name
    // (spelt, by initials or as written, in either order) or number holds it,
    // spaces and case aside. Resets the model.
    void show(const QList<int> &positions, bool all, const QString &search);

    // Gives back the sort and search keys of every contact, before a command
    // that replaces the lists: the next show() takes them anew for the new ones.
    void dropKeys();

    // Position in the contact list of a row, or -1.
    int position(int row) const;
    // Row showing the contact at `position`, or -1.
    int rowOf(int position) const;
    // Positions of the rows shown, in row order.
    const QList<int> &positions() const { return m_rows; }

    void setBatch(bool batch);
    bool isBatch() const { return m_batch; }

    // The contact at `position` was edited: its key is taken again and the rows
    // are put back in order (persistent indexes follow their contacts).
    void contactEdited(int position);
    // Repaints the rows (check marks and arrows changed).
    void refreshDecorations();

    bool isTicked(int position) const;
    void toggleTick(int position);
    void clearTicks();
    // Ticks every contact shown, or takes the ticks off them.
    void tickShown(bool ticked);
    // Positions of the ticked contacts, in list order.
    QList<int> tickedPositions() const;
    // Puts the arrow on the contact at `position` (none for -1).
    void setArrow(int position);

private:
    void ensureKeys() const;
    void ensureSearchTexts() const;
    // Forgets the marks when another phonebook replaced the contacts.
    void checkGeneration() const;
    void forgetGoneContacts();
    void sortRows();

    QList<int> m_rows;
    bool m_batch = false;

    // Per contact-list position: the case-folded key, and all positions in key order.
    mutable QList<QString> m_keys;
    mutable QList<int> m_sorted;
    mutable quint64 m_revision = 0;
    mutable bool m_keysValid = false;
    // Per contact-list position: ContactNames::searchText().
    mutable QList<ContactNames::SearchText> m_search;
    mutable quint64 m_searchRevision = 0;
    mutable bool m_searchValid = false;

    // Contact ids, valid for phonebook generation m_marksGeneration.
    mutable QSet<int> m_ticked;
    mutable int m_arrowId = -1;
    mutable quint64 m_marksGeneration = 0;
};
