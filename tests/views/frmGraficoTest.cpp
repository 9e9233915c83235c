// The graph window: the whole-record window, zoom by buttons and by dragging a band with the
// mouse, scrolling to the end, the cursor readout, and records with nothing much to show.

#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "views/GraphRecords.h"
#include "views/ui/Chart.h"
#include "views/ui/frmGrafico.h"
#include "views/ui/QCustomPlotInclude.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace orvan;
using namespace orvan::views;
using orvan::views::ui::Chart;

namespace {

class frmGraficoTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    AppContext app{dir.path()};
    RecordingSink messages;
    records::MissionRecord record;
    std::unique_ptr<frmGrafico> form;

    void open(records::MissionRecord r, int idioma = 1, int gradosC = -1, QSize size = {1000, 600})
    {
        app.config.Idioma = qint16(idioma);
        app.config.GradosC = qint16(gradosC);
        app.textos.CargaTextos(idioma);
        app.LineaMarca = QStringLiteral("Orvan");
        record = std::move(r);
        form = std::make_unique<frmGrafico>(app, record, messages);
        form->resize(size);
        form->show();
        QApplication::processEvents();
        // The window shown at load was laid out before the form had its size.
        form->MuestraNivel(form->niveles().NivelZoom);
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
};

} // namespace

TEST_F(frmGraficoTest, TenSamplesShowEveryPointWithMarkers)
{
    open(graphdata::recordOf({100, 101, 96, 84, 83, 97, 110, 90, 91, 92}));
    EXPECT_TRUE(app.GraficoActivo);
    EXPECT_EQ(chart().pointCount(), 11);
    EXPECT_EQ(form->primero(), 1);
    EXPECT_EQ(form->ultimo(), 10);
    EXPECT_EQ(chart().axisTitle(Chart::Eje::X), QStringLiteral("First 10 samples of  a total of 10"));
    for (int s = 1; s <= 3; ++s)
        EXPECT_EQ(chart().marcador(s), Chart::Punto);
    EXPECT_EQ(chart().y(2, 3), 8.0) << "a sample at the high limit is within";
    EXPECT_TRUE(Chart::isHole(chart().y(3, 3)));
    EXPECT_EQ(chart().y(1, 5), 1.5);
    EXPECT_EQ(chart().y(4, 7), 2.0);
    EXPECT_EQ(chart().y(5, 7), 8.0);
    EXPECT_EQ(chart().x(2), 15.0);
    EXPECT_EQ(chart().axisMin(Chart::Eje::Y), 1.5 - 2);
    EXPECT_EQ(chart().axisMax(Chart::Eje::Y), 15.0 + 2);
    EXPECT_EQ(chart().labelText(QStringLiteral("Title")), QStringLiteral("Friday 01 March"));
    EXPECT_FALSE(form->cmdResetZoom->isEnabled());
    EXPECT_FALSE(form->cmdUpZoom->isEnabled());
    EXPECT_FALSE(form->scrGraph->isEnabled());
    EXPECT_EQ(form->lbCopyrigt->text(), QStringLiteral("Orvan"));

    // The sample at the high limit reads green, on the window and on the chart's label.
    hover(at(3) + QPoint(0, 0));
    EXPECT_EQ(form->Label2->text(), QStringLiteral("3"));
    EXPECT_EQ(form->lbVeloc->text(), QLocale::system().toString(8.0, 'f', 1) + QStringLiteral(" °C"));
    EXPECT_TRUE(form->lbVeloc->styleSheet().contains(QStringLiteral("#00ff00")));
    EXPECT_EQ(form->lbHora->text(), QStringLiteral("01 Mar 24 10:30"));
    EXPECT_EQ(chart().labelText(QStringLiteral("lbcursor")), form->lbVeloc->text());
    EXPECT_EQ(chart().labelBackground(QStringLiteral("lbcursor")), QColor(0, 255, 0));
    EXPECT_TRUE(chart().labelVisible(QStringLiteral("lbcursor")));
    EXPECT_TRUE(chart().markerVisible(QStringLiteral("X")));
    EXPECT_NEAR(chart().markerValue(QStringLiteral("X")), 30, 1);
    EXPECT_TRUE(Chart::isHole(chart().markerValue(QStringLiteral("Y")))) << "the horizontal line follows series 1 only";
    hover(at(5));
    EXPECT_EQ(chart().markerValue(QStringLiteral("Y")), 1.5);
    EXPECT_TRUE(form->lbVeloc->styleSheet().contains(QStringLiteral("#00ffff")));
    hover(at(7));
    EXPECT_TRUE(form->lbVeloc->styleSheet().contains(QStringLiteral("#ffc0c0")));
}

