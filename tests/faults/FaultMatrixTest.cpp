// Faults end to end: one clear failure, no success, every earlier file as it was, nothing half
// written, and once the fault is gone the same thing works. The logger misbehaving on the emulator's
// pseudo-terminal during orvanlog-cli's download, preparation and the erase's wait; the file system
// refusing, as the user nobody (root may write anywhere).

#include "base/Settings.h"
#include "link/LoggerStatus.h"
#include "mission/DeviceCommands.h"
#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "support/AsNobody.h"
#include "support/DeviceLink.h"
#include "support/DiskFaults.h"
#include "support/Files.h"
#include "support/RunCli.h"
#include "support/SpecialFiles.h"
#include "tools/emulator/EmulatorFixture.h"
#include "tools/generator/RecordGenerator.h"
#include "views/CsvExport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>

using namespace orvan;
using namespace orvan::link;
using namespace orvan::records;
using orvan::emulator::EmulatorFixture;
using orvan::emulator::Fault;
using orvan::emulator::ScenarioKind;
using orvan::test::asNobody;
using orvan::test::CliRun;
using orvan::test::everyName;
using orvan::test::kNobody;
using orvan::test::readAll;
using orvan::test::root;
using orvan::test::runCli;
using orvan::test::setMode;
using orvan::test::writeFile;

namespace {

using Apply = std::function<void(EmulatorFixture&)>;
Apply fault(Fault f, int after = 0)
{
    return [=](EmulatorFixture& e) { e.logger().setFault(f, after); };
}

// Exit 1, nothing on stdout, the tool's failure its last line (with oneLine, its only one).
void expectFailure(const CliRun& run, bool oneLine = false)
{
    EXPECT_EQ(run.code, 1) << run.err.constData();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.constData();
    EXPECT_TRUE(run.err.trimmed().split('\n').last().startsWith("orvanlog-cli: ")) << run.err.constData();
    EXPECT_TRUE(!oneLine || run.err.count('\n') == 1) << run.err.constData();
}

QStringList prepareArgs(const QString& device)
{
    return QStringLiteral("prepare|--port|%1|--interval|15|--lo|2|--hi|8|--start|button|--exporter|NORTE|--carrier|RUTA 5")
        .arg(device)
        .split(QLatin1Char('|'));
}

MissionRecord finishedRecord()
{
    MissionRecord r;
    r.setBytes(0, generator::generateImage({}));
    r.LeeAuditoria();
    return r;
}

CliRun cliAsNobody(const QStringList& args)
{
    return orvan::test::runCliAt(QStringLiteral(ORVAN_CLI_PATH), args, [] {
        if (root() && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(99);
    });
}

} // namespace


// The erase trigger sent, then the logger lost while it clears its memory: not reported as done.
// The wait's steps pass in 10 ms; a sound erase is the device-data window's and the command line's.
TEST(FaultMatrix, EraseInterruptedDuringItsWait)
{
    for (const bool unplugged : {true, false}) {
        SCOPED_TRACE(unplugged ? "pseudo-terminal gone during the wait" : "silent during the wait");
        EmulatorFixture emu(ScenarioKind::Finished);
        ASSERT_TRUE(emu.ok()) << emu.errorString().toStdString();
        emu.server().setPaced(true);
        test::DeviceLink to(emu.devicePath(), LinkProfile::frmsave());
        EstadoKLV e;
        ASSERT_TRUE(ActualizaEstado(to.link, e, Unit::Celsius));
        int steps = 0;
        const mission::EraseResult r = mission::BorraMemoria(
            to.link,
            [&](int value, int) {
                ++steps;
                if (value == mission::eraseStepValue(3) && unplugged)
                    emu.server().stop();
                else if (value == mission::eraseStepValue(3))
                    emu.logger().setFault(Fault::Silent);
            },
            10);
        EXPECT_EQ(r, mission::EraseResult::NoAnswer);
        if (unplugged) {
            EXPECT_LT(steps, 1 + mission::kEraseSteps) << "a pulled cable ends the wait when it happens";
            ASSERT_EQ(to.sink.messages.size(), 1);
            EXPECT_TRUE(to.sink.messages.first().startsWith(QStringLiteral("Error"))) << to.sink.messages.first().toStdString();
        } else {
            EXPECT_EQ(steps, 1 + mission::kEraseSteps) << "a silent logger is asked at the end of the wait";
            EXPECT_TRUE(to.sink.messages.isEmpty());
        }
    }
}

// A failed download leaves the earlier record file of that name as it was and nothing beside it; a
// preparation succeeds only when the logger reads back as written.
TEST(FaultMatrix, DownloadAndPreparationUnderLoggerFaults)
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
        ASSERT_TRUE(writeFile(out, earlier));
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
            EXPECT_EQ(readAll(out).size(), kImageSize);
            EXPECT_EQ(readAll(out).mid(kSampleBase, 100), emu.logger().memory().mid(kSampleBase, 100));
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
        EXPECT_EQ(runCli({QStringLiteral("download"), out, QStringLiteral("--port"), emu.devicePath()}).code, 0);
        EXPECT_EQ(readAll(out).size(), kImageSize);
        EXPECT_EQ(runCli(prepareArgs(prepEmu.devicePath())).code, 0);
    }
}

