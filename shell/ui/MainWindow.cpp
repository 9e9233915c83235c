#include "shell/ui/MainWindow.h"

#include "base/AddedTexts.h"
#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "base/RuntimeError.h"
#include "base/ui/Pictures.h"
#include "base/ui/StatusPanel.h"
#include "base/ui/Twips.h"
#include "archive/ui/ArchivePictures.h"
#include "records/ui/OpenRecordDialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <exception>
#include <functional>

namespace orvan::shell {

using namespace ui;

namespace {

const QString kCaption = QStringLiteral("Data Logger Orvan \u00ae");
const QString kFormName = QStringLiteral("MDIMenu");

// The views and dialogs every command closes first, in this order.
constexpr std::initializer_list<MainWindow::Child> kViewsAndDialogs = {
    MainWindow::Child::frmGrafico, MainWindow::Child::frmTorta, MainWindow::Child::frmHisto,
    MainWindow::Child::AbreArch,   MainWindow::Child::Detalle,  MainWindow::Child::frmAlar,
    MainWindow::Child::Summary,
};

// A command that fails is reported in the usual error format and the application carries on.
void reported(MessageSink& messages, const QString& procedure, const std::function<void()>& body)
{
    try {
        body();
    } catch (const RuntimeError& e) {
        messages.show(errorInForm(e, procedure, kFormName));
    } catch (const std::exception& e) {
        messages.show(errorInForm(51, QString::fromLocal8Bit(e.what()), procedure, kFormName));
    } catch (...) {
        messages.show(errorInForm(51, QStringLiteral("Internal error"), procedure, kFormName));
    }
}

// The hourglass of the connect command, restored however the command ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { restore(); }
    void restore()
    {
        if (active)
            QApplication::restoreOverrideCursor();
        active = false;
    }
    bool active = true;
};

} // namespace

