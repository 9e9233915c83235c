// The window against files that are not ordinary files or are longer than their format: the
// start-up never waits on a FIFO "Ruta.CnF" nor reads a device without end, the open dialog
// stays titled and usable when its folder cannot be made, and an over-long record gets the
// same line as on the command line. Each failure is a message; the window goes on.

#include "ShellUiFixture.h"
#include "support/Files.h"
#include "support/SpecialFiles.h"

#include "records/ui/FolderLists.h"
#include "records/ui/OpenRecordDialog.h"

#include <QListWidget>

using namespace shelltest;
using orvan::records::OpenRecordDialog;

TEST_F(ShellUiTest, StartUpRefusesSettingsThatAreNotAnOrdinaryFileAndRunsOnDefaults)
{
    const QString settings = settingsPath();
    const struct {
        const char* name;
        std::function<bool()> make;
    } cases[] = {
        {"fifo", [&] { return orvan::test::makeNode(orvan::test::Node::Fifo, settings); }},
        {"link to /dev/zero", [&] { return QFile::link(QStringLiteral("/dev/zero"), settings); }},
    };
    writePictures();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(settings);
        ASSERT_TRUE(c.make());
        sink.messages.clear();
        makeWindow();
        window->startUp();
        ASSERT_EQ(sink.messages.size(), 1);
        EXPECT_TRUE(sink.messages.first().contains(QStringLiteral("no es un archivo común"))) << sink.messages.first().toStdString();
        EXPECT_EQ(app->config.VersionCfg, 59);
        EXPECT_FALSE(window->windowTitle().isEmpty());
        EXPECT_FALSE(QFileInfo(settings).isFile());
    }
}

TEST_F(ShellUiTest, OpenDialogStaysUsableAndNamesAnOverLongRecord)
{
    start();
    // "Datos" is a file: the folder cannot be made, the dialog still has its title and lists
    // the application folder, where the over-long file is.
    ASSERT_TRUE(orvan::test::writeFile(dir.filePath(QStringLiteral("Datos")), "x"));
    const QString tooLong = dir.filePath(QStringLiteral("largo.klv"));
    ASSERT_TRUE(orvan::test::writeFile(tooLong, QByteArray(67002, '\x01')));
    auto* d = new OpenRecordDialog(*app, record, *window, sink);
    d->show();
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_TRUE(sink.messages.first().startsWith(QLatin1String("Error 75 (Path/File access error)")));
    EXPECT_FALSE(d->windowTitle().isEmpty());
    EXPECT_EQ(QFileInfo(d->folderLists->path()).canonicalFilePath(), QFileInfo(dir.path()).canonicalFilePath());

    const auto items = d->File1->findItems(QStringLiteral("largo.klv"), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    d->File1->setCurrentItem(items.first());
    ASSERT_EQ(sink.messages.size(), 2);
    EXPECT_EQ(sink.messages.last().section(QLatin1Char('\n'), 1),
              tooLong + QStringLiteral(" tiene más de 67001 bytes y no es un archivo de registro"));
    d->close();
}

TEST_F(ShellUiTest, StartUpDoesNotWaitOnPicturesThatAreFifos)
{
    for (const char* name : {"KLV-204.jpg", "KLV-chico.jpg"})
        ASSERT_TRUE(orvan::test::makeNode(orvan::test::Node::Fifo, dir.filePath(QLatin1String(name))));
    makeWindow();
    window->startUp();
    // Shown as missing pictures; the window starts all the same.
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_TRUE(sink.messages.first().contains(QStringLiteral("KLV-chico.jpg"))) << sink.messages.first().toStdString();
    EXPECT_FALSE(window->windowTitle().isEmpty());
}
