#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the editor's small windows open. Rectangles are frame geometries; the
// results are top-left corners that keep the whole window on `screen`.
namespace WindowPlacement {

// Centred over `anchor`.
QPoint centredOver(const QRect &anchor, const QSize &size, const QRect &screen);
// Level with `anchor`'s top, to its right where there is room, else to its left;
// where neither side has room, on the side with more of it, as far out as the
// screen allows.
QPoint beside(const QRect &anchor, const QSize &size, const QRect &screen);

} // namespace WindowPlacement
