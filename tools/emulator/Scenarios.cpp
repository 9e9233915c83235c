#include "tools/emulator/Scenarios.h"

#include "base/Ansi.h"
#include "base/RuntimeError.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace orvan::emulator {

namespace {

quint8 bcd(int x)
{
    return quint8((x / 10) * 16 + x % 10);
}

// A limit in °C as the preparation writes it; no limit (NaN, or -40 °C and below) is raw 0.
quint8 limitRaw(double celsius)
{
    if (std::isnan(celsius))
        return 0;
    const double raw = std::nearbyint((celsius + 40.0) * 2.0);
    return quint8(std::clamp(raw, 0.0, 255.0));
}

// The present minute as a calendar value, the way the PC stamps a preparation.
QDateTime presentMinute()
{
    const QDateTime now = QDateTime::currentDateTime();
    return QDateTime(now.date(), QTime(now.time().hour(), now.time().minute()), Qt::UTC);
}

QDateTime defaultFinishedStamp()
{
    return QDateTime(QDate(2024, 3, 1), QTime(10, 0), Qt::UTC);
}

qint64 minutesFromTo(const QDateTime& from, const QDateTime& to)
{
    return std::max<qint64>(0, from.secsTo(to) / 60);
}

std::unique_ptr<Logger> blankLogger(const ScenarioOptions& o)
{
    auto logger = std::make_unique<Logger>();
    logger->setSerial(o.serial);
    logger->setFirmware(o.firmware[0], o.firmware[1], o.firmware[2]);
    return logger;
}

void useProfile(Logger& logger, const ScenarioOptions& o, qint64 tripMinutes)
{
    logger.setProfile(o.profile ? o.profile : coldChainProfile(std::max<qint64>(tripMinutes, 1)));
}

int interval(const ScenarioOptions& o)
{
    return std::clamp(o.interval, 1, 255);
}

// Runs a set-time or button mission from its stamp until `samples` samples are taken, then stops
// it the way the PC does.
std::unique_ptr<Logger> completedMission(const ScenarioOptions& o, quint8 mode, int samples)
{
    auto logger = blankLogger(o);
    const int every = interval(o);
    useProfile(*logger, o, qint64(samples) * every);
    const QDateTime stamp = o.prepared.isValid() ? o.prepared : defaultFinishedStamp();
    const qint64 delay = std::clamp(o.delay, 0, 0xFFFF);
    const qint64 lastSample = samples > 0 ? delay + qint64(samples - 1) * every : 0;
    if (o.buttonAfter >= 0) {
        Scenarios::prepare(*logger, o, stamp, mode | 16, 0);
        logger->advanceMinutes(o.buttonAfter);
        logger->pressButton();
        if (samples > 0)
            logger->advanceMinutes(lastSample);
    } else {
        Scenarios::prepare(*logger, o, stamp, mode, 32);
        if (samples > 0)
            logger->advanceMinutes(lastSample);
    }
    logger->writeByte(Logger::AddrStatus, logger->peek(Logger::AddrStatus) & ~32);
    return logger;
}

} // namespace

void Scenarios::prepare(Logger& logger, const ScenarioOptions& o, const QDateTime& stamp, quint8 mode,
                        quint8 status)
{
    const int delay = std::clamp(o.delay, 0, 0xFFFF);
    logger.writeByte(5, 1);
    logger.writeByte(20, 22);
    logger.writeByte(Logger::AddrStamp, bcd(stamp.time().minute()));
    logger.writeByte(Logger::AddrStamp + 1, bcd(stamp.time().hour()));
    logger.writeByte(Logger::AddrStamp + 2, bcd(stamp.date().day()));
    logger.writeByte(Logger::AddrStamp + 3, bcd(stamp.date().month()));
    logger.writeByte(Logger::AddrStamp + 4, bcd(stamp.date().year() % 100));
    logger.writeByte(Logger::AddrDemoraInicio, quint8(delay & 0xFF));
    logger.writeByte(Logger::AddrDemoraInicio + 1, quint8(delay >> 8));
    logger.writeByte(Logger::AddrLowLimit, limitRaw(o.low));
    logger.writeByte(Logger::AddrHighLimit, limitRaw(o.high));
    logger.writeByte(Logger::AddrInterval, quint8(interval(o)));
    logger.writeByte(Logger::AddrMode, mode | (o.circular ? 8 : 0));
    logger.writeByte(Logger::AddrStatus, status);
    const QByteArray names = ansiFixed(o.exporter.trimmed(), 12) + ansiFixed(o.carrier.trimmed(), 12);
    for (int i = 0; i < names.size(); ++i)
        logger.writeByte(Logger::AddrExporter + i, quint8(names[i]));
    logger.writeByte(Logger::AddrSerial, quint8((o.serial >> 16) & 0xFF));
    logger.writeByte(Logger::AddrSerial + 1, quint8((o.serial >> 8) & 0xFF));
    logger.writeByte(Logger::AddrSerial + 2, quint8(o.serial & 0xFF));
}

