#pragma once
// A pseudo-terminal for tests that need a real tty: the link opens slave(), the test plays the
// device on the master side.

#include <QByteArray>
#include <QString>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace orvan::test {

class Pty {
public:
    Pty() : m_master(::posix_openpt(O_RDWR | O_NOCTTY))
    {
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_slave = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~Pty() { closeMaster(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return !m_slave.isEmpty(); }
    QString slave() const { return m_slave; }
    void send(const QByteArray& b) { (void)!::write(m_master, b.constData(), size_t(b.size())); }
    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

    // What the slave side wrote: waits up to timeoutMs for the first byte, then until 50 ms quiet.
    QByteArray receive(int timeoutMs = 2000)
    {
        QByteArray out;
        char buf[256];
        for (pollfd p{m_master, POLLIN, 0}; ::poll(&p, 1, out.isEmpty() ? timeoutMs : 50) > 0;) {
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n <= 0)
                break;
            out.append(buf, int(n));
        }
        return out;
    }

private:
    int m_master;
    QString m_slave;
};

} // namespace orvan::test
