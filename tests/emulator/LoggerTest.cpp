// The device model: missions as the PC arms them, what the logger records, and its frames.

#include "tools/emulator/Logger.h"
#include "tools/emulator/Scenarios.h"

#include "link/Encodings.h"
#include "shell/RuntimeError.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

using namespace orvan::emulator;

namespace {

const QDateTime kStamp(QDate(2024, 3, 1), QTime(10, 0), Qt::UTC);

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}

quint8 at(const QByteArray& m, int a)
{
    return quint8(m[a]);
}

quint32 le24(const QByteArray& m, int a)
{
    return at(m, a) | at(m, a + 1) << 8 | at(m, a + 2) << 16;
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

// The count table, the alarm tables and the alarm bits must follow from the samples alone.
void expectConsistent(const QByteArray& m, int samples)
{
    std::vector<int> counts(256, 0);
    for (int k = 0; k < samples; ++k)
        ++counts[at(m, Logger::kSampleBase + k)];
    for (int raw = 0; raw < 512; ++raw) {
        const int entry = at(m, 4096 + 2 * raw) * 256 + at(m, 4096 + 2 * raw + 1);
        EXPECT_EQ(entry, raw < 256 ? counts[size_t(raw)] : 0) << "count of raw " << raw;
    }
    const int low = at(m, Logger::AddrLowLimit), high = at(m, Logger::AddrHighLimit);
    std::vector<quint32> lows, highs;
    for (int k = 0; k < samples; ++k) {
        const int raw = at(m, Logger::kSampleBase + k);
        const int prev = k > 0 ? at(m, Logger::kSampleBase + k - 1) : -1;
        if (low != 0 && raw < low && !(prev >= 0 && prev < low))
            lows.push_back(quint32(k + 1));
        if (high != 0 && raw > high && !(prev > high))
            highs.push_back(quint32(k + 1));
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(le24(m, 1280 + 3 * i), size_t(i) < lows.size() ? lows[size_t(i)] : 0u) << "low entry " << i;
        EXPECT_EQ(le24(m, 1312 + 3 * i), size_t(i) < highs.size() ? highs[size_t(i)] : 0u) << "high entry " << i;
    }
    EXPECT_EQ(bool(at(m, 258) & 4), !lows.empty());
    EXPECT_EQ(bool(at(m, 258) & 2), !highs.empty());
}

} // namespace

TEST(EmulatorLogger, SetTimeMissionStartsAtStampPlusDelayAndSamplesEveryInterval)
{
    Logger logger;
    arm(logger, 15, 30, 5.0, 0, 32);
    EXPECT_EQ(logger.phase(), Logger::Phase::WaitingStart);
    EXPECT_EQ(logger.peek(258), 32);   // the preparation's write cleared "no data"

    logger.advanceMinutes(29);
    EXPECT_EQ(logger.sampleCount(), 0u);
    logger.advanceMinutes(1);
    EXPECT_EQ(logger.phase(), Logger::Phase::Recording);
    EXPECT_EQ(logger.sampleCount(), 1u);   // sample 0 at the start minute
    EXPECT_EQ(logger.peek(Logger::kSampleBase), 90);   // 5 °C
    EXPECT_EQ(logger.peek(Logger::AddrCurrentTemp), 90);
    logger.advanceMinutes(14);
    EXPECT_EQ(logger.sampleCount(), 1u);
    logger.advanceMinutes(1 + 15 * 98);
    EXPECT_EQ(logger.sampleCount(), 100u);
    EXPECT_EQ(le24(logger.memory(), Logger::AddrCount), 100u);

    // Without a delay the first sample is taken as the logger is armed.
    Logger now;
    arm(now, 5, 0, 5.0, 0, 32);
    EXPECT_EQ(now.sampleCount(), 1u);
}

