// orvanlog-cli download, stop and erase against the emulated logger on a pseudo-terminal.

#include "mission/Download.h"
#include "support/RunCli.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace orvan;
using emulator::EmulatorFixture;
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
    QDeadlineTimer deadline(2000);
    QList<QByteArray> writes = writesTo(logger);
    while (writes.size() < expected && !deadline.hasExpired()) {
        QThread::msleep(10);
        writes = writesTo(logger);
    }
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
        EXPECT_TRUE(r.err.isEmpty()) << "no progress bar when stderr is not a terminal: " << r.err.toStdString();

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
    const auto e = runCli({QStringLiteral("erase"), QStringLiteral("--port"), emu.devicePath()});
    EXPECT_EQ(e.code, 1);
    EXPECT_TRUE(writesTo(emu.logger()).isEmpty());
}
