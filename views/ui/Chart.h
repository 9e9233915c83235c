#pragma once
// The chart of the graph, histogram and proportions views: one X array shared by every series,
// one Y value per series and point, a hole value that leaves a gap, batch changes with a single
// repaint, axes with time labels in minutes from a base date, named labels and cursor lines,
// nearest-point picking and mouse notifications. Line and bar charts are drawn by QCustomPlot;
// pies are painted here. Series and points are numbered from 1, as the views count them.

#include <QColor>
#include <QDateTime>
#include <QLocale>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QWidget>
#include <map>
#include <vector>

class QCustomPlot;
class QCPAbstractPlottable;
class QCPItemStraightLine;
class QCPItemText;
class QCPItemRect;
class QCPLayer;
class QPainter;

namespace orvan::views::ui {

class TimeTicker;

class Chart : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Lines, Bars, Pie };
    enum class Axis { X, Y };
    // Point marker shapes by the values the views use: none, or a dot at every point.
    enum MarkerShape { NoMarker = 1, Dot = 12 };

    explicit Chart(QWidget* parent = nullptr);
    ~Chart() override;

    void setKind(Kind kind);
    Kind kind() const { return m_kind; }

    // --- Series data ---
    // The value a series holds where it has no point: a line is broken there, no bar is drawn.
    static double hole();
    static bool isHole(double y);
    void setSeriesCount(int n);                 // series 1..n, all holes
    int seriesCount() const { return int(m_y.size()); }
    // Sizes X and every series to n points; new points are X 0 and holes.
    void setPointCount(int n);
    int pointCount() const { return int(m_x.size()); }
    void setX(int point, double x);
    void setY(int series, int point, double y);
    double x(int point) const;                  // hole outside 1..pointCount
    double y(int series, int point) const;

    // --- Appearance of a series (design-time choices of each view) ---
    void setSeriesStyle(int series, const QColor& color, qreal width = 1.6, Qt::PenStyle style = Qt::SolidLine);
    void setSeriesName(int series, const QString& name);   // legend and pie captions
    void setMarkerShape(int series, int shape, int size = 6);
    int markerShape(int series) const;
    // Whether picking may return this series (a limit line is not a sample).
    void setPickable(int series, bool pickable);
    // A joined series draws each of its runs on to the neighbouring points of the other pickable
    // series (the samples), so a run of one point shows as a spike and no hole opens where the
    // samples pass into it and out of it; the segments in and out take its colour. Markers stay
    // on its own points.
    void setSeriesJoined(int series, bool joined);
    void setLegendVisible(bool visible);
    void setBarWidth(double width);             // in X units; 0 = from the narrowest X step

    // --- Batch: while on, changes do not repaint; turning it off repaints once ---
    void setBatch(bool on);
    bool batch() const { return m_batch; }
    // Repaints now whatever changed (tests and benchmarks; the views rely on batch off).
    void repaintNow();
    int repaintCount() const { return m_repaints; }

    // --- Axes ---
    void setAxisRange(Axis axis, double min, double max);
    void setAxisMin(Axis axis, double min);
    void setAxisMax(Axis axis, double max);
    double axisMin(Axis axis) const;
    double axisMax(Axis axis) const;
    void setAxisOrigin(Axis axis, double origin);
    double axisOrigin(Axis axis) const;
    void setAxisTitle(Axis axis, const QString& title);
    QString axisTitle(Axis axis) const;
    // Fits an axis to the data at the next repaint (bar charts leave Y to the chart).
    void setAxisAuto(Axis axis, bool autoRange);
    // Y counts things: ticks only at whole numbers.
    void setCountsOnY(bool counts);

    // --- Time labels on X: values are minutes from base ---
    void setTimeLabels(const QDateTime& base);
    QDateTime timeBase() const { return m_base; }
    QDateTime dateAt(double x) const;
    void setLocale(const QLocale& locale);      // names of days and months
    QLocale chartLocale() const { return m_locale; }
    QString formatDate(const QDateTime& t, const QString& pattern) const;

    // --- Named labels ("Title", "lbcursor"); names ignore case ---
    void setLabelText(const QString& name, const QString& text);
    QString labelText(const QString& name) const;
    void attachLabel(const QString& name, double x, double y);       // to a data coordinate
    void attachLabelToPoint(const QString& name, int series, int point);
    void setLabelBackground(const QString& name, const QColor& color);
    QColor labelBackground(const QString& name) const;
    void setLabelVisible(const QString& name, bool visible);
    bool labelVisible(const QString& name) const;
    QPointF labelAnchor(const QString& name) const;                  // data coordinate
    QCPItemText* labelItem(const QString& name);

    // --- Named markers: "X" a vertical line at a data X, "Y" a horizontal one at a data Y ---
    void setMarkerValue(const QString& name, double value);
    double markerValue(const QString& name) const;
    void setMarkerVisible(const QString& name, bool visible);
    bool markerVisible(const QString& name) const;
    QCPItemStraightLine* markerItem(const QString& name);

    // --- Picking and coordinates (pixels of the chart widget) ---
    struct Pick {
        int series = 0;   // 0 when nothing was found
        int point = 0;
    };
    // The point whose X is nearest to the pixel column, and among the series holding a value
    // there the one nearest to the pixel row.
    Pick pick(const QPoint& pixel) const;
    QPointF pixelToData(const QPointF& pixel) const;
    QPointF dataToPixel(const QPointF& data) const;
    QRect plotArea() const;

    // --- A band over the plotting area (pixels), drawn on its own layer ---
    void showBand(const QRect& band);
    void hideBand();
    QRect band() const;

    // --- Pictures ---
    void copyToClipboard();
    QImage toImage(const QSize& size);
    // What a picture holds: everything on screen, or the chart without what follows the
    // pointer (cursor lines, cursor label, zoom band), as a printed page wants it.
    enum class Layers { All, WithoutCursor };
    // Draws the chart into target on any painter (a printer page at its resolution).
    void render(QPainter& painter, const QRectF& target, Layers layers = Layers::All);

    QCustomPlot* plot() const { return m_plot; }   // the widget that receives the mouse

