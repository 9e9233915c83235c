// The long run: the device-data window's session polls the emulated logger every 500 ms, as the
// window's timer does, and downloads its memory once a minute, for N minutes, while the line
// drops one block reply in 50 and garbles another one in 50 (a byte lost or doubled on the way).
// Prints one row a minute and a closing table: polls, polls that showed the logger, polls that
// did not, downloads and their failures, messages the user would have seen, and the process's
// resident memory at the start and the end.
//
//     longrun_poll [MINUTES=10]
#include "link/DeviceSession.h"
#include "link/QtSerialPort.h"
#include "mission/Download.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace orvan;

namespace {

long residentKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Sits on the line between the PC and the emulator: frames go through untouched, block replies
// (34 bytes) come back whole except every 50th, which is dropped, and every 50th counted from
// the 25th, which loses or doubles one byte.
class LossyLine {
public:
    explicit LossyLine(const QString& loggerDevice)
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return;
        m_device = QString::fromLocal8Bit(::ptsname(m_master));
        m_logger = ::open(loggerDevice.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios t{};
        if (m_logger < 0 || ::tcgetattr(m_logger, &t) != 0)
            return;
        ::cfmakeraw(&t);
        ::tcsetattr(m_logger, TCSANOW, &t);
        m_thread = std::thread([this] { run(); });
    }
    ~LossyLine()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_logger >= 0)
            ::close(m_logger);
        if (m_master >= 0)
            ::close(m_master);
    }
    bool ok() const { return m_thread.joinable(); }
    QString device() const { return m_device; }   // the PC's end
    std::atomic<int> replies{0}, dropped{0}, garbled{0};

