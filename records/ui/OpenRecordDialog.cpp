#include "records/ui/OpenRecordDialog.h"

#include "base/Encodings.h"
#include "records/MissionRecord.h"
#include "records/RecordCaptions.h"
#include "records/RecordFile.h"
#include "records/ui/FolderLists.h"
#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "base/RuntimeError.h"
#include "base/ui/IconButton.h"
#include "base/ui/Pictures.h"
#include "base/ui/StatusPanel.h"
#include "base/ui/Workspace.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvan::records {

namespace {

constexpr int kPictureSize = 20;
const QString kFormName = QStringLiteral("AbreArch");

QLabel* makeLabel(QWidget* parent, const QString& name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setMinimumWidth(150);
    return l;
}

QLabel* makePicture(QWidget* parent, const QString& name, const QPixmap& pm)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFixedSize(kPictureSize, kPictureSize);
    l->setAlignment(Qt::AlignCenter);
    l->setPixmap(pm);
    return l;
}

} // namespace

OpenRecordDialog::OpenRecordDialog(AppContext& app, MissionRecord& record, ui::Workspace& main,
                                   MessageSink& messages, QWidget* parent)
    : QWidget(parent), m_app(app), m_record(record), m_main(main), m_messages(messages)
{
    setObjectName(kFormName);
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    Form_Load();
}

