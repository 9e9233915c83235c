// GrabArch on the offscreen platform: proposal, folder change, name checks, overwrite, failures.

#include "records/RecordImages.h"
#include "records/ui/FolderLists.h"
#include "records/ui/SaveRecordDialog.h"
#include "base/AppContext.h"
#include "tools/generator/RecordGenerator.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace orvan;
using namespace orvan::records;

namespace {

class GrabArchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.config.applyDefaults(dir.path());
        app.textos.CargaTextos(0);
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
        auto d = std::make_unique<SaveRecordDialog>(app, record, sink);
        d->setQuestion([this](const QString& text) {
            questions << text;
            return answer;
        });
        d->show();
        return d;
    }

    QString en(const QString& name) const { return QDir(dataFolder).filePath(name); }

    RegConfig stored()
    {
        RegConfig saved;
        EXPECT_TRUE(app.settingsFile.read(saved).ok);
        return saved;
    }

    QTemporaryDir dir;
    AppContext app{dir.path()};
    MissionRecord record;
    RecordingSink sink;
    const QString dataFolder = dir.filePath(QStringLiteral("Datos"));
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

    d->CmndAbrir->click();   // accepting writes the record there under the proposal
    EXPECT_EQ(std::make_pair(d->isVisible(), d->result()), std::make_pair(false, int(QDialog::Accepted)));
    EXPECT_TRUE(record.GuardadoEnDisco);
    EXPECT_EQ(record.Archivo, QDir(en(QStringLiteral("vacia"))).filePath(QStringLiteral("EXPO_1.klv")));
    EXPECT_EQ(testdata::readFile(record.Archivo), record.fileImage());
    EXPECT_TRUE(questions.isEmpty() && sink.messages.isEmpty());

    // With the default folder gone, the dialog proposes in the application folder.
    app.config.setCarpetaDatos(dir.filePath(QStringLiteral("gone")));
    EXPECT_EQ(openDialog()->folderPath(), QDir::cleanPath(dir.path()));
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
    for (const bool yes : {false, true}) {
        answer = yes;
        d->CmndAbrir->click();
        ASSERT_EQ(questions.size(), yes ? 2 : 1);
        EXPECT_TRUE(questions.last().contains(QDir::toNativeSeparators(existing)));
        EXPECT_EQ(d->isVisible(), !yes);
        EXPECT_EQ(record.GuardadoEnDisco, yes);
        EXPECT_EQ(testdata::readFile(existing), yes ? record.fileImage() : QByteArray(40000, 'v'));
    }
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
    EXPECT_EQ(stored().carpetaDatos(), QDir::toNativeSeparators(other));

    // Cancel leaves nothing saved.
    record.GuardadoEnDisco = true;
    auto again = openDialog();
    EXPECT_EQ(again->folderPath(), other);
    again->CmndCancel->click();
    EXPECT_FALSE(record.GuardadoEnDisco);
    EXPECT_EQ(again->result(), QDialog::Rejected);
    EXPECT_EQ(testdata::readFile(earlier), QByteArray("earlier"));

    // A folder the settings cannot hold (the settings record's own rule) is refused with its
    // message; memory and file keep the folder they had.
    sink.messages.clear();
    saveDefaultFolder(app, dir.filePath(QStringLiteral("datos-数据")), sink);
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_TRUE(sink.messages.first().contains(QStringLiteral("caracteres"))) << sink.messages.first().toStdString();
    EXPECT_EQ(std::make_pair(app.config.carpetaDatos(), stored().carpetaDatos()), std::make_pair(other, other));
}
