#include "views/ui/ZoneWindow.h"

#include "base/AppContext.h"
#include "base/ui/Workspace.h"
#include "records/MissionRecord.h"
#include "views/ui/Chart.h"
#include "views/ui/ViewWindow.h"
#include "views/ui/ZoneColors.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace orvan::views {

namespace {

QLabel* zoneCaption(QWidget* parent, QVBoxLayout* rows, const QString& name, Zone zone)
{
    // A caption sits in a row behind a swatch of its zone's colour, which ties it to its bars or
    // slice; hiding the caption hides the row.
    auto* row = new QWidget(parent);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(8);
    auto* l = new QLabel(row);
    l->setObjectName(name);
    const int side = l->fontMetrics().height();
    QPixmap sample(side, side);
    sample.fill(zoneColor(zone));
    QPainter p(&sample);
    p.setPen(zoneColor(zone).darker(140));
    p.drawRect(0, 0, side - 1, side - 1);
    p.end();
    auto* color = new QLabel(row);
    color->setPixmap(sample);
    h->addWidget(color);
    h->addWidget(l, 1);
    rows->addWidget(row);
    return l;
}

// A zone with samples whose share rounds to 0 % reads "< 1 %": "0 %" beside a count of samples
// reads as none of them.
QString smallShare(QString caption, qint32 count, qint32 percent)
{
    if (count <= 0 || percent != 0)
        return caption;
    static const QRegularExpression zero(QStringLiteral("(^|\\D)0 %"));
    QRegularExpressionMatch last;
    for (auto it = zero.globalMatch(caption); it.hasNext();)
        last = it.next();
    if (last.hasMatch())
        caption.replace(last.capturedStart(0), last.capturedLength(0), last.captured(1) + QStringLiteral("< 1 %"));
    return caption;
}

} // namespace

ZoneWindow::ZoneWindow(orvan::ui::Workspace& main, const records::MissionRecord& record, CountView view,
                       const QString& name, Text title, QWidget* parent)
    : QWidget(parent), m_app(main.app()), m_record(record), m_view(view)
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_app.textos[title]);
    buildControls();
}

QFrame* ZoneWindow::panel(int row, ui::Chart*& chart)
{
    auto* frame = new QFrame(this);
    frame->setObjectName(row == 0 ? QStringLiteral("Frame1") : QStringLiteral("Frame2"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    QPalette white = frame->palette();
    white.setColor(QPalette::Window, Qt::white);
    frame->setPalette(white);

    lbCantMuestras[size_t(row)] = new QLabel(frame);
    lbCantMuestras[size_t(row)]->setObjectName(QStringLiteral("lbCantMuestras_%1").arg(row));
    lbCantMuestras[size_t(row)]->setAlignment(Qt::AlignCenter);
    QFont bold = lbCantMuestras[size_t(row)]->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.1);
    lbCantMuestras[size_t(row)]->setFont(bold);

    chart = new ui::Chart(frame);
    chart->setObjectName(row == 0 ? QStringLiteral("Chart2D1") : QStringLiteral("Chart2D2"));
    chart->setMinimumSize(240, 200);

    auto* captionBox = new QVBoxLayout;
    captionBox->setSpacing(4);
    lbMueMay[size_t(row)] = zoneCaption(frame, captionBox, QStringLiteral("lbMueMay_%1").arg(row), Above);
    lbMueOk[size_t(row)] = zoneCaption(frame, captionBox, QStringLiteral("lbMueOk_%1").arg(row), Within);
    lbMueMen[size_t(row)] = zoneCaption(frame, captionBox, QStringLiteral("lbMueMen_%1").arg(row), Below);
    auto* centered = new QHBoxLayout;
    centered->addStretch(1);
    centered->addLayout(captionBox);
    centered->addStretch(1);

    auto* v = new QVBoxLayout(frame);
    v->setContentsMargins(10, 10, 10, 10);
    v->addWidget(lbCantMuestras[size_t(row)]);
    v->addWidget(chart, 1);
    v->addLayout(centered);
    return frame;
}

void ZoneWindow::buildControls()
{
    Frame1 = panel(0, Chart2D1);
    Frame2 = panel(1, Chart2D2);
    lbCopyrigt = footerLabel(this, m_app.LineaMarca);

    auto* panels = new QHBoxLayout;
    panels->setSpacing(12);
    panels->addWidget(Frame1, 1);
    panels->addWidget(Frame2, 1);

    auto* v = new QVBoxLayout(this);
    v->addLayout(panels, 1);
    v->addWidget(lbCopyrigt);
}

void ZoneWindow::colorZones(ui::Chart* chart) const
{
    chart->setSeriesCount(3);
    chart->setSeriesStyle(1, zoneColor(Within));
    chart->setSeriesStyle(2, zoneColor(Above));
    chart->setSeriesStyle(3, zoneColor(Below));
}

void ZoneWindow::PoneResultados()
{
    const Unit unit = m_app.unit();
    m_counts = CuentaMuestras(m_record, unit, m_view);
    const Captions l = views::PoneResultados(m_counts, m_record, m_app.textos, unit, m_view, QLocale());
    for (size_t r = 0; r < 2; ++r) {
        lbCantMuestras[r]->setText(l.CantMuestras[r]);
        const auto& count = m_counts.Cuentas[r];
        const auto& share = m_counts.Porcentajes[r];
        lbMueOk[r]->setText(smallShare(l.MueOk[r], count[Within], share[Within]));
        lbMueMay[r]->setText(smallShare(l.MueMay[r], count[Above], share[Above]));
        lbMueMen[r]->setText(smallShare(l.MueMen[r], count[Below], share[Below]));
        lbMueOk[r]->parentWidget()->setVisible(l.visibleOk[r]);
        lbMueMay[r]->parentWidget()->setVisible(l.visibleMay[r]);
        lbMueMen[r]->parentWidget()->setVisible(l.visibleMen[r]);
    }
    draw();
}

} // namespace orvan::views
