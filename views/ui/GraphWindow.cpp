#include "views/ui/GraphWindow.h"

#include "base/AppContext.h"
#include "base/Encodings.h"
#include "base/MessageSink.h"
#include "records/MissionRecord.h"
#include "views/TimeFormat.h"
#include "views/ui/Chart.h"
#include "views/ui/RecordChart.h"
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

#include <algorithm>
#include <cmath>

namespace orvan::views {

using ui::kSeriesBelow;

namespace {

const QColor kWithinColor(0x1e, 0x9e, 0x4a);

// A magnifier with a plus or a minus, or a frame for the whole record.
QIcon zoomIcon(char which)
{
    QPixmap pm(44, 44);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x2b, 0x3a, 0x4f);
    if (which == 'r') {
        p.setPen(QPen(ink, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const auto& [x, y, dx, dy] : {std::array<int, 4>{6, 6, 1, 1}, {38, 6, -1, 1}, {6, 38, 1, -1}, {38, 38, -1, -1}}) {
            p.drawLine(x, y, x + dx * 10, y);
            p.drawLine(x, y, x, y + dy * 10);
        }
        p.setPen(QPen(kWithinColor, 3));
        QPainterPath curve;
        curve.moveTo(12, 28);
        curve.cubicTo(18, 12, 24, 34, 32, 16);
        p.drawPath(curve);
        return QIcon(pm);
    }
    p.setPen(QPen(ink, 3.5));
    p.setBrush(QColor(0xe8, 0xf0, 0xfa));
    p.drawEllipse(QPointF(18, 18), 12, 12);
    p.setPen(QPen(ink, 5.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(27, 27), QPointF(39, 39));
    p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 18), QPointF(24, 18));
    if (which == '+')
        p.drawLine(QPointF(18, 12), QPointF(18, 24));
    return QIcon(pm);
}

QString readoutStyle(const QColor& background)
{
    return QStringLiteral("QLabel { background: %1; border: 1px solid #9aa3ad; border-radius: 3px; padding: 2px 8px; }")
        .arg(background.name());
}

} // namespace

GraphWindow::GraphWindow(AppContext& app, records::MissionRecord& record, MessageSink& messages, QWidget* parent)
    : QWidget(parent), m_app(app), m_record(record)
{
    setObjectName(QStringLiteral("frmGrafico"));
    setWindowTitle(app.textos[Text::GraphTemperatureTime]);
    m_app.GraficoActivo = true;
    m_unit = app.unit();
    m_locale = languageLocale(app.config.Idioma);
    buildControls();
    lbCopyrigt->setText(app.LineaMarca);

    for (const QString& m : m_record.LeeAuditoria())
        messages.show(m);
    m_puntos = CargaPuntos(m_record, m_unit);
    m_limits = limitsInDegrees(m_record, m_unit);

    ShowHourGlass();
    SetZoom();

    m_band = QRect(QPoint(-1, -1), QPoint(-1, -1));
    const int n = Chart2D1->pointCount();
    scrGraph->setMinimum(1);
    m_zoom.init(n);
    MuestraNivel(0);
    Chart2D1->setMarkerValue(QStringLiteral("X"), Chart2D1->axisMin(ui::Chart::Axis::X));
    Chart2D1->setMarkerVisible(QStringLiteral("X"), false);
    Chart2D1->setMarkerValue(QStringLiteral("Y"), ui::Chart::hole());
    Chart2D1->setLabelVisible(QStringLiteral("lbcursor"), false);
    ReleaseHourGlass();
}

GraphWindow::~GraphWindow()
{
    while (m_busyDepth > 0)
        ReleaseHourGlass();
}

