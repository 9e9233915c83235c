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
    // Refusals and verifications of the logger commands (command line and windows).
    PrepareHoldsMission,   // prepare: a finished mission with samples is still in the logger
    PrepareRecording,      // prepare: the logger is armed or recording
    DownloadRecording,     // download with the mark: the logger is still recording
    EraseUnsaved,          // erase: %1 samples not saved on disk
    MarkNotConfirmed,      // the saved mark did not read back; %1 is the record file
    StopNotStopped,        // the status read after the stop still says recording
    StopNoAnswer,          // no status after the stop
    NothingToStop,         // stop: the logger is not recording
    NoLoggerAnswers,       // %1: the port
    NotASerialPort,        // %1: the path given as a port
    PortCannotOpen,        // %1: the port, %2: why
    NameControlCharacter,  // %1: the character as U+XXXX
    NameNotEncodable,      // %1: the character, %2: it as U+XXXX
    // Files that are not ordinary files, or longer than their format holds (all take %1, the path).
    ReadNotRegular,        // a record or settings path names a folder, device, FIFO or socket
    WriteNotRegular,       // an output path exists and is not an ordinary file; left as it is
    RecordTooLong,         // %2: the most a record file holds, 67001 bytes
    SettingsTooLong,       // %2: the most a settings file may hold; left as it is
};

// The text in the language (0 Spanish .. 4 Portuguese; anything else Spanish). Texts with %1, %2
// take their arguments with QString::arg.
QString addedText(AddedText which, int idioma);

// Every entry, for the tests that check the table's completeness.
int addedTextCount();

} // namespace orvan
