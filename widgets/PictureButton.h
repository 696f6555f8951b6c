#pragma once

#include <QString>

class QPushButton;
class QWidget;

// The round 24x24 picture buttons of the detail editor's rows (delete, add):
// a picture, another one while pressed, no frame and no keyboard focus.
QPushButton *makePictureButton(
    const QString &name, const QString &picture, const QString &pressed, int x, int y, QWidget *parent);
