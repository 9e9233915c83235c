#include "views/ui/SampleListWindow.h"

#include "base/AppContext.h"
#include "base/Encodings.h"
#include "base/RuntimeError.h"
#include "base/ui/Pictures.h"
#include "base/ui/Twips.h"
#include "base/ui/Workspace.h"
#include "records/MissionRecord.h"
#include "views/CsvExport.h"
#include "views/ui/ViewWindow.h"
#include "views/ui/ZoneColors.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace orvan::views {

namespace {

const QString kFormName = QStringLiteral("Detalle");

// The three heading pairs, one over each column of 17 rows: (date, temperature) labels.
struct TitlePair { int date, temp; };

void paintCell(QLabel* l, const QColor& background, const QColor& text, bool bold)
{
    QPalette p = l->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    l->setPalette(p);
    QFont f = l->font();
    f.setBold(bold);
    l->setFont(f);
}

} // namespace

SampleListWindow::SampleListWindow(orvan::ui::Workspace& main, const records::MissionRecord& record, QWidget* parent)
    : QWidget(parent), m_main(main), m_app(main.app()), m_record(record), m_locale()
{
    setObjectName(kFormName);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_app.textos[Text::TemperatureList]);
    buildControls();

    // Headings.
    const QString unit = m_app.UnidadTexto();
    lbKm[0]->setText(unit);
    lbtitu[1]->setText(unit);
    lbtitu[18]->setText(unit);
    lbFecha[0]->setText(m_app.textos[Text::Date]);
    lbtitu[0]->setText(m_app.textos[Text::Date]);
    lbtitu[2]->setText(m_app.textos[Text::Date]);

    m_list = CargaMuestras(m_record, m_app.unit());
    VScroll1->setRange(1, m_list.scrollMax);
    VScroll1->setValue(1);
    m_primeraFila = 1;
    MuestraFilas();
}

void SampleListWindow::buildControls()
{
    auto* table = new QWidget(this);
    table->setObjectName(QStringLiteral("tabla"));
    table->setAutoFillBackground(true);
    QPalette white = table->palette();
    white.setColor(QPalette::Window, Qt::white);
    table->setPalette(white);

    auto* grid = new QGridLayout(table);
    grid->setContentsMargins(12, 8, 8, 8);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);

    QFont title = font();
    title.setBold(true);
    const auto header = [&](const QString& name, Qt::Alignment a) {
        auto* l = new QLabel(table);
        l->setObjectName(name);
        l->setFont(title);
        l->setAlignment(a | Qt::AlignVCenter);
        return l;
    };
    lbFecha[0] = header(QStringLiteral("lbFecha_0"), Qt::AlignLeft);
    lbKm[0] = header(QStringLiteral("lbKm_0"), Qt::AlignRight);
    for (int i : {0, 1, 2, 18})
        lbtitu[i] = header(QStringLiteral("lbtitu_%1").arg(i), i == 1 || i == 18 ? Qt::AlignRight : Qt::AlignLeft);
    const TitlePair pairs[3] = {{-1, -1}, {0, 1}, {2, 18}};

    const QFontMetrics fm(font());
    const int dateWidth = fm.horizontalAdvance(QStringLiteral("Wed. 30Sept. 23:59")) + 12;
    const int tempWidth = fm.horizontalAdvance(QStringLiteral("-188.8")) + 24;
    const int rowHeight = fm.height() + 10;

    for (int column = 0; column < 3; ++column) {
        const int c = column * 3;
        grid->addWidget(column == 0 ? lbFecha[0] : lbtitu[pairs[column].date], 0, c);
        grid->addWidget(column == 0 ? lbKm[0] : lbtitu[pairs[column].temp], 0, c + 1);
        grid->setColumnMinimumWidth(c, dateWidth);
        grid->setColumnMinimumWidth(c + 1, tempWidth);
        if (column < 2)
            grid->setColumnMinimumWidth(c + 2, 18);
    }
    for (int r = 1; r <= kRows; ++r) {
        const int column = (r - 1) / kRowsPerColumn;
        const int row = (r - 1) % kRowsPerColumn + 1;
        lbFecha[size_t(r)] = new QLabel(table);
        lbFecha[size_t(r)]->setObjectName(QStringLiteral("lbFecha_%1").arg(r));
        lbFecha[size_t(r)]->setFixedHeight(rowHeight);
        lbKm[size_t(r)] = new QLabel(table);
        lbKm[size_t(r)]->setObjectName(QStringLiteral("lbKm_%1").arg(r));
        lbKm[size_t(r)]->setFixedHeight(rowHeight);
        lbKm[size_t(r)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lbKm[size_t(r)]->setAutoFillBackground(true);
        lbKm[size_t(r)]->setContentsMargins(4, 0, 6, 0);
        grid->addWidget(lbFecha[size_t(r)], row, column * 3);
        grid->addWidget(lbKm[size_t(r)], row, column * 3 + 1);
    }

    VScroll1 = new QScrollBar(Qt::Vertical, table);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    // The list moves when the thumb is let go; while it is dragged only the label follows it.
    VScroll1->setTracking(false);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(kRows);
    grid->addWidget(VScroll1, 1, 9, kRowsPerColumn, 1);
    grid->setColumnMinimumWidth(8, 12);
    connect(VScroll1, &QScrollBar::valueChanged, this, &SampleListWindow::VScroll1_Change);
    connect(VScroll1, &QScrollBar::sliderMoved, this, &SampleListWindow::VScroll1_Scroll);

    cmdExcel = new QPushButton(QIcon(exportIcon()), QStringLiteral("CSV"), this);
    cmdExcel->setObjectName(QStringLiteral("cmdExcel"));
    cmdExcel->setIconSize(QSize(24, 24));
    cmdExcel->setToolTip(QStringLiteral("CSV"));
    connect(cmdExcel, &QPushButton::clicked, this, &SampleListWindow::ExportaCsv);

    lbCopyrigt = footerLabel(this, m_app.LineaMarca);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdExcel);

    auto* center = new QHBoxLayout;
    center->addStretch(1);
    center->addWidget(table);
    center->addStretch(1);

    auto* v = new QVBoxLayout(this);
    v->addLayout(buttons);
    v->addStretch(1);
    v->addLayout(center);
    v->addStretch(2);
    v->addWidget(lbCopyrigt);

    // The position label floats over the table beside the scroll bar.
    lbPosic = new QLabel(this);
    lbPosic->setObjectName(QStringLiteral("lbPosic"));
    lbPosic->setAutoFillBackground(true);
    lbPosic->setFrameShape(QFrame::Box);
    lbPosic->setContentsMargins(6, 2, 6, 2);
    QFont bold = lbPosic->font();
    bold.setBold(true);
    lbPosic->setFont(bold);
    QPalette p = lbPosic->palette();
    p.setColor(QPalette::Window, QColor(255, 255, 225));
    lbPosic->setPalette(p);
    lbPosic->hide();
}

