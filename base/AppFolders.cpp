#include "base/AppFolders.h"

#include "base/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// Set by the build from the install layout; a build without them runs portable unless its
// folder is read-only.
#ifndef ORVAN_INSTALLED_BIN_FOLDERS
#define ORVAN_INSTALLED_BIN_FOLDERS ""
#endif
#ifndef ORVAN_PICTURES_FROM_BIN
#define ORVAN_PICTURES_FROM_BIN "../share/orvanlog"
#endif

namespace orvan {

namespace {

QString resolved(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical;
}

QString under(const QString& base, const QString& name)
{
    return QDir::cleanPath(base + QLatin1Char('/') + name);
}

} // namespace

AppFolders AppFolders::portable(const QString& executableFolder)
{
    AppFolders f;
    f.executableFolder = executableFolder;
    f.appFolder = executableFolder;
    f.dataFolder = executableFolder;
    f.recordFolder = defaultDataFolder(executableFolder);
    f.pictureFolder = executableFolder;
    return f;
}

AppFolders decideAppFolders(const QString& executableFolder, const QStringList& installedBinFolders,
                            const UserFolders& user)
{
    const QString here = resolved(executableFolder);
    bool installed = !QFileInfo(executableFolder).isWritable();
    for (const QString& bin : installedBinFolders)
        installed = installed || (!bin.isEmpty() && resolved(bin) == here);
    if (!installed)
        return AppFolders::portable(executableFolder);

    const QString name = QString::fromLatin1(kUserFolderName);
    AppFolders f;
    f.installed = true;
    f.executableFolder = executableFolder;
    f.appFolder = under(user.configHome, name);
    f.dataFolder = under(user.dataHome, name);
    // The settings record keeps the folder in 80 Windows-1252 bytes: a documents folder it
    // cannot hold would come back as another folder.
    const QString documents = user.documents.isEmpty() ? QString() : under(user.documents, name);
    f.recordFolder = !documents.isEmpty() && RegConfig::dataFolderRefusal(documents).isEmpty()
        ? documents
        : under(f.dataFolder, QStringLiteral("Datos"));
    const QString shared = under(executableFolder, QStringLiteral(ORVAN_PICTURES_FROM_BIN));
    f.pictureFolder = QFileInfo(shared).isDir() ? shared : executableFolder;
    return f;
}

UserFolders userFoldersFromEnvironment()
{
    UserFolders u;
    u.configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    u.dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    u.documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return u;
}

QStringList installedBinFolders()
{
    return QString::fromUtf8(ORVAN_INSTALLED_BIN_FOLDERS).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

AppFolders appFoldersOfThisProgram()
{
    const AppFolders f = decideAppFolders(QCoreApplication::applicationDirPath(), installedBinFolders(),
                                          userFoldersFromEnvironment());
    if (f.installed)
        QDir().mkpath(f.appFolder);
    return f;
}

} // namespace orvan
