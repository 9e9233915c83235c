// The preparation's arithmetic: what a duration or an interval turns into, the limit lists, the
// start modes and the write table.

#include "mission/PrepPlan.h"
#include "base/Encodings.h"

#include <gtest/gtest.h>

using namespace orvan::mission;

namespace {

const QDateTime kAhora(QDate(2026, 12, 6), QTime(20, 30, 15));

} // namespace

TEST(PrepPlan, DurationsAndIntervalsGiveTheCoveredTime)
{
    struct Caso { int dias; int rango; const char* texto; };
    for (const Caso& c : {Caso{64, 4, "68 d  06 h"}, Caso{1, 1, "17 d  01 h"}, Caso{360, 22, "375 d  11 h"},
                          Caso{30, 2, "34 d  03 h"}, Caso{17, 1, "17 d  01 h"}, Caso{18, 2, "34 d  03 h"}}) {
        SCOPED_TRACE(c.dias);
        EXPECT_EQ(RangoParaDias(c.dias), c.rango);
        EXPECT_EQ(TextoDuracion(c.rango), QString::fromLatin1(c.texto));
    }
    EXPECT_EQ(TextoDuracion(15), QStringLiteral("256 d  00 h"));
    EXPECT_EQ(TextoRango(4), QStringLiteral("4 min."));
    // Every listed duration fits an interval the logger takes.
    for (int d : DuracionesDias())
        EXPECT_LE(RangoParaDias(d), 60) << d;
}

TEST(PrepPlan, ChoiceLists)
{
    const QList<int> d = DuracionesDias();
    EXPECT_EQ(d.size(), 15 + 6 + 3 + 9);
    EXPECT_EQ(d.mid(14, 4), (QList<int>{15, 20, 25, 30}));
    EXPECT_EQ(d.mid(20, 4), (QList<int>{45, 60, 75, 90}));
    EXPECT_EQ(d.last(), 360);
    EXPECT_EQ(Intervalos().size(), 60);

    const QList<int> c = ListaLimites(-1);
    ASSERT_EQ(c.size(), 126);
    EXPECT_EQ(c.first(), -40);
    EXPECT_EQ(c[1], -39);
    EXPECT_EQ(c.last(), 85);

    // Fahrenheit: steps of 1.8 degrees to the nearest whole number.
    const QList<int> f = ListaLimites(0);
    ASSERT_EQ(f.size(), 126);
    EXPECT_EQ(f.mid(0, 7), (QList<int>{-40, -38, -36, -35, -33, -31, -29}));
    EXPECT_EQ(f.last(), 185);
    // Each offered limit is written as the raw value it came from.
    for (int raw = 0; raw <= 250; raw += 2) {
        EXPECT_EQ(orvan::GradosARaw(c[raw / 2], -1), raw);
        EXPECT_EQ(orvan::GradosARaw(f[raw / 2], 0), raw);
    }
}

TEST(PrepPlan, LimitsMoveTogether)
{
    EXPECT_EQ(EligeAlto({0, 8}, -5).bajo, -5);
    EXPECT_EQ(EligeAlto({0, 8}, 4).bajo, 0);
    EXPECT_EQ(EligeBajo({0, 8}, 12).alto, 12);
    EXPECT_EQ(EligeBajo({0, 8}, 8).alto, 8);   // equal limits are allowed
}

TEST(PrepPlan, AcceptNeedsAnIntervalAndAStartWithin45Days)
{
    EXPECT_FALSE(DatosPrepOk(true, ModoInicio::Pulsador, 0, 0).ok);
    EXPECT_TRUE(DatosPrepOk(true, ModoInicio::Pulsador, 0, 4).ok);
    EXPECT_FALSE(DatosPrepOk(false, ModoInicio::Pulsador, 0, 4).ok);
    const EstadoAceptar lejos = DatosPrepOk(true, ModoInicio::Hora, kMaxMinutosInicio + 1, 4);
    EXPECT_FALSE(lejos.ok);
    EXPECT_EQ(lejos.imgClock, 13);
    const EstadoAceptar justo = DatosPrepOk(true, ModoInicio::Hora, kMaxMinutosInicio, 4);
    EXPECT_TRUE(justo.ok);
    EXPECT_EQ(justo.imgClock, 14);

    EXPECT_EQ(MinutosHasta(kAhora, kAhora.addSecs(2 * 3600)), 120);
    EXPECT_EQ(MinutosHasta(QDateTime(QDate(2026, 1, 1), QTime(10, 0, 59)), QDateTime(QDate(2026, 1, 1), QTime(10, 1, 0))), 1);
}

