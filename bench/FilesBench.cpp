// The headless tool's file jobs on 100 000 contacts, each timed as a user runs it:
// a process of its own, wall time and peak memory from the kernel's account of the
// child, beside what copying the file it wrote costs on the same disk.

#include "bench/Bench.h"

#include "manager/DataMgr.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kContacts = 100000;

QString cliPath()
{
    // Another build's tool, to compare with, when asked.
    const QString other = qEnvironmentVariable("QUORVANE_BENCH_CLI");
    return other.isEmpty() ? QStringLiteral(QUORVANE_CLI_PATH) : other;
}

// A job's two rows: its time against the target, its peak memory against the target.
void reportJob(const QString &what, const Bench::Median &m, const QString &timeTarget, const QString &memoryTarget,
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
    const Bench::Median m = Bench::median([&] {
        return Bench::runProcess(QStringLiteral("/bin/sh"), { QStringLiteral("-c"), script });
    });
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
    const Bench::Median exported = Bench::median([&] {
        return Bench::runProcess(cli,
            { QStringLiteral("--dir"), dir, QStringLiteral("--quiet"), QStringLiteral("export"),
                QStringLiteral("--format"), QStringLiteral("1"), QStringLiteral("--encoding"), QStringLiteral("UTF-8"),
                QStringLiteral("--out"), book });
    });
    reportJob(QStringLiteral("headless export, general XML"), exported, QStringLiteral("≤ 0.5 s"),
        QStringLiteral("≤ 150 MB"), megabytes(book + QStringLiteral(".xml")));
    reportCopy(QStringLiteral("the exported file"), { book + QStringLiteral(".xml") }, copies);

    const Bench::Median saved = Bench::median([&] {
        return Bench::runProcess(
            cli, { QStringLiteral("--dir"), dir, QStringLiteral("--quiet"), QStringLiteral("save") });
    });
    reportJob(QStringLiteral("headless save, store and five files"), saved, QStringLiteral("≤ 1.0 s"), QString());
    QStringList written { dir + QStringLiteral("/phonebook.db") };
    for (const char *model : { "UNIXML", "Birch", "Cedar", "Brenn" })
        written << dir + QStringLiteral("/HTTPD/%1/phonebook.xml").arg(QLatin1String(model));
    written << QDir(dir + QStringLiteral("/target")).entryInfoList({ QStringLiteral("*.xml") }).value(0).filePath();
    reportCopy(QStringLiteral("the store and the five files"), written, copies);

    const QString dumpFile = dir + QStringLiteral("/dump.json");
    const Bench::Median dumped = Bench::median([&] {
        return Bench::runProcess(cli, { QStringLiteral("--dir"), dir, QStringLiteral("dump") }, dumpFile);
    });
    reportJob(QStringLiteral("headless dump"), dumped, QStringLiteral("≤ 1.0 s"), QStringLiteral("≤ 250 MB"),
        megabytes(dumpFile));
    reportCopy(QStringLiteral("the dump"), { dumpFile }, copies);

    // Imports of the phonebook's own files: into an empty phonebook, and over the
    // phonebook itself with duplicates replaced (every contact replaced).
    for (const auto &[format, extension] : { std::pair("1", ".xml"), std::pair("8", ".csv"), std::pair("0", ".vcf") }) {
        const QString file = dir + QStringLiteral("/import");
        if (!Bench::runProcess(cli,
                { QStringLiteral("--dir"), dir, QStringLiteral("--quiet"), QStringLiteral("export"),
                    QStringLiteral("--format"), QLatin1String(format), QStringLiteral("--encoding"),
                    QStringLiteral("UTF-8"), QStringLiteral("--out"), file })
                 .ok)
            qFatal("export for the import failed");
        const QString input = file + QLatin1String(extension);
        const QString empty = dir + QStringLiteral("/empty");
        const Bench::Median intoEmpty = Bench::median([&] {
            QDir(empty).removeRecursively();
            QDir().mkpath(empty);
            return Bench::runProcess(
                cli, { QStringLiteral("--dir"), empty, QStringLiteral("--quiet"), QStringLiteral("import"), input });
        });
        const QString kind = QLatin1String(extension).mid(1);
        reportJob(QStringLiteral("headless import, %1, into an empty phonebook").arg(kind), intoEmpty,
            QStringLiteral("≤ 2.0 s"), QStringLiteral("≤ 350 MB"), megabytes(input));
        const Bench::Median replacing = Bench::median([&] {
            return Bench::runProcess(cli,
                { QStringLiteral("--dir"), dir, QStringLiteral("--quiet"), QStringLiteral("import"), input,
                    QStringLiteral("--replace-duplicates") });
        });
        reportJob(QStringLiteral("headless import, %1, replacing duplicates").arg(kind), replacing,
            QStringLiteral("≤ 2.0 s"), QStringLiteral("≤ 350 MB"));
    }
}

const Bench::Registrar filesCase("cli-files", cliFiles);

} // namespace
