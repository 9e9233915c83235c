#include "shell/ui/ConfigDialog.h"

#include "archive/Archive.h"
#include "base/AddedTexts.h"
#include "base/Encodings.h"
#include "link/PortDirectory.h"
#include "mission/LiveSummary.h"
#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "base/RuntimeError.h"
#include "shell/ui/MainWindow.h"
#include "base/ui/Pictures.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace orvan::shell {

using namespace ui;

namespace {

const QString kForm = QStringLiteral("Config");

// Each language under its own name, for the tool tip of its flag.
const char16_t* const kEndonyms[5] = {u"Español", u"English", u"Deutsch", u"Français", u"Português"};

// Clicking a flag chooses its language, as clicking the option beside it does.
class FlagClick : public QObject {
public:
    FlagClick(QRadioButton* option, QObject* parent) : QObject(parent), m_option(option) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::LeftButton && m_option->isEnabled()) {
                m_option->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QRadioButton* m_option;
};

QPushButton* button(QWidget* parent, const QString& name, const QString& text, const QPixmap& icon)
{
    auto* b = new QPushButton(QIcon(icon), text, parent);
    b->setObjectName(name);
    b->setIconSize(QSize(20, 20));
    b->setMinimumHeight(32);
    b->setAutoDefault(false);
    return b;
}

// The unit options: 0 Celsius, 1 Fahrenheit.
Unit unitOfOption(int index) { return index == 1 ? Unit::Fahrenheit : Unit::Celsius; }
int optionOfUnit(Unit unit) { return unit == Unit::Celsius ? 0 : 1; }

} // namespace

