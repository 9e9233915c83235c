#include "views/ui/frmAlar.h"

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

frmAlar::frmAlar(orvan::ui::Workspace& main, const records::MissionRecord& record, QWidget* parent)
    : QWidget(parent), m_app(main.app())
{
    setObjectName(QStringLiteral("frmAlar"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_app.textos[13]);
    construye();

    const int gradosC = m_app.config.GradosC;
    lbTitLow->setText(TituloAlarma(false, record, gradosC, QLocale()));
    lbTitHi->setText(TituloAlarma(true, record, gradosC, QLocale()));
    const ListaAlarmas lista = CargaAlarmas(record, gradosC);
    lbFecha[0]->setText(m_app.textos[21]);
    lbtitu[1]->setText(m_app.textos[21]);
    lbtiempo[0]->setText(m_app.textos[68]);
    lbtitu[2]->setText(m_app.textos[68]);
    MuestraAlarmas(lista);
}

void frmAlar::construye()
{
    QFont negrita = font();
    negrita.setBold(true);
    QFont grande = negrita;
    grande.setPointSizeF(grande.pointSizeF() * 1.25);

    const auto etiqueta = [this](const QString& nombre, const QFont& f, Qt::Alignment a) {
        auto* l = new QLabel(this);
        l->setObjectName(nombre);
        l->setFont(f);
        l->setAlignment(a | Qt::AlignVCenter);
        return l;
    };
    lbTitLow = etiqueta(QStringLiteral("lbTitLow"), grande, Qt::AlignLeft);
    lbTitHi = etiqueta(QStringLiteral("lbTitHi"), grande, Qt::AlignLeft);
    lbFecha[0] = etiqueta(QStringLiteral("lbFecha_0"), negrita, Qt::AlignLeft);
    lbtiempo[0] = etiqueta(QStringLiteral("lbtiempo_0"), negrita, Qt::AlignRight);
    lbtitu[1] = etiqueta(QStringLiteral("lbtitu_1"), negrita, Qt::AlignLeft);
    lbtitu[2] = etiqueta(QStringLiteral("lbtitu_2"), negrita, Qt::AlignRight);

    const QFontMetrics fm(font());
    const int alto = fm.height() + 8;
    for (int r = 1; r <= kFilasAlarma; ++r) {
        lbFecha[size_t(r)] = etiqueta(QStringLiteral("lbFecha_%1").arg(r), font(), Qt::AlignLeft);
        lbtiempo[size_t(r)] = etiqueta(QStringLiteral("lbtiempo_%1").arg(r), negrita, Qt::AlignRight);
        lbFecha[size_t(r)]->setFixedHeight(alto);
        lbtiempo[size_t(r)]->setFixedHeight(alto);
        lbtiempo[size_t(r)]->setContentsMargins(4, 0, 8, 0);
        lbtiempo[size_t(r)]->setAutoFillBackground(true);
    }

    // Two blocks side by side: the low limit's ten rows, then the high limit's.
    auto* bloques = new QWidget(this);
    bloques->setAutoFillBackground(true);
    QPalette blanco = bloques->palette();
    blanco.setColor(QPalette::Window, Qt::white);
    bloques->setPalette(blanco);
    auto* grid = new QGridLayout(bloques);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    const int anchoFecha = fm.horizontalAdvance(QStringLiteral("Wed. 30Sept. 23:59")) + 24;
    const int anchoTemp = fm.horizontalAdvance(QStringLiteral("Temperature ")) + 16;
    for (int bloque = 0; bloque < 2; ++bloque) {
        const int c = bloque * 3;
        auto* titulo = new QHBoxLayout;
        auto* icono = new QLabel(bloques);
        icono->setPixmap(orvan::ui::Pictures::limitIcon(bloque, 22));
        titulo->setSpacing(6);
        titulo->addWidget(icono);
        titulo->addWidget(bloque == 0 ? lbTitLow : lbTitHi, 1);
        grid->addLayout(titulo, 0, c, 1, 2);
        grid->addWidget(bloque == 0 ? lbFecha[0] : lbtitu[1], 1, c);
        grid->addWidget(bloque == 0 ? lbtiempo[0] : lbtitu[2], 1, c + 1);
        grid->setColumnMinimumWidth(c, anchoFecha);
        grid->setColumnMinimumWidth(c + 1, anchoTemp);
        for (int i = 1; i <= 10; ++i) {
            const int r = bloque * 10 + i;
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

    auto* centro = new QHBoxLayout;
    centro->addStretch(1);
    centro->addWidget(Image1, 0, Qt::AlignVCenter);
    centro->addSpacing(16);
    centro->addWidget(bloques);
    centro->addStretch(1);

    auto* v = new QVBoxLayout(this);
    v->addStretch(1);
    v->addLayout(centro);
    v->addStretch(2);
    v->addWidget(lbCopyrigt);
}

void frmAlar::MuestraAlarmas(const ListaAlarmas& lista)
{
    const auto filas = views::MuestraAlarmas(lista, QLocale());
    for (int r = 1; r <= kFilasAlarma; ++r) {
        const FilaAlarma& f = filas[size_t(r)];
        lbFecha[size_t(r)]->setText(f.textoFecha);
        lbtiempo[size_t(r)]->setText(f.textoTemp);
        // A filled row takes its block's zone colour, as the sample list shows it.
        QPalette p = lbtiempo[size_t(r)]->palette();
        p.setColor(QPalette::Window, f.llena ? colorZona(r <= 10 ? Abajo : Arriba) : QColor(Qt::white));
        lbtiempo[size_t(r)]->setPalette(p);
    }
}

} // namespace orvan::views
