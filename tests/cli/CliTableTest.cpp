// orvanlog-cli for people: the table writer on its own, then --format table and the byte trace as
// a user sees them, against a generated record and the emulator; the tables agree with the JSON.

#include "support/RunCli.h"
#include "tools/cli/TextGrid.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan;
using orvan::cli::displayWidth;
using orvan::cli::TextGrid;
using orvan::test::CliRun;
using orvan::test::runCli;

namespace {

QStringList linesOf(const QByteArray& text)
{
    return QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The line of the table whose label is `label`; empty when there is none.
QString rowOf(const QStringList& lines, const QString& label)
{
    for (const QString& line : lines) {
        if (line.startsWith(label + QStringLiteral("  ")))
            return line;
    }
    return {};
}

// The display column where `text` starts in `line`, or -1.
int columnOf(const QString& line, const QString& text)
{
    const int at = int(line.indexOf(text));
    return at < 0 ? -1 : displayWidth(line.left(at));
}

// A record with alarms in both blocks; its carrier holds the characters JSON must escape.
const QString kCarrier = QStringLiteral("NAV \"AZUL\"\\1");

class CliTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_record = m_dir.filePath(QStringLiteral("alarms.klv"));
        const CliRun gen = runCli({QStringLiteral("generate"), QStringLiteral("alarms"), m_record, QStringLiteral("--carrier"), kCarrier});
        ASSERT_EQ(gen.code, 0) << gen.err.constData();
    }
    QStringList table(const char* command, const char* unit = "F", const char* lang = "1") const
    {
        const CliRun r = runCli({QLatin1String(command), m_record, QStringLiteral("--format"), QStringLiteral("table"),
                                 QStringLiteral("--lang"), QLatin1String(lang), QStringLiteral("--unit"), QLatin1String(unit)});
        EXPECT_EQ(r.code, 0) << r.err.constData();
        return linesOf(r.out);
    }
    QJsonDocument json(const char* command) const
    {
        const CliRun r = runCli({QLatin1String(command), m_record, QStringLiteral("--unit"), QStringLiteral("F")});
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(r.out, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out.constData();
        return doc;
    }

    QTemporaryDir m_dir;
    QString m_record;
};

} // namespace

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
    const QStringList lines = grid.text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 6);   // five lines and the final line break
    EXPECT_EQ(lines[0], QStringLiteral("A heading wider than any column"));
    // The first column is as wide on screen as "Name with tabs" (tabs made blanks), the heading
    // widens nothing, and the wide characters count twice: the second column starts at 16 on
    // every row. Numbers end together, text starts together; the units follow at 23.
    EXPECT_EQ(lines[3], QStringLiteral("Name with tabs  x"));
    EXPECT_EQ(columnOf(lines[1], QStringLiteral("7")), 20);
    EXPECT_EQ(columnOf(lines[2], QStringLiteral("-12.5")), 16);
    EXPECT_EQ(columnOf(lines[1], QStringLiteral("°C")), 23);
    EXPECT_EQ(columnOf(lines[2], QStringLiteral("°F")), 23);
    // No blanks at a line's end, even for a short row.
    EXPECT_EQ(lines[4], QStringLiteral("n"));
    for (const QString& line : lines)
        EXPECT_FALSE(line.endsWith(QLatin1Char(' '))) << line.toStdString();
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
    const QString exporter = rowOf(lines, QStringLiteral("Shipper"));
    const QString start = rowOf(lines, QStringLiteral("Start date/time"));
    const QString count = rowOf(lines, QStringLiteral("Recorded sample quantity"));
    // Text starts where the value column starts; the count ends where that column ends.
    const int valueColumn = columnOf(start, QStringLiteral("2024-03-01 10:00"));
    ASSERT_GT(valueColumn, 0);
    EXPECT_EQ(columnOf(exporter, QStringLiteral("FRUTAS SUR")), valueColumn);
    EXPECT_EQ(columnOf(count, QStringLiteral("2400")) + 4, valueColumn + 16);
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

    // The JSON's columns are within, above, below, total; the table names each row. The first
    // such row is the histogram's: record count, %, logger count, % (no % in the totals).
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

    // The bins add up to the samples in the record, and each bin's count ends under its header.
    const int header = int(lines.indexOf(rowOf(lines, QStringLiteral("Temperature (°F)"))));
    ASSERT_GE(header, 0);
    const int countEnd = columnOf(lines[header], QStringLiteral("Samples in the record")) + 21;
    int sum = 0;
    for (const QString& bin : lines.mid(header + 1)) {
        const QStringList cells = bin.simplified().split(QLatin1Char(' '));
        ASSERT_EQ(cells.size(), 3) << bin.toStdString();
        EXPECT_TRUE(cells[0].contains(QLatin1Char('.'))) << bin.toStdString();
        EXPECT_EQ(columnOf(bin, QLatin1Char(' ') + cells[1] + QLatin1Char(' ')) + 1 + int(cells[1].size()), countEnd)
            << bin.toStdString();
        sum += cells[1].toInt();
    }
    EXPECT_EQ(sum, counts.at(3).toInt());
}

