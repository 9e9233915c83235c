#include "mission/ui/SummaryPanel.h"

#include "base/ui/StatusPanel.h"
#include "base/ui/Workspace.h"

namespace orvan::mission {

void showLinkEnded(ui::Workspace& main)
{
    if (ui::StatusPanel* panel = main.panel())
        panel->showRest();
    main.setConnectEnabled(true);
}

} // namespace orvan::mission
