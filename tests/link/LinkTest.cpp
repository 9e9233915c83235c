// The frame exchange on an in-memory port and a clock that moves only when the link waits, and the
// status blocks read through it in each window's order.

#include "link/Link.h"
#include "link/LoggerStatus.h"
#include "link/PortSearch.h"
#include "support/ScriptedPort.h"

#include <QHash>
#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::link;
using orvan::test::FakeLogger;
using orvan::test::ScriptedPort;

namespace {

QByteArray counting(int n)
{
    QByteArray out;
    for (int i = 0; i < n; ++i)
        out.append(char(i + 1));
    return out;
}

using Bench = orvan::test::LinkBench;

FakeLogger loggerWithMission()
{
    FakeLogger l;
    auto put = [&](int address, std::initializer_list<int> values) {
        for (int v : values)
            l.setByte(address++, quint8(v));
    };
    put(0, {0x02, 0x01});                        // EsperaInicio 258
    put(11, {76, 96, 15});                       // limits -2 and 8 °C, 15 minutes
    put(17, {3});                                // -38.5 °C
    put(18, {0x1E, 0x00});                       // DemoraInicio 30
    put(21, {0x05, 0x10, 0x01, 0x03, 0x24});     // prepared 01/03/2024 10:05
    put(26, {0x00, 0x60, 0x00});                 // 24576 samples, low byte first
    l.memory.replace(64, 24, QByteArray("FRUTAS \xD1U\xD1O TRANSPORTE X"));
    put(90, {0x01, 0xE2, 0x40, 2, 1, 3});        // serial 123456, high byte first; firmware 2.1.3
    put(256, {8 | 16});
    put(258, {0xA6});                            // saved, recording, both alarms
    return l;
}

struct StatusBench : orvan::test::LinkBench {
    explicit StatusBench(const LinkProfile& profile) : LinkBench(profile) { logger.attach(port); }
    FakeLogger logger = loggerWithMission();
};


} // namespace

