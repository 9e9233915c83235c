#include "views/ui/SummaryWindow.h"

#include "base/AddedTexts.h"
#include "base/AppContext.h"
#include "base/ui/Workspace.h"
#include "records/MissionRecord.h"
#include "views/SummaryFigures.h"
#include "views/ui/ViewWindow.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <limits>

namespace orvan::views {

QColor verdictColor(Verdict v)
{
    switch (v) {
    case Verdict::Pass:
        return QColor(0x2e, 0x9d, 0x4f);
    case Verdict::Fail:
        return QColor(0xd2, 0x38, 0x2f);
    case Verdict::NoData:
        break;
    }
    return QColor(0x8a, 0x93, 0x9c);
}

SummaryWindow::SummaryWindow(orvan::ui::Workspace& main, const records::MissionRecord& record, QWidget* parent)
    : QWidget(parent), m_app(main.app()), m_record(record), m_idioma(main.app().config.Idioma)
{
    setObjectName(QStringLiteral("frmSummary"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(addedText(AddedText::ShipmentSummary, m_idioma));
    m_summary = summarize(record, m_app.unit());
    buildControls();
    rejudge();
}

void SummaryWindow::buildControls()
{
    const QLocale numbers;
    QFont bold = font();
    bold.setBold(true);

    banner = new QLabel(this);
    banner->setObjectName(QStringLiteral("lbVerdict"));
    banner->setAlignment(Qt::AlignCenter);
    QFont large = bold;
    large.setPointSizeF(large.pointSizeF() * 1.8);
    banner->setFont(large);
    banner->setMinimumHeight(QFontMetrics(large).height() + 20);
    banner->setAutoFillBackground(true);

    // Two white cards, as the other views set their figures apart.
    const auto card = [this](QWidget*& widget) {
        widget = new QWidget(this);
        widget->setAutoFillBackground(true);
        QPalette white = widget->palette();
        white.setColor(QPalette::Window, Qt::white);
        widget->setPalette(white);
        auto* g = new QGridLayout(widget);
        g->setContentsMargins(14, 10, 14, 10);
        g->setHorizontalSpacing(18);
        g->setVerticalSpacing(3);
        return g;
    };

    // The figures: label, value, and the time where the value has one.
    QWidget* figures = nullptr;
    QGridLayout* grid = card(figures);
    int row = 0;
    for (const FigureRow& f : summaryFigures(m_summary, m_app.textos, m_idioma, numbers)) {
        auto* value = new QLabel(f.value, figures);
        if (f.label.isEmpty()) {
            // The note on a partial record reads across the row, under the counts it explains.
            value->setWordWrap(true);
            grid->addWidget(value, row++, 0, 1, 3);
            continue;
        }
        auto* label = new QLabel(f.label, figures);
        value->setFont(bold);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, row, 0);
        grid->addWidget(value, row, 1);
        grid->addWidget(new QLabel(f.time, figures), row, 2);
        ++row;
    }
    grid->setColumnStretch(3, 1);   // the values stay beside their labels

    // Minutes in each zone and the minutes allowed above and below.
    QWidget* zones = nullptr;
    QGridLayout* zg = card(zones);
    const auto heading = [&](const QString& text, int column) {
        auto* l = new QLabel(text, zones);
        l->setFont(bold);
        zg->addWidget(l, 0, column);
    };
    heading(addedText(AddedText::Zone, m_idioma), 0);
    heading(addedText(AddedText::Minutes, m_idioma), 1);
    heading(addedText(AddedText::AllowedMinutes, m_idioma), 2);
    const auto allowance = [&](const char* name) {
        auto* box = new QSpinBox(zones);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(0, std::numeric_limits<qint32>::max());
        box->setAccelerated(true);
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, &SummaryWindow::rejudge);
        return box;
    };
    allowBelow = allowance("txtAllowBelow");
    allowAbove = allowance("txtAllowAbove");
    const QVector<FigureRow> minutes = zoneMinutes(m_summary, m_idioma);
    for (int z = 0; z < minutes.size(); ++z) {
        zg->addWidget(new QLabel(minutes[z].label, zones), z + 1, 0);
        auto* value = new QLabel(minutes[z].value, zones);
        value->setFont(bold);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        zg->addWidget(value, z + 1, 1);
    }
    zg->addWidget(allowBelow, 1, 2);
    zg->addWidget(allowAbove, 3, 2);
    zg->setRowStretch(4, 1);

    // The excursions, the first hundred of them; the count says how many there are.
    excursionCount = new QLabel(this);
    excursionCount->setObjectName(QStringLiteral("lbExcursions"));
    excursionCount->setFont(bold);
    excursions = new QTreeWidget(this);
    excursions->setObjectName(QStringLiteral("lstExcursions"));
    excursions->setRootIsDecorated(false);
    excursions->setUniformRowHeights(true);
    excursions->setHeaderLabels({addedText(AddedText::Zone, m_idioma), m_app.textos[Text::Date].trimmed(),
                                 m_app.textos[Text::SampleQuantity].trimmed(), addedText(AddedText::Minutes, m_idioma),
                                 addedText(AddedText::Peak, m_idioma)});
    const int total = m_summary.excursions.size();
    const int listed = std::min(total, kExcursionsListed);
    QList<QTreeWidgetItem*> items;
    for (int i = 0; i < listed; ++i) {
        const Excursion& e = m_summary.excursions[i];
        auto* item = new QTreeWidgetItem(excursionCells(e, m_summary.unit, m_idioma, numbers));
        for (int c = 2; c <= 4; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        item->setForeground(0, e.zone == Above ? verdictColor(Verdict::Fail) : QColor(0x1f, 0x6f, 0xd1));
        items.append(item);
    }
    excursions->addTopLevelItems(items);
    excursions->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    excursions->header()->setStretchLastSection(false);
    excursionCount->setText(total == 0 ? addedText(AddedText::NoExcursions, m_idioma)
                                       : excursionsCaption(listed, total, m_idioma));

    auto* top = new QHBoxLayout;
    top->addWidget(figures, 3);
    top->addWidget(zones, 2);

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(10, 8, 10, 4);
    v->addWidget(banner);
    v->addLayout(top);
    v->addWidget(excursionCount);
    v->addWidget(excursions, 1);
    v->addWidget(footerLabel(this, m_app.LineaMarca));
}

void SummaryWindow::rejudge()
{
    m_summary.allowed = {allowAbove->value(), allowBelow->value()};
    m_summary.verdict = judge(m_summary, m_summary.allowed);
    banner->setText(verdictText(m_summary.verdict, m_idioma).toUpper());
    QPalette p = banner->palette();
    p.setColor(QPalette::Window, verdictColor(m_summary.verdict));
    p.setColor(QPalette::WindowText, Qt::white);
    banner->setPalette(p);
}

} // namespace orvan::views
