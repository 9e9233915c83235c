#include "tools/cli/CommandLine.h"

#include "base/AddedTexts.h"
#include "base/RegularFile.h"
#include "base/Settings.h"
#include "link/PortDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace orvan::cli {

namespace {

const OptionSpec kCommonOptions[] = {
    {"--lang", "N", "language of texts: 0 Spanish, 1 English, 2 German, 3 French, 4 Portuguese"},
    {"--unit", "C|F", "temperature unit: Celsius or Fahrenheit"},
    {"--format", "json|table", "json (default): keys for scripts; table: aligned rows labelled in the language of --lang"},
    {"--help", nullptr, "describe the command and its options"},
};
constexpr int kLanguages = 5;

QString optionName(const char* name)
{
    return QString::fromLatin1(name);
}

const OptionSpec* findOption(const CommandSpec& command, const QString& name)
{
    for (const OptionSpec& o : command.options) {
        if (name == QLatin1String(o.name))
            return &o;
    }
    for (const OptionSpec& o : kCommonOptions) {
        if (name == QLatin1String(o.name))
            return &o;
    }
    return nullptr;
}

const CommandSpec* findCommand(const std::vector<CommandSpec>& table, const QString& name)
{
    for (const CommandSpec& c : table) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

QString plural(int n, const char* word)
{
    return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(word)).arg(n == 1 ? "" : "s");
}

// Language and unit when the command line leaves them out: the application's own settings,
// read as the application would use them (a record of another version gets the defaults).
// False when there is no usable record and the defaults stand.
bool applySettings(Invocation& inv, const QString& appFolder)
{
    const SettingsFile file(appFolder);
    if (!QFile::exists(file.path()))
        return false;
    RegConfig cfg;
    if (!file.read(cfg).ok)
        return false;
    if (cfg.VersionCfg != RegConfig::VersionActual && cfg.VersionCfg != RegConfig::VersionAntigua)
        return false;
    if (cfg.Idioma >= 0 && cfg.Idioma < kLanguages)
        inv.idioma = cfg.Idioma;
    inv.unit = unitFromGradosC(cfg.GradosC);
    return true;
}

const char* const kLanguageNames[kLanguages] = {"Spanish", "English", "German", "French", "Portuguese"};

void applyCommonOptions(Invocation& inv)
{
    if (inv.has(QStringLiteral("--lang")))
        inv.idioma = int(inv.intValue(QStringLiteral("--lang"), 0, kLanguages - 1, 0));
    // --fahrenheit is the older spelling of --unit F on status.
    if (inv.has(QStringLiteral("--fahrenheit"))) {
        if (inv.has(QStringLiteral("--unit")) && inv.value(QStringLiteral("--unit")).toUpper() != QLatin1String("F"))
            throw UsageError(QStringLiteral("--fahrenheit contradicts --unit %1").arg(inv.value(QStringLiteral("--unit"))));
        inv.options.insert(QStringLiteral("--unit"), QStringLiteral("F"));
    }
    if (inv.has(QStringLiteral("--unit"))) {
        const QString unit = inv.value(QStringLiteral("--unit")).toUpper();
        if (unit == QLatin1String("C"))
            inv.unit = Unit::Celsius;
        else if (unit == QLatin1String("F"))
            inv.unit = Unit::Fahrenheit;
        else
            throw UsageError(QStringLiteral("invalid value '%1' for --unit (C or F)").arg(inv.value(QStringLiteral("--unit"))));
    }
    if (inv.has(QStringLiteral("--format"))) {
        const QString format = inv.value(QStringLiteral("--format"));
        if (format == QLatin1String("json"))
            inv.format = Invocation::Format::Json;
        else if (format == QLatin1String("table"))
            inv.format = Invocation::Format::Table;
        else
            throw UsageError(QStringLiteral("invalid value '%1' for --format (json or table)").arg(format));
    }
}

QString optionColumn(const OptionSpec& o)
{
    QString s = optionName(o.name);
    if (o.value)
        s += QLatin1Char(' ') + QString::fromLatin1(o.value);
    return s;
}

void printOptions(QTextStream& out, const OptionSpec* begin, const OptionSpec* end)
{
    for (const OptionSpec* o = begin; o != end; ++o) {
        const QString column = optionColumn(*o);
        out << "  " << column.leftJustified(28);
        if (column.size() > 28)
            out << "\n  " << QString(28, QLatin1Char(' '));
        out << "  " << o->help << '\n';
    }
}

} // namespace

