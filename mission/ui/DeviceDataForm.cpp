#include "mission/ui/DeviceDataForm.h"

#include "link/QtSerialPort.h"
#include "mission/ui/SummaryPanel.h"
#include "records/MissionRecord.h"
#include "records/ui/SaveRecordDialog.h"
#include "base/ui/ConfirmDialog.h"
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

link::DeviceSession::Options sessionOptions(const QString& appFolder, link::DeviceSession::PortFactory factory,
                                           link::DeviceSession::ClockFactory clock)
{
    link::DeviceSession::Options o;
    o.profile = link::LinkProfile::frmsave();
    o.portFactory = factory ? std::move(factory) : [] { return std::make_unique<link::QtSerialPort>(); };
    o.clockFactory = std::move(clock);
    // Until the search finds the logger the port is COM1, as a port control starts out.
    o.device = link::devicePathFor(appFolder, 1);
    return o;
}

} // namespace

DeviceDataForm::DeviceDataForm(ui::Workspace& main, records::MissionRecord& record,
                               link::DeviceSession::PortFactory portFactory,
                               link::DeviceSession::ClockFactory clockFactory, QWidget* parent)
    : QWidget(parent), m_main(main), m_record(record)
{
    setObjectName(QStringLiteral("frmsave"));
    setWindowTitle(main.app().textos[Text::ConnectLogger]);
    AppContext& app = main.app();
    // The session's token is the one way to end its exchanges; the application's closing flag
    // only asks the next tick to set it.
    m_session = std::make_unique<link::DeviceSession>(
        sessionOptions(app.appFolder, std::move(portFactory), std::move(clockFactory)));

    GrabArch = [this](records::MissionRecord& r) {
        records::SaveRecordDialog dialog(m_main.app(), r, m_main.messages(), this);
        dialog.exec();
    };

    buildControls();
    setTexts();

    connect(m_session.get(), &link::DeviceSession::statusRead, this, &DeviceDataForm::onStatus);
    connect(m_session.get(), &link::DeviceSession::searchFinished, this, &DeviceDataForm::onSearchFinished);
    connect(m_session.get(), &link::DeviceSession::jobFinished, this, &DeviceDataForm::onJobFinished);
    connect(m_session.get(), &link::DeviceSession::message, this, [this](const QString& text) {
        const ui::DeferredClose::Hold hold(m_closer);
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
    const QPixmap shipPicture = ui::Pictures::fromFile(QDir(m_main.app().pictureFolder).filePath(QStringLiteral("Barco.jpg")));
    // Without its picture the form still works; nothing to report.
    if (!shipPicture.isNull())
        Picture1->setPixmap(shipPicture.scaled(480, 260, Qt::KeepAspectRatio, Qt::SmoothTransformation));

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
    ProgressBar2->setMaximum(kBarMaximum);
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

    // Clicks only post requests; the next tick serves them.
    connect(cmdClear, &QPushButton::clicked, this, [this] {
        const ui::DeferredClose::Hold hold(m_closer);
        if (Seguro(19) && !m_closed)
            PedidoBorrar = kRequested;
    });
    connect(cmdStop, &QPushButton::clicked, this, [this] {
        const ui::DeferredClose::Hold hold(m_closer);
        if (Seguro(11) && !m_closed)
            PedidoDetener = kRequested;
    });
    connect(cmdAlmacena, &QPushButton::clicked, this, [this] {
        CmndCancel->hide();
        ProgressBar2->setValue(0);
        ProgressBar2->show();
        PedidoAlmacenar = kRequested;
    });
    connect(cmdPrepara, &QPushButton::clicked, this, [this] { PedidoPreparar = kRequested; });
    connect(CmndCancel, &QPushButton::clicked, this, [this] {
        m_main.setConnectEnabled(true);
        m_main.app().flags.CerrarSave = true;
        m_session->cancel();
    });
}

void DeviceDataForm::setTexts()
{
    const TextTable& t = m_main.app().textos;
    cmdClear->setToolTip(t[Text::EraseAllData]);
    cmdStop->setToolTip(t[Text::StopMission]);
    cmdAlmacena->setToolTip(t[Text::SaveDataOnDisk]);
    cmdPrepara->setToolTip(t[Text::PrepareNewMission]);
    CmndCancel->setToolTip(t[Text::Exit]);
}

bool DeviceDataForm::Seguro(int picture)
{
    return ui::ConfirmDialog::ask(this, ui::Pictures::statePicture(picture, 64));
}

void DeviceDataForm::tick()
{
    if (m_closed)
        return;
    AppContext& app = m_main.app();
    // The session's own token is set when its link failed; the window's flag by everything else,
    // and only this tick passes it on to the session.
    if (app.flags.CerrarSave || m_session->cancelled()) {
        PedidoBorrar = 0;
        Timer2.stop();
        CierraEnlace();
        return;
    }
    // One exchange at a time: a tick that finds a command or an exchange still running is skipped.
    if (m_command || m_session->busy())
        return;

    const auto serve = [](quint16& request) {
        if (request != kRequested)
            return false;
        request = 0;
        return true;
    };
    if (serve(PedidoBorrar))
        BorraMemoria();
    else if (serve(PedidoAlmacenar))
        Almacena();
    else if (serve(PedidoDetener))
        DetieneMision();
    else if (serve(PedidoPreparar))
        prepare();
    else
        m_session->poll(app.unit());
}

void DeviceDataForm::runCommand(std::function<void(link::LinkContext&)> job, std::function<void()> then)
{
    m_then = std::move(then);
    if (!m_session->post(std::move(job))) {
        // The session is closing: nothing ran, and the window goes with it.
        m_then = {};
        restoreBar();
        finishCommand();
    }
}

void DeviceDataForm::onJobFinished()
{
    if (!m_then || m_closed)
        return;
    const std::function<void()> then = std::move(m_then);
    m_then = {};
    // A continuation shows messages and the save dialog.
    const ui::DeferredClose::Hold hold(m_closer);
    then();
}

void DeviceDataForm::DeshabilitaAcciones()
{
    m_availability = {};
    cmdPrepara->setEnabled(false);
    cmdAlmacena->setEnabled(false);
    cmdStop->setEnabled(false);
    cmdClear->setEnabled(false);
}

void DeviceDataForm::showProgress(int value, int maximum)
{
    if (m_closed)
        return;
    if (ProgressBar2->maximum() != maximum)
        ProgressBar2->setMaximum(maximum);
    ProgressBar2->setValue(value);
    ProgressBar2->show();
}

void DeviceDataForm::restoreBar()
{
    ProgressBar2->hide();
    ProgressBar2->setMaximum(kBarMaximum);
    CmndCancel->show();
}

void DeviceDataForm::finishCommand()
{
    m_command = false;
    unsetCursor();
    setEnabled(true);
    Q_EMIT commandFinished();
}

void DeviceDataForm::BorraMemoria()
{
    m_command = true;
    CmndCancel->hide();
    // The buttons come back with the first poll after the erase.
    DeshabilitaAcciones();
    runCommand(
        [this, stepMs = m_eraseStepMs](link::LinkContext& ctx) {
            const EraseResult r = mission::BorraMemoria(
                ctx.link,
                [this, &ctx](int value, int maximum) {
                    ctx.toWindow([this, value, maximum] { showProgress(value, maximum); });
                },
                stepMs);
            ctx.toWindow([this, r] { m_erase = r; });
        },
        [this] {
            const QString text = eraseMessage(m_erase, m_main.app().config.Idioma);
            if (!text.isEmpty())
                m_main.messages().show(text);
            if (m_closed)
                return;
            restoreBar();
            finishCommand();
        });
}

void DeviceDataForm::Almacena()
{
    m_command = true;
    setCursor(Qt::WaitCursor);
    ProgressBar2->setValue(50);
    DeshabilitaAcciones();
    // The form stays visible, disabled, so that the progress can be followed.
    setEnabled(false);
    runCommand(
        [this](link::LinkContext& ctx) {
            DownloadResult d = LeerKLV(ctx.link, ctx.estado.NumMuestras, [this, &ctx](int value, int maximum) {
                ctx.toWindow([this, value, maximum] { showProgress(value, maximum); });
            });
            ctx.toWindow([this, d = std::move(d)]() mutable { m_download = std::move(d); });
        },
        [this] { downloadFinished(); });
}

void DeviceDataForm::downloadFinished()
{
    setEnabled(true);
    const DownloadResult d = std::move(m_download);
    m_download = {};
    if (!d.ok()) {
        // The record on screen stays as it was; the way out is shown again.
        unsetCursor();
        restoreBar();
        if (d.outcome == DownloadOutcome::Disconnected)
            m_main.messages().show(disconnectionMessage());
        if (!m_closed)
            finishCommand();
        return;
    }

    // Only a complete download replaces the record.
    m_record.clear();
    m_record.setBytes(0, d.image);
    m_record.GuardadoEnDisco = false;
    for (const QString& text : m_record.LeeAuditoria())
        m_main.messages().show(text);
    unsetCursor();
    // The save dialog is offered even when the link went meanwhile: the record is complete.
    if (GrabArch)
        GrabArch(m_record);
    if (m_record.GuardadoEnDisco && recordSaved) {
        const auto tell = recordSaved;
        tell(m_record.Archivo);
    }
    if (m_closed)
        return;

    restoreBar();
    if (!m_record.GuardadoEnDisco) {
        // Nothing reached the disk, so the logger is not marked.
        finishCommand();
        return;
    }
    runCommand(
        [this](link::LinkContext& ctx) {
            const MarkResult r = markDownloadSaved(ctx.link, ctx.estado);
            ctx.toWindow([this, r] { m_mark = r; });
        },
        [this] {
            // The record is on disk either way; the user must know that the logger does not say
            // so, or its next erase would be refused or, worse, its data taken as unsaved.
            if (m_mark == MarkResult::NotSent || m_mark == MarkResult::NotConfirmed)
                m_main.messages().show(markFailedMessage(m_record.Archivo, m_main.app().config.Idioma));
            if (!m_closed)
                finishCommand();
        });
}

void DeviceDataForm::DetieneMision()
{
    m_command = true;
    runCommand([](link::LinkContext& ctx) { mission::DetieneMision(ctx.link, ctx.estado); }, [this] { finishCommand(); });
}

void DeviceDataForm::prepare()
{
    // The preparation window opens the port again, so this window lets go of it first.
    m_closed = true;
    AppContext& app = m_main.app();
    app.flags.CerrarSave = true;
    Timer2.stop();
    m_session->close();
    app.flags.CerrarPrep = false;
    if (!m_main.openChild(ui::Child::frmPrep)) {
        // No preparation window to hand over to: the link simply ends.
        showLinkEnded(m_main);
    }
    Q_EMIT linkClosed();
    m_closer.request();
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
    m_status = estado;
    AppContext& app = m_main.app();
    app.VerFw[0] = estado.VerFw1;
    app.VerFw[1] = estado.VerFw2;
    app.VerFw[2] = estado.VerFw3;

    const LiveSummary r = PoneResumen(estado, app.UnidadTexto(), app.textos, QDateTime::currentDateTime(),
                                      SummaryCopy::frmsave, m_availability);
    m_availability = r.availability;
    m_main.panel()->updateLive(r.panel);
    const auto enable = [](QPushButton* b, const std::optional<bool>& on) {
        if (on)
            b->setEnabled(*on);
    };
    enable(cmdAlmacena, r.storeButton);
    enable(cmdClear, r.eraseButton);
    enable(cmdStop, r.stopButton);
    enable(cmdPrepara, r.prepareButton);
    Q_EMIT statusShown();
}

void DeviceDataForm::endLink()
{
    m_closed = true;
    m_main.app().flags.CerrarSave = true;
    Timer2.stop();
    m_session->close();
    showLinkEnded(m_main);
    Q_EMIT linkClosed();
}

void DeviceDataForm::CierraEnlace()
{
    if (m_closed)
        return;
    endLink();
    m_closer.request();
}

void DeviceDataForm::closeEvent(QCloseEvent* event)
{
    // Closing the window by its frame ends the link like Cancel does: otherwise the panel would
    // keep a stale logger.
    if (!m_closed)
        endLink();
    if (m_closer.held()) {
        // A handler of this window waits in a box or a dialog: the window goes when it returns.
        m_closer.request();
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace orvan::mission
