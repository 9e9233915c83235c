// The preparation window against the emulated logger on a pseudo-terminal: Accept waits for a
// usable choice, programming runs and is read back, a logger that loses writes is reported, and
// the next poll shows the armed logger in the status panel.

#include "mission/ui/PrepForm.h"
#include "mission/PrepPlan.h"
#include "base/AppContext.h"
#include "base/ui/StatusPanel.h"
#include "records/MissionRecord.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/WindowRegistry.h"
#include "support/NoPauses.h"
#include "support/WaitFor.h"
#include "support/WindowDesk.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace orvan;
using emulator::EmulatorFixture;
using emulator::Fault;
using emulator::Logger;
using emulator::ScenarioKind;
using orvan::test::waitFor;

using Item = orvan::ui::StatusPanel::Item;
using Face = orvan::ui::StatusPanel::Face;

namespace {

struct Preparing : orvan::test::WindowDesk<> {
    explicit Preparing(EmulatorFixture& emu, int gradosC = -1)
        : WindowDesk(emu.appFolder(), {1100, 800}, [&](AppContext& a) {
              a.config.PuertoCom = qint16(emu.com());
              a.config.GradosC = qint16(gradosC);
          })
    {
        window->panel()->showLive();
        app.flags.CerrarPrep = false;
        form = new mission::PrepForm(*window, {}, [] { return std::make_unique<orvan::test::NoPauses>(); });
        window->showChild(form);
    }
    bool acceptWhen(bool enabled)
    {
        form->tick();
        return waitFor([&] {
            form->tick();
            return form->CmndAbrir->isEnabled() == enabled && form->estado().Comunicado;
        }, 10000);
    }
    bool program()
    {
        form->CmndAbrir->click();
        bool done = false;
        QObject::connect(form, &mission::PrepForm::programmed, [&] { done = true; });
        return waitFor([&] {
            form->tick();
            return done;
        }, 10000);
    }

    QPointer<mission::PrepForm> form;
};

} // namespace

TEST(PrepForm, ChoicesAndTheAcceptButton)
{
    EmulatorFixture emu(ScenarioKind::Empty);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    Preparing p(emu, 0);   // Fahrenheit
    auto& f = *p.form;

    EXPECT_EQ(f.txtcDuracion->text(), QStringLiteral("0 d"));
    EXPECT_EQ(f.txtcRango->text(), QStringLiteral("0 min."));
    EXPECT_EQ(f.ComboLoThreshold->itemText(0), QStringLiteral("-40"));
    EXPECT_EQ(f.ComboLoThreshold->itemText(f.ComboLoThreshold->count() - 1), QStringLiteral("185"));
    // Accept waits for a duration or an interval.
    ASSERT_TRUE(p.acceptWhen(false));
    f.chooseInterval(15);
    EXPECT_EQ(f.txtcDuracion->text(), QStringLiteral("256 d  00 h"));
    EXPECT_EQ(f.ComboDuracion->placeholderText(), QStringLiteral("256"));
    ASSERT_TRUE(p.acceptWhen(true));
    f.chooseDuration(360);
    EXPECT_EQ(f.RangoPrep(), 22);
    EXPECT_EQ(f.ComboRango->currentText(), QStringLiteral("22"));
    EXPECT_EQ(f.txtcDuracion->text(), QStringLiteral("375 d  11 h"));

    // A high limit below the low one takes it along, and the mirror.
    f.chooseLowLimit(50);
    f.chooseHighLimit(34);
    EXPECT_EQ(f.ComboLoThreshold->currentText(), QStringLiteral("34"));
    EXPECT_EQ(f.txtcLoThreshold->text(), QStringLiteral("34 °F"));
    EXPECT_EQ(f.RawLimInf(), 82);
    f.chooseLowLimit(59);
    EXPECT_EQ(f.ComboHiThreshold->currentText(), QStringLiteral("59"));
    EXPECT_EQ(f.RawLimSup(), 110);
    EXPECT_TRUE(f.CambioLimites());
    EXPECT_EQ(p.app.config.LimInfDef, 59);

    // A set start beyond 45 days keeps Accept disabled and shows picture 13.
    f.optInicio[1]->click();
    EXPECT_TRUE(f.DTPickerStart->isEnabled());
    f.DTPickerStart->setDateTime(QDateTime::currentDateTime().addDays(46));
    ASSERT_TRUE(p.acceptWhen(false));
    f.DTPickerStart->setDateTime(QDateTime::currentDateTime().addDays(44));
    ASSERT_TRUE(p.acceptWhen(true));
    // A start time in the past moves to now at the next poll; 45 days on is then the latest.
    f.DTPickerStart->setDateTime(QDateTime::currentDateTime().addSecs(-3600));
    ASSERT_TRUE(waitFor([&] {
        f.tick();
        return f.DTPickerStart->dateTime() > QDateTime::currentDateTime().addSecs(-120);
    }));
    EXPECT_LE(f.DTPickerStart->maximumDateTime(), QDateTime::currentDateTime().addDays(45));

    // Folder separators never get into the exporter's name.
    const auto type = [](QLineEdit* e, const QString& text) {
        for (QChar c : text)
            e->insert(QString(c));   // as typed: the box's validator judges each character
    };
    type(f.txtExport, QStringLiteral("A/B\\C"));
    EXPECT_EQ(f.txtExport->text(), QStringLiteral("ABC"));
    type(f.txtTransport, QStringLiteral("A/B"));
    EXPECT_EQ(f.txtTransport->text(), QStringLiteral("A/B"));

    // A delay the two bytes cannot hold is refused before anything is written.
    f.optInicio[2]->click();
    f.txtcStartDelay->setText(QStringLiteral("70000"));
    emu.logger().clearFrameLog();
    f.CmndAbrir->click();
    ASSERT_EQ(p.messages.messages.size(), 1);
    EXPECT_TRUE(p.messages.messages.first().contains(QStringLiteral("65535")));
    EXPECT_EQ(f.PedidoPrep, 0);
    ASSERT_TRUE(p.acceptWhen(true));
    for (const auto& e : emu.logger().frameLog())
        EXPECT_NE(quint8(e.frame.at(0)), 0x22) << "nothing written";
}

