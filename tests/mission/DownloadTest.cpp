// The download, the saved mark, stop and erase on an in-memory port and a clock that moves only
// when the link waits: block plans and progress for the counts at the edges, retries, a logger
// that goes away, and the frames each command sends.

#include "mission/DeviceCommands.h"
#include "mission/Download.h"
#include "support/ScriptedPort.h"

#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::mission;
using orvan::test::FakeLogger;
using orvan::test::ScriptedPort;

namespace {

struct Bench : orvan::test::LinkBench {
    Bench() : LinkBench(link::LinkProfile::frmsave()) { logger.attach(port); }
    FakeLogger logger;
};

// A memory whose every byte tells its address apart from its neighbours and from zero.
QByteArray patterned()
{
    QByteArray m(32768, '\0');
    for (int i = 0; i < m.size(); ++i)
        m[i] = char(1 + (i * 7 + i / 256) % 255);
    return m;
}

QList<int> range(int from, int to)
{
    QList<int> out;
    for (int b = from; b <= to; ++b)
        out.append(b);
    return out;
}

} // namespace

TEST(Download, BlockPlanAndProgressFollowTheSampleCount)
{
    struct Case {
        qint32 count;
        int K, B, maximum, lastValue;
    };
    const Case cases[] = {
        {0, 0, 257, 100, 100},
        {31, 0, 257, 100, 100},
        {32, 1, 258, 150, 150},
        {24543, 766, 1023, 38400, 38400},
        {24544, 767, 1024, 38450, 38450},
        {24576, 768, 1024, 38500, 38450},
        {30000, 767, 1024, 38450, 38450},   // a circular mission's count is taken as 24575
    };
    const QList<int> head = {0, 2, 8, 40, 41, 128, 129, 130, 131, 132, 133, 134, 135, 136};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        const DownloadPlan plan = downloadPlan(c.count);
        EXPECT_EQ(plan.K, c.K);
        EXPECT_EQ(plan.B, c.B);
        EXPECT_EQ(plan.maximum, c.maximum);
        EXPECT_EQ(plan.blocks, head + range(256, c.B));

        Bench b;
        b.logger.memory = patterned();
        QList<std::pair<int, int>> progress;
        const DownloadResult d = LeerKLV(b.link, c.count, [&](int v, int m) { progress.append({v, m}); });
        ASSERT_TRUE(d.ok());
        // Block 1024 lies past the memory: the logger is asked for block 1023 a second time.
        QList<int> asked = head + range(256, std::min(c.B, 1023));
        if (c.B == 1024)
            asked.append(1023);
        EXPECT_EQ(b.logger.blocksRead, asked);

        // The first phase ends at the bar's design maximum, the second at its own maximum.
        const QList<std::pair<int, int>> first = progress.mid(0, 14);
        EXPECT_EQ(first.first(), std::make_pair(100, 750));
        EXPECT_EQ(first.at(1), std::make_pair(150, 750));
        EXPECT_EQ(first.last(), std::make_pair(750, 750));
        EXPECT_EQ(progress.at(14), std::make_pair(0, c.maximum));
        EXPECT_EQ(progress.last(), std::make_pair(c.lastValue, c.maximum));

        // The image holds the planned blocks as read and zeros everywhere else.
        ASSERT_EQ(d.image.size(), 32768);
        QList<bool> planned(1024, false);
        for (int block : plan.blocks)
            planned[std::min(block, 1023)] = true;
        for (int block = 0; block < 1024; ++block) {
            const QByteArray got = d.image.mid(block * 32, 32);
            const QByteArray want = planned[block] ? b.logger.memory.mid(block * 32, 32) : QByteArray(32, '\0');
            ASSERT_EQ(got, want) << "block " << block;
        }
    }
}

