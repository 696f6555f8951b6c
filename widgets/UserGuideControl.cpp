#include "widgets/UserGuideControl.h"

#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QWidget>

UserGuideControl::UserGuideControl(QObject *parent)
    : QObject(parent)
{
}

bool UserGuideControl::turn(QWidget *current, QWidget *next, bool forward, int height)
{
    if (m_running)
        return false;
    m_running = true;

    const int step = forward ? height : -height;
    current->move(0, 0);
    next->move(0, step);
    next->show();
    next->raise();

    auto *group = new QParallelAnimationGroup(this);
    auto *out = new QPropertyAnimation(current, "pos", group);
    out->setStartValue(QPoint(0, 0));
    out->setEndValue(QPoint(0, -step));
    auto *in = new QPropertyAnimation(next, "pos", group);
    in->setStartValue(QPoint(0, step));
    in->setEndValue(QPoint(0, 0));
    group->addAnimation(out);
    group->addAnimation(in);
    connect(group, &QAbstractAnimation::finished, this, [this, current] {
        current->hide();
        stopRunning();
    });
    group->start(QAbstractAnimation::DeleteWhenStopped);
    return true;
}

void UserGuideControl::stopRunning()
{
    m_running = false;
    emit finished();
}
