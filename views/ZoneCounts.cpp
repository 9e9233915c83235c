#include "views/ZoneCounts.h"

#include "base/Encodings.h"
#include "base/TextTable.h"
#include "records/MissionRecord.h"
#include "views/ViewFormats.h"

#include <cmath>

namespace orvan::views {

using records::kCapacity;
using records::kSampleBase;
using records::MissionRecord;

Zone zoneOfRaw(int raw, int loRaw, int hiRaw)
{
    if (raw > hiRaw)
        return Above;
    return raw >= loRaw ? Within : Below;
}

Zone zoneOfDegrees(float degrees, float lo, float hi)
{
    if (degrees > hi)
        return Above;
    return degrees >= lo ? Within : Below;
}

qint32 percentage(qint64 count, qint64 total)
{
    if (total < 1)
        return 0;
    // The default rounding mode of nearbyint is to the nearest, halves to even. The product is
    // 64-bit: the logger's table can sum to more than a 32-bit product of 100 holds.
    return qint32(std::nearbyint(double(count * 100) / double(total)));
}

bool showsSecondPanel(const MissionRecord& record)
{
    return record.campos.NumMuestras > kCapacity;
}

ZoneCounts CuentaMuestras(const MissionRecord& record, Unit unit, CountView view)
{
    ZoneCounts z;
    const auto& c = record.campos;
    const float lo = float(RawAGrados(c.LoThreshold, unit));
    const float hi = float(RawAGrados(c.HiThreshold, unit));

    // Row 0: exactly the samples held.
    const int held = record.heldSampleCount();
    int previous = record.byte(kSampleBase - 1);
    for (int i = 0; i < held; ++i) {
        int v = record.heldSample(i);
        if (view == CountView::Histogram) {
            // A byte the logger never writes as a temperature takes the last good value before it.
            if (v > kHighestValid)
                v = previous;
            previous = v;
            ++z.HistoMuestras[size_t(v)];
        }
        ++z.Cuentas[0][zoneOfDegrees(float(RawAGrados(v, unit)), lo, hi)];
        ++z.Cuentas[0][3];
    }

    // Row 1: the logger's count table for the whole mission.
    for (int i = 0; i < kTableEntries; ++i) {
        const qint32 count = record.byte(kTablaConteos + 2 * i) * 256 + record.byte(kTablaConteos + 2 * i + 1);
        if (count <= 0)
            continue;
        if (i < 256)
            z.HistoEquipo[size_t(i)] = count;
        z.Cuentas[1][zoneOfRaw(i, c.LoThreshold, c.HiThreshold)] += count;
    }
    const qint32 inTable = z.Cuentas[1][Within] + z.Cuentas[1][Above] + z.Cuentas[1][Below];
    // Samples the table does not account for are taken as within the limits.
    if (inTable < c.NumMuestras)
        z.Cuentas[1][Within] += c.NumMuestras - inTable;
    // A damaged table can hold more than the mission's count; the total is then the table's own,
    // so the three zones still add up to it and no share exceeds 100 %.
    z.Cuentas[1][3] = qMax(c.NumMuestras, inTable);

    for (int row = 0; row < 2; ++row) {
        for (int zone = 0; zone < 3; ++zone)
            z.Porcentajes[row][zone] = percentage(z.Cuentas[row][zone], z.Cuentas[row][3]);
    }
    return z;
}

Captions PoneResultados(const ZoneCounts& z, const MissionRecord& record, const TextTable& textos, Unit unit,
                        CountView view, const QLocale& locale)
{
    Captions l;
    const auto& c = record.campos;
    const QString unitText = UnidadTexto(unit);
    const QString H = singleText(float(RawAGrados(c.HiThreshold, unit)), locale);
    const QString L = singleText(float(RawAGrados(c.LoThreshold, unit)), locale);
    const QString total = QString::number(c.NumMuestras);

    if (c.NumMuestras >= kCapacity) {
        const QString T = c.Circular ? textos[Text::LastPiece] : textos[Text::FirstPiece];
        l.CantMuestras[0] = joinWords({T, QString::number(z.Cuentas[0][3]), textos[Text::SamplesOfPiece], total});
    } else {
        l.CantMuestras[0] = joinWords(
            {QString::number(z.Cuentas[0][3]), textos[Text::SamplesOfPiece], textos[Text::TotalOfPiece], total});
    }
    // Both views name the row-1 total they show.
    l.CantMuestras[1] = joinWords(
        {QString::number(z.Cuentas[1][3]), textos[Text::SamplesOfPiece], textos[Text::TotalOfPiece], total});

    const auto part = [&](int row, Zone zone) {
        return joinWords({QString::number(z.Cuentas[row][zone]), textos[Text::SamplesPiece],
                          QStringLiteral("( ") + QString::number(z.Porcentajes[row][zone]) + QStringLiteral(" % )")});
    };
    for (int row = 0; row < 2; ++row) {
        l.MueMay[row] = QStringLiteral("Temp.>") + H + unitText + QStringLiteral(": ") + part(row, Above);
        l.MueMen[row] = QStringLiteral("Temp.<") + L + unitText + QStringLiteral(": ") + part(row, Below);
        l.MueOk[row] = QStringLiteral("Temp. OK ") + QStringLiteral(": ") + part(row, Within);
        // The histogram hides a zone without samples; the pies always name all three.
        const bool all = view == CountView::Proportions;
        l.visibleOk[row] = all || z.Cuentas[row][Within] != 0;
        l.visibleMay[row] = all || z.Cuentas[row][Above] != 0;
        l.visibleMen[row] = all || z.Cuentas[row][Below] != 0;
    }
    return l;
}

QVector<Bar> Bars(const ZoneCounts& z, int chart, const MissionRecord& record, Unit unit)
{
    const auto& bins = chart == 0 ? z.HistoMuestras : z.HistoEquipo;
    QVector<Bar> bars;
    for (int i = 0; i < 256; ++i) {
        if (bins[size_t(i)] <= 0)
            continue;
        bars.append({RawAGrados(i, unit), bins[size_t(i)],
                       zoneOfRaw(i, record.campos.LoThreshold, record.campos.HiThreshold)});
    }
    return bars;
}

} // namespace orvan::views
