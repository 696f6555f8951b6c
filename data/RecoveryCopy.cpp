#include "data/RecoveryCopy.h"

#include "data/AppPaths.h"
#include "data/Records.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace RecoveryCopy {

namespace {

const QString kFormat = QStringLiteral("quorvane-unsaved-phonebook");
constexpr int kVersion = 1;

QJsonArray intArray(const QList<int> &values)
{
    QJsonArray array;
    for (const int v : values)
        array.append(v);
    return array;
}

QJsonObject contactObject(const ContactInfo &c)
{
    // What a save would keep, and nothing derived.
    QJsonArray phones;
    for (const PhoneInfo &p : c.PhoneList)
        phones.append(QJsonObject { { "type", p.type }, { "number", p.phonenumber }, { "account", p.accountindex } });
    QJsonArray mails;
    for (const MailInfo &m : c.MailList)
        mails.append(QJsonObject { { "type", m.type }, { "address", m.Mail } });
    return QJsonObject { { "id", c.id }, { "firstName", c.FirstName }, { "lastName", c.LastName },
        { "department", c.Department }, { "primaryIndex", c.PrimaryIndex }, { "primaryNumber", c.PrimaryNumber },
        { "frequent", c.Frequent }, { "photo", Records::storedPhotoUrl(c) },
        { "ringtone", Records::storedRingtoneUrl(c) }, { "ringtoneIndex", c.RingtoneIndex },
        { "groups", QJsonArray::fromStringList(c.GroupList) }, { "phones", phones }, { "mails", mails } };
}

ContactInfo contactFrom(const QJsonObject &o)
{
    ContactInfo c;
    c.id = o.value("id").toInt();
    c.FirstName = o.value("firstName").toString();
    c.LastName = o.value("lastName").toString();
    c.Department = o.value("department").toString();
    c.PrimaryIndex = o.value("primaryIndex").toInt();
    c.PrimaryNumber = o.value("primaryNumber").toString();
    c.Frequent = o.value("frequent").toInt();
    c.PhotoUrl = o.value("photo").toString();
    c.RingtoneUrl = o.value("ringtone").toString();
    c.RingtoneIndex = o.value("ringtoneIndex").toInt();
    for (const QJsonValue &g : o.value("groups").toArray())
        c.GroupList.append(g.toString());
    for (const QJsonValue &v : o.value("phones").toArray()) {
        const QJsonObject p = v.toObject();
        c.PhoneList.append(PhoneInfo {
            p.value("type").toString(), QString(), p.value("number").toString(), p.value("account").toInt() });
    }
    for (const QJsonValue &v : o.value("mails").toArray()) {
        const QJsonObject m = v.toObject();
        c.MailList.append(MailInfo { m.value("type").toString(), QString(), m.value("address").toString() });
    }
    return c;
}

QJsonObject groupObject(const GroupInfo &g)
{
    return QJsonObject { { "id", g.id }, { "name", g.name }, { "photos", g.photos }, { "ringtones", g.ringtones },
        { "ringtoneIndex", g.RingtoneIndex }, { "members", intArray(g.MemberIds) } };
}

GroupInfo groupFrom(const QJsonObject &o)
{
    GroupInfo g;
    g.id = o.value("id").toInt();
    g.name = o.value("name").toString();
    g.photos = o.value("photos").toString();
    g.ringtones = o.value("ringtones").toString();
    g.RingtoneIndex = o.value("ringtoneIndex").toInt();
    for (const QJsonValue &id : o.value("members").toArray())
        g.MemberIds.append(id.toInt());
    g.MemberCount = int(g.MemberIds.size());
    return g;
}

} // namespace

QString path()
{
    return AppPaths::appDir() + QStringLiteral("recovery.json");
}

bool write(const QString &path, const QList<ContactInfo> &contacts, const QList<GroupInfo> &groups, QString *error)
{
    QJsonArray contactArray;
    for (const ContactInfo &c : contacts)
        contactArray.append(contactObject(c));
    QJsonArray groupArray;
    for (const GroupInfo &g : groups) {
        if (g.name != Records::kAll && g.name != Records::kAddGroup)
            groupArray.append(groupObject(g));
    }
    const QJsonObject root { { "format", kFormat }, { "version", kVersion },
        { "written", QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs) }, { "groups", groupArray },
        { "contacts", contactArray } };
    // Written beside and renamed over: a copy cut short by a full disk or a
    // second signal never replaces a whole one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson(QJsonDocument::Compact)) < 0
        || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool read(const QString &path, Contents *contents, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    const QJsonObject root = document.object();
    if (parseError.error != QJsonParseError::NoError || root.value("format").toString() != kFormat) {
        *error = QCoreApplication::translate("RecoveryCopy", "It is not a copy of unsaved edits.");
        return false;
    }
    if (root.value("version").toInt() != kVersion) {
        *error = QCoreApplication::translate("RecoveryCopy", "It was written by another version of the editor.");
        return false;
    }
    contents->written = QDateTime::fromString(root.value("written").toString(), Qt::ISODateWithMs);
    contents->contacts.clear();
    contents->groups.clear();
    for (const QJsonValue &c : root.value("contacts").toArray())
        contents->contacts.append(contactFrom(c.toObject()));
    for (const QJsonValue &g : root.value("groups").toArray())
        contents->groups.append(groupFrom(g.toObject()));
    return true;
}

} // namespace RecoveryCopy
