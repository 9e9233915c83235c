#pragma once
// What a command prints when it succeeds: its JSON object for scripts, or with --format table
// the same result as labelled rows in the language of --lang. The labels come from the language
// table by name where it has one, otherwise from the added texts; numbers and dates are written
// the same in every language (a dot before the decimals, YYYY-MM-DD HH:MM) so that columns of a
// table compare across runs.

#include "tools/cli/Invocation.h"
#include "tools/cli/TextGrid.h"

#include "base/AddedTexts.h"
#include "base/TextTable.h"

#include <QDateTime>

namespace orvan::cli {

class Labels {
public:
    explicit Labels(int idioma);
    QString operator()(Text entry) const;        // without the blanks some entries carry
    QString operator()(AddedText entry) const;
    // A flag: "Yes" in the language when set, a dash when not.
    QString flag(bool set) const;
    int idioma() const { return m_idioma; }

private:
    TextTable m_texts;
    int m_idioma;
};

// "35.6", "32.0": a temperature with the one decimal the logger's scale needs, so that the
// decimals of a column line up.
QString degreesText(double degrees);
// "°C" or "°F".
QString unitSymbol(Unit unit);
// "YYYY-MM-DD HH:MM"; empty for an invalid date.
QString tableDate(const QDateTime& t);

// The result on stdout in UTF-8: `json` or the table, as the run asked.
void printResult(const Invocation& inv, const QString& json, const QString& table);
// The one line on stderr of a command that wrote a file: the path and its size, in the language.
void tellWritten(const Invocation& inv, const QString& path, qint64 bytes);

} // namespace orvan::cli
