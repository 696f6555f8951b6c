#pragma once

#include "data/Notifier.h"

// Shows the core's messages as modal message boxes with one OK button, parented
// to the active window. Messages raised on another thread are shown on the GUI
// thread, and the caller waits until the box is closed.
class MessageBoxNotifier : public Notifier
{
public:
    void message(Icon icon, const QString &title, const QString &text) override;
};
