#pragma once
// The archive's pictures, painted like the toolbar's: on a 32 x 32 canvas in the application's
// palette, at every size a style asks for.

#include "archive/Archive.h"

#include <QIcon>
#include <QPixmap>

namespace orvan::archive::ui {

// The Archive button: a filing drawer of record cards under a magnifying glass.
QIcon archiveIcon();
// The warning cell of a record whose file changed or went missing; a null pixmap for any other
// state.
QPixmap placeStatePicture(PlaceState state, int size = 16);

} // namespace orvan::archive::ui
