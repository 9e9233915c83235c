// The device model: missions as the PC arms them, what the logger records, and its fault modes.

#include "tools/emulator/Logger.h"
#include "tools/emulator/Scenarios.h"
#include "records/MissionRecord.h"

#include "support/ImageTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace orvan::emulator;

namespace {

const QDateTime kStamp(QDate(2024, 3, 1), QTime(10, 0), Qt::UTC);

quint8 at(const QByteArray& m, int a)
{
    return quint8(m[a]);
}

ScenarioOptions options(int interval, int delay, TemperatureProfile profile = {})
{
    ScenarioOptions o;
    o.interval = interval;
    o.delay = delay;
    o.profile = std::move(profile);
    return o;
}

// The preparation's writes with a sensor that reads a constant temperature.
void arm(Logger& logger, int interval, int delay, double celsius, quint8 mode, quint8 status)
{
    logger.setProfile(constantProfile(celsius));
    Scenarios::prepare(logger, options(interval, delay), kStamp, mode, status);
}

} // namespace

TEST(EmulatorLogger, SetTimeMissionStartsAtStampPlusDelayAndSamplesEveryInterval)
{
    Logger logger;
    arm(logger, 15, 30, 5.0, 0, 32);
    EXPECT_EQ(logger.phase(), Logger::Phase::WaitingStart);
    logger.advanceMinutes(29);
    EXPECT_EQ(logger.sampleCount(), 0u);
    logger.advanceMinutes(1);
    EXPECT_EQ(logger.phase(), Logger::Phase::Recording);
    EXPECT_EQ(logger.sampleCount(), 1u);   // sample 0 at the start minute
    EXPECT_EQ(logger.peek(Logger::kSampleBase), 90);   // 5 °C
    logger.advanceMinutes(14);
    EXPECT_EQ(logger.sampleCount(), 1u);
    logger.advanceMinutes(1 + 15 * 98);
    EXPECT_EQ(orvan::test::imageInt24(logger.memory(), Logger::AddrCount), 100);
}

TEST(EmulatorLogger, PushButtonStoresMinutesToThePressAndStartsAfterTheDelay)
{
    Logger logger;
    arm(logger, 5, 10, 4.0, 16, 0);
    EXPECT_EQ(logger.phase(), Logger::Phase::WaitingButton);
    logger.advanceMinutes(1000);
    EXPECT_EQ(logger.sampleCount(), 0u);
    ASSERT_TRUE(logger.pressButton());
    EXPECT_EQ(logger.peek(0) + 256 * logger.peek(1), 1000);
    EXPECT_EQ(logger.peek(258) & 32, 32);
    EXPECT_FALSE(logger.pressButton());   // pressed once per preparation
    logger.advanceMinutes(9);
    EXPECT_EQ(logger.sampleCount(), 0u);
    logger.advanceMinutes(1);   // stamp + EsperaInicio + DemoraInicio
    EXPECT_EQ(logger.sampleCount(), 1u);
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
        EXPECT_EQ(bool(at(m, 258) & 4), c.lowAlarm);
        EXPECT_EQ(bool(at(m, 258) & 2), c.highAlarm);
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
        ASSERT_EQ(at(m, Logger::kSampleBase + k % Logger::kCapacity), k % 251) << "sample " << k;
    // The count table covers the whole mission, overwritten samples included.
    int total = 0;
    for (int raw = 0; raw < 256; ++raw)
        total += at(m, 4096 + 2 * raw) * 256 + at(m, 4097 + 2 * raw);
    EXPECT_EQ(total, 30000);
}

TEST(EmulatorLogger, FaultsShapeTheRepliesAndCanBeSwitchedOff)
{
    const QByteArray readBlock2 = QByteArray::fromHex("330040");
    const std::vector<std::pair<Fault, std::vector<int>>> cases = {   // sizes of successive block reads
        {Fault::ShortReply, {33, 33}}, {Fault::LongReply, {40, 40}}, {Fault::Silent, {0, 0}}, {Fault::SilentAfter, {34, 34, 0}},
        {Fault::DropsWrites, {34, 34}},
    };
    for (const auto& [fault, sizes] : cases) {
        SCOPED_TRACE(Logger::faultName(fault).toStdString());
        Logger logger;
        logger.setFault(fault, 2);
        for (int expected : sizes)
            EXPECT_EQ(logger.handleFrame(readBlock2).size(), expected);
        const bool ignoresWrites = sizes.back() == 0 || fault == Fault::DropsWrites;
        logger.handleFrame(QByteArray::fromHex("22000507"));
        logger.handleFrame(QByteArray::fromHex("220608"));
        EXPECT_EQ(logger.peek(5) == 7, !ignoresWrites) << "a silent logger acts on nothing";
        EXPECT_EQ(logger.peek(6) == 8, !ignoresWrites);
        logger.setFault(Fault::None);
        EXPECT_EQ(logger.handleFrame(readBlock2).size(), 34);
    }
}

// The emulator keeps its own map of the logger's memory on purpose, so that it checks the
// program instead of repeating it; the two must still describe the same logger.
TEST(Logger, ItsMemoryMapIsTheProgramsMap)
{
    using L = orvan::emulator::Logger;
    namespace r = orvan::records;
    EXPECT_EQ(L::kMemorySize, r::kImageSize);
    EXPECT_EQ(L::kSampleBase, r::kSampleBase);
    EXPECT_EQ(L::kCapacity, r::kCapacity);
    EXPECT_EQ(L::kLowAlarms, r::AddrLowAlarms);
    EXPECT_EQ(L::kHighAlarms, r::AddrHighAlarms);
    EXPECT_EQ(L::kAlarmEntries, r::kAlarmSlots);
    const std::pair<int, int> fields[] = {
        {L::AddrEsperaInicio, r::AddrWait},      {L::AddrLowLimit, r::AddrLowLimit},
        {L::AddrHighLimit, r::AddrHighLimit},    {L::AddrInterval, r::AddrInterval},
        {L::AddrDemoraInicio, r::AddrDelay},     {L::AddrStamp, r::AddrStampMinute},
        {L::AddrCount, r::AddrSampleCount},      {L::AddrExporter, r::AddrExporter},
        {L::AddrCarrier, r::AddrCarrier},        {L::AddrSerial, r::AddrSerial},
        {L::AddrMode, r::AddrMode},              {L::AddrStatus, r::AddrStatus},
    };
    for (const auto& [emulated, ours] : fields)
        EXPECT_EQ(emulated, ours);
}
