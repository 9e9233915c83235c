#pragma once
// ProportionsWindow (form frmTorta): the shares of the samples within, above and below the limits
// as pies, with the count and percentage of each zone.

#include "views/ui/ZoneWindow.h"

namespace orvan::views {

class ProportionsWindow : public ZoneWindow {
    Q_OBJECT
public:
    ProportionsWindow(orvan::ui::Workspace& main, const records::MissionRecord& record, QWidget* parent = nullptr);

private:
    void draw() override;
    void DibujaTorta();
};

} // namespace orvan::views
