// Exchanges on the worker thread, results on the window thread.

#include "link/DeviceSession.h"
#include "support/ScriptedPort.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QSemaphore>
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
        static SystemClock shared;   // only read once started
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

TEST(DeviceSession, RefusesPostsWhileBusyAndDeliversOnTheWindowThread)
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
    EXPECT_FALSE(session.poll(-1));
    release.release();
    ASSERT_TRUE(waitFor([&] { return finished == 1; }));

    ASSERT_TRUE(session.poll(-1));
    ASSERT_TRUE(waitFor([&] { return finished == 2; }));
    ASSERT_EQ(snapshots.size(), 1);
    EXPECT_EQ(deliveredOn.first(), QThread::currentThread());
    EXPECT_TRUE(snapshots.first().Comunicado && snapshots.first().Registrando);
    EXPECT_EQ(snapshots.first().NumMuestras, 100);

    // An error a job lets out reaches the window as a message; the session goes on.
    ASSERT_TRUE(session.post([](LinkContext& ctx) { ctx.link.LeeBloque(5000); }));
    ASSERT_TRUE(waitFor([&] { return finished == 3; }));
    EXPECT_EQ(messages, QStringList{QStringLiteral("Error 6 (Overflow) in procedure Timer2_Timer of Formulario frmsave")});
    EXPECT_FALSE(closing);
}

TEST(DeviceSession, CloseEndsTheExchangeAndReleasesThePortOnItsThread)
{
    std::atomic<bool> closing{false};
    portDestroyedOn = nullptr;
    auto session = std::make_unique<DeviceSession>(closing, options(true));
    int delivered = 0;
    QObject::connect(session.get(), &DeviceSession::statusRead, [&] { ++delivered; });

    // A poll of a silent logger takes seconds; closing ends it at its next check.
    std::atomic<bool> inJob{false};
    ASSERT_TRUE(session->post([&](LinkContext& ctx) {
        inJob = true;
        ActualizaEstado(ctx.link, ctx.estado, -1);
    }));
    ASSERT_TRUE(waitFor([&] { return inJob.load(); }));
    session->close();
    EXPECT_TRUE(closing);
    EXPECT_NE(portDestroyedOn.load(), nullptr);
    EXPECT_NE(portDestroyedOn.load(), QThread::currentThread());
    EXPECT_FALSE(session->post([](LinkContext&) {}));
    session.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, 0);
}
