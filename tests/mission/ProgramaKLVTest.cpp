// Programming a mission against the emulated logger on a real pseudo-terminal: the exact frames
// and values, the serial number written back, and the read-back that catches lost writes.

#include "link/LoggerStatus.h"
#include "link/QtSerialPort.h"
#include "mission/LiveSummary.h"
#include "mission/ProgramaKLV.h"
#include "support/DeviceLink.h"
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

// Real time for reply time-outs; the fixed pauses are added up instead of slept, so a run takes
// milliseconds. The emulator cuts back-to-back frames apart by their bytes.
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
    for (const auto& e : emu.logger().frameLog())
        (quint8(e.frame.at(0)) == 0x22 ? c.writes : c.reads).append(e.frame);
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

const QDateTime kNow = QDateTime::currentDateTime();

} // namespace

TEST(ProgramaKLV, PushButtonCircularWritesTheExactSequenceAndVerifies)
{
    ScenarioOptions o;
    o.serial = 987654;   // six digits: 0x0F1206
    EmulatorFixture emu(ScenarioKind::Empty, o);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    MissionPlan p = basePlan();
    p.exporter = QStringLiteral("ABCDEFGHIJKLMNO");   // 15 characters
    p.circular = true;

    const QDateTime now(QDate(2026, 12, 6), QTime(21, 7, 30));
    const Programming c = program(emu, p, now);
    ASSERT_EQ(c.r.outcome, PrepResult::Outcome::Programmed) << c.r.differences.size();
    EXPECT_TRUE(c.messages.isEmpty());
    EXPECT_EQ(c.r.values.ModoPrep, 24);
    EXPECT_EQ(c.r.values.EstadoPrep, 0);
    EXPECT_EQ(c.r.values.DemoraPrep, 0);

    QList<QByteArray> expectedWrites{w(5, 1), w(20, 22), w(21, 0x07), w(22, 0x21), w(23, 0x06), w(24, 0x12), w(25, 0x26),
                                w(18, 0), w(19, 0), w(11, 84), w(12, 96), w(13, 4), w(256, 24), w(258, 0)};
    const QByteArray names("ABCDEFGHIJKLMSC         ");
    for (int i = 0; i < 24; ++i)
        expectedWrites.append(w(64 + i, quint8(names[i])));
    expectedWrites << w(90, 0x0F) << w(91, 0x12) << w(92, 0x06);
    EXPECT_EQ(c.writes, expectedWrites);
    // Block 2 for the serial number before writing, blocks 0, 2, 8 after.
    EXPECT_EQ(c.reads, (QList<QByteArray>{QByteArray::fromHex("330040"), QByteArray::fromHex("330000"),
                                             QByteArray::fromHex("330040"), QByteArray::fromHex("330100")}));
    EXPECT_EQ(c.paused, 3400 + 27 * 50);
    EXPECT_EQ(c.progress.first(), 1100);
    EXPECT_EQ(c.progress.last(), 2000);
    EXPECT_TRUE(std::is_sorted(c.progress.begin(), c.progress.end()));

    EXPECT_EQ(emu.logger().phase(), Logger::Phase::WaitingButton);
    EXPECT_EQ(emu.logger().peek(90) << 16 | emu.logger().peek(91) << 8 | emu.logger().peek(92), 987654);
}

