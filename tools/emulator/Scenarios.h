#pragma once
// Loggers in the states the application meets: built by operating the model the way the PC and
// the user do (erase, the preparation's writes, the button, the clock), so the memory is always
// one the logger itself could have produced.

#include "tools/emulator/Logger.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

namespace orvan::emulator {

enum class ScenarioKind {
    Empty,        // erased
    Button,       // prepared for a push-button start, not pressed
    SetTime,      // armed for a start at a set time that has not come
    Recording,    // started, some samples taken, still recording
    Finished,     // stopped by the PC after its samples
    Circular,     // circular mission past the memory's capacity, stopped
    File,         // the memory image of a ".klv" record file
};

struct ScenarioOptions {
    int samples = 100;                 // Recording, Finished, Circular (Circular: at least 24577)
    int interval = 15;                 // minutes between samples, 1..255
    // Time stamp of the preparation, a calendar value without time zone. Invalid: the scenario's
    // default (2024-03-01 10:00 for finished missions, the present minute for the live ones).
    QDateTime prepared;
    int delay = 30;                    // DemoraInicio, minutes
    int buttonAfter = -1;              // Finished: minutes from stamp to a button press; -1 set time
    QString exporter = QStringLiteral("FRUTAS SUR");
    QString carrier = QStringLiteral("TRANSMAR");
    quint32 serial = 12345;
    quint8 firmware[3] = {1, 7, 2};
    double low = 2.0;                  // limits in °C; NaN for no limit
    double high = 8.0;
    bool circular = false;             // mode bit 8 for the non-Circular scenarios
    // The sensor; empty: a cold-chain trip as long as the mission's samples.
    TemperatureProfile profile;
    QString imagePath;                 // File
};

class Scenarios {
public:
    static std::unique_ptr<Logger> make(ScenarioKind kind, const ScenarioOptions& options = {});

    static std::unique_ptr<Logger> empty(const ScenarioOptions& options = {});
    static std::unique_ptr<Logger> button(const ScenarioOptions& options = {});
    static std::unique_ptr<Logger> setTime(const ScenarioOptions& options = {});
    static std::unique_ptr<Logger> recording(const ScenarioOptions& options = {});
    static std::unique_ptr<Logger> finished(const ScenarioOptions& options = {});
    static std::unique_ptr<Logger> circular(const ScenarioOptions& options = {});
    // Throws RuntimeError (53, file not found; 57, unreadable) when the file cannot be read.
    static std::unique_ptr<Logger> fromFile(const QString& path);

    // "empty", "button", "settime", "recording", "finished", "circular", "file".
    static std::optional<ScenarioKind> parseKind(const QString& name);
    static QString kindName(ScenarioKind kind);

    // The preparation's writes, as the PC sends them (stamp, delay, limits, interval, mode,
    // status, names, serial). status is 0 or 32.
    static void prepare(Logger& logger, const ScenarioOptions& options, const QDateTime& stamp,
                        quint8 mode, quint8 status);
};

} // namespace orvan::emulator
