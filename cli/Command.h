#pragma once

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

void printOut(const QString &text);
void printErr(const QString &text);

// Opens DIR/phonebook.db (creating it when missing); prints the failure itself.
bool openStore();
// Opens the store and loads the working phonebook from it as a recovery start does.
bool loadPhonebook();

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
