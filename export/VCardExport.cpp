#include "export/VCardExport.h"

#include "export/ExportRules.h"
#include "export/ExportStream.h"

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

Result VCardExport::write(
    QIODevice &out, const ExportContacts &contacts, const QList<GroupInfo> &groups, const QString &encoding) const
{
    Q_UNUSED(groups)
    ExportStream stream(out, encoding);
    if (const Result known = ExportRules::checkKnown(stream.encoder(), encoding); !known)
        return known;
    QString &text = stream.text();
    for (const ContactInfo &c : contacts) {
        if (const Result check = ExportRules::checkEncodable(c, stream.encoder(), encoding); !check)
            return check;
        // Names are escaped as vCard requires; our X-MARLO- values go out as they stand.
        text += QLatin1String("BEGIN:VCARD");
        stream.endLine();
        text += QLatin1String("VERSION:3.0");
        stream.endLine();
        text += QLatin1String("N:") + escaped(c.LastName) + QLatin1Char(';') + escaped(c.FirstName);
        stream.endLine();
        text += QLatin1String("FN:") + escaped(c.FirstName + QLatin1Char(' ') + c.LastName);
        stream.endLine();
        for (const PhoneInfo &p : c.PhoneList) {
            if (p.phonenumber.isEmpty())
                continue;
            for (int k = 0; k < 4; ++k) {
                const TelType &t = kTelTypes[k];
                if (p.type != QLatin1String(t.word))
                    continue;
                text += QLatin1String("TEL;TYPE=") + QLatin1String(t.tel);
                if (c.PrimaryIndex == k)
                    text += QLatin1String(",PREF");
                text += QLatin1Char(':') + p.phonenumber;
                stream.endLine();
                text += QLatin1String("X-MARLO-ACCOUNT;TYPE=") + QLatin1String(t.account) + QLatin1Char(':')
                    + QString::number(p.accountindex + 1);
                stream.endLine();
                break;
            }
        }
        const QString mail = ExportRules::firstMail(c);
        if (!mail.isEmpty()) {
            text += QLatin1String("EMAIL;TYPE=PREF:") + mail;
            stream.endLine();
        }
        text += QLatin1String("X-MARLO-GROUP:") + ExportRules::firstGroup(c);
        stream.endLine();
        text += QLatin1String("X-MARLO-FREQUENT:") + QString::number(c.Frequent);
        stream.endLine();
        text += QLatin1String("X-MARLO-PHOTO:") + ExportRules::photoUrl(c);
        stream.endLine();
        text += QLatin1String("X-MARLO-RING-INDEX:") + QString::number(c.RingtoneIndex);
        stream.endLine();
        text += QLatin1String("X-MARLO-RING:") + ExportRules::ringtoneUrl(c);
        stream.endLine();
        text += QLatin1String("END:VCARD");
        stream.endLine();
    }
    return stream.finish();
}
