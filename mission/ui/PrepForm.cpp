#include "mission/ui/PrepForm.h"

#include "base/AppContext.h"
#include "base/Encodings.h"
#include "base/ui/IconButton.h"
#include "base/ui/Pictures.h"
#include "base/ui/Workspace.h"
#include "link/PortDirectory.h"
#include "link/QtSerialPort.h"
#include "link/StatusSummary.h"
#include "mission/ui/PanelResumen.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace orvan::mission {

namespace {

const QString kAmarillo = QStringLiteral("background-color: rgb(255, 255, 192);");
const QString kGris = QStringLiteral("background-color: rgb(224, 224, 224);");
const QString kBlanco = QStringLiteral("background-color: rgb(255, 255, 255);");

// A non-editable list shows a text that is not one of its items (the days an interval covers,
// "0" before a choice) as its placeholder.
void muestraTexto(QComboBox* combo, const QString& text)
{
    const int i = combo->findText(text);
    if (i >= 0) {
        combo->setCurrentIndex(i);
    } else {
        combo->setCurrentIndex(-1);
        combo->setPlaceholderText(text);
    }
}

// The listed value nearest to v: a default limit from the settings file may be one the list of
// the other unit does not hold.
int masCercano(const QList<int>& lista, int v)
{
    int best = lista.value(0);
    for (int x : lista) {
        if (std::abs(x - v) < std::abs(best - v))
            best = x;
    }
    return best;
}

link::DeviceSession::Options sessionOptions(const AppContext& app, link::DeviceSession::PortFactory ports,
                                            link::DeviceSession::ClockFactory clocks)
{
    link::DeviceSession::Options o;
    o.profile = link::LinkProfile::frmPrep();
    o.portFactory = ports ? std::move(ports) : [] { return std::make_unique<link::QtSerialPort>(); };
    o.clockFactory = std::move(clocks);
    // The device-data window found the logger on this port and let go of it for us.
    if (app.config.PuertoCom > 0)
        o.device = link::devicePathFor(app.appFolder, app.config.PuertoCom);
    return o;
}

} // namespace

PrepForm::PrepForm(ui::Workspace& main, link::DeviceSession::PortFactory portFactory,
                   link::DeviceSession::ClockFactory clockFactory, QWidget* parent)
    : QWidget(parent), m_main(main)
{
    setObjectName(QStringLiteral("frmPrep"));
    AppContext& app = main.app();
    setWindowTitle(app.textos[27]);
    m_session = std::make_unique<link::DeviceSession>(app.flags.CerrarPrep,
                                                      sessionOptions(app, std::move(portFactory), std::move(clockFactory)));
    buildControls();
    PonerTextosPrep();

    connect(m_session.get(), &link::DeviceSession::statusRead, this, &PrepForm::onStatus);
    connect(m_session.get(), &link::DeviceSession::message, this, [this](const QString& text) {
        m_main.messages().show(text);
    });
    // While this window holds the link there is nothing to connect.
    m_main.setConnectEnabled(false);

    Timer2.setInterval(500);
    connect(&Timer2, &QTimer::timeout, this, &PrepForm::tick);
    Timer2.start();
    if (!app.flags.CerrarPrep) {
        LlenaCombos();
        m_rangoPrep = 0;
        m_rawLimInf = GradosARaw(ComboLoThreshold->currentText().toInt(), app.config.GradosC);
        m_rawLimSup = GradosARaw(ComboHiThreshold->currentText().toInt(), app.config.GradosC);
        DTPickerStart->setEnabled(false);
        app.PrepAbierto = true;
    }
}

PrepForm::~PrepForm()
{
    Timer2.stop();
    m_session->close();
}