MainWindow::MainWindow(AppContext& app, records::MissionRecord& record, MessageSink& messages, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_record(record), m_messages(messages)
{
    setObjectName(kFormName);
    setWindowTitle(kCaption);
    setWindowIcon(Pictures::appIcon());
    buildToolbars();
    buildPanel();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        resize(qMin(1280, avail.width() * 9 / 10), qMin(880, avail.height() * 9 / 10));
    } else {
        resize(1180, 820);
    }
    setMinimumSize(800, 560);
    setAcceptDrops(true);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildToolbars()
{
    m_toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    m_toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar1->setMovable(false);
    m_toolbar1->setFloatable(false);
    m_toolbar1->setIconSize(QSize(32, 32));
    m_toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolbar1->toggleViewAction()->setEnabled(false);
    for (int i = 1; i <= kToolbar1Buttons; ++i) {
        QAction* a = m_toolbar1->addAction(Pictures::toolbar1Icon(i), QString());
        a->setObjectName(QStringLiteral("Toolbar1_%1").arg(i));
        connect(a, &QAction::triggered, this, [this, i] { toolbar1Click(i); });
        m_buttons1[i] = a;
        if (i == 2)
            m_toolbar1->addSeparator();
    }
    for (int i = 3; i <= kToolbar1Buttons; ++i)
        m_buttons1[i]->setEnabled(false);

    // The records archive needs no record in memory: its button sits beside study from disk and
    // is never disabled; opening it closes nothing.
    m_archiveButton = new QAction(archive::ui::archiveIcon(), QString(), m_toolbar1);
    m_archiveButton->setObjectName(QStringLiteral("ToolbarArchive"));
    m_toolbar1->insertAction(m_buttons1[2], m_archiveButton);
    connect(m_archiveButton, &QAction::triggered, this, [this] {
        reported(m_messages, QStringLiteral("ToolbarArchive_Click"), [this] { openChild(Child::Archive); });
    });

    m_toolbar2 = addToolBar(QStringLiteral("Toolbar2"));
    m_toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    m_toolbar2->setMovable(false);
    m_toolbar2->setFloatable(false);
    m_toolbar2->setIconSize(QSize(32, 32));
    m_toolbar2->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolbar2->toggleViewAction()->setEnabled(false);
    for (int i = 1; i <= 4; ++i) {
        QAction* a = nullptr;
        if (i == 3) {
            // The spacer pushes finish to the far end of the row.
            auto* spacer = new QWidget(m_toolbar2);
            spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            a = m_toolbar2->addWidget(spacer);
        } else {
            a = m_toolbar2->addAction(Pictures::toolbar2Icon(i), QString());
            connect(a, &QAction::triggered, this, [this, i] { toolbar2Click(i); });
        }
        a->setObjectName(QStringLiteral("Toolbar2_%1").arg(i));
        m_buttons2[i] = a;
    }
}

void MainWindow::buildPanel()
{
    auto* central = new QWidget(this);
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    m_panel = new StatusPanel(m_app.pictureFolder, central);
    v->addWidget(m_panel);
    m_mdi = new QMdiArea(central);
    m_mdi->setObjectName(QStringLiteral("MDIArea"));
    m_mdi->setBackground(QColor(0x2c, 0x3e, 0x55));
    m_mdi->viewport()->installEventFilter(this);
    v->addWidget(m_mdi, 1);
    setCentralWidget(central);
}

void MainWindow::startUp()
{
    reported(m_messages, QStringLiteral("MDIForm_Load"), [this] {
        applyCaption();

        const SettingsFile::Result r = m_app.settingsFile.loadAtStartup(m_app.config);
        if (!r.ok) {
            // The settings in memory are usable; the user learns that the file is not.
            m_messages.show(errorInForm(RuntimeError::FileIo, r.error, QStringLiteral("MDIForm_Load"), kFormName));
        }
        // The trademark line of the configured language.
        m_app.LineaMarca = TextTable::LineaMarca(m_app.config.Idioma);

        // A missing picture is one message, whichever are missing; the window works without them.
        QStringList missing;
        const QDir folder(m_app.pictureFolder);
        const QString mdiPicture = folder.filePath(QStringLiteral("KLV-204.jpg"));
        if (!loadMdiBackground(mdiPicture))
            missing << QDir::toNativeSeparators(mdiPicture);
        const QString panelPicture = folder.filePath(QStringLiteral("KLV-chico.jpg"));
        if (!m_panel->loadBackground(panelPicture))
            missing << QDir::toNativeSeparators(panelPicture);
        if (!missing.isEmpty()) {
            m_messages.show(errorInForm(RuntimeError::FileNotFound,
                                        QStringLiteral("File not found: ") + missing.join(QStringLiteral(", ")),
                                        QStringLiteral("MDIForm_Load"), kFormName));
        }

        m_app.textos.CargaTextos(m_app.config.Idioma);
        PonerTextos();
    });
}

void MainWindow::applyCaption()
{
    setWindowTitle(versionCaption());
}

QString MainWindow::versionCaption()
{
    return kCaption + QStringLiteral("  ") + QStringLiteral(ORVAN_VERSION_TEXT);
}

bool MainWindow::loadMdiBackground(const QString& path)
{
    const QPixmap pm = Pictures::fromFile(path);
    if (pm.isNull()) {
        m_mdiPicture = QPixmap();
        m_mdi->setBackground(QColor(0x2c, 0x3e, 0x55));
        return false;
    }
    m_mdiPicture = pm;
    updateMdiBackground();
    return true;
}

void MainWindow::updateMdiBackground()
{
    if (m_mdiPicture.isNull())
        return;
    QWidget* vp = m_mdi->viewport();
    const qreal ratio = vp->devicePixelRatioF();
    const QSize target = vp->size().expandedTo(QSize(1, 1)) * ratio;
    // Cover the area, keeping the picture's proportions and its centre in view.
    QPixmap s = m_mdiPicture.scaled(target, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    s = s.copy((s.width() - target.width()) / 2, (s.height() - target.height()) / 2, target.width(), target.height());
    s.setDevicePixelRatio(ratio);
    m_mdi->setBackground(QBrush(s));
}

void MainWindow::setChildFactory(Child which, ChildFactory factory)
{
    if (factory)
        m_factories[which] = std::move(factory);
    else
        m_factories.erase(which);
}

void MainWindow::PonerTextos()
{
    const TextTable& t = m_app.textos;
    const Text commands[] = {Text::StudyFromDisk, Text::ConnectLogger, Text::GraphTemperatureTime, Text::Proportions,
                             Text::Histogram, Text::TemperatureList, Text::Alarms};
    for (int i = 1; i <= 7; ++i)
        m_buttons1[i]->setToolTip(t[commands[i - 1]]);
    m_buttons1[8]->setToolTip(addedText(AddedText::ShipmentSummary, m_app.config.Idioma));
    m_buttons2[1]->setToolTip(t[Text::Print]);
    m_buttons2[2]->setToolTip(t[Text::Configuration]);
    m_buttons2[4]->setToolTip(t[Text::Finish]);
    m_archiveButton->setToolTip(addedText(AddedText::ArchiveWindowTitle, m_app.config.Idioma));
    m_panel->setTexts(t);
}

void MainWindow::DeshabilitaBotones()
{
    m_buttons1[2]->setEnabled(true);
    for (int i = 3; i <= kToolbar1Buttons; ++i)
        m_buttons1[i]->setEnabled(false);
    m_panel->showRest();
}

void MainWindow::HabilitaBotones()
{
    for (int i = 3; i <= kToolbar1Buttons; ++i)
        m_buttons1[i]->setEnabled(true);
}

void MainWindow::setConnectEnabled(bool enabled)
{
    m_buttons1[2]->setEnabled(enabled);
}

QAction* MainWindow::toolbar1Button(int index) const
{
    return index >= 1 && index <= kToolbar1Buttons ? m_buttons1[index] : nullptr;
}

QAction* MainWindow::toolbar2Button(int index) const
{
    return index >= 1 && index <= 4 ? m_buttons2[index] : nullptr;
}

void MainWindow::letEventsRun()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void MainWindow::pause(int ms)
{
    // Waits without freezing the window: paints, timers and the device forms keep running.
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

quint64 MainWindow::beginToolbar1Command()
{
    const quint64 command = ++m_command;
    m_app.flags.CerrarPrep = true;
    closeChildren({Child::frmGrafico, Child::frmTorta, Child::frmHisto, Child::AbreArch, Child::Detalle,
                   Child::frmAlar, Child::Summary, Child::Config});
    m_app.flags.CerrarPrep = true;
    m_app.flags.CerrarSave = true;
    letEventsRun();
    m_app.GraficoActivo = false;
    return command;
}

void MainWindow::toolbar1Click(int index)
{
    reported(m_messages, QStringLiteral("Toolbar1_ButtonClick"), [this, index] {
        const quint64 command = beginToolbar1Command();

        switch (index) {
        case 1:
            DeshabilitaBotones();
            setConnectEnabled(true);
            openChild(Child::AbreArch);
            break;
        case 2:
            runConnect(command);
            break;
        case 3: openChild(Child::frmGrafico); break;
        case 4: openChild(Child::frmTorta); break;
        case 5: openChild(Child::frmHisto); break;
        case 6: openChild(Child::Detalle); break;
        case 7: openChild(Child::frmAlar); break;
        case 8: openChild(Child::Summary); break;
        default: break;
        }
    });
}

void MainWindow::openRecordFile(const QString& path)
{
    // Study from disk with the file already chosen: the same closing of windows and flags, then
    // what the open dialog's OK does.
    reported(m_messages, QStringLiteral("OpenRecordFile"), [this, path] {
        beginToolbar1Command();
        DeshabilitaBotones();
        setConnectEnabled(true);
        records::OpenRecordDialog::openFile(m_app, m_record, *this, m_messages, path);
    });
}

QString MainWindow::droppedRecordFile(const QMimeData* data)
{
    // One local file named *.klv; anything else is not for this window.
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return QString();
    const QUrl url = data->urls().first();
    if (!url.isLocalFile() || QFileInfo(url.toLocalFile()).suffix().compare(QLatin1String("klv"), Qt::CaseInsensitive) != 0)
        return QString();
    return url.toLocalFile();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (droppedRecordFile(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event)
{
    if (droppedRecordFile(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QString path = droppedRecordFile(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The drag source waits for the drop to end: the record opens, and may show messages, after.
    QTimer::singleShot(0, this, [this, path] { openRecordFile(path); });
}

void MainWindow::runConnect(quint64 command)
{
    DeshabilitaBotones();
    setConnectEnabled(false);
    {
        WaitCursor hourglass;
        letEventsRun();
        pause(connectPauseMs);
        hourglass.restore();
    }
    letEventsRun();
    // Another command given during the wait, or the window closing, supersedes this one.
    if (command != m_command || m_closing)
        return;
    // A logger form still open would hold the port the new one is about to search.
    closeChildren({Child::frmsave, Child::frmPrep});
    m_app.flags.CerrarSave = false;
    m_panel->showLive();
    openChild(Child::frmsave);
}

void MainWindow::toolbar2Click(int index)
{
    reported(m_messages, QStringLiteral("Toolbar2_ButtonClick"), [this, index] {
        switch (index) {
        case 1:
            if (printHandler)
                printHandler(*this, m_app.GraficoActivo);
            break;
        case 2:
            ++m_command;
            m_app.GraficoActivo = false;
            closeChildren(kViewsAndDialogs);
            m_app.flags.CerrarPrep = true;
            m_app.flags.CerrarSave = true;
            letEventsRun();
            DeshabilitaBotones();
            openChild(Child::Config);
            break;
        case 4:
            ++m_command;
            close();
            break;
        default:
            break;
        }
    });
}

QWidget* MainWindow::openChild(Child which)
{
    const auto factory = m_factories.find(which);
    if (factory == m_factories.end())
        return nullptr;
    if (QWidget* open = child(which)) {
        if (QMdiSubWindow* sub = subWindowOf(open)) {
            if (sub->isMinimized())
                sub->showNormal();
            m_mdi->setActiveSubWindow(sub);
        }
        return open;
    }
    QWidget* w = factory->second(*this);
    if (!w)
        return nullptr;
    m_children[which] = w;
    showChild(w);
    return w;
}

QMdiSubWindow* MainWindow::showChild(QWidget* widget)
{
    if (!widget)
        return nullptr;
    QMdiSubWindow* sub = subWindowOf(widget);
    if (!sub)
        sub = m_mdi->addSubWindow(widget);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    if (sub->windowIcon().isNull())
        sub->setWindowIcon(Pictures::appIcon());
    sub->resize(childSize());
    sub->move(0, 0);
    widget->installEventFilter(this);
    // A child that closes or deletes itself takes its frame with it.
    connect(widget, &QObject::destroyed, sub, [sub] { sub->close(); }, Qt::QueuedConnection);
    widget->show();
    sub->show();
    m_mdi->setActiveSubWindow(sub);
    return sub;
}

QWidget* MainWindow::child(Child which) const
{
    const auto it = m_children.find(which);
    if (it == m_children.end() || !it->second)
        return nullptr;
    QWidget* w = it->second;
    const QMdiSubWindow* sub = subWindowOf(w);
    if (sub && sub->isHidden())
        return nullptr;
    // A minimized child hides its widget but is still open: commands must close it, and opening
    // it again must not make a second one.
    if (w->isHidden() && !(sub && sub->isMinimized()))
        return nullptr;
    return w;
}

void MainWindow::closeChildren(std::initializer_list<Child> order)
{
    for (Child which : order) {
        QWidget* w = child(which);
        if (!w) {
            m_children.erase(which);
            continue;
        }
        if (QMdiSubWindow* sub = subWindowOf(w))
            sub->close();
        else
            w->close();
        if (!child(which))
            m_children.erase(which);
    }
}

QSize MainWindow::childSize() const
{
    const int width = m_panel->width() - twipsToPixels(70);
    const int height = frameGeometry().height() - m_toolbar1->height() - m_panel->height() - twipsToPixels(580);
    return QSize(qMax(width, 320), qMax(height, 200));
}

void MainWindow::showStatusMessage(const QString& text)
{
    // The bar appears only while it has something to say, so the document area keeps its room.
    QStatusBar* bar = statusBar();
    if (!m_statusBarWired) {
        connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& m) { bar->setVisible(!m.isEmpty()); });
        m_statusBarWired = true;
    }
    bar->show();
    bar->showMessage(text, 20000);
}

QMdiSubWindow* MainWindow::subWindowOf(QWidget* widget)
{
    for (QWidget* w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
            return sub;
    }
    return nullptr;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Every child goes with the main window; logger forms are told to let go of their port.
    m_closing = true;
    ++m_command;
    m_app.flags.CerrarPrep = true;
    m_app.flags.CerrarSave = true;
    m_mdi->closeAllSubWindows();
    QMainWindow::closeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mdi->viewport()) {
        if (event->type() == QEvent::Resize)
            updateMdiBackground();
    } else if (event->type() == QEvent::Hide && !event->spontaneous()) {
        // A child that closed itself (or was hidden for good) leaves no empty frame behind.
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->isHidden()) {
            if (QMdiSubWindow* sub = subWindowOf(w); sub && !sub->isHidden()) {
                QTimer::singleShot(0, sub, [sub] {
                    // Minimizing hides the widget too, and is no reason to close.
                    if (!sub->isHidden() && !sub->isMinimized())
                        sub->close();
                });
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace orvan::shell
