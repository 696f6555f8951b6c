#pragma once

#include <QObject>

class QWidget;

// Turns a help page: the shown page slides out by one page height while the
// next one slides in from below (forward) or from above (back). One turn at a
// time; a request during a turn is refused.
class UserGuideControl : public QObject
{
    Q_OBJECT
public:
    explicit UserGuideControl(QObject *parent = nullptr);

    bool isRunning() const { return m_running; }
    // Starts the turn from `current` to `next`; false, with nothing moved, while
    // another turn is running.
    bool turn(QWidget *current, QWidget *next, bool forward, int height = 480);
    Q_INVOKABLE void stopRunning();

signals:
    void finished();

private:
    bool m_running = false;
};
