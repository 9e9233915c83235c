#include "link/QtSerialPort.h"

#include <QFileInfo>

namespace orvan::link {

namespace {

constexpr int kReadBuffer = 1024;
constexpr int kWriteTimeoutMs = 1000;

bool accessible(const QString& device)
{
    const QFileInfo info(device);
    return info.isReadable() && info.isWritable();
}

} // namespace

QtSerialPort::QtSerialPort() = default;

QtSerialPort::~QtSerialPort()
{
    if (m_port.isOpen())
        m_port.close();
}

void QtSerialPort::setPortName(const QString& device)
{
    m_device = device;
    m_port.setPortName(device);
}

QString QtSerialPort::portName() const
{
    return m_device;
}

void QtSerialPort::open()
{
    if (m_port.isOpen())
        throw RuntimeError(ErrPortAlreadyOpen, QStringLiteral("Port already open"));
    // An empty name would make Qt open "/dev/" and report a directory.
    if (m_device.isEmpty())
        throw RuntimeError(ErrInvalidPort, QStringLiteral("Invalid port number"));

    m_port.setReadBufferSize(kReadBuffer);
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = m_port.error();
        QString description = m_port.errorString();
        // Qt reports a port locked by another program as a permission error too; only a device
        // this user may not open needs the group advice.
        if (error == QSerialPort::PermissionError && QFileInfo::exists(m_device) && !accessible(m_device))
            description = QStringLiteral("Permission denied: this user may not open %1 (join the dialout group)")
                              .arg(m_device);
        else if (error == QSerialPort::PermissionError)
            description = QStringLiteral("%1 is in use by another program (%2)").arg(m_device, description);
        m_port.clearError();
        throw RuntimeError(ErrInvalidPort, description);
    }
    const bool configured = m_port.setBaudRate(QSerialPort::Baud9600) && m_port.setDataBits(QSerialPort::Data8)
        && m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop)
        && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        const QString description = m_port.errorString();
        m_port.close();
        m_port.clearError();
        throw RuntimeError(ErrDeviceControlBlock, description);
    }
    m_port.clear();
}

void QtSerialPort::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

bool QtSerialPort::isOpen() const
{
    return m_port.isOpen();
}

void QtSerialPort::requireOpen() const
{
    if (!m_port.isOpen())
        throw RuntimeError(ErrPortNotOpen, QStringLiteral("Operation valid only when the port is open"));
}

void QtSerialPort::fail(int number)
{
    QString description = m_port.errorString();
    // A port whose device has gone (an adapter pulled out) fails with whatever the system says
    // of the dead handle, "Inappropriate ioctl for device" and the like: say what happened.
    // Only where a port is a device file: a Windows port name is not one.
#ifdef Q_OS_UNIX
    if (!m_device.isEmpty() && !QFileInfo::exists(m_device))
        description = QStringLiteral("the port %1 is no longer there; was it unplugged?").arg(m_device);
#endif
    m_port.clearError();
    throw RuntimeError(number, description);
}

void QtSerialPort::write(const QByteArray& frame)
{
    requireOpen();
    if (m_port.write(frame) != frame.size())
        fail(ErrWriteDevice);
    // Without an event loop nothing would move the frame out of Qt's buffer.
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(kWriteTimeoutMs))
            fail(ErrWriteDevice);
    }
}

void QtSerialPort::pull(int timeoutMs)
{
    if (m_port.waitForReadyRead(timeoutMs))
        return;
    const QSerialPort::SerialPortError error = m_port.error();
    if (error == QSerialPort::TimeoutError || error == QSerialPort::NoError) {
        m_port.clearError();
        return;
    }
    fail(ErrReadDevice);
}

int QtSerialPort::bytesWaiting()
{
    requireOpen();
    if (m_port.bytesAvailable() == 0)
        pull(0);
    return int(m_port.bytesAvailable());
}

QByteArray QtSerialPort::read(int maxBytes)
{
    requireOpen();
    if (maxBytes <= 0 || m_port.bytesAvailable() == 0)
        pull(0);
    return maxBytes > 0 ? m_port.read(maxBytes) : m_port.readAll();
}

bool QtSerialPort::waitForBytes(int timeoutMs)
{
    requireOpen();
    if (m_port.bytesAvailable() > 0)
        return true;
    pull(timeoutMs);
    return m_port.bytesAvailable() > 0;
}

} // namespace orvan::link
