#pragma once
// The graph window on a record, opened as the application opens it, with the mouse, the wheel and
// the print command's page: shared by the window's tests and by the screenshot program.

#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "shell/ui/PrintCommand.h"
#include "shell/ui/PrintReports.h"
#include "shell/ui/WindowRegistry.h"
#include "views/ChartPixels.h"
#include "views/ui/Chart.h"
#include "views/ui/GraphWindow.h"
#include "views/ui/QCustomPlotInclude.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::views;
using orvan::views::ui::Chart;

class GraphWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    AppContext app{dir.path()};
    RecordingSink messages;
    records::MissionRecord record;
    std::unique_ptr<GraphWindow> form;

    void open(records::MissionRecord r, int idioma = 1, Unit unit = Unit::Celsius, QSize size = {1000, 600})
    {
        app.config.Idioma = qint16(idioma);
        app.config.GradosC = gradosCFor(unit);
        app.textos.CargaTextos(idioma);
        app.LineaMarca = QStringLiteral("Orvan");
        record = std::move(r);
        form = std::make_unique<GraphWindow>(app, record, messages);
        form->resize(size);
        form->show();
        QApplication::processEvents();
        // The window shown at load was laid out before the form had its size.
        form->MuestraNivel(form->levels().NivelZoom);
        QApplication::processEvents();
    }

    Chart& chart() { return *form->Chart2D1; }
    QWidget* plot() { return reinterpret_cast<QWidget*>(chart().plot()); }

    // The pixel column of point p, in the middle of the plotting area's height.
    QPoint at(int p)
    {
        const QRect area = chart().plotArea();
        return QPoint(int(std::lround(chart().dataToPixel({chart().x(p), 0}).x())), area.center().y());
    }

    void mouse(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, QPointF(p), plot()->mapToGlobal(QPointF(p)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(plot(), &e);
    }
    void drag(QPoint from, QPoint to)
    {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    void hover(QPoint p) { mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
    void wheel(QPoint p, int delta)
    {
        QWheelEvent e(QPointF(p), plot()->mapToGlobal(QPointF(p)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot(), &e);
    }

    // The graph report's page as the print command fills it with this window's chart, at 120 dpi,
    // and where the chart lies on it.
    QImage printedPage(QRect* chartArea)
    {
        auto report = orvan::shell::makeGraphReport();
        const std::optional<orvan::shell::GraphPrintSource> source = orvan::shell::printCommand().graphSource(form.get());
        report->setPainter(QStringLiteral("Image1"), source->chart);
        const qreal dpmm = 120 / 25.4;
        QImage page(QSize(int(297 * dpmm), int(210 * dpmm)), QImage::Format_ARGB32);
        page.setDotsPerMeterX(int(dpmm * 1000));
        page.setDotsPerMeterY(int(dpmm * 1000));
        page.fill(Qt::white);
        QPainter painter(&page);
        report->paint(painter, page);
        *chartArea = QRectF(12 * dpmm, 67 * dpmm, 273 * dpmm, 125 * dpmm).toRect();
        return page;
    }
};

