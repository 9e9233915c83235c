// The logger misbehaving, end to end on the emulator's pseudo-terminal and the real serial stack,
// during orvanlog-cli's download and preparation and during the erase's wait: the user gets the
// logger's own data or a clear failure, never a record file half written or a success not read
// back; once the fault is gone the same thing works. A poll under faults is the windows' tests'.

#include "link/LoggerStatus.h"
#include "mission/DeviceCommands.h"
#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "support/DeviceLink.h"
#include "support/Files.h"
#include "support/RunCli.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using namespace orvan;
using namespace orvan::link;
using orvan::emulator::EmulatorFixture;
using orvan::emulator::Fault;
using orvan::emulator::ScenarioKind;
using orvan::test::CliRun;
using orvan::test::readAll;
using orvan::test::runCli;

namespace {

using Apply = std::function<void(EmulatorFixture&)>;
Apply fault(Fault f, int after = 0)
{
    return [=](EmulatorFixture& e) { e.logger().setFault(f, after); };
}

// A refused command: exit 1, nothing on stdout, its last line the tool's one-line failure.
void expectFailure(const CliRun& run)
{
    EXPECT_EQ(run.code, 1) << run.err.constData();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.constData();
    EXPECT_TRUE(run.err.trimmed().split('\n').last().startsWith("orvanlog-cli: ")) << run.err.constData();
}

QStringList prepareArgs(const QString& device)
{
    return QStringLiteral("prepare|--port|%1|--interval|15|--lo|2|--hi|8|--start|button|--exporter|NORTE|--carrier|RUTA 5")
        .arg(device)
        .split(QLatin1Char('|'));
}

} // namespace

// The erase trigger sent, then the logger lost while it clears its memory: not reported as done;
// the next erase, of a logger that holds a mission again, works. The wait's steps pass in 10 ms.
TEST(FaultMatrix, EraseInterruptedDuringItsWait)
{
    for (const bool unplugged : {true, false}) {
        SCOPED_TRACE(unplugged ? "pseudo-terminal gone during the wait" : "silent during the wait");
        EmulatorFixture emu(ScenarioKind::Finished);
        ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
        emu.server().setPaced(true);
        const QByteArray mission = emu.logger().memory();

        std::optional<test::DeviceLink> to(std::in_place, emu.devicePath(), LinkProfile::frmsave());
        EstadoKLV e;
        ASSERT_TRUE(ActualizaEstado(to->link, e, Unit::Celsius));
        int steps = 0;
        const mission::EraseResult r = mission::BorraMemoria(
            to->link,
            [&](int value, int) {
                ++steps;
                if (value != mission::eraseStepValue(3))
                    return;
                if (unplugged)
                    emu.server().stop();
                else
                    emu.logger().setFault(Fault::Silent);
            },
            10);
        EXPECT_EQ(r, mission::EraseResult::NoAnswer);
        if (unplugged) {
            EXPECT_LT(steps, 1 + mission::kEraseSteps) << "a pulled cable ends the wait when it happens";
            ASSERT_EQ(to->sink.messages.size(), 1);
            EXPECT_TRUE(to->sink.messages.first().startsWith(QStringLiteral("Error"))) << to->sink.messages.first().toStdString();
        } else {
            EXPECT_EQ(steps, 1 + mission::kEraseSteps) << "a silent logger is asked at the end of the wait";
            EXPECT_TRUE(to->sink.messages.isEmpty());
        }

        to.reset();
        ASSERT_TRUE(!unplugged || emu.server().start());
        emu.logger().setFault(Fault::None);
        emu.logger().loadImage(mission);
        to.emplace(emu.devicePath(), LinkProfile::frmsave());
        ASSERT_TRUE(ActualizaEstado(to->link, e, Unit::Celsius));
        EXPECT_FALSE(e.SinDatos);
        EXPECT_EQ(mission::BorraMemoria(to->link, {}, 10), mission::EraseResult::Ok);
        ASSERT_TRUE(ActualizaEstado(to->link, e, Unit::Celsius));
        EXPECT_TRUE(e.SinDatos);
        EXPECT_TRUE(to->sink.messages.isEmpty()) << to->sink.messages.join(QLatin1Char('|')).toStdString();
    }
}

