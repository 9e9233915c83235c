// Programming a mission against the emulated logger on a real pseudo-terminal: the exact frames
// and values, the serial number written back, and the read-back that catches lost writes.

#include "link/LoggerStatus.h"
#include "link/QtSerialPort.h"
#include "link/StatusSummary.h"
#include "mission/ProgramaKLV.h"
#include "support/RunCli.h"
#include "tools/emulator/EmulatorFixture.h"

#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::mission;
using orvan::emulator::EmulatorFixture;
using orvan::emulator::Fault;
using orvan::emulator::Logger;
using orvan::emulator::ScenarioKind;
using orvan::emulator::ScenarioOptions;

namespace {

// Real time for reply time-outs; the fixed pauses are added up instead of slept, so a run takes
// milliseconds. The emulator cuts back-to-back frames apart by their bytes.
class PausasContadas : public link::SystemClock {
public:
    void sleepMs(int ms) override { pausado += ms; }
    int pausado = 0;
};

struct Corrida {
    ResultadoPrep r;
    QList<QByteArray> escrituras;   // write frames, in order
    QList<QByteArray> lecturas;     // block read frames, in order
    int pausado = 0;
    QList<int> progreso;
    QStringList mensajes;
};

Corrida programa(EmulatorFixture& emu, const Preparacion& p, const QDateTime& ahora)
{
    link::QtSerialPort port;
    port.setPortName(emu.devicePath());
    PausasContadas clock;
    std::atomic<bool> closing{false};
    Corrida c;
    link::Link lnk(port, clock, closing, link::LinkProfile::frmPrep(), [&c](const QString& m) { c.mensajes.append(m); });
    emu.logger().clearFrameLog();
    c.r = ProgramaKLV(lnk, [&c](int v) { c.progreso.append(v); }).run(p, ahora);
    c.pausado = clock.pausado;
    for (const auto& e : emu.logger().frameLog())
        (quint8(e.frame.at(0)) == 0x22 ? c.escrituras : c.lecturas).append(e.frame);
    return c;
}

QByteArray w(int address, int value)
{
    return QByteArray::fromHex(QByteArray::number((0x22 << 24) | (address << 8) | value, 16).rightJustified(8, '0'));
}

Preparacion base()
{
    Preparacion p;
    p.rango = 4;
    p.rawLimInf = 84;    // 2 °C
    p.rawLimSup = 96;    // 8 °C
    p.exportador = QStringLiteral("EXPORTADORA AUSTRAL");   // 19 characters
    p.transportador = QStringLiteral("MSC");
    return p;
}

const QDateTime kAhora = QDateTime::currentDateTime();

} // namespace

TEST(ProgramaKLV, PushButtonCircularWritesTheExactSequenceAndVerifies)
{
    ScenarioOptions o;
    o.serial = 987654;   // six digits: 0x0F1206
    EmulatorFixture emu(ScenarioKind::Empty, o);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    Preparacion p = base();
    p.exportador = QStringLiteral("ABCDEFGHIJKLMNO");   // 15 characters
    p.circular = true;

    const QDateTime ahora(QDate(2026, 12, 6), QTime(21, 7, 30));
    const Corrida c = programa(emu, p, ahora);
    ASSERT_EQ(c.r.estado, ResultadoPrep::Estado::Programado) << c.r.diferencias.size();
    EXPECT_TRUE(c.mensajes.isEmpty());
    EXPECT_EQ(c.r.valores.ModoPrep, 24);
    EXPECT_EQ(c.r.valores.EstadoPrep, 0);
    EXPECT_EQ(c.r.valores.DemoraPrep, 0);

    QList<QByteArray> esperadas{w(5, 1), w(20, 22), w(21, 0x07), w(22, 0x21), w(23, 0x06), w(24, 0x12), w(25, 0x26),
                                w(18, 0), w(19, 0), w(11, 84), w(12, 96), w(13, 4), w(256, 24), w(258, 0)};
    const QByteArray nombres("ABCDEFGHIJKLMSC         ");
    for (int i = 0; i < 24; ++i)
        esperadas.append(w(64 + i, quint8(nombres[i])));
    esperadas << w(90, 0x0F) << w(91, 0x12) << w(92, 0x06);
    EXPECT_EQ(c.escrituras, esperadas);
    // Block 2 for the serial number before writing, blocks 0, 2, 8 after.
    EXPECT_EQ(c.lecturas, (QList<QByteArray>{QByteArray::fromHex("330040"), QByteArray::fromHex("330000"),
                                             QByteArray::fromHex("330040"), QByteArray::fromHex("330100")}));
    EXPECT_EQ(c.pausado, 3400 + 27 * 50);
    EXPECT_EQ(c.progreso.first(), 1100);
    EXPECT_EQ(c.progreso.last(), 2000);
    EXPECT_TRUE(std::is_sorted(c.progreso.begin(), c.progreso.end()));

    EXPECT_EQ(emu.logger().phase(), Logger::Phase::WaitingButton);
    EXPECT_EQ(emu.logger().peek(90) << 16 | emu.logger().peek(91) << 8 | emu.logger().peek(92), 987654);
}

