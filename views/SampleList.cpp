#include "views/SampleList.h"

#include "base/Encodings.h"
#include "records/MissionRecord.h"
#include "views/ViewFormats.h"

namespace orvan::views {

Zona ListaMuestras::zona(int k) const
{
    return zonaGrados(entrada(k).TempMuestra, lo, hi);
}

ListaMuestras CargaMuestras(const records::MissionRecord& record, int gradosC)
{
    const auto& c = record.campos;
    ListaMuestras lista;
    lista.lo = float(RawAGrados(c.LoThreshold, gradosC));
    lista.hi = float(RawAGrados(c.HiThreshold, gradosC));
    const int n = record.muestrasGuardadas() + 1;
    lista.entradas.reserve(n);
    for (int k = 0; k < n; ++k) {
        lista.entradas.append({c.InicioDatos.addSecs(qint64(k) * c.Rango * 60),
                               float(RawAGrados(record.muestra(k), gradosC))});
    }
    lista.CantLista = n;
    lista.scrollMaximo = n > 5 ? n - 5 : 1;
    return lista;
}

TextoFila textoFila(const Muestra& m, const QLocale& locale)
{
    return {FechaCorta(m.FechaMuestra, locale), Formato0_0(m.TempMuestra, locale)};
}

QString textoPosicion(const Muestra& m, const QString& unidad, const QLocale& locale)
{
    return FechaPosicion(m.FechaMuestra, locale) + QStringLiteral("  ") + Formato0_0(m.TempMuestra, locale) + unidad;
}

} // namespace orvan::views
