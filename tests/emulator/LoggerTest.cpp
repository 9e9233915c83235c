// The device model: missions as the PC arms them and what the logger records.

#include "tools/emulator/Logger.h"
#include "tools/emulator/Scenarios.h"
#include "support/ImageTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace orvan::emulator;

namespace {

const QDateTime kStamp(QDate(2024, 3, 1), QTime(10, 0), Qt::UTC);

ScenarioOptions options(int interval, int delay, TemperatureProfile profile = {})
{
    ScenarioOptions o;
    o.interval = interval;
    o.delay = delay;
    o.profile = std::move(profile);
    return o;
}

// The preparation's writes, with a sensor that reads 5 °C.
void arm(Logger& logger, int interval, int delay, quint8 mode, quint8 status)
{
    logger.setProfile(constantProfile(5.0));
    Scenarios::prepare(logger, options(interval, delay), kStamp, mode, status);
}

} // namespace

// A set-time mission starts at stamp + delay; a push-button one at the press + delay, and keeps the
// minutes to the press. Either takes sample 0 at its start minute, then one every interval.
TEST(EmulatorLogger, ArmedMissionsStartWhenTheyShouldAndSampleEveryInterval)
{
    Logger setTime, button;
    arm(setTime, 15, 30, 0, 32);
    arm(button, 5, 10, 16, 0);
    EXPECT_EQ(setTime.phase(), Logger::Phase::WaitingStart);
    EXPECT_EQ(button.phase(), Logger::Phase::WaitingButton);
    setTime.advanceMinutes(29);
    button.advanceMinutes(1000);
    EXPECT_EQ(setTime.sampleCount() + button.sampleCount(), 0u);
    ASSERT_TRUE(button.pressButton());
    EXPECT_FALSE(button.pressButton()) << "pressed once per preparation";
    EXPECT_EQ(button.peek(0) + 256 * button.peek(1), 1000);
    EXPECT_EQ(button.peek(258) & 32, 32);
    button.advanceMinutes(9);
    setTime.advanceMinutes(1);
    EXPECT_EQ(button.sampleCount(), 0u);
    EXPECT_EQ(setTime.phase(), Logger::Phase::Recording);
    EXPECT_EQ(setTime.sampleCount(), 1u);
    EXPECT_EQ(setTime.peek(Logger::kSampleBase), 90);   // 5 °C
    button.advanceMinutes(1);
    setTime.advanceMinutes(14);
    EXPECT_EQ(button.sampleCount() + setTime.sampleCount(), 2u);
    setTime.advanceMinutes(1 + 15 * 98);
    EXPECT_EQ(orvan::test::imageInt24(setTime.memory(), Logger::AddrCount), 100);
}

TEST(EmulatorLogger, CountAndAlarmTablesFollowTheSamples)
{
    struct Case {
        const char* name;
        int samples;
        double low, high;
        TemperatureProfile profile;
        bool lowAlarm, highAlarm;
    };
    const std::vector<Case> cases = {
        {"crossings every other sample", 60, 2.0, 8.0,
         [](qint64 m) { return (m / 15) % 2 ? 12.0 : -5.0; }, true, true},
        {"below from the first sample", 20, 2.0, 8.0, constantProfile(-10.0), true, false},
        {"no limits", 100, NAN, NAN, {}, false, false},
        {"on the limits is within", 40, 2.0, 8.0, [](qint64 m) { return (m / 15) % 2 ? 8.0 : 2.0; }, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScenarioOptions o = options(15, 30, c.profile);
        o.samples = c.samples;
        o.low = c.low;
        o.high = c.high;
        const QByteArray m = Scenarios::finished(o)->memory();
        EXPECT_EQ(orvan::test::imageInt24(m, Logger::AddrCount), c.samples);
        EXPECT_EQ(bool(quint8(m[258]) & 4), c.lowAlarm);
        EXPECT_EQ(bool(quint8(m[258]) & 2), c.highAlarm);
        orvan::test::expectTablesFollowSamples(m, m.mid(Logger::kSampleBase, c.samples));
    }
}

TEST(EmulatorLogger, CircularMissionWrapsAndKeepsCounting)
{
    ScenarioOptions o = options(1, 0, [](qint64 m) { return double(m % 251) / 2.0 - 40.0; });
    o.samples = 30000;
    const QByteArray m = Scenarios::circular(o)->memory();
    EXPECT_EQ(orvan::test::imageInt24(m, Logger::AddrCount), 30000);
    // The newest 24576 samples are held, each at 8192 + (k mod 24576).
    for (int k = 30000 - Logger::kCapacity; k < 30000; ++k)
        ASSERT_EQ(quint8(m[Logger::kSampleBase + k % Logger::kCapacity]), k % 251) << "sample " << k;
    // The count table covers the whole mission, overwritten samples included.
    int total = 0;
    for (int raw = 0; raw < 256; ++raw)
        total += quint8(m[4096 + 2 * raw]) * 256 + quint8(m[4097 + 2 * raw]);
    EXPECT_EQ(total, 30000);
}
