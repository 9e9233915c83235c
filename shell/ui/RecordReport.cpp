#include "shell/ui/RecordReport.h"

#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "records/ui/OpenRecordDialog.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/PrintCommand.h"
#include "shell/ui/WindowRegistry.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace orvan::shell {

bool writeRecordGraphReport(AppContext& app, const QString& recordPath, const QString& pdfPath, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };

    records::MissionRecord record;
    const records::FileResult read = records::LeerArchivo(record, recordPath);
    if (!read.ok)
        return fail(records::failureLine(read, recordPath, app.config.Idioma));
    record.Archivo = QFileInfo(recordPath).absoluteFilePath();
    record.NombreArchivo = QFileInfo(recordPath).fileName();
    record.LeeAuditoria();   // a start-date fall-back is part of the record as the graph shows it
    if (!record.campos.ArchivoOk)
        return fail(QStringLiteral("%1 is not a record the graph can show").arg(recordPath));

    // The main window as the application has it after start-up, at a usual desktop size, so the
    // graph lays itself out as on screen.
    RecordingSink messages;
    app.textos.CargaTextos(app.config.Idioma);
    app.LineaMarca = TextTable::LineaMarca(app.config.Idioma);
    MainWindow main(app, record, messages);
    registerWindows(main);
    main.applyCaption();
    main.PonerTextos();
    main.resize(1280, 960);
    main.show();
    records::OpenRecordDialog::PoneResumenMenu(*main.panel(), record, app);
    main.HabilitaBotones();
    if (!main.openChild(MainWindow::Child::frmGrafico))
        return fail(QStringLiteral("the graph of %1 could not be opened").arg(recordPath));
    QCoreApplication::processEvents();

    const std::unique_ptr<Report> report = buildPrintReport(main, app.GraficoActivo, printCommand());
    if (report->name() != QLatin1String("arGrafic"))
        return fail(QStringLiteral("the graph of %1 could not be opened").arg(recordPath));
    QString why;
    if (!report->writePdf(pdfPath, &why))
        return fail(why);
    return true;
}

} // namespace orvan::shell
