// Faults as the user meets them in the windows: the sample list exporting onto a full disk or into
// a read-only folder, the device-data window losing its logger (the pseudo-terminal vanishing, the
// logger falling silent) during a download, the preparation window losing it while it programs. A
// clear message, no success, the disk as it was; once the fault is gone the same operation works,
// from the window opened again where the vanished port closed it.

#include "mission/DeviceCommands.h"
#include "mission/Download.h"
#include "mission/ui/DeviceDataForm.h"
#include "mission/ui/PrepForm.h"
#include "records/RecordFile.h"
#include "support/AsNobody.h"
#include "support/DiskFaults.h"
#include "support/Files.h"
#include "support/NoPauses.h"
#include "support/WaitFor.h"
#include "support/WindowDesk.h"
#include "tools/emulator/EmulatorFixture.h"
#include "tools/generator/RecordGenerator.h"
#include "views/CsvExport.h"
#include "views/ui/SampleListWindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <mutex>
#include <optional>
#include <thread>

using namespace orvan;
using emulator::EmulatorFixture;
using emulator::Fault;
using emulator::ScenarioKind;
using orvan::test::everyName;
using orvan::test::readAll;
using orvan::test::waitFor;
using orvan::test::writeFile;

namespace {

// A message sink like the application's: with holdMs set, each message waits in a real modal box
// whose nested event loop runs the windows' timers and the link's signals until a timer closes it.
class NestedLoopSink : public RecordingSink {
public:
    void show(const QString& text) override
    {
        RecordingSink::show(text);
        if (holdMs <= 0)
            return;
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("test"), text, QMessageBox::Ok, QApplication::activeWindow());
        QTimer::singleShot(holdMs, &box, &QMessageBox::accept);
        box.exec();
        ++boxesShown;
    }
    int holdMs = 0;
    int boxesShown = 0;
};

struct Desk : orvan::test::WindowDesk<NestedLoopSink> {
    explicit Desk(const QString& appFolder) : WindowDesk(appFolder) {}
    QString status() const { return window->statusBar()->currentMessage(); }
    QString dataFolder() const { return app.config.CarpetaDatos.trimmed(); }
    // The messages shown since `from`, one line.
    QString seenSince(int from) const { return messages.messages.mid(from).join(QStringLiteral(" / ")); }
};


// Pulls the plug once `frames` frames of one command have come, from a thread of its own.
class Unplugger {
public:
    explicit Unplugger(EmulatorFixture& emu) : m_emu(emu) {}
    ~Unplugger() { pulled(); }
    void arm(quint8 command, int frames)
    {
        m_left = frames;
        m_emu.logger().setFrameObserver([this, command, frames](const emulator::FrameLogEntry& e) {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (!e.frame.isEmpty() && quint8(e.frame.at(0)) == command && --m_left == 0)
                m_thread = std::thread([this] { m_emu.server().stop(); });
        });
    }
    bool pulled()
    {
        m_emu.logger().setFrameObserver({});
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_thread.joinable())
            m_thread.join();
        return !m_emu.server().isRunning();
    }
    // The logger on a new pseudo-terminal, where the application folder's COM alias finds it.
    bool plugBackIn()
    {
        return pulled() && m_emu.server().start() && !m_emu.server().createAlias(m_emu.aliasFolder(), m_emu.com()).isEmpty();
    }

private:
    EmulatorFixture& m_emu;
    int m_left = 0;
    std::mutex m_mutex;   // the thread starts on the emulator's thread and is joined on the test's
    std::thread m_thread;
};

} // namespace