void GraphWindow::buildControls()
{
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 6, 8, 4);
    root->setSpacing(4);

    FrameCent = new QWidget(this);
    FrameCent->setObjectName(QStringLiteral("FrameCent"));
    auto* bar = new QHBoxLayout(FrameCent);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(6);
    auto makeButton = [this, bar](const char* name, char icon) {
        auto* b = new QPushButton(FrameCent);
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(zoomIcon(icon));
        b->setIconSize(QSize(26, 26));
        b->setFixedSize(40, 36);
        bar->addWidget(b);
        return b;
    };
    cmdZoom = makeButton("cmdZoom", '+');
    cmdUpZoom = makeButton("cmdUpZoom", '-');
    cmdResetZoom = makeButton("cmdResetZoom", 'r');
    bar->addSpacing(16);
    auto label = [this, bar](const char* name, int width) {
        auto* l = new QLabel(FrameCent);
        l->setObjectName(QString::fromLatin1(name));
        l->setAlignment(Qt::AlignCenter);
        l->setMinimumWidth(width);
        l->setStyleSheet(readoutStyle(Qt::white));
        QFont f = l->font();
        f.setPointSizeF(f.pointSizeF() + 1);
        l->setFont(f);
        bar->addWidget(l);
        return l;
    };
    lbHora = label("lbHora", 150);
    lbVeloc = label("lbVeloc", 96);
    Label2 = label("Label2", 64);
    auto* center = new QHBoxLayout;
    center->addStretch();
    center->addWidget(FrameCent);
    center->addStretch();
    root->addLayout(center);

    Chart2D1 = new ui::Chart(this);
    Chart2D1->setObjectName(QStringLiteral("Chart2D1"));
    Chart2D1->setLocale(m_locale);
    Chart2D1->setMinimumSize(320, 200);
    root->addWidget(Chart2D1, 1);

    scrGraph = new QScrollBar(Qt::Horizontal, this);
    scrGraph->setObjectName(QStringLiteral("scrGraph"));
    root->addWidget(scrGraph);

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
    root->addLayout(pie);

    connect(cmdZoom, &QPushButton::clicked, this, &GraphWindow::zoomClick);
    connect(cmdUpZoom, &QPushButton::clicked, this, &GraphWindow::upZoomClick);
    connect(cmdResetZoom, &QPushButton::clicked, this, &GraphWindow::resetZoomClick);
    connect(scrGraph, &QScrollBar::valueChanged, this, &GraphWindow::onScroll);
    connect(Chart2D1, &ui::Chart::mousePressed, this, &GraphWindow::onPress);
    connect(Chart2D1, &ui::Chart::mouseMoved, this, &GraphWindow::onMove);
    connect(Chart2D1, &ui::Chart::mouseReleased, this, &GraphWindow::onRelease);
    connect(Chart2D1, &ui::Chart::clicked, this, [this] { m_sinArrastre = true; });
    connect(Chart2D1, &ui::Chart::wheelTurned, this, &GraphWindow::onWheel);
}

void GraphWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A band belongs to the geometry it was started in.
    if (m_band.left() >= 0) {
        Chart2D1->hideBand();
        m_band = QRect(QPoint(-1, -1), QPoint(-1, -1));
        m_zoom.endBand(m_zoom.ZoomDesde[m_zoom.NivelZoom]);
    }
}

void GraphWindow::ShowHourGlass()
{
    if (++m_busyDepth == 1)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void GraphWindow::ReleaseHourGlass()
{
    if (m_busyDepth > 0 && --m_busyDepth == 0)
        QApplication::restoreOverrideCursor();
}

void GraphWindow::SetZoom()
{
    loadRecordChart(*Chart2D1, m_puntos, m_limits, m_record.campos.InicioDatos);
    const int n = m_puntos.NumPuntos();
    scrGraph->setMaximum(std::max(n, 1));
    scrGraph->setMinimum(0);
}

void GraphWindow::MuestraVentana(int first, int last)
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

    const double middle = frameRecordChart(
        c, m_puntos, m_limits, axisTitleText(m_app.textos, campos.Circular, first, last, n, campos.NumMuestras),
        UnidadTexto(m_unit), m_locale, first, last);
    const double xMin = n > 0 ? c.x(first) : 0, xMax = n > 0 ? c.x(last) : 0;

    c.plotArea();   // lay the axes out for the new ranges before asking for pixels
    const int p1 = c.pick(c.dataToPixel({xMin, middle}).toPoint()).point;
    const int p2 = c.pick(c.dataToPixel({xMax, middle}).toPoint()).point;
    if (!m_desdeScroll)
        scrGraph->setPageStep(std::max(1, p2 - p1));
    m_desdeScroll = false;
    scrGraph->setSingleStep(1);
    scrGraph->setValue(p1 < 2 ? 1 : p1);
    c.setBatch(false);
}

