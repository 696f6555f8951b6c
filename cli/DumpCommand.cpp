#include "cli/Command.h"
#include "data/ContactNames.h"
#include "data/Records.h"
#include "manager/DataMgr.h"

#include <QJsonObject>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

// Writes the dump as it goes, in the very form QJsonDocument::toJson(Indented) gives
// the whole tree, without ever holding the tree or the whole text: 100 000 contacts
// were a gigabyte that way.
class JsonOut
{
public:
    explicit JsonOut(std::FILE *file)
        : m_file(file)
    {
        m_buffer.reserve(kChunk + 4096);
    }

    void raw(const char *text) { m_buffer.append(text); }
    void indent(int level) { m_buffer.append(QByteArray::size_type(4 * level), ' '); }
    void number(int value) { m_buffer.append(QByteArray::number(value)); }
    void string(const QString &text)
    {
        m_buffer.append('"');
        appendEscaped(text);
        m_buffer.append('"');
    }
    // `"key": ` at `level`.
    void key(int level, const char *name)
    {
        indent(level);
        m_buffer.append('"');
        m_buffer.append(name);
        m_buffer.append("\": ");
    }
    // Between values: a comma unless it was the last, then the line end.
    void next(bool last)
    {
        m_buffer.append(last ? "\n" : ",\n");
        if (m_buffer.size() >= kChunk)
            flush();
    }
    // Writes what is pending; false once anything could not be written.
    bool flush()
    {
        if (!m_failed && !m_buffer.isEmpty()
            && std::fwrite(m_buffer.constData(), 1, size_t(m_buffer.size()), m_file) != size_t(m_buffer.size())) {
            m_failed = true;
            m_error = errno;
        }
        m_buffer.resize(0);
        return !m_failed;
    }
    bool finish()
    {
        flush();
        if (!m_failed && std::fflush(m_file) != 0) {
            m_failed = true;
            m_error = errno;
        }
        return !m_failed;
    }
    QString error() const { return QString::fromLocal8Bit(std::strerror(m_error)); }

private:
    static constexpr qsizetype kChunk = 256 * 1024;

    static char hexDigit(unsigned u) { return char(u < 10 ? '0' + u : 'a' + u - 10); }

    // As the JSON writer of Qt escapes: quote, backslash and control characters;
    // UTF-8 for the rest, and \uXXXX for a surrogate without its pair.
    void appendEscaped(const QString &text)
    {
        const char16_t *src = reinterpret_cast<const char16_t *>(text.constData());
        const char16_t *const end = src + text.size();
        while (src != end) {
            const char16_t *run = src;
            while (src != end && *src >= 0x20 && *src < 0x80 && *src != u'"' && *src != u'\\')
                ++src;
            if (src != run)
                appendAscii(run, src);
            if (src == end)
                break;
            const char16_t u = *src++;
            if (u < 0x80) {
                m_buffer.append('\\');
                switch (u) {
                case u'"':
                    m_buffer.append('"');
                    break;
                case u'\\':
                    m_buffer.append('\\');
                    break;
                case 0x8:
                    m_buffer.append('b');
                    break;
                case 0xc:
                    m_buffer.append('f');
                    break;
                case 0xa:
                    m_buffer.append('n');
                    break;
                case 0xd:
                    m_buffer.append('r');
                    break;
                case 0x9:
                    m_buffer.append('t');
                    break;
                default: {
                    const char escape[] = { 'u', '0', '0', hexDigit(u >> 4), hexDigit(u & 0xf) };
                    m_buffer.append(escape, sizeof escape);
                }
                }
            } else if (u < 0x800) {
                const char bytes[] = { char(0xc0 | (u >> 6)), char(0x80 | (u & 0x3f)) };
                m_buffer.append(bytes, sizeof bytes);
            } else if (!QChar::isSurrogate(u)) {
                const char bytes[]
                    = { char(0xe0 | (u >> 12)), char(0x80 | ((u >> 6) & 0x3f)), char(0x80 | (u & 0x3f)) };
                m_buffer.append(bytes, sizeof bytes);
            } else if (QChar::isHighSurrogate(u) && src != end && QChar::isLowSurrogate(*src)) {
                const char32_t cp = QChar::surrogateToUcs4(u, *src++);
                const char bytes[] = { char(0xf0 | (cp >> 18)), char(0x80 | ((cp >> 12) & 0x3f)),
                    char(0x80 | ((cp >> 6) & 0x3f)), char(0x80 | (cp & 0x3f)) };
                m_buffer.append(bytes, sizeof bytes);
            } else {
                const char escape[] = { '\\', 'u', hexDigit(u >> 12), hexDigit((u >> 8) & 0xf),
                    hexDigit((u >> 4) & 0xf), hexDigit(u & 0xf) };
                m_buffer.append(escape, sizeof escape);
            }
        }
    }
    void appendAscii(const char16_t *from, const char16_t *to)
    {
        const qsizetype at = m_buffer.size();
        m_buffer.resize(at + (to - from));
        std::copy(from, to, m_buffer.data() + at);
    }