// The export button under a full disk and in a read-only folder: one
// message naming the file, no success, the earlier export and the folder as they were; the next
// export without the fault writes the file.
TEST(WindowFaults, SampleListExport)
{
    QTemporaryDir dir;
    orvan::test::setMode(dir.path(), 0755);
    const QString folder = dir.filePath(QStringLiteral("Datos"));
    ASSERT_TRUE(QDir().mkpath(folder));
    Desk desk(dir.path());
    desk.record.setBytes(0, generator::generateImage({}));
    desk.record.LeeAuditoria();
    auto* list = new views::SampleListWindow(*desk.window, desk.record);
    desk.window->showChild(list);

    desk.record.Archivo = folder + QStringLiteral("/EXPO_1.klv");
    const QString csv = views::csvPath(desk.record.Archivo);
    const QByteArray earlier("an earlier export of this record");
    std::vector<orvan::test::DiskFault> cases(std::begin(orvan::test::kDiskFaults), std::end(orvan::test::kDiskFaults));
    cases.push_back({"read-only folder", {}});   // a name that is a folder: FaultMatrix
    for (const orvan::test::DiskFault& c : cases) {
        SCOPED_TRACE(c.what);
        const bool readOnly = !c.write;
        ASSERT_TRUE(writeFile(csv, earlier));
        const QStringList before = everyName(folder);
        const int shown = int(desk.messages.messages.size());
        desk.window->statusBar()->clearMessage();

        list->setWriter(c.write);
        orvan::test::setMode(folder, readOnly ? 0555 : 0755);
        {
            std::optional<orvan::test::FileSystemAsNobody> nobody;
            if (readOnly)
                nobody.emplace();
            list->cmdExcel->click();
        }
        ASSERT_EQ(desk.messages.messages.size(), shown + 1);
        const QString seen = desk.messages.messages.last();
        EXPECT_TRUE(seen.startsWith(QStringLiteral("Error 57 (") + QDir::toNativeSeparators(csv) + QStringLiteral(": ")))
            << seen.toStdString();
        EXPECT_TRUE(seen.endsWith(QStringLiteral(") in procedure cmdExcel_Click of Formulario Detalle"))) << seen.toStdString();
        EXPECT_EQ(!readOnly, seen.contains(QStringLiteral(": the write stopped after "))) << "how far it got";
        EXPECT_TRUE(desk.status().isEmpty()) << "success reported: " << desk.status().toStdString();
        EXPECT_EQ(everyName(folder), before);
        EXPECT_EQ(readAll(csv), earlier);
        EXPECT_TRUE(list->cmdExcel->isEnabled());

        list->setWriter({});
        orvan::test::setMode(folder, 0755);
        list->cmdExcel->click();
        EXPECT_EQ(desk.messages.messages.size(), shown + 1) << desk.seenSince(shown).toStdString();
        EXPECT_TRUE(desk.status().endsWith(QDir::toNativeSeparators(csv))) << desk.status().toStdString();
        EXPECT_TRUE(readAll(csv).startsWith("\"Serie KLV-100\""));
    }
}

namespace {

// The device-data window opened on the emulator: it searches the ports and starts polling.
QPointer<mission::DeviceDataForm> openDeviceWindow(Desk& desk)
{
    desk.app.flags.CerrarSave = false;
    auto* form = new mission::DeviceDataForm(*desk.window, desk.record, {},
                                             [] { return std::make_unique<orvan::test::NoPauses>(); });
    desk.window->showChild(form);
    return form;
}

// Until the command ends, or the window with it.
bool waitCommand(const QPointer<mission::DeviceDataForm>& form)
{
    bool done = false;
    QObject::connect(form, &mission::DeviceDataForm::commandFinished, [&] { done = true; });
    return waitFor([&] { return done || !form; }, 30000);
}

// A window whose port vanished closes once the message box is closed and gives the connect
// command back; the logger then comes back on a new pseudo-terminal.
template <class Form>
void expectClosedThenPlugBackIn(Desk& desk, const QPointer<Form>& form, Unplugger& plug)
{
    EXPECT_TRUE(plug.pulled());
    ASSERT_TRUE(waitFor([&] { return form.isNull(); }, 10000)) << "the window stayed on a vanished port";
    EXPECT_TRUE(desk.window->toolbar1Button(2)->isEnabled()) << "Connect is given back";
    EXPECT_GT(desk.messages.boxesShown, 0);
    desk.messages.holdMs = 0;
    ASSERT_TRUE(plug.plugBackIn());
}

// The emulated logger at the line's pace and the main window on its folder; where the fault
// vanishes the port, each message waits in a real box.
struct Bench {
    Bench(ScenarioKind kind, bool unplugged) : emu(kind)
    {
        emu.server().setPaced(true);
        desk.emplace(emu.appFolder());
        desk->messages.holdMs = unplugged ? 1100 : 0;   // longer than a poll: the window ticks inside every box
    }
    EmulatorFixture emu;
    std::optional<Desk> desk;
    Unplugger plug{emu};
};

} // namespace

