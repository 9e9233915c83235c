#include "records/ui/SaveRecordDialog.h"

#include "records/MissionRecord.h"
#include "records/ProposedName.h"
#include "records/ui/FolderLists.h"
#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "base/ui/IconButton.h"
#include "base/ui/Pictures.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvan::records {

SaveRecordDialog::SaveRecordDialog(AppContext& app, MissionRecord& record, MessageSink& messages, QWidget* parent)
    : QDialog(parent), m_app(app), m_record(record), m_messages(messages)
{
    setObjectName(QStringLiteral("GrabArch"));
    setModal(true);
    m_pregunta = [this](const QString& text) {
        return QMessageBox::question(this, windowTitle(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes;
    };
    construye();
    Form_Load();
}

void SaveRecordDialog::construye()
{
    carpetas = new FolderLists(this);
    Drive1 = carpetas->Drive1;
    Dir1 = carpetas->Dir1;
    File1 = carpetas->File1;

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    lbExten = new QLabel(QStringLiteral(".klv"), this);
    lbExten->setObjectName(QStringLiteral("lbExten"));
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));

    ui::acceptCancelButtons(this, CmndAbrir, CmndCancel);

    auto* nombre = new QHBoxLayout;
    nombre->addWidget(Label2);
    nombre->addWidget(Text1, 1);
    nombre->addWidget(lbExten);

    auto* botones = new QHBoxLayout;
    botones->addWidget(Check1, 1);
    botones->addWidget(CmndAbrir);
    botones->addWidget(CmndCancel);

    auto* todo = new QVBoxLayout(this);
    todo->addWidget(carpetas, 1);
    todo->addLayout(nombre);
    todo->addLayout(botones);
    resize(480, 440);

    connect(carpetas, &FolderLists::carpetaCambiada, this, &SaveRecordDialog::carpetaCambiada);
    connect(CmndAbrir, &QPushButton::clicked, this, &SaveRecordDialog::aceptar);
    connect(CmndCancel, &QPushButton::clicked, this, &SaveRecordDialog::reject);
}

void SaveRecordDialog::Form_Load()
{
    m_record.Archivo.clear();
    m_record.GuardadoEnDisco = false;

    // A default folder that no longer exists leaves the lists on the application's folder.
    if (!carpetas->setPath(m_app.config.carpetaDatos()))
        carpetas->setPath(m_app.appFolder);
    carpetaCambiada();

    setWindowTitle(m_app.textos[26]);
    Label2->setText(m_app.textos[63]);
    Check1->setText(m_app.textos[6]);
}

QString SaveRecordDialog::carpeta() const
{
    return carpetas->path();
}

void SaveRecordDialog::carpetaCambiada()
{
    // Another folder gets its own proposal, replacing a name the user typed.
    Text1->setText(NombrePropuesto(m_record.campos.Exportador, carpetas->archivos()));
    m_record.Archivo.clear();
}

void SaveRecordDialog::aceptar()
{
    const QString nombre = Text1->text().trimmed();
    if (nombre.isEmpty()) {
        m_messages.show(QStringLiteral("Escriba un nombre para el archivo."));
        return;
    }
    if (nombre.contains(QLatin1Char('/')) || nombre.contains(QLatin1Char('\\'))) {
        m_messages.show(QStringLiteral("El nombre del archivo no puede contener los caracteres / ni \\."));
        return;
    }
    const QString ruta = QDir(carpeta()).filePath(nombre + QStringLiteral(".klv"));
    if (QFileInfo::exists(ruta)
        && !m_pregunta(QStringLiteral("El archivo ") + QDir::toNativeSeparators(ruta)
                       + QStringLiteral(" ya existe.\r\n¿Desea reemplazarlo?")))
        return;

    // The default folder changes even when the record cannot be written.
    if (Check1->isChecked())
        guardaCarpetaPredeterminada(m_app, carpeta(), m_messages);

    setCursor(Qt::WaitCursor);
    m_record.Archivo = ruta;
    const FileResult escrito = GuardaArchivo(m_record, ruta, m_escritura);
    m_record.GuardadoEnDisco = escrito.ok;
    if (!escrito.ok)
        m_messages.show(escrito.message);
    unsetCursor();
    done(escrito.ok ? QDialog::Accepted : QDialog::Rejected);
}

void SaveRecordDialog::reject()
{
    m_record.GuardadoEnDisco = false;
    QDialog::reject();
}

} // namespace orvan::records
