#include "data/TextCodec.h"

#include "data/VCardLines.h"

#include <QFile>

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextCodec>

#include <uchardet.h>

namespace TextCodec {

namespace {

// "ISO 2022-JP" -> "iso2022jp": how the dialogs' names meet the registry's.
QByteArray normalised(const QString &name)
{
    QByteArray key;
    key.reserve(name.size());
    for (QChar c : name) {
        if (c.isLetterOrNumber() && c.unicode() < 0x80)
            key.append(char(c.toLower().unicode()));
    }
    return key;
}

// What the registry's own name for "EUC-KR" is not.
const char *const kEucKr = "EUC-KR";

bool hasRealEucKr()
{
    static const bool available = QStringEncoder(kEucKr).isValid();
    return available;
}

// Reads a code point at `i`, advancing past a surrogate pair; an unpaired
// surrogate is returned as itself.
inline char32_t codePointAt(QStringView text, qsizetype &i)
{
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
        ++i;
        return QChar::surrogateToUcs4(c, text[i].unicode());
    }
    return c;
}

inline bool isSurrogate(char32_t cp)
{
    return cp >= 0xD800 && cp <= 0xDFFF;
}

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (uchar(c) >= 0x80)
            return false;
    }
    return true;
}

// Bytes in UTF-8 (width 1), UTF-16 (2) or UTF-32 (4); a byte-order mark is
// honoured and dropped, the wider ones are little-endian without it. `ok`, when
// given, tells whether every sequence was valid and complete.
QString decodeUnicode(QByteArrayView view, int width, bool *ok = nullptr)
{
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    if (width == 1) {
        if (view.startsWith("\xEF\xBB\xBF"))
            view = view.sliced(3);
        if (!ok)
            return QString::fromUtf8(view);
    } else if (width == 2) {
        encoding = QStringConverter::Utf16LE;
        if (view.startsWith("\xFF\xFE")) {
            view = view.sliced(2);
        } else if (view.startsWith("\xFE\xFF")) {
            view = view.sliced(2);
            encoding = QStringConverter::Utf16BE;
        }
    } else {
        encoding = QStringConverter::Utf32LE;
        if (view.startsWith(QByteArrayView("\xFF\xFE\x00\x00", 4))) {
            view = view.sliced(4);
        } else if (view.startsWith(QByteArrayView("\x00\x00\xFE\xFF", 4))) {
            view = view.sliced(4);
            encoding = QStringConverter::Utf32BE;
        }
    }
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(view);
    if (ok)
        *ok = !decoder.hasError() && (width == 1 ? view.isValidUtf8() : view.size() % width == 0);
    return text;
}

// Bytes per code unit of the registry's UTF-16 and UTF-32 codecs (named
// byte orders included); 1 for every other codec.
int unitWidth(int mib)
{
    switch (mib) {
    case 1013: // UTF-16BE
    case 1014: // UTF-16LE
    case 1015: // UTF-16
        return 2;
    case 1017: // UTF-32
    case 1018: // UTF-32BE
    case 1019: // UTF-32LE
        return 4;
    default:
        return 1;
    }
}

// The detector's name for an encoding, as the dialogs name it.
QString fromDetectorName(const QByteArray &name)
{
    static const struct {
        const char *detector;
        const char *ours;
    } names[] = { { "ASCII", "UTF-8" }, { "GB18030", "GB18030" }, { "BIG5", "Big5" },
        { "WINDOWS-1252", "Windows-1252" }, { "ISO-8859-1", "Windows-1252" }, { "SHIFT_JIS", "Shift-JIS" },
        { "EUC-KR", "EUC-KR" }, { "UHC", "EUC-KR" }, { "KOI8-R", "KOI8-R" }, { "WINDOWS-1251", "Windows-1251" },
        { "ISO-2022-JP", "ISO 2022-JP" } };
    const QByteArray upper = name.toUpper();
    for (const auto &n : names) {
        if (upper == n.detector)
            return QString::fromLatin1(n.ours);
    }
    return QString::fromLatin1(name);
}

