#pragma once
// Programs the logger for a new mission over a link: the configuration writes with their pauses,
// the names and the serial number (EscribeNombres), then one read of blocks 0, 2 and 8 to check
// that the logger kept what was written. The logger never answers a write, so only reading back
// tells a programmed logger from one that lost writes on the way.

#include "link/Link.h"
#include "link/LoggerStatus.h"
#include "mission/PrepPlan.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace orvan::mission {

struct PrepResult {
    enum class Outcome {
        Programmed,        // every write read back as written
        NotProgrammed,     // the read-back differs, or did not come
        NoAnswer,          // the logger did not answer before the first write: nothing written
        Interrupted,       // the closing flag or a port error stopped the writes half way
        Refused,           // the choices were refused before anything was written (refusal says why)
    };
    Outcome outcome = Outcome::NoAnswer;
    PrepValues values;            // what was (or would have been) written
    std::array<quint8, 3> serial{};  // the serial number bytes as read
    QList<int> differences;         // addresses read back otherwise than written (256, 258: their bits)
    PrepSentence refusal = PrepSentence::NoInterval;   // Refused: the reason

    bool verified() const { return outcome == Outcome::Programmed; }
};

using PrepProgress = std::function<void(int)>;

class ProgramaKLV {
public:
    explicit ProgramaKLV(link::Link& link, PrepProgress progress = {});

    // Validates, reads block 2 for the serial number, writes everything, verifies. now is the
    // PC clock, read once: it gives the stamp and the delay of a set-time start.
    PrepResult run(const MissionPlan& p, const QDateTime& now);

    // The pieces. Each returns false when a write could not be sent (closing flag, port error).
    bool write(const QList<ByteWrite>& table);
    bool EscribeNombres(const QString& exporter, const QString& carrier, const std::array<quint8, 3>& serial);
    // Reads blocks 0, 2 and 8 once and lists what differs from the writes; nothing read (no answer)
    // counts as every address differing. The logger changes some bits of the status byte itself
    // (alarms, no data, and bit 32 when the button is pressed), so of address 258 only what it must
    // keep is compared: bit 32 set for a set-time start, bits 64 and 128 clear.
    QList<int> verify(const MissionPlan& p, const PrepValues& v, const std::array<quint8, 3>& serial);

private:
    void report(int value);

    link::Link& m_link;
    PrepProgress m_progress;
};

// Why a logger in this state must not be programmed, in the language idioma; nothing when it may.
// A new mission is written only over no data or a finished mission without samples, as the
// device-data window offers it: anything else would bury a mission under a new header.
std::optional<QString> preparationRefusal(const link::EstadoKLV& estado, int idioma);

// The user's message for a result that is not a success, in the language of the text table;
// empty for a programmed logger.
QString resultMessage(const PrepResult& r, int idioma);

} // namespace orvan::mission
