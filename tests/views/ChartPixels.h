#pragma once
// What a person sees of the graph, read from its pixels: samples drawn beyond the limit lines, on
// screen or on a printed page, and the record with one excursion each way that shows them.

#include "views/GraphRecords.h"

#include <QImage>
#include <QRect>
#include <vector>

namespace orvan::views::graphdata {

// 2400 samples at 5.0 °C every 15 minutes, limits 2 and 8 °C, but sample 600 at 15.0 °C and
// sample 1200 at -5.0 °C: the graph's points 601 and 1201.
inline records::MissionRecord spikeRecord()
{
    std::vector<int> samples(2400, 90);
    samples[600] = 110;
    samples[1200] = 70;
    return recordOf(samples);
}

inline bool reddish(const QColor& c)
{
    return c.red() > 140 && c.red() - c.green() > 80 && c.red() - c.blue() > 80;
}

inline bool bluish(const QColor& c)
{
    return c.blue() > 150 && c.blue() - c.red() > 90 && c.blue() - c.green() > 40;
}

// Pixels of the above-limit colour over the high-limit line and of the below-limit colour under
// the low-limit line, within region. Each limit line is the row holding most pixels of its
// colour; a few rows around it are its own thickness.
struct Excursions {
    int redAbove = 0;
    int blueBelow = 0;
};

inline Excursions excursions(const QImage& image, const QRect& region)
{
    const QRect r = region.intersected(image.rect());
    int highRow = -1, lowRow = -1, bestRed = 0, bestBlue = 0;
    std::vector<int> reds(size_t(r.height()), 0), blues(size_t(r.height()), 0);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        int red = 0, blue = 0;
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += reddish(c);
            blue += bluish(c);
        }
        reds[size_t(y - r.top())] = red;
        blues[size_t(y - r.top())] = blue;
        if (red > bestRed)
            bestRed = red, highRow = y;
        if (blue > bestBlue)
            bestBlue = blue, lowRow = y;
    }
    Excursions e;
    const int line = std::max(3, r.height() / 150);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        if (highRow >= 0 && y < highRow - line)
            e.redAbove += reds[size_t(y - r.top())];
        if (lowRow >= 0 && y > lowRow + line)
            e.blueBelow += blues[size_t(y - r.top())];
    }
    return e;
}

} // namespace orvan::views::graphdata
