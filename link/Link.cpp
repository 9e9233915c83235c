#include "link/Link.h"

#include "base/Encodings.h"

#include <algorithm>

namespace orvan::link {

Q_LOGGING_CATEGORY(lcLink, "orvan.link", QtWarningMsg)

Link::Link(SerialPort& port, LinkClock& clock, std::atomic<bool>& closing, LinkProfile profile, MessageFn message)
    : m_port(port), m_clock(clock), m_closing(closing), m_profile(std::move(profile)), m_message(std::move(message))
{
}

Link::Link(SerialPort& port, LinkClock& clock, std::atomic<bool>& closing, LinkProfile profile, MessageSink& sink)
    : Link(port, clock, closing, std::move(profile), [&sink](const QString& text) { sink.show(text); })
{
}

void Link::ensureOpen()
{
    if (!m_port.isOpen())
        m_port.open();
}

void Link::send(const QByteArray& frame)
{
    qCDebug(lcLink).noquote() << m_port.portName() << "->" << frame.toHex(' ');
    // Taken before the write: a write that lingers must not make an early answer look late.
    m_sentAtMs = m_clock.nowMs();
    m_sentBytes = int(frame.size());
    m_port.write(frame);
}

QByteArray Link::take(int maxBytes)
{
    const QByteArray bytes = m_port.read(maxBytes);
    if (!bytes.isEmpty())
        qCDebug(lcLink).noquote() << m_port.portName() << "<-" << bytes.toHex(' ');
    return bytes;
}

void Link::fail(const RuntimeError& e, const char* procedure)
{
    m_failed = true;
    if (m_message)
        m_message(errorInForm(e, QString::fromLatin1(procedure), m_profile.form));
    bool wasOpen = false;
    try {
        wasOpen = m_port.isOpen();
        if (wasOpen)
            m_port.close();
    } catch (const RuntimeError&) {
        // The port is being given up anyway.
    }
    if (wasOpen)
        m_clock.sleepMs(100);
    m_closing = true;
}

void Link::VaciaBuff()
{
    discard();
}

int Link::discard()
{
    if (closing())
        return 0;
    try {
        ensureOpen();
        const QByteArray discarded = m_port.read(0);
        if (!discarded.isEmpty())
            qCDebug(lcLink).noquote() << m_port.portName() << "discarded" << discarded.toHex(' ');
        return int(discarded.size());
    } catch (const RuntimeError& e) {
        fail(e, "VaciaBuff");
        return 0;
    }
}

bool Link::Transmite(const QByteArray& frame)
{
    // A closing window does not reopen its port: reopening a port that just failed would only
    // report the same error a second time.
    if (closing())
        return false;
    try {
        ensureOpen();
        send(frame);
        return true;
    } catch (const RuntimeError& e) {
        fail(e, "Transmite");
        return false;
    }
}

bool Link::beforeAnswerPossible(qint64 nowMs) const
{
    // The logger answers once the whole frame is in; its first byte is then one more byte time
    // on the line. The clock counts whole milliseconds, so "sooner" is judged on the safe side.
    return m_sentAtMs >= 0 && (nowMs - m_sentAtMs) * 1000 < qint64(m_sentBytes) * kByteUs;
}

bool Link::drain(qint64 deadlineMs)
{
    qint64 quietSince = m_clock.nowMs();
    for (;;) {
        if (closing())
            return false;
        const qint64 now = m_clock.nowMs();
        if (!m_port.read(0).isEmpty())
            quietSince = now;
        else if (now - quietSince >= kQuietMs || now >= deadlineMs)
            return true;
        m_port.waitForBytes(int(std::max<qint64>(1, std::min<qint64>({kPollSliceMs, kQuietMs - (now - quietSince), deadlineMs - now}))));
    }
}

Reply Link::Recibe()
{
    return receive(false);
}

Reply Link::receive(bool mayHold)
{
    m_held = false;
    m_refusedEarly = false;
    // A reply abandoned by the closing flag never hands on an earlier reply: the caller would
    // take it for the block it asked for.
    if (closing())
        return {ReplyStatus::Cancelled, {}};

    const qint64 start = m_clock.nowMs();
    QByteArray got;
    qint64 firstAt = -1;
    bool early = false;   // a byte came before any answer could have begun
    const auto refuse = [&](int& counter, const char* why) -> Reply {
        ++counter;
        m_refusedEarly = early;
        qCDebug(lcLink).noquote() << m_port.portName() << "reply refused:" << why << got.toHex(' ');
        if (!drain(start + kReplyTimeoutMs))
            return {ReplyStatus::Cancelled, {}};
        return {ReplyStatus::NoReply, {}};
    };
    try {
        ensureOpen();
        for (;;) {
            if (closing())
                return {ReplyStatus::Cancelled, got};
            const int waiting = m_port.bytesWaiting();
            if (waiting > 0) {
                const qint64 now = m_clock.nowMs();
                early = early || beforeAnswerPossible(now);
                if (firstAt < 0)
                    firstAt = now;
                const int need = kReplySize - int(got.size());
                got += take(std::min(waiting, need));
                if (waiting > need)
                    return refuse(m_counts.runOn, "run-on");
                if (got.size() == kReplySize) {
                    if (early)
                        return refuse(m_counts.leftover, "leftover bytes");
                    // A 35th byte would follow the 34th at the reply's own pace: one byte time
                    // on a steady line, longer when the reply trickles.
                    const qint64 pace = (2 * (now - firstAt) + (kReplySize - 1) / 2) / (kReplySize - 1);
                    const qint64 settle = std::max<qint64>(kSettleMs, pace);
                    if (mayHold && settle <= kHoldWindowMs) {
                        // The next request's own transmission time settles this reply (LeeBloques).
                        ++m_counts.accepted;
                        m_held = true;
                        return {ReplyStatus::Ok, got};
                    }
                    const qint64 settleEnd = now + settle;
                    for (;;) {
                        if (closing())
                            return {ReplyStatus::Cancelled, got};
                        if (m_port.bytesWaiting() > 0)
                            return refuse(m_counts.runOn, "run-on");
                        const qint64 left = settleEnd - m_clock.nowMs();
                        if (left <= 0)
                            break;
                        m_port.waitForBytes(int(std::min<qint64>(left, kPollSliceMs)));
                    }
                    ++m_counts.accepted;
                    m_counts.settleMs += m_clock.nowMs() - now;
                    return {ReplyStatus::Ok, got};
                }
            }
            const qint64 left = kReplyTimeoutMs - (m_clock.nowMs() - start);
            if (left <= 0) {
                ++m_counts.timedOut;
                m_refusedEarly = early;
                qCDebug(lcLink).noquote() << m_port.portName() << "time-out after" << got.size() << "bytes";
                return {ReplyStatus::NoReply, {}};
            }
            m_port.waitForBytes(int(std::min<qint64>(left, kPollSliceMs)));
        }
    } catch (const RuntimeError& e) {
        const bool quiet = e.number == ErrInvalidPort || e.number == ErrReadDevice || e.number == ErrDeviceControlBlock;
        if (!(m_profile.recibeSilentPortErrors && quiet))
            fail(e, "Recibe");
        return {ReplyStatus::PortError, {}};
    }
}

QByteArray Link::frameLeeBloque(int block)
{
    if (block < 0 || block >= kBlockCount)
        throw RuntimeError(RuntimeError::Overflow, QStringLiteral("Overflow"));
    const int address = block * kBlockSize;
    QByteArray frame;
    frame.append(char(kReadBlock)).append(char(ByteAlto(address))).append(char(ByteBajo(address)));
    return frame;
}

QByteArray Link::frameEscribeByte(int address, quint8 value)
{
    QByteArray frame;
    frame.append(char(kWriteByte)).append(char(ByteAlto(address))).append(char(ByteBajo(address))).append(char(value));
    return frame;
}

QByteArray Link::frameEscribeByteCorto(int address, quint8 value)
{
    if (address < 0 || address > 255)
        throw RuntimeError(RuntimeError::Overflow, QStringLiteral("Overflow"));
    QByteArray frame;
    frame.append(char(kWriteByte)).append(char(address)).append(char(value));
    return frame;
}

int Link::blockNumber(int block) const
{
    return m_profile.block1024As1023 && block == kBlockCount ? kBlockCount - 1 : block;
}

Reply Link::LeeBloque(int block)
{
    const QByteArray frame = frameLeeBloque(blockNumber(block));

    m_failed = false;
    Reply reply;
    const int attempts = std::max(1, m_profile.blockAttempts);
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (closing())
            break;
        VaciaBuff();
        Transmite(frame);
        reply = Recibe();
        if (reply.ok())
            return reply;
        if (reply.status == ReplyStatus::Cancelled)
            break;
    }
    if (m_failed)
        reply.status = ReplyStatus::PortError;
    else if (closing())
        reply.status = ReplyStatus::Cancelled;
    reply.data.clear();
    return reply;
}

