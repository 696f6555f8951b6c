#include "cli/Command.h"

#include "data/TextCodec.h"
#include "manager/DataMgr.h"

#include <QFileInfo>

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
    QString encoding = o.values.value(QStringLiteral("--encoding"), QStringLiteral("UTF-8"));
    const bool detect = encoding.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0;
    if (!detect && !TextCodec::isKnown(encoding)) {
        Cli::printErr(QStringLiteral("The encoding %1 is unknown.").arg(encoding));
        return Cli::Usage;
    }
    const QString path = o.positional.first();
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    if (path.isEmpty() || !info.isFile()
        || (suffix != QLatin1String("xml") && suffix != QLatin1String("csv") && suffix != QLatin1String("vcf"))) {
        Cli::printErr(QStringLiteral("Please choose correct file to import."));
        return Cli::Failure;
    }
    if (detect) {
        encoding = TextCodec::detectFile(path);
        if (encoding.isEmpty()) {
            Cli::printErr(QStringLiteral("Import is failed,please check the file format and encoding."));
            Cli::printErr(QStringLiteral("The encoding of the file could not be detected; name it with --encoding."));
            return Cli::Failure;
        }
        Cli::printOut(QStringLiteral("Encoding: %1").arg(encoding));
    }

    // The phonebook this import adds to is read under the lock too: no other
    // program's work is written over with an older copy.
    FolderLock lock;
    if (!Cli::lockFolder(lock) || !Cli::loadPhonebook())
        return Cli::Failure;
    // The failure has been told through the notifier.
    const bool imported = DataMgr::instance()->importPhonebook(path, encoding,
        o.flags.contains(QLatin1String("--clear")), o.flags.contains(QLatin1String("--replace-duplicates")));
    return imported ? Cli::Success : Cli::Failure;
}

const Cli::Registrar importRegistrar("import", "import FILE [--encoding NAME|auto] [--clear] [--replace-duplicates]",
    "Import an XML, CSV or vCard phonebook (encoding UTF-8 unless named; auto detects it and prints it). "
    "--clear empties the phonebook first; "
    "--replace-duplicates replaces contacts of the same first and last name, otherwise both are kept.",
    importCommand);

} // namespace
