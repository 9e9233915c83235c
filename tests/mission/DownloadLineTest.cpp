// The download through the real link on a pseudo-terminal, with the emulated logger answering at
// 9600 baud: replies that run on now and then, and random bytes between replies. A reply taken
// at its 34th byte within the block plan is only stored once the next request's quiet start has
// confirmed it, so the saved image never holds a block from a reply that ran on.

#include "link/QtSerialPort.h"
#include "support/DeviceLink.h"
#include "mission/Download.h"
#include "tools/emulator/EmulatorFixture.h"

#include <gtest/gtest.h>

using namespace orvan;
using emulator::EmulatorFixture;
using emulator::Fault;
using emulator::Logger;
using emulator::PtyServer;

TEST(DownloadLine, PacedFaultsNeverReachTheSavedImage)
{
    // Every byte tells its address apart from its neighbours', so a shifted block cannot pass.
    QByteArray image(Logger::kMemorySize, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(1 + (i * 7 + i / 256) % 255);
    image[Logger::AddrStatus] = char(64);   // no mission: nothing changes the memory meanwhile
    constexpr qint32 kSamples = 64;         // a plan of 18 blocks
    const mission::DownloadPlan plan = mission::downloadPlan(kSamples);

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
        const mission::DownloadResult d = mission::LeerKLV(line.link, kSamples);

        int misaligned = 0;
        QByteArray expected(Logger::kMemorySize, '\0');
        for (const int block : plan.blocks) {
            const int at = block * link::kBlockSize;
            expected.replace(at, link::kBlockSize, memory.mid(at, link::kBlockSize));
            const QByteArray got = d.image.mid(at, link::kBlockSize);
            misaligned += got != memory.mid(at, link::kBlockSize) && got != QByteArray(link::kBlockSize, '\0');
        }
        const link::FramingCounts& n = line.link.framingCounts();
        EXPECT_EQ(misaligned, 0);
        EXPECT_EQ(d.ok(), c.ok);
        if (c.ok) {
            EXPECT_EQ(d.image, expected);
        } else {
            EXPECT_EQ(d.outcome, mission::DownloadOutcome::Disconnected);
            EXPECT_EQ(d.failedBlock, 0);
            EXPECT_EQ(d.blocksRead, 0);
            EXPECT_EQ(d.image, QByteArray(Logger::kMemorySize, '\0'));
        }
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
