// The logger misbehaving during a download, a preparation (with its verification) and an erase,
// end to end through orvanlog-cli on the emulator's pseudo-terminal. A failed download leaves
// the earlier record file of that name as it was and nothing beside it; a preparation reports
// success only when the logger reads back as written; an erase is not started on a logger that
// does not answer, and one that loses its logger while it waits is not reported as done. Once
// the fault is gone the same command works.

#include "link/Link.h"
#include "link/LoggerStatus.h"
#include "link/QtSerialPort.h"
#include "mission/DeviceCommands.h"
#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "support/DeviceLink.h"
#include "support/Files.h"
#include "support/RunCli.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <functional>
#include <optional>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

using namespace orvan;
using orvan::emulator::EmulatorFixture;
using orvan::emulator::Fault;
using orvan::emulator::ScenarioKind;
using orvan::test::CliRun;
using orvan::test::readAll;
using orvan::test::runCli;

namespace {

QStringList prepareArgs(const QString& device)
{
    return {QStringLiteral("prepare"), QStringLiteral("--port"), device, QStringLiteral("--interval"), QStringLiteral("15"),
            QStringLiteral("--lo"), QStringLiteral("2"), QStringLiteral("--hi"), QStringLiteral("8"),
            QStringLiteral("--start"), QStringLiteral("button"), QStringLiteral("--exporter"), QStringLiteral("NORTE"),
            QStringLiteral("--carrier"), QStringLiteral("RUTA 5")};
}

QString lastLine(const QByteArray& err)
{
    const QList<QByteArray> lines = err.trimmed().split('\n');
    return QString::fromUtf8(lines.isEmpty() ? QByteArray() : lines.last());
}

// A refused command: exit 1, nothing on stdout, its last line the tool's one-line failure.
void expectFailure(const CliRun& run)
{
    EXPECT_EQ(run.code, 1) << run.err.constData();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.constData();
    EXPECT_TRUE(lastLine(run.err).startsWith(QStringLiteral("orvanlog-cli: "))) << run.err.constData();
}

// The device-data window's link to a logger, on its own port: what the erase and the status
// read run on, as the window's session and orvanlog-cli make it.
struct LinkTo : test::DeviceLink {
    explicit LinkTo(const QString& device) : DeviceLink(device, link::LinkProfile::frmsave()) {}
    // What the user is told about an erase: the port error the link reported, when there was
    // one, is what went wrong.
    QString told(mission::EraseResult r) const
    {
        return sink.messages.isEmpty() ? mission::eraseMessage(r) : sink.messages.first();
    }
};

} // namespace

// The erase trigger sent, then the logger lost while it clears its memory: the check after the
// wait finds no logger, so the erase is not reported as done; the next erase, of a logger that
// holds a mission again, works. The wait is 17 steps of 100 ms instead of 2 s.
TEST(FaultMatrix, EraseInterruptedDuringItsWait)
{
    constexpr int kStepMs = 100;
    struct Case {
        const char* fault;
        bool unplugged;   // the pseudo-terminal goes; otherwise the logger falls silent
    };
    for (const Case& c : {Case{"pseudo-terminal gone during the wait", true}, Case{"silent during the wait", false}}) {
        SCOPED_TRACE(c.fault);
        EmulatorFixture emu(ScenarioKind::Finished);
        ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
        emu.server().setPaced(true);
        const QByteArray mission = emu.logger().memory();

        std::optional<LinkTo> to(std::in_place, emu.devicePath());
        link::EstadoKLV e;
        ASSERT_TRUE(link::ActualizaEstado(to->link, e, Unit::Celsius));
        QList<int> steps;
        const mission::EraseResult r = mission::BorraMemoria(
            to->link,
            [&](int value, int) {
                steps << value;
                // Three steps into the wait, 1.4 s before its end.
                if (value == mission::eraseStepValue(3)) {
                    if (c.unplugged)
                        emu.server().stop();
                    else
                        emu.logger().setFault(Fault::Silent);
                }
            },
            kStepMs);
        if (c.unplugged)
            EXPECT_LT(steps.size(), 1 + mission::kEraseSteps) << "a pulled cable ends the wait when it happens";
        else
            EXPECT_EQ(steps.size(), 1 + mission::kEraseSteps) << "a silent logger is asked at the end of the wait";
        EXPECT_EQ(r, mission::EraseResult::NoAnswer);
        const QString told = to->told(r);
        EXPECT_NE(told, mission::eraseMessage(mission::EraseResult::Ok));
        EXPECT_TRUE(told.startsWith(QStringLiteral("Error"))) << told.toStdString();
        if (c.unplugged) {
            EXPECT_EQ(to->sink.messages.size(), 1) << to->sink.messages.join(QLatin1Char('|')).toStdString();
        }

        // The fault goes; the logger holds a mission again and is erased on the next try.
        to.reset();
        if (c.unplugged) {
            ASSERT_TRUE(emu.server().start());
        }
        emu.logger().setFault(Fault::None);
        emu.logger().loadImage(mission);
        to.emplace(emu.devicePath());
        ASSERT_TRUE(link::ActualizaEstado(to->link, e, Unit::Celsius));
        EXPECT_FALSE(e.SinDatos);
        EXPECT_EQ(mission::BorraMemoria(to->link, {}, kStepMs), mission::EraseResult::Ok);
        ASSERT_TRUE(link::ActualizaEstado(to->link, e, Unit::Celsius));
        EXPECT_TRUE(e.SinDatos);
        EXPECT_TRUE(to->sink.messages.isEmpty()) << to->sink.messages.join(QLatin1Char('|')).toStdString();
    }
}

