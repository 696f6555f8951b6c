#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

class QStringDecoder;
class QTextCodec;

// The one place that turns the user's encoding names into bytes and back. Every
// reader and writer goes through it.
//
// Names are those of the dialogs ("UTF-8", "UTF-16", "UTF-32", "GBK", "Big5",
// "Big5-HKSCS", "Shift-JIS", "ISO 2022-JP", "KOI8-R", "Windows-1251", "EUC-KR",
// "ISO 8859-1", "ISO 8859-15") or any other name the codec registry knows; lookup
// ignores case and every character that is not a letter or digit.
//
// Written text never starts with a byte-order mark; "UTF-16" and "UTF-32" are
// written little-endian. "EUC-KR" writes real EUC-KR (KS X 1001 only), not the
// Windows superset that the registry hands out under that name, and the
// encodability checks agree with what is written.
namespace TextCodec {

// Codec of the registry for a name, nullptr when unknown. Prefer the functions
// below: for "EUC-KR" the registry's codec is the Windows superset.
QTextCodec *codecForName(const QString &name);

// Whether the name denotes an encoding we can read and write.
bool isKnown(const QString &name);

// Whether the named encoding can hold every character of `text`; false for an
// unknown name and for text holding an unpaired surrogate.
bool canEncode(const QString &name, const QString &text);

// `text` in the named encoding; characters it cannot hold become "?". An unknown
// name writes UTF-8.
QByteArray encode(const QString &name, const QString &text);

// As encode(), but every character the encoding cannot hold becomes a hexadecimal
// character reference ("&#x4e2d;", one per code point). For XML text that is
// already escaped.
QByteArray encodeWithReferences(const QString &name, const QString &text);

// `bytes` read in the named encoding. A leading byte-order mark is honoured and
// dropped for the Unicode encodings; "UTF-16" and "UTF-32" without one are read
// little-endian. "EUC-KR" is read with the Windows superset, which reads every
// EUC-KR file alike. An unknown name reads UTF-8.
QString decode(const QString &name, const QByteArray &bytes);

// As decode(), but false when the bytes hold a sequence the encoding does not
// allow (or end inside one, as a UTF-16 or UTF-32 file whose length is no
// multiple of its unit), or the name is unknown; `text` then holds what decode()
// gives.
bool decodeStrict(const QString &name, const QByteArray &bytes, QString *text);

// Whether a charset a file declares for a piece of its text (a vCard's CHARSET
// parameter) names an encoding we read: "GB2312", "GBK", "GB18030", "BIG5",
// "UTF-8", "ISO-8859-1" to "ISO-8859-15", "WINDOWS-1250" to "WINDOWS-1258",
// "SHIFT_JIS", "EUC-KR", "KOI8-R" and the other names the registry knows, in any
// case.
bool isKnownCharset(const QString &charset);

// decodeStrict() for bytes in a declared charset. GB2312 is read as GBK, which
// phones write under that name and which reads GB2312 text alike; EUC-KR is held
// to EUC-KR itself, without the Windows superset that decode() reads.
bool decodeCharset(const QString &charset, const QByteArray &bytes, QString *text);

// decodeStrict() or decodeCharset() piece by piece, with the codec looked up once.
class Decoder
{
public:
    // As decodeStrict() reads the named encoding.
    explicit Decoder(const QString &name);
    // As decodeCharset() reads the declared charset.
    static Decoder forCharset(const QString &charset);
    Decoder(Decoder &&) noexcept;
    Decoder &operator=(Decoder &&) noexcept;
    ~Decoder();

    bool isKnown() const { return m_kind != Unknown; }
    // False when the bytes are not valid in the encoding, or it is unknown; `text`
    // then holds what decode() gives.
    bool decode(QByteArrayView bytes, QString *text);

private:
    enum Kind { Unknown, Unicode, EucKr, Registry };

    Decoder() = default;

    Kind m_kind = Unknown;
    int m_width = 1;
    QTextCodec *m_codec = nullptr;
    // The converter that tells a broken sequence, which the registry's codecs pass.
    std::unique_ptr<QStringDecoder> m_check;
};

// The encoding of a text file's bytes, as a name the functions above know: a
// byte-order mark first ("UTF-8", "UTF-16", "UTF-32"), then valid UTF-8 (plain
// ASCII included), then the statistical detector (GB18030, Big5, Windows-1252,
// Shift-JIS, EUC-KR ...). A name is given only when the whole file reads cleanly
// in it (decodeStrict()); empty otherwise. In a vCard, the values of properties
// that declare a known charset say their own encoding and are left out.
QString detect(const QByteArray &bytes);
// detect() on the bytes of a file; empty when it cannot be read either.
QString detectFile(const QString &path);

// The name an XML declaration gives for the named encoding (its usual IANA name:
// "UTF-8", "Shift_JIS", "ISO-2022-JP", "windows-1251", "ISO-8859-1" ...); "UTF-8"
// for an unknown name.
QString xmlName(const QString &name);

// Appends "&#x" + lower-case hexadecimal + ";" for one code point.
void appendReference(QString &out, char32_t codePoint);

// Encodes text piece by piece into one encoding, keeping the converter state
// between pieces (ISO-2022-JP shifts), with a cache of which code points the
// encoding holds. An unknown name falls back to UTF-8. Not shared between threads.
class Encoder
{
public:
    explicit Encoder(const QString &name);
    ~Encoder();
    Encoder(const Encoder &) = delete;
    Encoder &operator=(const Encoder &) = delete;

    // False when the name was unknown and UTF-8 is used instead.
    bool isKnown() const { return m_known; }
    // True for the Unicode encodings, which hold every code point.
    bool isUnicode() const;
    QString xmlName() const { return m_xmlName; }

    // A surrogate code point (a half of a pair) is never encodable.
    bool canEncode(char32_t codePoint);
    bool canEncode(QStringView text);

    // The next piece of text; characters the encoding cannot hold become "?".
    // Split pieces at line ends, never inside a surrogate pair.
    QByteArray encode(QStringView text);

    // `text` with every code point the encoding cannot hold replaced by its
    // character reference; unpaired surrogates are left out.
    QString withReferences(QStringView text);

private:
    enum Kind { Utf8, Utf16LE, Utf32LE, EucKr, Registry };

    bool computeCanEncode(char32_t codePoint) const;
    QString substituted(QStringView text);

    Kind m_kind = Utf8;
    bool m_known = false;
    QString m_xmlName;
    QTextCodec *m_codec = nullptr;
    struct State;
    std::unique_ptr<State> m_state;
    // 0 unknown, 1 encodable, 2 not, for the Basic Multilingual Plane.
    std::vector<unsigned char> m_bmpCache;
};

} // namespace TextCodec
