#include "app/WindowMemory.h"

#include "data/AppPaths.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

QString pickerKey(WindowMemory::Picker picker)
{
    switch (picker) {
    case WindowMemory::Picker::Import:
        return QStringLiteral("folders/import");
    case WindowMemory::Picker::Export:
        return QStringLiteral("folders/export");
    case WindowMemory::Picker::History:
        return QStringLiteral("folders/history");
    case WindowMemory::Picker::Backup:
        return QStringLiteral("folders/backup");
    }
    return QString();
}

bool store(const QString &key, const QVariant &value)
{
    QSettings settings(WindowMemory::filePath(), QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    qWarning().noquote() << "could not write" << QDir::toNativeSeparators(WindowMemory::filePath());
    return false;
}

QVariant load(const QString &key)
{
    const QSettings settings(WindowMemory::filePath(), QSettings::IniFormat);
    return settings.status() == QSettings::NoError ? settings.value(key) : QVariant();
}

} // namespace

namespace WindowMemory {

QString filePath()
{
    return AppPaths::configDir() + QStringLiteral("window.ini");
}

QByteArray geometry()
{
    return load(QStringLiteral("window/geometry")).toByteArray();
}

bool setGeometry(const QByteArray &geometry)
{
    return store(QStringLiteral("window/geometry"), geometry);
}

QString folder(Picker picker)
{
    const QString path = load(pickerKey(picker)).toString();
    return !path.isEmpty() && QFileInfo(path).isDir() ? path : QString();
}

bool setFolder(Picker picker, const QString &folder)
{
    return store(pickerKey(picker), folder);
}

} // namespace WindowMemory
