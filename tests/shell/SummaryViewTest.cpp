// The shipment summary in the main window: its toolbar button goes with the other record views,
// its banner follows the allowances at once, and the print command prints its report.

#include "ShellUiFixture.h"
#include "views/TestRecords.h"

#include "shell/ui/PrintCommand.h"
#include "shell/ui/WindowRegistry.h"
#include "views/ui/SummaryWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QSpinBox>

using namespace shelltest;
using orvan::views::SummaryWindow;
using orvan::views::Verdict;

namespace {

// Ten samples at 5 °C between limits 2 and 8 °C, every 15 minutes; `hot` of them at 10 °C.
orvan::records::MissionRecord shipment(int hot)
{
    std::vector<int> raw(10, 90);
    for (int k = 0; k < hot; ++k)
        raw[size_t(3 + k)] = 100;
    return orvan::views::testdata::makeRecord({10}, raw);
}

} // namespace

TEST_F(ShellUiTest, SummaryButtonGoesWithTheRecordViews)
{
    start();
    QAction* button = window->toolbar1Button(8);
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_EQ(button->toolTip(), QStringLiteral("Resumen del envío"));
    window->HabilitaBotones();
    EXPECT_TRUE(button->isEnabled());

    record = shipment(0);
    // Closed by another view, by the configuration, and its button off with the others.
    for (const auto& closeBy : {std::function<void()>([&] { window->toolbar1Click(3); }),
                                std::function<void()>([&] { window->toolbar2Click(2); })}) {
        window->HabilitaBotones();
        window->toolbar1Click(8);
        ASSERT_NE(qobject_cast<SummaryWindow*>(window->child(Child::Summary)), nullptr);
        closeBy();
        QCoreApplication::processEvents();
        EXPECT_EQ(window->child(Child::Summary), nullptr);
    }
    EXPECT_FALSE(button->isEnabled());
}

TEST_F(ShellUiTest, SummaryBannerFollowsTheAllowancesAndPrintsTheShipmentReport)
{
    start();
    window->HabilitaBotones();
    const struct {
        int hot;
        Verdict before;
        const char* text;
    } cases[] = {{0, Verdict::Pass, "APROBADO"}, {2, Verdict::Fail, "RECHAZADO"}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.hot);
        record = shipment(k.hot);
        window->toolbar1Click(8);
        auto* summary = qobject_cast<SummaryWindow*>(window->child(Child::Summary));
        ASSERT_NE(summary, nullptr);
        EXPECT_EQ(summary->summary().verdict, k.before);
        EXPECT_EQ(summary->banner->text(), QString::fromUtf8(k.text));
        EXPECT_EQ(summary->banner->palette().color(QPalette::Window), orvan::views::verdictColor(k.before));

        // 2 hot samples are 30 minutes above: 29 allowed still fails, 30 passes, below changes nothing.
        summary->allowBelow->setValue(1000);
        summary->allowAbove->setValue(29);
        EXPECT_EQ(summary->summary().verdict, k.hot ? Verdict::Fail : Verdict::Pass);
        summary->allowAbove->setValue(30);
        EXPECT_EQ(summary->summary().verdict, Verdict::Pass);
        EXPECT_EQ(summary->banner->palette().color(QPalette::Window), orvan::views::verdictColor(Verdict::Pass));

        // The summary is the last view opened: its report, with the allowances it shows.
        const auto report = orvan::shell::buildPrintReport(*window, app->GraficoActivo, orvan::shell::printCommand());
        EXPECT_EQ(report->name(), QStringLiteral("arEnvio"));
        EXPECT_EQ(report->orientation(), QPageLayout::Portrait);
    }
    window->toolbar1Click(5);
    EXPECT_EQ(orvan::shell::buildPrintReport(*window, app->GraficoActivo, orvan::shell::printCommand())->name(),
              QStringLiteral("arScreen"));
    EXPECT_TRUE(sink.messages.isEmpty()) << sink.messages.join(QStringLiteral("\n")).toStdString();
}
