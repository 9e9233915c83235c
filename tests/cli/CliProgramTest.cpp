// orvanlog-cli as a user runs it, from a copy in a folder of its own: the settings record and the
// record folder Datos belong beside the program.

#include "base/Settings.h"
#include "support/Files.h"
#include "support/RunCli.h"
#include "support/SpecialFiles.h"
#include "tools/cli/TextGrid.h"
#include "tools/emulator/EmulatorFixture.h"
#include "views/TestRecords.h"

#include <QtCore>
#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::test;
using orvan::cli::displayWidth;
using orvan::cli::TextGrid;

namespace {

QStringList linesOf(const QByteArray& text)
{
    return QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The line of the table whose label is `label`; empty when there is none.
QString rowOf(const QStringList& lines, const QString& label)
{
    const auto it = std::find_if(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(label + QStringLiteral("  ")); });
    return it == lines.end() ? QString() : *it;
}

// The display column where `text` starts in `line`, or -1.
int columnOf(const QString& line, const QString& text)
{
    const int at = int(line.indexOf(text));
    return at < 0 ? -1 : displayWidth(line.left(at));
}

// The carrier of the generated record holds the characters JSON must escape.
const QString kCarrier = QStringLiteral("NAV \"AZUL\"\\1");

class CliProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        program = dir.filePath(QStringLiteral("orvanlog-cli"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORVAN_CLI_PATH), program));
        ASSERT_EQ(run(words("generate|alarms|$D/r.klv|--carrier") << kCarrier).code, 0);
        // 5, 10, 5 °C between limits of 2 and 8 °C, every 15 minutes from 6 Dec 2026 14:30.
        const records::MissionRecord spike = views::testdata::makeRecord({3}, {90, 100, 90});
        ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("spike.klv")), spike.fileImage()));
    }

    // '|' between the words; $D is the program's folder.
    QString expand(QString text) const { return text.replace(QLatin1String("$D"), dir.path()); }
    QStringList words(const QString& line) const { return expand(line).split(QLatin1Char('|'), Qt::SkipEmptyParts); }
    CliRun run(const QStringList& args) const { return runCliAt(program, args); }

    // One run: its exit code, `out` in stdout and `err` in stderr's one line (nullptr: nothing).
    CliRun expectRun(const QStringList& args, int code, const char* err, const char* out = nullptr) const
    {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const CliRun r = run(args);
        EXPECT_EQ(r.code, code) << r.err.constData();
        EXPECT_TRUE(out ? r.out.contains(out) : r.out.isEmpty()) << r.out.constData();
        EXPECT_TRUE(err ? r.err.count('\n') == 1 && QString::fromUtf8(r.err).contains(expand(err)) : r.err.isEmpty()) << r.err.constData();
        EXPECT_TRUE(code == 0 || r.err.startsWith("orvanlog-cli: ")) << r.err.constData();
        return r;
    }

    // A command's table of the record for people, and its JSON.
    QStringList table(const char* command, const char* unit = "F", const char* lang = "1") const
    {
        const QString line = QStringLiteral("%1|$D/r.klv|--format=table|--unit=%2|--lang=%3").arg(command, unit, lang);
        return linesOf(expectRun(words(line), 0, nullptr, "").out);
    }
    QJsonDocument json(const char* command) const
    {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(run(words(QStringLiteral("%1|$D/r.klv|--unit=F").arg(command))).out, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << command;
        return doc;
    }

    QTemporaryDir dir;
    QString program;
};
using CliTable = CliProgram;

struct Case {
    const char* args;
    int code;
    const char* err;
    const char* out;
    const char* left;   // a path the run leaves; "!path": one it must not leave
};