TEST(PrepForm, ProgramsTheLoggerAndTheNextPollShowsItArmed)
{
    EmulatorFixture emu(ScenarioKind::Empty);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    Preparing p(emu);
    auto& f = *p.form;

    f.chooseDuration(30);
    f.optInicio[1]->click();
    f.DTPickerStart->setDateTime(QDateTime::currentDateTime().addSecs(2 * 3600));
    f.txtExport->setText(QStringLiteral("FRUTAS DEL VALLE"));
    f.txtTransport->setText(QStringLiteral("MSC"));
    f.chooseHighLimit(10);
    ASSERT_TRUE(p.acceptWhen(true));
    ASSERT_TRUE(p.program());
    ASSERT_TRUE(f.result());
    EXPECT_TRUE(f.result()->verified());
    EXPECT_EQ(f.result()->values.EstadoPrep, 32);
    EXPECT_TRUE(p.messages.messages.isEmpty()) << p.messages.messages.join('\n').toStdString();
    EXPECT_FALSE(f.ProgressBar1->isVisible());
    EXPECT_EQ(emu.logger().phase(), Logger::Phase::WaitingStart);
    // Changed limits become the defaults of the settings file on Accept.
    RegConfig saved;
    ASSERT_TRUE(p.app.settingsFile.read(saved).ok);
    EXPECT_EQ(saved.LimSupDef, 10);
    EXPECT_EQ(emu.logger().peek(12), 100);

    // The next poll: armed, waiting for the set time.
    ASSERT_TRUE(waitFor([&] {
        f.tick();
        return p.window->panel()->picture(Item::Recording) == 7;
    }, 10000));
    EXPECT_EQ(p.window->panel()->picture(Item::StartMode), 6);
    EXPECT_EQ(p.window->panel()->text(Item::LiveInterval), QStringLiteral("2 min"));
    EXPECT_EQ(p.window->panel()->text(Item::LiveExporter), QStringLiteral("FRUTAS DEL V"));
    EXPECT_EQ(p.window->panel()->text(Item::LiveHighLimit), QStringLiteral(" > 10 °C"));

    // The window stays open: a logger that now loses writes is reported as not programmed.
    emu.logger().erase();
    emu.logger().setFault(Fault::DropsWrites);
    f.optInicio[0]->click();
    ASSERT_TRUE(p.acceptWhen(true));
    ASSERT_TRUE(p.program());
    EXPECT_FALSE(f.result()->verified());
    ASSERT_EQ(p.messages.messages.size(), 1);
    EXPECT_EQ(p.messages.messages.first(),
              QStringLiteral("El KLV-100 no quedó programado correctamente. Prepárelo nuevamente antes de usarlo."));
}

