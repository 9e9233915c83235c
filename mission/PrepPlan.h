#pragma once
// What a new mission looks like before it is written to the logger: the choices the preparation
// window offers, the values they turn into, and the table of byte writes that programs them.
// No port here: ProgramaKLV sends the table, the window and orvanlog-cli build it.

#include "base/Unit.h"
#include "records/MissionRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <array>
#include <optional>

namespace orvan::mission {

// The logger holds kCapacity samples, so a mission lasts interval x kCapacity minutes.
using records::kCapacity;
// A set start time may lie at most this many minutes ahead (45 days).
constexpr int kMaxStartMinutes = 64800;
// The delay is a 16-bit field.
constexpr int kMaxDelay = 65535;

// The duration list in days: 1..15, 20..45 by 5, 60..90 by 15, 120..360 by 30.
QList<int> durationDays();
// The interval list in minutes: 1..60.
QList<int> intervals();
// The limits offered, in whole degrees of the unit: one per even raw value 0..250.
QList<int> limitList(Unit unit);

// The smallest interval whose mission covers the days.
int intervalForDays(int days);
// What a mission at that interval covers: whole days, then the hours left.
struct Coverage {
    int days = 0;
    int hours = 0;
};
Coverage coverageOf(int interval);
// "68 d  06 h" (two blanks after the d).
QString durationText(int interval);
// "4 min."
QString intervalText(int interval);

// The two limits move together: a high limit below the low one takes the low one with it, and
// the mirror. Equal limits are allowed. Values are whole degrees.
struct Limits {
    int low = 0;
    int high = 0;
};
Limits chooseHigh(Limits current, int high);
Limits chooseLow(Limits current, int low);

// How the recording starts (the window's option buttons, by index).
enum class StartMode { Button = 0, SetTime = 1, ButtonDelay = 2 };

// Minutes from now to t counted in whole clock minutes (seconds are ignored), negative when past.
qint64 minutesUntil(const QDateTime& now, const QDateTime& t);

// Whether Accept may be pressed, and the picture beside the start-time picker (13: too far
// ahead, 14: fine; 0: not a set-time start).
struct AcceptState {
    bool ok = false;
    int imgClock = 0;
};
AcceptState DatosPrepOk(bool comunicado, StartMode start, qint64 minutesToStart, int rangoPrep);

// The delay box of a push-button start with delay: a whole number of minutes 0..65535, or
// nothing when the text is not one.
std::optional<int> parseDelay(const QString& text);

// Everything the user chose.
struct MissionPlan {
    int interval = 0;             // RangoPrep, 1..60
    int rawLimInf = 0;            // raw temperatures 0..255
    int rawLimSup = 0;
    StartMode start = StartMode::Button;
    QDateTime startTime;          // SetTime: the start time, PC local time
    int delay = 0;                // ButtonDelay: minutes
    bool circular = false;
    QString exporter;
    QString carrier;
};

// The values written, computed once at the start of programming.
struct PrepValues {
    quint8 ModoPrep = 0;          // address 256
    quint8 EstadoPrep = 0;        // address 258
    int DemoraPrep = 0;           // addresses 18-19
    std::array<quint8, 5> FechaPrepBCD{};   // minute, hour, day, month, year in the century
};

// The PC clock as the five BCD bytes of the preparation stamp.
std::array<quint8, 5> FechaHoraBCD(const QDateTime& now);

// The sentences the preparation adds to the language texts.
enum class PrepSentence {
    NoInterval,        // no duration or interval chosen
    LimitOrder,        // low limit above the high one, or out of the raw scale
    NoStartTime,       // set-time start without a time
    StartTooFar,       // set time more than 45 days ahead
    BadDelay,          // delay not a whole number 0..65535
    NotProgrammed,     // the logger does not read back what was written
    NoAnswer,          // no answer before the first write
};
// The sentence in the language idioma (0..4; another value gives Spanish).
QString prepText(PrepSentence sentence, int idioma);

// Why a name (exporter or carrier) cannot be written to the logger, in the language idioma; nothing
// when it can. Control characters and characters outside Windows-1252 are refused, and the text
// names the first one found.
std::optional<QString> nameRefusal(const QString& name, int idioma);
// The 12 characters the logger is given for a name: trimmed, cut or padded with blanks.
QString writtenName(const QString& name);

// Why the logger cannot be programmed with these choices; nothing when it can. Checked before
// anything is written.
std::optional<PrepSentence> validatePlan(const MissionPlan& p, const QDateTime& now);
// The values to write. A set start time that has passed by now starts the mission now (delay 0).
// Call only after validatePlan accepted p.
PrepValues computeValues(const MissionPlan& p, const QDateTime& now);

// One byte write of the sequence and what follows it.
struct ByteWrite {
    int address = 0;
    quint8 value = 0;
    int pauseMs = 0;      // pause after the write
    int progress = 0;     // progress value shown after the pause (0: unchanged)
};

// Progress values of the sequence, out of kProgressEnd.
constexpr int kProgressStart = 1100;
constexpr int kProgressMode = 1200;
constexpr int kProgressEnd = 2000;
constexpr int kNamePauseMs = 50;

// The configuration writes a..n: activation byte, stamp, delay, limits, interval, mode, status.
QList<ByteWrite> writeTable(const MissionPlan& p, const PrepValues& v);
// EscribeNombres: the 24 bytes of the two 12-character names at 64..87, then the serial number
// bytes at 90..92 exactly as read from the logger; 50 ms after each.
QList<ByteWrite> nameTable(const QString& exporter, const QString& carrier,
                              const std::array<quint8, 3>& serial);

// The addresses whose whole byte the preparation writes and the logger must keep.
QList<int> verifiedAddresses();

} // namespace orvan::mission
