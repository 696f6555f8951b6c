#include "import/ParseFactory.h"

#include "import/CSVParse.h"
#include "import/VCardParse.h"
#include "import/XmlParse.h"

#include <QFileInfo>

std::unique_ptr<ParseBase> ParseFactory::createParser(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = dot < 0 ? QString() : name.mid(dot + 1);
    if (suffix == QLatin1String("xml"))
        return std::make_unique<XmlParse>();
    if (suffix == QLatin1String("vcf"))
        return std::make_unique<VCardParse>();
    if (suffix == QLatin1String("csv"))
        return std::make_unique<CSVParse>();
    return nullptr;
}
