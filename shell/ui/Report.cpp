#include "shell/ui/Report.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QStyle>

namespace orvan::shell {

Report::Report(QString name, QPageLayout::Orientation orientation)
    : m_name(std::move(name)), m_orientation(orientation)
{
}

QSizeF Report::pageSizeMm() const
{
    const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    return m_orientation == QPageLayout::Landscape ? a4.transposed() : a4;
}

void Report::addLabel(Section section, const QString& name, const QRectF& mm, const QFont& font,
                      Qt::Alignment alignment)
{
    m_controls.push_back({section, Kind::Label, name, mm, font, alignment, {}, {}, {}});
}

void Report::addImage(Section section, const QString& name, const QRectF& mm, Qt::Alignment alignment)
{
    m_controls.push_back({section, Kind::Image, name, mm, {}, alignment, {}, {}, {}});
}

void Report::addRule(Section section, const QString& name, const QRectF& mm)
{
    m_controls.push_back({section, Kind::Rule, name, mm, {}, {}, {}, {}, {}});
}

Report::Control* Report::find(const QString& name)
{
    for (Control& c : m_controls)
        if (c.name == name)
            return &c;
    return nullptr;
}

const Report::Control* Report::find(const QString& name) const
{
    return const_cast<Report*>(this)->find(name);
}

bool Report::hasControl(const QString& name) const { return find(name) != nullptr; }

void Report::setText(const QString& name, const QString& text)
{
    if (Control* c = find(name))
        c->text = text;
}

QString Report::text(const QString& name) const
{
    const Control* c = find(name);
    return c ? c->text : QString();
}

void Report::setPixmap(const QString& name, const QPixmap& pixmap)
{
    if (Control* c = find(name)) {
        c->pixmap = pixmap;
        c->painter = {};
    }
}

QPixmap Report::pixmap(const QString& name) const
{
    const Control* c = find(name);
    return c ? c->pixmap : QPixmap();
}

void Report::setPainter(const QString& name, Painter painter)
{
    if (Control* c = find(name)) {
        c->painter = std::move(painter);
        c->pixmap = QPixmap();
    }
}

void Report::paint(QPainter& painter, const QPaintDevice& device) const
{
    // Millimetres of the full page (not the printable area) to device pixels, so that the design
    // lands in the same place on a PDF and on paper. The printer's margins are zero.
    const qreal dpmm = device.logicalDpiX() / 25.4;
    const auto toDevice = [dpmm](const QRectF& mm) {
        return QRectF(mm.x() * dpmm, mm.y() * dpmm, mm.width() * dpmm, mm.height() * dpmm);
    };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Sections in print order; the detail prints once.
    for (Section section : {Section::PageHeader, Section::Detail, Section::PageFooter}) {
        for (const Control& c : m_controls) {
            if (c.section != section)
                continue;
            const QRectF r = toDevice(c.mm);
            switch (c.kind) {
            case Kind::Label:
                painter.setFont(c.font);
                painter.setPen(Qt::black);
                painter.drawText(r, int(c.alignment) | Qt::TextWordWrap, c.text);
                break;
            case Kind::Rule:
                painter.setPen(QPen(QColor(0x33, 0x33, 0x33), qMax<qreal>(1.0, 0.35 * dpmm)));
                painter.drawLine(r.topLeft(), r.topLeft() + QPointF(r.width(), r.height()));
                break;
            case Kind::Image:
                if (c.painter) {
                    painter.save();
                    painter.setClipRect(r);
                    c.painter(painter, r);
                    painter.restore();
                } else if (!c.pixmap.isNull()) {
                    // Keep the picture's proportions, placed in its frame by the control's alignment.
                    const QSizeF s = QSizeF(c.pixmap.size()).scaled(r.size(), Qt::KeepAspectRatio);
                    const QRect fit = QStyle::alignedRect(Qt::LeftToRight, c.alignment, s.toSize(), r.toRect());
                    painter.drawPixmap(fit, c.pixmap, QRectF(c.pixmap.rect()));
                }
                break;
            }
        }
    }
    painter.restore();
}

namespace {

void setUpPage(QPagedPaintDevice& device, QPageLayout::Orientation orientation)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0)));
}

} // namespace

bool Report::writePdf(const QString& path, QString* error) const
{
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("%1 is a folder").arg(QDir::toNativeSeparators(path)));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(m_name);
        pdf.setCreator(QStringLiteral("OrvanLog"));
        pdf.setResolution(600);
        setUpPage(pdf, m_orientation);
        QPainter painter;
        if (!painter.begin(&pdf)) {
            file.cancelWriting();
            return fail(QStringLiteral("cannot start the PDF %1").arg(QDir::toNativeSeparators(path)));
        }
        paint(painter, pdf);
        painter.end();
    }
    if (!file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    return true;
}

bool Report::preview(QWidget* parent, const QString& title, QString* error) const
{
    QPrinter printer(QPrinter::HighResolution);
    if (!printer.isValid()) {
        if (error)
            *error = QStringLiteral("no printer is available");
        return false;
    }
    setUpPage(printer, m_orientation);
    printer.setDocName(m_name);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    dialog.setWindowModality(Qt::ApplicationModal);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this](QPrinter* p) {
        QPainter painter(p);
        paint(painter, *p);
    });
    if (parent)
        dialog.resize(parent->size() * 0.9);
    dialog.exec();
    return true;
}

} // namespace orvan::shell
