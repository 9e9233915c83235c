#pragma once
// A decoded record built from a few header values and samples, for the view tests.

#include "records/ImagenPrueba.h"

#include <vector>

namespace orvan::views::prueba {

struct Cabecera {
    int muestras = 0;          // NumMuestras
    int lo = 84, hi = 96;      // raw limits: 2 and 8 °C
    int rango = 15;
    bool circular = false;
    int estado = 0;
};

inline records::MissionRecord registro(const Cabecera& h, const std::vector<int>& muestras = {})
{
    records::MissionRecord r;
    records::prueba::ponMuestras(r, h.muestras);
    records::prueba::ponSello(r, 30, 14, 6, 12, 26);   // 6 Dec 2026 14:30
    r.setByte(11, quint8(h.lo));
    r.setByte(12, quint8(h.hi));
    r.setByte(13, quint8(h.rango));
    r.setByte(256, h.circular ? 8 : 0);
    r.setByte(258, quint8(h.estado));
    for (size_t k = 0; k < muestras.size(); ++k)
        r.setByte(records::kSampleBase + qint64(k), quint8(muestras[k]));
    r.LeeAuditoria();
    return r;
}

// The logger's count for value index i.
inline void ponConteo(records::MissionRecord& r, int i, int cuenta)
{
    r.setByte(4096 + 2 * i, quint8(cuenta >> 8));
    r.setByte(4096 + 2 * i + 1, quint8(cuenta & 0xFF));
}

} // namespace orvan::views::prueba
