#include "TextCodec.h"

#include <QTextCodec>

namespace TextCodec {

QTextCodec *codecForName(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    return QTextCodec::codecForName(name.toLatin1());
}

bool canEncode(const QString &name, const QString &text)
{
    QTextCodec *codec = codecForName(name);
    return codec && codec->canEncode(text);
}

} // namespace TextCodec