void PrepForm::buildControls()
{
    const auto lectura = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setFixedWidth(130);
        return e;
    };
    const auto lista = [this](const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(QString::fromLatin1(name));
        c->setMaxVisibleItems(16);
        c->setMinimumWidth(80);
        return c;
    };
    const auto imagen = [this](const QPixmap& picture) {
        auto* l = new QLabel(this);
        l->setPixmap(picture);
        return l;
    };

    ComboDuracion = lista("ComboDuracion");
    ComboRango = lista("ComboRango");
    ComboLoThreshold = lista("ComboLoThreshold");
    ComboHiThreshold = lista("ComboHiThreshold");
    txtcDuracion = lectura("txtcDuracion");
    txtcRango = lectura("txtcRango");
    txtcLoThreshold = lectura("txtcLoThreshold");
    txtcHiThreshold = lectura("txtcHiThreshold");
    Label1 = new QLabel(this);
    Label2 = new QLabel(this);
    Label3 = new QLabel(this);
    Label4 = new QLabel(this);
    Image2X[0] = imagen(ui::Pictures::limitIcon(0, 22));
    Image2X[1] = imagen(ui::Pictures::limitIcon(1, 22));

    for (int i = 0; i < 3; ++i) {
        optInicio[size_t(i)] = new QRadioButton(this);
        optInicio[size_t(i)]->setObjectName(QStringLiteral("optInicio%1").arg(i));
        connect(optInicio[size_t(i)], &QRadioButton::clicked, this, [this, i] { eligeInicio(i); });
    }
    imgPulsador = imagen(ui::Pictures::statePicture(5, 24));
    DTPickerStart = new QDateTimeEdit(QDateTime::currentDateTime(), this);
    DTPickerStart->setObjectName(QStringLiteral("DTPickerStart"));
    DTPickerStart->setDisplayFormat(QStringLiteral("dd/MM/yyyy HH:mm"));
    DTPickerStart->setCalendarPopup(true);
    imgClock = new QLabel(this);
    imgClock->setMinimumSize(24, 24);
    txtcStartDelay = new QLineEdit(QStringLiteral("0"), this);
    txtcStartDelay->setObjectName(QStringLiteral("txtcStartDelay"));
    txtcStartDelay->setMaximumWidth(90);

    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    txtExport = new QLineEdit(this);
    txtExport->setObjectName(QStringLiteral("txtExport"));
    // The exporter's name proposes the record's file name: no folder separators, refused as typed.
    txtExport->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^/\\\\]*")), txtExport));
    txtTransport = new QLineEdit(this);
    txtTransport->setObjectName(QStringLiteral("txtTransport"));
    imgExport = imagen(ui::Pictures::fieldIcon(11, 22));
    imgTransport = imagen(ui::Pictures::fieldIcon(12, 22));
    for (QLineEdit* e : {txtExport, txtTransport}) {
        connect(e, &QLineEdit::textEdited, e, [e] { e->setStyleSheet(kAmarillo); });
        e->installEventFilter(this);
    }

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, kProgresoFinal);
    ProgressBar1->setTextVisible(false);
    // Its place stays reserved, so the buttons do not jump when it shows.
    QSizePolicy keep = ProgressBar1->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    ProgressBar1->setSizePolicy(keep);
    ProgressBar1->hide();

    ui::acceptCancelButtons(this, CmndAbrir, CmndCancel, 28);
    CmndAbrir->setObjectName(QStringLiteral("CmndAbrir"));
    CmndCancel->setObjectName(QStringLiteral("CmndCancel"));
    CmndAbrir->setEnabled(false);

    lbCopyrigt = new QLabel(m_main.app().LineaMarca, this);
    lbCopyrigt->setObjectName(QStringLiteral("lbCopyrigt"));
    lbCopyrigt->setAlignment(Qt::AlignHCenter);

    framePrepara = new QFrame(this);
    framePrepara->setObjectName(QStringLiteral("framePrepara"));
    framePrepara->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(framePrepara);
    grid->setHorizontalSpacing(10);
    const auto fila = [grid](int row, QWidget* icon, QWidget* label, QWidget* combo, QWidget* result) {
        if (icon)
            grid->addWidget(icon, row, 0);
        grid->addWidget(label, row, 1);
        grid->addWidget(combo, row, 2);
        if (result)
            grid->addWidget(result, row, 3);
    };
    fila(0, imagen(ui::Pictures::fieldIcon(0, 22)), Label1, ComboDuracion, txtcDuracion);
    fila(1, imagen(ui::Pictures::fieldIcon(2, 22)), Label2, ComboRango, txtcRango);
    fila(2, Image2X[0], Label3, ComboLoThreshold, txtcLoThreshold);
    fila(3, Image2X[1], Label4, ComboHiThreshold, txtcHiThreshold);
    grid->addWidget(imgPulsador, 4, 0);
    grid->addWidget(optInicio[0], 4, 1, 1, 3);
    grid->addWidget(imgClock, 5, 0);
    grid->addWidget(optInicio[1], 5, 1);
    grid->addWidget(DTPickerStart, 5, 2, 1, 2);
    grid->addWidget(optInicio[2], 6, 1);
    auto* demora = new QHBoxLayout;
    demora->addWidget(txtcStartDelay);
    demora->addWidget(new QLabel(QStringLiteral("min."), this));
    demora->addStretch();
    grid->addLayout(demora, 6, 2, 1, 2);
    grid->addWidget(Check1, 7, 1, 1, 3);
    grid->addWidget(imgExport, 8, 0);
    grid->addWidget(txtExport, 8, 1, 1, 3);
    grid->addWidget(imgTransport, 9, 0);
    grid->addWidget(txtTransport, 9, 1, 1, 3);
    DTPickerStart->setMaximumWidth(220);
    for (QLineEdit* e : {txtExport, txtTransport})
        e->setMaximumWidth(360);
    grid->setColumnStretch(4, 1);

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(CmndAbrir);
    botones->addWidget(CmndCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(framePrepara);
    layout->addWidget(ProgressBar1);
    layout->addLayout(botones);
    layout->addStretch();
    layout->addWidget(lbCopyrigt);

    connect(ComboDuracion, &QComboBox::activated, this, [this](int i) { eligeDuracion(ComboDuracion->itemText(i).toInt()); });
    connect(ComboRango, &QComboBox::activated, this, [this](int i) { eligeRango(ComboRango->itemText(i).toInt()); });
    connect(ComboLoThreshold, &QComboBox::activated, this,
            [this](int i) { eligeLimiteBajo(ComboLoThreshold->itemText(i).toInt()); });
    connect(ComboHiThreshold, &QComboBox::activated, this,
            [this](int i) { eligeLimiteAlto(ComboHiThreshold->itemText(i).toInt()); });
    connect(CmndAbrir, &QPushButton::clicked, this, &PrepForm::aceptar);
    connect(CmndCancel, &QPushButton::clicked, this, [this] {
        m_main.setConnectEnabled(true);
        m_main.app().flags.CerrarPrep = true;
        // A programming in progress stops at its next write; its result says so.
        m_session->cancel();
    });

    optInicio[0]->setChecked(true);
    eligeInicio(0);
}

