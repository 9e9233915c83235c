#pragma once
// What the main window's status panel shows, as plain values. The record summary and the live
// logger's summary are computed in the widget-free core; the panel only shows them, and nothing
// but the panel touches its widgets.

#include <QString>
#include <optional>

namespace orvan {

// A picture of the logger pictures' list (1 limit ok, 2 exceeded, 4 no data, 5 push-button,
// 6 set time, 7 recording, 8 circular, 9 connected, 10 no communication, 11 finished, 16 saved,
// 17 not saved) with its tool tip; index 0 shows none.
struct PanelPicture {
    int index = 0;
    QString toolTip;
    bool operator==(const PanelPicture& o) const { return index == o.index && toolTip == o.toolTip; }
};

// The record being studied.
struct RecordPanel {
    QString file;
    QString serial;
    QString start;
    QString end;
    QString interval;
    QString samples;
    QString highLimit;      // " > 8 °C"
    QString lowLimit;       // " < 2 °C"
    QString exporter;
    QString carrier;
    bool highExceeded = false;
    bool lowExceeded = false;
};

// The connected logger. An entry left empty keeps what the panel showed before: the logger
// windows' rules leave some of it as it was.
struct LivePanel {
    std::optional<QString> start, end, samples, interval, temperature, highLimit, lowLimit;
    std::optional<QString> clock, exporter, carrier, serial;
    std::optional<PanelPicture> link, recording, startMode, circular, battery, highAlarm, lowAlarm;
    std::optional<bool> missionShown;   // the group of start, end, interval, samples and limits
    std::optional<bool> serialShown;    // the group of serial number and clock
};

} // namespace orvan
