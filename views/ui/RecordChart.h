#pragma once
// The temperature chart of a record as the graph shows it: each zone in its own colour, the two
// limits as dashed lines, time on X in minutes from the first sample. The graph window and the
// printed pages load and frame the chart through here, so that paper shows what the screen does.

#include "views/GraphPoints.h"

#include <QDateTime>
#include <QLocale>

namespace orvan { class TextTable; }

namespace orvan::views::ui {

class Chart;

// The chart's five series.
enum RecordSeries { kSeriesBelow = 1, kSeriesWithin = 2, kSeriesAbove = 3, kSeriesLowLimit = 4, kSeriesHighLimit = 5 };

// Loads every point into the chart in one batch: each point's temperature in the series of its
// zone, holes in the other two, and the limits as flat lines.
void loadRecordChart(Chart& chart, const Puntos& puntos, const Limits& limits, const QDateTime& base);

// Frames points first..last (1-based, inside the points loaded): the axis titles, a Y range
// 2 degrees beyond the window's temperatures (or around the limits when it has none), the X
// range and the date title. The caller holds the chart in batch mode. Returns the temperature
// halfway up the window's samples, where the graph window picks the points at its edges.
double frameRecordChart(Chart& chart, const Puntos& puntos, const Limits& limits, const QString& xTitle,
                      const QString& unitText, const QLocale& locale, int first, int last);

} // namespace orvan::views::ui
