#include "mission/DeviceCommands.h"

#include "base/Ansi.h"

#include <algorithm>

namespace orvan::mission {

namespace {

constexpr int kDireccionNombres = 64;
constexpr int kSliceMs = 50;

} // namespace

bool Espera(link::Link& link, int ms)
{
    for (int left = ms; left > 0; left -= kSliceMs) {
        if (link.closing())
            return false;
        link.clock().sleepMs(std::min(left, kSliceMs));
    }
    return !link.closing();
}

bool MarcaGuardado(link::Link& link, const link::EstadoKLV& estado, quint8 marca)
{
    QByteArray bloque = ansiFixed(estado.Exportador, 12) + ansiFixed(estado.Transportador, 12);
    bloque.append(char(marca));
    for (int i = 0; i < bloque.size(); ++i) {
        if (!link.EscribeByteCorto(kDireccionNombres + i, quint8(bloque.at(i))))
            return false;
    }
    return true;
}

bool MarcaDescargaGuardada(link::Link& link, const link::EstadoKLV& estado)
{
    if (!MarcaGuardado(link, estado, 1))
        return false;
    if (!Espera(link, kPausaEscrituraMs))
        return false;
    // Or-ed rather than added: a logger already marked keeps its other bits.
    return link.EscribeByte(kDireccionEstado, quint8(estado.EstadoByte | kBitGuardado));
}

bool DetieneMision(link::Link& link, const link::EstadoKLV& estado)
{
    const bool sent = link.EscribeByte(kDireccionEstado, quint8(estado.EstadoByte & ~kBitRegistrando));
    // The logger acts on the write before the next poll reads the status.
    Espera(link, kPausaEscrituraMs);
    return sent;
}

int valorPasoBorrado(int paso)
{
    return paso >= kPasosBorrado ? kMaximoBorrado : 200 * paso;
}

ResultadoBorrado BorraMemoria(link::Link& link, const ProgresoBorrado& progreso)
{
    if (!link.EscribeByte(kDireccionModo, kClaveBorrado) || !Espera(link, kPausaEscrituraMs))
        return link.closing() ? ResultadoBorrado::Cancelado : ResultadoBorrado::SinRespuesta;
    if (!link.EnviaBorrado())
        return link.closing() ? ResultadoBorrado::Cancelado : ResultadoBorrado::SinRespuesta;

    // The logger clears its flash without answering; the wait gives it the time it needs.
    if (progreso)
        progreso(0, kMaximoBorrado);
    for (int paso = 1; paso <= kPasosBorrado; ++paso) {
        if (!Espera(link, kPausaBorradoMs))
            return ResultadoBorrado::Cancelado;
        if (progreso)
            progreso(valorPasoBorrado(paso), kMaximoBorrado);
    }

    // Only the logger can tell whether the erase happened.
    const link::Reply banderas = link.LeeBloque(8);
    if (banderas.status == link::ReplyStatus::Cancelled)
        return ResultadoBorrado::Cancelado;
    if (!banderas.ok())
        return ResultadoBorrado::SinRespuesta;
    link::EstadoKLV e;
    link::DecodificaBanderas(banderas.block(), e);
    return e.SinDatos ? ResultadoBorrado::Ok : ResultadoBorrado::NoBorrada;
}

QString mensajeBorrado(ResultadoBorrado resultado)
{
    switch (resultado) {
    case ResultadoBorrado::Ok:
        return QStringLiteral("Memoria borrada satisfactoriamente");
    case ResultadoBorrado::SinRespuesta:
        return QStringLiteral("Error! El equipo no responde después del borrado; la memoria puede no estar borrada");
    case ResultadoBorrado::NoBorrada:
        return QStringLiteral("Error! El equipo conserva datos; la memoria no fue borrada");
    case ResultadoBorrado::Cancelado:
        break;
    }
    return {};
}

} // namespace orvan::mission
