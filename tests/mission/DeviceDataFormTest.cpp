// The device-data window against the emulated logger, through a pseudo-terminal, QSerialPort and
// the kernel's tty layer: what the status panel shows for each state of the logger, a logger that
// stops answering and comes back, bad replies, and a window that stays usable meanwhile.

#include "mission/ui/DeviceDataForm.h"
#include "mission/DeviceCommands.h"
#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "records/ui/SaveRecordDialog.h"
#include "base/ui/ConfirmDialog.h"
#include "base/ui/Pictures.h"
#include "base/AppContext.h"
#include "shell/ui/MainWindow.h"
#include "base/ui/StatusPanel.h"
#include "support/NoPauses.h"
#include "support/WaitFor.h"
#include "support/WhenModal.h"
#include "support/WindowDesk.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>

using namespace orvan;
using emulator::EmulatorFixture;
using emulator::ScenarioKind;
using emulator::ScenarioOptions;
using orvan::test::waitFor;
using orvan::test::whenModal;

using Item = orvan::ui::StatusPanel::Item;
using Face = orvan::ui::StatusPanel::Face;

namespace {

QList<QByteArray> framesOf(emulator::Logger& logger)
{
    QList<QByteArray> out;
    for (const auto& entry : logger.frameLog())
        out.append(entry.frame);
    return out;
}

// A main window on the emulator's application folder, with its device-data window open.
struct Connected : orvan::test::WindowDesk<> {
    explicit Connected(EmulatorFixture& emu) : WindowDesk(emu.appFolder(), {1000, 760})
    {
        app.flags.CerrarSave = false;
        window->panel()->showLive();
        form = new mission::DeviceDataForm(*window, record, {}, [] { return std::make_unique<orvan::test::NoPauses>(); });
        window->showChild(form);
    }

    // Waits for the search, then for a status that satisfies the condition.
    bool waitStatus(const std::function<bool()>& condition, int ms = 10000)
    {
        return waitFor([&] { return form && form->searchDone() && condition(); }, ms);
    }
    ui::StatusPanel& p() { return *window->panel(); }

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

    ASSERT_TRUE(c.waitStatus([&] { return c.p().picture(Item::Link) == 9; })) << "no status from the emulator";
    EXPECT_EQ(c.app.config.PuertoCom, emu.com());
    EXPECT_EQ(c.p().toolTip(Item::Link), "Comunicado con KLV-100");
    EXPECT_EQ(c.p().text(Item::LiveStart), "01/03/2024 - 10:30");
    EXPECT_EQ(c.p().text(Item::LiveEnd), "02/03/2024 - 11:30");
    EXPECT_EQ(c.p().text(Item::LiveSamples), "100");
    EXPECT_EQ(c.p().text(Item::LiveInterval), "15 min");
    // The pictures and limits of each state: LiveSummaryTest; the commands: EachLoggerState below.
    EXPECT_EQ(c.p().picture(Item::Recording), 11);
    EXPECT_EQ(c.p().text(Item::LiveSerial).trimmed(), "12345");
    EXPECT_EQ(c.p().text(Item::LiveExporter), "FRUTAS SUR  ");
    EXPECT_EQ(c.p().text(Item::LiveHighLimit), " > 8 °C");
    EXPECT_EQ(std::make_tuple(c.app.VerFw[0], c.app.VerFw[1], c.app.VerFw[2]), std::make_tuple(1, 7, 2));
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

// A logger that falls silent or answers 40 or 33 bytes (a reply that runs on could be the head of
// a shifted one): no communication shown, nothing offered, nothing reported; the window keeps
// handling events while the link waits, and shows the logger again once it answers.
TEST(DeviceDataForm, SilentOrBadRepliesShowNoCommunicationAndComeBack)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok());
    Connected c(emu);
    ASSERT_TRUE(c.waitStatus([&] { return c.p().picture(Item::Link) == 9; }));
    EXPECT_EQ(c.p().text(Item::LiveSamples), "100");
    bool handledWhileBusy = false;
    for (const auto fault : {emulator::Fault::Silent, emulator::Fault::LongReply, emulator::Fault::ShortReply}) {
        SCOPED_TRACE(int(fault));
        emu.logger().setFault(fault);
        ASSERT_TRUE(waitFor([&] {
            if (c.form->session().busy())
                QTimer::singleShot(0, [&] { handledWhileBusy = handledWhileBusy || c.form->session().busy(); });
            return c.p().picture(Item::Link) == 10;
        }, 20000));
        EXPECT_EQ(c.p().toolTip(Item::Link), "No hay comunicacion con KLV-100");
        EXPECT_FALSE(c.p().missionShown());
        EXPECT_FALSE(c.p().serialShown());
        for (QPushButton* b : {c.form->cmdAlmacena, c.form->cmdClear, c.form->cmdStop, c.form->cmdPrepara})
            EXPECT_FALSE(b->isEnabled());
        emu.logger().setFault(emulator::Fault::None);
        ASSERT_TRUE(c.waitStatus([&] { return c.p().picture(Item::Link) == 9; }));
        EXPECT_TRUE(c.p().missionShown());
        EXPECT_TRUE(c.form->cmdAlmacena->isEnabled());
    }
    EXPECT_TRUE(handledWhileBusy);
    EXPECT_TRUE(c.messages.messages.isEmpty()) << "a lost reply is not an error to report";
}