void PrepForm::PonerTextosPrep()
{
    const TextTable& t = m_main.app().textos;
    optInicio[0]->setToolTip(t[29]);
    imgPulsador->setToolTip(t[29]);
    optInicio[1]->setToolTip(t[30]);
    imgClock->setToolTip(t[30]);
    DTPickerStart->setToolTip(t[30]);
    optInicio[0]->setText(t[29]);
    optInicio[1]->setText(t[30]);
    optInicio[2]->setText(t[29] + QStringLiteral(" + min."));
    txtcDuracion->setToolTip(t[31]);
    txtcRango->setToolTip(t[32]);
    Check1->setToolTip(t[33]);
    txtExport->setToolTip(t[34]);
    imgExport->setToolTip(t[34]);
    txtTransport->setToolTip(t[35]);
    imgTransport->setToolTip(t[35]);
    for (QWidget* w : {static_cast<QWidget*>(Image2X[0]), static_cast<QWidget*>(Label3), static_cast<QWidget*>(txtcLoThreshold)})
        w->setToolTip(t[4]);
    for (QWidget* w : {static_cast<QWidget*>(Image2X[1]), static_cast<QWidget*>(Label4), static_cast<QWidget*>(txtcHiThreshold)})
        w->setToolTip(t[5]);
    Label3->setText(t[4]);
    Label4->setText(t[5]);
    Check1->setText(t[55]);
    Label1->setText(t[56]);
    Label2->setText(t[57]);
    txtExport->setPlaceholderText(t[34]);
    txtTransport->setPlaceholderText(t[35]);
    CmndCancel->setToolTip(t[28]);
}

