#include "CSVParse.h"

#include "AppPaths.h"
#include "ImportContext.h"
#include "ImportRows.h"
#include "Records.h"
#include "TextCodec.h"
#include "csv_parser.h"

#include <QFile>
#include <QHash>
#include <QStringConverter>

namespace {

const char *const kOwnColumns = "First Name,Last Name,Work Phone,Home Phone,Mobile Phone,Fax,E-mail Address,"
                                "Primary Phone,Group,Work account,Home account,Mobile account,Fax account,Frequent,"
                                "Photo,Ring index,Ring";
const char *const kOutlookColumns = "First Name,Last Name,Company Main Phone,Home Phone,Mobile Phone,Business Fax,"
                                    "E-mail Address,Primary Phone,Categories";
const char *const kOutlookChineseColumns = "名,姓,单位主要电话,住宅电话,移动电话,商务传真,电子邮件地址,主要电话,类别";
const char *const kOutlookExpressChineseColumns = "名,姓,业务电话,住宅电话,移动电话,业务传真,电子邮件地址";
const char *const kGmailColumns =
    "Given Name,Family Name,E-mail 1 - type,E-mail 1 - Value,Group Membership,Phone 1 - Type,Phone 1 - Value,"
    "Phone 2 - Type,Phone 2 - Value,Phone 3 - Type,Phone 3 - Value,Phone 4 - Type,Phone 4 - Value,Phone 5 - Type,"
    "Phone 5 - Value,Phone 6 - Type,Phone 6 - Value,Phone 7 - Type,Phone 7 - Value";

// Expected positions shared by the own, Outlook and Outlook Express lists.
enum Position { First = 0, Last, WorkPhone, HomePhone, MobilePhone, Fax, Email, Primary, Group, WorkAccount,
                HomeAccount, MobileAccount, FaxAccount, Frequent, Photo, RingIndex, Ring };

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

// The last ":::"-separated part of a Gmail value, trimmed.
QString lastPart(const QString &value)
{
    const qsizetype at = value.lastIndexOf(QLatin1String(":::"));
    return (at < 0 ? value : value.mid(at + 3)).trimmed();
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
    static const QString types[4] = {QStringLiteral("Work"), QStringLiteral("Home"), QStringLiteral("Mobile"),
                                     QStringLiteral("Fax")};
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

CSVParse::CSVParse(QObject *parent)
    : ParseBase(parent)
    , m_appDir(AppPaths::appDir())
{
}

CSVParse::~CSVParse() = default;

QString CSVParse::localeCodecName()
{
    return systemCodecName();
}

bool CSVParse::checkFileEncoding(const QString &path, const QString &codecName)
{
    QString text;
    return leadingText(path, &text) && TextCodec::canEncode(codecName, text);
}

bool CSVParse::convertFileEncoding(const QString &path, const QString &fromCodec, const QString &toCodec)
{
    QString text;
    if (!decodeFile(path, fromCodec, &text))
        return false;
    const QString target = m_appDir + QStringLiteral("tmp1.csv");
    QFile::remove(target);
    return writeEncoded(target, text, toCodec);
}

void CSVParse::clearGroupNames()
{
    clearKnownGroupNames();
}

void CSVParse::resetIdCounters()
{
    resetCounters();
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
    case NoLayout:
        break;
    }
    return {};
}

CSVParse::Layout CSVParse::layoutOf(const QStringList &header)
{
    // Outlook itself writes both "Business Phone" and "Categories"; such files go to
    // the own layout, which then falls back on the mail programs' columns.
    if (anyPresent(header, {"Categories", "Company Main Phone"}) &&
        !header.contains(QLatin1String("Business Phone")))
        return Outlook;
    if (anyPresent(header, {"类别", "单位主要电话", "主要电话", "商务传真"}))
        return OutlookChinese;
    if (anyPresent(header, {"Business Phone", "Business Fax"}) &&
        !anyPresent(header, {"Company Main Phone", "Categories"}))
        return OutlookExpress;
    if (anyPresent(header, {"业务电话", "业务传真"}))
        return OutlookExpressChinese;
    if (anyPresent(header, {"Given Name", "Group Membership", "Phone 1 - Type", "Phone 1 - Value"}))
        return Gmail;
    return Own;
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
    const QString faxWord = m_layout == OutlookChinese || m_layout == OutlookExpressChinese
                                ? QStringLiteral("传真")
                                : QStringLiteral("fax");
    m_faxColumns.clear();
    for (int i = 0; i < header.size(); ++i) {
        if (header[i].contains(faxWord, Qt::CaseInsensitive))
            m_faxColumns.append(i);
    }
    m_businessPhone = headerIndex(header, QStringLiteral("Business Phone"));
    m_companyMainPhone = headerIndex(header, QStringLiteral("Company Main Phone"));
    m_categories = headerIndex(header, QStringLiteral("Categories"));
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

QString CSVParse::faxValue(const Record &record) const
{
    for (int index : m_faxColumns) {
        const QString fax = column(record, index);
        if (!fax.isEmpty())
            return fax;
    }
    return QString();
}

bool CSVParse::readFile(const QString &path, const QString &codecName)
{
    if (!m_tokenizer)
        m_tokenizer = std::make_unique<csv_parser>();

    const QString copy = m_appDir + QStringLiteral("tmp.csv");
    const QString converted = m_appDir + QStringLiteral("tmp1.csv");
    const QString normalised = m_appDir + QStringLiteral("tmp2.csv");
    // Read before the old copies go: the file chosen may be one of them.
    QFile sourceFile(path);
    if (!sourceFile.open(QIODevice::ReadOnly))
        return false;
    const QByteArray original = sourceFile.readAll();
    sourceFile.close();
    for (const QString &tmp : {copy, converted, normalised})
        QFile::remove(tmp);
    {
        QFile out(copy);
        if (!out.open(QIODevice::WriteOnly) || out.write(original) != original.size() || !out.flush())
            return false;
    }
    QString source = copy;
    if (codecName != QLatin1String("UTF-8")) {
        if (!convertFileEncoding(copy, codecName, QStringLiteral("UTF-8")))
            return false;
        source = converted;
    }

    // The parsed copy: UTF-8 without a byte-order mark, every line ending in CR LF.
    {
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly))
            return false;
        QByteArray bytes = in.readAll();
        in.close();
        const auto mark = QStringConverter::encodingForData(bytes);
        if (mark && *mark != QStringConverter::Utf8)
            bytes = decodedText(bytes).toUtf8();
        else if (mark)
            bytes.remove(0, 3);
        bytes.replace("\r\n", "\n");
        bytes.replace("\n", "\r\n");
        if (!bytes.isEmpty() && !bytes.endsWith('\n'))
            bytes += "\r\n";
        QFile out(normalised);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        if (out.write(bytes) != bytes.size() || !out.flush())
            return false;
    }

