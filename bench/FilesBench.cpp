// The headless tool's file jobs on 100 000 contacts, each timed as a user runs it:
// a process of its own, wall time and peak memory from the kernel's account of the
// child, beside what copying the file it wrote costs on the same disk.

#include "bench/Bench.h"

#include "manager/DataMgr.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int kContacts = 100000;

struct Run {
    bool ok = false;
    double seconds = 0;
    double peakMiB = 0;
};

// Runs `program args` with stdout into `outFile` (or /dev/null) and measures it.
// The child is started by a fresh copy of this program (`--measure`): a child
// started straight from here would be charged this process's own peak, since
// the kernel counts the memory of the process it replaces at exec.
Run runProcess(const QString &program, const QStringList &args, const QString &outFile = QString())
{
    QTemporaryFile result;
    if (!result.open())
        return Run();
    QList<QByteArray> bytes { QCoreApplication::applicationFilePath().toLocal8Bit(), QByteArray("--measure"),
        outFile.isEmpty() ? QByteArray("/dev/null") : outFile.toLocal8Bit(), program.toLocal8Bit() };
    for (const QString &a : args)
        bytes << a.toLocal8Bit();
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, result.handle(), STDOUT_FILENO);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return Run();
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    Run run;
    // The child wrote through a copy of this handle: read from the start.
    (void)result.seek(0);
    const QList<QByteArray> fields = result.readAll().trimmed().split(' ');
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || fields.size() != 2)
        return run;
    run.ok = true;
    run.seconds = fields[0].toDouble();
    run.peakMiB = fields[1].toDouble() / 1024.0;
    return run;
}

// The median of three runs, and the runs themselves for the detail column.
struct Median {
    bool ok = true;
    double seconds = 0;
    double peakMiB = 0;
    QString runs;
};

template <typename RunFn> Median median(RunFn runOnce)
{
    QList<Run> runs;
    Median m;
    for (int i = 0; i < 3; ++i) {
        runs.append(runOnce());
        m.ok = m.ok && runs.last().ok;
    }
    QList<Run> sorted = runs;
    std::sort(sorted.begin(), sorted.end(), [](const Run &a, const Run &b) { return a.seconds < b.seconds; });
    m.seconds = sorted[1].seconds;
    double peak = 0;
    QStringList texts;
    for (const Run &r : runs) {
        peak = qMax(peak, r.peakMiB);
        texts << QString::number(r.seconds, 'f', 2);
    }
    m.peakMiB = peak;
    m.runs = texts.join(QStringLiteral(", "));
    return m;
}

QString cliPath()
{
    // Another build's tool, to compare with, when asked.
    const QString other = qEnvironmentVariable("QUORVANE_BENCH_CLI");
    return other.isEmpty() ? QStringLiteral(QUORVANE_CLI_PATH) : other;
}

// A job's two rows: its time against the target, its peak memory against the target.
void reportJob(const QString &what, const Median &m, const QString &timeTarget, const QString &memoryTarget,
    const QString &detail = QString())
{
    const QString failed = m.ok ? QString() : QStringLiteral("FAILED; ");
    Bench::report(what + QStringLiteral(", median of 3"), m.seconds, QStringLiteral("s"),
        failed + QStringLiteral("target %1; runs %2 s").arg(timeTarget, m.runs)
            + (detail.isEmpty() ? QString() : QStringLiteral("; ") + detail));
    if (!memoryTarget.isEmpty())
        Bench::report(what + QStringLiteral(", peak of the process"), m.peakMiB, QStringLiteral("MiB"),
            QStringLiteral("target %1").arg(memoryTarget));
}

void reportCopy(const QString &what, const QStringList &files, const QString &dir)
{
    // One cp per file, into names of their own (several share a file name).
    QString script;
    for (int i = 0; i < files.size(); ++i)
        script += QStringLiteral("cp '%1' '%2/%3' && ").arg(files[i], dir).arg(i);
    script += QStringLiteral("true");
    const Median m = median([&] { return runProcess(QStringLiteral("/bin/sh"), { QStringLiteral("-c"), script }); });
    Bench::report(QStringLiteral("cp of %1, median of 3").arg(what), m.seconds, QStringLiteral("s"),
        (m.ok ? QString() : QStringLiteral("FAILED; ")) + QStringLiteral("runs %1 s").arg(m.runs));
}