TEST(Link, ReplyMustBeExactly34BytesOfThisAnswerWithin300ms)
{
    enum Outcome { Ok, TimedOut, RunOn, Leftover };
    struct Case {
        const char* what;
        QByteArray before;   // bytes already on the way when the request goes out, after beforeDelay
        qint64 beforeDelay;
        int bytes;
        qint64 delay, step;
        Outcome outcome;
        int leftOver;   // bytes still in the port once everything has arrived
    };
    const Case cases[] = {
        {"no reply", {}, 0, 0, 0, 0, TimedOut, 0},
        {"34 at once", {}, 0, 34, 5, 0, Ok, 0},
        {"33 and silence", {}, 0, 33, 5, 0, TimedOut, 0},
        {"40 at once", {}, 0, 40, 5, 0, RunOn, 0},
        {"35 at line pace", {}, 0, 35, 5, 1, RunOn, 0},
        {"36 trickling, 5 ms a byte", {}, 0, 36, 5, 5, RunOn, 0},
        {"spread, last byte at 274 ms", {}, 0, 34, 10, 8, Ok, 0},
        {"spread, last byte at 307 ms", {}, 0, 34, 10, 9, TimedOut, 1},
        {"34 sooner than the request takes to send", {}, 0, 34, 1, 0, Leftover, 0},
        {"the tail of an earlier reply, then this one", QByteArray(4, 'U'), 0, 34, 6, 1, Leftover, 0},
        {"a stray byte once an answer could begin, then this reply", QByteArray(1, 'U'), 4, 34, 6, 1, RunOn, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bench b(LinkProfile::frmPrep());
        b.port.responder = [&](const QByteArray&, ScriptedPort& p) {
            if (!c.before.isEmpty())
                p.arrive(c.before, c.beforeDelay, 1);
            p.arrive(counting(c.bytes), c.delay, c.step);
        };
        b.link.VaciaBuff();
        ASSERT_TRUE(b.link.Transmite(Link::frameLeeBloque(0)));
        const Reply r = b.link.Recibe();
        const FramingCounts& n = b.link.framingCounts();
        EXPECT_EQ(r.ok(), c.outcome == Ok);
        EXPECT_EQ(std::make_tuple(n.accepted, n.timedOut, n.runOn, n.leftover),
                  std::make_tuple(int(c.outcome == Ok), int(c.outcome == TimedOut), int(c.outcome == RunOn), int(c.outcome == Leftover)));
        if (c.outcome == Ok) {
            EXPECT_EQ(r.data, counting(34));
        } else {
            EXPECT_EQ(std::make_pair(r.data, r.status), std::make_pair(QByteArray(), ReplyStatus::NoReply));
            // The time-out covers the whole reply and is not stretched by late bytes, nor by
            // the draining of a refused one.
            EXPECT_LE(b.clock.nowMs(), 300 + kPollSliceMs);
            EXPECT_TRUE(c.outcome != TimedOut || b.clock.nowMs() >= 300) << b.clock.nowMs();
        }
        b.clock.advance(1000);
        EXPECT_EQ(b.port.bytesWaiting(), c.leftOver);
        b.link.VaciaBuff();
        EXPECT_EQ(b.port.pendingBytes(), 0);
        EXPECT_TRUE(b.sink.messages.isEmpty());
    }
}

TEST(Link, ClosingFlagEndsTheExchangeWithoutStaleData)
{
    Bench b(LinkProfile::frmsave());
    FakeLogger logger;
    logger.attach(b.port);
    ASSERT_TRUE(b.link.LeeBloque(0).ok());

    // Cancel once ten bytes of the next reply are in: the wait ends at its next look at the
    // flag, long before the time-out, keeping what had arrived.
    b.port.responder = [](const QByteArray&, ScriptedPort& p) { p.arrive(counting(10), 1); };
    b.port.onWait = [&] { b.closing = b.clock.nowMs() >= 50; };
    b.link.Transmite(Link::frameLeeBloque(8));
    const Reply cancelled = b.link.Recibe();
    EXPECT_EQ(std::make_pair(cancelled.status, cancelled.data), std::make_pair(ReplyStatus::Cancelled, counting(10)));
    EXPECT_LT(b.clock.nowMs(), 50 + 2 * kPollSliceMs);

    // While the flag is set nothing is sent, and the earlier good reply is never handed back.
    const int written = b.port.writes.size();
    const Reply after = b.link.LeeBloque(2);
    EXPECT_EQ(std::make_pair(after.status, after.data), std::make_pair(ReplyStatus::Cancelled, QByteArray()));
    EXPECT_FALSE(b.link.EscribeByte(258, 0));
    EXPECT_EQ(b.port.writes.size(), written);
    EXPECT_TRUE(b.sink.messages.isEmpty());
}

TEST(Link, PortErrorsAreReportedOnceOrIgnoredPerWindow)
{
    struct Case {
        bool save;
        const char* where;
        int number;
        const char* procedure;   // nullptr: silent, the link stays up
        int writes;
    };
    const Case cases[] = {
        {true, "open", ErrInvalidPort, "VaciaBuff", 0},   {false, "read", ErrReadDevice, "Recibe", 1},
        {true, "read", ErrReadDevice, nullptr, 4},        {true, "read", ErrInvalidPort, nullptr, 4},
        {true, "read", ErrDeviceControlBlock, nullptr, 4}, {true, "read", ErrWriteDevice, "Recibe", 1},
        {true, "write", ErrWriteDevice, "Transmite", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.where) + " " + std::to_string(c.number) + (c.save ? " frmsave" : " frmPrep"));
        Bench b(c.save ? LinkProfile::frmsave() : LinkProfile::frmPrep());
        const RuntimeError error(c.number, QStringLiteral("Boom"));
        if (QLatin1String(c.where) == QLatin1String("open"))
            b.port.openError = error;
        else if (QLatin1String(c.where) == QLatin1String("write"))
            b.port.writeError = error;
        else
            b.port.responder = [&](const QByteArray&, ScriptedPort& p) { p.readError = error; };

        EXPECT_EQ(b.link.LeeBloque(0).status, ReplyStatus::PortError);
        EXPECT_EQ(b.port.writes.size(), c.writes);
        b.link.LeeBloque(8);   // the window's next tick closes it; nothing is reported again
        const QString said = QStringLiteral("Error %1 (Boom) in procedure %2 of Formulario %3")
                                 .arg(c.number)
                                 .arg(QLatin1String(c.procedure), b.link.profile().form);
        EXPECT_EQ(b.sink.messages, c.procedure ? QStringList{said} : QStringList{});
        EXPECT_EQ(b.closing, c.procedure != nullptr);
        EXPECT_EQ(b.port.isOpen(), c.procedure == nullptr);
    }
}