TEST(Download, EachBlockIsTriedFourTimesThenTheDownloadEnds)
{
    {
        // Three bad replies and a good one: the download goes on.
        Bench b;
        b.logger.memory = patterned();
        int reads = 0;
        const auto answer = b.port.responder;
        b.port.responder = [&](const QByteArray& frame, ScriptedPort& p) {
            if (quint8(frame.at(0)) == 0x33 && frame.mid(1) == QByteArray::fromHex("0100") && ++reads <= 3) {
                p.arrive(QByteArray(33, 'x'), 2);
                return;
            }
            answer(frame, p);
        };
        const DownloadResult d = LeerKLV(b.link, 10);
        EXPECT_TRUE(d.ok());
        EXPECT_EQ(reads, 4);
    }
    {
        // Replies of 33 bytes only: four attempts at block 0, then the download ends with nothing.
        Bench b;
        b.logger.replyLength = 33;
        const DownloadResult d = LeerKLV(b.link, 10);
        EXPECT_EQ(d.outcome, DownloadOutcome::Disconnected);
        EXPECT_EQ(d.failedBlock, 0);
        EXPECT_EQ(b.logger.blocksRead, QList<int>({0, 0, 0, 0}));
        EXPECT_TRUE(b.sink.messages.isEmpty()) << "a lost reply is the caller's to report";
    }
    {
        // The logger goes silent after 20 blocks.
        Bench b;
        b.logger.memory = patterned();
        const auto answer = b.port.responder;
        b.port.responder = [&](const QByteArray& frame, ScriptedPort& p) {
            if (b.logger.blocksRead.size() < 20)
                answer(frame, p);
        };
        const DownloadResult d = LeerKLV(b.link, 2000);
        EXPECT_EQ(d.outcome, DownloadOutcome::Disconnected);
        EXPECT_EQ(d.blocksRead, 20);
        EXPECT_EQ(d.failedBlock, 262);
    }
    {
        // The window closes in the middle: the download stops without a disconnection.
        Bench b;
        b.logger.memory = patterned();
        const DownloadResult d = LeerKLV(b.link, 24576, [&](int v, int) {
            if (v == 1000)
                b.closing = true;
        });
        EXPECT_EQ(d.outcome, DownloadOutcome::Cancelled);
        EXPECT_LT(b.logger.blocksRead.size(), 40);
    }
    EXPECT_EQ(disconnectionMessage(), "Error! Desconexión del equipo durante la descarga de datos");
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
        want.append(QByteArray::fromHex("22010282"));
        // Then the read-back of the names and the flags.
        want.append(QByteArray::fromHex("330040"));
        want.append(QByteArray::fromHex("330100"));
        EXPECT_EQ(b.port.writes, want);
        EXPECT_GE(b.clock.nowMs(), 50) << "the status byte follows the names after a pause";
        EXPECT_EQ(b.logger.memory.mid(89, 7), QByteArray(7, '\0')) << "serial and firmware are never written";
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
        {"one write lost", Logger::LosesOneWrite, MarkResult::NotConfirmed, StopResult::Outcome::StillRecording},
        {"silent after the writes", Logger::GoesSilent, MarkResult::NotConfirmed, StopResult::Outcome::NoAnswer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool stop : {false, true}) {
            Bench b;
            b.logger.setByte(258, 0x22);
            const auto answer = b.port.responder;
            b.port.responder = [&](const QByteArray& frame, ScriptedPort& p) {
                if (quint8(frame.at(0)) == 0x22 && c.logger == Logger::LosesOneWrite && frame.at(1) == char(1))
                    return;   // the status byte never arrives
                if (quint8(frame.at(0)) == 0x33 && c.logger == Logger::GoesSilent)
                    return;
                answer(frame, p);
            };
            link::EstadoKLV e;
            e.EstadoByte = stop ? 0x22 : 0x02;
            if (stop)
                EXPECT_EQ(stopVerified(b.link, e).outcome, c.stop);
            else
                EXPECT_EQ(markDownloadSaved(b.link, e), c.mark);
        }
    }
    EXPECT_EQ(stopMessage(StopResult::Outcome::StillRecording, 1), "the logger did not stop");
    EXPECT_TRUE(stopMessage(StopResult::Outcome::Stopped, 1).isEmpty());
}

TEST(DeviceCommands, EraseWaitsThenChecksTheFlagBlock)
{
    enum class Logger { Erases, Ignores, GoesSilent };
    struct Case {
        const char* what;
        Logger logger;
        EraseResult want;
    };
    const Case cases[] = {
        {"erased", Logger::Erases, EraseResult::Ok},
        {"trigger ignored", Logger::Ignores, EraseResult::NotErased},
        {"gone", Logger::GoesSilent, EraseResult::NoAnswer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bench b;
        b.logger.setByte(258, 0x00);
        const auto answer = b.port.responder;
        b.port.responder = [&](const QByteArray& frame, ScriptedPort& p) {
            if (frame == QByteArray::fromHex("a5")) {
                if (c.logger == Logger::Erases)
                    b.logger.setByte(258, 64);
                if (c.logger == Logger::GoesSilent)
                    b.logger.silent = true;
            }
            answer(frame, p);
        };
        QList<int> values;
        const EraseResult r = BorraMemoria(b.link, [&](int v, int m) {
            EXPECT_EQ(m, 3500);
            values.append(v);
        });
        EXPECT_EQ(r, c.want);
        EXPECT_EQ(b.port.writes.mid(0, 2), QList<QByteArray>({QByteArray::fromHex("22010040"), QByteArray::fromHex("a5")}));
        EXPECT_EQ(b.port.writes.at(2), QByteArray::fromHex("330100"));
        EXPECT_EQ(values, QList<int>({0, 200, 400, 600, 800, 1000, 1200, 1400, 1600, 1800, 2000, 2200, 2400, 2600, 2800,
                                      3000, 3200, 3500}));
        EXPECT_GE(b.clock.nowMs(), 34050);
    }
    EXPECT_EQ(eraseMessage(EraseResult::Ok), "Memoria borrada satisfactoriamente");
    EXPECT_EQ(eraseMessage(EraseResult::Ok, 2), "Memoria borrada satisfactoriamente");
    EXPECT_NE(eraseMessage(EraseResult::NoAnswer, 1), eraseMessage(EraseResult::NoAnswer, 0));

    // Cancelled during the wait: no check and no message.
    Bench b;
    int steps = 0;
    const EraseResult r = BorraMemoria(b.link, [&](int, int) {
        if (++steps == 3)
            b.closing = true;
    });
    EXPECT_EQ(r, EraseResult::Cancelled);
    EXPECT_EQ(b.port.writes.size(), 2);
    EXPECT_TRUE(eraseMessage(r).isEmpty());
}
