#include "tools/emulator/Logger.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>

namespace orvan::emulator {

namespace {

constexpr quint8 kCmdRead = 0x33;
constexpr quint8 kCmdWrite = 0x22;
constexpr quint8 kCmdProbe = 0xEA;
constexpr quint8 kCmdErase = 0xA5;

constexpr quint8 kModeCircular = 8;
constexpr quint8 kModeButton = 16;
constexpr quint8 kModeEraseKey = 64;
constexpr quint8 kStatusHigh = 2;
constexpr quint8 kStatusLow = 4;
constexpr quint8 kStatusArmed = 32;
constexpr quint8 kStatusNoData = 64;

constexpr quint32 kMaxCount = 0xFFFFFF;   // the count field has 24 bits

// The sensor's byte: half degrees from -40 °C, to the nearest (halves to even), held in 0..255.
quint8 rawFromCelsius(double celsius)
{
    if (std::isnan(celsius))
        return 0;
    const double raw = (celsius + 40.0) * 2.0;
    if (raw <= 0.0)
        return 0;
    if (raw >= 255.0)
        return 255;
    return quint8(int(std::nearbyint(raw)));
}

} // namespace

Logger::Logger()
    : m_mem(kMemorySize, char(0xFF))
    , m_profile(coldChainProfile())
{
    m_since.start();
    put(AddrCurrentTemp, rawFromCelsius(m_ambient));
    put(AddrSerial, 0);
    put(AddrSerial + 1, 12345 >> 8);
    put(AddrSerial + 2, 12345 & 0xFF);
    put(AddrFirmware, 1);
    put(AddrFirmware + 1, 7);
    put(AddrFirmware + 2, 2);
    eraseLocked();
}

QByteArray Logger::handleFrame(const QByteArray& frame)
{
    FrameLogEntry entry;
    QByteArray reply;
    std::function<void(const FrameLogEntry&)> observer;
    {
        QMutexLocker lock(&m_mutex);
        reply = handleLocked(frame);
        entry.atMs = m_since.elapsed();
        entry.frame = frame;
        entry.replyBytes = int(reply.size());
        m_log.push_back(entry);
        if (m_log.size() > size_t(kMaxLogEntries))
            m_log.pop_front();
        observer = m_observer;
    }
    if (observer)
        observer(entry);
    return reply;
}

QByteArray Logger::handleLocked(const QByteArray& frame)
{
    if (frame.isEmpty() || m_busyLeftMs > 0)
        return {};
    if (m_fault == Fault::Silent || (m_fault == Fault::SilentAfter && m_blockReads >= m_silentAfter))
        return {};

    const quint8 cmd = quint8(frame[0]);
    const int size = int(frame.size());
    if (cmd == kCmdRead && size == 3) {
        const int address = quint8(frame[1]) * 256 + quint8(frame[2]);
        if (address > kMemorySize - 32)
            return {};
        m_lastReadFaulty = m_blockReads % m_faultPeriod == 0;
        ++m_blockReads;
        QByteArray reply = m_mem.mid(address, 32);
        // The two trailing bytes: a 16-bit sum of the block, high byte first. The PC ignores them.
        int sum = 0;
        for (char c : std::as_const(reply))
            sum += quint8(c);
        reply.append(char((sum >> 8) & 0xFF));
        reply.append(char(sum & 0xFF));
        if (m_fault == Fault::ShortReply && m_lastReadFaulty)
            reply.truncate(33);
        else if (m_fault == Fault::LongReply && m_lastReadFaulty)
            reply.append(QByteArray(6, char(0x55)));
        return reply;
    }
    if (cmd == kCmdWrite && m_fault == Fault::DropsWrites)
        return {};
    if (cmd == kCmdWrite && size == 4) {
        writeLocked(quint8(frame[1]) * 256 + quint8(frame[2]), quint8(frame[3]));
        return {};
    }
    if (cmd == kCmdWrite && size == 3) {
        writeLocked(quint8(frame[1]), quint8(frame[2]));
        return {};
    }
    if (cmd == kCmdProbe && size == 1)
        return QByteArray(1, char(kProbeReply));
    if (cmd == kCmdErase && size == 1) {
        // The erase trigger counts only right after the PC wrote the key 64 into the mode byte, so a
        // stray 0xA5 (line noise, a misread frame) cannot wipe a mission.
        if (at(AddrMode) == kModeEraseKey) {
            eraseLocked();
            m_busyLeftMs = m_eraseBusyMs;
        }
        return {};
    }
    return {};
}

void Logger::writeLocked(int address, quint8 value)
{
    if (address < 0 || address >= kMemorySize)
        return;
    // The firmware version lives in the program memory: the write-back of the identification
    // block must not change it.
    if (address >= AddrFirmware && address < AddrFirmware + 3)
        return;
    put(address, value);

    if (address == AddrStamp && m_phase == Phase::Idle) {
        // A new time stamp starts a new preparation: the logger counts minutes from here.
        m_prepMs = 0;
        m_armed = false;
        put(AddrEsperaInicio, 0);
        put(AddrEsperaInicio + 1, 0);
    } else if (address == AddrStatus) {
        const bool armed = value & kStatusArmed;
        if (armed && m_phase == Phase::Idle) {
            if (countLocked() == 0) {
                m_phase = Phase::WaitingStart;
                m_armed = true;
                advanceLocked(0);
            } else {
                // A logger that holds samples must be erased before a new mission.
                put(AddrStatus, value & ~kStatusArmed);
            }
        } else if (!armed && m_phase != Phase::Idle) {
            m_phase = Phase::Idle;   // stopped by the PC; the samples stay
        }
    }
}

void Logger::eraseLocked()
{
    const QByteArray keep = m_mem.mid(AddrSerial, 6);
    const quint8 temp = at(AddrCurrentTemp);
    m_mem.fill(char(0xFF));
    for (int a = 0; a < 32; ++a)
        put(a, 0);
    put(AddrCurrentTemp, temp);
    for (int a = AddrExporter; a < AddrExporter + 24; ++a)
        put(a, ' ');
    for (int i = 0; i < 6; ++i)
        put(AddrSerial + i, quint8(keep[i]));
    put(AddrMode, 0);
    put(AddrStatus, kStatusNoData);
    for (int a = kLowAlarms; a < kLowAlarms + 64; ++a)
        put(a, 0);
    for (int a = kCountTable; a < kCountTableEnd; ++a)
        put(a, 0);
    m_phase = Phase::Idle;
    m_armed = false;
    m_prepMs = 0;
    m_startMinute = 0;
    m_interval = 0;
    m_circular = false;
    forgetMeasuredLocked(0);
}

void Logger::advanceLocked(qint64 ms)
{
    if (ms > 0)
        m_prepMs += ms;
    const qint64 minute = m_prepMs / 60000;
    if (m_phase == Phase::WaitingStart) {
        const qint64 start = qint64(word(AddrEsperaInicio)) + word(AddrDemoraInicio);
        const int interval = at(AddrInterval);
        // An interval of 0 is no mission the logger can run: it keeps waiting.
        if (minute >= start && interval > 0) {
            m_phase = Phase::Recording;
            m_startMinute = start;
            m_interval = interval;
            m_circular = at(AddrMode) & kModeCircular;
            forgetMeasuredLocked(0);
        }
    }
    while (m_phase == Phase::Recording) {
        const quint32 n = countLocked();
        if (m_startMinute + qint64(n) * m_interval > minute)
            break;
        takeSampleLocked(n);
    }
    refreshTemperatureLocked();
}

void Logger::takeSampleLocked(quint32 n)
{
    const qint64 missionMinute = qint64(n) * m_interval;
    const quint8 raw = rawFromCelsius(m_profile ? m_profile(missionMinute) : m_ambient);
    const int prev = n > 0 ? at(kSampleBase + int((n - 1) % kCapacity)) : -1;
    put(kSampleBase + int(n % kCapacity), raw);
    if (n >= m_measuredFrom && n - m_measuredFrom == m_measured.size())
        m_measured.push_back(raw);

    // The count table counts every sample of the mission, also those a circular mission has
    // overwritten since; each entry stops at 65535.
    const int entry = kCountTable + 2 * raw;
    const int count = at(entry) * 256 + at(entry + 1);
    if (count < 0xFFFF) {
        put(entry, quint8((count + 1) >> 8));
        put(entry + 1, quint8((count + 1) & 0xFF));
    }

    // A crossing is a sample beyond a limit whose predecessor was not; a raw limit of 0 is none.
    // The tables keep the sample's index, which makes a crossing at sample 0 an unused entry
    // (0), as the PC reads them.
    quint8 status = at(AddrStatus);
    const int low = at(AddrLowLimit);
    const int high = at(AddrHighLimit);
    if (low != 0 && raw < low && !(prev >= 0 && prev < low)) {
        noteCrossingLocked(kLowAlarms, n);
        status |= kStatusLow;
    }
    if (high != 0 && raw > high && !(prev > high)) {
        noteCrossingLocked(kHighAlarms, n);
        status |= kStatusHigh;
    }
    status &= ~kStatusNoData;
    setCountLocked(n + 1);

    if ((!m_circular && n + 1 >= quint32(kCapacity)) || n + 1 >= kMaxCount) {
        // Memory full (or the counter at its end): the mission is over.
        status &= ~kStatusArmed;
        m_phase = Phase::Idle;
    }
    put(AddrStatus, status);
}

void Logger::noteCrossingLocked(int table, quint32 sampleIndex)
{
    for (int i = 0; i < kAlarmEntries; ++i) {
        const int a = table + 3 * i;
        if (at(a) == 0 && at(a + 1) == 0 && at(a + 2) == 0) {
            put(a, quint8(sampleIndex & 0xFF));
            put(a + 1, quint8((sampleIndex >> 8) & 0xFF));
            put(a + 2, quint8((sampleIndex >> 16) & 0xFF));
            return;
        }
    }
}

void Logger::refreshTemperatureLocked()
{
    const Phase phase = phaseLocked();
    double celsius = 0.0;
    if (phase == Phase::Recording) {
        celsius = m_profile ? m_profile(m_prepMs / 60000 - m_startMinute) : m_ambient;
    } else if (phase == Phase::WaitingStart || phase == Phase::WaitingButton) {
        celsius = m_profile ? m_profile(0) : m_ambient;
    } else if (!m_armed) {
        celsius = m_ambient;
    } else {
        return;   // after a mission the last reading stays
    }
    put(AddrCurrentTemp, rawFromCelsius(celsius));
}

Logger::Phase Logger::phaseLocked() const
{
    if (m_phase != Phase::Idle)
        return m_phase;
    const quint8 status = at(AddrStatus);
    if ((at(AddrMode) & kModeButton) && !(status & (kStatusArmed | kStatusNoData)) && !m_armed
        && countLocked() == 0)
        return Phase::WaitingButton;
    return Phase::Idle;
}

void Logger::forgetMeasuredLocked(quint32 from)
{
    m_measured.clear();
    m_measuredFrom = from;
}

std::optional<Logger::Measurement> Logger::measuredSample(quint32 k) const
{
    QMutexLocker lock(&m_mutex);
    if (k < m_measuredFrom || k - m_measuredFrom >= m_measured.size())
        return std::nullopt;
    return Measurement{m_measured[k - m_measuredFrom], m_startMinute + qint64(k) * m_interval};
}

quint32 Logger::countLocked() const
{
    return quint32(at(AddrCount)) | quint32(at(AddrCount + 1)) << 8 | quint32(at(AddrCount + 2)) << 16;
}

void Logger::setCountLocked(quint32 n)
{
    put(AddrCount, quint8(n & 0xFF));
    put(AddrCount + 1, quint8((n >> 8) & 0xFF));
    put(AddrCount + 2, quint8((n >> 16) & 0xFF));
}

int Logger::word(int address) const
{
    return at(address) | at(address + 1) << 8;
}

QByteArray Logger::memory() const
{
    QMutexLocker lock(&m_mutex);
    return m_mem;
}

quint8 Logger::peek(int address) const
{
    QMutexLocker lock(&m_mutex);
    return address >= 0 && address < kMemorySize ? at(address) : 0;
}

void Logger::loadImage(const QByteArray& image)
{
    QMutexLocker lock(&m_mutex);
    m_mem = image.left(kMemorySize);
    if (m_mem.size() < kMemorySize)
        m_mem.append(QByteArray(kMemorySize - m_mem.size(), char(0)));
    m_phase = Phase::Idle;
    m_prepMs = 0;
    m_startMinute = 0;
    m_interval = 0;
    m_circular = at(AddrMode) & kModeCircular;
    const quint32 n = countLocked();
    // The samples of a loaded image were measured by someone else: only later ones are known.
    forgetMeasuredLocked(n);
    m_armed = n > 0;
    if (at(AddrStatus) & kStatusArmed) {
        m_armed = true;
        const qint64 start = qint64(word(AddrEsperaInicio)) + word(AddrDemoraInicio);
        const int interval = at(AddrInterval);
        if (n > 0 && interval > 0) {
            // Recording on: the clock stands at the last sample taken.
            m_phase = Phase::Recording;
            m_startMinute = start;
            m_interval = interval;
            m_prepMs = (start + qint64(n - 1) * interval) * 60000;
        } else {
            m_phase = Phase::WaitingStart;
        }
    }
}

void Logger::writeByte(int address, quint8 value)
{
    QMutexLocker lock(&m_mutex);
    writeLocked(address, value);
}

void Logger::erase()
{
    QMutexLocker lock(&m_mutex);
    eraseLocked();
}

void Logger::setSerial(quint32 serial)
{
    QMutexLocker lock(&m_mutex);
    put(AddrSerial, quint8((serial >> 16) & 0xFF));
    put(AddrSerial + 1, quint8((serial >> 8) & 0xFF));
    put(AddrSerial + 2, quint8(serial & 0xFF));
}

void Logger::setFirmware(quint8 a, quint8 b, quint8 c)
{
    QMutexLocker lock(&m_mutex);
    put(AddrFirmware, a);
    put(AddrFirmware + 1, b);
    put(AddrFirmware + 2, c);
}

void Logger::setCurrentTemperature(double celsius)
{
    QMutexLocker lock(&m_mutex);
    m_ambient = celsius;
    if (phaseLocked() == Phase::Idle)
        put(AddrCurrentTemp, rawFromCelsius(celsius));
}

void Logger::setProfile(TemperatureProfile profile)
{
    QMutexLocker lock(&m_mutex);
    m_profile = std::move(profile);
}

void Logger::advanceMinutes(qint64 minutes)
{
    QMutexLocker lock(&m_mutex);
    advanceLocked(minutes * 60000);
}

void Logger::advanceMissionMs(qint64 ms)
{
    QMutexLocker lock(&m_mutex);
    advanceLocked(ms);
}

void Logger::elapseWallMs(qint64 ms)
{
    QMutexLocker lock(&m_mutex);
    m_busyLeftMs = std::max<qint64>(0, m_busyLeftMs - std::max<qint64>(0, ms));
}

qint64 Logger::minutesSincePreparation() const
{
    QMutexLocker lock(&m_mutex);
    return m_prepMs / 60000;
}

bool Logger::pressButton()
{
    QMutexLocker lock(&m_mutex);
    if (phaseLocked() != Phase::WaitingButton)
        return false;
    const qint64 wait = std::min<qint64>(m_prepMs / 60000, 0xFFFF);
    put(AddrEsperaInicio, quint8(wait & 0xFF));
    put(AddrEsperaInicio + 1, quint8(wait >> 8));
    put(AddrStatus, at(AddrStatus) | kStatusArmed);
    m_phase = Phase::WaitingStart;
    m_armed = true;
    advanceLocked(0);
    return true;
}

Logger::Phase Logger::phase() const
{
    QMutexLocker lock(&m_mutex);
    return phaseLocked();
}

quint32 Logger::sampleCount() const
{
    QMutexLocker lock(&m_mutex);
    return countLocked();
}

void Logger::setEraseBusyMs(qint64 ms)
{
    QMutexLocker lock(&m_mutex);
    m_eraseBusyMs = std::max<qint64>(0, ms);
}

bool Logger::busy() const
{
    QMutexLocker lock(&m_mutex);
    return m_busyLeftMs > 0;
}

void Logger::setFault(Fault fault, int blockReadsBeforeSilence)
{
    QMutexLocker lock(&m_mutex);
    m_fault = fault;
    m_silentAfter = std::max(0, blockReadsBeforeSilence);
    m_blockReads = 0;
}

void Logger::setFaultPeriod(int period)
{
    QMutexLocker lock(&m_mutex);
    m_faultPeriod = std::max(1, period);
}

bool Logger::faultShownOnLastRead() const
{
    QMutexLocker lock(&m_mutex);
    return m_lastReadFaulty;
}

Fault Logger::fault() const
{
    QMutexLocker lock(&m_mutex);
    return m_fault;
}

QList<FrameLogEntry> Logger::frameLog() const
{
    QMutexLocker lock(&m_mutex);
    return QList<FrameLogEntry>(m_log.begin(), m_log.end());
}

void Logger::clearFrameLog()
{
    QMutexLocker lock(&m_mutex);
    m_log.clear();
}

void Logger::setFrameObserver(std::function<void(const FrameLogEntry&)> observer)
{
    QMutexLocker lock(&m_mutex);
    m_observer = std::move(observer);
}

QString Logger::describe() const
{
    QMutexLocker lock(&m_mutex);
    const QString fault = m_fault == Fault::SilentAfter
        ? QStringLiteral("silent-after:%1").arg(m_silentAfter)
        : faultName(m_fault);
    return QStringLiteral("phase=%1 samples=%2 minute=%3 mode=0x%4 status=0x%5 interval=%6 temp=%7 fault=%8%9")
        .arg(phaseName(phaseLocked()))
        .arg(countLocked())
        .arg(m_prepMs / 60000)
        .arg(at(AddrMode), 2, 16, QLatin1Char('0'))
        .arg(at(AddrStatus), 2, 16, QLatin1Char('0'))
        .arg(at(AddrInterval))
        .arg(at(AddrCurrentTemp) / 2.0 - 40.0)
        .arg(fault, m_busyLeftMs > 0 ? QStringLiteral(" busy") : QString());
}

QString Logger::phaseName(Phase phase)
{
    switch (phase) {
    case Phase::Idle: return QStringLiteral("idle");
    case Phase::WaitingButton: return QStringLiteral("waiting-button");
    case Phase::WaitingStart: return QStringLiteral("waiting-start");
    case Phase::Recording: return QStringLiteral("recording");
    }
    return QString();
}

QString Logger::faultName(Fault fault)
{
    switch (fault) {
    case Fault::None: return QStringLiteral("none");
    case Fault::Silent: return QStringLiteral("silent");
    case Fault::ShortReply: return QStringLiteral("short");
    case Fault::LongReply: return QStringLiteral("long");
    case Fault::SilentAfter: return QStringLiteral("silent-after");
    case Fault::DropsWrites: return QStringLiteral("drops-writes");
    case Fault::Noise: return QStringLiteral("noise");
    }
    return QString();
}

} // namespace orvan::emulator