TEST(Link, BlockReadAttemptsPerWindow)
{
    Bench prep(LinkProfile::frmPrep());
    EXPECT_FALSE(prep.link.LeeBloque(0).ok());
    EXPECT_EQ(prep.port.writes.size(), 1);
    EXPECT_THROW(prep.link.LeeBloque(1024), RuntimeError);

    Bench save(LinkProfile::frmsave());
    EXPECT_EQ(save.link.LeeBloque(0).status, ReplyStatus::NoReply);
    EXPECT_EQ(save.port.writes.size(), 4);

    // Two short replies, then a good one; block 1024 is read as the last block.
    save.port.writes.clear();
    FakeLogger logger;
    logger.attach(save.port);
    logger.setByte(1023 * 32, 0x7E);
    const auto answer = save.port.responder;
    save.port.responder = [&](const QByteArray& f, ScriptedPort& p) {
        logger.replyLength = save.port.writes.size() < 3 ? 33 : 34;
        answer(f, p);
    };
    const Reply r = save.link.LeeBloque(1024);
    EXPECT_EQ(std::make_pair(r.ok(), r.data.left(1)), std::make_pair(true, QByteArray("\x7e")));
    EXPECT_EQ(save.port.writes, QList<QByteArray>(3, Link::frameLeeBloque(1023)));
}

TEST(Link, WritesProbeAndEraseTrigger)
{
    Bench b(LinkProfile::frmsave());
    FakeLogger logger;
    logger.attach(b.port);
    b.port.open();
    b.port.arrive(QByteArrayLiteral("junk"));   // dropped before the frame goes out
    EXPECT_TRUE(b.link.EscribeByte(258, 0x20));
    EXPECT_EQ(b.port.pendingBytes(), 0);
    EXPECT_TRUE(b.link.EscribeByteCorto(64, 'A'));
    EXPECT_TRUE(b.link.EnviaBorrado());
    EXPECT_EQ(b.port.writes, (QList<QByteArray>{QByteArray::fromHex("22010220"), QByteArray::fromHex("224041"),
                                                QByteArray::fromHex("a5")}));
}

