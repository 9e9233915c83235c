// The option parser of orvanlog-cli on a table of its own: option order, values, refusals, and
// the language and unit the settings record gives.

#include "tools/cli/CommandLine.h"

#include "base/Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan::cli;

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

Invocation parse(const QStringList& args, const QString& appFolder = QStringLiteral("/nonexistent-orvan-folder"))
{
    return parseCommandLine(args, testTable(), appFolder);
}

QString usageErrorOf(const QStringList& args)
{
    try {
        parse(args);
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
    const char* const orders[] = {
        "copy|a.klv|b.klv|--samples|7|--quiet|--lang|2|--unit|F",
        "copy|--lang|2|--samples|7|a.klv|--unit|f|b.klv|--quiet",
        "copy|--unit=F|--lang=2|--quiet|--samples=7|a.klv|b.klv",
        "copy|--quiet|--samples|7|--unit|F|--lang|2|--|a.klv|b.klv",
    };
    for (const char* order : orders) {
        SCOPED_TRACE(order);
        const Invocation inv = parse(QString::fromLatin1(order).split(QLatin1Char('|')));
        EXPECT_EQ(inv.command, QStringLiteral("copy"));
        EXPECT_EQ(inv.positional, (QStringList{QStringLiteral("a.klv"), QStringLiteral("b.klv")}));
        EXPECT_EQ(inv.value(QStringLiteral("--samples")), QStringLiteral("7"));
        EXPECT_TRUE(inv.has(QStringLiteral("--quiet")));
        EXPECT_EQ(inv.idioma, 2);
        EXPECT_EQ(inv.unit, orvan::Unit::Fahrenheit);
    }
    // After "--" and as an option's value, what looks like an option is an argument.
    const Invocation dashes = parse({QStringLiteral("copy"), QStringLiteral("--samples"), QStringLiteral("-5"),
                                     QStringLiteral("--"), QStringLiteral("--quiet"), QStringLiteral("-")});
    EXPECT_EQ(dashes.positional, (QStringList{QStringLiteral("--quiet"), QStringLiteral("-")}));
    EXPECT_EQ(dashes.value(QStringLiteral("--samples")), QStringLiteral("-5"));
    EXPECT_FALSE(dashes.has(QStringLiteral("--quiet")));

    const Invocation status = parse({QStringLiteral("status"), QStringLiteral("--fahrenheit"), QStringLiteral("--port"), QStringLiteral("COM3")});
    EXPECT_EQ(status.unit, orvan::Unit::Fahrenheit);
    EXPECT_EQ(parse({QStringLiteral("status"), QStringLiteral("--port=/dev/x"), QStringLiteral("--fahrenheit"), QStringLiteral("--unit"), QStringLiteral("F")}).unit, orvan::Unit::Fahrenheit);
    // JSON unless a table is asked for, with either spelling of the option.
    EXPECT_EQ(status.format, Invocation::Format::Json);
    EXPECT_EQ(parse({QStringLiteral("stats"), QStringLiteral("a"), QStringLiteral("--format=table")}).format, Invocation::Format::Table);
    EXPECT_EQ(parse({QStringLiteral("stats"), QStringLiteral("--format"), QStringLiteral("json"), QStringLiteral("a")}).format, Invocation::Format::Json);
    EXPECT_EQ(parse({QStringLiteral("stats"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}).positional.size(), 3);
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
    };
    for (const auto& [args, message] : refused) {
        SCOPED_TRACE(args);
        const QStringList list = *args ? QString::fromLatin1(args).split(QLatin1Char('|')) : QStringList();
        const QString error = usageErrorOf(list);
        EXPECT_TRUE(error.contains(QLatin1String(message))) << error.toStdString();
        EXPECT_FALSE(error.contains(QLatin1Char('\n')));
    }
    // --help skips the checks of arguments and required options, not the check of option names.
    EXPECT_TRUE(parse({QStringLiteral("status"), QStringLiteral("--help")}).has(QStringLiteral("--help")));
    EXPECT_TRUE(parse({QStringLiteral("copy"), QStringLiteral("-h")}).has(QStringLiteral("--help")));
    EXPECT_TRUE(usageErrorOf({QStringLiteral("copy"), QStringLiteral("--help"), QStringLiteral("--nope")}).contains(QLatin1String("--nope")));
}

TEST(CommandLine, SettingsRecordGivesLanguageAndUnit)
{
    constexpr orvan::Unit C = orvan::Unit::Celsius, F = orvan::Unit::Fahrenheit;
    struct Case {
        const char* what;
        bool file;
        qint16 idioma, gradosC, version;
        int expectIdioma;
        orvan::Unit expectUnit;
        bool fromSettings;
    };
    const Case cases[] = {
        {"no file: Spanish, Celsius", false, 0, 0, 0, 0, C, false},
        {"German, Fahrenheit", true, 2, 0, orvan::RegConfig::VersionActual, 2, F, true},
        {"Portuguese, Celsius", true, 4, -1, orvan::RegConfig::VersionActual, 4, C, true},
        {"older version still read", true, 1, 1, orvan::RegConfig::VersionAntigua, 1, F, true},
        {"unknown version: defaults", true, 3, 0, 12, 0, C, false},
        {"language out of range: Spanish", true, 9, 0, orvan::RegConfig::VersionActual, 0, F, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        if (c.file)
            writeSettings(dir.path(), c.idioma, c.gradosC, c.version);
        const QStringList args{QStringLiteral("copy"), QStringLiteral("a"), QStringLiteral("b")};
        const Invocation inv = parse(args, dir.path());
        EXPECT_EQ(inv.idioma, c.expectIdioma);
        EXPECT_EQ(inv.unit, c.expectUnit);
        EXPECT_EQ(inv.fromSettings, c.fromSettings);
        // The command line wins over the record.
        const Invocation given = parse(args + QStringList{QStringLiteral("--lang"), QStringLiteral("1"), QStringLiteral("--unit"), QStringLiteral("C")}, dir.path());
        EXPECT_EQ(given.idioma, 1);
        EXPECT_EQ(given.unit, C);
    }
    // A settings record nobody may read: the defaults, no failure.
    QTemporaryDir dir;
    writeSettings(dir.path(), 1, 0);
    QFile(orvan::SettingsFile(dir.path()).path()).setPermissions(QFileDevice::WriteOwner);
    if (!QFile(orvan::SettingsFile(dir.path()).path()).open(QIODevice::ReadOnly)) {
        const Invocation inv = parse({QStringLiteral("copy"), QStringLiteral("a"), QStringLiteral("b")}, dir.path());
        EXPECT_EQ(inv.idioma, 0);
        EXPECT_EQ(inv.unit, C);
    }
}

TEST(CommandLine, ValuesAndPorts)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Puertos")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("Puertos/COM250"))));
    const auto status = [&](const char* port) {
        return parseCommandLine({QStringLiteral("status"), QStringLiteral("--port"), QString::fromLatin1(port)}, testTable(), dir.path());
    };
    EXPECT_EQ(status("/dev/ttyUSB7").portDevice(), QStringLiteral("/dev/ttyUSB7"));
    EXPECT_FALSE(status("com250").portDevice().isEmpty());
    EXPECT_THROW(status("COM251").portDevice(), Failure);

    const Invocation inv = parse({QStringLiteral("copy"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("--samples"), QStringLiteral("300")});
    EXPECT_EQ(inv.intValue(QStringLiteral("--samples"), 0, 300, 1), 300);
    EXPECT_THROW(inv.intValue(QStringLiteral("--samples"), 0, 299, 1), UsageError);
    EXPECT_EQ(inv.intValue(QStringLiteral("--missing"), 0, 9, -1), -1);
    EXPECT_DOUBLE_EQ(inv.numberValue(QStringLiteral("--samples"), 0), 300.0);
    const Invocation text = parse({QStringLiteral("copy"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("--samples"), QStringLiteral("3x")});
    EXPECT_THROW(text.intValue(QStringLiteral("--samples"), 0, 9, 1), UsageError);
    EXPECT_THROW(text.numberValue(QStringLiteral("--samples"), 1), UsageError);
}
