#include "export/LayoutCheck.h"

#include "data/ContactNames.h"
#include "data/TextCodec.h"
#include "export/ExportFactory.h"
#include "export/ExportRules.h"

#include <QHash>
#include <QSet>

namespace {

bool isXml(int format)
{
    return format >= ExportFactory::UniXml && format <= ExportFactory::XmlBrenn;
}

QString nameOf(const ContactInfo &c)
{
    const QString name = ContactNames::displayName(c).trimmed();
    return name.isEmpty() ? QCoreApplication::translate("LayoutCheck", "(no name)") : name;
}

// Phones a layout drops from a contact: the numbers its file leaves out.
QList<int> droppedPhones(int format, const ContactInfo &c)
{
    QList<int> dropped;
    static const QStringList birchSlots
        = { QStringLiteral("Work"), QStringLiteral("Home"), QStringLiteral("Mobile"), QStringLiteral("Fax") };
    QSet<QString> taken;
    for (int i = 0; i < c.PhoneList.size(); ++i) {
        const PhoneInfo &p = c.PhoneList.at(i);
        if (p.phonenumber.isEmpty())
            continue;
        switch (format) {
        case ExportFactory::XmlAlder:
            if (!LayoutLimits::isAlderPhoneType(p.type))
                dropped.append(i);
            break;
        case ExportFactory::XmlBirch:
            if (!birchSlots.contains(p.type) || taken.contains(p.type))
                dropped.append(i);
            taken.insert(p.type);
            break;
        case ExportFactory::XmlCedar:
            if (i >= 4)
                dropped.append(i);
            break;
        case ExportFactory::XmlBrenn:
            if (i >= 1)
                dropped.append(i);
            break;
        default:
            break;
        }
    }
    return dropped;
}

int mailsCarried(int format, int mails)
{
    switch (format) {
    case ExportFactory::XmlBirch:
    case ExportFactory::XmlCedar:
        return qMin(mails, 1);
    case ExportFactory::XmlBrenn:
        return 0;
    default:
        return mails;
    }
}

} // namespace

bool LayoutLimits::isAlderPhoneType(const QString &type)
{
    static const QSet<QString> types { QStringLiteral("Work"), QStringLiteral("Home"), QStringLiteral("Mobile"),
        QStringLiteral("Fax"), QStringLiteral("Pager"), QStringLiteral("Car"), QStringLiteral("Radio"),
        QStringLiteral("Assistant"), QStringLiteral("Telex"), QStringLiteral("Main"), QStringLiteral("MMS"),
        QStringLiteral("ISDN"), QStringLiteral("TTY TTD"), QStringLiteral("Callback"), QStringLiteral("Work Fax"),
        QStringLiteral("Home Fax"), QStringLiteral("Other Fax"), QStringLiteral("Work Mobile"),
        QStringLiteral("Work Pager"), QStringLiteral("Company Main"), QStringLiteral("Custom"),
        QStringLiteral("Other") };
    return types.contains(type);
}

bool LayoutCheck::Report::losesAnything() const
{
    for (const Finding &f : findings) {
        if (f.severity == Severity::Lost)
            return true;
    }
    return false;
}

bool LayoutCheck::isDialable(const QString &number)
{
    if (number.isEmpty())
        return false;
    for (int i = 0; i < number.size(); ++i) {
        const QChar c = number.at(i);
        if (c.isDigit() && c.unicode() < 128)
            continue;
        if (c == QLatin1Char('+') && i == 0)
            continue;
        if (QStringLiteral("*#,;pPwW").contains(c))
            continue;
        return false;
    }
    return true;
}

