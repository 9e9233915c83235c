#pragma once
// What a person sees of the graph, read from its pixels: samples drawn beyond the limit lines, on
// screen or on a printed page, and the record with one excursion each way that shows them.

#include "views/TestRecords.h"

#include <QImage>
#include <algorithm>
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
    std::vector<int> reds, blues;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        int red = 0, blue = 0;
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 140 && c.red() - c.green() > 80 && c.red() - c.blue() > 80;
            blue += c.blue() > 150 && c.blue() - c.red() > 90 && c.blue() - c.green() > 40;
        }
        reds.push_back(red);
        blues.push_back(blue);
    }
    const int line = std::max(3, r.height() / 150);
    const int highRow = int(std::max_element(reds.begin(), reds.end()) - reds.begin());
    const int lowRow = int(std::max_element(blues.begin(), blues.end()) - blues.begin());
    Excursions e;
    for (int y = 0; y < int(reds.size()); ++y) {
        e.redAbove += y < highRow - line ? reds[size_t(y)] : 0;
        e.blueBelow += y > lowRow + line ? blues[size_t(y)] : 0;
    }
    return e;
}

} // namespace orvan::views::graphdata
