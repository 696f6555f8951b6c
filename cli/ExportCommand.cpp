#include "cli/Command.h"
#include "export/ExportFactory.h"
#include "manager/DataMgr.h"

#include <QFileInfo>

namespace {

const char *const kUsage = "export --format N|NAME --encoding NAME --out PATH";

QString formatList()
{
    QString list;
    const QStringList labels = ExportFactory::formatLabels();
    const QStringList names = ExportFactory::formatNames();
    for (int i = 0; i < labels.size(); ++i)
        list += QStringLiteral("  %1  %2  %3\n").arg(i, 2).arg(names[i], -22).arg(labels[i]);
    return list;
}

int listFormats(const QStringList &args)
{
    if (!args.isEmpty()) {
        Cli::printErr(QStringLiteral("list-formats takes no arguments"));
        return Cli::Usage;
    }
    QString list = formatList();
    list.chop(1);
    Cli::printOut(list);
    return Cli::Success;
}

int listEncodings(const QStringList &args)
{
    if (!args.isEmpty()) {
        Cli::printErr(QStringLiteral("list-encodings takes no arguments"));
        return Cli::Usage;
    }
    Cli::printOut(ExportFactory::encodingNames().join(QLatin1Char('\n')));
    return Cli::Success;
}

int exportPhonebook(const QStringList &args)
{
    const Cli::Options o = Cli::parseOptions(
        args, { QStringLiteral("--format"), QStringLiteral("--encoding"), QStringLiteral("--out") }, {});
    if (!o.error.isEmpty() || !o.positional.isEmpty()) {
        Cli::printErr(o.error.isEmpty() ? QStringLiteral("export takes no positional arguments") : o.error);
        return Cli::Usage;
    }
    for (const char *required : { "--format", "--encoding", "--out" }) {
        if (!o.values.contains(QLatin1String(required))) {
            Cli::printErr(QStringLiteral("export needs %1\nUsage: quorvane-phonebook [--dir DIR] %2")
                              .arg(QLatin1String(required), QLatin1String(kUsage)));
            return Cli::Usage;
        }
    }
    const int format = ExportFactory::formatByName(o.values.value(QStringLiteral("--format")));
    if (format < 0) {
        Cli::printErr(QStringLiteral("--format must be one of:\n") + formatList());
        return Cli::Usage;
    }
    const QString encoding = Cli::encodingNamed(o.values.value(QStringLiteral("--encoding")));
    if (encoding.isEmpty()) {
        Cli::printErr(QStringLiteral("The encoding %1 is unknown.").arg(o.values.value(QStringLiteral("--encoding"))));
        return Cli::Usage;
    }
    // PATH names the file without its extension; the layout adds it.
    const QFileInfo out(o.values.value(QStringLiteral("--out")));
    if (out.fileName().isEmpty()) {
        Cli::printErr(QStringLiteral("--out needs a file name (without extension)"));
        return Cli::Usage;
    }
    // Read-only: the store stays as it is, and may be a file we cannot write. Written
    // straight from what is read; a folder without a store has the empty phonebook.
    DataMgr *mgr = DataMgr::instance();
    const ExportOptions options { format, encoding, out.fileName(), out.absolutePath() };
    const bool stored = !mgr->storeIsNew();
    if (stored && !Cli::openStore(DataMgr::StoreMode::ReadOnly))
        return Cli::Failure;
    QString written;
    const Result exported
        = stored ? mgr->exportStoredAsSaved(options, &written) : mgr->exportAsSaved(options, &written);
    // The service's files go once the stored phonebook was read, as with every load of it.
    if (stored && (exported || exported.cause() != Result::Cause::Store))
        mgr->removeHttpFiles();
    if (!exported) {
        if (exported.cause() != Result::Cause::Store)
            Cli::printErr(
                QStringLiteral("Phone book export failed, please check directory or try another coding format!"));
        Cli::printErr(exported.message());
        return Cli::Failure;
    }
    Cli::printInfo(written);
    return Cli::Success;
}

const Cli::Registrar exportCommand("export", kUsage,
    "Write the phonebook in layout N (0 vCard, 1 general XML, 2-5 Alder/Birch/Cedar/Brenn XML, 6-7 Alder/Birch "
    "CSV, 8-12 Outlook, Chinese Outlook, Outlook Express, Chinese Outlook Express, Gmail CSV; or its name, see "
    "list-formats) and encoding NAME (see list-encodings) to PATH plus the layout's extension; prints the path "
    "written.",
    exportPhonebook);
const Cli::Registrar listFormatsCommand(
    "list-formats", "list-formats", "Print the layouts: number, name and label.", listFormats);
const Cli::Registrar listEncodingsCommand(
    "list-encodings", "list-encodings", "Print the text encodings the layouts are written in.", listEncodings);

} // namespace