BlockRunResult Link::LeeBloques(const QList<int>& blocks, const std::function<void(int)>& starting,
                                const std::function<void(int, const Reply&)>& confirmed)
{
    QList<QByteArray> frames;
    for (const int block : blocks)
        frames.append(frameLeeBloque(blockNumber(block)));

    const int count = int(blocks.size());
    const int attempts = std::max(1, m_profile.blockAttempts);
    QList<int> tries(count, 0);
    int announced = -1;
    int held = -1;   // index of the reply taken at its 34th byte and not confirmed yet
    Reply heldReply;
    // The held reply ran on: it is read again, and what it left on the line is drained first.
    const auto giveBack = [&](int& index, const char* why) {
        ++m_counts.revoked;
        qCDebug(lcLink).noquote() << m_port.portName() << "held reply given back:" << why;
        index = held;
        held = -1;
    };

    m_failed = false;
    int i = 0;
    while (i < count && !closing() && tries[i] < attempts) {
        if (i > announced) {
            announced = i;
            if (starting)
                starting(i);
        }
        if (held < 0) {
            VaciaBuff();
        } else if (discard() > 0) {
            giveBack(i, "bytes waiting before the next request");
            if (!drain(m_clock.nowMs() + kReplyTimeoutMs))
                break;
            continue;
        }
        ++tries[i];
        Transmite(frames[i]);
        const Reply reply = receive(i + 1 < count);
        if (held >= 0) {
            if (reply.status == ReplyStatus::Cancelled)
                break;
            // Only a reply taken, or a wait that saw no early byte, settles the held one. A port
            // that failed meanwhile settles nothing.
            if (m_refusedEarly || reply.status == ReplyStatus::PortError) {
                --tries[i];   // this read was spoilt by the held reply, not by its own
                giveBack(i, m_refusedEarly ? "early bytes after the next request" : "port error");
                continue;
            }
            if (confirmed)
                confirmed(held, heldReply);
            held = -1;
        }
        if (reply.ok()) {
            if (m_held) {
                held = i;
                heldReply = reply;
            } else if (confirmed) {
                confirmed(i, reply);
            }
            ++i;
        } else if (reply.status == ReplyStatus::Cancelled) {
            break;
        }
    }

    BlockRunResult result;
    if (i == count && held < 0)
        return result;
    result.failedIndex = held >= 0 ? held : std::min(i, count - 1);
    if (m_failed)
        result.status = ReplyStatus::PortError;
    else if (closing())
        result.status = ReplyStatus::Cancelled;
    else
        result.status = ReplyStatus::NoReply;
    return result;
}

