#include "widgets/PictureButton.h"

#include <QPushButton>

QPushButton *makePictureButton(
    const QString &name, const QString &picture, const QString &pressed, int x, int y, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setGeometry(x, y, 24, 24);
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet(QStringLiteral("QPushButton {background: transparent url(%1); border: none}"
                                         "QPushButton:pressed {background: transparent url(%2); border: none}")
                              .arg(picture, pressed));
    return button;
}
