// The device-data and preparation windows against the emulated logger on a pseudo-terminal: what
// they show, the commands as the user runs them, a logger that stops answering, and the hand-over.

#include "mission/ui/DeviceDataForm.h"
#include "mission/ui/PrepForm.h"
#include "mission/DeviceCommands.h"
#include "mission/PrepPlan.h"
#include "records/ui/SaveRecordDialog.h"
#include "base/ui/ConfirmDialog.h"
#include "base/ui/Pictures.h"
#include "base/ui/StatusPanel.h"
#include "shell/ui/WindowRegistry.h"
#include "support/NoPauses.h"
#include "support/WaitFor.h"
#include "support/WhenModal.h"
#include "support/WindowDesk.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QDateTimeEdit>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace orvan;
using emulator::Fault;
using emulator::Logger;
using emulator::ScenarioKind;
using emulator::ScenarioOptions;
using orvan::test::waitFor;
using orvan::test::whenModal;
using Item = orvan::ui::StatusPanel::Item;
using Face = orvan::ui::StatusPanel::Face;

namespace {

struct EmulatedLogger {   // made before the window, which opens on its application folder
    EmulatedLogger(ScenarioKind kind, const ScenarioOptions& o, const std::function<void(Logger&)>& before) : emu(kind, o)
    {
        EXPECT_TRUE(emu.ok()) << emu.errorString().toStdString();
        if (before)
            before(emu.logger());
    }
    emulator::EmulatorFixture emu;
};

// The main window, offscreen, on the emulated logger's folder; `form` is the logger window tested.
template <class Form>
struct Desk : EmulatedLogger, orvan::test::WindowDesk<> {
    Desk(ScenarioKind kind, const ScenarioOptions& o = {}, const std::function<void(Logger&)>& before = {},
         const std::function<void(AppContext&)>& settings = {})
        : EmulatedLogger(kind, o, before), WindowDesk(emu.appFolder(), {1100, 800}, settings)
    {
    }
    // Polls without waiting for the window's timer (a tick during an exchange is skipped).
    bool until(const std::function<bool()>& condition, int ms = 15000)
    {
        return waitFor([&] {
            if (form)
                form->tick();
            return condition();
        }, ms);
    }
    // Waits until the window emits the signal, after `act`.
    template <class Signal>
    bool after(Signal signal, const std::function<void()>& act = {})
    {
        bool seen = false;
        const auto connection = QObject::connect(form.data(), signal, [&] { seen = true; });
        if (act)
            act();
        const bool ok = waitFor([&] { return seen; }, 30000);
        QObject::disconnect(connection);
        return ok;
    }
    ui::StatusPanel& p() { return *window->panel(); }
    static std::unique_ptr<link::LinkClock> noPauses() { return std::make_unique<orvan::test::NoPauses>(); }

    QPointer<Form> form;
};

struct Connected : Desk<mission::DeviceDataForm> {
    explicit Connected(ScenarioKind kind = ScenarioKind::Finished, const ScenarioOptions& o = {},
                       const std::function<void(Logger&)>& before = {})
        : Desk(kind, o, before)
    {
        app.flags.CerrarSave = false;
        p().showLive();
        form = new mission::DeviceDataForm(*window, record, {}, noPauses);
        window->showChild(form);
    }
    // Waits for the search, then for a status that satisfies the condition.
    bool waitStatus(const std::function<bool()>& condition, int ms = 15000)
    {
        return until([&] { return form && form->searchDone() && condition(); }, ms);
    }
    bool run(QPushButton* button) { return after(&mission::DeviceDataForm::commandFinished, [=] { button->click(); }); }
    bool nextPoll() { return after(&mission::DeviceDataForm::statusShown); }
};

// The preparation window on an empty logger; with realPauses, the writes take their real time.
struct Preparing : Desk<mission::PrepForm> {
    explicit Preparing(int gradosC = -1, bool realPauses = false)
        : Desk(ScenarioKind::Empty, {}, {}, [&](AppContext& a) {
              a.config.PuertoCom = qint16(emu.com());
              a.config.GradosC = qint16(gradosC);
          })
    {
        p().showLive();
        app.flags.CerrarPrep = false;
        form = realPauses ? new mission::PrepForm(*window) : new mission::PrepForm(*window, {}, noPauses);
        window->showChild(form);
    }
    bool acceptWhen(bool enabled)
    {
        return until([&] { return form->CmndAbrir->isEnabled() == enabled && form->estado().Comunicado; });
    }
    bool program() { return after(&mission::PrepForm::programmed, [&] { form->CmndAbrir->click(); }); }
};

} // namespace

