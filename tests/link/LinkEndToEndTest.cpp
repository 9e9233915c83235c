// The link against the emulated logger on a real pseudo-terminal: QtSerialPort, the kernel's tty
// layer and the emulator's server all run.

#include "base/Settings.h"
#include "link/DeviceSession.h"
#include "link/PortSearch.h"
#include "link/Pty.h"
#include "link/QtSerialPort.h"
#include "support/DeviceLink.h"
#include "support/RunCli.h"
#include "support/ScriptedPort.h"
#include "support/WaitFor.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <thread>

using namespace orvan;
using namespace orvan::link;
using orvan::emulator::EmulatorFixture;
using orvan::emulator::Fault;
using orvan::emulator::Logger;
using orvan::emulator::PtyServer;
using orvan::emulator::ScenarioKind;
using orvan::test::runCli;
using orvan::test::waitFor;

namespace {

using Wire = orvan::test::DeviceLink;

// The in-memory port under one device name, the system's serial port under every other.
class TwoPorts : public SerialPort {
public:
    static inline const QString kScripted = QStringLiteral("/dev/klv-scripted");
    explicit TwoPorts(LinkClock& clock) : scripted(clock) {}

    void setPortName(const QString& device) override
    {
        current = device == kScripted ? static_cast<SerialPort*>(&scripted) : &real;
        current->setPortName(device);
    }
    QString portName() const override { return current->portName(); }
    void open() override { current->open(); }
    void close() override { current->close(); }
    bool isOpen() const override { return current->isOpen(); }
    void write(const QByteArray& frame) override { current->write(frame); }
    int bytesWaiting() override { return current->bytesWaiting(); }
    QByteArray read(int maxBytes) override { return current->read(maxBytes); }
    bool waitForBytes(int timeoutMs) override { return current->waitForBytes(timeoutMs); }

    orvan::test::ScriptedPort scripted;
    QtSerialPort real;
    SerialPort* current = &real;
};

// Writes random bytes to a pseudo-terminal until destroyed: a port with no logger but a noisy line.
class NoisyLine {
public:
    NoisyLine(int minGapUs, int maxGapUs, bool favourTheAnswer)
        : m_thread([=] {
              std::mt19937 random(std::random_device{}());
              std::uniform_int_distribution<int> gap(minGapUs, maxGapUs);
              while (!m_stop) {
                  // Half the bytes the logger's answer, when asked: it must still not pass.
                  const quint8 b = favourTheAnswer && random() % 2 ? kProbeAnswer : quint8(random() & 0xFF);
                  pty.send(QByteArray(1, char(b)));
                  std::this_thread::sleep_for(std::chrono::microseconds(gap(random)));
              }
          })
    {
    }
    ~NoisyLine()
    {
        m_stop = true;
        m_thread.join();
    }
    orvan::test::Pty pty;

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
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
    ASSERT_TRUE(waitFor([&] { return session.poll(Unit::Celsius); }, 30000));
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
    cfg.GradosC = gradosCFor(Unit::Fahrenheit);
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
    const auto silent = runCli({QStringLiteral("status"), QStringLiteral("--port"), quiet.slave(), QStringLiteral("--lang"), QStringLiteral("1")});
    EXPECT_GT(silent.code, 0);
    EXPECT_TRUE(silent.out.isEmpty());
    EXPECT_EQ(silent.err.count('\n'), 1) << silent.err.toStdString();
    EXPECT_TRUE(silent.err.contains("no logger answers"));

