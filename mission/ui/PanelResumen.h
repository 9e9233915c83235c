#pragma once
// Writes a status summary of the live logger into the main window's status panel. Both logger
// windows use it; a summary entry that is empty leaves its control as it was.

#include "link/StatusSummary.h"

namespace orvan::ui { class StatusPanel; }

namespace orvan::mission {

void aplicaResumen(ui::StatusPanel& panel, const link::Resumen& resumen);

} // namespace orvan::mission
