#include "data/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

namespace AppPaths {

namespace {

QMutex g_mutex;
QString g_override;

// Both programs share one folder whatever their application names.
const QLatin1String kFolderName("quorvane-phonebook");

QString withSlash(QString path)
{
    path = QDir::fromNativeSeparators(path);
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QString executableDir()
{
    return withSlash(QCoreApplication::applicationDirPath());
}

// Decided once per process: a copy does not change its kind while it runs.
bool executableIsPortable()
{
    static const bool portable = [] {
        const QString dir = executableDir();
        return QFileInfo::exists(dir + QStringLiteral("portable"))
            || QFileInfo::exists(dir + QStringLiteral("phonebook.db"));
    }();
    return portable;
}

QString userFolder(QStandardPaths::StandardLocation location)
{
    const QString dir = withSlash(QStandardPaths::writableLocation(location)) + kFolderName + QLatin1Char('/');
    QDir().mkpath(dir);
    return dir;
}

} // namespace

bool isPortable()
{
    {
        QMutexLocker lock(&g_mutex);
        if (!g_override.isEmpty())
            return true;
    }
    return executableIsPortable();
}

QString appDir()
{
    {
        QMutexLocker lock(&g_mutex);
        if (!g_override.isEmpty())
            return g_override;
    }
    if (executableIsPortable())
        return executableDir();
    static const QString data = userFolder(QStandardPaths::GenericDataLocation);
    return data;
}

void setAppDir(const QString &dir)
{
    QMutexLocker lock(&g_mutex);
    g_override = dir.isEmpty() ? QString() : withSlash(QDir(dir).absolutePath());
}

QString configDir()
{
    if (isPortable())
        return appDir() + QStringLiteral("language/");
    static const QString config = userFolder(QStandardPaths::GenericConfigLocation);
    return config;
}

QString translationsDir()
{
    if (isPortable())
        return appDir() + QStringLiteral("language/");
    // bin/../share/quorvane-phonebook/language/
    return withSlash(QDir::cleanPath(executableDir() + QStringLiteral("../share/"))) + kFolderName
        + QStringLiteral("/language/");
}

QString portFile()
{
    return isPortable() ? QStringLiteral("port.xml") : configDir() + QStringLiteral("port.xml");
}

} // namespace AppPaths
