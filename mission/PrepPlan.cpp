#include "mission/PrepPlan.h"

#include "base/Ansi.h"
#include "base/Encodings.h"

namespace orvan::mission {

namespace {

constexpr int kMinutosDia = 1440;

// Addresses of the configuration the preparation writes.
enum : int {
    AddrActivacion = 5,
    AddrLimInf = 11,
    AddrLimSup = 12,
    AddrRango = 13,
    AddrDemora = 18,
    AddrConstante = 20,
    AddrFecha = 21,
    AddrNombres = 64,
    AddrSerie = 90,
    AddrModo = 256,
    AddrEstado = 258,
};

void agrega(QList<int>& lista, int desde, int hasta, int paso)
{
    for (int v = desde; v <= hasta; v += paso)
        lista.append(v);
}

} // namespace

QList<int> DuracionesDias()
{
    QList<int> d;
    agrega(d, 1, 15, 1);
    agrega(d, 20, 45, 5);
    agrega(d, 60, 90, 15);
    agrega(d, 120, 360, 30);
    return d;
}

QList<int> Intervalos()
{
    QList<int> r;
    agrega(r, 1, 60, 1);
    return r;
}

QList<int> ListaLimites(int gradosC)
{
    QList<int> l;
    for (int raw = 0; raw <= 250; raw += 2)
        l.append(GradosEnteros(raw, gradosC));
    return l;
}

int RangoParaDias(int dias)
{
    if (dias <= 0)
        return 0;
    const qint64 minutos = qint64(dias) * kMinutosDia;
    return int((minutos + kCapacidad - 1) / kCapacidad);
}

Cobertura CoberturaDeRango(int rango)
{
    const qint64 total = qint64(rango) * kCapacidad;
    Cobertura c;
    c.dias = int(total / kMinutosDia);
    c.horas = int((total % kMinutosDia) / 60);
    return c;
}

QString TextoDuracion(int rango)
{
    const Cobertura c = CoberturaDeRango(rango);
    return QString::number(c.dias) + QStringLiteral(" d  ") + Dec2(c.horas) + QStringLiteral(" h");
}

QString TextoRango(int rango)
{
    return QString::number(rango) + QStringLiteral(" min.");
}

Limites EligeAlto(Limites actuales, int alto)
{
    actuales.alto = alto;
    if (alto < actuales.bajo)
        actuales.bajo = alto;
    return actuales;
}

Limites EligeBajo(Limites actuales, int bajo)
{
    actuales.bajo = bajo;
    if (bajo > actuales.alto)
        actuales.alto = bajo;
    return actuales;
}

qint64 MinutosHasta(const QDateTime& ahora, const QDateTime& t)
{
    // Both as wall-clock minutes, so that 10:00:59 to 10:01:00 is one minute, as the user reads it.
    const auto minuto = [](const QDateTime& d) {
        const QDateTime local = d.toLocalTime();
        const QDateTime recortado(local.date(), QTime(local.time().hour(), local.time().minute()), Qt::UTC);
        return recortado.toSecsSinceEpoch() / 60;
    };
    return minuto(t) - minuto(ahora);
}

EstadoAceptar DatosPrepOk(bool comunicado, ModoInicio modo, qint64 minutosHastaInicio, int rangoPrep)
{
    EstadoAceptar e;
    if (!comunicado)
        return e;
    if (modo == ModoInicio::Hora) {
        if (minutosHastaInicio > kMaxMinutosInicio) {
            e.imgClock = 13;
            return e;
        }
        e.imgClock = 14;
    }
    e.ok = rangoPrep != 0;
    return e;
}

std::optional<int> LeeDemora(const QString& texto)
{
    bool ok = false;
    const QString t = texto.trimmed();
    // Digits only: "+5", "1e3" or "0x10" are not the minutes the user meant.
    for (QChar c : t) {
        if (!c.isDigit())
            return std::nullopt;
    }
    const qint64 v = t.toLongLong(&ok);
    if (!ok || v < 0 || v > kMaxDemora)
        return std::nullopt;
    return int(v);
}

std::array<quint8, 5> FechaHoraBCD(const QDateTime& ahora)
{
    const QDateTime t = ahora.toLocalTime();
    return {ABcd(t.time().minute()), ABcd(t.time().hour()), ABcd(t.date().day()), ABcd(t.date().month()),
            ABcd(t.date().year() % 100)};
}

QString TextoPrep(FrasePrep frase, int idioma)
{
    // Spanish, English, German, French, Portuguese.
    static const char16_t* const kFrases[7][5] = {
        {u"Elija la duración del registro o el tiempo entre muestras.",
         u"Choose the record's time length or the time between samples.",
         u"Wählen Sie die Dauer der Aufnahme oder die Zeitspanne zw. Messungen.",
         u"Choisissez la durée d'enregistrement ou le temps entre mesures.",
         u"Escolha o comprimento do registro ou o tempo entre amostras."},
        {u"El límite inferior de temperatura no puede superar al superior.",
         u"The temperature lower limit cannot be above the upper limit.",
         u"Die untere Temperaturgrenze darf nicht über der oberen liegen.",
         u"La limite de température minimale ne peut pas dépasser la maximale.",
         u"O limite inferior de temperatura não pode superar o superior."},
        {u"Elija la hora de comienzo del registro.",
         u"Choose the start time of the mission.",
         u"Wählen Sie die Startzeit der Aufnahme.",
         u"Choisissez l'heure de début de l'enregistrement.",
         u"Escolha a hora de início do registro."},
        {u"La hora de comienzo no puede estar a más de 45 días.",
         u"The start time cannot be more than 45 days ahead.",
         u"Die Startzeit darf höchstens 45 Tage in der Zukunft liegen.",
         u"L'heure de début ne peut pas être à plus de 45 jours.",
         u"A hora de início não pode estar a mais de 45 dias."},
        {u"La demora de inicio debe ser un número entero de minutos entre 0 y 65535.",
         u"The start delay must be a whole number of minutes from 0 to 65535.",
         u"Die Startverzögerung muss eine ganze Zahl von Minuten zwischen 0 und 65535 sein.",
         u"Le délai de démarrage doit être un nombre entier de minutes entre 0 et 65535.",
         u"O atraso de início deve ser um número inteiro de minutos entre 0 e 65535."},
        {u"El KLV-100 no quedó programado correctamente. Prepárelo nuevamente antes de usarlo.",
         u"The KLV-100 was not programmed correctly. Prepare it again before using it.",
         u"Der KLV-100 wurde nicht korrekt programmiert. Bitte vor dem Einsatz erneut vorbereiten.",
         u"Le KLV-100 n'a pas été programmé correctement. Préparez-le à nouveau avant de l'utiliser.",
         u"O KLV-100 não foi programado corretamente. Prepare-o novamente antes de usá-lo."},
        {u"No hay comunicacion con KLV-100. No se escribió nada.",
         u"No connection with KLV-100. Nothing was written.",
         u"Keine Verbindung mit KLV-100. Es wurde nichts geschrieben.",
         u"Pas de connexion avec KLV-100. Rien n'a été écrit.",
         u"Sem conexão com KLV-100. Nada foi escrito."},
    };
    const int i = idioma >= 0 && idioma <= 4 ? idioma : 0;
    return QString::fromUtf16(kFrases[int(frase)][i]);
}

std::optional<FrasePrep> ValidaPreparacion(const Preparacion& p, const QDateTime& ahora)
{
    if (p.rango < 1 || p.rango > 60)
        return FrasePrep::SinRango;
    if (p.rawLimInf < 0 || p.rawLimInf > 255 || p.rawLimSup < 0 || p.rawLimSup > 255 || p.rawLimInf > p.rawLimSup)
        return FrasePrep::Limites;
    if (p.modo == ModoInicio::Hora) {
        if (!p.horaInicio.isValid())
            return FrasePrep::SinHora;
        if (MinutosHasta(ahora, p.horaInicio) > kMaxMinutosInicio)
            return FrasePrep::HoraLejana;
    }
    if (p.modo == ModoInicio::PulsadorDemora && (p.demora < 0 || p.demora > kMaxDemora))
        return FrasePrep::Demora;
    return std::nullopt;
}

ValoresPrep CalculaValores(const Preparacion& p, const QDateTime& ahora)
{
    ValoresPrep v;
    v.FechaPrepBCD = FechaHoraBCD(ahora);
    switch (p.modo) {
    case ModoInicio::Pulsador:
        v.ModoPrep |= ModoPulsador;
        v.DemoraPrep = 0;
        break;
    case ModoInicio::Hora:
        // A start time that passed while the user pressed Accept starts the mission now; a
        // negative delay would wrap into a start weeks away.
        v.DemoraPrep = int(qBound(qint64(0), MinutosHasta(ahora, p.horaInicio), qint64(kMaxDemora)));
        v.EstadoPrep = EstadoRegistrando;
        break;
    case ModoInicio::PulsadorDemora:
        v.ModoPrep |= ModoPulsador;
        v.DemoraPrep = qBound(0, p.demora, kMaxDemora);
        break;
    }
    if (p.circular)
        v.ModoPrep |= ModoCircular;
    return v;
}

QList<Escritura> TablaEscritura(const Preparacion& p, const ValoresPrep& v)
{
    const auto& f = v.FechaPrepBCD;
    return {
        {AddrActivacion, 1, 200, 1250},
        {AddrConstante, 22, 500, 1300},
        {AddrFecha, f[0], 400, 1350},
        {AddrFecha + 1, f[1], 100, 1400},
        {AddrFecha + 2, f[2], 100, 1450},
        {AddrFecha + 3, f[3], 100, 1500},
        {AddrFecha + 4, f[4], 400, 1550},
        {AddrDemora, ByteBajo(v.DemoraPrep), 400, 1600},
        {AddrDemora + 1, ByteAlto(v.DemoraPrep), 400, 1650},
        {AddrLimInf, quint8(p.rawLimInf), 100, 1700},
        {AddrLimSup, quint8(p.rawLimSup), 100, 1750},
        {AddrRango, quint8(p.rango), 100, 1850},
        {AddrModo, v.ModoPrep, 400, 1900},
        {AddrEstado, v.EstadoPrep, 100, 1950},
    };
}

QList<Escritura> TablaNombres(const QString& exportador, const QString& transportador,
                              const std::array<quint8, 3>& serie)
{
    // Twelve bytes each whatever the text holds (a character outside the code page is one '?').
    const auto campo = [](const QString& nombre) { return ansiEncode(Nombre12(nombre)).leftJustified(12, ' ', true); };
    const QByteArray nombres = campo(exportador) + campo(transportador);
    QList<Escritura> t;
    for (int i = 0; i < 24; ++i)
        t.append({AddrNombres + i, quint8(nombres.at(i)), kPausaNombreMs, 0});
    for (int i = 0; i < 3; ++i)
        t.append({AddrSerie + i, serie[size_t(i)], kPausaNombreMs, 0});
    return t;
}

QList<int> DireccionesVerificadas()
{
    QList<int> a{AddrActivacion, AddrLimInf, AddrLimSup, AddrRango};
    agrega(a, AddrDemora, AddrFecha + 4, 1);
    agrega(a, AddrNombres, AddrNombres + 23, 1);
    agrega(a, AddrSerie, AddrSerie + 2, 1);
    return a;
}

} // namespace orvan::mission
