#include "manager/Options.h"

#include "export/ExportFactory.h"

#include <QFileInfo>

bool ImportOptions::hasReaderSuffix() const
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix == QLatin1String("xml") || suffix == QLatin1String("csv") || suffix == QLatin1String("vcf");
}

bool ImportOptions::isReadableFile() const
{
    return !path.isEmpty() && QFileInfo(path).isFile() && hasReaderSuffix();
}

bool ExportOptions::isComplete() const
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !folder.isEmpty()
        && QFileInfo(folder).isDir();
}

QString ExportOptions::filePath() const
{
    return folder + QLatin1Char('/') + name + ExportFactory::extension(format);
}