std::unique_ptr<Logger> Scenarios::make(ScenarioKind kind, const ScenarioOptions& o)
{
    switch (kind) {
    case ScenarioKind::Empty: return empty(o);
    case ScenarioKind::Button: return button(o);
    case ScenarioKind::SetTime: return setTime(o);
    case ScenarioKind::Recording: return recording(o);
    case ScenarioKind::Finished: return finished(o);
    case ScenarioKind::Circular: return circular(o);
    case ScenarioKind::File: return fromFile(o.imagePath);
    }
    return empty(o);
}

std::unique_ptr<Logger> Scenarios::empty(const ScenarioOptions& o)
{
    return blankLogger(o);
}

// A logger prepared and waiting for its start: mode 16 waits for the button, status 32 for the set time.
static std::unique_ptr<Logger> armed(const ScenarioOptions& o, quint8 mode, quint8 status)
{
    auto logger = blankLogger(o);
    useProfile(*logger, o, qint64(std::max(o.samples, 96)) * interval(o));
    const QDateTime now = presentMinute();
    const QDateTime stamp = o.prepared.isValid() ? o.prepared : now;
    Scenarios::prepare(*logger, o, stamp, mode, status);
    logger->advanceMinutes(minutesFromTo(stamp, now));
    return logger;
}

std::unique_ptr<Logger> Scenarios::button(const ScenarioOptions& o)
{
    return armed(o, 16, 0);
}

std::unique_ptr<Logger> Scenarios::setTime(const ScenarioOptions& o)
{
    return armed(o, 0, 32);
}

std::unique_ptr<Logger> Scenarios::recording(const ScenarioOptions& o)
{
    auto logger = blankLogger(o);
    const int every = interval(o);
    const int samples = std::max(o.samples, 1);
    // The trip is about half done.
    useProfile(*logger, o, std::max<qint64>(2 * qint64(samples) * every, 1440));
    const qint64 elapsed = std::clamp(o.delay, 0, 0xFFFF) + qint64(samples - 1) * every;
    const QDateTime now = presentMinute();
    const QDateTime stamp = o.prepared.isValid() ? o.prepared : now.addSecs(-elapsed * 60);
    prepare(*logger, o, stamp, 0, 32);
    logger->advanceMinutes(o.prepared.isValid() ? minutesFromTo(stamp, now) : elapsed);
    return logger;
}

std::unique_ptr<Logger> Scenarios::finished(const ScenarioOptions& o)
{
    return completedMission(o, 0, std::max(o.samples, 0));
}

std::unique_ptr<Logger> Scenarios::circular(const ScenarioOptions& o)
{
    ScenarioOptions c = o;
    c.circular = true;
    const int samples = o.samples > Logger::kCapacity ? o.samples : 30000;
    return completedMission(c, 8, samples);
}

std::unique_ptr<Logger> Scenarios::fromFile(const QString& path)
{
    QFile file(path);
    if (!QFileInfo::exists(path))
        throw RuntimeError(RuntimeError::FileNotFound, QStringLiteral("File not found: ") + path);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(RuntimeError::FileIo, QStringLiteral("Cannot read ") + path);
    // A record file is the memory image: anything longer is not one.
    const QByteArray image = file.read(Logger::kMemorySize + 1);
    if (image.size() > Logger::kMemorySize)
        throw RuntimeError(RuntimeError::FileIo, QStringLiteral("Not a record file (longer than 32768 bytes): ") + path);
    auto logger = std::make_unique<Logger>();
    logger->loadImage(image);
    return logger;
}

std::optional<ScenarioKind> Scenarios::parseKind(const QString& name)
{
    for (ScenarioKind k : {ScenarioKind::Empty, ScenarioKind::Button, ScenarioKind::SetTime, ScenarioKind::Recording,
                           ScenarioKind::Finished, ScenarioKind::Circular, ScenarioKind::File}) {
        if (kindName(k) == name)
            return k;
    }
    return std::nullopt;
}

QString Scenarios::kindName(ScenarioKind kind)
{
    switch (kind) {
    case ScenarioKind::Empty: return QStringLiteral("empty");
    case ScenarioKind::Button: return QStringLiteral("button");
    case ScenarioKind::SetTime: return QStringLiteral("settime");
    case ScenarioKind::Recording: return QStringLiteral("recording");
    case ScenarioKind::Finished: return QStringLiteral("finished");
    case ScenarioKind::Circular: return QStringLiteral("circular");
    case ScenarioKind::File: return QStringLiteral("file");
    }
    return QString();
}

} // namespace orvan::emulator
