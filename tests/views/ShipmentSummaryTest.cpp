// The shipment summary against records small enough to work out by hand: limits 2 and 8 °C
// (raw 84 and 96), a sample every 15 minutes from 6 Dec 2026 14:30. Raw r is r / 2 - 40 °C and
// r x 0.9 - 40 °F; 255 is an erased byte.

#include "records/MissionRecord.h"
#include "views/ShipmentSummary.h"

#include "TestRecords.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace orvan;
using namespace orvan::views;

namespace {

const QDateTime kStart(QDate(2026, 12, 6), QTime(14, 30), Qt::UTC);

QDateTime at(qint64 k)
{
    return kStart.addSecs(k * 15 * 60);
}

struct Expected {
    int index;   // held sample whose time it has
    double value;
};

struct ExpectedExcursion {
    Zone zone;
    int first, samples;
    double peak;
};

struct Case {
    const char* name;
    std::vector<int> samples;
    Unit unit;
    Allowances allowed;
    int missing;
    std::optional<Expected> min, max;
    std::optional<double> mean;
    qint64 within, above, below;   // minutes
    std::vector<ExpectedExcursion> excursions;
    Verdict verdict;
};

const Case kCases[] = {
    {"flat at 5 C", {90, 90, 90, 90}, Unit::Celsius, {}, 0, Expected{0, 5}, Expected{0, 5}, 5.0, 60, 0, 0, {},
     Verdict::Pass},
    {"single high spike", {90, 100, 90}, Unit::Celsius, {}, 0, Expected{0, 5}, Expected{1, 10}, 20.0 / 3, 30, 15, 0,
     {{Above, 1, 1, 10}}, Verdict::Fail},
    {"high spike within an allowance equal to it", {90, 100, 90}, Unit::Celsius, {15, 0}, 0, Expected{0, 5},
     Expected{1, 10}, 20.0 / 3, 30, 15, 0, {{Above, 1, 1, 10}}, Verdict::Pass},
    {"the above allowance does not cover time below", {90, 80, 90}, Unit::Celsius, {1000, 0}, 0, Expected{1, 0},
     Expected{0, 5}, 10.0 / 3, 30, 0, 15, {{Below, 1, 1, 0}}, Verdict::Fail},
    {"two low spikes: the first of equal minima counts", {90, 80, 90, 80}, Unit::Celsius, {0, 30}, 0,
     Expected{1, 0}, Expected{0, 5}, 2.5, 30, 0, 30, {{Below, 1, 1, 0}, {Below, 3, 1, 0}}, Verdict::Pass},
    {"a run's peak is its highest sample, not its first", {90, 97, 100, 98, 90}, Unit::Celsius, {}, 0,
     Expected{0, 5}, Expected{2, 10}, 37.5 / 5, 30, 45, 0, {{Above, 1, 3, 10}}, Verdict::Fail},
    {"a missing byte splits a run and fails any allowance", {100, 101, 255, 102, 90}, Unit::Celsius, {1000, 1000},
     1, Expected{4, 5}, Expected{3, 11}, 36.5 / 4, 15, 45, 0, {{Above, 0, 2, 10.5}, {Above, 3, 1, 11}},
     Verdict::Fail},
    {"a sample equal to each limit is within", {84, 96, 84}, Unit::Celsius, {}, 0, Expected{0, 2}, Expected{1, 8},
     4.0, 45, 0, 0, {}, Verdict::Pass},
    {"one step past each limit, zone changing without a within sample", {83, 97}, Unit::Celsius, {}, 0,
     Expected{0, 1.5}, Expected{1, 8.5}, 5.0, 0, 15, 15, {{Below, 0, 1, 1.5}, {Above, 1, 1, 8.5}}, Verdict::Fail},
    {"hot bytes are temperatures", {90, 254}, Unit::Celsius, {}, 0, Expected{0, 5}, Expected{1, 87}, 46.0, 15, 15, 0,
     {{Above, 1, 1, 87}}, Verdict::Fail},
    {"empty record", {}, Unit::Celsius, {}, 0, std::nullopt, std::nullopt, std::nullopt, 0, 0, 0, {}, Verdict::NoData},
    {"only erased bytes", {255, 255}, Unit::Celsius, {}, 2, std::nullopt, std::nullopt, std::nullopt, 0, 0, 0, {},
     Verdict::NoData},
    // 41, 50, 41 °F; the limits are 35.6 and 46.4 °F.
    {"Fahrenheit high spike", {90, 100, 90}, Unit::Fahrenheit, {}, 0, Expected{0, 41}, Expected{1, 50}, 44.0, 30, 15,
     0, {{Above, 1, 1, 50}}, Verdict::Fail},
};

TEST(ShipmentSummary, FiguresOfHandComputedRecords)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const records::MissionRecord r = testdata::makeRecord({int(c.samples.size())}, c.samples);
        const ShipmentSummary s = summarize(r, c.unit, c.allowed);
        EXPECT_EQ(s.samples, int(c.samples.size()));
        EXPECT_EQ(s.of, int(c.samples.size()));
        EXPECT_FALSE(s.partial());
        EXPECT_EQ(s.missing, c.missing);
        EXPECT_EQ(s.interval, 15);
        EXPECT_DOUBLE_EQ(s.lowLimit, c.unit == Unit::Celsius ? 2.0 : 35.6);
        EXPECT_DOUBLE_EQ(s.highLimit, c.unit == Unit::Celsius ? 8.0 : 46.4);
        ASSERT_EQ(s.min.has_value(), c.min.has_value());
        ASSERT_EQ(s.max.has_value(), c.max.has_value());
        ASSERT_EQ(s.mean.has_value(), c.mean.has_value());
        EXPECT_EQ(s.mkt.has_value(), c.mean.has_value());
        if (c.min) {
            EXPECT_DOUBLE_EQ(s.min->value, c.min->value);
            EXPECT_EQ(s.min->time, at(c.min->index));
            EXPECT_DOUBLE_EQ(s.max->value, c.max->value);
            EXPECT_EQ(s.max->time, at(c.max->index));
            EXPECT_NEAR(*s.mean, *c.mean, 1e-12);
        }
        EXPECT_EQ(s.minutesWithin, c.within);
        EXPECT_EQ(s.minutesAbove, c.above);
        EXPECT_EQ(s.minutesBelow, c.below);
        ASSERT_EQ(s.excursions.size(), qsizetype(c.excursions.size()));
        for (size_t i = 0; i < c.excursions.size(); ++i) {
            const Excursion& e = s.excursions[qsizetype(i)];
            const ExpectedExcursion& x = c.excursions[i];
            EXPECT_EQ(e.zone, x.zone) << i;
            EXPECT_EQ(e.start, at(x.first)) << i;
            EXPECT_EQ(e.samples, x.samples) << i;
            EXPECT_EQ(e.minutes, x.samples * 15) << i;
            EXPECT_DOUBLE_EQ(e.peak, x.peak) << i;
        }
        EXPECT_EQ(s.verdict, c.verdict);
        // The window's allowance fields recompute the same verdict without the samples.
        EXPECT_EQ(judge(s, c.allowed), c.verdict);
    }
}

