// orvanlog-cli download, stop and erase against the emulated logger on a pseudo-terminal: what
// they write, what they refuse to touch, and that a write is reported only when it reads back.

#include "base/AddedTexts.h"
#include "mission/DeviceCommands.h"
#include "mission/Download.h"
#include "support/RunCli.h"
#include "support/WaitFor.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace orvan;
using emulator::EmulatorFixture;
using emulator::Fault;
using emulator::ScenarioKind;
using emulator::ScenarioOptions;
using orvan::test::runCli;

namespace {

QList<QByteArray> writesTo(emulator::Logger& logger)
{
    QList<QByteArray> out;
    for (const auto& e : logger.frameLog())
        if (quint8(e.frame[0]) == 0x22 || quint8(e.frame[0]) == 0xA5)
            out.append(e.frame);
    return out;
}

// The emulator takes a frame once the line has been quiet a moment: the last frames of a command
// that has just ended may still be on their way.
QList<QByteArray> writesTo(emulator::Logger& logger, int expected)
{
    QList<QByteArray> writes;
    orvan::test::waitFor([&] { return (writes = writesTo(logger)).size() >= expected; }, 5000);
    return writes;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(CliDevice, DownloadWritesTheRecordAndMarksTheLogger)
{
    for (const bool mark : {true, false}) {
        SCOPED_TRACE(mark ? "marked" : "--no-mark");
        ScenarioOptions o;
        o.samples = 700;
        EmulatorFixture emu(ScenarioKind::Finished, o);
        ASSERT_TRUE(emu.ok());
        const QByteArray memory = emu.logger().memory();
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("viaje.klv"));
        QStringList args = {QStringLiteral("download"), QStringLiteral("--port"), emu.devicePath(), out};
        if (!mark)
            args.append(QStringLiteral("--no-mark"));
        const auto r = runCli(args);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();

        const QByteArray saved = readAll(out);
        ASSERT_EQ(saved.size(), 32768);
        QList<bool> planned(1024, false);
        for (int block : mission::downloadPlan(700).blocks)
            planned[std::min(block, 1023)] = true;
        for (int block = 0; block < 1024; ++block)
            ASSERT_EQ(saved.mid(block * 32, 32), planned[block] ? memory.mid(block * 32, 32) : QByteArray(32, '\0'))
                << "block " << block;
        EXPECT_TRUE(r.out.contains(mark ? "\"marked\": true" : "\"marked\": false")) << r.out.toStdString();
        EXPECT_EQ(QString::fromUtf8(r.err),
                  addedText(AddedText::Wrote, 0).arg(QFileInfo(out).absoluteFilePath(), QStringLiteral("32768")) + '\n')
            << "no progress bar when stderr is not a terminal, only the line about the file";

        const QList<QByteArray> writes = writesTo(emu.logger(), mark ? 26 : 0);
        if (mark) {
            ASSERT_EQ(writes.size(), 26);
            EXPECT_EQ(writes.at(24), QByteArray::fromHex("225801"));
            EXPECT_EQ(emu.logger().peek(258) & 128, 128);
        } else {
            EXPECT_TRUE(writes.isEmpty());
            EXPECT_EQ(emu.logger().peek(258) & 128, 0);
        }
    }
}

TEST(CliDevice, FailedDownloadLeavesAnExistingFileAlone)
{
    ScenarioOptions o;
    o.samples = 3000;
    EmulatorFixture emu(ScenarioKind::Finished, o);
    ASSERT_TRUE(emu.ok());
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("viaje.klv"));
    {
        QFile f(out);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("an earlier record");
    }
    // The status read takes five blocks; the logger goes away twenty blocks into the download.
    emu.logger().setFault(emulator::Fault::SilentAfter, 25);
    const auto r = runCli({QStringLiteral("download"), QStringLiteral("--port"), emu.devicePath(), out});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("Desconexión"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(readAll(out), "an earlier record");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"viaje.klv"}));
    EXPECT_TRUE(writesTo(emu.logger()).isEmpty());

    EXPECT_EQ(runCli({QStringLiteral("download"), QStringLiteral("--port"), emu.devicePath()}).code, 2);
    EXPECT_EQ(runCli({QStringLiteral("download"), out}).code, 2);
}

