// AbreArch on the offscreen platform: preview, pre-selection, open, cancel, unreadable files.

#include "records/RecordImages.h"
#include "records/RecordFile.h"
#include "records/ui/FolderLists.h"
#include "records/ui/OpenRecordDialog.h"
#include "base/ui/StatusPanel.h"
#include "base/ui/Pictures.h"
#include "support/WindowDesk.h"
#include "tools/generator/RecordGenerator.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::records;
using shell::MainWindow;
using Item = orvan::ui::StatusPanel::Item;
using Face = orvan::ui::StatusPanel::Face;

namespace {

class OpenDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(dataFolder));
        window.setChildFactory(MainWindow::Child::frmGrafico, [this](MainWindow&) -> QWidget* {
            ++charts;
            return new QWidget;
        });
    }

    // A finished mission: prepared 1 March 2024 10:00 with a 30-minute delay, 2400 samples
    // every 15 minutes, limits 2 and 8 degrees, both crossed.
    QString generateRecord(const QString& name)
    {
        generator::GeneratorOptions o;
        o.delayMinutes = 30;
        MissionRecord r;
        r.setBytes(0, generator::generateImage(o));
        const QString path = QDir(dataFolder).filePath(name);
        EXPECT_TRUE(GuardaArchivo(r, path).ok);
        return path;
    }

    QPointer<OpenRecordDialog> openDialog()
    {
        auto* d = new OpenRecordDialog(app, record, window, sink);
        d->show();
        return d;
    }

    static void select(OpenRecordDialog* d, const QString& name)
    {
        d->File1->setCurrentItem(d->File1->findItems(name, Qt::MatchExactly).value(0));
    }

    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    const bool cLocale = (QLocale::setDefault(QLocale::c()), true);   // before the window: dates as dd/MM/yyyy, 35.6
    QTemporaryDir dir;
    test::WindowDesk<> desk{dir.path()};
    AppContext& app = desk.app;
    MissionRecord& record = desk.record;
    RecordingSink& sink = desk.messages;
    MainWindow& window = *desk.window;
    const QString dataFolder = dir.filePath(QStringLiteral("Datos"));
    int charts = 0;
};

} // namespace