void GraphWindow::MuestraNivel(int level)
{
    level = std::clamp(level, 0, ZoomLevels::kLevels - 1);
    MuestraVentana(m_zoom.ZoomDesde[level], m_zoom.ZoomHasta[level]);
    m_zoom.NivelZoom = level;
    enableZoomControls(level != 0);
}

void GraphWindow::enableZoomControls(bool zoomed)
{
    cmdResetZoom->setEnabled(zoomed);
    cmdUpZoom->setEnabled(zoomed);
    scrGraph->setEnabled(zoomed);
}

void GraphWindow::zoomClick()
{
    const int level = m_zoom.zoomInHalf(m_first, m_last);
    if (level < 0)
        return;
    MuestraNivel(level);
}

void GraphWindow::upZoomClick()
{
    if (m_zoom.NivelZoom == 0)
        return;
    MuestraNivel(m_zoom.NivelZoom - 1);
    m_zoom.ZoomAlLimite = false;
}

void GraphWindow::resetZoomClick()
{
    const bool cursor = Chart2D1->markerVisible(QStringLiteral("X"));
    Chart2D1->setMarkerVisible(QStringLiteral("X"), false);
    MuestraNivel(0);
    Chart2D1->setMarkerVisible(QStringLiteral("X"), cursor);
    m_zoom.reset();
}

// The wheel zooms as the buttons do, one level per notch on the same stack, but the new window
// keeps the point under the pointer where it was, as a map or a photo viewer does.
void GraphWindow::onWheel(int notches, const QPoint& px)
{
    if (m_band.left() >= 0)
        return;   // a band being dragged owns the level above
    for (; notches < 0; ++notches)
        upZoomClick();
    for (; notches > 0; --notches) {
        const int first = m_first, last = m_last;
        const int level = m_zoom.zoomInHalf(first, last);
        if (level < 0)
            break;
        const int under = std::clamp(Chart2D1->pick(px).point, first, last);
        const int width = m_zoom.ZoomHasta[level] - m_zoom.ZoomDesde[level];
        const int from = under - int(std::lround(double(under - first) * width / (last - first)));
        m_zoom.ZoomDesde[level] = from;
        m_zoom.ZoomHasta[level] = from + width;
        MuestraNivel(level);
    }
    showReadout(px);
}

void GraphWindow::onScroll(int value)
{
    m_desdeScroll = true;
    if (m_zoom.NivelZoom == 0)
        return;
    const PointWindow v = scrollWindow(value, scrGraph->pageStep(), m_puntos.NumPuntos());
    MuestraVentana(v.first, v.last);
}

// --- Band zoom ---

void GraphWindow::drawBand()
{
    Chart2D1->showBand(QRect(QPoint(std::min(m_band.left(), m_band.right()), m_band.top()),
                             QPoint(std::max(m_band.left(), m_band.right()), m_band.bottom())));
}

