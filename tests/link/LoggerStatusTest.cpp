// Decoding the status blocks and reading them in each window's order.

#include "link/LoggerStatus.h"
#include "support/ScriptedPort.h"

#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::link;
using orvan::test::FakeLogger;
using orvan::test::ScriptedPort;

namespace {

FakeLogger loggerWithMission()
{
    FakeLogger l;
    auto put = [&](int address, std::initializer_list<int> values) {
        for (int v : values)
            l.setByte(address++, quint8(v));
    };
    put(0, {0x02, 0x01});                        // EsperaInicio 258
    put(11, {76, 96, 15});                       // limits -2 and 8 °C, 15 minutes
    put(17, {3});                                // -38.5 °C
    put(18, {0x1E, 0x00});                       // DemoraInicio 30
    put(21, {0x05, 0x10, 0x01, 0x03, 0x24});     // prepared 01/03/2024 10:05
    put(26, {0x00, 0x60, 0x00});                 // 24576 samples, low byte first
    l.memory.replace(64, 24, QByteArray("FRUTAS \xD1U\xD1O TRANSPORTE X"));
    put(90, {0x01, 0xE2, 0x40, 2, 1, 3});        // serial 123456, high byte first; firmware 2.1.3
    put(256, {8 | 16});
    put(258, {0xA6});                            // saved, recording, both alarms
    return l;
}

struct Bench : orvan::test::LinkBench {
    explicit Bench(const LinkProfile& profile) : LinkBench(profile) { logger.attach(port); }
    FakeLogger logger = loggerWithMission();
};

} // namespace

TEST(LoggerStatus, DecodesTheThreeBlocks)
{
    const FakeLogger l = loggerWithMission();
    EstadoKLV e;
    DecodificaBloqueEstado(l.memory.mid(0, 34), Unit::Celsius, e);
    DecodificaIdentificacion(l.memory.mid(64, 32), e);
    DecodificaBanderas(l.memory.mid(256, 32), e);

    const QDateTime prep(QDate(2024, 3, 1), QTime(10, 5), Qt::UTC);
    EXPECT_EQ(e.HoraPrep, prep);
    EXPECT_EQ(std::make_tuple(e.EsperaInicio, e.DemoraInicio, e.NumMuestras, e.Intervalo),
              std::make_tuple(258, 30, 24576, 15));
    EXPECT_EQ(std::make_tuple(e.LimInf, e.LimSup, e.TempActual), std::make_tuple(-2, 8, -38));
    EXPECT_EQ(e.Exportador, QStringLiteral("FRUTAS ÑUÑO "));
    EXPECT_EQ(e.Transportador, QStringLiteral("TRANSPORTE X"));
    EXPECT_EQ(e.SerieKLV, QStringLiteral("12345"));   // the field holds five characters
    EXPECT_TRUE(e.Circular && e.ArranquePulsador && e.Guardado && e.Registrando && e.AlarmaLo && e.AlarmaHi);
    EXPECT_FALSE(e.SinDatos);
    EXPECT_EQ(std::make_tuple(e.VerFw1, e.VerFw2, e.VerFw3), std::make_tuple(2, 1, 3));
    EXPECT_EQ(e.inicioMision(), prep.addSecs((258 + 30) * 60));
    EXPECT_EQ(e.finMision(), prep.addSecs((258 + 30 + qint64(15) * 24576) * 60));

    // Fahrenheit for limits and current temperature; a short serial is padded.
    QByteArray ident = l.memory.mid(64, 32);
    ident.replace(26, 3, QByteArray::fromHex("00002a"));
    DecodificaBloqueEstado(l.memory.mid(0, 32), Unit::Fahrenheit, e);
    DecodificaIdentificacion(ident, e);
    EXPECT_EQ(std::make_tuple(e.LimInf, e.LimSup, e.TempActual), std::make_tuple(28, 46, -37));
    EXPECT_EQ(e.SerieKLV, QStringLiteral("42   "));
}

TEST(LoggerStatus, PollReadsBlocksInEachWindowsOrder)
{
    const std::pair<LinkProfile, QList<int>> cases[] = {
        {LinkProfile::frmsave(), {0, 8, 15, 2, 8}},
        {LinkProfile::frmPrep(), {8, 0, 8, 2}},
    };
    for (const auto& [profile, blocks] : cases) {
        Bench b(profile);
        EstadoKLV e;
        EXPECT_TRUE(ActualizaEstado(b.link, e, Unit::Celsius));
        EXPECT_TRUE(e.Comunicado);
        EXPECT_EQ(b.logger.blocksRead, blocks) << profile.form.toStdString();
        EXPECT_EQ(e.Transportador, QStringLiteral("TRANSPORTE X"));
    }
}

TEST(LoggerStatus, FailedReadsClearComunicadoAndKeepTheRest)
{
    Bench b(LinkProfile::frmsave());
    EstadoKLV e;
    ASSERT_TRUE(ActualizaEstado(b.link, e, Unit::Celsius));
    QList<int> silentBlocks;
    const auto answer = b.port.responder;
    b.port.responder = [&](const QByteArray& f, ScriptedPort& p) {
        if (!silentBlocks.contains(quint8(f.at(1)) * 8 + quint8(f.at(2)) / 32))
            answer(f, p);
    };

    // Block 2 lost: the flag block read after it succeeds, but the poll as a whole did not.
    silentBlocks = {2};
    b.logger.setByte(26, 1);
    b.logger.setByte(27, 0);
    EXPECT_FALSE(ActualizaEstado(b.link, e, Unit::Celsius));
    EXPECT_FALSE(e.Comunicado);
    EXPECT_EQ(e.NumMuestras, 1);   // block 0 was read

    // Block 0 lost: the firmware version is forgotten, the other fields stay as last read.
    silentBlocks = {0};
    EXPECT_FALSE(LeeEstado(b.link, e, Unit::Celsius));
    EXPECT_EQ(std::make_tuple(e.VerFw1, e.VerFw2, e.VerFw3), std::make_tuple(0, 0, 0));
    EXPECT_EQ(e.Exportador, QStringLiteral("FRUTAS ÑUÑO "));
    EXPECT_TRUE(b.sink.messages.isEmpty());
}
