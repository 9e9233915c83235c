// The four view windows on a record: the sample list's rows, scrolling, position label and
// export, the alarm list's rows, and the panels and captions of the histogram and the pies.

#include "views/TestRecords.h"

#include "base/AppContext.h"
#include "base/ui/Workspace.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/WindowRegistry.h"
#include "views/ui/AlarmListWindow.h"
#include "views/ui/Chart.h"
#include "views/ui/GraphWindow.h"
#include "views/ui/HistogramWindow.h"
#include "views/ui/ProportionsWindow.h"
#include "views/ui/SampleListWindow.h"
#include "views/ui/ZoneColors.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::views;
using namespace orvan::views::testdata;

namespace {

// The main window as the views see it: the application state, a message recorder and the
// status bar's last note.
class FakeWorkspace : public orvan::ui::Workspace {
public:
    explicit FakeWorkspace(Unit unit = Unit::Celsius, int language = TextTable::Spanish)
        : context(QStringLiteral("/nonexistent"))
    {
        context.config.GradosC = gradosCFor(unit);
        context.config.Idioma = qint16(language);
        context.textos.CargaTextos(language);
        context.LineaMarca = TextTable::LineaMarca(language);
        // The windows write in the default locale, the system's unless set: these tests expect C.
        QLocale::setDefault(QLocale::c());
    }
    AppContext& app() override { return context; }
    MessageSink& messages() override { return sink; }
    orvan::ui::StatusPanel* panel() override { return nullptr; }
    void DeshabilitaBotones() override {}
    void HabilitaBotones() override {}
    void setConnectEnabled(bool) override {}
    QWidget* openChild(orvan::ui::Child) override { return nullptr; }
    QMdiSubWindow* showChild(QWidget*) override { return nullptr; }
    QWidget* child(orvan::ui::Child) const override { return nullptr; }
    void closeChildren(std::initializer_list<orvan::ui::Child>) override {}
    QSize childSize() const override { return QSize(1200, 700); }
    void showStatusMessage(const QString& text) override { status = text; }

    AppContext context;
    RecordingSink sink;
    QString status;
};

QColor background(const QLabel* l)
{
    return l->palette().color(QPalette::Window);
}

// 100 samples at 5 °C every 15 minutes, every tenth one at 20 °C.
records::MissionRecord hundred()
{
    std::vector<int> m(101, 90);
    for (int k = 0; k < 10; ++k)
        m[size_t(k * 10)] = 120;
    return makeRecord({100}, m);
}

} // namespace

TEST(SampleListWindow, RowsScrollAndThePositionLabelFollowsTheThumb)
{
    FakeWorkspace ws;
    const auto r = hundred();
    SampleListWindow d(ws, r);
    d.resize(1200, 700);
    d.show();
    EXPECT_EQ(d.VScroll1->minimum(), 1);
    EXPECT_EQ(d.VScroll1->maximum(), 95);
    EXPECT_EQ(d.lbKm[1]->text(), QStringLiteral("20.0"));
    EXPECT_EQ(background(d.lbKm[1]), zoneColor(Above));
    EXPECT_TRUE(d.lbKm[1]->font().bold());
    EXPECT_EQ(background(d.lbKm[2]), zoneColor(Within));
    EXPECT_EQ(d.lbFecha[2]->text().right(5), QStringLiteral("14:45"));

    // Dragging moves only the label; the rows follow when the thumb is let go.
    d.VScroll1->setSliderDown(true);
    d.VScroll1->setSliderPosition(91);
    EXPECT_TRUE(d.lbPosic->isVisible());
    EXPECT_TRUE(d.lbPosic->text().endsWith(QStringLiteral("  20.0 \u00b0C")));
    EXPECT_EQ(d.lbPosic->palette().color(QPalette::WindowText), zoneTextColor(Above));
    EXPECT_EQ(d.PrimeraFila(), 1);
    d.VScroll1->setSliderDown(false);
    EXPECT_FALSE(d.lbPosic->isVisible());
    EXPECT_EQ(d.PrimeraFila(), 91);

    // At the end: entries 96..101 in rows 1..6, the rest empty, white and not bold.
    d.VScroll1->setValue(96);
    EXPECT_FALSE(d.lbKm[6]->text().isEmpty());
    EXPECT_TRUE(d.lbKm[7]->text().isEmpty());
    EXPECT_TRUE(d.lbFecha[51]->text().isEmpty());
    EXPECT_EQ(background(d.lbKm[7]), QColor(Qt::white));
    EXPECT_FALSE(d.lbKm[7]->font().bold());
}

