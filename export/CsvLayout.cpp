#include "export/CsvLayout.h"

#include "export/ExportRules.h"
#include "export/ExportStream.h"

namespace CsvLayout {

Fields fieldsOf(const ContactInfo &contact)
{
    static const QString words[SlotCount]
        = { QStringLiteral("Work"), QStringLiteral("Home"), QStringLiteral("Mobile"), QStringLiteral("Fax") };
    Fields f;
    for (const PhoneInfo &p : contact.PhoneList) {
        if (p.phonenumber.isEmpty())
            continue;
        for (int s = 0; s < SlotCount; ++s) {
            if (!f.hasNumber[s] && p.type == words[s]) {
                f.number[s] = p.phonenumber;
                f.account[s] = p.accountindex;
                f.hasNumber[s] = true;
                break;
            }
        }
    }
    f.email = ExportRules::firstMail(contact);
    f.group = ExportRules::firstGroup(contact);
    return f;
}

namespace {

void appendField(QString &line, QStringView field)
{
    bool enclose = false;
    for (QChar c : field) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\n')) {
            enclose = true;
            break;
        }
    }
    if (!enclose) {
        line += field;
        return;
    }
    line += QLatin1Char('"');
    for (QChar c : field) {
        if (c == QLatin1Char('"'))
            line += QLatin1Char('"');
        line += c;
    }
    line += QLatin1Char('"');
}

} // namespace

QString quote(const QString &text)
{
    QString quoted;
    appendField(quoted, text);
    return quoted;
}

void appendQuoted(QString &line, std::initializer_list<QStringView> fields)
{
    bool first = true;
    for (QStringView field : fields) {
        if (!first)
            line += QLatin1Char(',');
        first = false;
        appendField(line, field);
    }
}

Result write(
    QIODevice &out, const ExportContacts &contacts, const QString &encoding, const QString &header, const Row &row)
{
    ExportStream stream(out, encoding);
    if (const Result known = ExportRules::checkKnown(stream.encoder(), encoding); !known)
        return known;
    stream.text() += header;
    stream.endLine();
    for (const ContactInfo &c : contacts) {
        if (const Result check = ExportRules::checkEncodable(c, stream.encoder(), encoding); !check)
            return check;
        row(stream.text(), c);
        stream.endLine();
    }
    return stream.finish();
}

} // namespace CsvLayout