TEST(ProgramaKLV, SetTimeAndDelayedButtonStarts)
{
    EmulatorFixture emu(ScenarioKind::Empty);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();

    MissionPlan p = basePlan();
    p.start = StartMode::SetTime;
    p.startTime = kNow.addSecs(2 * 3600);
    Programming c = program(emu, p, kNow);
    ASSERT_EQ(c.r.outcome, PrepResult::Outcome::Programmed);
    EXPECT_EQ(c.writes.mid(7, 2), (QList<QByteArray>{w(18, 120), w(19, 0)}));
    EXPECT_EQ(c.writes.mid(12, 2), (QList<QByteArray>{w(256, 0), w(258, 32)}));
    EXPECT_EQ(emu.logger().phase(), Logger::Phase::WaitingStart);
    // The exporter of 19 characters keeps its first 12; the carrier of 3 is padded with 9 blanks.
    EXPECT_EQ(emu.logger().memory().mid(64, 24), QByteArray("EXPORTADORA MSC         "));

    // What the next poll of the preparation window shows: armed, waiting for the set time.
    {
        test::DeviceLink prep(emu.devicePath(), link::LinkProfile::frmPrep());
        link::EstadoKLV e;
        ASSERT_TRUE(link::ActualizaEstado(prep.link, e, Unit::Celsius));
        EXPECT_TRUE(e.Registrando);
        EXPECT_EQ(e.DemoraInicio, 120);
        EXPECT_EQ(e.Intervalo, 4);
        TextTable textos;
        textos.CargaTextos(0);
        const mission::LiveSummary r = mission::PoneResumen(e, QStringLiteral(" °C"), textos, kNow, mission::SummaryCopy::frmPrep);
        EXPECT_EQ(r.panel.recording->index, 7);
        EXPECT_EQ(r.panel.startMode->index, 6);
        EXPECT_EQ(*r.panel.lowLimit, QStringLiteral(" < 2 °C"));
    }

    // Prepared again, now by push-button with a delay of 300 minutes (0x012C).
    emu.logger().erase();
    p.start = StartMode::ButtonDelay;
    p.delay = 300;
    p.exporter = QStringLiteral("SUR");
    c = program(emu, p, kNow);
    ASSERT_EQ(c.r.outcome, PrepResult::Outcome::Programmed);
    EXPECT_EQ(c.writes.mid(14, 12), (QList<QByteArray>{w(64, 'S'), w(65, 'U'), w(66, 'R'), w(67, ' '), w(68, ' '), w(69, ' '),
                                                            w(70, ' '), w(71, ' '), w(72, ' '), w(73, ' '), w(74, ' '), w(75, ' ')}));
    EXPECT_EQ(c.writes.mid(7, 2), (QList<QByteArray>{w(18, 0x2C), w(19, 0x01)}));
    EXPECT_EQ(c.writes.mid(12, 2), (QList<QByteArray>{w(256, 16), w(258, 0)}));
    EXPECT_EQ(emu.logger().phase(), Logger::Phase::WaitingButton);
}

TEST(ProgramaKLV, LostWritesAndSilenceAreNeverReportedAsProgrammed)
{
    EmulatorFixture emu(ScenarioKind::Empty);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();

    emu.logger().setFault(Fault::DropsWrites);
    Programming c = program(emu, basePlan(), kNow);
    EXPECT_EQ(c.r.outcome, PrepResult::Outcome::NotProgrammed);
    EXPECT_TRUE(c.r.differences.contains(13));
    EXPECT_TRUE(c.r.differences.contains(258));   // still "no data"
    EXPECT_EQ(c.writes.size(), 41);
    EXPECT_EQ(resultMessage(c.r, 1), QStringLiteral("The KLV-100 was not programmed correctly. Prepare it again before using it."));

    // A logger that answers the first read but not the read-back.
    emu.logger().setFault(Fault::SilentAfter, 1);
    c = program(emu, basePlan(), kNow);
    EXPECT_EQ(c.r.outcome, PrepResult::Outcome::NotProgrammed);

    // No answer at all: nothing is written.
    emu.logger().setFault(Fault::Silent);
    c = program(emu, basePlan(), kNow);
    EXPECT_EQ(c.r.outcome, PrepResult::Outcome::NoAnswer);
    EXPECT_TRUE(c.writes.isEmpty());

    // A choice the logger cannot take is refused before the port is touched.
    emu.logger().setFault(Fault::None);
    MissionPlan p = basePlan();
    p.start = StartMode::ButtonDelay;
    p.delay = 65536;
    c = program(emu, p, kNow);
    EXPECT_EQ(c.r.outcome, PrepResult::Outcome::Refused);
    EXPECT_TRUE(c.writes.isEmpty() && c.reads.isEmpty());
}

