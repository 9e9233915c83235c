// The link against the emulated logger on a real pseudo-terminal: QtSerialPort, the kernel's tty
// layer and the emulator's server all run.

#include "link/DeviceSession.h"
#include "link/Pty.h"
#include "link/QtSerialPort.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::link;
using orvan::emulator::EmulatorFixture;
using orvan::emulator::Fault;
using orvan::emulator::ScenarioKind;

namespace {

// A window's link on the emulator's device.
struct Wire {
    Wire(const QString& device, const LinkProfile& profile) : link(port, clock, closing, profile, sink)
    {
        port.setPortName(device);
    }
    QtSerialPort port;
    SystemClock clock;
    std::atomic<bool> closing{false};
    RecordingSink sink;
    Link link;
};

QList<int> blocksAsked(const emulator::Logger& logger)
{
    QList<int> blocks;
    for (const emulator::FrameLogEntry& f : logger.frameLog()) {
        if (f.frame.size() == 3 && quint8(f.frame.at(0)) == 0x33)
            blocks.append((quint8(f.frame.at(1)) * 256 + quint8(f.frame.at(2))) / 32);
    }
    return blocks;
}

struct CliRun {
    int code = -1;
    QByteArray out, err;
};

CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(ORVAN_CLI_PATH), args);
    CliRun r;
    if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit)
        r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace

TEST(LinkEndToEnd, SessionFindsTheLoggerAmongOtherPortsAndPollsIt)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    orvan::test::Pty quiet;   // a tty where nothing answers, searched before the logger
    ASSERT_TRUE(quiet.ok());
    ASSERT_TRUE(QFile::link(quiet.slave(), emu.aliasFolder() + QStringLiteral("/COM3")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), emu.aliasFolder() + QStringLiteral("/COM4")));

    std::atomic<bool> closing{false};
    DeviceSession::Options options;
    options.profile = LinkProfile::frmsave();
    options.portFactory = [] { return std::make_unique<QtSerialPort>(); };
    DeviceSession session(closing, options);
    int found = -1;
    QList<EstadoKLV> polls;
    QStringList messages;
    QObject::connect(&session, &DeviceSession::searchFinished, [&](int com) { found = com; });
    QObject::connect(&session, &DeviceSession::statusRead, [&](const EstadoKLV& e) { polls.append(e); });
    QObject::connect(&session, &DeviceSession::message, [&](const QString& m) { messages.append(m); });
    auto waitFor = [](const std::function<bool()>& done) {
        QElapsedTimer t;
        for (t.start(); t.elapsed() < 30000; QCoreApplication::processEvents(QEventLoop::AllEvents, 10)) {
            if (done())
                return true;
        }
        return false;
    };

    ASSERT_TRUE(session.search(emu.appFolder()));
    ASSERT_TRUE(waitFor([&] { return found != -1; }));
    EXPECT_EQ(found, emu.com());
    EXPECT_EQ(quiet.receive(200), QByteArray(5, char(0xEA)));   // five probes, then the next port
    ASSERT_TRUE(waitFor([&] { return session.poll(-1); }));
    ASSERT_TRUE(waitFor([&] { return !polls.isEmpty(); }));
    EXPECT_TRUE(polls.first().Comunicado);
    EXPECT_EQ(polls.first().NumMuestras, 100);
    EXPECT_TRUE(messages.isEmpty());
}

TEST(LinkEndToEnd, StatusOfEachKindOfLogger)
{
    const std::tuple<ScenarioKind, bool, bool, int> cases[] = {
        // kind, no data, recording, samples
        {ScenarioKind::Empty, true, false, 0},
        {ScenarioKind::SetTime, false, true, 0},
        {ScenarioKind::Finished, false, false, 100},
    };
    for (const auto& [kind, sinDatos, registrando, muestras] : cases) {
        EmulatorFixture emu(kind);
        ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
        Wire w(emu.devicePath(), LinkProfile::frmsave());
        EstadoKLV e;
        ASSERT_TRUE(ActualizaEstado(w.link, e, -1));
        EXPECT_EQ(blocksAsked(emu.logger()), (QList<int>{0, 8, 15, 2, 8}));
        EXPECT_EQ(std::make_tuple(e.SinDatos, e.Registrando, e.NumMuestras), std::make_tuple(sinDatos, registrando, muestras));
        EXPECT_EQ(std::make_tuple(e.VerFw1, e.VerFw2, e.VerFw3), std::make_tuple(1, 7, 2));
    }
}

