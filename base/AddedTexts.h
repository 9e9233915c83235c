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
    // Labels of the command line's tables (--format table) and its line about a written file.
    Yes,                 // a flag that is set; one that is not shows a dash
    StartWait,           // minutes the logger added to the start
    StartDelay,          // the programmed start delay
    FirstSampleHeld,     // number of the first sample the record holds
    LastSampleHeld,      // number of the last sample the record holds
    FirstSampleTime,     // time of the first sample the record holds
    LastSampleTime,      // time of the last sample the record holds
    LowLimitExceeded,    // the logger marked a sample below the low limit
    HighLimitExceeded,   // the logger marked a sample above the high limit
    HeaderDecoded,       // the record's header was decoded
    Messages,            // what decoding the record reported
    PreparedAt,          // the logger's preparation stamp
    ModeByte,            // the logger's mode byte
    StatusByte,          // the logger's status byte
    FirmwareVersion,     // the logger's firmware version
    ZoneBelow,           // the zone below the low limit
    ZoneWithin,          // the zone between the limits
    ZoneAbove,           // the zone above the high limit
    AllZones,            // all zones together
    Zone,                // column of the zone names
    Limits,              // column of a zone's limits
    RecordSamples,       // counted among the samples the record holds
    LoggerCount,         // counted by the logger over the whole mission
    Row,                 // column of the alarm list's row numbers
    NoAlarmRows,         // an alarm block without rows
    Wrote,               // %1: the file written, %2: its size in bytes
    SizeBytes,           // a size in bytes
    BlocksRead,          // blocks the download read
    MarkedSaved,         // the logger was marked as saved
    Stopped,             // the mission was stopped
    Erased,              // the memory was erased
    ReadBack,            // the preparation read back as written
    ComPort,             // column of the COM numbers
    Device,              // column of the device paths
    Scenario,            // the generated record's scenario
    SummaryLastOf,       // %1: samples held, %2: samples of the mission; a circular record keeps the last
    SummaryFirstOf,      // the same for a record that stopped writing when full: it keeps the first
    Verdict,             // the shipment summary's verdict
    VerdictPass,         // every sample within the limits or the allowances
    VerdictFail,         // out of range beyond the allowances, or a gap in the record
    VerdictNoData,       // no sample is a temperature
    Minimum,             // the lowest temperature
    Maximum,             // the highest temperature
    Mean,                // the arithmetic mean temperature
    MeanKinetic,         // the mean kinetic temperature
    MissingSamples,      // held samples that are not a temperature (an erased byte)
    Minutes,             // column of minutes
    AllowedMinutes,      // minutes out of range the shipment may spend
    Excursions,          // runs of samples out of range
    Peak,                // an excursion's extreme temperature
    NoExcursions,        // a summary without excursions
    ShipmentSummary,     // the summary window's title and its toolbar button
    ShipmentReport,      // the printed one-page shipment report's title
    ExcursionsShown,     // %1: excursions listed, %2: excursions in all
    // The records archive: its messages and the command line's labels.
    ArchiveCannotOpen,     // %1: the archive (file or URL), %2: why
    ArchiveNotAnArchive,   // %1: the archive; it holds tables of something else
    ArchiveNewerSchema,    // %1: the archive, %2: its schema version, %3: the newest this program reads
    ArchiveBadTarget,      // %1: what was given as the archive
    ArchiveStopped,        // %1: the archive, %2: why; what was archived before stays
    ArchiveWrongSize,      // a file that is not a record: %1 its size in bytes
    ArchiveDateError,      // a file that is not a record: its dates do not decode
    ArchiveNoSuchPath,     // a path given to index does not exist
    ArchiveCannotWrite,    // %1: a file the archive writes (its settings, an export), %2: why
    ArchivePlaceChanged,   // an archived file that now holds other bytes
    ArchivePlaceMissing,   // an archived file that is gone
    ArchiveShipments,      // records the filter selects
    ArchivePercentPass,    // passed shipments in percent
    ArchiveMinutesOut,     // minutes above plus below the limits
    ArchiveMinutesAbove,
    ArchiveMinutesBelow,
    ArchiveWorstExcursion, // the longest excursion of the selection
    ArchiveAdded,          // records new to the archive
    ArchiveNewPlaces,      // copies or new places of records already archived
    ArchiveUnchanged,      // places skipped unread
    ArchiveNotArchived,    // files listed as not archived
    ArchiveChecked,        // files read again by the verification
    ArchiveFile,           // column of the file paths
    ArchiveState,          // column of a file's state against the archive
    ArchiveReplaced,       // places that now hold another record than before
    ArchiveVerifyProblems, // %1: files changed or missing, %2: files checked
    // The records archive window and its choice in the configuration window.
    ArchiveWindowTitle,      // the window's title and the tool tip of its toolbar button
    ArchiveSerialShort,      // column and filter of the logger's serial number
    ArchiveExporterShort,    // column and filter of the exporter
    ArchiveCarrierShort,     // column and filter of the carrier
    ArchiveSearchNames,      // the filter searching the names
    ArchiveSearchHint,       // what that filter looks in
    ArchiveFrom,             // missions started on or after the date
    ArchiveTo,               // missions started on or before the date
    ArchiveAnyVerdict,       // the verdict filter left open
    ArchiveMinShort,         // column of the lowest temperature
    ArchiveMaxShort,         // column of the highest temperature
    ArchiveMkt,              // column of the mean kinetic temperature
    ArchiveIndexCommand,     // the button that indexes a folder
    ArchiveVerifyCommand,    // the button that verifies the archived files
    ArchiveExportCommand,    // the button that exports the list as CSV
    ArchiveCancelJob,        // the button that cancels the running job
    ArchiveJobCancelled,     // a job cancelled; what it did stays archived
    ArchiveRecordsShown,     // %1: records the filter lists
    ArchiveOpenChanged,      // %1: the file, %2: when it was archived; it opens as it is now
    ArchiveOpenFromCopy,     // %1: the file that is gone; the archive's copy opened
    ArchiveNoCopy,           // %1: the file that is gone; the archive holds no copy
    ArchiveSavedNotArchived, // %1: the saved record, %2: why the archive did not take it
    ArchiveSavedArchived,    // %1: the saved record, now archived
    ArchiveEmbedded,         // the archive in a file on this computer
    ArchiveServer,           // a PostgreSQL server shared by a team
    ArchiveServerHint,       // the form of its address
    ArchiveMinutesOutShort,  // column of the minutes out of range
    ArchiveSearching,        // a search of the archive window is on its way
};

// The text in the language (0 Spanish .. 4 Portuguese; anything else Spanish). Texts with %1, %2
// take their arguments with QString::arg.
QString addedText(AddedText which, int idioma);

// Every entry, for the tests that check the table's completeness.
int addedTextCount();

} // namespace orvan
