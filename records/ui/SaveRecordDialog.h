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
    using Question = std::function<bool(const QString& text)>;

    SaveRecordDialog(AppContext& app, MissionRecord& record, MessageSink& messages, QWidget* parent = nullptr);

    // The question asked before a file is written over; by default a message box.
    void setQuestion(Question question) { m_question = std::move(question); }
    // How the record's bytes are written; tests make the write fail with it.
    void setWriter(WriteBytes writer) { m_writer = std::move(writer); }

    // The folder the file goes to.
    QString folderPath() const;

    FolderLists* folderLists = nullptr;
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
    void buildControls();
    void Form_Load();
    void folderChanged();
    void accept();

    AppContext& m_app;
    MissionRecord& m_record;
    MessageSink& m_messages;
    Question m_question;
    WriteBytes m_writer;
};

} // namespace orvan::records
