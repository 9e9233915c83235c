#pragma once
// The printed reports of a record file written as PDFs, for the command-line tool: the graph
// report as the application prints it right after opening that file and its graph, and the
// one-page shipment report. Drawn by the report renderer; no window is built or shown.

#include "base/Unit.h"
#include "views/ShipmentSummary.h"

#include <QString>

namespace orvan::shell {

// Reads `recordPath`, decodes it and writes its graph report to `pdfPath` in the language
// `idioma` and the unit. False, with `error` set and no file written, when the record cannot be
// read or is not a record, or the PDF cannot be written.
bool writeRecordGraphReport(const QString& recordPath, int idioma, Unit unit, const QString& pdfPath, QString* error);

// The shipment report of a record already read, judged against the allowances; written whole
// or not at all.
bool writeShipmentReport(const records::MissionRecord& record, int idioma, Unit unit, views::Allowances allowed,
                         const QString& pdfPath, QString* error);

} // namespace orvan::shell
