#pragma once
// Window geometry is laid out in twips (1/1440 inch) so that it scales with the screen.

namespace orvan::ui {

// Twips to pixels at the screen's resolution (15 twips per pixel at 96 dpi).
int twipsToPixels(int twips);

} // namespace orvan::ui
