#pragma once
// AbreArch: the child window in which the user picks a record file from disk. A click previews
// the file's mission summary; opening loads the whole record, fills the main window's summary,
// enables the analysis commands and opens the graph.

#include <QString>
#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace orvan { struct AppContext; class MessageSink; }
namespace orvan::ui { class StatusPanel; class Workspace; }

namespace orvan::records {

class FolderLists;
class MissionRecord;
struct FileResult;

class OpenRecordDialog : public QWidget {
    Q_OBJECT
public:
    // Runs the whole load: default folder, file list, pre-selection of the file last used.
    OpenRecordDialog(AppContext& app, MissionRecord& record, ui::Workspace& main, MessageSink& messages,
                     QWidget* parent = nullptr);

    // Fills the main window's record summary from the decoded fields and shows it.
    void PoneResumenMenu();
    // The same for any panel, record and settings; the graph report of the command-line tool
    // fills its panel this way.
    static void PoneResumenMenu(ui::StatusPanel& panel, const MissionRecord& record, const AppContext& app);

    // The full path of the selected file; empty when none is.
    QString selectedPath() const { return m_path; }

    // Opens the record file `path` as OK does for a chosen file: read and decoded, the summary
    // filled, the views enabled and the graph opened. A file that cannot be read gives the
    // dialog's message and opens nothing. True when the record was opened.
    static bool openFile(AppContext& app, MissionRecord& record, ui::Workspace& main, MessageSink& messages,
                         const QString& path);

    FolderLists* folderLists = nullptr;
    QComboBox* Drive1 = nullptr;
    QTreeWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lbInicioMision = nullptr;
    QLabel* lbFinMision = nullptr;
    QLabel* lbNumMuestras = nullptr;
    QLabel* lbRango = nullptr;
    QLabel* lbLoThreshold = nullptr;
    QLabel* lbHiThtreshold = nullptr;
    QLabel* imgLoAlar = nullptr;
    QLabel* ImgHiAlar = nullptr;
    std::array<QLabel*, 7> Image1{};
    QLabel* imgOrvan = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* CmndAbrir = nullptr;
    QPushButton* CmndCancel = nullptr;

private:
    void buildControls();
    void Form_Load();
    void showApplicationFolder();
    void PonerTextos();
    void folderChanged();
    void driveChanged();
    void fileClicked(const QString& entryName);
    void fileActivated(const QString& entryName);
    void chooseFile(const QString& entryName);
    void showPreview();
    void clearPreview();
    void openRecord();
    void cancel();
    void closeDialog();
    QString degreesText(int raw) const;
    static QString openFailureText(const FileResult& failure, const QString& path, int idioma);
    // Reads and decodes the whole file into the record, with the dialog's messages; true when
    // it holds a valid record.
    enum class Read { Unreadable, NotValid, Valid };
    static Read readRecord(AppContext& app, MissionRecord& record, MessageSink& messages, const QString& path);

    AppContext& m_app;
    MissionRecord& m_record;
    ui::Workspace& m_main;
    MessageSink& m_messages;
    QString m_path;   // the selected file, full path
};

} // namespace orvan::records
