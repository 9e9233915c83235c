#include "tools/generator/RecordGenerator.h"

#include "base/Encodings.h"
#include "records/MissionRecord.h"
#include "base/Ansi.h"

#include <QVector>
#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace orvan::generator {

namespace {

constexpr int kCountCells = 144;          // raw values 0..143 that the value-count table holds
constexpr int kRawMax = kCountCells - 1;
constexpr int kAlarmEntries = 10;
constexpr int kLowAlarmTable = 1280;
constexpr int kHighAlarmTable = 1312;
constexpr int kCountTable = 4096;
constexpr double kPi = 3.14159265358979323846;

// splitmix64: tiny, and the same sequence on every platform and standard library.
class Random {
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    // Sum of four uniforms: close enough to a unit normal for sensor noise, and exact arithmetic.
    double normal() { return (uniform() + uniform() + uniform() + uniform() - 2.0) * 1.7320508075688772; }

private:
    quint64 m_state;
};

struct Excursion {
    int centre = 0;         // sample index of the peak
    int width = 1;          // samples on each side that take part of it
    double amplitude = 0.0;  // degrees added at the peak
};

int rawFromCelsius(double celsius)
{
    const int raw = GradosARaw(celsius, Unit::Celsius);
    return std::clamp(raw, 0, 255);
}

// Events of the mission spread over its length: a door left open or a warm transfer (above),
// a defrost fault or a product placed against the evaporator (below).
QVector<Excursion> excursions(const GeneratorOptions& o, int n, double halfBand, double dailyAmplitude, Random& rng)
{
    QVector<Excursion> list;
    if (n <= 0)
        return list;
    const double above = halfBand + 2.0 + dailyAmplitude + 0.5;
    const double below = -above;
    const auto addEvent = [&](double fraction, double amplitude, int width) {
        Excursion e;
        e.centre = std::clamp(int(fraction * n), 0, n - 1);
        e.width = std::max(0, width);
        e.amplitude = amplitude;
        list.append(e);
    };
    const int twoHours = std::max(1, 120 / std::max(1, o.interval));
    if (o.scenario == Scenario::Alarms) {
        // More events of each kind than the ten entries of an alarm table.
        const int howMany = 26;
        const int width = std::min(twoHours, std::max(0, n / (4 * howMany)));
        for (int i = 0; i < howMany; ++i) {
            const double fraction = (i + 1.0) / (howMany + 1.0);
            addEvent(fraction, i % 2 == 0 ? above : below, width);
        }
        return list;
    }
    const int width = std::min(twoHours, std::max(0, n / 50));
    const double shift = (rng.uniform() - 0.5) * 0.08;
    addEvent(0.45 + shift, above, width);
    addEvent(0.65 + shift, below, width);
    if (n >= 200)
        addEvent(0.82 + shift, above * 0.8, std::max(0, width / 2));
    return list;
}

void putBcd(QByteArray& img, int address, int value)
{
    img[address] = char(ABcd(std::clamp(value, 0, 99)));
}

void put16(QByteArray& img, int address, int value)
{
    qToLittleEndian<quint16>(quint16(std::clamp(value, 0, 65535)), img.data() + address);
}

} // namespace

QStringList scenarioNames()
{
    return {QStringLiteral("finished"), QStringLiteral("alarms"), QStringLiteral("circular"),
            QStringLiteral("recording"), QStringLiteral("empty")};
}

std::optional<Scenario> scenarioFromName(const QString& name)
{
    static const Scenario kOrder[] = {Scenario::Finished, Scenario::Alarms, Scenario::Circular,
                                      Scenario::Recording, Scenario::Empty};
    const int i = scenarioNames().indexOf(name.toLower());
    if (i < 0)
        return std::nullopt;
    return kOrder[i];
}

