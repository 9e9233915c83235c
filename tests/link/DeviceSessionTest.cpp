// Exchanges on the worker thread, results on the window thread.

#include "link/DeviceSession.h"
#include "support/ScriptedPort.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <stdexcept>
#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::link;
using orvan::test::FakeLogger;
using orvan::test::ScriptedPort;
using orvan::test::waitFor;

namespace {

std::atomic<QThread*> portDestroyedOn{nullptr};

// A scripted port on real time with a logger behind it; notes the thread it is destroyed on.
class LoggerPort : public ScriptedPort {
public:
    LoggerPort() : ScriptedPort(clock()) { logger.attach(*this); }
    ~LoggerPort() override { portDestroyedOn = QThread::currentThread(); }
    FakeLogger logger;

private:
    static SystemClock& clock()
    {
        static SystemClock shared;
        return shared;
    }
};

DeviceSession::Options options(bool silent)
{
    DeviceSession::Options o;
    o.profile = LinkProfile::frmsave();
    o.device = QStringLiteral("/dev/klv");
    o.portFactory = [=] {
        auto port = std::make_unique<LoggerPort>();
        port->logger.setByte(26, 100);
        port->logger.setByte(258, 0x20);
        port->logger.silent = silent;
        return port;
    };
    return o;
}

} // namespace

TEST(DeviceSession, RefusesPostsWhileBusyAndDeliversResultsAndFailuresOnTheWindowThread)
{
    std::atomic<bool> closing{false};
    DeviceSession session(closing, options(false));
    QList<EstadoKLV> snapshots;
    QList<QThread*> deliveredOn;
    QStringList messages;
    int finished = 0;
    // No context object: the slots still run on this thread, as the signals are emitted here.
    QObject::connect(&session, &DeviceSession::statusRead, [&](const EstadoKLV& e) {
        snapshots.append(e);
        deliveredOn.append(QThread::currentThread());
    });
    QObject::connect(&session, &DeviceSession::message, [&](const QString& m) { messages.append(m); });
    QObject::connect(&session, &DeviceSession::jobFinished, [&] { ++finished; });

    // A long exchange holds the session: a poll tick that arrives meanwhile is skipped.
    QSemaphore started, release;
    ASSERT_TRUE(session.post([&](LinkContext&) {
        started.release();
        release.acquire();
    }));
    ASSERT_TRUE(started.tryAcquire(1, 15000));
    EXPECT_TRUE(session.busy());
    EXPECT_FALSE(session.poll(Unit::Celsius));
    release.release();
    ASSERT_TRUE(waitFor([&] { return finished == 1; }));

    ASSERT_TRUE(session.poll(Unit::Celsius));
    ASSERT_TRUE(waitFor([&] { return finished == 2; }));
    ASSERT_EQ(snapshots.size(), 1);
    EXPECT_EQ(deliveredOn.first(), QThread::currentThread());
    EXPECT_TRUE(snapshots.first().Comunicado && snapshots.first().Registrando);
    EXPECT_EQ(snapshots.first().NumMuestras, 100);

    // Whatever a job lets out reaches the window as a message; the session goes on.
    const std::function<void(LinkContext&)> jobs[] = {
        [](LinkContext& ctx) { ctx.link.LeeBloque(5000); },
        [](LinkContext&) { throw std::runtime_error("bad_alloc-like"); },
        [](LinkContext&) { throw 42; },
        [](LinkContext& ctx) { EXPECT_TRUE(ctx.link.LeeBloque(0).ok()); },
    };
    for (const auto& job : jobs) {
        const int before = finished;
        ASSERT_TRUE(waitFor([&] { return session.post(job); }));
        ASSERT_TRUE(waitFor([&] { return finished == before + 1; }));
    }
    EXPECT_EQ(messages, (QStringList{
                            QStringLiteral("Error 6 (Overflow) in procedure Timer2_Timer of Formulario frmsave"),
                            QStringLiteral("Error 0 (bad_alloc-like) in procedure Timer2_Timer of Formulario frmsave"),
                            QStringLiteral("Error 0 (Unexpected error) in procedure Timer2_Timer of Formulario frmsave"),
                        }));
    EXPECT_FALSE(closing);
    EXPECT_FALSE(session.cancelled());

    // A port that cannot be made is reported once; the window is told to close, nothing crashes.
    for (const bool throws : {true, false}) {
        SCOPED_TRACE(throws ? "factory throws" : "factory returns nothing");
        std::atomic<bool> flag{false};
        DeviceSession::Options o = options(false);
        o.portFactory = [throws]() -> std::unique_ptr<SerialPort> {
            if (throws)
                throw RuntimeError(ErrInvalidPort, QStringLiteral("No adapter"));
            return nullptr;
        };
        DeviceSession broken(flag, o);
        QStringList said;
        int ran = 0, done = 0;
        QObject::connect(&broken, &DeviceSession::message, [&](const QString& m) { said.append(m); });
        QObject::connect(&broken, &DeviceSession::jobFinished, [&] { ++done; });
        ASSERT_TRUE(broken.post([&](LinkContext&) { ++ran; }));
        ASSERT_TRUE(waitFor([&] { return done == 1 && flag; }));
        EXPECT_EQ(ran, 0);
        EXPECT_EQ(said, QStringList{QStringLiteral("Error 8002 (%1) in procedure Form_Load of Formulario frmsave")
                                        .arg(throws ? QStringLiteral("No adapter") : QStringLiteral("No serial port"))});
    }
}

