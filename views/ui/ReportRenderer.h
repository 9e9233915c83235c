#pragma once
// The printed pages of a record, drawn from the record, the language and the unit alone: the
// temperature graph of the whole record and the one-page shipment report. No window is built or
// shown, so the command line prints what the application prints. Painting needs a
// QApplication (the chart is a widget that is never shown).

#include "base/PanelValues.h"
#include "base/TextTable.h"
#include "records/MissionRecord.h"
#include "views/GraphPoints.h"
#include "views/ShipmentSummary.h"

#include <QLocale>
#include <memory>
#include <utility>

class QPainter;
class QRectF;

namespace orvan::views::ui {

class Chart;

class ReportRenderer {
public:
    // The record is copied (its memory is shared, not duplicated), so a preview outlives the
    // window it was printed from.
    ReportRenderer(const records::MissionRecord& record, int idioma, Unit unit, Allowances allowed = {});
    ~ReportRenderer();

    // The status panel's texts of the record: the graph report's header.
    const RecordPanel& captions() const { return m_captions; }
    const ShipmentSummary& summary() const { return m_summary; }
    const QString& trademarkLine() const { return m_trademark; }

    // The whole record's temperature graph with its two limit lines, into target (device
    // pixels of the painter's device).
    void paintGraph(QPainter& painter, const QRectF& target) const;

    // The shipment report on an A4 portrait page whose full extent is `page` in device pixels:
    // header under `caption`, the verdict banner, the figures, the graph and the excursions that
    // fit, and the trademark line.
    void paintShipmentPage(QPainter& painter, const QRectF& page, const QString& caption) const;

private:
    void renderChart(QPainter& painter, const QRectF& target, bool withLimits) const;

    records::MissionRecord m_record;
    int m_idioma;
    Unit m_unit;
    TextTable m_textos;
    QLocale m_numbers;
    QString m_trademark;
    RecordPanel m_captions;
    ShipmentSummary m_summary;
    Puntos m_puntos;
    Limits m_limits;
    mutable std::unique_ptr<Chart> m_chart;   // built at the first paint
    mutable std::pair<double, double> m_samplesRange;   // Y range framing the samples
};

} // namespace orvan::views::ui
