#include "tools/emulator/EmulatedPort.h"

#include <algorithm>

namespace orvan::emulator {

namespace {
constexpr qint64 kByteUs = 1042;        // 10 bits at 9600 baud
constexpr qint64 kUnpacedUs = 1000;     // an unpaced reply arrives whole, at least 1 ms after the write
} // namespace

EmulatedPort::EmulatedPort(Logger& logger, link::LinkClock* clock) : m_logger(logger), m_clock(clock)
{
    if (!m_clock) {
        m_ownClock = std::make_unique<link::SystemClock>();
        m_clock = m_ownClock.get();
    }
    m_lastWallMs = m_clock->nowMs();
}

qint64 EmulatedPort::nowUs()
{
    return m_clock->nowMs() * 1000;
}

void EmulatedPort::feedLoggerWallTime()
{
    const qint64 now = m_clock->nowMs();
    if (now > m_lastWallMs)
        m_logger.elapseWallMs(now - m_lastWallMs);
    m_lastWallMs = now;
}

void EmulatedPort::open()
{
    if (m_failOpen)
        throw RuntimeError(link::ErrInvalidPort, QStringLiteral("Invalid port number"));
    if (m_open)
        throw RuntimeError(link::ErrPortAlreadyOpen, QStringLiteral("Port already open"));
    m_open = true;
    m_input.clear();
}

void EmulatedPort::close()
{
    // What was on its way is lost with the port.
    m_open = false;
    m_input.clear();
}

void EmulatedPort::write(const QByteArray& frame)
{
    if (!m_open)
        throw RuntimeError(link::ErrPortNotOpen, QStringLiteral("Port not open"));
    if (frame.isEmpty())
        return;
    feedLoggerWallTime();
    ++m_framesWritten;
    const qint64 now = nowUs();
    const QByteArray reply = m_logger.handleFrame(frame);
    if (m_paced) {
        // The frame goes out after whatever the line still carries; the reply follows it.
        qint64 t = std::max(now, m_lineFreeUs) + qint64(frame.size()) * kByteUs;
        for (char c : reply) {
            t += kByteUs;
            m_input.push_back({t, c});
        }
        m_lineFreeUs = t;
    } else {
        // Whole at once, but not before the frame and the reply's first byte could cross the line.
        const qint64 at = std::max(now + kUnpacedUs, now + (qint64(frame.size()) + 1) * kByteUs);
        for (char c : reply)
            m_input.push_back({at, c});
    }
}

int EmulatedPort::bytesWaiting()
{
    if (!m_open)
        throw RuntimeError(link::ErrPortNotOpen, QStringLiteral("Port not open"));
    const qint64 now = nowUs();
    int n = 0;
    for (const Pending& p : m_input) {
        if (p.readyUs > now)
            break;
        ++n;
    }
    return n;
}

QByteArray EmulatedPort::read(int maxBytes)
{
    const int waiting = bytesWaiting();
    const int n = maxBytes <= 0 ? waiting : std::min(waiting, maxBytes);
    QByteArray out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) {
        out.append(m_input.front().byte);
        m_input.pop_front();
    }
    return out;
}

bool EmulatedPort::waitForBytes(int timeoutMs)
{
    if (bytesWaiting() > 0)
        return true;
    if (!m_input.empty()) {
        const qint64 untilUs = m_input.front().readyUs - nowUs();
        if (untilUs <= qint64(timeoutMs) * 1000) {
            m_clock->sleepMs(int((untilUs + 999) / 1000));
            return bytesWaiting() > 0;
        }
    }
    m_clock->sleepMs(std::max(0, timeoutMs));
    return bytesWaiting() > 0;
}

} // namespace orvan::emulator
