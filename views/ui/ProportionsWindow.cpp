#include "views/ui/ProportionsWindow.h"

#include "records/MissionRecord.h"
#include "views/ui/Chart.h"

#include <QBoxLayout>
#include <QFrame>

namespace orvan::views {

ProportionsWindow::ProportionsWindow(orvan::ui::Workspace& main, const records::MissionRecord& record, QWidget* parent)
    : ZoneWindow(main, record, CountView::Proportions, QStringLiteral("frmTorta"), Text::Proportions, parent)
{
    PoneResultados();
}

void ProportionsWindow::draw()
{
    DibujaTorta();
}

void ProportionsWindow::DibujaTorta()
{
    // Every sample is held: the one pie keeps its width, centred where the two would stand.
    if (!showsSecondPanel(m_record)) {
        Frame2->hide();
        if (auto* row = qobject_cast<QBoxLayout*>(Frame1->parentWidget()->layout()->itemAt(0)->layout())) {
            row->insertStretch(0, 1);
            row->addStretch(1);
            row->setStretchFactor(Frame1, 2);
        }
    }
    for (int c = 0; c < 2; ++c) {
        ui::Chart* chart = c == 0 ? Chart2D1 : Chart2D2;
        chart->setBatch(true);
        chart->setKind(ui::Chart::Kind::Pie);
        colorZones(chart);
        chart->setPointCount(1);
        chart->setY(1, 1, m_counts.Cuentas[size_t(c)][Within]);
        chart->setY(2, 1, m_counts.Cuentas[size_t(c)][Above]);
        chart->setY(3, 1, m_counts.Cuentas[size_t(c)][Below]);
        chart->setBatch(false);
    }
}

} // namespace orvan::views
