#pragma once
// What the status panel of the main window shows for a status snapshot (PoneResumen), as a
// value: each window applies it to the panel's controls. The two logger windows have their own
// rules; both leave some controls as they were, which is why every entry is optional.

#include "link/LoggerStatus.h"
#include "base/TextTable.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace orvan::link {

enum class SummaryCopy {
    frmsave,   // device-data window
    frmPrep,   // preparation window
};

// Picture of the link windows' picture list and its tool tip; index 0 clears the picture.
struct PanelPicture {
    int index = 0;
    QString toolTip;
    bool operator==(const PanelPicture& o) const { return index == o.index && toolTip == o.toolTip; }
};

// The device-data window's command availability; kept between polls.
struct CommandAvailability {
    bool PuedeDetener = false;
    bool PuedeAlmacenar = false;
    bool PuedePreparar = false;
};

// Each member is named after the control it sets; std::nullopt leaves the control as it was.
struct StatusSummary {
    // Labels of FrameComm.
    std::optional<QString> lbHoraInicioX, lbHoraFinX, lbNumMuestrasX, lbRangoX, lbTempActualX;
    std::optional<QString> lbAlarHiX, lbAlarLowX, lbHoraActualX, lbexportX, lbTransportX, lbNumserX;
    // Pictures (with tool tips).
    std::optional<PanelPicture> imgKLV, imgRec, imgStartmode, imgOver, imgBat, ImgHiAlarX, imgLoAlarX;
    // Frame visibility; framePrepara is the preparation window's own frame.
    std::optional<bool> Frame3X, FrameSerial, framePrepara;

    // Device-data window: the availability after this poll and the enabled state of its buttons.
    CommandAvailability availability;
    std::optional<bool> cmdAlmacena, cmdClear, cmdStop, cmdPrepara;
    // Preparation window: its accept button must be disabled (no communication).
    bool disableCmndAbrir = false;
};

// The text a start or end label shows when no time applies.
inline QString noDateText() { return QStringLiteral("--/--/--  --:--"); }

// unit is " °C" or " °F"; textos supplies the tool tips in the current language; now is the
// PC's clock for lbHoraActualX; before is the device-data window's availability before the poll.
StatusSummary PoneResumen(const EstadoKLV& e, const QString& unit, const TextTable& textos,
                    const QDateTime& now, SummaryCopy copy, CommandAvailability before = {});

// The configuration dialog's firmware button: "Version de Firmware 2.1.3" when all three numbers
// are 1 or more, otherwise the request to connect first (a version read as 0 means no reading).
QString firmwareMessage(int verFw1, int verFw2, int verFw3);

} // namespace orvan::link
