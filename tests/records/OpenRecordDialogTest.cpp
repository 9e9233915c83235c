// AbreArch on the offscreen platform: preview, pre-selection, open, cancel, unreadable files.

#include "records/ImagenPrueba.h"
#include "records/RecordFile.h"
#include "records/ui/FolderLists.h"
#include "records/ui/OpenRecordDialog.h"
#include "base/AppContext.h"
#include "shell/ui/MainWindow.h"
#include "base/ui/StatusPanel.h"
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

namespace {

class AbreArchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        ASSERT_TRUE(dir.isValid());
        app = std::make_unique<AppContext>(dir.path());
        app->config.applyDefaults(dir.path());
        app->textos.CargaTextos(0);
        datos = dir.filePath(QStringLiteral("Datos"));
        ASSERT_TRUE(QDir().mkpath(datos));
        ventana = std::make_unique<MainWindow>(*app, record, sink);
        ventana->setChildFactory(MainWindow::Child::frmGrafico, [this](MainWindow&) -> QWidget* {
            ++graficos;
            return new QWidget;
        });
    }

    // A finished mission: prepared 1 March 2024 10:00 with a 30-minute delay, 2400 samples
    // every 15 minutes, limits 2 and 8 degrees, both crossed.
    QString generaRegistro(const QString& nombre)
    {
        generator::GeneratorOptions o;
        o.delayMinutes = 30;
        MissionRecord r;
        r.setBytes(0, generator::generateImage(o));
        const QString path = QDir(datos).filePath(nombre);
        EXPECT_TRUE(GuardaArchivo(r, path).ok);
        return path;
    }

    OpenRecordDialog* abre()
    {
        auto* d = new OpenRecordDialog(*app, record, *ventana, sink);
        d->show();
        return d;
    }

    static int fila(OpenRecordDialog* d, const QString& nombre)
    {
        const auto items = d->File1->findItems(nombre, Qt::MatchExactly);
        return items.isEmpty() ? -1 : d->File1->row(items.first());
    }

    static void borraPendientes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QTemporaryDir dir;
    std::unique_ptr<AppContext> app;
    MissionRecord record;
    RecordingSink sink;
    std::unique_ptr<MainWindow> ventana;
    QString datos;
    int graficos = 0;
};

} // namespace

TEST_F(AbreArchTest, ClickPreviewsTheRecordHeader)
{
    generaRegistro(QStringLiteral("FRUTAS SUR_1.klv"));
    generaRegistro(QStringLiteral("otro.KLV"));
    ASSERT_TRUE(prueba::escribe(QDir(datos).filePath(QStringLiteral("notas.txt")), "x"));

    QPointer<OpenRecordDialog> d = abre();
    EXPECT_EQ(d->carpetas->archivos(), (QStringList{QStringLiteral("FRUTAS SUR_1.klv"), QStringLiteral("otro.KLV")}));
    EXPECT_FALSE(d->CmndAbrir->isEnabled());

    d->File1->setCurrentRow(fila(d, QStringLiteral("FRUTAS SUR_1.klv")));
    EXPECT_TRUE(sink.messages.isEmpty()) << qPrintable(sink.messages.join(QLatin1Char('|')));
    EXPECT_EQ(d->Label1->text(), QStringLiteral("FRUTAS SUR_1.klv"));
    EXPECT_EQ(record.Archivo, QDir(datos).filePath(QStringLiteral("FRUTAS SUR_1.klv")));
    EXPECT_EQ(record.NombreArchivo, QStringLiteral("FRUTAS SUR_1.klv"));
    EXPECT_EQ(app->UltimoArchivo, QStringLiteral("FRUTAS SUR_1.klv"));
    EXPECT_TRUE(d->CmndAbrir->isEnabled());
    EXPECT_EQ(d->lbInicioMision->text(), QStringLiteral("01/03/2024 - 10:30"));
    EXPECT_EQ(d->lbFinMision->text(), QStringLiteral("26/03/2024 - 10:30"));
    EXPECT_EQ(d->lbNumMuestras->text(), QStringLiteral("2400"));
    EXPECT_EQ(d->lbRango->text(), QStringLiteral("15 min."));
    EXPECT_EQ(d->lbLoThreshold->text(), QStringLiteral("< 2 °C"));
    EXPECT_EQ(d->lbHiThtreshold->text(), QStringLiteral("> 8 °C"));
    EXPECT_EQ(std::make_pair(StatusPanel::pictureIndex(d->ImgHiAlar), StatusPanel::pictureIndex(d->imgLoAlar)), std::make_pair(2, 2));
    EXPECT_TRUE(d->imgOrvan->isHidden());
    // The preview reads only the header: the samples are not in memory.
    EXPECT_EQ(record.muestra(0), 0);

    // Fahrenheit, and a record without alarms or a readable stamp.
    app->config.GradosC = 0;
    MissionRecord sinAlarmas;
    sinAlarmas.setByte(11, quint8(84));
    sinAlarmas.setByte(12, quint8(96));
    sinAlarmas.setByte(21, quint8(0x1A));
    ASSERT_TRUE(GuardaArchivo(sinAlarmas, QDir(datos).filePath(QStringLiteral("otro.KLV"))).ok);
    d->File1->setCurrentRow(fila(d, QStringLiteral("otro.KLV")));
    EXPECT_EQ(sink.messages, QStringList{mensajeFechaInicio()});
    EXPECT_EQ(d->lbInicioMision->text(), QStringLiteral("01/01/2011 - 00:00"));
    EXPECT_EQ(d->lbLoThreshold->text(), QStringLiteral("< 35.6 °F"));
    EXPECT_EQ(d->lbHiThtreshold->text(), QStringLiteral("> 46.4 °F"));
    EXPECT_EQ(std::make_pair(StatusPanel::pictureIndex(d->ImgHiAlar), StatusPanel::pictureIndex(d->imgLoAlar)), std::make_pair(1, 1));
    delete d;
}

