// orvanlog-cli run as a user runs it, from a copy in a folder of its own (the settings record and
// the record folder Datos belong beside the program): exit codes, the one line on stderr, what is
// left on disk, the help texts and the summary's JSON.

#include "base/Settings.h"
#include "records/RecordImages.h"
#include "support/Files.h"
#include "support/RunCli.h"
#include "support/SpecialFiles.h"
#include "views/TestRecords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::test;

namespace {

class CliProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        program = dir.filePath(QStringLiteral("orvanlog-cli"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORVAN_CLI_PATH), program));
        ASSERT_EQ(run(words("generate|alarms|$D/r.klv")).code, 0);
        // 5, 10, 5 °C between limits of 2 and 8 °C, every 15 minutes from 6 Dec 2026 14:30.
        const records::MissionRecord spike = views::testdata::makeRecord({3}, {90, 100, 90});
        ASSERT_TRUE(records::testdata::writeFile(dir.filePath(QStringLiteral("spike.klv")), spike.fileImage()));
    }

    // '|' between the words; $D is the program's folder.
    QString expand(const char* text) const { return QString::fromUtf8(text).replace(QLatin1String("$D"), dir.path()); }
    QStringList words(const char* line) const { return expand(line).split(QLatin1Char('|'), Qt::SkipEmptyParts); }
    CliRun run(const QStringList& args) const { return runCliAt(program, args); }

    // One run: its exit code, stdout holding `out` (nullptr: nothing), stderr one line holding
    // `err` (nullptr: nothing) and, on failure, naming the program.
    CliRun expectRun(const QStringList& args, int code, const char* err, const char* out = nullptr) const
    {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const CliRun r = run(args);
        EXPECT_EQ(r.code, code) << r.err.constData();
        EXPECT_TRUE(out ? r.out.contains(out) : r.out.isEmpty()) << r.out.constData();
        if (!err) {
            EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
            return r;
        }
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(expand(err))) << r.err.constData();
        EXPECT_TRUE(code == 0 || r.err.startsWith("orvanlog-cli: ")) << r.err.constData();
        return r;
    }

    QTemporaryDir dir;
    QString program;
};

struct Case {
    const char* args;
    int code;
    const char* err;
    const char* out;
    const char* made;     // a path the run leaves, or nullptr
    const char* absent;   // a path the run must not leave, or nullptr
};