TEST(Link, OnlyALoneAnswerOnAQuietLineIsALogger)
{
    struct Case {
        const char* what;
        QByteArray before;   // already waiting when the probe goes out
        QByteArray answer;
        qint64 delay, step;
        ProbeResult heard;
        qint64 tookMs;
    };
    const Case cases[] = {
        {"0x14 within the pause", {}, QByteArray::fromHex("14"), 5, 0, ProbeResult::Logger, 25},
        {"0x14 held back by an adapter", {}, QByteArray::fromHex("14"), 60, 0, ProbeResult::Logger, 65},
        {"silence", {}, {}, 0, 0, ProbeResult::Silence, 100},
        {"another byte", {}, QByteArray::fromHex("15"), 5, 0, ProbeResult::Other, 25},
        {"0x14 twice", {}, QByteArray::fromHex("1414"), 5, 1, ProbeResult::Other, 25},
        {"0x14, then a byte while it settles", {}, QByteArray::fromHex("14ff"), 19, 4, ProbeResult::Other, 25},
        {"0x14 after the line spoke unasked", QByteArray::fromHex("14"), QByteArray::fromHex("14"), 5, 0,
         ProbeResult::Other, 25},
        {"the line spoke unasked, then silence", QByteArray::fromHex("00"), {}, 0, 0, ProbeResult::Other, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bench b(LinkProfile::frmsave());
        b.port.open();
        b.port.arrive(c.before);
        b.port.responder = [&](const QByteArray&, ScriptedPort& p) { p.arrive(c.answer, c.delay, c.step); };
        const qint64 start = b.clock.nowMs();
        EXPECT_EQ(b.link.Sondea(), c.heard);
        EXPECT_EQ(b.clock.nowMs() - start, c.tookMs);
        EXPECT_EQ(b.port.writes, QList<QByteArray>{QByteArray::fromHex("ea")});
    }
}

// Finding the logger among other ports: one marked unusable is skipped, one that fails to open,
// to send or to read is passed over for the logger behind it, and a failed search leaves none open.
TEST(Link, PortSearchSkipsUnusableOrFailingPortsAndClosesEveryCandidate)
{
    const QString first = QStringLiteral("/dev/ttyS0");
    const QList<DetectedPort> ports = {
        {1, first, true, {}, false},
        {3, QStringLiteral("/dev/ttyS2"), false, QStringLiteral("busy"), false},
        {34, QStringLiteral("/dev/ttyUSB1"), true, {}, false},
    };
    for (const QString fails : {"nothing", "open", "write", "read"}) {
        SCOPED_TRACE(fails.toStdString());
        Bench b(LinkProfile::frmsave());
        const RuntimeError error(ErrReadDevice, QStringLiteral("Input/output error"));
        const bool loggerBehind = fails != QLatin1String("nothing");
        QHash<QString, int> probes;
        b.port.onOpen = [&](ScriptedPort& p) {
            if (fails == QLatin1String("open") && p.portName() == first)
                throw error;
        };
        b.port.responder = [&](const QByteArray&, ScriptedPort& p) {
            ++probes[p.portName()];
            if (p.portName() != first && loggerBehind)
                p.arrive(QByteArray::fromHex("14"), 5);
            else if (p.portName() == first && fails == QLatin1String("read"))
                p.readError = error;
            else if (p.portName() == first && fails == QLatin1String("write"))
                throw error;
        };
        EXPECT_EQ(BuscaPuerto(b.link, ports), loggerBehind ? std::optional<int>(34) : std::nullopt);
        EXPECT_EQ(b.port.isOpen(), loggerBehind);
        EXPECT_EQ(b.port.portName(), QStringLiteral("/dev/ttyUSB1"));
        if (!loggerBehind) {
            EXPECT_EQ(probes, (QHash<QString, int>{{first, 5}, {QStringLiteral("/dev/ttyUSB1"), 5}}));
        }
        EXPECT_FALSE(b.closing);
        EXPECT_TRUE(b.sink.messages.isEmpty());
    }

    // A closing window tries nothing.
    Bench b(LinkProfile::frmsave());
    b.closing = true;
    EXPECT_EQ(BuscaPuerto(b.link, ports), std::nullopt);
    EXPECT_EQ(b.port.openCount, 0);
}

// A run of block reads takes each reply at its 34th byte and settles it on the next request's
// quiet start; only the last reply waits for its own settle.
TEST(Link, ARunOfReadsHandsOnOnlyRepliesThatDidNotRunOn)
{
    struct Case {
        const char* what;
        QList<int> tailOn;   // reads (in the order sent) whose reply runs on by six bytes
        qint64 tailAfterMs, stepMs;   // the tail after the 34th byte; the reply's pace
        QList<int> blocksRead;
        bool ok;
        int revoked, runOn, leftover;
    };
    const QList<int> run = {10, 11, 12};
    const Case cases[] = {
        {"sound replies", {}, 0, 0, {10, 11, 12}, true, 0, 0, 0},
        {"a tail 1 ms after the 34th byte", {0}, 1, 0, {10, 11, 10, 11, 12}, true, 1, 1, 0},
        {"a tail 3 ms after, still within the request's time", {1}, 3, 0, {10, 11, 12, 11, 12}, true, 1, 1, 0},
        // The bound: a tail held back past the window is taken like one held back past a settle;
        // it makes the next reply too long, and that one is read again.
        {"a tail held back 5 ms", {0}, 5, 0, {10, 11, 11, 12}, true, 0, 1, 0},
        {"the last reply runs on: its own settle sees it", {2}, 1, 0, {10, 11, 12, 12}, true, 0, 1, 0},
        {"every reply runs on: the first block gives up", {0, 1, 2, 3, 4, 5, 6, 7}, 1, 0,
         {10, 11, 10, 11, 10, 11, 10, 11}, false, 4, 4, 0},
        {"trickling replies settle each on its own", {}, 0, 5, {10, 11, 12}, true, 0, 0, 0},
        {"trickling replies that run on", {0}, 5, 5, {10, 10, 11, 12}, true, 0, 1, 0},
    };
    QByteArray memory(32768, '\0');
    for (int i = 0; i < memory.size(); ++i)
        memory[i] = char(1 + (i * 7 + i / 256) % 255);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bench b(LinkProfile::frmsave());
        QList<int> blocksRead;
        b.port.responder = [&](const QByteArray& f, ScriptedPort& p) {
            const int address = quint8(f.at(1)) * 256 + quint8(f.at(2));
            const bool runsOn = c.tailOn.contains(int(blocksRead.size()));
            blocksRead.append(address / 32);
            const qint64 delay = 5;
            p.arrive(memory.mid(address, 32) + QByteArray(2, '\0'), delay, c.stepMs);
            if (runsOn)
                p.arrive(QByteArray(6, 'U'), delay + 33 * c.stepMs + c.tailAfterMs, c.stepMs);
        };
        QList<int> started, confirmed;
        const BlockRunResult r = b.link.LeeBloques(
            run, [&](int i) { started.append(i); },
            [&](int i, const Reply& reply) {
                confirmed.append(i);
                EXPECT_EQ(reply.block(), memory.mid(run[i] * 32, 32)) << "block " << run[i];
            });
        const FramingCounts& n = b.link.framingCounts();
        EXPECT_EQ(r.ok(), c.ok);
        EXPECT_EQ(blocksRead, c.blocksRead);
        EXPECT_EQ(std::make_tuple(n.revoked, n.runOn, n.leftover), std::make_tuple(c.revoked, c.runOn, c.leftover));
        EXPECT_EQ(confirmed, c.ok ? QList<int>({0, 1, 2}) : QList<int>());
        if (c.ok) {
            EXPECT_EQ(started, QList<int>({0, 1, 2}));
        } else {
            EXPECT_EQ(std::make_pair(r.failedIndex, r.status), std::make_pair(0, ReplyStatus::NoReply));
        }
        // Replies at the line's pace settle only once, at the end of the run.
        if (c.stepMs == 0 && c.ok && c.runOn == 0) {
            EXPECT_EQ(n.settleMs, kSettleMs);
        }
        EXPECT_TRUE(b.sink.messages.isEmpty());
    }
}


