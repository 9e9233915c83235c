// Portable or installed, from the executable's folder, the install's bin folders, the folder's
// permissions and the user's XDG folders; and what the settings record and the command-line
// tool make of the installed folders.

#include "base/AppContext.h"
#include "base/AppFolders.h"
#include "support/AsNobody.h"
#include "tools/cli/Invocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

using namespace orvan;

TEST(AppFolders, PortableOrInstalledAndWhereEachFolderIs)
{
    const struct {
        const char* name;
        bool installed;             // the executable's folder is the install's bin folder (through a link)
        bool sharedPictures;        // "../share/orvanlog" exists beside it
        const char* documents;      // under the fake home; nullptr for none
        const char* recordFolder;   // relative to the fake home, or to the bin folder when portable
    } cases[] = {
        {"build folder", false, false, "Documents", "Datos"},
        {"install bin folder", true, true, "Documents", "Documents/OrvanLog"},
        {"install bin without shared pictures", true, false, "Dokumente", "Dokumente/OrvanLog"},
        {"documents not in Windows-1252", true, true, "\u6587\u66f8", ".local/share/OrvanLog/Datos"},
        {"documents longer than the record's 80 bytes", true, true, "d/ddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddddd",
         ".local/share/OrvanLog/Datos"},
        {"no documents folder", true, true, nullptr, ".local/share/OrvanLog/Datos"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir root;
        const QString prefix = root.filePath(QStringLiteral("prefix"));
        const QString bin = prefix + QStringLiteral("/bin");
        const QString home = root.filePath(QStringLiteral("home"));
        ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(home));
        ASSERT_TRUE(!c.sharedPictures || QDir().mkpath(prefix + QStringLiteral("/share/orvanlog")));
        // The install's bin folder reached by another name, as /bin is /usr/bin.
        const QString linkedBin = root.filePath(QStringLiteral("linked-bin"));
        ASSERT_TRUE(QFile::link(bin, linkedBin));
        const QStringList installBins = QStringList{QStringLiteral("/nonexistent/bin")} + (c.installed ? QStringList{linkedBin} : QStringList());
        const UserFolders user{home + QStringLiteral("/.config"), home + QStringLiteral("/.local/share"),
                               c.documents ? home + QLatin1Char('/') + QString::fromUtf8(c.documents) : QString()};

        const AppFolders f = decideAppFolders(bin, installBins, user);
        EXPECT_EQ(std::make_pair(f.installed, f.executableFolder), std::make_pair(c.installed, bin));
        EXPECT_EQ(f.recordFolder, (c.installed ? home : bin) + QLatin1Char('/') + QString::fromUtf8(c.recordFolder));
        EXPECT_EQ(QDir::cleanPath(f.pictureFolder), prefix + (c.sharedPictures ? QStringLiteral("/share/orvanlog") : QStringLiteral("/bin")));
        EXPECT_EQ(f.appFolder, c.installed ? home + QStringLiteral("/.config/OrvanLog") : bin);
        EXPECT_EQ(f.dataFolder, c.installed ? home + QStringLiteral("/.local/share/OrvanLog") : bin);
    }
}

TEST(AppFolders, AFolderThisUserCannotWriteIsInstalled)
{
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    const UserFolders user{QStringLiteral("/h/.config"), QStringLiteral("/h/.local/share"), QStringLiteral("/h/Documents")};
    ASSERT_TRUE(QFile::setPermissions(bin, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                               | QFileDevice::ExeOther));
    const auto mode = [&] { return QString::number(decideAppFolders(bin, {}, user).installed); };
    // Root may write anywhere: the question is asked as nobody.
    const std::optional<QString> installed = test::asNobody(mode);
    ASSERT_TRUE(installed.has_value());
    EXPECT_EQ(*installed, QStringLiteral("1"));
    QFile::setPermissions(bin, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!test::root()) {
        EXPECT_EQ(mode(), QStringLiteral("0"));
    }
}

TEST(AppFolders, UserFoldersFollowHomeAndTheXdgVariables)
{
    QTemporaryDir home;
    const char* const names[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"};
    const QByteArray saved[] = {qgetenv(names[0]), qgetenv(names[1]), qgetenv(names[2])};
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv(names[1]);
    qunsetenv(names[2]);
    const UserFolders plain = userFoldersFromEnvironment();

    // The desktop's own names: XDG variables and the documents entry of user-dirs.dirs.
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("cfg"))));
    QFile dirs(home.filePath(QStringLiteral("cfg/user-dirs.dirs")));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly) && dirs.write("XDG_DOCUMENTS_DIR=\"$HOME/Papiere\"\n") > 0);
    dirs.close();
    qputenv(names[1], QFile::encodeName(home.filePath(QStringLiteral("cfg"))));
    qputenv(names[2], QFile::encodeName(home.filePath(QStringLiteral("data"))));
    const UserFolders named = userFoldersFromEnvironment();
    for (int i = 0; i < 3; ++i)
        saved[i].isEmpty() && i > 0 ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);

    const auto in = [&](const char* path) { return home.filePath(QLatin1String(path)); };
    EXPECT_EQ(std::make_tuple(plain.configHome, plain.dataHome, plain.documents), std::make_tuple(in(".config"), in(".local/share"), in("Documents")));
    EXPECT_EQ(std::make_tuple(named.configHome, named.dataHome, named.documents), std::make_tuple(in("cfg"), in("data"), in("Papiere")));
}

TEST(AppFolders, InstalledSettingsNameTheDocumentsRecordFolderWhichTheToolMakesOnFirstUse)
{
    QTemporaryDir root;
    const QString home = root.path();
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    const AppFolders f = decideAppFolders(bin, {bin}, {home + QStringLiteral("/.config"), home + QStringLiteral("/.local/share"),
                                                       home + QStringLiteral("/Documents")});
    ASSERT_TRUE(f.installed);
    ASSERT_TRUE(QDir().mkpath(f.appFolder));

    // A new settings record in the configuration folder, naming the documents record folder.
    AppContext app(f);
    ASSERT_TRUE(app.settingsFile.loadAtStartup(app.config).ok);
    EXPECT_EQ(app.settingsFile.path(), home + QStringLiteral("/.config/OrvanLog/Ruta.CnF"));
    EXPECT_TRUE(QFileInfo::exists(app.settingsFile.path()));
    EXPECT_EQ(app.config.carpetaDatos(), home + QStringLiteral("/Documents/OrvanLog"));
    EXPECT_FALSE(QFileInfo::exists(bin + QStringLiteral("/Ruta.CnF")));

    // The tool makes the record folder, and the documents folder above it, for an output there;
    // any other missing folder stays missing.
    cli::Invocation inv;
    inv.recordFolder = f.recordFolder;
    inv.makeDefaultFolderFor(home + QStringLiteral("/elsewhere/x/r.klv"));
    EXPECT_FALSE(QFileInfo::exists(home + QStringLiteral("/elsewhere")));
    inv.makeDefaultFolderFor(home + QStringLiteral("/Documents/OrvanLog/r.klv"));
    EXPECT_TRUE(QFileInfo(home + QStringLiteral("/Documents/OrvanLog")).isDir());
}
