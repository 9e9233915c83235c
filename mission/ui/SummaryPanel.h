#pragma once
// Writes a status summary of the live logger into the main window's status panel. Both logger
// windows use it; a summary entry that is empty leaves its control as it was.

#include "link/StatusSummary.h"

namespace orvan::ui { class StatusPanel; class Workspace; }

namespace orvan::mission {

void applySummary(ui::StatusPanel& panel, const link::StatusSummary& summary);

// A logger window has let go of the logger: the panel shows the maker picture again and Connect
// is offered.
void showLinkEnded(ui::Workspace& main);

} // namespace orvan::mission
