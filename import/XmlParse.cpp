#include "import/XmlParse.h"

#include "data/TextCodec.h"
#include "import/ImportContext.h"
#include "import/ImportRows.h"
#include "import/XmlScanner.h"

#include <QCoreApplication>
#include <QMap>
#include <QRegularExpression>
#include <QStringConverter>
#include <QXmlStreamReader>

#include <deque>
#include <optional>
#include <utility>

namespace {

struct Value {
    bool set = false;
    QString text;
    void operator=(const QString &t)
    {
        set = true;
        text = t;
    }
};

// A group definition: a root-level "Group" (id attribute, name as text) or a "pbgroup".
struct GroupDef {
    int fileId = 0;
    QString name;
    Value photos;
    Value ringtones;
    Value ringtoneIndex;
};

struct Phone {
    bool hasType = false;
    QString type;
    bool hasNumber = false;
    QString number;
    Value account;
    // Brenn's "downloaded" mark.
    bool downloaded = false;
};

struct Mail {
    bool hasType = false;
    QString type;
    QString address;
};

// A membership: a "Group" child holds a file group id, a "groupid" a number of the
// predefined groups or a root-level "Group" id.
struct GroupRef {
    bool byNumber = false;
    QString text;
};

struct Contact {
    Value firstName, lastName, department, primary, frequent, ringtoneIndex, photoUrl, ringtoneUrl;
    // Which of the two ringtone elements gave the ringtone: Alder writes "Ringtone".
    bool alderRingtone = false;
    QList<Phone> phones;
    QList<Mail> mails;
    QList<GroupRef> refs;
};

// The two readers behind one set of reading routines: QXmlStreamReader, and the
// quick scanner for plain files.
QString elementText(QXmlStreamReader &xml)
{
    return xml.readElementText(QXmlStreamReader::IncludeChildElements);
}

QString elementText(XmlScanner &xml)
{
    return xml.readElementText();
}

bool attributeValue(QXmlStreamReader &xml, QLatin1String name, QString *value)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    if (!attributes.hasAttribute(name))
        return false;
    *value = attributes.value(name).toString();
    return true;
}

bool attributeValue(XmlScanner &xml, QLatin1String name, QString *value)
{
    return xml.attribute(name, value);
}

int toIntOrZero(const QString &text)
{
    return text.trimmed().toInt();
}

template <typename Reader> void readPhone(Reader &xml, Phone &phone)
{
    phone.hasType = attributeValue(xml, QLatin1String("type"), &phone.type);
    bool stopped = false;
    while (xml.readNextStartElement()) {
        const auto tag = xml.qualifiedName();
        if (stopped) {
            xml.skipCurrentElement();
        } else if (tag == QLatin1String("phonenumber")) {
            const QString number = elementText(xml);
            if (number.isEmpty()) {
                stopped = true;
            } else {
                phone.hasNumber = true;
                phone.number = number;
            }
        } else if (tag == QLatin1String("accountindex")) {
            const QString account = elementText(xml);
            phone.account = account.isEmpty() ? QStringLiteral("0") : account;
        } else if (tag == QLatin1String("downloaded")) {
            phone.downloaded = true;
            xml.skipCurrentElement();
        } else {
            xml.skipCurrentElement();
        }
    }
}

template <typename Reader> void readContact(Reader &xml, Contact &c)
{
    while (xml.readNextStartElement()) {
        const auto tag = xml.qualifiedName();
        if (tag == QLatin1String("FirstName")) {
            c.firstName = elementText(xml);
        } else if (tag == QLatin1String("LastName")) {
            c.lastName = elementText(xml);
        } else if (tag == QLatin1String("Department")) {
            c.department = elementText(xml);
        } else if (tag == QLatin1String("Primary")) {
            c.primary = elementText(xml);
        } else if (tag == QLatin1String("Frequent")) {
            c.frequent = elementText(xml);
        } else if (tag == QLatin1String("RingtoneIndex")) {
            c.ringtoneIndex = elementText(xml);
        } else if (tag == QLatin1String("PhotoUrl")) {
            c.photoUrl = elementText(xml);
        } else if (tag == QLatin1String("RingtoneUrl") || tag == QLatin1String("Ringtone")) {
            c.alderRingtone = tag == QLatin1String("Ringtone");
            c.ringtoneUrl = elementText(xml);
        } else if (tag == QLatin1String("Group")) {
            c.refs.append(GroupRef { false, elementText(xml) });
        } else if (tag == QLatin1String("Groups")) {
            while (xml.readNextStartElement()) {
                if (xml.qualifiedName() == QLatin1String("groupid"))
                    c.refs.append(GroupRef { true, elementText(xml) });
                else
                    xml.skipCurrentElement();
            }
        } else if (tag == QLatin1String("Phone")) {
            Phone phone;
            readPhone(xml, phone);
            c.phones.append(phone);
        } else if (tag == QLatin1String("Mail")) {
            Mail mail;
            mail.hasType = attributeValue(xml, QLatin1String("type"), &mail.type);
            mail.address = elementText(xml);
            c.mails.append(mail);
        } else {
            xml.skipCurrentElement();
        }
    }
}

