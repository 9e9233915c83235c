#pragma once
// A serial port with a Logger at the other end, all in memory: the link's unit tests run a whole
// download without a pseudo-terminal and, with a ManualClock, without waiting for real. A frame
// reaches the logger when it is written; its reply becomes readable byte by byte after the time
// the line would take (at 9600 baud about 1.04 ms a byte, the frame's own bytes included, so a
// block read's reply is complete about 38 ms later) or, unpaced, whole once the frame and one
// byte could have crossed the line (about 4 ms after a block read).
// waitForBytes() sleeps on the clock, so a ManualClock simply moves forward.

#include "link/LinkClock.h"
#include "link/SerialPort.h"
#include "tools/emulator/Logger.h"

#include <QString>

#include <deque>
#include <memory>

namespace orvan::emulator {

class EmulatedPort : public link::SerialPort {
public:
    // clock: the clock the link uses (not owned); null for the system clock.
    explicit EmulatedPort(Logger& logger, link::LinkClock* clock = nullptr);

    void setPortName(const QString& device) override { m_name = device; }
    QString portName() const override { return m_name; }
    void open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    void write(const QByteArray& frame) override;
    int bytesWaiting() override;
    QByteArray read(int maxBytes) override;
    bool waitForBytes(int timeoutMs) override;

    void setPaced(bool paced) { m_paced = paced; }
    // Makes open() fail with error 8002, as a port that does not exist.
    void setFailOpen(bool fail) { m_failOpen = fail; }
    int framesWritten() const { return m_framesWritten; }

private:
    struct Pending {
        qint64 readyUs;   // clock time at which the byte has arrived
        char byte;
    };
    qint64 nowUs();
    void feedLoggerWallTime();

    Logger& m_logger;
    std::unique_ptr<link::LinkClock> m_ownClock;
    link::LinkClock* m_clock;
    QString m_name;
    bool m_open = false;
    bool m_paced = false;
    bool m_failOpen = false;
    int m_framesWritten = 0;
    qint64 m_lineFreeUs = 0;       // when the line has sent everything queued so far
    qint64 m_lastWallMs = 0;
    std::deque<Pending> m_input;
};

} // namespace orvan::emulator
