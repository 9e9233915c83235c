#pragma once
// The live status of the logger as the two logger windows read it on every poll: the status
// block 0, the identification block 2 and the flag block 8 decoded into one snapshot.
// Decoding takes block bytes only; the exchange functions read the blocks through a Link.

#include "base/Unit.h"
#include "link/Link.h"

#include <QByteArray>
#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <optional>

namespace orvan::link {

// The snapshot. A failed read leaves the fields of the blocks it did not read as they were
// (the windows keep one snapshot for as long as they are open) and clears Comunicado.
struct EstadoKLV {
    bool Comunicado = false;      // the last status read succeeded
    qint32 EsperaInicio = 0;      // minutes added to the start (addresses 0-1)
    QDateTime HoraPrep;           // preparation stamp (21-25), a Qt::UTC calendar value
    qint32 LimInf = 0;            // low limit (11), whole degrees of the unit in use
    qint32 LimSup = 0;            // high limit (12), whole degrees
    int Intervalo = 0;            // minutes between samples (13)
    int TempActual = 0;           // current temperature (17), whole degrees
    qint32 DemoraInicio = 0;      // start delay in minutes (18-19)
    qint32 NumMuestras = 0;       // samples taken (26-28)
    QString Exportador;           // 12 characters (64-75)
    QString Transportador;        // 12 characters (76-87)
    QString SerieKLV;             // serial number (90-92) as decimal text, cut or padded to 5
    quint8 ModoKLV = 0;           // mode byte (256)
    quint8 EstadoByte = 0;        // status byte (258)
    bool Circular = false;        // mode 8
    bool ArranquePulsador = false;// mode 16
    bool Guardado = false;        // status 128
    bool SinDatos = false;        // status 64
    bool Registrando = false;     // status 32
    bool AlarmaLo = false;        // status 4
    bool AlarmaHi = false;        // status 2
    int VerFw1 = 0;               // firmware version (93-95); 0 after a failed read of block 0
    int VerFw2 = 0;
    int VerFw3 = 0;

    // HoraPrep + EsperaInicio + DemoraInicio minutes; nothing when out of the calendar.
    std::optional<QDateTime> inicioMision() const;
    // inicioMision + Intervalo x NumMuestras minutes.
    std::optional<QDateTime> finMision() const;
};

// Block decoders; each takes the 32 bytes of its block (a 34-byte reply is accepted, the two
// last bytes are not examined). The limits and the current temperature are read in unit.
void DecodificaBloqueEstado(const QByteArray& block, Unit unit, EstadoKLV& e);      // block 0
void DecodificaIdentificacion(const QByteArray& block, EstadoKLV& e);             // block 2
void DecodificaBanderas(const QByteArray& block, EstadoKLV& e);                   // block 8

// Reads block 8. Returns Comunicado.
bool LeeBanderas(Link& link, EstadoKLV& e);
// Reads block 0, the flags (LeeBanderas), block 15 when the link's profile says so, then block 2.
// Returns Comunicado.
bool LeeEstado(Link& link, EstadoKLV& e, Unit unit);
// One poll in the link's window order: device-data window LeeEstado then LeeBanderas,
// preparation window LeeBanderas then LeeEstado. Comunicado holds only when every read of the
// poll succeeded, so a snapshot that mixes fresh and stale blocks never shows as connected.
bool ActualizaEstado(Link& link, EstadoKLV& e, Unit unit);

} // namespace orvan::link

Q_DECLARE_METATYPE(orvan::link::EstadoKLV)