    std::FILE *m_file;
    QByteArray m_buffer;
    bool m_failed = false;
    int m_error = 0;
};

// The members of one JSON object: its keys, in the order Qt's objects keep them
// (which the dump has always had), and how each value is written at a level.
template <typename T> class ObjectLayout
{
public:
    using Writer = std::function<void(JsonOut &, const T &, int)>;
    ObjectLayout(std::initializer_list<std::pair<const char *, Writer>> members)
        : m_members(members)
    {
        QJsonObject order;
        for (const auto &member : m_members)
            order.insert(QLatin1String(member.first), 0);
        const QStringList keys = order.keys();
        std::sort(m_members.begin(), m_members.end(), [&keys](const auto &a, const auto &b) {
            return keys.indexOf(QLatin1String(a.first)) < keys.indexOf(QLatin1String(b.first));
        });
    }

    // `{`, the members one level deeper and the closing `}` at `level`.
    void write(JsonOut &out, const T &value, int level) const
    {
        out.raw("{\n");
        for (size_t i = 0; i < m_members.size(); ++i) {
            out.key(level + 1, m_members[i].first);
            m_members[i].second(out, value, level + 1);
            out.next(i + 1 == m_members.size());
        }
        out.indent(level);
        out.raw("}");
    }

private:
    std::vector<std::pair<const char *, Writer>> m_members;
};

// `[`, one line per element and `]` at `level`; an empty array keeps its two lines.
template <typename List, typename Element> void writeArray(JsonOut &out, const List &list, int level, Element element)
{
    out.raw("[\n");
    for (qsizetype i = 0; i < list.size(); ++i) {
        out.indent(level + 1);
        element(list[i], level + 1);
        out.next(i + 1 == list.size());
    }
    out.indent(level);
    out.raw("]");
}

template <typename T> auto text(QString T::*field)
{
    return [field](JsonOut &out, const T &value, int) { out.string(value.*field); };
}
template <typename T> auto integer(int T::*field)
{
    return [field](JsonOut &out, const T &value, int) { out.number(value.*field); };
}

const ObjectLayout<PhoneInfo> &phoneLayout()
{
    static const ObjectLayout<PhoneInfo> layout { { "type", text(&PhoneInfo::type) },
        { "phonenumber", text(&PhoneInfo::phonenumber) }, { "accountindex", integer(&PhoneInfo::accountindex) } };
    return layout;
}

const ObjectLayout<MailInfo> &mailLayout()
{
    static const ObjectLayout<MailInfo> layout { { "type", text(&MailInfo::type) }, { "Mail", text(&MailInfo::Mail) } };
    return layout;
}

const ObjectLayout<GroupInfo> &groupLayout()
{
    static const ObjectLayout<GroupInfo> layout { { "id", integer(&GroupInfo::id) }, { "name", text(&GroupInfo::name) },
        { "photos", text(&GroupInfo::photos) }, { "ringtones", text(&GroupInfo::ringtones) },
        { "RingtoneIndex", integer(&GroupInfo::RingtoneIndex) },
        { "MemberIds", [](JsonOut &out, const GroupInfo &g, int level) {
             writeArray(out, g.MemberIds, level, [&out](int id, int) { out.number(id); });
         } } };
    return layout;
}

