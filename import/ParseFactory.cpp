#include "import/ParseFactory.h"

#include "import/CSVParse.h"
#include "import/VCardParse.h"
#include "import/XmlParse.h"

#include <QFileInfo>

ParseFactory *ParseFactory::instance()
{
    static ParseFactory *factory = new ParseFactory;
    return factory;
}

namespace {

template <typename Reader> Reader *renew(Reader *&slot)
{
    delete slot;
    slot = new Reader;
    return slot;
}

} // namespace

ParseBase *ParseFactory::createParser(const QString &path)
{
    m_filePath = path;
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = dot < 0 ? QString() : name.mid(dot + 1);
    if (suffix == QLatin1String("xml"))
        return renew(m_xmlReader);
    if (suffix == QLatin1String("vcf"))
        return renew(m_vcardReader);
    if (suffix == QLatin1String("csv"))
        return renew(m_csvReader);
    return nullptr;
}
