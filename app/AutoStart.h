#pragma once

#include <QString>

// Starting the editor when the user logs on. On Windows this is the machine's Run
// registry value; elsewhere the XDG autostart entry of the user's configuration
// folder, which is where Linux desktops look for it.
namespace AutoStart {

// Registers `executable` (a full path) to start at log-on. False when nothing
// could be written (for example without the right to write the Run key).
bool enable(const QString &executable);
// Removes the registration; true when none is left.
bool disable();
// Whether a registration is present.
bool isEnabled();

#ifndef Q_OS_WIN
// ~/.config/autostart/QuorvanePhonebookEditor.desktop, honouring XDG_CONFIG_HOME.
QString desktopEntryPath();
// The Exec value for `executable`, quoted and escaped as desktop entries require.
QString execValue(const QString &executable);
#endif

} // namespace AutoStart
