#include "data/Records.h"

#include <QCoreApplication>

namespace Records {

namespace {

struct PhoneType {
    const char *label;
    const char *word;
};

// The order is what PrimaryIndex counts; extended Alderline types carry their
// suffix in the label only.
const PhoneType kPhoneTypes[kPhoneTypeCount] = {
    { QT_TRANSLATE_NOOP("Records", "Work"), "Work" },
    { QT_TRANSLATE_NOOP("Records", "Home"), "Home" },
    { QT_TRANSLATE_NOOP("Records", "Mobile"), "Mobile" },
    { QT_TRANSLATE_NOOP("Records", "Fax"), "Fax" },
    { QT_TRANSLATE_NOOP("Records", "Pager"), "Pager" },
    { QT_TRANSLATE_NOOP("Records", "Car"), "Car" },
    { QT_TRANSLATE_NOOP("Records", "Radio"), "Radio" },
    { QT_TRANSLATE_NOOP("Records", "CompanyTotal"), "CompanyTotal" },
    { QT_TRANSLATE_NOOP("Records", "Assistant"), "Assistant" },
    { QT_TRANSLATE_NOOP("Records", "Telex(Alderline)"), "Telex" },
    { QT_TRANSLATE_NOOP("Records", "Main(Alderline)"), "Main" },
    { QT_TRANSLATE_NOOP("Records", "MMS(Alderline)"), "MMS" },
    { QT_TRANSLATE_NOOP("Records", "ISDN(Alderline)"), "ISDN" },
    { QT_TRANSLATE_NOOP("Records", "TTY TTD(Alderline)"), "TTY TTD" },
    { QT_TRANSLATE_NOOP("Records", "Callback(Alderline)"), "Callback" },
    { QT_TRANSLATE_NOOP("Records", "Work Fax(Alderline)"), "Work Fax" },
    { QT_TRANSLATE_NOOP("Records", "Home Fax(Alderline)"), "Home Fax" },
    { QT_TRANSLATE_NOOP("Records", "Other Fax(Alderline)"), "Other Fax" },
    { QT_TRANSLATE_NOOP("Records", "Work Mobile(Alderline)"), "Work Mobile" },
    { QT_TRANSLATE_NOOP("Records", "Work Pager(Alderline)"), "Work Pager" },
    { QT_TRANSLATE_NOOP("Records", "Company Main(Alderline)"), "Company Main" },
    { QT_TRANSLATE_NOOP("Records", "Custom(Alderline)"), "Custom" },
    { QT_TRANSLATE_NOOP("Records", "Other"), "Other" },
};

// Mail labels live in their own context: "Other" shows as "Others" there.
const char *const kMailWorkLabel = QT_TRANSLATE_NOOP("MailType", "Work");
const char *const kMailHomeLabel = QT_TRANSLATE_NOOP("MailType", "Home");
const char *const kMailMobileLabel = QT_TRANSLATE_NOOP("MailType", "Mobile");
const char *const kMailOtherLabel = QT_TRANSLATE_NOOP("MailType", "Others");

// Group names shown translated; stored as they are.
const char *const kTranslatedGroups[] = {
    QT_TRANSLATE_NOOP("GroupName", "All"),
    QT_TRANSLATE_NOOP("GroupName", "Add group"),
    QT_TRANSLATE_NOOP("GroupName", "Default"),
    QT_TRANSLATE_NOOP("GroupName", "Blacklist"),
    QT_TRANSLATE_NOOP("GroupName", "Family"),
    QT_TRANSLATE_NOOP("GroupName", "Friend"),
    QT_TRANSLATE_NOOP("GroupName", "Friends"),
    QT_TRANSLATE_NOOP("GroupName", "Work"),
};

} // namespace

QString phoneTypeLabel(int index)
{
    if (index < 0 || index >= kPhoneTypeCount)
        return QString();
    return QString::fromLatin1(kPhoneTypes[index].label);
}

QString phoneTypeWord(int index)
{
    if (index < 0 || index >= kPhoneTypeCount)
        return QString();
    return QString::fromLatin1(kPhoneTypes[index].word);
}

QString phoneTypeDisplay(int index)
{
    if (index < 0 || index >= kPhoneTypeCount)
        return QString();
    return QCoreApplication::translate("Records", kPhoneTypes[index].label);
}

int phoneTypeIndexOfWord(const QString &word)
{
    for (int i = 0; i < kPhoneTypeCount; ++i) {
        if (word == QLatin1String(kPhoneTypes[i].word))
            return i;
    }
    return -1;
}

QStringList mailTypeWords()
{
    return { QStringLiteral("Work"), QStringLiteral("Home"), QStringLiteral("Mobile"), QStringLiteral("Other") };
}

QString mailTypeLabel(const QString &word)
{
    if (word == QLatin1String("Work"))
        return QString::fromLatin1(kMailWorkLabel);
    if (word == QLatin1String("Home"))
        return QString::fromLatin1(kMailHomeLabel);
    if (word == QLatin1String("Mobile"))
        return QString::fromLatin1(kMailMobileLabel);
    if (word == QLatin1String("Other"))
        return QString::fromLatin1(kMailOtherLabel);
    return QString();
}

QString defaultHeadText()
{
    return QCoreApplication::translate("Records", "default head");
}

QString defaultRingtoneText()
{
    return QCoreApplication::translate("Records", "default ringtone");
}

QString storedPhotoUrl(const ContactInfo &contact)
{
    return contact.PhotoUrl == defaultHeadText() ? QString() : contact.PhotoUrl;
}

QString storedRingtoneUrl(const ContactInfo &contact)
{
    return contact.RingtoneUrl == defaultRingtoneText() ? QString() : contact.RingtoneUrl;
}

void rebuildPhoneLabel(PhoneInfo &phone)
{
    if (phone.type.isEmpty())
        phone.type = QStringLiteral("Work");
    const int row = phoneTypeIndexOfWord(phone.type);
    if (row >= 0)
        phone.TypeLabel = phoneTypeDisplay(row);
}

void rebuildMailLabel(MailInfo &mail)
{
    if (mail.type.isEmpty())
        mail.type = QStringLiteral("Work");
    const QString label = mailTypeLabel(mail.type);
    if (!label.isEmpty())
        mail.TypeLabel = QCoreApplication::translate("MailType", label.toLatin1().constData());
}

void rebuildPrimaryNumber(ContactInfo &contact)
{
    // Stored words against the stored word: the Alderline labels carry a suffix
    // that no stored word has.
    const QString word = phoneTypeWord(contact.PrimaryIndex);
    if (word.isEmpty())
        return;
    for (const PhoneInfo &phone : std::as_const(contact.PhoneList)) {
        if (phone.type == word) {
            contact.PrimaryNumber = phone.phonenumber;
            return;
        }
    }
}

int phoneTypeIndexOfDisplay(const QString &label)
{
    for (int i = 0; i < kPhoneTypeCount; ++i) {
        if (phoneTypeDisplay(i) == label)
            return i;
    }
    return -1;
}

bool isBlank(const ContactInfo &contact)
{
    // A contact removed for holding only spaces would vanish without a word.
    if (!contact.FirstName.isEmpty() || !contact.LastName.isEmpty())
        return false;
    for (const PhoneInfo &phone : contact.PhoneList) {
        if (!phone.phonenumber.isEmpty())
            return false;
    }
    for (const MailInfo &mail : contact.MailList) {
        if (!mail.Mail.isEmpty())
            return false;
    }
    return true;
}

PhoneInfoList groupPhonesByType(const PhoneInfoList &phones)
{
    // Rows without a number would not be shown again.
    PhoneInfoList rows;
    for (const PhoneInfo &phone : phones) {
        if (!phone.phonenumber.isEmpty())
            rows.append(phone);
    }
    PhoneInfoList grouped;
    while (!rows.isEmpty()) {
        const QString type = rows.first().type;
        for (auto it = rows.begin(); it != rows.end();) {
            if (it->type == type) {
                grouped.append(*it);
                it = rows.erase(it);
            } else {
                ++it;
            }
        }
    }
    return grouped;
}

QStringList primaryChoices(const PhoneInfoList &phones)
{
    QStringList choices;
    for (const PhoneInfo &phone : phones) {
        if (!choices.contains(phone.TypeLabel))
            choices.append(phone.TypeLabel);
    }
    return choices;
}

int primaryChoice(const QStringList &choices, const QString &picked, const QString &stored)
{
    int at = int(choices.indexOf(picked));
    if (at < 0)
        at = int(choices.indexOf(stored));
    return at < 0 ? 0 : at;
}

void settleEdits(ContactInfo &contact)
{
    contact.PhoneList = groupPhonesByType(contact.PhoneList);
    MailInfoList mails;
    for (const MailInfo &mail : std::as_const(contact.MailList)) {
        if (!mail.Mail.isEmpty())
            mails.append(mail);
    }
    contact.MailList = mails;
    // The list shows the primary number: it follows the new primary type.
    contact.PrimaryNumber.clear();
    rebuildPrimaryNumber(contact);
    if (contact.FirstName.isEmpty() && contact.LastName.isEmpty()) {
        if (!contact.PhoneList.isEmpty())
            contact.FirstName = contact.PhoneList.first().phonenumber;
        else if (!contact.MailList.isEmpty())
            contact.FirstName = contact.MailList.first().Mail;
    }
}

QString elide12(const QString &name)
{
    if (name.size() <= 12)
        return name;
    return name.left(12) + QStringLiteral("...");
}

QString groupDisplayName(const QString &name)
{
    for (const char *translated : kTranslatedGroups) {
        if (name == QLatin1String(translated))
            return QCoreApplication::translate("GroupName", translated);
    }
    return elide12(name);
}

QString groupIconKind(const QString &name)
{
    if (name == kAll)
        return QStringLiteral("All");
    if (name == kAddGroup)
        return QStringLiteral("Add");
    if (name == kDefault)
        return QStringLiteral("Default");
    if (name == kBlacklist)
        return QStringLiteral("Blacklist");
    return QStringLiteral("common");
}

QString groupText(const QStringList &names)
{
    QString text;
    for (const QString &name : names)
        text += name + QStringLiteral("::");
    return text;
}

} // namespace Records
