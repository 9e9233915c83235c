#pragma once
// What the status panel shows of the connected logger for a status snapshot (PoneResumen), as
// plain values, and which of the device-data window's commands it allows. The two logger windows
// have their own rules; both leave some of the panel as it was, which is why every entry is
// optional.

#include "base/PanelValues.h"
#include "base/TextTable.h"
#include "link/LoggerStatus.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace orvan::mission {

enum class SummaryCopy {
    frmsave,   // device-data window
    frmPrep,   // preparation window
};

// The device-data window's command availability; kept between polls.
struct CommandAvailability {
    bool canStop = false;
    bool canStore = false;
    bool canPrepare = false;
};

struct LiveSummary {
    LivePanel panel;
    // The preparation window's own frame of choices.
    std::optional<bool> prepareFrame;

    // Device-data window: the availability after this poll and the enabled state of its buttons;
    // an empty entry leaves the button as it was.
    CommandAvailability availability;
    std::optional<bool> storeButton, eraseButton, stopButton, prepareButton;
    // Preparation window: its accept button must be disabled (no communication).
    bool disableAccept = false;
};

// The text a start or end label shows when no time applies.
inline QString noDateText() { return QStringLiteral("--/--/--  --:--"); }

// unit is " °C" or " °F"; textos supplies the tool tips in the current language; now is the
// PC's clock; before is the device-data window's availability before the poll.
LiveSummary PoneResumen(const link::EstadoKLV& e, const QString& unit, const TextTable& textos, const QDateTime& now,
                        SummaryCopy copy, CommandAvailability before = {});

// The configuration dialog's firmware button: "Version de Firmware 2.1.3" when all three numbers
// are 1 or more, otherwise the request to connect first (a version read as 0 means no reading).
QString firmwareMessage(int verFw1, int verFw2, int verFw3);

} // namespace orvan::mission
