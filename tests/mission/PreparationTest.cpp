// The preparation: its arithmetic (what a duration or an interval turns into, the limit lists, what
// is refused), then programming the emulated logger on a real pseudo-terminal: the exact frames and
// values, the serial number written back, and the read-back that catches lost writes.

#include "link/QtSerialPort.h"
#include "base/Encodings.h"
#include "mission/PrepPlan.h"
#include "mission/ProgramaKLV.h"
#include "support/RunCli.h"
#include "tools/emulator/EmulatorFixture.h"

#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::mission;
using orvan::emulator::EmulatorFixture;
using orvan::emulator::Fault;
using orvan::emulator::Logger;
using orvan::emulator::ScenarioKind;
using orvan::emulator::ScenarioOptions;

namespace {

// Real time for reply time-outs; the fixed pauses are added up instead of slept.
class CountedPauses : public link::SystemClock {
public:
    void sleepMs(int ms) override { paused += ms; }
    int paused = 0;
};

struct Programming {
    PrepResult r;
    QList<QByteArray> writes;   // write frames, in order
    QList<QByteArray> reads;     // block read frames, in order
    int paused = 0;
    QList<int> progress;
    QStringList messages;
};

Programming program(EmulatorFixture& emu, const MissionPlan& p, const QDateTime& now)
{
    link::QtSerialPort port;
    port.setPortName(emu.devicePath());
    CountedPauses clock;
    std::atomic<bool> closing{false};
    Programming c;
    link::Link lnk(port, clock, closing, link::LinkProfile::frmPrep(), [&c](const QString& m) { c.messages.append(m); });
    emu.logger().clearFrameLog();
    c.r = ProgramaKLV(lnk, [&c](int v) { c.progress.append(v); }).run(p, now);
    c.paused = clock.paused;
    for (const QByteArray& f : emu.frames())
        (quint8(f.at(0)) == 0x22 ? c.writes : c.reads).append(f);
    return c;
}

QByteArray w(int address, int value)
{
    return QByteArray::fromHex(QByteArray::number((0x22 << 24) | (address << 8) | value, 16).rightJustified(8, '0'));
}

MissionPlan basePlan()
{
    MissionPlan p;
    p.interval = 4;
    p.rawLimInf = 84;    // 2 °C
    p.rawLimSup = 96;    // 8 °C
    p.exporter = QStringLiteral("EXPORTADORA AUSTRAL");   // 19 characters
    p.carrier = QStringLiteral("MSC");
    return p;
}

const QDateTime kNow(QDate(2026, 12, 6), QTime(20, 30, 15));

} // namespace

TEST(PrepPlan, DurationsAndIntervalsGiveTheCoveredTime)
{
    struct Case { int days; int interval; const char* text; };
    for (const Case& c : {Case{64, 4, "68 d  06 h"}, Case{1, 1, "17 d  01 h"}, Case{360, 22, "375 d  11 h"},
                          Case{30, 2, "34 d  03 h"}, Case{17, 1, "17 d  01 h"}, Case{18, 2, "34 d  03 h"}}) {
        SCOPED_TRACE(c.days);
        EXPECT_EQ(intervalForDays(c.days), c.interval);
        EXPECT_EQ(durationText(c.interval), QString::fromLatin1(c.text));
    }
    // Every listed duration fits an interval the logger takes.
    for (int d : durationDays())
        EXPECT_LE(intervalForDays(d), 60) << d;
}

// Each offered limit is written as the raw value it came from; Fahrenheit in steps of 1.8 degrees
// to the nearest whole number.
TEST(PrepPlan, LimitListsGiveBackTheirRawValues)
{
    const QList<int> c = limitList(orvan::Unit::Celsius);
    const QList<int> f = limitList(orvan::Unit::Fahrenheit);
    ASSERT_EQ(c.size(), 126);
    ASSERT_EQ(f.size(), 126);
    for (int raw = 0; raw <= 250; raw += 2) {
        EXPECT_EQ(orvan::GradosARaw(c[raw / 2], orvan::Unit::Celsius), raw);
        EXPECT_EQ(orvan::GradosARaw(f[raw / 2], orvan::Unit::Fahrenheit), raw);
    }
}

