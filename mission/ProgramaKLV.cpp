#include "mission/ProgramaKLV.h"

#include "base/Encodings.h"

namespace orvan::mission {

namespace {

constexpr int kBloqueEstado = 0;
constexpr int kBloqueIdentificacion = 2;
constexpr int kBloqueBanderas = 8;
constexpr int kAddrSerie = 90;
constexpr int kAddrModo = 256;
constexpr int kAddrEstado = 258;

} // namespace

ProgramaKLV::ProgramaKLV(link::Link& link, ProgresoPrep progreso) : m_link(link), m_progreso(std::move(progreso)) {}

void ProgramaKLV::progreso(int valor)
{
    if (m_progreso && valor > 0)
        m_progreso(valor);
}

ResultadoPrep ProgramaKLV::run(const Preparacion& p, const QDateTime& ahora)
{
    ResultadoPrep r;
    if (const auto motivo = ValidaPreparacion(p, ahora)) {
        r.estado = ResultadoPrep::Estado::Invalido;
        r.rechazo = *motivo;
        return r;
    }

    // The serial number goes back byte for byte as the logger holds it: its decimal text on the
    // status panel is cut to five digits and would shorten a longer number.
    const link::Reply id = m_link.LeeBloque(kBloqueIdentificacion);
    if (!id.ok()) {
        r.estado = m_link.closing() ? ResultadoPrep::Estado::Interrumpido : ResultadoPrep::Estado::SinComunicacion;
        return r;
    }
    const QByteArray bloque = id.block();
    for (int i = 0; i < 3; ++i)
        r.serie[size_t(i)] = quint8(bloque.at(kAddrSerie - 64 + i));

    r.valores = CalculaValores(p, ahora);
    progreso(kProgresoInicio);
    progreso(kProgresoModo);
    if (!escribe(TablaEscritura(p, r.valores)) || !EscribeNombres(p.exportador, p.transportador, r.serie)) {
        r.estado = ResultadoPrep::Estado::Interrumpido;
        return r;
    }
    progreso(kProgresoFinal);

    r.diferencias = verifica(p, r.valores, r.serie);
    r.estado = r.diferencias.isEmpty() ? ResultadoPrep::Estado::Programado : ResultadoPrep::Estado::NoProgramado;
    return r;
}

bool ProgramaKLV::escribe(const QList<Escritura>& tabla)
{
    for (const Escritura& e : tabla) {
        if (!m_link.EscribeByte(e.address, e.value))
            return false;
        m_link.clock().sleepMs(e.pausaMs);
        progreso(e.progreso);
    }
    return true;
}

bool ProgramaKLV::EscribeNombres(const QString& exportador, const QString& transportador,
                                 const std::array<quint8, 3>& serie)
{
    return escribe(TablaNombres(exportador, transportador, serie));
}

QList<int> ProgramaKLV::verifica(const Preparacion& p, const ValoresPrep& v, const std::array<quint8, 3>& serie)
{
    // What each written address must hold now.
    QByteArray esperado(512, '\0');
    for (const Escritura& e : TablaEscritura(p, v) + TablaNombres(p.exportador, p.transportador, serie))
        esperado[e.address] = char(e.value);

    QByteArray leido(512, '\0');
    bool completo = true;
    for (int bloque : {kBloqueEstado, kBloqueIdentificacion, kBloqueBanderas}) {
        const link::Reply reply = m_link.LeeBloque(bloque);
        if (!reply.ok()) {
            completo = false;
            break;
        }
        leido.replace(bloque * link::kBlockSize, link::kBlockSize, reply.block());
    }

    QList<int> diferencias;
    const QList<int> direcciones = DireccionesVerificadas();
    if (!completo) {
        // Nothing known is nothing verified.
        return direcciones + QList<int>{kAddrModo, kAddrEstado};
    }
    for (int a : direcciones) {
        if (leido.at(a) != esperado.at(a))
            diferencias.append(a);
    }
    const quint8 modo = quint8(leido.at(kAddrModo));
    if ((modo & (ModoCircular | ModoPulsador)) != (v.ModoPrep & (ModoCircular | ModoPulsador)))
        diferencias.append(kAddrModo);
    const quint8 estado = quint8(leido.at(kAddrEstado));
    const bool armado = !(v.EstadoPrep & EstadoRegistrando) || (estado & EstadoRegistrando);
    if (!armado || (estado & (EstadoSinDatos | EstadoGuardado)))
        diferencias.append(kAddrEstado);
    return diferencias;
}

QString MensajeResultado(const ResultadoPrep& r, int idioma)
{
    switch (r.estado) {
    case ResultadoPrep::Estado::Programado:
        return {};
    case ResultadoPrep::Estado::Invalido:
        return TextoPrep(r.rechazo, idioma);
    case ResultadoPrep::Estado::SinComunicacion:
        return TextoPrep(FrasePrep::SinComunicacion, idioma);
    case ResultadoPrep::Estado::NoProgramado:
    case ResultadoPrep::Estado::Interrumpido:
        return TextoPrep(FrasePrep::NoProgramado, idioma);
    }
    return {};
}

} // namespace orvan::mission