TEST(FaultMatrix, FullDiskAndReadOnlyRecordFolder)
{
    QTemporaryDir dir;
    setMode(dir.path(), 0755);
    const QString folder = dir.filePath(QStringLiteral("Datos"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString earlier = folder + QStringLiteral("/EXPO_1.klv");
    const MissionRecord record = finishedRecord();
    ASSERT_TRUE(GuardaArchivo(record, earlier).ok);
    for (const orvan::test::DiskFault& f : orvan::test::kDiskFaults)   // a disk that fills, before the folder turns read-only
        EXPECT_FALSE(GuardaArchivo(record, earlier, f.write).ok) << f.what;
    setMode(folder, 0555);

    for (const char* name : {"EXPO_1.klv", "EXPO_2.klv"}) {
        SCOPED_TRACE(name);
        const QString path = folder + QLatin1Char('/') + QLatin1String(name);
        EXPECT_EQ(asNobody([&] { return GuardaArchivo(record, path).message; }),
                  QStringLiteral("Error 70 (Permission denied) in procedure GuardaArchivo of Módulo Rutat1"));
    }
    expectFailure(cliAsNobody({QStringLiteral("generate"), QStringLiteral("finished"), folder + QStringLiteral("/EXPO_3.klv")}), true);
    expectFailure(cliAsNobody({QStringLiteral("csv"), earlier}), true);

    EXPECT_EQ(readAll(earlier), record.fileImage());
    EXPECT_EQ(everyName(folder), QStringList{QStringLiteral("EXPO_1.klv")});

    setMode(folder, 0777);
    EXPECT_EQ(asNobody([&] { return GuardaArchivo(record, folder + QStringLiteral("/EXPO_2.klv")).message; }), QString());
    EXPECT_EQ(readAll(folder + QStringLiteral("/EXPO_2.klv")), record.fileImage());
}

TEST(FaultMatrix, ChosenNameIsAFifoFolderOrDevice)
{
    // Every save's final rename would put an ordinary file in place of the node: each is refused.
    const MissionRecord record = finishedRecord();
    for (const orvan::test::NodeRow& node : orvan::test::kNodes) {
        SCOPED_TRACE(node.name);
        QTemporaryDir dir;
        const QString taken = dir.filePath(QStringLiteral("Ruta.CnF"));
        if (!orvan::test::makeNode(node.kind, taken)) {
            std::cout << "[ skipped  ] cannot make a " << node.name << " here\n";
            continue;
        }
        const quint64 before = orvan::test::nodeIdentity(taken);

        const FileResult save = GuardaArchivo(record, taken);
        EXPECT_EQ(save.message, QStringLiteral("Error 75 (Path/File access error) in procedure GuardaArchivo of Módulo Rutat1"));
        EXPECT_EQ(failureLine(save, taken, 1), taken + QStringLiteral(" exists and is not a regular file; it is left as it is"));
        EXPECT_FALSE(views::writeCsv(taken, "\"Serie KLV-100\"\r\n", {}).ok);
        EXPECT_EQ(writeAtomically(taken, "x", {}, true).failed, AtomicWrite::Stage::Refused);
        RegConfig cfg;
        cfg.applyDefaults(dir.path());
        EXPECT_FALSE(SettingsFile(dir.path()).write(cfg).ok);

        EXPECT_EQ(orvan::test::nodeIdentity(taken), before);
        EXPECT_EQ(everyName(dir.path()), QStringList{QStringLiteral("Ruta.CnF")});
    }
}

TEST(FaultMatrix, ReadOnlySettingsFile)
{
    QTemporaryDir dir;
    setMode(dir.path(), 0555);
    const SettingsFile file(dir.path());
    RegConfig old;
    old.applyDefaults(dir.path());
    old.VersionCfg = RegConfig::VersionAntigua;
    old.LimSupDef = 30;
    old.Idioma = 2;
    ASSERT_TRUE(writeFile(file.path(), old.toBytes()));
    setMode(file.path(), 0444);
    const QByteArray before = readAll(file.path());

    // The start-up brings the record up to date in memory and cannot write it back, nor can a save.
    const auto seen = asNobody([&] {
        RegConfig cfg;
        const SettingsFile::Result start = file.loadAtStartup(cfg);
        if (start.ok || cfg.VersionCfg != RegConfig::VersionActual || cfg.LimSupDef != 8 || cfg.Idioma != 2)
            return QStringLiteral("<start-up: settings in memory not usable or success reported>");
        cfg.Idioma = 1;
        const SettingsFile::Result save = file.write(cfg);
        return save.ok ? QStringLiteral("<save: success reported>") : start.error + QLatin1Char('|') + save.error;
    });
    ASSERT_TRUE(seen.has_value());
    const QStringList errors = seen->split(QLatin1Char('|'));
    ASSERT_EQ(errors.size(), 2) << seen->toStdString();
    for (const QString& e : errors)
        EXPECT_TRUE(e.startsWith(QStringLiteral("No se puede escribir "))) << e.toStdString();
    EXPECT_EQ(readAll(file.path()), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Ruta.CnF")});

    // Writable again: the next start-up writes the record up to date.
    setMode(file.path(), 0644);
    setMode(dir.path(), 0755);
    RegConfig cfg;
    EXPECT_TRUE(file.loadAtStartup(cfg).ok);
    RegConfig back;
    ASSERT_TRUE(file.read(back).ok);
    EXPECT_EQ(back.VersionCfg, RegConfig::VersionActual);
    EXPECT_EQ(back.LimSupDef, 8);
}
