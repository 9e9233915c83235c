// The file system refusing, end to end: a read-only record folder, a name that is a folder, a
// disk that fills during a save or a CSV export, a read-only settings file. For each the user
// gets one clear message, no success is reported, every earlier file stays as it was, nothing
// half-written is left, and the next attempt without the fault works. Tests run as root, who
// may write anywhere, so the refused cases run as the user nobody.

#include "base/Settings.h"
#include "base/TextTable.h"
#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "support/AsNobody.h"
#include "support/DiskFaults.h"
#include "support/Files.h"
#include "support/RunCli.h"
#include "support/SpecialFiles.h"
#include "tools/generator/RecordGenerator.h"
#include "views/CsvExport.h"
#include "views/SampleList.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>

using namespace orvan;
using namespace orvan::records;
using orvan::test::CliRun;
using orvan::test::DiskFault;
using orvan::test::kDiskFaults;
using orvan::test::everyName;
using orvan::test::asNobody;
using orvan::test::kNobody;
using orvan::test::readAll;
using orvan::test::root;
using orvan::test::setMode;
using orvan::test::writeFile;

namespace {

CliRun cliAsNobody(const QStringList& args)
{
    QProcess p;
    if (root()) {
        p.setChildProcessModifier([] {
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(99);
        });
    }
    p.start(QStringLiteral(ORVAN_CLI_PATH), args);
    CliRun r;
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
        r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

MissionRecord finishedRecord()
{
    MissionRecord r;
    r.setBytes(0, generator::generateImage({}));
    r.LeeAuditoria();
    return r;
}

// One refused command-line run: one line on stderr, nothing on stdout, exit 1.
void expectOneLineFailure(const CliRun& run)
{
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.constData();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
    EXPECT_TRUE(run.err.startsWith("orvanlog-cli: ")) << run.err.constData();
}

void report(const char* fault, const char* operation, const QString& seen, const char* disk)
{
    std::cout << "[ fault    ] " << fault << " x " << operation << ": " << seen.trimmed().toStdString() << " | disk: "
              << disk << std::endl;
}

} // namespace

TEST(FaultMatrix, ReadOnlyRecordFolder)
{
    QTemporaryDir dir;
    setMode(dir.path(), 0755);
    const QString folder = dir.filePath(QStringLiteral("Datos"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString earlier = folder + QStringLiteral("/EXPO_1.klv");
    const MissionRecord record = finishedRecord();
    ASSERT_TRUE(GuardaArchivo(record, earlier).ok);
    const QByteArray earlierBytes = readAll(earlier);
    setMode(folder, 0555);
    const QStringList before = QDir(folder).entryList(QDir::Files);

    // The save dialog's save, over the earlier record and under a new name.
    for (const char* name : {"EXPO_1.klv", "EXPO_2.klv"}) {
        SCOPED_TRACE(name);
        const QString path = folder + QLatin1Char('/') + QLatin1String(name);
        const auto seen = asNobody([&] { return GuardaArchivo(record, path).message; });
        ASSERT_TRUE(seen.has_value());
        EXPECT_EQ(*seen, QStringLiteral("Error 70 (Permission denied) in procedure GuardaArchivo of Módulo Rutat1"));
        report("read-only record folder", name, *seen, "earlier record unchanged, no new file");
    }
    // The command line's save and the CSV export next to the record.
    const CliRun generate = cliAsNobody({QStringLiteral("generate"), QStringLiteral("finished"), folder + QStringLiteral("/EXPO_3.klv")});
    expectOneLineFailure(generate);
    report("read-only record folder", "cli generate", QString::fromUtf8(generate.err), "no file");
    const CliRun csv = cliAsNobody({QStringLiteral("csv"), earlier});
    expectOneLineFailure(csv);
    report("read-only record folder", "cli csv", QString::fromUtf8(csv.err), "no file");

    EXPECT_EQ(readAll(earlier), earlierBytes);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System), before);

    // Writable again: the same save works.
    setMode(folder, 0777);
    const auto saved = asNobody([&] { return GuardaArchivo(record, folder + QStringLiteral("/EXPO_2.klv")).message; });
    ASSERT_TRUE(saved.has_value());
    EXPECT_TRUE(saved->isEmpty()) << saved->toStdString();
    EXPECT_EQ(readAll(folder + QStringLiteral("/EXPO_2.klv")), record.fileImage());
}

TEST(FaultMatrix, ChosenNameIsAFolder)
{
    QTemporaryDir dir;
    const QString taken = dir.filePath(QStringLiteral("EXPO_1.klv"));
    ASSERT_TRUE(QDir().mkpath(taken));
    ASSERT_TRUE(writeFile(taken + QStringLiteral("/inside.txt"), "kept"));
    const MissionRecord record = finishedRecord();

    const FileResult save = GuardaArchivo(record, taken);
    EXPECT_FALSE(save.ok);
    EXPECT_EQ(save.message, QStringLiteral("Error 75 (Path/File access error) in procedure GuardaArchivo of Módulo Rutat1"));
    report("name is an existing folder", "save", save.message, "folder and its content untouched");

    MissionRecord opened;
    const FileResult open = LeerArchivo(opened, taken);
    EXPECT_FALSE(open.ok);
    EXPECT_FALSE(open.message.isEmpty());
    report("name is an existing folder", "open", open.message, "untouched");

    const CliRun generate = orvan::test::runCli({QStringLiteral("generate"), QStringLiteral("finished"), taken});
    expectOneLineFailure(generate);
    report("name is an existing folder", "cli generate", QString::fromUtf8(generate.err), "untouched");
    const QString klv = dir.filePath(QStringLiteral("EXPO_2.klv"));
    ASSERT_TRUE(GuardaArchivo(record, klv).ok);
    const CliRun csv = orvan::test::runCli({QStringLiteral("csv"), klv, QStringLiteral("-o"), taken});
    expectOneLineFailure(csv);
    report("name is an existing folder", "cli csv -o", QString::fromUtf8(csv.err), "untouched");

    EXPECT_TRUE(QFileInfo(taken).isDir());
    EXPECT_EQ(QDir(taken).entryList(QDir::Files), QStringList{QStringLiteral("inside.txt")});
    EXPECT_EQ(readAll(taken + QStringLiteral("/inside.txt")), QByteArray("kept"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("EXPO_2.klv")});
}

TEST(FaultMatrix, ChosenNameIsAFifoFolderOrDevice)
{
    // Every save goes through the one atomic write: the record save (of the save dialog and of a
    // download), the CSV export and the settings. Its final rename would put an ordinary file in
    // place of the node; each must be refused and the node left as it was, with no file beside it.
    const MissionRecord record = finishedRecord();
    TextTable textos;
    textos.CargaTextos(0);
    const QByteArray csv = views::ExportaCsv(record, views::CargaMuestras(record, Unit::Celsius), textos, Unit::Celsius,
                                             QStringLiteral("r.klv"), QLocale::c());
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
        EXPECT_FALSE(views::writeCsv(taken, csv, {}).ok);
        EXPECT_EQ(writeAtomically(taken, "x", {}, true).failed, AtomicWrite::Stage::Refused);
        RegConfig cfg;
        cfg.applyDefaults(dir.path());
        EXPECT_FALSE(SettingsFile(dir.path()).write(cfg).ok);

        EXPECT_EQ(orvan::test::nodeIdentity(taken), before);
        EXPECT_EQ(everyName(dir.path()), QStringList{QStringLiteral("Ruta.CnF")});
        report("name is a FIFO, folder or device", "save, csv, settings", save.message, "node untouched");
    }
}

