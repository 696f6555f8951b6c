#include "app/WindowPlacement.h"

#include <QtGlobal>

namespace {

// Between the main window and a window beside it.
constexpr int kGap = 8;

// A window larger than the screen keeps its top-left corner visible.
QPoint keepOnScreen(QPoint at, const QSize &size, const QRect &screen)
{
    at.setX(qMax(screen.left(), qMin(at.x(), screen.right() + 1 - size.width())));
    at.setY(qMax(screen.top(), qMin(at.y(), screen.bottom() + 1 - size.height())));
    return at;
}

} // namespace

namespace WindowPlacement {

QPoint centredOver(const QRect &anchor, const QSize &size, const QRect &screen)
{
    const QPoint at(
        anchor.x() + (anchor.width() - size.width()) / 2, anchor.y() + (anchor.height() - size.height()) / 2);
    return keepOnScreen(at, size, screen);
}

QPoint beside(const QRect &anchor, const QSize &size, const QRect &screen)
{
    const int right = anchor.right() + 1 + kGap;
    const int left = anchor.left() - kGap - size.width();
    const int roomRight = screen.right() + 1 - right;
    const int roomLeft = anchor.left() - kGap - screen.left();
    int x = right;
    if (roomRight < size.width() && (roomLeft >= size.width() || roomLeft > roomRight))
        x = left;
    return keepOnScreen(QPoint(x, anchor.top()), size, screen);
}

} // namespace WindowPlacement