TEST(PrepPlan, DelayBoxTakesWholeMinutesThatFitTwoBytes)
{
    EXPECT_EQ(LeeDemora(QStringLiteral("90")), 90);
    EXPECT_EQ(LeeDemora(QStringLiteral(" 65535 ")), 65535);
    EXPECT_EQ(LeeDemora(QStringLiteral("0")), 0);
    for (const char* malo : {"65536", "-1", "", "1,5", "abc", "1e3", "+5", "99999999999999999999"})
        EXPECT_FALSE(LeeDemora(QString::fromLatin1(malo))) << malo;
}

TEST(PrepPlan, StartModesGiveModeStatusAndDelay)
{
    Preparacion p;
    p.rango = 4;
    p.rawLimInf = 80;
    p.rawLimSup = 96;

    p.modo = ModoInicio::Pulsador;
    p.circular = true;
    ValoresPrep v = CalculaValores(p, kAhora);
    EXPECT_EQ(v.ModoPrep, 24);
    EXPECT_EQ(v.EstadoPrep, 0);
    EXPECT_EQ(v.DemoraPrep, 0);

    p.circular = false;
    p.modo = ModoInicio::Hora;
    p.horaInicio = kAhora.addSecs(2 * 3600);
    v = CalculaValores(p, kAhora);
    EXPECT_EQ(v.ModoPrep, 0);
    EXPECT_EQ(v.EstadoPrep, 32);
    EXPECT_EQ(v.DemoraPrep, 120);
    // A start time that passed while the user pressed Accept starts now.
    p.horaInicio = kAhora.addSecs(-300);
    EXPECT_FALSE(ValidaPreparacion(p, kAhora));
    EXPECT_EQ(CalculaValores(p, kAhora).DemoraPrep, 0);
    p.horaInicio = kAhora.addDays(46);
    EXPECT_EQ(ValidaPreparacion(p, kAhora), FrasePrep::HoraLejana);

    p.modo = ModoInicio::PulsadorDemora;
    p.demora = 300;
    v = CalculaValores(p, kAhora);
    EXPECT_EQ(v.ModoPrep, 16);
    EXPECT_EQ(v.DemoraPrep, 300);
    p.demora = 70000;
    EXPECT_EQ(ValidaPreparacion(p, kAhora), FrasePrep::Demora);

    p.demora = 0;
    p.rawLimInf = 100;   // above the high limit
    EXPECT_EQ(ValidaPreparacion(p, kAhora), FrasePrep::Limites);
    p.rawLimInf = 80;
    p.rango = 0;
    EXPECT_EQ(ValidaPreparacion(p, kAhora), FrasePrep::SinRango);
    EXPECT_EQ(TextoPrep(FrasePrep::SinRango, 1), QStringLiteral("Choose the record's time length or the time between samples."));
}

TEST(PrepPlan, WriteTableInOrderWithPausesAndProgress)
{
    Preparacion p;
    p.rango = 22;
    p.rawLimInf = 80;
    p.rawLimSup = 96;
    p.modo = ModoInicio::PulsadorDemora;
    p.demora = 300;   // 0x012C
    const ValoresPrep v = CalculaValores(p, QDateTime(QDate(2026, 3, 9), QTime(7, 45)));
    EXPECT_EQ(v.FechaPrepBCD, (std::array<quint8, 5>{0x45, 0x07, 0x09, 0x03, 0x26}));

    const QList<Escritura> t = TablaEscritura(p, v);
    const QList<int> direcciones{5, 20, 21, 22, 23, 24, 25, 18, 19, 11, 12, 13, 256, 258};
    const QList<int> valores{1, 22, 0x45, 0x07, 0x09, 0x03, 0x26, 0x2C, 0x01, 80, 96, 22, 16, 0};
    const QList<int> pausas{200, 500, 400, 100, 100, 100, 400, 400, 400, 100, 100, 100, 400, 100};
    ASSERT_EQ(t.size(), 14);
    int total = 0;
    for (int i = 0; i < t.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(t[i].address, direcciones[i]);
        EXPECT_EQ(t[i].value, valores[i]);
        EXPECT_EQ(t[i].pausaMs, pausas[i]);
        total += t[i].pausaMs;
        if (i > 0) {
            EXPECT_GT(t[i].progreso, t[i - 1].progreso);
        }
    }
    EXPECT_EQ(total, 3400);
    EXPECT_EQ(t.last().progreso, 1950);

    const QList<Escritura> n = TablaNombres(QStringLiteral("EXPORTADORA DEL SUR"), QStringLiteral("ABC"), {0x0F, 0x42, 0x3F});
    ASSERT_EQ(n.size(), 27);
    QByteArray nombres;
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(n[i].address, 64 + i);
        nombres.append(char(n[i].value));
    }
    EXPECT_EQ(nombres, QByteArray("EXPORTADORA ABC         "));
    EXPECT_EQ(n[24].address, 90);
    EXPECT_EQ(n[24].value, 0x0F);
    EXPECT_EQ(n[26].value, 0x3F);
    for (const Escritura& e : n)
        EXPECT_EQ(e.pausaMs, 50);
}
