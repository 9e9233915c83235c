#pragma once
// HistogramWindow (form frmHisto): how the samples are distributed over temperature, one bar per
// value that occurs, coloured by zone, with the count and percentage of each zone.

#include "views/ui/ZoneWindow.h"

namespace orvan::views {

class HistogramWindow : public ZoneWindow {
    Q_OBJECT
public:
    HistogramWindow(orvan::ui::Workspace& main, const records::MissionRecord& record, QWidget* parent = nullptr);

private:
    void draw() override;
    void DibujaHistograma();
};

} // namespace orvan::views
