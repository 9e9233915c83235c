// The record file: round trip, atomic save, over-long and short files, the preview's partial read.

#include "records/RecordImages.h"
#include "records/RecordCaptions.h"
#include "records/RecordFile.h"
#include "tools/generator/RecordGenerator.h"
#include "support/DiskFaults.h"
#include "support/SpecialFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

using namespace orvan::records;
using namespace orvan::records::testdata;

namespace {

MissionRecord generatedRecord(orvan::generator::Scenario kind, quint64 seedValue = 7)
{
    orvan::generator::GeneratorOptions o;
    o.scenario = kind;
    o.seed = seedValue;
    o.delayMinutes = 40000;
    MissionRecord r;
    r.setBytes(0, orvan::generator::generateImage(o));
    return r;
}

} // namespace

TEST(RecordFile, WriteThenReadGivesTheSameImageAndFields)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("FRUTAS SUR_1.klv"));
    ASSERT_TRUE(writeFile(path, QByteArray(50000, 'x')));   // a longer file is replaced, not overlaid
    for (auto kind : {orvan::generator::Scenario::Finished, orvan::generator::Scenario::Circular}) {
        MissionRecord original = generatedRecord(kind);
        original.setByte(40000, quint8(7));   // beyond the logger's memory: never written
        original.LeeAuditoria();

        const FileResult w = GuardaArchivo(original, path);
        ASSERT_TRUE(w.ok) << qPrintable(w.message);
        const QByteArray onDisk = readFile(path);
        ASSERT_EQ(onDisk.size(), kImageSize);
        EXPECT_EQ(onDisk, original.fileImage());

        MissionRecord readResult;
        readResult.setBytes(0, QByteArray(kMemoriaSize, '\x55'));
        ASSERT_TRUE(LeerArchivo(readResult, path).ok);
        EXPECT_EQ(readResult.Memoria().size(), kMemoriaSize);
        EXPECT_EQ(readResult.fileImage(), original.fileImage());
        EXPECT_EQ(readResult.Memoria().mid(kImageSize), QByteArray(kMemoriaSize - kImageSize, '\0'));

        EXPECT_TRUE(readResult.LeeAuditoria().isEmpty());
        const Auditoria& a = original.campos;
        const Auditoria& b = readResult.campos;
        EXPECT_EQ(std::make_tuple(b.NumMuestras, b.PrimeraMuestra, b.UltimaMuestra, b.Circular, b.AlarmaHi),
                  std::make_tuple(a.NumMuestras, a.PrimeraMuestra, a.UltimaMuestra, a.Circular, a.AlarmaHi));
        EXPECT_EQ(std::make_tuple(b.InicioMision, b.FinMision, b.FinDatos), std::make_tuple(a.InicioMision, a.FinMision, a.FinDatos));
        EXPECT_EQ(std::make_tuple(b.Exportador, b.NumSerie), std::make_tuple(a.Exportador, a.NumSerie));
        EXPECT_EQ(b.DemoraInicio, 40000);
    }
}