// What reaches the panel (each state's pictures and commands: LiveSummary). A logger silent or
// answering 40 or 33 bytes: no communication, nothing offered or reported, events still handled
// while the link waits, the logger shown again once it answers; Cancel while silent ends the link.
TEST(DeviceDataForm, StatusOfAFinishedMissionThroughSilenceAndBadReplies)
{
    ScenarioOptions o;
    o.interval = 15;
    o.prepared = QDateTime(QDate(2024, 3, 1), QTime(10, 0), Qt::UTC);
    o.delay = 30;
    Connected c(ScenarioKind::Finished, o);
    ASSERT_TRUE(c.waitStatus([&] { return c.p().picture(Item::Link) == 9; })) << "no status from the emulator";
    EXPECT_EQ(c.app.config.PuertoCom, c.emu.com());
    EXPECT_EQ(c.p().text(Item::LiveStart), "01/03/2024 - 10:30");
    EXPECT_EQ(c.p().text(Item::LiveEnd), "02/03/2024 - 11:30");
    EXPECT_EQ(c.p().text(Item::LiveSamples), "100");
    EXPECT_EQ(c.p().text(Item::LiveInterval), "15 min");
    EXPECT_EQ(c.p().text(Item::LiveSerial).trimmed(), "12345");
    EXPECT_EQ(std::make_tuple(c.app.VerFw[0], c.app.VerFw[1], c.app.VerFw[2]), std::make_tuple(1, 7, 2));
    EXPECT_FALSE(c.window->toolbar1Button(2)->isEnabled()) << "connect stays off while the window holds the link";
    bool handledWhileBusy = false;
    for (const auto fault : {Fault::Silent, Fault::LongReply, Fault::ShortReply}) {
        SCOPED_TRACE(int(fault));
        c.emu.logger().setFault(fault);
        ASSERT_TRUE(waitFor([&] {
            if (c.form->session().busy())
                QTimer::singleShot(0, [&] { handledWhileBusy = handledWhileBusy || c.form->session().busy(); });
            return c.p().picture(Item::Link) == 10;
        }, 20000));
        EXPECT_FALSE(c.p().missionShown());
        EXPECT_FALSE(c.p().serialShown());
        for (QPushButton* b : {c.form->cmdAlmacena, c.form->cmdClear, c.form->cmdStop, c.form->cmdPrepara})
            EXPECT_FALSE(b->isEnabled());
        c.emu.logger().setFault(Fault::None);
        ASSERT_TRUE(c.waitStatus([&] { return c.p().picture(Item::Link) == 9; }));
        EXPECT_TRUE(c.p().missionShown());
        EXPECT_TRUE(c.form->cmdAlmacena->isEnabled());
    }
    EXPECT_TRUE(handledWhileBusy);
    EXPECT_TRUE(c.messages.messages.isEmpty()) << "a lost reply is not an error to report";

    c.emu.logger().setFault(Fault::Silent);
    ASSERT_TRUE(waitFor([&] { return c.form->session().busy(); }));
    c.form->CmndCancel->click();
    EXPECT_TRUE(c.app.flags.CerrarSave);
    ASSERT_TRUE(waitFor([&] { return c.form.isNull(); }, 5000)) << "the window did not close";
    EXPECT_TRUE((c.p().face() == Face::Rest));
    EXPECT_TRUE(c.window->toolbar1Button(2)->isEnabled());
}

// No logger answers the search: the configured port stays, and no communication is shown.
TEST(DeviceDataForm, NoLoggerAnywhereKeepsThePortAndShowsNoCommunication)
{
    Connected c(ScenarioKind::Finished, {}, [](Logger& l) { l.setFault(Fault::Silent); });
    c.app.config.PuertoCom = 3;
    ASSERT_TRUE(c.waitStatus([&] { return c.p().picture(Item::Link) == 10; }, 20000));
    EXPECT_EQ(c.app.config.PuertoCom, 3);
    EXPECT_EQ(c.app.VerFw[0], 0);
}

