#pragma once
// frmHisto: how the samples are distributed over temperature, one bar per value that occurs,
// coloured by zone, with the count and percentage of each zone.

#include "views/ui/ZoneWindow.h"

namespace orvan::views {

class frmHisto : public ZoneWindow {
    Q_OBJECT
public:
    frmHisto(orvan::ui::Workspace& main, const records::MissionRecord& record, QWidget* parent = nullptr);

private:
    void draw() override;
    void DibujaHistograma();
};

} // namespace orvan::views
