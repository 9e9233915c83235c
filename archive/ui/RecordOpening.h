#pragma once
// Opens an archived record in the main window as the open dialog does after its OK: the record
// views and dialogs close, the record is read and decoded, the summary panel shows it, the view
// commands are enabled and the graph opens.
//
// Messages go through the workspace's sink, which may run a nested loop: callers that are windows
// guard themselves.

#include <QByteArray>
#include <QString>

namespace orvan::ui { class Workspace; }
namespace orvan::records { class MissionRecord; }

namespace orvan::archive::ui {

// From the file at `path`. False (after a message) when it cannot be read or is no record.
bool showRecordFile(orvan::ui::Workspace& main, records::MissionRecord& record, const QString& path);
// From the archive's copy of the 32768 bytes; `archivedPath` names it on the panel.
bool showRecordImage(orvan::ui::Workspace& main, records::MissionRecord& record, const QByteArray& image,
                     const QString& archivedPath);

} // namespace orvan::archive::ui