// A vCard's logical lines without the values whose declared charset is known:
// what is left is in the file's own encoding. A quoted-printable value of no
// known charset counts with its bytes undone.
QByteArray undeclaredText(const QByteArray &bytes)
{
    const QByteArray lines = VCardLines::logicalLines(bytes);
    QByteArray out;
    out.reserve(lines.size());
    QHash<QByteArray, bool> known;
    for (qsizetype pos = 0; pos < lines.size();) {
        const QByteArrayView line = VCardLines::nextLine(lines, pos);
        const qsizetype colon = VCardLines::valueColon(line);
        if (colon < 0) {
            out += line;
            out += '\n';
            continue;
        }
        const QByteArrayView head = line.first(colon);
        const QByteArrayView value = line.sliced(colon + 1);
        out += line.first(colon + 1);
        const QByteArray charset = VCardLines::charset(head).toByteArray();
        auto it = known.constFind(charset);
        if (it == known.cend())
            it = known.insert(charset, !charset.isEmpty() && isKnownCharset(QString::fromLatin1(charset)));
        if (!it.value() && VCardLines::isQuotedPrintable(head))
            out += VCardLines::fromQuotedPrintable(value);
        else if (!it.value())
            out += value;
        out += '\n';
    }
    return out;
}

} // namespace

struct Encoder::State {
    QTextCodec::ConverterState codecState { QTextCodec::IgnoreHeader };
    QStringEncoder unicode;
    QStringEncoder eucKr;
    QHash<char32_t, bool> astralCache;
};

QTextCodec *codecForName(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    return QTextCodec::codecForName(name.toLatin1());
}

bool isKnown(const QString &name)
{
    return Encoder(name).isKnown();
}

bool canEncode(const QString &name, const QString &text)
{
    Encoder encoder(name);
    return encoder.isKnown() && encoder.canEncode(text);
}

QByteArray encode(const QString &name, const QString &text)
{
    Encoder encoder(name);
    return encoder.encode(text);
}

QByteArray encodeWithReferences(const QString &name, const QString &text)
{
    Encoder encoder(name);
    return encoder.encode(encoder.withReferences(text));
}

QString decode(const QString &name, const QByteArray &bytes)
{
    const QByteArray key = normalised(name);
    if (key == "utf8")
        return decodeUnicode(bytes, 1);
    if (key == "utf16")
        return decodeUnicode(bytes, 2);
    if (key == "utf32")
        return decodeUnicode(bytes, 4);
    QTextCodec *codec = codecForName(name);
    if (!codec)
        return decodeUnicode(bytes, 1);
    if (codec->mibEnum() == 106)
        return decodeUnicode(bytes, 1);
    return codec->toUnicode(bytes);
}

bool decodeStrict(const QString &name, const QByteArray &bytes, QString *text)
{
    return Decoder(name).decode(bytes, text);
}

bool isKnownCharset(const QString &charset)
{
    return Decoder::forCharset(charset).isKnown();
}

bool decodeCharset(const QString &charset, const QByteArray &bytes, QString *text)
{
    return Decoder::forCharset(charset).decode(bytes, text);
}

Decoder::Decoder(const QString &name)
{
    const QByteArray key = normalised(name);
    m_width = key == "utf8" ? 1 : key == "utf16" ? 2 : key == "utf32" ? 4 : 0;
    if (m_width) {
        m_kind = Unicode;
        return;
    }
    m_width = 1;
    m_codec = codecForName(name);
    if (!m_codec)
        return;
    if (m_codec->mibEnum() == 106) {
        m_kind = Unicode;
        return;
    }
    m_kind = Registry;
    m_width = unitWidth(m_codec->mibEnum());
    auto check = std::make_unique<QStringDecoder>(m_codec->name().constData(), QStringDecoder::Flag::Stateless);
    if (check->isValid())
        m_check = std::move(check);
}

Decoder Decoder::forCharset(const QString &charset)
{
    const QByteArray key = normalised(charset);
    if (key == "euckr" && hasRealEucKr()) {
        Decoder d;
        d.m_kind = EucKr;
        d.m_check = std::make_unique<QStringDecoder>(kEucKr, QStringDecoder::Flag::Stateless);
        return d;
    }
    // The names phones write that the registry does not know as such.
    if (key == "gb2312" || key == "csgb2312" || key == "euccn")
        return Decoder(QStringLiteral("GBK"));
    if (key == "iso885911")
        return Decoder(QStringLiteral("TIS-620"));
    if (key.isEmpty())
        return Decoder();
    return Decoder(charset);
}

Decoder::Decoder(Decoder &&) noexcept = default;
Decoder &Decoder::operator=(Decoder &&) noexcept = default;
Decoder::~Decoder() = default;

