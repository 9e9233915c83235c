#pragma once
// The drive, folder and file lists that the open and save dialogs share: `Drive1` the mounted
// volumes, `Dir1` a folder tree opened down to the current folder (its ancestors from the
// volume's root, then its subfolders), `File1` the record files of that folder. The dialogs
// react to the signals; nothing here knows about records.

#include <QString>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QTreeWidget;
class QTreeWidgetItem;

namespace orvan { struct AppContext; class MessageSink; }

namespace orvan::records {

// Makes `folder` the default record folder and writes the settings file. A failure to write is
// reported and changes nothing else; a path the settings cannot hold as it is (longer than 80
// characters, or with characters outside Windows-1252) is refused with a message, as it would
// come back as another folder.
void saveDefaultFolder(AppContext& app, const QString& folder, MessageSink& messages);

class FolderLists : public QWidget {
    Q_OBJECT
public:
    explicit FolderLists(QWidget* parent = nullptr);

    QComboBox* Drive1 = nullptr;
    QLabel* folderLabel = nullptr;     // the current folder in full
    QTreeWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;

    // The current folder (absolute, no trailing separator except for the root).
    QString path() const { return m_path; }
    // Moves to a folder and lists it; false (and nothing changes) when it cannot be read.
    bool setPath(const QString& folder);
    // The names File1 lists, in order.
    QStringList fileList() const;
    // Selects the first entry of File1 equal to `name` (exact comparison); false when none is.
    bool selectFile(const QString& name);
    // Reads the folder again (after a file was written there).
    void refresh();

    // The volume that holds a folder: its mount point.
    static QString driveOf(const QString& folder);

Q_SIGNALS:
    void folderChanged(const QString& folder);   // after Dir1 moved to another folder
    void driveChanged();                         // after a drive was chosen, whether it could be read or not
    void fileClicked(const QString& name);       // a file became the selected one
    void fileActivated(const QString& name);     // double click or Enter on a file

private:
    void fillDrives();
    void markDrive(const QString& folder);
    void listFolder();
    void chosenDrive(int index);
    void folderActivated(QTreeWidgetItem* item);

    QString m_path;
    bool m_filling = false;   // programmatic changes raise no user signals
};

} // namespace orvan::records
