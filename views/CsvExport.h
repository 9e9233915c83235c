#pragma once
// The comma-separated export of the sample list: the record's header in 12 lines, then one line
// per list entry. Five quoted fields a line, CRLF endings, Windows-1252 text, dates and times
// with the system's separators and temperatures always with a dot.

#include "base/AtomicWrite.h"
#include "base/Unit.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

namespace orvan { class TextTable; }
namespace orvan::records { class MissionRecord; }

namespace orvan::views {

struct ListaMuestras;

// The file content. `nombreArchivo` is the record's file name without folder.
QByteArray ExportaCsv(const records::MissionRecord& record, const ListaMuestras& list, const TextTable& textos,
                      Unit unit, const QString& nombreArchivo, const QLocale& locale);

// One line: every field quoted, a quotation mark inside a field doubled, CRLF at the end.
QByteArray csvLine(const QStringList& campos);

// Where the export of the record file `archivo` goes: its name without the last 3 characters,
// followed by "csv". Empty when `archivo` is shorter than 4 characters (no record file yet).
QString csvPath(const QString& archivo);

struct CsvResult {
    bool ok = false;
    QString error;   // one line naming the file, when !ok
};
// Writes `content` to `path` through a temporary file in the same folder that replaces it only
// once complete: a failed export leaves an earlier file of that name as it was and nothing
// beside it. Refuses to write over the record file itself. `write` puts the bytes into the file
// (one call when empty); tests pass their own to make the disk fill.
CsvResult writeCsv(const QString& path, const QByteArray& content, const QString& recordFile = {},
                   const WriteBytes& write = {});

} // namespace orvan::views
