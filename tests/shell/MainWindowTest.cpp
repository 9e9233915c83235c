// The main window: start-up, tool tips, the toolbar commands and their effect on buttons, panel,
// flags and child windows.

#include "ShellUiFixture.h"
#include "support/WaitFor.h"

#include "base/RuntimeError.h"
#include "base/ui/StatusPanel.h"
#include "shell/ui/WindowRegistry.h"
#include "views/ui/GraphWindow.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <algorithm>
#include <stdexcept>

using namespace shelltest;
using orvan::ui::StatusPanel;

using Item = orvan::ui::StatusPanel::Item;
using Face = orvan::ui::StatusPanel::Face;

namespace {

// Enabled states of Toolbar1 buttons 1..7, e.g. "1100000".
std::string toolbar1States(const orvan::shell::MainWindow& w)
{
    std::string s;
    for (int i = 1; i <= 7; ++i)
        s += w.toolbar1Button(i)->isEnabled() ? '1' : '0';
    return s;
}

// Which panel frames are showing: D(atos), C(omm), I(nstit).
std::string panelState(const StatusPanel& p)
{
    switch (p.face()) {
    case Face::Record: return "D";
    case Face::Live: return "C";
    case Face::Rest: return "I";
    }
    return {};
}

} // namespace

TEST_F(ShellUiTest, StartUpSetsCaptionSettingsAndEveryToolTip)
{
    start();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Data Logger Orvan \u00ae  v_1.7"));
    EXPECT_EQ(settingsBytes().size(), 202);
    EXPECT_EQ(app->UnidadTexto(), QStringLiteral(" \u00b0C"));
    EXPECT_FALSE(app->LineaMarca.isEmpty());
    EXPECT_EQ(toolbar1States(*window), "1100000");
    for (int i = 1; i <= 4; ++i)
        EXPECT_TRUE(window->toolbar2Button(i)->isEnabled()) << i;

    const orvan::TextTable& t = app->textos;
    const orvan::Text commands[] = {orvan::Text::StudyFromDisk, orvan::Text::ConnectLogger,
                                    orvan::Text::GraphTemperatureTime, orvan::Text::Proportions, orvan::Text::Histogram,
                                    orvan::Text::TemperatureList, orvan::Text::Alarms};
    for (int i = 1; i <= 7; ++i)
        EXPECT_EQ(window->toolbar1Button(i)->toolTip(), t[commands[i - 1]]) << i;
    EXPECT_EQ(window->toolbar2Button(1)->toolTip(), QStringLiteral("Imprimir"));
    EXPECT_EQ(window->toolbar2Button(2)->toolTip(), QStringLiteral("Configuracion"));
    EXPECT_EQ(window->toolbar2Button(4)->toolTip(), QStringLiteral("Terminar"));

    StatusPanel& p = *window->panel();
    const struct {
        std::vector<Item> items;
        orvan::Text entry;
    } table[] = {
        {{Item::Start, Item::LiveStart}, orvan::Text::StartTime},
        {{Item::HighLimit, Item::LiveHighLimit, Item::HighAlarm, Item::LiveHighAlarm}, orvan::Text::HighLimit},
        {{Item::Serial, Item::LiveSerial}, orvan::Text::LoggerSerial},
        {{Item::Clock, Item::Temperature}, orvan::Text::CurrentTime},
    };
    for (const auto& row : table) {
        for (Item item : row.items)
            EXPECT_EQ(p.toolTip(item), t[row.entry]) << int(item);
    }
    EXPECT_EQ(panelState(p), "I");
}

