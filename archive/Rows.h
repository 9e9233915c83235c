#pragma once
// How a record file becomes an archive row, and how rows are written and read back, for the
// archive's own files.

#include "archive/Archive.h"

#include <QByteArray>
#include <QString>
#include <variant>

namespace orvan::archive::rows {

// A record file read once: its row (without places) and its 32768 bytes.
struct Examined {
    RecordRow row;
    QByteArray image;
};

// Reads the file at `path` of `size` bytes (from the caller's look at it) through the record
// reader the open dialog uses. A file of another size than a record is not opened; one that is
// not an ordinary file, cannot be read, or whose dates do not decode comes back as the reason,
// in the language.
std::variant<Examined, QString> examine(const QString& path, qint64 size, int idioma);

// 'yyyy-MM-dd HH:mm' of a Qt::UTC calendar value, and back; a null variant for an invalid date.
QVariant dateValue(const QDateTime& t);
QDateTime dateFrom(const QVariant& v);

// Names as the archive stores and compares them: control characters blanked, trailing blanks
// removed; and the lowercase key a search compares.
QString cleanName(const QString& name);
inline QString searchKey(const QString& text) { return text.toLower(); }

// Writes the rows' CSV to `path`, whole or not at all; the reason in the language, empty on success.
QString writeCsv(const QVector<RecordRow>& list, const QString& path, Unit unit, int idioma);

} // namespace orvan::archive::rows
