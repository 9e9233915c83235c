// orvanlog-cli download, stop and erase against the emulated logger on a pseudo-terminal: what
// they write, what they refuse to touch, and that a write is reported only when it reads back.

#include "base/AddedTexts.h"
#include "mission/DeviceCommands.h"
#include "mission/Download.h"
#include "support/RunCli.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan;
using emulator::EmulatorFixture;
using emulator::Fault;
using emulator::Logger;
using emulator::ScenarioKind;
using emulator::ScenarioOptions;
using orvan::test::runCli;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString said(const QString& text)
{
    return QStringLiteral("orvanlog-cli: ") + text + QLatin1Char('\n');
}

} // namespace

// The record is written, then the logger marked; a mark that does not read back fails the command
// and is told, and the file stays.
TEST(CliDevice, DownloadWritesTheRecordAndMarksTheLogger)
{
    const int reads = 5 + int(mission::downloadPlan(700).blocks.size());   // the status: blocks 0, 8, 15, 2, 8
    struct Case {
        const char* what;
        bool mark;
        Fault fault;
        int after, code;
    };
    const Case cases[] = {{"marked", true, Fault::None, 0, 0}, {"--no-mark", false, Fault::None, 0, 0},
                          {"mark lost", true, Fault::DropsWrites, 0, 1}, {"silent after the last block", true, Fault::SilentAfter, reads, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScenarioOptions o;
        o.samples = 700;
        EmulatorFixture emu(ScenarioKind::Finished, o);
        ASSERT_TRUE(emu.ok());
        emu.logger().setFault(c.fault, c.after);
        const QByteArray memory = emu.logger().memory();
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("viaje.klv"));
        QStringList args = {"download", "--port", emu.devicePath(), out, "--lang", "1"};
        if (!c.mark)
            args.append(QStringLiteral("--no-mark"));
        const auto r = runCli(args);
        ASSERT_EQ(r.code, c.code) << r.err.toStdString();

        QByteArray want(32768, '\0');
        for (int block : mission::downloadPlan(700).blocks)
            want.replace(std::min(block, 1023) * 32, 32, memory.mid(std::min(block, 1023) * 32, 32));
        EXPECT_EQ(readAll(out), want);
        if (c.code == 0) {
            EXPECT_TRUE(r.out.contains(c.mark ? "\"marked\": true" : "\"marked\": false")) << r.out.toStdString();
            EXPECT_EQ(QString::fromUtf8(r.err),
                      addedText(AddedText::Wrote, 1).arg(QFileInfo(out).absoluteFilePath(), QStringLiteral("32768")) + '\n')
                << "no progress bar when stderr is not a terminal, only the line about the file";
        } else {
            EXPECT_TRUE(r.out.isEmpty());
            EXPECT_EQ(QString::fromUtf8(r.err), said(mission::markFailedMessage(out, 1)));
        }
        const QList<QByteArray> writes = emu.writes(c.mark ? 26 : 0);
        ASSERT_EQ(writes.size(), c.mark ? 26 : 0) << "the mark is sent unless --no-mark";
        EXPECT_TRUE(!c.mark || writes.at(24) == QByteArray::fromHex("225801"));
        EXPECT_EQ(emu.logger().peek(258) & mission::kBitGuardado, c.mark && !c.code ? mission::kBitGuardado : 0);
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
    emu.logger().setFault(Fault::SilentAfter, 25);
    const auto r = runCli({"download", "--port", emu.devicePath(), out});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("Desconexión"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(readAll(out), "an earlier record");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"viaje.klv"}));
    EXPECT_TRUE(emu.writes().isEmpty());
}

