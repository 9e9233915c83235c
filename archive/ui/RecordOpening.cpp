#include "archive/ui/RecordOpening.h"

#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "base/ui/Workspace.h"
#include "records/MissionRecord.h"
#include "records/ui/OpenRecordDialog.h"

#include <QFileInfo>

namespace orvan::archive::ui {

namespace {

using orvan::ui::Child;

// What the study-from-disk command does before its dialog: the windows of the record in memory
// close, and a logger form lets go of the record it might still write into.
void closeRecordWindows(orvan::ui::Workspace& main)
{
    AppContext& app = main.app();
    app.flags.CerrarPrep = true;
    main.closeChildren({Child::frmGrafico, Child::frmTorta, Child::frmHisto, Child::AbreArch, Child::Detalle,
                        Child::frmAlar, Child::Summary});
    app.flags.CerrarPrep = true;
    app.flags.CerrarSave = true;
    app.GraficoActivo = false;
    main.DeshabilitaBotones();
}

bool showDecoded(orvan::ui::Workspace& main, records::MissionRecord& record)
{
    AppContext& app = main.app();
    for (const QString& m : record.LeeAuditoria())
        main.messages().show(m);
    if (!record.campos.ArchivoOk)
        return false;
    if (orvan::ui::StatusPanel* panel = main.panel())
        records::OpenRecordDialog::PoneResumenMenu(*panel, record, app);
    main.HabilitaBotones();
    main.openChild(Child::frmGrafico);
    return true;
}

} // namespace

bool showRecordFile(orvan::ui::Workspace& main, records::MissionRecord& record, const QString& path)
{
    closeRecordWindows(main);
    return records::OpenRecordDialog::openFile(main.app(), record, main, main.messages(), path);
}

bool showRecordImage(orvan::ui::Workspace& main, records::MissionRecord& record, const QByteArray& image,
                     const QString& archivedPath)
{
    closeRecordWindows(main);
    record.clear();
    record.setBytes(0, image);
    record.Archivo = archivedPath;
    record.NombreArchivo = QFileInfo(archivedPath).fileName();
    return showDecoded(main, record);
}

} // namespace orvan::archive::ui