// Every case starts without the record folder Datos: the program makes it, and only it.
const Case kCases[] = {
    // The command line makes no sense: exit 2, before anything is read or written.
    {"generate|finished", 2, "", nullptr, nullptr},
    {"status|--port|COM1|x", 2, "", nullptr, nullptr},
    {"info|$D/r.klv|$D/spike.klv", 2, "2 given", nullptr, nullptr},
    {"summary|$D/spike.klv|--allow-above|-1", 2, "--allow-above", nullptr, nullptr},
    {"summary|$D/spike.klv|--allow-below|1.5", 2, "--allow-below", nullptr, nullptr},
    {"summary|$D/spike.klv|--allow-above|ten", 2, "--allow-above", nullptr, nullptr},
    {"summary|$D/spike.klv|--allow-below", 2, "--allow-below", nullptr, nullptr},
    {"summary|$D/spike.klv|--pdf|$D/r.png", 2, ".pdf", nullptr, "!$D/r.png"},
    // The command failed: exit 1 with one line naming what.
    {"info|--lang|1|$D/missing.klv", 1, "$D/missing.klv", nullptr, nullptr},
    {"status|--port|COM9999", 1, "COM9999", nullptr, nullptr},
    {"status|--port|$D/r.klv|--lang|1", 1, "$D/r.klv is not a serial port", nullptr, nullptr},
    {"status|--port|$D|--lang|1", 1, "$D is not a serial port", nullptr, nullptr},
    {"status|--port|/dev/null|--lang|1", 1, "/dev/null is not a serial port", nullptr, nullptr},
    {"status|--port|$D/ttyNone|--fahrenheit", 1, "$D/ttyNone: No such file", nullptr, nullptr},
    // Missing folders the user named stay missing; only the record folder itself is made.
    {"generate|empty|$D/Otra/demo.klv", 1, "cannot write", nullptr, "!$D/Otra"},
    {"generate|empty|$D/Datos/sub/demo.klv", 1, "cannot write", nullptr, "!$D/Datos"},
    {"generate|empty|$D/datos/demo.klv", 1, "cannot write", nullptr, "!$D/datos"},
    {"generate|empty|$D/Datos/demo.klv", 0, nullptr, "demo.klv", "$D/Datos/demo.klv"},
    {"csv|$D/r.klv|-o|$D/Datos/r.csv", 0, "$D/Datos/r.csv", nullptr, "$D/Datos/r.csv"},
    {"report|$D/r.klv|$D/Datos/r.pdf", 0, "$D/Datos/r.pdf", nullptr, "$D/Datos/r.pdf"},
    // A failed shipment is a result, not a failure; an allowance equal to the time above passes.
    {"summary|$D/spike.klv", 0, nullptr, "\"verdict\": \"fail\"", nullptr},
    {"summary|$D/spike.klv|--allow-above|15", 0, nullptr, "\"verdict\": \"pass\"", nullptr},
    {"summary|$D/spike.klv|--allow-above=14", 0, nullptr, "\"verdict\": \"fail\"", nullptr},
    {"summary|$D/spike.klv|--allow-below|60", 0, nullptr, "\"verdict\": \"fail\"", nullptr},
    {"summary|$D/spike.klv|--unit|F|--allow-above|15", 0, nullptr, "\"verdict\": \"pass\"", nullptr},
#ifdef ORVAN_CLI_PDF
    {"summary|$D/spike.klv|--pdf|$D/no/r.pdf", 1, "", nullptr, "!$D/no"},
#endif
};

} // namespace

TEST_F(CliProgram, ExitCodesMessagesAndFilesLeft)
{
    EXPECT_EQ(run({}).code, 2);
    for (const Case& c : kCases) {
        QDir(dir.filePath(QStringLiteral("Datos"))).removeRecursively();
        expectRun(words(c.args), c.code, c.err, c.out);
        const bool gone = c.left && *c.left == '!';
        EXPECT_TRUE(!c.left || QFileInfo::exists(expand(c.left + int(gone))) != gone) << c.args;
    }
}

TEST_F(CliProgram, HelpDescribesEveryCommandAndOption)
{
    const CliRun help = expectRun({QStringLiteral("--help")}, 0, nullptr, "\n  --version ");
    QStringList usages;
    static const QRegularExpression usageLine(QStringLiteral("^  (orvanlog-cli .*)$"), QRegularExpression::MultilineOption);
    for (auto it = usageLine.globalMatch(QString::fromUtf8(help.out)); it.hasNext();)
        usages << it.next().captured(1);
    for (const char* known : {"orvanlog-cli info FILE [options]", "orvanlog-cli generate SCENARIO FILE [options]",
                              "orvanlog-cli ports [options]", "orvanlog-cli status --port DEVICE|COM<n> [options]"})
        EXPECT_TRUE(usages.contains(QLatin1String(known))) << known;

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

// No reader waits on a FIFO, reads a device without end or leaves an output behind.
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
            const CliRun r = expectRun(words(args), 1, line);
            first = first.isEmpty() ? r.err : first;
            EXPECT_EQ(r.err, first) << reader;
        }
    }
    EXPECT_EQ(everyName(dir.path()).filter(QStringLiteral("out.")), QStringList());
}