void PrepForm::LlenaCombos()
{
    const AppContext& app = m_main.app();
    const QString unidad = app.UnidadTexto();
    for (int d : DuracionesDias())
        ComboDuracion->addItem(QString::number(d));
    for (int r : Intervalos())
        ComboRango->addItem(QString::number(r));
    const QList<int> limites = ListaLimites(app.config.GradosC);
    for (QComboBox* c : {ComboLoThreshold, ComboHiThreshold}) {
        for (int g : limites) {
            const QString text = QString::number(g);
            // Fahrenheit rounding may give one whole degree twice; the list holds it once.
            if (c->findText(text) < 0)
                c->addItem(text);
        }
    }
    muestraTexto(ComboDuracion, QStringLiteral("0"));
    muestraTexto(ComboRango, QStringLiteral("0"));
    muestraTexto(ComboLoThreshold, QString::number(masCercano(limites, app.config.LimInfDef)));
    muestraTexto(ComboHiThreshold, QString::number(masCercano(limites, app.config.LimSupDef)));
    txtcDuracion->setText(ComboDuracion->placeholderText() + QStringLiteral(" d"));
    txtcRango->setText(ComboRango->placeholderText() + QStringLiteral(" min."));
    txtcLoThreshold->setText(ComboLoThreshold->currentText() + unidad);
    txtcHiThreshold->setText(ComboHiThreshold->currentText() + unidad);
}

void PrepForm::eligeDuracion(int dias)
{
    eligeRango(RangoParaDias(dias));
    muestraTexto(ComboDuracion, QString::number(dias));
}

void PrepForm::eligeRango(int rango)
{
    if (rango < 1 || rango > 60)
        return;
    muestraTexto(ComboDuracion, QString::number(CoberturaDeRango(rango).dias));
    muestraTexto(ComboRango, QString::number(rango));
    txtcDuracion->setText(TextoDuracion(rango));
    txtcRango->setText(TextoRango(rango));
    m_rangoPrep = rango;
    txtcDuracion->setStyleSheet(kAmarillo);
    txtcRango->setStyleSheet(kAmarillo);
}

void PrepForm::eligeLimiteBajo(int grados)
{
    aplicaLimites(EligeBajo(limitesActuales(), grados));
}

void PrepForm::eligeLimiteAlto(int grados)
{
    aplicaLimites(EligeAlto(limitesActuales(), grados));
}

Limites PrepForm::limitesActuales() const
{
    return {ComboLoThreshold->currentText().toInt(), ComboHiThreshold->currentText().toInt()};
}

void PrepForm::aplicaLimites(const Limites& l)
{
    AppContext& app = m_main.app();
    muestraTexto(ComboLoThreshold, QString::number(l.bajo));
    muestraTexto(ComboHiThreshold, QString::number(l.alto));
    txtcLoThreshold->setText(QString::number(l.bajo) + app.UnidadTexto());
    txtcHiThreshold->setText(QString::number(l.alto) + app.UnidadTexto());
    m_rawLimInf = GradosARaw(l.bajo, app.config.GradosC);
    m_rawLimSup = GradosARaw(l.alto, app.config.GradosC);
    // Remembered as the defaults of the next preparation; saved to the settings file on Accept.
    app.config.LimInfDef = qint16(l.bajo);
    app.config.LimSupDef = qint16(l.alto);
    m_cambioLimites = true;
}

void PrepForm::eligeInicio(int index)
{
    if (index < 0 || index > 2)
        return;
    optInicio[size_t(index)]->setChecked(true);
    DTPickerStart->setEnabled(index == 1);
    txtcStartDelay->setEnabled(index == 2);
    txtcStartDelay->setStyleSheet(index == 2 ? kBlanco : kGris);
}

ModoInicio PrepForm::modoInicio() const
{
    if (optInicio[1]->isChecked())
        return ModoInicio::Hora;
    if (optInicio[2]->isChecked())
        return ModoInicio::PulsadorDemora;
    return ModoInicio::Pulsador;
}

bool PrepForm::eventFilter(QObject* watched, QEvent* event)
{
    // A click in a name box selects its whole text, so a new name replaces the old one.
    if ((watched == txtExport || watched == txtTransport) && event->type() == QEvent::FocusIn) {
        auto* e = static_cast<QLineEdit*>(watched);
        QTimer::singleShot(0, e, &QLineEdit::selectAll);
    }
    return QWidget::eventFilter(watched, event);
}

void PrepForm::aceptar()
{
    AppContext& app = m_main.app();
    // A delay the two bytes cannot hold is refused before anything reaches the logger.
    if (modoInicio() == ModoInicio::PulsadorDemora && !LeeDemora(txtcStartDelay->text())) {
        m_main.messages().show(TextoPrep(FrasePrep::Demora, app.config.Idioma));
        txtcStartDelay->setFocus();
        return;
    }
    if (m_cambioLimites) {
        const SettingsFile::Result saved = app.settingsFile.write(app.config);
        if (!saved.ok)
            m_main.messages().show(saved.error);
    }
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    CmndAbrir->setEnabled(false);
    PedidoPrep = Pedido;
}

