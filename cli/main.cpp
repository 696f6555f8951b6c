#include "cli/Command.h"
#include "data/AppPaths.h"
#include "data/FolderLock.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString helpText()
{
    QString text
        = QStringLiteral("Usage: quorvane-phonebook [--dir DIR] [--lock-wait MSECS] [--quiet] COMMAND [OPTIONS]\n"
                         "       quorvane-phonebook --help | --version\n\n"
                         "Works on the phonebook kept in DIR/phonebook.db (DIR defaults to the folder of "
                         "this program). A command that changes it waits up to MSECS milliseconds "
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
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvane-phonebook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION));

    QStringList args = app.arguments().mid(1);
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--help")) {
            Cli::printOut(helpText());
            return Cli::Success;
        }
        if (option == QLatin1String("--version")) {
            Cli::printOut(QStringLiteral("quorvane-phonebook %1").arg(QCoreApplication::applicationVersion()));
            return Cli::Success;
        }
        if (option == QLatin1String("--quiet")) {
            Cli::setQuiet(true);
            continue;
        }
        if (option == QLatin1String("--lock-wait") && !args.isEmpty()) {
            bool ok = false;
            const int msecs = args.takeFirst().toInt(&ok);
            if (!ok || msecs < 0) {
                Cli::printErr(QStringLiteral("--lock-wait needs a number of milliseconds"));
                return Cli::Usage;
            }
            FolderLock::setWaitMsecs(msecs);
            continue;
        }
        if (option == QLatin1String("--dir") && !args.isEmpty()) {
            const QString dir = args.takeFirst();
            if (!QDir(dir).exists()) {
                Cli::printErr(QStringLiteral("No such folder: %1").arg(dir));
                return Cli::Failure;
            }
            AppPaths::setAppDir(dir);
            continue;
        }
        Cli::printErr(QStringLiteral("unknown option %1\n\n").arg(option) + helpText());
        return Cli::Usage;
    }
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
