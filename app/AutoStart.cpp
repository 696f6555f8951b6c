#include "app/AutoStart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace AutoStart {

#ifdef Q_OS_WIN

namespace {
const char *const kRunValue = "SOFTWARE/Microsoft/Windows/CurrentVersion/Run/QuorvanePhonebookEditor";
} // namespace

bool enable(const QString &executable)
{
    QSettings settings(QStringLiteral("HKEY_LOCAL_MACHINE"), QSettings::NativeFormat);
    QString path = executable;
    settings.setValue(QLatin1String(kRunValue), path.replace(QLatin1Char('/'), QLatin1Char('\\')));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool disable()
{
    QSettings settings(QStringLiteral("HKEY_LOCAL_MACHINE"), QSettings::NativeFormat);
    settings.remove(QLatin1String(kRunValue));
    settings.sync();
    return !settings.contains(QLatin1String(kRunValue));
}

bool isEnabled()
{
    QSettings settings(QStringLiteral("HKEY_LOCAL_MACHINE"), QSettings::NativeFormat);
    return settings.contains(QLatin1String(kRunValue));
}

#else

QString desktopEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/QuorvanePhonebookEditor.desktop");
}

QString execValue(const QString &executable)
{
    // Desktop entries first undo the string escapes (a doubled backslash) of every
    // value, then split Exec into arguments, honouring backslash escapes inside
    // double quotes; so an escaped character needs two backslashes in the file and
    // a literal backslash four. A lone "%" would start a field code.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (const QChar c : executable) {
        if (reserved.contains(c)) {
            needsQuotes = true;
            break;
        }
    }
    QString value;
    for (const QChar c : executable) {
        if (needsQuotes && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')))
            value += QStringLiteral("\\\\");
        if (c == QLatin1Char('\\'))
            value += QStringLiteral("\\\\\\");
        if (c == QLatin1Char('%'))
            value += QLatin1Char('%');
        value += c;
    }
    return needsQuotes ? QLatin1Char('"') + value + QLatin1Char('"') : value;
}

bool enable(const QString &executable)
{
    const QString path = desktopEntryPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    // The menu entry's own lines (names, comment, icon in every language), started
    // from this executable.
    QFile menuEntry(QStringLiteral(":/linux/com.quorvane.PhonebookEditor.desktop"));
    if (!menuEntry.open(QIODevice::ReadOnly))
        return false;
    QByteArray entry;
    for (const QByteArray &line : menuEntry.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        entry += line.startsWith("Exec=") ? "Exec=" + execValue(executable).toUtf8() : line;
        entry += '\n';
    }
    entry += "X-GNOME-Autostart-enabled=true\n";
    file.write(entry);
    return file.commit();
}

bool disable()
{
    const QString path = desktopEntryPath();
    return !QFile::exists(path) || QFile::remove(path);
}

bool isEnabled()
{
    return QFile::exists(desktopEntryPath());
}

#endif

} // namespace AutoStart