template <typename Reader> void readPbgroup(Reader &xml, GroupDef &g)
{
    while (xml.readNextStartElement()) {
        const auto tag = xml.qualifiedName();
        if (tag == QLatin1String("id"))
            g.fileId = toIntOrZero(elementText(xml));
        else if (tag == QLatin1String("name"))
            g.name = elementText(xml);
        else if (tag == QLatin1String("photos"))
            g.photos = elementText(xml);
        else if (tag == QLatin1String("ringtones"))
            g.ringtones = elementText(xml);
        else if (tag == QLatin1String("RingtoneIndex"))
            g.ringtoneIndex = elementText(xml);
        else
            xml.skipCurrentElement();
    }
}

// The whole document must be well-formed. Each of the three kinds of root child is
// read as one run of siblings: from its first occurrence for as long as the next
// sibling has the same name; a comment or any other node ends the run.
template <typename Reader, typename Builder> bool parseBook(Reader &xml, Builder &book)
{
    enum { NotStarted, Running, Ended };
    while (!xml.atEnd() && !xml.isStartElement())
        xml.readNext();
    if (!xml.isStartElement())
        return false;

    int state[3] = { NotStarted, NotStarted, NotStarted };
    auto endRuns = [&state](int except) {
        for (int k = 0; k < 3; ++k) {
            if (k != except && state[k] == Running)
                state[k] = Ended;
        }
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement())
            break;
        if (xml.isStartElement()) {
            const auto name = xml.qualifiedName();
            const int kind = name == QLatin1String("Group") ? 0
                : name == QLatin1String("pbgroup")          ? 1
                : name == QLatin1String("Contact")          ? 2
                                                            : -1;
            endRuns(kind);
            if (kind < 0 || state[kind] == Ended) {
                xml.skipCurrentElement();
                continue;
            }
            state[kind] = Running;
            if (kind == 0) {
                GroupDef g;
                QString fileId;
                attributeValue(xml, QLatin1String("id"), &fileId);
                g.fileId = toIntOrZero(fileId);
                g.name = elementText(xml);
                book.addGroup(std::move(g), false);
            } else if (kind == 1) {
                GroupDef g;
                readPbgroup(xml, g);
                book.addGroup(std::move(g), true);
            } else {
                Contact c;
                readContact(xml, c);
                book.addContact(std::move(c));
            }
        } else if (xml.isComment() || xml.isProcessingInstruction() || xml.isEntityReference()
            || (xml.isCharacters() && (xml.isCDATA() || !xml.isWhitespace()))) {
            endRuns(-1);
        }
    }
    while (!xml.atEnd())
        xml.readNext();
    return !xml.hasError();
}

QString predefinedGroup(int number)
{
    switch (number) {
    case 0:
        return QCoreApplication::translate("XmlParse", "Family");
    case 1:
        // The name the Brenn writer numbers 1.
        return QCoreApplication::translate("XmlParse", "Friends");
    default:
        return QCoreApplication::translate("XmlParse", "Work");
    }
}

QVariant textOf(const Value &v)
{
    return v.set ? QVariant(v.text) : QVariant();
}

QVariant integerOf(const Value &v)
{
    return v.set ? ImportValues::integer(v.text) : QVariant();
}

// Turns what the reader finds into rows. Groups are numbered before any contact:
// the file's root-level "Group"s, then its "pbgroup"s, then the predefined groups
// as contacts name them. A file that defines all its groups before its first
// contact (as the general layout does) has its rows made contact by contact, so
// that its contacts are never all held at once; one that defines a group later is
// read again with every contact held until the end (`holdContacts`).
class Builder
{
public:
    Builder(ImportContext &ctx, bool holdContacts)
        : m_ctx(ctx)
        , m_start(ctx)
        , m_holdContacts(holdContacts)
    {
    }

    // Back to before the first element, for a second reader from the start.
    void reset()
    {
        m_ctx = m_start;
        m_groupsDefined = m_groupAfterContacts = m_fromZero = m_fromOne = false;
        m_groups.clear();
        m_pbgroups.clear();
        m_contacts.clear();
        m_groupIdMap.clear();
        m_rows = ImportRows();
    }

