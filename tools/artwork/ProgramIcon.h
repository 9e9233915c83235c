#pragma once
// The program's icon for the desktop's menus and file managers: the KLV-100 with a temperature
// trace on its display, on a cold-blue tile.

#include <QImage>

namespace orvan::artwork {

// A square icon of `size` pixels with a transparent surround.
QImage paintProgramIcon(int size);

} // namespace orvan::artwork
