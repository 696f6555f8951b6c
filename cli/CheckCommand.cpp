#include "cli/Command.h"
#include "export/ExportFactory.h"
#include "export/LayoutCheck.h"
#include "manager/DataMgr.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

int check(const QStringList &args)
{
    const Cli::Options o = Cli::parseOptions(
        args, { QStringLiteral("--format"), QStringLiteral("--encoding") }, { QStringLiteral("--json") });
    if (!o.error.isEmpty() || !o.positional.isEmpty()) {
        Cli::printErr(o.error.isEmpty() ? QStringLiteral("check takes no arguments") : o.error);
        return Cli::Usage;
    }
    // Without a layout: what each phone model fetches from the service.
    QList<int> formats { ExportFactory::UniXml, ExportFactory::XmlAlder, ExportFactory::XmlBirch,
        ExportFactory::XmlCedar, ExportFactory::XmlBrenn };
    if (o.values.contains(QStringLiteral("--format"))) {
        const int format = ExportFactory::formatByName(o.values.value(QStringLiteral("--format")));
        if (format < 0) {
            Cli::printErr(QStringLiteral("Unknown layout %1 (see list-formats)").arg(o.values.value("--format")));
            return Cli::Usage;
        }
        formats = { format };
    }
    const QString encoding = Cli::encodingNamed(o.values.value(QStringLiteral("--encoding"), QStringLiteral("UTF-8")));
    if (encoding.isEmpty()) {
        Cli::printErr(QStringLiteral("Unknown encoding %1 (see list-encodings)").arg(o.values.value("--encoding")));
        return Cli::Usage;
    }
    // The phones get the phonebook as saved.
    if (!Cli::loadPhonebook(DataMgr::StoreMode::ReadOnly))
        return Cli::Failure;
    const DataMgr *mgr = DataMgr::instance();
    const QStringList labels = ExportFactory::formatLabels();
    const QStringList names = ExportFactory::formatNames();
    bool lost = false;
    QJsonArray reports;
    QString text;
    for (int format : formats) {
        const LayoutCheck::Report r
            = LayoutCheck::check(format, encoding, mgr->phonebook().contacts(), mgr->phonebook().groupsAsSaved());
        lost = lost || r.losesAnything();
        QJsonArray findings;
        int lostCount = 0;
        for (const LayoutCheck::Finding &f : r.findings) {
            const bool isLost = f.severity == LayoutCheck::Severity::Lost;
            lostCount += isLost ? 1 : 0;
            findings.append(QJsonObject {
                { "severity", isLost ? "lost" : "changed" }, { "contact", f.contactId }, { "what", f.what } });
        }
        reports.append(QJsonObject { { "format", names.at(format) }, { "label", labels.at(format) },
            { "encoding", encoding }, { "contacts", r.contacts }, { "groups", r.groups }, { "findings", findings } });
        text += QStringLiteral("%1 (%2) in %3: %4 contacts, %5 groups; %6 lost, %7 changed\n")
                    .arg(names.at(format), labels.at(format), encoding)
                    .arg(r.contacts)
                    .arg(r.groups)
                    .arg(lostCount)
                    .arg(r.findings.size() - lostCount);
        for (const LayoutCheck::Finding &f : r.findings)
            text += QStringLiteral("  %1  %2\n")
                        .arg(f.severity == LayoutCheck::Severity::Lost ? QStringLiteral("lost   ")
                                                                       : QStringLiteral("changed"),
                            f.what);
    }
    if (o.flags.contains(QStringLiteral("--json"))) {
        Cli::printOut(QString::fromUtf8(QJsonDocument(reports).toJson(QJsonDocument::Indented)).trimmed());
    } else {
        text.chop(1);
        Cli::printOut(text);
    }
    return lost ? Cli::Failure : Cli::Success;
}

const Cli::Registrar checkCommand("check", "check [--format N|NAME] [--encoding NAME] [--json]",
    "Tell, before anything is published, what each phone model fetches from the saved phonebook (or the "
    "given layout and encoding): how many contacts and groups its file carries and, by contact, what is "
    "lost or changed; exit status 1 when anything would be lost.",
    check);

} // namespace