TEST(DeviceDataForm, CancelWhileTheLoggerIsSilentClosesTheLink)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok());
    Connected c(emu);
    ASSERT_TRUE(c.waitStatus([&] { return c.p().picture(Item::Link) == 9; }));
    EXPECT_FALSE(c.window->toolbar1Button(2)->isEnabled()) << "connect stays off while the window holds the link";

    emu.logger().setFault(emulator::Fault::Silent);
    ASSERT_TRUE(waitFor([&] { return c.form->session().busy(); }));
    c.form->CmndCancel->click();
    EXPECT_TRUE(c.app.flags.CerrarSave);
    ASSERT_TRUE(waitFor([&] { return c.form.isNull(); }, 5000)) << "the window did not close";
    EXPECT_FALSE((c.p().face() == Face::Live));
    EXPECT_TRUE((c.p().face() == Face::Rest));
    EXPECT_TRUE(c.window->toolbar1Button(2)->isEnabled());
}

TEST(DeviceDataForm, NoLoggerAnywhereKeepsThePortAndShowsNoCommunication)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok());
    emu.logger().setFault(emulator::Fault::Silent);
    Connected c(emu);
    c.app.config.PuertoCom = 3;
    ASSERT_TRUE(c.waitStatus([&] { return c.p().picture(Item::Link) == 10; }, 20000));
    EXPECT_EQ(c.app.config.PuertoCom, 3);
    EXPECT_EQ(c.app.VerFw[0], 0);
}

