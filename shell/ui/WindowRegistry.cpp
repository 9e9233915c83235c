#include "shell/ui/WindowRegistry.h"

#include "archive/ui/ArchiveWindow.h"
#include "archive/ui/SavedRecordArchiver.h"
#include "mission/ui/DeviceDataForm.h"
#include "mission/ui/PrepForm.h"
#include "records/ui/OpenRecordDialog.h"
#include "shell/ui/ConfigDialog.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/PrintCommand.h"
#include "views/ui/AlarmListWindow.h"
#include "views/ui/Chart.h"
#include "views/ui/GraphWindow.h"
#include "views/ui/HistogramWindow.h"
#include "views/ui/ProportionsWindow.h"
#include "views/ui/ReportRenderer.h"
#include "views/ui/SampleListWindow.h"
#include "views/ui/SummaryWindow.h"

#include <QLineEdit>
#include <QPointer>

namespace orvan::shell {

// The one place that knows every subsystem's windows: the main window itself only knows them
// by kind, so a window that does not exist yet is simply not opened.
void registerWindows(MainWindow& main)
{
    main.setChildFactory(MainWindow::Child::Config, [](MainWindow& m) { return new ConfigDialog(m); });
    main.setChildFactory(MainWindow::Child::AbreArch, [](MainWindow& m) {
        return new records::OpenRecordDialog(m.app(), m.record(), m, m.messages());
    });
    main.setChildFactory(MainWindow::Child::frmGrafico, [](MainWindow& m) {
        return new views::GraphWindow(m.app(), m.record(), m.messages());
    });
    main.setChildFactory(MainWindow::Child::frmsave, [](MainWindow& m) {
        auto* form = new mission::DeviceDataForm(m, m.record());
        // A download the form saved goes into the archive at once, reported by the main window.
        form->recordSaved = [&m](const QString& path) { archive::ui::archiveSavedRecord(m, &m, path); };
        return form;
    });
    main.setChildFactory(MainWindow::Child::frmPrep, [](MainWindow& m) { return new mission::PrepForm(m); });
    main.setChildFactory(MainWindow::Child::Detalle, [](MainWindow& m) { return new views::SampleListWindow(m, m.record()); });
    main.setChildFactory(MainWindow::Child::frmTorta, [](MainWindow& m) { return new views::ProportionsWindow(m, m.record()); });
    main.setChildFactory(MainWindow::Child::frmHisto, [](MainWindow& m) { return new views::HistogramWindow(m, m.record()); });
    main.setChildFactory(MainWindow::Child::frmAlar, [](MainWindow& m) { return new views::AlarmListWindow(m, m.record()); });
    main.setChildFactory(MainWindow::Child::Summary, [](MainWindow& m) { return new views::SummaryWindow(m, m.record()); });
    main.setChildFactory(MainWindow::Child::Archive, [](MainWindow& m) {
        auto* window = new archive::ui::ArchiveWindow(m, m.record());
        QObject::connect(&m, &MainWindow::configurationAccepted, window, &archive::ui::ArchiveWindow::settingsChanged);
        return window;
    });

    main.printHandler = printCommand();
}

PrintCommand printCommand()
{
    PrintCommand print;
    print.graphSource = [](QWidget* window) -> std::optional<GraphPrintSource> {
        auto* graph = qobject_cast<views::GraphWindow*>(window);
        if (!graph)
            return std::nullopt;
        GraphPrintSource source;
        source.text0 = graph->Text1[0]->text();
        source.text1 = graph->Text1[1]->text();
        // The chart is drawn straight onto the page at the page's resolution, without what follows
        // the pointer: no cursor line, label or band is ever printed, the screen keeps them, and
        // the user's clipboard is left alone.
        QPointer<views::ui::Chart> chart = graph->Chart2D1;
        source.chart = [chart](QPainter& painter, const QRectF& target) {
            if (chart)
                chart->render(painter, target, views::ui::Chart::Layers::WithoutCursor);
        };
        return source;
    };
    print.summarySource = [](QWidget* window) -> std::shared_ptr<const views::ui::ReportRenderer> {
        auto* summary = qobject_cast<views::SummaryWindow*>(window);
        if (!summary)
            return nullptr;
        return std::make_shared<views::ui::ReportRenderer>(summary->record(), summary->idioma(), summary->summary().unit,
                                                           summary->allowances());
    };
    return print;
}

} // namespace orvan::shell
