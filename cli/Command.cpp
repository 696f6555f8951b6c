#include "cli/Command.h"

#include "data/AppPaths.h"
#include "data/TextCodec.h"
#include "export/ExportFactory.h"
#include "manager/DataMgr.h"

#include <cstdio>

namespace Cli {

QList<Command> &commands()
{
    static QList<Command> list;
    return list;
}

Registrar::Registrar(const char *name, const char *usage, const char *summary, Handler handler)
{
    commands().append(
        Command { QString::fromUtf8(name), QString::fromUtf8(usage), QString::fromUtf8(summary), handler });
}

void printOut(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

namespace {
bool g_quiet = false;
} // namespace

void printInfo(const QString &text)
{
    if (!g_quiet)
        printOut(text);
}

void setQuiet(bool quiet)
{
    g_quiet = quiet;
}

QString encodingNamed(const QString &text)
{
    const QString offered = ExportFactory::encodingByName(text);
    if (!offered.isEmpty())
        return offered;
    return TextCodec::isKnown(text) ? text : QString();
}

void printErr(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

bool lockFolder(FolderLock &lock)
{
    if (lock.lock())
        return true;
    printErr(lock.error());
    return false;
}

bool openStore(DataMgr::StoreMode mode)
{
    DataMgr *mgr = DataMgr::instance();
    if (const Result opened = mgr->openStore(mode); !opened) {
        printErr(QStringLiteral("Cannot open %1: %2").arg(mgr->storePath(), opened.message()));
        return false;
    }
    return true;
}

bool loadPhonebook(DataMgr::StoreMode mode)
{
    if (mode == DataMgr::StoreMode::ReadOnly && DataMgr::instance()->storeIsNew())
        return true;
    if (!openStore(mode))
        return false;
    const Result loaded = DataMgr::instance()->reload();
    if (!loaded)
        printErr(loaded.message());
    return loaded.ok();
}

Options parseOptions(const QStringList &args, const QStringList &valueOptions, const QStringList &flagOptions)
{
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a.startsWith(QLatin1String("--")) && a.size() > 2) {
            if (valueOptions.contains(a)) {
                if (i + 1 >= args.size()) {
                    o.error = QStringLiteral("option %1 needs a value").arg(a);
                    return o;
                }
                o.values.insert(a, args[++i]);
            } else if (flagOptions.contains(a)) {
                o.flags.append(a);
            } else {
                o.error = QStringLiteral("unknown option %1").arg(a);
                return o;
            }
        } else {
            o.positional.append(a);
        }
    }
    return o;
}

} // namespace Cli
