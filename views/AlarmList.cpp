#include "views/AlarmList.h"

#include "base/Encodings.h"
#include "records/MissionRecord.h"
#include "views/ViewFormats.h"

namespace orvan::views {

using records::MissionRecord;

namespace {

constexpr int kDirEstado = 258;

void leeTabla(const MissionRecord& record, int gradosC, int desde, ListaAlarmas& lista)
{
    const auto& c = record.campos;
    for (int j = 0; j < 10; ++j) {
        const int dir = desde + 3 * j;
        const qint64 n = record.byte(dir) + 256 * record.byte(dir + 1) + 65536 * record.byte(dir + 2);
        Alarma& a = lista.entradas[size_t(++lista.cuenta)];
        // No event, or a sample number beyond the image (a damaged table): the row stays empty.
        if (n < 1 || !MissionRecord::inImage(records::kSampleBase + n)) {
            a = Alarma{};
            continue;
        }
        a.FechaAlarma = c.InicioMision.addSecs(n * c.Rango * 60);
        a.TempAlarma = float(RawAGrados(record.muestra(n), gradosC));
    }
}

} // namespace

ListaAlarmas CargaAlarmas(const MissionRecord& record, int gradosC)
{
    ListaAlarmas lista;
    const quint8 estado = record.byte(kDirEstado);
    if (estado & EstadoAlarmaLo)
        leeTabla(record, gradosC, kAlarmasBajas, lista);
    if (!(estado & EstadoAlarmaHi))
        return lista;
    if (!(estado & EstadoAlarmaLo))
        lista.cuenta += 10;
    leeTabla(record, gradosC, kAlarmasAltas, lista);
    return lista;
}

std::array<FilaAlarma, kFilasAlarma + 1> MuestraAlarmas(const ListaAlarmas& lista, const QLocale& locale)
{
    std::array<FilaAlarma, kFilasAlarma + 1> filas;
    for (int r = 1; r <= kFilasAlarma && r <= lista.cuenta; ++r) {
        const Alarma& a = lista.entradas[size_t(r)];
        // A raw byte of 0 is -40 in both units: memory the logger never wrote.
        if (!a.FechaAlarma.isValid() || a.TempAlarma == -40.0f)
            continue;
        FilaAlarma& f = filas[size_t(r)];
        f.llena = true;
        f.fecha = a.FechaAlarma;
        f.temp = a.TempAlarma;
        f.textoFecha = FechaCorta(a.FechaAlarma, locale);
        f.textoTemp = TextoSingle(a.TempAlarma, locale);
    }
    return filas;
}

QString TituloAlarma(bool alta, const MissionRecord& record, int gradosC, const QLocale& locale)
{
    const int raw = alta ? record.campos.HiThreshold : record.campos.LoThreshold;
    return (alta ? QStringLiteral("Temp. > ") : QStringLiteral("Temp. < "))
        + TextoSingle(float(RawAGrados(raw, gradosC)), locale) + UnidadTexto(gradosC);
}

} // namespace orvan::views