    // The line hangs up while the tool waits for a logger: one line, whether the port reported the
    // hang-up (the error that ended the poll) or not (no logger).
    orvan::test::Pty hangUp;
    ASSERT_TRUE(hangUp.ok());
    QProcess cli;
    cli.start(QStringLiteral(ORVAN_CLI_PATH), {QStringLiteral("status"), QStringLiteral("--port"), hangUp.slave(), QStringLiteral("--lang"), QStringLiteral("1")});
    ASSERT_TRUE(cli.waitForStarted());
    EXPECT_FALSE(hangUp.receive(10000).isEmpty());   // the first request, left unanswered
    EXPECT_FALSE(hangUp.receive(10000).isEmpty());   // and the next attempt
    hangUp.closeMaster();
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QByteArray err = cli.readAllStandardError();
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_TRUE(cli.readAllStandardOutput().isEmpty());
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
    EXPECT_TRUE(err.startsWith("orvanlog-cli: Error 80") || err.contains("no logger answers")) << err.toStdString();
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
    // Not the system's words for a dead handle: the user is told the port went away.
    EXPECT_TRUE(w.sink.messages.first().contains(pty.slave() + QStringLiteral(" is no longer there")))
        << w.sink.messages.first().toStdString();
    EXPECT_TRUE(w.closing);
    EXPECT_FALSE(w.port.isOpen());
}

// A real line does all of these; the emulator does them at 9600 baud on a pseudo-terminal. Block
// reads go on for a while under each, and every reply taken must be exactly the block asked for.
TEST(LinkEndToEnd, PacedFaultsNeverHandOnAMisalignedReply)
{
    // Every byte of the image tells its address apart from its neighbours', so a reply shifted
    // by any number of bytes cannot pass for the block.
    QByteArray image(Logger::kMemorySize, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char((i * 7 + i / 256) & 0xFF);
    image[Logger::AddrStatus] = char(64);   // no mission: nothing changes the memory meanwhile

    struct Case {
        const char* what;
        Fault fault;
        int paceUs;
        bool someTaken;   // a run-on whose tail the sender held back past the settle is taken: its
                          // 34 bytes are this answer's, and the tail is refused as leftovers next
        int reads;        // block reads, each up to four attempts
    };
    const Case cases[] = {
        {"a sound line at 9600 baud", Fault::None, PtyServer::kLinePaceUs, true, 8},
        {"long replies at 9600 baud", Fault::LongReply, PtyServer::kLinePaceUs, false, 3},
        {"long replies trickling, 5 ms a byte", Fault::LongReply, PtyServer::kTrickleUs, false, 1},
        {"random bytes between replies at 9600 baud", Fault::Noise, PtyServer::kLinePaceUs, true, 10},
        {"random bytes between replies trickling", Fault::Noise, PtyServer::kTrickleUs, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto logger = std::make_unique<Logger>();
        logger->loadImage(image);
        EmulatorFixture emu(std::move(logger));
        ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
        emu.server().setPaceUs(c.paceUs);
        emu.logger().setFault(c.fault);
        const QByteArray memory = emu.logger().memory();

        Wire w(emu.devicePath(), LinkProfile::frmsave());
        int accepted = 0, misaligned = 0, failedReads = 0;
        for (int i = 0, block = 100; i < c.reads; ++i, block = (block + 37) % kBlockCount) {
            const Reply r = w.link.LeeBloque(block);
            if (!r.ok()) {
                ++failedReads;
                continue;
            }
            QByteArray expected = memory.mid(block * kBlockSize, kBlockSize);
            int sum = 0;
            for (const char b : std::as_const(expected))
                sum += quint8(b);
            expected.append(char((sum >> 8) & 0xFF)).append(char(sum & 0xFF));
            ++(r.data == expected ? accepted : misaligned);
        }
        const FramingCounts& n = w.link.framingCounts();
        EXPECT_EQ(misaligned, 0);
        if (c.fault == Fault::None) {
            EXPECT_EQ(failedReads + n.runOn + n.leftover + n.timedOut, 0);
        } else {
            EXPECT_GT(n.runOn + n.leftover, 0) << "the fault never showed";
        }
        if (c.someTaken) {
            EXPECT_GT(accepted, 0);
        }
        EXPECT_TRUE(w.sink.messages.isEmpty());
    }
}

TEST(LinkEndToEnd, ANoisyLineIsNeverTakenForALogger)
{
    struct Case {
        const char* what;
        int minGapUs, maxGapUs;
        bool favourTheAnswer;
        int searches;
    };
    const Case cases[] = {
        {"a steady stream at line speed, half of it 0x14", 1000, 1000, true, 20},
        {"a byte every 2 to 6 ms, half of them 0x14", 2000, 6000, true, 20},
        {"random bytes now and then, up to 30 ms apart", 0, 30000, false, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NoisyLine line(c.minGapUs, c.maxGapUs, c.favourTheAnswer);
        ASSERT_TRUE(line.pty.ok());
        Wire w(line.pty.slave(), LinkProfile::frmsave());
        const QList<DetectedPort> ports = {{3, line.pty.slave(), true, {}, false}};
        int found = 0;
        for (int i = 0; i < c.searches; ++i)
            found += BuscaPuerto(w.link, ports).has_value();
        EXPECT_EQ(found, 0);
        EXPECT_FALSE(w.port.isOpen());
        EXPECT_TRUE(w.sink.messages.isEmpty());
    }
}

TEST(LinkEndToEnd, PortSearchSkipsACandidateThatFailsAndFindsTheLoggerBehindIt)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    const QList<DetectedPort> ports = {
        {1, TwoPorts::kScripted, true, {}, false},
        {emu.com(), emu.devicePath(), true, {}, false},
    };
    for (const char* where : {"read", "open", "write"}) {
        SCOPED_TRACE(where);
        SystemClock clock;
        TwoPorts port(clock);
        const RuntimeError error(ErrReadDevice, QStringLiteral("Input/output error"));
        if (QLatin1String(where) == QLatin1String("read"))
            port.scripted.readError = error;
        else if (QLatin1String(where) == QLatin1String("open"))
            port.scripted.openError = error;
        else
            port.scripted.writeError = error;
        std::atomic<bool> closing{false};
        RecordingSink sink;
        Link link(port, clock, closing, LinkProfile::frmsave(), sink);
        EXPECT_EQ(BuscaPuerto(link, ports), std::optional<int>(emu.com()));
        EXPECT_FALSE(port.scripted.isOpen());
        EXPECT_TRUE(port.real.isOpen());
        EXPECT_FALSE(closing);
        EXPECT_TRUE(sink.messages.isEmpty());
        port.real.close();
    }
}