// The export of a record not read from a file: nothing to name the file after, nothing happens.
// The export and its failures in the window: WindowFaults.SampleListExport.
TEST(SampleListWindow, ExportWithoutARecordFileDoesNothing)
{
    FakeWorkspace ws;
    auto r = makeRecord({3}, {85, 84, 100, 60});
    SampleListWindow d(ws, r);
    d.cmdExcel->click();
    EXPECT_TRUE(ws.sink.messages.isEmpty());
    EXPECT_TRUE(ws.status.isEmpty());
}

TEST(AlarmListWindow, TitlesAndRowsInFahrenheit)
{
    FakeWorkspace ws(Unit::Fahrenheit);
    auto r = makeRecord({6, 84, 96, 10, false, 6}, {90, 120, 70, 90, 130, 0});
    r.setByte(kLowAlarms, 2);
    r.setByte(kHighAlarms, 1);
    r.setByte(kHighAlarms + 3, 5);     // a sample of raw 0
    AlarmListWindow f(ws, r);
    EXPECT_EQ(f.lbTitLow->text(), QStringLiteral("Temp. < 35.6 \u00b0F"));
    EXPECT_EQ(f.lbTitHi->text(), QStringLiteral("Temp. > 46.4 \u00b0F"));
    EXPECT_EQ(f.lbFecha[0]->text(), QStringLiteral("Fecha"));
    EXPECT_EQ(f.lbtitu[2]->text(), QStringLiteral("Temperatura"));
    EXPECT_EQ(f.lbtiempo[1]->text(), QStringLiteral("23"));
    EXPECT_EQ(f.lbtiempo[11]->text(), QStringLiteral("68"));
    EXPECT_TRUE(f.lbFecha[2]->text().isEmpty());
    EXPECT_TRUE(f.lbFecha[12]->text().isEmpty());
    EXPECT_TRUE(f.lbtiempo[12]->text().isEmpty());
}

