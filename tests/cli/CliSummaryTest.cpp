// orvanlog-cli summary as a script uses it: exactly the documented keys with numbers as numbers,
// exit 0 for a failed shipment, 2 for a bad allowance and 1, with the line every command gives,
// for a file it cannot read.

#include "records/RecordImages.h"
#include "support/RunCli.h"
#include "views/TestRecords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan;
using orvan::test::CliRun;
using orvan::test::runCli;

namespace {

class CliSummary : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // 5, 10, 5 °C between limits of 2 and 8 °C, every 15 minutes from 6 Dec 2026 14:30.
        const records::MissionRecord r = views::testdata::makeRecord({3}, {90, 100, 90});
        record = dir.filePath(QStringLiteral("spike.klv"));
        ASSERT_TRUE(records::testdata::writeFile(record, r.fileImage()));
    }

    CliRun summary(const QStringList& more = {}) const
    {
        return runCli(QStringList{QStringLiteral("summary"), record} + more);
    }

    QTemporaryDir dir;
    QString record;
};

QJsonObject parse(const CliRun& r)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out.constData();
    return doc.object();
}

} // namespace

TEST_F(CliSummary, WritesExactlyTheDocumentedKeysAsNumbers)
{
    const CliRun r = summary();
    ASSERT_EQ(r.code, 0) << r.err.constData();
    const QJsonObject o = parse(r);
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
    EXPECT_EQ(o["allowed_minutes"].toObject().keys(), QStringList({"above", "below"}));
    // Shortest round-trip forms: 20/3 with every digit a double holds, whole values without a point.
    EXPECT_TRUE(r.out.contains("\"mean\": 6.666666666666667,")) << r.out.constData();
    EXPECT_TRUE(r.out.contains("\"high_limit\": 8,")) << r.out.constData();
}

TEST_F(CliSummary, ExitCodesAndVerdicts)
{
    const struct {
        const char* name;
        QStringList args;
        int code;
        const char* verdict;   // nullptr: nothing on stdout
    } cases[] = {
        {"a failed shipment is a result", {}, 0, "fail"},
        {"an allowance equal to the time above passes", {"--allow-above", "15"}, 0, "pass"},
        {"an allowance below it fails", {"--allow-above=14"}, 0, "fail"},
        {"the below allowance does not cover time above", {"--allow-below", "60"}, 0, "fail"},
        {"Fahrenheit", {"--unit", "F", "--allow-above", "15"}, 0, "pass"},
        {"negative allowance", {"--allow-above", "-1"}, 2, nullptr},
        {"fractional allowance", {"--allow-below", "1.5"}, 2, nullptr},
        {"allowance that is not a number", {"--allow-above", "ten"}, 2, nullptr},
        {"allowance without a value", {"--allow-below"}, 2, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun r = summary(c.args);
        EXPECT_EQ(r.code, c.code) << r.err.constData();
        if (c.verdict) {
            EXPECT_EQ(parse(r)["verdict"].toString(), c.verdict);
        } else {
            EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
        }
    }
    const QJsonObject f = parse(summary({"--unit", "F"}));
    EXPECT_EQ(f["unit"].toString(), "F");
    EXPECT_DOUBLE_EQ(f["low_limit"].toDouble(), 35.6);
    EXPECT_DOUBLE_EQ(f["max"].toObject()["value"].toDouble(), 50.0);
}

TEST_F(CliSummary, AnUnreadableFileGivesTheLineOfTheOtherCommands)
{
    for (const QString& bad : {dir.filePath(QStringLiteral("absent.klv")), dir.path()}) {
        SCOPED_TRACE(bad.toStdString());
        const CliRun s = runCli({QStringLiteral("summary"), bad, QStringLiteral("--lang=1")});
        const CliRun info = runCli({QStringLiteral("info"), bad, QStringLiteral("--lang=1")});
        EXPECT_EQ(s.code, 1);
        EXPECT_TRUE(s.out.isEmpty()) << s.out.constData();
        EXPECT_EQ(s.err.count('\n'), 1) << s.err.constData();
        EXPECT_EQ(s.err, info.err);
    }
}

TEST_F(CliSummary, TableIsInTheLanguage)
{
    const CliRun en = summary({"--format", "table", "--lang", "1"});
    const CliRun es = summary({"--format", "table", "--lang", "0"});
    ASSERT_EQ(en.code, 0) << en.err.constData();
    ASSERT_EQ(es.code, 0) << es.err.constData();
    // The verdict comes first, where a reader looks.
    const auto firstLine = [](const CliRun& r) { return QString::fromUtf8(r.out).section('\n', 0, 0).simplified(); };
    EXPECT_EQ(firstLine(en), "Verdict Fail");
    EXPECT_EQ(firstLine(es), "Veredicto Rechazado");
    EXPECT_TRUE(en.out.contains("Mean kinetic temperature")) << en.out.constData();
}
