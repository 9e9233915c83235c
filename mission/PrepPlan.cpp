#include "mission/PrepPlan.h"

#include "records/MissionRecord.h"

#include "base/AddedTexts.h"
#include "base/Ansi.h"
#include "base/Encodings.h"

namespace orvan::mission {

namespace {

constexpr int kMinutesPerDay = 1440;

// Addresses of the configuration the preparation writes.
using records::AddrActivation, records::AddrLowLimit, records::AddrHighLimit, records::AddrInterval,
    records::AddrDelay, records::AddrConstant, records::AddrSerial, records::AddrMode, records::AddrStatus;
constexpr int AddrStamp = records::AddrStampMinute;   // five BCD bytes: minute, hour, day, month, year
constexpr int AddrNames = records::AddrExporter;      // exporter, then carrier

void appendRange(QList<int>& list, int from, int to, int step)
{
    for (int v = from; v <= to; v += step)
        list.append(v);
}

} // namespace

QList<int> durationDays()
{
    QList<int> d;
    appendRange(d, 1, 15, 1);
    appendRange(d, 20, 45, 5);
    appendRange(d, 60, 90, 15);
    appendRange(d, 120, 360, 30);
    return d;
}

QList<int> intervals()
{
    QList<int> r;
    appendRange(r, 1, 60, 1);
    return r;
}

QList<int> limitList(Unit unit)
{
    QList<int> l;
    for (int raw = 0; raw <= 250; raw += 2)
        l.append(wholeDegrees(raw, unit));
    return l;
}

int intervalForDays(int days)
{
    if (days <= 0)
        return 0;
    const qint64 minutes = qint64(days) * kMinutesPerDay;
    return int((minutes + kCapacity - 1) / kCapacity);
}

Coverage coverageOf(int interval)
{
    const qint64 total = qint64(interval) * kCapacity;
    Coverage c;
    c.days = int(total / kMinutesPerDay);
    c.hours = int((total % kMinutesPerDay) / 60);
    return c;
}

QString durationText(int interval)
{
    const Coverage c = coverageOf(interval);
    return QString::number(c.days) + QStringLiteral(" d  ") + Dec2(c.hours) + QStringLiteral(" h");
}

QString intervalText(int interval)
{
    return QString::number(interval) + QStringLiteral(" min.");
}

Limits chooseHigh(Limits current, int high)
{
    current.high = high;
    if (high < current.low)
        current.low = high;
    return current;
}

Limits chooseLow(Limits current, int low)
{
    current.low = low;
    if (low > current.high)
        current.high = low;
    return current;
}

qint64 minutesUntil(const QDateTime& now, const QDateTime& t)
{
    // Both as wall-clock minutes, so that 10:00:59 to 10:01:00 is one minute, as the user reads it.
    const auto wallMinute = [](const QDateTime& d) {
        const QDateTime local = d.toLocalTime();
        const QDateTime truncated(local.date(), QTime(local.time().hour(), local.time().minute()), Qt::UTC);
        return truncated.toSecsSinceEpoch() / 60;
    };
    return wallMinute(t) - wallMinute(now);
}

AcceptState DatosPrepOk(bool comunicado, StartMode start, qint64 minutesToStart, int rangoPrep)
{
    AcceptState e;
    if (!comunicado)
        return e;
    if (start == StartMode::SetTime) {
        if (minutesToStart > kMaxStartMinutes) {
            e.imgClock = 13;
            return e;
        }
        e.imgClock = 14;
    }
    e.ok = rangoPrep != 0;
    return e;
}

std::optional<int> parseDelay(const QString& text)
{
    bool ok = false;
    const QString t = text.trimmed();
    // Digits only: "+5", "1e3" or "0x10" are not the minutes the user meant.
    for (QChar c : t) {
        if (!c.isDigit())
            return std::nullopt;
    }
    const qint64 v = t.toLongLong(&ok);
    if (!ok || v < 0 || v > kMaxDelay)
        return std::nullopt;
    return int(v);
}

std::array<quint8, 5> FechaHoraBCD(const QDateTime& now)
{
    const QDateTime t = now.toLocalTime();
    return {ABcd(t.time().minute()), ABcd(t.time().hour()), ABcd(t.date().day()), ABcd(t.date().month()),
            ABcd(t.date().year() % 100)};
}

QString prepText(PrepSentence sentence, int idioma)
{
    // Spanish, English, German, French, Portuguese.
    static const char16_t* const kSentences[7][5] = {
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
    return QString::fromUtf16(kSentences[int(sentence)][i]);
}

std::optional<QString> nameRefusal(const QString& name, int idioma)
{
    const auto code = [](char32_t c) { return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper(); };
    for (const char32_t c : name.toUcs4()) {
        // A tab or line break in a name would reach every summary and report that shows it.
        if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            return addedText(AddedText::NameControlCharacter, idioma).arg(code(c));
        // The logger holds single Windows-1252 bytes; anything else would come back as '?'.
        const QString one = QString::fromUcs4(&c, 1);
        if (!ansiEncodable(one))
            return addedText(AddedText::NameNotEncodable, idioma).arg(one, code(c));
    }
    return std::nullopt;
}

QString writtenName(const QString& name)
{
    return ansiDecode(ansiEncode(Nombre12(name)).leftJustified(12, ' ', true));
}

std::optional<PrepSentence> validatePlan(const MissionPlan& p, const QDateTime& now)
{
    if (p.interval < 1 || p.interval > 60)
        return PrepSentence::NoInterval;
    if (p.rawLimInf < 0 || p.rawLimInf > 255 || p.rawLimSup < 0 || p.rawLimSup > 255 || p.rawLimInf > p.rawLimSup)
        return PrepSentence::LimitOrder;
    if (p.start == StartMode::SetTime) {
        if (!p.startTime.isValid())
            return PrepSentence::NoStartTime;
        if (minutesUntil(now, p.startTime) > kMaxStartMinutes)
            return PrepSentence::StartTooFar;
    }
    if (p.start == StartMode::ButtonDelay && (p.delay < 0 || p.delay > kMaxDelay))
        return PrepSentence::BadDelay;
    return std::nullopt;
}

PrepValues computeValues(const MissionPlan& p, const QDateTime& now)
{
    PrepValues v;
    v.FechaPrepBCD = FechaHoraBCD(now);
    switch (p.start) {
    case StartMode::Button:
        v.ModoPrep |= ModoPulsador;
        v.DemoraPrep = 0;
        break;
    case StartMode::SetTime:
        // A start time that passed while the user pressed Accept starts the mission now; a
        // negative delay would wrap into a start weeks away.
        v.DemoraPrep = int(qBound(qint64(0), minutesUntil(now, p.startTime), qint64(kMaxDelay)));
        v.EstadoPrep = EstadoRegistrando;
        break;
    case StartMode::ButtonDelay:
        v.ModoPrep |= ModoPulsador;
        v.DemoraPrep = qBound(0, p.delay, kMaxDelay);
        break;
    }
    if (p.circular)
        v.ModoPrep |= ModoCircular;
    return v;
}

QList<ByteWrite> writeTable(const MissionPlan& p, const PrepValues& v)
{
    const auto& f = v.FechaPrepBCD;
    return {
        {AddrActivation, 1, 200, 1250},
        {AddrConstant, 22, 500, 1300},
        {AddrStamp, f[0], 400, 1350},
        {AddrStamp + 1, f[1], 100, 1400},
        {AddrStamp + 2, f[2], 100, 1450},
        {AddrStamp + 3, f[3], 100, 1500},
        {AddrStamp + 4, f[4], 400, 1550},
        {AddrDelay, ByteBajo(v.DemoraPrep), 400, 1600},
        {AddrDelay + 1, ByteAlto(v.DemoraPrep), 400, 1650},
        {AddrLowLimit, quint8(p.rawLimInf), 100, 1700},
        {AddrHighLimit, quint8(p.rawLimSup), 100, 1750},
        {AddrInterval, quint8(p.interval), 100, 1850},
        {AddrMode, v.ModoPrep, 400, 1900},
        {AddrStatus, v.EstadoPrep, 100, 1950},
    };
}

QList<ByteWrite> nameTable(const QString& exporter, const QString& carrier,
                              const std::array<quint8, 3>& serial)
{
    // Twelve bytes each whatever the text holds (a character outside the code page is one '?').
    const auto field = [](const QString& name) { return ansiEncode(writtenName(name)); };
    const QByteArray names = field(exporter) + field(carrier);
    QList<ByteWrite> t;
    for (int i = 0; i < 24; ++i)
        t.append({AddrNames + i, quint8(names.at(i)), kNamePauseMs, 0});
    for (int i = 0; i < 3; ++i)
        t.append({AddrSerial + i, serial[size_t(i)], kNamePauseMs, 0});
    return t;
}

QList<int> verifiedAddresses()
{
    QList<int> a{AddrActivation, AddrLowLimit, AddrHighLimit, AddrInterval};
    appendRange(a, AddrDelay, AddrStamp + 4, 1);
    appendRange(a, AddrNames, AddrNames + 23, 1);
    appendRange(a, AddrSerial, AddrSerial + 2, 1);
    return a;
}

} // namespace orvan::mission
