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
#include <QList>
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
constexpr int kByteUs = 1042;          // one byte on the line at 9600 baud, 8N1 (10 bits)
constexpr int kSettleMs = 2;           // after the 34th byte: about two byte times for a 35th
constexpr int kReadFrameSize = 3;      // a block read request: 0x33, address high, address low
// Within a run of block reads a reply may be taken at its 34th byte and its settle left to the
// next request's first milliseconds: no answer to that request can begin sooner than its own
// transmission time, so any byte within it is the taken reply running on. Whole milliseconds of
// that time, as the link's clock judges "sooner" (see beforeAnswerPossible).
constexpr int kHoldWindowMs = kReadFrameSize * kByteUs / 1000;
constexpr int kQuietMs = 20;           // silence that ends the draining of a refused reply
constexpr int kProbePauseMs = 20;      // pause after the probe before looking for the answer
constexpr int kProbeWaitMs = 100;      // longest wait for the answer, from the probe
constexpr int kProbeSettleMs = 5;      // after the answer: any further byte disowns it
constexpr quint8 kProbe = 0xEA;
constexpr quint8 kProbeAnswer = 0x14;
constexpr quint8 kEraseTrigger = 0xA5;
constexpr quint8 kReadBlock = 0x33;
constexpr quint8 kWriteByte = 0x22;

// What one presence probe heard.
enum class ProbeResult {
    Logger,    // a lone 0x14, on a line that had been quiet
    Silence,   // nothing within the wait
    Other,     // any other byte, more bytes, or bytes before the probe: no logger on this port
};

enum class ReplyStatus {
    Ok,          // exactly 34 bytes, all of them the answer to this request
    NoReply,     // time-out, a reply too short, or one refused by the framing checks (see Recibe)
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

// What the framing checks did, since the link was made; for tests and measurements.
struct FramingCounts {
    int accepted = 0;    // replies taken
    int runOn = 0;       // refused: more than 34 bytes
    int leftover = 0;    // refused: bytes that came before the request could have been answered
    int timedOut = 0;    // no reply, or a short one
    qint64 settleMs = 0; // time spent waiting for a 35th byte after accepted replies
    int revoked = 0;     // taken at the 34th byte in a run of reads, then given back: a byte came
                         // before the next request could have been answered (counted in accepted too)
};

// How a run of block reads ended.
struct BlockRunResult {
    ReplyStatus status = ReplyStatus::Ok;
    int failedIndex = -1;   // index in the run of the block that could not be read; -1 when none

    bool ok() const { return status == ReplyStatus::Ok; }
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
    // Collects one reply: exactly 34 bytes within 300 ms, all of them the answer to the frame
    // sent last. Refused, so that a shifted reply is never handed on:
    //  - a run-on: more bytes waiting beyond the 34th when they are read, or one arriving while
    //    the line settles after the 34th (kSettleMs, or twice the reply's own pace when it
    //    trickles);
    //  - a reply reached by leftovers: a byte already there sooner after the request than the
    //    request's own transmission time, before which no answer can have begun.
    // A refused reply's bytes are drained until the line has been quiet for kQuietMs (at most
    // until the time-out), so that a retry starts on a clean line.
    Reply Recibe();

