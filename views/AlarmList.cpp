#include "views/AlarmList.h"

#include "base/Encodings.h"
#include "records/MissionRecord.h"
#include "views/ViewFormats.h"

namespace orvan::views {

using records::MissionRecord;

namespace {

void readTable(const MissionRecord& record, int gradosC, int from, ListaAlarmas& list)
{
    const auto& c = record.campos;
    for (int j = 0; j < 10; ++j) {
        const int dir = from + 3 * j;
        const qint64 n = record.byte(dir) + 256 * record.byte(dir + 1) + 65536 * record.byte(dir + 2);
        Alarm& a = list.entries[size_t(++list.count)];
        // No event, or a sample number beyond the image (a damaged table): the row stays empty.
        if (n < 1 || !MissionRecord::inImage(records::kSampleBase + n)) {
            a = Alarm{};
            continue;
        }
        a.FechaAlarma = c.InicioMision.addSecs(n * c.Rango * 60);
        a.TempAlarma = float(RawAGrados(record.muestra(n), gradosC));
    }
}

} // namespace

ListaAlarmas CargaAlarmas(const MissionRecord& record, int gradosC)
{
    ListaAlarmas list;
    const quint8 status = record.byte(records::AddrStatus);
    if (status & EstadoAlarmaLo)
        readTable(record, gradosC, kLowAlarms, list);
    if (!(status & EstadoAlarmaHi))
        return list;
    if (!(status & EstadoAlarmaLo))
        list.count += 10;
    readTable(record, gradosC, kHighAlarms, list);
    return list;
}

std::array<AlarmRow, kAlarmRows + 1> MuestraAlarmas(const ListaAlarmas& list, const QLocale& locale)
{
    std::array<AlarmRow, kAlarmRows + 1> rows;
    for (int r = 1; r <= kAlarmRows && r <= list.count; ++r) {
        const Alarm& a = list.entries[size_t(r)];
        // A raw byte of 0 is -40 in both units: memory the logger never wrote.
        if (!a.FechaAlarma.isValid() || a.TempAlarma == -40.0f)
            continue;
        AlarmRow& f = rows[size_t(r)];
        f.filled = true;
        f.date = a.FechaAlarma;
        f.temp = a.TempAlarma;
        f.dateText = shortDate(a.FechaAlarma, locale);
        f.tempText = singleText(a.TempAlarma, locale);
    }
    return rows;
}

QString alarmTitle(bool high, const MissionRecord& record, int gradosC, const QLocale& locale)
{
    const int raw = high ? record.campos.HiThreshold : record.campos.LoThreshold;
    return (high ? QStringLiteral("Temp. > ") : QStringLiteral("Temp. < "))
        + singleText(float(RawAGrados(raw, gradosC)), locale) + UnidadTexto(gradosC);
}

} // namespace orvan::views
