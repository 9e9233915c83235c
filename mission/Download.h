#pragma once
// The memory download: the blocks that carry information, read one by one into an image of the
// download's own, with progress events the window turns into its progress bar. Widget-free: the
// device-data window and orvanlog-cli both run it on a Link.

#include "link/Link.h"

#include <QByteArray>
#include <QList>
#include <functional>

namespace orvan::mission {

// Which blocks one download reads, in order, and the progress bar's maximum for the sample phase.
struct PlanDescarga {
    int K = 0;                // whole groups of 32 in the sample count
    int B = 0;                // last sample block, at most 1024 (read as 1023)
    int maximo = 0;           // progress maximum of the sample phase: 50 x K + 100
    QList<int> bloques;       // 0, 2, 8, 40, 41, 128..136, then 256..B
};

// numMuestras is the sample count of the last status read; a count past the memory's capacity
// (a circular mission) is taken as 24575.
PlanDescarga planDescarga(qint32 numMuestras);

enum class ResultadoDescarga {
    Ok,
    Desconexion,   // a block still failed after its attempts, or the port failed
    Cancelada,     // the closing flag ended the download
};

struct Descarga {
    ResultadoDescarga resultado = ResultadoDescarga::Cancelada;
    // 32768 bytes: the planned blocks as read, zeros everywhere else. Complete only when Ok.
    QByteArray imagen;
    int bloqueFallido = -1;   // the block that failed, -1 when none did
    int bloquesLeidos = 0;

    bool ok() const { return resultado == ResultadoDescarga::Ok; }
};

// The message of a download that lost the logger.
QString mensajeDesconexion();   // "Error! Desconexión del equipo durante la descarga de datos"

// Progress as the window's bar shows it: the value and the bar's maximum.
using Progreso = std::function<void(int valor, int maximo)>;

// LeerKLV: reads the plan's blocks through the link (with its profile's attempts per block) into
// a fresh image. Progress: 100, 150, 200 for blocks 0, 2, 8, then 50 more per block up to 750
// for the alarm and count tables; then 0 of 50 x K + 100, and 50 more per sample block.
Descarga LeerKLV(link::Link& link, qint32 numMuestras, const Progreso& progreso = {});

// Stores 32 bytes of a block reply at 32 x block of the image (block 1024 is stored as 1023).
void CargaMatriz(QByteArray& imagen, const QByteArray& datos, int bloque);

} // namespace orvan::mission