void OpenRecordDialog::buildControls()
{
    folderLists = new FolderLists(this);
    Drive1 = folderLists->Drive1;
    Dir1 = folderLists->Dir1;
    File1 = folderLists->File1;

    Label1 = makeLabel(this, QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    lbInicioMision = makeLabel(this, QStringLiteral("lbInicioMision"));
    lbFinMision = makeLabel(this, QStringLiteral("lbFinMision"));
    lbNumMuestras = makeLabel(this, QStringLiteral("lbNumMuestras"));
    lbRango = makeLabel(this, QStringLiteral("lbRango"));
    lbLoThreshold = makeLabel(this, QStringLiteral("lbLoThreshold"));
    lbHiThtreshold = makeLabel(this, QStringLiteral("lbHiThtreshold"));

    imgLoAlar = makePicture(this, QStringLiteral("imgLoAlar"), QPixmap());
    ImgHiAlar = makePicture(this, QStringLiteral("ImgHiAlar"), QPixmap());

    // Icons beside the fields: 0 low limit, 1 high limit, 2 interval, 3 end, 4 start, 5 file, 6 samples.
    Image1[0] = makePicture(this, QStringLiteral("Image1_0"), ui::Pictures::limitIcon(0, kPictureSize));
    Image1[1] = makePicture(this, QStringLiteral("Image1_1"), ui::Pictures::limitIcon(1, kPictureSize));
    Image1[2] = makePicture(this, QStringLiteral("Image1_2"), ui::Pictures::fieldIcon(2, kPictureSize));
    Image1[3] = makePicture(this, QStringLiteral("Image1_3"), ui::Pictures::fieldIcon(1, kPictureSize));
    Image1[4] = makePicture(this, QStringLiteral("Image1_4"), ui::Pictures::fieldIcon(0, kPictureSize));
    Image1[5] = makePicture(this, QStringLiteral("Image1_5"), ui::Pictures::fileIcon(kPictureSize));
    Image1[6] = makePicture(this, QStringLiteral("Image1_6"), ui::Pictures::fieldIcon(4, kPictureSize));

    imgOrvan = new QLabel(this);
    imgOrvan->setObjectName(QStringLiteral("imgOrvan"));
    imgOrvan->setAlignment(Qt::AlignCenter);
    imgOrvan->setPixmap(ui::Pictures::makerPicture(QSize(256, 64)));   // the logo is four times as wide as high

    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    ui::acceptCancelButtons(this, CmndAbrir, CmndCancel);

    auto* entryName = new QHBoxLayout;
    entryName->addWidget(Image1[5]);
    entryName->addWidget(Label1, 1);

    auto* campos = new QGridLayout;
    campos->setHorizontalSpacing(8);
    campos->addWidget(Image1[4], 0, 0);
    campos->addWidget(lbInicioMision, 0, 2);
    campos->addWidget(Image1[3], 1, 0);
    campos->addWidget(lbFinMision, 1, 2);
    campos->addWidget(Image1[2], 2, 0);
    campos->addWidget(lbRango, 2, 2);
    campos->addWidget(Image1[6], 3, 0);
    campos->addWidget(lbNumMuestras, 3, 2);
    campos->addWidget(Image1[0], 4, 0);
    campos->addWidget(imgLoAlar, 4, 1);
    campos->addWidget(lbLoThreshold, 4, 2);
    campos->addWidget(Image1[1], 5, 0);
    campos->addWidget(ImgHiAlar, 5, 1);
    campos->addWidget(lbHiThtreshold, 5, 2);
    campos->setColumnStretch(2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmndAbrir);
    buttons->addWidget(CmndCancel);

    auto* rightColumn = new QVBoxLayout;
    rightColumn->addLayout(entryName);
    rightColumn->addLayout(campos);
    rightColumn->addStretch(1);
    rightColumn->addWidget(imgOrvan);
    rightColumn->addWidget(Check1);
    rightColumn->addLayout(buttons);

    auto* outer = new QHBoxLayout(this);
    outer->addWidget(folderLists, 1);
    outer->addLayout(rightColumn, 1);

    connect(folderLists, &FolderLists::folderChanged, this, &OpenRecordDialog::folderChanged);
    connect(folderLists, &FolderLists::driveChanged, this, &OpenRecordDialog::driveChanged);
    connect(folderLists, &FolderLists::fileClicked, this, &OpenRecordDialog::fileClicked);
    connect(folderLists, &FolderLists::fileActivated, this, &OpenRecordDialog::fileActivated);
    connect(CmndAbrir, &QPushButton::clicked, this, &OpenRecordDialog::openRecord);
    connect(CmndCancel, &QPushButton::clicked, this, &OpenRecordDialog::cancel);
}

void OpenRecordDialog::Form_Load()
{
    Label1->clear();
    m_record.Archivo.clear();
    m_path.clear();
    CmndAbrir->setEnabled(false);
    clearPreview();

    // A default folder that went missing is replaced by the application's own record folder
    // ("Datos" of the application folder when portable), made on first use.
    QString folderPath = m_app.config.carpetaDatos();
    if (folderPath.isEmpty() || !QFileInfo(folderPath).isDir()) {
        folderPath = QDir::toNativeSeparators(m_app.recordFolder);
        if (!QDir().mkpath(folderPath)) {
            m_messages.show(errorInForm(75, QStringLiteral("Path/File access error"), QStringLiteral("Form_Load"), kFormName));
            showApplicationFolder();
            return;
        }
        m_app.config.setCarpetaDatos(folderPath);
        const auto written = m_app.settingsFile.write(m_app.config);
        if (!written.ok)
            m_messages.show(written.error);
    }

    if (!folderLists->setPath(folderPath)) {
        m_messages.show(errorInForm(RuntimeError::PathNotFound, QStringLiteral("Path not found"), QStringLiteral("Form_Load"), kFormName));
        showApplicationFolder();
        return;
    }
    folderChanged();

    if (!m_app.UltimoArchivo.isEmpty())
        folderLists->selectFile(m_app.UltimoArchivo);

    PonerTextos();
}

void OpenRecordDialog::showApplicationFolder()
{
    // After a failed load the dialog still has its title and texts and lists the application's
    // own folder, from which the user can browse to the records.
    if (folderLists->setPath(m_app.appFolder))
        folderChanged();
    PonerTextos();
}

void OpenRecordDialog::PonerTextos()
{
    const TextTable& t = m_app.textos;
    setWindowTitle(t[Text::StudyFromDisk]);
    Image1[4]->setToolTip(t[Text::StartTime]);
    lbInicioMision->setToolTip(t[Text::StartTime]);
    Image1[3]->setToolTip(t[Text::FinishTime]);
    lbFinMision->setToolTip(t[Text::FinishTime]);
    Image1[2]->setToolTip(t[Text::TimeBetweenSamples]);
    lbRango->setToolTip(t[Text::TimeBetweenSamples]);
    Image1[6]->setToolTip(t[Text::SampleCount]);
    lbNumMuestras->setToolTip(t[Text::SampleCount]);
    Image1[0]->setToolTip(t[Text::LowLimit]);
    imgLoAlar->setToolTip(t[Text::LowLimit]);
    lbLoThreshold->setToolTip(t[Text::LowLimit]);
    Image1[1]->setToolTip(t[Text::HighLimit]);
    ImgHiAlar->setToolTip(t[Text::HighLimit]);
    lbHiThtreshold->setToolTip(t[Text::HighLimit]);
    Check1->setToolTip(t[Text::SaveAsDefaultFolder]);
    Check1->setText(t[Text::SaveAsDefaultFolder]);
}

void OpenRecordDialog::folderChanged()
{
    Label1->clear();
    m_record.Archivo.clear();
    m_path.clear();
}

void OpenRecordDialog::driveChanged()
{
    folderChanged();
    CmndAbrir->setEnabled(false);
}

void OpenRecordDialog::chooseFile(const QString& entryName)
{
    Label1->setText(entryName);
    m_path = QDir(folderLists->path()).filePath(entryName);
    m_record.NombreArchivo = entryName;
    m_record.Archivo = m_path;
}

void OpenRecordDialog::fileClicked(const QString& entryName)
{
    chooseFile(entryName);
    CmndAbrir->setEnabled(true);
    showPreview();
}

void OpenRecordDialog::fileActivated(const QString& entryName)
{
    chooseFile(entryName);
    openRecord();
}

QString OpenRecordDialog::openFailureText(const FileResult& failure, const QString& path, int idioma)
{
    // A refusal of ours (not an ordinary file, too long for a record) adds the one line every
    // command gives for it.
    QString text = QStringLiteral("Error al abrir el archivo: ") + path;
    if (failure.refusal != FileResult::Refusal::None)
        text += QLatin1Char('\n') + failureLine(failure, path, idioma);
    return text;
}

QString OpenRecordDialog::degreesText(int raw) const
{
    return QLocale().toString(RawAGrados(raw, m_app.unit()));
}

void OpenRecordDialog::clearPreview()
{
    for (QLabel* l : {lbInicioMision, lbFinMision, lbNumMuestras, lbRango, lbLoThreshold, lbHiThtreshold})
        l->clear();
    ui::Pictures::showState(ImgHiAlar, 1, ImgHiAlar->toolTip());
    ui::Pictures::showState(imgLoAlar, 1, imgLoAlar->toolTip());
}

void OpenRecordDialog::showPreview()
{
    clearPreview();
    if (m_record.Archivo.isEmpty())
        return;
    setCursor(Qt::WaitCursor);
    m_app.UltimoArchivo = QFileInfo(m_path).fileName();

    // A file that cannot be read ends the attempt with one message and a blank preview.
    const FileResult readResult = readHeader(m_record, m_record.Archivo);
    if (!readResult.ok) {
        m_messages.show(openFailureText(readResult, m_record.Archivo, m_app.config.Idioma));
        imgOrvan->show();
        unsetCursor();
        return;
    }
    for (const QString& m : m_record.LeeAuditoria())
        m_messages.show(m);
    const Auditoria& c = m_record.campos;
    imgOrvan->setVisible(!c.ArchivoOk);

    const QString unitText = m_app.UnidadTexto();
    lbFinMision->setText(formatDate(c.FinMision));
    lbInicioMision->setText(formatDate(c.InicioMision));
    lbHiThtreshold->setText(QStringLiteral("> ") + degreesText(c.HiThreshold) + unitText);
    lbLoThreshold->setText(QStringLiteral("< ") + degreesText(c.LoThreshold) + unitText);
    lbNumMuestras->setText(QString::number(c.NumMuestras));
    lbRango->setText(QString::number(c.Rango) + QStringLiteral(" min."));
    if (c.AlarmaHi)
        ui::Pictures::showState(ImgHiAlar, 2, ImgHiAlar->toolTip());
    if (c.AlarmaLo)
        ui::Pictures::showState(imgLoAlar, 2, imgLoAlar->toolTip());
    unsetCursor();
}

OpenRecordDialog::Read OpenRecordDialog::readRecord(AppContext& app, MissionRecord& record, MessageSink& messages,
                                                    const QString& path)
{
    app.UltimoArchivo = QFileInfo(path).fileName();
    const FileResult readResult = LeerArchivo(record, path);
    if (!readResult.ok) {
        messages.show(openFailureText(readResult, path, app.config.Idioma));
        return Read::Unreadable;
    }
    for (const QString& m : record.LeeAuditoria())
        messages.show(m);
    return record.campos.ArchivoOk ? Read::Valid : Read::NotValid;
}

bool OpenRecordDialog::openFile(AppContext& app, MissionRecord& record, ui::Workspace& main, MessageSink& messages,
                                const QString& path)
{
    record.NombreArchivo = QFileInfo(path).fileName();
    record.Archivo = path;
    if (readRecord(app, record, messages, path) != Read::Valid)
        return false;
    if (ui::StatusPanel* panel = main.panel())
        PoneResumenMenu(*panel, record, app);
    main.HabilitaBotones();
    main.openChild(ui::Child::frmGrafico);
    return true;
}

void OpenRecordDialog::openRecord()
{
    setCursor(Qt::WaitCursor);
    if (Check1->isChecked())
        saveDefaultFolder(m_app, folderLists->path(), m_messages);
    if (m_record.Archivo.isEmpty()) {
        closeDialog();
        return;
    }

    const Read read = readRecord(m_app, m_record, m_messages, m_record.Archivo);
    if (read == Read::Unreadable)
        clearPreview();
    if (read == Read::Valid) {
        imgOrvan->hide();
        PoneResumenMenu();
        ui::Workspace& workspace = m_main;
        workspace.HabilitaBotones();
        closeDialog();
        workspace.openChild(ui::Child::frmGrafico);
        return;
    }
    imgOrvan->show();
    unsetCursor();
}

void OpenRecordDialog::cancel()
{
    if (ui::StatusPanel* panel = m_main.panel())
        panel->showRest();
    closeDialog();
}

void OpenRecordDialog::closeDialog()
{
    unsetCursor();
    // Inside the main window the frame around this window goes with it.
    QWidget* window = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!window)
        window = this;
    window->close();
    window->deleteLater();
}

void OpenRecordDialog::PoneResumenMenu()
{
    if (ui::StatusPanel* p = m_main.panel())
        PoneResumenMenu(*p, m_record, m_app);
}

void OpenRecordDialog::PoneResumenMenu(ui::StatusPanel& panel, const MissionRecord& record, const AppContext& app)
{
    panel.showRecord(recordCaptions(record, app.unit()));
}

} // namespace orvan::records
