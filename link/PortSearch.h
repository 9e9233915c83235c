#pragma once
// Finding the port where a logger answers the presence probe.

#include "link/Link.h"
#include "link/PortDirectory.h"

#include <QList>
#include <optional>

namespace orvan::link {

// Tries each usable port in order: opens it and sends the probe up to five times. On an answer
// the port is left open and its COM number returned. Otherwise every candidate is closed again
// and nothing is returned; the link's port then keeps the last candidate's device, so later
// exchanges reopen that one. A candidate that fails to open or errs during the probe counts as
// silent. Stops as soon as the link's closing flag is set.
std::optional<int> BuscaPuerto(Link& link, const QList<DetectedPort>& ports);

} // namespace orvan::link