// The store's download at the line's pace, with the pseudo-terminal vanishing after 6 blocks or
// the logger falling silent after 5: no save dialog, no file, the record on screen and the
// logger as they were; then the same store works.
class StoreUnder : public ::testing::TestWithParam<bool> {};

TEST_P(StoreUnder, DeviceWindowDownload)
{
    const bool unplugged = GetParam();
    Bench b(ScenarioKind::Finished, unplugged);
    ASSERT_TRUE(b.emu.ok());
    Desk& desk = *b.desk;
    // The record on screen, and an earlier record file of the name the user would pick.
    desk.record.setByte(300, 0x5A);
    desk.record.Archivo = QStringLiteral("/ruta/anterior.klv");
    const QByteArray onScreen = desk.record.fileImage();
    ASSERT_TRUE(QDir().mkpath(desk.dataFolder()));
    const QString target = QDir(desk.dataFolder()).filePath(QStringLiteral("EXPO_1.klv"));
    const QByteArray earlier("an earlier record of this name");
    ASSERT_TRUE(writeFile(target, earlier));
    const QStringList folderBefore = everyName(desk.dataFolder());

    QPointer<mission::DeviceDataForm> form = openDeviceWindow(desk);
    int dialogs = 0;
    // The save dialog: the user keeps the name of the earlier record and replaces it.
    const auto saveDialog = [&](records::MissionRecord& r) {
        ++dialogs;
        r.Archivo = target;
        r.GuardadoEnDisco = records::GuardaArchivo(r, target).ok;
    };
    form->GrabArch = saveDialog;
    ASSERT_TRUE(waitFor([&] { return form && form->cmdAlmacena->isEnabled(); }, 20000));

    b.emu.logger().clearFrameLog();
    const int shown = int(desk.messages.messages.size());
    form->cmdAlmacena->click();
    if (unplugged)
        b.plug.arm(0x33, 6);
    ASSERT_TRUE(waitFor([&] { return form && form->commandRunning(); }));
    if (!unplugged)
        b.emu.logger().setFault(Fault::SilentAfter, 5);
    ASSERT_TRUE(waitCommand(form));

    EXPECT_EQ(dialogs, 0) << "the save dialog came after a failed download";
    EXPECT_TRUE(desk.messages.messages.contains(mission::disconnectionMessage())) << desk.seenSince(shown).toStdString();
    EXPECT_EQ(std::make_pair(desk.record.fileImage(), desk.record.Archivo), std::make_pair(onScreen, QStringLiteral("/ruta/anterior.klv")));
    EXPECT_EQ(everyName(desk.dataFolder()), folderBefore);
    EXPECT_EQ(readAll(target), earlier);
    for (const auto& e : b.emu.logger().frameLog())
        EXPECT_NE(quint8(e.frame.at(0)), 0x22) << "the logger was marked as saved";

    if (unplugged) {
        expectClosedThenPlugBackIn(desk, form, b.plug);
        form = openDeviceWindow(desk);
        form->GrabArch = saveDialog;
    } else {
        // The window goes on polling, and shows the logger when it answers again.
        EXPECT_EQ(desk.messages.messages.mid(shown), QStringList{mission::disconnectionMessage()});
        EXPECT_FALSE(form->testAttribute(Qt::WA_SetCursor)) << "the pointer is back to normal";
        EXPECT_TRUE(form->isEnabled() && form->CmndCancel->isVisible());
        bool polled = false;
        const auto c = QObject::connect(form, &mission::DeviceDataForm::statusShown, [&] { polled = true; });
        EXPECT_TRUE(waitFor([&] { return polled; }, 10000)) << "the window stopped polling";
        QObject::disconnect(c);
        EXPECT_FALSE(form->estado().Comunicado);
        b.emu.logger().setFault(Fault::None);
    }

    const int before = int(desk.messages.messages.size());
    ASSERT_TRUE(waitFor([&] { return form && form->cmdAlmacena->isEnabled(); }, 20000));
    form->cmdAlmacena->click();
    ASSERT_TRUE(waitCommand(form));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(desk.messages.messages.size(), before) << desk.seenSince(before).toStdString();
    EXPECT_EQ(desk.record.campos.NumMuestras, 100);
    EXPECT_EQ(readAll(target), desk.record.fileImage());
}

