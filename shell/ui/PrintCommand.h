#pragma once
// The print command of the utility toolbar: the graph report when the graph was the last view
// opened, the shipment report when the summary was, the screen report otherwise, shown in a
// modal preview. A failure (no printer, no
// picture) is reported and the application goes on.

#include "shell/ui/PrintReports.h"

#include <functional>
#include <optional>

class QWidget;

namespace orvan::shell {

class MainWindow;

struct PrintCommand {
    // What the graph window gives the graph report: its notes and a picture of its chart taken
    // with the cursor label and line hidden (shown again before this returns). Empty when the
    // widget is not a graph window.
    std::function<std::optional<GraphPrintSource>(QWidget* graphWindow)> graphSource;
    // What draws the shipment report of the summary window (the record, language, unit and
    // allowances it shows). Null when the widget is not a summary window.
    std::function<std::shared_ptr<const views::ui::ReportRenderer>(QWidget* summaryWindow)> summarySource;
    // Shows the filled report; the modal preview unless a test replaces it.
    std::function<bool(const Report& report, const QString& title, QString* error)> show;

    void operator()(MainWindow& main, bool graphWasLast) const;
};

// Fills the report the print command would show now, without showing it.
std::unique_ptr<Report> buildPrintReport(MainWindow& main, bool graphWasLast, const PrintCommand& command);

} // namespace orvan::shell