int sampleCount(const GeneratorOptions& o)
{
    if (o.samples >= 0)
        return std::min(o.samples, 16777215);
    switch (o.scenario) {
    case Scenario::Empty:
        return 0;
    case Scenario::Circular:
        return 30000;
    default:
        return 2400;
    }
}

QByteArray generateSamples(const GeneratorOptions& o)
{
    const int n = o.scenario == Scenario::Empty ? 0 : sampleCount(o);
    QByteArray sampleBytes(n, '\0');
    if (n == 0)
        return sampleBytes;

    Random rng(o.seed);
    const double low = o.lowCelsius, high = std::max(o.highCelsius, o.lowCelsius);
    const double setPoint = (low + high) / 2.0;
    const double halfBand = std::max((high - low) / 2.0, 0.5);
    const double intervalMinutes = std::max(1, o.interval);

    // The cargo goes in warm and the unit pulls it down within a few hours (never more than a
    // small part of a short mission, so the later events stand out from the pull-down).
    const double startOffset = std::min(setPoint + halfBand + 8.0, 31.0) - setPoint;
    const double timeConstant = std::max(1e-3, std::min(120.0, 0.03 * n * intervalMinutes));
    const double dailyAmplitude = std::min(0.3 * halfBand, 0.6);
    const double phase = rng.uniform() * 2.0 * kPi;
    const QVector<Excursion> events = excursions(o, n, halfBand, dailyAmplitude, rng);

    double noise = 0.0;
    for (int k = 0; k < n; ++k) {
        const double minutes = k * intervalMinutes;
        double t = setPoint + startOffset * std::exp(-minutes / timeConstant);
        t += dailyAmplitude * std::sin(2.0 * kPi * minutes / 1440.0 + phase);
        noise = std::clamp(0.8 * noise + 0.12 * rng.normal(), -0.5, 0.5);
        t += noise;
        for (const Excursion& e : events) {
            const int distance = std::abs(k - e.centre);
            if (distance <= e.width)
                t += e.amplitude * (1.0 - double(distance) / (e.width + 1.0));
        }
        sampleBytes[k] = char(std::clamp(rawFromCelsius(t), 0, kRawMax));
    }
    return sampleBytes;
}