TEST(EmulatorLogger, PushButtonStoresMinutesToThePressAndStartsAfterTheDelay)
{
    Logger logger;
    arm(logger, 5, 10, 4.0, 16, 0);
    EXPECT_EQ(logger.phase(), Logger::Phase::WaitingButton);
    logger.advanceMinutes(45);
    EXPECT_EQ(logger.sampleCount(), 0u);
    EXPECT_EQ(logger.peek(258) & 32, 0);

    ASSERT_TRUE(logger.pressButton());
    EXPECT_EQ(logger.peek(0), 45);
    EXPECT_EQ(logger.peek(1), 0);
    EXPECT_EQ(logger.peek(258) & 32, 32);
    EXPECT_FALSE(logger.pressButton());   // pressed once per preparation

    logger.advanceMinutes(9);
    EXPECT_EQ(logger.sampleCount(), 0u);
    logger.advanceMinutes(1);   // stamp + EsperaInicio 45 + DemoraInicio 10
    EXPECT_EQ(logger.sampleCount(), 1u);

    // Long waits fill the high byte.
    Logger late;
    arm(late, 5, 0, 4.0, 16, 0);
    late.advanceMinutes(1000);
    ASSERT_TRUE(late.pressButton());
    EXPECT_EQ(late.peek(0) + 256 * late.peek(1), 1000);

    Logger erased;
    EXPECT_FALSE(erased.pressButton());
    EXPECT_EQ(erased.peek(258), 64);
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
        {"cold chain", 100, 2.0, 8.0, {}, true, true},
        {"crossings every other sample", 60, 2.0, 8.0,
         [](qint64 m) { return (m / 15) % 2 ? 12.0 : -5.0; }, true, true},
        {"below from the first sample", 20, 2.0, 8.0, constantProfile(-10.0), true, false},
        {"no limits", 100, NAN, NAN, {}, false, false},
        {"within", 50, 2.0, 8.0, constantProfile(5.0), false, false},
        {"on the limits is within", 40, 2.0, 8.0, [](qint64 m) { return (m / 15) % 2 ? 8.0 : 2.0; }, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScenarioOptions o = options(15, 30, c.profile);
        o.samples = c.samples;
        o.low = c.low;
        o.high = c.high;
        auto logger = Scenarios::finished(o);
        const QByteArray m = logger->memory();
        EXPECT_EQ(le24(m, Logger::AddrCount), quint32(c.samples));
        EXPECT_EQ(at(m, 258) & (32 | 64), 0);
        EXPECT_EQ(bool(at(m, 258) & 4), c.lowAlarm);
        EXPECT_EQ(bool(at(m, 258) & 2), c.highAlarm);
        expectConsistent(m, c.samples);
    }
}

TEST(EmulatorLogger, CircularMissionWrapsAndKeepsCounting)
{
    ScenarioOptions o = options(1, 0, [](qint64 m) { return double(m % 251) / 2.0 - 40.0; });
    o.samples = 30000;
    auto logger = Scenarios::circular(o);
    const QByteArray m = logger->memory();
    EXPECT_EQ(le24(m, Logger::AddrCount), 30000u);
    EXPECT_EQ(at(m, 256) & 8, 8);
    // The newest 24576 samples are held, each at 8192 + (k mod 24576).
    for (int k = 30000 - Logger::kCapacity; k < 30000; ++k)
        ASSERT_EQ(at(m, Logger::kSampleBase + k % Logger::kCapacity), k % 251) << "sample " << k;
    // The count table covers the whole mission, overwritten samples included.
    int total = 0;
    for (int raw = 0; raw < 256; ++raw)
        total += at(m, 4096 + 2 * raw) * 256 + at(m, 4097 + 2 * raw);
    EXPECT_EQ(total, 30000);
}

TEST(EmulatorLogger, NonCircularMissionStopsWhenMemoryIsFull)
{
    Logger logger;
    arm(logger, 1, 0, 3.0, 0, 32);
    logger.advanceMinutes(30000);
    EXPECT_EQ(logger.sampleCount(), quint32(Logger::kCapacity));
    EXPECT_EQ(logger.peek(258) & 32, 0);
    EXPECT_EQ(logger.phase(), Logger::Phase::Idle);
    EXPECT_EQ(logger.peek(32767), 86);
    logger.advanceMinutes(100);
    EXPECT_EQ(logger.sampleCount(), quint32(Logger::kCapacity));
}

TEST(EmulatorLogger, PcStopsAMissionAndCannotRearmOneWithSamples)
{
    Logger logger;
    arm(logger, 10, 0, 5.0, 0, 32);
    logger.advanceMinutes(100);
    ASSERT_EQ(logger.sampleCount(), 11u);
    const quint8 status = logger.peek(258);

    EXPECT_TRUE(logger.handleFrame(bytes({0x22, 0x01, 0x02, status & 223})).isEmpty());
    EXPECT_EQ(logger.phase(), Logger::Phase::Idle);
    logger.advanceMinutes(100);
    EXPECT_EQ(logger.sampleCount(), 11u);

    // Setting bit 32 again over samples is refused: a new mission needs an erase.
    logger.handleFrame(bytes({0x22, 0x01, 0x02, 32}));
    EXPECT_EQ(logger.peek(258) & 32, 0);
    logger.advanceMinutes(100);
    EXPECT_EQ(logger.sampleCount(), 11u);

    // The saved mark is kept as written.
    logger.handleFrame(bytes({0x22, 0x01, 0x02, (status & 223) | 128}));
    EXPECT_EQ(logger.peek(258), (status & 223) | 128);
}

