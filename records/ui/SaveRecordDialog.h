#pragma once
// GrabArch: the modal dialog in which the user chooses the folder and name of a freshly
// downloaded record. It proposes a name from the exporter, can make the folder the default one
// and writes the file. The caller learns the outcome only from the record's GuardadoEnDisco and
// Archivo.

#include "records/RecordFile.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace orvan { struct AppContext; class MessageSink; }

namespace orvan::records {

class FolderLists;
class MissionRecord;

class SaveRecordDialog : public QDialog {
    Q_OBJECT
public:
    // A Yes/No question to the user; true for Yes.
    using Pregunta = std::function<bool(const QString& text)>;

    SaveRecordDialog(AppContext& app, MissionRecord& record, MessageSink& messages, QWidget* parent = nullptr);

    // The question asked before a file is written over; by default a message box.
    void setPregunta(Pregunta pregunta) { m_pregunta = std::move(pregunta); }
    // How the record's bytes are written; tests make the write fail with it.
    void setEscritura(WriteBytes escritura) { m_escritura = std::move(escritura); }

    // The folder the file goes to.
    QString carpeta() const;

    FolderLists* carpetas = nullptr;
    QComboBox* Drive1 = nullptr;
    QTreeWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* lbExten = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* CmndAbrir = nullptr;
    QPushButton* CmndCancel = nullptr;

protected:
    void reject() override;

private:
    void construye();
    void Form_Load();
    void carpetaCambiada();
    void aceptar();

    AppContext& m_app;
    MissionRecord& m_record;
    MessageSink& m_messages;
    Pregunta m_pregunta;
    WriteBytes m_escritura;
};

} // namespace orvan::records
