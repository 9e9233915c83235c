#pragma once
// The alarm list: the samples the logger itself marked as limit violations, ten for the low
// limit and ten for the high limit, read from its two alarm tables in the record.

#include "base/Unit.h"
#include "records/MissionRecord.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <array>

namespace orvan::records { class MissionRecord; }

namespace orvan::views {

constexpr int kLowAlarms = records::AddrLowAlarms;
constexpr int kHighAlarms = records::AddrHighAlarms;
constexpr int kAlarmRows = 20;

struct Alarm {
    QDateTime FechaAlarma;   // invalid: no date
    float TempAlarma = 0;
    bool held = true;        // false: a circular memory has overwritten the sample, no temperature
};

struct ListaAlarmas {
    std::array<Alarm, kAlarmRows + 1> entries;       // 1..20 used; 1..10 low, 11..20 high
    int count = 0;
};

// The low table only when the status byte says the low limit was exceeded, the high table only
// when it says the high limit was; the high block starts at entry 11 in every case. The record
// must be decoded.
ListaAlarmas CargaAlarmas(const records::MissionRecord& record, Unit unit);

// A displayed row: either both cells filled or both empty, except a sample a circular memory
// has overwritten, which shows its date with an empty temperature.
struct AlarmRow {
    bool filled = false;
    bool hasTemp = false;
    QDateTime date;
    float temp = 0;
    QString dateText, tempText;      // "ddd ddmmm hh:mm" and the shortest text of the value
};
// Rows 1..20 (index 0 unused): an entry without a date or with a held sample of raw 0 is an
// empty row.
std::array<AlarmRow, kAlarmRows + 1> MuestraAlarmas(const ListaAlarmas& list, const QLocale& locale);

// "Temp. < 2 °C" and "Temp. > 8 °C": the titles of the two blocks.
QString alarmTitle(bool high, const records::MissionRecord& record, Unit unit, const QLocale& locale);

} // namespace orvan::views
