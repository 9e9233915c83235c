#pragma once
// The sample list: every stored sample of the record with its date and temperature, and the
// texts and zone of a displayed row.

#include "base/Unit.h"
#include "views/ZoneCounts.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVector>

namespace orvan::records { class MissionRecord; }

namespace orvan::views {

struct Sample {
    QDateTime FechaMuestra;
    float TempMuestra = 0;
};

struct ListaMuestras {
    QVector<Sample> entries;     // entry k of the list is entries[k - 1]
    int CantLista = 0;
    int scrollMax = 1;           // the scroll bar runs from 1 to here
    float lo = 0, hi = 0;        // the limits in degrees, for the zone of an entry

    const Sample& entry(int k) const { return entries.at(k - 1); }
    Zone zone(int k) const;
};

// One entry per sample held, oldest first, each with its own date. The record must be decoded.
ListaMuestras CargaMuestras(const records::MissionRecord& record, Unit unit);

// The two cells of a row: "ddd ddmmm hh:mm" and "##0.0" in the locale.
struct RowText {
    QString date, temp;
};
RowText rowText(const Sample& m, const QLocale& locale);
// The floating label beside the dragged thumb: "dd-mmm hh:mm  " then the temperature and unit.
QString positionText(const Sample& m, const QString& unit, const QLocale& locale);

} // namespace orvan::views
