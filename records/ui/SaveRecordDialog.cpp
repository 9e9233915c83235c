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
    m_question = [this](const QString& text) {
        return QMessageBox::question(this, windowTitle(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes;
    };
    buildControls();
    Form_Load();
}

void SaveRecordDialog::buildControls()
{
    folderLists = new FolderLists(this);
    Drive1 = folderLists->Drive1;
    Dir1 = folderLists->Dir1;
    File1 = folderLists->File1;

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    lbExten = new QLabel(QStringLiteral(".klv"), this);
    lbExten->setObjectName(QStringLiteral("lbExten"));
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));

    ui::acceptCancelButtons(this, CmndAbrir, CmndCancel);

    auto* entryName = new QHBoxLayout;
    entryName->addWidget(Label2);
    entryName->addWidget(Text1, 1);
    entryName->addWidget(lbExten);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Check1, 1);
    buttons->addWidget(CmndAbrir);
    buttons->addWidget(CmndCancel);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(folderLists, 1);
    outer->addLayout(entryName);
    outer->addLayout(buttons);
    resize(480, 440);

    connect(folderLists, &FolderLists::folderChanged, this, &SaveRecordDialog::folderChanged);
    connect(CmndAbrir, &QPushButton::clicked, this, &SaveRecordDialog::accept);
    connect(CmndCancel, &QPushButton::clicked, this, &SaveRecordDialog::reject);
}

void SaveRecordDialog::Form_Load()
{
    m_record.Archivo.clear();
    m_record.GuardadoEnDisco = false;

    // A default folder that no longer exists leaves the lists on the application's folder; an
    // installed program's application folder is its configuration, so it offers its record
    // folder, made on first use.
    if (!folderLists->setPath(m_app.config.carpetaDatos())) {
        if (!m_app.installed || !QDir().mkpath(m_app.recordFolder) || !folderLists->setPath(m_app.recordFolder))
            folderLists->setPath(m_app.appFolder);
    }
    folderChanged();

    setWindowTitle(m_app.textos[Text::SaveDataOnDisk]);
    Label2->setText(m_app.textos[Text::SaveAs]);
    Check1->setText(m_app.textos[Text::SaveAsDefaultFolder]);
}

QString SaveRecordDialog::folderPath() const
{
    return folderLists->path();
}

void SaveRecordDialog::folderChanged()
{
    // Another folder gets its own proposal, replacing a name the user typed.
    Text1->setText(proposedName(m_record.campos.Exportador, folderLists->fileList()));
    m_record.Archivo.clear();
}

void SaveRecordDialog::accept()
{
    const QString entryName = Text1->text().trimmed();
    if (entryName.isEmpty()) {
        m_messages.show(QStringLiteral("Escriba un nombre para el archivo."));
        return;
    }
    if (entryName.contains(QLatin1Char('/')) || entryName.contains(QLatin1Char('\\'))) {
        m_messages.show(QStringLiteral("El nombre del archivo no puede contener los caracteres / ni \\."));
        return;
    }
    const QString target = QDir(folderPath()).filePath(entryName + QStringLiteral(".klv"));
    if (QFileInfo::exists(target)
        && !m_question(QStringLiteral("El archivo ") + QDir::toNativeSeparators(target)
                       + QStringLiteral(" ya existe.\r\n¿Desea reemplazarlo?")))
        return;

    // The default folder changes even when the record cannot be written.
    if (Check1->isChecked())
        saveDefaultFolder(m_app, folderPath(), m_messages);

    setCursor(Qt::WaitCursor);
    m_record.Archivo = target;
    const FileResult written = GuardaArchivo(m_record, target, m_writer);
    m_record.GuardadoEnDisco = written.ok;
    if (!written.ok)
        m_messages.show(written.message);
    unsetCursor();
    done(written.ok ? QDialog::Accepted : QDialog::Rejected);
}

void SaveRecordDialog::reject()
{
    m_record.GuardadoEnDisco = false;
    QDialog::reject();
}

} // namespace orvan::records
