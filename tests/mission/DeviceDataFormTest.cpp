// The device-data window against the emulated logger, through a pseudo-terminal, QSerialPort and
// the kernel's tty layer: what the status panel shows for each state of the logger, a logger that
// stops answering and comes back, bad replies, and a window that stays usable meanwhile.

#include "mission/ui/DeviceDataForm.h"
#include "records/MissionRecord.h"
#include "base/AppContext.h"
#include "shell/ui/MainWindow.h"
#include "base/ui/StatusPanel.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace orvan;
using emulator::EmulatorFixture;
using emulator::ScenarioKind;
using emulator::ScenarioOptions;

namespace {

bool waitFor(const std::function<bool()>& done, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// A main window on the emulator's application folder, with its device-data window open.
struct Connected {
    explicit Connected(EmulatorFixture& emu) : app(emu.appFolder())
    {
        app.config.applyDefaults(emu.appFolder());
        app.textos.CargaTextos(0);
        window = std::make_unique<shell::MainWindow>(app, record, messages);
        window->resize(1000, 760);
        window->show();
        app.flags.CerrarSave = false;
        window->panel()->showLive();
        form = new mission::DeviceDataForm(*window);
        window->showChild(form);
    }
    ~Connected()
    {
        window.reset();
    }

    // Waits for the search, then for a status that satisfies the condition.
    bool waitStatus(const std::function<bool()>& condition, int ms = 10000)
    {
        return waitFor([&] { return form && form->searchDone() && condition(); }, ms);
    }
    ui::StatusPanel& p() { return *window->panel(); }
    int picture(QLabel* l) { return ui::StatusPanel::pictureIndex(l); }

    AppContext app;
    records::MissionRecord record;
    RecordingSink messages;
    std::unique_ptr<shell::MainWindow> window;
    QPointer<mission::DeviceDataForm> form;
};

} // namespace

TEST(DeviceDataForm, FinishedMissionShowsItsTimesAndOffersStore)
{
    ScenarioOptions o;
    o.samples = 100;
    o.interval = 15;
    o.prepared = QDateTime(QDate(2024, 3, 1), QTime(10, 0), Qt::UTC);
    o.delay = 30;
    EmulatorFixture emu(ScenarioKind::Finished, o);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    Connected c(emu);

    ASSERT_TRUE(c.waitStatus([&] { return c.picture(c.p().imgKLV) == 9; })) << "no status from the emulator";
    EXPECT_EQ(c.app.config.PuertoCom, emu.com());
    EXPECT_EQ(c.p().imgKLV->toolTip(), "Comunicado con KLV-100");
    EXPECT_EQ(c.p().lbHoraInicioX->text(), "01/03/2024 - 10:30");
    EXPECT_EQ(c.p().lbHoraFinX->text(), "02/03/2024 - 11:30");
    EXPECT_EQ(c.p().lbNumMuestrasX->text(), "100");
    EXPECT_EQ(c.p().lbRangoX->text(), "15 min");
    EXPECT_EQ(c.picture(c.p().imgRec), 11);
    EXPECT_EQ(c.p().imgRec->toolTip(), "Registro Finalizado");
    EXPECT_EQ(c.picture(c.p().imgStartmode), 17);
    EXPECT_EQ(c.p().imgStartmode->toolTip(), "Datos no almacenados en disco");
    EXPECT_EQ(c.p().lbNumserX->text().trimmed(), "12345");
    EXPECT_EQ(c.p().lbexportX->text(), "FRUTAS SUR  ");
    EXPECT_EQ(c.p().lbAlarHiX->text(), " > 8 °C");
    EXPECT_EQ(c.p().lbAlarLowX->text(), " < 2 °C");
    EXPECT_TRUE(c.form->cmdAlmacena->isEnabled());
    EXPECT_TRUE(c.form->cmdClear->isEnabled());
    EXPECT_FALSE(c.form->cmdStop->isEnabled());
    EXPECT_FALSE(c.form->cmdPrepara->isEnabled());
    EXPECT_EQ(c.app.VerFw[0], 1);
    EXPECT_EQ(c.app.VerFw[1], 7);
    EXPECT_EQ(c.app.VerFw[2], 2);
    EXPECT_TRUE(c.messages.messages.isEmpty()) << c.messages.messages.join('\n').toStdString();

    // The poll reads the status blocks in the window's order: 0, 8, 15, 2, then 8 again.
    QList<QByteArray> reads;
    for (const auto& entry : emu.logger().frameLog())
        if (entry.frame.size() == 3 && quint8(entry.frame[0]) == 0x33)
            reads.append(entry.frame.mid(1));
    ASSERT_GE(reads.size(), 5);
    const QList<QByteArray> order = {QByteArray("\x00\x00", 2), QByteArray("\x01\x00", 2), QByteArray("\x01\xE0", 2),
                                     QByteArray("\x00\x40", 2), QByteArray("\x01\x00", 2)};
    EXPECT_EQ(reads.mid(reads.size() - 5), order);
}

TEST(DeviceDataForm, EachLoggerStateShowsItsPicturesAndCommands)
{
    {
        EmulatorFixture emu(ScenarioKind::Empty);
        ASSERT_TRUE(emu.ok());
        Connected c(emu);
        ASSERT_TRUE(c.waitStatus([&] { return c.picture(c.p().imgRec) == 4; }));
        EXPECT_EQ(c.p().imgRec->toolTip(), "KLV-100 Sin Datos");
        EXPECT_EQ(c.p().lbHoraInicioX->text(), "--/--/--  --:--");
        EXPECT_EQ(c.p().lbHoraFinX->text(), "--/--/--  --:--");
        EXPECT_TRUE(c.form->cmdPrepara->isEnabled());
        EXPECT_TRUE(c.form->cmdClear->isEnabled());
        EXPECT_FALSE(c.form->cmdAlmacena->isEnabled());
        EXPECT_FALSE(c.form->cmdStop->isEnabled());
    }
    {
        ScenarioOptions o;
        o.delay = 120;
        EmulatorFixture emu(ScenarioKind::SetTime, o);
        ASSERT_TRUE(emu.ok());
        Connected c(emu);
        ASSERT_TRUE(c.waitStatus([&] { return c.picture(c.p().imgRec) == 7; }));
        EXPECT_EQ(c.p().lbHoraInicioX->text(), "--/--/--  --:--");
        EXPECT_EQ(c.picture(c.p().imgStartmode), 6);
        EXPECT_EQ(c.p().imgStartmode->toolTip(), "Esperando la hora de comienzo del registro");
        EXPECT_EQ(c.p().lbTempActualX->text(), "--");
        EXPECT_TRUE(c.form->cmdStop->isEnabled());
        EXPECT_TRUE(c.form->cmdClear->isEnabled());
        EXPECT_FALSE(c.form->cmdAlmacena->isEnabled());
        EXPECT_FALSE(c.form->cmdPrepara->isEnabled());
    }
    {
        // Recording in a freezer: temperatures of 0 degrees or below are not shown.
        ScenarioOptions o;
        o.delay = 0;
        o.samples = 20;
        o.low = NAN;
        o.profile = [](double) { return -18.0; };
        EmulatorFixture emu(ScenarioKind::Recording, o);
        ASSERT_TRUE(emu.ok());
        Connected c(emu);
        ASSERT_TRUE(c.waitStatus([&] { return c.picture(c.p().imgRec) == 7; }));
        EXPECT_EQ(c.p().imgRec->toolTip(), "KLV-100 Registrando");
        EXPECT_EQ(c.p().lbTempActualX->text(), "--");
        EXPECT_EQ(c.p().lbHoraFinX->text(), "--/--/--  --:--");
        EXPECT_EQ(c.p().lbAlarLowX->text(), "    --  °C");
    }
}

TEST(DeviceDataForm, SilentLoggerShowsNoCommunicationAndComesBack)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok());
    Connected c(emu);
    ASSERT_TRUE(c.waitStatus([&] { return c.picture(c.p().imgKLV) == 9; }));

    emu.logger().setFault(emulator::Fault::Silent);
    // While the link waits for replies the window keeps handling events.
    bool handledWhileBusy = false;
    ASSERT_TRUE(waitFor([&] {
        if (c.form->session().busy())
            QTimer::singleShot(0, [&] { handledWhileBusy = handledWhileBusy || c.form->session().busy(); });
        return c.picture(c.p().imgKLV) == 10;
    }));
    EXPECT_TRUE(handledWhileBusy);
    EXPECT_EQ(c.p().imgKLV->toolTip(), "No hay comunicacion con KLV-100");
    EXPECT_FALSE(c.p().Frame3X->isVisible());
    EXPECT_FALSE(c.p().FrameSerial->isVisible());
    for (QPushButton* b : {c.form->cmdAlmacena, c.form->cmdClear, c.form->cmdStop, c.form->cmdPrepara})
        EXPECT_FALSE(b->isEnabled());
    EXPECT_TRUE(c.messages.messages.isEmpty()) << "a lost reply is not an error to report";

    emu.logger().setFault(emulator::Fault::None);
    ASSERT_TRUE(c.waitStatus([&] { return c.picture(c.p().imgKLV) == 9; }));
    EXPECT_TRUE(c.p().Frame3X->isVisible());
    EXPECT_TRUE(c.form->cmdAlmacena->isEnabled());
}