// Each state of the logger: the commands offered, and the panel's pictures and texts.
TEST(DeviceDataForm, EachLoggerStateShowsItsPicturesAndCommands)
{
    using Panel = ui::StatusPanel;
    struct Case {
        const char* what;
        ScenarioKind kind;
        int samples;
        bool saved;
        bool stop, store, prepare;
        std::function<void(Panel&)> panel;
        double temperature = 22;
    };
    const QString noDate = QStringLiteral("--/--/--  --:--");
    const Case cases[] = {
        {"no data", ScenarioKind::Empty, 0, false, false, false, true,
         [&](Panel& p) {
             EXPECT_EQ(p.picture(Item::Recording), 4);
             EXPECT_EQ(p.toolTip(Item::Recording), "KLV-100 Sin Datos");
             EXPECT_EQ(p.text(Item::LiveStart), noDate);
             EXPECT_EQ(p.text(Item::LiveEnd), noDate);
         }},
        {"armed for a set time", ScenarioKind::SetTime, 0, false, true, false, false,
         [&](Panel& p) {
             EXPECT_EQ(p.picture(Item::Recording), 7);
             EXPECT_EQ(p.text(Item::LiveStart), noDate);
             EXPECT_EQ(p.picture(Item::StartMode), 6);
             EXPECT_EQ(p.toolTip(Item::StartMode), "Esperando la hora de comienzo del registro");
             EXPECT_EQ(p.text(Item::Temperature), "--");
         }},
        // Recording in a freezer: temperatures of 0 degrees or below are not shown.
        {"recording", ScenarioKind::Recording, 20, false, true, false, false,
         [&](Panel& p) {
             EXPECT_EQ(p.picture(Item::Recording), 7);
             EXPECT_EQ(p.toolTip(Item::Recording), "KLV-100 Registrando");
             EXPECT_EQ(p.text(Item::Temperature), "--");
             EXPECT_EQ(p.text(Item::LiveEnd), noDate);
             EXPECT_EQ(p.text(Item::LiveLowLimit), "    --  °C");
         },
         -18},
        {"finished with samples", ScenarioKind::Finished, 100, false, false, true, false, {}},
        {"finished without samples", ScenarioKind::Finished, 0, false, false, false, true, {}},
        {"finished and saved", ScenarioKind::Finished, 100, true, false, true, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScenarioOptions o;
        o.samples = c.samples;
        // A start delay keeps a mission stopped at once from taking its first sample.
        o.delay = c.kind == ScenarioKind::SetTime ? 120 : c.kind == ScenarioKind::Recording ? 0 : 30;
        if (c.temperature < 0) {
            o.low = NAN;
            o.profile = [t = c.temperature](double) { return t; };
        }
        EmulatorFixture emu(c.kind, o);
        ASSERT_TRUE(emu.ok());
        if (c.saved)
            emu.logger().writeByte(258, emu.logger().peek(258) | 128);
        Connected conn(emu);
        ASSERT_TRUE(conn.waitStatus([&] { return conn.form->estado().Comunicado && conn.form->cmdClear->isEnabled(); }));
        EXPECT_EQ(conn.form->cmdStop->isEnabled(), c.stop);
        EXPECT_EQ(conn.form->cmdAlmacena->isEnabled(), c.store);
        EXPECT_EQ(conn.form->cmdPrepara->isEnabled(), c.prepare);
        EXPECT_EQ(conn.form->availability().canStop, c.stop);
        EXPECT_EQ(conn.form->availability().canStore, c.store);
        EXPECT_EQ(conn.form->availability().canPrepare, c.prepare);
        if (c.panel)
            c.panel(conn.p());
    }
}

TEST(DeviceDataForm, StoreDownloadsSavesTheFileAndMarksTheLogger)
{
    ScenarioOptions o;
    o.samples = 100;
    EmulatorFixture emu(ScenarioKind::Finished, o);
    ASSERT_TRUE(emu.ok());
    Connected c(emu);
    ASSERT_TRUE(c.waitStatus([&] { return c.form->cmdAlmacena->isEnabled(); }));
    const QByteArray memory = emu.logger().memory();
    const quint8 status = emu.logger().peek(258);

    QString folder;
    whenModal<records::SaveRecordDialog>([&](records::SaveRecordDialog* d) {
        EXPECT_EQ(d->Text1->text(), "FRUTAS SUR_1");
        folder = d->folderPath();
        d->Text1->setText(QStringLiteral("viaje"));
        d->CmndAbrir->click();
    });
    bool done = false;
    QObject::connect(c.form, &mission::DeviceDataForm::commandFinished, [&] { done = true; });
    c.form->cmdAlmacena->click();
    EXPECT_FALSE(c.form->CmndCancel->isVisible());
    ASSERT_TRUE(waitFor([&] { return done; }, 30000));

    // The file holds the planned blocks as the logger held them, and zeros elsewhere.
    const QString path = QDir(folder).filePath(QStringLiteral("viaje.klv"));
    EXPECT_EQ(c.record.Archivo, path);
    EXPECT_TRUE(c.record.GuardadoEnDisco);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    ASSERT_EQ(saved.size(), 32768);
    const mission::DownloadPlan plan = mission::downloadPlan(100);
    QList<bool> planned(1024, false);
    for (int block : plan.blocks)
        planned[std::min(block, 1023)] = true;
    for (int block = 0; block < 1024; ++block)
        ASSERT_EQ(saved.mid(block * 32, 32), planned[block] ? memory.mid(block * 32, 32) : QByteArray(32, '\0'))
            << "block " << block;
    EXPECT_EQ(c.record.campos.NumMuestras, 100);
    EXPECT_EQ(c.record.fileImage(), saved);

    // Frames: a status poll, the block plan, the names and mark to 64..88, then the saved bit.
    ASSERT_TRUE(waitFor([&] { return framesOf(emu.logger()).contains(QByteArray::fromHex("220102") + char(status | 128)); }));
    const QList<QByteArray> frames = framesOf(emu.logger());
    int firstWrite = 0;
    while (firstWrite < frames.size() && quint8(frames[firstWrite][0]) != 0x22)
        ++firstWrite;
    const int planSize = int(plan.blocks.size());
    ASSERT_GE(firstWrite, planSize + 5);
    for (int i = 0; i < planSize; ++i) {
        const int address = plan.blocks[i] * 32;
        ASSERT_EQ(frames[firstWrite - planSize + i], QByteArray(1, char(0x33)) + char(address >> 8) + char(address & 0xFF));
    }
    const QList<QByteArray> poll = frames.mid(firstWrite - planSize - 5, 5);
    EXPECT_EQ(poll, QList<QByteArray>({QByteArray::fromHex("330000"), QByteArray::fromHex("330100"),
                                       QByteArray::fromHex("3301e0"), QByteArray::fromHex("330040"),
                                       QByteArray::fromHex("330100")}));
    const QByteArray names = memory.mid(64, 24) + char(1);
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(frames[firstWrite + i], QByteArray(1, char(0x22)) + char(64 + i) + names.at(i));
    EXPECT_EQ(frames[firstWrite + 25], QByteArray::fromHex("220102") + char(status | 128));

    // The next poll shows the saved logger; storing stays available.
    ASSERT_TRUE(c.waitStatus([&] { return c.p().picture(Item::StartMode) == 16; }));
    EXPECT_EQ(c.p().toolTip(Item::StartMode), "Datos almacenados en disco");
    EXPECT_TRUE(c.form->cmdAlmacena->isEnabled());
    EXPECT_TRUE(c.form->CmndCancel->isVisible());
    EXPECT_FALSE(c.form->ProgressBar2->isVisible());
    EXPECT_EQ(c.form->ProgressBar2->maximum(), 750);
    EXPECT_EQ(emu.logger().memory().mid(89, 7), memory.mid(89, 7)) << "serial and firmware untouched";
    EXPECT_TRUE(c.messages.messages.isEmpty()) << c.messages.messages.join('\n').toStdString();
}

// The logger loses the mark's writes: the record stays saved, the user hears that the logger is
// not marked, and the logger still says its data are not saved.
TEST(DeviceDataForm, StoreWhoseMarkDoesNotArriveSaysSo)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok());
    Connected c(emu);
    ASSERT_TRUE(c.waitStatus([&] { return c.form->cmdAlmacena->isEnabled(); }));
    const QByteArray before = emu.logger().memory();

    whenModal<records::SaveRecordDialog>([&](records::SaveRecordDialog* d) {
        emu.logger().setFault(emulator::Fault::DropsWrites);
        d->CmndAbrir->click();
    });
    bool done = false;
    QObject::connect(c.form, &mission::DeviceDataForm::commandFinished, [&] { done = true; });
    c.form->cmdAlmacena->click();
    ASSERT_TRUE(waitFor([&] { return done; }, 30000));

    EXPECT_TRUE(c.record.GuardadoEnDisco);
    EXPECT_TRUE(QFileInfo(c.record.Archivo).isFile());
    EXPECT_EQ(c.messages.messages, QStringList{mission::markFailedMessage(c.record.Archivo, 0)});
    EXPECT_EQ(emu.logger().memory(), before);
}

