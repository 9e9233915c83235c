#include "link/LoggerStatus.h"

#include "base/Encodings.h"
#include "base/Ansi.h"

namespace orvan::link {

namespace {

// Byte i of a block; a block cut short reads as zeros.
int at(const QByteArray& block, int i)
{
    return i < block.size() ? quint8(block.at(i)) : 0;
}

} // namespace

std::optional<QDateTime> EstadoKLV::inicioMision() const
{
    return addMinutes(HoraPrep, qint64(EsperaInicio) + DemoraInicio);
}

std::optional<QDateTime> EstadoKLV::finMision() const
{
    const std::optional<QDateTime> start = inicioMision();
    if (!start)
        return std::nullopt;
    return addMinutes(*start, qint64(Intervalo) * NumMuestras);
}

void DecodificaBloqueEstado(const QByteArray& block, Unit unit, EstadoKLV& e)
{
    e.EsperaInicio = at(block, 0) + 256 * at(block, 1);
    const quint8 stamp[5] = {quint8(at(block, 21)), quint8(at(block, 22)), quint8(at(block, 23)),
                             quint8(at(block, 24)), quint8(at(block, 25))};
    e.HoraPrep = preparationStamp(stamp).value_or(QDateTime());
    e.LimInf = wholeDegrees(at(block, 11), unit);
    e.LimSup = wholeDegrees(at(block, 12), unit);
    e.Intervalo = at(block, 13);
    e.TempActual = wholeDegrees(at(block, 17), unit);
    e.DemoraInicio = at(block, 18) + 256 * at(block, 19);
    e.NumMuestras = at(block, 26) + 256 * at(block, 27) + 65536 * at(block, 28);
}

void DecodificaIdentificacion(const QByteArray& block, EstadoKLV& e)
{
    const QByteArray names = block.left(24).leftJustified(24, '\0');
    e.Exportador = ansiDecode(names.left(12));
    e.Transportador = ansiDecode(names.mid(12, 12));
    // The serial number runs high byte first, unlike the counts of the status block.
    const int serial = 65536 * at(block, 26) + 256 * at(block, 27) + at(block, 28);
    e.SerieKLV = QString::number(serial).left(5).leftJustified(5, QLatin1Char(' '));
    e.VerFw1 = at(block, 29);
    e.VerFw2 = at(block, 30);
    e.VerFw3 = at(block, 31);
}

void DecodificaBanderas(const QByteArray& block, EstadoKLV& e)
{
    e.ModoKLV = quint8(at(block, 0));
    e.EstadoByte = quint8(at(block, 2));
    const BitsModo modeBits = DecodeModo(e.ModoKLV);
    e.Circular = modeBits.Circular;
    e.ArranquePulsador = modeBits.ArranquePulsador;
    const BitsEstado statusBits = DecodeEstado(e.EstadoByte);
    e.Guardado = statusBits.Guardado;
    e.SinDatos = statusBits.SinDatos;
    e.Registrando = statusBits.Registrando;
    e.AlarmaLo = statusBits.AlarmaLo;
    e.AlarmaHi = statusBits.AlarmaHi;
}

bool LeeBanderas(Link& link, EstadoKLV& e)
{
    const Reply r = link.LeeBloque(8);
    if (!r.ok()) {
        e.Comunicado = false;
        return false;
    }
    e.Comunicado = true;
    DecodificaBanderas(r.block(), e);
    return true;
}

bool LeeEstado(Link& link, EstadoKLV& e, Unit unit)
{
    const Reply status = link.LeeBloque(0);
    if (!status.ok()) {
        e.Comunicado = false;
        e.VerFw1 = e.VerFw2 = e.VerFw3 = 0;
        return false;
    }
    e.Comunicado = true;
    DecodificaBloqueEstado(status.block(), unit, e);

    LeeBanderas(link, e);
    // Block 15 is read for the logger's sake only; its content means nothing here.
    if (link.profile().statusReadsBlock15 && !link.LeeBloque(15).ok()) {
        e.Comunicado = false;
        return false;
    }
    const Reply ident = link.LeeBloque(2);
    if (!ident.ok()) {
        e.Comunicado = false;
        return false;
    }
    DecodificaIdentificacion(ident.block(), e);
    return e.Comunicado;
}

bool ActualizaEstado(Link& link, EstadoKLV& e, Unit unit)
{
    bool ok = true;
    if (link.profile().pollFlagsFirst) {
        ok = LeeBanderas(link, e) && ok;
        ok = LeeEstado(link, e, unit) && ok;
    } else {
        ok = LeeEstado(link, e, unit) && ok;
        ok = LeeBanderas(link, e) && ok;
    }
    e.Comunicado = ok;
    return ok;
}

} // namespace orvan::link