TEST(ShipmentSummary, MeanKineticTemperature)
{
    // 12 samples at 2 °C and 12 at 8 °C: with T = 275.15 K and 281.15 K,
    //   e^(-10000/275.15) = e^-36.34381, e^(-10000/281.15) = e^-35.56820,
    //   ln of their mean = -35.56820 + ln((1 + e^-0.77561) / 2) = -35.56820 - 0.31441 = -35.88261,
    //   MKT = 10000 / 35.88261 - 273.15 = 5.53642 °C, above the arithmetic mean of 5 as the
    // exponential weighs the warm half more; 5.53642 x 9/5 + 32 = 41.96556 °F.
    // (Checked separately in double precision: 5.536424508866332 and 41.965564115959396.)
    std::vector<int> alternating;
    for (int i = 0; i < 12; ++i)
        alternating.insert(alternating.end(), {84, 96});
    const struct {
        const char* name;
        std::vector<int> samples;
        Unit unit;
        double mkt;
    } cases[] = {
        {"alternating 2 and 8 C", alternating, Unit::Celsius, 5.536424508866332},
        {"alternating, in Fahrenheit", alternating, Unit::Fahrenheit, 41.965564115959396},
        {"a constant temperature is its own MKT", {90, 90, 90}, Unit::Celsius, 5.0},
        {"erased bytes take no part", {84, 255, 96}, Unit::Celsius, 5.536424508866332},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const records::MissionRecord r = testdata::makeRecord({int(c.samples.size())}, c.samples);
        const ShipmentSummary s = summarize(r, c.unit);
        ASSERT_TRUE(s.mkt.has_value());
        EXPECT_NEAR(*s.mkt, c.mkt, 1e-9);
    }
}

// A mission of 30000 samples keeps 24576: a circular one its last (slot (5424 + i) mod 24576
// for held sample i, mission sample 5424 + i), a straight one its first.
TEST(ShipmentSummary, OverfullMissionSummarisesTheHeldSamplesOnly)
{
    const int first = 30000 - records::kCapacity;   // 5424
    const struct {
        const char* name;
        bool circular;
        qint64 oldestSlot, oldestMissionSample;
        const char* note;
    } cases[] = {
        {"circular", true, first, first, "the last 24576 of 30000 samples"},
        {"straight", false, 0, 0, "the first 24576 of 30000 samples"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int> slots(records::kCapacity, 90);
        const qint64 newestSlot = (c.oldestSlot + records::kCapacity - 1) % records::kCapacity;
        slots[size_t(c.oldestSlot)] = 100;   // the oldest held sample is above
        slots[size_t(newestSlot)] = 80;      // the newest is below
        slots[size_t((c.oldestSlot + 100) % records::kCapacity)] = 255;
        const records::MissionRecord r = testdata::makeRecord({30000, 84, 96, 15, c.circular}, slots);
        const ShipmentSummary s = summarize(r, Unit::Celsius);
        EXPECT_EQ(s.samples, records::kCapacity);
        EXPECT_EQ(s.of, 30000);
        EXPECT_EQ(s.missing, 1);
        EXPECT_TRUE(s.partial());
        ASSERT_EQ(s.excursions.size(), 2);
        EXPECT_EQ(s.excursions[0].zone, Above);
        EXPECT_EQ(s.excursions[0].start, at(c.oldestMissionSample));
        EXPECT_EQ(s.excursions[1].zone, Below);
        EXPECT_EQ(s.excursions[1].start, at(c.oldestMissionSample + records::kCapacity - 1));
        ASSERT_TRUE(s.max.has_value());
        EXPECT_EQ(s.max->time, at(c.oldestMissionSample));
        EXPECT_EQ(s.minutesWithin, (records::kCapacity - 3) * 15);
        EXPECT_EQ(s.verdict, Verdict::Fail);
        EXPECT_EQ(heldNote(s, 1), QString::fromLatin1(c.note));
    }
    const records::MissionRecord whole = testdata::makeRecord({3}, {90, 90, 90});
    EXPECT_TRUE(heldNote(summarize(whole, Unit::Celsius), 1).isEmpty());
}

} // namespace
