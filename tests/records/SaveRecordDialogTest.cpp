// GrabArch on the offscreen platform: proposal, folder change, name checks, overwrite, failures.

#include "records/RecordImages.h"
#include "records/ui/FolderLists.h"
#include "records/ui/SaveRecordDialog.h"
#include "base/AppContext.h"
#include "tools/generator/RecordGenerator.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace orvan;
using namespace orvan::records;

namespace {

class GrabArchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        app = std::make_unique<AppContext>(dir.path());
        app->config.applyDefaults(dir.path());
        app->textos.CargaTextos(0);
        dataFolder = dir.filePath(QStringLiteral("Datos"));
        ASSERT_TRUE(QDir().mkpath(dataFolder));
        generator::GeneratorOptions o;
        o.exporter = QStringLiteral("EXPO");
        record.setBytes(0, generator::generateImage(o));
        record.LeeAuditoria();
        record.GuardadoEnDisco = true;
        record.Archivo = QStringLiteral("stale");
    }

    std::unique_ptr<SaveRecordDialog> openDialog()
    {
        auto d = std::make_unique<SaveRecordDialog>(*app, record, sink);
        d->setQuestion([this](const QString& text) {
            questions << text;
            return answer;
        });
        d->show();
        return d;
    }

    QString en(const QString& name) const { return QDir(dataFolder).filePath(name); }

    QTemporaryDir dir;
    std::unique_ptr<AppContext> app;
    MissionRecord record;
    RecordingSink sink;
    QString dataFolder;
    QStringList questions;
    bool answer = false;
};

} // namespace

