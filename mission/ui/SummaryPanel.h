#pragma once
// What both logger windows do to the main window when they let go of the logger.

namespace orvan::ui { class Workspace; }

namespace orvan::mission {

// A logger window has let go of the logger: the panel rests with the maker picture again and
// Connect is offered.
void showLinkEnded(ui::Workspace& main);

} // namespace orvan::mission
