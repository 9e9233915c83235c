#pragma once
// The commands of orvanlog-cli, one line each in commandTable(): the name, what follows it, a
// summary, the command's own options and its positional argument count. The one parser
// (CommandLine.h) checks a command line against this table and hands the command an Invocation;
// --lang, --unit and --help belong to every command and are not listed here.
//
// Adding a command: declare `int runX(const Invocation&)` in Commands.h, write it in CmdX.cpp,
// add CmdX.cpp to CMakeLists.txt and one line to the table in CommandTable.cpp.

#include "tools/cli/Invocation.h"

#include <vector>

namespace orvan::cli {

struct OptionSpec {
    const char* name;            // "--samples"
    const char* value;           // what it takes, "N"; nullptr for a flag
    const char* help;
    bool required = false;       // required options appear in the usage line
};

struct CommandSpec {
    const char* name;            // "generate"
    const char* arguments;       // the positional arguments in the usage line: "SCENARIO FILE"
    const char* summary;
    std::vector<OptionSpec> options;
    int minArgs = 0;
    int maxArgs = 0;
    int (*run)(const Invocation&) = nullptr;
};

// The serial port option of every command that talks to a logger.
inline OptionSpec portOption()
{
    return {"--port", "DEVICE|COM<n>", "the logger's serial port: a device path (/dev/ttyUSB0) or a COM number from 'ports'", true};
}

// The byte trace of every command that talks to a logger.
inline OptionSpec traceOption()
{
    return {"--trace", nullptr, "print every byte sent to and received from the logger on stderr, as hex"};
}

const std::vector<CommandSpec>& commandTable();

} // namespace orvan::cli
