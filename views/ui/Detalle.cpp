#include "views/ui/Detalle.h"

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

const QString kFormulario = QStringLiteral("Detalle");

// The three heading pairs, one over each column of 17 rows: (date, temperature) labels.
struct ParTitulo { int fecha, temp; };

void pintaCelda(QLabel* l, const QColor& fondo, const QColor& texto, bool negrita)
{
    QPalette p = l->palette();
    p.setColor(QPalette::Window, fondo);
    p.setColor(QPalette::WindowText, texto);
    l->setPalette(p);
    QFont f = l->font();
    f.setBold(negrita);
    l->setFont(f);
}

} // namespace

Detalle::Detalle(orvan::ui::Workspace& main, const records::MissionRecord& record, QWidget* parent)
    : QWidget(parent), m_main(main), m_app(main.app()), m_record(record), m_locale()
{
    setObjectName(kFormulario);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_app.textos[12]);
    construye();

    // Headings.
    const QString unidad = m_app.UnidadTexto();
    lbKm[0]->setText(unidad);
    lbtitu[1]->setText(unidad);
    lbtitu[18]->setText(unidad);
    lbFecha[0]->setText(m_app.textos[21]);
    lbtitu[0]->setText(m_app.textos[21]);
    lbtitu[2]->setText(m_app.textos[21]);

    m_lista = CargaMuestras(m_record, m_app.config.GradosC);
    VScroll1->setRange(1, m_lista.scrollMaximo);
    VScroll1->setValue(1);
    m_primeraFila = 1;
    MuestraFilas();
}

void Detalle::construye()
{
    auto* tabla = new QWidget(this);
    tabla->setObjectName(QStringLiteral("tabla"));
    tabla->setAutoFillBackground(true);
    QPalette blanco = tabla->palette();
    blanco.setColor(QPalette::Window, Qt::white);
    tabla->setPalette(blanco);

    auto* grid = new QGridLayout(tabla);
    grid->setContentsMargins(12, 8, 8, 8);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);

    QFont titulo = font();
    titulo.setBold(true);
    const auto cabecera = [&](const QString& nombre, Qt::Alignment a) {
        auto* l = new QLabel(tabla);
        l->setObjectName(nombre);
        l->setFont(titulo);
        l->setAlignment(a | Qt::AlignVCenter);
        return l;
    };
    lbFecha[0] = cabecera(QStringLiteral("lbFecha_0"), Qt::AlignLeft);
    lbKm[0] = cabecera(QStringLiteral("lbKm_0"), Qt::AlignRight);
    for (int i : {0, 1, 2, 18})
        lbtitu[i] = cabecera(QStringLiteral("lbtitu_%1").arg(i), i == 1 || i == 18 ? Qt::AlignRight : Qt::AlignLeft);
    const ParTitulo pares[3] = {{-1, -1}, {0, 1}, {2, 18}};

    const QFontMetrics fm(font());
    const int anchoFecha = fm.horizontalAdvance(QStringLiteral("Wed. 30Sept. 23:59")) + 12;
    const int anchoTemp = fm.horizontalAdvance(QStringLiteral("-188.8")) + 24;
    const int alto = fm.height() + 10;

    for (int columna = 0; columna < 3; ++columna) {
        const int c = columna * 3;
        grid->addWidget(columna == 0 ? lbFecha[0] : lbtitu[pares[columna].fecha], 0, c);
        grid->addWidget(columna == 0 ? lbKm[0] : lbtitu[pares[columna].temp], 0, c + 1);
        grid->setColumnMinimumWidth(c, anchoFecha);
        grid->setColumnMinimumWidth(c + 1, anchoTemp);
        if (columna < 2)
            grid->setColumnMinimumWidth(c + 2, 18);
    }
    for (int r = 1; r <= kFilas; ++r) {
        const int columna = (r - 1) / kFilasColumna;
        const int fila = (r - 1) % kFilasColumna + 1;
        lbFecha[size_t(r)] = new QLabel(tabla);
        lbFecha[size_t(r)]->setObjectName(QStringLiteral("lbFecha_%1").arg(r));
        lbFecha[size_t(r)]->setFixedHeight(alto);
        lbKm[size_t(r)] = new QLabel(tabla);
        lbKm[size_t(r)]->setObjectName(QStringLiteral("lbKm_%1").arg(r));
        lbKm[size_t(r)]->setFixedHeight(alto);
        lbKm[size_t(r)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lbKm[size_t(r)]->setAutoFillBackground(true);
        lbKm[size_t(r)]->setContentsMargins(4, 0, 6, 0);
        grid->addWidget(lbFecha[size_t(r)], fila, columna * 3);
        grid->addWidget(lbKm[size_t(r)], fila, columna * 3 + 1);
    }

    VScroll1 = new QScrollBar(Qt::Vertical, tabla);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    // The list moves when the thumb is let go; while it is dragged only the label follows it.
    VScroll1->setTracking(false);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(kFilas);
    grid->addWidget(VScroll1, 1, 9, kFilasColumna, 1);
    grid->setColumnMinimumWidth(8, 12);
    connect(VScroll1, &QScrollBar::valueChanged, this, &Detalle::VScroll1_Change);
    connect(VScroll1, &QScrollBar::sliderMoved, this, &Detalle::VScroll1_Scroll);

    cmdExcel = new QPushButton(QIcon(exportIcon()), QStringLiteral("CSV"), this);
    cmdExcel->setObjectName(QStringLiteral("cmdExcel"));
    cmdExcel->setIconSize(QSize(24, 24));
    cmdExcel->setToolTip(QStringLiteral("CSV"));
    connect(cmdExcel, &QPushButton::clicked, this, &Detalle::ExportaCsv);

    lbCopyrigt = footerLabel(this, m_app.LineaMarca);

    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(cmdExcel);

    auto* centro = new QHBoxLayout;
    centro->addStretch(1);
    centro->addWidget(tabla);
    centro->addStretch(1);

    auto* v = new QVBoxLayout(this);
    v->addLayout(botones);
    v->addStretch(1);
    v->addLayout(centro);
    v->addStretch(2);
    v->addWidget(lbCopyrigt);

    // The position label floats over the table beside the scroll bar.
    lbPosic = new QLabel(this);
    lbPosic->setObjectName(QStringLiteral("lbPosic"));
    lbPosic->setAutoFillBackground(true);
    lbPosic->setFrameShape(QFrame::Box);
    lbPosic->setContentsMargins(6, 2, 6, 2);
    QFont negrita = lbPosic->font();
    negrita.setBold(true);
    lbPosic->setFont(negrita);
    QPalette p = lbPosic->palette();
    p.setColor(QPalette::Window, QColor(255, 255, 225));
    lbPosic->setPalette(p);
    lbPosic->hide();
}

