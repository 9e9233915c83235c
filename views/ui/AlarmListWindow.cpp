#include "views/ui/AlarmListWindow.h"

#include "base/AppContext.h"
#include "base/ui/Pictures.h"
#include "base/ui/Workspace.h"
#include "records/MissionRecord.h"
#include "views/ui/ViewWindow.h"
#include "views/ui/ZoneColors.h"

#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace orvan::views {

AlarmListWindow::AlarmListWindow(orvan::ui::Workspace& main, const records::MissionRecord& record, QWidget* parent)
    : QWidget(parent), m_app(main.app())
{
    setObjectName(QStringLiteral("frmAlar"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_app.textos[Text::Alarms]);
    buildControls();

    const Unit unit = m_app.unit();
    lbTitLow->setText(alarmTitle(false, record, unit, QLocale()));
    lbTitHi->setText(alarmTitle(true, record, unit, QLocale()));
    const ListaAlarmas list = CargaAlarmas(record, unit);
    lbFecha[0]->setText(m_app.textos[Text::Date]);
    lbtitu[1]->setText(m_app.textos[Text::Date]);
    lbtiempo[0]->setText(m_app.textos[Text::Temperature]);
    lbtitu[2]->setText(m_app.textos[Text::Temperature]);
    MuestraAlarmas(list);
}

void AlarmListWindow::buildControls()
{
    QFont bold = font();
    bold.setBold(true);
    QFont large = bold;
    large.setPointSizeF(large.pointSizeF() * 1.25);

    const auto label = [this](const QString& name, const QFont& f, Qt::Alignment a) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setFont(f);
        l->setAlignment(a | Qt::AlignVCenter);
        return l;
    };
    lbTitLow = label(QStringLiteral("lbTitLow"), large, Qt::AlignLeft);
    lbTitHi = label(QStringLiteral("lbTitHi"), large, Qt::AlignLeft);
    lbFecha[0] = label(QStringLiteral("lbFecha_0"), bold, Qt::AlignLeft);
    lbtiempo[0] = label(QStringLiteral("lbtiempo_0"), bold, Qt::AlignRight);
    lbtitu[1] = label(QStringLiteral("lbtitu_1"), bold, Qt::AlignLeft);
    lbtitu[2] = label(QStringLiteral("lbtitu_2"), bold, Qt::AlignRight);

    const QFontMetrics fm(font());
    const int rowHeight = fm.height() + 8;
    for (int r = 1; r <= kAlarmRows; ++r) {
        lbFecha[size_t(r)] = label(QStringLiteral("lbFecha_%1").arg(r), font(), Qt::AlignLeft);
        lbtiempo[size_t(r)] = label(QStringLiteral("lbtiempo_%1").arg(r), bold, Qt::AlignRight);
        lbFecha[size_t(r)]->setFixedHeight(rowHeight);
        lbtiempo[size_t(r)]->setFixedHeight(rowHeight);
        lbtiempo[size_t(r)]->setContentsMargins(4, 0, 8, 0);
        lbtiempo[size_t(r)]->setAutoFillBackground(true);
    }

    // Two blocks side by side: the low limit's ten rows, then the high limit's.
    auto* blocks = new QWidget(this);
    blocks->setAutoFillBackground(true);
    QPalette white = blocks->palette();
    white.setColor(QPalette::Window, Qt::white);
    blocks->setPalette(white);
    auto* grid = new QGridLayout(blocks);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    const int dateWidth = fm.horizontalAdvance(QStringLiteral("Wed. 30Sept. 23:59")) + 24;
    const int tempWidth = fm.horizontalAdvance(QStringLiteral("Temperature ")) + 16;
    for (int block = 0; block < 2; ++block) {
        const int c = block * 3;
        auto* title = new QHBoxLayout;
        auto* icon = new QLabel(blocks);
        icon->setPixmap(orvan::ui::Pictures::limitIcon(block, 22));
        title->setSpacing(6);
        title->addWidget(icon);
        title->addWidget(block == 0 ? lbTitLow : lbTitHi, 1);
        grid->addLayout(title, 0, c, 1, 2);
        grid->addWidget(block == 0 ? lbFecha[0] : lbtitu[1], 1, c);
        grid->addWidget(block == 0 ? lbtiempo[0] : lbtitu[2], 1, c + 1);
        grid->setColumnMinimumWidth(c, dateWidth);
        grid->setColumnMinimumWidth(c + 1, tempWidth);
        for (int i = 1; i <= 10; ++i) {
            const int r = block * 10 + i;
            grid->addWidget(lbFecha[size_t(r)], i + 1, c);
            grid->addWidget(lbtiempo[size_t(r)], i + 1, c + 1);
        }
    }
    grid->setColumnMinimumWidth(2, 40);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(orvan::ui::Pictures::thermometerIcon(72));
    Image1->setAlignment(Qt::AlignCenter);

    lbCopyrigt = footerLabel(this, m_app.LineaMarca);

    auto* center = new QHBoxLayout;
    center->addStretch(1);
    center->addWidget(Image1, 0, Qt::AlignVCenter);
    center->addSpacing(16);
    center->addWidget(blocks);
    center->addStretch(1);

    auto* v = new QVBoxLayout(this);
    v->addStretch(1);
    v->addLayout(center);
    v->addStretch(2);
    v->addWidget(lbCopyrigt);
}

void AlarmListWindow::MuestraAlarmas(const ListaAlarmas& list)
{
    const auto rows = views::MuestraAlarmas(list, QLocale());
    for (int r = 1; r <= kAlarmRows; ++r) {
        const AlarmRow& f = rows[size_t(r)];
        lbFecha[size_t(r)]->setText(f.dateText);
        lbtiempo[size_t(r)]->setText(f.tempText);
        // A filled row takes its block's zone colour, as the sample list shows it.
        QPalette p = lbtiempo[size_t(r)]->palette();
        p.setColor(QPalette::Window, f.filled ? zoneColor(r <= 10 ? Below : Above) : QColor(Qt::white));
        lbtiempo[size_t(r)]->setPalette(p);
    }
}

} // namespace orvan::views