// Accept needs a logger, an interval and a set start within 45 days (picture 14; 13 beyond).
TEST(PrepPlan, AcceptNeedsAnIntervalAndAStartWithin45Days)
{
    EXPECT_FALSE(DatosPrepOk(true, StartMode::Button, 0, 0).ok);
    EXPECT_FALSE(DatosPrepOk(false, StartMode::Button, 0, 4).ok);
    const AcceptState edge = DatosPrepOk(true, StartMode::SetTime, kMaxStartMinutes, 4), far = DatosPrepOk(true, StartMode::SetTime, kMaxStartMinutes + 1, 4);
    EXPECT_EQ(std::make_tuple(edge.ok, edge.imgClock, far.ok, far.imgClock), std::make_tuple(true, 14, false, 13));
    EXPECT_EQ(minutesUntil(QDateTime(QDate(2026, 1, 1), QTime(10, 0, 59)), QDateTime(QDate(2026, 1, 1), QTime(10, 1, 0))), 1);
}

TEST(PrepPlan, DelayBoxTakesWholeMinutesThatFitTwoBytes)
{
    EXPECT_EQ(parseDelay(QStringLiteral(" 65535 ")), 65535);
    for (const char* bad : {"65536", "-1", "", "1,5", "abc", "1e3", "+5", "99999999999999999999"})
        EXPECT_FALSE(parseDelay(QString::fromLatin1(bad))) << bad;
}

TEST(PrepPlan, PlansThatAreRefused)
{
    struct Case {
        const char* what;
        std::function<void(MissionPlan&)> change;
        std::optional<PrepSentence> refusal;
    };
    const Case cases[] = {
        {"button", [](MissionPlan&) {}, std::nullopt},
        // A start time that passed while the user pressed Accept starts now.
        {"set time passed", [](MissionPlan& p) { p.start = StartMode::SetTime; p.startTime = kNow.addSecs(-300); },
         std::nullopt},
        {"set time 46 days on", [](MissionPlan& p) { p.start = StartMode::SetTime; p.startTime = kNow.addDays(46); },
         PrepSentence::StartTooFar},
        {"delay past two bytes", [](MissionPlan& p) { p.start = StartMode::ButtonDelay; p.delay = 70000; },
         PrepSentence::BadDelay},
        {"low limit above the high", [](MissionPlan& p) { p.rawLimInf = 98; }, PrepSentence::LimitOrder},
        {"one limit for both", [](MissionPlan& p) { p.rawLimInf = 96; }, std::nullopt},
        {"no interval", [](MissionPlan& p) { p.interval = 0; }, PrepSentence::NoInterval},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MissionPlan p;
        p.interval = 4;
        p.rawLimInf = 80;
        p.rawLimSup = 96;
        c.change(p);
        EXPECT_EQ(validatePlan(p, kNow), c.refusal);
        EXPECT_TRUE(c.refusal || p.start != StartMode::SetTime || computeValues(p, kNow).DemoraPrep == 0);
    }
    // The stamp is minute, hour, day, month and year in BCD.
    EXPECT_EQ(computeValues({}, QDateTime(QDate(2026, 3, 9), QTime(7, 45))).FechaPrepBCD,
              (std::array<quint8, 5>{0x45, 0x07, 0x09, 0x03, 0x26}));
}

