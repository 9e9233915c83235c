#include "link/PortSearch.h"

namespace orvan::link {

namespace {

constexpr int kProbeAttempts = 5;

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
        try {
            port.open();
            for (int attempt = 0; attempt < kProbeAttempts && !link.closing(); ++attempt) {
                if (link.Sondea())
                    return candidate.com;
            }
        } catch (const RuntimeError& e) {
            qCDebug(lcLink).noquote() << candidate.device << "skipped:" << e.description;
        }
        closeQuietly(port);
    }
    return std::nullopt;
}

} // namespace orvan::link
