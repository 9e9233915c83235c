#pragma once
// The alarm list: the samples the logger itself marked as limit violations, ten for the low
// limit and ten for the high limit, read from its two alarm tables in the record.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <array>

namespace orvan::records { class MissionRecord; }

namespace orvan::views {

constexpr int kAlarmasBajas = 1280;   // ten 3-byte sample numbers, little-endian
constexpr int kAlarmasAltas = 1312;
constexpr int kFilasAlarma = 20;

struct Alarma {
    QDateTime FechaAlarma;   // invalid: no date
    float TempAlarma = 0;
};

struct ListaAlarmas {
    std::array<Alarma, kFilasAlarma + 1> entradas;   // 1..20 used; 1..10 low, 11..20 high
    int cuenta = 0;
};

// The low table only when the status byte says the low limit was exceeded, the high table only
// when it says the high limit was; the high block starts at entry 11 in every case. The record
// must be decoded.
ListaAlarmas CargaAlarmas(const records::MissionRecord& record, int gradosC);

// A displayed row: either both cells filled or both empty.
struct FilaAlarma {
    bool llena = false;
    QDateTime fecha;
    float temp = 0;
    QString textoFecha, textoTemp;   // "ddd ddmmm hh:mm" and the shortest text of the value
};
// Rows 1..20 (index 0 unused): an entry without a date or with a sample of raw 0 is an empty row.
std::array<FilaAlarma, kFilasAlarma + 1> MuestraAlarmas(const ListaAlarmas& lista, const QLocale& locale);

// "Temp. < 2 °C" and "Temp. > 8 °C": the titles of the two blocks.
QString TituloAlarma(bool alta, const records::MissionRecord& record, int gradosC, const QLocale& locale);

} // namespace orvan::views
