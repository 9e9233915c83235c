#pragma once
// The frame exchange with the logger, shared by both windows that talk to it. Strictly request
// and response: the PC sends a frame and, for a block read, collects a 34-byte reply within
// 300 ms. Per-window differences come from the LinkProfile.
//
// The closing flag belongs to the window that runs the exchange; it is set by that window's
// Cancel, by the main window's toolbar and by any port error reported here. While it is set
// nothing is sent or received, and an exchange in progress ends at its next check.
//
// Port errors are reported once as "Error N (desc) in procedure P of Formulario F" through the
// message callback; the port is then closed and the closing flag set, so the window closes on
// its next tick. A missing reply is not an error: the caller sees a Reply that is not ok().

#include "link/LinkClock.h"
#include "link/LinkProfile.h"
#include "link/SerialPort.h"
#include "base/MessageSink.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <atomic>
#include <functional>

namespace orvan::link {

// Every byte sent and received, as hex, at debug level: QT_LOGGING_RULES="orvan.link.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcLink)

constexpr int kBlockSize = 32;         // memory bytes per block
constexpr int kBlockCount = 1024;      // blocks of the 32 KiB memory
constexpr int kReplySize = 34;         // a block reply: 32 memory bytes and 2 unexamined ones
constexpr int kReplyTimeoutMs = 300;   // for the whole reply, not per byte
constexpr int kPollSliceMs = 10;       // longest wait between two looks at the closing flag
constexpr int kProbePauseMs = 20;      // pause after the probe before looking for the answer
constexpr int kProbeWaitMs = 100;      // longest wait for the answer, from the probe
constexpr quint8 kProbe = 0xEA;
constexpr quint8 kProbeAnswer = 0x14;
constexpr quint8 kEraseTrigger = 0xA5;
constexpr quint8 kReadBlock = 0x33;
constexpr quint8 kWriteByte = 0x22;

enum class ReplyStatus {
    Ok,          // exactly 34 bytes
    NoReply,     // time-out, or a reply too short
    Cancelled,   // the closing flag ended the exchange
    PortError,   // the port failed (already reported unless the profile keeps it silent)
};

struct Reply {
    ReplyStatus status = ReplyStatus::NoReply;
    // Ok: the 34 bytes. Cancelled: what had arrived before the flag was seen. Otherwise empty.
    QByteArray data;

    bool ok() const { return status == ReplyStatus::Ok; }
    QByteArray block() const { return data.left(kBlockSize); }   // the 32 memory bytes
};

class Link {
public:
    using MessageFn = std::function<void(const QString&)>;

    Link(SerialPort& port, LinkClock& clock, std::atomic<bool>& closing, LinkProfile profile, MessageFn message);
    Link(SerialPort& port, LinkClock& clock, std::atomic<bool>& closing, LinkProfile profile, MessageSink& sink);

    // Discards pending input. Opens the port when it is closed.
    void VaciaBuff();
    // Sends one frame as one write. Returns whether it was sent.
    bool Transmite(const QByteArray& frame);
    // Collects one reply: exactly 34 bytes within 300 ms. Bytes beyond the 34th stay in the port
    // for the next VaciaBuff.
    Reply Recibe();

    // Reads block 0..1023 with the profile's attempts; RuntimeError Overflow for another number
    // (1024 is read as 1023 when the profile says so).
    Reply LeeBloque(int block);
    // Writes one byte at an address; no reply is read and the caller pauses afterwards.
    // Return whether the frame was sent. RuntimeError Overflow for an address out of range
    // (0..65535 for the long form, 0..255 for the short one).
    bool EscribeByte(int address, quint8 value);
    bool EscribeByteCorto(int address, quint8 value);
    // Presence probe: 0xEA, a 20 ms pause, then one byte that must be 0x14 (waited for up to
    // 100 ms after the probe). The port's own errors are thrown, as the port search treats them
    // per port.
    bool Sondea();
    // The erase trigger 0xA5; no reply.
    bool EnviaBorrado();

    static QByteArray frameLeeBloque(int block);
    static QByteArray frameEscribeByte(int address, quint8 value);
    static QByteArray frameEscribeByteCorto(int address, quint8 value);

    // The flag of the window this link serves, read (never written) at every check, so the window
    // ends an exchange in progress by setting its own flag; nullptr for none.
    void watch(const std::atomic<bool>* windowFlag) { m_watched = windowFlag; }
    bool closing() const { return m_closing.load() || (m_watched && m_watched->load()); }
    SerialPort& port() { return m_port; }
    LinkClock& clock() { return m_clock; }
    const LinkProfile& profile() const { return m_profile; }

private:
    void ensureOpen();
    void send(const QByteArray& frame);
    QByteArray take(int maxBytes);
    void fail(const RuntimeError& e, const char* procedure);

    SerialPort& m_port;
    LinkClock& m_clock;
    std::atomic<bool>& m_closing;
    const std::atomic<bool>* m_watched = nullptr;
    LinkProfile m_profile;
    MessageFn m_message;
    bool m_failed = false;   // an error was reported since the current block read began
};

} // namespace orvan::link
