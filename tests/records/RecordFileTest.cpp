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
using orvan::generator::Scenario;

namespace {

MissionRecord generatedRecord(Scenario kind)
{
    orvan::generator::GeneratorOptions o;
    o.scenario = kind;
    o.delayMinutes = 40000;
    MissionRecord r;
    r.setBytes(0, orvan::generator::generateImage(o));
    return r;
}

const QByteArray kCleared(kMemoriaSize, '\0');

} // namespace

TEST(RecordFile, WriteThenReadGivesTheSameImageAndFields)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("FRUTAS SUR_1.klv"));
    ASSERT_TRUE(writeFile(path, QByteArray(50000, 'x')));   // a longer file is replaced, not overlaid
    for (auto kind : {Scenario::Finished, Scenario::Circular}) {
        MissionRecord original = generatedRecord(kind);
        original.setByte(40000, quint8(7));   // beyond the logger's memory: never written
        original.LeeAuditoria();
        const FileResult w = GuardaArchivo(original, path);
        ASSERT_TRUE(w.ok) << qPrintable(w.message);
        EXPECT_EQ(readFile(path), original.fileImage());

        MissionRecord back;
        back.setBytes(0, QByteArray(kMemoriaSize, '\x55'));
        ASSERT_TRUE(LeerArchivo(back, path).ok);
        EXPECT_EQ(back.Memoria(), original.fileImage() + QByteArray(kMemoriaSize - kImageSize, '\0'));
        EXPECT_TRUE(back.LeeAuditoria().isEmpty());
        const Auditoria& a = original.campos;
        const Auditoria& b = back.campos;
        EXPECT_EQ(std::make_tuple(b.NumMuestras, b.PrimeraMuestra, b.UltimaMuestra, b.Circular, b.InicioMision, b.FinDatos, b.DemoraInicio),
                  std::make_tuple(a.NumMuestras, a.PrimeraMuestra, a.UltimaMuestra, a.Circular, a.InicioMision, a.FinDatos, 40000));
    }
}

TEST(RecordFile, FailedSaveLeavesTheEarlierFileUntouchedAndReportsIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("EXPO_1.klv"));
    const QByteArray before("an earlier record");
    ASSERT_TRUE(writeFile(path, before));
    const MissionRecord r = generatedRecord(Scenario::Finished);

    // The write stops half way, as on a failing disk; then a disk that fills after 4096 bytes, at
    // once, or takes fewer bytes than it says.
    const WriteBytes halfWay = [](QIODevice& d, const QByteArray& bytes) -> qint64 {
        d.write(bytes.left(bytes.size() / 2));
        return -1;
    };
    const FileResult res = GuardaArchivo(r, path, halfWay);
    EXPECT_EQ(std::make_tuple(res.ok, res.number), std::make_tuple(false, 57));
    EXPECT_EQ(res.message, QStringLiteral("Error 57 (Device I/O error) in procedure GuardaArchivo of Módulo Rutat1"));
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
    EXPECT_EQ(GuardaArchivo(r, dir.filePath(QStringLiteral("no/such/folder/x.klv"))).message,
              QStringLiteral("Error 76 (Path not found) in procedure GuardaArchivo of Módulo Rutat1"));
}

// Up to 67001 bytes read, shorter files padded with zeros; anything else is refused before a
// byte is read (a FIFO would wait for a writer for ever, a device stream without end) and
// leaves the image cleared.
TEST(RecordFile, ReadTakesOrdinaryFilesUpTo67001BytesAndRefusesTheRest)
{
    QTemporaryDir dir;
    MissionRecord r;
    const QString empty = dir.filePath(QStringLiteral("vacio.klv"));
    const QString exact = dir.filePath(QStringLiteral("justo.klv"));
    ASSERT_TRUE(writeFile(empty, QByteArray()));
    ASSERT_TRUE(writeFile(exact, QByteArray(kMemoriaSize - 1, '\0') + 'Z'));
    r.setBytes(0, QByteArray(kMemoriaSize, '\x11'));
    ASSERT_TRUE(LeerArchivo(r, empty).ok);
    EXPECT_EQ(r.Memoria(), kCleared);
    ASSERT_TRUE(LeerArchivo(r, exact).ok);
    EXPECT_EQ(r.byte(67000), 'Z');

    const QString tooLong = dir.filePath(QStringLiteral("largo.klv"));
    const QString fifo = dir.filePath(QStringLiteral("tubo.klv"));
    const QString zero = dir.filePath(QStringLiteral("cero.klv"));
    ASSERT_TRUE(writeFile(tooLong, QByteArray(kMemoriaSize + 1, '\x22')));
    ASSERT_TRUE(orvan::test::makeNode(orvan::test::Node::Fifo, fifo));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const std::tuple<QString, int, FileResult::Refusal> refused[] = {
        {tooLong, 9, FileResult::Refusal::TooLong},
        {dir.filePath(QStringLiteral("falta.klv")), 53, FileResult::Refusal::None},
        {fifo, 75, FileResult::Refusal::NotRegularRead},
        {zero, 75, FileResult::Refusal::NotRegularRead},
        {QStringLiteral("/dev/urandom"), 75, FileResult::Refusal::NotRegularRead},
        {dir.path(), 75, FileResult::Refusal::NotRegularRead},
    };
    for (const auto& [path, number, refusal] : refused) {
        for (auto readBack : {LeerArchivo, readHeader}) {
            SCOPED_TRACE(path.toStdString());
            r.setBytes(0, QByteArray(kMemoriaSize, '\x11'));
            const FileResult res = readBack(r, path);
            EXPECT_EQ(std::make_tuple(res.ok, res.number), std::make_tuple(false, number));
            EXPECT_EQ(res.refusal, refusal);
            EXPECT_EQ(r.Memoria(), kCleared);
        }
    }
}

TEST(RecordFile, NamesWithControlCharactersShowOnOneLineAndSaveByteExact)
{
    MissionRecord r = generatedRecord(Scenario::Finished);
    const QByteArray exporter("AB\r\nCD\tEF\0G\x7f", 12);
    const QByteArray carrier("\n\n\nBarco\x01   ", 12);
    r.setBytes(64, exporter);
    r.setBytes(76, carrier);
    r.NombreArchivo = QStringLiteral("a\nb.klv");
    r.LeeAuditoria();
    const RecordCaptions t = recordCaptions(r, orvan::Unit::Celsius, QLocale::c());
    EXPECT_EQ(std::make_tuple(t.exporter, t.carrier, t.file),
              std::make_tuple(QStringLiteral("AB  CD EF G "), QStringLiteral("   Barco    "), QStringLiteral("a b.klv")));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nombres.klv"));
    ASSERT_TRUE(GuardaArchivo(r, path).ok);
    EXPECT_EQ(readFile(path).mid(64, 24), exporter + carrier);
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
        const bool read = i <= 95 || (i >= 256 && i <= 258) || (i >= 1280 && i <= 1343);
        ASSERT_EQ(r.Memoria().at(i), read ? whole.at(i) : '\0') << "address " << i;
    }
    EXPECT_EQ(r.Memoria().mid(2000), kCleared.mid(2000));

    // A short file reads zeros where it has no bytes.
    const QString shortFile = dir.filePath(QStringLiteral("corto.klv"));
    ASSERT_TRUE(writeFile(shortFile, whole.left(257)));
    ASSERT_TRUE(readHeader(r, shortFile).ok);
    EXPECT_EQ(std::make_tuple(r.byte(256), r.byte(258), r.byte(1280)), std::make_tuple(quint8(whole.at(256)), quint8(0), quint8(0)));
}
