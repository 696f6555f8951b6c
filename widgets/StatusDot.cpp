#include "widgets/StatusDot.h"

#include <QPainter>
#include <QPixmap>

QIcon statusDot(const QColor &color)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(color.darker(130));
    p.setBrush(color);
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    return QIcon(pixmap);
}