bool Decoder::decode(QByteArrayView bytes, QString *text)
{
    bool ok = false;
    switch (m_kind) {
    case Unknown:
        *text = decodeUnicode(bytes, 1);
        return false;
    case Unicode:
        // Short ASCII pieces (the heads and values of a vCard's lines) are most of
        // what comes here: widened in place, into the text's own storage.
        if (m_width == 1 && !bytes.isEmpty() && isAscii(bytes)) {
            text->resize(bytes.size());
            char16_t *out = reinterpret_cast<char16_t *>(text->data());
            for (const char c : bytes)
                *out++ = char16_t(uchar(c));
            return true;
        }
        *text = decodeUnicode(bytes, m_width, &ok);
        return ok;
    case EucKr: {
        m_check->resetState();
        *text = m_check->decode(bytes);
        // The converter passes the bytes of C1 controls, and so the lead bytes of
        // the Windows superset's extra syllables, through as characters.
        ok = !m_check->hasError();
        for (qsizetype i = 0; ok && i < text->size(); ++i)
            ok = text->at(i).unicode() < 0x80 || text->at(i).unicode() > 0x9F;
        return ok;
    }
    case Registry:
        break;
    }
    QTextCodec::ConverterState state;
    *text = m_codec->toUnicode(bytes.constData(), int(bytes.size()), &state);
    // The converters drop a last unit cut short without a word.
    if (m_width > 1 && bytes.size() % m_width != 0)
        return false;
    // The registry's codecs pass a cut or broken sequence by silently; the
    // converter of the same name tells.
    if (m_check) {
        m_check->resetState();
        // decode() converts only when its result is taken.
        const QString checked = m_check->decode(bytes);
        return !m_check->hasError();
    }
    return state.invalidChars == 0 && state.remainingChars == 0 && !text->contains(QChar::ReplacementCharacter);
}

QString detect(const QByteArray &whole)
{
    const QByteArray bytes = VCardLines::isVCard(whole) ? undeclaredText(whole) : whole;
    const QByteArrayView view(bytes);
    QString text;
    // A byte-order mark names the encoding; a file that does not then read
    // cleanly in it is no text of a known encoding.
    QString marked;
    if (view.startsWith("\xEF\xBB\xBF"))
        marked = QStringLiteral("UTF-8");
    else if (view.startsWith(QByteArrayView("\xFF\xFE\x00\x00", 4))
        || view.startsWith(QByteArrayView("\x00\x00\xFE\xFF", 4)))
        marked = QStringLiteral("UTF-32");
    else if (view.startsWith("\xFF\xFE") || view.startsWith("\xFE\xFF"))
        marked = QStringLiteral("UTF-16");
    if (!marked.isEmpty())
        return decodeStrict(marked, bytes, &text) ? marked : QString();
    if (view.isValidUtf8())
        return QStringLiteral("UTF-8");

    QByteArray found;
    if (uchardet_t detector = uchardet_new()) {
        if (uchardet_handle_data(detector, bytes.constData(), size_t(bytes.size())) == 0) {
            uchardet_data_end(detector);
            found = uchardet_get_charset(detector);
        }
        uchardet_delete(detector);
    }
    if (found.isEmpty())
        return QString();
    const QString name = fromDetectorName(found);
    return decodeStrict(name, bytes, &text) ? name : QString();
}

QString xmlName(const QString &name)
{
    return Encoder(name).xmlName();
}

void appendReference(QString &out, char32_t codePoint)
{
    out += QLatin1String("&#x");
    out += QString::number(uint(codePoint), 16);
    out += QLatin1Char(';');
}

Encoder::Encoder(const QString &name)
    : m_state(std::make_unique<State>())
{
    const QByteArray key = normalised(name);
    m_known = true;
    if (key == "utf8") {
        m_kind = Utf8;
        m_xmlName = QStringLiteral("UTF-8");
    } else if (key == "utf16" || key == "utf16le") {
        m_kind = Utf16LE;
        m_xmlName = key == "utf16" ? QStringLiteral("UTF-16") : QStringLiteral("UTF-16LE");
    } else if (key == "utf32" || key == "utf32le") {
        m_kind = Utf32LE;
        m_xmlName = key == "utf32" ? QStringLiteral("UTF-32") : QStringLiteral("UTF-32LE");
    } else if (key == "euckr" && hasRealEucKr()) {
        m_kind = EucKr;
        m_xmlName = QString::fromLatin1(kEucKr);
        m_state->eucKr = QStringEncoder(kEucKr);
    } else if ((m_codec = codecForName(name)) != nullptr && m_codec->mibEnum() != 106) {
        m_kind = Registry;
        m_xmlName = QString::fromLatin1(m_codec->name());
    } else {
        m_known = m_codec != nullptr;
        m_codec = nullptr;
        m_kind = Utf8;
        m_xmlName = QStringLiteral("UTF-8");
    }
    if (m_kind == Utf16LE)
        m_state->unicode = QStringEncoder(QStringConverter::Utf16LE);
    else if (m_kind == Utf32LE)
        m_state->unicode = QStringEncoder(QStringConverter::Utf32LE);
    if (!isUnicode())
        m_bmpCache.assign(0x10000, 0);
}

