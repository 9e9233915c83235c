// The logger misbehaving while it is polled, end to end: the emulator on a pseudo-terminal, the
// real serial stack, the device-data window's session and orvanlog-cli. For every fault the user
// gets a clear message or correct data, never data that were not the logger's, and once the
// fault is gone the next poll works.

#include "link/DeviceSession.h"
#include "link/Pty.h"
#include "link/QtSerialPort.h"
#include "support/RunCli.h"
#include "support/WaitFor.h"
#include "tools/emulator/EmulatorFixture.h"

#include <gtest/gtest.h>
#include <random>
#include <thread>

using namespace orvan;
using namespace orvan::link;
using orvan::emulator::EmulatorFixture;
using orvan::emulator::Fault;
using orvan::emulator::PtyServer;
using orvan::emulator::ScenarioKind;
using orvan::test::runCli;
using orvan::test::waitFor;

namespace {

// What one status poll through the device-data window's session showed.
struct Poll {
    bool done = false;
    bool linked = false;        // Comunicado
    qint32 samples = -1;        // NumMuestras when linked
    QString exporter;
    QStringList messages;
    bool linkFailed = false;    // the window closes
};

Poll pollOnce(DeviceSession& session)
{
    Poll p;
    const auto read = QObject::connect(&session, &DeviceSession::statusRead, [&](const EstadoKLV& e) {
        p.done = true;
        p.linked = e.Comunicado;
        p.samples = e.NumMuestras;
        p.exporter = e.Exportador;
    });
    const auto said = QObject::connect(&session, &DeviceSession::message, [&](const QString& m) { p.messages << m; });
    const auto failed = QObject::connect(&session, &DeviceSession::linkFailed, [&] { p.linkFailed = true; });
    const auto finished = QObject::connect(&session, &DeviceSession::jobFinished, [&] { p.done = true; });
    if (waitFor([&] { return session.poll(Unit::Celsius); }, 20000))
        waitFor([&] { return p.done || p.linkFailed; }, 30000);
    waitFor([&] { return !session.busy(); }, 5000);
    QObject::disconnect(read);
    QObject::disconnect(said);
    QObject::disconnect(failed);
    QObject::disconnect(finished);
    return p;
}

std::unique_ptr<DeviceSession> sessionOn(const QString& device, std::atomic<bool>& flag)
{
    DeviceSession::Options options;
    options.profile = LinkProfile::frmsave();
    options.portFactory = [] { return std::make_unique<QtSerialPort>(); };
    options.device = device;
    return std::make_unique<DeviceSession>(flag, options);
}

// A device that answers every frame with random bytes of a random length, now and then none.
class GarbageDevice {
public:
    GarbageDevice()
        : m_thread([this] {
              std::mt19937 random(7);
              while (!m_stop) {
                  if (pty.receive(20).isEmpty())
                      continue;
                  QByteArray reply(int(random() % 80), '\0');
                  for (char& b : reply)
                      b = char(random() & 0xFF);
                  pty.send(reply);
              }
          })
    {
    }
    ~GarbageDevice()
    {
        m_stop = true;
        m_thread.join();
    }
    orvan::test::Pty pty;

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

enum class Expect { Data, NoLogger, PortLost, Either };

} // namespace

// Fault x status poll: what the device-data window's session shows, then whether the next poll
// works once the fault is gone. The command line meets the same faults in its status read at the
// start of every logger command (OperationFaultsTest), and long replies at the line's pace are
// LinkEndToEnd's.
TEST(FaultMatrix, StatusPollUnderEveryLoggerFault)
{
    struct Case {
        const char* fault;
        std::function<void(EmulatorFixture&)> apply;
        Expect expect;
    };
    const Case cases[] = {
        {"sound line, paced 9600 baud", [](EmulatorFixture& e) { e.server().setPaced(true); }, Expect::Data},
        {"silent", [](EmulatorFixture& e) { e.logger().setFault(Fault::Silent); }, Expect::NoLogger},
        {"33-byte replies", [](EmulatorFixture& e) { e.logger().setFault(Fault::ShortReply); }, Expect::NoLogger},
        {"40-byte replies", [](EmulatorFixture& e) { e.logger().setFault(Fault::LongReply); }, Expect::NoLogger},
        // 34 bytes 6.5 ms apart end about 220 ms after the request (room left for a loaded machine);
        // 10 ms apart, about 335 ms.
        {"reply ends just inside 300 ms", [](EmulatorFixture& e) { e.server().setPaceUs(6500); }, Expect::Data},
        {"reply ends just outside 300 ms", [](EmulatorFixture& e) { e.server().setPaceUs(10000); }, Expect::NoLogger},
        {"reply in 34 pieces, 2 ms apart", [](EmulatorFixture& e) { e.server().setPaceUs(2000); }, Expect::Data},
        {"random bytes between replies", [](EmulatorFixture& e) { e.logger().setFault(Fault::Noise); }, Expect::Either},
        {"silent after 2 block reads", [](EmulatorFixture& e) { e.logger().setFault(Fault::SilentAfter, 2); },
         Expect::NoLogger},
        {"pseudo-terminal gone before the poll", [](EmulatorFixture& e) { e.server().stop(); }, Expect::PortLost},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        EmulatorFixture emu(ScenarioKind::Finished);
        ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
        const QString device = emu.devicePath();
        c.apply(emu);
        const bool gone = c.expect == Expect::PortLost;

        // The device-data window's session: the logger's own data or no link, and it stays usable.
        std::atomic<bool> flag{false};
        auto session = sessionOn(device, flag);
        const Poll under = pollOnce(*session);
        if (under.linked) {
            EXPECT_TRUE(c.expect == Expect::Data || c.expect == Expect::Either);
            EXPECT_EQ(under.samples, 100);
            EXPECT_EQ(under.exporter, QStringLiteral("FRUTAS SUR  "));
        } else {
            EXPECT_NE(c.expect, Expect::Data);
        }
        if (!gone) {
            EXPECT_TRUE(under.messages.isEmpty()) << under.messages.join(QLatin1Char('|')).toStdString();
            EXPECT_FALSE(under.linkFailed);
        }

        // The fault goes: the next poll shows the logger. Replies to the faulty poll's retries may
        // still be crossing the line at the fault's pace; the logger on a new pseudo-terminal
        // starts from a quiet line, as a user's next command, seconds later, would.
        session.reset();
        emu.server().stop();
        emu.logger().setFault(Fault::None);
        emu.server().setPaceUs(0);
        ASSERT_TRUE(emu.server().start());
        flag = false;
        session = sessionOn(emu.devicePath(), flag);
        const Poll after = pollOnce(*session);
        EXPECT_TRUE(after.linked);
        EXPECT_EQ(after.samples, 100);
        EXPECT_TRUE(after.messages.isEmpty());
    }
}

// A device that answers anything with random bytes: never data, never a crash, and the window's
// session keeps polling.
TEST(FaultMatrix, StatusPollAgainstGarbage)
{
    GarbageDevice garbage;
    ASSERT_TRUE(garbage.pty.ok());
    const auto cli = runCli({QStringLiteral("status"), QStringLiteral("--port"), garbage.pty.slave()});
    EXPECT_EQ(cli.code, 1);
    EXPECT_TRUE(cli.out.isEmpty());
    EXPECT_EQ(cli.err.count('\n'), 1) << cli.err.constData();
    std::atomic<bool> flag{false};
    auto session = sessionOn(garbage.pty.slave(), flag);
    for (int i = 0; i < 2; ++i) {
        const Poll p = pollOnce(*session);
        EXPECT_TRUE(p.done);
        EXPECT_FALSE(p.linked);
        EXPECT_TRUE(p.messages.isEmpty());
        EXPECT_FALSE(p.linkFailed);
    }
}

// The pseudo-terminal vanishes in the middle of a poll, after the logger answered its first
// block: the command line says so in one line, the window shows no link, reports the port error
// once and closes; opened again on the logger's port, it polls.
TEST(FaultMatrix, PseudoTerminalVanishesDuringAPoll)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    std::thread stopper;
    std::atomic<int> frames{0};
    // The server cannot stop itself from its own thread; another one pulls the plug.
    const auto arm = [&] {
        frames = 0;
        emu.logger().setFrameObserver([&](const orvan::emulator::FrameLogEntry&) {
            if (++frames == 2)
                stopper = std::thread([&] { emu.server().stop(); });
        });
    };
    const auto restart = [&] {
        if (stopper.joinable())
            stopper.join();
        emu.logger().setFrameObserver({});
        ASSERT_TRUE(emu.server().start());
    };

    arm();
    const auto cli = runCli({QStringLiteral("status"), QStringLiteral("--port"), emu.devicePath()});
    EXPECT_EQ(cli.code, 1);
    EXPECT_TRUE(cli.out.isEmpty());
    EXPECT_EQ(cli.err.count('\n'), 1) << cli.err.constData();
    EXPECT_EQ(frames.load(), 2) << "the plug was pulled during the poll";
    restart();

    arm();
    std::atomic<bool> flag{false};
    auto session = sessionOn(emu.devicePath(), flag);
    const Poll p = pollOnce(*session);
    EXPECT_FALSE(p.linked);
    EXPECT_LE(p.messages.size(), 1);
    session.reset();
    restart();

    flag = false;
    session = sessionOn(emu.devicePath(), flag);
    const Poll after = pollOnce(*session);
    EXPECT_TRUE(after.linked);
    EXPECT_TRUE(after.messages.isEmpty());
    session.reset();
    EXPECT_EQ(runCli({QStringLiteral("status"), QStringLiteral("--port"), emu.devicePath()}).code, 0);
}
