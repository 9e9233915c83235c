#pragma once
// What a new mission looks like before it is written to the logger: the choices the preparation
// window offers, the values they turn into, and the table of byte writes that programs them.
// No port here: ProgramaKLV sends the table, the window and orvanlog-cli build it.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <array>
#include <optional>

namespace orvan::mission {

// The logger holds this many samples, so a mission lasts interval x kCapacidad minutes.
constexpr int kCapacidad = 24576;
// A set start time may lie at most this many minutes ahead (45 days).
constexpr int kMaxMinutosInicio = 64800;
// The delay is a 16-bit field.
constexpr int kMaxDemora = 65535;

// The duration list in days: 1..15, 20..45 by 5, 60..90 by 15, 120..360 by 30.
QList<int> DuracionesDias();
// The interval list in minutes: 1..60.
QList<int> Intervalos();
// The limits offered, in whole degrees of the unit: one per even raw value 0..250.
QList<int> ListaLimites(int gradosC);

// The smallest interval whose mission covers the days.
int RangoParaDias(int dias);
// What a mission at that interval covers: whole days, then the hours left.
struct Cobertura {
    int dias = 0;
    int horas = 0;
};
Cobertura CoberturaDeRango(int rango);
// "68 d  06 h" (two blanks after the d).
QString TextoDuracion(int rango);
// "4 min."
QString TextoRango(int rango);

// The two limits move together: a high limit below the low one takes the low one with it, and
// the mirror. Equal limits are allowed. Values are whole degrees.
struct Limites {
    int bajo = 0;
    int alto = 0;
};
Limites EligeAlto(Limites actuales, int alto);
Limites EligeBajo(Limites actuales, int bajo);

// How the recording starts (the window's option buttons, by index).
enum class ModoInicio { Pulsador = 0, Hora = 1, PulsadorDemora = 2 };

// Minutes from now to t counted in whole clock minutes (seconds are ignored), negative when past.
qint64 MinutosHasta(const QDateTime& ahora, const QDateTime& t);

// Whether Accept may be pressed, and the picture beside the start-time picker (13: too far
// ahead, 14: fine; 0: not a set-time start).
struct EstadoAceptar {
    bool ok = false;
    int imgClock = 0;
};
EstadoAceptar DatosPrepOk(bool comunicado, ModoInicio modo, qint64 minutosHastaInicio, int rangoPrep);

// The delay box of a push-button start with delay: a whole number of minutes 0..65535, or
// nothing when the text is not one.
std::optional<int> LeeDemora(const QString& texto);

// Everything the user chose.
struct Preparacion {
    int rango = 0;                // RangoPrep, 1..60
    int rawLimInf = 0;            // raw temperatures 0..255
    int rawLimSup = 0;
    ModoInicio modo = ModoInicio::Pulsador;
    QDateTime horaInicio;         // Hora: the start time, PC local time
    int demora = 0;               // PulsadorDemora: minutes
    bool circular = false;
    QString exportador;
    QString transportador;
};

// The values written, computed once at the start of programming.
struct ValoresPrep {
    quint8 ModoPrep = 0;          // address 256
    quint8 EstadoPrep = 0;        // address 258
    int DemoraPrep = 0;           // addresses 18-19
    std::array<quint8, 5> FechaPrepBCD{};   // minute, hour, day, month, year in the century
};

// The PC clock as the five BCD bytes of the preparation stamp.
std::array<quint8, 5> FechaHoraBCD(const QDateTime& ahora);

// The sentences the preparation adds to the language texts.
enum class FrasePrep {
    SinRango,          // no duration or interval chosen
    Limites,           // low limit above the high one, or out of the raw scale
    SinHora,           // set-time start without a time
    HoraLejana,        // set time more than 45 days ahead
    Demora,            // delay not a whole number 0..65535
    NoProgramado,      // the logger does not read back what was written
    SinComunicacion,   // no answer before the first write
};
// The sentence in the language idioma (0..4; another value gives Spanish).
QString TextoPrep(FrasePrep frase, int idioma);

// Why the logger cannot be programmed with these choices; nothing when it can. Checked before
// anything is written.
std::optional<FrasePrep> ValidaPreparacion(const Preparacion& p, const QDateTime& ahora);
// The values to write. A set start time that has passed by now starts the mission now (delay 0).
// Call only after ValidaPreparacion accepted p.
ValoresPrep CalculaValores(const Preparacion& p, const QDateTime& ahora);

// One byte write of the sequence and what follows it.
struct Escritura {
    int address = 0;
    quint8 value = 0;
    int pausaMs = 0;      // pause after the write
    int progreso = 0;     // progress value shown after the pause (0: unchanged)
};

// Progress values of the sequence, out of kProgresoFinal.
constexpr int kProgresoInicio = 1100;
constexpr int kProgresoModo = 1200;
constexpr int kProgresoFinal = 2000;
constexpr int kPausaNombreMs = 50;

// The configuration writes a..n: activation byte, stamp, delay, limits, interval, mode, status.
QList<Escritura> TablaEscritura(const Preparacion& p, const ValoresPrep& v);
// EscribeNombres: the 24 bytes of the two 12-character names at 64..87, then the serial number
// bytes at 90..92 exactly as read from the logger; 50 ms after each.
QList<Escritura> TablaNombres(const QString& exportador, const QString& transportador,
                              const std::array<quint8, 3>& serie);

// The addresses whose whole byte the preparation writes and the logger must keep.
QList<int> DireccionesVerificadas();

} // namespace orvan::mission