TEST(DeviceDataForm, StopAndEraseAskFirstAndRefusalSendsNothing)
{
    ScenarioOptions o;
    o.samples = 20;
    o.delay = 0;
    EmulatorFixture emu(ScenarioKind::Recording, o);
    ASSERT_TRUE(emu.ok());
    emu.logger().writeByte(258, 0xA2);
    Connected c(emu);
    ASSERT_TRUE(c.waitStatus([&] { return c.form->cmdStop->isEnabled() && c.form->estado().EstadoByte == 0xA2; }));

    // Refused: no frame besides the polls.
    whenModal<ui::ConfirmDialog>([](ui::ConfirmDialog* d) {
        EXPECT_EQ(d->imgAccion->pixmap().toImage(), ui::Pictures::statePicture(19, 64).toImage());
        d->CmndCancel->click();
    });
    c.form->cmdClear->click();
    EXPECT_NE(c.form->PedidoBorrar, mission::DeviceDataForm::kRequested);
    int polls = 0;
    QObject::connect(c.form, &mission::DeviceDataForm::statusShown, [&] { ++polls; });
    ASSERT_TRUE(waitFor([&] { return polls >= 2; }));
    for (const QByteArray& f : framesOf(emu.logger())) {
        EXPECT_NE(quint8(f[0]), 0x22);
        EXPECT_NE(quint8(f[0]), 0xA5);
    }

    // Accepted stop: the status byte without the recording bit.
    whenModal<ui::ConfirmDialog>([](ui::ConfirmDialog* d) {
        EXPECT_EQ(d->imgAccion->pixmap().toImage(), ui::Pictures::statePicture(11, 64).toImage());
        d->CmndAbrir->click();
    });
    c.form->cmdStop->click();
    ASSERT_TRUE(waitFor([&] { return framesOf(emu.logger()).contains(QByteArray::fromHex("22010282")); }));
    ASSERT_TRUE(c.waitStatus([&] { return c.form->cmdAlmacena->isEnabled(); }));
    EXPECT_EQ(c.p().picture(Item::Recording), 11);
    EXPECT_FALSE(c.form->cmdStop->isEnabled());
}