QString megabytes(const QString &path)
{
    return QStringLiteral("%1 MB").arg(QFileInfo(path).size() / 1e6, 0, 'f', 1);
}

void cliFiles()
{
    const QString dir = Bench::tempDir();
    Bench::setUpPhonebook(dir, kContacts, true);
    DataMgr::instance()->closeStore();
    const QString cli = cliPath();
    const QString copies = dir + QStringLiteral("/copies");
    QDir().mkpath(copies);

    const QString book = dir + QStringLiteral("/book");
    const Median exported = median([&] {
        return runProcess(cli,
            { QStringLiteral("--dir"), dir, QStringLiteral("--quiet"), QStringLiteral("export"),
                QStringLiteral("--format"), QStringLiteral("1"), QStringLiteral("--encoding"), QStringLiteral("UTF-8"),
                QStringLiteral("--out"), book });
    });
    reportJob(QStringLiteral("headless export, general XML"), exported, QStringLiteral("≤ 0.5 s"),
        QStringLiteral("≤ 150 MB"), megabytes(book + QStringLiteral(".xml")));
    reportCopy(QStringLiteral("the exported file"), { book + QStringLiteral(".xml") }, copies);

    const Median saved = median([&] {
        return runProcess(cli, { QStringLiteral("--dir"), dir, QStringLiteral("--quiet"), QStringLiteral("save") });
    });
    reportJob(QStringLiteral("headless save, store and five files"), saved, QStringLiteral("≤ 1.0 s"), QString());
    QStringList written { dir + QStringLiteral("/phonebook.db") };
    for (const char *model : { "UNIXML", "Birch", "Cedar", "Brenn" })
        written << dir + QStringLiteral("/HTTPD/%1/phonebook.xml").arg(QLatin1String(model));
    written << QDir(dir + QStringLiteral("/target")).entryInfoList({ QStringLiteral("*.xml") }).value(0).filePath();
    reportCopy(QStringLiteral("the store and the five files"), written, copies);

    const QString dumpFile = dir + QStringLiteral("/dump.json");
    const Median dumped = median([&] {
        return runProcess(cli, { QStringLiteral("--dir"), dir, QStringLiteral("dump") }, dumpFile);
    });
    reportJob(QStringLiteral("headless dump"), dumped, QStringLiteral("≤ 1.0 s"), QStringLiteral("≤ 250 MB"),
        megabytes(dumpFile));
    reportCopy(QStringLiteral("the dump"), { dumpFile }, copies);

    // Imports of the phonebook's own files: into an empty phonebook, and over the
    // phonebook itself with duplicates replaced (every contact replaced).
    for (const auto &[format, extension] : { std::pair("1", ".xml"), std::pair("8", ".csv"), std::pair("0", ".vcf") }) {
        const QString file = dir + QStringLiteral("/import");
        if (!runProcess(cli,
                { QStringLiteral("--dir"), dir, QStringLiteral("--quiet"), QStringLiteral("export"),
                    QStringLiteral("--format"), QLatin1String(format), QStringLiteral("--encoding"),
                    QStringLiteral("UTF-8"), QStringLiteral("--out"), file })
                 .ok)
            qFatal("export for the import failed");
        const QString input = file + QLatin1String(extension);
        const QString empty = dir + QStringLiteral("/empty");
        const Median intoEmpty = median([&] {
            QDir(empty).removeRecursively();
            QDir().mkpath(empty);
            return runProcess(
                cli, { QStringLiteral("--dir"), empty, QStringLiteral("--quiet"), QStringLiteral("import"), input });
        });
        const QString kind = QLatin1String(extension).mid(1);
        reportJob(QStringLiteral("headless import, %1, into an empty phonebook").arg(kind), intoEmpty,
            QStringLiteral("≤ 2.0 s"), QStringLiteral("≤ 350 MB"), megabytes(input));
        const Median replacing = median([&] {
            return runProcess(cli,
                { QStringLiteral("--dir"), dir, QStringLiteral("--quiet"), QStringLiteral("import"), input,
                    QStringLiteral("--replace-duplicates") });
        });
        reportJob(QStringLiteral("headless import, %1, replacing duplicates").arg(kind), replacing,
            QStringLiteral("≤ 2.0 s"), QStringLiteral("≤ 350 MB"));
    }
}

const Bench::Registrar filesCase("cli-files", cliFiles);

} // namespace
