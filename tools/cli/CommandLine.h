#pragma once
// The one option parser of orvanlog-cli. Options go before or after the positional arguments,
// as "--name value" or "--name=value"; "--" ends the options. Every command takes --lang N
// (0..4: Spanish, English, German, French, Portuguese), --unit C|F and --help besides its own.

#include "base/AppFolders.h"
#include "tools/cli/CommandTable.h"

#include <QTextStream>

namespace orvan::cli {

// The command line after the program name, checked against `table`. Language and unit come
// from --lang and --unit, else from the settings record of `appFolder`, else Spanish and
// Celsius. Throws UsageError with one line. With --help anywhere the checks of arguments and
// required options are skipped and options["--help"] is set.
Invocation parseCommandLine(const QStringList& args, const std::vector<CommandSpec>& table, const QString& appFolder);
// The same with the folders of an installed or portable program.
Invocation parseCommandLine(const QStringList& args, const std::vector<CommandSpec>& table, const AppFolders& folders);

// "orvanlog-cli status --port DEVICE|COM<n> [options]"
QString usageLine(const CommandSpec& command);
// The command's usage, options, and the language and unit that apply without --lang and --unit.
void printCommandHelp(QTextStream& out, const CommandSpec& command, const Invocation& defaults);
void printProgramHelp(QTextStream& out, const std::vector<CommandSpec>& table);

// The whole program: parse, run the command, report errors as one line on stderr.
int runCommandLine(const QStringList& args, const std::vector<CommandSpec>& table, const QString& appFolder);
int runCommandLine(const QStringList& args, const std::vector<CommandSpec>& table, const AppFolders& folders);

} // namespace orvan::cli