// Every case starts without the record folder Datos: the program makes it, and only it.
const Case kCases[] = {
    // The command line makes no sense: exit 2, before anything is read or written.
    {"generate|--samples", 2, "", nullptr, nullptr, nullptr},
    {"generate|finished", 2, "", nullptr, nullptr, nullptr},
    {"info", 2, "", nullptr, nullptr, nullptr},
    {"bogus", 2, "bogus", nullptr, nullptr, nullptr},
    {"status|--port|COM1|x", 2, "", nullptr, nullptr, nullptr},
    {"info|$D/r.klv|$D/spike.klv", 2, "2 given", nullptr, nullptr, nullptr},
    {"summary|$D/spike.klv|--allow-above|-1", 2, "--allow-above", nullptr, nullptr, nullptr},
    {"summary|$D/spike.klv|--allow-below|1.5", 2, "--allow-below", nullptr, nullptr, nullptr},
    {"summary|$D/spike.klv|--allow-above|ten", 2, "--allow-above", nullptr, nullptr, nullptr},
    {"summary|$D/spike.klv|--allow-below", 2, "--allow-below", nullptr, nullptr, nullptr},
    {"summary|$D/spike.klv|--pdf|$D/r.png", 2, ".pdf", nullptr, nullptr, "$D/r.png"},
    // The command failed: exit 1 with one line naming what.
    {"info|--lang|1|$D/missing.klv", 1, "$D/missing.klv", nullptr, nullptr, nullptr},
    {"info|$D/missing.klv|--unit|F", 1, "$D/missing.klv", nullptr, nullptr, nullptr},
    {"status|--port|COM9999", 1, "COM9999", nullptr, nullptr, nullptr},
    {"status|--port|$D/r.klv|--lang|1", 1, "$D/r.klv is not a serial port", nullptr, nullptr, nullptr},
    {"status|--port|$D|--lang|1", 1, "$D is not a serial port", nullptr, nullptr, nullptr},
    {"status|--port|/dev/null|--lang|1", 1, "/dev/null is not a serial port", nullptr, nullptr, nullptr},
    // Missing folders the user named stay missing; only the record folder itself is made.
    {"generate|empty|$D/Otra/demo.klv", 1, "cannot write", nullptr, nullptr, "$D/Otra"},
    {"generate|empty|$D/Datos/sub/demo.klv", 1, "cannot write", nullptr, nullptr, "$D/Datos"},
    {"generate|empty|$D/datos/demo.klv", 1, "cannot write", nullptr, nullptr, "$D/datos"},
    {"generate|empty|$D/Datos/demo.klv", 0, nullptr, "demo.klv", "$D/Datos/demo.klv", nullptr},
    {"csv|$D/r.klv|-o|$D/Datos/r.csv", 0, "$D/Datos/r.csv", nullptr, "$D/Datos/r.csv", nullptr},
    {"report|$D/r.klv|$D/Datos/r.pdf", 0, "$D/Datos/r.pdf", nullptr, "$D/Datos/r.pdf", nullptr},
    // A failed shipment is a result, not a failure; an allowance equal to the time above passes.
    {"summary|$D/spike.klv", 0, nullptr, "\"verdict\": \"fail\"", nullptr, nullptr},
    {"summary|$D/spike.klv|--allow-above|15", 0, nullptr, "\"verdict\": \"pass\"", nullptr, nullptr},
    {"summary|$D/spike.klv|--allow-above=14", 0, nullptr, "\"verdict\": \"fail\"", nullptr, nullptr},
    {"summary|$D/spike.klv|--allow-below|60", 0, nullptr, "\"verdict\": \"fail\"", nullptr, nullptr},
    {"summary|$D/spike.klv|--unit|F|--allow-above|15", 0, nullptr, "\"verdict\": \"pass\"", nullptr, nullptr},
#ifdef ORVAN_CLI_PDF
    {"summary|$D/spike.klv|--pdf|$D/no/r.pdf", 1, "", nullptr, nullptr, "$D/no"},
#endif
};

} // namespace

TEST_F(CliProgram, ExitCodesMessagesAndFilesLeft)
{
    EXPECT_EQ(run({}).code, 2);
    for (const Case& c : kCases) {
        QDir(dir.filePath(QStringLiteral("Datos"))).removeRecursively();
        expectRun(words(c.args), c.code, c.err, c.out);
        EXPECT_TRUE(!c.made || QFile::exists(expand(c.made))) << c.args;
        EXPECT_TRUE(!c.absent || !QFileInfo::exists(expand(c.absent))) << c.args;
    }
    // A missing port is not called a file that is no port.
    const CliRun missing = run(words("status|--port|$D/ttyNone|--fahrenheit"));
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains("ttyNone")) << missing.err.constData();
    EXPECT_FALSE(missing.err.contains("is not a serial port")) << missing.err.constData();
}

TEST_F(CliProgram, HelpDescribesEveryCommandAndOption)
{
    const CliRun help = expectRun({QStringLiteral("--help")}, 0, nullptr, "--unit C|F");
    QStringList usages;
    for (const QString& line : QString::fromUtf8(help.out).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("  orvanlog-cli ")))
            usages << line.trimmed();
    }
    for (const char* known : {"orvanlog-cli info FILE [options]", "orvanlog-cli generate SCENARIO FILE [options]",
                              "orvanlog-cli ports [options]", "orvanlog-cli status --port DEVICE|COM<n> [options]"})
        EXPECT_TRUE(usages.contains(QLatin1String(known))) << known;
    for (const char* common : {"--lang N", "--help", "--version"})
        EXPECT_TRUE(help.out.contains(common)) << common;

    static const QRegularExpression optionName(QStringLiteral("--[a-z]+"));
    for (const QString& usage : usages) {
        const QString command = usage.section(QLatin1Char(' '), 1, 1);
        SCOPED_TRACE(command.toStdString());
        const CliRun own = expectRun({command, QStringLiteral("--help")}, 0, nullptr, "");
        EXPECT_TRUE(own.out.startsWith("Usage: " + usage.toUtf8() + '\n'));
        // Every option the usage line names is explained, and so are the common ones.
        QStringList options = {QStringLiteral("--lang N"), QStringLiteral("--unit C|F"), QStringLiteral("--help")};
        for (auto it = optionName.globalMatch(usage); it.hasNext();)
            options << it.next().captured();
        for (const QString& option : options)
            EXPECT_TRUE(own.out.contains("\n  " + option.toUtf8() + ' ')) << option.toStdString();
        // Language and unit are refused the same way by every command, before it does anything.
        expectRun({command, QStringLiteral("--lang"), QStringLiteral("5"), QStringLiteral("x")}, 2, "--lang");
        expectRun({command, QStringLiteral("--unit"), QStringLiteral("K")}, 2, "--unit");
        expectRun({command, QStringLiteral("--no-such-option")}, 2, "--no-such-option");
    }
}

