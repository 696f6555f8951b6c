#include "widgets/ItemDelegate.h"

#include "widgets/GroupModel.h"

#include <QLineEdit>
#include <QPainter>

ItemDelegate::ItemDelegate(QObject *parent)
    : QItemDelegate(parent)
{
}

bool ItemDelegate::isRenamable(const QModelIndex &index)
{
    if (!index.isValid() || index.column() != GroupModel::NameColumn)
        return false;
    const QString name = index.data(Qt::EditRole).toString();
    return !(name == QLatin1String("All") || name == QLatin1String("Default") || name == QLatin1String("Blacklist")
        || name == QLatin1String("Add group"));
}

void ItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (option.state & QStyle::State_Selected)
        painter->fillRect(option.rect, QColor(0x2F, 0x6F, 0xEB));
    QItemDelegate::paint(painter, option, index);
}

QWidget *ItemDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    if (!isRenamable(index))
        return nullptr;
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("group_name_editor"));
    edit->setFrame(false);
    return edit;
}

void ItemDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        edit->setText(index.data(Qt::EditRole).toString());
}

void ItemDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        model->setData(index, edit->text(), Qt::EditRole);
}