TEST(LoggerStatus, DecodesTheThreeBlocks)
{
    const FakeLogger l = loggerWithMission();
    EstadoKLV e;
    DecodificaBloqueEstado(l.memory.mid(0, 34), Unit::Celsius, e);
    DecodificaIdentificacion(l.memory.mid(64, 32), e);
    DecodificaBanderas(l.memory.mid(256, 32), e);

    const QDateTime prep(QDate(2024, 3, 1), QTime(10, 5), Qt::UTC);
    EXPECT_EQ(e.HoraPrep, prep);
    EXPECT_EQ(std::make_tuple(e.EsperaInicio, e.DemoraInicio, e.NumMuestras, e.Intervalo),
              std::make_tuple(258, 30, 24576, 15));
    EXPECT_EQ(std::make_tuple(e.LimInf, e.LimSup, e.TempActual), std::make_tuple(-2, 8, -38));
    EXPECT_EQ(e.Exportador, QStringLiteral("FRUTAS ÑUÑO "));
    EXPECT_EQ(e.Transportador, QStringLiteral("TRANSPORTE X"));
    EXPECT_EQ(e.SerieKLV, QStringLiteral("12345"));   // the field holds five characters
    EXPECT_TRUE(e.Circular && e.ArranquePulsador && e.Guardado && e.Registrando && e.AlarmaLo && e.AlarmaHi);
    EXPECT_FALSE(e.SinDatos);
    EXPECT_EQ(std::make_tuple(e.VerFw1, e.VerFw2, e.VerFw3), std::make_tuple(2, 1, 3));
    EXPECT_EQ(e.inicioMision(), prep.addSecs((258 + 30) * 60));
    EXPECT_EQ(e.finMision(), prep.addSecs((258 + 30 + qint64(15) * 24576) * 60));

    // Fahrenheit for limits and current temperature; a short serial is padded.
    QByteArray ident = l.memory.mid(64, 32);
    ident.replace(26, 3, QByteArray::fromHex("00002a"));
    DecodificaBloqueEstado(l.memory.mid(0, 32), Unit::Fahrenheit, e);
    DecodificaIdentificacion(ident, e);
    EXPECT_EQ(std::make_tuple(e.LimInf, e.LimSup, e.TempActual), std::make_tuple(28, 46, -37));
    EXPECT_EQ(e.SerieKLV, QStringLiteral("42   "));
}