// The record is saved, then the logger marked; a lost mark is told, a cancelled save marks nothing.
TEST(DeviceDataForm, StoreSavesTheFileAndMarksOnlyWhatArrives)
{
    enum class Save { Marked, MarkLost, Cancelled };
    for (const Save save : {Save::Marked, Save::MarkLost, Save::Cancelled}) {
        SCOPED_TRACE(int(save));
        Connected c;
        ASSERT_TRUE(c.waitStatus([&] { return c.form->cmdAlmacena->isEnabled(); }));
        const QByteArray memory = c.emu.logger().memory();
        whenModal<records::SaveRecordDialog>([&](records::SaveRecordDialog* d) {
            if (save == Save::Cancelled)
                return d->CmndCancel->click();
            c.emu.logger().setFault(save == Save::MarkLost ? Fault::DropsWrites : Fault::None);
            d->CmndAbrir->click();
        });
        ASSERT_TRUE(c.run(c.form->cmdAlmacena));
        EXPECT_EQ(c.record.campos.NumMuestras, 100) << "the download was complete, so the record is the logger's";
        EXPECT_EQ(c.record.GuardadoEnDisco, save != Save::Cancelled);
        EXPECT_TRUE(c.form->CmndCancel->isVisible());
        EXPECT_FALSE(c.form->ProgressBar2->isVisible());

        if (save != Save::Cancelled) {
            QFile file(c.record.Archivo);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray saved = file.readAll();
            EXPECT_EQ(saved, c.record.fileImage());
            EXPECT_EQ(saved.mid(64, 24), memory.mid(64, 24));
            EXPECT_EQ(saved.mid(8192, 100), memory.mid(8192, 100));
        }
        if (save == Save::Marked) {
            ASSERT_TRUE(c.waitStatus([&] { return c.p().picture(Item::StartMode) == 16; })) << "the next poll shows it saved";
            EXPECT_EQ(c.emu.logger().peek(258), quint8(memory.at(258)) | 128);
            EXPECT_TRUE(c.messages.messages.isEmpty()) << c.messages.messages.join('\n').toStdString();
            EXPECT_TRUE(c.form->cmdAlmacena->isEnabled());
        } else {
            ASSERT_TRUE(c.nextPoll());
            EXPECT_EQ(c.p().picture(Item::StartMode), 17);
            EXPECT_EQ(c.emu.logger().memory(), memory);
            EXPECT_EQ(c.messages.messages,
                      save == Save::MarkLost ? QStringList{mission::markFailedMessage(c.record.Archivo, 0)} : QStringList());
        }
    }
}

// Stop and erase ask first; a "no" sends nothing, a "yes" stops, or erases and reports what the
// logger says. The frame closed while a confirmation is open (the application closing): the window
// goes once the dialog returns, and the late "yes" erases nothing.
TEST(DeviceDataForm, StopAndEraseAskFirstAndAreDoneOnlyOnYes)
{
    ScenarioOptions o;
    o.samples = 20;
    o.delay = 0;
    Connected c(ScenarioKind::Recording, o, [](Logger& l) { l.writeByte(258, 0xA2); });
    ASSERT_TRUE(c.waitStatus([&] { return c.form->cmdStop->isEnabled() && c.form->estado().EstadoByte == 0xA2; }));
    const auto answer = [](int picture, bool yes) {
        whenModal<ui::ConfirmDialog>([=](ui::ConfirmDialog* d) {
            EXPECT_EQ(d->imgAccion->pixmap().toImage(), ui::Pictures::statePicture(picture, 64).toImage());
            (yes ? d->CmndAbrir : d->CmndCancel)->click();
        });
    };
    answer(19, false);
    c.form->cmdClear->click();
    EXPECT_NE(c.form->PedidoBorrar, mission::DeviceDataForm::kRequested);
    ASSERT_TRUE(c.nextPoll());
    ASSERT_TRUE(c.nextPoll());
    EXPECT_TRUE(c.emu.writes().isEmpty());

    answer(11, true);
    ASSERT_TRUE(c.run(c.form->cmdStop));
    EXPECT_EQ(c.emu.writes(1), QList<QByteArray>{QByteArray::fromHex("22010282")});
    ASSERT_TRUE(c.waitStatus([&] { return c.form->cmdAlmacena->isEnabled(); }));
    EXPECT_EQ(c.p().picture(Item::Recording), 11);
    EXPECT_FALSE(c.form->cmdStop->isEnabled());

    answer(19, true);
    int maximum = 0;
    QObject::connect(c.form->ProgressBar2, &QProgressBar::valueChanged,
                     [&] { maximum = std::max(maximum, c.form->ProgressBar2->maximum()); });
    ASSERT_TRUE(c.run(c.form->cmdClear));
    EXPECT_EQ(maximum, 3500);
    EXPECT_FALSE(c.form->ProgressBar2->isVisible());
    EXPECT_TRUE(c.form->CmndCancel->isVisible());
    EXPECT_EQ(c.emu.writes(3).mid(1), QList<QByteArray>({QByteArray::fromHex("22010040"), QByteArray::fromHex("a5")}));
    EXPECT_EQ(c.messages.messages, QStringList{"Memoria borrada satisfactoriamente"});
    ASSERT_TRUE(c.waitStatus([&] { return c.p().picture(Item::Recording) == 4; }));
    EXPECT_TRUE(c.form->cmdPrepara->isEnabled());

    bool aliveAfterClose = false;
    whenModal<ui::ConfirmDialog>([&](ui::ConfirmDialog* d) {
        qobject_cast<QMdiSubWindow*>(c.form->parentWidget())->close();
        for (int i = 0; i < 3 && c.form; ++i)   // the window's poll ticks meanwhile
            c.form->tick();
        aliveAfterClose = !c.form.isNull();
        d->CmndAbrir->click();
    });
    c.form->cmdClear->click();
    EXPECT_TRUE(aliveAfterClose);
    ASSERT_TRUE(waitFor([&] { return c.form.isNull(); }));
    EXPECT_EQ(c.emu.writes().size(), 3) << "the late yes erases nothing";
}

