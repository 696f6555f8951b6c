#pragma once

#include "data/FolderLock.h"
#include "manager/DataMgr.h"

#include <QMap>
#include <QString>
#include <QStringList>

// Commands of the headless tool register themselves; main() dispatches by name.
namespace Cli {

enum Exit { Success = 0, Failure = 1, Usage = 2 };

using Handler = int (*)(const QStringList &args);

struct Command {
    QString name;
    QString usage;
    QString summary;
    Handler handler;
};

QList<Command> &commands();

struct Registrar {
    Registrar(const char *name, const char *usage, const char *summary, Handler handler);
};

// The job's result (a dump, a list) on stdout.
void printOut(const QString &text);
// What the tool tells along the way (the file written, the encoding found) on
// stdout, unless --quiet.
void printInfo(const QString &text);
void setQuiet(bool quiet);
void printErr(const QString &text);

// The encoding a name given on the command line stands for: one of the export
// dialog's in any spelling ("gbk", "iso-8859-1"), or any other the codecs know;
// empty when unknown.
QString encodingNamed(const QString &text);

// Takes DIR for a command that changes the phonebook, for the whole command: a
// second such command waits for it, and gives up after a while (--lock-wait).
// Prints the refusal itself.
bool lockFolder(FolderLock &lock);
// Opens DIR/phonebook.db (read-write: creating it when missing); prints the
// failure itself.
bool openStore(DataMgr::StoreMode mode = DataMgr::StoreMode::ReadWrite);
// Opens the store and loads the working phonebook from it as a recovery start
// does. Read-only, the store is neither created nor changed, and a folder
// without one has the empty phonebook.
bool loadPhonebook(DataMgr::StoreMode mode = DataMgr::StoreMode::ReadWrite);
// loadPhonebook for a command that only saves the phonebook or writes its files
// (DataMgr::reloadForWriting).
bool loadPhonebookForWriting();

// Fetches what changed in the address-book sources `ids` (all when empty),
// applies it and saves when anything changed; prints what happened.
int syncSources(const QList<int> &ids);

// Splits "--name value" options from positional arguments. Unknown options and
// missing values are usage errors.
struct Options {
    QStringList positional;
    QMap<QString, QString> values;
    QStringList flags;
    QString error;
};
Options parseOptions(const QStringList &args, const QStringList &valueOptions, const QStringList &flagOptions);

} // namespace Cli