// What is no record file gets the same one line from every command that reads records, which
// leave no output behind and never wait on a FIFO or read a device without end.
TEST_F(CliProgram, EveryReaderRefusesWhatIsNoRecordFileAlike)
{
    ASSERT_TRUE(makeNode(Node::Fifo, dir.filePath(QStringLiteral("pipe.klv"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir.filePath(QStringLiteral("zero.klv"))));
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("long.klv")), QByteArray(67002, '\x01')));
    const std::pair<const char*, const char*> paths[] = {
        {"$D/pipe.klv", "$D/pipe.klv is not a regular file and is not read"},
        {"$D/zero.klv", "$D/zero.klv is not a regular file and is not read"},
        {"$D", "$D is not a regular file and is not read"},
        {"$D/long.klv", "$D/long.klv is longer than 67001 bytes and is not a record file"},
        {"$D/absent.klv", "$D/absent.klv"},
    };
    const char* const readers[] = {"info|%1", "stats|%1", "alarms|%1", "csv|%1|-o|$D/out.csv", "report|%1|$D/out.pdf",
                                   "summary|%1|--pdf|$D/out.pdf"};
    for (const auto& [path, line] : paths) {
        QByteArray first;
        for (const char* reader : readers) {
            const QString args = QString::fromLatin1(reader).arg(QLatin1String(path)) + QStringLiteral("|--lang=1");
            const CliRun r = expectRun(words(args.toUtf8().constData()), 1, line);
            if (first.isEmpty())
                first = r.err;
            EXPECT_EQ(r.err, first) << reader;
        }
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("out.csv"))));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("out.pdf"))));
}

TEST_F(CliProgram, OutputThatIsNotAnOrdinaryFileIsRefusedAndLeftAsItIs)
{
    for (const NodeRow& node : kNodes) {
        for (const char* output : {"csv|$D/r.klv|-o|$D/%1.csv", "report|$D/r.klv|$D/%1.pdf", "generate|empty|$D/%1.klv",
                                   "summary|$D/r.klv|--pdf|$D/%1.pdf"}) {
            const QStringList args = words(output).replaceInStrings(QStringLiteral("%1"), QLatin1String(node.name));
            SCOPED_TRACE(std::string(node.name) + " as output of " + output);
            if (!makeNode(node.kind, args.last())) {
                std::cout << "[ skipped  ] cannot make a " << node.name << " here\n";
                continue;
            }
            const quint64 before = nodeIdentity(args.last());
            expectRun(args + QStringList{QStringLiteral("--lang=1")}, 1, "exists and is not a regular file; it is left as it is");
            EXPECT_EQ(nodeIdentity(args.last()), before);
            if (!QFile::remove(args.last()))
                QDir().rmdir(args.last());
        }
    }
}

TEST_F(CliProgram, SettingsRecordBesideTheProgramDecidesTheDefaultsOrIsLeftAlone)
{
    const QString settings = dir.filePath(QStringLiteral("Ruta.CnF"));
    const QByteArray longFile(SettingsFile::MaxFileSize + 1, '\x01');
    const std::pair<const char*, std::function<bool()>> cases[] = {
        {"fifo", [&] { return makeNode(Node::Fifo, settings); }},
        {"/dev/zero", [&] { return QFile::link(QStringLiteral("/dev/zero"), settings); }},
        {"/dev/urandom", [&] { return QFile::link(QStringLiteral("/dev/urandom"), settings); }},
        {"longer than the bound", [&] { return writeFile(settings, longFile); }},
    };
    expectRun(words("info|--help"), 0, nullptr, "Now: Spanish, Celsius (no usable settings record).");
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        QFile::remove(settings);
        ASSERT_TRUE(make());
        const quint64 before = nodeIdentity(settings);
        expectRun(words("info|--help"), 0, nullptr, "(no usable settings record)");
        EXPECT_EQ(run(words("info|$D/r.klv")).code, 0);
        EXPECT_EQ(nodeIdentity(settings), before);
    }
    EXPECT_EQ(readAll(settings), longFile);

    QFile::remove(settings);
    RegConfig cfg;
    cfg.applyDefaults(dir.path());
    cfg.Idioma = 1;
    cfg.GradosC = 0;
    ASSERT_TRUE(SettingsFile(dir.path()).write(cfg).ok);
    expectRun(words("info|--help"), 0, nullptr, "Now: English, Fahrenheit (settings record).");
}

