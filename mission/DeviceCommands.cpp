#include "mission/DeviceCommands.h"

#include "base/Ansi.h"

#include <algorithm>

namespace orvan::mission {

namespace {

constexpr int kNamesAddress = 64;
constexpr int kSliceMs = 50;

} // namespace

bool waitUnlessClosing(link::Link& link, int ms)
{
    for (int left = ms; left > 0; left -= kSliceMs) {
        if (link.closing())
            return false;
        link.clock().sleepMs(std::min(left, kSliceMs));
    }
    return !link.closing();
}

bool MarcaGuardado(link::Link& link, const link::EstadoKLV& estado, quint8 mark)
{
    QByteArray block = ansiFixed(estado.Exportador, 12) + ansiFixed(estado.Transportador, 12);
    block.append(char(mark));
    for (int i = 0; i < block.size(); ++i) {
        if (!link.EscribeByteCorto(kNamesAddress + i, quint8(block.at(i))))
            return false;
    }
    return true;
}

bool markDownloadSaved(link::Link& link, const link::EstadoKLV& estado)
{
    if (!MarcaGuardado(link, estado, 1))
        return false;
    if (!waitUnlessClosing(link, kWritePauseMs))
        return false;
    // Or-ed rather than added: a logger already marked keeps its other bits.
    return link.EscribeByte(kStatusAddress, quint8(estado.EstadoByte | kBitGuardado));
}

bool DetieneMision(link::Link& link, const link::EstadoKLV& estado)
{
    const bool sent = link.EscribeByte(kStatusAddress, quint8(estado.EstadoByte & ~kBitRegistrando));
    // The logger acts on the write before the next poll reads the status.
    waitUnlessClosing(link, kWritePauseMs);
    return sent;
}

int eraseStepValue(int step)
{
    return step >= kEraseSteps ? kEraseMaximum : 200 * step;
}

EraseResult BorraMemoria(link::Link& link, const EraseProgress& progress, int stepMs)
{
    if (!link.EscribeByte(kModeAddress, kEraseKey) || !waitUnlessClosing(link, kWritePauseMs))
        return link.closing() ? EraseResult::Cancelled : EraseResult::NoAnswer;
    if (!link.EnviaBorrado())
        return link.closing() ? EraseResult::Cancelled : EraseResult::NoAnswer;

    // The logger clears its flash without answering; the wait gives it the time it needs.
    if (progress)
        progress(0, kEraseMaximum);
    for (int step = 1; step <= kEraseSteps; ++step) {
        if (!waitUnlessClosing(link, stepMs))
            return EraseResult::Cancelled;
        // A look at the port at every step: a cable pulled during the wait is told now rather
        // than at its end. Whether the logger erased, only the logger could say.
        link.VaciaBuff();
        if (link.closing())
            return link.failed() ? EraseResult::NoAnswer : EraseResult::Cancelled;
        if (progress)
            progress(eraseStepValue(step), kEraseMaximum);
    }

    // Only the logger can tell whether the erase happened.
    const link::Reply flags = link.LeeBloque(8);
    if (flags.status == link::ReplyStatus::Cancelled)
        return EraseResult::Cancelled;
    if (!flags.ok())
        return EraseResult::NoAnswer;
    link::EstadoKLV e;
    link::DecodificaBanderas(flags.block(), e);
    return e.SinDatos ? EraseResult::Ok : EraseResult::NotErased;
}

QString eraseMessage(EraseResult result)
{
    switch (result) {
    case EraseResult::Ok:
        return QStringLiteral("Memoria borrada satisfactoriamente");
    case EraseResult::NoAnswer:
        return QStringLiteral("Error! El equipo no responde después del borrado; la memoria puede no estar borrada");
    case EraseResult::NotErased:
        return QStringLiteral("Error! El equipo conserva datos; la memoria no fue borrada");
    case EraseResult::Cancelled:
        break;
    }
    return {};
}

} // namespace orvan::mission
