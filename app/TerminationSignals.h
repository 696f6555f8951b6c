#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGHUP and SIGINT into a signal of the event loop. The handler
// only writes the signal's number into a pipe; the program reacts once the loop
// reads it, where it may do anything. Each handler fires once: a second signal
// of the same kind ends the program the default way, should the first one not
// get it to the end. One object watches at a time (a later one stays idle); it
// restores the previous handlers when it goes.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};