ConfigDialog::ConfigDialog(MainWindow& main, QWidget* parent)
    : QWidget(parent), m_main(main)
{
    setObjectName(kForm);
    AppContext& app = m_main.app();
    const QString title = app.textos[Text::Configuration];
    setWindowTitle(title.isEmpty() ? QStringLiteral("Configuracion") : title);
    setWindowIcon(QIcon(Pictures::toolbar2Icon(2)));

    // The choices sit on one card in the middle of the window, however large it is.
    auto* outer = new QVBoxLayout(this);
    outer->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* cardFrame = new QFrame(this);
    cardFrame->setObjectName(QStringLiteral("ConfigCard"));
    cardFrame->setStyleSheet(QStringLiteral(
        "QFrame#ConfigCard { background: palette(base); border: 1px solid rgba(31, 59, 99, 80); border-radius: 8px; }"));
    row->addWidget(cardFrame);
    row->addStretch(1);
    outer->addLayout(row);
    outer->addStretch(2);

    auto* card = new QVBoxLayout(cardFrame);
    card->setContentsMargins(18, 16, 18, 16);
    card->setSpacing(12);

    auto* header = new QHBoxLayout;
    auto* mark = new QLabel(cardFrame);
    mark->setPixmap(Pictures::makerPicture(QSize(210, 40)));
    header->addWidget(mark);
    header->addStretch(1);
    card->addLayout(header);

    auto* language = new QGroupBox(QStringLiteral("Idioma"), cardFrame);
    language->setObjectName(QStringLiteral("FrameIdioma"));
    auto* lg = new QGridLayout(language);
    lg->setHorizontalSpacing(18);
    for (int i = 0; i < 5; ++i) {
        optLenguaje[i] = new QRadioButton(language);
        optLenguaje[i]->setObjectName(QStringLiteral("optLenguaje_%1").arg(i));
        optLenguaje[i]->setToolTip(QString::fromUtf16(kEndonyms[i]));
        imgFlag[i] = new QLabel(language);
        imgFlag[i]->setObjectName(QStringLiteral("imgBandera_%1").arg(i));
        imgFlag[i]->setPixmap(Pictures::flag(i, QSize(42, 28)));
        imgFlag[i]->setToolTip(QString::fromUtf16(kEndonyms[i]));
        imgFlag[i]->setCursor(Qt::PointingHandCursor);
        imgFlag[i]->installEventFilter(new FlagClick(optLenguaje[i], imgFlag[i]));
        auto* pair = new QHBoxLayout;
        pair->setSpacing(4);
        pair->addWidget(optLenguaje[i]);
        pair->addWidget(imgFlag[i]);
        lg->addLayout(pair, 0, i);
    }
    card->addWidget(language);

    auto* lower = new QHBoxLayout;
    lower->setSpacing(12);
    auto* unit = new QGroupBox(QStringLiteral("Unidad"), cardFrame);
    unit->setObjectName(QStringLiteral("FrameGrados"));
    auto* ug = new QHBoxLayout(unit);
    ug->setSpacing(18);
    const QString unitText[2] = {QStringLiteral("\u00b0C"), QStringLiteral("\u00b0F")};
    for (int i = 0; i < 2; ++i) {
        optGrados[i] = new QRadioButton(unitText[i], unit);
        optGrados[i]->setObjectName(QStringLiteral("optGrados_%1").arg(i));
        QFont f = optGrados[i]->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 1.2);
        optGrados[i]->setFont(f);
        connect(optGrados[i], &QRadioButton::clicked, this, [this, i] { optGradosClick(i); });
        ug->addWidget(optGrados[i]);
    }
    ug->addStretch(1);
    lower->addWidget(unit);

    auto* device = new QGroupBox(QStringLiteral("KLV-100"), cardFrame);
    device->setObjectName(QStringLiteral("FrameEquipo"));
    auto* dg = new QHBoxLayout(device);
    Command1 = button(device, QStringLiteral("Command1"), QStringLiteral("Puertos COM"), Pictures::portIcon(20));
    Command2 = button(device, QStringLiteral("Command2"), QStringLiteral("Firmware"), Pictures::chipIcon(20));
    dg->addWidget(Command1);
    dg->addWidget(Command2);
    lower->addWidget(device, 1);
    card->addLayout(lower);

    const int idioma = app.config.Idioma;
    auto* archiveBox = new QGroupBox(addedText(AddedText::ArchiveWindowTitle, idioma), cardFrame);
    archiveBox->setObjectName(QStringLiteral("FrameArchivo"));
    auto* ag = new QGridLayout(archiveBox);
    optArchivo[0] = new QRadioButton(addedText(AddedText::ArchiveEmbedded, idioma), archiveBox);
    optArchivo[1] = new QRadioButton(addedText(AddedText::ArchiveServer, idioma), archiveBox);
    txtArchivoUrl = new QLineEdit(archiveBox);
    txtArchivoUrl->setPlaceholderText(addedText(AddedText::ArchiveServerHint, idioma));
    txtArchivoUrl->setClearButtonEnabled(true);
    for (int i = 0; i < 2; ++i)
        optArchivo[i]->setObjectName(QStringLiteral("optArchivo_%1").arg(i));
    txtArchivoUrl->setObjectName(QStringLiteral("txtArchivoUrl"));
    txtArchivoUrl->setMinimumWidth(300);
    ag->addWidget(optArchivo[0], 0, 0, 1, 2);
    ag->addWidget(optArchivo[1], 1, 0, 1, 2);
    ag->addWidget(txtArchivoUrl, 2, 1);
    ag->setColumnMinimumWidth(0, 18);
    ag->setColumnStretch(1, 1);
    connect(optArchivo[1], &QRadioButton::toggled, txtArchivoUrl, &QWidget::setEnabled);
    card->addWidget(archiveBox);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    CmndAbrir = button(cardFrame, QStringLiteral("CmndAbrir"), QStringLiteral("Aceptar"), Pictures::acceptIcon(20));
    CmndCancel = button(cardFrame, QStringLiteral("CmndCancel"), QStringLiteral("Cancelar"), Pictures::refuseIcon(20));
    CmndAbrir->setMinimumWidth(110);
    CmndCancel->setMinimumWidth(110);
    buttons->addWidget(CmndAbrir);
    buttons->addWidget(CmndCancel);
    card->addLayout(buttons);

    connect(CmndAbrir, &QPushButton::clicked, this, &ConfigDialog::CmndAbrirClick);
    connect(CmndCancel, &QPushButton::clicked, this, &ConfigDialog::CmndCancelClick);
    connect(Command1, &QPushButton::clicked, this, &ConfigDialog::Command1Click);
    connect(Command2, &QPushButton::clicked, this, &ConfigDialog::Command2Click);

    // Show the settings as they are in memory.
    optGrados[optionOfUnit(app.unit())]->setChecked(true);
    if (app.config.Idioma >= 0 && app.config.Idioma < 5)
        optLenguaje[app.config.Idioma]->setChecked(true);
    // The archive as its own settings file names it; a file path there is an embedded archive
    // kept elsewhere and stays as it is unless a server is chosen.
    const QString chosen = archive::readArchiveChoice(app.appFolder);
    const std::optional<archive::Target> target = archive::parseTarget(chosen);
    const bool server = target && target->engine == archive::Engine::PostgreSQL;
    optArchivo[server ? 1 : 0]->setChecked(true);
    txtArchivoUrl->setText(server ? chosen : QString());
    txtArchivoUrl->setEnabled(server);
    m_archiveChoice = chosen;
}

