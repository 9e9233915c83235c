#pragma once
// The serial port over QSerialPort: 9600 baud, 8 data bits, no parity, 1 stop bit, no flow
// control, a 1024-byte read buffer.
//
// Exchanges run on a worker thread whose event loop is blocked for the whole exchange, so this
// class never relies on signals or the event loop: every transfer is driven by waitForReadyRead
// and waitForBytesWritten. Create it, use it and destroy it on one thread.

#include "link/SerialPort.h"

#include <QSerialPort>

namespace orvan::link {

class QtSerialPort : public SerialPort {
public:
    QtSerialPort();
    ~QtSerialPort() override;

    void setPortName(const QString& device) override;
    QString portName() const override;

    // 8002 when the device is missing, busy or not accessible (the description says which),
    // 8021 when the line settings are refused.
    void open() override;
    void close() override;
    bool isOpen() const override;

    // 8022 when the frame cannot be handed to the device within a second.
    void write(const QByteArray& frame) override;
    // 8020 when the device reports a read error (for example an adapter pulled out).
    int bytesWaiting() override;
    QByteArray read(int maxBytes) override;
    bool waitForBytes(int timeoutMs) override;

private:
    void requireOpen() const;
    // Moves whatever the system holds into the port's buffer, waiting at most timeoutMs.
    void pull(int timeoutMs);
    [[noreturn]] void fail(int number);

    QSerialPort m_port;
    QString m_device;
};

} // namespace orvan::link
