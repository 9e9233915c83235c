#include "mission/ui/DeviceDataForm.h"

#include "link/QtSerialPort.h"
#include "mission/ui/PanelResumen.h"
#include "base/AppContext.h"
#include "base/ui/IconButton.h"
#include "base/ui/Workspace.h"
#include "base/ui/Pictures.h"
#include "base/ui/StatusPanel.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvan::mission {

namespace {

link::DeviceSession::Options sessionOptions(const QString& appFolder, link::DeviceSession::PortFactory factory)
{
    link::DeviceSession::Options o;
    o.profile = link::LinkProfile::frmsave();
    o.portFactory = factory ? std::move(factory) : [] { return std::make_unique<link::QtSerialPort>(); };
    // Until the search finds the logger the port is COM1, as a port control starts out.
    o.device = link::devicePathFor(appFolder, 1);
    return o;
}

} // namespace

DeviceDataForm::DeviceDataForm(ui::Workspace& main, link::DeviceSession::PortFactory portFactory, QWidget* parent)
    : QWidget(parent), m_main(main)
{
    setObjectName(QStringLiteral("frmsave"));
    setWindowTitle(main.app().textos[8]);
    AppContext& app = main.app();
    m_session = std::make_unique<link::DeviceSession>(app.flags.CerrarSave, sessionOptions(app.appFolder, std::move(portFactory)));

    buildControls();
    setTexts();

    connect(m_session.get(), &link::DeviceSession::statusRead, this, &DeviceDataForm::onStatus);
    connect(m_session.get(), &link::DeviceSession::searchFinished, this, &DeviceDataForm::onSearchFinished);
    connect(m_session.get(), &link::DeviceSession::message, this, [this](const QString& text) {
        m_main.messages().show(text);
    });

    // While this window holds the link there is nothing to connect; whichever way it closes
    // (Cancel, its frame, a toolbar command, a link error) gives the command back.
    m_main.setConnectEnabled(false);

    Timer2.setInterval(500);
    connect(&Timer2, &QTimer::timeout, this, &DeviceDataForm::tick);
    Timer2.start();
    if (!app.flags.CerrarSave)
        m_session->search(app.appFolder);
    else
        m_searchDone = true;
}

DeviceDataForm::~DeviceDataForm()
{
    Timer2.stop();
    m_session->close();
}

void DeviceDataForm::buildControls()
{
    Picture1 = new QLabel(this);
    Picture1->setAlignment(Qt::AlignCenter);
    Picture1->setMinimumHeight(120);
    const QPixmap barco(QDir(m_main.app().appFolder).filePath(QStringLiteral("Barco.jpg")));
    // Without its picture the form still works; nothing to report.
    if (!barco.isNull())
        Picture1->setPixmap(barco.scaled(480, 260, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    using ui::Pictures;
    const auto command = [this](const char* name, const QPixmap& picture) {
        return ui::iconButton(this, QString::fromLatin1(name), picture, 40, QSize(64, 56));
    };
    cmdClear = command("cmdClear", Pictures::statePicture(19, 40));
    cmdStop = command("cmdStop", Pictures::statePicture(11, 40));
    cmdAlmacena = command("cmdAlmacena", Pictures::statePicture(16, 40));
    cmdPrepara = command("cmdPrepara", Pictures::statePicture(6, 40));
    CmndCancel = command("CmndCancel", Pictures::refuseIcon(40));
    // Commands wait for the first status that allows them.
    for (QPushButton* b : {cmdClear, cmdStop, cmdAlmacena, cmdPrepara})
        b->setEnabled(false);

    ProgressBar2 = new QProgressBar(this);
    ProgressBar2->setMaximum(750);
    ProgressBar2->setTextVisible(false);
    ProgressBar2->hide();

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdClear, cmdStop, cmdAlmacena, cmdPrepara})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(CmndCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Picture1, 1);
    layout->addWidget(ProgressBar2);
    layout->addLayout(buttons);

    // A command this window cannot run yet says so rather than doing nothing.
    const auto available = [this](const std::function<void(DeviceDataForm&)>& command) {
        if (!command)
            m_main.messages().show(QStringLiteral("Esta función todavía no está disponible."));
        return bool(command);
    };
    connect(cmdClear, &QPushButton::clicked, this, [this, available] {
        if (available(BorraMemoria))
            PedidoBorrar = Pedido;
    });
    connect(cmdStop, &QPushButton::clicked, this, [this, available] {
        if (available(DetieneMision))
            PedidoDetener = Pedido;
    });
    connect(cmdAlmacena, &QPushButton::clicked, this, [this, available] {
        if (!available(Almacena))
            return;
        CmndCancel->hide();
        ProgressBar2->setValue(0);
        ProgressBar2->show();
        PedidoAlmacenar = Pedido;
    });
    connect(cmdPrepara, &QPushButton::clicked, this, [this, available] {
        if (available(Preparar))
            PedidoPreparar = Pedido;
    });
    connect(CmndCancel, &QPushButton::clicked, this, [this] {
        m_main.setConnectEnabled(true);
        m_main.app().flags.CerrarSave = true;
        m_session->cancel();
    });
}

