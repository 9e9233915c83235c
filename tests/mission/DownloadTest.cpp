// The download, mark, stop and erase on an in-memory port whose clock moves only when the link waits
// (block plans, retries, frames sent and read back); then the download on a paced emulated line.

#include "mission/DeviceCommands.h"
#include "mission/Download.h"
#include "support/DeviceLink.h"
#include "support/ScriptedPort.h"
#include "tools/emulator/EmulatorFixture.h"

#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::mission;
using orvan::test::FakeLogger;
using orvan::test::ScriptedPort;
using emulator::EmulatorFixture;
using emulator::Fault;
using emulator::Logger;
using emulator::PtyServer;

namespace {

// A memory whose every byte tells its address apart from its neighbours and from zero, so a
// shifted block cannot pass.
QByteArray patterned()
{
    QByteArray m(32768, '\0');
    for (int i = 0; i < m.size(); ++i)
        m[i] = char(1 + (i * 7 + i / 256) % 255);
    return m;
}

struct Bench : orvan::test::LinkBench {
    Bench() : LinkBench(link::LinkProfile::frmsave())
    {
        logger.attach(port);
        logger.memory = patterned();
    }
    // Frames for which `drop` holds get no answer (or the answer `instead`).
    void drop(std::function<bool(const QByteArray&)> when, QByteArray instead = {})
    {
        port.responder = [answer = port.responder, when, instead](const QByteArray& frame, ScriptedPort& p) {
            if (!when(frame))
                answer(frame, p);
            else if (!instead.isEmpty())
                p.arrive(instead, 2);
        };
    }
    FakeLogger logger;
};

} // namespace

TEST(Download, BlockPlanAndProgressFollowTheSampleCount)
{
    struct Case {
        qint32 count;
        int B, maximum, lastValue;
    };
    const Case cases[] = {
        {0, 257, 100, 100},         {31, 257, 100, 100},        {32, 258, 150, 150},
        {24543, 1023, 38400, 38400}, {24544, 1024, 38450, 38450}, {24576, 1024, 38500, 38450},
        {30000, 1024, 38450, 38450},   // a circular mission's count is taken as 24575
    };
    const QList<int> head = {0, 2, 8, 40, 41, 128, 129, 130, 131, 132, 133, 134, 135, 136};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        QList<int> asked = head;
        for (int b = 256; b <= std::min(c.B, 1023); ++b)
            asked.append(b);
        if (c.B == 1024)
            asked.append(1023);   // block 1024 lies past the memory: block 1023 is asked again
        const DownloadPlan plan = downloadPlan(c.count);
        EXPECT_EQ(plan.B, c.B);
        EXPECT_EQ(plan.maximum, c.maximum);

        Bench b;
        QList<std::pair<int, int>> progress;
        const DownloadResult d = LeerKLV(b.link, c.count, [&](int v, int m) { progress.append({v, m}); });
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(b.logger.blocksRead, asked);
        // The first phase ends at the bar's design maximum, the second at its own maximum.
        EXPECT_EQ(progress.mid(0, 2), (QList<std::pair<int, int>>{{100, 750}, {150, 750}}));
        EXPECT_EQ(progress.at(13), std::make_pair(750, 750));
        EXPECT_EQ(progress.at(14), std::make_pair(0, c.maximum));
        EXPECT_EQ(progress.last(), std::make_pair(c.lastValue, c.maximum));

        // The image holds the asked blocks as read and zeros everywhere else.
        QByteArray want(32768, '\0');
        for (int block : asked)
            want.replace(block * 32, 32, b.logger.memory.mid(block * 32, 32));
        EXPECT_EQ(d.image, want);
    }
}

