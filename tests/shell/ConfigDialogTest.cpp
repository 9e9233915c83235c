// The configuration window and the confirmation dialog.

#include "ShellUiFixture.h"

#include "shell/ui/ConfigDialog.h"
#include "base/ui/ConfirmDialog.h"
#include "base/ui/StatusPanel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace shelltest;
using orvan::shell::ConfigDialog;
using orvan::ui::ConfirmDialog;

using Item = orvan::ui::StatusPanel::Item;
using Face = orvan::ui::StatusPanel::Face;

namespace {

constexpr int kIdioma = 162;
constexpr int kGrados = 194;
constexpr int kVersion = 196;

class ConfigTest : public ShellUiTest {
protected:
    ConfigDialog* openConfig()
    {
        window->toolbar2Click(2);
        return dynamic_cast<ConfigDialog*>(window->child(Child::Config));
    }
};

} // namespace

TEST_F(ConfigTest, UnitClickTakesEffectAtOnceAndCancelLeavesTheFile)
{
    start();
    ConfigDialog* config = openConfig();
    ASSERT_NE(config, nullptr);
    EXPECT_TRUE(config->optGrados[0]->isChecked());
    EXPECT_TRUE(config->optLenguaje[0]->isChecked());

    config->optGrados[1]->click();
    EXPECT_EQ(app->UnidadTexto(), QStringLiteral(" \u00b0F"));
    config->optGrados[0]->click();
    EXPECT_EQ(app->UnidadTexto(), QStringLiteral(" \u00b0C"));
    config->optGrados[1]->click();

    config->CmndCancel->click();
    EXPECT_EQ(window->child(Child::Config), nullptr);
    EXPECT_EQ(app->UnidadTexto(), QStringLiteral(" \u00b0F"));
    EXPECT_EQ(storedInt(kGrados), -1);
    // The next start uses the stored unit.
    orvan::RegConfig next;
    ASSERT_TRUE(app->settingsFile.loadAtStartup(next).ok);
    EXPECT_EQ(next.GradosC, -1);
}

TEST_F(ConfigTest, OkStoresLanguageAndUnitAndRelabelsTheWindow)
{
    start();
    // A change made in memory elsewhere and never written is not stored by this dialog.
    app->config.PuertoCom = 7;
    ConfigDialog* config = openConfig();
    ASSERT_NE(config, nullptr);
    config->optLenguaje[1]->click();
    config->optGrados[1]->click();
    config->CmndAbrir->click();

    EXPECT_TRUE(sink.messages.isEmpty()) << sink.messages.join(QStringLiteral("\n")).toStdString();
    EXPECT_EQ(window->child(Child::Config), nullptr);
    EXPECT_EQ(storedInt(kIdioma), 1);
    EXPECT_EQ(storedInt(kGrados), 0);
    EXPECT_EQ(storedInt(160), 1);
    EXPECT_EQ(app->config.PuertoCom, 1);
    EXPECT_EQ(app->config.Idioma, 1);
    EXPECT_EQ(window->toolbar1Button(1)->toolTip(), QStringLiteral("Study from disk"));
    EXPECT_EQ(window->toolbar2Button(4)->toolTip(), QStringLiteral("Finish"));
    EXPECT_EQ(window->panel()->toolTip(Item::File), QStringLiteral("File's name"));
    EXPECT_EQ(window->panel()->toolTip(Item::Carrier), QStringLiteral("Carrier"));

    // A stored unit other than -1 shows as Fahrenheit when the dialog opens again.
    config = openConfig();
    ASSERT_NE(config, nullptr);
    EXPECT_TRUE(config->optGrados[1]->isChecked());
    EXPECT_TRUE(config->optLenguaje[1]->isChecked());
}

// The unit options read the settings' flag one way only, -1 Celsius and any other value
// Fahrenheit, and OK stores the flag the next start reads as the chosen unit.
TEST_F(ConfigTest, UnitOptionsReadAndStoreTheSettingsFlag)
{
    start();
    struct Shown { qint16 flag; int checked; };
    for (const Shown& k : {Shown{-1, 0}, Shown{0, 1}, Shown{1, 1}, Shown{-2, 1}, Shown{32767, 1}}) {
        SCOPED_TRACE(k.flag);
        app->config.GradosC = k.flag;
        ConfigDialog* config = openConfig();
        ASSERT_NE(config, nullptr);
        EXPECT_TRUE(config->optGrados[size_t(k.checked)]->isChecked());
        EXPECT_FALSE(config->optGrados[size_t(1 - k.checked)]->isChecked());
        config->CmndCancel->click();
    }

    struct Chosen { qint16 before; int option; qint16 stored; };
    for (const Chosen& k : {Chosen{5, 0, -1}, Chosen{-1, 1, 0}, Chosen{0, 1, 0}, Chosen{-1, 0, -1}}) {
        SCOPED_TRACE(testing::Message() << k.before << " then option " << k.option);
        app->config.GradosC = k.before;
        ConfigDialog* config = openConfig();
        ASSERT_NE(config, nullptr);
        config->optGrados[size_t(k.option)]->click();
        config->CmndAbrir->click();
        EXPECT_TRUE(sink.messages.isEmpty()) << sink.messages.join(QStringLiteral("\n")).toStdString();
        EXPECT_EQ(storedInt(kGrados), k.stored);
        EXPECT_EQ(app->config.GradosC, k.stored);
    }
}

