#include "views/ui/frmGrafico.h"

#include "base/AppContext.h"
#include "base/Encodings.h"
#include "base/MessageSink.h"
#include "records/MissionRecord.h"
#include "views/TimeFormat.h"
#include "views/ui/Chart.h"
#include "views/ui/ViewWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace orvan::views {

namespace {

// The chart's five series.
enum { SerieBaja = 1, SerieDentro = 2, SerieAlta = 3, SerieLimiteBajo = 4, SerieLimiteAlto = 5 };
const QColor kBaja(0x1f, 0x6f, 0xd1);
const QColor kDentro(0x1e, 0x9e, 0x4a);
const QColor kAlta(0xd6, 0x2d, 0x2d);

// A magnifier with a plus or a minus, or a frame for the whole record.
QIcon iconoZoom(char cual)
{
    QPixmap pm(44, 44);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor tinta(0x2b, 0x3a, 0x4f);
    if (cual == 'r') {
        p.setPen(QPen(tinta, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const auto& [x, y, dx, dy] : {std::array<int, 4>{6, 6, 1, 1}, {38, 6, -1, 1}, {6, 38, 1, -1}, {38, 38, -1, -1}}) {
            p.drawLine(x, y, x + dx * 10, y);
            p.drawLine(x, y, x, y + dy * 10);
        }
        p.setPen(QPen(kDentro, 3));
        QPainterPath curva;
        curva.moveTo(12, 28);
        curva.cubicTo(18, 12, 24, 34, 32, 16);
        p.drawPath(curva);
        return QIcon(pm);
    }
    p.setPen(QPen(tinta, 3.5));
    p.setBrush(QColor(0xe8, 0xf0, 0xfa));
    p.drawEllipse(QPointF(18, 18), 12, 12);
    p.setPen(QPen(tinta, 5.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(27, 27), QPointF(39, 39));
    p.setPen(QPen(tinta, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 18), QPointF(24, 18));
    if (cual == '+')
        p.drawLine(QPointF(18, 12), QPointF(18, 24));
    return QIcon(pm);
}

QString estiloLectura(const QColor& fondo)
{
    return QStringLiteral("QLabel { background: %1; border: 1px solid #9aa3ad; border-radius: 3px; padding: 2px 8px; }")
        .arg(fondo.name());
}

} // namespace

frmGrafico::frmGrafico(AppContext& app, records::MissionRecord& record, MessageSink& messages, QWidget* parent)
    : QWidget(parent), m_app(app), m_record(record)
{
    setObjectName(QStringLiteral("frmGrafico"));
    setWindowTitle(app.textos.at(9));
    m_app.GraficoActivo = true;
    m_gradosC = app.config.GradosC;
    m_locale = LocaleIdioma(app.config.Idioma);
    buildControls();
    lbCopyrigt->setText(app.LineaMarca);

    for (const QString& m : m_record.LeeAuditoria())
        messages.show(m);
    m_puntos = CargaPuntos(m_record, m_gradosC);
    m_limites = LimitesGrados(m_record, m_gradosC);

    ShowHourGlass();
    SetZoom();

    m_banda = QRect(QPoint(-1, -1), QPoint(-1, -1));
    const int n = Chart2D1->pointCount();
    scrGraph->setMinimum(1);
    m_zoom.inicia(n);
    MuestraNivel(0);
    Chart2D1->setMarkerValue(QStringLiteral("X"), Chart2D1->axisMin(ui::Chart::Eje::X));
    Chart2D1->setMarkerVisible(QStringLiteral("X"), false);
    Chart2D1->setMarkerValue(QStringLiteral("Y"), ui::Chart::hole());
    Chart2D1->setLabelVisible(QStringLiteral("lbcursor"), false);
    ReleaseHourGlass();
}

frmGrafico::~frmGrafico()
{
    while (m_relojes > 0)
        ReleaseHourGlass();
}

void frmGrafico::buildControls()
{
    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(8, 6, 8, 4);
    raiz->setSpacing(4);

    FrameCent = new QWidget(this);
    FrameCent->setObjectName(QStringLiteral("FrameCent"));
    auto* barra = new QHBoxLayout(FrameCent);
    barra->setContentsMargins(0, 0, 0, 0);
    barra->setSpacing(6);
    auto boton = [this, barra](const char* nombre, char icono) {
        auto* b = new QPushButton(FrameCent);
        b->setObjectName(QString::fromLatin1(nombre));
        b->setIcon(iconoZoom(icono));
        b->setIconSize(QSize(26, 26));
        b->setFixedSize(40, 36);
        barra->addWidget(b);
        return b;
    };
    cmdZoom = boton("cmdZoom", '+');
    cmdUpZoom = boton("cmdUpZoom", '-');
    cmdResetZoom = boton("cmdResetZoom", 'r');
    barra->addSpacing(16);
    auto etiqueta = [this, barra](const char* nombre, int ancho) {
        auto* l = new QLabel(FrameCent);
        l->setObjectName(QString::fromLatin1(nombre));
        l->setAlignment(Qt::AlignCenter);
        l->setMinimumWidth(ancho);
        l->setStyleSheet(estiloLectura(Qt::white));
        QFont f = l->font();
        f.setPointSizeF(f.pointSizeF() + 1);
        l->setFont(f);
        barra->addWidget(l);
        return l;
    };
    lbHora = etiqueta("lbHora", 150);
    lbVeloc = etiqueta("lbVeloc", 96);
    Label2 = etiqueta("Label2", 64);
    auto* centro = new QHBoxLayout;
    centro->addStretch();
    centro->addWidget(FrameCent);
    centro->addStretch();
    raiz->addLayout(centro);

    Chart2D1 = new ui::Chart(this);
    Chart2D1->setObjectName(QStringLiteral("Chart2D1"));
    Chart2D1->setLocale(m_locale);
    Chart2D1->setMinimumSize(320, 200);
    raiz->addWidget(Chart2D1, 1);

    scrGraph = new QScrollBar(Qt::Horizontal, this);
    scrGraph->setObjectName(QStringLiteral("scrGraph"));
    raiz->addWidget(scrGraph);

    auto* pie = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        Text1[i]->setMaximumWidth(220);
    }
    lbCopyrigt = footerLabel(this, QString());
    pie->addWidget(Text1[0]);
    pie->addWidget(lbCopyrigt, 1);
    pie->addWidget(Text1[1]);
    raiz->addLayout(pie);

    connect(cmdZoom, &QPushButton::clicked, this, &frmGrafico::zoomClick);
    connect(cmdUpZoom, &QPushButton::clicked, this, &frmGrafico::upZoomClick);
    connect(cmdResetZoom, &QPushButton::clicked, this, &frmGrafico::resetZoomClick);
    connect(scrGraph, &QScrollBar::valueChanged, this, &frmGrafico::onScroll);
    connect(Chart2D1, &ui::Chart::mousePressed, this, &frmGrafico::onPress);
    connect(Chart2D1, &ui::Chart::mouseMoved, this, &frmGrafico::onMove);
    connect(Chart2D1, &ui::Chart::mouseReleased, this, &frmGrafico::onRelease);
    connect(Chart2D1, &ui::Chart::clicked, this, [this] { m_sinArrastre = true; });
}

void frmGrafico::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A band belongs to the geometry it was started in.
    if (m_banda.left() >= 0) {
        Chart2D1->hideBand();
        m_banda = QRect(QPoint(-1, -1), QPoint(-1, -1));
        m_zoom.terminaBanda(m_zoom.ZoomDesde[m_zoom.NivelZoom]);
    }
}

