#pragma once
// Where OrvanLog keeps its things, decided once at start-up and the same for the window and the
// command-line tool.
//
// Portable: the executable's folder is the application folder. It holds the settings record
// "Ruta.CnF", the port aliases "Puertos", the pictures and the record folder "Datos"; the
// program's own data lives there too. A build folder, a copied folder or a USB stick runs so.
//
// Installed: the executable lies in the bin folder it was installed to (whatever the
// permissions, so that root never writes into it) or in a folder this user cannot write. Then
// the application folder is the user's configuration folder "OrvanLog" (XDG), the program's
// data goes to the user's data folder "OrvanLog", the default record folder is
// "<documents>/OrvanLog", and the pictures come from "../share/orvanlog" beside the bin folder.

#include <QString>
#include <QStringList>

namespace orvan {

// The user's folders as the desktop defines them (XDG): the configuration home (~/.config),
// the data home (~/.local/share) and the documents folder (~/Documents).
struct UserFolders {
    QString configHome;
    QString dataHome;
    QString documents;
};

struct AppFolders {
    bool installed = false;
    QString executableFolder;
    QString appFolder;       // the settings record "Ruta.CnF" and the port aliases "Puertos"
    QString dataFolder;      // the program's own data
    QString recordFolder;    // the default record folder of a new settings record
    QString pictureFolder;   // "KLV-204.jpg", "KLV-chico.jpg", "Barco.jpg"

    // Everything in `executableFolder`, as a build folder runs.
    static AppFolders portable(const QString& executableFolder);
};

// The folder name under the user's folders, the same for every program of OrvanLog.
inline constexpr const char* kUserFolderName = "OrvanLog";

// The decision on its own. `installedBinFolders` are the bin folders an install puts the
// programs in, known when they were built. Folders are compared after resolving links.
AppFolders decideAppFolders(const QString& executableFolder, const QStringList& installedBinFolders,
                            const UserFolders& user);

// The user's folders from the environment (HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and the
// documents entry of user-dirs.dirs).
UserFolders userFoldersFromEnvironment();

// The bin folders this build's installs put the programs in.
QStringList installedBinFolders();

// The folders of the running program. When installed, the application folder is made if it is
// missing; a failure shows later as the settings record's own write error.
AppFolders appFoldersOfThisProgram();

} // namespace orvan
