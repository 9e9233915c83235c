#pragma once
// The two printed reports: the screen report, a picture of the window in front under the main
// window's caption (A4 portrait), and the graph report, the temperature chart with the record
// summary of the status panel (A4 landscape). Both end with the trademark line.

#include "shell/ui/Report.h"

#include <QDateTime>
#include <memory>

namespace orvan::ui { class StatusPanel; }

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

// Fills every control of the graph report from the main window's caption and status panel,
// the graph window's texts and chart, and the trademark line.
void fillGraphReport(Report& report, const QString& caption, const ui::StatusPanel& panel,
                     const GraphPrintSource& graph, const QString& trademarkLine);

} // namespace orvan::shell
