#include "shell/ui/PrintCommand.h"

#include "base/AddedTexts.h"
#include "base/AppContext.h"
#include "base/ui/StatusPanel.h"
#include "base/RuntimeError.h"
#include "shell/ui/Display.h"
#include "shell/ui/MainWindow.h"

#include <QApplication>

namespace orvan::shell {

namespace {
constexpr int kInvalidPicture = 481;
constexpr int kPrinterError = 482;
} // namespace

std::unique_ptr<Report> buildPrintReport(MainWindow& main, bool graphWasLast, const PrintCommand& command)
{
    if (graphWasLast && command.graphSource) {
        if (QWidget* graph = main.child(MainWindow::Child::frmGrafico)) {
            if (const std::optional<GraphPrintSource> source = command.graphSource(graph)) {
                auto report = makeGraphReport();
                fillGraphReport(*report, main.windowTitle(), main.panel()->record(), *source, main.app().LineaMarca);
                return report;
            }
        }
    }
    // Opening any view closes the others: an open summary is the last view opened.
    if (command.summarySource) {
        if (QWidget* summary = main.child(MainWindow::Child::Summary)) {
            if (auto renderer = command.summarySource(summary))
                return makeShipmentReport(std::move(renderer), main.windowTitle());
        }
    }
    auto report = makeScreenReport();
    fillScreenReport(*report, main.windowTitle(), CapturaVentanaActiva(&main), main.app().LineaMarca);
    return report;
}

void PrintCommand::operator()(MainWindow& main, bool graphWasLast) const
{
    const std::unique_ptr<Report> report = buildPrintReport(main, graphWasLast, *this);
    const bool graph = report->name() == QLatin1String("arGrafic");
    const bool shipment = report->name() == QLatin1String("arEnvio");
    const QString title = graph      ? QStringLiteral("Imprime Gráfico")
                          : shipment ? addedText(AddedText::ShipmentReport, main.app().config.Idioma)
                                     : QStringLiteral("Imprime Pantalla");
    // Failures surface through the toolbar's own error report, in the usual error format.
    if (!graph && !shipment && report->pixmap(QStringLiteral("Image1")).isNull())
        throw RuntimeError(kInvalidPicture, QStringLiteral("Invalid picture"));
    QString error;
    const bool shown = show ? show(*report, title, &error) : report->preview(&main, title, &error);
    if (!shown)
        throw RuntimeError(kPrinterError, QStringLiteral("Printer error: %1").arg(error));
}

} // namespace orvan::shell
