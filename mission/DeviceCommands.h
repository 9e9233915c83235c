#pragma once
// The device-data window's writes to the logger besides the download: the saved mark after a
// record was written to disk, stopping a mission and erasing the memory. Widget-free; the window
// runs them as link session jobs and orvanlog-cli runs them directly.

#include "link/Link.h"
#include "link/LoggerStatus.h"
#include "records/MissionRecord.h"

#include <QString>
#include <functional>
#include <optional>

namespace orvan::mission {

constexpr int kModeAddress = records::AddrMode;       // mode byte of the flag block
constexpr int kStatusAddress = records::AddrStatus;   // status byte of the flag block
constexpr quint8 kEraseKey = 64;         // written to the mode byte just before the erase trigger
constexpr quint8 kBitRegistrando = 32;
constexpr quint8 kBitGuardado = 128;
constexpr int kWritePauseMs = 50;

// Progress of the erase wait: the value and the bar's maximum.
using EraseProgress = std::function<void(int value, int maximum)>;

// Pauses on the link's clock in short slices; false when the closing flag ended the pause.
bool waitUnlessClosing(link::Link& link, int ms);

// Writes the names as last read from the logger and the mark byte back to addresses 64..88 with
// the short write frame, one frame after the other. The serial number and firmware bytes
// (89..95) are never sent: the logger keeps its own. False when a frame could not be sent.
bool MarcaGuardado(link::Link& link, const link::EstadoKLV& estado, quint8 mark);

enum class MarkResult {
    Marked,         // the names, the mark and the saved bit read back as written
    NotSent,        // a write could not be sent
    NotConfirmed,   // the read-back did not come, or differs from what was written
    Cancelled,      // the closing flag ended it
};

// After a record reached the disk: the write-back with mark 1, a 50 ms pause, the status byte
// with the saved bit set (the other bits as last read), then one read of blocks 2 and 8 to see
// that the logger kept all of it. The logger never answers a write: only the read tells a marked
// logger from one that lost the writes on the way.
MarkResult markDownloadSaved(link::Link& link, const link::EstadoKLV& estado);

// What the user is told when the record reached the disk but the mark did not reach the logger;
// file is the record's path.
QString markFailedMessage(const QString& file, int idioma);

// Stops a mission: the status byte as last read, without the recording bit.
bool DetieneMision(link::Link& link, const link::EstadoKLV& estado);

struct StopResult {
    enum class Outcome {
        Stopped,          // the status read after the write says the logger is not recording
        NotSent,          // the write could not be sent
        NoAnswer,         // no status after the write
        StillRecording,   // the logger ignored the write
        Cancelled,        // the closing flag ended it
    };
    Outcome outcome = Outcome::NotSent;
    quint8 estadoByte = 0;    // the status byte read afterwards (Stopped, StillRecording)

    bool stopped() const { return outcome == Outcome::Stopped; }
};

// DetieneMision, then one read of the flag block: a stop is reported only when the logger says so.
StopResult stopVerified(link::Link& link, const link::EstadoKLV& estado);
// What the user is told about a stop that did not happen; empty for Stopped and Cancelled.
QString stopMessage(StopResult::Outcome outcome, int idioma);

enum class EraseResult {
    Ok,             // the logger answers and reports no data
    NoAnswer,       // the logger did not answer the check after the wait
    NotErased,      // the logger answers but still reports data
    Cancelled,      // the closing flag ended the erase
};

// The progress values of the erase wait, one per 2000 ms step, and the bar's maximum.
constexpr int kEraseSteps = 17;
constexpr int kErasePauseMs = 2000;
constexpr int kEraseMaximum = 3500;
int eraseStepValue(int step);     // step 1..17: 200, 400, ..., 3200, 3500

// The erase: 64 to the mode byte, 50 ms, the trigger 0xA5, then 17 steps of stepMs (2000 ms, the
// time the logger needs to clear its memory; tests of what happens meanwhile shorten it) that
// move the progress to 3500, then a read of the flag block that tells whether the memory is now
// empty.
EraseResult BorraMemoria(link::Link& link, const EraseProgress& progress = {}, int stepMs = kErasePauseMs);

// What the user is told after an erase, in the language idioma (the success message is the
// language table's Spanish text in every language); empty for a cancelled one.
QString eraseMessage(EraseResult result, int idioma = 0);

// Why an erase must not go ahead without the user's word that unsaved samples may go: samples
// taken and not saved on disk. Nothing when the logger holds nothing unsaved.
std::optional<QString> unsavedRefusal(const link::EstadoKLV& estado, int idioma);

} // namespace orvan::mission
