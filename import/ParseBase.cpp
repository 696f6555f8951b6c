#include "import/ParseBase.h"

#include "data/DBOperator.h"
#include "data/TextCodec.h"
#include "import/ImportRows.h"
#include "manager/DataMgr.h"

#include <QFile>
#include <QLocale>
#include <QStringConverter>

ParseBase::ParseBase(QObject *parent)
    : QObject(parent)
{
}

QString ParseBase::localeCodecName()
{
    return QString();
}

bool ParseBase::checkFileEncoding(const QString &, const QString &)
{
    return true;
}

bool ParseBase::convertFileEncoding(const QString &, const QString &, const QString &)
{
    return true;
}

bool ParseBase::readFile(const QString &, const QString &)
{
    return true;
}

void ParseBase::clearGroupNames() { }

void ParseBase::resetIdCounters() { }

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

QString ParseBase::systemCodecName()
{
    return codecNameForTerritory(QLocale().territory());
}

void ParseBase::clearKnownGroupNames()
{
    DataMgr::instance()->userGroupNames().clear();
}

void ParseBase::resetCounters()
{
    DataMgr::instance()->setNextContactId(1);
    DataMgr::instance()->setNextGroupId(1);
}

bool ParseBase::decodeFile(const QString &path, const QString &fromCodec, QString *text)
{
    QByteArray bytes;
    return readBytes(path, &bytes) && decodeBytes(bytes, fromCodec, text);
}

bool ParseBase::readBytes(const QString &path, QByteArray *bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(path);
    *bytes = file.readAll();
    return true;
}

bool ParseBase::decodeBytes(const QByteArray &bytes, const QString &fromCodec, QString *text)
{
    if (!TextCodec::isKnown(fromCodec)) {
        setErrorString(tr("The encoding %1 is unknown.").arg(fromCodec));
        return false;
    }
    if (!TextCodec::decodeStrict(fromCodec, bytes, text))
        return invalidBytes(fromCodec);
    if (text->startsWith(QChar(0xFEFF)))
        text->remove(0, 1);
    return true;
}

bool ParseBase::unreadable(const QString &path)
{
    setErrorString(tr("The file %1 cannot be read.").arg(path));
    return false;
}

bool ParseBase::unreadableCopy(const QString &path)
{
    setErrorString(tr("The working copy %1 cannot be read.").arg(path));
    m_workingCopyFailed = true;
    return false;
}

bool ParseBase::invalidBytes(const QString &codecName)
{
    setErrorString(tr("The file is not valid %1 text; choose the encoding it was saved in.").arg(codecName));
    return false;
}

bool ParseBase::writeEncoded(const QString &target, const QString &text, const QString &toCodec)
{
    if (!TextCodec::isKnown(toCodec)) {
        setErrorString(tr("The encoding %1 is unknown.").arg(toCodec));
        return false;
    }
    return writeBytes(target, TextCodec::encode(toCodec, text));
}

bool ParseBase::writeBytes(const QString &target, const QByteArray &bytes)
{
    QFile file(target);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush())
        return true;
    setErrorString(tr("The working copy %1 cannot be written.").arg(target));
    m_workingCopyFailed = true;
    return false;
}

bool ParseBase::decodeUtf8(const QByteArray &bytes, QString *text)
{
    // A byte-order mark of another Unicode encoding wins, as in decodedText().
    const auto bom = QStringConverter::encodingForData(bytes);
    if (bom && *bom != QStringConverter::Utf8) {
        QStringDecoder decode(*bom);
        *text = decode(bytes);
        if (decode.hasError())
            return invalidBytes(QString::fromLatin1(QStringConverter::nameForEncoding(*bom)));
    } else if (!TextCodec::decodeStrict(QStringLiteral("UTF-8"), bytes, text)) {
        return invalidBytes(QStringLiteral("UTF-8"));
    }
    if (text->startsWith(QChar(0xFEFF)))
        text->remove(0, 1);
    return true;
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

bool ParseBase::leadingText(const QString &path, QString *text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.readAll();
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    *text = QString::fromUtf8(bytes);
    return true;
}

bool ParseBase::prepareImport()
{
    return DataMgr::instance()->resetForImport();
}

bool ParseBase::storeRows(const ImportRows &rows)
{
    // Nothing is merged after a failed insert; the import is then undone as a whole.
    DBOperator *store = DBOperator::instance();
    return (rows.isEmpty() || store->insertBatch(rows.batch())) && store->mergeImported();
}

bool ParseBase::fitsUtf8OrLocale(const QString &path)
{
    QString text;
    if (!leadingText(path, &text))
        return false;
    return TextCodec::canEncode(QStringLiteral("UTF-8"), text) || TextCodec::canEncode(systemCodecName(), text);
}