Invocation parseCommandLine(const QStringList& args, const std::vector<CommandSpec>& table, const QString& appFolder)
{
    return parseCommandLine(args, table, AppFolders::portable(appFolder));
}

Invocation parseCommandLine(const QStringList& args, const std::vector<CommandSpec>& table, const AppFolders& folders)
{
    if (args.isEmpty())
        throw UsageError(QStringLiteral("no command given (try orvanlog-cli --help)"));
    const CommandSpec* command = findCommand(table, args.first());
    if (!command)
        throw UsageError(QStringLiteral("unknown command '%1' (try orvanlog-cli --help)").arg(args.first()));

    Invocation inv;
    inv.command = args.first();
    inv.appFolder = folders.appFolder;
    inv.dataFolder = folders.dataFolder;
    inv.recordFolder = folders.recordFolder;
    bool optionsEnded = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (optionsEnded || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            inv.positional << a;
            continue;
        }
        if (a == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const int equals = a.indexOf(QLatin1Char('='));
        const QString name = a == QLatin1String("-h") ? QStringLiteral("--help") : a.left(equals);
        const OptionSpec* spec = findOption(*command, name);
        if (!spec)
            throw UsageError(QStringLiteral("unknown option %1 for %2").arg(name, inv.command));
        QString value;
        if (!spec->value) {
            if (equals >= 0)
                throw UsageError(QStringLiteral("option %1 takes no value").arg(name));
        } else if (equals >= 0) {
            value = a.mid(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args.at(++i);
        } else {
            throw UsageError(QStringLiteral("option %1 needs a value (%2)").arg(name, QLatin1String(spec->value)));
        }
        inv.options.insert(name, value);
    }
    inv.fromSettings = applySettings(inv, folders.appFolder);
    if (inv.has(QStringLiteral("--help")))
        return inv;
    // A wrong --lang or --unit is named first, whatever else the line lacks.
    applyCommonOptions(inv);

    const int n = int(inv.positional.size());
    if (n < command->minArgs || n > command->maxArgs) {
        const QString expected = command->minArgs == command->maxArgs
            ? plural(command->minArgs, "argument")
            : QStringLiteral("%1 to %2 arguments").arg(command->minArgs).arg(command->maxArgs);
        throw UsageError(QStringLiteral("%1 takes %2%3, %4 given")
                             .arg(inv.command, expected,
                                  *command->arguments ? QStringLiteral(" (%1)").arg(QLatin1String(command->arguments)) : QString())
                             .arg(n));
    }
    for (const OptionSpec& o : command->options) {
        if (o.required && !inv.has(optionName(o.name)))
            throw UsageError(QStringLiteral("%1 needs %2").arg(inv.command, optionColumn(o)));
    }
    return inv;
}

QString usageLine(const CommandSpec& command)
{
    QString s = QStringLiteral("orvanlog-cli ") + QLatin1String(command.name);
    for (const OptionSpec& o : command.options) {
        if (o.required)
            s += QLatin1Char(' ') + optionColumn(o);
    }
    if (*command.arguments)
        s += QLatin1Char(' ') + QLatin1String(command.arguments);
    return s + QStringLiteral(" [options]");
}

void printCommandHelp(QTextStream& out, const CommandSpec& command, const Invocation& defaults)
{
    out << "Usage: " << usageLine(command) << "\n" << command.summary << "\n\nOptions:\n";
    printOptions(out, command.options.data(), command.options.data() + command.options.size());
    printOptions(out, std::begin(kCommonOptions), std::end(kCommonOptions));
    const SettingsFile settings(defaults.appFolder);
    out << "\nOptions go before or after the arguments. Without --lang and --unit the settings record\n"
        << settings.path() << " decides; without it, Spanish and Celsius.\n"
        << "Now: " << kLanguageNames[defaults.idioma] << ", " << (defaults.unit == Unit::Celsius ? "Celsius" : "Fahrenheit")
        << (defaults.fromSettings ? " (settings record)" : " (no usable settings record)") << ".\n";
}

void printProgramHelp(QTextStream& out, const std::vector<CommandSpec>& table)
{
    out << "Usage: orvanlog-cli COMMAND [ARGUMENTS] [options]\n\n"
        << "OrvanLog " << ORVAN_VERSION_TEXT << " - KLV-100 temperature logger tool\n\nCommands:\n";
    for (const CommandSpec& c : table)
        out << "  " << usageLine(c) << "\n      " << c.summary << '\n';
    out << "\nOptions of every command:\n";
    printOptions(out, std::begin(kCommonOptions), std::end(kCommonOptions));
    out << "\nOptions of the program:\n  --version" << QString(28 - 7, QLatin1Char(' ')) << "show the version\n"
        << "\n'orvanlog-cli COMMAND --help' describes a command and all its options.\n"
        << "Exit codes: 0 done, 1 the command failed, 2 the command line makes no sense.\n";
}

int runCommandLine(const QStringList& args, const std::vector<CommandSpec>& table, const QString& appFolder)
{
    return runCommandLine(args, table, AppFolders::portable(appFolder));
}

int runCommandLine(const QStringList& args, const std::vector<CommandSpec>& table, const AppFolders& folders)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!args.isEmpty() && (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h"))) {
        printProgramHelp(out, table);
        return 0;
    }
    if (!args.isEmpty() && args.first() == QLatin1String("--version")) {
        out << "orvanlog-cli " << ORVAN_VERSION_TEXT << '\n';
        return 0;
    }
    try {
        const Invocation inv = parseCommandLine(args, table, folders);
        const CommandSpec* command = findCommand(table, inv.command);
        if (inv.has(QStringLiteral("--help"))) {
            printCommandHelp(out, *command, inv);
            return 0;
        }
        return command->run(inv);
    } catch (const UsageError& e) {
        err << "orvanlog-cli: " << QString::fromStdString(e.what()) << '\n';
        return 2;
    } catch (const Failure& e) {
        out.flush();
        err << "orvanlog-cli: " << QString::fromStdString(e.what()) << '\n';
        return 1;
    }
}