TEST(ProgramaKLV, SetTimeAndDelayedButtonStarts)
{
    EmulatorFixture emu(ScenarioKind::Empty);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();

    Preparacion p = base();
    p.modo = ModoInicio::Hora;
    p.horaInicio = kAhora.addSecs(2 * 3600);
    Corrida c = programa(emu, p, kAhora);
    ASSERT_EQ(c.r.estado, ResultadoPrep::Estado::Programado);
    EXPECT_EQ(c.escrituras.mid(7, 2), (QList<QByteArray>{w(18, 120), w(19, 0)}));
    EXPECT_EQ(c.escrituras.mid(12, 2), (QList<QByteArray>{w(256, 0), w(258, 32)}));
    EXPECT_EQ(emu.logger().phase(), Logger::Phase::WaitingStart);
    // The exporter of 19 characters keeps its first 12; the carrier of 3 is padded with 9 blanks.
    EXPECT_EQ(emu.logger().memory().mid(64, 24), QByteArray("EXPORTADORA MSC         "));

    // What the next poll of the preparation window shows: armed, waiting for the set time.
    {
        link::QtSerialPort port;
        port.setPortName(emu.devicePath());
        link::SystemClock clock;
        std::atomic<bool> closing{false};
        RecordingSink sink;
        link::Link lnk(port, clock, closing, link::LinkProfile::frmPrep(), sink);
        link::EstadoKLV e;
        ASSERT_TRUE(link::ActualizaEstado(lnk, e, -1));
        EXPECT_TRUE(e.Registrando);
        EXPECT_EQ(e.DemoraInicio, 120);
        EXPECT_EQ(e.Intervalo, 4);
        TextTable textos;
        textos.CargaTextos(0);
        const link::Resumen r = link::PoneResumen(e, QStringLiteral(" °C"), textos, kAhora, link::CopiaResumen::frmPrep);
        EXPECT_EQ(r.imgRec->index, 7);
        EXPECT_EQ(r.imgStartmode->index, 6);
        EXPECT_EQ(*r.lbAlarLowX, QStringLiteral(" < 2 °C"));
    }

    // Prepared again, now by push-button with a delay of 300 minutes (0x012C).
    emu.logger().erase();
    p.modo = ModoInicio::PulsadorDemora;
    p.demora = 300;
    p.exportador = QStringLiteral("SUR");
    c = programa(emu, p, kAhora);
    ASSERT_EQ(c.r.estado, ResultadoPrep::Estado::Programado);
    EXPECT_EQ(c.escrituras.mid(14, 12), (QList<QByteArray>{w(64, 'S'), w(65, 'U'), w(66, 'R'), w(67, ' '), w(68, ' '), w(69, ' '),
                                                            w(70, ' '), w(71, ' '), w(72, ' '), w(73, ' '), w(74, ' '), w(75, ' ')}));
    EXPECT_EQ(c.escrituras.mid(7, 2), (QList<QByteArray>{w(18, 0x2C), w(19, 0x01)}));
    EXPECT_EQ(c.escrituras.mid(12, 2), (QList<QByteArray>{w(256, 16), w(258, 0)}));
    EXPECT_EQ(emu.logger().phase(), Logger::Phase::WaitingButton);
}

