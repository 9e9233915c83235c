#include "shell/ui/PrintReports.h"

#include "base/Encodings.h"
#include "base/ui/Pictures.h"
#include "base/ui/StatusPanel.h"
#include "views/ui/ReportRenderer.h"

#include <QLabel>

namespace orvan::shell {

namespace {

using Section = Report::Section;

// The report's design fonts; where a family is missing the system's sans serif stands in.
QFont designFont(const QString& family, qreal points, bool bold)
{
    QFont f(family);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QFont arial(qreal points, bool bold = false)
{
    return designFont(QStringLiteral("Arial"), points, bold);
}

QFont sansSerif(qreal points, bool bold = false)
{
    return designFont(QStringLiteral("MS Sans Serif"), points, bold);
}

QPixmap labelPicture(const QLabel* label)
{
    return label ? label->pixmap() : QPixmap();
}

QString caption(const QLabel* label)
{
    return label ? label->text() : QString();
}

} // namespace

std::unique_ptr<Report> makeScreenReport()
{
    auto r = std::make_unique<Report>(QStringLiteral("arScreen"), QPageLayout::Portrait);
    // A4 portrait, 210 x 297 mm.
    r->addImage(Section::PageHeader, QStringLiteral("Image2"), QRectF(15, 12, 64, 16));
    r->addLabel(Section::PageHeader, QStringLiteral("Label1"), QRectF(82, 12, 113, 18), arial(15, true),
                Qt::AlignRight | Qt::AlignVCenter);
    r->addRule(Section::PageHeader, QStringLiteral("Line1"), QRectF(15, 34, 180, 0));
    r->addRule(Section::PageHeader, QStringLiteral("Line2"), QRectF(15, 35.2, 180, 0));
    r->addImage(Section::Detail, QStringLiteral("Image1"), QRectF(15, 42, 180, 230), Qt::AlignTop | Qt::AlignHCenter);
    r->addRule(Section::PageFooter, QStringLiteral("LineFooter"), QRectF(15, 279, 180, 0));
    r->addLabel(Section::PageFooter, QStringLiteral("lbPie"), QRectF(15, 281, 180, 8), arial(8),
                Qt::AlignHCenter | Qt::AlignVCenter);
    r->setPixmap(QStringLiteral("Image2"), ui::Pictures::makerPicture(QSize(640, 160)));
    return r;
}

void fillScreenReport(Report& report, const QString& title, const QPixmap& picture, const QString& trademarkLine)
{
    report.setText(QStringLiteral("Label1"), title);
    report.setPixmap(QStringLiteral("Image1"), picture);
    report.setText(QStringLiteral("lbPie"), trademarkLine);
}

std::unique_ptr<Report> makeGraphReport()
{
    auto r = std::make_unique<Report>(QStringLiteral("arGrafic"), QPageLayout::Landscape);
    // A4 landscape, 297 x 210 mm. Header: title line, then three columns of record fields with
    // their icons; the chart fills the detail; the trademark line closes the page.
    r->addImage(Section::PageHeader, QStringLiteral("Image6"), QRectF(12, 8, 64, 16));
    r->addLabel(Section::PageHeader, QStringLiteral("Label1"), QRectF(80, 8, 205, 16), arial(14, true),
                Qt::AlignRight | Qt::AlignVCenter);
    r->addRule(Section::PageHeader, QStringLiteral("Line1"), QRectF(12, 26, 273, 0));

    const QFont field = sansSerif(9);
    const QFont fieldBold = sansSerif(9, true);
    const auto row = [&](const QString& icon, const QString& label, qreal x, qreal y, qreal w, bool bold = false) {
        r->addImage(Section::PageHeader, icon, QRectF(x, y, 5, 5));
        r->addLabel(Section::PageHeader, label, QRectF(x + 7, y - 0.5, w, 6), bold ? fieldBold : field);
    };
    // Column 1: start, end, interval, samples.
    row(QStringLiteral("Image2"), QStringLiteral("lbInicio"), 12, 29, 70);
    row(QStringLiteral("Image3"), QStringLiteral("lbFin"), 12, 36, 70);
    row(QStringLiteral("Image4"), QStringLiteral("lbRango"), 12, 43, 70);
    row(QStringLiteral("Image5"), QStringLiteral("lbCantMuestras"), 12, 50, 70);
    // Column 2: serial, file, exporter, carrier.
    r->addImage(Section::PageHeader, QStringLiteral("Image7"), QRectF(95, 29, 5, 5));
    r->addLabel(Section::PageHeader, QStringLiteral("lbSerial"), QRectF(102, 28.5, 80, 6), fieldBold);
    r->addImage(Section::PageHeader, QStringLiteral("Image8"), QRectF(95, 36, 5, 5));
    r->addLabel(Section::PageHeader, QStringLiteral("lbArchivo"), QRectF(102, 35.5, 80, 6), field);
    row(QStringLiteral("imgExport"), QStringLiteral("lbExport"), 95, 43, 80);
    row(QStringLiteral("imgTransport"), QStringLiteral("lbTransport"), 95, 50, 80);
    // Column 3: limits with their exceeded pictures.
    r->addImage(Section::PageHeader, QStringLiteral("imgMin"), QRectF(190, 29, 5, 5));
    r->addLabel(Section::PageHeader, QStringLiteral("lbMin"), QRectF(197, 28.5, 40, 6), field);
    r->addImage(Section::PageHeader, QStringLiteral("ImgMinOK"), QRectF(238, 28.5, 6, 6));
    r->addImage(Section::PageHeader, QStringLiteral("imgMax"), QRectF(190, 36, 5, 5));
    r->addLabel(Section::PageHeader, QStringLiteral("lbMax"), QRectF(197, 35.5, 40, 6), field);
    r->addImage(Section::PageHeader, QStringLiteral("imgMaxOK"), QRectF(238, 35.5, 6, 6));
    r->addImage(Section::PageHeader, QStringLiteral("Image9"), QRectF(250, 28.5, 35, 20));
    // The graph window's two notes.
    r->addLabel(Section::PageHeader, QStringLiteral("lbTexto0"), QRectF(12, 57, 136, 6), arial(9));
    r->addLabel(Section::PageHeader, QStringLiteral("lbTexto1"), QRectF(149, 57, 136, 6), arial(9));
    r->addRule(Section::PageHeader, QStringLiteral("Line2"), QRectF(12, 64, 273, 0));

    r->addImage(Section::Detail, QStringLiteral("Image1"), QRectF(12, 67, 273, 125));

    r->addRule(Section::PageFooter, QStringLiteral("LineFooter"), QRectF(12, 196, 273, 0));
    r->addLabel(Section::PageFooter, QStringLiteral("lbPie"), QRectF(12, 198, 273, 7), arial(8),
                Qt::AlignHCenter | Qt::AlignVCenter);

    // The fixed design: logo, the file and serial glyphs, the logger.
    r->setPixmap(QStringLiteral("Image6"), ui::Pictures::makerPicture(QSize(640, 160)));
    r->setPixmap(QStringLiteral("Image7"), ui::Pictures::serialIcon(64));
    r->setPixmap(QStringLiteral("Image8"), ui::Pictures::fileIcon(64));
    r->setPixmap(QStringLiteral("Image9"), ui::Pictures::statePicture(9, 96));
    return r;
}

void fillGraphReport(Report& r, const QString& title, const RecordPanel& v, const GraphPrintSource& graph,
                     const QString& trademarkLine)
{
    r.setText(QStringLiteral("Label1"), title);
    // The record as the panel shows it, with the panel's icons.
    using Item = ui::StatusPanel::Item;
    using ui::StatusPanel;
    constexpr int kIcon = 64;
    r.setText(QStringLiteral("lbInicio"), reformatDateCaption(v.start));
    r.setText(QStringLiteral("lbFin"), reformatDateCaption(v.end));
    r.setText(QStringLiteral("lbRango"), v.interval);
    r.setText(QStringLiteral("lbCantMuestras"), v.samples);
    r.setText(QStringLiteral("lbSerial"), QStringLiteral("Serial: ") + v.serial);
    r.setText(QStringLiteral("lbArchivo"), v.file);
    r.setText(QStringLiteral("lbExport"), v.exporter);
    r.setText(QStringLiteral("lbTransport"), v.carrier);
    r.setText(QStringLiteral("lbMin"), v.lowLimit);
    r.setText(QStringLiteral("lbMax"), v.highLimit);
    r.setPixmap(QStringLiteral("Image2"), StatusPanel::fieldIcon(Item::Start, kIcon));
    r.setPixmap(QStringLiteral("Image3"), StatusPanel::fieldIcon(Item::End, kIcon));
    r.setPixmap(QStringLiteral("Image4"), StatusPanel::fieldIcon(Item::Interval, kIcon));
    r.setPixmap(QStringLiteral("Image5"), StatusPanel::fieldIcon(Item::Samples, kIcon));
    r.setPixmap(QStringLiteral("imgExport"), StatusPanel::fieldIcon(Item::Exporter, kIcon));
    r.setPixmap(QStringLiteral("imgTransport"), StatusPanel::fieldIcon(Item::Carrier, kIcon));
    r.setPixmap(QStringLiteral("imgMin"), StatusPanel::fieldIcon(Item::LowLimit, kIcon));
    r.setPixmap(QStringLiteral("imgMax"), StatusPanel::fieldIcon(Item::HighLimit, kIcon));
    r.setPixmap(QStringLiteral("ImgMinOK"), ui::Pictures::statePicture(v.lowExceeded ? 2 : 1, kIcon));
    r.setPixmap(QStringLiteral("imgMaxOK"), ui::Pictures::statePicture(v.highExceeded ? 2 : 1, kIcon));
    r.setText(QStringLiteral("lbTexto0"), graph.text0);
    r.setText(QStringLiteral("lbTexto1"), graph.text1);
    if (graph.chart)
        r.setPainter(QStringLiteral("Image1"), graph.chart);
    else
        r.setPixmap(QStringLiteral("Image1"), QPixmap());
    r.setText(QStringLiteral("lbPie"), trademarkLine);
}

std::unique_ptr<Report> makeShipmentReport(std::shared_ptr<const views::ui::ReportRenderer> renderer,
                                           const QString& caption)
{
    auto r = std::make_unique<Report>(QStringLiteral("arEnvio"), QPageLayout::Portrait);
    // The renderer lays the whole A4 portrait page out itself.
    r->addImage(Section::Detail, QStringLiteral("Page"), QRectF(QPointF(0, 0), r->pageSizeMm()));
    r->setPainter(QStringLiteral("Page"), [renderer, caption](QPainter& painter, const QRectF& page) {
        renderer->paintShipmentPage(painter, page, caption);
    });
    return r;
}

} // namespace orvan::shell
