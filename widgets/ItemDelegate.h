#pragma once

#include <QItemDelegate>

// Edits group names in place. "All", "Default", "Blacklist" and the add-group
// row cannot be renamed and open no editor.
class ItemDelegate : public QItemDelegate
{
    Q_OBJECT
public:
    explicit ItemDelegate(QObject *parent = nullptr);

    // The selected group sits on an accent band, its texts in white.
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    // Whether the group shown in that row may be renamed.
    static bool isRenamable(const QModelIndex &index);
};
