#pragma once
// The drive, folder and file lists that the open and save dialogs share: `Drive1` the mounted
// volumes, `Dir1` a folder tree opened down to the current folder (its ancestors from the
// volume's root, then its subfolders), `File1` the record files of that folder. The dialogs react to the signals; nothing here knows about records.

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
void guardaCarpetaPredeterminada(AppContext& app, const QString& folder, MessageSink& messages);

class FolderLists : public QWidget {
    Q_OBJECT
public:
    explicit FolderLists(QWidget* parent = nullptr);

    QComboBox* Drive1 = nullptr;
    QLabel* lbCarpeta = nullptr;     // the current folder in full
    QTreeWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;

    // The current folder (absolute, no trailing separator except for the root).
    QString path() const { return m_path; }
    // Moves to a folder and lists it; false (and nothing changes) when it cannot be read.
    bool setPath(const QString& folder);
    // The names File1 lists, in order.
    QStringList archivos() const;
    // Selects the first entry of File1 equal to `name` (exact comparison); false when none is.
    bool seleccionaArchivo(const QString& name);
    // Reads the folder again (after a file was written there).
    void refresca();

    // The volume that holds a folder: its mount point.
    static QString unidadDe(const QString& folder);

Q_SIGNALS:
    void carpetaCambiada(const QString& folder);   // after Dir1 moved to another folder
    void unidadCambiada();                          // after a drive was chosen, whether it could be read or not
    void archivoPulsado(const QString& name);       // a file became the selected one
    void archivoActivado(const QString& name);      // double click or Enter on a file

private:
    void llenaUnidades();
    void marcaUnidad(const QString& folder);
    void listaCarpeta();
    void unidadElegida(int index);
    void carpetaActivada(QTreeWidgetItem* item);

    QString m_path;
    bool m_llenando = false;   // programmatic changes raise no user signals
};

} // namespace orvan::records