QByteArray buildImage(const GeneratorOptions& o, const QByteArray& taken)
{
    QByteArray img(records::kImageSize, '\0');
    const int n = std::min<int>(taken.size(), 16777215);
    const int rawLow = rawFromCelsius(o.lowCelsius);
    const int rawHigh = rawFromCelsius(o.highCelsius);
    const bool circular = o.scenario == Scenario::Circular;

    // Status block as the preparation writes it and the logger keeps it.
    put16(img, 0, o.waitMinutes);
    img[5] = 1;
    img[11] = char(rawLow);
    img[12] = char(rawHigh);
    img[13] = char(std::clamp(o.interval, 1, 255));
    img[17] = n > 0 ? taken[n - 1] : char(rawFromCelsius((o.lowCelsius + o.highCelsius) / 2.0));
    put16(img, 18, o.delayMinutes);
    img[20] = 22;
    const QDateTime stamp = o.prepared.isValid() ? o.prepared : QDateTime(QDate(2024, 3, 1), QTime(10, 0), Qt::UTC);
    putBcd(img, 21, stamp.time().minute());
    putBcd(img, 22, stamp.time().hour());
    putBcd(img, 23, stamp.date().day());
    putBcd(img, 24, stamp.date().month());
    putBcd(img, 25, stamp.date().year() - 2000);
    img[26] = char(Byte0(n));
    img[27] = char(Byte1(n));
    img[28] = char(Byte2(n));

    // Identification block.
    img.replace(64, 12, ansiFixed(Nombre12(o.exporter), 12));
    img.replace(76, 12, ansiFixed(Nombre12(o.carrier), 12));
    const qint64 serialNumber = std::min<quint32>(o.serial, 16777215u);
    img[90] = char(Byte2(serialNumber));
    img[91] = char(Byte1(serialNumber));
    img[92] = char(Byte0(serialNumber));
    img[93] = char(o.firmware[0]);
    img[94] = char(o.firmware[1]);
    img[95] = char(o.firmware[2]);

    // Samples, alarm tables and value counts, as the logger keeps them while it records.
    int lowAlarms = 0, highAlarms = 0;
    bool anyLow = false, anyHigh = false;
    bool lowBefore = false, highBefore = false;
    QVector<int> counts(kCountCells, 0);
    for (int k = 0; k < n; ++k) {
        const int raw = quint8(taken[k]);
        if (circular)
            img[records::kSampleBase + k % records::kCapacity] = char(raw);
        else if (k < records::kCapacity)
            img[records::kSampleBase + k] = char(raw);

        const bool lowNow = raw < rawLow;
        const bool highNow = raw > rawHigh;
        // Each table keeps the index of the sample where the limit was crossed, ten at most. An
        // entry of 0 is an unused one, so a crossing at sample 0 takes none, as on the logger.
        const auto noteCrossing = [&img, k](int table, int& used) {
            if (k == 0 || used >= kAlarmEntries)
                return;
            const int address = table + 3 * used++;
            img[address] = char(Byte0(k));
            img[address + 1] = char(Byte1(k));
            img[address + 2] = char(Byte2(k));
        };
        if (lowNow && !lowBefore)
            noteCrossing(kLowAlarmTable, lowAlarms);
        if (highNow && !highBefore)
            noteCrossing(kHighAlarmTable, highAlarms);
        anyLow |= lowNow;
        anyHigh |= highNow;
        lowBefore = lowNow;
        highBefore = highNow;
        if (raw < kCountCells)
            ++counts[raw];
    }
    for (int v = 0; v < kCountCells; ++v)
        qToBigEndian<quint16>(quint16(std::min(counts[v], 65535)), img.data() + kCountTable + 2 * v);

    quint8 modeByte = 0;
    if (circular)
        modeByte |= ModoCircular;
    if (o.pushButton)
        modeByte |= ModoPulsador;
    img[256] = char(modeByte);

    quint8 statusByte = 0;
    if (anyHigh)
        statusByte |= EstadoAlarmaHi;
    if (anyLow)
        statusByte |= EstadoAlarmaLo;
    if (o.scenario == Scenario::Recording)
        statusByte |= EstadoRegistrando;
    if (o.scenario == Scenario::Empty || n == 0)
        statusByte |= EstadoSinDatos;
    img[258] = char(statusByte);
    return img;
}

QByteArray generateImage(const GeneratorOptions& options)
{
    return buildImage(options, generateSamples(options));
}

QString validate(const GeneratorOptions& o)
{
    if (o.samples < -1 || o.samples > 16777215)
        return QStringLiteral("the number of samples must be 0..16777215");
    if (o.scenario == Scenario::Empty && o.samples > 0)
        return QStringLiteral("an empty logger holds no samples");
    if (o.interval < 1 || o.interval > 255)
        return QStringLiteral("the interval must be 1..255 minutes");
    if (!o.prepared.isValid() || o.prepared.date().year() < 2000 || o.prepared.date().year() > 2099)
        return QStringLiteral("the preparation time must lie in the years 2000..2099");
    if (o.delayMinutes < 0 || o.delayMinutes > 65535 || o.waitMinutes < 0 || o.waitMinutes > 65535)
        return QStringLiteral("delays must be 0..65535 minutes");
    if (o.serial > 16777215u)
        return QStringLiteral("the serial number must be 0..16777215");
    const auto inRange = [](double c) { return c >= -40.0 && c <= 87.5; };
    if (!inRange(o.lowCelsius) || !inRange(o.highCelsius))
        return QStringLiteral("limits must lie within -40..87.5 degrees Celsius");
    if (o.lowCelsius >= o.highCelsius)
        return QStringLiteral("the low limit must be below the high limit");
    return QString();
}

} // namespace orvan::generator
