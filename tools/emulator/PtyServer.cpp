#include "tools/emulator/PtyServer.h"

#include "tools/emulator/FrameSplitter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <random>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <ctime>
#include <termios.h>
#include <unistd.h>

namespace orvan::emulator {

namespace {

constexpr qint64 kByteUs = PtyServer::kLinePaceUs;
// Fault::Noise: after each reply, one burst of 1 to 3 random bytes 1 to 12 ms later, so that it
// often lands between the next request and its reply.
constexpr qint64 kNoiseMinUs = 1000;
constexpr qint64 kNoiseMaxUs = 12000;
constexpr int kClockTickMs = 50;      // how often the mission clock moves when nothing happens

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PtyServer::PtyServer(Logger& logger) : m_logger(logger) {}

PtyServer::~PtyServer()
{
    stop();
}

bool PtyServer::start()
{
    if (isRunning())
        return true;
    m_error.clear();
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) {
        m_error = systemError("posix_openpt");
        return false;
    }
    const char* name = nullptr;
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 || (name = ::ptsname(m_master)) == nullptr) {
        m_error = systemError("grantpt/unlockpt/ptsname");
        closeFds();
        return false;
    }
    m_devicePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        m_error = systemError("open slave");
        closeFds();
        return false;
    }
    termios tio{};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B9600);
        ::cfsetospeed(&tio, B9600);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    if (::pipe(m_wake) != 0) {
        m_error = systemError("pipe");
        closeFds();
        return false;
    }
    ::fcntl(m_wake[0], F_SETFL, ::fcntl(m_wake[0], F_GETFL) | O_NONBLOCK);
    m_stop.store(false);
    m_thread = std::thread([this] { run(); });
    return true;
}

void PtyServer::stop()
{
    if (m_thread.joinable()) {
        m_stop.store(true);
        const char c = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wake[1], &c, 1);
        m_thread.join();
    }
    closeFds();
    for (const QString& alias : std::as_const(m_aliases))
        QFile::remove(alias);
    m_aliases.clear();
}

