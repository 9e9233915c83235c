// The four view windows on a record: the sample list's rows, scrolling, position label and
// export, the alarm list's rows, and the panels and captions of the histogram and the pies.

#include "views/TestRecords.h"

#include "base/AppContext.h"
#include "base/ui/Workspace.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/WindowRegistry.h"
#include "views/ui/Chart.h"
#include "views/ui/Detalle.h"
#include "views/ui/ZoneColors.h"
#include "views/ui/frmAlar.h"
#include "views/ui/frmHisto.h"
#include "views/ui/frmTorta.h"

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
    explicit FakeWorkspace(int gradosC = -1) : context(QStringLiteral("/nonexistent"))
    {
        context.config.GradosC = gradosC;
        context.textos.CargaTextos(TextTable::Spanish);
        context.LineaMarca = TextTable::LineaMarca(TextTable::Spanish);
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

TEST(DetalleWindow, RowsScrollAndThePositionLabelFollowsTheThumb)
{
    FakeWorkspace ws;
    const auto r = hundred();
    Detalle d(ws, r);
    d.resize(1200, 700);
    d.show();
    EXPECT_EQ(d.VScroll1->minimum(), 1);
    EXPECT_EQ(d.VScroll1->maximum(), 96);
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

TEST(DetalleWindow, ExportWritesNextToTheRecordAndReportsAFailure)
{
    QTemporaryDir dir;
    FakeWorkspace ws;
    auto r = makeRecord({3}, {85, 84, 100, 60});

    // No record file yet: nothing happens.
    {
        Detalle d(ws, r);
        d.cmdExcel->click();
        EXPECT_TRUE(ws.sink.messages.isEmpty());
        EXPECT_TRUE(ws.status.isEmpty());
    }

    r.Archivo = dir.filePath(QStringLiteral("ENVIO_1.klv"));
    {
        Detalle d(ws, r);
        d.cmdExcel->click();
        const QString csv = dir.filePath(QStringLiteral("ENVIO_1.csv"));
        ASSERT_TRUE(QFile::exists(csv));
        EXPECT_EQ(records::testdata::readFile(csv).count('\n'), 16);
        EXPECT_TRUE(ws.status.contains(QStringLiteral("ENVIO_1.csv")));
        EXPECT_TRUE(d.cmdExcel->isEnabled());
    }

    r.Archivo = dir.filePath(QStringLiteral("missing/ENVIO_2.klv"));
    {
        Detalle d(ws, r);
        d.cmdExcel->click();
        ASSERT_EQ(ws.sink.messages.size(), 1);
        EXPECT_TRUE(ws.sink.messages.first().contains(QStringLiteral("ENVIO_2.csv")));
        EXPECT_TRUE(ws.sink.messages.first().contains(QStringLiteral("of Formulario Detalle")));
        EXPECT_TRUE(d.cmdExcel->isEnabled());
    }
}

TEST(FrmAlarWindow, TitlesAndRowsInFahrenheit)
{
    FakeWorkspace ws(0);
    auto r = makeRecord({6, 84, 96, 10, false, 6}, {90, 120, 70, 90, 130, 0});
    r.setByte(kLowAlarms, 2);
    r.setByte(kHighAlarms, 1);
    r.setByte(kHighAlarms + 3, 5);     // a sample of raw 0
    frmAlar f(ws, r);
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

TEST(ZoneWindows, OnePanelHidesEmptyZonesInTheHistogramOnly)
{
    FakeWorkspace ws;
    const auto r = hundred();
    frmHisto h(ws, r);
    EXPECT_TRUE(h.Frame2->isHidden());
    EXPECT_TRUE(h.lbMueMen[0]->parentWidget()->isHidden());
    EXPECT_FALSE(h.lbMueMay[0]->parentWidget()->isHidden());
    EXPECT_EQ(h.lbMueMay[0]->text(), QStringLiteral("Temp.>8 \u00b0C: 10 muestras  ( 10 % )"));
    EXPECT_EQ(h.Chart2D1->kind(), views::ui::Chart::Kind::Bars);
    ASSERT_EQ(h.Chart2D1->pointCount(), 2);
    EXPECT_DOUBLE_EQ(h.Chart2D1->x(1), 5.0);
    EXPECT_DOUBLE_EQ(h.Chart2D1->y(1, 1), 90);
    EXPECT_TRUE(views::ui::Chart::isHole(h.Chart2D1->y(2, 1)));
    EXPECT_DOUBLE_EQ(h.Chart2D1->y(2, 2), 10);
    EXPECT_EQ(h.Chart2D1->axisTitle(views::ui::Chart::Axis::X), QStringLiteral(" \u00b0C"));

    frmTorta t(ws, r);
    EXPECT_TRUE(t.Frame2->isHidden());
    EXPECT_FALSE(t.lbMueMen[0]->parentWidget()->isHidden());
    EXPECT_EQ(t.lbMueMen[0]->text(), QStringLiteral("Temp.<2 \u00b0C: 0 muestras  ( 0 % )"));
    EXPECT_EQ(t.Chart2D1->kind(), views::ui::Chart::Kind::Pie);
    EXPECT_DOUBLE_EQ(t.Chart2D1->y(1, 1), 90);
    EXPECT_DOUBLE_EQ(t.Chart2D1->y(2, 1), 10);
    EXPECT_DOUBLE_EQ(t.Chart2D1->y(3, 1), 0);
}

TEST(ZoneWindows, CircularMissionShowsTheSecondPanel)
{
    FakeWorkspace ws;
    auto r = makeRecord({30000, 84, 96, 15, true});
    putCount(r, 90, 29000);
    putCount(r, 120, 1000);
    frmHisto h(ws, r);
    EXPECT_FALSE(h.Frame2->isHidden());
    EXPECT_EQ(h.lbCantMuestras[0]->text(), QStringLiteral("Ultimas 24576 muestras de 30000"));
    EXPECT_EQ(h.Chart2D2->pointCount(), 2);
    frmTorta t(ws, r);
    EXPECT_FALSE(t.Frame2->isHidden());
    EXPECT_EQ(t.lbCantMuestras[1]->text(), QStringLiteral("29999 muestras de  un total de 30000"));
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