TEST(ProgramaKLV, CommandLinePrepareVerifiesAndRefusesBadArguments)
{
    EmulatorFixture emu(ScenarioKind::Empty);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    const QStringList common{QStringLiteral("prepare"), QStringLiteral("--port"), emu.devicePath(),
                              QStringLiteral("--exporter"), QStringLiteral("FRIGORIFICO"), QStringLiteral("--carrier"),
                              QStringLiteral("MSC")};
    // The unit is given, so the settings record beside the program does not decide it.
    const auto run = [&](const QStringList& extra) {
        return orvan::test::runCli(common + extra + (extra.contains(QStringLiteral("--unit")) ? QStringList() : QStringList{"--unit", "C"}));
    };

    // Refused, and nothing at all sent to the logger.
    emu.logger().clearFrameLog();
    const QList<QStringList> refusedLines = {
        {"--days", "16", "--lo", "2", "--hi", "8", "--start", "button"},
        {"--interval", "61", "--lo", "2", "--hi", "8", "--start", "button"},
        {"--interval", "4", "--lo", "2", "--hi", "8"},   // no --start
        {"--days", "30", "--interval", "2", "--lo", "2", "--hi", "8", "--start", "button"},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start", "button", "--unit", "F"},   // 2 °F is not listed
        {"--days", "30", "--lo", "8", "--hi", "2", "--start", "button"},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start", "delay=65536"},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start", "delay=ten"},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start",
         "time=" + QDateTime::currentDateTime().addDays(46).toString(QStringLiteral("yyyy-MM-ddTHH:mm"))},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start", "button", "--exporter", "A/B"},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start", "button", "--exporter", "A\\B"},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start",
         "time=" + QDateTime::currentDateTime().addSecs(-120).toString(QStringLiteral("yyyy-MM-ddTHH:mm"))},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start", "button", "--exporter", "FRIO\tSUR"},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start", "button", "--carrier", "MSC\nLINE"},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start", "button", "--carrier", QStringLiteral("MSC \u03A9")},
    };
    for (const QStringList& extra : refusedLines) {
        SCOPED_TRACE(extra.join(' ').toStdString());
        const auto r = run(extra);
        EXPECT_EQ(r.code, 2) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count('\n'), 1);
    }
    EXPECT_TRUE(emu.logger().frameLog().isEmpty());
    // The refusal of a name names the character, in the language of --lang.
    const auto omega = run({"--days", "30", "--lo", "2", "--hi", "8", "--start", "button", "--lang", "3", "--exporter",
                            QStringLiteral("CAF\u00C9 \u03A9")});
    EXPECT_EQ(QString::fromUtf8(omega.err).trimmed(),
              QStringLiteral("orvanlog-cli: --exporter: ") + *nameRefusal(QStringLiteral("\u03A9"), 3));

    // In Fahrenheit 34 and 46 are listed limits (raw 82 and 96).
    auto r = run({"--days", "30", "--lo", "34", "--hi", "46", "--unit", "F", "--start", "delay=90", "--circular"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("\"verified\": true"));
    EXPECT_EQ(emu.logger().peek(11), 82);
    EXPECT_EQ(emu.logger().peek(12), 96);
    EXPECT_EQ(emu.logger().peek(13), 2);
    EXPECT_EQ(emu.logger().peek(18), 90);
    EXPECT_EQ(emu.logger().peek(256), 24);

    // The JSON says what the logger was given: the name trimmed, cut to 12 and padded.
    r = run({"--interval", "15", "--lo", "2", "--hi", "8", "--start", "button", "--exporter",
             QStringLiteral("  CAF\u00C9 NI\u00D1O DEL SUR")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(r.out).contains(QStringLiteral("\"Exportador\": \"CAF\u00C9 NI\u00D1O DE\"")))
        << r.out.toStdString();
    EXPECT_EQ(emu.logger().memory().mid(64, 12), QByteArray("CAF\xC9 NI\xD1O DE"));

    emu.logger().setFault(Fault::DropsWrites);
    r = run({"--interval", "15", "--lo", "2", "--hi", "8", "--start", "button", "--lang", "4"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(QString::fromUtf8(r.err).startsWith("orvanlog-cli: " + prepText(PrepSentence::NotProgrammed, 4)))
        << r.err.toStdString();
}
