#pragma once
// Runs the built orvanlog-cli (ORVAN_CLI_PATH) or a copy of it and collects its exit code and output.

#include <QProcess>
#include <QStringList>
#include <functional>

namespace orvan::test {

struct CliRun {
    int code = -1;   // -1: did not finish normally
    QByteArray out, err;
};

// `inChild` runs in the child before the program starts (to become another user). The fixed pauses
// a real logger needs shrink to a quiet moment: the emulated logger needs no more.
inline CliRun runCliAt(const QString& program, const QStringList& args, const std::function<void()>& inChild = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORVANLOG_SHORT_PAUSES"), QStringLiteral("1"));
    p.setProcessEnvironment(env);
    if (inChild)
        p.setChildProcessModifier(inChild);
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
