#include "mission/Download.h"

#include <algorithm>

namespace orvan::mission {

namespace {

using records::kCapacity;
using records::kImageSize;
static_assert(kImageSize == link::kBlockSize * link::kBlockCount, "the download reads the whole memory in blocks");
constexpr int kFirstSampleBlock = records::kSampleBase / link::kBlockSize;
constexpr int kTablePhaseEnd = 750;   // progress after the configuration and table blocks

} // namespace

QString disconnectionMessage()
{
    return QStringLiteral("Error! Desconexión del equipo durante la descarga de datos");
}

DownloadPlan downloadPlan(qint32 numMuestras)
{
    DownloadPlan p;
    const qint32 n = numMuestras > kCapacity ? kCapacity - 1 : std::max<qint32>(numMuestras, 0);
    p.K = n / 32;
    p.B = std::min(kFirstSampleBlock + 1 + p.K, link::kBlockCount);
    p.maximum = 50 * p.K + 100;
    p.blocks = {0, 2, 8, 40, 41};
    for (int b = 128; b <= 136; ++b)
        p.blocks.append(b);
    for (int b = kFirstSampleBlock; b <= p.B; ++b)
        p.blocks.append(b);
    return p;
}

void CargaMatriz(QByteArray& imagen, const QByteArray& datos, int bloque)
{
    if (bloque == link::kBlockCount)
        bloque = link::kBlockCount - 1;
    if (bloque < 0 || bloque >= link::kBlockCount)
        return;
    if (imagen.size() < kImageSize)
        imagen.resize(kImageSize, '\0');
    const QByteArray bytes = datos.left(link::kBlockSize);
    std::copy(bytes.cbegin(), bytes.cend(), imagen.begin() + bloque * link::kBlockSize);
}

DownloadResult LeerKLV(link::Link& link, qint32 numMuestras, const Progress& progreso)
{
    DownloadResult d;
    d.image = QByteArray(kImageSize, '\0');
    const DownloadPlan plan = downloadPlan(numMuestras);
    const auto avisa = [&progreso](int valor, int maximo) {
        if (progreso)
            progreso(valor, maximo);
    };

    int valor = 50;
    int maximo = kTablePhaseEnd;
    const auto starting = [&](int index) {
        const int bloque = plan.blocks[index];
        if (bloque == kFirstSampleBlock) {
            // The samples get a bar of their own, sized by the count.
            valor = 0;
            maximo = plan.maximum;
            avisa(valor, maximo);
        }
        // Block 0 starts the bar at 100; every later block moves it by 50.
        valor = bloque == 0 ? 100 : valor + 50;
        avisa(valor, maximo);
    };
    // Only confirmed replies reach the image: one taken at its 34th byte and then found to run on
    // is read again before anything of it is stored.
    const auto store = [&](int index, const link::Reply& r) {
        CargaMatriz(d.image, r.block(), plan.blocks[index]);
        ++d.blocksRead;
    };
    const link::BlockRunResult run = link.LeeBloques(plan.blocks, starting, store);
    if (!run.ok()) {
        d.outcome = run.status == link::ReplyStatus::Cancelled ? DownloadOutcome::Cancelled
                                                                 : DownloadOutcome::Disconnected;
        d.failedBlock = plan.blocks[run.failedIndex];
        return d;
    }
    d.outcome = DownloadOutcome::Ok;
    return d;
}

} // namespace orvan::mission
