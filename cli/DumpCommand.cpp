#include "cli/Command.h"
#include "data/ContactNames.h"
#include "data/Records.h"
#include "manager/DataMgr.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject groupJson(const GroupInfo &g)
{
    QJsonArray members;
    for (int id : g.MemberIds)
        members.append(id);
    return QJsonObject { { "id", g.id }, { "name", g.name }, { "photos", g.photos }, { "ringtones", g.ringtones },
        { "RingtoneIndex", g.RingtoneIndex }, { "MemberIds", members } };
}

QJsonObject contactJson(const ContactInfo &c)
{
    QJsonArray phones;
    for (const PhoneInfo &p : c.PhoneList)
        phones.append(
            QJsonObject { { "type", p.type }, { "phonenumber", p.phonenumber }, { "accountindex", p.accountindex } });
    QJsonArray mails;
    for (const MailInfo &m : c.MailList)
        mails.append(QJsonObject { { "type", m.type }, { "Mail", m.Mail } });
    return QJsonObject { { "id", c.id }, { "FirstName", c.FirstName }, { "LastName", c.LastName },
        { "Department", c.Department }, { "PrimaryIndex", c.PrimaryIndex }, { "PrimaryNumber", c.PrimaryNumber },
        { "Frequent", c.Frequent }, { "PhotoUrl", c.PhotoUrl }, { "RingtoneUrl", c.RingtoneUrl },
        { "RingtoneIndex", c.RingtoneIndex }, { "PhoneList", phones }, { "MailList", mails },
        { "GroupList", QJsonArray::fromStringList(c.GroupList) }, { "NamePinyin", c.NamePinyin },
        { "NameInitials", c.NameInitials }, { "SortKey", ContactNames::sortKey(c) } };
}

int dump(const QStringList &args)
{
    if (!args.isEmpty()) {
        Cli::printErr(QStringLiteral("dump takes no arguments"));
        return Cli::Usage;
    }
    if (!Cli::loadPhonebook(DataMgr::StoreMode::ReadOnly))
        return Cli::Failure;
    DataMgr *mgr = DataMgr::instance();
    QJsonArray groups;
    for (const GroupInfo &g : mgr->phonebook().groups())
        groups.append(groupJson(g));
    QJsonArray contacts;
    for (const ContactInfo &c : mgr->phonebook().contacts())
        contacts.append(contactJson(c));
    const QJsonObject root { { "groups", groups }, { "contacts", contacts } };
    Cli::printOut(QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented)).trimmed());
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