void PtyServer::closeFds()
{
    for (int* fd : {&m_master, &m_slave, &m_wake[0], &m_wake[1]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

QString PtyServer::createAlias(const QString& folder, int comNumber)
{
    if (m_devicePath.isEmpty() || comNumber < 1 || !QDir().mkpath(folder))
        return QString();
    const QString link = QDir(folder).filePath(QStringLiteral("COM%1").arg(comNumber));
    const QFileInfo info(link);
    if (info.isSymLink() || info.exists()) {
        // Only a link is replaced; a real file of that name is not ours to delete.
        if (!info.isSymLink() || !QFile::remove(link))
            return QString();
    }
    if (::symlink(m_devicePath.toLocal8Bit().constData(), link.toLocal8Bit().constData()) != 0)
        return QString();
    m_aliases.append(link);
    return link;
}

void PtyServer::run()
{
    QElapsedTimer clock;
    clock.start();
    QByteArray chunk;          // bytes since the last silence gap
    qint64 lastInUs = 0;
    QByteArray out;            // reply bytes not written yet
    qint64 outStartUs = 0;     // the time the first byte of `out` is due
    qint64 chunkStartUs = 0;   // when the first byte of `chunk` came
    qint64 lastTickMs = 0;
    double missionMsPending = 0.0;
    char buf[4096];
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<qint64> noiseGap(kNoiseMinUs, kNoiseMaxUs);
    qint64 noiseAtUs = 0;
    bool noiseDue = false;     // a burst is to come at noiseAtUs

    while (!m_stop.load()) {
        qint64 nowUs = clock.nsecsElapsed() / 1000;
        const qint64 gapUs = qint64(m_gapMs.load()) * 1000;
        const Fault fault = m_logger.fault();
        // Microseconds per reply byte; 0 writes a reply at once.
        const qint64 byteUs = m_paceUs.load();
        const bool paced = byteUs > 0;
        const bool noisy = fault == Fault::Noise;

        qint64 waitUs = kClockTickMs * 1000;
        if (!chunk.isEmpty())
            waitUs = std::min(waitUs, std::max<qint64>(0, lastInUs + gapUs - nowUs));
        if (noisy && noiseDue && out.isEmpty())
            waitUs = std::min(waitUs, std::max<qint64>(0, noiseAtUs - nowUs));
        bool wantOut = false;
        if (!out.isEmpty()) {
            if (nowUs >= outStartUs)
                wantOut = true;
            else
                waitUs = std::min(waitUs, outStartUs - nowUs);
        }

        pollfd fds[2] = {{m_master, short(POLLIN | (wantOut ? POLLOUT : 0)), 0}, {m_wake[0], POLLIN, 0}};
        // Microseconds, not milliseconds: a wait rounded up to whole milliseconds would take a
        // frame's end of silence and the reply's bytes up to a millisecond late, a delay no
        // logger on a line has.
        const qint64 timeoutUs = wantOut ? 0 : waitUs;
        const timespec timeout{time_t(timeoutUs / 1000000), long(timeoutUs % 1000000) * 1000};
        const int ready = ::ppoll(fds, 2, &timeout, nullptr);
        if (ready < 0 && errno != EINTR)
            break;
        if (fds[1].revents & POLLIN) {
            while (::read(m_wake[0], buf, sizeof buf) > 0) {
            }
            continue;
        }
        nowUs = clock.nsecsElapsed() / 1000;

        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0) {
                if (chunk.isEmpty())
                    chunkStartUs = nowUs;
                chunk.append(buf, int(n));
                lastInUs = nowUs;
            } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                ::usleep(5000);   // should not happen while our slave end is open; do not spin
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            ::usleep(5000);
        }

        if (!chunk.isEmpty() && nowUs - lastInUs >= gapUs) {
            // No answer can begin before the frame has crossed the line and its own first byte
            // has too, however fast the logger is (the pseudo-terminal itself has no baud rate).
            const qint64 earliestUs = chunkStartUs + (qint64(chunk.size()) + 1) * kByteUs;
            const QList<QByteArray> frames = FrameSplitter::split(chunk);
            chunk.clear();
            for (const QByteArray& frame : frames) {
                const QByteArray reply = m_logger.handleFrame(frame);
                if (!reply.isEmpty()) {
                    if (out.isEmpty())
                        outStartUs = std::max(nowUs + (paced ? std::max(byteUs, kByteUs) : 0), earliestUs);
                    out.append(reply);
                }
            }
        }

        if (!out.isEmpty()) {
            qint64 due = nowUs < outStartUs ? 0 : out.size();
            if (paced)
                due = nowUs < outStartUs ? 0 : std::min<qint64>(out.size(), 1 + (nowUs - outStartUs) / byteUs);
            if (due > 0) {
                const ssize_t n = ::write(m_master, out.constData(), size_t(due));
                if (n > 0) {
                    out.remove(0, int(n));
                    outStartUs += qint64(n) * byteUs;
                } else if (n < 0 && errno == EAGAIN) {
                    // Nobody reads and the line's buffer is full: a serial line does not wait, the
                    // bytes are lost.
                    out.clear();
                }
            }
        }

        // Noise only between replies: a reply being written is never broken into.
        if (!out.isEmpty() || !noisy) {
            noiseDue = noisy && m_logger.faultShownOnLastRead();
            noiseAtUs = nowUs + noiseGap(random);
        } else if (noiseDue && nowUs >= noiseAtUs) {
            char noise[3];
            const int count = int(random() % 3) + 1;
            for (int i = 0; i < count; ++i)
                noise[i] = char(random() & 0xFF);
            [[maybe_unused]] const ssize_t n = ::write(m_master, noise, size_t(count));
            noiseDue = false;
        }

        const qint64 nowMs = nowUs / 1000;
        const qint64 dt = nowMs - lastTickMs;
        if (dt > 0) {
            lastTickMs = nowMs;
            m_logger.elapseWallMs(dt);
            const double speed = m_speed.load();
            if (speed > 0.0) {
                missionMsPending += double(dt) * speed * 60.0;
                const qint64 whole = qint64(missionMsPending);
                if (whole > 0) {
                    missionMsPending -= double(whole);
                    m_logger.advanceMissionMs(whole);
                }
            }
        }
    }
}

} // namespace orvan::emulator
