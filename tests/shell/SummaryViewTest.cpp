// The shipment summary in the main window: its toolbar button goes with the other record views,
// its banner follows the allowances at once, and the print command prints its report.

#include "ShellUiFixture.h"
#include "views/TestRecords.h"
#include "views/ui/SummaryWindow.h"

#include <QAction>
#include <QLabel>
#include <QSpinBox>

using namespace shelltest;
using orvan::views::SummaryWindow;
using orvan::views::Verdict;

TEST_F(ShellUiTest, SummaryGoesWithTheRecordViewsAndItsBannerFollowsTheAllowances)
{
    start();
    QAction* button = window->toolbar1Button(8);
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->isEnabled());
    const auto reportName = [this] { return orvan::shell::buildPrintReport(*window, app->GraficoActivo, orvan::shell::printCommand())->name(); };
    // Ten samples at 5 °C between limits 2 and 8 °C, every 15 minutes; `hot` of them at 10 °C.
    for (const auto& [hot, verdict, text] : {std::tuple{0, Verdict::Pass, "APROBADO"}, std::tuple{2, Verdict::Fail, "RECHAZADO"}}) {
        SCOPED_TRACE(hot);
        std::vector<int> raw(10, 90);
        std::fill_n(raw.begin() + 3, hot, 100);
        record = orvan::views::testdata::makeRecord({10}, raw);
        window->HabilitaBotones();
        window->toolbar1Click(8);
        auto* summary = qobject_cast<SummaryWindow*>(window->child(Child::Summary));
        ASSERT_NE(summary, nullptr);
        EXPECT_EQ(summary->summary().verdict, verdict);
        EXPECT_EQ(summary->banner->text(), QString::fromUtf8(text));
        EXPECT_EQ(summary->banner->palette().color(QPalette::Window), orvan::views::verdictColor(verdict));

        // 2 hot samples are 30 minutes above: 29 allowed still fails, 30 passes, below changes nothing.
        summary->allowBelow->setValue(1000);
        summary->allowAbove->setValue(29);
        EXPECT_EQ(summary->summary().verdict, verdict);
        summary->allowAbove->setValue(30);
        EXPECT_EQ(summary->summary().verdict, Verdict::Pass);
        EXPECT_EQ(summary->banner->palette().color(QPalette::Window), orvan::views::verdictColor(Verdict::Pass));
        EXPECT_EQ(reportName(), QStringLiteral("arEnvio"));   // the last view opened: its report

        // Closed by another view (then the screen report) and by the configuration, which turns its button off.
        window->toolbar1Click(hot ? 5 : 3);
        EXPECT_EQ(window->child(Child::Summary), nullptr);
    }
    EXPECT_EQ(reportName(), QStringLiteral("arScreen"));
    window->toolbar1Click(8);
    window->toolbar2Click(2);
    EXPECT_EQ(window->child(Child::Summary), nullptr);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(sink.messages.isEmpty()) << sink.messages.join(QStringLiteral("\n")).toStdString();
}