void ConfigDialog::optGradosClick(int index)
{
    // Takes effect at once, before OK; Cancel does not undo it.
    m_main.app().config.GradosC = gradosCFor(unitOfOption(index));
}

void ConfigDialog::CmndAbrirClick()
{
    AppContext& app = m_main.app();
    MessageSink& messages = m_main.messages();

    // A server address that cannot be one is refused before anything is stored.
    QString archiveChoice = m_archiveChoice;
    if (optArchivo[1]->isChecked()) {
        archiveChoice = txtArchivoUrl->text().trimmed();
        const std::optional<archive::Target> target = archive::parseTarget(archiveChoice);
        if (!target || target->engine != archive::Engine::PostgreSQL) {
            messages.show(addedText(AddedText::ArchiveBadTarget, app.config.Idioma).arg(archiveChoice));
            return;
        }
    } else if (const std::optional<archive::Target> target = archive::parseTarget(archiveChoice);
               target && target->engine == archive::Engine::PostgreSQL) {
        archiveChoice.clear();
    }

    // Start from the file as it stands: changes made in memory elsewhere since the last write
    // are not stored by this dialog.
    RegConfig cfg;
    const SettingsFile::Result read = app.settingsFile.read(cfg);
    if (!read.ok) {
        messages.show(errorInForm(RuntimeError::FileIo, read.error, QStringLiteral("CmndAbrir_Click"), kForm));
        return;
    }
    // A file that vanished or was damaged since start-up would be written back with a layout
    // version the next start-up resets; the record in memory is the sound base then.
    if (cfg.VersionCfg != RegConfig::VersionActual)
        cfg = app.config;

    cfg.Idioma = 0;
    cfg.GradosC = gradosCFor(unitOfOption(optGrados[1]->isChecked() ? 1 : 0));
    for (int i = 0; i < 5; ++i) {
        if (optLenguaje[i]->isChecked()) {
            cfg.Idioma = qint16(i);
            break;
        }
    }

    const SettingsFile::Result written = app.settingsFile.write(cfg);
    if (!written.ok) {
        messages.show(errorInForm(RuntimeError::FileIo, written.error, QStringLiteral("CmndAbrir_Click"), kForm));
        return;
    }
    if (archiveChoice != archive::readArchiveChoice(app.appFolder)) {
        QString why;
        if (!archive::writeArchiveChoice(app.appFolder, archiveChoice, &why)) {
            messages.show(errorInForm(RuntimeError::FileIo, why, QStringLiteral("CmndAbrir_Click"), kForm));
            return;
        }
    }
    app.config = cfg;
    app.textos.CargaTextos(cfg.Idioma);
    m_main.PonerTextos();
    Q_EMIT m_main.configurationAccepted();
    close();
}

void ConfigDialog::CmndCancelClick()
{
    close();
}

void ConfigDialog::Command1Click()
{
    MessageSink& messages = m_main.messages();
    try {
        const QList<link::DetectedPort> ports = link::detectPorts(m_main.app().appFolder);
        const bool anyUsable =
            std::any_of(ports.begin(), ports.end(), [](const link::DetectedPort& p) { return p.usable; });
        if (anyUsable) {
            messages.show(QStringLiteral("Puertos COM detectados con Exito!"));
            return;
        }
        // Ports that exist but may not be opened deserve an explanation, not silence.
        const QString advice = link::permissionAdvice(ports);
        messages.show(advice.isEmpty() ? QStringLiteral("No se encontraron puertos COM libres.") : advice);
    } catch (const RuntimeError& e) {
        messages.show(errorInForm(e, QStringLiteral("Command1_Click"), kForm));
    } catch (const std::exception& e) {
        messages.show(errorInForm(51, QString::fromLocal8Bit(e.what()), QStringLiteral("Command1_Click"), kForm));
    }
}

void ConfigDialog::Command2Click()
{
    const int* v = m_main.app().VerFw;
    m_main.messages().show(mission::firmwareMessage(v[0], v[1], v[2]));
}

} // namespace orvan::shell
