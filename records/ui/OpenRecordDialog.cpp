#include "records/ui/OpenRecordDialog.h"

#include "base/Encodings.h"
#include "records/MissionRecord.h"
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
const QString kFormulario = QStringLiteral("AbreArch");

QLabel* etiqueta(QWidget* parent, const QString& name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setMinimumWidth(150);
    return l;
}

QLabel* icono(QWidget* parent, const QString& name, const QPixmap& pm)
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
    setObjectName(kFormulario);
    setAttribute(Qt::WA_DeleteOnClose);
    construye();
    Form_Load();
}

void OpenRecordDialog::construye()
{
    carpetas = new FolderLists(this);
    Drive1 = carpetas->Drive1;
    Dir1 = carpetas->Dir1;
    File1 = carpetas->File1;

    Label1 = etiqueta(this, QStringLiteral("Label1"));
    QFont negrita = Label1->font();
    negrita.setBold(true);
    Label1->setFont(negrita);
    lbInicioMision = etiqueta(this, QStringLiteral("lbInicioMision"));
    lbFinMision = etiqueta(this, QStringLiteral("lbFinMision"));
    lbNumMuestras = etiqueta(this, QStringLiteral("lbNumMuestras"));
    lbRango = etiqueta(this, QStringLiteral("lbRango"));
    lbLoThreshold = etiqueta(this, QStringLiteral("lbLoThreshold"));
    lbHiThtreshold = etiqueta(this, QStringLiteral("lbHiThtreshold"));

    imgLoAlar = icono(this, QStringLiteral("imgLoAlar"), QPixmap());
    ImgHiAlar = icono(this, QStringLiteral("ImgHiAlar"), QPixmap());

    // Icons beside the fields: 0 low limit, 1 high limit, 2 interval, 3 end, 4 start, 5 file, 6 samples.
    Image1[0] = icono(this, QStringLiteral("Image1_0"), ui::Pictures::limitIcon(0, kPictureSize));
    Image1[1] = icono(this, QStringLiteral("Image1_1"), ui::Pictures::limitIcon(1, kPictureSize));
    Image1[2] = icono(this, QStringLiteral("Image1_2"), ui::Pictures::fieldIcon(2, kPictureSize));
    Image1[3] = icono(this, QStringLiteral("Image1_3"), ui::Pictures::fieldIcon(1, kPictureSize));
    Image1[4] = icono(this, QStringLiteral("Image1_4"), ui::Pictures::fieldIcon(0, kPictureSize));
    Image1[5] = icono(this, QStringLiteral("Image1_5"), ui::Pictures::fileIcon(kPictureSize));
    Image1[6] = icono(this, QStringLiteral("Image1_6"), ui::Pictures::fieldIcon(4, kPictureSize));

    imgOrvan = new QLabel(this);
    imgOrvan->setObjectName(QStringLiteral("imgOrvan"));
    imgOrvan->setAlignment(Qt::AlignCenter);
    imgOrvan->setPixmap(ui::Pictures::makerPicture(QSize(180, 64)));

    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    ui::acceptCancelButtons(this, CmndAbrir, CmndCancel);

    auto* nombre = new QHBoxLayout;
    nombre->addWidget(Image1[5]);
    nombre->addWidget(Label1, 1);

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

    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(CmndAbrir);
    botones->addWidget(CmndCancel);

    auto* derecha = new QVBoxLayout;
    derecha->addLayout(nombre);
    derecha->addLayout(campos);
    derecha->addStretch(1);
    derecha->addWidget(imgOrvan);
    derecha->addWidget(Check1);
    derecha->addLayout(botones);

    auto* todo = new QHBoxLayout(this);
    todo->addWidget(carpetas, 1);
    todo->addLayout(derecha, 1);

    connect(carpetas, &FolderLists::carpetaCambiada, this, &OpenRecordDialog::carpetaCambiada);
    connect(carpetas, &FolderLists::unidadCambiada, this, &OpenRecordDialog::unidadCambiada);
    connect(carpetas, &FolderLists::archivoPulsado, this, &OpenRecordDialog::archivoPulsado);
    connect(carpetas, &FolderLists::archivoActivado, this, &OpenRecordDialog::archivoActivado);
    connect(CmndAbrir, &QPushButton::clicked, this, &OpenRecordDialog::abrir);
    connect(CmndCancel, &QPushButton::clicked, this, &OpenRecordDialog::cancelar);
}

