#pragma once

#include <QObject>
#include <QString>

class ImportRows;

// Base of the phonebook readers. A reader converts a file in the user's encoding
// into a UTF-8 copy in the program folder, parses and checks the whole file, and
// only then prepares the import (which in replace mode empties the phonebook) and
// hands one batch of rows to the store, which merges them. A file that fails
// leaves the phonebook and the store as they were.
class ParseBase : public QObject
{
    Q_OBJECT
public:
    explicit ParseBase(QObject *parent = nullptr);

    // Legacy encoding of the system's country.
    virtual QString localeCodecName();
    virtual bool checkFileEncoding(const QString &path, const QString &codecName);
    // Re-encodes `path` from `fromCodec` to `toCodec` into the reader's temporary file.
    virtual bool convertFileEncoding(const QString &path, const QString &fromCodec, const QString &toCodec);
    virtual bool readFile(const QString &path, const QString &codecName);
    // Empties the data manager's list of known user-group names.
    virtual void clearGroupNames();
    // Sets the data manager's contact and group id counters to 1.
    virtual void resetIdCounters();

    // "GBK", "Big5-HKSCS", "Shift-JIS", "KOI8-R", "Big5" or "EUC-KR" by country.
    static QString codecNameForTerritory(int territory);

    // What was wrong with the file of the last failed read, for the user; empty
    // when the read succeeded or failed for no reason of the file's.
    QString errorString() const { return m_errorString; }
    // Whether the last read failed on a working copy in the program folder (one
    // that could not be written or read back) rather than on the file; the error
    // text then names the copy.
    bool workingCopyFailed() const { return m_workingCopyFailed; }

protected:
    void setErrorString(const QString &text)
    {
        m_errorString = text;
        m_workingCopyFailed = false;
    }

    // The shared halves of the overrides.
    static QString systemCodecName();
    static void clearKnownGroupNames();
    static void resetCounters();

    // Reads the file and decodes it as `fromCodec`, skipping a byte-order mark.
    // False, with the error text set, when the file cannot be read, the encoding
    // is unknown or the bytes are not valid in it.
    bool decodeFile(const QString &path, const QString &fromCodec, QString *text);
    // The two halves of decodeFile().
    bool readBytes(const QString &path, QByteArray *bytes);
    bool decodeBytes(const QByteArray &bytes, const QString &fromCodec, QString *text);
    // Writes `text` encoded as `toCodec` to `target`; false, with the error text
    // set, when that fails.
    bool writeEncoded(const QString &target, const QString &text, const QString &toCodec);
    // Writes `bytes` to `target` (truncating it); the same.
    bool writeBytes(const QString &target, const QByteArray &bytes);
    static QString decodedText(const QByteArray &bytes);
    // decodedText() that fails, with the error text set, on invalid bytes: UTF-8
    // text, or UTF-16 or UTF-32 by its byte-order mark (as a text stream reads).
    bool decodeUtf8(const QByteArray &bytes, QString *text);
    // Set the error text for bytes not valid in the named encoding, or for a file
    // that cannot be read; return false.
    bool invalidBytes(const QString &codecName);
    bool unreadable(const QString &path);
    // The same for a working copy (workingCopyFailed()).
    bool unreadableCopy(const QString &path);
    // The bytes of the file up to its first zero byte, as UTF-8 text.
    static bool leadingText(const QString &path, QString *text);
    // The XML and vCard check: the leading text fits UTF-8 or the system's legacy
    // encoding.
    static bool fitsUtf8OrLocale(const QString &path);

    // The writing contract, once the file is known to be good: prepare the import
    // (the data manager empties everything in replace mode); false when that fails.
    static bool prepareImport();
    // Hands the rows to the store and merges them; false when the store failed.
    static bool storeRows(const ImportRows &rows);

private:
    QString m_errorString;
    bool m_workingCopyFailed = false;
};