// Every view takes its title and headings from the language table by name and its unit from the
// settings: a wrong entry, or the unit read the wrong way round, shows in one of these rows.
TEST(ViewWindows, TitlesHeadingsAndValuesFollowTheLanguageAndTheUnit)
{
    struct Case {
        int language;
        Unit unit;
        const char16_t* graph;
        const char16_t* pies;
        const char16_t* histogram;
        const char16_t* list;
        const char16_t* alarms;
        const char16_t* date;
        const char16_t* temperature;
        const char16_t* unitText;
        double hot;   // the 20 °C samples in the unit
        const char16_t* hotText;
    };
    const Case cases[] = {
        {TextTable::English, Unit::Fahrenheit, u"Graph: Temperature -Time", u"Proportions", u"Histogram",
         u"Temperature list", u"Alarms", u"Date / Time", u"Temperature", u" \u00b0F", 68, u"68.0"},
        {TextTable::German, Unit::Celsius, u"Temperatur-Zeit Graphik", u"Proportionen", u"Histogramm",
         u"Temperaturverzeichnis", u"Alarme", u"Datum / Uhrzeit", u"Temperatur", u" \u00b0C", 20, u"20.0"},
        {TextTable::Portuguese, Unit::Fahrenheit, u"Gr\u00e1fico do Tempo", u"Propor\u00e7\u00f5es", u"Histograma",
         u"Lista de temperaturas", u"Alarmes", u"Data", u"Temperatura", u" \u00b0F", 68, u"68.0"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.language);
        FakeWorkspace ws(k.unit, k.language);
        records::MissionRecord r = hundred();
        const QString unitText = QString::fromUtf16(k.unitText);

        GraphWindow graph(ws.context, r, ws.sink);
        EXPECT_EQ(graph.windowTitle(), QString::fromUtf16(k.graph));
        EXPECT_EQ(graph.Chart2D1->axisTitle(views::ui::Chart::Axis::Y), unitText);
        EXPECT_DOUBLE_EQ(graph.puntos()[1].Temp, k.hot);

        ProportionsWindow pies(ws, r);
        EXPECT_EQ(pies.windowTitle(), QString::fromUtf16(k.pies));

        HistogramWindow histogram(ws, r);
        EXPECT_EQ(histogram.windowTitle(), QString::fromUtf16(k.histogram));
        EXPECT_EQ(histogram.Chart2D1->axisTitle(views::ui::Chart::Axis::X), unitText);
        ASSERT_EQ(histogram.Chart2D1->pointCount(), 2);
        EXPECT_DOUBLE_EQ(histogram.Chart2D1->x(2), k.hot);

        SampleListWindow list(ws, r);
        EXPECT_EQ(list.windowTitle(), QString::fromUtf16(k.list));
        EXPECT_EQ(list.lbFecha[0]->text(), QString::fromUtf16(k.date));
        EXPECT_EQ(list.lbtitu[2]->text(), QString::fromUtf16(k.date));
        EXPECT_EQ(list.lbKm[0]->text(), unitText);
        EXPECT_EQ(list.lbtitu[18]->text(), unitText);
        EXPECT_EQ(list.lbKm[1]->text(), QString::fromUtf16(k.hotText));

        AlarmListWindow alarms(ws, r);
        EXPECT_EQ(alarms.windowTitle(), QString::fromUtf16(k.alarms));
        EXPECT_EQ(alarms.lbtitu[1]->text(), QString::fromUtf16(k.date));
        EXPECT_EQ(alarms.lbtiempo[0]->text(), QString::fromUtf16(k.temperature));
        EXPECT_TRUE(alarms.lbTitHi->text().endsWith(unitText.trimmed())) << alarms.lbTitHi->text().toStdString();
    }
}

TEST(ZoneWindows, OnePanelHidesEmptyZonesInTheHistogramOnly)
{
    FakeWorkspace ws;
    const auto r = hundred();
    HistogramWindow h(ws, r);
    EXPECT_TRUE(h.Frame2->isHidden());
    EXPECT_TRUE(h.lbMueMen[0]->parentWidget()->isHidden());
    EXPECT_FALSE(h.lbMueMay[0]->parentWidget()->isHidden());
    EXPECT_EQ(h.lbMueMay[0]->text(), QStringLiteral("Temp.>8 \u00b0C: 10 muestras ( 10 % )"));
    EXPECT_EQ(h.Chart2D1->kind(), views::ui::Chart::Kind::Bars);
    ASSERT_EQ(h.Chart2D1->pointCount(), 2);
    EXPECT_DOUBLE_EQ(h.Chart2D1->x(1), 5.0);
    EXPECT_DOUBLE_EQ(h.Chart2D1->y(1, 1), 90);
    EXPECT_TRUE(views::ui::Chart::isHole(h.Chart2D1->y(2, 1)));
    EXPECT_DOUBLE_EQ(h.Chart2D1->y(2, 2), 10);
    EXPECT_EQ(h.Chart2D1->axisTitle(views::ui::Chart::Axis::X), QStringLiteral(" \u00b0C"));

    ProportionsWindow t(ws, r);
    EXPECT_TRUE(t.Frame2->isHidden());
    EXPECT_FALSE(t.lbMueMen[0]->parentWidget()->isHidden());
    EXPECT_EQ(t.lbMueMen[0]->text(), QStringLiteral("Temp.<2 \u00b0C: 0 muestras ( 0 % )"));
    EXPECT_EQ(t.Chart2D1->kind(), views::ui::Chart::Kind::Pie);
    EXPECT_DOUBLE_EQ(t.Chart2D1->y(1, 1), 90);
    EXPECT_DOUBLE_EQ(t.Chart2D1->y(2, 1), 10);
    EXPECT_DOUBLE_EQ(t.Chart2D1->y(3, 1), 0);
}

