#include "export/VCardExport.h"

#include "export/ExportFile.h"
#include "export/ExportRules.h"
#include "manager/DataMgr.h"

namespace {

struct TelType {
    const char *word; // stored phone type
    const char *tel; // TEL parameter
    const char *account; // X-MARLO-ACCOUNT parameter
};

// Row k is phone type k of the table, which PrimaryIndex counts.
const TelType kTelTypes[] = { { "Work", "WORK", "WORK" }, { "Home", "HOME", "HOME" }, { "Mobile", "CELL", "MOBILE" },
    { "Fax", "FAX", "FAX" } };

// A text value as vCard 3.0 writes it: backslash, comma, semicolon and line
// breaks escaped.
QString escaped(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';')) {
            out.append(QLatin1Char('\\')).append(c);
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < value.size() && value[i + 1] == QLatin1Char('\n'))
                ++i;
            out.append(QLatin1String("\\n"));
        } else {
            out.append(c);
        }
    }
    return out;
}

} // namespace

bool VCardExport::exportFile(
    const QString &encoding, QString &path, QList<ContactInfo> contacts, QList<GroupInfo> groups)
{
    Q_UNUSED(groups)
    if (!DataMgr::canEncode(contacts, encoding) || path.isEmpty())
        return false;
    path += QLatin1String(".vcf");
    ExportFile file(path, encoding);
    if (!file.open())
        return false;
    QString &out = file.text();
    for (const ContactInfo &c : std::as_const(contacts)) {
        // Names are escaped as vCard requires; our X-MARLO- values go out as they stand.
        out += QLatin1String("BEGIN:VCARD");
        file.endLine();
        out += QLatin1String("VERSION:3.0");
        file.endLine();
        out += QLatin1String("N:") + escaped(c.LastName) + QLatin1Char(';') + escaped(c.FirstName);
        file.endLine();
        out += QLatin1String("FN:") + escaped(c.FirstName + QLatin1Char(' ') + c.LastName);
        file.endLine();
        for (const PhoneInfo &p : c.PhoneList) {
            if (p.phonenumber.isEmpty())
                continue;
            for (int k = 0; k < 4; ++k) {
                const TelType &t = kTelTypes[k];
                if (p.type != QLatin1String(t.word))
                    continue;
                out += QLatin1String("TEL;TYPE=") + QLatin1String(t.tel);
                if (c.PrimaryIndex == k)
                    out += QLatin1String(",PREF");
                out += QLatin1Char(':') + p.phonenumber;
                file.endLine();
                out += QLatin1String("X-MARLO-ACCOUNT;TYPE=") + QLatin1String(t.account) + QLatin1Char(':')
                    + QString::number(p.accountindex + 1);
                file.endLine();
                break;
            }
        }
        const QString mail = ExportRules::firstMail(c);
        if (!mail.isEmpty()) {
            out += QLatin1String("EMAIL;TYPE=PREF:") + mail;
            file.endLine();
        }
        out += QLatin1String("X-MARLO-GROUP:") + ExportRules::firstGroup(c);
        file.endLine();
        out += QLatin1String("X-MARLO-FREQUENT:") + QString::number(c.Frequent);
        file.endLine();
        out += QLatin1String("X-MARLO-PHOTO:") + ExportRules::photoUrl(c);
        file.endLine();
        out += QLatin1String("X-MARLO-RING-INDEX:") + QString::number(c.RingtoneIndex);
        file.endLine();
        out += QLatin1String("X-MARLO-RING:") + ExportRules::ringtoneUrl(c);
        file.endLine();
        out += QLatin1String("END:VCARD");
        file.endLine();
    }
    return file.commit();
}
