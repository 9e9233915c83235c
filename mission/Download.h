#pragma once
// The memory download: the blocks that carry information, read one by one into an image of the
// download's own, with progress events the window turns into its progress bar. Widget-free: the
// device-data window and orvanlog-cli both run it on a Link.

#include "link/Link.h"
#include "records/MissionRecord.h"

#include <QByteArray>
#include <QList>
#include <functional>

namespace orvan::mission {

// Which blocks one download reads, in order, and the progress bar's maximum for the sample phase.
struct DownloadPlan {
    int K = 0;                // whole groups of 32 in the sample count
    int B = 0;                // last sample block, at most 1024 (read as 1023)
    int maximum = 0;          // progress maximum of the sample phase: 50 x K + 100
    QList<int> blocks;        // 0, 2, 8, 40, 41, 128..136, then 256..B
};

// numMuestras is the sample count of the last status read; a count past the memory's capacity
// (a circular mission) is taken as 24575.
DownloadPlan downloadPlan(qint32 numMuestras);

enum class DownloadOutcome {
    Ok,
    Disconnected,  // a block still failed after its attempts, or the port failed
    Cancelled,     // the closing flag ended the download
};

struct DownloadResult {
    DownloadOutcome outcome = DownloadOutcome::Cancelled;
    // 32768 bytes: the planned blocks as read, zeros everywhere else. Complete only when Ok.
    QByteArray image;
    int failedBlock = -1;   // the block that failed, -1 when none did
    int blocksRead = 0;

    bool ok() const { return outcome == DownloadOutcome::Ok; }
};

// The message of a download that lost the logger.
QString disconnectionMessage();   // "Error! Desconexión del equipo durante la descarga de datos"

// Progress as the window's bar shows it: the value and the bar's maximum.
using Progress = std::function<void(int valor, int maximo)>;

// LeerKLV: reads the plan's blocks through the link (with its profile's attempts per block) into
// a fresh image. Progress: 100, 150, 200 for blocks 0, 2, 8, then 50 more per block up to 750
// for the alarm and count tables; then 0 of 50 x K + 100, and 50 more per sample block.
DownloadResult LeerKLV(link::Link& link, qint32 numMuestras, const Progress& progreso = {});

// Stores 32 bytes of a block reply at 32 x block of the image (block 1024 is stored as 1023).
void CargaMatriz(QByteArray& imagen, const QByteArray& datos, int bloque);

} // namespace orvan::mission
