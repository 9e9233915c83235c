// orvanlog-cli: the OrvanLog core from a terminal, for scripts, demos and bug reports.

#include "tools/cli/CmdDevice.h"
#include "tools/cli/Commands.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace {

// Until every command takes its Invocation from the one option parser: the logger commands'
// options, read the simple way (the options below take a value, any other option is a flag).
template <int (*Run)(const orvan::cli::Invocation&)>
int invoked(const QStringList& args)
{
    using namespace orvan::cli;
    static const QStringList withValue{"--port", "--days", "--interval", "--lo", "--hi", "--start", "--exporter", "--carrier"};
    Invocation inv;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--unit") && i + 1 < args.size())
            inv.gradosC = args[++i].compare(QLatin1String("F"), Qt::CaseInsensitive) == 0 ? 0 : -1;
        else if (withValue.contains(args[i]) && i + 1 < args.size())
            inv.options.insert(args[i], args[i + 1]), ++i;
        else if (args[i].startsWith(QLatin1String("--")))
            inv.options.insert(args[i], QString());
        else
            inv.positional.append(args[i]);
    }
    try {
        return Run(inv);
    } catch (const UsageError& e) {
        QTextStream(stderr) << "orvanlog-cli: " << e.what() << "\n";
        return 2;
    } catch (const Failure& e) {
        QTextStream(stderr) << "orvanlog-cli: " << e.what() << "\n";
        return 1;
    }
}

struct Command {
    const char* name;
    const char* usage;
    const char* summary;
    int (*run)(const QStringList& args);
};

const Command kCommands[] = {
    {"info", "info FILE", "decode a .klv record file and print its header as JSON", orvan::cli::runInfo},
    {"generate", "generate SCENARIO FILE [--samples N] [--interval MIN] [--seed S]",
     "write a realistic .klv record (finished, alarms, circular, empty)", orvan::cli::runGenerate},
    {"ports", "ports", "list the serial ports as COM numbers", orvan::cli::runPorts},
    {"status", "status --port DEVICE [--fahrenheit]", "read a logger's live status and print it as JSON", orvan::cli::runStatus},
    {"download", "download --port DEVICE OUT [--no-mark]",
     "download the logger's memory into the record file OUT and mark the logger as saved",
     invoked<orvan::cli::runDownload>},
    {"stop", "stop --port DEVICE", "stop the logger's running mission", invoked<orvan::cli::runStop>},
    {"erase", "erase --port DEVICE", "erase the logger's memory (34 s) and check that it is empty",
     invoked<orvan::cli::runErase>},
    {"prepare",
     "prepare --port DEVICE (--days D | --interval MIN) --lo T --hi T --start button|delay=MIN|time=YYYY-MM-DDTHH:MM "
     "[--circular] --exporter NAME --carrier NAME [--unit C|F]",
     "program a logger for a new mission and read it back; exit 0 only when verified", invoked<orvan::cli::runPrepare>},
};

void printHelp(QTextStream& out)
{
    out << "Usage: orvanlog-cli COMMAND [ARGUMENTS]\n\n"
        << "OrvanLog " << ORVAN_VERSION_TEXT << " - KLV-100 temperature logger tool\n\nCommands:\n";
    for (const Command& c : kCommands)
        out << "  " << QString::fromLatin1(c.usage).leftJustified(60) << "\n      " << c.summary << "\n";
    out << "\nOptions:\n  --help       show this text\n  --version    show the version\n";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvanlog-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printHelp(out);
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == QLatin1String("--version")) {
        out << "orvanlog-cli " << ORVAN_VERSION_TEXT << "\n";
        return 0;
    }
    const QString name = args.takeFirst();
    for (const Command& c : kCommands) {
        if (name == QLatin1String(c.name))
            return c.run(args);
    }
    err << "orvanlog-cli: unknown command '" << name << "' (try --help)\n";
    return 2;
}