// The window's frame is closed while its erase confirmation is open (the application closing):
// the window waits for the dialog to return, then goes; the late "yes" erases nothing.
TEST(DeviceDataForm, ClosedWhileItsConfirmationIsOpenGoesAfterIt)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok());
    Connected c(emu);
    ASSERT_TRUE(c.waitStatus([&] { return c.form->cmdClear->isEnabled(); }));

    bool aliveAfterClose = false;
    whenModal<ui::ConfirmDialog>([&](ui::ConfirmDialog* d) {
        qobject_cast<QMdiSubWindow*>(c.form->parentWidget())->close();
        waitFor([] { return false; }, 700);   // the window's poll ticks meanwhile
        aliveAfterClose = !c.form.isNull();
        d->CmndAbrir->click();
    });
    c.form->cmdClear->click();
    EXPECT_TRUE(aliveAfterClose);
    ASSERT_TRUE(waitFor([&] { return c.form.isNull(); }));
    for (const QByteArray& f : framesOf(emu.logger()))
        EXPECT_NE(quint8(f[0]), 0xA5);
}

TEST(DeviceDataForm, EraseWaitsAndReportsWhatTheLoggerSays)
{
    for (const bool loggerGoesAway : {false, true}) {
        SCOPED_TRACE(loggerGoesAway ? "logger gone after the trigger" : "erased");
        EmulatorFixture emu(ScenarioKind::Finished);
        ASSERT_TRUE(emu.ok());
        emulator::Logger* logger = &emu.logger();
        if (loggerGoesAway) {
            logger->setFrameObserver([logger](const emulator::FrameLogEntry& e) {
                if (e.frame == QByteArray::fromHex("a5"))
                    logger->setFault(emulator::Fault::Silent);
            });
        }
        Connected c(emu);
        ASSERT_TRUE(c.waitStatus([&] { return c.form->cmdClear->isEnabled(); }));

        whenModal<ui::ConfirmDialog>([](ui::ConfirmDialog* d) { d->CmndAbrir->click(); });
        bool done = false;
        int maximum = 0;
        QObject::connect(c.form, &mission::DeviceDataForm::commandFinished, [&] { done = true; });
        QObject::connect(c.form->ProgressBar2, &QProgressBar::valueChanged,
                         [&] { maximum = std::max(maximum, c.form->ProgressBar2->maximum()); });
        c.form->cmdClear->click();
        ASSERT_TRUE(waitFor([&] { return done; }, 30000));
        EXPECT_EQ(maximum, 3500);
        EXPECT_FALSE(c.form->ProgressBar2->isVisible());
        EXPECT_EQ(c.form->ProgressBar2->maximum(), 750);
        EXPECT_TRUE(c.form->CmndCancel->isVisible());

        const QList<QByteArray> frames = framesOf(emu.logger());
        const int trigger = int(frames.indexOf(QByteArray::fromHex("a5")));
        ASSERT_GT(trigger, 0);
        EXPECT_EQ(frames[trigger - 1], QByteArray::fromHex("22010040"));
        ASSERT_EQ(c.messages.messages.size(), 1);
        if (loggerGoesAway) {
            EXPECT_NE(c.messages.messages[0], "Memoria borrada satisfactoriamente");
            EXPECT_TRUE(c.messages.messages[0].startsWith("Error!"));
        } else {
            EXPECT_EQ(c.messages.messages[0], "Memoria borrada satisfactoriamente");
            ASSERT_TRUE(c.waitStatus([&] { return c.p().picture(Item::Recording) == 4; }));
            EXPECT_TRUE(c.form->cmdPrepara->isEnabled());
        }
    }
}

