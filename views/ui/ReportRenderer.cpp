#include "views/ui/ReportRenderer.h"

#include "base/AddedTexts.h"
#include "base/Encodings.h"
#include "base/ui/Pictures.h"
#include "records/RecordCaptions.h"
#include "views/SummaryFigures.h"
#include "views/TimeFormat.h"
#include "views/ui/Chart.h"
#include "views/ui/RecordChart.h"
#include "views/ui/SummaryWindow.h"

#include <QPainter>
#include <QPaintDevice>

namespace orvan::views::ui {

ReportRenderer::ReportRenderer(const records::MissionRecord& record, int idioma, Unit unit, Allowances allowed)
    : m_record(record), m_idioma(idioma), m_unit(unit), m_trademark(TextTable::LineaMarca(idioma))
{
    m_textos.CargaTextos(idioma);
    m_captions = records::recordCaptions(m_record, unit);
    m_summary = summarize(m_record, unit, allowed);
    m_puntos = CargaPuntos(m_record, unit);
    m_limits = limitsInDegrees(m_record, unit);
}

ReportRenderer::~ReportRenderer() = default;

void ReportRenderer::paintGraph(QPainter& painter, const QRectF& target) const
{
    renderChart(painter, target, false);
}

void ReportRenderer::renderChart(QPainter& painter, const QRectF& target, bool withLimits) const
{
    const int n = m_puntos.NumPuntos();
    if (!m_chart) {
        m_chart = std::make_unique<Chart>();
        m_chart->setLocale(languageLocale(m_idioma));
        loadRecordChart(*m_chart, m_puntos, m_limits, m_record.campos.InicioDatos);
        m_chart->setBatch(true);
        frameRecordChart(*m_chart, m_puntos, m_limits,
                         axisTitleText(m_textos, m_record.campos.Circular, 1, std::max(n, 1), n,
                                       m_record.campos.NumMuestras),
                         UnidadTexto(m_unit), languageLocale(m_idioma), 1, std::max(n, 1));
        m_chart->setLabelVisible(QStringLiteral("lbcursor"), false);
        m_chart->setBatch(false);
        m_samplesRange = {m_chart->axisMin(Chart::Axis::Y), m_chart->axisMax(Chart::Axis::Y)};
    }
    // The graph report frames the samples, as the graph opens; the shipment report has no zoom
    // and always frames both limit lines too, even when every sample stays well inside them.
    double low = m_samplesRange.first, high = m_samplesRange.second;
    if (withLimits) {
        low = std::min(low, double(m_limits.lo) - 1);
        high = std::max(high, double(m_limits.hi) + 1);
    }
    m_chart->setBatch(true);
    m_chart->setAxisRange(Chart::Axis::Y, low, high);
    m_chart->setAxisOrigin(Chart::Axis::Y, low);
    if (n > 0)
        m_chart->attachLabel(QStringLiteral("Title"), (m_chart->x(1) + m_chart->x(n)) / 2, high);
    m_chart->setBatch(false);
    m_chart->render(painter, target, Chart::Layers::WithoutCursor);
}

namespace {

// The page is designed in millimetres; fonts in points on the page, whatever the device.
class Page {
public:
    Page(QPainter& painter, const QRectF& page) : p(painter), m_page(page), m_dpmm(page.width() / 210.0)
    {
        const QPaintDevice* device = painter.device();
        m_pointScale = device ? m_dpmm * 25.4 / device->logicalDpiY() : 1.0;
    }

    QRectF mm(qreal x, qreal y, qreal w, qreal h) const
    {
        return QRectF(m_page.x() + x * m_dpmm, m_page.y() + y * m_dpmm, w * m_dpmm, h * m_dpmm);
    }

    void text(const QRectF& mmRect, const QString& s, qreal points, bool bold = false,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter, const QColor& color = Qt::black,
              bool wrap = false)
    {
        QFont f(QStringLiteral("Arial"));
        f.setStyleHint(QFont::SansSerif);
        f.setPointSizeF(points * m_pointScale);
        f.setBold(bold);
        p.setFont(f);
        p.setPen(color);
        const QRectF r = mm(mmRect.x(), mmRect.y(), mmRect.width(), mmRect.height());
        // A text longer than its box wraps where the box has room for it, else it is cut with an
        // ellipsis rather than run into its neighbour.
        if (wrap)
            p.drawText(r, int(align) | Qt::TextWordWrap, s);
        else
            p.drawText(r, int(align), QFontMetricsF(f, p.device()).elidedText(s, Qt::ElideRight, r.width()));
    }

