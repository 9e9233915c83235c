#include "mission/DeviceCommands.h"

#include "base/AddedTexts.h"
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

namespace {

QByteArray markBlock(const link::EstadoKLV& estado, quint8 mark)
{
    QByteArray block = ansiFixed(estado.Exportador, 12) + ansiFixed(estado.Transportador, 12);
    block.append(char(mark));
    return block;
}

// One read of a block; its 32 bytes, or nothing (status says why).
std::optional<QByteArray> readOnce(link::Link& link, int block, link::ReplyStatus& status)
{
    const link::Reply r = link.LeeBloque(block);
    status = r.status;
    if (!r.ok())
        return std::nullopt;
    return r.block();
}

} // namespace

bool MarcaGuardado(link::Link& link, const link::EstadoKLV& estado, quint8 mark)
{
    const QByteArray block = markBlock(estado, mark);
    for (int i = 0; i < block.size(); ++i) {
        if (!link.EscribeByteCorto(kNamesAddress + i, quint8(block.at(i))))
            return false;
    }
    return true;
}

MarkResult markDownloadSaved(link::Link& link, const link::EstadoKLV& estado)
{
    const auto stopped = [&] { return link.closing() && !link.failed() ? MarkResult::Cancelled : MarkResult::NotSent; };
    // Or-ed rather than added: a logger already marked keeps its other bits.
    const quint8 status = quint8(estado.EstadoByte | kBitGuardado);
    if (!MarcaGuardado(link, estado, 1) || !waitUnlessClosing(link, kWritePauseMs)
        || !link.EscribeByte(kStatusAddress, status))
        return stopped();
    // The logger acts on the writes before it answers the read-back.
    if (!waitUnlessClosing(link, kWritePauseMs))
        return stopped();

    link::ReplyStatus how{};
    const auto names = readOnce(link, kNamesAddress / link::kBlockSize, how);
    const auto flags = names ? readOnce(link, kStatusAddress / link::kBlockSize, how) : std::nullopt;
    if (!names || !flags)
        return how == link::ReplyStatus::Cancelled ? MarkResult::Cancelled : MarkResult::NotConfirmed;
    const QByteArray written = markBlock(estado, 1);
    const bool kept = names->left(written.size()) == written
        && quint8(flags->at(kStatusAddress % link::kBlockSize)) == status;
    return kept ? MarkResult::Marked : MarkResult::NotConfirmed;
}

QString markFailedMessage(const QString& file, int idioma)
{
    return addedText(AddedText::MarkNotConfirmed, idioma).arg(file);
}

bool DetieneMision(link::Link& link, const link::EstadoKLV& estado)
{
    const bool sent = link.EscribeByte(kStatusAddress, quint8(estado.EstadoByte & ~kBitRegistrando));
    // The logger acts on the write before the next poll reads the status.
    waitUnlessClosing(link, kWritePauseMs);
    return sent;
}

StopResult stopVerified(link::Link& link, const link::EstadoKLV& estado)
{
    StopResult r;
    if (!DetieneMision(link, estado)) {
        r.outcome = link.closing() && !link.failed() ? StopResult::Outcome::Cancelled : StopResult::Outcome::NotSent;
        return r;
    }
    link::ReplyStatus how{};
    const auto flags = readOnce(link, kStatusAddress / link::kBlockSize, how);
    if (!flags) {
        r.outcome = how == link::ReplyStatus::Cancelled ? StopResult::Outcome::Cancelled : StopResult::Outcome::NoAnswer;
        return r;
    }
    r.estadoByte = quint8(flags->at(kStatusAddress % link::kBlockSize));
    r.outcome = r.estadoByte & kBitRegistrando ? StopResult::Outcome::StillRecording : StopResult::Outcome::Stopped;
    return r;
}

QString stopMessage(StopResult::Outcome outcome, int idioma)
{
    switch (outcome) {
    case StopResult::Outcome::NotSent:
    case StopResult::Outcome::StillRecording:
        return addedText(AddedText::StopNotStopped, idioma);
    case StopResult::Outcome::NoAnswer:
        return addedText(AddedText::StopNoAnswer, idioma);
    case StopResult::Outcome::Stopped:
    case StopResult::Outcome::Cancelled:
        break;
    }
    return {};
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

QString eraseMessage(EraseResult result, int idioma)
{
    switch (result) {
    case EraseResult::Ok:
        return QStringLiteral("Memoria borrada satisfactoriamente");
    case EraseResult::NoAnswer:
        return addedText(AddedText::EraseNoAnswer, idioma);
    case EraseResult::NotErased:
        return addedText(AddedText::EraseNotErased, idioma);
    case EraseResult::Cancelled:
        break;
    }
    return {};
}

std::optional<QString> unsavedRefusal(const link::EstadoKLV& estado, int idioma)
{
    if (estado.SinDatos || estado.Guardado || estado.NumMuestras <= 0)
        return std::nullopt;
    return addedText(AddedText::EraseUnsaved, idioma).arg(estado.NumMuestras);
}

} // namespace orvan::mission