// A zone whose share rounds to nothing reads "< 1 %" and still has a slice to see; an empty zone
// reads "0 %".
TEST(ZoneWindows, ASmallZoneIsNeverShownAsNone)
{
    FakeWorkspace ws;
    struct Case { int above; const char* caption; bool slice; };
    const Case cases[] = {
        {13, "Temp.>8 \u00b0C: 13 muestras ( < 1 % )", true},
        {1, "Temp.>8 \u00b0C: 1 muestras ( < 1 % )", true},
        {0, "Temp.>8 \u00b0C: 0 muestras ( 0 % )", false},
        {2458, "Temp.>8 \u00b0C: 2458 muestras ( 10 % )", true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.caption);
        std::vector<int> samples(24577, 90);
        for (int i = 0; i < k.above; ++i)
            samples[size_t(i * 7)] = 120;
        const auto r = makeRecord({24576}, samples);
        ProportionsWindow pie(ws, r);
        EXPECT_EQ(pie.lbMueMay[0]->text(), QString::fromUtf8(k.caption));
        EXPECT_TRUE(pie.lbMueMen[0]->text().endsWith(QStringLiteral("( 0 % )")));
        const QImage image = pie.Chart2D1->toImage(QSize(300, 300));
        int above = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                above += image.pixelColor(x, y) == zoneColor(Above);
        EXPECT_EQ(above > 40, k.slice) << above << " pixels of the slice";

        HistogramWindow histogram(ws, r);
        EXPECT_EQ(histogram.lbMueMay[0]->text(), QString::fromUtf8(k.caption));
    }
}

TEST(ZoneWindows, CircularMissionShowsTheSecondPanel)
{
    FakeWorkspace ws;
    auto r = makeRecord({30000, 84, 96, 15, true});
    putCount(r, 90, 29000);
    putCount(r, 120, 1000);
    HistogramWindow h(ws, r);
    EXPECT_FALSE(h.Frame2->isHidden());
    EXPECT_EQ(h.lbCantMuestras[0]->text(), QStringLiteral("Ultimas 24576 muestras de 30000"));
    EXPECT_EQ(h.Chart2D2->pointCount(), 2);
    ProportionsWindow t(ws, r);
    EXPECT_FALSE(t.Frame2->isHidden());
    EXPECT_EQ(t.lbCantMuestras[1]->text(), QStringLiteral("30000 muestras de un total de 30000"));
    EXPECT_DOUBLE_EQ(t.Chart2D2->y(1, 1), 29000);
}

TEST(ViewButtons, ToolbarButtonsFourToSevenOpenTheViews)
{
    QTemporaryDir dir;
    AppContext app(dir.path());
    app.textos.CargaTextos(TextTable::English);
    RecordingSink sink;
    records::MissionRecord r = hundred();
    shell::MainWindow window(app, r, sink);
    shell::registerWindows(window);
    window.HabilitaBotones();
    const std::pair<int, orvan::ui::Child> buttons[] = {
        {4, orvan::ui::Child::frmTorta}, {5, orvan::ui::Child::frmHisto},
        {6, orvan::ui::Child::Detalle}, {7, orvan::ui::Child::frmAlar},
    };
    const char* names[] = {"frmTorta", "frmHisto", "Detalle", "frmAlar"};
    for (size_t i = 0; i < 4; ++i) {
        window.toolbar1Click(buttons[i].first);
        QWidget* w = window.child(buttons[i].second);
        ASSERT_NE(w, nullptr) << names[i];
        EXPECT_EQ(w->objectName(), QLatin1String(names[i]));
    }
    EXPECT_TRUE(sink.messages.isEmpty());

    // The export's note appears in the status bar and takes no room once it is gone.
    window.showStatusMessage(QStringLiteral("CSV \u2192 x.csv"));
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("CSV \u2192 x.csv"));
    window.statusBar()->clearMessage();
    EXPECT_TRUE(window.statusBar()->isHidden());
}