Q_SIGNALS:
    void mousePressed(Qt::MouseButton button, const QPoint& pixel);
    void mouseMoved(Qt::MouseButtons buttons, const QPoint& pixel);
    void mouseReleased(Qt::MouseButton button, const QPoint& pixel);
    void clicked(const QPoint& pixel);       // a press and release without a drag
    // Whole notches of the mouse wheel: positive turned away from the user. Finer steps of a
    // touchpad add up to notches.
    void wheelTurned(int notches, const QPoint& pixel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SeriesStyle {
        QColor color = Qt::black;
        qreal width = 1.6;
        Qt::PenStyle style = Qt::SolidLine;
        QString name;
        int markerShape = NoMarker;
        int size = 6;
        bool pickable = true;
        bool joined = false;
    };
    struct Label;

    // Each part of the widget sets itself up and keeps itself in step (one file each).
    void setUpAxes();
    void setUpCursorLayer();
    void syncSeries();
    void placeLabels();

    void changed(bool dataChanged);
    void cursorChanged();
    void sync();
    void rebuildPlottables();
    void applyStyles();
    void updateTickCount();
    Label& label(const QString& name);
    const Label* labelOrNull(const QString& name) const;
    QCPItemStraightLine* marker(const QString& name) const;
    void placeLabel(Label& e);
    void labelChanged(const Label& e);
    void paintPies(QPainter& painter, const QRectF& area) const;

    QCustomPlot* m_plot = nullptr;
    TimeTicker* m_ticker = nullptr;
    QCPLayer* m_cursorLayer = nullptr;
    QCPItemRect* m_band = nullptr;
    Kind m_kind = Kind::Lines;
    std::vector<double> m_x;
    std::vector<std::vector<double>> m_y;
    std::vector<SeriesStyle> m_series;
    std::vector<QCPAbstractPlottable*> m_plottables;
    std::vector<QCPAbstractPlottable*> m_dotPlottables;   // a line chart's markers, one per series
    std::map<QString, Label*> m_labels;
    std::map<QString, QCPItemStraightLine*> m_markers;
    std::map<QString, double> m_markerValues;
    std::map<QString, bool> m_markerShown;
    double m_originX = 0, m_originY = 0;
    bool m_autoX = false, m_autoY = false;
    double m_barWidth = 0;
    bool m_batch = false;
    bool m_dataDirty = true;
    bool m_styleDirty = true;
    bool m_fullDirty = false;     // something under the cursor layer changed in batch mode
    bool m_cursorDirty = false;   // only the cursor layer changed in batch mode
    int m_repaints = 0;
    QDateTime m_base;
    QLocale m_locale;
    bool m_legend = false;
    QPoint m_pressAt;
    bool m_dragged = false;
    int m_wheelRest = 0;          // wheel turn short of a notch
};

} // namespace orvan::views::ui
