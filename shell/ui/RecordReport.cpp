#include "shell/ui/RecordReport.h"

#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/PrintReports.h"
#include "views/ui/ReportRenderer.h"

#include <QFileInfo>
#include <QPainter>

namespace orvan::shell {

bool writeRecordGraphReport(const QString& recordPath, int idioma, Unit unit, const QString& pdfPath, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };

    records::MissionRecord record;
    const records::FileResult read = records::LeerArchivo(record, recordPath);
    if (!read.ok)
        return fail(records::failureLine(read, recordPath, idioma));
    record.Archivo = QFileInfo(recordPath).absoluteFilePath();
    record.NombreArchivo = QFileInfo(recordPath).fileName();
    record.LeeAuditoria();   // a start-date fall-back is part of the record as the graph shows it
    if (!record.campos.ArchivoOk)
        return fail(QStringLiteral("%1 is not a record the graph can show").arg(recordPath));

    // The graph as it opens: the whole record, and the window's two notes still empty.
    auto renderer = std::make_shared<const views::ui::ReportRenderer>(record, idioma, unit);
    GraphPrintSource graph;
    graph.chart = [renderer](QPainter& painter, const QRectF& target) { renderer->paintGraph(painter, target); };
    const std::unique_ptr<Report> report = makeGraphReport();
    fillGraphReport(*report, MainWindow::versionCaption(), renderer->captions(), graph, renderer->trademarkLine());
    QString why;
    if (!report->writePdf(pdfPath, &why))
        return fail(why);
    return true;
}

bool writeShipmentReport(const records::MissionRecord& record, int idioma, Unit unit, views::Allowances allowed,
                         const QString& pdfPath, QString* error)
{
    auto renderer = std::make_shared<const views::ui::ReportRenderer>(record, idioma, unit, allowed);
    return makeShipmentReport(renderer, MainWindow::versionCaption())->writePdf(pdfPath, error);
}

} // namespace orvan::shell
