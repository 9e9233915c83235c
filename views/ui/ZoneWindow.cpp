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
#include <QVBoxLayout>

namespace orvan::views {

namespace {

QLabel* leyendaZona(QWidget* parent, QVBoxLayout* filas, const QString& name, Zona zona)
{
    // A caption sits in a row behind a swatch of its zone's colour, which ties it to its bars or
    // slice; hiding the caption hides the row.
    auto* fila = new QWidget(parent);
    auto* h = new QHBoxLayout(fila);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(8);
    auto* l = new QLabel(fila);
    l->setObjectName(name);
    const int lado = l->fontMetrics().height();
    QPixmap muestra(lado, lado);
    muestra.fill(colorZona(zona));
    QPainter p(&muestra);
    p.setPen(colorZona(zona).darker(140));
    p.drawRect(0, 0, lado - 1, lado - 1);
    p.end();
    auto* color = new QLabel(fila);
    color->setPixmap(muestra);
    h->addWidget(color);
    h->addWidget(l, 1);
    filas->addWidget(fila);
    return l;
}

} // namespace

ZoneWindow::ZoneWindow(orvan::ui::Workspace& main, const records::MissionRecord& record, Vista vista,
                       const QString& name, int titleEntry, QWidget* parent)
    : QWidget(parent), m_app(main.app()), m_record(record), m_vista(vista)
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_app.textos[titleEntry]);
    construye();
}

QFrame* ZoneWindow::panel(int row, ui::Chart*& chart)
{
    auto* frame = new QFrame(this);
    frame->setObjectName(row == 0 ? QStringLiteral("Frame1") : QStringLiteral("Frame2"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    QPalette blanco = frame->palette();
    blanco.setColor(QPalette::Window, Qt::white);
    frame->setPalette(blanco);

    lbCantMuestras[size_t(row)] = new QLabel(frame);
    lbCantMuestras[size_t(row)]->setObjectName(QStringLiteral("lbCantMuestras_%1").arg(row));
    lbCantMuestras[size_t(row)]->setAlignment(Qt::AlignCenter);
    QFont negrita = lbCantMuestras[size_t(row)]->font();
    negrita.setBold(true);
    negrita.setPointSizeF(negrita.pointSizeF() * 1.1);
    lbCantMuestras[size_t(row)]->setFont(negrita);

    chart = new ui::Chart(frame);
    chart->setObjectName(row == 0 ? QStringLiteral("Chart2D1") : QStringLiteral("Chart2D2"));
    chart->setMinimumSize(240, 200);

    auto* leyendas = new QVBoxLayout;
    leyendas->setSpacing(4);
    lbMueMay[size_t(row)] = leyendaZona(frame, leyendas, QStringLiteral("lbMueMay_%1").arg(row), Arriba);
    lbMueOk[size_t(row)] = leyendaZona(frame, leyendas, QStringLiteral("lbMueOk_%1").arg(row), Dentro);
    lbMueMen[size_t(row)] = leyendaZona(frame, leyendas, QStringLiteral("lbMueMen_%1").arg(row), Abajo);
    auto* centrado = new QHBoxLayout;
    centrado->addStretch(1);
    centrado->addLayout(leyendas);
    centrado->addStretch(1);

    auto* v = new QVBoxLayout(frame);
    v->setContentsMargins(10, 10, 10, 10);
    v->addWidget(lbCantMuestras[size_t(row)]);
    v->addWidget(chart, 1);
    v->addLayout(centrado);
    return frame;
}

void ZoneWindow::construye()
{
    Frame1 = panel(0, Chart2D1);
    Frame2 = panel(1, Chart2D2);
    lbCopyrigt = footerLabel(this, m_app.LineaMarca);

    auto* paneles = new QHBoxLayout;
    paneles->setSpacing(12);
    paneles->addWidget(Frame1, 1);
    paneles->addWidget(Frame2, 1);

    auto* v = new QVBoxLayout(this);
    v->addLayout(paneles, 1);
    v->addWidget(lbCopyrigt);
}

void ZoneWindow::colorea(ui::Chart* chart) const
{
    chart->setSeriesCount(3);
    chart->setSeriesStyle(1, colorZona(Dentro));
    chart->setSeriesStyle(2, colorZona(Arriba));
    chart->setSeriesStyle(3, colorZona(Abajo));
}

void ZoneWindow::PoneResultados()
{
    const int gradosC = m_app.config.GradosC;
    m_counts = CuentaMuestras(m_record, gradosC, m_vista);
    const Leyendas l = views::PoneResultados(m_counts, m_record, m_app.textos, gradosC, m_vista, QLocale());
    for (size_t r = 0; r < 2; ++r) {
        lbCantMuestras[r]->setText(l.CantMuestras[r]);
        lbMueOk[r]->setText(l.MueOk[r]);
        lbMueMay[r]->setText(l.MueMay[r]);
        lbMueMen[r]->setText(l.MueMen[r]);
        lbMueOk[r]->parentWidget()->setVisible(l.visibleOk[r]);
        lbMueMay[r]->parentWidget()->setVisible(l.visibleMay[r]);
        lbMueMen[r]->parentWidget()->setVisible(l.visibleMen[r]);
    }
    dibuja();
}

} // namespace orvan::views
