#pragma once
// The KLV-100 as a model: its 32 KiB memory, the frames it answers, its mission clock and the
// way it records. No I/O here: PtyServer puts it on a pseudo-terminal, EmulatedPort in memory.
// Every public member is thread-safe: the server thread feeds frames and moves the clock while
// tests press the button, switch faults and look at the memory.
//
// Values an erased logger shows (erase()):
//  - everything reads 0xFF, as erased flash does, except:
//  - status block 0..31 all zero (no preparation stamp, no limits, interval 0, delays 0, count 0)
//    apart from the current temperature at 17, which the logger keeps measuring;
//  - names 64..87 blanks; serial 90..92 and firmware 93..95 kept;
//  - mode byte 256 = 0, status byte 258 = 64 (no data);
//  - alarm tables 1280..1343 zero (a zero entry is an empty one) and count table 4096..5119 zero.

#include "tools/emulator/ColdChainProfile.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMutex>
#include <QString>
#include <QtGlobal>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace orvan::emulator {

// Faults the logger can show the PC; switched at run time.
enum class Fault {
    None,
    Silent,          // no answer to anything, frames are not even acted on (unplugged)
    ShortReply,      // block replies cut to 33 bytes
    LongReply,       // block replies lengthened to 40 bytes
    SilentAfter,     // answers the first N block reads, then goes silent
    DropsWrites,     // answers reads, but write frames are received and not applied (a worn
                     // memory, a write lost on the line)
    Noise,           // on a pseudo-terminal: random bytes now and then between replies
};

struct FrameLogEntry {
    qint64 atMs = 0;        // wall milliseconds since the logger was created
    QByteArray frame;       // as received
    int replyBytes = 0;     // bytes answered (0: none)
};

class Logger {
public:
    static constexpr int kMemorySize = 32768;
    static constexpr int kSampleBase = 8192;
    static constexpr int kCapacity = 24576;
    static constexpr int kLowAlarms = 1280;
    static constexpr int kHighAlarms = 1312;
    static constexpr int kAlarmEntries = 10;
    static constexpr int kCountTable = 4096;
    static constexpr int kCountTableEnd = 5120;
    static constexpr quint8 kProbeReply = 0x14;

    // Addresses of the fields the logger itself acts on.
    enum Address : int {
        AddrEsperaInicio = 0,     // 16-bit LE, minutes from the stamp to the button press
        AddrLowLimit = 11,
        AddrHighLimit = 12,
        AddrInterval = 13,
        AddrCurrentTemp = 17,
        AddrDemoraInicio = 18,    // 16-bit LE
        AddrStamp = 21,           // BCD minute, hour, day, month, year
        AddrCount = 26,           // 24-bit LE
        AddrExporter = 64,
        AddrCarrier = 76,
        AddrSerial = 90,          // 24-bit BE
        AddrFirmware = 93,
        AddrMode = 256,
        AddrStatus = 258,
    };

    enum class Phase {
        Idle,            // no mission running (erased, finished or stopped)
        WaitingButton,   // prepared for a push-button start, not pressed yet
        WaitingStart,    // armed (status bit 32), start minute not reached
        Recording,
    };

    Logger();   // erased, serial 12345, firmware 1.7.2, 22 °C on the desk
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    // One frame as the PC sent it; returns the reply bytes (empty: no reply).
    QByteArray handleFrame(const QByteArray& frame);

    // Memory.
    QByteArray memory() const;
    quint8 peek(int address) const;
    // Replaces the memory with a record image (a shorter image is padded with zeros, as the
    // application reads a short record file) and takes the state from its flag block: status
    // bit 32 with samples is a mission recording on, bit 32 without samples one waiting for its
    // start, anything else no mission.
    void loadImage(const QByteArray& image);
    // The same as a write frame, with the logger's reaction.
    void writeByte(int address, quint8 value);
    void erase();

    // Identity and sensor.
    void setSerial(quint32 serial);
    void setFirmware(quint8 a, quint8 b, quint8 c);
    void setCurrentTemperature(double celsius);   // the reading while no mission runs
    void setProfile(TemperatureProfile profile);  // mission minute -> °C

