#include "views/ui/RecordChart.h"

#include "views/ui/Chart.h"

namespace orvan::views::ui {

namespace {
const QColor kBelowColor(0x1f, 0x6f, 0xd1);
const QColor kWithinColor(0x1e, 0x9e, 0x4a);
const QColor kAboveColor(0xd6, 0x2d, 0x2d);
} // namespace

void loadRecordChart(Chart& c, const Puntos& puntos, const Limits& limits, const QDateTime& base)
{
    c.setTimeLabels(base);
    c.setBatch(true);
    c.setSeriesCount(5);
    c.setSeriesStyle(kSeriesBelow, kBelowColor, 1.8);
    c.setSeriesStyle(kSeriesWithin, kWithinColor, 1.8);
    c.setSeriesStyle(kSeriesAbove, kAboveColor, 1.8);
    c.setSeriesStyle(kSeriesLowLimit, kBelowColor.darker(115), 1.4, Qt::DashLine);
    c.setSeriesStyle(kSeriesHighLimit, kAboveColor.darker(115), 1.4, Qt::DashLine);
    c.setPickable(kSeriesLowLimit, false);
    c.setPickable(kSeriesHighLimit, false);
    // The zones out of the limits reach to the samples beside them: a sample out of the limits
    // between two within them shows as a spike in its zone's colour at every zoom level, not as
    // a point with nothing drawn.
    c.setSeriesJoined(kSeriesBelow, true);
    c.setSeriesJoined(kSeriesAbove, true);
    const int n = puntos.NumPuntos();
    c.setPointCount(n);
    for (int i = 1; i <= n; ++i) {
        const Point& p = puntos[i];
        const int curve = seriesOfZone(ClasificaPunto(p.Temp, limits.lo, limits.hi));
        c.setX(i, double(minutesFrom(base, p.Fecha)));
        c.setY(kSeriesLowLimit, i, double(limits.lo));
        c.setY(kSeriesHighLimit, i, double(limits.hi));
        for (int s = kSeriesBelow; s <= kSeriesAbove; ++s)
            c.setY(s, i, s == curve ? double(p.Temp) : Chart::hole());
    }
    c.setBatch(false);
}

double frameRecordChart(Chart& c, const Puntos& puntos, const Limits& limits, const QString& xTitle,
                      const QString& unitText, const QLocale& locale, int first, int last)
{
    const int n = puntos.NumPuntos();
    c.setAxisTitle(Chart::Axis::X, xTitle);
    const int shape = withMarkers(first, last) ? Chart::Dot : Chart::NoMarker;
    for (int s = kSeriesBelow; s <= kSeriesAbove; ++s)
        c.setMarkerShape(s, shape, 6);

    TempRange r = windowRange(puntos, first, last);
    if (r.empty)
        r.min = r.max = (limits.lo + limits.hi) / 2;     // no temperature: frame the limits
    const double yMin = double(r.min) - 2, yMax = double(r.max) + 2;
    const double middle = (double(r.min) + double(r.max)) / 2;
    c.setAxisRange(Chart::Axis::Y, yMin, yMax);
    c.setAxisOrigin(Chart::Axis::Y, yMin);
    c.setAxisTitle(Chart::Axis::Y, unitText);

    const double xMin = n > 0 ? c.x(first) : 0, xMax = n > 0 ? c.x(last) : 0;
    c.setAxisRange(Chart::Axis::X, xMin, xMax);
    const double xMiddle = (xMin + xMax) / 2;
    c.setLabelText(QStringLiteral("Title"), dateTitle(c.dateAt(xMin), c.dateAt(xMax), c.dateAt(xMiddle), locale));
    c.attachLabel(QStringLiteral("Title"), xMiddle, yMax);
    return middle;
}

} // namespace orvan::views::ui
