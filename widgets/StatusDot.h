#pragma once

#include <QColor>
#include <QIcon>

// A small filled circle in `color`: the mark beside a row that says how it stands.
QIcon statusDot(const QColor &color);
