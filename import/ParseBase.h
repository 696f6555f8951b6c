#pragma once

#include "data/Result.h"
#include "import/ImportRows.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class ImportContext;

// Base of the phonebook readers. A reader turns the bytes of a file, in the encoding
// the user chose, into the rows of the store, numbered from the context it is given,
// or says what was wrong with the file and where. It reads no file and changes
// nothing else: the data manager empties the phonebook when asked, hands the rows to
// the store and takes the numbering back.
class ParseBase
{
    Q_DECLARE_TR_FUNCTIONS(ParseBase)
public:
    virtual ~ParseBase();
    ParseBase(const ParseBase &) = delete;
    ParseBase &operator=(const ParseBase &) = delete;

    // The bytes are taken whole and let go as soon as they are parsed, so that a
    // large file is not held twice. An encoding other than exactly "UTF-8" is
    // converted first (also "utf-8").
    virtual Expected<ImportRows> read(QByteArray bytes, const QString &encoding, ImportContext &numbering) = 0;

    // Whether the text of `bytes` (up to a zero byte, read as UTF-8) fits the
    // encoding the reader would check it against.
    virtual bool checkEncoding(const QByteArray &bytes, const QString &codecName) const;

    // Legacy encoding of the system's country.
    static QString localeCodecName();
    // "GBK", "Big5-HKSCS", "Shift-JIS", "KOI8-R", "Big5" or "EUC-KR" by country.
    static QString codecNameForTerritory(int territory);

protected:
    ParseBase() = default;

    // `bytes` read as `codecName`, without a byte-order mark; fails when the encoding
    // is unknown or the bytes are not valid in it.
    static Expected<QString> decode(const QByteArray &bytes, const QString &codecName);
    // UTF-8 text, or UTF-16 or UTF-32 by its byte-order mark (as a text stream
    // reads); fails on invalid bytes.
    static Expected<QString> decodeUtf8(const QByteArray &bytes);
    // decodeUtf8() that lets invalid bytes through.
    static QString decodedText(const QByteArray &bytes);
    // The failure for bytes not valid in the named encoding.
    static Result invalidBytes(const QString &codecName);
    // The XML and vCard check: the leading text fits UTF-8 or the system's legacy
    // encoding.
    static bool fitsUtf8OrLocale(const QByteArray &bytes);
    // The bytes up to their first zero byte, as UTF-8 text.
    static QString leadingText(const QByteArray &bytes);
};
