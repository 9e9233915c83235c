#include "tools/generator/RecordGenerator.h"

#include "base/Encodings.h"
#include "records/MissionRecord.h"
#include "base/Ansi.h"

#include <QVector>
#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace orvan::generator {

namespace {

constexpr int kCeldasConteo = 144;          // raw values 0..143 that the value-count table holds
constexpr int kRawMaximo = kCeldasConteo - 1;
constexpr int kEntradasAlarma = 10;
constexpr int kTablaAlarmaBaja = 1280;
constexpr int kTablaAlarmaAlta = 1312;
constexpr int kTablaConteos = 4096;
constexpr double kPi = 3.14159265358979323846;

// splitmix64: tiny, and the same sequence on every platform and standard library.
class Azar {
public:
    explicit Azar(quint64 seed) : m_estado(seed) {}
    quint64 siguiente()
    {
        quint64 z = (m_estado += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    double uniforme() { return double(siguiente() >> 11) * (1.0 / 9007199254740992.0); }
    // Sum of four uniforms: close enough to a unit normal for sensor noise, and exact arithmetic.
    double normal() { return (uniforme() + uniforme() + uniforme() + uniforme() - 2.0) * 1.7320508075688772; }

private:
    quint64 m_estado;
};

struct Excursion {
    int centro = 0;         // sample index of the peak
    int ancho = 1;          // samples on each side that take part of it
    double amplitud = 0.0;  // degrees added at the peak
};

int rawDeCelsius(double grados)
{
    const int raw = GradosARaw(grados, -1);
    return std::clamp(raw, 0, 255);
}

// Events of the mission spread over its length: a door left open or a warm transfer (above),
// a defrost fault or a product placed against the evaporator (below).
QVector<Excursion> excursiones(const GeneratorOptions& o, int n, double mitad, double amplitudDiaria, Azar& azar)
{
    QVector<Excursion> lista;
    if (n <= 0)
        return lista;
    const double arriba = mitad + 2.0 + amplitudDiaria + 0.5;
    const double abajo = -arriba;
    const auto evento = [&](double fraccion, double amplitud, int ancho) {
        Excursion e;
        e.centro = std::clamp(int(fraccion * n), 0, n - 1);
        e.ancho = std::max(0, ancho);
        e.amplitud = amplitud;
        lista.append(e);
    };
    const int dosHoras = std::max(1, 120 / std::max(1, o.interval));
    if (o.scenario == Scenario::Alarms) {
        // More events of each kind than the ten entries of an alarm table.
        const int cuantos = 26;
        const int ancho = std::min(dosHoras, std::max(0, n / (4 * cuantos)));
        for (int i = 0; i < cuantos; ++i) {
            const double fraccion = (i + 1.0) / (cuantos + 1.0);
            evento(fraccion, i % 2 == 0 ? arriba : abajo, ancho);
        }
        return lista;
    }
    const int ancho = std::min(dosHoras, std::max(0, n / 50));
    const double corrimiento = (azar.uniforme() - 0.5) * 0.08;
    evento(0.45 + corrimiento, arriba, ancho);
    evento(0.65 + corrimiento, abajo, ancho);
    if (n >= 200)
        evento(0.82 + corrimiento, arriba * 0.8, std::max(0, ancho / 2));
    return lista;
}

void ponBcd(QByteArray& img, int dir, int valor)
{
    img[dir] = char(ABcd(std::clamp(valor, 0, 99)));
}

void pon16(QByteArray& img, int dir, int valor)
{
    qToLittleEndian<quint16>(quint16(std::clamp(valor, 0, 65535)), img.data() + dir);
}

} // namespace

QStringList scenarioNames()
{
    return {QStringLiteral("finished"), QStringLiteral("alarms"), QStringLiteral("circular"),
            QStringLiteral("recording"), QStringLiteral("empty")};
}

std::optional<Scenario> scenarioFromName(const QString& name)
{
    static const Scenario kOrden[] = {Scenario::Finished, Scenario::Alarms, Scenario::Circular,
                                      Scenario::Recording, Scenario::Empty};
    const int i = scenarioNames().indexOf(name.toLower());
    if (i < 0)
        return std::nullopt;
    return kOrden[i];
}

int sampleCount(const GeneratorOptions& o)
{
    if (o.samples >= 0)
        return std::min(o.samples, 16777215);
    switch (o.scenario) {
    case Scenario::Empty:
        return 0;
    case Scenario::Circular:
        return 30000;
    default:
        return 2400;
    }
}

QByteArray generateSamples(const GeneratorOptions& o)
{
    const int n = o.scenario == Scenario::Empty ? 0 : sampleCount(o);
    QByteArray muestras(n, '\0');
    if (n == 0)
        return muestras;

    Azar azar(o.seed);
    const double bajo = o.lowCelsius, alto = std::max(o.highCelsius, o.lowCelsius);
    const double consigna = (bajo + alto) / 2.0;
    const double mitad = std::max((alto - bajo) / 2.0, 0.5);
    const double intervalo = std::max(1, o.interval);

    // The cargo goes in warm and the unit pulls it down within a few hours (never more than a
    // small part of a short mission, so the later events stand out from the pull-down).
    const double arranque = std::min(consigna + mitad + 8.0, 31.0) - consigna;
    const double constante = std::max(1e-3, std::min(120.0, 0.03 * n * intervalo));
    const double amplitudDiaria = std::min(0.3 * mitad, 0.6);
    const double fase = azar.uniforme() * 2.0 * kPi;
    const QVector<Excursion> eventos = excursiones(o, n, mitad, amplitudDiaria, azar);

    double ruido = 0.0;
    for (int k = 0; k < n; ++k) {
        const double minutos = k * intervalo;
        double t = consigna + arranque * std::exp(-minutos / constante);
        t += amplitudDiaria * std::sin(2.0 * kPi * minutos / 1440.0 + fase);
        ruido = std::clamp(0.8 * ruido + 0.12 * azar.normal(), -0.5, 0.5);
        t += ruido;
        for (const Excursion& e : eventos) {
            const int distancia = std::abs(k - e.centro);
            if (distancia <= e.ancho)
                t += e.amplitud * (1.0 - double(distancia) / (e.ancho + 1.0));
        }
        muestras[k] = char(std::clamp(rawDeCelsius(t), 0, kRawMaximo));
    }
    return muestras;
}

QByteArray buildImage(const GeneratorOptions& o, const QByteArray& tomadas)
{
    QByteArray img(records::kImageSize, '\0');
    const int n = std::min<int>(tomadas.size(), 16777215);
    const int rawBajo = rawDeCelsius(o.lowCelsius);
    const int rawAlto = rawDeCelsius(o.highCelsius);
    const bool circular = o.scenario == Scenario::Circular;

    // Status block as the preparation writes it and the logger keeps it.
    pon16(img, 0, o.waitMinutes);
    img[5] = 1;
    img[11] = char(rawBajo);
    img[12] = char(rawAlto);
    img[13] = char(std::clamp(o.interval, 1, 255));
    img[17] = n > 0 ? tomadas[n - 1] : char(rawDeCelsius((o.lowCelsius + o.highCelsius) / 2.0));
    pon16(img, 18, o.delayMinutes);
    img[20] = 22;
    const QDateTime sello = o.prepared.isValid() ? o.prepared : QDateTime(QDate(2024, 3, 1), QTime(10, 0), Qt::UTC);
    ponBcd(img, 21, sello.time().minute());
    ponBcd(img, 22, sello.time().hour());
    ponBcd(img, 23, sello.date().day());
    ponBcd(img, 24, sello.date().month());
    ponBcd(img, 25, sello.date().year() - 2000);
    img[26] = char(Byte0(n));
    img[27] = char(Byte1(n));
    img[28] = char(Byte2(n));

    // Identification block.
    img.replace(64, 12, ansiFixed(Nombre12(o.exporter), 12));
    img.replace(76, 12, ansiFixed(Nombre12(o.carrier), 12));
    const qint64 serie = std::min<quint32>(o.serial, 16777215u);
    img[90] = char(Byte2(serie));
    img[91] = char(Byte1(serie));
    img[92] = char(Byte0(serie));
    img[93] = char(o.firmware[0]);
    img[94] = char(o.firmware[1]);
    img[95] = char(o.firmware[2]);

    // Samples, alarm tables and value counts, as the logger keeps them while it records.
    int alarmasBajas = 0, alarmasAltas = 0;
    bool huboBaja = false, huboAlta = false;
    bool previaBaja = false, previaAlta = false;
    QVector<int> conteos(kCeldasConteo, 0);
    for (int k = 0; k < n; ++k) {
        const int raw = quint8(tomadas[k]);
        if (circular)
            img[records::kSampleBase + k % records::kCapacity] = char(raw);
        else if (k < records::kCapacity)
            img[records::kSampleBase + k] = char(raw);

        const bool bajaAhora = raw < rawBajo;
        const bool altaAhora = raw > rawAlto;
        // Each table keeps the sample number (from 1) where the limit was crossed, ten at most.
        if (bajaAhora && !previaBaja && alarmasBajas < kEntradasAlarma) {
            const int dir = kTablaAlarmaBaja + 3 * alarmasBajas++;
            img[dir] = char(Byte0(k + 1));
            img[dir + 1] = char(Byte1(k + 1));
            img[dir + 2] = char(Byte2(k + 1));
        }
        if (altaAhora && !previaAlta && alarmasAltas < kEntradasAlarma) {
            const int dir = kTablaAlarmaAlta + 3 * alarmasAltas++;
            img[dir] = char(Byte0(k + 1));
            img[dir + 1] = char(Byte1(k + 1));
            img[dir + 2] = char(Byte2(k + 1));
        }
        huboBaja |= bajaAhora;
        huboAlta |= altaAhora;
        previaBaja = bajaAhora;
        previaAlta = altaAhora;
        if (raw < kCeldasConteo)
            ++conteos[raw];
    }
    for (int v = 0; v < kCeldasConteo; ++v)
        qToBigEndian<quint16>(quint16(std::min(conteos[v], 65535)), img.data() + kTablaConteos + 2 * v);

    quint8 modo = 0;
    if (circular)
        modo |= ModoCircular;
    if (o.pushButton)
        modo |= ModoPulsador;
    img[256] = char(modo);

    quint8 estado = 0;
    if (huboAlta)
        estado |= EstadoAlarmaHi;
    if (huboBaja)
        estado |= EstadoAlarmaLo;
    if (o.scenario == Scenario::Recording)
        estado |= EstadoRegistrando;
    if (o.scenario == Scenario::Empty || n == 0)
        estado |= EstadoSinDatos;
    img[258] = char(estado);
    return img;
}

QByteArray generateImage(const GeneratorOptions& options)
{
    return buildImage(options, generateSamples(options));
}

QString validate(const GeneratorOptions& o)
{
    if (o.samples < -1 || o.samples > 16777215)
        return QStringLiteral("the number of samples must be 0..16777215");
    if (o.scenario == Scenario::Empty && o.samples > 0)
        return QStringLiteral("an empty logger holds no samples");
    if (o.interval < 1 || o.interval > 255)
        return QStringLiteral("the interval must be 1..255 minutes");
    if (!o.prepared.isValid() || o.prepared.date().year() < 2000 || o.prepared.date().year() > 2099)
        return QStringLiteral("the preparation time must lie in the years 2000..2099");
    if (o.delayMinutes < 0 || o.delayMinutes > 65535 || o.waitMinutes < 0 || o.waitMinutes > 65535)
        return QStringLiteral("delays must be 0..65535 minutes");
    if (o.serial > 16777215u)
        return QStringLiteral("the serial number must be 0..16777215");
    const auto enEscala = [](double c) { return c >= -40.0 && c <= 87.5; };
    if (!enEscala(o.lowCelsius) || !enEscala(o.highCelsius))
        return QStringLiteral("limits must lie within -40..87.5 degrees Celsius");
    if (o.lowCelsius >= o.highCelsius)
        return QStringLiteral("the low limit must be below the high limit");
    return QString();
}

} // namespace orvan::generator
