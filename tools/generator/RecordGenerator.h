#pragma once
// Realistic KLV-100 memory images for demonstrations, tests and the emulator: a prepared header,
// a cold-chain temperature profile, and the tables the logger keeps while it records (alarm
// tables, value counts, status bits). The same options and seed always give the same image.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace orvan::generator {

enum class Scenario {
    Finished,    // a stopped mission that crossed both limits a few times
    Alarms,      // a stopped mission with more excursions than the alarm tables hold
    Circular,    // circular recording whose count went past the memory's capacity
    Recording,   // a mission still running (status bit 32)
    Empty,       // a prepared logger holding no data (status bit 64, count 0)
};

struct GeneratorOptions {
    Scenario scenario = Scenario::Finished;
    int samples = -1;                 // samples taken; -1: 2400, circular 30000, empty 0
    int interval = 15;                // minutes between samples, 1..255
    quint64 seed = 1;
    QString exporter = QStringLiteral("FRUTAS SUR");
    QString carrier = QStringLiteral("NAVIERA AZUL");
    QDateTime prepared = QDateTime(QDate(2024, 3, 1), QTime(10, 0), Qt::UTC);   // years 2000..2099
    int delayMinutes = 0;             // start delay programmed by the preparation, 0..65535
    int waitMinutes = 0;              // minutes the logger added to the start, 0..65535
    double lowCelsius = 2.0;          // limits in degrees Celsius
    double highCelsius = 8.0;
    quint32 serial = 12345;           // 0..16777215
    std::array<quint8, 3> firmware{{1, 7, 0}};
    bool pushButton = false;          // mode bit 16
};

// The scenario names of the command line: finished, alarms, circular, recording, empty.
QStringList scenarioNames();
std::optional<Scenario> scenarioFromName(const QString& name);

// The samples the scenario takes, one raw byte each, in the order they were taken (all of them,
// also those a circular memory overwrote). Values stay within 0..143, the range of the value
// count table.
int sampleCount(const GeneratorOptions& options);
QByteArray generateSamples(const GeneratorOptions& options);

// The 32768-byte memory image for the options and the given samples taken: the header, the
// samples at 8192 (a circular memory overwrites from its start), the alarm tables, the value
// counts and the mode and status bytes. The emulator grows a running mission with it.
QByteArray buildImage(const GeneratorOptions& options, const QByteArray& samplesTaken);

// buildImage(options, generateSamples(options)).
QByteArray generateImage(const GeneratorOptions& options);

// What is wrong with the options, in one line for the user; empty when they are usable.
QString validate(const GeneratorOptions& options);

} // namespace orvan::generator