    csv_parser &tokenizer = *m_tokenizer;
    tokenizer.setSkipLines(0);
    if (!tokenizer.openFile(QFile::encodeName(normalised)))
        return false;
    tokenizer.setEnclosure('"', 3);
    tokenizer.setFieldTerminator(',');
    tokenizer.setLineTerminator('\n');

    QStringList header;
    for (const QByteArray &field : tokenizer.readRecord())
        header.append(QString::fromUtf8(field).simplified());
    if (!recognise(header)) {
        tokenizer.closeFile();
        return false;
    }
    // Every record is read before anything changes; a blank line holds no contact.
    QList<Record> records;
    while (tokenizer.more()) {
        Record record = tokenizer.readRecord();
        if (!blank(record))
            records.append(std::move(record));
    }
    tokenizer.closeFile();

    if (!prepareImport())
        return false;
    ImportContext ctx;
    ImportRows rows;
    rows.reserve(records.size(), 2 * records.size(), records.size(), records.size());
    switch (m_layout) {
    case Own:
        buildOwn(records, ctx, rows);
        break;
    case Outlook:
    case OutlookChinese:
        buildOutlook(records, ctx, rows);
        break;
    case OutlookExpress:
    case OutlookExpressChinese:
        buildOutlookExpress(records, ctx, rows);
        break;
    case Gmail:
        buildGmail(records, ctx, rows);
        break;
    case NoLayout:
        break;
    }
    records.clear();
    ctx.commit();
    return storeRows(rows);
}