// Each start mode: the exact frames (the stamp in BCD, the limits, interval, delay, mode and status,
// the names cut or padded to 12, the serial number written back), the read-back, and what the
// logger does then.
TEST(ProgramaKLV, EachStartWritesTheExactSequenceAndVerifies)
{
    struct Case {
        StartMode start;
        bool circular;
        int delay, mode, status;
        Logger::Phase phase;
    };
    const Case cases[] = {
        {StartMode::Button, true, 0, 24, 0, Logger::Phase::WaitingButton},
        {StartMode::SetTime, false, 120, 0, 32, Logger::Phase::WaitingStart},
        {StartMode::ButtonDelay, false, 300, 16, 0, Logger::Phase::WaitingButton},
    };
    const QDateTime now(QDate(2026, 12, 6), QTime(21, 7, 30));
    for (const Case& k : cases) {
        SCOPED_TRACE(int(k.start));
        ScenarioOptions o;
        o.serial = 987654;   // six digits: 0x0F1206
        EmulatorFixture emu(ScenarioKind::Empty, o);
        ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
        MissionPlan p = basePlan();
        p.start = k.start;
        p.circular = k.circular;
        p.startTime = now.addSecs(2 * 3600);
        p.delay = 300;
        const Programming c = program(emu, p, now);
        ASSERT_EQ(c.r.outcome, PrepResult::Outcome::Programmed) << c.r.differences.size();
        EXPECT_TRUE(c.messages.isEmpty());
        QList<QByteArray> want{w(5, 1), w(20, 22), w(21, 0x07), w(22, 0x21), w(23, 0x06), w(24, 0x12), w(25, 0x26),
                               w(18, k.delay & 0xFF), w(19, k.delay >> 8), w(11, 84), w(12, 96), w(13, 4), w(256, k.mode),
                               w(258, k.status)};
        // The exporter of 19 characters keeps its first 12; the carrier of 3 is padded with 9 blanks.
        for (const char ch : QByteArray("EXPORTADORA MSC         "))
            want.append(w(64 + int(want.size()) - 14, quint8(ch)));
        want << w(90, 0x0F) << w(91, 0x12) << w(92, 0x06);
        EXPECT_EQ(c.writes, want);
        // Block 2 for the serial number before writing, blocks 0, 2, 8 after.
        EXPECT_EQ(c.reads, (QList<QByteArray>{QByteArray::fromHex("330040"), QByteArray::fromHex("330000"),
                                                 QByteArray::fromHex("330040"), QByteArray::fromHex("330100")}));
        EXPECT_EQ(c.paused, 3400 + 27 * 50);
        EXPECT_EQ(c.progress.last(), 2000);
        EXPECT_EQ(emu.logger().phase(), k.phase);
        EXPECT_EQ(emu.logger().peek(90) << 16 | emu.logger().peek(91) << 8 | emu.logger().peek(92), 987654);
    }
}

TEST(ProgramaKLV, LostWritesAndSilenceAreNeverReportedAsProgrammed)
{
    MissionPlan tooLong = basePlan();
    tooLong.start = StartMode::ButtonDelay;
    tooLong.delay = 65536;
    struct Case {
        const char* what;
        std::function<void(Logger&)> fault;
        PrepResult::Outcome outcome;
        QList<int> differences;   // some of the addresses that must be told
        int writes;
        MissionPlan plan = basePlan();
    };
    const Case cases[] = {
        {"every write lost", [](Logger& l) { l.setFault(Fault::DropsWrites); }, PrepResult::Outcome::NotProgrammed,
         {13, 258}, 41},   // 258 still says "no data"
        // The stamp's year byte written, then changed by the logger before the read-back.
        {"year byte not kept", [](Logger& l) {
             l.setFrameObserver([&l](const emulator::FrameLogEntry& e) {
                 if (e.frame.size() == 4 && e.frame.startsWith(QByteArray::fromHex("220019")))
                     l.writeByte(25, quint8(e.frame.at(3)) ^ 1);
             });
         }, PrepResult::Outcome::NotProgrammed, {25}, 41},
        {"silent after the first read", [](Logger& l) { l.setFault(Fault::SilentAfter, 1); },
         PrepResult::Outcome::NotProgrammed, {}, 41},
        {"silent", [](Logger& l) { l.setFault(Fault::Silent); }, PrepResult::Outcome::NoAnswer, {}, 0},
        // A choice the logger cannot take is refused before the port is touched.
        {"delay past two bytes", {}, PrepResult::Outcome::Refused, {}, 0, tooLong},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        EmulatorFixture emu(ScenarioKind::Empty);
        ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
        if (k.fault)
            k.fault(emu.logger());
        const Programming c = program(emu, k.plan, kNow);
        EXPECT_EQ(c.r.outcome, k.outcome);
        for (int address : k.differences)
            EXPECT_TRUE(c.r.differences.contains(address)) << address;
        EXPECT_EQ(c.writes.size(), k.writes);
        EXPECT_EQ(c.reads.isEmpty(), k.outcome == PrepResult::Outcome::Refused);
    }
}

