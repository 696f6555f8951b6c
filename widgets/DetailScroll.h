#pragma once

#include <QScrollArea>

// The scroll area of the contact detail panel.
class DetailScroll : public QScrollArea
{
    Q_OBJECT
public:
    explicit DetailScroll(QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
