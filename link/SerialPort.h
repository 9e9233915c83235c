#pragma once
// The serial port as the link sees it. One implementation drives a real port (QSerialPort),
// others serve tests and the emulator. Failures throw RuntimeError with the numbers below,
// so the link can tell apart the conditions it treats differently.

#include "base/RuntimeError.h"

#include <QByteArray>
#include <QString>

namespace orvan::link {

enum PortError {
    ErrInvalidPort = 8002,     // no such port, or it cannot be opened
    ErrPortAlreadyOpen = 8005,
    ErrPortNotOpen = 8018,
    ErrReadDevice = 8020,
    ErrDeviceControlBlock = 8021,
    ErrWriteDevice = 8022,
};

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // The system name or path of the device (for example "/dev/ttyUSB0"); set while closed.
    virtual void setPortName(const QString& device) = 0;
    virtual QString portName() const = 0;

    // 9600 baud, 8 data bits, no parity, 1 stop bit, no handshake.
    virtual void open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Sends the whole frame as one write; does not wait for the logger.
    virtual void write(const QByteArray& frame) = 0;
    // Received bytes not yet read. Never blocks.
    virtual int bytesWaiting() = 0;
    // Returns and removes up to maxBytes waiting bytes (0: all of them). Never blocks.
    virtual QByteArray read(int maxBytes) = 0;
    // Blocks until some input is waiting or timeoutMs has passed; true when input is waiting.
    virtual bool waitForBytes(int timeoutMs) = 0;
};

} // namespace orvan::link
