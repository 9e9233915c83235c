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
        if (c.mark)
            EXPECT_EQ(writes.at(24), QByteArray::fromHex("225801"));
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
    EXPECT_EQ(runCli({"download", "--port", emu.devicePath()}).code, 2);
    EXPECT_EQ(runCli({"download", out}).code, 2);
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
        int lang, code;
        QString says;
        bool frames;   // whether the logger was even asked for its status
    };
    const Case cases[] = {
        {"prepare over a mission", ScenarioKind::Finished, prepare, 1, 1, addedText(AddedText::PrepareHoldsMission, 1), true},
        {"prepare while recording", ScenarioKind::Recording, prepare, 2, 1, addedText(AddedText::PrepareRecording, 2), true},
        {"download marks a recording logger", ScenarioKind::Recording, {"download", "trip.klv"}, 3, 1,
         addedText(AddedText::DownloadRecording, 3), true},
        {"erase without --yes", ScenarioKind::Finished, {"erase", "--discard-unsaved"}, 1, 2, QString(), false},
        {"erase of unsaved samples", ScenarioKind::Finished, {"erase", "--yes"}, 4, 1,
         addedText(AddedText::EraseUnsaved, 4).arg(100), true},
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
        if (!c.says.isEmpty())
            EXPECT_EQ(QString::fromUtf8(r.err), said(c.says));
        // The refusal came after an answered status read, so every frame sent has been taken.
        EXPECT_TRUE(emu.writes().isEmpty());
        EXPECT_EQ(emu.frames().isEmpty(), !c.frames);
        EXPECT_EQ(emu.logger().memory(), before);
        EXPECT_TRUE(QDir(dir.path()).isEmpty());
    }
}

// Stop and erase are reported done only when the logger reads back done.
TEST(CliDevice, StopAndEraseAreReportedOnlyWhenTheLoggerDidThem)
{
    struct Case {
        const char* what;
        ScenarioKind kind;
        std::function<void(Logger&)> setUp;
        QStringList args;
        int code;
        QString says;   // the output (code 0) or stderr; empty: not checked
        QList<QByteArray> writes;   // a stop writes the status without the recording bit
        std::function<bool(Logger&)> after;
    };
    const Case cases[] = {
        {"stop", ScenarioKind::Recording, {}, {"stop"}, 0, {}, {}, [](Logger& l) { return l.phase() == Logger::Phase::Idle; }},
        {"stop whose write is lost", ScenarioKind::Recording, [](Logger& l) { l.setFault(Fault::DropsWrites); },
         {"stop", "--lang", "3"}, 1, said(addedText(AddedText::StopNotStopped, 3)), {},
         [](Logger& l) { return l.phase() == Logger::Phase::Recording; }},
        // The erase the window asks for, confirmed: saved samples need no --discard-unsaved.
        {"erase of a saved logger", ScenarioKind::Finished,
         [](Logger& l) { l.writeByte(258, quint8(l.peek(258) | mission::kBitGuardado)); }, {"erase", "--yes"}, 0,
         QStringLiteral("\"erased\": true"), {QByteArray::fromHex("22010040"), QByteArray::fromHex("a5")},
         [](Logger& l) { return l.peek(258) == 64; }},
        {"erase of a logger that does not answer", ScenarioKind::Finished, [](Logger& l) { l.setFault(Fault::Silent); },
         {"erase", "--yes"}, 1, {}, {}, {}},
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
        QList<QByteArray> writes = c.writes;
        if (c.args.first() == QLatin1String("stop"))
            writes = {QByteArray::fromHex("220102") + char(emu.logger().peek(258) & 223)};
        if (c.setUp)
            c.setUp(emu.logger());
        const auto r = runCli(c.args + QStringList{"--port", emu.devicePath()});
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        if (!c.says.isEmpty())
            EXPECT_TRUE(QString::fromUtf8(c.code ? r.err : r.out).contains(c.says)) << r.out.toStdString() << r.err.toStdString();
        EXPECT_EQ(emu.writes(int(writes.size())), writes);
        if (c.after)
            EXPECT_TRUE(c.after(emu.logger()));
    }
}