TEST_F(CliProgram, OutputThatIsNotAnOrdinaryFileIsRefusedAndLeftAsItIs)
{
    for (const NodeRow& node : kNodes) {
        for (const char* output : {"csv|$D/r.klv|-o|$D/%1.csv", "report|$D/r.klv|$D/%1.pdf", "generate|empty|$D/%1.klv",
                                   "summary|$D/r.klv|--pdf|$D/%1.pdf"}) {
            const QStringList args = words(output).replaceInStrings(QStringLiteral("%1"), QLatin1String(node.name));
            SCOPED_TRACE(std::string(node.name) + " as output of " + output);
            if (!makeNode(node.kind, args.last()))
                continue;   // a device needs root
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

// 5, 10, 5 °C by hand: mean 20/3 to a double's last digit, ΔH/R = 10000 K, one excursion of 15 min.
TEST_F(CliProgram, SummaryWritesExactlyTheDocumentedKeysAsNumbers)
{
    const CliRun r = expectRun(words("summary|$D/spike.klv"), 0, nullptr, "\"mean\": 6.666666666666667,");
    EXPECT_TRUE(r.out.contains("\"high_limit\": 8,")) << r.out.constData();
    const QJsonObject expected = QJsonDocument::fromJson(R"({"unit": "C", "samples": 3, "missing": 0, "of": 3,
        "interval_minutes": 15, "low_limit": 2, "high_limit": 8, "min": {"value": 5, "time": "2026-12-06T14:30"},
        "max": {"value": 10, "time": "2026-12-06T14:45"}, "mean": 6.666666666666667, "mkt": 7.018046984312264,
        "minutes": {"above": 15, "below": 0, "within": 30},
        "excursions": [{"zone": "above", "start": "2026-12-06T14:45", "samples": 1, "minutes": 15, "peak": 10}],
        "allowed_minutes": {"above": 0, "below": 0}, "verdict": "fail"})").object();
    EXPECT_EQ(QJsonDocument::fromJson(r.out).object(), expected) << r.out.constData();

    const QJsonObject f = QJsonDocument::fromJson(run(words("summary|$D/spike.klv|--unit|F")).out).object();
    EXPECT_EQ(f["unit"].toString(), "F");
    EXPECT_DOUBLE_EQ(f["low_limit"].toDouble(), 35.6);
    EXPECT_DOUBLE_EQ(f["max"].toObject()["value"].toDouble(), 50.0);
    EXPECT_NEAR(f["mkt"].toDouble(), 7.018046984312264 * 1.8 + 32, 1e-9);

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

TEST(TextGridWriter, MeasuresWhatATerminalShows)
{
    const std::pair<const char16_t*, int> cases[] = {
        {u"", 0},
        {u"35.6 °F", 7},
        {u"Température", 11},
        {u"Tempe\u0301rature", 11},   // a combining accent takes no column
        {u"温度", 4},                  // wide characters take two
        {u"\U0001F321x", 3},          // and so does a pictograph beyond the first plane
        {u"a\u200Bb", 2},             // a zero-width space none
    };
    for (const auto& [text, width] : cases)
        EXPECT_EQ(displayWidth(QString::fromUtf16(text)), width) << QString::fromUtf16(text).toStdString();
}

TEST(TextGridWriter, AlignsColumnsByDisplayWidthAndNumbersRight)
{
    TextGrid grid;
    grid.heading(QStringLiteral("A heading wider than any column"))
        .row({"Température", 7, "°C"})
        .row({"温度", TextGrid::Cell::numeric(QStringLiteral("-12.5")), "°F"})
        .row({"Name\twith\ttabs", "x"})
        .row({"n"});
    // Columns by display width: tabs made blanks, numbers right, no blank ending a line.
    EXPECT_EQ(grid.text(), QStringLiteral("A heading wider than any column\n"
                                          "Température         7  °C\n"
                                          "温度            -12.5  °F\n"
                                          "Name with tabs  x\n"
                                          "n\n"));
}

TEST_F(CliTable, InfoHasLabelledRowsInTheLanguageAndUnit)
{
    const struct {
        const char *unit, *lang;
        const char16_t *lowLabel, *low, *high, *exceeded;
    } cases[] = {
        {"F", "1", u"Temperature lower limit", u"35.6  °F", u"46.4  °F", u"Low limit exceeded"},
        {"C", "1", u"Temperature lower limit", u"2.0  °C", u"8.0  °C", u"Low limit exceeded"},
        {"C", "2", u"Untere Temperaturgrenze", u"2.0  °C", u"8.0  °C", u"Untere Grenze unterschritten"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.unit) + " lang " + c.lang);
        const QStringList lines = table("info", c.unit, c.lang);
        const QString low = rowOf(lines, QString::fromUtf16(c.lowLabel));
        EXPECT_TRUE(low.endsWith(QString::fromUtf16(c.low))) << low.toStdString();
        EXPECT_FALSE(rowOf(lines, QString::fromUtf16(c.exceeded)).isEmpty());
        // The high limit is the row below the low one, in the same unit.
        EXPECT_TRUE(lines.value(int(lines.indexOf(low)) + 1).endsWith(QString::fromUtf16(c.high)));
    }

    const QStringList lines = table("info");
    // Text starts where the value column starts; the count ends where that column ends.
    const int valueColumn = columnOf(rowOf(lines, QStringLiteral("Start date/time")), QStringLiteral("2024-03-01 10:00"));
    ASSERT_GT(valueColumn, 0);
    EXPECT_EQ(columnOf(rowOf(lines, QStringLiteral("Shipper")), QStringLiteral("FRUTAS SUR")), valueColumn);
    EXPECT_EQ(columnOf(rowOf(lines, QStringLiteral("Recorded sample quantity")), QStringLiteral("2400")) + 4, valueColumn + 16);
    EXPECT_EQ(rowOf(lines, QStringLiteral("Low limit exceeded")).section(QStringLiteral("  "), -1).trimmed(), QStringLiteral("Yes"));
    EXPECT_EQ(rowOf(lines, QStringLiteral("Loop overwriting")).section(QStringLiteral("  "), -1).trimmed(), QStringLiteral("-"));
    // A name with a quotation mark and a backslash comes back whole from the JSON.
    EXPECT_EQ(json("info").object().value(QStringLiteral("Transportador")).toString().trimmed(), kCarrier);
}

TEST_F(CliTable, StatsNamesTheZonesAndAgreesWithTheJson)
{
    const QStringList lines = table("stats");
    const QJsonArray both = json("stats").object().value(QStringLiteral("histograma")).toObject().value(QStringLiteral("Cuentas")).toArray();
    const QJsonArray counts = both.at(0).toArray(), logger = both.at(1).toArray();
    ASSERT_EQ(counts.size(), 4);

    // The JSON's columns: within, above, below, total; a row: record count, %, logger count, %.
    const struct {
        const char* label;
        const char16_t* limits;
        int column;
    } zones[] = {
        {"Below the low limit", u"< 35.6 °F", 2},
        {"Within the limits", u"35.6 .. 46.4 °F", 0},
        {"Above the high limit", u"> 46.4 °F", 1},
        {"All zones", u"", 3},
    };
    for (const auto& z : zones) {
        SCOPED_TRACE(z.label);
        const QString row = rowOf(lines, QLatin1String(z.label));
        const QString limits = QString::fromUtf16(z.limits);
        ASSERT_TRUE(row.contains(limits)) << row.toStdString();
        const QStringList numbers = row.mid(int(qstrlen(z.label))).remove(limits).simplified().split(QLatin1Char(' '));
        ASSERT_EQ(numbers.size(), z.column == 3 ? 2 : 4) << row.toStdString();
        EXPECT_EQ(numbers.first().toInt(), counts.at(z.column).toInt());
        EXPECT_EQ(numbers.at(z.column == 3 ? 1 : 2).toInt(), logger.at(z.column).toInt());
    }
}

TEST_F(CliTable, AlarmsAreGroupedUnderTheirLimit)
{
    const QStringList lines = table("alarms");
    const int low = int(lines.indexOf(QStringLiteral("Temperature lower limit: 35.6 °F")));
    const int high = int(lines.indexOf(QStringLiteral("Temperature upper limit: 46.4 °F")));
    ASSERT_TRUE(low >= 1 && high > low) << lines.join(QLatin1Char('\n')).toStdString();
    const QJsonArray rows = json("alarms").array();
    ASSERT_EQ(rows.size(), 20);
    // The JSON's filled rows (row, date, time, temperature): 1 to 10 below, 11 to 20 above.
    QList<int> listed, filled;
    for (int i = 0; i < rows.size(); ++i)
        filled << (rows.at(i).toObject().value(QStringLiteral("fecha")).isString() ? i + 1 : 0);
    filled.removeAll(0);
    for (int i = low + 1; i < lines.size(); ++i) {
        const QStringList cells = lines[i].simplified().split(QLatin1Char(' '));
        if (i == high)
            continue;
        listed << (cells.size() == 4 ? cells[0].toInt() : -1);
        if (listed.last() < 1 || listed.last() > rows.size())
            continue;   // a line that is no alarm row: the list below differs
        EXPECT_EQ(listed.last() > 10, i > high) << lines[i].toStdString();
        EXPECT_EQ(cells[3].toDouble() > 46.4, i > high) << lines[i].toStdString();
        EXPECT_EQ(cells[1] + QLatin1Char('T') + cells[2], rows.at(listed.last() - 1).toObject().value(QStringLiteral("fecha")).toString());
    }
    ASSERT_TRUE(!filled.isEmpty() && filled.first() <= 10 && filled.last() > 10);   // both blocks
    EXPECT_EQ(listed, filled);
}

TEST(CliLoggerTable, StatusTableAndTraceAgainstTheEmulator)
{
    emulator::ScenarioOptions o;
    o.samples = 100;
    emulator::EmulatorFixture emu(emulator::ScenarioKind::Finished, o);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    const QString device = emu.devicePath();
    const QStringList status = QStringLiteral("status|--port|%1|--lang=1|--unit=F").arg(device).split(QLatin1Char('|'));

    const CliRun table = runCli(status + QStringList{QStringLiteral("--format"), QStringLiteral("table")});
    ASSERT_EQ(table.code, 0) << table.err.constData();
    const QStringList lines = linesOf(table.out);
    EXPECT_TRUE(rowOf(lines, QStringLiteral("On-line with KLV-100")).endsWith(QStringLiteral("Yes")));
    EXPECT_TRUE(rowOf(lines, QStringLiteral("Recorded sample quantity")).endsWith(QStringLiteral("  100")));
    EXPECT_TRUE(rowOf(lines, QStringLiteral("Temperature lower limit")).endsWith(QStringLiteral("°F")));
    EXPECT_TRUE(table.err.isEmpty()) << table.err.constData();

    // The trace on stderr, which Qt's logging rules cannot silence: the read of block 0, then the
    // 34 bytes answered, however the reads split them.
    qputenv("QT_LOGGING_RULES", "orvan.link.debug=false");
    const CliRun traced = runCli(status + QStringList{QStringLiteral("--trace")});
    qunsetenv("QT_LOGGING_RULES");
    ASSERT_EQ(traced.code, 0) << traced.err.constData();
    const QStringList trace = linesOf(traced.err);
    ASSERT_EQ(trace.value(0), device + QStringLiteral(" -> 33 00 00"));
    QString received;
    for (int i = 1; i < trace.size() && trace[i].startsWith(device + QStringLiteral(" <- ")); ++i)
        received += trace[i].mid(device.size() + 4) + QLatin1Char(' ');
    const QString block0 = QString::fromLatin1(emu.logger().memory().left(32).toHex(' '));
    EXPECT_TRUE(received.startsWith(block0 + QLatin1Char(' '))) << received.toStdString();
    EXPECT_EQ(received.simplified().split(QLatin1Char(' ')).size(), 34);
    EXPECT_EQ(QJsonDocument::fromJson(traced.out).object().value(QStringLiteral("NumMuestras")).toInt(), 100);
}
