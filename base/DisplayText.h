#pragma once
// Texts that come from a record or a logger (exporter, carrier, file name) may hold any byte.
// A line break or a tab in a label would push the rest of a one-line summary out of place, so
// what is shown gets a blank for each control character; the record itself keeps its bytes.

#include <QString>

namespace orvan {

// `text` with every control character (CR, LF, tab, NUL, DEL, C1 codes, line and paragraph
// separators) replaced by a blank, so it keeps its length and stays on one line.
QString oneLineText(const QString& text);

} // namespace orvan
