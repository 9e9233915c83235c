#pragma once
// The printed reports: the screen report, a picture of the window in front under the main
// window's caption (A4 portrait); the graph report, the temperature chart with the record
// summary of the status panel (A4 landscape); and the one-page shipment report (A4 portrait).
// All end with the trademark line.

#include "shell/ui/Report.h"

#include <QDateTime>
#include <memory>

namespace orvan { struct RecordPanel; }
namespace orvan::views::ui { class ReportRenderer; }

namespace orvan::shell {

// arScreen: Label1 caption, Line1/Line2 rules, Image2 logo; detail Image1 the picture;
// footer lbPie.
std::unique_ptr<Report> makeScreenReport();
void fillScreenReport(Report& report, const QString& caption, const QPixmap& picture, const QString& trademarkLine);

// arGrafic: the controls of the graph report, empty.
std::unique_ptr<Report> makeGraphReport();

// What the graph report takes from the graph window besides the chart.
struct GraphPrintSource {
    QString text0, text1;      // the graph window's two text boxes
    Report::Painter chart;     // draws the chart at the device's resolution
};

// Fills every control of the graph report from the main window's caption, the record as the
// status panel shows it, the graph window's texts and chart, and the trademark line.
void fillGraphReport(Report& report, const QString& caption, const RecordPanel& record,
                     const GraphPrintSource& graph, const QString& trademarkLine);

// arEnvio: the shipment report drawn by the renderer, which the report keeps alive.
std::unique_ptr<Report> makeShipmentReport(std::shared_ptr<const views::ui::ReportRenderer> renderer,
                                           const QString& caption);

} // namespace orvan::shell