void OpenRecordDialog::Form_Load()
{
    Label1->clear();
    m_record.Archivo.clear();
    m_ruta.clear();
    CmndAbrir->setEnabled(false);
    blanqueaVistaPrevia();

    // A default folder that went missing is replaced by the application's own "Datos".
    QString carpeta = m_app.config.carpetaDatos();
    if (carpeta.isEmpty() || !QFileInfo(carpeta).isDir()) {
        carpeta = defaultDataFolder(m_app.appFolder);
        if (!QDir().mkpath(carpeta)) {
            m_messages.show(errorInForm(75, QStringLiteral("Path/File access error"), QStringLiteral("Form_Load"), kFormulario));
            return;
        }
        m_app.config.setCarpetaDatos(carpeta);
        const auto escrito = m_app.settingsFile.write(m_app.config);
        if (!escrito.ok)
            m_messages.show(escrito.error);
    }

    if (!carpetas->setPath(carpeta)) {
        m_messages.show(errorInForm(RuntimeError::PathNotFound, QStringLiteral("Path not found"), QStringLiteral("Form_Load"), kFormulario));
        return;
    }
    carpetaCambiada();

    if (!m_app.UltimoArchivo.isEmpty())
        carpetas->seleccionaArchivo(m_app.UltimoArchivo);

    PonerTextos();
}

void OpenRecordDialog::PonerTextos()
{
    const TextTable& t = m_app.textos;
    setWindowTitle(t[7]);
    Image1[4]->setToolTip(t[0]);
    lbInicioMision->setToolTip(t[0]);
    Image1[3]->setToolTip(t[1]);
    lbFinMision->setToolTip(t[1]);
    Image1[2]->setToolTip(t[2]);
    lbRango->setToolTip(t[2]);
    Image1[6]->setToolTip(t[3]);
    lbNumMuestras->setToolTip(t[3]);
    Image1[0]->setToolTip(t[4]);
    imgLoAlar->setToolTip(t[4]);
    lbLoThreshold->setToolTip(t[4]);
    Image1[1]->setToolTip(t[5]);
    ImgHiAlar->setToolTip(t[5]);
    lbHiThtreshold->setToolTip(t[5]);
    Check1->setToolTip(t[6]);
    Check1->setText(t[6]);
}

void OpenRecordDialog::carpetaCambiada()
{
    Label1->clear();
    m_record.Archivo.clear();
    m_ruta.clear();
}

void OpenRecordDialog::unidadCambiada()
{
    carpetaCambiada();
    CmndAbrir->setEnabled(false);
}

void OpenRecordDialog::eligeArchivo(const QString& nombre)
{
    Label1->setText(nombre);
    m_ruta = QDir(carpetas->path()).filePath(nombre);
    m_record.NombreArchivo = nombre;
    m_record.Archivo = m_ruta;
}

void OpenRecordDialog::archivoPulsado(const QString& nombre)
{
    eligeArchivo(nombre);
    CmndAbrir->setEnabled(true);
    muestraVistaPrevia();
}

void OpenRecordDialog::archivoActivado(const QString& nombre)
{
    eligeArchivo(nombre);
    abrir();
}

QString OpenRecordDialog::grados(int raw) const
{
    return QLocale().toString(RawAGrados(raw, m_app.config.GradosC));
}

void OpenRecordDialog::blanqueaVistaPrevia()
{
    for (QLabel* l : {lbInicioMision, lbFinMision, lbNumMuestras, lbRango, lbLoThreshold, lbHiThtreshold})
        l->clear();
    ui::StatusPanel::showPicture(ImgHiAlar, 1, ImgHiAlar->toolTip());
    ui::StatusPanel::showPicture(imgLoAlar, 1, imgLoAlar->toolTip());
}

