// The configuration window and the confirmation dialog.

#include "ShellUiFixture.h"
#include "support/WhenModal.h"

#include "shell/ui/ConfigDialog.h"
#include "base/ui/ConfirmDialog.h"
#include "base/ui/StatusPanel.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace shelltest;
using orvan::shell::ConfigDialog;
using orvan::ui::ConfirmDialog;
using Item = orvan::ui::StatusPanel::Item;

namespace {

class ConfigTest : public ShellUiTest {
protected:
    ConfigDialog* openConfig()
    {
        window->toolbar2Click(2);
        auto* config = dynamic_cast<ConfigDialog*>(window->child(Child::Config));
        EXPECT_NE(config, nullptr);
        return config;
    }
};

} // namespace

// The unit options read the settings' flag one way only, -1 Celsius and any other value
// Fahrenheit; a click takes effect at once, Cancel leaves the file, and OK stores the flag the
// next start reads as the chosen unit.
TEST_F(ConfigTest, UnitOptionsReadAndStoreTheSettingsFlag)
{
    start();
    for (const auto& [flag, checked] : {std::pair<qint16, int>{-1, 0}, {0, 1}, {1, 1}, {-2, 1}, {32767, 1}}) {
        SCOPED_TRACE(flag);
        app->config.GradosC = flag;
        ConfigDialog* config = openConfig();
        EXPECT_TRUE(config->optGrados[size_t(checked)]->isChecked());
        EXPECT_FALSE(config->optGrados[size_t(1 - checked)]->isChecked());
        config->optGrados[size_t(1 - checked)]->click();
        EXPECT_EQ(app->UnidadTexto(), checked ? QStringLiteral(" \u00b0C") : QStringLiteral(" \u00b0F"));
        config->CmndCancel->click();
        EXPECT_EQ(window->child(Child::Config), nullptr);
        EXPECT_EQ(stored().GradosC, -1);
    }
    struct Chosen { qint16 before; int option; qint16 stored; };
    for (const Chosen& k : {Chosen{5, 0, -1}, Chosen{-1, 1, 0}, Chosen{0, 1, 0}, Chosen{-1, 0, -1}}) {
        SCOPED_TRACE(testing::Message() << k.before << " then option " << k.option);
        app->config.GradosC = k.before;
        ConfigDialog* config = openConfig();
        config->optGrados[size_t(k.option)]->click();
        config->CmndAbrir->click();
        EXPECT_TRUE(sink.messages.isEmpty()) << sink.messages.join(QStringLiteral("\n")).toStdString();
        EXPECT_EQ(std::make_pair(stored().GradosC, app->config.GradosC), std::make_pair(k.stored, k.stored));
    }
}

TEST_F(ConfigTest, ButtonsAnswerAndOkStoresLanguageAndRelabelsTheWindow)
{
    start();
    app->config.PuertoCom = 7;   // changed in memory elsewhere and never written: not stored here
    ConfigDialog* config = openConfig();
    // The firmware button asks with the version last read; the port search, whatever ports this
    // computer has, says something.
    app->VerFw[0] = 0;
    app->VerFw[1] = 7;
    app->VerFw[2] = 2;
    config->Command2->click();
    app->VerFw[0] = 3;
    config->Command2->click();
    config->Command1->click();
    ASSERT_EQ(sink.messages.size(), 3);
    EXPECT_EQ(sink.messages.mid(0, 2), (QStringList{QStringLiteral("Establezca conexión con el equipo primero"),
                                                     QStringLiteral("Version de Firmware 3.7.2")}));
    EXPECT_FALSE(sink.messages[2].isEmpty());
    sink.messages.clear();

    config->optLenguaje[1]->click();
    config->CmndAbrir->click();
    EXPECT_TRUE(sink.messages.isEmpty()) << sink.messages.join(QStringLiteral("\n")).toStdString();
    EXPECT_EQ(window->child(Child::Config), nullptr);
    EXPECT_EQ(std::make_pair(stored().Idioma, stored().PuertoCom), std::make_pair(qint16(1), qint16(1)));
    EXPECT_EQ(std::make_pair(app->config.Idioma, app->config.PuertoCom), std::make_pair(qint16(1), qint16(1)));
    EXPECT_EQ(window->toolbar1Button(1)->toolTip(), QStringLiteral("Study from disk"));
    EXPECT_EQ(window->toolbar2Button(4)->toolTip(), QStringLiteral("Finish"));
    EXPECT_EQ(window->panel()->toolTip(Item::File), QStringLiteral("File's name"));
    EXPECT_TRUE(openConfig()->optLenguaje[1]->isChecked());
}

TEST_F(ConfigTest, SettingsFileFailuresAreReportedAndAVanishedFileIsWrittenAgain)
{
    start();
    // The file cannot be read: nothing changes and the dialog stays for another try.
    ASSERT_TRUE(QFile::remove(settingsPath()));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Ruta.CnF")));
    ConfigDialog* config = openConfig();
    config->optLenguaje[2]->click();
    config->CmndAbrir->click();
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_TRUE(sink.messages.first().endsWith(QStringLiteral("in procedure CmndAbrir_Click of Formulario Config")));
    EXPECT_EQ(app->config.Idioma, 0);
    EXPECT_EQ(window->toolbar1Button(1)->toolTip(), QStringLiteral("Analizar de disco"));
    ASSERT_EQ(window->child(Child::Config), config);

    // The file gone altogether: OK writes a record the next start keeps.
    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("Ruta.CnF")));
    config->optLenguaje[3]->click();
    config->CmndAbrir->click();
    EXPECT_EQ(sink.messages.size(), 1);
    orvan::RegConfig next;
    ASSERT_TRUE(app->settingsFile.loadAtStartup(next).ok);
    EXPECT_EQ(std::make_pair(next.VersionCfg, next.Idioma), std::make_pair(qint16(59), qint16(3)));
    EXPECT_EQ(next.carpetaDatos(), app->config.carpetaDatos());
    EXPECT_FALSE(next.carpetaDatos().isEmpty());
}

// The box runs its own event loop; only its accept button confirms.
TEST(Seguro, OnlyTheAcceptButtonConfirms)
{
    QPixmap picture(32, 32);
    picture.fill(Qt::red);
    const auto press = [](Qt::Key key) {
        return [key](ConfirmDialog* d) {
            QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(d, &event);
        };
    };
    const struct {
        const char* way;
        std::function<void(ConfirmDialog*)> act;
        bool expected;
    } cases[] = {
        {"accept", [](ConfirmDialog* d) { d->CmndAbrir->click(); }, true},
        {"refuse", [](ConfirmDialog* d) { d->CmndCancel->click(); }, false},
        {"close", [](ConfirmDialog* d) { d->close(); }, false},
        {"escape", press(Qt::Key_Escape), false},
        {"enter", press(Qt::Key_Return), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        bool pictureShown = false;
        orvan::test::whenModal<ConfirmDialog>([&](ConfirmDialog* d) {
            pictureShown = !d->imgAccion->pixmap().isNull();
            c.act(d);
        });
        EXPECT_EQ(ConfirmDialog::ask(nullptr, picture), c.expected);
        EXPECT_TRUE(pictureShown);
    }
}
