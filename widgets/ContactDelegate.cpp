#include "widgets/ContactDelegate.h"

#include "widgets/ContactModel.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPixmap>

ContactDelegate::ContactDelegate(QObject *parent)
    : QItemDelegate(parent)
{
}

QWidget *ContactDelegate::createEditor(QWidget *, const QStyleOptionViewItem &, const QModelIndex &) const
{
    return nullptr;
}

void ContactDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->save();
    const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
    const bool current = view && view->currentIndex().row() == index.row()
        && view->selectionMode() == QAbstractItemView::SingleSelection;
    if (current)
        painter->fillRect(option.rect, QColor(0xE7, 0xEF, 0xFE));
    // A hairline between rows.
    painter->setPen(QColor(0xEB, 0xEF, 0xF4));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());

    const QVariant decoration = index.data(Qt::DecorationRole);
    if (decoration.canConvert<QPixmap>()) {
        const QPixmap pixmap = decoration.value<QPixmap>();
        if (!pixmap.isNull()) {
            QSize size = pixmap.size();
            if (size.width() > option.rect.width() - 2 || size.height() > option.rect.height() - 4)
                size.scale(option.rect.width() - 2, option.rect.height() - 4, Qt::KeepAspectRatio);
            QRect target(QPoint(0, 0), size);
            target.moveCenter(option.rect.center());
            painter->drawPixmap(target, pixmap);
        }
    }

    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty() && index.column() != ContactModel::GroupColumn) {
        QFont font = option.font;
        QColor colour(0x26, 0x32, 0x41);
        if (index.column() == ContactModel::NumberColumn) {
            font.setPixelSize(qMax(10, font.pixelSize() > 0 ? font.pixelSize() - 3 : 12));
            colour = QColor(0x6B, 0x78, 0x8A);
        }
        painter->setFont(font);
        painter->setPen(colour);
        const QRect textRect = option.rect.adjusted(2, 0, -2, 0);
        const QString elided = QFontMetrics(font).elidedText(text, Qt::ElideRight, textRect.width());
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, elided);
    }
    painter->restore();
}