TEST(DeviceSession, EachSessionHasItsOwnTokenAndOnlyTheWindowThreadRaisesTheWindowFlag)
{
    std::atomic<bool> windowFlag{false};
    DeviceSession::Options failing = options(false);
    failing.profile = LinkProfile::frmPrep();   // a read error ends the link
    DeviceSession broken(windowFlag, failing);
    DeviceSession other(options(false));
    int failed = 0;
    QObject::connect(&broken, &DeviceSession::linkFailed, [&] { ++failed; });

    QSemaphore jobDone;
    ASSERT_TRUE(broken.post([&](LinkContext& ctx) {
        auto& port = static_cast<ScriptedPort&>(ctx.port);
        port.responder = [](const QByteArray&, ScriptedPort& p) { p.readError = RuntimeError(ErrReadDevice, QStringLiteral("Boom")); };
        EXPECT_EQ(ctx.link.LeeBloque(0).status, ReplyStatus::PortError);
        jobDone.release();
    }));
    // The job is over, but no event of this thread has run: the worker left the flag alone.
    ASSERT_TRUE(jobDone.tryAcquire(1, 15000));
    EXPECT_TRUE(broken.cancelled());
    EXPECT_FALSE(windowFlag);
    ASSERT_TRUE(waitFor([&] { return failed == 1; }));
    EXPECT_TRUE(windowFlag);
    EXPECT_FALSE(other.cancelled());

    // Cancelling the other session is not a link failure.
    int finished = 0;
    QObject::connect(&other, &DeviceSession::jobFinished, [&] { ++finished; });
    other.cancel();
    ASSERT_TRUE(other.post([](LinkContext& ctx) { EXPECT_EQ(ctx.link.LeeBloque(0).status, ReplyStatus::Cancelled); }));
    ASSERT_TRUE(waitFor([&] { return finished == 1; }));

    // A closed session raises nobody's flag, even when its last job failed.
    windowFlag = false;
    broken.close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(windowFlag);
}

// close() cuts a job on a silent logger short on the link's own clock (a poll, a long pause, a run
// of reads stop at their next look at the token), releases the port on the worker thread and
// delivers nothing more.
TEST(DeviceSession, CloseCutsAJobShortAndReleasesThePortOnItsThread)
{
    struct Ran { qint64 pausedMs = -1; int timedOut = 0; bool cancelled = false; };
    const std::function<void(LinkContext&, Ran&)> jobs[] = {
        [](LinkContext& ctx, Ran&) { ActualizaEstado(ctx.link, ctx.estado, Unit::Celsius); },
        [](LinkContext& ctx, Ran& ran) {
            const qint64 from = ctx.clock.nowMs();
            ctx.clock.sleepMs(60000);
            ran.pausedMs = ctx.clock.nowMs() - from;
        },
        [](LinkContext& ctx, Ran& ran) {
            for (int i = 0; i < 100 && !ran.cancelled; ++i) {
                ran.cancelled = ctx.link.LeeBloque(i).status == ReplyStatus::Cancelled;
                ran.timedOut += !ran.cancelled;
            }
        },
    };
    for (int j = 0; j < 3; ++j) {
        SCOPED_TRACE(j);
        std::atomic<bool> closing{false};
        portDestroyedOn = nullptr;
        Ran ran;
        int delivered = 0;
        auto session = std::make_unique<DeviceSession>(closing, options(true));
        QObject::connect(session.get(), &DeviceSession::statusRead, [&] { ++delivered; });
        std::atomic<bool> inJob{false};
        ASSERT_TRUE(session->post([&](LinkContext& ctx) {
            inJob = true;
            jobs[j](ctx, ran);
        }));
        ASSERT_TRUE(waitFor([&] { return inJob.load(); }));
        session->close();
        EXPECT_TRUE(session->cancelled());
        EXPECT_FALSE(closing);   // the window's flag is the window's
        EXPECT_TRUE(portDestroyedOn.load() && portDestroyedOn.load() != QThread::currentThread()) << "not on the worker";
        EXPECT_FALSE(session->post([](LinkContext&) {}));
        session.reset();
        QCoreApplication::processEvents();
        EXPECT_EQ(delivered, 0);
        EXPECT_TRUE(j != 1 || (ran.pausedMs >= 0 && ran.pausedMs < 60000)) << "the pause ran to its end";
        EXPECT_TRUE(j != 2 || (ran.cancelled && ran.timedOut < 100)) << "the reads ran to their end";
    }
}
