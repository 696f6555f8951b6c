#include "widgets/ContactModel.h"

#include "manager/DataMgr.h"

#include <QPixmap>

#include <algorithm>

namespace {

const QList<ContactInfo> &contacts()
{
    return DataMgr::instance()->phonebook().contacts();
}

} // namespace

ContactModel::ContactModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_marksGeneration(DataMgr::instance()->phonebook().generation())
{
}

int ContactModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ContactModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

int ContactModel::position(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows[row] : -1;
}

int ContactModel::rowOf(int position) const
{
    return int(m_rows.indexOf(position));
}

QVariant ContactModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    // A position the list no longer has reads as an empty contact.
    static const ContactInfo empty;
    const int pos = m_rows[index.row()];
    const ContactInfo &c = pos >= 0 && pos < contacts().size() ? contacts()[pos] : empty;
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn:
            return ContactNames::displayName(c);
        case NumberColumn:
            return c.PrimaryNumber;
        case KeyColumn:
            return ContactNames::sortKey(c);
        case GroupColumn:
            return c.GroupText;
        default:
            return QVariant();
        }
    case Qt::DecorationRole:
        switch (index.column()) {
        case AvatarColumn:
            return QPixmap(QStringLiteral(":/default_contacts_default.png"));
        case CheckColumn:
            if (!m_batch)
                return QPixmap();
            return QPixmap(isTicked(pos) ? QStringLiteral(":/select_box_pressed.png")
                                         : QStringLiteral(":/select_box_default.png"));
        case ArrowColumn:
            checkGeneration();
            return &c != &empty && c.id == m_arrowId ? QVariant(QPixmap(QStringLiteral(":/Arrow.png"))) : QVariant();
        default:
            return QVariant();
        }
    case Qt::TextAlignmentRole:
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

Qt::ItemFlags ContactModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

Qt::DropActions ContactModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

void ContactModel::ensureKeys() const
{
    const quint64 revision = DataMgr::instance()->revision();
    if (m_keysValid && m_revision == revision && m_keys.size() == contacts().size())
        return;
    const QList<ContactInfo> &list = contacts();
    m_keys.resize(list.size());
    m_sorted.resize(list.size());
    for (int i = 0; i < list.size(); ++i) {
        m_keys[i] = ContactNames::sortKey(list[i]);
        m_sorted[i] = i;
    }
    // Stable, so equal keys keep the contact list's order.
    std::stable_sort(m_sorted.begin(), m_sorted.end(), [this](int a, int b) { return m_keys[a] < m_keys[b]; });
    m_revision = revision;
    m_keysValid = true;
}

void ContactModel::ensureSearchTexts() const
{
    // Taken at the first search after a change, not when the list opens: most
    // openings search nothing.
    const quint64 revision = DataMgr::instance()->revision();
    if (m_searchValid && m_searchRevision == revision && m_search.size() == contacts().size())
        return;
    const QList<ContactInfo> &list = contacts();
    m_search.resize(list.size());
    for (int i = 0; i < list.size(); ++i)
        m_search[i] = ContactNames::searchText(list[i]);
    m_searchRevision = revision;
    m_searchValid = true;
}

void ContactModel::dropKeys()
{
    m_keys = QList<QString>();
    m_sorted = QList<int>();
    m_keysValid = false;
    m_search = QList<ContactNames::SearchText>();
    m_searchValid = false;
}