TEST_F(GrabArchTest, ProposesTheNextFreeNameAndAFolderChangeReplacesIt)
{
    ASSERT_TRUE(testdata::writeFile(en(QStringLiteral("EXPO_1.klv")), "1"));
    ASSERT_TRUE(testdata::writeFile(en(QStringLiteral("EXPO_2.klv")), "2"));
    ASSERT_TRUE(QDir(dataFolder).mkdir(QStringLiteral("vacia")));

    auto d = openDialog();
    EXPECT_TRUE(d->isModal());
    EXPECT_FALSE(record.GuardadoEnDisco);
    EXPECT_TRUE(record.Archivo.isEmpty());
    EXPECT_EQ(d->folderPath(), dataFolder);
    EXPECT_EQ(d->Text1->text(), QStringLiteral("EXPO_3"));

    d->Text1->setText(QStringLiteral("mi nombre"));
    const auto empty = d->Dir1->findItems(QStringLiteral("vacia"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(empty.size(), 1);
    Q_EMIT d->Dir1->itemActivated(empty.first(), 0);
    EXPECT_EQ(d->folderPath(), en(QStringLiteral("vacia")));
    EXPECT_EQ(d->Text1->text(), QStringLiteral("EXPO_1"));

    // Accepting writes the record there under the proposal.
    d->CmndAbrir->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(record.GuardadoEnDisco);
    EXPECT_EQ(record.Archivo, QDir(en(QStringLiteral("vacia"))).filePath(QStringLiteral("EXPO_1.klv")));
    EXPECT_EQ(testdata::readFile(record.Archivo), record.fileImage());
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_TRUE(sink.messages.isEmpty());
}

TEST_F(GrabArchTest, RefusesEmptyNamesAndSeparatorsAndAsksBeforeWritingOver)
{
    auto d = openDialog();
    for (const QString& bad : {QStringLiteral("   "), QStringLiteral("a/b"), QStringLiteral("..\\x")}) {
        SCOPED_TRACE(qPrintable(bad));
        sink.messages.clear();
        d->Text1->setText(bad);
        d->CmndAbrir->click();
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(sink.messages.size(), 1);
        EXPECT_FALSE(record.GuardadoEnDisco);
    }
    EXPECT_EQ(QDir(dataFolder).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.klv")}, QDir::Files), QStringList());

    sink.messages.clear();
    const QString existing = en(QStringLiteral("viejo.klv"));
    ASSERT_TRUE(testdata::writeFile(existing, QByteArray(40000, 'v')));
    d->Text1->setText(QStringLiteral("  viejo "));
    answer = false;
    d->CmndAbrir->click();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions.first().contains(QDir::toNativeSeparators(existing)));
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(testdata::readFile(existing), QByteArray(40000, 'v'));
    EXPECT_FALSE(record.GuardadoEnDisco);

    answer = true;
    d->CmndAbrir->click();
    EXPECT_EQ(questions.size(), 2);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(record.GuardadoEnDisco);
    EXPECT_EQ(testdata::readFile(existing), record.fileImage());
    EXPECT_TRUE(sink.messages.isEmpty());
}

TEST_F(GrabArchTest, FailedWriteIsReportedClosesUnsavedAndStillStoresTheDefaultFolder)
{
    const QString earlier = en(QStringLiteral("EXPO_1.klv"));
    ASSERT_TRUE(testdata::writeFile(earlier, "earlier"));
    const QString other = dir.filePath(QStringLiteral("otra"));
    ASSERT_TRUE(QDir().mkpath(other));

    auto d = openDialog();
    d->setWriter([](QIODevice&, const QByteArray&) -> qint64 { return -1; });
    ASSERT_TRUE(d->folderLists->setPath(other));
    d->Check1->setChecked(true);
    d->CmndAbrir->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(record.GuardadoEnDisco);
    EXPECT_EQ(sink.messages, QStringList{QStringLiteral("Error 57 (Device I/O error) in procedure GuardaArchivo of Módulo Rutat1")});
    EXPECT_EQ(QDir(other).entryList(QDir::Files), QStringList());
    RegConfig saved;
    ASSERT_TRUE(app->settingsFile.read(saved).ok);
    EXPECT_EQ(saved.carpetaDatos(), QDir::toNativeSeparators(other));

    // Cancel leaves nothing saved.
    record.GuardadoEnDisco = true;
    auto again = openDialog();
    EXPECT_EQ(again->folderPath(), other);
    again->CmndCancel->click();
    EXPECT_FALSE(record.GuardadoEnDisco);
    EXPECT_EQ(again->result(), QDialog::Rejected);
    EXPECT_EQ(testdata::readFile(earlier), QByteArray("earlier"));
}

TEST_F(GrabArchTest, MissingDefaultFolderFallsBackToTheApplicationFolder)
{
    app->config.setCarpetaDatos(dir.filePath(QStringLiteral("gone")));
    auto d = openDialog();
    EXPECT_EQ(d->folderPath(), QDir::cleanPath(dir.path()));
    EXPECT_EQ(d->Text1->text(), QStringLiteral("EXPO_1"));
}

TEST_F(GrabArchTest, ADefaultFolderTheSettingsCannotHoldIsRefusedWithAMessage)
{
    ASSERT_TRUE(app->settingsFile.write(app->config).ok);
    const QString antes = app->config.carpetaDatos();
    const struct {
        QString carpeta;
        const char* motivo;
    } casos[] = {
        {dir.filePath(QStringLiteral("datos-数据")), "caracteres"},
        {dir.filePath(QStringLiteral("Ωmega")), "caracteres"},
        {QStringLiteral("/") + QString(80, QLatin1Char('a')), "más de 80"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.carpeta.toStdString());
        sink.messages.clear();
        saveDefaultFolder(*app, c.carpeta, sink);
        ASSERT_EQ(sink.messages.size(), 1);
        EXPECT_TRUE(sink.messages.first().contains(QString::fromUtf8(c.motivo))) << sink.messages.first().toStdString();
        EXPECT_EQ(app->config.carpetaDatos(), antes);
        RegConfig guardada;
        ASSERT_TRUE(app->settingsFile.read(guardada).ok);
        EXPECT_EQ(guardada.carpetaDatos(), antes);
    }

    // Windows-1252 holds these: the folder is kept as it is.
    sink.messages.clear();
    const QString acentos = dir.filePath(QStringLiteral("Año ñandú €"));
    saveDefaultFolder(*app, acentos, sink);
    EXPECT_TRUE(sink.messages.isEmpty());
    RegConfig guardada;
    ASSERT_TRUE(app->settingsFile.read(guardada).ok);
    EXPECT_EQ(guardada.carpetaDatos(), QDir::toNativeSeparators(acentos));
}
