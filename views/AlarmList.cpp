#include "views/AlarmList.h"

#include "base/Encodings.h"
#include "records/MissionRecord.h"
#include "views/ViewFormats.h"

namespace orvan::views {

using records::MissionRecord;

namespace {

void readTable(const MissionRecord& record, Unit unit, int from, ListaAlarmas& list)
{
    const auto& c = record.campos;
    for (int j = 0; j < 10; ++j) {
        const int dir = from + 3 * j;
        const qint64 n = record.byte(dir) + 256 * record.byte(dir + 1) + 65536 * record.byte(dir + 2);
        Alarm& a = list.entries[size_t(++list.count)];
        // No event, or a sample number beyond the image or past the mission's last sample (a
        // damaged table): the row stays empty.
        const bool beyond = record.wrapped() ? n >= c.UltimaMuestra : !MissionRecord::inImage(records::kSampleBase + n);
        if (n < 1 || beyond) {
            a = Alarm{};
            continue;
        }
        a.FechaAlarma = c.InicioMision.addSecs(n * c.Rango * 60);
        // A wrapped circular memory may have overwritten the sample since: its date stays known.
        const std::optional<quint8> raw = record.missionSample(n);
        a.held = raw.has_value();
        a.TempAlarma = a.held ? float(RawAGrados(*raw, unit)) : 0.0f;
    }
}

} // namespace

ListaAlarmas CargaAlarmas(const MissionRecord& record, Unit unit)
{
    ListaAlarmas list;
    const quint8 status = record.byte(records::AddrStatus);
    if (status & EstadoAlarmaLo)
        readTable(record, unit, kLowAlarms, list);
    if (!(status & EstadoAlarmaHi))
        return list;
    if (!(status & EstadoAlarmaLo))
        list.count += 10;
    readTable(record, unit, kHighAlarms, list);
    return list;
}

std::array<AlarmRow, kAlarmRows + 1> MuestraAlarmas(const ListaAlarmas& list, const QLocale& locale)
{
    std::array<AlarmRow, kAlarmRows + 1> rows;
    for (int r = 1; r <= kAlarmRows && r <= list.count; ++r) {
        const Alarm& a = list.entries[size_t(r)];
        // A raw byte of 0 is -40 in both units: memory the logger never wrote.
        if (!a.FechaAlarma.isValid() || (a.held && a.TempAlarma == -40.0f))
            continue;
        AlarmRow& f = rows[size_t(r)];
        f.filled = true;
        f.hasTemp = a.held;
        f.date = a.FechaAlarma;
        f.temp = a.TempAlarma;
        f.dateText = shortDate(a.FechaAlarma, locale);
        if (a.held)
            f.tempText = singleText(a.TempAlarma, locale);
    }
    return rows;
}

QString alarmTitle(bool high, const MissionRecord& record, Unit unit, const QLocale& locale)
{
    const int raw = high ? record.campos.HiThreshold : record.campos.LoThreshold;
    return (high ? QStringLiteral("Temp. > ") : QStringLiteral("Temp. < "))
        + singleText(float(RawAGrados(raw, unit)), locale) + UnidadTexto(unit);
}

} // namespace orvan::views