    void addGroup(GroupDef &&g, bool pbgroup)
    {
        if (m_groupsDefined)
            m_groupAfterContacts = true;
        (pbgroup ? m_pbgroups : m_groups).append(std::move(g));
    }

    void addContact(Contact &&c)
    {
        noteCounting(c);
        if (m_holdContacts) {
            m_contacts.push_back(std::move(c));
        } else if (!m_groupAfterContacts) {
            defineGroups();
            buildContact(c);
        }
    }

    // Whether the file must be read again with its contacts held.
    bool needsHeldContacts() const { return !m_holdContacts && m_groupAfterContacts; }

    ImportRows finish()
    {
        defineGroups();
        for (; !m_contacts.empty(); m_contacts.pop_front())
            buildContact(m_contacts.front());
        m_rows.setPhoneCounting(counting());
        return std::move(m_rows);
    }

private:
    // How the file counts accounts, by the elements only our layouts write: Alder's
    // "Ringtone" (from 0, as Alder phones count), "RingtoneUrl" of the general,
    // Birch and Cedar layouts and Brenn's "downloaded" (from 1). Other files tell by
    // their values.
    void noteCounting(const Contact &c)
    {
        m_fromZero = m_fromZero || c.alderRingtone;
        m_fromOne = m_fromOne || c.ringtoneUrl.set;
        for (const Phone &p : c.phones)
            m_fromOne = m_fromOne || p.downloaded;
    }

    ImportRows::Counting counting() const
    {
        return m_fromZero ? ImportRows::Counting::FromZero
            : m_fromOne   ? ImportRows::Counting::FromOne
                          : ImportRows::Counting::Unknown;
    }

    // A group without a name is no group; its number still maps, to no group.
    void define(const GroupDef &g, bool withValues)
    {
        const int id = m_ctx.groupId();
        if (!g.name.isEmpty() && !m_ctx.isKnownGroup(g.name)) {
            if (withValues)
                m_rows.addGroup(id, g.name, textOf(g.photos), textOf(g.ringtones), integerOf(g.ringtoneIndex));
            else
                m_rows.addGroup(id, g.name);
            m_ctx.addGroup(g.name, id);
        }
        m_groupIdMap.insert(g.fileId, g.name);
        m_ctx.advanceGroupId();
    }

    void defineGroups()
    {
        if (std::exchange(m_groupsDefined, true))
            return;
        for (const GroupDef &g : std::as_const(m_groups))
            define(g, false);
        for (const GroupDef &g : std::as_const(m_pbgroups))
            define(g, true);
    }

    void buildContact(const Contact &c)
    {
        const int id = m_ctx.contactId();
        for (const GroupRef &ref : c.refs) {
            if (!ref.byNumber) {
                bool ok = false;
                const int fileId = ref.text.trimmed().toInt(&ok);
                m_rows.addMember(id, ok ? m_groupIdMap.value(fileId) : QString());
                continue;
            }
            const int number = toIntOrZero(ref.text);
            const QString name = number >= 0 && number <= 2 ? predefinedGroup(number) : m_groupIdMap.value(number);
            const int groupId = m_ctx.groupId();
            if (!m_ctx.isKnownGroup(name)) {
                if (!name.isEmpty()) {
                    m_rows.addGroup(groupId, name);
                    m_ctx.addGroup(name, groupId);
                }
                if (number <= 2)
                    m_groupIdMap.insert(number, name);
                m_ctx.advanceGroupId();
            }
            m_rows.addMember(id, name);
        }

        for (const Phone &p : c.phones) {
            // A phone without a number (the empty placeholders some layouts write) is none.
            if (!p.hasNumber)
                continue;
            m_rows.addPhone(id, p.hasType ? p.type : QStringLiteral("Work"), p.number, integerOf(p.account));
        }
        for (const Mail &m : c.mails)
            m_rows.addMail(id, m.hasType ? QVariant(m.type) : QVariant(), m.address);

        ImportRows::Contact row;
        row.id = id;
        row.FirstName = textOf(c.firstName);
        row.LastName = textOf(c.lastName);
        row.Department = textOf(c.department);
        row.PhotoUrl = textOf(c.photoUrl);
        row.RingtoneUrl = textOf(c.ringtoneUrl);
        row.RingtoneIndex = integerOf(c.ringtoneIndex);
        row.PrimaryIndex = integerOf(c.primary);
        if (c.frequent.set) {
            // Our own writers put "0" or "1"; older files say "true".
            const QString f = c.frequent.text.trimmed();
            row.Frequent = f == QLatin1String("true") || f == QLatin1String("1") ? 1 : 0;
        }
        m_rows.addContact(row);
        m_ctx.advanceContactId();
    }

