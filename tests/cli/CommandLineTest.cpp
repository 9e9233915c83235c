// The option parser of orvanlog-cli on a command table of its own: option order, values, refusals,
// and the language and unit the settings record gives.

#include "tools/cli/CommandLine.h"

#include "base/Settings.h"
#include "support/AsNobody.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan::cli;
using orvan::Unit;

namespace {

int runNothing(const Invocation&)
{
    return 0;
}

const std::vector<CommandSpec>& testTable()
{
    static const std::vector<CommandSpec> table = {
        {"copy", "FROM TO", "copy a record", {{"--samples", "N", "samples"}, {"--quiet", nullptr, "say nothing"}}, 2, 2, runNothing},
        {"stats", "FILE...", "one to three files", {}, 1, 3, runNothing},
        {"status", "", "live status", {portOption(), {"--fahrenheit", nullptr, "same as --unit F"}}, 0, 0, runNothing},
    };
    return table;
}

// '|' between the words; an empty word stays a word.
QStringList words(const char* line)
{
    return *line ? QString::fromUtf8(line).split(QLatin1Char('|')) : QStringList();
}

Invocation parse(const char* line, const QString& appFolder = QStringLiteral("/nonexistent-orvan-folder"))
{
    return parseCommandLine(words(line), testTable(), appFolder);
}

QString usageErrorOf(const char* line)
{
    try {
        parse(line);
    } catch (const UsageError& e) {
        return QString::fromStdString(e.what());
    }
    return QStringLiteral("<accepted>");
}

void writeSettings(const QString& folder, qint16 idioma, qint16 gradosC, qint16 version = orvan::RegConfig::VersionActual)
{
    orvan::RegConfig cfg;
    cfg.applyDefaults(folder);
    cfg.Idioma = idioma;
    cfg.GradosC = gradosC;
    cfg.VersionCfg = version;
    ASSERT_TRUE(orvan::SettingsFile(folder).write(cfg).ok);
}

} // namespace

TEST(CommandLine, OptionsGoBeforeOrAfterTheArguments)
{
    for (const char* order : {"copy|a.klv|b.klv|--samples|7|--quiet|--lang|2|--unit|F", "copy|--lang|2|--samples|7|a.klv|--unit|f|b.klv|--quiet",
                              "copy|--unit=F|--lang=2|--quiet|--samples=7|a.klv|b.klv", "copy|--quiet|--samples|7|--unit|F|--lang|2|--|a.klv|b.klv"}) {
        SCOPED_TRACE(order);
        const Invocation inv = parse(order);
        EXPECT_EQ(inv.command, QStringLiteral("copy"));
        EXPECT_EQ(inv.positional, words("a.klv|b.klv"));
        EXPECT_EQ(inv.value(QStringLiteral("--samples")), QStringLiteral("7"));
        EXPECT_TRUE(inv.has(QStringLiteral("--quiet")));
        EXPECT_EQ(inv.idioma, 2);
        EXPECT_EQ(inv.unit, Unit::Fahrenheit);
    }
    // After "--" and as an option's value, what looks like an option is an argument.
    const Invocation dashes = parse("copy|--samples|-5|--|--quiet|-");
    EXPECT_EQ(dashes.positional, words("--quiet|-"));
    EXPECT_EQ(dashes.value(QStringLiteral("--samples")), QStringLiteral("-5"));
    EXPECT_FALSE(dashes.has(QStringLiteral("--quiet")));

    // JSON unless a table is asked for, with either spelling of the option; --fahrenheit is --unit F.
    EXPECT_EQ(parse("status|--fahrenheit|--port|COM3").unit, Unit::Fahrenheit);
    EXPECT_EQ(parse("status|--port=/dev/x|--fahrenheit|--unit|F").format, Invocation::Format::Json);
    EXPECT_EQ(parse("stats|a|--format=table").format, Invocation::Format::Table);
    EXPECT_EQ(parse("stats|--format|json|a|b|c").format, Invocation::Format::Json);
}