TEST(FaultMatrix, DiskFillsDuringASave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("EXPO_1.klv"));
    const QByteArray earlier("an earlier record of this name");
    ASSERT_TRUE(writeFile(path, earlier));
    const MissionRecord record = finishedRecord();

    for (const DiskFault& c : kDiskFaults) {
        SCOPED_TRACE(c.what);
        const FileResult r = GuardaArchivo(record, path, c.write);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.message.startsWith(QStringLiteral("Error ")) && r.message.endsWith(QStringLiteral("GuardaArchivo of Módulo Rutat1")))
            << r.message.toStdString();
        EXPECT_EQ(readAll(path), earlier);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("EXPO_1.klv")});
        report("disk fills during save", c.what, r.message, "earlier file unchanged, no temporary file left");
    }
    EXPECT_TRUE(GuardaArchivo(record, path).ok);
    EXPECT_EQ(readAll(path), record.fileImage());
}

TEST(FaultMatrix, DiskFillsDuringACsvExport)
{
    QTemporaryDir dir;
    const QString recordFile = dir.filePath(QStringLiteral("EXPO_1.klv"));
    const QString path = views::csvPath(recordFile);
    const QByteArray earlier("an earlier export of this record");
    ASSERT_TRUE(writeFile(path, earlier));
    const MissionRecord record = finishedRecord();
    TextTable textos;
    textos.CargaTextos(TextTable::Spanish);
    const QByteArray content = views::ExportaCsv(record, views::CargaMuestras(record, Unit::Celsius), textos,
                                                 Unit::Celsius, QStringLiteral("EXPO_1.klv"), QLocale::c());
    ASSERT_GT(content.size(), 4096);

    for (const DiskFault& c : kDiskFaults) {
        SCOPED_TRACE(c.what);
        const views::CsvResult r = views::writeCsv(path, content, recordFile, c.write);
        EXPECT_FALSE(r.ok);
        // The file's name and how far the write got.
        EXPECT_TRUE(r.error.startsWith(QDir::toNativeSeparators(path) + QStringLiteral(": the write stopped after ")))
            << r.error.toStdString();
        EXPECT_TRUE(r.error.endsWith(QStringLiteral(" of %1 bytes").arg(content.size()))) << r.error.toStdString();
        EXPECT_EQ(readAll(path), earlier);
        EXPECT_EQ(everyName(dir.path()), QStringList{QStringLiteral("EXPO_1.csv")});
        report("disk fills during CSV export", c.what, r.error, "earlier export unchanged, no temporary file left");
    }
    const views::CsvResult again = views::writeCsv(path, content, recordFile);
    EXPECT_TRUE(again.ok) << again.error.toStdString();
    EXPECT_EQ(readAll(path), content);
}