TEST_F(OpenDialogTest, ClickPreviewsTheRecordHeaderAndTheNextOpeningPreselectsIt)
{
    generateRecord(QStringLiteral("FRUTAS SUR_1.klv"));
    generateRecord(QStringLiteral("otro.KLV"));
    ASSERT_TRUE(testdata::writeFile(QDir(dataFolder).filePath(QStringLiteral("notas.txt")), "x"));

    QPointer<OpenRecordDialog> d = openDialog();
    EXPECT_EQ(d->folderLists->fileList(), (QStringList{QStringLiteral("FRUTAS SUR_1.klv"), QStringLiteral("otro.KLV")}));
    EXPECT_EQ(d->File1->currentRow(), -1);
    EXPECT_FALSE(d->CmndAbrir->isEnabled());
    select(d, QStringLiteral("FRUTAS SUR_1.klv"));
    window.panel()->showRecord({});
    d->CmndCancel->click();   // cancel hides the summary
    flushDeletes();
    EXPECT_TRUE(d.isNull());
    EXPECT_NE(window.panel()->face(), Face::Record);

    d = openDialog();
    ASSERT_NE(d->File1->currentItem(), nullptr);
    EXPECT_EQ(d->File1->currentItem()->text(), QStringLiteral("FRUTAS SUR_1.klv"));
    EXPECT_TRUE(sink.messages.isEmpty()) << qPrintable(sink.messages.join(QLatin1Char('|')));
    EXPECT_EQ(d->Label1->text(), QStringLiteral("FRUTAS SUR_1.klv"));
    EXPECT_EQ(record.Archivo, QDir(dataFolder).filePath(QStringLiteral("FRUTAS SUR_1.klv")));
    EXPECT_TRUE(d->CmndAbrir->isEnabled());
    const QLabel* shown[] = {d->lbInicioMision, d->lbFinMision, d->lbNumMuestras, d->lbRango, d->lbLoThreshold, d->lbHiThtreshold};
    const char* expected[] = {"01/03/2024 - 10:30", "26/03/2024 - 10:30", "2400", "15 min.", "< 2 °C", "> 8 °C"};
    for (size_t i = 0; i < std::size(shown); ++i)
        EXPECT_EQ(shown[i]->text(), QString::fromUtf8(expected[i])) << i;
    EXPECT_EQ(std::make_pair(ui::Pictures::shownState(d->ImgHiAlar), ui::Pictures::shownState(d->imgLoAlar)), std::make_pair(2, 2));
    EXPECT_TRUE(d->imgOrvan->isHidden());
    EXPECT_EQ(record.muestra(0), 0);   // the preview reads only the header

    // Fahrenheit, and a record without alarms or a readable stamp.
    app.config.GradosC = 0;
    ASSERT_TRUE(GuardaArchivo(testdata::recordWith({{11, 84}, {12, 96}, {21, 0x1A}}), QDir(dataFolder).filePath(QStringLiteral("otro.KLV"))).ok);
    select(d, QStringLiteral("otro.KLV"));
    EXPECT_EQ(sink.messages, QStringList{startDateMessage()});
    EXPECT_EQ(d->lbInicioMision->text(), QStringLiteral("01/01/2011 - 00:00"));
    EXPECT_EQ(std::make_pair(d->lbLoThreshold->text(), d->lbHiThtreshold->text()), std::make_pair(QStringLiteral("< 35.6 °F"), QStringLiteral("> 46.4 °F")));
    EXPECT_EQ(std::make_pair(ui::Pictures::shownState(d->ImgHiAlar), ui::Pictures::shownState(d->imgLoAlar)), std::make_pair(1, 1));

    // Changing the folder forgets the selection but leaves open enabled: open then only closes.
    ASSERT_TRUE(QDir(dataFolder).mkdir(QStringLiteral("sub")));
    d->folderLists->refresh();
    const auto sub = d->Dir1->findItems(QStringLiteral("sub"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(sub.size(), 1);
    Q_EMIT d->Dir1->itemActivated(sub.first(), 0);
    EXPECT_TRUE(record.Archivo.isEmpty() && d->Label1->text().isEmpty());
    EXPECT_TRUE(d->CmndAbrir->isEnabled());
    d->CmndAbrir->click();
    flushDeletes();
    EXPECT_TRUE(d.isNull());
    EXPECT_EQ(charts, 0);
    EXPECT_FALSE(window.toolbar1Button(3)->isEnabled());
}

TEST_F(OpenDialogTest, OpenLoadsTheRecordFillsTheSummaryAndOpensTheGraph)
{
    const QString path = generateRecord(QStringLiteral("FRUTAS SUR_1.klv"));
    // Study from disk, as the toolbar runs it: the dialog opens inside the main window.
    window.setChildFactory(MainWindow::Child::AbreArch, [](MainWindow& m) {
        return new OpenRecordDialog(m.app(), m.record(), m, m.messages());
    });
    window.toolbar1Click(1);
    QPointer<OpenRecordDialog> d = qobject_cast<OpenRecordDialog*>(window.child(MainWindow::Child::AbreArch));
    ASSERT_FALSE(d.isNull());
    d->File1->setCurrentRow(0);
    d->CmndAbrir->click();
    flushDeletes();

    EXPECT_TRUE(d.isNull() && sink.messages.isEmpty());
    EXPECT_EQ(charts, 1);
    EXPECT_EQ(record.fileImage(), testdata::readFile(path));
    for (int i = 3; i <= 7; ++i)
        EXPECT_TRUE(window.toolbar1Button(i)->isEnabled()) << i;
    const ui::StatusPanel& p = *window.panel();
    EXPECT_EQ(p.face(), Face::Record);
    const std::pair<Item, const char*> texts[] = {{Item::HighLimit, " > 8 °C"}, {Item::End, "26/03/2024 - 10:30"}, {Item::Interval, "15min."},
                                                  {Item::File, "FRUTAS SUR_1.klv"}, {Item::Exporter, "FRUTAS SUR  "}, {Item::Serial, "12345   "}};
    for (const auto& [item, text] : texts)
        EXPECT_EQ(p.text(item), QString::fromUtf8(text)) << int(item);
    EXPECT_EQ(std::make_pair(p.picture(Item::HighAlarm), p.picture(Item::LowAlarm)), std::make_pair(2, 2));
}

TEST_F(OpenDialogTest, UnreadableFileEndsTheAttemptWithOneMessage)
{
    const QString tooLong = QDir(dataFolder).filePath(QStringLiteral("largo.klv"));
    ASSERT_TRUE(testdata::writeFile(tooLong, QByteArray(kMemoriaSize + 1, '\x05')));
    // The dialog's own line, then the one every command gives for the same file.
    const QString message = QStringLiteral("Error al abrir el archivo: ") + tooLong + QLatin1Char('\n') + tooLong
        + QStringLiteral(" tiene más de 67001 bytes y no es un archivo de registro");

    QPointer<OpenRecordDialog> d = openDialog();
    d->File1->setCurrentRow(0);
    EXPECT_EQ(sink.messages, QStringList{message});
    EXPECT_TRUE(d->lbNumMuestras->text().isEmpty());
    d->CmndAbrir->click();
    flushDeletes();
    EXPECT_EQ(sink.messages, (QStringList{message, message}));
    ASSERT_FALSE(d.isNull());
    EXPECT_EQ(charts, 0);
    EXPECT_FALSE(window.toolbar1Button(3)->isEnabled());
    EXPECT_EQ(record.Memoria(), QByteArray(kMemoriaSize, '\0'));
    EXPECT_FALSE(d->imgOrvan->isHidden());
    delete d;
}

TEST_F(OpenDialogTest, MissingDefaultFolderIsCreatedAndStoredOrTheApplicationFolderListed)
{
    app.config.setCarpetaDatos(dir.filePath(QStringLiteral("gone")));
    ASSERT_TRUE(QDir(dataFolder).removeRecursively());
    QPointer<OpenRecordDialog> d = openDialog();
    EXPECT_TRUE(sink.messages.isEmpty()) << qPrintable(sink.messages.join(QLatin1Char('|')));
    EXPECT_EQ(d->folderLists->path(), dataFolder);
    RegConfig saved;
    ASSERT_TRUE(app.settingsFile.read(saved).ok);
    EXPECT_EQ(saved.carpetaDatos(), QDir::toNativeSeparators(dataFolder));
    delete d;

    // "Datos" a file: the folder cannot be made; the dialog keeps its title and lists the
    // application folder.
    ASSERT_TRUE(QDir(dataFolder).removeRecursively() && testdata::writeFile(dataFolder, "x"));
    d = openDialog();
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_TRUE(sink.messages.first().startsWith(QLatin1String("Error 75 (Path/File access error)")));
    EXPECT_FALSE(d->windowTitle().isEmpty());
    EXPECT_EQ(QFileInfo(d->folderLists->path()).canonicalFilePath(), QFileInfo(dir.path()).canonicalFilePath());
    delete d;
}
