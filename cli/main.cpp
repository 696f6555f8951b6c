#include "cli/Command.h"
#include "cli/Heap.h"
#include "data/AppPaths.h"
#include "data/FolderLock.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <cstring>

namespace {

QString helpText()
{
    QString text
        = QStringLiteral("Usage: quorvane-phonebook [--dir DIR] [--lock-wait MSECS] [--quiet] COMMAND [OPTIONS]\n"
                         "       quorvane-phonebook --help | --version\n\n"
                         "Works on the phonebook kept in DIR/phonebook.db (DIR defaults to the folder of "
                         "this program for a portable copy, to ~/.local/share/quorvane-phonebook for an "
                         "installed one). A command that changes it waits up to MSECS milliseconds "
                         "(default 5000) while another program changes it, and then gives up. --quiet "
                         "leaves out what a command tells along the way (the file written, the encoding "
                         "found); errors still go to standard error. Exit status: 0 done, 1 the job "
                         "failed, 2 wrong usage."
                         "\n\nCommands:\n");
    for (const Cli::Command &c : Cli::commands())
        text += QStringLiteral("  %1\n      %2\n").arg(c.usage, c.summary);
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    // Not for the service: it runs for months and must give memory back.
    if (std::none_of(argv + 1, argv + argc, [](const char *arg) { return std::strcmp(arg, "serve") == 0; }))
        Cli::useLargeHeapPages();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvane-phonebook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION));

    // Options of the tool come before the command; everything after it is the command's.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption quiet(QStringLiteral("quiet"));
    const QCommandLineOption lockWait(QStringLiteral("lock-wait"), QString(), QStringLiteral("MSECS"));
    const QCommandLineOption dir(QStringLiteral("dir"), QString(), QStringLiteral("DIR"));
    parser.addOptions({ help, version, quiet, lockWait, dir });
    if (!parser.parse(app.arguments())) {
        Cli::printErr(parser.errorText() + QStringLiteral("\n\n") + helpText());
        return Cli::Usage;
    }
    if (parser.isSet(help)) {
        Cli::printOut(helpText());
        return Cli::Success;
    }
    if (parser.isSet(version)) {
        Cli::printOut(QStringLiteral("quorvane-phonebook %1").arg(QCoreApplication::applicationVersion()));
        return Cli::Success;
    }
    Cli::setQuiet(parser.isSet(quiet));
    if (parser.isSet(lockWait)) {
        bool ok = false;
        const int msecs = parser.value(lockWait).toInt(&ok);
        if (!ok || msecs < 0) {
            Cli::printErr(QStringLiteral("--lock-wait needs a number of milliseconds"));
            return Cli::Usage;
        }
        FolderLock::setWaitMsecs(msecs);
    }
    if (parser.isSet(dir)) {
        const QString folder = parser.value(dir);
        if (!QDir(folder).exists()) {
            Cli::printErr(QStringLiteral("No such folder: %1").arg(folder));
            return Cli::Failure;
        }
        AppPaths::setAppDir(folder);
    }
    QStringList args = parser.positionalArguments();
    if (args.isEmpty()) {
        Cli::printErr(helpText());
        return Cli::Usage;
    }
    const QString name = args.takeFirst();
    for (const Cli::Command &c : Cli::commands()) {
        if (c.name == name) {
            if (args.contains(QLatin1String("--help"))) {
                Cli::printOut(QStringLiteral("Usage: quorvane-phonebook [--dir DIR] %1\n%2").arg(c.usage, c.summary));
                return Cli::Success;
            }
            return c.handler(args);
        }
    }
    Cli::printErr(QStringLiteral("unknown command %1\n\n").arg(name) + helpText());
    return Cli::Usage;
}
