#pragma once
// The sample list: every stored sample of the record with its date and temperature, and the
// texts and zone of a displayed row.

#include "views/ZoneCounts.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVector>

namespace orvan::records { class MissionRecord; }

namespace orvan::views {

struct Muestra {
    QDateTime FechaMuestra;
    float TempMuestra = 0;
};

struct ListaMuestras {
    QVector<Muestra> entradas;   // entry k of the list is entradas[k - 1]
    int CantLista = 0;
    int scrollMaximo = 1;        // the scroll bar runs from 1 to here
    float lo = 0, hi = 0;        // the limits in degrees, for the zone of an entry

    const Muestra& entrada(int k) const { return entradas.at(k - 1); }
    Zona zona(int k) const;
};

// Walks the sample area from sample 0 to UltimaMuestra - PrimeraMuestra, both included, so the
// list holds one entry more than the samples held. The record must be decoded.
ListaMuestras CargaMuestras(const records::MissionRecord& record, int gradosC);

// The two cells of a row: "ddd ddmmm hh:mm" and "##0.0" in the locale.
struct TextoFila {
    QString fecha, temp;
};
TextoFila textoFila(const Muestra& m, const QLocale& locale);
// The floating label beside the dragged thumb: "dd-mmm hh:mm  " then the temperature and unit.
QString textoPosicion(const Muestra& m, const QString& unidad, const QLocale& locale);

} // namespace orvan::views