void DeviceDataForm::setTexts()
{
    const TextTable& t = m_main.app().textos;
    cmdClear->setToolTip(t[24]);
    cmdStop->setToolTip(t[25]);
    cmdAlmacena->setToolTip(t[26]);
    cmdPrepara->setToolTip(t[27]);
    CmndCancel->setToolTip(t[28]);
}

void DeviceDataForm::tick()
{
    if (m_closed)
        return;
    AppContext& app = m_main.app();
    // The session's own token is set when its link failed; the window's flag by everything else.
    if (app.flags.CerrarSave || m_session->cancelled()) {
        PedidoBorrar = 0;
        Timer2.stop();
        CierraEnlace();
        return;
    }
    // One exchange at a time: a tick that finds the last one still running is skipped.
    if (m_session->busy())
        return;

    const auto serve = [this](quint16& pedido, const std::function<void(DeviceDataForm&)>& command) {
        if (pedido != Pedido)
            return false;
        pedido = 0;
        if (command)
            command(*this);
        return true;
    };
    if (serve(PedidoBorrar, BorraMemoria) || serve(PedidoAlmacenar, Almacena) || serve(PedidoDetener, DetieneMision)
        || serve(PedidoPreparar, Preparar))
        return;
    m_session->poll(app.config.GradosC);
}

void DeviceDataForm::onSearchFinished(int com)
{
    m_searchDone = true;
    if (com > 0)
        m_main.app().config.PuertoCom = qint16(com);
}

void DeviceDataForm::onStatus(const link::EstadoKLV& estado)
{
    if (m_closed || m_main.app().flags.CerrarSave)
        return;
    m_estado = estado;
    AppContext& app = m_main.app();
    app.VerFw[0] = estado.VerFw1;
    app.VerFw[1] = estado.VerFw2;
    app.VerFw[2] = estado.VerFw3;

    const link::Resumen r = link::PoneResumen(estado, app.UnidadTexto(), app.textos, QDateTime::currentDateTime(),
                                              link::CopiaResumen::frmsave, m_disponibilidad);
    m_disponibilidad = r.disponibilidad;
    aplicaResumen(*m_main.panel(), r);
    const auto enable = [](QPushButton* b, const std::optional<bool>& on) {
        if (on)
            b->setEnabled(*on);
    };
    enable(cmdAlmacena, r.cmdAlmacena);
    enable(cmdClear, r.cmdClear);
    enable(cmdStop, r.cmdStop);
    enable(cmdPrepara, r.cmdPrepara);
    Q_EMIT statusShown();
}

void DeviceDataForm::CierraEnlace()
{
    if (m_closed)
        return;
    m_closed = true;
    m_main.app().flags.CerrarSave = true;
    ui::StatusPanel* panel = m_main.panel();
    panel->FrameComm->hide();
    panel->frameInstit->show();
    Timer2.stop();
    m_session->close();
    m_main.setConnectEnabled(true);
    Q_EMIT linkClosed();
    // The form goes with its frame in the document area.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void DeviceDataForm::closeEvent(QCloseEvent* event)
{
    // Closing the window by its frame ends the link like Cancel does: otherwise the panel would
    // keep a stale logger.
    if (!m_closed)
        CierraEnlace();
    event->accept();
}

} // namespace orvan::mission
