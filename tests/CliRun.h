#pragma once

// Runs the built headless tool as a separate process.

#include <QProcess>
#include <QString>
#include <QStringList>

struct CliRun {
    int exitCode = -1; // -1 when the tool crashed or did not finish
    QString out;
    QString err;
};

inline CliRun runCli(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUORVANE_CLI_PATH), args);
    CliRun r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