void frmGrafico::ShowHourGlass()
{
    if (++m_relojes == 1)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void frmGrafico::ReleaseHourGlass()
{
    if (m_relojes > 0 && --m_relojes == 0)
        QApplication::restoreOverrideCursor();
}

// Loads every point into the chart: each zone in its own series, holes elsewhere, and the two
// limits as flat lines.
void frmGrafico::SetZoom()
{
    ui::Chart& c = *Chart2D1;
    c.setTimeLabels(m_record.campos.InicioDatos);
    c.setBatch(true);
    c.setSeriesCount(5);
    c.setSeriesStyle(SerieBaja, kBaja, 1.8);
    c.setSeriesStyle(SerieDentro, kDentro, 1.8);
    c.setSeriesStyle(SerieAlta, kAlta, 1.8);
    c.setSeriesStyle(SerieLimiteBajo, kBaja.darker(115), 1.4, Qt::DashLine);
    c.setSeriesStyle(SerieLimiteAlto, kAlta.darker(115), 1.4, Qt::DashLine);
    c.setPickable(SerieLimiteBajo, false);
    c.setPickable(SerieLimiteAlto, false);
    const int n = m_puntos.NumPuntos();
    c.setPointCount(n);
    m_cuenta = 0;
    for (int i = 1; i <= n; ++i)
        ClasificaPunto(i);
    c.setBatch(false);
    scrGraph->setMaximum(std::max(n, 1));
    scrGraph->setMinimum(0);
}

void frmGrafico::ClasificaPunto(int i)
{
    const Punto& p = m_puntos[i];
    AgregaPunto(p, SerieDeZona(views::ClasificaPunto(p.Temp, m_limites.lo, m_limites.hi)));
}

// Appends a point to the five series: its temperature in the series of its zone, holes in the
// other two, and the limits.
void frmGrafico::AgregaPunto(const Punto& p, int serie)
{
    ui::Chart& c = *Chart2D1;
    const int n = ++m_cuenta;
    c.setX(n, double(MinutosDesde(m_record.campos.InicioDatos, p.Fecha)));
    c.setY(SerieLimiteBajo, n, double(m_limites.lo));
    c.setY(SerieLimiteAlto, n, double(m_limites.hi));
    for (int s = SerieBaja; s <= SerieAlta; ++s)
        c.setY(s, n, s == serie ? double(p.Temp) : ui::Chart::hole());
}

void frmGrafico::MuestraVentana(int first, int last)
{
    ui::Chart& c = *Chart2D1;
    const int n = m_puntos.NumPuntos();
    first = std::clamp(first, 1, std::max(n, 1));
    last = std::clamp(last, first, std::max(n, 1));
    m_first = first;
    m_last = last;
    const records::Auditoria& campos = m_record.campos;
    // Every change of the window is one batch, so the chart repaints once.
    c.setBatch(true);

    c.setAxisTitle(ui::Chart::Eje::X, TituloEje(m_app.textos, campos.Circular, first, last, n, campos.NumMuestras));
    const int forma = ConMarcadores(first, last) ? ui::Chart::Punto : ui::Chart::SinMarcador;
    for (int s = SerieBaja; s <= SerieAlta; ++s)
        c.setMarcador(s, forma, 6);

    RangoTemp r = RangoVentana(m_puntos, first, last);
    if (r.vacio)
        r.min = r.max = (m_limites.lo + m_limites.hi) / 2;   // no temperature: frame the limits
    const double yMin = double(r.min) - 2, yMax = double(r.max) + 2;
    const double media = (double(r.min) + double(r.max)) / 2;
    c.setAxisRange(ui::Chart::Eje::Y, yMin, yMax);
    c.setAxisOrigin(ui::Chart::Eje::Y, yMin);
    c.setAxisTitle(ui::Chart::Eje::Y, UnidadTexto(m_gradosC));

    const double xMin = n > 0 ? c.x(first) : 0, xMax = n > 0 ? c.x(last) : 0;
    c.setAxisRange(ui::Chart::Eje::X, xMin, xMax);

    const double xMedio = (xMin + xMax) / 2;
    c.setLabelText(QStringLiteral("Title"),
                   TituloFecha(c.dateAt(xMin), c.dateAt(xMax), c.dateAt(xMedio), m_locale));
    c.attachLabel(QStringLiteral("Title"), xMedio, yMax);

    c.plotArea();   // lay the axes out for the new ranges before asking for pixels
    const int p1 = c.pick(c.dataToPixel({xMin, media}).toPoint()).point;
    const int p2 = c.pick(c.dataToPixel({xMax, media}).toPoint()).point;
    if (!m_desdeScroll)
        scrGraph->setPageStep(std::max(1, p2 - p1));
    m_desdeScroll = false;
    scrGraph->setSingleStep(1);
    scrGraph->setValue(p1 < 2 ? 1 : p1);
    c.setBatch(false);
}

void frmGrafico::MuestraNivel(int nivel)
{
    nivel = std::clamp(nivel, 0, NivelesZoom::kNiveles - 1);
    MuestraVentana(m_zoom.ZoomDesde[nivel], m_zoom.ZoomHasta[nivel]);
    m_zoom.NivelZoom = nivel;
    habilitaNivel(nivel != 0);
}

void frmGrafico::habilitaNivel(bool zoomed)
{
    cmdResetZoom->setEnabled(zoomed);
    cmdUpZoom->setEnabled(zoomed);
    scrGraph->setEnabled(zoomed);
}

void frmGrafico::zoomClick()
{
    const int nivel = m_zoom.acercaMitad(m_first, m_last);
    if (nivel < 0)
        return;
    MuestraNivel(nivel);
}

void frmGrafico::upZoomClick()
{
    if (m_zoom.NivelZoom == 0)
        return;
    MuestraNivel(m_zoom.NivelZoom - 1);
    m_zoom.ZoomAlLimite = false;
}

void frmGrafico::resetZoomClick()
{
    const bool cursor = Chart2D1->markerVisible(QStringLiteral("X"));
    Chart2D1->setMarkerVisible(QStringLiteral("X"), false);
    MuestraNivel(0);
    Chart2D1->setMarkerVisible(QStringLiteral("X"), cursor);
    m_zoom.reinicia();
}

void frmGrafico::onScroll(int value)
{
    m_desdeScroll = true;
    if (m_zoom.NivelZoom == 0)
        return;
    const Ventana v = VentanaScroll(value, scrGraph->pageStep(), m_puntos.NumPuntos());
    MuestraVentana(v.first, v.last);
}

// --- Band zoom ---

void frmGrafico::dibujaBanda()
{
    Chart2D1->showBand(QRect(QPoint(std::min(m_banda.left(), m_banda.right()), m_banda.top()),
                             QPoint(std::max(m_banda.left(), m_banda.right()), m_banda.bottom())));
}

void frmGrafico::onPress(Qt::MouseButton button, const QPoint& px)
{
    if (button != Qt::LeftButton || m_sinArrastre)
        return;
    m_area = Chart2D1->plotArea();
    if (px.x() < m_area.left() || px.x() > m_area.right() || px.y() < m_area.top() || px.y() > m_area.bottom()) {
        m_banda = QRect(QPoint(-1, -1), QPoint(-1, -1));
        return;
    }
    const int desde = Chart2D1->pick(QPoint(px.x(), m_area.top() + 1)).point;
    if (!m_zoom.empiezaBanda(desde))
        return;
    m_banda.setCoords(px.x(), m_area.top() + 1, px.x(), m_area.bottom() - 1);
    Chart2D1->setMarkerVisible(QStringLiteral("X"), false);
    dibujaBanda();
}

void frmGrafico::onMove(Qt::MouseButtons buttons, const QPoint& px)
{
    if (buttons == Qt::NoButton || m_zoom.ZoomAlLimite) {
        lectura(px);
        return;
    }
    if (!(buttons & Qt::LeftButton) || m_sinArrastre || m_banda.left() < 0)
        return;
    // The band spans the plotting area's full height and follows the pointer only inside it.
    if (m_area.top() < px.y() && px.y() < m_area.bottom() && m_area.left() < px.x() && px.x() < m_area.right())
        m_banda.setRight(px.x());
    dibujaBanda();
}

void frmGrafico::onRelease(Qt::MouseButton button, const QPoint& px)
{
    if (m_zoom.ZoomAlLimite)
        return;
    if (button != Qt::LeftButton || m_banda.left() < 0 || m_sinArrastre) {
        m_sinArrastre = false;
        return;
    }
    if (m_area.left() < px.x() && px.x() < m_area.right())
        m_banda.setRight(px.x());
    dibujaBanda();
    const int hasta = Chart2D1->pick(QPoint(m_banda.right(), m_banda.bottom())).point;
    const bool acepta = m_zoom.terminaBanda(hasta);
    m_banda = QRect(QPoint(-1, -1), QPoint(-1, -1));
    Chart2D1->hideBand();
    if (acepta) {
        Chart2D1->setMarkerVisible(QStringLiteral("X"), false);
        MuestraNivel(m_zoom.NivelZoom);
    }
    Chart2D1->setMarkerVisible(QStringLiteral("X"), true);
}

// --- Cursor readout ---

void frmGrafico::lectura(const QPoint& px)
{
    ui::Chart& c = *Chart2D1;
    const QPointF dato = c.pixelToData(px);
    const ui::Chart::Pick pick = c.pick(px);
    const int n = c.pointCount();
    const bool enPunto = pick.point >= 1 && pick.point <= n;
    if (!ui::Chart::isHole(dato.x()) && enPunto) {
        const Punto& p = m_puntos[pick.point];
        lbHora->setText(TextoHora(p.Fecha, m_locale));
        const QString temp = TextoTemp(p.Temp, QLocale::system(), UnidadTexto(m_gradosC));
        const QColor fondo = p.hueco() ? QColor(Qt::white) : QColor(QRgb(ColorLectura(p.Temp, m_limites)));
        lbVeloc->setText(temp);
        lbVeloc->setStyleSheet(estiloLectura(fondo));
        Label2->setText(QString::number(pick.point));
        lbHora->repaint();
        lbVeloc->repaint();
        if (pick.series > 0) {
            c.setBatch(true);
            c.setLabelText(QStringLiteral("lbcursor"), temp);
            c.setLabelBackground(QStringLiteral("lbcursor"), fondo);
            c.attachLabelToPoint(QStringLiteral("lbcursor"), pick.series, pick.point);
            c.setBatch(false);
        } else {
            c.setLabelVisible(QStringLiteral("lbcursor"), false);
        }
        Label2->repaint();
    }
    c.setBatch(true);
    c.setMarkerValue(QStringLiteral("X"), dato.x());
    if (m_banda.left() < 0)
        c.setMarkerVisible(QStringLiteral("X"), true);
    if (enPunto)
        c.setMarkerValue(QStringLiteral("Y"), c.y(SerieBaja, pick.point));
    c.setBatch(false);
}

} // namespace orvan::views
