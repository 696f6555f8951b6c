#include "import/ContactLabels.h"

#include <unordered_map>

namespace ContactLabels {

namespace {

// A short key's hash in a few instructions a character: Qt's own hash of strings
// costs more than the rest of reading a type label, done for every phone of a file.
struct KeyHash {
    size_t operator()(const QString &key) const
    {
        size_t h = 1469598103934665603u;
        for (const QChar c : key)
            h = (h ^ c.unicode()) * 1099511628211u;
        return h;
    }
};
using Types = std::unordered_map<QString, QString, KeyHash>;

// Lower-case letters only: digits, blanks and punctuation go.
QString key(QStringView label)
{
    QString k;
    k.reserve(label.size());
    for (QChar c : label) {
        if (c.isLetter())
            k.append(c.toLower());
    }
    return k;
}

const Types &phoneTypes()
{
    // Column names of Outlook (English and Simplified Chinese), Thunderbird and
    // Google, Apple's labels and the vCard type words, by key.
    static const Types types = [] {
        const struct {
            const char *type;
            std::initializer_list<const char *> keys;
        } table[] = {
            { "Work",
                { "work", "workphone", "business", "businessphone", "office", "商务电话", "业务电话", "单位电话" } },
            { "Home", { "home", "homephone", "住宅电话", "家庭电话" } },
            { "Mobile",
                { "mobile", "mobilephone", "mobilenumber", "cell", "cellphone", "cellular", "iphone", "移动电话",
                    "手机" } },
            { "Fax", { "fax", "faxnumber", "传真" } },
            { "Pager", { "pager", "pagernumber", "beeper", "寻呼机" } },
            { "Car", { "car", "carphone", "车载电话" } },
            { "Radio", { "radio", "radiophone", "无线电话" } },
            { "Assistant", { "assistant", "assistantphone", "assistantsphone", "助理电话", "助理的电话" } },
            { "Telex", { "telex", "电报" } },
            { "Main", { "main", "mainphone" } },
            { "MMS", { "mms" } },
            { "ISDN", { "isdn" } },
            { "TTY TTD", { "tty", "ttytdd", "ttytddphone", "ttytdd电话", "textphone" } },
            { "Callback", { "callback", "回拨电话", "回电话" } },
            { "Work Fax", { "workfax", "businessfax", "商务传真", "业务传真" } },
            { "Home Fax", { "homefax", "住宅传真" } },
            { "Other Fax", { "otherfax", "其他传真" } },
            { "Work Mobile", { "workmobile" } },
            { "Work Pager", { "workpager" } },
            { "Company Main", { "companymain", "companymainphone", "单位主要电话", "公司代表电话" } },
            { "Other", { "other", "otherphone", "其他电话" } },
        };
        Types map;
        for (const auto &row : table) {
            for (const char *k : row.keys)
                map.emplace(QString::fromUtf8(k), QString::fromLatin1(row.type));
        }
        return map;
    }();
    return types;
}

QString typeOf(const Types &types, const QString &key)
{
    const auto it = types.find(key);
    return it == types.end() ? QString() : it->second;
}

} // namespace

QString phoneType(QStringView label)
{
    return typeOf(phoneTypes(), key(label));
}

QString mailType(QStringView label)
{
    static const Types types = [] {
        const struct {
            const char *type;
            std::initializer_list<const char *> keys;
        } table[] = {
            { "Work", { "work", "business", "office", "工作", "单位" } },
            { "Home", { "home", "personal", "住宅", "家庭", "个人" } },
            { "Mobile", { "mobile", "cell", "手机" } },
            { "Other", { "other", "其他" } },
        };
        Types map;
        for (const auto &row : table) {
            for (const char *k : row.keys)
                map.emplace(QString::fromUtf8(k), QString::fromLatin1(row.type));
        }
        return map;
    }();
    return typeOf(types, key(withoutStar(label)));
}

QString department(const QStringList &parts)
{
    QStringList kept;
    for (const QString &part : parts) {
        const QString p = part.simplified();
        if (!p.isEmpty() && !kept.contains(p, Qt::CaseInsensitive))
            kept.append(p);
    }
    return kept.join(QLatin1String(" / "));
}

bool isMailColumn(QStringView name)
{
    static const QStringList keys
        = { QStringLiteral("email"), QStringLiteral("emailaddress"), QStringLiteral("primaryemail"),
              QStringLiteral("secondaryemail"), QStringLiteral("电子邮件"), QStringLiteral("电子邮件地址") };
    return keys.contains(key(name));
}

QStringView withoutStar(QStringView label)
{
    label = label.trimmed();
    return label.startsWith(QLatin1String("* ")) ? label.mid(2).trimmed() : label;
}

bool isAllContactsGroup(QStringView name)
{
    return key(withoutStar(name)) == QLatin1String("mycontacts");
}

} // namespace ContactLabels