TEST_F(ShellUiTest, MissingPicturesAreOneMessageAndStartUpGoesOn)
{
    const struct {
        bool mdi, panel;
    } cases[] = {{false, false}, {true, false}, {false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mdi " << c.mdi << " panel " << c.panel);
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        writePictures(c.mdi, c.panel);
        sink.messages.clear();
        app = std::make_unique<orvan::AppContext>(dir.path());
        makeWindow();
        window->startUp();

        ASSERT_EQ(sink.messages.size(), 1);
        const QString& m = sink.messages.first();
        EXPECT_TRUE(m.startsWith(QStringLiteral("Error 53 ("))) << m.toStdString();
        EXPECT_TRUE(m.endsWith(QStringLiteral(") in procedure MDIForm_Load of Formulario MDIMenu"))) << m.toStdString();
        EXPECT_EQ(m.contains(QStringLiteral("KLV-204.jpg")), !c.mdi);
        EXPECT_EQ(m.contains(QStringLiteral("KLV-chico.jpg")), !c.panel);
        // Everything after the pictures still happened.
        EXPECT_EQ(window->toolbar1Button(1)->toolTip(), QStringLiteral("Analizar de disco"));
        EXPECT_EQ(window->panel()->toolTip(Item::File), QStringLiteral("Nombre del Archivo"));
        EXPECT_EQ(app->textos[orvan::Text::TrademarkLine], app->LineaMarca);
    }
}

TEST_F(ShellUiTest, CommandsSetButtonsPanelAndChildren)
{
    start();
    StatusPanel& p = *window->panel();
    window->toolbar2Click(1);   // no printer attached: nothing happens
    EXPECT_TRUE(sink.messages.isEmpty());
    std::vector<bool> printed;   // print follows the active graph
    window->printHandler = [&printed](orvan::shell::MainWindow&, bool chartActive) { printed.push_back(chartActive); };

    // Study from disk: rest state, the open dialog.
    window->toolbar1Click(1);
    EXPECT_EQ(toolbar1States(*window), "1100000");
    EXPECT_EQ(panelState(p), "I");
    EXPECT_NE(standIn(Child::AbreArch), nullptr);

    // The open dialog read a record: summary and views.
    p.showRecord({});
    window->HabilitaBotones();
    window->toolbar1Click(3);
    EXPECT_EQ(toolbar1States(*window), "1111111");
    EXPECT_EQ(panelState(p), "D");
    EXPECT_EQ(window->child(Child::AbreArch), nullptr);
    EXPECT_NE(standIn(Child::frmGrafico), nullptr);
    EXPECT_TRUE(app->GraficoActivo);
    window->toolbar2Click(1);

    // Any other Toolbar1 command clears the graph's claim before its view opens.
    window->toolbar1Click(4);
    EXPECT_FALSE(seen[Child::frmTorta].GraficoActivo);
    EXPECT_FALSE(app->GraficoActivo);
    EXPECT_EQ(window->child(Child::frmGrafico), nullptr);
    window->toolbar2Click(1);
    EXPECT_EQ(printed, (std::vector<bool>{true, false}));
    EXPECT_NE(window->child(Child::frmTorta), nullptr);   // printing closes nothing

    // Connect: live panel, connect disabled, the device form opened with its flag down.
    window->toolbar1Click(2);
    EXPECT_EQ(toolbar1States(*window), "1000000");
    EXPECT_EQ(panelState(p), "C");
    EXPECT_FALSE(app->flags.CerrarSave);
    EXPECT_TRUE(app->flags.CerrarPrep);
    ASSERT_NE(standIn(Child::frmsave), nullptr);
    EXPECT_FALSE(seen[Child::frmsave].CerrarSave);
    EXPECT_EQ(window->child(Child::frmTorta), nullptr);

    // Configuration: rest state, both flags up, the dialog opened.
    window->toolbar2Click(2);
    EXPECT_EQ(toolbar1States(*window), "1100000");
    EXPECT_EQ(panelState(p), "I");
    EXPECT_TRUE(app->flags.CerrarPrep);
    EXPECT_TRUE(app->flags.CerrarSave);
    EXPECT_NE(window->child(Child::Config), nullptr);

    window->HabilitaBotones();
    EXPECT_EQ(toolbar1States(*window), "1111111");
    window->DeshabilitaBotones();
    EXPECT_EQ(toolbar1States(*window), "1100000");
}

TEST_F(ShellUiTest, ChildrenCloseInOrderAndFlagsAreUpBeforeAViewOpens)
{
    start();
    const Child opened[] = {Child::frmAlar, Child::Detalle, Child::AbreArch, Child::frmHisto, Child::frmTorta, Child::frmGrafico};
    for (Child which : opened)
        ASSERT_NE(window->openChild(which), nullptr);
    ASSERT_NE(window->openChild(Child::Config), nullptr);

    // Configuration closes the views and dialogs in a fixed order, whatever the opening order, but
    // keeps itself.
    window->toolbar2Click(2);
    std::vector<QString> views;
    for (Child which : {Child::frmGrafico, Child::frmTorta, Child::frmHisto, Child::AbreArch, Child::Detalle, Child::frmAlar})
        views.push_back(childName(which));
    EXPECT_EQ(closed, views);
    EXPECT_NE(window->child(Child::Config), nullptr);

    for (Child which : opened)
        ASSERT_NE(window->openChild(which), nullptr);
    closed.clear();
    app->flags.CerrarPrep = false;
    app->flags.CerrarSave = false;
    window->toolbar1Click(5);
    EXPECT_EQ(closed, views);
    EXPECT_EQ(window->child(Child::Config), nullptr);   // a Toolbar1 command closes it too
    EXPECT_TRUE(seen[Child::frmHisto].CerrarPrep);
    EXPECT_TRUE(seen[Child::frmHisto].CerrarSave);
    EXPECT_FALSE(seen[Child::frmHisto].GraficoActivo);
}

TEST_F(ShellUiTest, FailingCommandsAreReportedAndTheWindowStays)
{
    start();
    failOpening = [](Child which) {
        if (which == Child::frmHisto)
            throw orvan::RuntimeError(9, QStringLiteral("Subscript out of range"));
        if (which == Child::AbreArch)
            throw std::runtime_error("no folder list");
    };
    window->toolbar1Click(5);
    window->toolbar1Click(1);
    window->printHandler = [](orvan::shell::MainWindow&, bool) {
        throw orvan::RuntimeError(482, QStringLiteral("Printer error"));
    };
    window->toolbar2Click(1);
    ASSERT_EQ(sink.messages.size(), 3);
    EXPECT_EQ(sink.messages[0],
              QStringLiteral("Error 9 (Subscript out of range) in procedure Toolbar1_ButtonClick of Formulario MDIMenu"));
    EXPECT_TRUE(sink.messages[1].contains(QStringLiteral("no folder list")));
    EXPECT_EQ(sink.messages[2],
              QStringLiteral("Error 482 (Printer error) in procedure Toolbar2_ButtonClick of Formulario MDIMenu"));
    EXPECT_TRUE(window->isVisible());
    // The state the command had reached stays.
    EXPECT_EQ(toolbar1States(*window), "1100000");
}

TEST_F(ShellUiTest, ConnectGivesWayToALaterCommandAndToALingeringDeviceForm)
{
    start();
    window->connectPauseMs = 400;

    // Study from disk clicked while connect waits: connect does not go on.
    QTimer::singleShot(10, window.get(), [this] { window->toolbar1Click(1); });
    window->toolbar1Click(2);
    EXPECT_EQ(window->child(Child::frmsave), nullptr);
    EXPECT_NE(window->child(Child::AbreArch), nullptr);
    EXPECT_TRUE(window->toolbar1Button(2)->isEnabled());
    EXPECT_EQ(panelState(*window->panel()), "I");

    // A device form that did not close in time is closed before the new one opens.
    window->connectPauseMs = 10;
    QWidget* old = window->openChild(Child::frmsave);
    ASSERT_NE(old, nullptr);
    window->toolbar1Click(2);
    QWidget* now = window->child(Child::frmsave);
    ASSERT_NE(now, nullptr);
    EXPECT_NE(now, old);
    EXPECT_FALSE(app->flags.CerrarSave);
    EXPECT_EQ(std::count(closed.begin(), closed.end(), QStringLiteral("frmsave")), 1);
}

TEST_F(ShellUiTest, ChildWindowsArePlacedAndLeaveNoFrameWhenTheyCloseThemselves)
{
    start();
    QWidget* graph = window->openChild(Child::frmGrafico);
    ASSERT_NE(graph, nullptr);
    auto* sub = qobject_cast<QMdiSubWindow*>(graph->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->pos(), QPoint(0, 0));
    EXPECT_EQ(sub->size(), window->childSize());
    EXPECT_EQ(window->openChild(Child::frmGrafico), graph);   // an open child is brought forward

    graph->close();
    EXPECT_EQ(window->child(Child::frmGrafico), nullptr);
    EXPECT_TRUE(orvan::test::waitFor([this] { return window->mdiArea()->subWindowList().isEmpty(); }));

    // A child deleted outright takes its frame too.
    QWidget* list = window->openChild(Child::Detalle);
    ASSERT_NE(list, nullptr);
    delete list;
    EXPECT_EQ(window->child(Child::Detalle), nullptr);
    EXPECT_TRUE(orvan::test::waitFor([this] { return window->mdiArea()->subWindowList().isEmpty(); }));

    // A minimized child is still open: opening it again brings it back instead of making a
    // second one, and the next command closes it.
    graph = window->openChild(Child::frmGrafico);
    sub = qobject_cast<QMdiSubWindow*>(graph->parentWidget());
    ASSERT_NE(sub, nullptr);
    sub->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->openChild(Child::frmGrafico), graph);
    EXPECT_FALSE(sub->isMinimized());
    sub->showMinimized();
    QCoreApplication::processEvents();
    closed.clear();
    window->toolbar1Click(4);
    EXPECT_EQ(closed, (std::vector<QString>{QStringLiteral("frmGrafico")}));
    EXPECT_TRUE(orvan::test::waitFor([this] { return window->mdiArea()->subWindowList().size() == 1; }));
}

