// The file system refusing, end to end: a read-only record folder, a name taken by a FIFO, a
// folder or a device, a read-only settings file. One clear message, no success, every earlier
// file as it was, nothing half-written; the next attempt without the fault works. Refused cases
// run as the user nobody, as root may write anywhere.

#include "base/Settings.h"
#include "base/TextTable.h"
#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "support/AsNobody.h"
#include "support/Files.h"
#include "support/RunCli.h"
#include "support/SpecialFiles.h"
#include "tools/generator/RecordGenerator.h"
#include "views/CsvExport.h"
#include "views/SampleList.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>

using namespace orvan;
using namespace orvan::records;
using orvan::test::CliRun;
using orvan::test::everyName;
using orvan::test::asNobody;
using orvan::test::kNobody;
using orvan::test::readAll;
using orvan::test::root;
using orvan::test::setMode;
using orvan::test::writeFile;

namespace {


MissionRecord finishedRecord()
{
    MissionRecord r;
    r.setBytes(0, generator::generateImage({}));
    r.LeeAuditoria();
    return r;
}

// The command line run as nobody is refused: one line on stderr, nothing on stdout, exit 1.
void expectRefusedAsNobody(const QStringList& args)
{
    const CliRun run = orvan::test::runCliAt(QStringLiteral(ORVAN_CLI_PATH), args, [] {
        if (root() && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(99);
    });
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.constData();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
    EXPECT_TRUE(run.err.startsWith("orvanlog-cli: ")) << run.err.constData();
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

    for (const char* name : {"EXPO_1.klv", "EXPO_2.klv"}) {
        SCOPED_TRACE(name);
        const QString path = folder + QLatin1Char('/') + QLatin1String(name);
        const auto seen = asNobody([&] { return GuardaArchivo(record, path).message; });
        ASSERT_TRUE(seen.has_value());
        EXPECT_EQ(*seen, QStringLiteral("Error 70 (Permission denied) in procedure GuardaArchivo of Módulo Rutat1"));
    }
    expectRefusedAsNobody({QStringLiteral("generate"), QStringLiteral("finished"), folder + QStringLiteral("/EXPO_3.klv")});
    expectRefusedAsNobody({QStringLiteral("csv"), earlier});

    EXPECT_EQ(readAll(earlier), earlierBytes);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System), before);

    setMode(folder, 0777);
    const auto saved = asNobody([&] { return GuardaArchivo(record, folder + QStringLiteral("/EXPO_2.klv")).message; });
    ASSERT_TRUE(saved.has_value());
    EXPECT_TRUE(saved->isEmpty()) << saved->toStdString();
    EXPECT_EQ(readAll(folder + QStringLiteral("/EXPO_2.klv")), record.fileImage());
}

TEST(FaultMatrix, ChosenNameIsAFifoFolderOrDevice)
{
    // Every save's final rename would put an ordinary file in place of the node: each is refused.
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
