#include "data/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QMutex>

namespace AppPaths {

namespace {
QMutex g_mutex;
QString g_override;
} // namespace

QString appDir()
{
    {
        QMutexLocker lock(&g_mutex);
        if (!g_override.isEmpty())
            return g_override;
    }
    const QString exe = QCoreApplication::applicationFilePath();
    return exe.left(exe.lastIndexOf(QLatin1Char('/'))) + QLatin1Char('/');
}

void setAppDir(const QString &dir)
{
    QMutexLocker lock(&g_mutex);
    if (dir.isEmpty()) {
        g_override.clear();
        return;
    }
    QString path = QDir::fromNativeSeparators(QDir(dir).absolutePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    g_override = path;
}

} // namespace AppPaths