TEST(Download, EachBlockIsTriedFourTimesThenTheDownloadEnds)
{
    {
        // Three bad replies to block 8, then a good one: the download goes on.
        Bench b;
        int reads = 0;
        b.drop([&](const QByteArray& f) { return f == QByteArray::fromHex("330100") && ++reads <= 3; },
               QByteArray(33, 'x'));
        EXPECT_TRUE(LeerKLV(b.link, 10).ok());
        EXPECT_EQ(reads, 4);
    }
    {
        Bench b;
        b.logger.replyLength = 33;
        const DownloadResult d = LeerKLV(b.link, 10);
        EXPECT_EQ(d.outcome, DownloadOutcome::Disconnected);
        EXPECT_EQ(d.failedBlock, 0);
        EXPECT_EQ(b.logger.blocksRead, QList<int>({0, 0, 0, 0}));
        EXPECT_TRUE(b.sink.messages.isEmpty()) << "a lost reply is the caller's to report";
    }
    {
        Bench b;
        b.drop([&](const QByteArray&) { return b.logger.blocksRead.size() >= 20; });
        const DownloadResult d = LeerKLV(b.link, 2000);
        EXPECT_EQ(d.outcome, DownloadOutcome::Disconnected);
        EXPECT_EQ(d.blocksRead, 20);
        EXPECT_EQ(d.failedBlock, 262);
    }
    {
        // The window closes in the middle: the download stops without a disconnection.
        Bench b;
        const DownloadResult d = LeerKLV(b.link, 24576, [&](int v, int) { b.closing = b.closing || v == 1000; });
        EXPECT_EQ(d.outcome, DownloadOutcome::Cancelled);
        EXPECT_LT(b.logger.blocksRead.size(), 40);
    }
}

TEST(DeviceCommands, SavedMarkStopAndEraseSendTheirFrames)
{
    link::EstadoKLV e;
    e.Exportador = QStringLiteral("FRUTAS SUR  ");
    e.Transportador = QStringLiteral("TRANSMAR    ");
    e.EstadoByte = 0x02;
    {
        Bench b;
        ASSERT_EQ(markDownloadSaved(b.link, e), MarkResult::Marked);
        QList<QByteArray> want;
        const QByteArray bytes = QByteArray("FRUTAS SUR  TRANSMAR    ") + char(1);
        for (int i = 0; i < bytes.size(); ++i)
            want.append(QByteArray(1, char(0x22)) + char(64 + i) + bytes.at(i));
        // The status byte, then the read-back of the names and the flags; nothing else is written.
        want << QByteArray::fromHex("22010282") << QByteArray::fromHex("330040") << QByteArray::fromHex("330100");
        EXPECT_EQ(b.port.writes, want);
        EXPECT_GE(b.clock.nowMs(), 50) << "the status byte follows the names after a pause";
    }
    {
        Bench b;
        e.EstadoByte = 0xA2;
        ASSERT_TRUE(DetieneMision(b.link, e));
        EXPECT_EQ(b.port.writes, QList<QByteArray>({QByteArray::fromHex("22010282")}));
    }
    {
        // A saved logger keeps its saved bit once: no carry into other bits.
        Bench b;
        b.logger.setByte(258, 0x82);
        e.EstadoByte = 0x82;
        ASSERT_EQ(markDownloadSaved(b.link, e), MarkResult::Marked);
        EXPECT_EQ(b.port.writes.at(25), QByteArray::fromHex("22010282"));
    }
}

// The mark and the stop are reported only when the logger reads back what was written.
TEST(DeviceCommands, MarkAndStopAreVerifiedByOneRead)
{
    enum class Logger { Keeps, LosesOneWrite, GoesSilent };
    struct Case {
        const char* what;
        Logger logger;
        MarkResult mark;
        StopResult::Outcome stop;
    };
    const Case cases[] = {
        {"kept", Logger::Keeps, MarkResult::Marked, StopResult::Outcome::Stopped},
        {"status write lost", Logger::LosesOneWrite, MarkResult::NotConfirmed, StopResult::Outcome::StillRecording},
        {"silent after the writes", Logger::GoesSilent, MarkResult::NotConfirmed, StopResult::Outcome::NoAnswer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool stop : {false, true}) {
            Bench b;
            b.logger.setByte(258, 0x22);
            b.drop([&](const QByteArray& f) {
                return (c.logger == Logger::LosesOneWrite && quint8(f.at(0)) == 0x22 && f.at(1) == char(1))
                    || (c.logger == Logger::GoesSilent && quint8(f.at(0)) == 0x33);
            });
            link::EstadoKLV e;
            e.EstadoByte = stop ? 0x22 : 0x02;
            EXPECT_TRUE(stop ? stopVerified(b.link, e).outcome == c.stop : markDownloadSaved(b.link, e) == c.mark) << stop;
        }
    }
}

