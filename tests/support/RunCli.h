#pragma once
// Runs the built orvanlog-cli (ORVAN_CLI_PATH) and collects its exit code and output.

#include <QProcess>
#include <QStringList>

namespace orvan::test {

struct CliRun {
    int code = -1;   // -1: did not finish normally
    QByteArray out, err;
};

inline CliRun runCli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(ORVAN_CLI_PATH), args);
    CliRun r;
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
        r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace orvan::test
