// Import of 100 000 contacts (two phones, one mail, one group each) from the general
// XML layout, the Alder CSV layout and vCard: into an empty phonebook, and into one
// already holding the same contacts with duplicates replaced. Timed end to end:
// read, store, merge and reload.

#include "Bench.h"

#include "DBOperator.h"
#include "DataMgr.h"
#include "SqliteDatabase.h"

#include <QFile>
#include <QTextStream>

namespace {

constexpr int kContacts = 100000;

QString xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString csvQuoted(const QString &text)
{
    return DataMgr::csvQuote(text);
}

// The three layouts as our writers put them.
void writeFile(const QString &path, const QString &kind, const QList<ContactInfo> &contacts)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    QTextStream out(&file);
    const QStringList groups = Bench::syntheticGroupNames();
    if (kind == QLatin1String("xml")) {
        out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AddressBook>\n    <version>1</version>\n";
        QStringList all = QStringList{QStringLiteral("Default")} + groups + QStringList{QStringLiteral("Blacklist")};
        for (int g = 0; g < all.size(); ++g) {
            const int id = g == 0 ? 0 : g == all.size() - 1 ? 100 : g + 1;
            out << "    <pbgroup>\n        <id>" << id << "</id>\n        <name>" << all[g]
                << "</name>\n        <photos></photos>\n        <ringtones></ringtones>\n"
                   "        <RingtoneIndex>0</RingtoneIndex>\n    </pbgroup>\n";
        }
        for (const ContactInfo &c : contacts) {
            out << "    <Contact>\n        <id>" << c.id << "</id>\n        <FirstName>" << xmlEscaped(c.FirstName)
                << "</FirstName>\n        <LastName>" << xmlEscaped(c.LastName) << "</LastName>\n        <Department>"
                << xmlEscaped(c.Department) << "</Department>\n        <Primary>" << c.PrimaryIndex
                << "</Primary>\n        <Frequent>" << c.Frequent << "</Frequent>\n";
            for (const PhoneInfo &p : c.PhoneList)
                out << "        <Phone type=\"" << p.type << "\">\n            <phonenumber>" << p.phonenumber
                    << "</phonenumber>\n            <accountindex>" << p.accountindex + 1
                    << "</accountindex>\n        </Phone>\n";
            for (const MailInfo &m : c.MailList)
                out << "        <Mail type=\"" << m.type << "\">" << m.Mail << "</Mail>\n";
            out << "        <Group>" << groups.indexOf(c.GroupList.first()) + 2 << "</Group>\n"
                << "        <PhotoUrl></PhotoUrl>\n        <RingtoneUrl></RingtoneUrl>\n"
                   "        <RingtoneIndex>0</RingtoneIndex>\n    </Contact>\n";
        }
        out << "</AddressBook>\n";
    } else if (kind == QLatin1String("csv")) {
        out << "First Name,Last Name,Work Phone,Home Phone,Mobile Phone,Fax,E-mail Address,Primary Phone,Group,"
               "Work account,Home account,Mobile account,Fax account,Frequent,Photo,Ring index,Ring\n";
        for (const ContactInfo &c : contacts) {
            out << csvQuoted(c.FirstName) << ',' << csvQuoted(c.LastName) << ',' << c.PhoneList[0].phonenumber
                << ",," << c.PhoneList[1].phonenumber << ",," << csvQuoted(c.MailList[0].Mail) << ','
                << c.PrimaryIndex << ',' << csvQuoted(c.GroupList.first()) << ',' << c.PhoneList[0].accountindex
                << ",0," << c.PhoneList[1].accountindex << ",0," << c.Frequent << ",," << c.RingtoneIndex << ",\n";
        }
    } else {
        for (const ContactInfo &c : contacts) {
            out << "BEGIN:VCARD\nVERSION:3.0\nN:" << c.LastName << ';' << c.FirstName << "\nFN:" << c.FirstName << ' '
                << c.LastName << "\nTEL;TYPE=WORK,PREF:" << c.PhoneList[0].phonenumber
                << "\nX-MARLO-ACCOUNT;TYPE=WORK:" << c.PhoneList[0].accountindex + 1
                << "\nTEL;TYPE=CELL:" << c.PhoneList[1].phonenumber
                << "\nX-MARLO-ACCOUNT;TYPE=MOBILE:" << c.PhoneList[1].accountindex + 1
                << "\nEMAIL;TYPE=PREF:" << c.MailList[0].Mail << "\nX-MARLO-GROUP:" << c.GroupList.first()
                << "\nX-MARLO-FREQUENT:" << c.Frequent << "\nX-MARLO-PHOTO:\nX-MARLO-RING-INDEX:" << c.RingtoneIndex
                << "\nX-MARLO-RING:\nEND:VCARD\n";
        }
    }
}

void importCase(const QString &kind, bool holding)
{
    const QString dir = Bench::tempDir();
    const QString path = dir + QStringLiteral("/phonebook.") + kind;
    writeFile(path, kind, Bench::syntheticContacts(kContacts));
    Bench::setUpPhonebook(dir, holding ? kContacts : 0, true);
    DataMgr *mgr = DataMgr::instance();
    if (holding)
        mgr->reload();

    mgr->setMergeMode(0);
    mgr->setReplaceOnImport(false);
    Bench::resetPeakMemory();
    QElapsedTimer t;
    t.start();
    const bool ok = mgr->importFile(path, QStringLiteral("UTF-8"));
    const double seconds = Bench::seconds(t);
    Bench::report(QStringLiteral("import (read, store, merge, reload)"), seconds, QStringLiteral("s"),
                  ok ? QStringLiteral("%1 contacts after").arg(mgr->ctList().size()) : QStringLiteral("FAILED"));
    Bench::report(QStringLiteral("peak memory during the import"), Bench::peakMemoryMiB(), QStringLiteral("MiB"));
}

const Bench::Registrar xmlEmpty("import-xml-empty", [] { importCase(QStringLiteral("xml"), false); });
const Bench::Registrar xmlHolding("import-xml-replace", [] { importCase(QStringLiteral("xml"), true); });
const Bench::Registrar csvEmpty("import-csv-empty", [] { importCase(QStringLiteral("csv"), false); });
const Bench::Registrar csvHolding("import-csv-replace", [] { importCase(QStringLiteral("csv"), true); });
const Bench::Registrar vcfEmpty("import-vcf-empty", [] { importCase(QStringLiteral("vcf"), false); });
const Bench::Registrar vcfHolding("import-vcf-replace", [] { importCase(QStringLiteral("vcf"), true); });

} // namespace