TEST(ProgramaKLV, CommandLinePrepareVerifiesAndRefusesBadArguments)
{
    EmulatorFixture emu(ScenarioKind::Empty);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    const QStringList common{"prepare", "--port", emu.devicePath(), "--exporter", "FRIGORIFICO", "--carrier", "MSC"};
    // The unit is given, so the settings record beside the program does not decide it.
    const auto run = [&](const QStringList& extra) {
        return orvan::test::runCli(common + extra + (extra.contains(QStringLiteral("--unit")) ? QStringList() : QStringList{"--unit", "C"}));
    };
    const QStringList ok = {"--days", "30", "--lo", "2", "--hi", "8"};
    const auto time = [](qint64 secs) {
        return "time=" + QDateTime::currentDateTime().addSecs(secs).toString(QStringLiteral("yyyy-MM-ddTHH:mm"));
    };

    // Refused, and nothing at all sent to the logger.
    const QList<QStringList> refusedLines = {
        {"--days", "16", "--lo", "2", "--hi", "8", "--start", "button"},
        {"--interval", "61", "--lo", "2", "--hi", "8", "--start", "button"},
        {"--interval", "4", "--lo", "2", "--hi", "8"},   // no --start
        ok + QStringList{"--interval", "2", "--start", "button"},
        ok + QStringList{"--start", "button", "--unit", "F"},   // 2 °F is not listed
        {"--days", "30", "--lo", "8", "--hi", "2", "--start", "button"},
        ok + QStringList{"--start", "delay=65536"},
        ok + QStringList{"--start", "delay=ten"},
        ok + QStringList{"--start", time(46 * 86400)},
        ok + QStringList{"--start", time(-120)},
        ok + QStringList{"--start", "button", "--exporter", "A/B"},
        ok + QStringList{"--start", "button", "--exporter", "A\\B"},
        ok + QStringList{"--start", "button", "--carrier", "MSC\nLINE"},
        ok + QStringList{"--start", "button", "--carrier", QStringLiteral("MSC \u03A9")},
    };
    emu.logger().clearFrameLog();
    for (const QStringList& extra : refusedLines) {
        SCOPED_TRACE(extra.join(' ').toStdString());
        const auto r = run(extra);
        EXPECT_EQ(r.code, 2) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count('\n'), 1);
    }
    EXPECT_TRUE(emu.frames().isEmpty());
    // The refusal of a name names the character, in the language of --lang.
    const auto omega = run(ok + QStringList{"--start", "button", "--lang", "3", "--exporter", QStringLiteral("CAF\u00C9 \u03A9")});
    EXPECT_EQ(QString::fromUtf8(omega.err).trimmed(),
              QStringLiteral("orvanlog-cli: --exporter: ") + *nameRefusal(QStringLiteral("\u03A9"), 3));

    // Accepted, or programmed and not read back: what the command says and the logger holds (address, value).
    struct Run {
        QStringList args;
        Fault fault;
        int code;
        QString says;   // in the output (code 0) or at the start of stderr
        QList<std::pair<int, int>> bytes;
    };
    const Run runs[] = {
        // In Fahrenheit 34 and 46 are listed limits (raw 82 and 96).
        {{"--days", "30", "--lo", "34", "--hi", "46", "--unit", "F", "--start", "delay=90", "--circular"}, Fault::None, 0,
         "\"verified\": true", {{11, 82}, {12, 96}, {13, 2}, {18, 90}, {256, 24}}},
        // The limit lists allow one limit for both.
        {{"--interval", "5", "--lo", "4", "--hi", "4", "--start", "button"}, Fault::None, 0, "\"verified\": true",
         {{11, 88}, {12, 88}, {13, 5}}},
        // The JSON says what the logger was given: the name trimmed, cut to 12 and padded.
        {{"--interval", "15", "--lo", "2", "--hi", "8", "--start", "button", "--exporter",
          QStringLiteral("  CAF\u00C9 NI\u00D1O DEL SUR")}, Fault::None, 0,
         QStringLiteral("\"Exportador\": \"CAF\u00C9 NI\u00D1O DE\""),
         {{67, 0xC9}, {71, 0xD1}, {75, 'E'}, {76, 'M'}}},
        {{"--interval", "15", "--lo", "2", "--hi", "8", "--start", "button", "--lang", "4"}, Fault::DropsWrites, 1,
         "orvanlog-cli: " + prepText(PrepSentence::NotProgrammed, 4), {}},
    };
    for (const Run& k : runs) {
        SCOPED_TRACE(k.args.join(' ').toStdString());
        emu.logger().erase();
        emu.logger().setFault(k.fault);
        const auto r = run(k.args);
        ASSERT_EQ(r.code, k.code) << r.err.toStdString();
        EXPECT_EQ(r.out.isEmpty(), k.code != 0);
        EXPECT_TRUE(k.code ? QString::fromUtf8(r.err).startsWith(k.says) : QString::fromUtf8(r.out).contains(k.says))
            << r.out.toStdString() << r.err.toStdString();
        for (const auto& [address, value] : k.bytes)
            EXPECT_EQ(emu.logger().peek(address), value) << address;
    }
}