TEST(CommandLine, RefusesWhatMakesNoSense)
{
    const std::pair<const char*, const char*> refused[] = {
        {"", "no command"},
        {"bogus", "unknown command 'bogus'"},
        {"copy|a|b|--verbose", "unknown option --verbose for copy"},
        {"stats|a|--samples|3", "unknown option --samples for stats"},
        {"copy|a|b|--samples", "option --samples needs a value"},
        {"copy|a|b|--quiet=yes", "option --quiet takes no value"},
        {"copy|a", "copy takes 2 arguments (FROM TO), 1 given"},
        {"copy|a|b|c", "copy takes 2 arguments (FROM TO), 3 given"},
        {"stats", "stats takes 1 to 3 arguments (FILE...), 0 given"},
        {"stats|a|b|c|d", "4 given"},
        {"status", "status needs --port DEVICE|COM<n>"},
        {"status|--port|x|extra", "status takes 0 arguments, 1 given"},
        {"copy|a|b|--lang|5", "invalid value '5' for --lang (0..4)"},
        {"copy|a|b|--lang|-1", "invalid value '-1' for --lang"},
        {"copy|a|b|--lang|one", "invalid value 'one' for --lang"},
        {"copy|a|b|--unit|K", "invalid value 'K' for --unit (C or F)"},
        {"copy|a|b|--unit|", "invalid value '' for --unit"},
        {"copy|a|b|--fahrenheit", "unknown option --fahrenheit for copy"},
        {"status|--port|x|--fahrenheit|--unit|C", "--fahrenheit contradicts --unit C"},
        {"copy|a|b|--format|TABLE", "invalid value 'TABLE' for --format (json or table)"},
        {"copy|a|b|--format|", "invalid value '' for --format"},
        // --help skips the checks of arguments and required options, not the check of option names.
        {"copy|--help|--nope", "--nope"},
    };
    for (const auto& [args, message] : refused) {
        SCOPED_TRACE(args);
        const QString error = usageErrorOf(args);
        EXPECT_TRUE(error.contains(QLatin1String(message))) << error.toStdString();
        EXPECT_FALSE(error.contains(QLatin1Char('\n')));
    }
    EXPECT_TRUE(parse("status|--help").has(QStringLiteral("--help")));
    EXPECT_TRUE(parse("copy|-h").has(QStringLiteral("--help")));
}

TEST(CommandLine, SettingsRecordGivesLanguageAndUnit)
{
    // What the parser takes: "<language> <unit> <1 when from the record>".
    const auto seen = [](const QString& folder, const char* args = "copy|a|b") {
        const Invocation inv = parse(args, folder);
        return QStringLiteral("%1 %2 %3").arg(inv.idioma).arg(inv.unit == Unit::Celsius ? 'C' : 'F').arg(int(inv.fromSettings));
    };
    const struct {
        const char* what;
        bool file;
        qint16 idioma, gradosC, version;
        const char* expected;
    } cases[] = {
        {"no file: Spanish, Celsius", false, 0, 0, 0, "0 C 0"},
        {"German, Fahrenheit", true, 2, 0, orvan::RegConfig::VersionActual, "2 F 1"},
        {"Portuguese, Celsius", true, 4, -1, orvan::RegConfig::VersionActual, "4 C 1"},
        {"older version still read", true, 1, 1, orvan::RegConfig::VersionAntigua, "1 F 1"},
        {"unknown version: defaults", true, 3, 0, 12, "0 C 0"},
        {"language out of range: Spanish", true, 9, 0, orvan::RegConfig::VersionActual, "0 F 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        if (c.file)
            writeSettings(dir.path(), c.idioma, c.gradosC, c.version);
        EXPECT_EQ(seen(dir.path()), QLatin1String(c.expected));
        // The command line wins over the record.
        EXPECT_TRUE(seen(dir.path(), "copy|a|b|--lang|1|--unit|C").startsWith(QLatin1String("1 C ")));
    }
    // A settings record this user may not read: the defaults, no failure.
    QTemporaryDir dir;
    writeSettings(dir.path(), 1, 0);
    QFile(orvan::SettingsFile(dir.path()).path()).setPermissions(QFileDevice::WriteOwner);
    EXPECT_EQ(orvan::test::asNobody([&] { return seen(dir.path()); }).value_or(QStringLiteral("<no child>")), QStringLiteral("0 C 0"));
}

TEST(CommandLine, ValuesAndPorts)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Puertos")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("Puertos/COM250"))));
    EXPECT_EQ(parse("status|--port|/dev/ttyUSB7", dir.path()).portDevice(), QStringLiteral("/dev/ttyUSB7"));
    EXPECT_FALSE(parse("status|--port|com250", dir.path()).portDevice().isEmpty());
    EXPECT_THROW(parse("status|--port|COM251", dir.path()).portDevice(), Failure);

    const Invocation inv = parse("copy|a|b|--samples|300");
    EXPECT_EQ(inv.intValue(QStringLiteral("--samples"), 0, 300, 1), 300);
    EXPECT_THROW(inv.intValue(QStringLiteral("--samples"), 0, 299, 1), UsageError);
    EXPECT_DOUBLE_EQ(inv.numberValue(QStringLiteral("--samples"), 0), 300.0);
    const Invocation text = parse("copy|a|b|--samples|3x");
    EXPECT_THROW(text.intValue(QStringLiteral("--samples"), 0, 9, 1), UsageError);
    EXPECT_THROW(text.numberValue(QStringLiteral("--samples"), 1), UsageError);
}
