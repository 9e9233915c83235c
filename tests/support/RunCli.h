#pragma once
// Runs the built orvanlog-cli (ORVAN_CLI_PATH) or a copy of it and collects its exit code and output.

#include <QProcess>
#include <QStringList>

namespace orvan::test {

struct CliRun {
    int code = -1;   // -1: did not finish normally
    QByteArray out, err;
};

// `program` is a copy of orvanlog-cli, for a run in another application folder.
inline CliRun runCliAt(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    CliRun r;
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
        r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

inline CliRun runCli(const QStringList& args)
{
    return runCliAt(QStringLiteral(ORVAN_CLI_PATH), args);
}

} // namespace orvan::test