TEST(EmulatorLogger, EraseNeedsTheKeyAndLeavesAnEmptyLogger)
{
    auto logger = Scenarios::finished(options(15, 30, {}));
    const QByteArray before = logger->memory();
    logger->handleFrame(bytes({0xA5}));
    EXPECT_EQ(logger->memory(), before) << "a stray erase byte must not wipe a mission";

    logger->setEraseBusyMs(2000);
    logger->handleFrame(bytes({0x22, 0x01, 0x00, 0x40}));
    logger->handleFrame(bytes({0xA5}));
    EXPECT_TRUE(logger->handleFrame(bytes({0xEA})).isEmpty()) << "busy erasing";
    logger->elapseWallMs(2000);
    EXPECT_EQ(logger->handleFrame(bytes({0xEA})), bytes({0x14}));

    const QByteArray m = logger->memory();
    EXPECT_EQ(at(m, 258), 64);
    EXPECT_EQ(at(m, 256), 0);
    EXPECT_EQ(le24(m, Logger::AddrCount), 0u);
    EXPECT_EQ(at(m, 17), at(before, 17));
    EXPECT_EQ(m.mid(90, 6), before.mid(90, 6));   // serial and firmware
    EXPECT_EQ(m.mid(64, 24), QByteArray(24, ' '));
    EXPECT_EQ(m.mid(1280, 64), QByteArray(64, 0));
    EXPECT_EQ(m.mid(4096, 1024), QByteArray(1024, 0));
    EXPECT_EQ(m.mid(8192), QByteArray(Logger::kCapacity, char(0xFF)));
    EXPECT_EQ(logger->phase(), Logger::Phase::Idle);
}

TEST(EmulatorLogger, AnswersFramesAndIgnoresWhatItDoesNotKnow)
{
    Logger logger;
    const QByteArray m = logger.memory();
    QByteArray block0 = logger.handleFrame(bytes({0x33, 0x00, 0x00}));
    ASSERT_EQ(block0.size(), 34);
    EXPECT_EQ(block0.left(32), m.left(32));
    int sum = 0;
    for (int i = 0; i < 32; ++i)
        sum += at(m, i);
    EXPECT_EQ(at(block0, 32) * 256 + at(block0, 33), sum);
    EXPECT_EQ(logger.handleFrame(bytes({0x33, 0x7F, 0xE0})).size(), 34);   // block 1023

    EXPECT_TRUE(logger.handleFrame(bytes({0x22, 0x00, 0x05, 0x01})).isEmpty());
    EXPECT_EQ(logger.peek(5), 1);
    logger.handleFrame(bytes({0x22, 0x40, 'A'}));   // short form: address 64
    EXPECT_EQ(logger.peek(64), 'A');
    logger.handleFrame(bytes({0x22, 0x7F, 0xFF, 0x42}));
    EXPECT_EQ(logger.peek(32767), 0x42);
    logger.handleFrame(bytes({0x22, 0x5D, 9}));   // firmware is not writable
    EXPECT_EQ(logger.peek(93), 1);

    for (const QByteArray& f : {bytes({0x33, 0x7F, 0xF0}), bytes({0x33, 0x00}), bytes({0x99}), bytes({0xEA, 0xEA}),
                                bytes({0x22, 0x80, 0x00, 0x01}), bytes({0x22})})
        EXPECT_TRUE(logger.handleFrame(f).isEmpty()) << f.toHex().constData();
    EXPECT_EQ(logger.handleFrame(bytes({0xEA})), bytes({0x14}));

    const QList<FrameLogEntry> log = logger.frameLog();
    ASSERT_EQ(log.size(), 13);
    EXPECT_EQ(log.first().frame, bytes({0x33, 0x00, 0x00}));
    EXPECT_EQ(log.first().replyBytes, 34);
    EXPECT_EQ(log.last().replyBytes, 1);
}