TEST_F(frmGraficoTest, ButtonsStackLevelsAndScrollingReachesTheLastPoint)
{
    open(graphdata::generatedRecord(generator::Scenario::Finished, 2400));
    ASSERT_EQ(chart().pointCount(), 2401);
    EXPECT_EQ(form->ultimo(), 2400);
    EXPECT_EQ(chart().marcador(1), Chart::SinMarcador);

    form->cmdZoom->click();
    EXPECT_EQ(form->niveles().NivelZoom, 1);
    EXPECT_EQ(form->primero(), 1);
    EXPECT_EQ(form->ultimo(), 1201) << "the left half: 1 + 2399/2 rounded to even";
    EXPECT_TRUE(form->cmdResetZoom->isEnabled());
    EXPECT_TRUE(form->cmdUpZoom->isEnabled());
    EXPECT_TRUE(form->scrGraph->isEnabled());
    form->cmdZoom->click();
    EXPECT_EQ(form->niveles().NivelZoom, 2);
    EXPECT_EQ(form->ultimo(), 601);

    // Scrolling to the right end shows the point past the last sample.
    form->scrGraph->setValue(form->scrGraph->maximum());
    EXPECT_EQ(form->ultimo(), 2401);
    EXPECT_EQ(form->ultimo() - form->primero(), 600) << "the window keeps its width";
    EXPECT_EQ(form->niveles().NivelZoom, 2);

    form->cmdUpZoom->click();
    EXPECT_EQ(form->niveles().NivelZoom, 1);
    EXPECT_EQ(form->ultimo(), 1201);
    form->cmdZoom->click();
    form->cmdResetZoom->click();
    EXPECT_EQ(form->niveles().NivelZoom, 0);
    EXPECT_EQ(form->primero(), 1);
    EXPECT_EQ(form->ultimo(), 2400);
    EXPECT_FALSE(form->cmdUpZoom->isEnabled());
    EXPECT_FALSE(form->scrGraph->isEnabled());
}

