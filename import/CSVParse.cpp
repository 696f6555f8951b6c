#include "import/CSVParse.h"

#include "data/Records.h"
#include "data/TextCodec.h"
#include "import/ContactLabels.h"
#include "import/ImportContext.h"
#include "import/ImportRows.h"
#include "import/csv_parser.h"

#include <QRegularExpression>
#include <QStringConverter>

#include <algorithm>
#include <utility>

namespace {

const char *const kOwnColumns = "First Name,Last Name,Work Phone,Home Phone,Mobile Phone,Fax,E-mail Address,"
                                "Primary Phone,Group,Work account,Home account,Mobile account,Fax account,Frequent,"
                                "Photo,Ring index,Ring";
const char *const kOutlookColumns = "First Name,Last Name,Company Main Phone,Home Phone,Mobile Phone,Business Fax,"
                                    "E-mail Address,Primary Phone,Categories";
const char *const kOutlookChineseColumns = "名,姓,单位主要电话,住宅电话,移动电话,商务传真,电子邮件地址,主要电话,类别";
const char *const kOutlookExpressChineseColumns = "名,姓,业务电话,住宅电话,移动电话,业务传真,电子邮件地址";
const char *const kGmailColumns
    = "Given Name,Family Name,E-mail 1 - type,E-mail 1 - Value,Group Membership,Phone 1 - Type,Phone 1 - Value,"
      "Phone 2 - Type,Phone 2 - Value,Phone 3 - Type,Phone 3 - Value,Phone 4 - Type,Phone 4 - Value,Phone 5 - Type,"
      "Phone 5 - Value,Phone 6 - Type,Phone 6 - Value,Phone 7 - Type,Phone 7 - Value";
// Names and group of the two later layouts; their numbers and addresses are found
// by the phone and mail columns of the header.
const char *const kThunderbirdColumns = "First Name,Last Name,Display Name";
const char *const kGoogleContactsColumns = "First Name,Last Name,Labels";

// Expected positions shared by the own, Outlook and Outlook Express lists.
enum Position {
    First = 0,
    Last,
    WorkPhone,
    HomePhone,
    MobilePhone,
    Fax,
    Email,
    Primary,
    Group,
    WorkAccount,
    HomeAccount,
    MobileAccount,
    FaxAccount,
    Frequent,
    Photo,
    RingIndex,
    Ring
};

bool present(const QStringList &header, const QString &name)
{
    for (const QString &h : header) {
        if (h.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool anyPresent(const QStringList &header, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (present(header, QString::fromUtf8(name)))
            return true;
    }
    return false;
}

// The ":::"-separated parts of a Google value, trimmed, without empty ones.
QStringList parts(const QString &value)
{
    QStringList list;
    for (QStringView part : QStringView(value).split(QStringLiteral(":::"))) {
        part = part.trimmed();
        if (!part.isEmpty())
            list.append(part.toString());
    }
    return list;
}

// A Google group column's group: the last label that is not the all-contacts one.
QString googleGroup(const QString &value)
{
    const QStringList labels = parts(value);
    for (auto it = labels.crbegin(); it != labels.crend(); ++it) {
        if (!ContactLabels::isAllContactsGroup(*it))
            return ContactLabels::withoutStar(*it).toString();
    }
    return QString();
}

// The mail type of a Google label: ours when it names one, "Other" for a label of
// the user's own, null without a label. The older layout is also what we write,
// with "* Other" on every address whatever its kind: that label tells nothing.
QVariant googleMailType(const QString &label, bool olderLayout)
{
    const QStringView trimmed = QStringView(label).trimmed();
    if (trimmed.isEmpty() || (olderLayout && trimmed == QLatin1String("* Other")))
        return QVariant();
    const QString type = ContactLabels::mailType(trimmed);
    return type.isEmpty() ? QStringLiteral("Other") : type;
}

// Outlook's categories "A;B": the contact goes into the first.
QString firstCategory(const QString &value)
{
    for (QStringView category : QStringView(value).split(QLatin1Char(';'))) {
        category = category.trimmed();
        if (!category.isEmpty())
            return category.toString();
    }
    return QString();
}

bool blank(const QList<QByteArray> &record)
{
    for (const QByteArray &field : record) {
        if (!field.isEmpty())
            return false;
    }
    return true;
}

// Phone-type index (Work 0, Home 1, Mobile 2, Fax 3) of the first of the four
// numbers that equals `primary`, or 0.
int primaryTypeIndex(const QString &primary, const QString (&numbers)[4])
{
    if (!primary.isEmpty()) {
        for (int i = 0; i < 4; ++i) {
            if (numbers[i] == primary)
                return i;
        }
    }
    return 0;
}

const QString &phoneType(int slot)
{
    static const QString types[4]
        = { QStringLiteral("Work"), QStringLiteral("Home"), QStringLiteral("Mobile"), QStringLiteral("Fax") };
    return types[slot];
}

// An account column's number; empty or not a number gives null.
QVariant accountValue(const QByteArray &field)
{
    bool ok = false;
    const int n = field.trimmed().toInt(&ok);
    return ok ? QVariant(n) : StoreValues::nullInt();
}

// Group handling of the own, Outlook and Gmail layouts: a name the phonebook does
// not know yet becomes a group; the record joins the group by name.
void joinGroup(const QString &name, int contactId, ImportContext &ctx, ImportRows &rows)
{
    if (!name.isEmpty() && !ctx.isKnownGroup(name)) {
        const int id = ctx.idForNewGroup(name);
        rows.addGroup(id, name);
        ctx.addGroup(name, id);
    }
    rows.addMember(contactId, name);
}

} // namespace

bool CSVParse::checkEncoding(const QByteArray &bytes, const QString &codecName) const
{
    return TextCodec::canEncode(codecName, leadingText(bytes));
}

QStringList CSVParse::expectedColumns(Layout layout)
{
    switch (layout) {
    case Own:
        return QString::fromUtf8(kOwnColumns).split(QLatin1Char(','));
    case Outlook:
    case OutlookExpress:
        return QString::fromUtf8(kOutlookColumns).split(QLatin1Char(','));
    case OutlookChinese:
        return QString::fromUtf8(kOutlookChineseColumns).split(QLatin1Char(','));
    case OutlookExpressChinese:
        return QString::fromUtf8(kOutlookExpressChineseColumns).split(QLatin1Char(','));
    case Gmail:
        return QString::fromUtf8(kGmailColumns).split(QLatin1Char(','));
    case Thunderbird:
        return QString::fromUtf8(kThunderbirdColumns).split(QLatin1Char(','));
    case GoogleContacts:
        return QString::fromUtf8(kGoogleContactsColumns).split(QLatin1Char(','));
    case NoLayout:
        break;
    }
    return {};
}

CSVParse::Layout CSVParse::layoutOf(const QStringList &header)
{
    // Outlook itself writes both "Business Phone" and "Categories"; such files go to
    // the own layout, which then falls back on the mail programs' columns.
    if (anyPresent(header, { "Categories", "Company Main Phone" }) && !header.contains(QLatin1String("Business Phone")))
        return Outlook;
    if (anyPresent(header, { "类别", "单位主要电话", "主要电话", "商务传真" }))
        return OutlookChinese;
    if (anyPresent(header, { "Business Phone", "Business Fax" })
        && !anyPresent(header, { "Company Main Phone", "Categories" }))
        return OutlookExpress;
    if (anyPresent(header, { "业务电话", "业务传真" }))
        return OutlookExpressChinese;
    // Google's current layout also has "Phone 1 - Value", so it goes first.
    if (anyPresent(header, { "Labels", "Phone 1 - Label", "E-mail 1 - Label" }))
        return GoogleContacts;
    if (anyPresent(header, { "Given Name", "Group Membership", "Phone 1 - Type", "Phone 1 - Value" }))
        return Gmail;
    if (anyPresent(header, { "Primary Email", "Mobile Number" }))
        return Thunderbird;
    return Own;
}

char CSVParse::delimiterOf(const QByteArray &firstLine)
{
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (char c : firstLine) {
        if (c == '"')
            quoted = !quoted;
        else if (c == '\n' && !quoted)
            break;
        else if (!quoted)
            commas += c == ',', semicolons += c == ';', tabs += c == '\t';
    }
    if (semicolons > commas && semicolons >= tabs)
        return ';';
    if (tabs > commas && tabs > semicolons)
        return '\t';
    return ',';
}

int CSVParse::headerIndex(const QStringList &header, const QString &name) const
{
    for (int i = 0; i < header.size(); ++i) {
        if (header[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool CSVParse::recognise(const QStringList &header)
{
    m_layout = layoutOf(header);
    const QStringList expected = expectedColumns(m_layout);
    m_columnMap.clear();
    m_columns.clear();
    bool any = false;
    for (int i = 0; i < expected.size(); ++i) {
        const int index = headerIndex(header, expected[i]);
        m_columnMap.insert(i, index);
        m_columns.append(index);
        any = any || index >= 0;
    }
    if (!any) {
        m_layout = NoLayout;
        return false;
    }
    const QString faxWord = m_layout == OutlookChinese || m_layout == OutlookExpressChinese ? QStringLiteral("传真")
                                                                                            : QStringLiteral("fax");
    m_faxColumns.clear();
    for (int i = 0; i < header.size(); ++i) {
        if (header[i].contains(faxWord, Qt::CaseInsensitive))
            m_faxColumns.append(i);
    }
    m_businessPhone = headerIndex(header, QStringLiteral("Business Phone"));
    m_companyMainPhone = headerIndex(header, QStringLiteral("Company Main Phone"));
    m_categories = headerIndex(header, QStringLiteral("Categories"));

    // Outlook and Outlook Express, Thunderbird, Google (current and older layouts).
    m_departmentColumns.clear();
    for (const char *name : { "Company", "Organization", "Organisation", "Organization Name", "Organization 1 - Name",
             "公司", "单位", "Department", "Organization Department", "Organization 1 - Department", "部门" }) {
        const int index = headerIndex(header, QString::fromUtf8(name));
        if (index >= 0)
            m_departmentColumns.append(index);
    }

    m_phoneColumns.clear();
    m_mailColumns.clear();
    for (int i = 0; i < header.size(); ++i) {
        const QString type = ContactLabels::phoneType(header[i]);
        if (!type.isEmpty())
            m_phoneColumns.append({ i, type });
        else if (ContactLabels::isMailColumn(header[i]))
            m_mailColumns.append(i);
    }
    // "Phone 2 - Label" and "Phone 2 - Value" (or "- Type" in the older layout).
    static const QRegularExpression numbered(
        QStringLiteral("^(phone|e-mail) *(\\d+) *- *(type|label|value)$"), QRegularExpression::CaseInsensitiveOption);
    QMap<int, QPair<int, int>> phones, mails;
    for (int i = 0; i < header.size(); ++i) {
        const QRegularExpressionMatch m = numbered.match(header[i]);
        if (!m.hasMatch())
            continue;
        QMap<int, QPair<int, int>> &pairs
            = m.captured(1).compare(QLatin1String("phone"), Qt::CaseInsensitive) == 0 ? phones : mails;
        const bool isValue = m.captured(3).compare(QLatin1String("value"), Qt::CaseInsensitive) == 0;
        auto it = pairs.find(m.captured(2).toInt());
        if (it == pairs.end())
            it = pairs.insert(m.captured(2).toInt(), { -1, -1 });
        (isValue ? it->second : it->first) = i;
    }
    m_phonePairs = phones.values();
    m_mailPairs = mails.values();
    return true;
}

QString CSVParse::column(const Record &record, int index) const
{
    if (index < 0 || index >= record.size())
        return QString();
    return QString::fromUtf8(record[index]);
}

QByteArray CSVParse::field(const Record &record, int position) const
{
    const int index = m_columns.value(position, -1);
    return index >= 0 && index < record.size() ? record[index] : QByteArray();
}

QString CSVParse::value(const Record &record, int position) const
{
    return column(record, m_columns.value(position, -1));
}

QVariant CSVParse::department(const Record &record) const
{
    if (m_departmentColumns.isEmpty())
        return QVariant();
    QStringList parts;
    for (int index : m_departmentColumns)
        parts.append(column(record, index));
    const QString text = ContactLabels::department(parts);
    return text.isEmpty() ? QVariant() : QVariant(text);
}

int CSVParse::faxColumn(const Record &record) const
{
    for (int index : m_faxColumns) {
        if (!column(record, index).isEmpty())
            return index;
    }
    return -1;
}

void CSVParse::addOtherColumns(const Record &r, int id, const QList<int> &used, ImportRows &rows) const
{
    for (const auto &[index, type] : m_phoneColumns) {
        const QString number = column(r, index);
        if (!number.isEmpty() && !used.contains(index))
            rows.addPhone(id, type, number, QVariant());
    }
    for (int index : m_mailColumns) {
        const QString mail = column(r, index).trimmed();
        if (!mail.isEmpty() && !used.contains(index))
            rows.addMail(id, QVariant(), mail);
    }
}

Expected<ImportRows> CSVParse::read(QByteArray bytes, const QString &encoding, ImportContext &numbering)
{
    if (encoding != QLatin1String("UTF-8")) {
        const Expected<QString> text = decode(std::exchange(bytes, QByteArray()), encoding);
        if (!text)
            return text.result();
        bytes = TextCodec::encode(QStringLiteral("UTF-8"), *text);
    }
    // The tokenizer reads UTF-8 without a byte-order mark, every line ending in a
    // line feed (also those that ended in a carriage return alone).
    const auto mark = QStringConverter::encodingForData(bytes);
    if (mark && *mark != QStringConverter::Utf8) {
        const Expected<QString> text = decodeUtf8(std::exchange(bytes, QByteArray()));
        if (!text)
            return text.result();
        bytes = text->toUtf8();
    } else {
        if (mark)
            bytes.remove(0, 3);
        if (!QByteArrayView(bytes).isValidUtf8())
            return invalidBytes(encoding);
    }
    if (bytes.contains('\r')) {
        bytes.replace("\r\n", "\n");
        bytes.replace('\r', '\n');
    }
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += '\n';

    const char delimiter = delimiterOf(bytes.left(bytes.indexOf('\n')));
    // At most one record a line: room for the rows is made once.
    const qsizetype lines = bytes.count('\n');

    csv_parser tokenizer;
    tokenizer.openBytes(std::exchange(bytes, QByteArray()));
    tokenizer.setEnclosure('"', 3);
    tokenizer.setFieldTerminator(delimiter);
    tokenizer.setLineTerminator('\n');

    QStringList header;
    for (const QByteArray &field : tokenizer.readRecord())
        header.append(QString::fromUtf8(field).simplified());
    if (!tokenizer.unclosedQuoteLine() && !recognise(header))
        return Result::failure(tr("The first line of the file names no column this program reads."));
    // Rows are made as the records come, so the file's records are never all
    // held at once beside them; a blank line holds no contact.
    ImportRows rows;
    rows.reserve(lines, 2 * lines, lines, lines);
    while (tokenizer.more() && !tokenizer.unclosedQuoteLine()) {
        const Record record = tokenizer.readRecord();
        if (!blank(record))
            build(record, numbering, rows);
    }
    const int unclosed = tokenizer.unclosedQuoteLine();
    tokenizer.closeFile();
    if (unclosed)
        return Result::failure(tr("The quoted field that starts on line %1 is never closed.").arg(unclosed));
    if (m_layout == Own)
        rows.normaliseAccounts();
    return Expected<ImportRows>(std::move(rows));
}

void CSVParse::build(const Record &r, ImportContext &ctx, ImportRows &rows)
{
    switch (m_layout) {
    case Own:
        buildOwn(r, ctx, rows);
        break;
    case Outlook:
    case OutlookChinese:
        buildOutlook(r, ctx, rows);
        break;
    case OutlookExpress:
    case OutlookExpressChinese:
        buildOutlookExpress(r, ctx, rows);
        break;
    case Gmail:
    case GoogleContacts:
        buildGoogle(r, ctx, rows);
        break;
    case Thunderbird:
        buildThunderbird(r, ctx, rows);
        break;
    case NoLayout:
        break;
    }
}

void CSVParse::buildOwn(const Record &r, ImportContext &ctx, ImportRows &rows)
{
    // Desktop-mail files that land here name their columns their own way.
    const bool hasWork = m_columnMap.value(WorkPhone) >= 0;
    const bool hasFax = m_columnMap.value(Fax) >= 0;
    const bool hasGroup = m_columnMap.value(Group) >= 0;
    const int id = ctx.contactId();
    int workColumn = hasWork ? m_columns[WorkPhone] : m_businessPhone;
    if (!hasWork && column(r, workColumn).isEmpty())
        workColumn = m_companyMainPhone;
    const int columns[4]
        = { workColumn, m_columns[HomePhone], m_columns[MobilePhone], hasFax ? m_columns[Fax] : faxColumn(r) };
    const int accountColumns[4] = { WorkAccount, HomeAccount, MobileAccount, FaxAccount };
    QString numbers[4];
    for (int i = 0; i < 4; ++i) {
        numbers[i] = column(r, columns[i]);
        if (!numbers[i].isEmpty())
            rows.addPhone(id, phoneType(i), numbers[i], accountValue(field(r, accountColumns[i])));
    }
    const QString mail = value(r, Email);
    if (!mail.isEmpty())
        rows.addMail(id, QVariant(), mail);
    addOtherColumns(r, id, { columns[0], columns[1], columns[2], columns[3], m_columns[Email] }, rows);

    const QString group = hasGroup ? value(r, Group) : firstCategory(column(r, m_categories));
    joinGroup(group, id, ctx, rows);

    ImportRows::Contact c;
    c.id = id;
    c.Department = department(r);
    c.FirstName = value(r, First);
    c.LastName = value(r, Last);
    // Our files give the phone-type index; a mail program's file gives the number.
    const QString primary = value(r, Primary).trimmed();
    const QVariant index = ImportValues::integer(primary);
    if (!index.isNull() && index.toInt() >= 0 && index.toInt() < Records::kPhoneTypeCount)
        c.PrimaryIndex = index;
    else if (!primary.isEmpty())
        c.PrimaryIndex = primaryTypeIndex(primary, numbers);
    c.Frequent = ImportValues::flag(value(r, Frequent));
    if (m_columnMap.value(Photo) >= 0)
        c.PhotoUrl = value(r, Photo);
    c.RingtoneIndex = ImportValues::integer(value(r, RingIndex));
    if (m_columnMap.value(Ring) >= 0)
        c.RingtoneUrl = value(r, Ring).trimmed();
    rows.addContact(c);
    ctx.advanceContactId();
    ctx.advanceGroupId();
}

void CSVParse::buildOutlook(const Record &r, ImportContext &ctx, ImportRows &rows)
{
    const int id = ctx.contactId();
    const int columns[4] = { m_columns[WorkPhone], m_columns[HomePhone], m_columns[MobilePhone], faxColumn(r) };
    QString numbers[4];
    for (int i = 0; i < 4; ++i) {
        numbers[i] = column(r, columns[i]);
        if (!numbers[i].isEmpty())
            rows.addPhone(id, phoneType(i), numbers[i], QVariant());
    }
    const QString mail = value(r, Email);
    if (!mail.isEmpty())
        rows.addMail(id, QVariant(), mail);
    addOtherColumns(r, id, { columns[0], columns[1], columns[2], columns[3], m_columns[Email] }, rows);
    joinGroup(firstCategory(value(r, Group)), id, ctx, rows);

    ImportRows::Contact c;
    c.id = id;
    c.Department = department(r);
    c.FirstName = value(r, First);
    c.LastName = value(r, Last);
    c.PrimaryIndex = primaryTypeIndex(value(r, Primary).trimmed(), numbers);
    rows.addContact(c);
    ctx.advanceContactId();
    ctx.advanceGroupId();
}

void CSVParse::buildOutlookExpress(const Record &r, ImportContext &ctx, ImportRows &rows)
{
    // Outlook Express calls the work number "Business Phone".
    const int workColumn = m_columnMap.value(WorkPhone) >= 0 ? m_columns[WorkPhone] : m_businessPhone;
    const int id = ctx.contactId();
    const int columns[4] = { workColumn, m_columns[HomePhone], m_columns[MobilePhone], faxColumn(r) };
    for (int i = 0; i < 4; ++i) {
        const QString number = column(r, columns[i]);
        if (!number.isEmpty())
            rows.addPhone(id, phoneType(i), number, QVariant());
    }
    const QString mail = value(r, Email).trimmed();
    if (!mail.isEmpty())
        rows.addMail(id, QVariant(), mail);
    addOtherColumns(r, id, { columns[0], columns[1], columns[2], columns[3], m_columns[Email] }, rows);

    ImportRows::Contact c;
    c.id = id;
    c.Department = department(r);
    c.FirstName = value(r, First);
    c.LastName = value(r, Last);
    rows.addContact(c);
    ctx.advanceContactId();
}

void CSVParse::buildGoogle(const Record &r, ImportContext &ctx, ImportRows &rows)
{
    // Expected positions: 0 first name, 1 last name; the group is "Group Membership"
    // (4) in the older layout and "Labels" (2) in the current one.
    const int groupPosition = m_layout == Gmail ? 4 : 2;
    const int id = ctx.contactId();
    bool anyMail = false;
    for (const auto &[label, valueColumn] : m_mailPairs) {
        const QVariant type = googleMailType(column(r, label), m_layout == Gmail);
        for (const QString &mail : parts(column(r, valueColumn))) {
            rows.addMail(id, type, mail);
            anyMail = true;
        }
    }
    // The older layout always gave its contacts one, maybe empty, mail row.
    if (!anyMail && m_layout == Gmail)
        rows.addMail(id, QVariant(), QString());
    joinGroup(googleGroup(value(r, groupPosition)), id, ctx, rows);

    QList<QPair<QString, QString>> phones;
    for (const auto &[label, valueColumn] : m_phonePairs) {
        QString type = ContactLabels::phoneType(ContactLabels::withoutStar(column(r, label)));
        if (type.isEmpty())
            type = QStringLiteral("Other");
        for (const QString &number : parts(column(r, valueColumn)))
            phones.append({ type, number });
    }
    // The older layout files the work fax, else the home one, else the other one
    // as "Fax", which phones of every model know.
    for (const char *fax : { "Work Fax", "Home Fax", "Other Fax" }) {
        if (m_layout != Gmail)
            break;
        auto it = std::find_if(
            phones.begin(), phones.end(), [fax](const auto &p) { return p.first == QLatin1String(fax); });
        if (it != phones.end()) {
            it->first = phoneType(3);
            break;
        }
    }
    for (const auto &[type, number] : std::as_const(phones))
        rows.addPhone(id, type, number, QVariant());

    ImportRows::Contact c;
    c.id = id;
    c.Department = department(r);
    c.FirstName = value(r, 0);
    c.LastName = value(r, 1);
    rows.addContact(c);
    ctx.advanceContactId();
    ctx.advanceGroupId();
}

void CSVParse::buildThunderbird(const Record &r, ImportContext &ctx, ImportRows &rows)
{
    // Expected positions: 0 first name, 1 last name, 2 display name; numbers and
    // addresses are all in the phone and mail columns.
    const int id = ctx.contactId();
    addOtherColumns(r, id, {}, rows);

    ImportRows::Contact c;
    c.id = id;
    c.Department = department(r);
    c.FirstName = value(r, 0);
    c.LastName = value(r, 1);
    // A card with only a display name shows under it, as a formatted name does.
    if (c.FirstName.toString().isEmpty() && c.LastName.toString().isEmpty())
        c.FirstName = value(r, 2).trimmed();
    rows.addContact(c);
    ctx.advanceContactId();
}
