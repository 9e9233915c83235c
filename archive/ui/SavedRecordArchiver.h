#pragma once
// A record the program has just saved goes into the archive at once, in the background. The
// save is complete and reported before this starts: an archive that cannot be reached or refuses
// the file costs one message, never the record, and never holds up the window that saved it.

#include <QString>

class QObject;

namespace orvan::ui { class Workspace; }

namespace orvan::archive::ui {

// Archives the file at `path` into the configured archive. `owner` keeps the job's report: when
// it goes, the job still ends but reports nothing.
void archiveSavedRecord(orvan::ui::Workspace& main, QObject* owner, const QString& path);

} // namespace orvan::archive::ui