void Detalle::MuestraFilas()
{
    int k = m_primeraFila;
    for (int r = 1; r <= kFilas; ++r) {
        if (k <= m_lista.CantLista)
            muestraFila(r, k++);
        else
            limpiaFila(r);
    }
}

void Detalle::muestraFila(int r, int k)
{
    const Muestra& m = m_lista.entrada(k);
    const TextoFila t = textoFila(m, m_locale);
    lbFecha[size_t(r)]->setText(t.fecha);
    lbKm[size_t(r)]->setText(t.temp);
    pintaCelda(lbKm[size_t(r)], colorZona(m_lista.zona(k)), Qt::black, true);
}

void Detalle::limpiaFila(int r)
{
    lbFecha[size_t(r)]->clear();
    lbKm[size_t(r)]->clear();
    pintaCelda(lbKm[size_t(r)], Qt::white, Qt::black, false);
}

void Detalle::VScroll1_Change(int value)
{
    lbPosic->hide();
    m_primeraFila = value;
    MuestraFilas();
}

void Detalle::VScroll1_Scroll(int value)
{
    if (value < 1 || value > m_lista.CantLista)
        return;
    const Muestra& m = m_lista.entrada(value);
    lbPosic->setText(textoPosicion(m, m_app.UnidadTexto(), m_locale));
    QPalette p = lbPosic->palette();
    p.setColor(QPalette::WindowText, colorTextoZona(m_lista.zona(value)));
    lbPosic->setPalette(p);
    lbPosic->adjustSize();

    // Beside the thumb: the label runs down the bar as the value does.
    const QRect barra(VScroll1->mapTo(this, QPoint(0, 0)), VScroll1->size());
    const int maximo = qMax(1, VScroll1->maximum());
    const int top = (barra.height() - orvan::ui::twipsToPixels(600)) * value / maximo + barra.top() + orvan::ui::twipsToPixels(200)
        - lbPosic->height() / 2;
    lbPosic->move(barra.left() - lbPosic->width() - 4, qBound(0, top, height() - lbPosic->height()));
    lbPosic->raise();
    lbPosic->show();
}

void Detalle::ExportaCsv()
{
    const QString ruta = RutaCsv(m_record.Archivo);
    if (ruta.isEmpty())
        return;
    cmdExcel->setEnabled(false);
    const QByteArray csv = views::ExportaCsv(m_record, m_lista, m_app.textos, m_app.config.GradosC,
                                             QFileInfo(m_record.Archivo).fileName(), m_locale);
    const CsvResult r = EscribeCsv(ruta, csv, m_record.Archivo);
    cmdExcel->setEnabled(true);
    if (!r.ok) {
        m_main.messages().show(errorInForm(RuntimeError::FileIo, r.error, QStringLiteral("cmdExcel_Click"), kFormulario));
        return;
    }
    // Said where the user keeps working, without a box to dismiss.
    m_main.showStatusMessage(QStringLiteral("CSV \u2192 ") + QDir::toNativeSeparators(ruta));
}

void Detalle::wheelEvent(QWheelEvent* event)
{
    QApplication::sendEvent(VScroll1, event);
}

void Detalle::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    lbPosic->hide();
}

} // namespace orvan::views