TEST(CliDevice, StopEndsARunningMissionAndEraseNeedsALogger)
{
    ScenarioOptions o;
    o.samples = 20;
    o.delay = 0;
    EmulatorFixture emu(ScenarioKind::Recording, o);
    ASSERT_TRUE(emu.ok());
    const quint8 status = emu.logger().peek(258);
    const auto r = runCli({QStringLiteral("stop"), QStringLiteral("--port"), emu.devicePath()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(writesTo(emu.logger(), 1), QList<QByteArray>({QByteArray::fromHex("220102") + char(status & 223)}));
    EXPECT_EQ(emu.logger().phase(), emulator::Logger::Phase::Idle);

    // Nothing left to stop.
    EXPECT_EQ(runCli({QStringLiteral("stop"), QStringLiteral("--port"), emu.devicePath()}).code, 1);

    // A logger that does not answer is not told to erase.
    emu.logger().clearFrameLog();
    emu.logger().setFault(emulator::Fault::Silent);
    const auto e = runCli({QStringLiteral("erase"), QStringLiteral("--yes"), QStringLiteral("--port"), emu.devicePath()});
    EXPECT_EQ(e.code, 1);
    EXPECT_TRUE(writesTo(emu.logger()).isEmpty());
}

// The window's rules on the command line: a logger in the wrong state is refused with one line
// in the language of --lang, and nothing is written to it.
TEST(CliDevice, RefusalsLeaveTheLoggerAsItWas)
{
    const QStringList prepare = {"prepare", "--interval", "5", "--lo", "2", "--hi", "8", "--start", "button",
                                 "--exporter", "X", "--carrier", "Y", "--unit", "C"};
    struct Case {
        const char* what;
        ScenarioKind kind;
        QStringList args;
        int lang;
        int code;
        QString says;
        bool frames;   // whether the logger was even asked for its status
    };
    const QString unsaved = addedText(AddedText::EraseUnsaved, 4).arg(100);
    const Case cases[] = {
        {"prepare over a mission", ScenarioKind::Finished, prepare, 1, 1,
         addedText(AddedText::PrepareHoldsMission, 1), true},
        {"prepare while recording", ScenarioKind::Recording, prepare, 2, 1, addedText(AddedText::PrepareRecording, 2), true},
        {"download marks a recording logger", ScenarioKind::Recording, {"download", "trip.klv"}, 3, 1,
         addedText(AddedText::DownloadRecording, 3), true},
        {"erase without --yes", ScenarioKind::Finished, {"erase", "--discard-unsaved"}, 1, 2, QString(), false},
        {"erase of unsaved samples", ScenarioKind::Finished, {"erase", "--yes"}, 4, 1, unsaved, true},
        {"stop of a finished mission", ScenarioKind::Finished, {"stop"}, 0, 1, addedText(AddedText::NothingToStop, 0), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmulatorFixture emu(c.kind);
        ASSERT_TRUE(emu.ok());
        const QByteArray before = emu.logger().memory();
        QTemporaryDir dir;
        QStringList args = c.args;
        if (args.first() == QLatin1String("download"))
            args.last() = dir.filePath(args.last());
        const auto r = runCli(args + QStringList{"--port", emu.devicePath(), "--lang", QString::number(c.lang)});
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        if (!c.says.isEmpty()) {
            EXPECT_EQ(QString::fromUtf8(r.err), QStringLiteral("orvanlog-cli: ") + c.says + QLatin1Char('\n'));
        }
        // The refusal came after an answered status read, so every frame sent has been taken.
        EXPECT_TRUE(writesTo(emu.logger()).isEmpty());
        EXPECT_EQ(emu.logger().frameLog().isEmpty(), !c.frames);
        EXPECT_EQ(emu.logger().memory(), before);
        EXPECT_TRUE(QDir(dir.path()).isEmpty());
    }
}

// The record reached the disk, the mark did not reach the logger: the file stays, the command
// fails and says both.
TEST(CliDevice, AMarkThatDoesNotReadBackIsNotReported)
{
    const int statusReads = 5;   // blocks 0, 8, 15, 2, then 8 again
    const int downloadReads = int(mission::downloadPlan(100).blocks.size());
    struct Case {
        const char* what;
        Fault fault;
        int after;
    };
    const Case cases[] = {
        {"writes lost", Fault::DropsWrites, 0},
        {"silent after the last block", Fault::SilentAfter, statusReads + downloadReads},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmulatorFixture emu(ScenarioKind::Finished);
        ASSERT_TRUE(emu.ok());
        emu.logger().setFault(c.fault, c.after);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("trip.klv"));
        const auto r = runCli({"download", "--port", emu.devicePath(), out, "--lang", "1"});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(QString::fromUtf8(r.err), "orvanlog-cli: " + mission::markFailedMessage(out, 1) + '\n');
        EXPECT_EQ(readAll(out).size(), 32768);
        EXPECT_EQ(emu.logger().peek(258) & mission::kBitGuardado, 0);
        EXPECT_EQ(writesTo(emu.logger(), 26).size(), 26) << "the mark was sent";
    }
}

TEST(CliDevice, StopIsReportedOnlyWhenTheLoggerStopped)
{
    EmulatorFixture emu(ScenarioKind::Recording);
    ASSERT_TRUE(emu.ok());
    emu.logger().setFault(Fault::DropsWrites);
    const auto r = runCli({"stop", "--port", emu.devicePath(), "--lang", "3"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(QString::fromUtf8(r.err), "orvanlog-cli: " + addedText(AddedText::StopNotStopped, 3) + '\n');
    EXPECT_EQ(writesTo(emu.logger()).size(), 1);
    EXPECT_EQ(emu.logger().phase(), emulator::Logger::Phase::Recording);
}

// The erase the window asks for, confirmed: a logger whose samples are saved is erased without
// --discard-unsaved.
TEST(CliDevice, EraseWithYesErasesASavedLogger)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok());
    emu.logger().writeByte(258, quint8(emu.logger().peek(258) | mission::kBitGuardado));
    const auto r = runCli({"erase", "--yes", "--port", emu.devicePath()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("\"erased\": true"));
    EXPECT_EQ(writesTo(emu.logger()), QList<QByteArray>({QByteArray::fromHex("22010040"), QByteArray::fromHex("a5")}));
    EXPECT_EQ(emu.logger().peek(258), 64);
}
