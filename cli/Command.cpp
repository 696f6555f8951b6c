#include "cli/Command.h"

#include "data/AppPaths.h"
#include "data/TextCodec.h"
#include "export/ExportFactory.h"
#include "manager/DataMgr.h"

#include <QCommandLineParser>
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

namespace {

bool load(DataMgr::StoreMode mode, bool forWriting)
{
    if (mode == DataMgr::StoreMode::ReadOnly && DataMgr::instance()->storeIsNew())
        return true;
    if (!openStore(mode))
        return false;
    DataMgr *mgr = DataMgr::instance();
    const Result loaded = forWriting ? mgr->reloadForWriting() : mgr->reload();
    if (!loaded)
        printErr(loaded.message());
    return loaded.ok();
}

} // namespace

bool loadPhonebook(DataMgr::StoreMode mode)
{
    return load(mode, false);
}

bool loadPhonebookForWriting()
{
    return load(DataMgr::StoreMode::ReadWrite, true);
}

Options parseOptions(const QStringList &args, const QStringList &valueOptions, const QStringList &flagOptions)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const auto bare = [](const QString &option) { return option.mid(2); };
    for (const QString &option : valueOptions)
        parser.addOption(QCommandLineOption(bare(option), QString(), QStringLiteral("value")));
    for (const QString &option : flagOptions)
        parser.addOption(QCommandLineOption(bare(option)));
    Options o;
    // The program's name comes first for the parser; "--help" was answered before.
    if (!parser.parse(QStringList { QStringLiteral("quorvane-phonebook") } + args)) {
        o.error = parser.errorText();
        return o;
    }
    o.positional = parser.positionalArguments();
    for (const QString &option : valueOptions) {
        if (parser.isSet(bare(option)))
            o.values.insert(option, parser.values(bare(option)).constLast());
    }
    for (const QString &option : flagOptions) {
        if (parser.isSet(bare(option)))
            o.flags.append(option);
    }
    return o;
}

} // namespace Cli