void PrepForm::tick()
{
    if (m_closed)
        return;
    AppContext& app = m_main.app();
    // The session's own token is set when its link failed; the window's flag by everything else.
    if (app.flags.CerrarPrep || m_session->cancelled()) {
        Timer2.stop();
        CierraEnlace();
        return;
    }
    // One exchange at a time: a tick that finds the last one still running is skipped.
    if (m_session->busy())
        return;
    if (PedidoPrep != Pedido) {
        m_session->poll(app.config.GradosC);
        return;
    }
    PedidoPrep = 0;
    programa();
}

void PrepForm::programa()
{
    Preparacion p;
    p.rango = m_rangoPrep;
    p.rawLimInf = m_rawLimInf;
    p.rawLimSup = m_rawLimSup;
    p.modo = modoInicio();
    p.horaInicio = DTPickerStart->dateTime();
    p.demora = LeeDemora(txtcStartDelay->text()).value_or(-1);
    p.circular = Check1->isChecked();
    p.exportador = txtExport->text();
    p.transportador = txtTransport->text();

    m_programando = true;
    const bool posted = m_session->post([this, p](link::LinkContext& ctx) {
        // The PC clock is read once, when the writing begins.
        const QDateTime ahora = QDateTime::currentDateTime();
        ProgramaKLV programa(ctx.link, [this, &ctx](int valor) {
            ctx.toWindow([this, valor] { ProgressBar1->setValue(valor); });
        });
        const ResultadoPrep r = programa.run(p, ahora);
        ctx.toWindow([this, r] { onProgramado(r); });
    });
    if (!posted) {
        m_programando = false;
        ProgressBar1->hide();
    }
}

void PrepForm::onProgramado(const ResultadoPrep& r)
{
    m_programando = false;
    m_resultado = r;
    ProgressBar1->hide();
    // A logger left half programmed must not go out with a shipment unnoticed.
    if (!r.verificado())
        m_main.messages().show(MensajeResultado(r, m_main.app().config.Idioma));
    Q_EMIT programmed();
}

void PrepForm::onStatus(const link::EstadoKLV& estado)
{
    AppContext& app = m_main.app();
    if (m_closed || app.flags.CerrarPrep)
        return;
    m_estado = estado;
    app.VerFw[0] = estado.VerFw1;
    app.VerFw[1] = estado.VerFw2;
    app.VerFw[2] = estado.VerFw3;

    const QDateTime ahora = QDateTime::currentDateTime();
    const link::Resumen r = link::PoneResumen(estado, app.UnidadTexto(), app.textos, ahora, link::CopiaResumen::frmPrep);
    aplicaResumen(*m_main.panel(), r);
    if (r.framePrepara)
        framePrepara->setVisible(*r.framePrepara);

    // A start time left in the past moves to now, and the latest start to 45 days from now.
    if (MinutosHasta(ahora, DTPickerStart->dateTime()) < 0) {
        DTPickerStart->setDateTime(ahora);
        DTPickerStart->setMaximumDateTime(ahora.addSecs(qint64(kMaxMinutosInicio) * 60));
    }
    const EstadoAceptar ok =
        DatosPrepOk(estado.Comunicado, modoInicio(), MinutosHasta(ahora, DTPickerStart->dateTime()), m_rangoPrep);
    if (ok.imgClock)
        imgClock->setPixmap(ui::Pictures::statePicture(ok.imgClock, 24));
    CmndAbrir->setEnabled(ok.ok && !m_programando && PedidoPrep != Pedido);
    Q_EMIT statusShown();
}

void PrepForm::CierraEnlace()
{
    if (m_closed)
        return;
    m_closed = true;
    m_main.app().flags.CerrarPrep = true;
    Timer2.stop();
    m_session->close();
    m_main.app().PrepAbierto = false;
    finEnlace(m_main);
    Q_EMIT linkClosed();
    cierraConMarco(this);
}

void PrepForm::closeEvent(QCloseEvent* event)
{
    // Closing by the frame lets go of the port at once, and the panel no longer shows a logger
    // nobody is reading.
    if (!m_closed)
        CierraEnlace();
    event->accept();
}

} // namespace orvan::mission