void GraphWindow::onPress(Qt::MouseButton button, const QPoint& px)
{
    if (button != Qt::LeftButton || m_sinArrastre)
        return;
    m_area = Chart2D1->plotArea();
    if (px.x() < m_area.left() || px.x() > m_area.right() || px.y() < m_area.top() || px.y() > m_area.bottom()) {
        m_band = QRect(QPoint(-1, -1), QPoint(-1, -1));
        return;
    }
    const int startPoint = Chart2D1->pick(QPoint(px.x(), m_area.top() + 1)).point;
    if (!m_zoom.beginBand(startPoint))
        return;
    m_band.setCoords(px.x(), m_area.top() + 1, px.x(), m_area.bottom() - 1);
    Chart2D1->setMarkerVisible(QStringLiteral("X"), false);
    drawBand();
}

void GraphWindow::onMove(Qt::MouseButtons buttons, const QPoint& px)
{
    if (buttons == Qt::NoButton || m_zoom.ZoomAlLimite) {
        showReadout(px);
        return;
    }
    if (!(buttons & Qt::LeftButton) || m_sinArrastre || m_band.left() < 0)
        return;
    // The band spans the plotting area's full height and follows the pointer only inside it.
    if (m_area.top() < px.y() && px.y() < m_area.bottom() && m_area.left() < px.x() && px.x() < m_area.right())
        m_band.setRight(px.x());
    drawBand();
}

void GraphWindow::onRelease(Qt::MouseButton button, const QPoint& px)
{
    if (m_zoom.ZoomAlLimite)
        return;
    if (button != Qt::LeftButton || m_band.left() < 0 || m_sinArrastre) {
        m_sinArrastre = false;
        return;
    }
    if (m_area.left() < px.x() && px.x() < m_area.right())
        m_band.setRight(px.x());
    drawBand();
    const int endPoint = Chart2D1->pick(QPoint(m_band.right(), m_band.bottom())).point;
    const bool accepted = m_zoom.endBand(endPoint);
    m_band = QRect(QPoint(-1, -1), QPoint(-1, -1));
    Chart2D1->hideBand();
    if (accepted) {
        Chart2D1->setMarkerVisible(QStringLiteral("X"), false);
        MuestraNivel(m_zoom.NivelZoom);
    }
    Chart2D1->setMarkerVisible(QStringLiteral("X"), true);
}

// --- Cursor readout ---

void GraphWindow::showReadout(const QPoint& px)
{
    ui::Chart& c = *Chart2D1;
    const QPointF dataPos = c.pixelToData(px);
    const ui::Chart::Pick pick = c.pick(px);
    const int n = c.pointCount();
    const bool onPoint = pick.point >= 1 && pick.point <= n;
    if (!ui::Chart::isHole(dataPos.x()) && onPoint) {
        const Point& p = m_puntos[pick.point];
        lbHora->setText(pointTimeText(p.Fecha, m_locale));
        const QString temp = pointTempText(p.Temp, QLocale::system(), UnidadTexto(m_unit));
        const QColor background = p.isGap() ? QColor(Qt::white) : QColor(QRgb(readingColor(p.Temp, m_limits)));
        lbVeloc->setText(temp);
        lbVeloc->setStyleSheet(readoutStyle(background));
        Label2->setText(QString::number(pick.point));
        lbHora->repaint();
        lbVeloc->repaint();
        if (pick.series > 0) {
            c.setBatch(true);
            c.setLabelText(QStringLiteral("lbcursor"), temp);
            c.setLabelBackground(QStringLiteral("lbcursor"), background);
            c.attachLabelToPoint(QStringLiteral("lbcursor"), pick.series, pick.point);
            c.setBatch(false);
        } else {
            c.setLabelVisible(QStringLiteral("lbcursor"), false);
        }
        Label2->repaint();
    }
    c.setBatch(true);
    c.setMarkerValue(QStringLiteral("X"), dataPos.x());
    if (m_band.left() < 0)
        c.setMarkerVisible(QStringLiteral("X"), true);
    if (onPoint)
        c.setMarkerValue(QStringLiteral("Y"), c.y(kSeriesBelow, pick.point));
    c.setBatch(false);
}

} // namespace orvan::views
