#pragma once

#include <QItemDelegate>

// Draws the contact rows: a soft band behind the shown contact, pictures centred
// in their cells, names and numbers elided to their column. Never edits.
class ContactDelegate : public QItemDelegate
{
    Q_OBJECT
public:
    explicit ContactDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