TEST_F(CliProgram, SummaryWritesExactlyTheDocumentedKeysAsNumbers)
{
    const CliRun r = expectRun(words("summary|$D/spike.klv"), 0, nullptr, "{");
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    QStringList keys = o.keys();
    QStringList documented = {"unit", "samples", "missing", "of", "interval_minutes", "low_limit", "high_limit", "min",
                              "max", "mean", "mkt", "minutes", "excursions", "allowed_minutes", "verdict"};
    keys.sort();
    documented.sort();
    EXPECT_EQ(keys, documented);
    EXPECT_EQ(o["unit"].toString(), "C");
    EXPECT_EQ(o["samples"].toInt(-1), 3);
    EXPECT_EQ(o["interval_minutes"].toInt(-1), 15);
    EXPECT_EQ(o["max"].toObject()["time"].toString(), "2026-12-06T14:45");
    EXPECT_EQ(o["minutes"].toObject().keys(), QStringList({"above", "below", "within"}));
    EXPECT_EQ(o["minutes"].toObject()["above"].toInt(-1), 15);
    const QJsonArray excursions = o["excursions"].toArray();
    ASSERT_EQ(excursions.size(), 1);
    EXPECT_EQ(excursions[0].toObject().keys(), QStringList({"minutes", "peak", "samples", "start", "zone"}));
    EXPECT_EQ(excursions[0].toObject()["zone"].toString(), "above");
    EXPECT_EQ(excursions[0].toObject()["start"].toString(), "2026-12-06T14:45");
    EXPECT_EQ(excursions[0].toObject()["minutes"].toInt(-1), 15);
    EXPECT_EQ(o["allowed_minutes"].toObject().keys(), QStringList({"above", "below"}));
    // Shortest round-trip forms: 20/3 with every digit a double holds, whole values without a point.
    EXPECT_TRUE(r.out.contains("\"mean\": 6.666666666666667,")) << r.out.constData();
    EXPECT_TRUE(r.out.contains("\"high_limit\": 8,")) << r.out.constData();

    const QJsonObject f = QJsonDocument::fromJson(run(words("summary|$D/spike.klv|--unit|F")).out).object();
    EXPECT_EQ(f["unit"].toString(), "F");
    EXPECT_DOUBLE_EQ(f["low_limit"].toDouble(), 35.6);
    EXPECT_DOUBLE_EQ(f["max"].toObject()["value"].toDouble(), 50.0);

    // The verdict comes first in the table, where a reader looks, in the language asked for.
    for (const auto& [lang, verdict] : {std::pair{"1", "Verdict Fail"}, std::pair{"0", "Veredicto Rechazado"}}) {
        const CliRun t = run(words("summary|$D/spike.klv|--format|table|--lang") << QLatin1String(lang));
        EXPECT_EQ(QString::fromUtf8(t.out).section(QLatin1Char('\n'), 0, 0).simplified(), QLatin1String(verdict));
    }
}

#ifdef ORVAN_CLI_PDF
TEST_F(CliProgram, SummaryPdfIsOneA4PortraitPage)
{
    const CliRun ok = expectRun(words("summary|$D/r.klv|--pdf|$D/r.pdf|--lang=1"), 0, "$D/r.pdf", "\"verdict\": \"fail\"");
    const QByteArray bytes = readAll(dir.filePath(QStringLiteral("r.pdf")));
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/MediaBox [0 0 595.000000 842.000000]"), 1) << "one A4 portrait page";
    EXPECT_EQ(QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))), 1);
}
#endif