TEST(ProgramaKLV, LostWritesAndSilenceAreNeverReportedAsProgrammed)
{
    EmulatorFixture emu(ScenarioKind::Empty);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();

    emu.logger().setFault(Fault::DropsWrites);
    Corrida c = programa(emu, base(), kAhora);
    EXPECT_EQ(c.r.estado, ResultadoPrep::Estado::NoProgramado);
    EXPECT_TRUE(c.r.diferencias.contains(13));
    EXPECT_TRUE(c.r.diferencias.contains(258));   // still "no data"
    EXPECT_EQ(c.escrituras.size(), 41);
    EXPECT_EQ(MensajeResultado(c.r, 1), QStringLiteral("The KLV-100 was not programmed correctly. Prepare it again before using it."));

    // A logger that answers the first read but not the read-back.
    emu.logger().setFault(Fault::SilentAfter, 1);
    c = programa(emu, base(), kAhora);
    EXPECT_EQ(c.r.estado, ResultadoPrep::Estado::NoProgramado);

    // No answer at all: nothing is written.
    emu.logger().setFault(Fault::Silent);
    c = programa(emu, base(), kAhora);
    EXPECT_EQ(c.r.estado, ResultadoPrep::Estado::SinComunicacion);
    EXPECT_TRUE(c.escrituras.isEmpty());

    // A choice the logger cannot take is refused before the port is touched.
    emu.logger().setFault(Fault::None);
    Preparacion p = base();
    p.modo = ModoInicio::PulsadorDemora;
    p.demora = 65536;
    c = programa(emu, p, kAhora);
    EXPECT_EQ(c.r.estado, ResultadoPrep::Estado::Invalido);
    EXPECT_TRUE(c.escrituras.isEmpty() && c.lecturas.isEmpty());
}

TEST(ProgramaKLV, CommandLinePrepareVerifiesAndRefusesBadArguments)
{
    EmulatorFixture emu(ScenarioKind::Empty);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    const QStringList comunes{QStringLiteral("prepare"), QStringLiteral("--port"), emu.devicePath(),
                              QStringLiteral("--exporter"), QStringLiteral("FRIGORIFICO"), QStringLiteral("--carrier"),
                              QStringLiteral("MSC")};
    // The unit is given, so the settings record beside the program does not decide it.
    const auto corre = [&](const QStringList& extra) {
        return orvan::test::runCli(comunes + extra + (extra.contains(QStringLiteral("--unit")) ? QStringList() : QStringList{"--unit", "C"}));
    };

    // Refused, and nothing at all sent to the logger.
    emu.logger().clearFrameLog();
    const QList<QStringList> malos = {
        {"--days", "16", "--lo", "2", "--hi", "8", "--start", "button"},
        {"--interval", "61", "--lo", "2", "--hi", "8", "--start", "button"},
        {"--interval", "4", "--lo", "2", "--hi", "8"},   // no --start
        {"--days", "30", "--interval", "2", "--lo", "2", "--hi", "8", "--start", "button"},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start", "button", "--unit", "F"},   // 2 °F is not listed
        {"--days", "30", "--lo", "8", "--hi", "2", "--start", "button"},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start", "delay=65536"},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start", "delay=ten"},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start",
         "time=" + QDateTime::currentDateTime().addDays(46).toString(QStringLiteral("yyyy-MM-ddTHH:mm"))},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start", "button", "--exporter", "A/B"},
        {"--days", "30", "--lo", "2", "--hi", "8", "--start", "button", "--exporter", "A\\B"},
    };
    for (const QStringList& extra : malos) {
        SCOPED_TRACE(extra.join(' ').toStdString());
        const auto r = corre(extra);
        EXPECT_EQ(r.code, 2) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count('\n'), 1);
    }
    EXPECT_TRUE(emu.logger().frameLog().isEmpty());

    // In Fahrenheit 34 and 46 are listed limits (raw 82 and 96).
    auto r = corre({"--days", "30", "--lo", "34", "--hi", "46", "--unit", "F", "--start", "delay=90", "--circular"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("\"verified\": true"));
    EXPECT_EQ(emu.logger().peek(11), 82);
    EXPECT_EQ(emu.logger().peek(12), 96);
    EXPECT_EQ(emu.logger().peek(13), 2);
    EXPECT_EQ(emu.logger().peek(18), 90);
    EXPECT_EQ(emu.logger().peek(256), 24);

    emu.logger().setFault(Fault::DropsWrites);
    r = corre({"--interval", "15", "--lo", "2", "--hi", "8", "--start", "button"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("not programmed correctly")) << r.err.toStdString();
}