    void rule(qreal x, qreal y, qreal w, const QColor& color = QColor(0x33, 0x33, 0x33), qreal widthMm = 0.35)
    {
        p.setPen(QPen(color, std::max<qreal>(1.0, widthMm * m_dpmm)));
        p.drawLine(mm(x, y, w, 0).topLeft(), mm(x, y, w, 0).topRight());
    }

    QPainter& p;

private:
    QRectF m_page;
    qreal m_dpmm;
    qreal m_pointScale = 1.0;
};

const QColor kGrey(0x55, 0x5e, 0x68);
constexpr qreal kLeft = 15, kWidth = 180;

} // namespace

void ReportRenderer::paintShipmentPage(QPainter& painter, const QRectF& page, const QString& caption) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    Page pg(painter, page);
    const ShipmentSummary& s = m_summary;

    // Header: the maker, the report's title and the program's caption.
    painter.drawPixmap(pg.mm(kLeft, 11, 64, 16), orvan::ui::Pictures::makerPicture(QSize(640, 160)), QRectF(0, 0, 640, 160));
    pg.text(QRectF(82, 10, 113, 10), addedText(AddedText::ShipmentReport, m_idioma), 16, true, Qt::AlignRight | Qt::AlignVCenter);
    pg.text(QRectF(82, 20, 113, 6), caption, 8, false, Qt::AlignRight | Qt::AlignVCenter, kGrey);
    pg.rule(kLeft, 30, kWidth);

    // The record: who shipped it with whom, and when and how it was logged.
    const auto field = [&](qreal x, qreal y, const QString& label, const QString& value) {
        pg.text(QRectF(x, y, 40, 5.5), label, 8, false, Qt::AlignLeft | Qt::AlignVCenter, kGrey);
        pg.text(QRectF(x + 41, y, 46, 5.5), value.trimmed(), 9, true);
    };
    const RecordPanel& c = m_captions;
    field(kLeft, 33, m_textos[Text::LoggerSerial].trimmed(), c.serial);
    field(kLeft, 39, m_textos[Text::FileName].trimmed(), c.file);
    field(kLeft, 45, m_textos[Text::ExporterName].trimmed(), c.exporter);
    field(kLeft, 51, m_textos[Text::CarrierName].trimmed(), c.carrier);
    field(108, 33, m_textos[Text::StartTime].trimmed(), c.start);
    field(108, 39, m_textos[Text::FinishTime].trimmed(), c.end);
    field(108, 45, m_textos[Text::TimeBetweenSamples].trimmed(), QStringLiteral("%1 min").arg(s.interval));
    field(108, 51, addedText(AddedText::Limits, m_idioma),
          degreesText(s.lowLimit, m_unit, m_numbers) + QStringLiteral("  \u2013  ") + degreesText(s.highLimit, m_unit, m_numbers));

    // The verdict banner.
    const QRectF banner = pg.mm(kLeft, 60, kWidth, 15);
    painter.setPen(Qt::NoPen);
    painter.setBrush(verdictColor(s.verdict));
    painter.drawRoundedRect(banner, banner.height() * 0.18, banner.height() * 0.18);
    pg.text(QRectF(kLeft, 60, kWidth, 15), verdictText(s.verdict, m_idioma).toUpper(), 22, true, Qt::AlignCenter, Qt::white);