Encoder::~Encoder() = default;

bool Encoder::isUnicode() const
{
    return m_kind == Utf8 || m_kind == Utf16LE || m_kind == Utf32LE;
}

bool Encoder::computeCanEncode(char32_t codePoint) const
{
    // Not fromUcs4(): it takes a leading U+FEFF for a byte-order mark and drops it,
    // and the empty rest would pass.
    const QChar units[2] = { QChar(QChar::highSurrogate(codePoint)), QChar(QChar::lowSurrogate(codePoint)) };
    const QString s = QChar::requiresSurrogates(codePoint) ? QString(units, 2) : QString(QChar(char16_t(codePoint)));
    if (m_kind == EucKr) {
        // The converter passes C1 controls through as single bytes, which no
        // EUC-KR reader takes back.
        if (codePoint >= 0x80 && codePoint <= 0x9F)
            return false;
        QStringEncoder probe(kEucKr);
        // encode() converts only when its result is taken.
        const QByteArray bytes = probe.encode(s);
        return !probe.hasError() && !bytes.isEmpty();
    }
    return m_codec->canEncode(s);
}

bool Encoder::canEncode(char32_t codePoint)
{
    if (isSurrogate(codePoint) || codePoint > 0x10FFFF)
        return false;
    if (isUnicode())
        return true;
    if (codePoint < 0x10000) {
        unsigned char &known = m_bmpCache[codePoint];
        if (known == 0)
            known = computeCanEncode(codePoint) ? 1 : 2;
        return known == 1;
    }
    auto it = m_state->astralCache.constFind(codePoint);
    if (it == m_state->astralCache.cend())
        it = m_state->astralCache.insert(codePoint, computeCanEncode(codePoint));
    return it.value();
}

bool Encoder::canEncode(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80 && isUnicode())
            continue;
        if (!canEncode(codePointAt(text, i)))
            return false;
    }
    return true;
}

QString Encoder::withReferences(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype start = i;
        const char32_t cp = codePointAt(text, i);
        if (canEncode(cp))
            out.append(text.sliced(start, i - start + 1));
        else if (!isSurrogate(cp))
            appendReference(out, cp);
    }
    return out;
}

// Every character the encoding cannot hold replaced by "?", so that all encodings
// substitute alike. Null when nothing needed replacing. Only for the encodings
// that hold ASCII.
QString Encoder::substituted(QStringView text)
{
    // A Unicode encoding holds every character but a surrogate without its pair;
    // text with no surrogate at all is let through in one pass the compiler can
    // vectorise, which is most of a 70 MB export.
    if (isUnicode()) {
        char16_t surrogates = 0;
        for (const QChar c : text)
            surrogates |= char16_t((c.unicode() & 0xF800) == 0xD800);
        if (!surrogates)
            return QString();
    }
    QString out;
    qsizetype copied = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() < 0x80)
            continue;
        const qsizetype start = i;
        if (canEncode(codePointAt(text, i)))
            continue;
        if (out.isNull())
            out.reserve(text.size());
        out.append(text.sliced(copied, start - copied));
        out.append(QLatin1Char('?'));
        copied = i + 1;
    }
    if (!out.isNull())
        out.append(text.sliced(copied));
    return out;
}

QByteArray Encoder::encode(QStringView text)
{
    if (text.isEmpty())
        return QByteArray();
    // The registry's codecs would drop some characters (U+FEFF) without a mark.
    const QString replaced = substituted(text);
    if (!replaced.isNull())
        text = replaced;
    switch (m_kind) {
    case Utf8:
        return text.toUtf8();
    case Utf16LE:
    case Utf32LE:
        return m_state->unicode.encode(text);
    case EucKr:
        return m_state->eucKr.encode(text);
    case Registry:
        break;
    }
    return m_codec->fromUnicode(text.constData(), int(text.size()), &m_state->codecState);
}

QString detectFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return detect(file.readAll());
}

} // namespace TextCodec
