// The in-memory serial port: replies arrive after the line's time, on a clock that tests move.

#include "tools/emulator/EmulatedPort.h"
#include "tools/emulator/Scenarios.h"

#include "link/LinkClock.h"
#include "shell/RuntimeError.h"

#include <gtest/gtest.h>

#include <functional>

using namespace orvan::emulator;
using orvan::link::ManualClock;

namespace {

const QByteArray kReadBlock0 = QByteArray::fromHex("330000");

int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const orvan::RuntimeError& e) {
        return e.number;
    }
    return 0;
}

} // namespace

TEST(EmulatedPort, RepliesArriveAfterTheLineTime)
{
    Logger logger;
    ManualClock clock;
    EmulatedPort port(logger, &clock);
    port.open();

    // Unpaced: the whole reply after about a millisecond.
    port.write(kReadBlock0);
    EXPECT_EQ(port.bytesWaiting(), 0);
    ASSERT_TRUE(port.waitForBytes(300));
    EXPECT_LE(clock.nowMs(), 2);
    EXPECT_EQ(port.read(0), logger.handleFrame(kReadBlock0));

    // Paced at 9600 baud: 3 bytes out and 34 back, about 38.5 ms, arriving byte by byte.
    port.setPaced(true);
    const qint64 t0 = clock.nowMs();
    port.write(kReadBlock0);
    QByteArray reply;
    while (reply.size() < 34 && port.waitForBytes(300))
        reply += port.read(1);
    EXPECT_EQ(reply.size(), 34);
    EXPECT_GE(clock.nowMs() - t0, 38);
    EXPECT_LE(clock.nowMs() - t0, 41);

    // Nothing comes: the wait uses up its whole time-out and reports no input.
    logger.setFault(Fault::Silent);
    const qint64 t1 = clock.nowMs();
    port.write(kReadBlock0);
    EXPECT_FALSE(port.waitForBytes(300));
    EXPECT_EQ(clock.nowMs() - t1, 300);

    // A reply cut short leaves its 33 bytes and then nothing.
    logger.setFault(Fault::ShortReply);
    port.write(kReadBlock0);
    clock.advance(1000);
    EXPECT_EQ(port.bytesWaiting(), 33);
    EXPECT_EQ(port.read(0).size(), 33);
    EXPECT_FALSE(port.waitForBytes(300));
}

TEST(EmulatedPort, OpeningClosingAndErrorsLikeARealPort)
{
    Logger logger;
    ManualClock clock;
    EmulatedPort port(logger, &clock);
    port.setPortName(QStringLiteral("COM3"));
    EXPECT_EQ(port.portName(), QStringLiteral("COM3"));

    EXPECT_EQ(errorOf([&] { port.write(kReadBlock0); }), orvan::link::ErrPortNotOpen);
    port.setFailOpen(true);
    EXPECT_EQ(errorOf([&] { port.open(); }), orvan::link::ErrInvalidPort);
    EXPECT_FALSE(port.isOpen());
    port.setFailOpen(false);
    port.open();
    EXPECT_EQ(errorOf([&] { port.open(); }), orvan::link::ErrPortAlreadyOpen);

    // Closing loses what was on its way; the reopened port starts empty.
    port.write(kReadBlock0);
    port.close();
    port.open();
    clock.advance(100);
    EXPECT_EQ(port.bytesWaiting(), 0);
}

TEST(EmulatedPort, WholeMemoryReadsBackWithoutRealTime)
{
    auto logger = Scenarios::finished();
    ManualClock clock;
    EmulatedPort port(*logger, &clock);
    port.setPaced(true);
    port.open();
    QByteArray image;
    for (int block = 0; block < 1024; ++block) {
        const int address = block * 32;
        port.read(0);
        port.write(QByteArray(1, char(0x33)) + char(address >> 8) + char(address & 0xFF));
        QByteArray reply;
        while (reply.size() < 34 && port.waitForBytes(300))
            reply += port.read(34 - int(reply.size()));
        ASSERT_EQ(reply.size(), 34) << "block " << block;
        image += reply.left(32);
    }
    EXPECT_EQ(image, logger->memory());
    EXPECT_EQ(port.framesWritten(), 1024);
    EXPECT_GT(clock.nowMs(), 1024 * 38);   // the time the line would have taken, on the test's clock
}
