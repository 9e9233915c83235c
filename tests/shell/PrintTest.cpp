// The print command: which report, what fills it, and the PDF it writes.

#include "ShellUiFixture.h"

#include "base/ui/StatusPanel.h"
#include "support/AsNobody.h"
#include "support/Files.h"
#include "support/RunCli.h"
#include "views/ui/Chart.h"
#include "views/ChartPixels.h"
#include "views/GraphPoints.h"
#include "views/ui/GraphWindow.h"
#include "views/ui/QCustomPlotInclude.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

using namespace shelltest;
using orvan::shell::GraphPrintSource;
using orvan::shell::PrintCommand;
using orvan::shell::Report;
using orvan::test::runCli;

TEST_F(ShellUiTest, PrintChoosesTheReportByTheLastViewAndFillsIt)
{
    start();
    // The print command records each report instead of opening the preview.
    struct Shown {
        QString title, name;
        std::map<QString, QString> texts;
        bool picture;
    };
    std::vector<Shown> shown;
    PrintCommand recording;
    recording.graphSource = [](QWidget*) -> std::optional<GraphPrintSource> {
        return GraphPrintSource{QStringLiteral("Nota uno"), QStringLiteral("Nota dos"), [](QPainter& p, const QRectF& r) { p.fillRect(r, Qt::white); }};
    };
    recording.show = [&shown](const Report& r, const QString& title, QString*) {
        Shown s{title, r.name(), {}, !r.pixmap(QStringLiteral("Image1")).isNull()};
        for (const char* n : {"Label1", "lbInicio", "lbFin", "lbRango", "lbCantMuestras", "lbSerial", "lbMin", "lbMax", "lbTexto0", "lbTexto1", "lbPie"})
            s.texts[QString::fromLatin1(n)] = r.text(QString::fromLatin1(n));
        shown.push_back(s);
        return true;
    };
    window->printHandler = recording;

    // Nothing loaded: a screen report of the window at rest.
    window->toolbar2Click(1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, QStringLiteral("Imprime Pantalla"));
    EXPECT_EQ(shown[0].name, QStringLiteral("arScreen"));
    EXPECT_EQ(shown[0].texts["Label1"], window->windowTitle());
    EXPECT_TRUE(shown[0].picture);
    EXPECT_EQ(shown[0].texts["lbPie"], app->LineaMarca);

    // A record summary on the panel and the graph open: the graph report.
    orvan::RecordPanel shownRecord{QStringLiteral("FRUTAS SUR_1.klv"), QStringLiteral("12345"), QStringLiteral("01/03/2024 - 10:30"),
                                   QStringLiteral("Registrando"),   // not a date: passed unchanged
                                   QStringLiteral("15 min"), QStringLiteral("2400"), QStringLiteral(" > 8 °C"), QStringLiteral(" < 2 °C"),
                                   QStringLiteral("FRUTAS SUR"), QStringLiteral("NAVIERA AZUL")};
    window->panel()->showRecord(shownRecord);
    window->HabilitaBotones();
    window->toolbar1Click(3);
    window->toolbar2Click(1);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].title, QStringLiteral("Imprime Gráfico"));
    EXPECT_EQ(shown[1].name, QStringLiteral("arGrafic"));
    const std::pair<const char*, const char*> texts[] = {
        {"lbInicio", "01/03/2024 - 10:30"}, {"lbFin", "Registrando"}, {"lbRango", "15 min"},  {"lbCantMuestras", "2400"},
        {"lbSerial", "Serial: 12345"},      {"lbMin", " < 2 °C"},     {"lbMax", " > 8 °C"},   {"lbTexto0", "Nota uno"},
        {"lbTexto1", "Nota dos"},
    };
    for (const auto& [name, text] : texts)
        EXPECT_EQ(shown[1].texts[QLatin1String(name)], QString::fromUtf8(text)) << name;
    EXPECT_EQ(shown[1].texts["lbPie"], app->LineaMarca);

    // Another view after the graph: back to the screen report. The configuration clears it too.
    window->toolbar1Click(5);
    window->toolbar2Click(1);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2].name, QStringLiteral("arScreen"));
    app->GraficoActivo = true;
    window->toolbar2Click(2);
    EXPECT_FALSE(app->GraficoActivo);
    EXPECT_TRUE(sink.messages.isEmpty());

    // A print that fails is one message, and the next command works.
    PrintCommand failing;
    failing.show = [](const Report&, const QString&, QString* error) {
        *error = QStringLiteral("no printer is available");
        return false;
    };
    window->printHandler = failing;
    window->toolbar2Click(1);
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_TRUE(sink.messages[0].startsWith(QStringLiteral("Error 482 (Printer error: no printer is available)"))) << sink.messages[0].toStdString();
    window->toolbar1Click(1);
    EXPECT_NE(window->child(Child::AbreArch), nullptr);
}