void SampleListWindow::MuestraFilas()
{
    int k = m_primeraFila;
    for (int r = 1; r <= kRows; ++r) {
        if (k <= m_list.CantLista)
            showRow(r, k++);
        else
            clearRow(r);
    }
}

void SampleListWindow::showRow(int r, int k)
{
    const Sample& m = m_list.entry(k);
    const RowText t = rowText(m, m_locale);
    lbFecha[size_t(r)]->setText(t.date);
    lbKm[size_t(r)]->setText(t.temp);
    paintCell(lbKm[size_t(r)], zoneColor(m_list.zone(k)), Qt::black, true);
}

void SampleListWindow::clearRow(int r)
{
    lbFecha[size_t(r)]->clear();
    lbKm[size_t(r)]->clear();
    paintCell(lbKm[size_t(r)], Qt::white, Qt::black, false);
}

void SampleListWindow::VScroll1_Change(int value)
{
    lbPosic->hide();
    m_primeraFila = value;
    MuestraFilas();
}

void SampleListWindow::VScroll1_Scroll(int value)
{
    if (value < 1 || value > m_list.CantLista)
        return;
    const Sample& m = m_list.entry(value);
    lbPosic->setText(positionText(m, m_app.UnidadTexto(), m_locale));
    QPalette p = lbPosic->palette();
    p.setColor(QPalette::WindowText, zoneTextColor(m_list.zone(value)));
    lbPosic->setPalette(p);
    lbPosic->adjustSize();

    // Beside the thumb: the label runs down the bar as the value does.
    const QRect bar(VScroll1->mapTo(this, QPoint(0, 0)), VScroll1->size());
    const int maximum = qMax(1, VScroll1->maximum());
    const int top = (bar.height() - orvan::ui::twipsToPixels(600)) * value / maximum + bar.top() + orvan::ui::twipsToPixels(200)
        - lbPosic->height() / 2;
    lbPosic->move(bar.left() - lbPosic->width() - 4, qBound(0, top, height() - lbPosic->height()));
    lbPosic->raise();
    lbPosic->show();
}

void SampleListWindow::ExportaCsv()
{
    const QString path = csvPath(m_record.Archivo);
    if (path.isEmpty())
        return;
    cmdExcel->setEnabled(false);
    const QByteArray csv = views::ExportaCsv(m_record, m_list, m_app.textos, m_app.unit(),
                                             QFileInfo(m_record.Archivo).fileName(), m_locale);
    const CsvResult r = writeCsv(path, csv, m_record.Archivo, m_writer);
    cmdExcel->setEnabled(true);
    if (!r.ok) {
        m_main.messages().show(errorInForm(RuntimeError::FileIo, r.error, QStringLiteral("cmdExcel_Click"), kFormName));
        return;
    }
    // Said where the user keeps working, without a box to dismiss.
    m_main.showStatusMessage(QStringLiteral("CSV \u2192 ") + QDir::toNativeSeparators(path));
}

void SampleListWindow::wheelEvent(QWheelEvent* event)
{
    QApplication::sendEvent(VScroll1, event);
}

void SampleListWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    lbPosic->hide();
}

} // namespace orvan::views
