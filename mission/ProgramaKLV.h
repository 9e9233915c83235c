#pragma once
// Programs the logger for a new mission over a link: the configuration writes with their pauses,
// the names and the serial number (EscribeNombres), then one read of blocks 0, 2 and 8 to check
// that the logger kept what was written. The logger never answers a write, so only reading back
// tells a programmed logger from one that lost writes on the way.

#include "link/Link.h"
#include "mission/PrepPlan.h"

#include <QList>
#include <QString>
#include <functional>

namespace orvan::mission {

struct ResultadoPrep {
    enum class Estado {
        Programado,        // every write read back as written
        NoProgramado,      // the read-back differs, or did not come
        SinComunicacion,   // the logger did not answer before the first write: nothing written
        Interrumpido,      // the closing flag or a port error stopped the writes half way
        Invalido,          // the choices were refused before anything was written (rechazo says why)
    };
    Estado estado = Estado::SinComunicacion;
    ValoresPrep valores;            // what was (or would have been) written
    std::array<quint8, 3> serie{};  // the serial number bytes as read
    QList<int> diferencias;         // addresses read back otherwise than written (256, 258: their bits)
    FrasePrep rechazo = FrasePrep::SinRango;   // Invalido: the reason

    bool verificado() const { return estado == Estado::Programado; }
};

using ProgresoPrep = std::function<void(int)>;

class ProgramaKLV {
public:
    explicit ProgramaKLV(link::Link& link, ProgresoPrep progreso = {});

    // Validates, reads block 2 for the serial number, writes everything, verifies. ahora is the
    // PC clock, read once: it gives the stamp and the delay of a set-time start.
    ResultadoPrep run(const Preparacion& p, const QDateTime& ahora);

    // The pieces. Each returns false when a write could not be sent (closing flag, port error).
    bool escribe(const QList<Escritura>& tabla);
    bool EscribeNombres(const QString& exportador, const QString& transportador, const std::array<quint8, 3>& serie);
    // Reads blocks 0, 2 and 8 once and lists what differs from the writes; nothing read (no answer)
    // counts as every address differing. The logger changes some bits of the status byte itself
    // (alarms, no data, and bit 32 when the button is pressed), so of address 258 only what it must
    // keep is compared: bit 32 set for a set-time start, bits 64 and 128 clear.
    QList<int> verifica(const Preparacion& p, const ValoresPrep& v, const std::array<quint8, 3>& serie);

private:
    void progreso(int valor);

    link::Link& m_link;
    ProgresoPrep m_progreso;
};

// The user's message for a result that is not a success, in the language of the text table;
// empty for a programmed logger.
QString MensajeResultado(const ResultadoPrep& r, int idioma);

} // namespace orvan::mission
