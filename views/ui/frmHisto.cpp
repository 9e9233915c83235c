#include "views/ui/frmHisto.h"

#include "base/AppContext.h"
#include "records/MissionRecord.h"
#include "views/ui/Chart.h"

#include <QFrame>
#include <QHBoxLayout>

namespace orvan::views {

frmHisto::frmHisto(orvan::ui::Workspace& main, const records::MissionRecord& record, QWidget* parent)
    : ZoneWindow(main, record, Vista::Histograma, QStringLiteral("frmHisto"), 11, parent)
{
    PoneResultados();
}

void frmHisto::dibuja()
{
    DibujaHistograma();
}

void frmHisto::DibujaHistograma()
{
    // Every sample is held: the first panel takes the whole width.
    if (!muestraSegundoPanel(m_record))
        Frame2->hide();

    const QString unidad = m_app.UnidadTexto();
    for (int c = 0; c < 2; ++c) {
        ui::Chart* chart = c == 0 ? Chart2D1 : Chart2D2;
        chart->setBatch(true);
        chart->setTipo(ui::Chart::Tipo::Barras);
        colorea(chart);
        chart->setAxisTitle(ui::Chart::Eje::X, unidad);
        chart->setAxisAuto(ui::Chart::Eje::X, true);
        chart->setAxisAuto(ui::Chart::Eje::Y, true);
        // AgregaBarra: one point per non-empty bin, its count in the series of its zone.
        const QVector<Barra> barras = Barras(m_counts, c, m_record, m_app.config.GradosC);
        chart->setPointCount(int(barras.size()));
        int n = 0;
        for (const Barra& b : barras) {
            ++n;
            chart->setX(n, b.x);
            chart->setY(int(b.zona) + 1, n, b.cuenta);
        }
        chart->setBatch(false);
    }
}

} // namespace orvan::views