void ContactModel::show(const QList<int> &positions, bool all, const QString &search)
{
    ensureKeys();
    forgetGoneContacts();
    const QString needle = ContactNames::searchNeedle(search);
    if (!needle.isEmpty())
        ensureSearchTexts();
    else if (m_searchRevision != m_revision)
        // The texts of lists gone by; the next search takes them anew.
        m_search = QList<ContactNames::SearchText>();
    QList<bool> member;
    if (!all) {
        member.fill(false, m_keys.size());
        for (int pos : positions) {
            if (pos >= 0 && pos < member.size())
                member[pos] = true;
        }
    }
    auto inGroup = [&](int pos) { return all || member[pos]; };

    QList<int> rows;
    const QList<ContactInfo> &list = contacts();
    for (int pos : std::as_const(m_sorted)) {
        if (inGroup(pos) && (needle.isEmpty() || ContactNames::found(list[pos], m_search[pos], needle)))
            rows.append(pos);
    }

    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void ContactModel::contactEdited(int position)
{
    ensureKeys();
    if (position < 0 || position >= m_keys.size())
        return;
    if (m_searchValid && position < m_search.size())
        m_search[position] = ContactNames::searchText(contacts()[position]);
    const QString key = ContactNames::sortKey(contacts()[position]);
    if (key != m_keys[position]) {
        m_sorted.removeOne(position);
        m_keys[position] = key;
        auto less = [this](int a, int b) { return m_keys[a] < m_keys[b]; };
        // After every equal key that comes earlier in the contact list, as a
        // stable sort of the whole list would place it.
        auto at = std::lower_bound(m_sorted.begin(), m_sorted.end(), position,
            [&](int pos, int value) { return less(pos, value) || (m_keys[pos] == m_keys[value] && pos < value); });
        m_sorted.insert(at, position);
    }
    sortRows();
}

void ContactModel::sortRows()
{
    if (m_rows.size() < 2) {
        if (!m_rows.isEmpty())
            emit dataChanged(index(0, 0), index(0, ColumnCount - 1));
        return;
    }
    for (int pos : std::as_const(m_rows)) {
        if (pos < 0 || pos >= m_keys.size())
            return; // rows of an older list; the next show() replaces them
    }
    QList<int> ordered = m_rows;
    QList<int> rank(m_keys.size());
    for (int i = 0; i < m_sorted.size(); ++i)
        rank[m_sorted[i]] = i;
    std::sort(ordered.begin(), ordered.end(), [&rank](int a, int b) { return rank[a] < rank[b]; });
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    QList<int> newRow(m_keys.size(), -1);
    for (int i = 0; i < ordered.size(); ++i)
        newRow[ordered[i]] = i;
    for (const QModelIndex &old : before) {
        const int pos = position(old.row());
        after.append(index(pos >= 0 ? newRow[pos] : old.row(), old.column()));
    }
    m_rows = std::move(ordered);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, ColumnCount - 1));
}

void ContactModel::setBatch(bool batch)
{
    m_batch = batch;
    refreshDecorations();
}

void ContactModel::refreshDecorations()
{
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, ColumnCount - 1));
}

void ContactModel::checkGeneration() const
{
    const quint64 generation = DataMgr::instance()->phonebook().generation();
    if (generation == m_marksGeneration)
        return;
    m_ticked.clear();
    m_arrowId = -1;
    m_marksGeneration = generation;
}

bool ContactModel::isTicked(int position) const
{
    checkGeneration();
    return position >= 0 && position < contacts().size() && m_ticked.contains(contacts()[position].id);
}

void ContactModel::toggleTick(int position)
{
    checkGeneration();
    if (position < 0 || position >= contacts().size())
        return;
    const int id = contacts()[position].id;
    if (!m_ticked.remove(id))
        m_ticked.insert(id);
}

void ContactModel::clearTicks()
{
    checkGeneration();
    m_ticked.clear();
}

void ContactModel::tickShown(bool ticked)
{
    checkGeneration();
    const QList<ContactInfo> &list = contacts();
    for (const int position : std::as_const(m_rows)) {
        if (position < 0 || position >= list.size())
            continue;
        if (ticked)
            m_ticked.insert(list[position].id);
        else
            m_ticked.remove(list[position].id);
    }
    refreshDecorations();
}

QList<int> ContactModel::tickedPositions() const
{
    checkGeneration();
    QList<int> positions;
    if (m_ticked.isEmpty())
        return positions;
    const QList<ContactInfo> &list = contacts();
    for (int i = 0; i < list.size(); ++i) {
        if (m_ticked.contains(list[i].id))
            positions.append(i);
    }
    return positions;
}

void ContactModel::setArrow(int position)
{
    checkGeneration();
    m_arrowId = position >= 0 && position < contacts().size() ? contacts()[position].id : -1;
}

void ContactModel::forgetGoneContacts()
{
    checkGeneration();
    if (m_ticked.isEmpty() && m_arrowId < 0)
        return;
    // A later contact may be given the id of one deleted: it comes unmarked.
    QSet<int> present;
    for (const ContactInfo &c : contacts()) {
        if (m_ticked.contains(c.id) || c.id == m_arrowId)
            present.insert(c.id);
    }
    m_ticked.intersect(present);
    if (!present.contains(m_arrowId))
        m_arrowId = -1;
}
