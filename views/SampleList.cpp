#include "views/SampleList.h"

#include "base/Encodings.h"
#include "records/MissionRecord.h"
#include "views/ViewFormats.h"

namespace orvan::views {

Zone ListaMuestras::zone(int k) const
{
    return zoneOfDegrees(entry(k).TempMuestra, lo, hi);
}

ListaMuestras CargaMuestras(const records::MissionRecord& record, Unit unit)
{
    const auto& c = record.campos;
    ListaMuestras list;
    list.lo = float(RawAGrados(c.LoThreshold, unit));
    list.hi = float(RawAGrados(c.HiThreshold, unit));
    const int n = record.heldSampleCount();
    list.entries.resize(n);
    Sample* entry = list.entries.data();
    for (int i = 0; i < n; ++i)
        entry[i] = {record.heldSampleTime(i), float(RawAGrados(record.heldSample(i), unit))};
    list.CantLista = n;
    list.scrollMax = n > 5 ? n - 5 : 1;
    return list;
}

RowText rowText(const Sample& m, const QLocale& locale)
{
    return {shortDate(m.FechaMuestra, locale), format0_0(m.TempMuestra, locale)};
}

QString positionText(const Sample& m, const QString& unit, const QLocale& locale)
{
    return positionDate(m.FechaMuestra, locale) + QStringLiteral("  ") + format0_0(m.TempMuestra, locale) + unit;
}

} // namespace orvan::views
