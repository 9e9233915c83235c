#pragma once
// The layout the histogram and the proportions views share: two panels, the first for the
// samples the record holds and the second for the logger's count table (shown only when the
// mission took more samples than the memory holds), each with a chart, the count caption and
// the three zone captions.

#include "base/TextTable.h"
#include "views/ZoneCounts.h"

#include <QWidget>
#include <array>

class QLabel;
class QFrame;

namespace orvan { struct AppContext; }
namespace orvan::records { class MissionRecord; }
namespace orvan::ui { class Workspace; }

namespace orvan::views {

namespace ui { class Chart; }

class ZoneWindow : public QWidget {
    Q_OBJECT
public:
    const ZoneCounts& counts() const { return m_counts; }

    QFrame* Frame1 = nullptr;
    QFrame* Frame2 = nullptr;
    ui::Chart* Chart2D1 = nullptr;
    ui::Chart* Chart2D2 = nullptr;
    std::array<QLabel*, 2> lbCantMuestras{}, lbMueOk{}, lbMueMay{}, lbMueMen{};
    QLabel* lbCopyrigt = nullptr;

protected:
    ZoneWindow(orvan::ui::Workspace& main, const records::MissionRecord& record, CountView view, const QString& name,
               Text title, QWidget* parent);

    // Counts, sets the captions, then lets the view draw its charts.
    void PoneResultados();
    virtual void draw() = 0;

    // Each zone in one colour across the charts and the captions.
    void colorZones(ui::Chart* chart) const;

    AppContext& m_app;
    const records::MissionRecord& m_record;
    const CountView m_view;
    ZoneCounts m_counts;

private:
    void buildControls();
    QFrame* panel(int row, ui::Chart*& chart);
};

} // namespace orvan::views