TEST(FaultMatrix, DownloadPreparationAndEraseUnderLoggerFaults)
{
    // Fails: the fault keeps every operation from succeeding; Works: the link rides it out;
    // Either: chance decides, and whichever happens must be whole.
    enum class Outcome { Fails, Works, Either };
    constexpr Outcome Fails = Outcome::Fails, Works = Outcome::Works, Either = Outcome::Either;
    // recover: the fault may leave the logger or its port changed (a partial write, a new
    // pseudo-terminal), so the same download and preparation run again once it is gone; a fault
    // that fails the first status read leaves nothing to recover from.
    struct Case {
        const char* fault;
        std::function<void(EmulatorFixture&)> apply;
        Outcome outcome;
        bool recover = false;
    };
    const Case cases[] = {
        {"silent", [](EmulatorFixture& e) { e.logger().setFault(Fault::Silent); }, Fails},
        {"33-byte replies", [](EmulatorFixture& e) { e.logger().setFault(Fault::ShortReply); }, Fails},
        {"40-byte replies", [](EmulatorFixture& e) { e.logger().setFault(Fault::LongReply); }, Fails},
        {"reply ends just outside 300 ms", [](EmulatorFixture& e) { e.server().setPaceUs(10000); }, Fails},
        {"pseudo-terminal gone", [](EmulatorFixture& e) { e.server().stop(); }, Fails, true},
        // The first reads pass (the download's status read, the preparation's serial number read);
        // the fault hits the download itself, the preparation's writes and its verification.
        {"silent after the first reads", [](EmulatorFixture& e) { e.logger().setFault(Fault::SilentAfter, 5); }, Fails,
         true},
        {"reply ends just inside 300 ms", [](EmulatorFixture& e) { e.server().setPaceUs(6500); }, Works},
        {"reply in 34 pieces, 2 ms apart", [](EmulatorFixture& e) { e.server().setPaceUs(2000); }, Works},
        {"random bytes between replies, 9600 baud",
         [](EmulatorFixture& e) {
             e.logger().setFault(Fault::Noise);
             e.server().setPaced(true);
         },
         Either, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("EXPO_1.klv"));
        const QByteArray earlier("an earlier record of this name");

        // Download.
        {
            QFile f(out);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(earlier) == earlier.size());
        }
        EmulatorFixture emu(ScenarioKind::Finished);
        ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
        const QString device = emu.devicePath();
        c.apply(emu);
        const CliRun download = runCli({QStringLiteral("download"), out, QStringLiteral("--port"), device});
        if (c.outcome == Fails || (c.outcome == Either && download.code != 0)) {
            expectFailure(download);
            EXPECT_EQ(readAll(out), earlier);
        } else {
            EXPECT_EQ(download.code, 0) << download.err.constData();
            records::MissionRecord r;
            ASSERT_TRUE(records::LeerArchivo(r, out).ok);
            r.LeeAuditoria();
            EXPECT_EQ(r.campos.NumMuestras, 100);
            EXPECT_EQ(readAll(out).size(), records::kImageSize);
            EXPECT_EQ(readAll(out).mid(records::kSampleBase, 100), emu.logger().memory().mid(records::kSampleBase, 100))
                << "a record written as whole holds the logger's samples";
        }
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("EXPO_1.klv")});

        // Preparation and its verification: a fresh logger each time, empty, as a logger must be to
        // be prepared.
        EmulatorFixture prepEmu(ScenarioKind::Empty);
        ASSERT_TRUE(prepEmu.ok());
        // Silent after the status read (blocks 8, 0, 8, 2) and the serial number's read: the writes are lost.
        if (QLatin1String(c.fault) == QLatin1String("silent after the first reads"))
            prepEmu.logger().setFault(Fault::SilentAfter, 5);
        else
            c.apply(prepEmu);
        const CliRun prepare = runCli(prepareArgs(prepEmu.devicePath()));
        if (c.outcome == Fails || (c.outcome == Either && prepare.code != 0)) {
            expectFailure(prepare);
        } else {
            EXPECT_EQ(prepare.code, 0) << prepare.err.constData();
        }

        // Erase, where the logger does not answer to its status read: never started.
        if (c.outcome == Fails && QLatin1String(c.fault) != QLatin1String("silent after the first reads")) {
            EmulatorFixture eraseEmu(ScenarioKind::Finished);
            ASSERT_TRUE(eraseEmu.ok());
            c.apply(eraseEmu);
            const QByteArray mem = eraseEmu.logger().memory();
            const CliRun erase = runCli({QStringLiteral("erase"), QStringLiteral("--yes"), QStringLiteral("--port"), eraseEmu.devicePath()});
            expectFailure(erase);
            EXPECT_EQ(eraseEmu.logger().memory(), mem) << "an erase was started on a logger that did not answer";
        }

        // The fault goes: the same download and preparation work.
        if (!c.recover)
            continue;
        if (QLatin1String(c.fault) == QLatin1String("pseudo-terminal gone")) {
            ASSERT_TRUE(emu.server().start());
            ASSERT_TRUE(prepEmu.server().start());
        }
        for (EmulatorFixture* e : {&emu, &prepEmu}) {
            e->logger().setFault(Fault::None);
            e->server().setPaceUs(0);
        }
        const CliRun again = runCli({QStringLiteral("download"), out, QStringLiteral("--port"), emu.devicePath()});
        EXPECT_EQ(again.code, 0) << again.err.constData();
        EXPECT_EQ(readAll(out).size(), records::kImageSize);
        const CliRun prepAgain = runCli(prepareArgs(prepEmu.devicePath()));
        EXPECT_EQ(prepAgain.code, 0) << prepAgain.err.constData();
    }
}