TEST(RecordFile, FailedSaveLeavesTheEarlierFileUntouchedAndReportsIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("EXPO_1.klv"));
    const QByteArray before("an earlier record");
    ASSERT_TRUE(writeFile(path, before));
    const MissionRecord r = generatedRecord(orvan::generator::Scenario::Finished);

    // The write stops half way, as on a full or failing disk.
    const WriteBytes halfWay = [](QIODevice& d, const QByteArray& bytes) -> qint64 {
        d.write(bytes.left(bytes.size() / 2));
        return -1;
    };
    const FileResult res = GuardaArchivo(r, path, halfWay);
    EXPECT_FALSE(res.ok);
    EXPECT_EQ(res.number, 57);
    EXPECT_EQ(res.message, QStringLiteral("Error 57 (Device I/O error) in procedure GuardaArchivo of Módulo Rutat1"));
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("EXPO_1.klv")});
    // A disk that fills after 4096 bytes, at once, or takes fewer bytes than it says.
    for (const orvan::test::DiskFault& c : orvan::test::kDiskFaults) {
        SCOPED_TRACE(c.what);
        const FileResult full = GuardaArchivo(r, path, c.write);
        EXPECT_FALSE(full.ok);
        EXPECT_TRUE(full.message.startsWith(QStringLiteral("Error ")) && full.message.endsWith(QStringLiteral("GuardaArchivo of Módulo Rutat1")))
            << full.message.toStdString();
        EXPECT_EQ(readFile(path), before);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("EXPO_1.klv")});
    }
    ASSERT_TRUE(GuardaArchivo(r, path).ok);
    EXPECT_EQ(readFile(path), r.fileImage());

    // A missing folder.
    const FileResult noFolder = GuardaArchivo(r, dir.filePath(QStringLiteral("no/such/folder/x.klv")));
    EXPECT_FALSE(noFolder.ok);
    EXPECT_EQ(noFolder.message, QStringLiteral("Error 76 (Path not found) in procedure GuardaArchivo of Módulo Rutat1"));
}

TEST(RecordFile, ReadAcceptsUpTo67001BytesAndRejectsLongerOrMissingFiles)
{
    QTemporaryDir dir;
    MissionRecord r;

    const QString empty = dir.filePath(QStringLiteral("vacio.klv"));
    ASSERT_TRUE(writeFile(empty, QByteArray()));
    r.setBytes(0, QByteArray(kMemoriaSize, '\x11'));
    ASSERT_TRUE(LeerArchivo(r, empty).ok);
    EXPECT_EQ(r.Memoria(), QByteArray(kMemoriaSize, '\0'));

    QByteArray full(kMemoriaSize, '\0');
    full[kMemoriaSize - 1] = 'Z';
    const QString exact = dir.filePath(QStringLiteral("justo.klv"));
    ASSERT_TRUE(writeFile(exact, full));
    ASSERT_TRUE(LeerArchivo(r, exact).ok);
    EXPECT_EQ(r.byte(67000), 'Z');

    const QString tooLong = dir.filePath(QStringLiteral("largo.klv"));
    ASSERT_TRUE(writeFile(tooLong, QByteArray(kMemoriaSize + 1, '\x22')));
    for (auto readBack : {LeerArchivo, readHeader}) {
        r.setBytes(0, QByteArray(kMemoriaSize, '\x11'));
        const FileResult res = readBack(r, tooLong);
        EXPECT_FALSE(res.ok);
        EXPECT_EQ(res.number, 9);
        EXPECT_EQ(r.Memoria(), QByteArray(kMemoriaSize, '\0'));   // cleared, nothing loaded
    }

    r.setBytes(0, QByteArray(kMemoriaSize, '\x11'));
    const FileResult missing = LeerArchivo(r, dir.filePath(QStringLiteral("falta.klv")));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.number, 53);
    EXPECT_EQ(r.Memoria(), QByteArray(kMemoriaSize, '\0'));
}