    ImportContext &m_ctx;
    ImportContext m_start;
    bool m_holdContacts;
    bool m_groupsDefined = false;
    bool m_groupAfterContacts = false;
    bool m_fromZero = false;
    bool m_fromOne = false;
    QList<GroupDef> m_groups;
    QList<GroupDef> m_pbgroups;
    // Grows block by block: a list would move every contact each time it grew,
    // and hold up to twice the room. Emptied from the front as rows are made.
    std::deque<Contact> m_contacts;
    QMap<int, QString> m_groupIdMap;
    ImportRows m_rows;
};

// Whether the parser may be given the bytes as they are: they would be read as UTF-8
// anyway (no UTF-16 or UTF-32 mark, no declaration naming another encoding).
bool readsAsUtf8(const QByteArray &bytes)
{
    if (const auto bom = QStringConverter::encodingForData(bytes))
        return *bom == QStringConverter::Utf8;
    if (!bytes.startsWith("<?xml"))
        return true;
    const qsizetype end = bytes.indexOf("?>");
    static const QRegularExpression attribute(QStringLiteral("\\sencoding\\s*=\\s*([\"'])([^\"']*)\\1"));
    const QRegularExpressionMatch m = attribute.match(QString::fromLatin1(bytes.left(end < 0 ? 0 : end)));
    return !m.hasMatch() || m.captured(2).compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0
        || m.captured(2).compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0;
}

// The encoding value of a leading XML declaration, when there is one.
QString withDeclaredEncoding(const QString &text, const QString &encoding)
{
    if (!text.startsWith(QLatin1String("<?xml")))
        return text;
    const qsizetype end = text.indexOf(QLatin1String("?>"));
    if (end < 0)
        return text;
    static const QRegularExpression attribute(QStringLiteral("(\\sencoding\\s*=\\s*)([\"'])[^\"']*\\2"));
    QString declaration = text.left(end);
    const QRegularExpressionMatch m = attribute.match(declaration);
    if (!m.hasMatch())
        return text;
    declaration.replace(
        m.capturedStart(), m.capturedLength(), m.captured(1) + m.captured(2) + encoding + m.captured(2));
    return declaration + text.mid(end);
}

// Where a document the full parser refused went wrong.
QString parseError(const QXmlStreamReader &xml)
{
    if (!xml.hasError())
        return XmlParse::tr("The file holds no XML element.");
    return XmlParse::tr("Line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
}

// Reads the whole document into `book`; false, with what was wrong and where, when
// it is not well-formed.
template <typename Source> bool parseFully(const Source &source, Builder &book, QString *error)
{
    QXmlStreamReader xml(source);
    xml.setNamespaceProcessing(false);
    if (parseBook(xml, book))
        return true;
    *error = parseError(xml);
    return false;
}

// The same for bytes that read as UTF-8 anyway. Plain files go through the quick
// scanner; whatever it does not vouch for, the full parser reads (and judges) from
// the start.
bool parseUtf8(const QByteArray &bytes, Builder &book, QString *error)
{
    XmlScanner scanner(bytes);
    if (parseBook(scanner, book))
        return true;
    book.reset();
    return parseFully(bytes, book, error);
}

} // namespace

bool XmlParse::checkEncoding(const QByteArray &bytes, const QString &) const
{
    return fitsUtf8OrLocale(bytes);
}

Expected<ImportRows> XmlParse::read(QByteArray bytes, const QString &encoding, ImportContext &numbering)
{
    if (encoding != QLatin1String("UTF-8")) {
        // Decoded once; the UTF-8 bytes then name their own encoding.
        const Expected<QString> text = decode(std::exchange(bytes, QByteArray()), encoding);
        if (!text)
            return text.result();
        bytes = TextCodec::encode(QStringLiteral("UTF-8"), withDeclaredEncoding(*text, QStringLiteral("UTF-8")));
    }
    const bool utf8 = readsAsUtf8(bytes);
    QString text = utf8 ? QString() : decodedText(std::exchange(bytes, QByteArray()));
    auto parse = [&](Builder &book, QString *error) {
        return utf8 ? parseUtf8(bytes, book, error) : parseFully(text, book, error);
    };
    QString error;
    Builder streaming(numbering, false);
    if (!parse(streaming, &error))
        return Result::failure(error);
    std::optional<Builder> holding;
    if (streaming.needsHeldContacts()) {
        streaming.reset();
        holding.emplace(numbering, true);
        // Read before without fault: it reads the same way again.
        (void)parse(*holding, &error);
    }
    bytes = QByteArray();
    text = QString();

    ImportRows rows = (holding ? *holding : streaming).finish();
    rows.normaliseAccounts();
    return Expected<ImportRows>(std::move(rows));
}