namespace {

// The graph report's page as the print command fills it from the graph window, at 100 dpi.
QImage printedPage(orvan::views::GraphWindow& graph)
{
    auto report = orvan::shell::makeGraphReport();
    report->setPainter(QStringLiteral("Image1"), orvan::shell::printCommand().graphSource(&graph)->chart);
    QImage page(1169, 827, QImage::Format_ARGB32);
    page.setDotsPerMeterX(3937);
    page.setDotsPerMeterY(3937);
    page.fill(Qt::white);
    QPainter painter(&page);
    report->paint(painter, page);
    return page;
}

// Pixels of the cursor label's backgrounds: cyan below the low limit, pink above the high one.
int readoutPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) & 0xFFFFFF;
            n += c == orvan::views::kColorBelow || c == orvan::views::kColorAbove;
        }
    return n;
}

} // namespace

// Hovering a sample below the low limit or above the high one shows the cursor lines and label
// on screen; the printed page is the page printed before any hover, and the screen keeps its cursor.
TEST_F(ShellUiTest, ThePrintedChartNeverShowsTheCursor)
{
    start();
    record = orvan::views::graphdata::spikeRecord();
    for (const auto& [point, series] : {std::pair{1201, 1}, std::pair{601, 3}}) {
        SCOPED_TRACE(point);
        orvan::views::GraphWindow graph(*app, record, sink);
        graph.resize(1000, 560);
        graph.show();
        QCoreApplication::processEvents();
        graph.MuestraVentana(point - 20, point + 20);
        graph.Text1[0]->setText(QStringLiteral("Contenedor 12"));
        EXPECT_EQ(orvan::shell::printCommand().graphSource(&graph)->text0, QStringLiteral("Contenedor 12"));
        const QImage untouched = printedPage(graph);
        ASSERT_EQ(readoutPixels(untouched), 0);

        orvan::views::ui::Chart& chart = *graph.Chart2D1;
        auto* plot = reinterpret_cast<QWidget*>(chart.plot());
        const QPointF at = chart.dataToPixel({chart.x(point), chart.y(series, point)}).toPoint();
        QMouseEvent move(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot, &move);
        ASSERT_EQ(graph.Label2->text(), QString::number(point));
        chart.repaintNow();
        EXPECT_GT(readoutPixels(chart.grab().toImage()), 100) << "the screen shows the cursor label";

        const QImage page = printedPage(graph);
        const QRect chartOnPage = QRectF(12 / 0.254, 67 / 0.254, 273 / 0.254, 125 / 0.254).toRect();   // 12, 67 mm; 273 x 125 mm
        EXPECT_TRUE(page.copy(chartOnPage) == untouched.copy(chartOnPage)) << "no cursor line or label on the page";
        EXPECT_TRUE(chart.markerVisible(QStringLiteral("X")) && chart.labelVisible(QStringLiteral("lbcursor"))) << "the screen keeps its cursor";
    }
    QWidget other;   // not a graph window: no graph source
    EXPECT_FALSE(orvan::shell::printCommand().graphSource(&other).has_value());
}

// orvanlog-cli report writes the graph report as an A4 landscape PDF (842 x 595 points); the
// report refuses a folder as its target and one this user cannot write, and a PDF already
// there stays as it was.
TEST(ReportCommand, WritesTheGraphReportOfARecordOrNothing)
{
    QTemporaryDir dir;
    const QString klv = dir.filePath(QStringLiteral("demo.klv"));
    ASSERT_EQ(runCli({QStringLiteral("generate"), QStringLiteral("alarms"), klv}).code, 0);
    const QString pdf = dir.filePath(QStringLiteral("demo.pdf"));
    const auto ok = runCli({QStringLiteral("report"), klv, pdf, QStringLiteral("--lang"), QStringLiteral("1")});
    EXPECT_EQ(ok.code, 0) << ok.err.toStdString();
    const QByteArray bytes = orvan::test::readAll(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("/MediaBox [0 0 842.000000 595.000000]"));

    EXPECT_EQ(runCli({QStringLiteral("report"), klv, dir.filePath(QStringLiteral("x.png"))}).code, 2);   // not a PDF

    // In the window's own process: a folder as the target, or a folder this user cannot write.
    auto report = orvan::shell::makeGraphReport();
    QString error;
    EXPECT_FALSE(report->writePdf(dir.path(), &error) || error.isEmpty());
    orvan::test::setMode(dir.path(), 0555);
    {
        const orvan::test::FileSystemAsNobody nobody;   // root may write anywhere
        EXPECT_FALSE(report->writePdf(pdf, &error));
    }
    orvan::test::setMode(dir.path(), 0755);
    EXPECT_EQ(orvan::test::readAll(pdf), bytes);
}