TEST(PrepForm, DeviceWindowHandsTheLoggerOverAndCancelGivesConnectBack)
{
    EmulatorFixture emu(ScenarioKind::Empty);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    orvan::test::WindowDesk<> desk(emu.appFolder());
    AppContext& app = desk.app;
    shell::MainWindow& window = *desk.window;
    shell::registerWindows(window);

    window.toolbar1Click(2);   // Connect: the device-data window searches the ports
    QWidget* save = nullptr;
    ASSERT_TRUE(waitFor([&] { return (save = window.child(ui::Child::frmsave)) != nullptr; }, 15000));
    auto* prepareButton = save->findChild<QPushButton*>(QStringLiteral("cmdPrepara"));
    ASSERT_TRUE(prepareButton);
    ASSERT_TRUE(waitFor([&] { return prepareButton->isEnabled(); }, 15000));
    prepareButton->click();

    QPointer<mission::PrepForm> prep;
    ASSERT_TRUE(waitFor([&] {
        prep = qobject_cast<mission::PrepForm*>(window.child(ui::Child::frmPrep));
        return prep && window.child(ui::Child::frmsave) == nullptr;
    }, 15000));
    EXPECT_FALSE(app.flags.CerrarPrep);
    EXPECT_TRUE(app.flags.CerrarSave);
    EXPECT_TRUE(app.PrepAbierto);
    // The port found by the search is opened again by the preparation window.
    ASSERT_TRUE(waitFor([&] { return prep->estado().Comunicado; }, 15000));
    EXPECT_EQ(app.config.PuertoCom, emu.com());
    EXPECT_FALSE(window.toolbar1Button(2)->isEnabled());

    prep->CmndCancel->click();
    ASSERT_TRUE(waitFor([&] { return prep.isNull() || window.child(ui::Child::frmPrep) == nullptr; }, 15000));
    EXPECT_TRUE(window.toolbar1Button(2)->isEnabled());
    EXPECT_TRUE((window.panel()->face() == Face::Rest));
    EXPECT_FALSE(app.PrepAbierto);
    EXPECT_TRUE(desk.messages.messages.isEmpty()) << desk.messages.messages.join('\n').toStdString();
}

TEST(PrepForm, CancelDuringProgrammingStopsTheWritesAndClosesTheWindow)
{
    EmulatorFixture emu(ScenarioKind::Empty);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    orvan::test::WindowDesk<> desk(emu.appFolder(), {1100, 800},
                                   [&](AppContext& a) { a.config.PuertoCom = qint16(emu.com()); });
    shell::MainWindow& window = *desk.window;
    // The system clock: the sequence takes its real 4.75 s, time enough to cancel it.
    QPointer<mission::PrepForm> f = new mission::PrepForm(window);
    window.showChild(f);
    f->chooseInterval(4);
    ASSERT_TRUE(waitFor([&] {
        f->tick();
        return f->CmndAbrir->isEnabled();
    }));
    f->CmndAbrir->click();
    ASSERT_TRUE(waitFor([&] {
        f->tick();
        return f->ProgressBar1->value() >= 1300;
    }));
    f->CmndCancel->click();
    ASSERT_TRUE(waitFor([&] {
        if (f)
            f->tick();
        return f.isNull() || window.child(ui::Child::frmPrep) == nullptr;
    }));
    int writes = 0;
    for (const auto& e : emu.logger().frameLog())
        writes += quint8(e.frame.at(0)) == 0x22;
    EXPECT_GE(writes, 2);
    EXPECT_LT(writes, 14) << "the writes stop with Cancel";
    EXPECT_TRUE(window.toolbar1Button(2)->isEnabled());
}

// A name the logger cannot hold is refused on Accept with the reason, and nothing is posted.
TEST(PrepForm, NamesTheLoggerCannotHoldAreRefused)
{
    EmulatorFixture emu(ScenarioKind::Empty);
    ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
    Preparing p(emu);
    auto& f = *p.form;
    f.chooseDuration(30);
    ASSERT_TRUE(p.acceptWhen(true));
    const QByteArray before = emu.logger().memory();
    for (QLineEdit* box : {f.txtExport, f.txtTransport}) {
        for (const QString& name : {QStringLiteral("LINE\nBREAK"), QStringLiteral("\u03a9MEGA")}) {
            SCOPED_TRACE(name.toStdString());
            p.messages.messages.clear();
            box->setText(name);
            f.CmndAbrir->click();
            EXPECT_EQ(p.messages.messages, QStringList{*mission::nameRefusal(name, 0)});
            EXPECT_NE(f.PedidoPrep, mission::PrepForm::kRequested);
            box->setText(QStringLiteral("OK"));
        }
    }
    EXPECT_EQ(emu.logger().memory(), before);
}