TEST_F(ConfigTest, SettingsFileFailuresAreReportedAndMemoryIsKept)
{
    start();
    // The file cannot be read: nothing changes and the dialog stays for another try or Cancel.
    ASSERT_TRUE(QFile::remove(settingsPath()));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Ruta.CnF")));
    ConfigDialog* config = openConfig();
    ASSERT_NE(config, nullptr);
    config->optLenguaje[2]->click();
    config->CmndAbrir->click();
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_TRUE(sink.messages.first().endsWith(QStringLiteral("in procedure CmndAbrir_Click of Formulario Config")));
    EXPECT_EQ(app->config.Idioma, 0);
    EXPECT_EQ(window->toolbar1Button(1)->toolTip(), QStringLiteral("Analizar de disco"));
    EXPECT_NE(window->child(Child::Config), nullptr);
}

TEST_F(ConfigTest, OkAfterTheFileVanishedWritesARecordTheNextStartKeeps)
{
    start();
    ASSERT_TRUE(QFile::remove(settingsPath()));
    ConfigDialog* config = openConfig();
    ASSERT_NE(config, nullptr);
    config->optLenguaje[3]->click();
    config->CmndAbrir->click();
    ASSERT_TRUE(sink.messages.isEmpty());
    EXPECT_EQ(storedInt(kVersion), 59);
    orvan::RegConfig next;
    ASSERT_TRUE(app->settingsFile.loadAtStartup(next).ok);
    EXPECT_EQ(next.Idioma, 3);
    EXPECT_EQ(next.carpetaDatos(), app->config.carpetaDatos());
    EXPECT_FALSE(next.carpetaDatos().isEmpty());
}

TEST_F(ConfigTest, FirmwareAndPortButtonsAlwaysAnswer)
{
    start();
    ConfigDialog* config = openConfig();
    ASSERT_NE(config, nullptr);
    // The wording is the status summary's; here, that the button asks with the version last read.
    app->VerFw[0] = 0;
    app->VerFw[1] = 7;
    app->VerFw[2] = 2;
    config->Command2->click();
    app->VerFw[0] = 3;
    config->Command2->click();
    EXPECT_EQ(sink.messages, (QStringList{QStringLiteral("Establezca conexión con el equipo primero"),
                                          QStringLiteral("Version de Firmware 3.7.2")}));

    // Whatever ports this computer has, the search says something.
    sink.messages.clear();
    config->Command1->click();
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_FALSE(sink.messages.first().isEmpty());
}

namespace {

// Answers the next modal dialog with `act` as soon as it shows.
void whenModal(const std::function<void(ConfirmDialog&)>& act)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (auto* d = qobject_cast<ConfirmDialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*d);
        }
    });
    poll->start();
}

std::function<void(ConfirmDialog&)> press(Qt::Key key)
{
    return [key](ConfirmDialog& d) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&d, &event);
    };
}

} // namespace

TEST(Seguro, OnlyTheAcceptButtonConfirms)
{
    QPixmap picture(32, 32);
    picture.fill(Qt::red);
    const struct {
        const char* way;
        std::function<void(ConfirmDialog&)> act;
        bool expected;
    } cases[] = {
        {"accept", [](ConfirmDialog& d) { d.CmndAbrir->click(); }, true},
        {"refuse", [](ConfirmDialog& d) { d.CmndCancel->click(); }, false},
        {"close", [](ConfirmDialog& d) { d.close(); }, false},
        {"escape", press(Qt::Key_Escape), false},
        {"enter", press(Qt::Key_Return), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        bool pictureShown = false;
        whenModal([&](ConfirmDialog& d) {
            pictureShown = !d.imgAccion->pixmap().isNull();
            c.act(d);
        });
        EXPECT_EQ(ConfirmDialog::ask(nullptr, picture), c.expected);
        EXPECT_TRUE(pictureShown);
    }
}