// Invocation's value readers live here, beside the parser whose errors they share.

qint64 Invocation::intValue(const QString& option, qint64 low, qint64 high, qint64 fallback) const
{
    if (!has(option))
        return fallback;
    bool ok = false;
    const qint64 n = value(option).toLongLong(&ok);
    if (!ok || n < low || n > high)
        throw UsageError(QStringLiteral("invalid value '%1' for %2 (%3..%4)").arg(value(option), option).arg(low).arg(high));
    return n;
}

double Invocation::numberValue(const QString& option, double fallback) const
{
    if (!has(option))
        return fallback;
    bool ok = false;
    const double x = value(option).toDouble(&ok);
    if (!ok)
        throw UsageError(QStringLiteral("invalid value '%1' for %2 (a number)").arg(value(option), option));
    return x;
}

QString Invocation::portDevice() const
{
    const QString port = value(QStringLiteral("--port"));
    if (port.isEmpty())
        throw UsageError(QStringLiteral("%1 needs --port DEVICE|COM<n>").arg(command));
    static const QRegularExpression comName(QStringLiteral("^COM([0-9]+)$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = comName.match(port);
    if (!m.hasMatch())
        return port;
    const QString device = link::devicePathFor(appFolder, m.captured(1).toInt());
    if (device.isEmpty())
        throw Failure(QStringLiteral("%1 is not a known port (see orvanlog-cli ports)").arg(port));
    return device;
}

void Invocation::makeDefaultFolderFor(const QString& outputPath) const
{
    const QFileInfo folder(QFileInfo(outputPath).absolutePath());
    if (folder.exists())
        return;
    // The default record folder is made with the folders above it (a new user may have no
    // documents folder yet); it is recognised by its path, or by its name in the folder that
    // holds it when that is reached through a link.
    const QFileInfo recordFolder(QDir::fromNativeSeparators(this->recordFolder));
    const QString parent = QFileInfo(folder.absolutePath()).canonicalFilePath();
    const bool samePath = QDir::cleanPath(folder.absoluteFilePath()) == QDir::cleanPath(recordFolder.absoluteFilePath());
    const bool sameName = !parent.isEmpty() && parent == QFileInfo(recordFolder.absolutePath()).canonicalFilePath()
        && folder.fileName() == recordFolder.fileName();
    if (this->recordFolder.isEmpty() || (!samePath && !sameName))
        return;
    if (!QDir().mkpath(recordFolder.absoluteFilePath()))
        throw Failure(QStringLiteral("cannot make the record folder %1").arg(QDir::toNativeSeparators(recordFolder.absoluteFilePath())));
}

void Invocation::refuseOutput(const QString& outputPath) const
{
    if (!replaceable(outputPath))
        throw Failure(addedText(AddedText::WriteNotRegular, idioma).arg(QDir::toNativeSeparators(outputPath)));
}

} // namespace orvan::cli