namespace {

QPointer<mission::PrepForm> openPrepWindow(Desk& desk, EmulatorFixture& emu)
{
    desk.app.config.PuertoCom = qint16(emu.com());
    desk.app.flags.CerrarPrep = false;
    auto* form = new mission::PrepForm(*desk.window, {}, [] { return std::make_unique<orvan::test::NoPauses>(); });
    desk.window->showChild(form);
    form->chooseInterval(15);
    return form;
}

// Accept, served by a tick of the window's own: the programming's first exchange is its own
// read of the serial number, not a poll that happened to come first.
bool programOnce(mission::PrepForm* form, const std::function<void()>& beforeAccept)
{
    if (!waitFor([&] { return form && form->CmndAbrir->isEnabled() && form->estado().Comunicado; }, 20000))
        return false;
    form->Timer2.stop();
    if (!waitFor([&] { return !form->session().busy(); }))
        return false;
    beforeAccept();
    bool done = false;
    QObject::connect(form, &mission::PrepForm::programmed, [&] { done = true; });
    form->CmndAbrir->click();
    form->tick();
    form->Timer2.start();
    return waitFor([&] { return done || !form; }, 30000);
}

} // namespace

// Programming at the line's pace, with the pseudo-terminal vanishing after 3 writes: the window
// says the logger is not programmed and closes; opened again on the logger plugged in again, the
// same programming works and reads back as written. A silent logger is FaultMatrix's.
TEST(WindowFaults, PreparationWindowLosesThePortWhileProgramming)
{
    Bench b(ScenarioKind::Empty, true);
    ASSERT_TRUE(b.emu.ok());
    Desk& desk = *b.desk;
    QPointer<mission::PrepForm> form = openPrepWindow(desk, b.emu);
    ASSERT_TRUE(programOnce(form, [&] { b.plug.arm(0x22, 3); }));
    const QString notProgrammed = mission::prepText(mission::PrepSentence::NotProgrammed, desk.app.config.Idioma);
    EXPECT_TRUE(desk.messages.messages.contains(notProgrammed)) << desk.seenSince(0).toStdString();
    if (form) {
        ASSERT_TRUE(form->result());
        EXPECT_FALSE(form->result()->verified());
        EXPECT_FALSE(form->ProgressBar1->isVisible());
    }
    expectClosedThenPlugBackIn(desk, form, b.plug);

    form = openPrepWindow(desk, b.emu);
    const int shown = int(desk.messages.messages.size());
    ASSERT_TRUE(programOnce(form, [] {}));
    ASSERT_TRUE(form && form->result());
    EXPECT_TRUE(form->result()->verified());
    EXPECT_EQ(desk.messages.messages.size(), shown) << desk.seenSince(shown).toStdString();
    EXPECT_EQ(b.emu.logger().phase(), emulator::Logger::Phase::WaitingButton);
}

INSTANTIATE_TEST_SUITE_P(WindowFaults, StoreUnder, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "LosesThePort" : "LoggerFallsSilent"; });
