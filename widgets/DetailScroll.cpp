#include "widgets/DetailScroll.h"

DetailScroll::DetailScroll(QWidget *parent)
    : QScrollArea(parent)
{
    setObjectName(QStringLiteral("detail_widget"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
}

void DetailScroll::mousePressEvent(QMouseEvent *event)
{
    QScrollArea::mousePressEvent(event);
}
