#pragma once
// The messages the program adds beyond the language table: refusals, verifications, file and
// command-line errors. Each one exists in the five languages and is looked up by name, in the
// language of the settings record (or of --lang on the command line).

#include <QString>

namespace orvan {

enum class AddedText {
    // Keep this list and the table in AddedTexts.cpp in the same order; add at the end.
    EraseNoAnswer,      // the logger did not answer the check after the erase wait
    EraseNotErased,     // the logger answers but still reports data after the erase
};

// The text in the language (0 Spanish .. 4 Portuguese; anything else Spanish). Texts with %1, %2
// take their arguments with QString::arg.
QString addedText(AddedText which, int idioma);

// Every entry, for the tests that check the table's completeness.
int addedTextCount();

} // namespace orvan
