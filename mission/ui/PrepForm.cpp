#include "mission/ui/PrepForm.h"

#include "base/AppContext.h"
#include "base/Encodings.h"
#include "base/ui/IconButton.h"
#include "base/ui/Pictures.h"
#include "base/ui/Workspace.h"
#include "link/PortDirectory.h"
#include "link/QtSerialPort.h"
#include "mission/LiveSummary.h"
#include "mission/ui/SummaryPanel.h"
#include "base/ui/StatusPanel.h"

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

const QString kLightYellow = QStringLiteral("background-color: rgb(255, 255, 192);");
const QString kLightGrey = QStringLiteral("background-color: rgb(224, 224, 224);");
const QString kWhite = QStringLiteral("background-color: rgb(255, 255, 255);");

// A non-editable list shows a text that is not one of its items (the days an interval covers,
// "0" before a choice) as its placeholder.
void showText(QComboBox* combo, const QString& text)
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
int nearest(const QList<int>& list, int v)
{
    int best = list.value(0);
    for (int x : list) {
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
    setWindowTitle(app.textos[Text::PrepareNewMission]);
    // The session's token is the one way to end its exchanges; the application's closing flag
    // only asks the next tick to set it.
    m_session = std::make_unique<link::DeviceSession>(sessionOptions(app, std::move(portFactory), std::move(clockFactory)));
    buildControls();
    PonerTextosPrep();

    connect(m_session.get(), &link::DeviceSession::statusRead, this, &PrepForm::onStatus);
    connect(m_session.get(), &link::DeviceSession::message, this, [this](const QString& text) {
        const ui::DeferredClose::Hold hold(m_closer);
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
        m_rawLimInf = GradosARaw(ComboLoThreshold->currentText().toInt(), app.unit());
        m_rawLimSup = GradosARaw(ComboHiThreshold->currentText().toInt(), app.unit());
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
    const auto readOnlyBox = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setFixedWidth(130);
        return e;
    };
    const auto list = [this](const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(QString::fromLatin1(name));
        c->setMaxVisibleItems(16);
        c->setMinimumWidth(80);
        return c;
    };
    const auto picture = [this](const QPixmap& picture) {
        auto* l = new QLabel(this);
        l->setPixmap(picture);
        return l;
    };

    ComboDuracion = list("ComboDuracion");
    ComboRango = list("ComboRango");
    ComboLoThreshold = list("ComboLoThreshold");
    ComboHiThreshold = list("ComboHiThreshold");
    txtcDuracion = readOnlyBox("txtcDuracion");
    txtcRango = readOnlyBox("txtcRango");
    txtcLoThreshold = readOnlyBox("txtcLoThreshold");
    txtcHiThreshold = readOnlyBox("txtcHiThreshold");
    Label1 = new QLabel(this);
    Label2 = new QLabel(this);
    Label3 = new QLabel(this);
    Label4 = new QLabel(this);
    Image2X[0] = picture(ui::Pictures::limitIcon(0, 22));
    Image2X[1] = picture(ui::Pictures::limitIcon(1, 22));

    for (int i = 0; i < 3; ++i) {
        optInicio[size_t(i)] = new QRadioButton(this);
        optInicio[size_t(i)]->setObjectName(QStringLiteral("optInicio%1").arg(i));
        connect(optInicio[size_t(i)], &QRadioButton::clicked, this, [this, i] { chooseStart(i); });
    }
    imgButtonStart = picture(ui::Pictures::statePicture(5, 24));
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
    imgExport = picture(ui::Pictures::fieldIcon(11, 22));
    imgTransport = picture(ui::Pictures::fieldIcon(12, 22));
    for (QLineEdit* e : {txtExport, txtTransport}) {
        connect(e, &QLineEdit::textEdited, e, [e] { e->setStyleSheet(kLightYellow); });
        e->installEventFilter(this);
    }

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, kProgressEnd);
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
    const auto row = [grid](int row, QWidget* icon, QWidget* label, QWidget* combo, QWidget* result) {
        if (icon)
            grid->addWidget(icon, row, 0);
        grid->addWidget(label, row, 1);
        grid->addWidget(combo, row, 2);
        if (result)
            grid->addWidget(result, row, 3);
    };
    row(0, picture(ui::Pictures::fieldIcon(0, 22)), Label1, ComboDuracion, txtcDuracion);
    row(1, picture(ui::Pictures::fieldIcon(2, 22)), Label2, ComboRango, txtcRango);
    row(2, Image2X[0], Label3, ComboLoThreshold, txtcLoThreshold);
    row(3, Image2X[1], Label4, ComboHiThreshold, txtcHiThreshold);
    grid->addWidget(imgButtonStart, 4, 0);
    grid->addWidget(optInicio[0], 4, 1, 1, 3);
    grid->addWidget(imgClock, 5, 0);
    grid->addWidget(optInicio[1], 5, 1);
    grid->addWidget(DTPickerStart, 5, 2, 1, 2);
    grid->addWidget(optInicio[2], 6, 1);
    auto* delay = new QHBoxLayout;
    delay->addWidget(txtcStartDelay);
    delay->addWidget(new QLabel(QStringLiteral("min."), this));
    delay->addStretch();
    grid->addLayout(delay, 6, 2, 1, 2);
    grid->addWidget(Check1, 7, 1, 1, 3);
    grid->addWidget(imgExport, 8, 0);
    grid->addWidget(txtExport, 8, 1, 1, 3);
    grid->addWidget(imgTransport, 9, 0);
    grid->addWidget(txtTransport, 9, 1, 1, 3);
    DTPickerStart->setMaximumWidth(220);
    for (QLineEdit* e : {txtExport, txtTransport})
        e->setMaximumWidth(360);
    grid->setColumnStretch(4, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmndAbrir);
    buttons->addWidget(CmndCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(framePrepara);
    layout->addWidget(ProgressBar1);
    layout->addLayout(buttons);
    layout->addStretch();
    layout->addWidget(lbCopyrigt);

    connect(ComboDuracion, &QComboBox::activated, this, [this](int i) { chooseDuration(ComboDuracion->itemText(i).toInt()); });
    connect(ComboRango, &QComboBox::activated, this, [this](int i) { chooseInterval(ComboRango->itemText(i).toInt()); });
    connect(ComboLoThreshold, &QComboBox::activated, this,
            [this](int i) { chooseLowLimit(ComboLoThreshold->itemText(i).toInt()); });
    connect(ComboHiThreshold, &QComboBox::activated, this,
            [this](int i) { chooseHighLimit(ComboHiThreshold->itemText(i).toInt()); });
    connect(CmndAbrir, &QPushButton::clicked, this, &PrepForm::onAccept);
    connect(CmndCancel, &QPushButton::clicked, this, [this] {
        m_main.setConnectEnabled(true);
        m_main.app().flags.CerrarPrep = true;
        // A programming in progress stops at its next write; its result says so.
        m_session->cancel();
    });

    optInicio[0]->setChecked(true);
    chooseStart(0);
}

void PrepForm::PonerTextosPrep()
{
    const TextTable& t = m_main.app().textos;
    optInicio[0]->setToolTip(t[Text::StartWithButton]);
    imgButtonStart->setToolTip(t[Text::StartWithButton]);
    optInicio[1]->setToolTip(t[Text::StartAtTime]);
    imgClock->setToolTip(t[Text::StartAtTime]);
    DTPickerStart->setToolTip(t[Text::StartAtTime]);
    optInicio[0]->setText(t[Text::StartWithButton]);
    optInicio[1]->setText(t[Text::StartAtTime]);
    optInicio[2]->setText(t[Text::StartWithButton] + QStringLiteral(" + min."));
    txtcDuracion->setToolTip(t[Text::MissionDays]);
    txtcRango->setToolTip(t[Text::IntervalMinutes]);
    Check1->setToolTip(t[Text::CircularWriting]);
    txtExport->setToolTip(t[Text::ExporterName]);
    imgExport->setToolTip(t[Text::ExporterName]);
    txtTransport->setToolTip(t[Text::CarrierName]);
    imgTransport->setToolTip(t[Text::CarrierName]);
    for (QWidget* w : {static_cast<QWidget*>(Image2X[0]), static_cast<QWidget*>(Label3), static_cast<QWidget*>(txtcLoThreshold)})
        w->setToolTip(t[Text::LowLimit]);
    for (QWidget* w : {static_cast<QWidget*>(Image2X[1]), static_cast<QWidget*>(Label4), static_cast<QWidget*>(txtcHiThreshold)})
        w->setToolTip(t[Text::HighLimit]);
    Label3->setText(t[Text::LowLimit]);
    Label4->setText(t[Text::HighLimit]);
    Check1->setText(t[Text::AllowOverwriting]);
    Label1->setText(t[Text::RecordLength]);
    Label2->setText(t[Text::IntervalShort]);
    txtExport->setPlaceholderText(t[Text::ExporterName]);
    txtTransport->setPlaceholderText(t[Text::CarrierName]);
    CmndCancel->setToolTip(t[Text::Exit]);
}

void PrepForm::LlenaCombos()
{
    const AppContext& app = m_main.app();
    const QString unit = app.UnidadTexto();
    for (int d : durationDays())
        ComboDuracion->addItem(QString::number(d));
    for (int r : intervals())
        ComboRango->addItem(QString::number(r));
    const QList<int> limits = limitList(app.unit());
    for (QComboBox* c : {ComboLoThreshold, ComboHiThreshold}) {
        for (int g : limits)
            c->addItem(QString::number(g));
    }
    showText(ComboDuracion, QStringLiteral("0"));
    showText(ComboRango, QStringLiteral("0"));
    showText(ComboLoThreshold, QString::number(nearest(limits, app.config.LimInfDef)));
    showText(ComboHiThreshold, QString::number(nearest(limits, app.config.LimSupDef)));
    txtcDuracion->setText(ComboDuracion->placeholderText() + QStringLiteral(" d"));
    txtcRango->setText(ComboRango->placeholderText() + QStringLiteral(" min."));
    txtcLoThreshold->setText(ComboLoThreshold->currentText() + unit);
    txtcHiThreshold->setText(ComboHiThreshold->currentText() + unit);
}

void PrepForm::chooseDuration(int days)
{
    chooseInterval(intervalForDays(days));
    showText(ComboDuracion, QString::number(days));
}

void PrepForm::chooseInterval(int interval)
{
    if (interval < 1 || interval > 60)
        return;
    showText(ComboDuracion, QString::number(coverageOf(interval).days));
    showText(ComboRango, QString::number(interval));
    txtcDuracion->setText(durationText(interval));
    txtcRango->setText(intervalText(interval));
    m_rangoPrep = interval;
    txtcDuracion->setStyleSheet(kLightYellow);
    txtcRango->setStyleSheet(kLightYellow);
}

void PrepForm::chooseLowLimit(int degrees)
{
    applyLimits(chooseLow(currentLimits(), degrees));
}

void PrepForm::chooseHighLimit(int degrees)
{
    applyLimits(chooseHigh(currentLimits(), degrees));
}

Limits PrepForm::currentLimits() const
{
    return {ComboLoThreshold->currentText().toInt(), ComboHiThreshold->currentText().toInt()};
}

void PrepForm::applyLimits(const Limits& l)
{
    AppContext& app = m_main.app();
    showText(ComboLoThreshold, QString::number(l.low));
    showText(ComboHiThreshold, QString::number(l.high));
    txtcLoThreshold->setText(QString::number(l.low) + app.UnidadTexto());
    txtcHiThreshold->setText(QString::number(l.high) + app.UnidadTexto());
    m_rawLimInf = GradosARaw(l.low, app.unit());
    m_rawLimSup = GradosARaw(l.high, app.unit());
    // Remembered as the defaults of the next preparation; saved to the settings file on Accept.
    app.config.LimInfDef = qint16(l.low);
    app.config.LimSupDef = qint16(l.high);
    m_cambioLimites = true;
}

void PrepForm::chooseStart(int index)
{
    if (index < 0 || index > 2)
        return;
    optInicio[size_t(index)]->setChecked(true);
    DTPickerStart->setEnabled(index == 1);
    txtcStartDelay->setEnabled(index == 2);
    txtcStartDelay->setStyleSheet(index == 2 ? kWhite : kLightGrey);
}

StartMode PrepForm::startMode() const
{
    if (optInicio[1]->isChecked())
        return StartMode::SetTime;
    if (optInicio[2]->isChecked())
        return StartMode::ButtonDelay;
    return StartMode::Button;
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

void PrepForm::onAccept()
{
    const ui::DeferredClose::Hold hold(m_closer);
    AppContext& app = m_main.app();
    // A delay the two bytes cannot hold is refused before anything reaches the logger.
    if (startMode() == StartMode::ButtonDelay && !parseDelay(txtcStartDelay->text())) {
        m_main.messages().show(prepText(PrepSentence::BadDelay, app.config.Idioma));
        if (m_closed)
            return;
        txtcStartDelay->setFocus();
        return;
    }
    // A name the logger cannot hold is refused here, not turned into other characters.
    for (QLineEdit* box : {txtExport, txtTransport}) {
        if (const std::optional<QString> refusal = nameRefusal(box->text(), app.config.Idioma)) {
            m_main.messages().show(*refusal);
            if (m_closed)
                return;
            box->setFocus();
            return;
        }
    }
    if (m_cambioLimites) {
        const SettingsFile::Result saved = app.settingsFile.write(app.config);
        if (!saved.ok)
            m_main.messages().show(saved.error);
        if (m_closed)
            return;
    }
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    CmndAbrir->setEnabled(false);
    PedidoPrep = kRequested;
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
    if (PedidoPrep != kRequested) {
        m_session->poll(app.unit());
        return;
    }
    PedidoPrep = 0;
    program();
}

void PrepForm::program()
{
    MissionPlan p;
    p.interval = m_rangoPrep;
    p.rawLimInf = m_rawLimInf;
    p.rawLimSup = m_rawLimSup;
    p.start = startMode();
    p.startTime = DTPickerStart->dateTime();
    p.delay = parseDelay(txtcStartDelay->text()).value_or(-1);
    p.circular = Check1->isChecked();
    p.exporter = txtExport->text();
    p.carrier = txtTransport->text();

    m_programming = true;
    const bool posted = m_session->post([this, p](link::LinkContext& ctx) {
        // The PC clock is read once, when the writing begins.
        const QDateTime now = QDateTime::currentDateTime();
        ProgramaKLV program(ctx.link, [this, &ctx](int value) {
            ctx.toWindow([this, value] { ProgressBar1->setValue(value); });
        });
        const PrepResult r = program.run(p, now);
        ctx.toWindow([this, r] { onProgrammed(r); });
    });
    if (!posted) {
        m_programming = false;
        ProgressBar1->hide();
    }
}

void PrepForm::onProgrammed(const PrepResult& r)
{
    const ui::DeferredClose::Hold hold(m_closer);
    m_programming = false;
    m_result = r;
    ProgressBar1->hide();
    // A logger left half programmed must not go out with a shipment unnoticed.
    if (!r.verified())
        m_main.messages().show(resultMessage(r, m_main.app().config.Idioma));
    Q_EMIT programmed();
}

void PrepForm::onStatus(const link::EstadoKLV& snapshot)
{
    AppContext& app = m_main.app();
    if (m_closed || app.flags.CerrarPrep)
        return;
    m_status = snapshot;
    app.VerFw[0] = snapshot.VerFw1;
    app.VerFw[1] = snapshot.VerFw2;
    app.VerFw[2] = snapshot.VerFw3;

    const QDateTime now = QDateTime::currentDateTime();
    const LiveSummary r = PoneResumen(snapshot, app.UnidadTexto(), app.textos, now, SummaryCopy::frmPrep);
    m_main.panel()->updateLive(r.panel);
    if (r.prepareFrame)
        framePrepara->setVisible(*r.prepareFrame);

    // A start time left in the past moves to now, and the latest start to 45 days from now.
    if (minutesUntil(now, DTPickerStart->dateTime()) < 0) {
        DTPickerStart->setDateTime(now);
        DTPickerStart->setMaximumDateTime(now.addSecs(qint64(kMaxStartMinutes) * 60));
    }
    const AcceptState ok =
        DatosPrepOk(snapshot.Comunicado, startMode(), minutesUntil(now, DTPickerStart->dateTime()), m_rangoPrep);
    if (ok.imgClock)
        imgClock->setPixmap(ui::Pictures::statePicture(ok.imgClock, 24));
    CmndAbrir->setEnabled(ok.ok && !m_programming && PedidoPrep != kRequested);
    Q_EMIT statusShown();
}

void PrepForm::endLink()
{
    m_closed = true;
    m_main.app().flags.CerrarPrep = true;
    Timer2.stop();
    m_session->close();
    m_main.app().PrepAbierto = false;
    showLinkEnded(m_main);
    Q_EMIT linkClosed();
}

void PrepForm::CierraEnlace()
{
    if (m_closed)
        return;
    endLink();
    m_closer.request();
}

void PrepForm::closeEvent(QCloseEvent* event)
{
    // Closing by the frame lets go of the port at once, and the panel no longer shows a logger
    // nobody is reading.
    if (!m_closed)
        endLink();
    if (m_closer.held()) {
        // A handler of this window waits in a box: the window goes when it returns.
        m_closer.request();
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace orvan::mission
