#pragma once
// SummaryWindow: the shipment summary of the record studied. A coloured verdict banner, the
// figures, the minutes in each zone with the minutes allowed above and below (changing one
// judges the shipment again at once), and the excursions.

#include "records/MissionRecord.h"
#include "views/ShipmentSummary.h"

#include <QWidget>

class QLabel;
class QSpinBox;
class QTreeWidget;

namespace orvan { struct AppContext; }
namespace orvan::ui { class Workspace; }

namespace orvan::views {

class SummaryWindow : public QWidget {
    Q_OBJECT
public:
    SummaryWindow(orvan::ui::Workspace& main, const records::MissionRecord& record, QWidget* parent = nullptr);

    const ShipmentSummary& summary() const { return m_summary; }
    Allowances allowances() const { return m_summary.allowed; }
    // What the printed shipment report is drawn from.
    const records::MissionRecord& record() const { return m_record; }
    int idioma() const { return m_idioma; }

    QLabel* banner = nullptr;
    QSpinBox* allowAbove = nullptr;
    QSpinBox* allowBelow = nullptr;
    QTreeWidget* excursions = nullptr;
    QLabel* excursionCount = nullptr;

private:
    void buildControls();
    void rejudge();

    AppContext& m_app;
    records::MissionRecord m_record;   // a copy: the memory is shared, and the record studied may change
    int m_idioma = 0;
    ShipmentSummary m_summary;
};

// The banner's colours: pass green, fail red, no data grey.
QColor verdictColor(Verdict v);

} // namespace orvan::views