TEST(PrepForm, ChoicesAndTheAcceptButton)
{
    Preparing p(0);   // Fahrenheit
    auto& f = *p.form;
    // Accept waits for a duration or an interval.
    ASSERT_TRUE(p.acceptWhen(false));
    f.chooseInterval(15);
    EXPECT_EQ(f.txtcDuracion->text(), QStringLiteral("256 d  00 h"));
    ASSERT_TRUE(p.acceptWhen(true));
    f.chooseDuration(360);
    EXPECT_EQ(f.RangoPrep(), 22);

    // A high limit below the low one takes it along, and the mirror.
    f.chooseLowLimit(50);
    f.chooseHighLimit(34);
    EXPECT_EQ(f.RawLimInf(), 82);
    f.chooseLowLimit(59);
    EXPECT_EQ(f.RawLimSup(), 110);
    EXPECT_EQ(p.app.config.LimInfDef, 59);

    // A set start beyond 45 days keeps Accept disabled; a start in the past moves to now.
    f.optInicio[1]->click();
    f.DTPickerStart->setDateTime(QDateTime::currentDateTime().addDays(46));
    ASSERT_TRUE(p.acceptWhen(false));
    f.DTPickerStart->setDateTime(QDateTime::currentDateTime().addDays(44));
    ASSERT_TRUE(p.acceptWhen(true));
    f.DTPickerStart->setDateTime(QDateTime::currentDateTime().addSecs(-3600));
    ASSERT_TRUE(p.until([&] { return f.DTPickerStart->dateTime() > QDateTime::currentDateTime().addSecs(-120); }));
    EXPECT_LE(f.DTPickerStart->maximumDateTime(), QDateTime::currentDateTime().addDays(45));

    // Folder separators never get into the exporter's name, as typed character by character.
    for (QChar c : QStringLiteral("A/B\\C"))
        f.txtExport->insert(QString(c));
    for (QChar c : QStringLiteral("A/B"))
        f.txtTransport->insert(QString(c));
    EXPECT_EQ(f.txtExport->text(), QStringLiteral("ABC"));
    EXPECT_EQ(f.txtTransport->text(), QStringLiteral("A/B"));

    // What the logger cannot take is refused on Accept with the reason, and nothing is written.
    f.optInicio[0]->click();
    for (QLineEdit* box : {f.txtExport, f.txtTransport}) {
        for (const QString& name : {QStringLiteral("LINE\nBREAK"), QStringLiteral("\u03a9MEGA")}) {
            SCOPED_TRACE(name.toStdString());
            p.messages.messages.clear();
            const QString before = box->text();
            box->setText(name);
            f.CmndAbrir->click();
            EXPECT_EQ(p.messages.messages, QStringList{*mission::nameRefusal(name, 0)});
            EXPECT_NE(f.PedidoPrep, mission::PrepForm::kRequested);
            box->setText(before);
        }
    }
    f.optInicio[2]->click();
    p.messages.messages.clear();
    f.txtcStartDelay->setText(QStringLiteral("70000"));
    f.CmndAbrir->click();
    ASSERT_EQ(p.messages.messages.size(), 1);
    EXPECT_TRUE(p.messages.messages.first().contains(QStringLiteral("65535")));
    ASSERT_TRUE(p.acceptWhen(true));
    EXPECT_TRUE(p.emu.writes().isEmpty());
}