// The command line's download and preparation (with its read-back): a failed download leaves the
// earlier record file of that name as it was and nothing beside it, a preparation succeeds only
// when it reads back.
TEST(FaultMatrix, DownloadPreparationAndEraseUnderLoggerFaults)
{
    // Either: chance decides, and whichever happens must be whole. recover: the fault may leave
    // the logger or its port changed, so the same download and preparation run again once it is gone.
    enum class Outcome { Fails, Works, Either };
    struct Case {
        const char* fault;
        Apply apply;
        Outcome outcome;
        bool recover;
    };
    const Case cases[] = {
        {"silent", fault(Fault::Silent), Outcome::Fails, false},
        {"40-byte replies", fault(Fault::LongReply), Outcome::Fails, false},
        {"pseudo-terminal gone", [](EmulatorFixture& e) { e.server().stop(); }, Outcome::Fails, true},
        // The status read (blocks 8, 0, 8, 2) and the serial number's read pass; the download
        // itself, the preparation's writes and its verification are lost.
        {"silent after the first reads", fault(Fault::SilentAfter, 5), Outcome::Fails, true},
        {"reply in 34 pieces, 2 ms apart", [](EmulatorFixture& e) { e.server().setPaceUs(2000); }, Outcome::Works, false},
        {"random bytes between replies, 9600 baud",
         [](EmulatorFixture& e) {
             e.logger().setFault(Fault::Noise);
             e.server().setPaced(true);
         },
         Outcome::Either, true},
    };
    const QByteArray earlier("an earlier record of this name");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("EXPO_1.klv"));
        ASSERT_TRUE(test::writeFile(out, earlier));
        EmulatorFixture emu(ScenarioKind::Finished), prepEmu(ScenarioKind::Empty);
        ASSERT_TRUE(emu.ok() && prepEmu.ok()) << emu.errorString().toStdString();
        const QString device = emu.devicePath(), prepDevice = prepEmu.devicePath();
        c.apply(emu);
        c.apply(prepEmu);

        const CliRun download = runCli({QStringLiteral("download"), out, QStringLiteral("--port"), device});
        if (c.outcome == Outcome::Fails || (c.outcome == Outcome::Either && download.code != 0)) {
            expectFailure(download);
            EXPECT_EQ(readAll(out), earlier);
        } else {
            EXPECT_EQ(download.code, 0) << download.err.constData();
            records::MissionRecord r;
            ASSERT_TRUE(records::LeerArchivo(r, out).ok);
            r.LeeAuditoria();
            EXPECT_EQ(r.campos.NumMuestras, 100);
            EXPECT_EQ(readAll(out).size(), records::kImageSize);
            EXPECT_EQ(readAll(out).mid(records::kSampleBase, 100), emu.logger().memory().mid(records::kSampleBase, 100));
        }
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("EXPO_1.klv")});

        const CliRun prepare = runCli(prepareArgs(prepDevice));
        if (c.outcome == Outcome::Fails || (c.outcome == Outcome::Either && prepare.code != 0)) {
            expectFailure(prepare);
        } else {
            EXPECT_EQ(prepare.code, 0) << prepare.err.constData();
        }

        if (!c.recover)
            continue;
        // On a new pseudo-terminal: a quiet line, as a user's next command would find.
        for (EmulatorFixture* e : {&emu, &prepEmu}) {
            e->logger().setFault(Fault::None);
            e->server().setPaceUs(0);
            e->server().stop();
            ASSERT_TRUE(e->server().start());
        }
        const CliRun again = runCli({QStringLiteral("download"), out, QStringLiteral("--port"), emu.devicePath()});
        EXPECT_EQ(again.code, 0) << again.err.constData();
        EXPECT_EQ(readAll(out).size(), records::kImageSize);
        const CliRun prepAgain = runCli(prepareArgs(prepEmu.devicePath()));
        EXPECT_EQ(prepAgain.code, 0) << prepAgain.err.constData();
    }
}
