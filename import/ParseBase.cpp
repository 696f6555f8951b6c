#include "import/ParseBase.h"

#include "data/TextCodec.h"

#include <QLocale>
#include <QStringConverter>

ParseBase::~ParseBase() = default;

bool ParseBase::checkEncoding(const QByteArray &, const QString &) const
{
    return true;
}

QString ParseBase::codecNameForTerritory(int territory)
{
    switch (QLocale::Territory(territory)) {
    case QLocale::China:
        return QStringLiteral("GBK");
    case QLocale::HongKong:
        return QStringLiteral("Big5-HKSCS");
    case QLocale::Japan:
        return QStringLiteral("Shift-JIS");
    case QLocale::Russia:
        return QStringLiteral("KOI8-R");
    case QLocale::Taiwan:
        return QStringLiteral("Big5");
    default:
        return QStringLiteral("EUC-KR");
    }
}

QString ParseBase::localeCodecName()
{
    return codecNameForTerritory(QLocale().territory());
}

Expected<QString> ParseBase::decode(const QByteArray &bytes, const QString &codecName)
{
    if (!TextCodec::isKnown(codecName))
        return Result::failure(tr("The encoding %1 is unknown.").arg(codecName));
    QString text;
    if (!TextCodec::decodeStrict(codecName, bytes, &text))
        return invalidBytes(codecName);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

Result ParseBase::invalidBytes(const QString &codecName)
{
    return Result::failure(tr("The file is not valid %1 text; choose the encoding it was saved in.").arg(codecName));
}

Expected<QString> ParseBase::decodeUtf8(const QByteArray &bytes)
{
    QString text;
    // A byte-order mark of another Unicode encoding wins, as in decodedText().
    const auto bom = QStringConverter::encodingForData(bytes);
    if (bom && *bom != QStringConverter::Utf8) {
        QStringDecoder decode(*bom);
        text = decode(bytes);
        if (decode.hasError())
            return invalidBytes(QString::fromLatin1(QStringConverter::nameForEncoding(*bom)));
    } else if (!TextCodec::decodeStrict(QStringLiteral("UTF-8"), bytes, &text)) {
        return invalidBytes(QStringLiteral("UTF-8"));
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

QString ParseBase::decodedText(const QByteArray &bytes)
{
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    if (const auto bom = QStringConverter::encodingForData(bytes))
        encoding = *bom;
    QStringDecoder decode(encoding);
    QString text = decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

QString ParseBase::leadingText(const QByteArray &bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? bytes : bytes.left(zero));
}

bool ParseBase::fitsUtf8OrLocale(const QByteArray &bytes)
{
    const QString text = leadingText(bytes);
    return TextCodec::canEncode(QStringLiteral("UTF-8"), text) || TextCodec::canEncode(localeCodecName(), text);
}