TEST(FaultMatrix, ReadOnlySettingsFile)
{
    QTemporaryDir dir;
    setMode(dir.path(), 0555);
    const SettingsFile file(dir.path());
    // A record of the older version: the start-up brings it up to date and wants to write it back.
    RegConfig old;
    old.applyDefaults(dir.path());
    old.VersionCfg = RegConfig::VersionAntigua;
    old.LimInfDef = -5;
    old.LimSupDef = 30;
    old.Idioma = 2;
    ASSERT_TRUE(writeFile(file.path(), old.toBytes()));
    setMode(file.path(), 0444);
    const QByteArray before = readAll(file.path());

    const auto startUp = asNobody([&] {
        RegConfig cfg;
        const SettingsFile::Result r = file.loadAtStartup(cfg);
        // The settings in memory are usable whatever the file said.
        if (r.ok || cfg.VersionCfg != RegConfig::VersionActual || cfg.LimSupDef != 8 || cfg.Idioma != 2)
            return QStringLiteral("<wrong: settings in memory not usable or success reported>");
        return r.error;
    });
    ASSERT_TRUE(startUp.has_value());
    EXPECT_TRUE(startUp->startsWith(QStringLiteral("No se puede escribir "))) << startUp->toStdString();
    report("read-only settings file", "start-up", *startUp, "unchanged");

    const auto save = asNobody([&] {
        RegConfig cfg = old;
        cfg.VersionCfg = RegConfig::VersionActual;
        cfg.Idioma = 1;
        const SettingsFile::Result r = file.write(cfg);
        return r.ok ? QStringLiteral("<success reported>") : r.error;
    });
    ASSERT_TRUE(save.has_value());
    EXPECT_TRUE(save->startsWith(QStringLiteral("No se puede escribir "))) << save->toStdString();
    report("read-only settings file", "configuration save", *save, "unchanged");

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
