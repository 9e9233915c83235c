// orvanlog-cli run as a user runs it: help texts, exit codes, one-line errors, and the settings
// record beside the program.

#include "base/Settings.h"
#include "support/RunCli.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using orvan::test::CliRun;
using orvan::test::runCli;

namespace {

QStringList lines(const QByteArray& text)
{
    return QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The usage lines the program help lists, one per command.
QStringList usageLines()
{
    QStringList usages;
    for (const QString& line : lines(runCli({QStringLiteral("--help")}).out)) {
        if (line.startsWith(QLatin1String("  orvanlog-cli ")))
            usages << line.trimmed();
    }
    return usages;
}

QString commandOf(const QString& usage)
{
    return usage.section(QLatin1Char(' '), 1, 1);
}

void expectOneLineError(const CliRun& r, int code, const char* text)
{
    EXPECT_EQ(r.code, code) << r.err.constData();
    EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
    EXPECT_TRUE(r.err.startsWith("orvanlog-cli: ")) << r.err.constData();
    EXPECT_TRUE(r.err.contains(text)) << r.err.constData();
}

} // namespace

TEST(CliProgram, HelpDescribesEveryCommandAndOption)
{
    const CliRun help = runCli({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    const QStringList usages = usageLines();
    for (const char* known : {"orvanlog-cli info FILE [options]", "orvanlog-cli generate SCENARIO FILE [options]",
                              "orvanlog-cli ports [options]", "orvanlog-cli status --port DEVICE|COM<n> [options]"})
        EXPECT_TRUE(usages.contains(QLatin1String(known))) << known;
    for (const char* common : {"--lang N", "--unit C|F", "--help", "--version"})
        EXPECT_TRUE(help.out.contains(common)) << common;

    for (const QString& usage : usages) {
        const QString command = commandOf(usage);
        SCOPED_TRACE(command.toStdString());
        const CliRun own = runCli({command, QStringLiteral("--help")});
        EXPECT_EQ(own.code, 0);
        EXPECT_TRUE(own.err.isEmpty());
        EXPECT_EQ(lines(own.out).value(0), QStringLiteral("Usage: ") + usage);
        // Every option the usage line names is explained, and so are the common ones.
        static const QRegularExpression optionName(QStringLiteral("--[a-z]+"));
        for (auto it = optionName.globalMatch(usage); it.hasNext();) {
            const QString option = it.next().captured();
            EXPECT_TRUE(own.out.contains("\n  " + option.toUtf8() + ' ')) << option.toStdString();
        }
        for (const char* common : {"\n  --lang N ", "\n  --unit C|F ", "\n  --help "})
            EXPECT_TRUE(own.out.contains(common)) << common;
        // Language and unit are refused the same way by every command, before it does anything.
        expectOneLineError(runCli({command, QStringLiteral("--lang"), QStringLiteral("5"), QStringLiteral("x")}), 2, "--lang");
        expectOneLineError(runCli({command, QStringLiteral("--unit"), QStringLiteral("K")}), 2, "--unit");
        expectOneLineError(runCli({command, QStringLiteral("--no-such-option")}), 2, "--no-such-option");
    }
    for (const char* status : {"generate|--samples", "generate|finished", "info", "bogus", "status|--port|COM1|x"}) {
        SCOPED_TRACE(status);
        const CliRun r = runCli(QString::fromLatin1(status).split(QLatin1Char('|')));
        expectOneLineError(r, 2, "");
    }
    const CliRun none = runCli({});
    EXPECT_EQ(none.code, 2);
}

TEST(CliProgram, MissingFileFailsWithOneLineInEitherOrder)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.klv"));
    expectOneLineError(runCli({QStringLiteral("info"), QStringLiteral("--lang"), QStringLiteral("1"), missing}), 1, "missing.klv");
    expectOneLineError(runCli({QStringLiteral("info"), missing, QStringLiteral("--unit"), QStringLiteral("F")}), 1, "missing.klv");
    // A port that is no port: a failure, not a usage error.
    expectOneLineError(runCli({QStringLiteral("status"), QStringLiteral("--port"), dir.filePath(QStringLiteral("ttyNone")), QStringLiteral("--fahrenheit")}), 1, "ttyNone");
    expectOneLineError(runCli({QStringLiteral("status"), QStringLiteral("--port"), QStringLiteral("COM9999")}), 1, "COM9999");

    // Both orders give the same record.
    const QString a = dir.filePath(QStringLiteral("a.klv")), b = dir.filePath(QStringLiteral("b.klv"));
    ASSERT_EQ(runCli({QStringLiteral("generate"), QStringLiteral("--seed"), QStringLiteral("4"), QStringLiteral("alarms"), a}).code, 0);
    ASSERT_EQ(runCli({QStringLiteral("generate"), QStringLiteral("alarms"), QStringLiteral("--seed=4"), b, QStringLiteral("--lang"), QStringLiteral("3")}).code, 0);
    QFile fa(a), fb(b);
    ASSERT_TRUE(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
    EXPECT_EQ(fa.readAll(), fb.readAll());
}

TEST(CliProgram, SettingsRecordBesideTheProgramDecidesTheDefaults)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("orvanlog-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVAN_CLI_PATH), program));
    const auto nowLine = [&](const QStringList& extra) {
        const CliRun r = orvan::test::runCliAt(program, QStringList{QStringLiteral("info"), QStringLiteral("--help")} + extra);
        for (const QString& line : lines(r.out)) {
            if (line.startsWith(QLatin1String("Now: ")))
                return line;
        }
        return QString();
    };
    EXPECT_EQ(nowLine({}), QStringLiteral("Now: Spanish, Celsius (no usable settings record)."));

    orvan::RegConfig cfg;
    cfg.applyDefaults(dir.path());
    cfg.Idioma = 1;
    cfg.GradosC = 0;
    ASSERT_TRUE(orvan::SettingsFile(dir.path()).write(cfg).ok);
    EXPECT_EQ(nowLine({}), QStringLiteral("Now: English, Fahrenheit (settings record)."));
}

TEST(CliProgram, GenerateMakesOnlyTheApplicationsRecordFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("orvanlog-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVAN_CLI_PATH), program));
    const auto generate = [&](const QString& path) {
        return orvan::test::runCliAt(program, {QStringLiteral("generate"), QStringLiteral("empty"), dir.filePath(path)});
    };
    // Missing folders the user named stay missing; nothing is written.
    for (const char* path : {"Otra/demo.klv", "Datos/sub/demo.klv", "datos/demo.klv"}) {
        SCOPED_TRACE(path);
        expectOneLineError(generate(QString::fromLatin1(path)), 1, "cannot write");
        EXPECT_FALSE(QFile::exists(dir.filePath(QString::fromLatin1(path).section(QLatin1Char('/'), 0, 0))));
    }
    const CliRun made = generate(QStringLiteral("Datos/demo.klv"));
    EXPECT_EQ(made.code, 0) << made.err.constData();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Datos/demo.klv"))));
}

// A path that is no serial device is named as such, not reported as missing; a path that is
// missing is not called a file that is no port.
TEST(CliProgram, APortThatIsNoSerialDeviceIsNamedAsSuch)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("regular.txt"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a port");
    }
    for (const QString& port : {file, dir.path(), QStringLiteral("/dev/null")}) {
        SCOPED_TRACE(port.toStdString());
        const CliRun r = runCli({QStringLiteral("status"), QStringLiteral("--port"), port, QStringLiteral("--lang"), QStringLiteral("1")});
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(QString::fromUtf8(r.err), QStringLiteral("orvanlog-cli: %1 is not a serial port\n").arg(port));
    }
    const CliRun missing = runCli({QStringLiteral("status"), QStringLiteral("--port"), dir.filePath(QStringLiteral("none")),
                                   QStringLiteral("--lang"), QStringLiteral("1")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_FALSE(missing.err.contains("is not a serial port")) << missing.err.constData();
}
