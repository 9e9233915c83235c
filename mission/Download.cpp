#include "mission/Download.h"

#include <algorithm>

namespace orvan::mission {

namespace {

constexpr int kImageSize = link::kBlockSize * link::kBlockCount;
constexpr int kCapacity = 24576;
constexpr int kFirstSampleBlock = 256;
constexpr int kTablePhaseEnd = 750;   // progress after the configuration and table blocks

} // namespace

QString mensajeDesconexion()
{
    return QStringLiteral("Error! Desconexión del equipo durante la descarga de datos");
}

PlanDescarga planDescarga(qint32 numMuestras)
{
    PlanDescarga p;
    const qint32 n = numMuestras > kCapacity ? kCapacity - 1 : std::max<qint32>(numMuestras, 0);
    p.K = n / 32;
    p.B = std::min(kFirstSampleBlock + 1 + p.K, link::kBlockCount);
    p.maximo = 50 * p.K + 100;
    p.bloques = {0, 2, 8, 40, 41};
    for (int b = 128; b <= 136; ++b)
        p.bloques.append(b);
    for (int b = kFirstSampleBlock; b <= p.B; ++b)
        p.bloques.append(b);
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

Descarga LeerKLV(link::Link& link, qint32 numMuestras, const Progreso& progreso)
{
    Descarga d;
    d.imagen = QByteArray(kImageSize, '\0');
    const PlanDescarga plan = planDescarga(numMuestras);
    const auto avisa = [&progreso](int valor, int maximo) {
        if (progreso)
            progreso(valor, maximo);
    };

    int valor = 50;
    int maximo = kTablePhaseEnd;
    for (int bloque : plan.bloques) {
        if (bloque == kFirstSampleBlock) {
            // The samples get a bar of their own, sized by the count.
            valor = 0;
            maximo = plan.maximo;
            avisa(valor, maximo);
        }
        // Block 0 starts the bar at 100; every later block moves it by 50.
        valor = bloque == 0 ? 100 : valor + 50;
        avisa(valor, maximo);

        const link::Reply r = link.LeeBloque(bloque);
        if (!r.ok()) {
            d.resultado = r.status == link::ReplyStatus::Cancelled ? ResultadoDescarga::Cancelada
                                                                   : ResultadoDescarga::Desconexion;
            d.bloqueFallido = bloque;
            return d;
        }
        CargaMatriz(d.imagen, r.block(), bloque);
        ++d.bloquesLeidos;
    }
    d.resultado = ResultadoDescarga::Ok;
    return d;
}

} // namespace orvan::mission