TEST(LinkEndToEnd, FaultyRepliesAndALoggerThatStopsAnswering)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    const QByteArray memory = emu.logger().memory();

    // 40 bytes: the first 34 are the reply, the rest must not shift the next block.
    Wire save(emu.devicePath(), LinkProfile::frmsave());
    emu.logger().setFault(Fault::LongReply);
    EXPECT_EQ(save.link.LeeBloque(0).block(), memory.mid(0, 32));
    EXPECT_EQ(save.link.LeeBloque(2).block(), memory.mid(64, 32));
    save.port.close();

    // 33 bytes: no reply, after the preparation window's single attempt.
    Wire prep(emu.devicePath(), LinkProfile::frmPrep());
    emu.logger().setFault(Fault::ShortReply);
    emu.logger().clearFrameLog();
    EXPECT_EQ(prep.link.LeeBloque(8).status, ReplyStatus::NoReply);
    EXPECT_EQ(blocksAsked(emu.logger()), QList<int>{8});

    // Silence: no communication and no error; the next poll after the logger is back recovers.
    emu.logger().setFault(Fault::Silent);
    EstadoKLV e;
    EXPECT_FALSE(ActualizaEstado(prep.link, e, -1));
    EXPECT_FALSE(prep.closing);
    emu.logger().setFault(Fault::None);
    EXPECT_TRUE(ActualizaEstado(prep.link, e, -1));
    EXPECT_EQ(e.NumMuestras, 100);
    EXPECT_TRUE(prep.sink.messages.isEmpty());
}

TEST(LinkEndToEnd, CommandLineStatus)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    const CliRun status = cli({QStringLiteral("status"), QStringLiteral("--port"), emu.devicePath(),
                            QStringLiteral("--fahrenheit")});
    ASSERT_EQ(status.code, 0) << status.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(status.out).object();
    EXPECT_EQ(o.size(), 22);
    EXPECT_TRUE(o.value(QStringLiteral("Comunicado")).toBool());
    EXPECT_EQ(o.value(QStringLiteral("HoraPrep")).toString(), QStringLiteral("2024-03-01T10:00"));
    EXPECT_EQ(o.value(QStringLiteral("LimSup")).toInt(), 46);   // 8 °C in Fahrenheit
    EXPECT_EQ(o.value(QStringLiteral("Exportador")).toString(), QStringLiteral("FRUTAS SUR  "));
    EXPECT_EQ(o.value(QStringLiteral("VerFw")).toArray(), (QJsonArray{1, 7, 2}));

    // Nobody at the other end: a non-zero exit and one line saying so.
    orvan::test::Pty quiet;
    ASSERT_TRUE(quiet.ok());
    const CliRun silent = cli({QStringLiteral("status"), QStringLiteral("--port"), quiet.slave()});
    EXPECT_GT(silent.code, 0);
    EXPECT_TRUE(silent.out.isEmpty());
    EXPECT_EQ(silent.err.count('\n'), 1) << silent.err.toStdString();
    EXPECT_TRUE(silent.err.contains("no logger answers"));
}

TEST(LinkEndToEnd, QtSerialPortReportsAMissingOrLostDevice)
{
    Wire missing(QStringLiteral("/dev/klv-missing"), LinkProfile::frmPrep());
    EXPECT_EQ(missing.link.LeeBloque(0).status, ReplyStatus::PortError);
    ASSERT_EQ(missing.sink.messages.size(), 1);
    EXPECT_TRUE(missing.sink.messages.first().startsWith(QStringLiteral("Error 8002 (")));

    // The adapter is pulled out while a reply is awaited.
    orvan::test::Pty pty;
    ASSERT_TRUE(pty.ok());
    Wire w(pty.slave(), LinkProfile::frmPrep());
    w.port.open();
    pty.closeMaster();
    EXPECT_EQ(w.link.Recibe().status, ReplyStatus::PortError);
    ASSERT_EQ(w.sink.messages.size(), 1);
    EXPECT_TRUE(w.sink.messages.first().startsWith(QStringLiteral("Error 8020 (")));
    EXPECT_TRUE(w.closing);
    EXPECT_FALSE(w.port.isOpen());
}
