#include "views/ui/Chart.h"

#include "views/ui/ChartParts.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>
#include <QPicture>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

// The widget itself: its parts put together, the chart kind, batches and repaints, the mouse and
// pictures. Axes, series, the cursor layer and pies each have their own file.

namespace orvan::views::ui {

Chart::Chart(QWidget* parent) : QWidget(parent), m_locale(QLocale::system())
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_plot = new QCustomPlot(this);
    layout->addWidget(m_plot);
    m_plot->setMouseTracking(true);
    m_plot->installEventFilter(this);
    m_plot->setAntialiasedElements(QCP::aeAll);
    m_plot->setNotAntialiasedElements(QCP::aeNone);
    // Lines of thousands of samples are drawn as one polyline each, not segment by segment.
    m_plot->setPlottingHint(QCP::phFastPolylines, true);
    m_plot->setBackground(Qt::white);
    m_plot->axisRect()->setBackground(QColor(0xfb, 0xfc, 0xfd));

    setUpAxes();
    m_plot->legend->setVisible(false);
    m_plot->legend->setBrush(QColor(255, 255, 255, 220));
    m_plot->legend->setBorderPen(QPen(kGridColor));

    setUpCursorLayer();

    connect(m_plot, &QCustomPlot::beforeReplot, this, [this] { sync(); });
    connect(m_plot, &QCustomPlot::afterReplot, this, [this] {
        ++m_repaints;
        m_fullDirty = false;
        m_cursorDirty = false;
    });
    updateTickCount();
}

Chart::~Chart()
{
    for (auto& [name, e] : m_labels)
        delete e;
}

void Chart::setKind(Kind kind)
{
    if (m_kind == kind)
        return;
    m_kind = kind;
    m_plot->setVisible(kind != Kind::Pie);
    m_plottables.clear();
    m_dotPlottables.clear();
    m_plot->clearPlottables();
    m_styleDirty = true;
    changed(true);
    update();
}

void Chart::setBatch(bool on)
{
    if (m_batch == on)
        return;
    m_batch = on;
    if (on)
        return;
    if (m_fullDirty || m_kind == Kind::Pie) {
        repaintNow();
    } else if (m_cursorDirty) {
        // Only the cursor lines and labels changed: repaint their layer alone.
        m_cursorDirty = false;
        m_cursorLayer->replot();
        ++m_repaints;
    }
}

void Chart::repaintNow()
{
    if (m_kind == Kind::Pie) {
        ++m_repaints;
        repaint();
        return;
    }
    m_plot->replot(QCustomPlot::rpImmediateRefresh);
}

void Chart::changed(bool dataChanged)
{
    if (dataChanged)
        m_dataDirty = true;
    if (m_batch) {
        m_fullDirty = true;
        return;
    }
    if (m_kind == Kind::Pie)
        update();
    else
        m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void Chart::sync()
{
    updateTickCount();
    syncSeries();
    placeLabels();
}

void Chart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    updateTickCount();
}

bool Chart::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_plot) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* me = static_cast<QMouseEvent*>(event);
            m_pressAt = me->position().toPoint();
            m_dragged = false;
            Q_EMIT mousePressed(me->button(), m_pressAt);
            return true;
        }
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint at = me->position().toPoint();
            if (me->buttons() != Qt::NoButton && (at - m_pressAt).manhattanLength() > 3)
                m_dragged = true;
            Q_EMIT mouseMoved(me->buttons(), at);
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint at = me->position().toPoint();
            if ((at - m_pressAt).manhattanLength() > 3)
                m_dragged = true;
            Q_EMIT mouseReleased(me->button(), at);
            if (!m_dragged)
                Q_EMIT clicked(at);
            return true;
        }
        case QEvent::Wheel: {
            auto* we = static_cast<QWheelEvent*>(event);
            const int delta = we->angleDelta().y();
            // A turn back the other way starts a new notch.
            if ((delta > 0 && m_wheelRest < 0) || (delta < 0 && m_wheelRest > 0))
                m_wheelRest = 0;
            m_wheelRest += delta;
            const int notches = m_wheelRest / QWheelEvent::DefaultDeltasPerStep;
            m_wheelRest -= notches * QWheelEvent::DefaultDeltasPerStep;
            if (notches != 0)
                Q_EMIT wheelTurned(notches, we->position().toPoint());
            return true;
        }
        case QEvent::MouseButtonDblClick:
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Chart::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (m_kind != Kind::Pie)
        return;
    QPainter painter(this);
    paintPies(painter, rect());
}

void Chart::copyToClipboard()
{
    QApplication::clipboard()->setImage(toImage(size()));
}

QImage Chart::toImage(const QSize& size)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    render(painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    return image;
}

void Chart::render(QPainter& painter, const QRectF& target, Layers layers)
{
    if (target.isEmpty())
        return;
    if (m_kind == Kind::Pie) {
        paintPies(painter, target);
        return;
    }
    // Lay the chart out at screen proportions (fonts and lines as on screen), record it as
    // vectors and scale the recording into the target, so a printer page gets it at full
    // resolution.
    const QPaintDevice* device = painter.device();
    const qreal dpi = device ? device->logicalDpiX() : 96;
    const qreal scale = std::max<qreal>(dpi / 96.0, 0.01);
    const int w = std::max(1, int(std::lround(target.width() / scale)));
    const int h = std::max(1, int(std::lround(target.height() / scale)));
    sync();
    QPicture picture;
    {
        // The cursor layer is left out for this picture only; the screen's buffer keeps it.
        const bool cursorShown = m_cursorLayer->visible();
        m_cursorLayer->setVisible(cursorShown && layers == Layers::All);
        QCPPainter recorder(&picture);
        m_plot->toPainter(&recorder, w, h);
        m_cursorLayer->setVisible(cursorShown);
    }
    painter.save();
    painter.translate(target.topLeft());
    // A recording played on a device of another resolution is scaled to it by the painter;
    // scale only what remains.
    const qreal sx = target.width() / w * picture.logicalDpiX() / qreal(device ? device->logicalDpiX() : 96);
    const qreal sy = target.height() / h * picture.logicalDpiY() / qreal(device ? device->logicalDpiY() : 96);
    painter.scale(sx, sy);
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

} // namespace orvan::views::ui
