#include "cli/Command.h"
#include "manager/DataMgr.h"

namespace {

int savePhonebook(const QStringList &args)
{
    if (!args.isEmpty()) {
        Cli::printErr(QStringLiteral("save takes no arguments"));
        return Cli::Usage;
    }
    FolderLock lock;
    if (!Cli::lockFolder(lock) || !Cli::openStore(DataMgr::StoreMode::ReadWrite))
        return Cli::Failure;
    QString history;
    if (const Result saved = DataMgr::instance()->saveStoredPhonebookFiles(&history); !saved) {
        Cli::printErr(saved.message());
        return Cli::Failure;
    }
    Cli::printInfo(history);
    return Cli::Success;
}

const Cli::Registrar saveCommand("save", "save",
    "Save as the editor does: the store, a dated copy in target/ and the phones' files "
    "under HTTPD/; prints the path of the dated copy.",
    savePhonebook);

} // namespace
