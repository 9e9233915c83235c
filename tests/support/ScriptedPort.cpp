#include "support/ScriptedPort.h"

#include <algorithm>
#include <utility>

namespace orvan::test {

static void throwOnce(std::optional<RuntimeError>& error)
{
    if (const std::optional<RuntimeError> e = std::exchange(error, std::nullopt))
        throw *e;
}

void ScriptedPort::open()
{
    if (onOpen)
        onOpen(*this);
    if (openError)
        throw *openError;
    if (m_open)
        throw RuntimeError(link::ErrInvalidPort, QStringLiteral("Cannot open ") + m_name);
    m_open = true;
    ++openCount;
}

void ScriptedPort::write(const QByteArray& frame)
{
    if (!m_open)
        throw RuntimeError(link::ErrPortNotOpen, QStringLiteral("Port not open"));
    throwOnce(writeError);
    writes.append(frame);
    if (responder)
        responder(frame, *this);
}

int ScriptedPort::bytesWaiting()
{
    if (!m_open)
        throw RuntimeError(link::ErrPortNotOpen, QStringLiteral("Port not open"));
    throwOnce(readError);
    // Arrival times and the clock never go down: what has arrived is a prefix of m_incoming.
    const qint64 now = m_clock.nowMs();
    while (m_arrived < m_incoming.size() && m_incoming[m_arrived].first <= now)
        ++m_arrived;
    return int(m_arrived);
}

QByteArray ScriptedPort::read(int maxBytes)
{
    const int available = bytesWaiting();
    QByteArray out;
    for (int i = 0; i < (maxBytes > 0 ? std::min(maxBytes, available) : available); ++i) {
        out.append(m_incoming.front().second);
        m_incoming.pop_front();
        --m_arrived;
    }
    return out;
}

bool ScriptedPort::waitForBytes(int timeoutMs)
{
    if (onWait)
        onWait();
    if (bytesWaiting() > 0)
        return true;
    qint64 wait = timeoutMs;
    if (!m_incoming.empty())
        wait = std::min(wait, m_incoming.front().first - m_clock.nowMs());
    m_clock.sleepMs(int(std::max<qint64>(wait, 0)));
    return bytesWaiting() > 0;
}

void ScriptedPort::arrive(const QByteArray& bytes, qint64 delayMs, qint64 stepMs)
{
    qint64 at = m_clock.nowMs() + delayMs;
    if (!m_incoming.empty())
        at = std::max(at, m_incoming.back().first);
    for (const char b : bytes) {
        m_incoming.emplace_back(at, b);
        at += stepMs;
    }
}

void FakeLogger::attach(ScriptedPort& port)
{
    port.responder = [this](const QByteArray& frame, ScriptedPort& p) {
        if (silent || frame.isEmpty())
            return;
        const int address = frame.size() >= 3 ? quint8(frame.at(1)) * 256 + quint8(frame.at(2)) : 0;
        if (frame == QByteArray::fromHex("ea")) {
            p.arrive(QByteArray::fromHex("14"), replyDelayMs);
        } else if (quint8(frame.at(0)) == 0x33 && frame.size() == 3) {
            blocksRead.append(address / 32);
            p.arrive((memory.mid(address, 32) + QByteArray(2, '\0')).leftJustified(replyLength, 'x', true), replyDelayMs);
        } else if (quint8(frame.at(0)) == 0x22 && frame.size() == 4) {
            memory[address] = frame.at(3);
        } else if (quint8(frame.at(0)) == 0x22 && frame.size() == 3) {
            memory[quint8(frame.at(1))] = frame.at(2);
        }
    };
}

} // namespace orvan::test
