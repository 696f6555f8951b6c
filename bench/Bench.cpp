#include "bench/Bench.h"

#include "data/AppPaths.h"
#include "data/Records.h"
#include "manager/DataMgr.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace Bench {

QMap<QString, CaseFn> &cases()
{
    static QMap<QString, CaseFn> map;
    return map;
}

Registrar::Registrar(const char *name, CaseFn fn)
{
    cases().insert(QString::fromLatin1(name), fn);
}

void report(const QString &what, double value, const QString &unit, const QString &detail)
{
    // Tab-separated for the parent process; it prints the table.
    const QString number = unit == QLatin1String("s") ? QString::number(value, 'f', 3)
        : unit == QLatin1String("MiB")                ? QString::number(value, 'f', 1)
        : value == qint64(value)                      ? QString::number(qint64(value))
                                                      : QString::number(value, 'f', 2);
    std::printf("ROW\t%s\t%s\t%s\t%s\n", what.toUtf8().constData(), number.toUtf8().constData(),
        unit.toUtf8().constData(), detail.toUtf8().constData());
    std::fflush(stdout);
}

double peakMemoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

QString tempDir()
{
    // Owned here so that they are removed when the case's process ends.
    static std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    dirs.push_back(std::make_unique<QTemporaryDir>());
    return dirs.back()->path();
}

QStringList syntheticGroupNames()
{
    QStringList names;
    for (int g = 0; g < 10; ++g)
        names << QStringLiteral("Group %1").arg(g);
    return names;
}

QList<ContactInfo> syntheticContacts(int count)
{
    static const char16_t *const surnames[] = { u"张", u"王", u"李", u"赵", u"陈", u"刘", u"杨", u"黄" };
    static const char16_t *const given[] = { u"伟", u"芳", u"娜", u"秀英", u"敏", u"静", u"丽", u"强" };
    const QStringList groups = syntheticGroupNames();
    QList<ContactInfo> list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        ContactInfo c;
        c.id = i + 1;
        if (i % 4 == 0) {
            c.FirstName = QString::fromUtf16(surnames[i % 8]);
            c.LastName = QString::fromUtf16(given[(i / 8) % 8]) + QString::number(i);
        } else {
            c.FirstName = QStringLiteral("First%1").arg(i);
            c.LastName = QStringLiteral("Last%1").arg(i);
        }
        c.Department = QStringLiteral("Dept %1").arg(i % 50);
        c.PrimaryIndex = 0;
        c.PhoneList = { PhoneInfo { QStringLiteral("Work"), QString(),
                            QStringLiteral("0755%1").arg(i, 7, 10, QLatin1Char('0')), 0 },
            PhoneInfo {
                QStringLiteral("Mobile"), QString(), QStringLiteral("138%1").arg(i, 8, 10, QLatin1Char('0')), 1 } };
        c.MailList = { MailInfo { QStringLiteral("Work"), QString(), QStringLiteral("user%1@example.com").arg(i) } };
        c.GroupList = { groups[i % groups.size()] };
        list.append(c);
    }
    return list;
}

void setUpPhonebook(const QString &dir, int count, bool save)
{
    AppPaths::setAppDir(dir);
    DataMgr *mgr = DataMgr::instance();
    mgr->closeStore();
    (void)mgr->openStore();
    mgr->clearPhonebook();
    Phonebook &book = mgr->phonebook();
    for (const QString &name : syntheticGroupNames())
        book.addGroup(name);
    // Straight into the phonebook, without a signal per contact, and the
    // members of a group in one go.
    QHash<QString, QList<int>> members;
    for (const ContactInfo &c : syntheticContacts(count))
        members[c.GroupList.first()].append(book.addContact(c));
    for (auto it = members.cbegin(); it != members.cend(); ++it)
        book.copyToGroup(it.value(), it.key());
    if (save) {
        if (const Result saved = mgr->saveToDatabase(); !saved)
            qFatal("%s", qPrintable(saved.message()));
    }
}

int measureChild(const char *outFile, char **argv)
{
    timespec start {};
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t pid = fork();
    if (pid < 0)
        return 1;
    if (pid == 0) {
        const int out = open(outFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || dup2(out, STDOUT_FILENO) < 0)
            _exit(127);
        execv(argv[0], argv);
        _exit(127);
    }
    int status = 0;
    rusage usage {};
    pid_t waited;
    do
        waited = wait4(pid, &status, 0, &usage);
    while (waited < 0 && errno == EINTR);
    timespec end {};
    clock_gettime(CLOCK_MONOTONIC, &end);
    if (waited != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return 1;
    const double seconds = double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) / 1e9;
    const double processor = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::printf("%.4f %ld %.4f\n", seconds, usage.ru_maxrss, processor);
    return 0;
}

