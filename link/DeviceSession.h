#pragma once
// The exchanges of one logger window, run off the window thread so the window never freezes.
//
// The session owns a worker thread and, on it, the serial port (made there by a factory, so
// tests pass an in-memory port and the application a QtSerialPort), a clock and the Link. The
// window posts jobs; one runs at a time, and a post that arrives while a job runs is refused
// (the poll tick that finds an exchange still running is skipped). Every signal is emitted on
// the window thread, so a slot never runs on the worker.
//
// Each session has its own cancel token: cancel(), close() and a port error of its link set it,
// and a set token ends a running exchange at its next check. A window may hand its closing flag
// to the session: the worker only reads it (a set flag ends the exchange like the token), and
// when the link itself fails the session raises the flag on the window thread, so the window
// closes on its next tick as it always has. No worker writes a flag shared beyond its session,
// so a session that is going away cannot close the window that comes after it.
//
// Bound on close(): it returns within kCloseBoundMs (the reply time-out, 300 ms). A job looks
// at the token at least every kPollSliceMs while it waits for a reply, and its pauses (the
// clock it is given) end early when the token is set; only the port call in progress (one slice
// of a wait, or a one-frame write, which a port that does not drain at all may hold for its own
// write time-out) still has to finish.

#include "link/Link.h"
#include "link/LoggerStatus.h"
#include "link/PortDirectory.h"

#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

namespace orvan::link {

class DeviceSession;

// What a job works with, on the worker thread.
struct LinkContext {
    Link& link;
    SerialPort& port;
    LinkClock& clock;
    // The window's snapshot; kept from poll to poll, as commands use the last one read.
    EstadoKLV& estado;
    DeviceSession& session;

    // Runs fn later on the window thread; jobs emit the session's signals through it.
    void toWindow(std::function<void()> fn);
    // A text for the user, delivered as DeviceSession::message.
    void message(const QString& text);
};

class DeviceSession : public QObject {
    Q_OBJECT
public:
    using PortFactory = std::function<std::unique_ptr<SerialPort>()>;
    using ClockFactory = std::function<std::unique_ptr<LinkClock>()>;

    struct Options {
        LinkProfile profile;
        PortFactory portFactory;     // called once, on the worker thread
        ClockFactory clockFactory;   // called once, on the worker thread; a SystemClock when empty
        QString device;              // the port's device until a search or setDevice changes it
    };

    static constexpr int kCloseBoundMs = kReplyTimeoutMs;

    explicit DeviceSession(Options options, QObject* parent = nullptr);
    // windowFlag is the window's closing flag (CerrarSave or CerrarPrep), watched as said above;
    // it must outlive the session.
    DeviceSession(std::atomic<bool>& windowFlag, Options options, QObject* parent = nullptr);
    ~DeviceSession() override;

    // Queues a job for the worker thread. False, and nothing queued, while a job is still running
    // or after close(). Whatever a job throws is reported as a message and the session goes on.
    // A port factory that fails is reported once; the session is then cancelled and runs no job.
    bool post(std::function<void(LinkContext&)> job);
    bool busy() const { return m_busy.load(); }

    // Sets the cancel token: the running exchange ends at its next check and later exchanges
    // send nothing. Any thread.
    void cancel()
    {
        m_cancelRequested = true;
        m_cancel = true;
    }
    // The token is set (by cancel(), close(), or a port error the link reported).
    bool cancelled() const { return m_cancel.load(); }

    // Port detection, then the search for the logger: portsDetected, then searchFinished with the
    // COM number of the port left open, or 0 when no logger answered.
    bool search(const QString& appFolder);
    // One status poll in the profile's order; statusRead with the snapshot (unless closing).
    // The temperatures of the snapshot are in unit.
    bool poll(Unit unit);
    // Closes the port and points it at another device; it opens on the next exchange.
    bool setDevice(const QString& device);

    // Sets the cancel token, lets a running job end, closes the port on the worker thread and
    // ends the thread, all within kCloseBoundMs. Called by the destructor too.
    void close();

Q_SIGNALS:
    void statusRead(const orvan::link::EstadoKLV& estado);
    void portsDetected(const QList<orvan::link::DetectedPort>& ports);
    void searchFinished(int com);
    void message(const QString& text);
    void jobFinished();
    // The link failed on its own (a port error, already reported as a message): the session is
    // cancelled and its window should close.
    void linkFailed();

private:
    friend struct LinkContext;
    struct Worker;
    // Every signal is emitted on the session's own (window) thread, whatever the connection type.
    void onWindow(std::function<void()> fn);
    void run(const std::function<void(LinkContext&)>& job);

    DeviceSession(Options options, QObject* parent, std::atomic<bool>* windowFlag);
    bool ending() const;
    // Called on the worker; raises the window's flag and linkFailed on the window thread.
    void linkEnded();

    std::atomic<bool> m_cancel{false};
    std::atomic<bool>* m_windowFlag = nullptr;   // only ever written on the window thread
    LinkProfile m_profile;
    QThread m_thread;
    QObject* m_context = nullptr;        // lives on the worker thread; jobs are queued to it
    std::unique_ptr<Worker> m_worker;    // touched only on the worker thread
    std::atomic<bool> m_busy{false};
    std::atomic<bool> m_cancelRequested{false};   // cancel() by the window is not a link failure
    bool m_closed = false;
};

} // namespace orvan::link

Q_DECLARE_METATYPE(orvan::link::DetectedPort)
