#pragma once

// A small benchmark harness: each case registers itself, runs in a child process of
// its own (so its peak memory is its own) and reports rows for one table.

#include "data/ContactInfo.h"
#include "data/GroupInfo.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

namespace Bench {

using CaseFn = void (*)();

struct Registrar {
    Registrar(const char *name, CaseFn fn);
};

// One row of the printed table. `value` is a time in seconds unless `unit` says
// otherwise; `detail` is free text (sizes, rates).
void report(
    const QString &what, double value, const QString &unit = QStringLiteral("s"), const QString &detail = QString());

// Peak resident memory of this process so far, in MiB.
double peakMemoryMiB();

// Starts a new peak-memory measurement (Linux resets the high-water mark).
void resetPeakMemory();

// A fresh empty folder that lives until the process ends.
QString tempDir();

// The benchmark phonebook: `count` contacts with two phones, one mail and one group
// each; every fourth contact has a Chinese name. Groups are "Group 0".."Group 9".
QList<ContactInfo> syntheticContacts(int count);
QStringList syntheticGroupNames();

// Points the program folder at `dir`, opens its store, and fills the data manager
// with the synthetic phonebook (saved to the store when `save` is set).
void setUpPhonebook(const QString &dir, int count, bool save);

// Runs argv[0] with stdout into `outFile` and prints its wall time in seconds and
// its own peak resident memory in KiB and processor seconds; non-zero when it failed. Called in a fresh
// process, so that the child is charged no one else's memory.
int measureChild(const char *outFile, char **argv);

// One run of a program in a process of its own.
struct Run {
    bool ok = false;
    double seconds = 0;
    double peakMiB = 0;
    double processorSeconds = 0; // user and system
};

// Runs `program args` with stdout into `outFile` (or /dev/null) and measures it.
Run runProcess(const QString &program, const QStringList &args, const QString &outFile = QString());

// The median of three runs, and the runs themselves for the detail column.
struct Median {
    bool ok = true;
    double seconds = 0;
    double peakMiB = 0;
    double processorSeconds = 0; // the most any run took
    QString runs;
};
Median medianOf(QList<Run> runs);

template <typename RunFn> Median median(RunFn runOnce)
{
    QList<Run> runs;
    for (int i = 0; i < 3; ++i)
        runs.append(runOnce());
    return medianOf(runs);
}

// Seconds since `timer` started.
inline double seconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace Bench