// The window's rules on the command line: a logger in the wrong state is refused with one line in
// the language of --lang and nothing is written to it; stop and erase are reported done only when
// the logger reads back done.
TEST(CliDevice, StopEraseAndPrepareDoOnlyWhatTheLoggerAllows)
{
    const QStringList prepare = {"prepare", "--interval", "5", "--lo", "2", "--hi", "8", "--start", "button",
                                 "--exporter", "X", "--carrier", "Y", "--unit", "C"};
    const QByteArray stop("stop");   // the status without the recording bit
    struct Case {
        const char* what;
        ScenarioKind kind;
        std::function<void(Logger&)> setUp;
        QStringList args;
        int lang, code;
        QString says;   // all of stderr on a failure, part of the output on success
        QList<QByteArray> writes = {};
        std::function<bool(Logger&)> after = {};
    };
    const Case cases[] = {
        {"prepare over a mission", ScenarioKind::Finished, {}, prepare, 1, 1, addedText(AddedText::PrepareHoldsMission, 1)},
        {"prepare while recording", ScenarioKind::Recording, {}, prepare, 2, 1, addedText(AddedText::PrepareRecording, 2)},
        {"download marks a recording logger", ScenarioKind::Recording, {}, {"download", "trip.klv"}, 3, 1,
         addedText(AddedText::DownloadRecording, 3)},
        {"erase without --yes", ScenarioKind::Finished, {}, {"erase", "--discard-unsaved"}, 1, 2, {}},
        {"erase of unsaved samples", ScenarioKind::Finished, {}, {"erase", "--yes"}, 4, 1,
         addedText(AddedText::EraseUnsaved, 4).arg(100)},
        {"stop of a finished mission", ScenarioKind::Finished, {}, {"stop"}, 0, 1, addedText(AddedText::NothingToStop, 0)},
        {"stop", ScenarioKind::Recording, {}, {"stop"}, 0, 0, {}, {stop}, [](Logger& l) { return l.phase() == Logger::Phase::Idle; }},
        {"stop whose write is lost", ScenarioKind::Recording, [](Logger& l) { l.setFault(Fault::DropsWrites); }, {"stop"}, 3, 1,
         addedText(AddedText::StopNotStopped, 3), {stop}, [](Logger& l) { return l.phase() == Logger::Phase::Recording; }},
        // The erase the window asks for, confirmed: saved samples need no --discard-unsaved.
        {"erase of a saved logger", ScenarioKind::Finished,
         [](Logger& l) { l.writeByte(258, quint8(l.peek(258) | mission::kBitGuardado)); }, {"erase", "--yes"}, 0, 0,
         QStringLiteral("\"erased\": true"), {QByteArray::fromHex("22010040"), QByteArray::fromHex("a5")},
         [](Logger& l) { return l.peek(258) == 64; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScenarioOptions o;
        if (c.kind == ScenarioKind::Recording) {
            o.samples = 20;
            o.delay = 0;
        }
        EmulatorFixture emu(c.kind, o);
        ASSERT_TRUE(emu.ok());
        const QByteArray before = emu.logger().memory();
        QList<QByteArray> writes = c.writes;
        if (writes == QList<QByteArray>{stop})
            writes = {QByteArray::fromHex("220102") + char(before.at(258) & 223)};
        if (c.setUp)
            c.setUp(emu.logger());
        QTemporaryDir dir;
        QStringList args = c.args;
        if (args.first() == QLatin1String("download"))
            args.last() = dir.filePath(args.last());
        const auto r = runCli(args + QStringList{"--port", emu.devicePath(), "--lang", QString::number(c.lang)});
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        EXPECT_TRUE(c.code ? r.out.isEmpty() && r.err.count('\n') == 1 : r.out.contains(c.says.toUtf8()))
            << r.out.toStdString() << r.err.toStdString();
        if (c.code && !c.says.isEmpty()) {
            EXPECT_EQ(QString::fromUtf8(r.err), said(c.says));
        }
        // A refusal comes after an answered status read, so every frame sent has been taken.
        EXPECT_EQ(emu.writes(int(writes.size())), writes);
        if (writes.isEmpty()) {
            EXPECT_EQ(emu.logger().memory(), before);
            EXPECT_EQ(emu.frames().isEmpty(), c.code == 2) << "a usage error asks the logger nothing";
        }
        EXPECT_TRUE(QDir(dir.path()).isEmpty());
        if (c.after) {
            EXPECT_TRUE(c.after(emu.logger()));
        }
    }
}