TEST_F(CliTable, AlarmsAreGroupedUnderTheirLimit)
{
    const QStringList lines = table("alarms");
    const int low = int(lines.indexOf(QStringLiteral("Temperature lower limit: 35.6 °F")));
    const int high = int(lines.indexOf(QStringLiteral("Temperature upper limit: 46.4 °F")));
    ASSERT_GE(low, 1);
    ASSERT_GT(high, low);
    const QJsonArray rows = json("alarms").array();
    ASSERT_EQ(rows.size(), 20);
    // Each group holds the JSON's filled rows of its block, below or above its limit.
    const struct {
        int from, to, firstRow;
        bool above;
    } groups[] = {{low + 1, high, 1, false}, {high + 1, int(lines.size()), 11, true}};
    for (const auto& g : groups) {
        int filled = 0;
        for (int i = g.firstRow; i < g.firstRow + 10; ++i)
            filled += rows.at(i - 1).toObject().value(QStringLiteral("fecha")).isString() ? 1 : 0;
        ASSERT_EQ(g.to - g.from, filled);
        for (int i = g.from; i < g.to; ++i) {
            const QStringList cells = lines[i].simplified().split(QLatin1Char(' '));
            ASSERT_EQ(cells.size(), 4) << lines[i].toStdString();   // row, date, time, temperature
            EXPECT_GE(cells[0].toInt(), g.firstRow);
            EXPECT_LT(cells[0].toInt(), g.firstRow + 10);
            EXPECT_EQ(cells[1] + QLatin1Char('T') + cells[2], rows.at(cells[0].toInt() - 1).toObject().value(QStringLiteral("fecha")).toString());
            EXPECT_EQ(cells[3].toDouble() > 46.4, g.above) << lines[i].toStdString();
        }
    }
}

TEST(CliLoggerTable, StatusTableAndTraceAgainstTheEmulator)
{
    emulator::ScenarioOptions o;
    o.samples = 100;
    emulator::EmulatorFixture emu(emulator::ScenarioKind::Finished, o);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    const QString device = emu.devicePath();
    const QStringList status = {QStringLiteral("status"), QStringLiteral("--port"), device, QStringLiteral("--lang"),
                                QStringLiteral("1"), QStringLiteral("--unit"), QStringLiteral("F")};

    const CliRun table = runCli(status + QStringList{QStringLiteral("--format"), QStringLiteral("table")});
    ASSERT_EQ(table.code, 0) << table.err.constData();
    const QStringList lines = linesOf(table.out);
    EXPECT_TRUE(rowOf(lines, QStringLiteral("On-line with KLV-100")).endsWith(QStringLiteral("Yes")));
    EXPECT_TRUE(rowOf(lines, QStringLiteral("Recorded sample quantity")).endsWith(QStringLiteral("  100")));
    EXPECT_TRUE(rowOf(lines, QStringLiteral("Temperature lower limit")).endsWith(QStringLiteral("°F")));
    EXPECT_TRUE(table.err.isEmpty()) << table.err.constData();

    // The trace, on stderr only: the read of block 0 the status starts with, then the bytes the
    // logger answered, however the reads split them: its memory's first block and two more.
    // The logging variables that once turned it on neither turn it on nor silence it.
    qputenv("QT_LOGGING_RULES", "orvan.link.debug=false");
    const CliRun traced = runCli(status + QStringList{QStringLiteral("--trace")});
    qputenv("QT_LOGGING_RULES", "orvan.link.debug=true");
    qputenv("ORVAN_CLI_DEBUG", "1");
    const CliRun quiet = runCli(status);
    qunsetenv("QT_LOGGING_RULES");
    qunsetenv("ORVAN_CLI_DEBUG");
    ASSERT_EQ(traced.code, 0) << traced.err.constData();
    const QStringList trace = linesOf(traced.err);
    ASSERT_GE(trace.size(), 2);
    EXPECT_EQ(trace[0], device + QStringLiteral(" -> 33 00 00"));
    QString received;
    for (int i = 1; i < trace.size() && trace[i].startsWith(device + QStringLiteral(" <- ")); ++i)
        received += trace[i].mid(device.size() + 4) + QLatin1Char(' ');
    const QString block0 = QString::fromLatin1(emu.logger().memory().left(32).toHex(' '));
    EXPECT_TRUE(received.startsWith(block0 + QLatin1Char(' '))) << received.toStdString();
    EXPECT_EQ(received.simplified().split(QLatin1Char(' ')).size(), 34);
    EXPECT_EQ(QJsonDocument::fromJson(traced.out).object().value(QStringLiteral("NumMuestras")).toInt(), 100);
    ASSERT_EQ(quiet.code, 0) << quiet.err.constData();
    EXPECT_TRUE(quiet.err.isEmpty()) << quiet.err.constData();
}
