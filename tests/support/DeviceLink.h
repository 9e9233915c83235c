#pragma once
// A window's link on a real serial device through QSerialPort, on the system clock; messages in sink.

#include "base/MessageSink.h"
#include "link/Link.h"
#include "link/LinkClock.h"
#include "link/QtSerialPort.h"

#include <atomic>

namespace orvan::test {

struct DeviceLink {
    DeviceLink(const QString& device, const link::LinkProfile& profile) : link(port, clock, closing, profile, sink)
    {
        port.setPortName(device);
    }
    link::QtSerialPort port;
    link::SystemClock clock;
    std::atomic<bool> closing{false};
    RecordingSink sink;
    link::Link link;
};

} // namespace orvan::test