TEST_F(AbreArchTest, SecondOpeningPreselectsTheLastFileAndCancelHidesTheSummary)
{
    generaRegistro(QStringLiteral("A_1.klv"));
    generaRegistro(QStringLiteral("B_1.klv"));

    QPointer<OpenRecordDialog> primera = abre();
    EXPECT_EQ(primera->File1->currentRow(), -1);
    primera->File1->setCurrentRow(fila(primera, QStringLiteral("B_1.klv")));
    ventana->panel()->showRecord();
    primera->CmndCancel->click();
    borraPendientes();
    EXPECT_TRUE(primera.isNull());
    EXPECT_TRUE(ventana->panel()->FrameDatos->isHidden());
    EXPECT_EQ(graficos, 0);

    QPointer<OpenRecordDialog> segunda = abre();
    ASSERT_NE(segunda->File1->currentItem(), nullptr);
    EXPECT_EQ(segunda->File1->currentItem()->text(), QStringLiteral("B_1.klv"));
    EXPECT_EQ(segunda->Label1->text(), QStringLiteral("B_1.klv"));
    EXPECT_EQ(segunda->lbNumMuestras->text(), QStringLiteral("2400"));
    EXPECT_TRUE(segunda->CmndAbrir->isEnabled());

    // Changing the folder forgets the selection but leaves open enabled: open then only closes.
    ASSERT_TRUE(QDir(datos).mkdir(QStringLiteral("sub")));
    segunda->carpetas->refresca();
    const auto sub = segunda->Dir1->findItems(QStringLiteral("sub"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(sub.size(), 1);
    Q_EMIT segunda->Dir1->itemActivated(sub.first(), 0);
    EXPECT_TRUE(record.Archivo.isEmpty());
    EXPECT_TRUE(segunda->Label1->text().isEmpty());
    EXPECT_TRUE(segunda->CmndAbrir->isEnabled());
    segunda->CmndAbrir->click();
    borraPendientes();
    EXPECT_TRUE(segunda.isNull());
    EXPECT_EQ(graficos, 0);
    EXPECT_FALSE(ventana->toolbar1Button(3)->isEnabled());
}

TEST_F(AbreArchTest, OpenLoadsTheRecordFillsTheSummaryAndOpensTheGraph)
{
    const QString path = generaRegistro(QStringLiteral("FRUTAS SUR_1.klv"));

    // Study from disk, as the toolbar runs it: the dialog opens inside the main window.
    ventana->setChildFactory(MainWindow::Child::AbreArch, [](MainWindow& m) {
        return new OpenRecordDialog(m.app(), m.record(), m, m.messages());
    });
    ventana->toolbar1Click(1);
    QPointer<OpenRecordDialog> d = qobject_cast<OpenRecordDialog*>(ventana->child(MainWindow::Child::AbreArch));
    ASSERT_FALSE(d.isNull());
    EXPECT_FALSE(ventana->toolbar1Button(3)->isEnabled());
    d->File1->setCurrentRow(0);
    d->CmndAbrir->click();
    borraPendientes();

    EXPECT_TRUE(d.isNull());
    EXPECT_EQ(ventana->child(MainWindow::Child::AbreArch), nullptr);
    EXPECT_EQ(graficos, 1);
    EXPECT_TRUE(sink.messages.isEmpty());
    EXPECT_EQ(record.imagen(), prueba::lee(path));
    EXPECT_EQ(record.campos.NumMuestras, 2400);
    for (int i = 3; i <= 7; ++i)
        EXPECT_TRUE(ventana->toolbar1Button(i)->isEnabled()) << i;

    StatusPanel* p = ventana->panel();
    EXPECT_FALSE(p->FrameDatos->isHidden());
    EXPECT_EQ(p->lbAlarHi->text(), QStringLiteral(" > 8 °C"));
    EXPECT_EQ(p->lbAlarLow->text(), QStringLiteral(" < 2 °C"));
    EXPECT_EQ(p->lbInicioMision->text(), QStringLiteral("01/03/2024 - 10:30"));
    EXPECT_EQ(p->lbFinMision->text(), QStringLiteral("26/03/2024 - 10:30"));
    EXPECT_EQ(p->lbNumMuestras->text(), QStringLiteral("2400"));
    EXPECT_EQ(p->lbRango->text(), QStringLiteral("15min."));
    EXPECT_EQ(p->lbArchivo->text(), QStringLiteral("FRUTAS SUR_1.klv"));
    EXPECT_EQ(p->lbExport->text(), QStringLiteral("FRUTAS SUR  "));
    EXPECT_EQ(p->lbTransport->text(), QStringLiteral("NAVIERA AZUL"));
    EXPECT_EQ(p->lbNumSer->text(), QStringLiteral("12345   "));
    EXPECT_EQ(std::make_pair(StatusPanel::pictureIndex(p->ImgHiAlar), StatusPanel::pictureIndex(p->imgLoAlar)), std::make_pair(2, 2));
}

TEST_F(AbreArchTest, UnreadableFileEndsTheAttemptWithOneMessage)
{
    const QString largo = QDir(datos).filePath(QStringLiteral("largo.klv"));
    ASSERT_TRUE(prueba::escribe(largo, QByteArray(kMemoriaSize + 1, '\x05')));
    const QString mensaje = QStringLiteral("Error al abrir el archivo: ") + largo;

    QPointer<OpenRecordDialog> d = abre();
    d->File1->setCurrentRow(0);
    EXPECT_EQ(sink.messages, QStringList{mensaje});
    EXPECT_TRUE(d->lbNumMuestras->text().isEmpty());
    EXPECT_TRUE(d->lbInicioMision->text().isEmpty());

    d->CmndAbrir->click();
    borraPendientes();
    EXPECT_EQ(sink.messages, (QStringList{mensaje, mensaje}));
    ASSERT_FALSE(d.isNull());
    EXPECT_EQ(graficos, 0);
    EXPECT_FALSE(ventana->toolbar1Button(3)->isEnabled());
    EXPECT_EQ(record.Memoria(), QByteArray(kMemoriaSize, '\0'));
    EXPECT_FALSE(d->imgOrvan->isHidden());
    delete d;
}

TEST_F(AbreArchTest, MissingDefaultFolderIsCreatedAndStored)
{
    app->config.setCarpetaDatos(dir.filePath(QStringLiteral("gone")));
    ASSERT_TRUE(QDir(datos).removeRecursively());

    QPointer<OpenRecordDialog> d = abre();
    EXPECT_TRUE(sink.messages.isEmpty()) << qPrintable(sink.messages.join(QLatin1Char('|')));
    EXPECT_TRUE(QFileInfo(datos).isDir());
    EXPECT_EQ(d->carpetas->path(), datos);
    RegConfig guardada;
    ASSERT_TRUE(app->settingsFile.read(guardada).ok);
    EXPECT_EQ(guardada.carpetaDatos(), QDir::toNativeSeparators(datos));
    delete d;
}
