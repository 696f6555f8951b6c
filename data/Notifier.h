#pragma once

#include <QString>

// How the core tells the user something. The GUI installs an implementation with
// modal message boxes; without one, messages go to standard error.
class Notifier
{
public:
    enum Icon { NoIcon, Information, Warning, Critical };

    virtual ~Notifier() = default;
    // A modal box with one OK button; returns when the user has closed it.
    virtual void message(Icon icon, const QString &title, const QString &text) = 0;

    // The installed notifier (never null).
    static Notifier *current();
    // Installs `notifier` (not owned); nullptr restores the standard-error one.
    static void install(Notifier *notifier);
};
