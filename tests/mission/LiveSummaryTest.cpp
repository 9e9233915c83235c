// What the status panel shows and the device-data window offers for a status snapshot, in both
// logger windows' rules.

#include "mission/LiveSummary.h"

#include <gtest/gtest.h>

#include <functional>

using namespace orvan;
using namespace orvan::link;
using namespace orvan::mission;

namespace {

using Buttons = std::vector<std::optional<bool>>;   // store, erase, stop, prepare

// A finished mission of 100 samples, 15 minutes apart, started 30 minutes after its preparation.
EstadoKLV finished()
{
    EstadoKLV e;
    e.Comunicado = true;
    e.HoraPrep = QDateTime(QDate(2024, 3, 1), QTime(10, 0), Qt::UTC);
    e.Intervalo = 15;
    e.LimInf = 2;
    e.LimSup = 8;
    e.NumMuestras = 100;
    e.DemoraInicio = 30;
    e.Exportador = QStringLiteral("FRUTAS SUR  ");
    return e;
}

LiveSummary summary(const EstadoKLV& e, SummaryCopy copy, CommandAvailability before = {}, int idioma = TextTable::Spanish)
{
    TextTable textos;
    textos.CargaTextos(idioma);
    const QDateTime now(QDate(2024, 3, 5), QTime(9, 41), Qt::LocalTime);
    return PoneResumen(e, QStringLiteral(" °C"), textos, now, copy, before);
}

Buttons buttons(const LiveSummary& r)
{
    return {r.storeButton, r.eraseButton, r.stopButton, r.prepareButton};
}

} // namespace

// The recording and start-mode pictures and the start label in both windows, and the device-data
// window's commands.
TEST(LiveSummary, EachStateShowsItsPicturesStartAndCommands)
{
    const QString none = noDateText();
    struct Case {
        const char* what;
        std::function<void(EstadoKLV&)> change;
        int recording, startMode;
        QString start;
        Buttons offered;
    };
    const Case cases[] = {
        {"finished", [](EstadoKLV&) {}, 11, 17, "01/03/2024 - 10:30", {true, true, false, false}},
        {"finished and saved: store stays", [](EstadoKLV& e) { e.Guardado = true; }, 11, 16, "01/03/2024 - 10:30",
         {true, true, false, false}},
        {"armed for a set time that has not come", [](EstadoKLV& e) { e.Registrando = true, e.NumMuestras = 0, e.DemoraInicio = 90; },
         7, 6, none, {false, true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EstadoKLV e = finished();
        c.change(e);
        for (const SummaryCopy copy : {SummaryCopy::frmsave, SummaryCopy::frmPrep}) {
            const LiveSummary r = summary(e, copy);
            EXPECT_EQ(r.panel.recording->index, c.recording);
            EXPECT_EQ(r.panel.startMode->index, c.startMode);
            EXPECT_EQ(r.panel.start, c.start);
        }
        EXPECT_EQ(buttons(summary(e, SummaryCopy::frmsave)), c.offered);
    }
    EXPECT_EQ(summary(finished(), SummaryCopy::frmsave).panel.end, QStringLiteral("02/03/2024 - 11:30"));

    // Ended without a sample: the preparation stamp, and prepare again.
    EstadoKLV e = finished();
    e.NumMuestras = e.DemoraInicio = 0;
    EXPECT_EQ(summary(e, SummaryCopy::frmsave).panel.start, QStringLiteral("01/03/2024 - 10:00"));
    EXPECT_EQ(buttons(summary(e, SummaryCopy::frmsave)), Buttons({false, true, false, true}));

    // An empty logger: erase and prepare only; the preparation window leaves the times alone.
    e = finished();
    e.SinDatos = true;
    e.NumMuestras = 5;
    const LiveSummary r = summary(e, SummaryCopy::frmsave, {true, true, false});
    EXPECT_EQ(r.panel.recording->index, 4);
    EXPECT_FALSE(r.panel.samples);   // left as they were
    EXPECT_EQ(std::make_pair(*r.panel.start, *r.panel.end), std::make_pair(none, none));
    EXPECT_EQ(buttons(r), Buttons({false, true, false, true}));
    EXPECT_EQ(r.panel.clock, QStringLiteral("05/03/2024 - 09:41"));
    EXPECT_FALSE(summary(e, SummaryCopy::frmPrep).panel.start);
}

TEST(LiveSummary, TemperatureAlarmsAndLimits)
{
    EstadoKLV e = finished();
    e.Registrando = true;
    for (const auto& [temp, shown] : {std::pair{-5, "--"}, {0, "--"}, {1, "1 °C"}, {23, "23 °C"}}) {
        e.TempActual = temp;
        EXPECT_EQ(summary(e, SummaryCopy::frmsave).panel.temperature, QString::fromUtf8(shown)) << temp;
        EXPECT_EQ(summary(e, SummaryCopy::frmPrep).panel.temperature, QString::fromUtf8(shown)) << temp;
    }
    e = finished();
    e.AlarmaHi = true;
    for (const LiveSummary& r : {summary(e, SummaryCopy::frmsave), summary(e, SummaryCopy::frmPrep)}) {
        EXPECT_EQ(std::make_pair(r.panel.highAlarm->index, r.panel.lowAlarm->index), std::make_pair(2, 1));
        // Changing the picture must not wipe the limit tool tips the panel carries.
        EXPECT_EQ(r.panel.highAlarm->toolTip, QStringLiteral("Limite superior de temperatura"));
        EXPECT_EQ(std::make_pair(*r.panel.lowLimit, *r.panel.highLimit), std::make_pair(QStringLiteral(" < 2 °C"), QStringLiteral(" > 8 °C")));
    }
    // No limit (raw 0) shows as dashes on the device-data window only.
    e.LimSup = -40;
    EXPECT_EQ(summary(e, SummaryCopy::frmsave).panel.highLimit, QStringLiteral("    --  °C"));
    EXPECT_EQ(summary(e, SummaryCopy::frmPrep).panel.highLimit, QStringLiteral(" > -40 °C"));
}

TEST(LiveSummary, NoCommunicationDisablesEveryCommand)
{
    EstadoKLV e = finished();
    e.Comunicado = false;
    const LiveSummary r = summary(e, SummaryCopy::frmsave, {false, true, false});
    EXPECT_EQ(r.panel.link->index, 10);
    EXPECT_EQ(r.panel.missionShown, false);
    // The last poll's permission to store must not re-enable store with no logger answering.
    EXPECT_EQ(buttons(r), Buttons({false, false, false, false}));
    EXPECT_TRUE(r.availability.canStore);
    EXPECT_FALSE(r.panel.exporter);
    EXPECT_TRUE(summary(e, SummaryCopy::frmPrep).disableAccept);
    EXPECT_EQ(summary(e, SummaryCopy::frmPrep).panel.highLimit, QStringLiteral("    --  °C"));
    // Tool tips follow the language.
    EXPECT_EQ(summary(e, SummaryCopy::frmsave, {}, TextTable::English).panel.link->toolTip, QStringLiteral("No connection with KLV-100"));
    // The firmware is shown only when its three numbers came.
    EXPECT_EQ(firmwareMessage(2, 1, 3), QStringLiteral("Version de Firmware 2.1.3"));
    EXPECT_FALSE(firmwareMessage(2, 1, 0).contains(QStringLiteral("Firmware")));
}