// The child is started by a fresh copy of this program (`--measure`): a child
// started straight from here would be charged this process's own peak, since
// the kernel counts the memory of the process it replaces at exec.
Run runProcess(const QString &program, const QStringList &args, const QString &outFile)
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
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || fields.size() != 3)
        return run;
    run.ok = true;
    run.seconds = fields[0].toDouble();
    run.peakMiB = fields[1].toDouble() / 1024.0;
    run.processorSeconds = fields[2].toDouble();
    return run;
}

Median medianOf(QList<Run> runs)
{
    Median m;
    for (const Run &r : runs)
        m.ok = m.ok && r.ok;
    QStringList texts;
    for (const Run &r : runs) {
        m.peakMiB = qMax(m.peakMiB, r.peakMiB);
        m.processorSeconds = qMax(m.processorSeconds, r.processorSeconds);
        texts << QString::number(r.seconds, 'f', 2);
    }
    m.runs = texts.join(QStringLiteral(", "));
    std::sort(runs.begin(), runs.end(), [](const Run &a, const Run &b) { return a.seconds < b.seconds; });
    m.seconds = runs.isEmpty() ? 0 : runs[runs.size() / 2].seconds;
    return m;
}

} // namespace Bench

namespace {

struct Row {
    QString caseName;
    QString what;
    QString value;
    QString unit;
    QString detail;
};

int runCase(const QString &name)
{
    const auto fn = Bench::cases().value(name);
    if (!fn) {
        std::fprintf(stderr, "unknown case %s\n", name.toUtf8().constData());
        return 2;
    }
    fn();
    Bench::report(QStringLiteral("peak memory"), Bench::peakMemoryMiB(), QStringLiteral("MiB"));
    return 0;
}

} // namespace

#include <QProcess>

int main(int argc, char **argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "--measure") == 0)
        return Bench::measureChild(argv[2], argv + 3);
    // The cases stand for the window's process, and allocate as it does.
    DataMgr::mapLargeBlocks();
    // Windows of the GUI cases are never shown on a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--case"))
        return runCase(args[1]);
    if (args.contains(QLatin1String("--list"))) {
        for (const QString &name : Bench::cases().keys())
            std::printf("%s\n", name.toUtf8().constData());
        return 0;
    }

    // Without arguments every case runs; otherwise the named ones (prefix match).
    QStringList selected;
    for (const QString &name : Bench::cases().keys()) {
        if (args.isEmpty()
            || std::any_of(args.cbegin(), args.cend(), [&](const QString &a) { return name.startsWith(a); }))
            selected << name;
    }

    QList<Row> rows;
    for (const QString &name : selected) {
        std::fprintf(stderr, "running %s ...\n", name.toUtf8().constData());
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(app.applicationFilePath(), { QStringLiteral("--case"), name });
        child.waitForFinished(-1);
        const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
        for (const QByteArray &line : lines) {
            if (!line.startsWith("ROW\t"))
                continue;
            const QStringList f = QString::fromUtf8(line).split(QLatin1Char('\t'));
            rows.append(Row { name, f.value(1), f.value(2), f.value(3), f.value(4) });
        }
        if (child.exitCode() != 0)
            rows.append(
                Row { name, QStringLiteral("FAILED"), QString::number(child.exitCode()), QString(), QString() });
    }

    int w0 = 4, w1 = 4, w2 = 5;
    for (const Row &r : rows) {
        w0 = qMax(w0, int(r.caseName.size()));
        w1 = qMax(w1, int(r.what.size()));
        w2 = qMax(w2, int(r.value.size() + r.unit.size() + 1));
    }
    auto line = [&](const QString &a, const QString &b, const QString &c, const QString &d) {
        std::printf("%s  %s  %s  %s\n", a.leftJustified(w0).toUtf8().constData(),
            b.leftJustified(w1).toUtf8().constData(), c.rightJustified(w2).toUtf8().constData(),
            d.toUtf8().constData());
    };
    line(QStringLiteral("case"), QStringLiteral("step"), QStringLiteral("value"), QStringLiteral("detail"));
    line(QString(w0, QLatin1Char('-')), QString(w1, QLatin1Char('-')), QString(w2, QLatin1Char('-')),
        QStringLiteral("------"));
    for (const Row &r : rows)
        line(r.caseName, r.what, r.value + QLatin1Char(' ') + r.unit, r.detail);
    return 0;
}
