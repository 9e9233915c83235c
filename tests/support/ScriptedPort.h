#pragma once
// An in-memory serial port for link tests: what the "device" sends becomes readable when the link's
// clock reaches it, and waiting moves that clock, so a 300 ms time-out costs no real time.

#include "link/Link.h"
#include "link/LinkClock.h"
#include "link/SerialPort.h"

#include <QByteArray>
#include <QList>
#include <atomic>
#include <deque>
#include <functional>
#include <optional>

namespace orvan::test {

class ScriptedPort : public link::SerialPort {
public:
    explicit ScriptedPort(link::LinkClock& clock) : m_clock(clock) {}

    void setPortName(const QString& device) override { m_name = device; }
    QString portName() const override { return m_name; }
    void open() override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void write(const QByteArray& frame) override;
    int bytesWaiting() override;
    QByteArray read(int maxBytes) override;
    bool waitForBytes(int timeoutMs) override;

    // The device sends bytes: the first after delayMs, the next ones stepMs apart.
    void arrive(const QByteArray& bytes, qint64 delayMs = 0, qint64 stepMs = 0);
    int pendingBytes() const { return int(m_incoming.size()); }   // arrived or not

    std::function<void(const QByteArray& frame, ScriptedPort& port)> responder;
    std::function<void()> onWait;                        // at every wait for input
    std::function<void(ScriptedPort& port)> onOpen;      // before every open(); may throw
    std::optional<RuntimeError> openError;   // thrown by every open()
    std::optional<RuntimeError> readError;   // thrown once, by the next look at the input
    std::optional<RuntimeError> writeError;  // thrown once, by the next write()

    QList<QByteArray> writes;
    int openCount = 0;

private:
    link::LinkClock& m_clock;
    QString m_name;
    bool m_open = false;
    std::deque<std::pair<qint64, char>> m_incoming;   // (arrival time, byte)
    size_t m_arrived = 0;                             // the first m_arrived of m_incoming
};

// A logger answering block reads and the probe from a memory image, and taking byte writes.
struct FakeLogger {
    QByteArray memory = QByteArray(32768, '\0');
    bool silent = false;
    int replyLength = 34;      // bytes sent for a block read
    qint64 replyDelayMs = 5;   // an answer cannot begin before the 3-byte frame is on the line
    QList<int> blocksRead;     // in the order asked

    void attach(ScriptedPort& port);
    void setByte(int address, quint8 value) { memory[address] = char(value); }
};

// One window's link on a scripted port, on a clock that moves only when the link waits.
struct LinkBench {
    explicit LinkBench(const link::LinkProfile& profile) : link(port, clock, closing, profile, sink)
    {
        port.setPortName(QStringLiteral("/dev/klv"));
    }
    link::ManualClock clock;
    ScriptedPort port{clock};
    std::atomic<bool> closing{false};
    RecordingSink sink;
    link::Link link;
};

} // namespace orvan::test
