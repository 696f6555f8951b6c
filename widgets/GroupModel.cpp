#include "widgets/GroupModel.h"

#include "data/Notifier.h"
#include "data/PinyinKey.h"
#include "data/Records.h"
#include "manager/DataMgr.h"

#include <QPixmap>

using namespace Records;

namespace {

const QList<GroupInfo> &groups()
{
    return DataMgr::instance()->phonebook().groups();
}

// The add-group row stands before the last group.
int addRow()
{
    return qMax(1, int(groups().size()));
}

QString iconFor(int row)
{
    if (row == 0)
        return QStringLiteral(":/all_groups_default.png");
    if (GroupModel::isAddRow(row))
        return QStringLiteral(":/add_default.png");
    if (groupIconKind(GroupModel::rowName(row)) == QLatin1String("Blacklist"))
        return QStringLiteral(":/black_groups_default.png");
    return QStringLiteral(":/default_groups_default.png");
}

} // namespace

GroupModel::GroupModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int GroupModel::groupIndex(int row)
{
    const int add = addRow();
    if (row <= 0 || row == add || row > groups().size() + 1)
        return -1;
    return row < add ? row - 1 : row - 2;
}

int GroupModel::rowOfGroup(int index)
{
    if (index < 0 || index >= groups().size())
        return 0;
    const int row = index + 1;
    return row < addRow() ? row : row + 1;
}

bool GroupModel::isAddRow(int row)
{
    return row == addRow();
}

QString GroupModel::rowName(int row)
{
    if (isAddRow(row))
        return kAddGroup;
    const int index = groupIndex(row);
    return index < 0 ? kAll : groups().at(index).name;
}

int GroupModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(groups().size()) + 2;
}

int GroupModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant GroupModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const int row = index.row();
    const int group = groupIndex(row);
    const GroupInfo *g = group >= 0 ? &groups().at(group) : nullptr;
    const QString name = g ? g->name : rowName(row);
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn:
            // Not the stored label: the built-in groups' names follow a change of language.
            return groupDisplayName(name);
        case CountColumn:
            if (isAddRow(row))
                return QString();
            return QString::number(g ? g->MemberCount : int(DataMgr::instance()->phonebook().contacts().size()));
        case KeyColumn:
            return g ? g->NamePinyin : PinyinKey::pinyinOf(name);
        default:
            return QVariant();
        }
    case Qt::EditRole:
        return index.column() == NameColumn ? QVariant(name) : QVariant();
    case Qt::DecorationRole:
        if (index.column() == IconColumn)
            return QPixmap(iconFor(row));
        if (index.column() == ArrowColumn && row == m_selectedRow)
            return QPixmap(QStringLiteral(":/Arrow.png"));
        return QVariant();
    case Qt::TextAlignmentRole:
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

bool GroupModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.column() != NameColumn || index.row() >= rowCount())
        return false;
    const QString text = value.toString().trimmed();
    const QString current = rowName(index.row());
    bool renamed = false;
    if (text != current && !text.isEmpty() && !current.isEmpty()) {
        DataMgr *mgr = DataMgr::instance();
        const DataMgr::BusyScope busy(mgr);
        const int group = groupIndex(index.row());
        renamed = mgr->phonebook().renameGroup(group, text);
        if (!renamed && mgr->phonebook().renameRefused(group, text))
            Notifier::current()->message(
                Notifier::NoIcon, DataMgr::tr("Group name"), DataMgr::tr("Group name cannot be repeated!"));
    }
    if (renamed) {
        emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
        emit groupRenamed(index.row());
    }
    emit dataStored(index.row());
    return renamed;
}

Qt::ItemFlags GroupModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Selection is driven by the view; which rows may really be renamed the
    // delegate decides.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void GroupModel::rebuild()
{
    beginResetModel();
    endResetModel();
}

void GroupModel::setSelectedRow(int row)
{
    if (row == m_selectedRow)
        return;
    const int before = m_selectedRow;
    m_selectedRow = row;
    for (int r : { before, row }) {
        if (r >= 0 && r < rowCount())
            emit dataChanged(index(r, ArrowColumn), index(r, ArrowColumn), { Qt::DecorationRole });
    }
}
