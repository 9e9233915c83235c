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

Zona zonaRaw(int raw, int loRaw, int hiRaw)
{
    if (raw > hiRaw)
        return Arriba;
    return raw >= loRaw ? Dentro : Abajo;
}

Zona zonaGrados(float grados, float lo, float hi)
{
    if (grados > hi)
        return Arriba;
    return grados >= lo ? Dentro : Abajo;
}

qint32 Porcentaje(qint64 count, qint64 total)
{
    if (total < 1)
        return 0;
    // The default rounding mode of nearbyint is to the nearest, halves to even. The product is
    // 64-bit: the logger's table can sum to more than a 32-bit product of 100 holds.
    return qint32(std::nearbyint(double(count * 100) / double(total)));
}

bool muestraSegundoPanel(const MissionRecord& record)
{
    return record.campos.NumMuestras > kCapacity;
}

ZoneCounts CuentaMuestras(const MissionRecord& record, int gradosC, Vista vista)
{
    ZoneCounts z;
    const auto& c = record.campos;
    const float lo = float(RawAGrados(c.LoThreshold, gradosC));
    const float hi = float(RawAGrados(c.HiThreshold, gradosC));

    // Row 0: exactly the samples held.
    const int held = record.muestrasGuardadas();
    int previo = record.byte(kSampleBase - 1);
    for (int k = 0; k < held; ++k) {
        int v = record.muestra(k);
        if (vista == Vista::Histograma) {
            // A byte the logger never writes as a temperature takes the last good value before it.
            if (v > kMayorValido)
                v = previo;
            previo = v;
            ++z.HistoMuestras[size_t(v)];
        }
        ++z.Cuentas[0][zonaGrados(float(RawAGrados(v, gradosC)), lo, hi)];
        ++z.Cuentas[0][3];
    }

    // Row 1: the logger's count table for the whole mission.
    for (int i = 0; i < kEntradasTabla; ++i) {
        const qint32 cuenta = record.byte(kTablaConteos + 2 * i) * 256 + record.byte(kTablaConteos + 2 * i + 1);
        if (cuenta <= 0)
            continue;
        if (i < 256)
            z.HistoEquipo[size_t(i)] = cuenta;
        z.Cuentas[1][zonaRaw(i, c.LoThreshold, c.HiThreshold)] += cuenta;
    }
    const qint32 enTabla = z.Cuentas[1][Dentro] + z.Cuentas[1][Arriba] + z.Cuentas[1][Abajo];
    // Samples the table does not account for are taken as within the limits.
    if (enTabla < c.NumMuestras)
        z.Cuentas[1][Dentro] += c.NumMuestras - enTabla;
    // A damaged table can hold more than the mission's count; the total is then the table's own,
    // so the three zones still add up to it and no share exceeds 100 %.
    z.Cuentas[1][3] = qMax(c.NumMuestras, enTabla);

    for (int fila = 0; fila < 2; ++fila) {
        for (int zona = 0; zona < 3; ++zona)
            z.Porcentajes[fila][zona] = Porcentaje(z.Cuentas[fila][zona], z.Cuentas[fila][3]);
    }
    return z;
}

Leyendas PoneResultados(const ZoneCounts& z, const MissionRecord& record, const TextTable& textos, int gradosC,
                        Vista vista, const QLocale& locale)
{
    Leyendas l;
    const auto& c = record.campos;
    const QString unidad = UnidadTexto(gradosC);
    const QString H = TextoSingle(float(RawAGrados(c.HiThreshold, gradosC)), locale);
    const QString L = TextoSingle(float(RawAGrados(c.LoThreshold, gradosC)), locale);
    const QString total = QString::number(c.NumMuestras);

    if (c.NumMuestras >= kCapacity) {
        const QString T = c.Circular ? textos[59] : textos[60];
        l.CantMuestras[0] = T + QString::number(z.Cuentas[0][3]) + textos[61] + total;
    } else {
        l.CantMuestras[0] = QString::number(z.Cuentas[0][3]) + textos[61] + textos[62] + total;
    }
    // The proportions caption counts one sample less than the row it describes.
    const qint32 fila1 = vista == Vista::Proporciones ? z.Cuentas[1][3] - 1 : z.Cuentas[1][3];
    l.CantMuestras[1] = QString::number(fila1) + textos[61] + textos[62] + total;

    const auto pieza = [&](int fila, Zona zona) {
        return QString::number(z.Cuentas[fila][zona]) + textos[58] + QStringLiteral(" ( ")
            + QString::number(z.Porcentajes[fila][zona]) + QStringLiteral(" % )");
    };
    for (int fila = 0; fila < 2; ++fila) {
        l.MueMay[fila] = QStringLiteral("Temp.>") + H + unidad + QStringLiteral(": ") + pieza(fila, Arriba);
        l.MueMen[fila] = QStringLiteral("Temp.<") + L + unidad + QStringLiteral(": ") + pieza(fila, Abajo);
        l.MueOk[fila] = QStringLiteral("Temp. OK ") + QStringLiteral(": ") + pieza(fila, Dentro);
        // The histogram hides a zone without samples; the pies always name all three.
        const bool todas = vista == Vista::Proporciones;
        l.visibleOk[fila] = todas || z.Cuentas[fila][Dentro] != 0;
        l.visibleMay[fila] = todas || z.Cuentas[fila][Arriba] != 0;
        l.visibleMen[fila] = todas || z.Cuentas[fila][Abajo] != 0;
    }
    return l;
}

QVector<Barra> Barras(const ZoneCounts& z, int chart, const MissionRecord& record, int gradosC)
{
    const auto& bins = chart == 0 ? z.HistoMuestras : z.HistoEquipo;
    QVector<Barra> barras;
    for (int i = 0; i < 256; ++i) {
        if (bins[size_t(i)] <= 0)
            continue;
        barras.append({RawAGrados(i, gradosC), bins[size_t(i)],
                       zonaRaw(i, record.campos.LoThreshold, record.campos.HiThreshold)});
    }
    return barras;
}

} // namespace orvan::views