    // The figures on the left, the minutes in each zone on the right.
    qreal y = 80;
    for (const FigureRow& f : summaryFigures(s, m_textos, m_idioma, m_numbers)) {
        if (f.label.isEmpty()) {
            pg.text(QRectF(kLeft, y, 100, 5.2), f.value, 8.5, false, Qt::AlignLeft | Qt::AlignVCenter, kGrey);
        } else {
            pg.text(QRectF(kLeft, y, 56, 5.2), f.label, 8.5);
            pg.text(QRectF(kLeft + 56, y, 20, 5.2), f.value, 9, true, Qt::AlignRight | Qt::AlignVCenter);
            pg.text(QRectF(kLeft + 78, y, 28, 5.2), f.time, 8, false, Qt::AlignLeft | Qt::AlignVCenter, kGrey);
        }
        y += 5.2;
    }
    // Zone 40 mm, minutes 14 mm, allowed 15 mm with a gap before each: the headings and the
    // longer zone names wrap.
    const qreal zx = 124;
    const Qt::Alignment bottomRight = Qt::AlignRight | Qt::AlignBottom;
    pg.text(QRectF(zx, 79, 40, 11), addedText(AddedText::Zone, m_idioma), 8, true, Qt::AlignLeft | Qt::AlignBottom);
    pg.text(QRectF(zx + 41, 79, 14, 11), addedText(AddedText::Minutes, m_idioma), 8, true, bottomRight, Qt::black, true);
    pg.text(QRectF(zx + 56, 79, 15, 11), addedText(AddedText::AllowedMinutes, m_idioma), 8, true, bottomRight, Qt::black, true);
    pg.rule(zx, 90.5, 71, kGrey, 0.2);
    qreal zy = 91.3;
    for (const FigureRow& z : zoneMinutes(s, m_idioma)) {
        pg.text(QRectF(zx, zy, 40, 7.4), z.label, 8, false, Qt::AlignLeft | Qt::AlignVCenter, Qt::black, true);
        pg.text(QRectF(zx + 41, zy, 14, 7.4), z.value, 9, true, Qt::AlignRight | Qt::AlignVCenter);
        pg.text(QRectF(zx + 56, zy, 15, 7.4), z.time, 9, false, Qt::AlignRight | Qt::AlignVCenter);
        zy += 7.4;
    }

    // The graph of the whole record.
    const qreal graphTop = std::max<qreal>(y, zy) + 3;
    const qreal graphHeight = 80;
    renderChart(painter, pg.mm(kLeft, graphTop, kWidth, graphHeight), true);

    // The excursions that fit above the footer.
    const qreal footer = 280;
    const qreal rowHeight = 4.6;
    qreal ey = graphTop + graphHeight + 3;
    const int total = s.excursions.size();
    const qreal headHeight = 7.6;   // two lines: the longer headings wrap
    const int fits = std::max(0, int((footer - 1 - (ey + 5.5 + headHeight + 0.8)) / rowHeight));
    const int listed = std::min({total, fits, kExcursionsListed});
    pg.text(QRectF(kLeft, ey, kWidth, 5.5),
            total == 0 ? addedText(AddedText::NoExcursions, m_idioma) : excursionsCaption(listed, total, m_idioma), 9.5, true);
    ey += 5.5;
    if (listed > 0) {
        const qreal columns[] = {kLeft, kLeft + 62, kLeft + 100, kLeft + 126, kLeft + 150, kLeft + kWidth};
        const auto row = [&](const QStringList& cells, bool head) {
            const qreal height = head ? headHeight : rowHeight;
            for (int i = 0; i < 5; ++i) {
                const Qt::Alignment a = (i >= 2 ? Qt::AlignRight : Qt::AlignLeft) | (head ? Qt::AlignBottom : Qt::AlignVCenter);
                pg.text(QRectF(columns[i], ey, columns[i + 1] - columns[i] - 2, height), cells.value(i), 8, head, a,
                        head ? kGrey : Qt::black, head);
            }
            ey += height;
        };
        row({addedText(AddedText::Zone, m_idioma), m_textos[Text::Date].trimmed(), m_textos[Text::SampleQuantity].trimmed(),
             addedText(AddedText::Minutes, m_idioma), addedText(AddedText::Peak, m_idioma)},
            true);
        pg.rule(kLeft, ey, kWidth, kGrey, 0.2);
        ey += 0.8;
        for (int i = 0; i < listed; ++i)
            row(excursionCells(s.excursions[i], m_unit, m_idioma, m_numbers), false);
    }

    pg.rule(kLeft, footer, kWidth);
    pg.text(QRectF(kLeft, footer + 2, kWidth, 7), m_trademark, 8, false, Qt::AlignHCenter | Qt::AlignVCenter);
    painter.restore();
}

} // namespace orvan::views::ui
