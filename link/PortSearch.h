#pragma once
// Finding the port where a logger answers the presence probe.

#include "link/Link.h"
#include "link/PortDirectory.h"

#include <QList>
#include <optional>

namespace orvan::link {

// Tries each usable port in order: opens it and sends the probe up to five times; a port where
// two probes in a row are answered by a lone 0x14 holds a logger. It is left open and its COM
// number returned. Any other answer rules the port out at once, and so does any port error
// while it is tried (logged at debug level only, never shown: the search goes on with the next
// candidate). Otherwise every candidate is closed again and nothing is returned; the link's
// port then keeps the last candidate's device, so later exchanges reopen that one. Stops as
// soon as the link's closing flag is set.
std::optional<int> BuscaPuerto(Link& link, const QList<DetectedPort>& ports);

} // namespace orvan::link
