#pragma once
// The few objects that own the application's state, created once by the start-up and passed
// by reference to every window and exchange that needs them.

#include "base/Unit.h"
#include "base/AppFolders.h"
#include "base/MessageSink.h"
#include "base/Settings.h"
#include "base/TextTable.h"

#include <QString>
#include <atomic>

namespace orvan::records { class MissionRecord; }

namespace orvan {

// The closing flags of the two logger forms. Atomic because exchanges run off the window thread
// and test them at every step.
struct ClosingFlags {
    std::atomic<bool> CerrarPrep{false};
    std::atomic<bool> CerrarSave{false};
};

struct AppContext {
    explicit AppContext(const AppFolders& folders)
        : installed(folders.installed), appFolder(folders.appFolder), dataFolder(folders.dataFolder), recordFolder(folders.recordFolder),
          pictureFolder(folders.pictureFolder), settingsFile(folders.appFolder, folders.recordFolder) {}
    // Everything in one folder, as a portable copy runs.
    explicit AppContext(const QString& appFolder) : AppContext(AppFolders::portable(appFolder)) {}

    bool installed = false;     // the folders are the user's, not the executable's
    QString appFolder;          // the settings record and the port aliases "Puertos"
    QString dataFolder;         // the program's own data (the records archive); appFolder when portable
    QString recordFolder;       // the record folder a new settings record names; "<appFolder>/Datos" when portable
    QString pictureFolder;      // the window's pictures; appFolder when portable
    SettingsFile settingsFile;
    RegConfig config;
    TextTable textos;
    QString LineaMarca;

    ClosingFlags flags;
    bool GraficoActivo = false;
    bool PrepAbierto = false;   // the preparation window holds the logger

    // The file name last previewed or opened in the open dialog; kept while the application runs.
    QString UltimoArchivo;

    // Firmware version of the logger, from the last status read (0 when it failed).
    int VerFw[3] = {0, 0, 0};

    QString UnidadTexto() const;   // " °C" or " °F", of unit()
    Unit unit() const { return unitFromGradosC(config.GradosC); }
};

} // namespace orvan
