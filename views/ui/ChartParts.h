#pragma once
// What the chart's source files share and its header keeps out of sight: the time ticker, the
// state of a named label, the key names are looked up by, and the grid colour the legend's frame
// repeats.

#include "views/ui/Chart.h"
#include "views/ui/QCustomPlotInclude.h"

namespace orvan::views::ui {

// Ticks of an X axis that holds minutes from a base date; without a base it is a plain axis.
class TimeTicker : public QCPAxisTicker {
public:
    QDateTime base;
    QLocale locale;
    int maxMarks = 8;

    void generate(const QCPRange& range, const QLocale& loc, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks, QVector<QString>* tickLabels) override;
};

struct Chart::Label {
    QCPItemText* item = nullptr;
    bool toPoint = false;
    int series = 0, point = 0;
    double x = 0, y = 0;
    QColor background = Qt::white;
};

// Label and marker names ignore case.
inline QString nameKey(const QString& name) { return name.toLower(); }

inline const QColor kGridColor(0xe3, 0xe6, 0xeb);

} // namespace orvan::views::ui
