// The emulator on a real pseudo-terminal, reached through QSerialPort as the application does,
// and the klv-emulator program.

#include "tools/emulator/EmulatorFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>

using namespace orvan::emulator;

namespace {

const QByteArray kProbe = QByteArray::fromHex("ea");
const QByteArray kReadBlock0 = QByteArray::fromHex("330000");
const QByteArray kReadBlock2 = QByteArray::fromHex("330040");

std::unique_ptr<QSerialPort> openClient(const QString& path)
{
    auto port = std::make_unique<QSerialPort>(path);
    port->setBaudRate(QSerialPort::Baud9600);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    if (!port->open(QIODevice::ReadWrite))
        ADD_FAILURE() << "cannot open " << path.toStdString() << ": " << port->errorString().toStdString();
    return port;
}

// Reads until `expected` bytes have come or the deadline has passed.
QByteArray collect(QSerialPort& port, int expected, int deadlineMs)
{
    QByteArray in;
    QElapsedTimer t;
    t.start();
    while (in.size() < expected && t.elapsed() < deadlineMs) {
        port.waitForReadyRead(20);
        in += port.readAll();
    }
    return in;
}

// One frame as the link sends it: discard pending input, write, collect the reply.
QByteArray exchange(QSerialPort& port, const QByteArray& frame, int expected, int deadlineMs = 5000)
{
    port.readAll();
    port.clear(QSerialPort::Input);
    port.write(frame);
    port.waitForBytesWritten(1000);
    return collect(port, expected, deadlineMs);
}

} // namespace

TEST(EmulatorPtyServer, QSerialPortRoundTripsSurviveTheClientClosing)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    EXPECT_EQ(QFileInfo(emu.aliasPath()).symLinkTarget(), emu.devicePath());
    EXPECT_EQ(QFileInfo(emu.aliasPath()).fileName(), QStringLiteral("COM5"));
    const QByteArray memory = emu.logger().memory();

    // Through the alias, then twice straight to the device: a closed client must not break the
    // server's side of the line.
    for (const QString& path : {emu.aliasPath(), emu.devicePath(), emu.devicePath()}) {
        SCOPED_TRACE(path.toStdString());
        auto port = openClient(path);
        ASSERT_TRUE(port->isOpen());
        EXPECT_EQ(exchange(*port, kProbe, 1), QByteArray(1, char(0x14)));
        const QByteArray block0 = exchange(*port, kReadBlock0, 34);
        ASSERT_EQ(block0.size(), 34);
        EXPECT_EQ(block0.left(32), memory.left(32));
        EXPECT_EQ(exchange(*port, kReadBlock2, 34).left(32), memory.mid(64, 32));
        port->close();
    }
    EXPECT_GE(emu.logger().frameLog().size(), 9);

    // Stopping removes the alias; stopping again is harmless.
    const QString alias = emu.aliasPath();
    emu.server().stop();
    emu.server().stop();
    EXPECT_FALSE(QFileInfo(alias).isSymLink());
}

TEST(EmulatorPtyServer, FaultsReachTheClient)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    auto port = openClient(emu.devicePath());
    ASSERT_TRUE(port->isOpen());

    emu.logger().setFault(Fault::ShortReply);
    EXPECT_EQ(exchange(*port, kReadBlock0, 34, 500).size(), 33);

    emu.logger().setFault(Fault::LongReply);
    EXPECT_EQ(exchange(*port, kReadBlock0, 40).size(), 40);

    emu.logger().setFault(Fault::Silent);
    EXPECT_TRUE(exchange(*port, kProbe, 1, 300).isEmpty());

    emu.logger().setFault(Fault::SilentAfter, 1);
    EXPECT_EQ(exchange(*port, kReadBlock0, 34).size(), 34);
    EXPECT_TRUE(exchange(*port, kReadBlock0, 34, 300).isEmpty());

    emu.logger().setFault(Fault::None);
    EXPECT_EQ(exchange(*port, kReadBlock0, 34).size(), 34);
}

TEST(EmulatorPtyServer, FramesWrittenBackToBackAreAllServed)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    emu.server().setPaced(true);
    auto port = openClient(emu.devicePath());
    ASSERT_TRUE(port->isOpen());

    // The identification write-back's short writes, without pauses, then a read of the block.
    const QByteArray names = "NUEVO EXPORTRANSPORTE 2";
    QByteArray burst;
    for (int i = 0; i < names.size(); ++i)
        burst += QByteArray(1, char(0x22)) + char(64 + i) + names[i];
    burst += kReadBlock2;
    const QByteArray block2 = exchange(*port, burst, 34);
    ASSERT_EQ(block2.size(), 34);
    EXPECT_EQ(block2.left(names.size()), names);
    EXPECT_EQ(emu.logger().memory().mid(64, names.size()), names);
}

TEST(EmulatorPtyServer, MissionClockFollowsTheSpeed)
{
    ScenarioOptions o;
    o.interval = 1;
    o.delay = 5;
    EmulatorFixture emu(ScenarioKind::SetTime, o);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    EXPECT_EQ(emu.logger().sampleCount(), 0u);
    emu.server().setSpeed(600.0);   // ten mission minutes every 1/60 s
    QElapsedTimer t;
    t.start();
    while (emu.logger().sampleCount() < 3 && t.elapsed() < 20000)
        QThread::msleep(10);
    emu.server().setSpeed(0.0);
    EXPECT_GE(emu.logger().sampleCount(), 3u);
    EXPECT_EQ(emu.logger().phase(), Logger::Phase::Recording);
}

TEST(EmulatorPtyServer, ProgramServesAScenarioUntilQuit)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("Puertos"));
    QProcess emulator;
    emulator.start(QStringLiteral(KLV_EMULATOR_PROGRAM),
                   {QStringLiteral("--scenario"), QStringLiteral("finished"), QStringLiteral("--samples"),
                    QStringLiteral("20"), QStringLiteral("--fault"), QStringLiteral("silent"),
                    QStringLiteral("--alias-folder"), folder, QStringLiteral("--com"), QStringLiteral("4")});
    ASSERT_TRUE(emulator.waitForStarted(10000));
    auto line = [&emulator] {
        QElapsedTimer t;
        t.start();
        while (!emulator.canReadLine() && t.elapsed() < 10000)
            emulator.waitForReadyRead(100);
        return QString::fromLocal8Bit(emulator.readLine()).trimmed();
    };
    const QString device = line();
    ASSERT_TRUE(device.startsWith(QStringLiteral("/dev/"))) << device.toStdString();
    const QString alias = QDir(folder).filePath(QStringLiteral("COM4"));
    QElapsedTimer t;
    t.start();
    while (!QFileInfo(alias).isSymLink() && t.elapsed() < 10000)
        QThread::msleep(10);
    EXPECT_EQ(QFileInfo(alias).symLinkTarget(), device);

    auto port = openClient(alias);
    ASSERT_TRUE(port->isOpen());
    EXPECT_TRUE(exchange(*port, kProbe, 1, 300).isEmpty());
    emulator.write("answer\n");
    EXPECT_EQ(line(), QStringLiteral("answering"));
    const QByteArray block0 = exchange(*port, kReadBlock0, 34);
    ASSERT_EQ(block0.size(), 34);
    EXPECT_EQ(quint8(block0[26]), 20);
    emulator.write("status\n");
    EXPECT_TRUE(line().contains(QStringLiteral("samples=20")));
    port->close();

    emulator.write("quit\n");
    ASSERT_TRUE(emulator.waitForFinished(10000));
    EXPECT_EQ(emulator.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(alias).isSymLink()) << "the program removes the link it made";
}
