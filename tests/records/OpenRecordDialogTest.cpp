// AbreArch on the offscreen platform: preview, pre-selection, open, cancel, unreadable files.

#include "records/RecordImages.h"
#include "records/RecordFile.h"
#include "records/ui/FolderLists.h"
#include "records/ui/OpenRecordDialog.h"
#include "base/AppContext.h"
#include "shell/ui/MainWindow.h"
#include "base/ui/StatusPanel.h"
#include "base/ui/Pictures.h"
#include "tools/generator/RecordGenerator.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace orvan;
using namespace orvan::records;
using shell::MainWindow;
using ui::StatusPanel;

using Item = orvan::ui::StatusPanel::Item;
using Face = orvan::ui::StatusPanel::Face;

namespace {

class OpenDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        ASSERT_TRUE(dir.isValid());
        app = std::make_unique<AppContext>(dir.path());
        app->config.applyDefaults(dir.path());
        app->textos.CargaTextos(0);
        dataFolder = dir.filePath(QStringLiteral("Datos"));
        ASSERT_TRUE(QDir().mkpath(dataFolder));
        window = std::make_unique<MainWindow>(*app, record, sink);
        window->setChildFactory(MainWindow::Child::frmGrafico, [this](MainWindow&) -> QWidget* {
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

    OpenRecordDialog* openDialog()
    {
        auto* d = new OpenRecordDialog(*app, record, *window, sink);
        d->show();
        return d;
    }

    static int rowOf(OpenRecordDialog* d, const QString& name)
    {
        const auto items = d->File1->findItems(name, Qt::MatchExactly);
        return items.isEmpty() ? -1 : d->File1->row(items.first());
    }

    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QTemporaryDir dir;
    std::unique_ptr<AppContext> app;
    MissionRecord record;
    RecordingSink sink;
    std::unique_ptr<MainWindow> window;
    QString dataFolder;
    int charts = 0;
};

} // namespace

TEST_F(OpenDialogTest, ClickPreviewsTheRecordHeader)
{
    generateRecord(QStringLiteral("FRUTAS SUR_1.klv"));
    generateRecord(QStringLiteral("otro.KLV"));
    ASSERT_TRUE(testdata::writeFile(QDir(dataFolder).filePath(QStringLiteral("notas.txt")), "x"));

    QPointer<OpenRecordDialog> d = openDialog();
    EXPECT_EQ(d->folderLists->fileList(), (QStringList{QStringLiteral("FRUTAS SUR_1.klv"), QStringLiteral("otro.KLV")}));
    EXPECT_FALSE(d->CmndAbrir->isEnabled());

    d->File1->setCurrentRow(rowOf(d, QStringLiteral("FRUTAS SUR_1.klv")));
    EXPECT_TRUE(sink.messages.isEmpty()) << qPrintable(sink.messages.join(QLatin1Char('|')));
    EXPECT_EQ(d->Label1->text(), QStringLiteral("FRUTAS SUR_1.klv"));
    EXPECT_EQ(record.Archivo, QDir(dataFolder).filePath(QStringLiteral("FRUTAS SUR_1.klv")));
    EXPECT_EQ(record.NombreArchivo, QStringLiteral("FRUTAS SUR_1.klv"));
    EXPECT_EQ(app->UltimoArchivo, QStringLiteral("FRUTAS SUR_1.klv"));
    EXPECT_TRUE(d->CmndAbrir->isEnabled());
    EXPECT_EQ(d->lbInicioMision->text(), QStringLiteral("01/03/2024 - 10:30"));
    EXPECT_EQ(d->lbFinMision->text(), QStringLiteral("26/03/2024 - 10:30"));
    EXPECT_EQ(d->lbNumMuestras->text(), QStringLiteral("2400"));
    EXPECT_EQ(d->lbRango->text(), QStringLiteral("15 min."));
    EXPECT_EQ(d->lbLoThreshold->text(), QStringLiteral("< 2 °C"));
    EXPECT_EQ(d->lbHiThtreshold->text(), QStringLiteral("> 8 °C"));
    EXPECT_EQ(std::make_pair(ui::Pictures::shownState(d->ImgHiAlar), ui::Pictures::shownState(d->imgLoAlar)), std::make_pair(2, 2));
    EXPECT_TRUE(d->imgOrvan->isHidden());
    // The preview reads only the header: the samples are not in memory.
    EXPECT_EQ(record.muestra(0), 0);

    // Fahrenheit, and a record without alarms or a readable stamp.
    app->config.GradosC = 0;
    MissionRecord noAlarms;
    noAlarms.setByte(11, quint8(84));
    noAlarms.setByte(12, quint8(96));
    noAlarms.setByte(21, quint8(0x1A));
    ASSERT_TRUE(GuardaArchivo(noAlarms, QDir(dataFolder).filePath(QStringLiteral("otro.KLV"))).ok);
    d->File1->setCurrentRow(rowOf(d, QStringLiteral("otro.KLV")));
    EXPECT_EQ(sink.messages, QStringList{startDateMessage()});
    EXPECT_EQ(d->lbInicioMision->text(), QStringLiteral("01/01/2011 - 00:00"));
    EXPECT_EQ(d->lbLoThreshold->text(), QStringLiteral("< 35.6 °F"));
    EXPECT_EQ(d->lbHiThtreshold->text(), QStringLiteral("> 46.4 °F"));
    EXPECT_EQ(std::make_pair(ui::Pictures::shownState(d->ImgHiAlar), ui::Pictures::shownState(d->imgLoAlar)), std::make_pair(1, 1));
    delete d;
}

TEST_F(OpenDialogTest, SecondOpeningPreselectsTheLastFileAndCancelHidesTheSummary)
{
    generateRecord(QStringLiteral("A_1.klv"));
    generateRecord(QStringLiteral("B_1.klv"));

    QPointer<OpenRecordDialog> firstRow = openDialog();
    EXPECT_EQ(firstRow->File1->currentRow(), -1);
    firstRow->File1->setCurrentRow(rowOf(firstRow, QStringLiteral("B_1.klv")));
    window->panel()->showRecord({});
    firstRow->CmndCancel->click();
    flushDeletes();
    EXPECT_TRUE(firstRow.isNull());
    EXPECT_TRUE((window->panel()->face() != Face::Record));
    EXPECT_EQ(charts, 0);

    QPointer<OpenRecordDialog> second = openDialog();
    ASSERT_NE(second->File1->currentItem(), nullptr);
    EXPECT_EQ(second->File1->currentItem()->text(), QStringLiteral("B_1.klv"));
    EXPECT_EQ(second->Label1->text(), QStringLiteral("B_1.klv"));
    EXPECT_EQ(second->lbNumMuestras->text(), QStringLiteral("2400"));
    EXPECT_TRUE(second->CmndAbrir->isEnabled());

    // Changing the folder forgets the selection but leaves open enabled: open then only closes.
    ASSERT_TRUE(QDir(dataFolder).mkdir(QStringLiteral("sub")));
    second->folderLists->refresh();
    const auto sub = second->Dir1->findItems(QStringLiteral("sub"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(sub.size(), 1);
    Q_EMIT second->Dir1->itemActivated(sub.first(), 0);
    EXPECT_TRUE(record.Archivo.isEmpty());
    EXPECT_TRUE(second->Label1->text().isEmpty());
    EXPECT_TRUE(second->CmndAbrir->isEnabled());
    second->CmndAbrir->click();
    flushDeletes();
    EXPECT_TRUE(second.isNull());
    EXPECT_EQ(charts, 0);
    EXPECT_FALSE(window->toolbar1Button(3)->isEnabled());
}

TEST_F(OpenDialogTest, OpenLoadsTheRecordFillsTheSummaryAndOpensTheGraph)
{
    const QString path = generateRecord(QStringLiteral("FRUTAS SUR_1.klv"));

    // Study from disk, as the toolbar runs it: the dialog opens inside the main window.
    window->setChildFactory(MainWindow::Child::AbreArch, [](MainWindow& m) {
        return new OpenRecordDialog(m.app(), m.record(), m, m.messages());
    });
    window->toolbar1Click(1);
    QPointer<OpenRecordDialog> d = qobject_cast<OpenRecordDialog*>(window->child(MainWindow::Child::AbreArch));
    ASSERT_FALSE(d.isNull());
    EXPECT_FALSE(window->toolbar1Button(3)->isEnabled());
    d->File1->setCurrentRow(0);
    d->CmndAbrir->click();
    flushDeletes();

    EXPECT_TRUE(d.isNull());
    EXPECT_EQ(window->child(MainWindow::Child::AbreArch), nullptr);
    EXPECT_EQ(charts, 1);
    EXPECT_TRUE(sink.messages.isEmpty());
    EXPECT_EQ(record.fileImage(), testdata::readFile(path));
    EXPECT_EQ(record.campos.NumMuestras, 2400);
    for (int i = 3; i <= 7; ++i)
        EXPECT_TRUE(window->toolbar1Button(i)->isEnabled()) << i;

    const StatusPanel& p = *window->panel();
    EXPECT_FALSE((p.face() != Face::Record));
    EXPECT_EQ(p.text(Item::HighLimit), QStringLiteral(" > 8 °C"));
    EXPECT_EQ(p.text(Item::LowLimit), QStringLiteral(" < 2 °C"));
    EXPECT_EQ(p.text(Item::Start), QStringLiteral("01/03/2024 - 10:30"));
    EXPECT_EQ(p.text(Item::End), QStringLiteral("26/03/2024 - 10:30"));
    EXPECT_EQ(p.text(Item::Samples), QStringLiteral("2400"));
    EXPECT_EQ(p.text(Item::Interval), QStringLiteral("15min."));
    EXPECT_EQ(p.text(Item::File), QStringLiteral("FRUTAS SUR_1.klv"));
    EXPECT_EQ(p.text(Item::Exporter), QStringLiteral("FRUTAS SUR  "));
    EXPECT_EQ(p.text(Item::Carrier), QStringLiteral("NAVIERA AZUL"));
    EXPECT_EQ(p.text(Item::Serial), QStringLiteral("12345   "));
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
    EXPECT_TRUE(d->lbInicioMision->text().isEmpty());

    d->CmndAbrir->click();
    flushDeletes();
    EXPECT_EQ(sink.messages, (QStringList{message, message}));
    ASSERT_FALSE(d.isNull());
    EXPECT_EQ(charts, 0);
    EXPECT_FALSE(window->toolbar1Button(3)->isEnabled());
    EXPECT_EQ(record.Memoria(), QByteArray(kMemoriaSize, '\0'));
    EXPECT_FALSE(d->imgOrvan->isHidden());
    delete d;
}

TEST_F(OpenDialogTest, MissingDefaultFolderIsCreatedAndStored)
{
    app->config.setCarpetaDatos(dir.filePath(QStringLiteral("gone")));
    ASSERT_TRUE(QDir(dataFolder).removeRecursively());

    QPointer<OpenRecordDialog> d = openDialog();
    EXPECT_TRUE(sink.messages.isEmpty()) << qPrintable(sink.messages.join(QLatin1Char('|')));
    EXPECT_TRUE(QFileInfo(dataFolder).isDir());
    EXPECT_EQ(d->folderLists->path(), dataFolder);
    RegConfig saved;
    ASSERT_TRUE(app->settingsFile.read(saved).ok);
    EXPECT_EQ(saved.carpetaDatos(), QDir::toNativeSeparators(dataFolder));
    delete d;
}
