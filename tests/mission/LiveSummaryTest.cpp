// What the status panel shows for a snapshot, in both windows' rules.

#include "mission/LiveSummary.h"

#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::link;
using namespace orvan::mission;

namespace {

const QString kNoDate = QStringLiteral("--/--/--  --:--");

class LiveSummaryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        textos.CargaTextos(TextTable::Spanish);
        e.Comunicado = true;
        e.HoraPrep = QDateTime(QDate(2024, 3, 1), QTime(10, 0), Qt::UTC);
        e.Intervalo = 15;
        e.LimInf = 2;
        e.LimSup = 8;
        e.Exportador = QStringLiteral("FRUTAS SUR  ");
        e.SerieKLV = QStringLiteral("12345");
    }
    LiveSummary save(CommandAvailability before = {})
    {
        return PoneResumen(e, QStringLiteral(" °C"), textos, now, SummaryCopy::frmsave, before);
    }
    LiveSummary prep() { return PoneResumen(e, QStringLiteral(" °C"), textos, now, SummaryCopy::frmPrep); }

    EstadoKLV e;
    TextTable textos;
    QDateTime now = QDateTime(QDate(2024, 3, 5), QTime(9, 41), Qt::LocalTime);
};

// store, erase, stop, prepare
std::vector<std::optional<bool>> buttons(const LiveSummary& r)
{
    return {r.storeButton, r.eraseButton, r.stopButton, r.prepareButton};
}
std::vector<std::optional<bool>> enabled(bool store, bool clear, bool stop, bool prepara)
{
    return {store, clear, stop, prepara};
}

} // namespace

TEST_F(LiveSummaryTest, EmptyLoggerOffersEraseAndPrepareOnly)
{
    e.SinDatos = true;
    e.NumMuestras = 5;
    const LiveSummary r = save({true, true, false});
    EXPECT_EQ(r.panel.recording, (PanelPicture{4, QStringLiteral("KLV-100 Sin Datos")}));
    EXPECT_EQ(r.panel.link, (PanelPicture{9, QStringLiteral("Comunicado con KLV-100")}));
    EXPECT_FALSE(r.panel.samples);   // left as they were
    EXPECT_FALSE(r.panel.interval);
    EXPECT_EQ(r.panel.start, kNoDate);
    EXPECT_EQ(r.panel.end, kNoDate);
    EXPECT_EQ(buttons(r), enabled(false, true, false, true));
    EXPECT_EQ(r.panel.clock, QStringLiteral("05/03/2024 - 09:41"));
    // The preparation window leaves the start and end labels alone.
    EXPECT_FALSE(prep().panel.start);
    EXPECT_FALSE(prep().panel.end);
}

TEST_F(LiveSummaryTest, RecordingShowsTemperatureFromOneDegreeAndWaitsForASetTime)
{
    e.Registrando = true;
    e.NumMuestras = 12;
    for (const auto& [temp, shown] : {std::pair{-5, "--"}, {0, "--"}, {1, "1 °C"}, {23, "23 °C"}}) {
        e.TempActual = temp;
        EXPECT_EQ(save().panel.temperature, QString::fromUtf8(shown)) << temp;
        EXPECT_EQ(prep().panel.temperature, QString::fromUtf8(shown)) << temp;
    }
    // Armed for a set time that has not come: no start, no temperature, only stop and erase.
    e.NumMuestras = 0;
    e.DemoraInicio = 90;
    for (const LiveSummary& r : {save(), prep()}) {
        EXPECT_EQ(r.panel.start, kNoDate);
        EXPECT_EQ(r.panel.startMode, (PanelPicture{6, QStringLiteral("Esperando la hora de comienzo del registro")}));
        EXPECT_EQ(r.panel.recording, (PanelPicture{7, QStringLiteral("KLV-100 Registrando")}));
        EXPECT_EQ(r.panel.temperature, QStringLiteral("--"));
    }
    EXPECT_EQ(buttons(save()), enabled(false, true, true, false));
}

TEST_F(LiveSummaryTest, FinishedMissionShowsStartEndAndSavedState)
{
    e.NumMuestras = 100;
    e.DemoraInicio = 30;
    e.AlarmaHi = true;
    for (const LiveSummary& r : {save(), prep()}) {
        EXPECT_EQ(r.panel.start, QStringLiteral("01/03/2024 - 10:30"));
        EXPECT_EQ(r.panel.end, QStringLiteral("02/03/2024 - 11:30"));
        EXPECT_EQ(r.panel.recording, (PanelPicture{11, QStringLiteral("Registro Finalizado")}));
        EXPECT_EQ(r.panel.startMode, (PanelPicture{17, QStringLiteral("Datos no almacenados en disco")}));
        EXPECT_EQ(std::make_pair(r.panel.highAlarm->index, r.panel.lowAlarm->index), std::make_pair(2, 1));
        // Changing the picture must not wipe the limit tool tips the panel carries.
        EXPECT_EQ(r.panel.highAlarm->toolTip, QStringLiteral("Limite superior de temperatura"));
        EXPECT_EQ(r.panel.lowAlarm->toolTip, QStringLiteral("Limite inferior de temperatura"));
        EXPECT_EQ(r.panel.highLimit, QStringLiteral(" > 8 °C"));
        EXPECT_EQ(r.panel.lowLimit, QStringLiteral(" < 2 °C"));
    }
    EXPECT_EQ(buttons(save()), enabled(true, true, false, false));
    // After a save, store stays available.
    e.Guardado = true;
    EXPECT_EQ(save().panel.startMode, (PanelPicture{16, QStringLiteral("Datos almacenados en disco")}));
    EXPECT_EQ(buttons(save()), enabled(true, true, false, false));

    // Ended with no sample: the preparation stamp, and prepare allowed again.
    e.NumMuestras = 0;
    e.DemoraInicio = 0;
    EXPECT_EQ(save().panel.start, QStringLiteral("01/03/2024 - 10:00"));
    EXPECT_EQ(buttons(save()), enabled(false, true, false, true));

    // No limit (raw 0) shows as dashes on the device-data window only.
    e.LimSup = -40;
    EXPECT_EQ(save().panel.highLimit, QStringLiteral("    --  °C"));
    EXPECT_EQ(prep().panel.highLimit, QStringLiteral(" > -40 °C"));
}

TEST_F(LiveSummaryTest, NoCommunicationDisablesEveryCommand)
{
    e.Comunicado = false;
    const LiveSummary r = save({false, true, false});
    EXPECT_EQ(r.panel.link, (PanelPicture{10, QStringLiteral("No hay comunicacion con KLV-100")}));
    EXPECT_EQ(r.panel.missionShown, false);
    // The last poll's permission to store must not re-enable store with no logger answering.
    EXPECT_EQ(buttons(r), enabled(false, false, false, false));
    EXPECT_TRUE(r.availability.canStore);
    EXPECT_FALSE(r.panel.exporter);
    EXPECT_TRUE(prep().disableAccept);
    EXPECT_EQ(prep().panel.highLimit, QStringLiteral("    --  °C"));

    textos.CargaTextos(TextTable::English);   // tool tips follow the language
    EXPECT_EQ(save().panel.link->toolTip, QStringLiteral("No connection with KLV-100"));
}

TEST(LiveSummary, FirmwareVersionNeedsThreeNonZeroNumbers)
{
    EXPECT_EQ(firmwareMessage(2, 1, 3), QStringLiteral("Version de Firmware 2.1.3"));
    EXPECT_EQ(firmwareMessage(2, 1, 0), QStringLiteral("Establezca conexión con el equipo primero"));
}
