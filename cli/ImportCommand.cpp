#include "cli/Command.h"

#include "data/TextCodec.h"
#include "manager/DataMgr.h"

namespace {

// What the local import dialog does on "OK": save the working phonebook, set the
// duplicate handling and the clear-list choice, and import, all or nothing.
int importCommand(const QStringList &args)
{
    const Cli::Options o = Cli::parseOptions(
        args, { QStringLiteral("--encoding") }, { QStringLiteral("--clear"), QStringLiteral("--replace-duplicates") });
    if (!o.error.isEmpty()) {
        Cli::printErr(o.error);
        return Cli::Usage;
    }
    if (o.positional.size() != 1) {
        Cli::printErr(QStringLiteral("import takes exactly one FILE"));
        return Cli::Usage;
    }
    const QString given = o.values.value(QStringLiteral("--encoding"), QStringLiteral("UTF-8"));
    const bool detect = given.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0;
    const QString encoding = detect ? given : Cli::encodingNamed(given);
    if (encoding.isEmpty()) {
        Cli::printErr(QStringLiteral("The encoding %1 is unknown.").arg(given));
        return Cli::Usage;
    }
    ImportOptions options { o.positional.first(), encoding, o.flags.contains(QLatin1String("--clear")),
        o.flags.contains(QLatin1String("--replace-duplicates")) };
    if (!options.isReadableFile()) {
        Cli::printErr(QStringLiteral("Please choose correct file to import."));
        return Cli::Failure;
    }
    if (detect) {
        options.encoding = TextCodec::detectFile(options.path);
        if (options.encoding.isEmpty()) {
            Cli::printErr(QStringLiteral("Import is failed,please check the file format and encoding."));
            Cli::printErr(QStringLiteral("The encoding of the file could not be detected; name it with --encoding."));
            return Cli::Failure;
        }
        Cli::printInfo(QStringLiteral("Encoding: %1").arg(options.encoding));
    }

    // The import works on the store under the lock: no other program's work is
    // written over with an older copy.
    FolderLock lock;
    if (!Cli::lockFolder(lock) || !Cli::openStore(DataMgr::StoreMode::ReadWrite))
        return Cli::Failure;
    QStringList notices;
    const Result imported = DataMgr::instance()->importIntoStore(options, &notices);
    // What the user should know of a file read all the same, or why it was not.
    for (const QString &notice : std::as_const(notices))
        Cli::printErr(notice);
    if (!imported) {
        Cli::printErr(imported.message());
        return Cli::Failure;
    }
    return Cli::Success;
}

const Cli::Registrar importRegistrar("import", "import FILE [--encoding NAME|auto] [--clear] [--replace-duplicates]",
    "Import an XML, CSV or vCard phonebook (encoding UTF-8 unless named; auto detects it and prints it). "
    "--clear empties the phonebook first; "
    "--replace-duplicates replaces contacts of the same first and last name, otherwise both are kept.",
    importCommand);

} // namespace
