// The link on a real pseudo-terminal: QtSerialPort, the kernel's tty layer and orvanlog-cli. Faults
// at the line's pace are the download's (DownloadLine) and FaultMatrix's.

#include "link/QtSerialPort.h"
#include "support/DeviceLink.h"
#include "support/RunCli.h"
#include "support/WaitFor.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::link;
using orvan::emulator::EmulatorFixture;
using orvan::emulator::Fault;
using orvan::emulator::ScenarioKind;
using Wire = orvan::test::DeviceLink;

// orvanlog-cli status: the logger's fields as JSON; a logger that does not answer, or whose line
// hangs up while the tool waits, gives exit 1 and one line, whether the port reported the hang-up
// (the error that ended the poll) or not (no logger).
TEST(LinkEndToEnd, CommandLineStatus)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    const auto status = orvan::test::runCli({QStringLiteral("status"), QStringLiteral("--port"), emu.devicePath(), QStringLiteral("--fahrenheit")});
    ASSERT_EQ(status.code, 0) << status.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(status.out).object();
    EXPECT_TRUE(o.value(QStringLiteral("Comunicado")).toBool());
    EXPECT_EQ(o.value(QStringLiteral("HoraPrep")).toString(), QStringLiteral("2024-03-01T10:00"));
    EXPECT_EQ(o.value(QStringLiteral("LimSup")).toInt(), 46);   // 8 °C in Fahrenheit
    EXPECT_EQ(o.value(QStringLiteral("Exportador")).toString(), QStringLiteral("FRUTAS SUR  "));
    EXPECT_EQ(o.value(QStringLiteral("VerFw")).toArray(), (QJsonArray{1, 7, 2}));

    emu.logger().setFault(Fault::Silent);
    for (const bool hangUp : {false, true}) {
        SCOPED_TRACE(hangUp ? "hang-up" : "no answer");
        emu.logger().clearFrameLog();
        QProcess cli;
        cli.start(QStringLiteral(ORVAN_CLI_PATH), {QStringLiteral("status"), QStringLiteral("--port"), emu.devicePath(), QStringLiteral("--lang"), QStringLiteral("1")});
        ASSERT_TRUE(cli.waitForStarted());
        // The first request and the next attempt go unanswered; then the line goes.
        if (hangUp) {
            ASSERT_TRUE(orvan::test::waitFor([&] { return emu.logger().frameLog().size() >= 2; }));
            emu.server().stop();
        }
        ASSERT_TRUE(cli.waitForFinished(60000));
        const QByteArray err = cli.readAllStandardError();
        EXPECT_EQ(cli.exitCode(), 1);
        EXPECT_TRUE(cli.readAllStandardOutput().isEmpty());
        EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
        EXPECT_TRUE(err.contains("no logger answers") || (hangUp && err.startsWith("orvanlog-cli: Error 80"))) << err.toStdString();
    }
}

TEST(LinkEndToEnd, QtSerialPortReportsAMissingOrLostDevice)
{
    Wire missing(QStringLiteral("/dev/klv-missing"), LinkProfile::frmPrep());
    EXPECT_EQ(missing.link.LeeBloque(0).status, ReplyStatus::PortError);
    ASSERT_EQ(missing.sink.messages.size(), 1);
    EXPECT_TRUE(missing.sink.messages.first().startsWith(QStringLiteral("Error 8002 (")));

    // The adapter is pulled out while a reply is awaited.
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    const QString device = emu.devicePath();
    Wire w(device, LinkProfile::frmPrep());
    w.port.open();
    emu.server().stop();
    EXPECT_EQ(w.link.Recibe().status, ReplyStatus::PortError);
    ASSERT_EQ(w.sink.messages.size(), 1);
    EXPECT_TRUE(w.sink.messages.first().startsWith(QStringLiteral("Error 8020 (")));
    // Not the system's words for a dead handle: the user is told the port went away.
    EXPECT_TRUE(w.sink.messages.first().contains(device + QStringLiteral(" is no longer there")))
        << w.sink.messages.first().toStdString();
    EXPECT_TRUE(w.closing && !w.port.isOpen());
}
