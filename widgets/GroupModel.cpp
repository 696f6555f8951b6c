#include "widgets/GroupModel.h"

#include "data/Records.h"
#include "manager/DataMgr.h"

#include <QPixmap>

namespace {

const QList<GroupInfo> &groups()
{
    return DataMgr::instance()->groupList();
}

QString iconFor(int row, const GroupInfo &g)
{
    if (row == 0)
        return QStringLiteral(":/all_groups_default.png");
    if (g.IconKind == QLatin1String("Add"))
        return QStringLiteral(":/add_default.png");
    if (g.IconKind == QLatin1String("Blacklist"))
        return QStringLiteral(":/black_groups_default.png");
    return QStringLiteral(":/default_groups_default.png");
}

} // namespace

GroupModel::GroupModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int GroupModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(groups().size());
}

int GroupModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant GroupModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= groups().size())
        return QVariant();
    const GroupInfo &g = groups().at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn:
            return g.DisplayName;
        case CountColumn:
            return g.IconKind == QLatin1String("Add") ? QString() : QString::number(g.MemberCount);
        case KeyColumn:
            return g.NamePinyin;
        default:
            return QVariant();
        }
    case Qt::EditRole:
        return index.column() == NameColumn ? QVariant(g.name) : QVariant();
    case Qt::DecorationRole:
        if (index.column() == IconColumn)
            return QPixmap(iconFor(index.row(), g));
        if (index.column() == ArrowColumn && g.Selected)
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
    if (!index.isValid() || role != Qt::EditRole || index.column() != NameColumn || index.row() >= groups().size())
        return false;
    const QString text = value.toString().trimmed();
    const QString current = groups().at(index.row()).name;
    bool renamed = false;
    if (text != current && !text.isEmpty() && !current.isEmpty())
        renamed = DataMgr::instance()->renameGroup(text, index.row());
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

void GroupModel::reset()
{
    beginResetModel();
    endResetModel();
}