TEST_F(ShellUiTest, FinishClosesEveryChildAndTellsTheDeviceFormsToStop)
{
    start();
    window->openChild(Child::frmsave);
    window->openChild(Child::frmGrafico);
    app->flags.CerrarSave = false;
    window->toolbar2Click(4);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(app->flags.CerrarSave);
    EXPECT_TRUE(app->flags.CerrarPrep);
    EXPECT_EQ(window->child(Child::frmsave), nullptr);
    EXPECT_EQ(window->child(Child::frmGrafico), nullptr);
}

TEST_F(ShellUiTest, GraphButtonOpensTheGraphOfTheRecord)
{
    start();
    orvan::shell::registerWindows(*window);   // the real windows instead of the stand-ins
    record.setByte(orvan::records::kSampleBase, 100);
    record.setByte(orvan::records::AddrSampleCount, 1);
    record.LeeAuditoria();
    window->HabilitaBotones();
    window->toolbar1Click(3);
    auto* graph = qobject_cast<orvan::views::GraphWindow*>(window->child(Child::frmGrafico));
    ASSERT_NE(graph, nullptr);
    EXPECT_TRUE(app->GraficoActivo);
    EXPECT_EQ(graph->puntos().NumPuntos(), 1);
    window->toolbar1Click(7);
    EXPECT_EQ(window->child(Child::frmGrafico), nullptr);
    EXPECT_FALSE(app->GraficoActivo);
}