void CSVParse::buildOwn(const QList<Record> &records, ImportContext &ctx, ImportRows &rows)
{
    // Desktop-mail files that land here name their columns their own way.
    const bool hasWork = m_columnMap.value(WorkPhone) >= 0;
    const bool hasFax = m_columnMap.value(Fax) >= 0;
    const bool hasGroup = m_columnMap.value(Group) >= 0;

    for (const Record &r : records) {
        const int id = ctx.contactId();
        QString work = hasWork ? value(r, WorkPhone) : column(r, m_businessPhone);
        if (!hasWork && work.isEmpty())
            work = column(r, m_companyMainPhone);
        const QString numbers[4] = {work, value(r, HomePhone), value(r, MobilePhone),
                                    hasFax ? value(r, Fax) : faxValue(r)};
        const int accountColumns[4] = {WorkAccount, HomeAccount, MobileAccount, FaxAccount};
        for (int i = 0; i < 4; ++i) {
            if (!numbers[i].isEmpty())
                rows.addPhone(id, phoneType(i), numbers[i], accountValue(field(r, accountColumns[i])));
        }
        const QString mail = value(r, Email);
        if (!mail.isEmpty())
            rows.addMail(id, QVariant(), mail);

        const QString group = hasGroup ? value(r, Group) : column(r, m_categories).trimmed();
        joinGroup(group, id, ctx, rows);

        ImportRows::Contact c;
        c.id = id;
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
    if (rows.normaliseAccounts())
        m_zeroBasedAccounts = true;
}

void CSVParse::buildOutlook(const QList<Record> &records, ImportContext &ctx, ImportRows &rows)
{
    for (const Record &r : records) {
        const int id = ctx.contactId();
        const QString numbers[4] = {value(r, WorkPhone), value(r, HomePhone), value(r, MobilePhone), faxValue(r)};
        for (int i = 0; i < 4; ++i) {
            if (!numbers[i].isEmpty())
                rows.addPhone(id, phoneType(i), numbers[i], QVariant());
        }
        const QString mail = value(r, Email);
        if (!mail.isEmpty())
            rows.addMail(id, QVariant(), mail);
        joinGroup(value(r, Group).trimmed(), id, ctx, rows);

        ImportRows::Contact c;
        c.id = id;
        c.FirstName = value(r, First);
        c.LastName = value(r, Last);
        c.PrimaryIndex = primaryTypeIndex(value(r, Primary).trimmed(), numbers);
        rows.addContact(c);
        ctx.advanceContactId();
        ctx.advanceGroupId();
    }
}

void CSVParse::buildOutlookExpress(const QList<Record> &records, ImportContext &ctx, ImportRows &rows)
{
    // Outlook Express calls the work number "Business Phone".
    const bool hasWork = m_columnMap.value(WorkPhone) >= 0;
    for (const Record &r : records) {
        const int id = ctx.contactId();
        const QString numbers[4] = {hasWork ? value(r, WorkPhone) : column(r, m_businessPhone), value(r, HomePhone),
                                    value(r, MobilePhone), faxValue(r)};
        for (int i = 0; i < 4; ++i) {
            if (!numbers[i].isEmpty())
                rows.addPhone(id, phoneType(i), numbers[i], QVariant());
        }
        const QString mail = value(r, Email).trimmed();
        if (!mail.isEmpty())
            rows.addMail(id, QVariant(), mail);

        ImportRows::Contact c;
        c.id = id;
        c.FirstName = value(r, First);
        c.LastName = value(r, Last);
        rows.addContact(c);
        ctx.advanceContactId();
    }
}

void CSVParse::buildGmail(const QList<Record> &records, ImportContext &ctx, ImportRows &rows)
{
    // Expected positions: 0 Given Name, 1 Family Name, 2 E-mail 1 - type, 3 E-mail 1 -
    // Value, 4 Group Membership, then (type, value) pairs from 5.
    const int pairs = (int(m_columnMap.size()) - 5) / 2;
    for (const Record &r : records) {
        const int id = ctx.contactId();
        rows.addMail(id, QVariant(), lastPart(value(r, 3)));
        joinGroup(lastPart(value(r, 4)), id, ctx, rows);

        QHash<QString, QString> byType;
        for (int p = 0; p < pairs; ++p)
            byType.insert(value(r, 5 + 2 * p), lastPart(value(r, 6 + 2 * p)));
        QString fax = byType.value(QStringLiteral("Work Fax"));
        if (fax.isEmpty())
            fax = byType.value(QStringLiteral("Home Fax"));
        if (fax.isEmpty())
            fax = byType.value(QStringLiteral("Other Fax"));
        const QString numbers[4] = {byType.value(QStringLiteral("Work")), byType.value(QStringLiteral("Home")),
                                    byType.value(QStringLiteral("Mobile")), fax};
        for (int i = 0; i < 4; ++i) {
            if (!numbers[i].isEmpty())
                rows.addPhone(id, phoneType(i), numbers[i], QVariant());
        }

        ImportRows::Contact c;
        c.id = id;
        c.FirstName = value(r, 0);
        c.LastName = value(r, 1);
        rows.addContact(c);
        ctx.advanceContactId();
        ctx.advanceGroupId();
    }
}