TEST(EmulatorLogger, FaultsShapeTheRepliesAndCanBeSwitchedOff)
{
    struct Case {
        Fault fault;
        int after;
        std::vector<int> replySizes;   // of successive block reads
    };
    const std::vector<Case> cases = {
        {Fault::None, 0, {34, 34}},
        {Fault::ShortReply, 0, {33, 33}},
        {Fault::LongReply, 0, {40, 40}},
        {Fault::Silent, 0, {0, 0}},
        {Fault::SilentAfter, 2, {34, 34, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Logger::faultName(c.fault).toStdString());
        Logger logger;
        logger.setFault(c.fault, c.after);
        for (int expected : c.replySizes)
            EXPECT_EQ(logger.handleFrame(bytes({0x33, 0x00, 0x40})).size(), expected);
        const bool silent = c.replySizes.back() == 0;
        EXPECT_EQ(logger.handleFrame(bytes({0xEA})).isEmpty(), silent);
        logger.handleFrame(bytes({0x22, 0x00, 0x05, 0x07}));
        EXPECT_EQ(logger.peek(5) == 7, !silent) << "a silent logger acts on nothing";
        logger.setFault(Fault::None);
        EXPECT_EQ(logger.handleFrame(bytes({0x33, 0x00, 0x40})).size(), 34);
    }
}

TEST(EmulatorLogger, ImagesFromRecordFilesAreServedAsTheyAre)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto finished = Scenarios::finished();
    const QString path = dir.filePath(QStringLiteral("mission.klv"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(finished->memory());
    }
    auto loaded = Scenarios::fromFile(path);
    EXPECT_EQ(loaded->memory(), finished->memory());
    EXPECT_EQ(loaded->phase(), Logger::Phase::Idle);

    // An image of a mission still recording goes on recording at its interval.
    Logger recording;
    arm(recording, 15, 0, 5.0, 0, 32);
    recording.advanceMinutes(150);
    Logger copy;
    copy.setProfile(constantProfile(5.0));
    copy.loadImage(recording.memory());
    EXPECT_EQ(copy.phase(), Logger::Phase::Recording);
    copy.advanceMinutes(14);
    EXPECT_EQ(copy.sampleCount(), 11u);
    copy.advanceMinutes(1);
    EXPECT_EQ(copy.sampleCount(), 12u);

    try {
        Scenarios::fromFile(dir.filePath(QStringLiteral("missing.klv")));
        ADD_FAILURE() << "no error for a missing file";
    } catch (const orvan::RuntimeError& e) {
        EXPECT_EQ(e.number, orvan::RuntimeError::FileNotFound);
    }
    const QString big = dir.filePath(QStringLiteral("big.klv"));
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(40000, 0));
    }
    EXPECT_THROW(Scenarios::fromFile(big), orvan::RuntimeError);
}

TEST(EmulatorLogger, FinishedScenarioReadsAsThePcDecodesIt)
{
    for (int buttonAfter : {-1, 20}) {
        SCOPED_TRACE(buttonAfter);
        ScenarioOptions o;   // 100 samples every 15 minutes, prepared 2024-03-01 10:00, delay 30
        o.buttonAfter = buttonAfter;
        const QByteArray m = Scenarios::finished(o)->memory();
        const quint8 stamp[5] = {at(m, 21), at(m, 22), at(m, 23), at(m, 24), at(m, 25)};
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(stamp), 5), QByteArray::fromHex("0010010324"));
        const auto prepared = orvan::link::HoraPreparacion(stamp);
        ASSERT_TRUE(prepared.has_value());
        const int espera = at(m, 0) + 256 * at(m, 1);
        const int demora = at(m, 18) + 256 * at(m, 19);
        EXPECT_EQ(espera, buttonAfter < 0 ? 0 : buttonAfter);
        EXPECT_EQ(demora, 30);
        const QDateTime start = prepared->addSecs(60 * (espera + demora));
        const QDateTime end = start.addSecs(60 * 15 * qint64(le24(m, 26)));
        EXPECT_EQ(orvan::link::FormatoFecha(start),
                  buttonAfter < 0 ? QStringLiteral("01/03/2024 - 10:30") : QStringLiteral("01/03/2024 - 10:50"));
        EXPECT_EQ(orvan::link::FormatoFecha(end),
                  buttonAfter < 0 ? QStringLiteral("02/03/2024 - 11:30") : QStringLiteral("02/03/2024 - 11:50"));
        EXPECT_EQ(at(m, 5), 1);
        EXPECT_EQ(at(m, 20), 22);
        EXPECT_EQ(at(m, 13), 15);
        EXPECT_EQ(m.mid(64, 24), QByteArray("FRUTAS SUR  TRANSMAR    "));
        EXPECT_EQ(m.mid(90, 6), QByteArray::fromHex("003039010702"));   // serial 12345, firmware 1.7.2
        EXPECT_EQ(at(m, 256) & 16, buttonAfter < 0 ? 0 : 16);
        EXPECT_EQ(at(m, 258) & (128 | 64 | 32), 0);
    }
}
