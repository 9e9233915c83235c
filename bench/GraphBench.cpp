// How fast the graph window answers with a full record (24576 samples): opening it, and the
// repaint after one zoom, one scroll step and one pointer move. Run offscreen:
//   QT_QPA_PLATFORM=offscreen build/bin/bench_graph

#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "records/MissionRecord.h"
#include "tools/generator/RecordGenerator.h"
#include "views/ui/Chart.h"
#include "views/ui/GraphWindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace orvan;

namespace {

struct Banco {
    QTemporaryDir dir;
    AppContext app{dir.path()};
    RecordingSink messages;
    records::MissionRecord record;

    Banco()
    {
        app.textos.CargaTextos(0);
        app.config.GradosC = gradosCFor(Unit::Celsius);
        generator::GeneratorOptions o;
        o.scenario = generator::Scenario::Alarms;
        o.samples = records::kCapacity;
        o.interval = 5;
        record.setBytes(0, generator::generateImage(o));
    }

    std::unique_ptr<views::GraphWindow> abre()
    {
        auto form = std::make_unique<views::GraphWindow>(app, record, messages);
        form->resize(1400, 800);
        form->show();
        QApplication::processEvents();
        return form;
    }
};

Banco& banco()
{
    static Banco b;
    return b;
}

void hover(views::GraphWindow& form, QPoint p)
{
    QWidget* plot = reinterpret_cast<QWidget*>(form.Chart2D1->plot());
    QMouseEvent e(QEvent::MouseMove, QPointF(p), plot->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(plot, &e);
}

} // namespace

// From the command to the window painted on screen.
static void BM_OpenGraph(benchmark::State& state)
{
    Banco& b = banco();
    for (auto _ : state) {
        auto form = b.abre();
        benchmark::DoNotOptimize(form.get());
        state.PauseTiming();
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenGraph)->Unit(benchmark::kMillisecond);

// One zoom step, alternately in (left half of the whole record) and back out, painted.
static void BM_ZoomRepaint(benchmark::State& state)
{
    auto form = banco().abre();
    bool dentro = false;
    for (auto _ : state) {
        if (dentro)
            form->upZoomClick();
        else
            form->zoomClick();
        dentro = !dentro;
        form->Chart2D1->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ZoomRepaint)->Unit(benchmark::kMillisecond);

// One step of the scroll bar through a window of about a day, painted.
static void BM_ScrollRepaint(benchmark::State& state)
{
    auto form = banco().abre();
    for (int i = 0; i < 5; ++i)
        form->zoomClick();
    int value = 1;
    for (auto _ : state) {
        value = value + form->scrGraph->pageStep() / 4;
        if (value >= form->scrGraph->maximum())
            value = 1;
        form->scrGraph->setValue(value);
        form->Chart2D1->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ScrollRepaint)->Unit(benchmark::kMillisecond);

// One pointer move over the whole record: readout, cursor lines and label, painted.
static void BM_CursorRepaint(benchmark::State& state)
{
    auto form = banco().abre();
    const QRect area = form->Chart2D1->plotArea();
    int x = area.left() + 1;
    for (auto _ : state) {
        x = x + 7 > area.right() ? area.left() + 1 : x + 7;
        hover(*form, QPoint(x, area.center().y()));
        form->Chart2D1->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CursorRepaint)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
