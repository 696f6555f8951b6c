#include "data/RecoveryCopy.h"

#include "data/AppPaths.h"
#include "data/DBOperator.h"
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

QJsonObject contactObject(const ContactInfo &contact)
{
    // The store's row: what a save would keep, and nothing derived.
    const ContactRow row = DBOperator::toRow(contact);
    QJsonArray phones;
    for (const PhoneRow &p : row.phones)
        phones.append(QJsonObject { { "type", p.type }, { "number", p.phonenumber }, { "account", p.accountindex } });
    QJsonArray mails;
    for (const MailRow &m : row.mails)
        mails.append(QJsonObject { { "type", m.type }, { "address", m.Mail } });
    return QJsonObject { { "id", row.id }, { "firstName", row.FirstName }, { "lastName", row.LastName },
        { "department", row.Department }, { "primaryIndex", row.PrimaryIndex }, { "primaryNumber", row.PrimaryNumber },
        { "frequent", row.Frequent }, { "photo", row.PhotoUrl }, { "ringtone", row.RingtoneUrl },
        { "ringtoneIndex", row.RingtoneIndex }, { "groups", QJsonArray::fromStringList(row.groupNames) },
        { "phones", phones }, { "mails", mails } };
}

ContactInfo contactFrom(const QJsonObject &o)
{
    ContactRow row;
    row.id = o.value("id").toInt();
    row.FirstName = o.value("firstName").toString();
    row.LastName = o.value("lastName").toString();
    row.Department = o.value("department").toString();
    row.PrimaryIndex = o.value("primaryIndex").toInt();
    row.PrimaryNumber = o.value("primaryNumber").toString();
    row.Frequent = o.value("frequent").toInt();
    row.PhotoUrl = o.value("photo").toString();
    row.RingtoneUrl = o.value("ringtone").toString();
    row.RingtoneIndex = o.value("ringtoneIndex").toInt();
    for (const QJsonValue &g : o.value("groups").toArray())
        row.groupNames.append(g.toString());
    for (const QJsonValue &v : o.value("phones").toArray()) {
        const QJsonObject p = v.toObject();
        row.phones.append(
            PhoneRow { p.value("type").toString(), p.value("number").toString(), p.value("account").toInt() });
    }
    for (const QJsonValue &v : o.value("mails").toArray()) {
        const QJsonObject m = v.toObject();
        row.mails.append(MailRow { m.value("type").toString(), m.value("address").toString() });
    }
    return DBOperator::toContact(row);
}

QJsonObject groupObject(const GroupInfo &group)
{
    const GroupRow row = DBOperator::toRow(group);
    return QJsonObject { { "id", row.id }, { "name", row.name }, { "photos", row.photos },
        { "ringtones", row.ringtones }, { "ringtoneIndex", row.RingtoneIndex },
        { "members", intArray(row.memberIds) } };
}

GroupInfo groupFrom(const QJsonObject &o)
{
    GroupRow row;
    row.id = o.value("id").toInt();
    row.name = o.value("name").toString();
    row.photos = o.value("photos").toString();
    row.ringtones = o.value("ringtones").toString();
    row.RingtoneIndex = o.value("ringtoneIndex").toInt();
    for (const QJsonValue &id : o.value("members").toArray())
        row.memberIds.append(id.toInt());
    row.memberCount = int(row.memberIds.size());
    return DBOperator::toGroup(row);
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
