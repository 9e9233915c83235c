// orvanlog-cli: the OrvanLog core from a terminal, for scripts, demos and bug reports.

#include "tools/cli/Commands.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace {

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
    {"prepare",
     "prepare --port DEVICE (--days D | --interval MIN) --lo T --hi T --start button|delay=MIN|time=YYYY-MM-DDTHH:MM "
     "[--circular] --exporter NAME --carrier NAME [--unit C|F]",
     "program a logger for a new mission and read it back; exit 0 only when verified", nullptr},
};

// prepare takes the invocation the common option parser will hand every command.
int runWithInvocation(const QString& name, const QStringList& args, int (*run)(const orvan::cli::Invocation&))
{
    QTextStream err(stderr);
    orvan::cli::Invocation inv;
    inv.command = name;
    try {
        for (int i = 0; i < args.size(); ++i) {
            const QString& a = args[i];
            if (!a.startsWith(QLatin1String("--"))) {
                inv.positional.append(a);
            } else if (a == QLatin1String("--circular")) {
                inv.options.insert(a, QString());
            } else if (i + 1 >= args.size()) {
                throw orvan::cli::UsageError(a + QStringLiteral(" needs a value"));
            } else if (a == QLatin1String("--unit")) {
                const QString u = args[++i].toUpper();
                if (u != QLatin1String("C") && u != QLatin1String("F"))
                    throw orvan::cli::UsageError(QStringLiteral("--unit takes C or F"));
                inv.gradosC = u == QLatin1String("C") ? -1 : 0;
            } else {
                inv.options.insert(a, args[++i]);
            }
        }
        return run(inv);
    } catch (const orvan::cli::UsageError& e) {
        err << "orvanlog-cli: " << e.what() << '\n';
        return 2;
    } catch (const orvan::cli::Failure& e) {
        err << "orvanlog-cli: " << e.what() << '\n';
        return 1;
    }
}

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
            return c.run ? c.run(args) : runWithInvocation(name, args, orvan::cli::runPrepare);
    }
    err << "orvanlog-cli: unknown command '" << name << "' (try --help)\n";
    return 2;
}