void OpenRecordDialog::muestraVistaPrevia()
{
    blanqueaVistaPrevia();
    if (m_record.Archivo.isEmpty())
        return;
    setCursor(Qt::WaitCursor);
    m_app.UltimoArchivo = QFileInfo(m_ruta).fileName();

    // A file that cannot be read ends the attempt with one message and a blank preview.
    const FileResult leido = LeerCabecera(m_record, m_record.Archivo);
    if (!leido.ok) {
        m_messages.show(QStringLiteral("Error al abrir el archivo: ") + m_record.Archivo);
        imgOrvan->show();
        unsetCursor();
        return;
    }
    for (const QString& m : m_record.LeeAuditoria())
        m_messages.show(m);
    const Auditoria& c = m_record.campos;
    imgOrvan->setVisible(!c.ArchivoOk);

    const QString unidad = m_app.UnidadTexto();
    lbFinMision->setText(FormatoFecha(c.FinMision));
    lbInicioMision->setText(FormatoFecha(c.InicioMision));
    lbHiThtreshold->setText(QStringLiteral("> ") + grados(c.HiThreshold) + unidad);
    lbLoThreshold->setText(QStringLiteral("< ") + grados(c.LoThreshold) + unidad);
    lbNumMuestras->setText(QString::number(c.NumMuestras));
    lbRango->setText(QString::number(c.Rango) + QStringLiteral(" min."));
    if (c.AlarmaHi)
        ui::StatusPanel::showPicture(ImgHiAlar, 2, ImgHiAlar->toolTip());
    if (c.AlarmaLo)
        ui::StatusPanel::showPicture(imgLoAlar, 2, imgLoAlar->toolTip());
    unsetCursor();
}

void OpenRecordDialog::abrir()
{
    setCursor(Qt::WaitCursor);
    if (Check1->isChecked())
        guardaCarpetaPredeterminada(m_app, carpetas->path(), m_messages);
    if (m_record.Archivo.isEmpty()) {
        descarga();
        return;
    }
    m_app.UltimoArchivo = QFileInfo(m_ruta).fileName();

    const FileResult leido = LeerArchivo(m_record, m_record.Archivo);
    if (!leido.ok) {
        m_messages.show(QStringLiteral("Error al abrir el archivo: ") + m_record.Archivo);
        blanqueaVistaPrevia();
        imgOrvan->show();
        unsetCursor();
        return;
    }
    for (const QString& m : m_record.LeeAuditoria())
        m_messages.show(m);

    if (m_record.campos.ArchivoOk) {
        imgOrvan->hide();
        PoneResumenMenu();
        ui::Workspace& principal = m_main;
        principal.HabilitaBotones();
        descarga();
        principal.openChild(ui::Child::frmGrafico);
        return;
    }
    imgOrvan->show();
    unsetCursor();
}

void OpenRecordDialog::cancelar()
{
    if (ui::StatusPanel* panel = m_main.panel())
        panel->showRest();
    descarga();
}

void OpenRecordDialog::descarga()
{
    unsetCursor();
    // Inside the main window the frame around this window goes with it.
    QWidget* ventana = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!ventana)
        ventana = this;
    ventana->close();
    ventana->deleteLater();
}

void OpenRecordDialog::PoneResumenMenu()
{
    ui::StatusPanel* p = m_main.panel();
    if (!p)
        return;
    const Auditoria& c = m_record.campos;
    const QString unidad = m_app.UnidadTexto();

    ui::StatusPanel::showPicture(p->ImgHiAlar, 1, p->ImgHiAlar->toolTip());
    ui::StatusPanel::showPicture(p->imgLoAlar, 1, p->imgLoAlar->toolTip());
    p->lbAlarHi->setText(QStringLiteral(" > ") + grados(c.HiThreshold) + unidad);
    p->lbAlarLow->setText(QStringLiteral(" < ") + grados(c.LoThreshold) + unidad);
    p->lbFinMision->setText(FormatoFecha(c.FinMision));
    p->lbInicioMision->setText(FormatoFecha(c.InicioMision));
    p->lbNumMuestras->setText(QString::number(c.NumMuestras));
    p->lbRango->setText(QString::number(c.Rango) + QStringLiteral("min."));
    if (c.AlarmaHi)
        ui::StatusPanel::showPicture(p->ImgHiAlar, 2, p->ImgHiAlar->toolTip());
    if (c.AlarmaLo)
        ui::StatusPanel::showPicture(p->imgLoAlar, 2, p->imgLoAlar->toolTip());
    p->lbArchivo->setText(m_record.NombreArchivo);
    p->lbExport->setText(c.Exportador);
    p->lbTransport->setText(c.Transportador);
    p->lbNumSer->setText(c.NumSerie);
    p->showRecord();
}

} // namespace orvan::records
