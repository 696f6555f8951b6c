#include "VCardExport.h"

#include "DataMgr.h"
#include "ExportFile.h"
#include "ExportRules.h"

namespace {

struct TelType {
    const char *word; // stored phone type
    const char *tel; // TEL parameter
    const char *account; // X-MARLO-ACCOUNT parameter
};

// Row k is phone type k of the table, which PrimaryIndex counts.
const TelType kTelTypes[] = { { "Work", "WORK", "WORK" }, { "Home", "HOME", "HOME" }, { "Mobile", "CELL", "MOBILE" },
    { "Fax", "FAX", "FAX" } };

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
        // Values go out as they stand: the reader of this dialect expects no escaping.
        out += QLatin1String("BEGIN:VCARD");
        file.endLine();
        out += QLatin1String("VERSION:3.0");
        file.endLine();
        out += QLatin1String("N:") + c.LastName + QLatin1Char(';') + c.FirstName;
        file.endLine();
        out += QLatin1String("FN:") + c.FirstName + QLatin1Char(' ') + c.LastName;
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
        out += QLatin1String("EMAIL;TYPE=PREF:") + ExportRules::firstMail(c);
        file.endLine();
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
