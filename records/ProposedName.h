#pragma once
// The file name the save dialog proposes for a record: the exporter's name and a number.

#include <QString>
#include <QStringList>

namespace orvan::records {

// The first of base_1 .. base_1000 whose "<name>.klv" is not among `listed` (the file names the
// folder lists, compared exactly, case included); base_9999 when all are taken. The base is the
// exporter's name without surrounding blanks, so a blank exporter gives _1, _2 and so on.
// Control characters (the zero bytes of a logger never named) count as blanks and path
// separators become '_', so the proposal is always a plain file name.
QString proposedName(const QString& exporter, const QStringList& listed);

} // namespace orvan::records
