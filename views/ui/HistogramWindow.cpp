#include "views/ui/HistogramWindow.h"

#include "base/AppContext.h"
#include "records/MissionRecord.h"
#include "views/ui/Chart.h"

#include <QFrame>
#include <QHBoxLayout>

namespace orvan::views {

HistogramWindow::HistogramWindow(orvan::ui::Workspace& main, const records::MissionRecord& record, QWidget* parent)
    : ZoneWindow(main, record, CountView::Histogram, QStringLiteral("frmHisto"), Text::Histogram, parent)
{
    PoneResultados();
}

void HistogramWindow::draw()
{
    DibujaHistograma();
}

void HistogramWindow::DibujaHistograma()
{
    // Every sample is held: the first panel takes the whole width.
    if (!showsSecondPanel(m_record))
        Frame2->hide();

    const QString unit = m_app.UnidadTexto();
    for (int c = 0; c < 2; ++c) {
        ui::Chart* chart = c == 0 ? Chart2D1 : Chart2D2;
        chart->setBatch(true);
        chart->setKind(ui::Chart::Kind::Bars);
        colorZones(chart);
        chart->setAxisTitle(ui::Chart::Axis::X, unit);
        chart->setAxisAuto(ui::Chart::Axis::X, true);
        chart->setAxisAuto(ui::Chart::Axis::Y, true);
        chart->setCountsOnY(true);
        // AgregaBarra: one point per non-empty bin, its count in the series of its zone.
        const QVector<Bar> bars = Bars(m_counts, c, m_record, m_app.unit());
        chart->setPointCount(int(bars.size()));
        int n = 0;
        for (const Bar& b : bars) {
            ++n;
            chart->setX(n, b.x);
            chart->setY(int(b.zone) + 1, n, b.count);
        }
        chart->setBatch(false);
    }
}

} // namespace orvan::views