TEST(RecordFile, OnlyOrdinaryFilesAreReadNeverAFifoOrADevice)
{
    // A blocking open of the FIFO would wait for a writer for ever; /dev/zero and /dev/urandom
    // would stream without end. Each is refused before a byte is read, and the image is cleared.
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("tubo.klv"));
    ASSERT_TRUE(orvan::test::makeNode(orvan::test::Node::Fifo, fifo));
    const QString zero = dir.filePath(QStringLiteral("cero.klv"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    for (const QString& path : {fifo, zero, QStringLiteral("/dev/urandom"), dir.path()}) {
        for (auto readBack : {LeerArchivo, readHeader}) {
            SCOPED_TRACE(path.toStdString());
            MissionRecord r;
            r.setBytes(0, QByteArray(kMemoriaSize, '\x11'));
            const FileResult res = readBack(r, path);
            EXPECT_FALSE(res.ok);
            EXPECT_EQ(res.number, 75);
            EXPECT_EQ(res.refusal, FileResult::Refusal::NotRegularRead);
            EXPECT_EQ(r.Memoria(), QByteArray(kMemoriaSize, '\0'));
        }
    }
}

TEST(RecordFile, NamesWithControlCharactersShowOnOneLineAndSaveByteExact)
{
    // Exporter bytes 64..75 and carrier bytes 76..87 with CR, LF, tab, NUL and DEL among letters.
    MissionRecord r = generatedRecord(orvan::generator::Scenario::Finished);
    const QByteArray exporter("AB\r\nCD\tEF\0G\x7f", 12);
    const QByteArray carrier("\n\n\nBarco\x01   ", 12);
    r.setBytes(64, exporter);
    r.setBytes(76, carrier);
    r.NombreArchivo = QStringLiteral("a\nb.klv");
    r.LeeAuditoria();
    const RecordCaptions t = recordCaptions(r, orvan::Unit::Celsius);
    EXPECT_EQ(t.exporter, QStringLiteral("AB  CD EF G "));
    EXPECT_EQ(t.carrier, QStringLiteral("   Barco    "));
    EXPECT_EQ(t.file, QStringLiteral("a b.klv"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nombres.klv"));
    ASSERT_TRUE(GuardaArchivo(r, path).ok);
    const QByteArray saved = readFile(path);
    EXPECT_EQ(saved.mid(64, 12), exporter);
    EXPECT_EQ(saved.mid(76, 12), carrier);
}

TEST(RecordFile, CaptionsGiveTheLimitsInTheUnitWithItsText)
{
    MissionRecord r = generatedRecord(orvan::generator::Scenario::Finished);   // limits 2 and 8 °C
    r.LeeAuditoria();
    const RecordCaptions c = recordCaptions(r, orvan::Unit::Celsius, QLocale::c());
    EXPECT_EQ(std::make_tuple(c.lowLimit, c.highLimit),
              std::make_tuple(QStringLiteral(" < 2 \u00b0C"), QStringLiteral(" > 8 \u00b0C")));
    const RecordCaptions f = recordCaptions(r, orvan::Unit::Fahrenheit, QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(std::make_tuple(f.lowLimit, f.highLimit),
              std::make_tuple(QStringLiteral(" < 35,6 \u00b0F"), QStringLiteral(" > 46,4 \u00b0F")));
}

TEST(RecordFile, PartialReadTakesOnlyTheHeaderBlocksAndAlarmTables)
{
    QTemporaryDir dir;
    QByteArray whole(kImageSize, '\0');
    for (int i = 0; i < whole.size(); ++i)
        whole[i] = char(1 + i % 250);
    const QString path = dir.filePath(QStringLiteral("p.klv"));
    ASSERT_TRUE(writeFile(path, whole));

    MissionRecord r;
    r.setBytes(0, QByteArray(kMemoriaSize, '\x77'));
    ASSERT_TRUE(readHeader(r, path).ok);
    for (int i = 0; i < 2000; ++i) {
        const bool readResult = i <= 95 || (i >= 256 && i <= 258) || (i >= 1280 && i <= 1343);
        ASSERT_EQ(r.Memoria().at(i), readResult ? whole.at(i) : '\0') << "address " << i;
    }
    EXPECT_EQ(r.Memoria().mid(2000), QByteArray(kMemoriaSize - 2000, '\0'));

    // A short file reads zeros where it has no bytes.
    const QString shortFile = dir.filePath(QStringLiteral("corto.klv"));
    ASSERT_TRUE(writeFile(shortFile, whole.left(257)));
    ASSERT_TRUE(readHeader(r, shortFile).ok);
    EXPECT_EQ(r.byte(256), quint8(whole.at(256)));
    EXPECT_EQ(r.byte(258), 0);
    EXPECT_EQ(r.byte(1280), 0);
}