    // The mission clock. Minutes are the logger's: tests step them, the server moves them with
    // wall time times its speed.
    void advanceMinutes(qint64 minutes);
    void advanceMissionMs(qint64 ms);
    // Real time that has passed, for the erase-busy time only.
    void elapseWallMs(qint64 ms);
    qint64 minutesSincePreparation() const;

    // The push-button: starts a logger prepared for a push-button start. False when the logger
    // is not waiting for it (the press is ignored, as on the device).
    bool pressButton();
    Phase phase() const;
    quint32 sampleCount() const;   // NumMuestras
    // Mission sample k of the current mission as this model measured it, whether or not a
    // circular memory still holds it; nothing for a sample it did not take itself (not yet
    // taken, or before a loaded image's count).
    struct Measurement {
        quint8 raw = 0;
        qint64 minute = 0;   // minutes after the preparation stamp
    };
    std::optional<Measurement> measuredSample(quint32 k) const;

    // After an erase the logger answers nothing for this long (wall time); 0 by default.
    void setEraseBusyMs(qint64 ms);
    bool busy() const;

    void setFault(Fault fault, int blockReadsBeforeSilence = 0);
    Fault fault() const;
    // ShortReply, LongReply and Noise show on the first block read of every `period` (1, the
    // default: on every one), so a line with a fault now and then can be tried; setFault keeps it.
    void setFaultPeriod(int period);
    // Whether the fault showed on the last block read; with Noise the server sends its random
    // bytes after such a reply only.
    bool faultShownOnLastRead() const;

    // Frames received, oldest first; the oldest are dropped past kMaxLogEntries.
    static constexpr int kMaxLogEntries = 65536;
    QList<FrameLogEntry> frameLog() const;
    void clearFrameLog();
    // Called (from the thread that handled the frame, outside the logger's lock) for each frame.
    void setFrameObserver(std::function<void(const FrameLogEntry&)> observer);

    // One line for the emulator program's "status" command.
    QString describe() const;

    static QString phaseName(Phase phase);
    static QString faultName(Fault fault);

private:
    QByteArray handleLocked(const QByteArray& frame);
    void writeLocked(int address, quint8 value);
    void eraseLocked();
    void advanceLocked(qint64 ms);
    void takeSampleLocked(quint32 n);
    void noteCrossingLocked(int table, quint32 sampleIndex);
    void forgetMeasuredLocked(quint32 from);
    void refreshTemperatureLocked();
    Phase phaseLocked() const;
    quint32 countLocked() const;
    void setCountLocked(quint32 n);
    int word(int address) const;   // 16-bit little-endian
    quint8 at(int address) const { return quint8(m_mem[address]); }
    void put(int address, quint8 v) { m_mem[address] = char(v); }

    mutable QMutex m_mutex;
    QByteArray m_mem;
    TemperatureProfile m_profile;
    double m_ambient = 22.0;

    Phase m_phase = Phase::Idle;       // Idle, WaitingStart or Recording; WaitingButton is derived
    qint64 m_prepMs = 0;               // mission-clock time since the preparation stamp was written
    bool m_armed = false;              // this preparation was armed (button pressed or bit 32)
    qint64 m_startMinute = 0;          // minute (since the stamp) of sample 0
    int m_interval = 0;                // minutes between samples, fixed when recording begins
    bool m_circular = false;           // mode bit 8, fixed when recording begins
    std::vector<quint8> m_measured;    // samples m_measuredFrom.. of the mission, as measured
    quint32 m_measuredFrom = 0;

    Fault m_fault = Fault::None;
    int m_silentAfter = 0;
    int m_blockReads = 0;
    int m_faultPeriod = 1;
    bool m_lastReadFaulty = true;

    qint64 m_eraseBusyMs = 0;
    qint64 m_busyLeftMs = 0;

    QElapsedTimer m_since;
    std::deque<FrameLogEntry> m_log;
    std::function<void(const FrameLogEntry&)> m_observer;
};

} // namespace orvan::emulator
