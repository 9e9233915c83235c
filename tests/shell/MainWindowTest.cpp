// The main window: start-up on files that are missing or not ordinary files, the toolbar commands
// and their effect on buttons, panel, flags and child windows.

#include "ShellUiFixture.h"
#include "support/SpecialFiles.h"
#include "support/WaitFor.h"

#include "base/RuntimeError.h"
#include "base/ui/StatusPanel.h"

#include <QAction>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <stdexcept>

using namespace shelltest;
using Face = orvan::ui::StatusPanel::Face;

namespace {

// Enabled states of Toolbar1 buttons 1..7, e.g. "1100000", then the panel's face: D(atos),
// C(omm), I(nstit).
std::string state(orvan::shell::MainWindow& w)
{
    std::string s;
    for (int i = 1; i <= 7; ++i)
        s += w.toolbar1Button(i)->isEnabled() ? '1' : '0';
    const Face face = w.panel()->face();
    return s + (face == Face::Record ? " D" : face == Face::Live ? " C" : " I");
}

} // namespace

// Whatever is wrong with a file the start-up reads (a picture missing or a FIFO, the settings a
// FIFO or a device) is one message, never a wait; the rest of the start-up happens all the same.
TEST_F(ShellUiTest, StartUpFileFaultsAreOneMessageAndTheWindowGoesOn)
{
    const auto at = [this](const char* name) { return dir.filePath(QLatin1String(name)); };
    const auto fifo = [&](const char* name) { return QFile::remove(at(name)) && orvan::test::makeNode(orvan::test::Node::Fifo, at(name)); };
    const struct {
        const char* name;
        std::function<bool()> make;
        std::vector<const char*> named, notNamed;
    } cases[] = {
        {"no pictures", [&] { return QFile::remove(at("KLV-204.jpg")) && QFile::remove(at("KLV-chico.jpg")); },
         {"Error 53 (", "KLV-204.jpg", "KLV-chico.jpg", ") in procedure MDIForm_Load of Formulario MDIMenu"}, {}},
        {"panel picture missing", [&] { return QFile::remove(at("KLV-chico.jpg")); }, {"Error 53 (", "KLV-chico.jpg"}, {"KLV-204.jpg"}},
        {"window picture missing", [&] { return QFile::remove(at("KLV-204.jpg")); }, {"Error 53 (", "KLV-204.jpg"}, {"KLV-chico.jpg"}},
        {"pictures are FIFOs", [&] { return fifo("KLV-204.jpg") && fifo("KLV-chico.jpg"); }, {"KLV-chico.jpg", "MDIForm_Load"}, {}},
        {"settings a FIFO", [&] { return orvan::test::makeNode(orvan::test::Node::Fifo, settingsPath()); }, {"no es un archivo común"}, {}},
        {"settings a link to /dev/zero", [&] { return QFile::link(QStringLiteral("/dev/zero"), settingsPath()); }, {"no es un archivo común"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        writePictures();
        ASSERT_TRUE(c.make());
        sink.messages.clear();
        app = std::make_unique<orvan::AppContext>(dir.path());
        makeWindow();
        window->startUp();
        ASSERT_EQ(sink.messages.size(), 1);
        const QString& m = sink.messages.first();
        for (const char* text : c.named)
            EXPECT_TRUE(m.contains(QString::fromUtf8(text))) << text << " in " << m.toStdString();
        for (const char* text : c.notNamed)
            EXPECT_FALSE(m.contains(QString::fromUtf8(text))) << text << " in " << m.toStdString();
        EXPECT_EQ(app->config.VersionCfg, 59);
        EXPECT_EQ(window->toolbar1Button(1)->toolTip(), QStringLiteral("Analizar de disco"));
        EXPECT_EQ(app->textos[orvan::Text::TrademarkLine], app->LineaMarca);
        EXPECT_EQ(QFileInfo(settingsPath()).isFile(), !QByteArray(c.name).startsWith("settings"));   // a settings node is left alone
    }
}

TEST_F(ShellUiTest, CommandsSetButtonsPanelAndChildren)
{
    start();
    EXPECT_EQ(state(*window), "1100000 I");
    window->toolbar2Click(1);   // no printer attached: nothing happens
    EXPECT_TRUE(sink.messages.isEmpty());
    std::vector<bool> printed;   // print follows the active graph
    window->printHandler = [&printed](orvan::shell::MainWindow&, bool chartActive) { printed.push_back(chartActive); };

    window->toolbar1Click(1);   // study from disk: rest state, the open dialog
    EXPECT_EQ(state(*window), "1100000 I");
    EXPECT_NE(window->child(Child::AbreArch), nullptr);

    // The open dialog read a record: summary and views.
    window->panel()->showRecord({});
    window->HabilitaBotones();
    window->toolbar1Click(3);
    EXPECT_EQ(state(*window), "1111111 D");
    EXPECT_EQ(window->child(Child::AbreArch), nullptr);
    EXPECT_NE(window->child(Child::frmGrafico), nullptr);
    window->toolbar2Click(1);

    // Any other Toolbar1 command clears the graph's claim before its view opens.
    window->toolbar1Click(4);
    EXPECT_FALSE(seen[Child::frmTorta].GraficoActivo);
    EXPECT_EQ(window->child(Child::frmGrafico), nullptr);
    window->toolbar2Click(1);
    EXPECT_EQ(printed, (std::vector<bool>{true, false}));
    EXPECT_NE(window->child(Child::frmTorta), nullptr);   // printing closes nothing

    // Connect: live panel, connect disabled, the device form opened with its flag down.
    window->toolbar1Click(2);
    EXPECT_EQ(state(*window), "1000000 C");
    EXPECT_TRUE(app->flags.CerrarPrep);
    ASSERT_NE(window->child(Child::frmsave), nullptr);
    EXPECT_FALSE(seen[Child::frmsave].CerrarSave);
    EXPECT_EQ(window->child(Child::frmTorta), nullptr);

    // Configuration: rest state, both flags up, the dialog opened.
    window->toolbar2Click(2);
    EXPECT_EQ(state(*window), "1100000 I");
    EXPECT_TRUE(app->flags.CerrarPrep && app->flags.CerrarSave);
    EXPECT_NE(window->child(Child::Config), nullptr);

    // Finish closes every child and tells the device forms to stop.
    window->openChild(Child::frmsave);
    app->flags.CerrarSave = false;
    window->toolbar2Click(4);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(app->flags.CerrarSave);
    EXPECT_EQ(window->child(Child::frmsave), nullptr);
}

TEST_F(ShellUiTest, ChildrenCloseInOrderAndFlagsAreUpBeforeAViewOpens)
{
    start();
    const Child opened[] = {Child::frmAlar, Child::Detalle, Child::AbreArch, Child::frmHisto, Child::frmTorta, Child::frmGrafico};
    // The fixed closing order, whatever the opening order.
    const std::vector<Child> views = {Child::frmGrafico, Child::frmTorta, Child::frmHisto, Child::AbreArch, Child::Detalle, Child::frmAlar};
    for (Child which : opened)
        ASSERT_NE(window->openChild(which), nullptr);
    ASSERT_NE(window->openChild(Child::Config), nullptr);

    window->toolbar2Click(2);   // configuration closes the views and dialogs but keeps itself
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
    window->printHandler = [](orvan::shell::MainWindow&, bool) { throw orvan::RuntimeError(482, QStringLiteral("Printer error")); };
    window->toolbar2Click(1);
    ASSERT_EQ(sink.messages.size(), 3);
    EXPECT_EQ(sink.messages[0], QStringLiteral("Error 9 (Subscript out of range) in procedure Toolbar1_ButtonClick of Formulario MDIMenu"));
    EXPECT_TRUE(sink.messages[1].contains(QStringLiteral("no folder list")));
    EXPECT_EQ(sink.messages[2], QStringLiteral("Error 482 (Printer error) in procedure Toolbar2_ButtonClick of Formulario MDIMenu"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(state(*window), "1100000 I");   // the state the command had reached stays
}

TEST_F(ShellUiTest, ConnectGivesWayToALaterCommandAndToALingeringDeviceForm)
{
    start();
    // Study from disk clicked once connect waits with its button off, whatever the wait's
    // length: connect does not go on.
    std::function<void()> clickWhenWaiting = [&] {
        if (window->toolbar1Button(2)->isEnabled())
            QTimer::singleShot(0, window.get(), clickWhenWaiting);
        else
            window->toolbar1Click(1);
    };
    QTimer::singleShot(0, window.get(), clickWhenWaiting);
    window->toolbar1Click(2);
    EXPECT_EQ(window->child(Child::frmsave), nullptr);
    EXPECT_NE(window->child(Child::AbreArch), nullptr);
    EXPECT_TRUE(window->toolbar1Button(2)->isEnabled());
    EXPECT_EQ(window->panel()->face(), Face::Rest);

    // A device form that did not close in time is closed before the new one opens.
    QWidget* old = window->openChild(Child::frmsave);
    ASSERT_NE(old, nullptr);
    window->toolbar1Click(2);
    QWidget* now = window->child(Child::frmsave);
    ASSERT_NE(now, nullptr);
    EXPECT_NE(now, old);
    EXPECT_FALSE(app->flags.CerrarSave);
    EXPECT_EQ(std::count(closed.begin(), closed.end(), Child::frmsave), 1);
}

TEST_F(ShellUiTest, ChildWindowsArePlacedAndLeaveNoFrameWhenTheyCloseThemselves)
{
    start();
    const auto noFrames = [this](int n) { return orvan::test::waitFor([&] { return window->mdiArea()->subWindowList().size() == n; }); };
    QWidget* graph = window->openChild(Child::frmGrafico);
    auto* sub = qobject_cast<QMdiSubWindow*>(graph->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->geometry(), QRect(QPoint(0, 0), window->childSize()));
    EXPECT_EQ(window->openChild(Child::frmGrafico), graph);   // an open child is brought forward
    graph->close();
    EXPECT_EQ(window->child(Child::frmGrafico), nullptr);
    EXPECT_TRUE(noFrames(0));

    delete window->openChild(Child::Detalle);   // a child deleted outright takes its frame too
    EXPECT_EQ(window->child(Child::Detalle), nullptr);
    EXPECT_TRUE(noFrames(0));

    // A minimized child is still open: opening it again brings it back instead of making a
    // second one, and the next command closes it.
    graph = window->openChild(Child::frmGrafico);
    sub = qobject_cast<QMdiSubWindow*>(graph->parentWidget());
    sub->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->openChild(Child::frmGrafico), graph);
    EXPECT_FALSE(sub->isMinimized());
    sub->showMinimized();
    QCoreApplication::processEvents();
    closed.clear();
    window->toolbar1Click(4);
    EXPECT_EQ(closed, std::vector<Child>{Child::frmGrafico});
    EXPECT_TRUE(noFrames(1));
}