TEST(DeviceDataForm, CancelledSaveMarksNothingAndGivesTheWayOutBack)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok());
    Connected c(emu);
    ASSERT_TRUE(c.waitStatus([&] { return c.form->cmdAlmacena->isEnabled(); }));

    whenModal<records::SaveRecordDialog>([](records::SaveRecordDialog* d) { d->CmndCancel->click(); });
    bool done = false;
    QObject::connect(c.form, &mission::DeviceDataForm::commandFinished, [&] { done = true; });
    c.form->cmdAlmacena->click();
    ASSERT_TRUE(waitFor([&] { return done; }, 30000));

    // The download was complete, so the record is the logger's; the logger itself is not marked.
    EXPECT_EQ(c.record.campos.NumMuestras, 100);
    EXPECT_FALSE(c.record.GuardadoEnDisco);
    EXPECT_TRUE(c.form->CmndCancel->isVisible());
    EXPECT_FALSE(c.form->ProgressBar2->isVisible());
    int polls = 0;
    QObject::connect(c.form, &mission::DeviceDataForm::statusShown, [&] { ++polls; });
    ASSERT_TRUE(waitFor([&] { return polls >= 1; }));
    for (const QByteArray& f : framesOf(emu.logger()))
        EXPECT_NE(quint8(f[0]), 0x22);
    EXPECT_EQ(c.p().picture(Item::StartMode), 17);
}

TEST(DeviceDataForm, OneRequestPerTickCloseFirstThenEraseStoreStopPrepare)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    ASSERT_TRUE(emu.ok());
    Connected c(emu);
    ASSERT_TRUE(c.waitStatus([&] { return c.form->cmdAlmacena->isEnabled(); }));
    c.form->Timer2.stop();
    ASSERT_TRUE(waitFor([&] { return !c.form->session().busy(); }));
    c.form->GrabArch = [](records::MissionRecord&) {};
    bool done = false;
    QObject::connect(c.form, &mission::DeviceDataForm::commandFinished, [&] { done = true; });

    constexpr quint16 P = mission::DeviceDataForm::kRequested;
    c.form->PedidoPreparar = c.form->PedidoDetener = c.form->PedidoAlmacenar = c.form->PedidoBorrar = P;
    struct Step {
        quint16* served;
        QByteArray firstFrame;   // the first frame the command sends
    };
    const Step steps[] = {{&c.form->PedidoBorrar, QByteArray::fromHex("22010040")},
                          {&c.form->PedidoAlmacenar, QByteArray::fromHex("330000")},
                          {&c.form->PedidoDetener, QByteArray::fromHex("220102")}};
    for (const Step& s : steps) {
        done = false;
        emu.logger().clearFrameLog();
        c.form->tick();
        EXPECT_EQ(*s.served, 0);
        ASSERT_TRUE(waitFor([&] { return done; }, 30000));
        // A write's frame reaches the logger a moment after the command has sent it.
        ASSERT_TRUE(waitFor([&] { return !framesOf(emu.logger()).isEmpty(); }));
        EXPECT_TRUE(framesOf(emu.logger()).first().startsWith(s.firstFrame)) << framesOf(emu.logger()).first().toHex().toStdString();
    }
    EXPECT_EQ(c.form->PedidoPreparar, P) << "prepare waits for a later tick";

    // Closing comes before any request.
    bool closed = false;
    QObject::connect(c.form, &mission::DeviceDataForm::linkClosed, [&] { closed = true; });
    c.app.flags.CerrarSave = true;
    c.form->tick();
    EXPECT_TRUE(closed);
    if (c.form) {
        EXPECT_EQ(c.form->PedidoPreparar, P);
    }
}