private:
    void run()
    {
        QByteArray reply;
        char buf[512];
        while (!m_stop) {
            pollfd fds[2] = {{m_master, POLLIN, 0}, {m_logger, POLLIN, 0}};
            if (::poll(fds, 2, reply.isEmpty() ? 50 : 20) <= 0) {
                reply.clear();   // a reply that stopped short goes on as it came
                continue;
            }
            if (fds[0].revents & POLLIN) {
                const ssize_t n = ::read(m_master, buf, sizeof buf);
                if (n > 0)
                    (void)!::write(m_logger, buf, size_t(n));
            }
            if (fds[1].revents & POLLIN) {
                const ssize_t n = ::read(m_logger, buf, sizeof buf);
                if (n <= 0)
                    continue;
                if (n == 1 && reply.isEmpty()) {   // the probe's answer
                    (void)!::write(m_master, buf, 1);
                    continue;
                }
                reply.append(buf, int(n));
                if (reply.size() < 34)
                    continue;
                const int k = ++replies;
                if (k % 50 == 0) {
                    ++dropped;
                } else if (k % 50 == 25) {
                    ++garbled;
                    if ((k / 50) % 2 == 0)
                        reply.remove(17, 1);
                    else
                        reply.insert(17, reply.at(17));
                    (void)!::write(m_master, reply.constData(), size_t(reply.size()));
                } else {
                    (void)!::write(m_master, reply.constData(), size_t(reply.size()));
                }
                reply.clear();
            }
        }
    }

    int m_master = -1;
    int m_logger = -1;
    QString m_device;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int minutes = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    emulator::EmulatorFixture emu(emulator::ScenarioKind::Finished);
    if (!emu.ok()) {
        std::fprintf(stderr, "longrun: %s\n", qPrintable(emu.errorString()));
        return 1;
    }
    LossyLine line(emu.devicePath());
    if (!line.ok()) {
        std::fprintf(stderr, "longrun: no pseudo-terminal for the lossy line\n");
        return 1;
    }

    std::atomic<bool> flag{false};
    link::DeviceSession::Options options;
    options.profile = link::LinkProfile::frmsave();
    options.portFactory = [] { return std::make_unique<link::QtSerialPort>(); };
    options.device = line.device();
    link::DeviceSession session(flag, options);

    int polls = 0, linked = 0, unlinked = 0, refused = 0, messages = 0, wrong = 0;
    int downloads = 0, downloadsOk = 0, downloadsWrong = 0;
    const QByteArray memory = emu.logger().memory();
    QObject::connect(&session, &link::DeviceSession::statusRead, [&](const link::EstadoKLV& e) {
        ++(e.Comunicado ? linked : unlinked);
        if (e.Comunicado && (e.NumMuestras != 100 || e.Exportador != QStringLiteral("FRUTAS SUR  ")))
            ++wrong;
    });
    QObject::connect(&session, &link::DeviceSession::message, [&](const QString& m) {
        ++messages;
        std::fprintf(stderr, "message: %s\n", qPrintable(m));
    });
    QObject::connect(&session, &link::DeviceSession::linkFailed, [&] { app.exit(2); });

    // The window's timer: a poll every 500 ms, skipped while a job is still running; once a
    // minute the download instead.
    QTimer timer;
    timer.setInterval(500);
    qint64 nextDownloadMs = 30000;
    QElapsedTimer since;
    since.start();
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (since.elapsed() >= nextDownloadMs) {
            const bool posted = session.post([&](link::LinkContext& ctx) {
                const mission::DownloadResult d = mission::LeerKLV(ctx.link, ctx.estado.NumMuestras);
                // The planned blocks must be the logger's own bytes.
                bool same = true;
                for (int b : mission::downloadPlan(ctx.estado.NumMuestras).blocks) {
                    const int at = std::min(b, 1023) * 32;
                    same = same && d.image.mid(at, 32) == memory.mid(at, 32);
                }
                ctx.toWindow([&, ok = d.ok(), same] {
                    ++downloads;
                    downloadsOk += ok;
                    downloadsWrong += ok && !same;
                });
            });
            if (posted)
                nextDownloadMs += 60000;
            return;
        }
        session.poll(Unit::Celsius) ? ++polls : ++refused;
    });
    QElapsedTimer clock;
    clock.start();
    long startKiB = -1;
    int minute = 0;
    std::printf("%6s %7s %7s %9s %10s %8s %8s %9s %10s\n", "minute", "polls", "linked", "no link", "downloads",
                "dropped", "garbled", "messages", "RSS KiB");
    QTimer tick;
    tick.setInterval(1000);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        // The emulator lives in this process and logs every frame (up to 65536 of them): cleared,
        // so that what the memory column shows is the session's own.
        emu.logger().clearFrameLog();
        if (startKiB < 0 && polls >= 10)
            startKiB = residentKiB();   // after the first polls: libraries and buffers in place
        if (clock.elapsed() >= qint64(minute + 1) * 60000) {
            ++minute;
            std::printf("%6d %7d %7d %9d %6d/%-3d %8d %8d %9d %10ld\n", minute, polls, linked, unlinked, downloadsOk,
                        downloads, line.dropped.load(), line.garbled.load(), messages, residentKiB());
            std::fflush(stdout);
            if (minute >= minutes)
                app.quit();
        }
    });
    timer.start();
    tick.start();
    const int rc = app.exec();
    timer.stop();
    session.close();

    const long endKiB = residentKiB();
    std::printf("\n| polls | showed the logger | showed no link | wrong data shown | downloads ok/run | downloads with "
                "wrong bytes | replies dropped | replies garbled | messages | RSS start KiB | RSS end KiB |\n"
                "|---|---|---|---|---|---|---|---|---|---|---|\n");
    std::printf("| %d | %d | %d | %d | %d/%d | %d | %d | %d | %d | %ld | %ld |\n", polls, linked, unlinked, wrong,
                downloadsOk, downloads, downloadsWrong, line.dropped.load(), line.garbled.load(), messages, startKiB,
                endKiB);
    return rc == 0 && wrong == 0 && downloadsWrong == 0 ? 0 : 1;
}