// Each window reads the blocks in its own order; a failed read clears Comunicado and keeps the rest.
TEST(LoggerStatus, PollReadsBlocksInEachWindowsOrderAndFailedReadsKeepTheRest)
{
    StatusBench prep(LinkProfile::frmPrep()), b(LinkProfile::frmsave());
    EstadoKLV e;
    ASSERT_TRUE(ActualizaEstado(prep.link, e, Unit::Celsius));
    EXPECT_EQ(prep.logger.blocksRead, QList<int>({8, 0, 8, 2}));
    ASSERT_TRUE(ActualizaEstado(b.link, e, Unit::Celsius));
    EXPECT_EQ(b.logger.blocksRead, QList<int>({0, 8, 15, 2, 8}));
    EXPECT_TRUE(e.Comunicado);
    EXPECT_EQ(e.Transportador, QStringLiteral("TRANSPORTE X"));
    QList<int> silentBlocks;
    const auto answer = b.port.responder;
    b.port.responder = [&](const QByteArray& f, ScriptedPort& p) {
        if (!silentBlocks.contains(quint8(f.at(1)) * 8 + quint8(f.at(2)) / 32))
            answer(f, p);
    };

    // Block 2 lost: the flag block read after it succeeds, but the poll as a whole did not.
    silentBlocks = {2};
    b.logger.setByte(26, 1);
    b.logger.setByte(27, 0);
    EXPECT_FALSE(ActualizaEstado(b.link, e, Unit::Celsius));
    EXPECT_FALSE(e.Comunicado);
    EXPECT_EQ(e.NumMuestras, 1);   // block 0 was read

    // Block 0 lost: the firmware version is forgotten, the other fields stay as last read.
    silentBlocks = {0};
    EXPECT_FALSE(LeeEstado(b.link, e, Unit::Celsius));
    EXPECT_EQ(std::make_tuple(e.VerFw1, e.VerFw2, e.VerFw3), std::make_tuple(0, 0, 0));
    EXPECT_EQ(e.Exportador, QStringLiteral("FRUTAS ÑUÑO "));
    EXPECT_TRUE(b.sink.messages.isEmpty());
}
