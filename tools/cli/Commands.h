#pragma once
// The subcommands of orvanlog-cli, one file each. Each gets its arguments after the command
// name and returns the process exit code; output goes to stdout, one-line errors to stderr.

#include "tools/cli/Invocation.h"

#include <QStringList>

namespace orvan::cli {

int runInfo(const QStringList& args);       // info FILE
int runGenerate(const QStringList& args);   // generate SCENARIO FILE [options]
int runPorts(const QStringList& args);      // ports
int runStatus(const QStringList& args);     // status --port DEVICE
int runPrepare(const Invocation& inv);      // prepare --port DEVICE ...

} // namespace orvan::cli
