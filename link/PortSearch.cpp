#include "link/PortSearch.h"

#include <exception>

namespace orvan::link {

namespace {

constexpr int kProbeAttempts = 5;
// A logger answers every probe: two answers in a row, so that one stray 0x14 on a quiet but
// noisy line is not taken for one.
constexpr int kAnswersNeeded = 2;

void closeQuietly(SerialPort& port)
{
    try {
        if (port.isOpen())
            port.close();
    } catch (const RuntimeError&) {
        // Nothing more to do with a port that is being left.
    }
}

} // namespace

std::optional<int> BuscaPuerto(Link& link, const QList<DetectedPort>& ports)
{
    SerialPort& port = link.port();
    for (const DetectedPort& candidate : ports) {
        if (link.closing())
            break;
        if (!candidate.usable)
            continue;
        closeQuietly(port);
        port.setPortName(candidate.device);
        // Any failure of this candidate (open, discard, write, read) only rules it out: a logger
        // may still sit on a later port.
        try {
            port.open();
            int answers = 0;
            for (int attempt = 0; attempt < kProbeAttempts && !link.closing(); ++attempt) {
                const ProbeResult heard = link.Sondea();
                if (heard == ProbeResult::Other) {
                    qCDebug(lcLink).noquote() << candidate.device << "skipped: not a logger's answer";
                    break;
                }
                answers = heard == ProbeResult::Logger ? answers + 1 : 0;
                if (answers == kAnswersNeeded)
                    return candidate.com;
            }
        } catch (const RuntimeError& e) {
            qCDebug(lcLink).noquote() << candidate.device << "skipped:" << e.number << e.description;
        } catch (const std::exception& e) {
            qCDebug(lcLink).noquote() << candidate.device << "skipped:" << e.what();
        }
        closeQuietly(port);
    }
    return std::nullopt;
}

} // namespace orvan::link