bool Link::EscribeByte(int address, quint8 value)
{
    const QByteArray frame = frameEscribeByte(address, value);
    VaciaBuff();
    return Transmite(frame);
}

bool Link::EscribeByteCorto(int address, quint8 value)
{
    const QByteArray frame = frameEscribeByteCorto(address, value);
    VaciaBuff();
    return Transmite(frame);
}

ProbeResult Link::Sondea()
{
    if (closing())
        return ProbeResult::Silence;
    ensureOpen();
    const QByteArray unasked = m_port.read(0);
    if (!unasked.isEmpty())
        qCDebug(lcLink).noquote() << m_port.portName() << "talks unasked:" << unasked.toHex(' ');
    send(QByteArray(1, char(kProbe)));
    const qint64 sent = m_sentAtMs;
    m_clock.sleepMs(kProbePauseMs);
    // A logger answers within the pause; a USB adapter may hold the byte back for its latency
    // time (16 ms on common chips), so a late answer is still waited for a while.
    while (m_port.bytesWaiting() == 0) {
        const qint64 left = kProbeWaitMs - (m_clock.nowMs() - sent);
        if (closing())
            return ProbeResult::Silence;
        if (left <= 0)
            return unasked.isEmpty() ? ProbeResult::Silence : ProbeResult::Other;
        m_port.waitForBytes(int(std::min<qint64>(left, kPollSliceMs)));
    }
    m_clock.sleepMs(kProbeSettleMs);
    const QByteArray answer = take(0);
    const bool lone = answer.size() == 1 && quint8(answer.at(0)) == kProbeAnswer;
    return lone && unasked.isEmpty() ? ProbeResult::Logger : ProbeResult::Other;
}

bool Link::EnviaBorrado()
{
    VaciaBuff();
    return Transmite(QByteArray(1, char(kEraseTrigger)));
}

} // namespace orvan::link
