#pragma once

#include "base/PanelValues.h"
#include "base/Unit.h"

#include <QLocale>
#include <QString>

namespace orvan::records {

class MissionRecord;

// What the status panel says of a record once it is open, and what the printed graph report
// copies from it: one place computes the texts, the panel and the report only show them. The
// names are shown on one line (control characters as blanks); the record keeps its bytes.
using RecordCaptions = RecordPanel;

// The limits in unit, each followed by the unit's text (" °C" or " °F").
RecordCaptions recordCaptions(const MissionRecord& record, Unit unit, const QLocale& locale = QLocale());

} // namespace orvan::records
