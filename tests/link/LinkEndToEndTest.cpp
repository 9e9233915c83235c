// The link against the emulated logger on a real pseudo-terminal: QtSerialPort, the kernel's tty
// layer and the emulator's server all run.

#include "base/Settings.h"
#include "link/DeviceSession.h"
#include "link/Pty.h"
#include "link/QtSerialPort.h"
#include "support/RunCli.h"
#include "support/WaitFor.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::link;
using orvan::emulator::EmulatorFixture;
using orvan::emulator::ScenarioKind;
using orvan::test::runCli;
using orvan::test::waitFor;

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

    ASSERT_TRUE(session.search(emu.appFolder()));
    ASSERT_TRUE(waitFor([&] { return found != -1; }, 30000));
    EXPECT_EQ(found, emu.com());
    EXPECT_EQ(quiet.receive(200), QByteArray(5, char(0xEA)));   // five probes, then the next port
    ASSERT_TRUE(waitFor([&] { return session.poll(-1); }, 30000));
    ASSERT_TRUE(waitFor([&] { return !polls.isEmpty(); }, 30000));
    EXPECT_TRUE(polls.first().Comunicado);
    EXPECT_EQ(polls.first().NumMuestras, 100);
    EXPECT_TRUE(messages.isEmpty());
}

TEST(LinkEndToEnd, CommandLineStatus)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    const auto status = runCli({QStringLiteral("status"), QStringLiteral("--port"), emu.devicePath(), QStringLiteral("--fahrenheit")});
    ASSERT_EQ(status.code, 0) << status.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(status.out).object();
    EXPECT_EQ(o.size(), 22);
    EXPECT_TRUE(o.value(QStringLiteral("Comunicado")).toBool());
    EXPECT_EQ(o.value(QStringLiteral("HoraPrep")).toString(), QStringLiteral("2024-03-01T10:00"));
    EXPECT_EQ(o.value(QStringLiteral("LimSup")).toInt(), 46);   // 8 °C in Fahrenheit
    EXPECT_EQ(o.value(QStringLiteral("Exportador")).toString(), QStringLiteral("FRUTAS SUR  "));
    EXPECT_EQ(o.value(QStringLiteral("VerFw")).toArray(), (QJsonArray{1, 7, 2}));

    // The unit from --unit in either place, else from the settings record beside the program.
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("orvanlog-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVAN_CLI_PATH), program));
    RegConfig cfg;
    cfg.applyDefaults(folder.path());
    cfg.GradosC = 0;
    ASSERT_TRUE(SettingsFile(folder.path()).write(cfg).ok);
    const QString port = emu.devicePath();
    const std::pair<QStringList, int> units[] = {
        {{QStringLiteral("status"), QStringLiteral("--port"), port, QStringLiteral("--unit"), QStringLiteral("F")}, 46},
        {{QStringLiteral("status"), QStringLiteral("--unit"), QStringLiteral("C"), QStringLiteral("--port"), port}, 8},
    };
    for (const auto& [args, limSup] : units) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(QJsonDocument::fromJson(runCli(args).out).object().value(QStringLiteral("LimSup")).toInt(), limSup);
    }
    const auto fromSettings = orvan::test::runCliAt(program, {QStringLiteral("status"), QStringLiteral("--port"), port});
    EXPECT_EQ(QJsonDocument::fromJson(fromSettings.out).object().value(QStringLiteral("LimSup")).toInt(), 46) << fromSettings.err.constData();

    // Nobody at the other end: a non-zero exit and one line saying so.
    orvan::test::Pty quiet;
    ASSERT_TRUE(quiet.ok());
    const auto silent = runCli({QStringLiteral("status"), QStringLiteral("--port"), quiet.slave()});
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
