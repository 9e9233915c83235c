#pragma once
// The commands of orvanlog-cli, one file each, registered in CommandTable.cpp. Each returns the
// process exit code, prints its result on stdout and throws UsageError or Failure (Invocation.h)
// with one line for the user.

#include "tools/cli/Invocation.h"

namespace orvan::cli {

int runInfo(const Invocation& inv);       // info FILE
int runGenerate(const Invocation& inv);   // generate SCENARIO FILE
int runPorts(const Invocation& inv);      // ports
int runStatus(const Invocation& inv);     // status --port DEVICE
int runStats(const Invocation& inv);      // stats FILE
int runAlarms(const Invocation& inv);     // alarms FILE
int runCsv(const Invocation& inv);        // csv FILE [-o OUT]
// summary FILE [--allow-above MIN] [--allow-below MIN]: exit 0 whatever the verdict.
int runSummary(const Invocation& inv);
#ifdef ORVAN_CLI_REPORT
int runReport(const Invocation& inv);     // report FILE OUT.pdf (needs the widgets)
#endif
// download --port DEVICE OUT [--no-mark]: the status read, the block plan, OUT written whole
// (32768 bytes, or not at all), then the write-back and the saved bit unless --no-mark.
int runDownload(const Invocation& inv);
int runStop(const Invocation& inv);       // stop --port DEVICE: ends a running mission
// erase --port DEVICE: erases the memory, waits the 34 s the logger needs and checks the result.
int runErase(const Invocation& inv);
int runPrepare(const Invocation& inv);    // prepare --port DEVICE ...
// archive add PATH... | list | stats | verify | export OUT.csv: the records archive; verify exits 1
// with the list when an archived file changed or is missing.
int runArchive(const Invocation& inv);

} // namespace orvan::cli