    // Reads block 0..1023 with the profile's attempts; RuntimeError Overflow for another number
    // (1024 is read as 1023 when the profile says so).
    Reply LeeBloque(int block);
    // Reads a run of blocks in order, each with the profile's attempts, without the settle after
    // every reply but the last. A reply is taken at its 34th byte when its pace is that of the line
    // (a settle of at most kHoldWindowMs) and held; the next request is sent at once, and the held
    // reply is confirmed only when nothing was waiting before that request and no byte came within
    // its transmission time (kHoldWindowMs). Otherwise the held reply ran on: it is given back, read
    // again (another of its attempts), and the next reply is refused as reached by its leftovers.
    //
    // The bound: a held reply is confirmed only when no byte came from the moment its 34th byte
    // was read until kHoldWindowMs after the next request was sent (as the link's millisecond
    // clock sees it when it looks: a byte seen at most 3 ms after the request counts, so at least
    // 3 ms of real quiet). A lone read's settle gives kSettleMs on the same clock, at least 1 ms
    // of real quiet, and a reply whose own pace asks for a longer settle is not held but settled
    // on its own; so a run-on caught by the settle is caught here too. Extra bytes held back past
    // the window are taken as they are after a settle: the reply's 34 bytes had no early byte and
    // are this answer's, and the late bytes land in the next exchange, which they make early or
    // longer than 34 bytes, so that reply is refused (and read again on a clean line). The same
    // holds for bytes that came within the window but were seen only after it (a late look).
    //
    // starting(i) is called before the first attempt at blocks[i]; confirmed(i, reply) once for each
    // block, in order, and only with a confirmed reply. Block 1024 is read as 1023 when the profile
    // says so; RuntimeError Overflow for another number out of range.
    BlockRunResult LeeBloques(const QList<int>& blocks, const std::function<void(int index)>& starting,
                              const std::function<void(int index, const Reply& reply)>& confirmed);
    // Writes one byte at an address; no reply is read and the caller pauses afterwards.
    // Return whether the frame was sent. RuntimeError Overflow for an address out of range
    // (0..65535 for the long form, 0..255 for the short one).
    bool EscribeByte(int address, quint8 value);
    bool EscribeByteCorto(int address, quint8 value);
    // Presence probe: drops what is pending, sends 0xEA, pauses 20 ms, waits for an answer up to
    // 100 ms after the probe, then kProbeSettleMs more for any further byte. Only a lone 0x14 on
    // a line that said nothing before the probe is a logger: a logger never speaks unasked and
    // answers with that one byte. The port's own errors are thrown, not reported, as the port
    // search treats them per port.
    ProbeResult Sondea();
    // The erase trigger 0xA5; no reply.
    bool EnviaBorrado();

    const FramingCounts& framingCounts() const { return m_counts; }

    static QByteArray frameLeeBloque(int block);
    static QByteArray frameEscribeByte(int address, quint8 value);
    static QByteArray frameEscribeByteCorto(int address, quint8 value);

    // The flag of the window this link serves, read (never written) at every check, so the window
    // ends an exchange in progress by setting its own flag; nullptr for none.
    void watch(const std::atomic<bool>* windowFlag) { m_watched = windowFlag; }
    bool closing() const { return m_closing.load() || (m_watched && m_watched->load()); }
    // Whether the port failed (the error was reported and the link closes) since the current
    // block read began: a closing link that failed was not closed by its window.
    bool failed() const { return m_failed; }
    SerialPort& port() { return m_port; }
    LinkClock& clock() { return m_clock; }
    const LinkProfile& profile() const { return m_profile; }

private:
    void ensureOpen();
    void send(const QByteArray& frame);
    QByteArray take(int maxBytes);
    void fail(const RuntimeError& e, const char* procedure);
    // VaciaBuff's work; returns how many bytes were discarded.
    int discard();
    // Recibe, which may take a reply at its 34th byte (see LeeBloques) when mayHold is set.
    Reply receive(bool mayHold);
    int blockNumber(int block) const;
    // Whether bytes seen now can be the answer to the last frame sent, by its transmission time.
    bool beforeAnswerPossible(qint64 nowMs) const;
    // Discards input until kQuietMs pass without a byte or the deadline comes; false if closing.
    bool drain(qint64 deadlineMs);

    SerialPort& m_port;
    LinkClock& m_clock;
    std::atomic<bool>& m_closing;
    const std::atomic<bool>* m_watched = nullptr;
    LinkProfile m_profile;
    MessageFn m_message;
    bool m_failed = false;   // an error was reported since the current block read began
    qint64 m_sentAtMs = -1;  // when the last frame was handed to the port
    int m_sentBytes = 0;     // and its length
    FramingCounts m_counts;
    bool m_held = false;      // the last reply taken was taken at its 34th byte, its settle pending
    bool m_refusedEarly = false;   // the last reply was refused for bytes before any answer could begin
};

} // namespace orvan::link