TEST_F(frmGraficoTest, BandZoomByMouseInBothDirections)
{
    open(graphdata::generatedRecord(generator::Scenario::Finished, 2400));
    drag(at(300), at(900));
    ASSERT_EQ(form->niveles().NivelZoom, 1);
    const int desde = form->niveles().ZoomDesde[1], hasta = form->niveles().ZoomHasta[1];
    EXPECT_NEAR(desde, 300, 3);
    EXPECT_NEAR(hasta, 900, 3);
    EXPECT_EQ(form->primero(), desde);
    EXPECT_EQ(form->ultimo(), hasta) << "the level shows every point of the band";
    EXPECT_TRUE(chart().band().isNull()) << "the band is gone once the level shows";
    EXPECT_TRUE(form->cmdUpZoom->isEnabled());

    form->cmdResetZoom->click();
    drag(at(900), at(300));
    ASSERT_EQ(form->niveles().NivelZoom, 1);
    EXPECT_EQ(form->niveles().ZoomDesde[1], desde) << "dragged leftwards, the same points";
    EXPECT_EQ(form->niveles().ZoomHasta[1], hasta);

    // While dragging, the band spans the plotting area's height and stops at its edges.
    form->cmdResetZoom->click();
    const QRect area = chart().plotArea();
    mouse(QEvent::MouseButtonPress, QPoint(area.left(), area.top()), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(form->niveles().NivelZoom, 1) << "a press on the area's edge starts a band";
    mouse(QEvent::MouseMove, QPoint(area.center().x(), area.center().y()), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(chart().band().top(), area.top() + 1);
    EXPECT_EQ(chart().band().bottom(), area.bottom() - 1);
    EXPECT_EQ(chart().band().right(), area.center().x());
    mouse(QEvent::MouseMove, QPoint(area.right() + 40, area.center().y()), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(chart().band().right(), area.center().x()) << "outside the area the band stays";
    mouse(QEvent::MouseButtonRelease, QPoint(area.right() + 40, area.center().y()), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form->niveles().NivelZoom, 1);
    form->cmdResetZoom->click();

    // A press outside the plotting area starts nothing.
    mouse(QEvent::MouseButtonPress, QPoint(area.left() - 5, area.center().y()), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, QPoint(area.center().x(), area.center().y()), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form->niveles().NivelZoom, 0);
}

TEST_F(frmGraficoTest, NarrowBandsClicksAndTheLevelLimit)
{
    open(graphdata::recordOf({100, 101, 96, 84, 83, 97, 110, 90, 91, 92}));
    // A band over fewer than 2 points is cancelled and leaves no trace.
    drag(at(4), at(4) + QPoint(12, 0));
    EXPECT_EQ(form->niveles().NivelZoom, 0);
    EXPECT_TRUE(chart().band().isNull());
    EXPECT_FALSE(form->SinArrastre());

    // A click turns band zooming off until the next release.
    mouse(QEvent::MouseButtonPress, at(3), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, at(3), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(form->SinArrastre());
    drag(at(2), at(8));
    EXPECT_EQ(form->niveles().NivelZoom, 0) << "the drag after a click only re-arms the band";
    EXPECT_FALSE(form->SinArrastre());

    // Bands from edge to edge of three points stack levels up to 23; the 24th is refused.
    drag(at(4), at(6));
    ASSERT_EQ(form->niveles().NivelZoom, 1);
    const QRect area = chart().plotArea();
    for (int i = 0; i < 30; ++i)
        drag(QPoint(area.left() + 1, area.center().y()), QPoint(area.right() - 1, area.center().y()));
    EXPECT_EQ(form->niveles().NivelZoom, 23);
    EXPECT_TRUE(form->niveles().ZoomAlLimite);
    form->cmdZoom->click();
    EXPECT_EQ(form->niveles().NivelZoom, 23);
    // At the limit a move with the button held reads out instead of dragging.
    form->Label2->clear();
    mouse(QEvent::MouseMove, at(5), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(form->Label2->text(), QStringLiteral("5"));
    form->cmdUpZoom->click();
    EXPECT_EQ(form->niveles().NivelZoom, 22);
    EXPECT_FALSE(form->niveles().ZoomAlLimite);
}

TEST_F(frmGraficoTest, RecordsWithNothingMuchToShow)
{
    // No samples: one point, an axis title, and the controls do nothing harmful.
    open(graphdata::generatedRecord(generator::Scenario::Empty, 0));
    EXPECT_EQ(chart().pointCount(), 1);
    EXPECT_EQ(form->primero(), 1);
    EXPECT_EQ(form->ultimo(), 1);
    EXPECT_FALSE(chart().axisTitle(Chart::Eje::X).isEmpty());
    form->cmdZoom->click();
    drag(at(1), at(1) + QPoint(200, 0));
    hover(at(1));
    EXPECT_EQ(form->niveles().NivelZoom, 0);

    // Every sample at the same minute, the first one erased.
    auto r = graphdata::recordOf({255, 100, 120, 90, 100, 101, 102, 103});
    r.setByte(13, 0);   // minutes between samples
    r.LeeAuditoria();
    ASSERT_EQ(r.campos.Rango, 0);
    open(std::move(r));
    EXPECT_EQ(chart().pointCount(), 9);
    EXPECT_TRUE(Chart::isHole(chart().y(1, 1)) && Chart::isHole(chart().y(2, 1)) && Chart::isHole(chart().y(3, 1)));
    EXPECT_LT(chart().axisMin(Chart::Eje::X), chart().axisMax(Chart::Eje::X));
    hover(at(1));
    EXPECT_TRUE(form->lbVeloc->text().isEmpty()) << "a gap reads no temperature";
    form->cmdZoom->click();
    EXPECT_EQ(form->niveles().NivelZoom, 1);
    form->scrGraph->setValue(form->scrGraph->maximum());
    EXPECT_GE(form->primero(), 1);
    EXPECT_LE(form->primero(), form->ultimo());
    EXPECT_LE(form->ultimo(), 9);
    drag(at(2), at(6));
    EXPECT_EQ(form->niveles().NivelZoom, 1) << "all points share one column: no band";
}

// At every zoom level and window width the time labels stand apart and there are enough of them.
TEST_F(frmGraficoTest, TimeLabelsNeverOverlap)
{
    for (int ancho : {480, 900, 1500}) {
        open(graphdata::generatedRecord(generator::Scenario::Alarms, 24576, 5), 3, -1, QSize(ancho, 500));
        for (int nivel = 0; nivel < 13; ++nivel) {
            chart().repaintNow();
            const QCPAxis* x = chart().plot()->xAxis;
            const QVector<double> ticks = x->tickVector();
            const QVector<QString> textos = x->tickVectorLabels();
            ASSERT_GE(ticks.size(), 2) << ancho << " level " << nivel;
            const QFontMetrics fm(x->tickLabelFont());
            for (int i = 1; i < ticks.size(); ++i) {
                const double hueco = x->coordToPixel(ticks[i]) - x->coordToPixel(ticks[i - 1]);
                const int mitades = (fm.horizontalAdvance(textos[i]) + fm.horizontalAdvance(textos[i - 1])) / 2;
                EXPECT_GT(hueco, mitades + 8) << ancho << " level " << nivel << " " << textos[i].toStdString();
            }
            form->cmdZoom->click();
        }
    }
}

TEST_F(frmGraficoTest, RandomImagesOpenZoomAndReadOut)
{
    std::mt19937 azar(11);
    for (int caso = 0; caso < 6; ++caso) {
        records::MissionRecord r;
        QByteArray imagen(records::kImageSize, '\0');
        for (char& b : imagen)
            b = char(azar() & 0xFF);
        r.setBytes(0, imagen);
        open(std::move(r), caso % 5, caso % 2 ? -1 : 0, QSize(700, 420));
        const QRect area = chart().plotArea();
        for (int paso = 0; paso < 12; ++paso) {
            const QPoint a(area.left() + int(azar() % uint(area.width())), area.center().y());
            const QPoint b(area.left() + int(azar() % uint(area.width())), area.center().y());
            drag(a, b);
            hover(b);
            if (paso % 3 == 0)
                form->cmdZoom->click();
            if (paso % 4 == 0)
                form->scrGraph->setValue(int(azar() % uint(form->scrGraph->maximum() + 1)));
            ASSERT_LE(form->primero(), form->ultimo());
        }
        form->cmdResetZoom->click();
        EXPECT_EQ(form->niveles().NivelZoom, 0);
    }
}

// Pictures of the window for a person to look at: ORVAN_SHOTS=folder build/bin/test_views_ui
TEST_F(frmGraficoTest, Screenshots)
{
    const QString carpeta = qEnvironmentVariable("ORVAN_SHOTS");
    if (carpeta.isEmpty())
        GTEST_SKIP() << "set ORVAN_SHOTS to a folder to save pictures";
    QDir().mkpath(carpeta);
    struct Caso { const char* nombre; int idioma; int gradosC; bool zoom; };
    for (const Caso& k : {Caso{"alarms_es_C", 0, -1, false}, Caso{"alarms_en_F", 1, 0, false},
                          Caso{"alarms_es_C_hours", 0, -1, true}, Caso{"alarms_en_F_hours", 1, 0, true}}) {
        open(graphdata::generatedRecord(generator::Scenario::Alarms, 24576, 5), k.idioma, k.gradosC, QSize(1400, 760));
        if (k.zoom) {
            drag(at(12000), at(12040));
            hover(at(12020) + QPoint(0, -20));
        } else {
            hover(at(9000));
        }
        QApplication::processEvents();
        form->grab().save(carpeta + QStringLiteral("/%1.png").arg(QString::fromLatin1(k.nombre)));
    }
    open(graphdata::recordOf({100, 101, 96, 84, 83, 97, 110, 90, 91, 92}), 2, -1, QSize(1000, 560));
    hover(at(3));
    form->grab().save(carpeta + QStringLiteral("/diez_de_C.png"));
    open(graphdata::generatedRecord(generator::Scenario::Circular, 30000, 15), 4, -1, QSize(1000, 560));
    hover(at(20000));
    form->grab().save(carpeta + QStringLiteral("/circular_pt_C.png"));
    open(graphdata::generatedRecord(generator::Scenario::Empty, 0), 3, 0, QSize(1000, 560));
    form->grab().save(carpeta + QStringLiteral("/vacio_fr_F.png"));
}