const ObjectLayout<ContactInfo> &contactLayout()
{
    using C = ContactInfo;
    static const ObjectLayout<ContactInfo> layout { { "id", integer(&C::id) }, { "FirstName", text(&C::FirstName) },
        { "LastName", text(&C::LastName) }, { "Department", text(&C::Department) },
        { "PrimaryIndex", integer(&C::PrimaryIndex) }, { "PrimaryNumber", text(&C::PrimaryNumber) },
        { "Frequent", integer(&C::Frequent) }, { "PhotoUrl", text(&C::PhotoUrl) },
        { "RingtoneUrl", text(&C::RingtoneUrl) }, { "RingtoneIndex", integer(&C::RingtoneIndex) },
        { "PhoneList",
            [](JsonOut &out, const C &c, int level) {
                writeArray(
                    out, c.PhoneList, level, [&out](const PhoneInfo &p, int at) { phoneLayout().write(out, p, at); });
            } },
        { "MailList",
            [](JsonOut &out, const C &c, int level) {
                writeArray(
                    out, c.MailList, level, [&out](const MailInfo &m, int at) { mailLayout().write(out, m, at); });
            } },
        { "GroupList",
            [](JsonOut &out, const C &c, int level) {
                writeArray(out, c.GroupList, level, [&out](const QString &name, int) { out.string(name); });
            } },
        { "NamePinyin", text(&C::NamePinyin) }, { "NameInitials", text(&C::NameInitials) },
        { "SortKey", [](JsonOut &out, const C &c, int) { out.string(ContactNames::sortKey(c)); } } };
    return layout;
}

int dump(const QStringList &args)
{
    if (!args.isEmpty()) {
        Cli::printErr(QStringLiteral("dump takes no arguments"));
        return Cli::Usage;
    }
    if (!Cli::loadPhonebook(DataMgr::StoreMode::ReadOnly))
        return Cli::Failure;
    const Phonebook &book = DataMgr::instance()->phonebook();
    JsonOut out(stdout);
    const ObjectLayout<Phonebook> root { { "groups",
                                             [](JsonOut &o, const Phonebook &b, int level) {
                                                 writeArray(o, b.groups(), level, [&o](const GroupInfo &g, int at) {
                                                     groupLayout().write(o, g, at);
                                                 });
                                             } },
        { "contacts", [](JsonOut &o, const Phonebook &b, int level) {
             writeArray(
                 o, b.contacts(), level, [&o](const ContactInfo &c, int at) { contactLayout().write(o, c, at); });
         } } };
    root.write(out, book, 0);
    out.raw("\n");
    if (!out.finish()) {
        Cli::printErr(QStringLiteral("The phonebook could not be written out (%1).").arg(out.error()));
        return Cli::Failure;
    }
    return Cli::Success;
}

int newPhonebook(const QStringList &args)
{
    if (!args.isEmpty()) {
        Cli::printErr(QStringLiteral("new takes no arguments"));
        return Cli::Usage;
    }
    FolderLock lock;
    if (!Cli::lockFolder(lock) || !Cli::openStore())
        return Cli::Failure;
    DataMgr *mgr = DataMgr::instance();
    if (const Result emptied = mgr->emptyStore(); !emptied) {
        Cli::printErr(QStringLiteral("Cannot empty %1 (%2)").arg(mgr->storePath(), emptied.message()));
        return Cli::Failure;
    }
    DataMgr::instance()->clearPhonebook();
    DataMgr::instance()->removeTemporaryFiles();
    return Cli::Success;
}

const Cli::Registrar dumpCommand(
    "dump", "dump", "Print the phonebook (groups and contacts) as JSON; changes nothing.", dump);
const Cli::Registrar newCommand("new", "new", "Empty the phonebook.", newPhonebook);

} // namespace
