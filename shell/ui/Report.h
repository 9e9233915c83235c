#pragma once
// A small banded report: a page header, a detail printed once and a page footer, each holding
// named labels, images and rules placed in millimetres on the page. It prints on any QPrinter,
// writes a PDF, and shows itself in a modal print preview from which the user prints or saves.
// Images may be painters rather than bitmaps, so a chart is drawn at the device's resolution.

#include <QFont>
#include <QPageLayout>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <functional>
#include <vector>

class QPaintDevice;
class QPainter;
class QWidget;

namespace orvan::shell {

class Report {
public:
    enum class Section { PageHeader, Detail, PageFooter };
    // Paints an image's content into its rectangle in device pixels.
    using Painter = std::function<void(QPainter& painter, const QRectF& target)>;

    Report(QString name, QPageLayout::Orientation orientation);

    const QString& name() const { return m_name; }
    QPageLayout::Orientation orientation() const { return m_orientation; }
    // Page size in millimetres (A4 in the report's orientation).
    QSizeF pageSizeMm() const;

    // Controls, by name; rectangles in millimetres from the page's top left corner.
    void addLabel(Section section, const QString& name, const QRectF& mm, const QFont& font,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
    void addImage(Section section, const QString& name, const QRectF& mm,
                  Qt::Alignment alignment = Qt::AlignCenter);
    void addRule(Section section, const QString& name, const QRectF& mm);

    bool hasControl(const QString& name) const;
    void setText(const QString& name, const QString& text);
    QString text(const QString& name) const;
    void setPixmap(const QString& name, const QPixmap& pixmap);
    QPixmap pixmap(const QString& name) const;
    void setPainter(const QString& name, Painter painter);

    // Paints the one page on an open painter of a page-sized device (a printer, a PDF, a picture).
    void paint(QPainter& painter, const QPaintDevice& device) const;

    // Writes the report as a one-page PDF. The file appears only complete: on failure an
    // existing file of that name stays as it was, and `error` says why.
    bool writePdf(const QString& path, QString* error = nullptr) const;

    // The modal preview window titled `title`; the user prints or saves a PDF from it.
    // Returns false, with `error` set, when no preview could be shown.
    bool preview(QWidget* parent, const QString& title, QString* error = nullptr) const;

private:
    enum class Kind { Label, Image, Rule };
    struct Control {
        Section section;
        Kind kind;
        QString name;
        QRectF mm;
        QFont font;
        Qt::Alignment alignment;
        QString text;
        QPixmap pixmap;
        Painter painter;
    };
    Control* find(const QString& name);
    const Control* find(const QString& name) const;

    QString m_name;
    QPageLayout::Orientation m_orientation;
    std::vector<Control> m_controls;
};

} // namespace orvan::shell
