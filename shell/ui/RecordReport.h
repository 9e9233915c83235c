#pragma once
// The graph report of a record file as the application prints it right after opening that file
// and its graph, written as a PDF. For the command-line tool: no window is ever shown.

#include <QString>

namespace orvan { struct AppContext; }

namespace orvan::shell {

// Reads `recordPath`, decodes it, fills a main window's status panel, opens the graph and
// writes the graph report to `pdfPath`. `app` gives the language, unit and texts. False, with
// `error` set and no file written, when the record cannot be read or is not a record, or the
// PDF cannot be written.
bool writeRecordGraphReport(AppContext& app, const QString& recordPath, const QString& pdfPath, QString* error);

} // namespace orvan::shell