LayoutCheck::Report LayoutCheck::check(
    int format, const QString &encoding, const QList<ContactInfo> &contacts, const QList<GroupInfo> &groups)
{
    Report report;
    report.format = format;
    report.encoding = encoding;
    const bool limited = format == ExportFactory::XmlAlder || format == ExportFactory::XmlBirch;

    // Groups, in the order the file takes them.
    QSet<QString> lostGroups;
    for (const GroupInfo &g : groups) {
        if (g.name == QLatin1String("All") || g.name.compare(QLatin1String("Add group"), Qt::CaseInsensitive) == 0)
            continue;
        if (limited && report.groups >= LayoutLimits::kModelGroups) {
            lostGroups.insert(g.name);
            report.findings.append({ Severity::Lost, 0,
                tr("The group %1 is past the %2 groups this phone takes.")
                    .arg(g.name)
                    .arg(LayoutLimits::kModelGroups) });
            continue;
        }
        ++report.groups;
    }

    // XML layouts write what the encoding lacks as character references. The
    // others refuse the whole export over a name or mail address, and write "?"
    // for the rest.
    const bool refusesText = !isXml(format);
    if (refusesText)
        report.refused = !ExportRules::checkEncodable(contacts, encoding);
    TextCodec::Encoder encoder(encoding);
    QHash<QString, int> numberOwner;
    for (int i = 0; i < contacts.size(); ++i) {
        const ContactInfo &c = contacts.at(i);
        const QString name = nameOf(c);
        if (limited && i >= LayoutLimits::kModelContacts) {
            report.findings.append({ Severity::Lost, c.id,
                tr("%1 is past the %2 contacts this phone takes.").arg(name).arg(LayoutLimits::kModelContacts) });
            continue;
        }
        ++report.contacts;
        if (c.FirstName.trimmed().isEmpty() && c.LastName.trimmed().isEmpty())
            report.findings.append({ Severity::Changed, c.id, tr("A contact has no name.") });
        QStringList refusing { c.FirstName, c.LastName };
        QStringList texts;
        if (refusesText) {
            for (const MailInfo &m : c.MailList)
                refusing.append(m.Mail);
        } else {
            texts = refusing;
            refusing.clear();
        }
        if (format == ExportFactory::XmlBrenn || !isXml(format))
            texts.append(c.Department);
        for (const PhoneInfo &p : c.PhoneList)
            texts.append(p.phonenumber);
        for (const QString &text : std::as_const(refusing)) {
            if (!text.isEmpty() && !encoder.canEncode(text))
                report.findings.append({ Severity::Lost, c.id,
                    tr("%1: \"%2\" has characters %3 cannot hold; the export is refused.").arg(name, text, encoding) });
        }
        for (const QString &text : std::as_const(texts)) {
            if (text.isEmpty() || encoder.canEncode(text))
                continue;
            if (refusesText)
                report.findings.append({ Severity::Changed, c.id,
                    tr("%1: \"%2\" has characters %3 cannot hold; they are written as \"?\".")
                        .arg(name, text, encoding) });
            else
                report.findings.append({ Severity::Changed, c.id,
                    tr("%1: \"%2\" has characters %3 cannot hold; they are written as character references.")
                        .arg(name, text, encoding) });
        }
        for (const QString &group : c.GroupList) {
            if (lostGroups.contains(group))
                report.findings.append(
                    { Severity::Lost, c.id, tr("%1 loses the group %2 on this phone.").arg(name, group) });
        }
        bool anyNumber = false;
        for (const PhoneInfo &p : c.PhoneList) {
            if (p.phonenumber.isEmpty())
                continue;
            anyNumber = true;
            if (!isDialable(p.phonenumber))
                report.findings.append(
                    { Severity::Changed, c.id, tr("%1: the number %2 cannot be dialled.").arg(name, p.phonenumber) });
            const auto owner = numberOwner.constFind(p.phonenumber);
            if (owner == numberOwner.cend())
                numberOwner.insert(p.phonenumber, c.id);
            else if (*owner != c.id)
                report.findings.append({ Severity::Changed, c.id,
                    tr("%1: the number %2 belongs to another contact too.").arg(name, p.phonenumber) });
        }
        if (!anyNumber)
            report.findings.append({ Severity::Changed, c.id, tr("%1 has no number.").arg(name) });
        for (int index : droppedPhones(format, c))
            report.findings.append({ Severity::Lost, c.id,
                tr("%1: the number %2 (%3) is left out of this phone's file.")
                    .arg(name, c.PhoneList.at(index).phonenumber, c.PhoneList.at(index).type) });
        const int mails = int(
            std::count_if(c.MailList.cbegin(), c.MailList.cend(), [](const MailInfo &m) { return !m.Mail.isEmpty(); }));
        if (mailsCarried(format, mails) < mails)
            report.findings.append({ Severity::Changed, c.id,
                tr("%1: %n mail address(es) left out of this phone's file.", nullptr,
                    mails - mailsCarried(format, mails))
                    .arg(name) });
    }
    return report;
}