TEST(PrepForm, ProgramsTheLoggerAndTheNextPollShowsItArmed)
{
    Preparing p;
    auto& f = *p.form;
    f.chooseDuration(30);
    f.optInicio[1]->click();
    f.DTPickerStart->setDateTime(QDateTime::currentDateTime().addSecs(2 * 3600));
    f.txtExport->setText(QStringLiteral("FRUTAS DEL VALLE"));
    f.chooseHighLimit(10);
    ASSERT_TRUE(p.acceptWhen(true));
    ASSERT_TRUE(p.program());
    ASSERT_TRUE(f.result());
    EXPECT_TRUE(f.result()->verified());
    EXPECT_TRUE(p.messages.messages.isEmpty()) << p.messages.messages.join('\n').toStdString();
    EXPECT_FALSE(f.ProgressBar1->isVisible());
    EXPECT_EQ(p.emu.logger().phase(), Logger::Phase::WaitingStart);
    EXPECT_EQ(p.emu.logger().peek(12), 100);
    // Changed limits become the defaults of the settings file on Accept.
    RegConfig saved;
    ASSERT_TRUE(p.app.settingsFile.read(saved).ok);
    EXPECT_EQ(saved.LimSupDef, 10);

    // The next poll: armed, waiting for the set time.
    ASSERT_TRUE(p.until([&] { return p.p().picture(Item::Recording) == 7; }));
    EXPECT_EQ(p.p().picture(Item::StartMode), 6);
    EXPECT_EQ(p.p().text(Item::LiveExporter), QStringLiteral("FRUTAS DEL V"));

    // The window stays open: a logger that now loses writes is reported as not programmed.
    p.emu.logger().erase();
    p.emu.logger().setFault(Fault::DropsWrites);
    f.optInicio[0]->click();
    ASSERT_TRUE(p.acceptWhen(true));
    ASSERT_TRUE(p.program());
    EXPECT_FALSE(f.result()->verified());
    EXPECT_EQ(p.messages.messages,
              QStringList{QStringLiteral("El KLV-100 no quedó programado correctamente. Prepárelo nuevamente antes de usarlo.")});
}

TEST(PrepForm, DeviceWindowHandsTheLoggerOverAndCancelGivesConnectBack)
{
    Desk<mission::PrepForm> desk(ScenarioKind::Empty);
    shell::MainWindow& window = *desk.window;
    shell::registerWindows(window);

    window.toolbar1Click(2);   // Connect: the device-data window searches the ports
    QPushButton* prepareButton = nullptr;
    ASSERT_TRUE(waitFor([&] {
        QWidget* save = window.child(ui::Child::frmsave);
        prepareButton = save ? save->findChild<QPushButton*>(QStringLiteral("cmdPrepara")) : nullptr;
        return prepareButton && prepareButton->isEnabled();
    }));
    prepareButton->click();

    QPointer<mission::PrepForm> prep;
    ASSERT_TRUE(waitFor([&] {
        prep = qobject_cast<mission::PrepForm*>(window.child(ui::Child::frmPrep));
        return prep && window.child(ui::Child::frmsave) == nullptr;
    }));
    // The port found by the search is opened again by the preparation window.
    ASSERT_TRUE(waitFor([&] { return prep->estado().Comunicado; }));
    EXPECT_EQ(desk.app.config.PuertoCom, desk.emu.com());
    EXPECT_FALSE(window.toolbar1Button(2)->isEnabled());

    prep->CmndCancel->click();
    ASSERT_TRUE(waitFor([&] { return prep.isNull() || window.child(ui::Child::frmPrep) == nullptr; }));
    EXPECT_TRUE(window.toolbar1Button(2)->isEnabled());
    EXPECT_TRUE((desk.p().face() == Face::Rest));
    EXPECT_TRUE(desk.messages.messages.isEmpty()) << desk.messages.messages.join('\n').toStdString();
}

// With the real pauses the sequence takes its 4.75 s, time enough to cancel it half way.
TEST(PrepForm, CancelDuringProgrammingStopsTheWritesAndClosesTheWindow)
{
    Preparing p(-1, true);
    p.form->chooseInterval(4);
    ASSERT_TRUE(p.acceptWhen(true));
    p.form->CmndAbrir->click();
    ASSERT_TRUE(p.until([&] { return p.form->ProgressBar1->value() >= 1300; }));
    p.form->CmndCancel->click();
    ASSERT_TRUE(p.until([&] { return p.form.isNull() || p.window->child(ui::Child::frmPrep) == nullptr; }));
    const auto writes = p.emu.writes().size();
    EXPECT_GE(writes, 2);
    EXPECT_LT(writes, 14) << "the writes stop with Cancel";
    EXPECT_TRUE(p.window->toolbar1Button(2)->isEnabled());
}
