// The record generator: images must be what a logger would hold after the same samples.

#include "records/ImagenPrueba.h"
#include "tools/generator/RecordGenerator.h"

#include <QVector>
#include <gtest/gtest.h>

using namespace orvan::generator;
using namespace orvan::records;

namespace {

int entero24le(const QByteArray& img, int dir)
{
    return quint8(img[dir]) | quint8(img[dir + 1]) << 8 | quint8(img[dir + 2]) << 16;
}

QVector<int> tablaAlarmas(const QByteArray& img, int dir)
{
    QVector<int> t;
    for (int i = 0; i < 10; ++i)
        t << entero24le(img, dir + 3 * i);
    return t;
}

// Tables, counts and bits computed again from the samples, independently of the generator.
void revisaCoherencia(const GeneratorOptions& o, const QByteArray& muestras, const QByteArray& img)
{
    ASSERT_EQ(img.size(), kImageSize);
    const int lo = quint8(img[11]), hi = quint8(img[12]);
    const int n = muestras.size();
    EXPECT_EQ(entero24le(img, 26), n);

    QVector<int> conteos(144, 0), bajas(10, 0), altas(10, 0);
    int nb = 0, na = 0;
    bool antesBaja = false, antesAlta = false;
    for (int k = 0; k < n; ++k) {
        const int v = quint8(muestras[k]);
        ASSERT_LE(v, 143);
        ++conteos[v];
        if (v < lo && !antesBaja && nb < 10)
            bajas[nb++] = k + 1;
        if (v > hi && !antesAlta && na < 10)
            altas[na++] = k + 1;
        antesBaja = v < lo;
        antesAlta = v > hi;
    }
    for (int v = 0; v < 144; ++v)
        ASSERT_EQ(quint8(img[4096 + 2 * v]) * 256 + quint8(img[4097 + 2 * v]), std::min(conteos[v], 65535)) << "value " << v;
    EXPECT_EQ(img.mid(4096 + 288, 1024 - 288), QByteArray(1024 - 288, '\0'));
    EXPECT_EQ(tablaAlarmas(img, 1280), bajas);
    EXPECT_EQ(tablaAlarmas(img, 1312), altas);
    EXPECT_EQ(bool(img[258] & 4), nb > 0);
    EXPECT_EQ(bool(img[258] & 2), na > 0);

    const bool circular = o.scenario == Scenario::Circular;
    EXPECT_EQ(bool(img[256] & 8), circular);
    QByteArray area(kCapacity, '\0');
    for (int k = 0; k < n; ++k) {
        if (circular)
            area[k % kCapacity] = muestras[k];
        else if (k < kCapacity)
            area[k] = muestras[k];
    }
    EXPECT_EQ(img.mid(kSampleBase), area);
}

} // namespace

TEST(RecordGenerator, ScenariosGiveConsistentImages)
{
    struct Caso {
        Scenario escenario;
        int muestras;
        int entradasBajas;   // filled entries expected in each alarm table, -1 when not checked
    };
    const Caso casos[] = {
        {Scenario::Finished, -1, -1},  {Scenario::Finished, 3, -1}, {Scenario::Alarms, 2000, 10},
        {Scenario::Circular, -1, -1},  {Scenario::Recording, 500, -1}, {Scenario::Finished, 30000, -1},
    };
    for (const Caso& k : casos) {
        SCOPED_TRACE(testing::Message() << "scenario " << int(k.escenario) << ", " << k.muestras);
        GeneratorOptions o;
        o.scenario = k.escenario;
        o.samples = k.muestras;
        ASSERT_TRUE(validate(o).isEmpty());
        const QByteArray muestras = generateSamples(o);
        EXPECT_EQ(muestras.size(), sampleCount(o));
        const QByteArray img = buildImage(o, muestras);
        revisaCoherencia(o, muestras, img);
        EXPECT_EQ(generateImage(o), img);
        if (muestras.size() >= 100) {
            // A cold-chain mission crosses both limits.
            EXPECT_EQ(img[258] & 6, 6);
        }
        if (k.entradasBajas >= 0) {
            EXPECT_EQ(tablaAlarmas(img, 1280).count(0), 10 - k.entradasBajas);
            EXPECT_EQ(tablaAlarmas(img, 1312).count(0), 10 - k.entradasBajas);
        }
        EXPECT_EQ(bool(img[258] & 32), k.escenario == Scenario::Recording);
        EXPECT_FALSE(img[258] & 64);
    }
}

TEST(RecordGenerator, HeaderDecodesToTheOptions)
{
    GeneratorOptions o;
    o.samples = 1234;
    o.interval = 5;
    o.exporter = QStringLiteral("  Exportadora Ñandú SA");
    o.carrier = QStringLiteral("BARCO");
    o.prepared = prueba::utc(2031, 12, 31, 23, 50);
    o.delayMinutes = 40000;
    o.waitMinutes = 20;
    o.lowCelsius = -2;
    o.highCelsius = 4.5;
    o.serial = 0x3039;
    o.pushButton = true;

    MissionRecord r;
    r.Memoria.replace(0, kImageSize, generateImage(o));
    EXPECT_TRUE(r.LeeAuditoria().isEmpty());
    const Auditoria& c = r.campos;
    EXPECT_EQ(c.NumMuestras, 1234);
    EXPECT_EQ(c.Rango, 5);
    EXPECT_EQ(c.LoThreshold, 76);
    EXPECT_EQ(c.HiThreshold, 89);
    EXPECT_EQ(c.Exportador, QStringLiteral("Exportadora "));
    EXPECT_EQ(c.Transportador, QStringLiteral("BARCO       "));
    EXPECT_EQ(c.NumSerie, QStringLiteral("12345   "));
    EXPECT_EQ(c.DemoraInicio, 40000);
    EXPECT_EQ(c.EsperaInicio, 20);
    EXPECT_EQ(c.InicioMision, o.prepared.addSecs(40020LL * 60));
    EXPECT_EQ(r.byte(5), 1);
    EXPECT_EQ(r.byte(20), 22);
    EXPECT_EQ(r.byte(256) & 16, 16);
    EXPECT_EQ(r.byte(93), 1);
}

TEST(RecordGenerator, SameSeedSameImageAndEmptyLoggerHoldsNothing)
{
    GeneratorOptions o;
    o.seed = 42;
    const QByteArray a = generateImage(o);
    EXPECT_EQ(generateImage(o), a);
    o.seed = 43;
    EXPECT_NE(generateImage(o), a);

    o.scenario = Scenario::Empty;
    const QByteArray vacio = generateImage(o);
    EXPECT_EQ(entero24le(vacio, 26), 0);
    EXPECT_EQ(quint8(vacio[258]), 64);
    EXPECT_EQ(vacio.mid(1280, 62), QByteArray(62, '\0'));
    EXPECT_EQ(vacio.mid(4096), QByteArray(kImageSize - 4096, '\0'));

    o.samples = 5;
    EXPECT_FALSE(validate(o).isEmpty());
    o = GeneratorOptions();
    o.lowCelsius = 8;
    o.highCelsius = 2;
    EXPECT_FALSE(validate(o).isEmpty());
    EXPECT_EQ(scenarioFromName(QStringLiteral("Circular")), Scenario::Circular);
    EXPECT_FALSE(scenarioFromName(QStringLiteral("broken")).has_value());
}
