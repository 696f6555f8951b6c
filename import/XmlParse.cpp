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

struct Book {
    QList<GroupDef> groups;
    QList<GroupDef> pbgroups;
    // Grows block by block: a list would move every contact each time it grew,
    // and hold up to twice the room. Emptied from the front as rows are made.
    std::deque<Contact> contacts;
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
template <typename Reader> bool parseBook(Reader &xml, Book &book)
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
                book.groups.append(std::move(g));
            } else if (kind == 1) {
                GroupDef g;
                readPbgroup(xml, g);
                book.pbgroups.append(g);
            } else {
                Contact c;
                readContact(xml, c);
                book.contacts.push_back(std::move(c));
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

// How the file counts accounts, by the elements only our layouts write: Alder's
// "Ringtone" (from 0, as Alder phones count), "RingtoneUrl" of the general, Birch
// and Cedar layouts and Brenn's "downloaded" (from 1). Other files tell by their
// values.
ImportRows::Counting accountCounting(const Book &book)
{
    ImportRows::Counting counting = ImportRows::Counting::Unknown;
    for (const Contact &c : book.contacts) {
        if (c.alderRingtone)
            return ImportRows::Counting::FromZero;
        if (c.ringtoneUrl.set)
            counting = ImportRows::Counting::FromOne;
        for (const Phone &p : c.phones) {
            if (p.downloaded)
                counting = ImportRows::Counting::FromOne;
        }
    }
    return counting;
}

// Builds the rows once the import is prepared: ids and the group names known to the
// phonebook come from `ctx`.
void buildRows(Book &book, ImportContext &ctx, ImportRows &rows)
{
    const ImportRows::Counting counting = accountCounting(book);
    qsizetype phones = 0, mails = 0, members = 0;
    for (const Contact &c : book.contacts) {
        phones += c.phones.size();
        mails += c.mails.size();
        members += c.refs.size();
    }
    rows.reserve(qsizetype(book.contacts.size()), phones, mails, members);
    QMap<int, QString> groupIdMap;
    // A group without a name is no group; its number still maps, to no group.
    auto define = [&](const GroupDef &g, bool withValues) {
        const int id = ctx.groupId();
        if (!g.name.isEmpty() && !ctx.isKnownGroup(g.name)) {
            if (withValues)
                rows.addGroup(id, g.name, textOf(g.photos), textOf(g.ringtones), integerOf(g.ringtoneIndex));
            else
                rows.addGroup(id, g.name);
            ctx.addGroup(g.name, id);
        }
        groupIdMap.insert(g.fileId, g.name);
        ctx.advanceGroupId();
    };
    for (const GroupDef &g : book.groups)
        define(g, false);
    for (const GroupDef &g : book.pbgroups)
        define(g, true);

    for (; !book.contacts.empty(); book.contacts.pop_front()) {
        const Contact &c = book.contacts.front();
        const int id = ctx.contactId();
        for (const GroupRef &ref : c.refs) {
            if (!ref.byNumber) {
                bool ok = false;
                const int fileId = ref.text.trimmed().toInt(&ok);
                rows.addMember(id, ok ? groupIdMap.value(fileId) : QString());
                continue;
            }
            const int number = toIntOrZero(ref.text);
            const QString name = number >= 0 && number <= 2 ? predefinedGroup(number) : groupIdMap.value(number);
            const int groupId = ctx.groupId();
            if (!ctx.isKnownGroup(name)) {
                if (!name.isEmpty()) {
                    rows.addGroup(groupId, name);
                    ctx.addGroup(name, groupId);
                }
                if (number <= 2)
                    groupIdMap.insert(number, name);
                ctx.advanceGroupId();
            }
            rows.addMember(id, name);
        }

        for (const Phone &p : c.phones) {
            // A phone without a number (the empty placeholders some layouts write) is none.
            if (!p.hasNumber)
                continue;
            rows.addPhone(id, p.hasType ? p.type : QStringLiteral("Work"), p.number, integerOf(p.account), counting);
        }
        for (const Mail &m : c.mails)
            rows.addMail(id, m.hasType ? QVariant(m.type) : QVariant(), m.address);

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
        rows.addContact(row);
        ctx.advanceContactId();
    }
}

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
template <typename Source> bool parseFully(const Source &source, Book &book, QString *error)
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
bool parseUtf8(const QByteArray &bytes, Book &book, QString *error)
{
    XmlScanner scanner(bytes);
    if (parseBook(scanner, book))
        return true;
    book = Book();
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
    Book book;
    QString error;
    const bool parsed
        = readsAsUtf8(bytes) ? parseUtf8(bytes, book, &error) : parseFully(decodedText(bytes), book, &error);
    if (!parsed)
        return Result::failure(error);
    bytes = QByteArray();

    ImportRows rows;
    buildRows(book, numbering, rows);
    rows.normaliseAccounts();
    return Expected<ImportRows>(std::move(rows));
}