TEST(DeviceCommands, EraseWaitsThenChecksTheFlagBlock)
{
    enum class Logger { Erases, Ignores, GoesSilent };
    const std::pair<Logger, EraseResult> cases[] = {
        {Logger::Erases, EraseResult::Ok}, {Logger::Ignores, EraseResult::NotErased},
        {Logger::GoesSilent, EraseResult::NoAnswer}};
    for (const auto& [logger, want] : cases) {
        SCOPED_TRACE(int(want));
        Bench b;
        b.logger.setByte(258, 0x00);
        b.drop([&, logger = logger](const QByteArray& f) {
            if (f == QByteArray::fromHex("a5") && logger == Logger::Erases)
                b.logger.setByte(258, 64);
            b.logger.silent = b.logger.silent || (f == QByteArray::fromHex("a5") && logger == Logger::GoesSilent);
            return false;
        });
        QList<int> values;
        const EraseResult r = BorraMemoria(b.link, [&](int v, int m) { values.append(m == 3500 ? v : -1); });
        EXPECT_EQ(r, want);
        EXPECT_EQ(b.port.writes.mid(0, 3), QList<QByteArray>({QByteArray::fromHex("22010040"), QByteArray::fromHex("a5"),
                                                               QByteArray::fromHex("330100")}));
        EXPECT_EQ(values.size(), 18);
        EXPECT_EQ(values.mid(0, 2), QList<int>({0, 200}));
        EXPECT_EQ(values.last(), 3500);
        EXPECT_GE(b.clock.nowMs(), 34050) << "17 steps of 2 s after the trigger's pause";
    }

    // Cancelled during the wait: no check and no message.
    Bench b;
    int steps = 0;
    const EraseResult r = BorraMemoria(b.link, [&](int, int) { b.closing = b.closing || ++steps == 3; });
    EXPECT_EQ(r, EraseResult::Cancelled);
    EXPECT_EQ(b.port.writes.size(), 2);
    EXPECT_TRUE(eraseMessage(r).isEmpty());
}

// Through the real link on a pseudo-terminal at 9600 baud, with replies that run on and random
// bytes between replies: the saved image never holds a block from a reply that ran on.
TEST(DownloadLine, PacedFaultsNeverReachTheSavedImage)
{
    QByteArray image = patterned();
    image[Logger::AddrStatus] = char(64);   // no mission: nothing changes the memory meanwhile
    constexpr qint32 kSamples = 64;         // a plan of 18 blocks
    const DownloadPlan plan = downloadPlan(kSamples);

    struct Case {
        const char* what;
        Fault fault;
        int period;   // the fault shows on one block read in this many
        bool ok;
    };
    const Case cases[] = {
        {"a sound line", Fault::None, 1, true},
        {"one reply in three runs on", Fault::LongReply, 3, true},
        {"random bytes after one reply in three", Fault::Noise, 3, true},
        {"every reply runs on", Fault::LongReply, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto logger = std::make_unique<Logger>();
        logger->loadImage(image);
        EmulatorFixture emu(std::move(logger));
        ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
        emu.server().setPaceUs(PtyServer::kLinePaceUs);
        emu.logger().setFault(c.fault);
        emu.logger().setFaultPeriod(c.period);
        const QByteArray memory = emu.logger().memory();

        test::DeviceLink line(emu.devicePath(), link::LinkProfile::frmsave());
        const DownloadResult d = LeerKLV(line.link, kSamples);

        // Each planned block holds what the logger holds, or nothing when the download gave up.
        QByteArray expected(Logger::kMemorySize, '\0');
        for (const int block : plan.blocks) {
            const int at = block * link::kBlockSize;
            const QByteArray got = d.image.mid(at, link::kBlockSize);
            if (c.ok || got != QByteArray(link::kBlockSize, '\0'))
                expected.replace(at, link::kBlockSize, memory.mid(at, link::kBlockSize));
        }
        const link::FramingCounts& n = line.link.framingCounts();
        EXPECT_EQ(d.ok(), c.ok);
        EXPECT_EQ(d.image, expected);
        if (c.fault == Fault::None) {
            EXPECT_EQ(n.revoked + n.runOn + n.leftover + n.timedOut, 0);
        } else if (c.fault == Fault::LongReply) {
            // Noise is timed by the emulator and a request arriving first can pre-empt it, so only
            // the long replies are sure to show on every run.
            EXPECT_GT(n.revoked + n.runOn + n.leftover, 0) << "the fault never showed";
        }
        EXPECT_TRUE(line.sink.messages.isEmpty());
    }
}