TEST(DeviceDataForm, ShortAndLongRepliesAreBothLost)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok());
    Connected c(emu);
    ASSERT_TRUE(c.waitStatus([&] { return c.picture(c.p().imgKLV) == 9; }));
    EXPECT_EQ(c.p().lbNumMuestrasX->text(), "100");

    // A reply that runs on could be the head of a shifted one: it is not taken either.
    for (const auto fault : {emulator::Fault::LongReply, emulator::Fault::ShortReply}) {
        emu.logger().setFault(fault);
        ASSERT_TRUE(c.waitStatus([&] { return c.picture(c.p().imgKLV) == 10; }, 20000));
        emu.logger().setFault(emulator::Fault::None);
        ASSERT_TRUE(c.waitStatus([&] { return c.picture(c.p().imgKLV) == 9; }));
    }
    EXPECT_TRUE(c.messages.messages.isEmpty());
}

TEST(DeviceDataForm, CancelWhileTheLoggerIsSilentClosesTheLink)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok());
    Connected c(emu);
    ASSERT_TRUE(c.waitStatus([&] { return c.picture(c.p().imgKLV) == 9; }));
    EXPECT_FALSE(c.window->toolbar1Button(2)->isEnabled()) << "connect stays off while the window holds the link";

    emu.logger().setFault(emulator::Fault::Silent);
    ASSERT_TRUE(waitFor([&] { return c.form->session().busy(); }));
    c.form->CmndCancel->click();
    EXPECT_TRUE(c.app.flags.CerrarSave);
    ASSERT_TRUE(waitFor([&] { return c.form.isNull(); }, 5000)) << "the window did not close";
    EXPECT_FALSE(c.p().FrameComm->isVisible());
    EXPECT_TRUE(c.p().frameInstit->isVisible());
    EXPECT_TRUE(c.window->toolbar1Button(2)->isEnabled());
}

TEST(DeviceDataForm, NoLoggerAnywhereKeepsThePortAndShowsNoCommunication)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok());
    emu.logger().setFault(emulator::Fault::Silent);
    Connected c(emu);
    c.app.config.PuertoCom = 3;
    ASSERT_TRUE(c.waitStatus([&] { return c.picture(c.p().imgKLV) == 10; }, 20000));
    EXPECT_EQ(c.app.config.PuertoCom, 3);
    EXPECT_EQ(c.app.VerFw[0], 0);
}
