// The emulator on a real pseudo-terminal, reached through QSerialPort as the application does.

#include "tools/emulator/EmulatorFixture.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <gtest/gtest.h>

using namespace orvan::emulator;

namespace {

// One frame as the link sends it: discard pending input, write, collect the reply.
QByteArray exchange(QSerialPort& port, const QByteArray& frame, int expected)
{
    port.readAll();
    port.clear(QSerialPort::Input);
    port.write(frame);
    port.waitForBytesWritten(1000);
    QByteArray in;
    QElapsedTimer t;
    for (t.start(); in.size() < expected && t.elapsed() < 5000; in += port.readAll())
        port.waitForReadyRead(20);
    return in;
}

} // namespace

TEST(EmulatorPtyServer, QSerialPortRoundTripsSurviveTheClientClosing)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    EXPECT_EQ(QFileInfo(emu.aliasPath()).symLinkTarget(), emu.devicePath());
    const QByteArray memory = emu.logger().memory();

    // Through the alias, then twice straight to the device: a closed client must not break the
    // server's side of the line.
    for (const QString& path : {emu.aliasPath(), emu.devicePath(), emu.devicePath()}) {
        SCOPED_TRACE(path.toStdString());
        QSerialPort port(path);
        port.setBaudRate(QSerialPort::Baud9600);
        ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
        EXPECT_EQ(exchange(port, QByteArray::fromHex("ea"), 1), QByteArray(1, char(0x14)));
        const QByteArray block0 = exchange(port, QByteArray::fromHex("330000"), 34);
        ASSERT_EQ(block0.size(), 34);
        EXPECT_EQ(block0.left(32), memory.left(32));
        EXPECT_EQ(exchange(port, QByteArray::fromHex("330040"), 34).left(32), memory.mid(64, 32));
        port.close();
    }

    // Stopping removes the alias.
    const QString alias = emu.aliasPath();
    emu.server().stop();
    EXPECT_FALSE(QFileInfo(alias).isSymLink());
}
