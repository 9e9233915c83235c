#pragma once
// The device-data window's writes to the logger besides the download: the saved mark after a
// record was written to disk, stopping a mission and erasing the memory. Widget-free; the window
// runs them as link session jobs and orvanlog-cli runs them directly.

#include "link/Link.h"
#include "link/LoggerStatus.h"
#include "records/MissionRecord.h"

#include <QString>
#include <functional>

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

// After a record reached the disk: the write-back with mark 1, a 50 ms pause, then the status
// byte with the saved bit set (the other bits as last read).
bool markDownloadSaved(link::Link& link, const link::EstadoKLV& estado);

// Stops a mission: the status byte as last read, without the recording bit.
bool DetieneMision(link::Link& link, const link::EstadoKLV& estado);

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

// What the user is told after an erase; empty for a cancelled one.
QString eraseMessage(EraseResult result);

} // namespace orvan::mission
