#pragma once
// The colours of the three limit zones, the same in every view of a record: the cell and slice
// fills, and the text colours that stand out on white.

#include "views/ZoneCounts.h"

#include <QColor>

namespace orvan::views {

// Fills: within green, above light red, below cyan.
inline QColor zoneColor(Zone z)
{
    switch (z) {
    case Above: return QColor(255, 192, 192);
    case Below: return QColor(0, 255, 255);
    case Within: break;
    }
    return QColor(0, 255, 0);
}

// Text on white: within black, above red, below blue.
inline QColor zoneTextColor(Zone z)
{
    switch (z) {
    case Above: return QColor(255, 0, 0);
    case Below: return QColor(0, 0, 255);
    case Within: break;
    }
    return QColor(0, 0, 0);
}

} // namespace orvan::views
