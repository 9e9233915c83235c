#pragma once
// Serves a Logger on a pseudo-terminal, so the application's real serial stack (QSerialPort and
// the kernel's tty layer) talks to it as to a logger on a cable. The client opens devicePath()
// (or an alias "<folder>/COM<n>" made by createAlias) at 9600 8N1.
//
// The server's own thread waits on the master side. A frame is what arrived before a silence of
// gapMs (3 ms by default): the PC writes each frame in one write and then waits for the reply or
// pauses. Several frames that arrive back to back are cut apart by FrameSplitter. The thread also
// moves the logger's mission clock: speed mission minutes per wall second (0 stops it, and tests
// step the logger themselves).

#include "tools/emulator/Logger.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <thread>

namespace orvan::emulator {

class PtyServer {
public:
    explicit PtyServer(Logger& logger);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Opens a pseudo-terminal and starts serving; false (see errorString) when the system has none
    // to give. Starting a running server does nothing.
    bool start();
    // Stops the thread (joins it), closes the pseudo-terminal and removes the aliases made by
    // createAlias, which would point to nothing. Safe to call twice.
    void stop();
    bool isRunning() const { return m_thread.joinable(); }
    QString errorString() const { return m_error; }

    // The slave side the client opens, e.g. "/dev/pts/4"; empty before start().
    QString devicePath() const { return m_devicePath; }
    // Makes the link "<folder>/COM<n>" to the device (creating the folder, replacing an earlier
    // link of that name); returns the link's path, empty on failure.
    QString createAlias(const QString& folder, int comNumber);
    QStringList aliases() const { return m_aliases; }

    // Mission minutes per wall second; 0 freezes the mission clock.
    void setSpeed(double minutesPerSecond) { m_speed.store(minutesPerSecond); }
    double speed() const { return m_speed.load(); }
    static constexpr int kLinePaceUs = 1042;   // one byte at 9600 baud, 10 bits
    static constexpr int kTrickleUs = 5000;    // a reply trickling in, a byte every 5 ms
    // Replies at 9600 baud (about 1.04 ms a byte) instead of all at once.
    void setPaced(bool paced) { m_paceUs.store(paced ? kLinePaceUs : 0); }
    // Microseconds between reply bytes; 0 writes a reply at once. With Fault::Noise, random bytes
    // also come between replies.
    void setPaceUs(int us) { m_paceUs.store(us > 0 ? us : 0); }
    void setGapMs(int ms) { m_gapMs.store(ms > 0 ? ms : 1); }

    Logger& logger() { return m_logger; }

private:
    void run();
    void closeFds();

    Logger& m_logger;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<double> m_speed{0.0};
    std::atomic<int> m_paceUs{0};
    std::atomic<int> m_gapMs{3};
    int m_master = -1;
    int m_slave = -1;        // held open: without it reads on the master fail once a client closes
    int m_wake[2] = {-1, -1};
    QString m_devicePath;
    QString m_error;
    QStringList m_aliases;
};

} // namespace orvan::emulator
