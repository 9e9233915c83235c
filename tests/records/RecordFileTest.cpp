// The record file: round trip, atomic save, over-long and short files, the preview's partial read.

#include "records/ImagenPrueba.h"
#include "records/RecordFile.h"
#include "tools/generator/RecordGenerator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

using namespace orvan::records;
using namespace orvan::records::prueba;

namespace {

MissionRecord registroGenerado(orvan::generator::Scenario escenario, quint64 semilla = 7)
{
    orvan::generator::GeneratorOptions o;
    o.scenario = escenario;
    o.seed = semilla;
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
    ASSERT_TRUE(escribe(path, QByteArray(50000, 'x')));   // a longer file is replaced, not overlaid
    for (auto escenario : {orvan::generator::Scenario::Finished, orvan::generator::Scenario::Circular}) {
        MissionRecord original = registroGenerado(escenario);
        original.setByte(40000, quint8(7));   // beyond the logger's memory: never written
        original.LeeAuditoria();

        const FileResult w = GuardaArchivo(original, path);
        ASSERT_TRUE(w.ok) << qPrintable(w.message);
        const QByteArray enDisco = lee(path);
        ASSERT_EQ(enDisco.size(), kImageSize);
        EXPECT_EQ(enDisco, original.imagen());

        MissionRecord leido;
        leido.setBytes(0, QByteArray(kMemoriaSize, '\x55'));
        ASSERT_TRUE(LeerArchivo(leido, path).ok);
        EXPECT_EQ(leido.Memoria().size(), kMemoriaSize);
        EXPECT_EQ(leido.imagen(), original.imagen());
        EXPECT_EQ(leido.Memoria().mid(kImageSize), QByteArray(kMemoriaSize - kImageSize, '\0'));

        EXPECT_TRUE(leido.LeeAuditoria().isEmpty());
        const Auditoria& a = original.campos;
        const Auditoria& b = leido.campos;
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
    const QByteArray antes("an earlier record");
    ASSERT_TRUE(escribe(path, antes));
    const MissionRecord r = registroGenerado(orvan::generator::Scenario::Finished);

    // The write stops half way, as on a full or failing disk.
    const WriteBytes aMedias = [](QIODevice& d, const QByteArray& bytes) -> qint64 {
        d.write(bytes.left(bytes.size() / 2));
        return -1;
    };
    const FileResult res = GuardaArchivo(r, path, aMedias);
    EXPECT_FALSE(res.ok);
    EXPECT_EQ(res.number, 57);
    EXPECT_EQ(res.message, QStringLiteral("Error 57 (Device I/O error) in procedure GuardaArchivo of Módulo Rutat1"));
    EXPECT_EQ(lee(path), antes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("EXPO_1.klv")});

    // A missing folder.
    const FileResult sinCarpeta = GuardaArchivo(r, dir.filePath(QStringLiteral("no/such/folder/x.klv")));
    EXPECT_FALSE(sinCarpeta.ok);
    EXPECT_EQ(sinCarpeta.message, QStringLiteral("Error 76 (Path not found) in procedure GuardaArchivo of Módulo Rutat1"));
}

TEST(RecordFile, ReadAcceptsUpTo67001BytesAndRejectsLongerOrMissingFiles)
{
    QTemporaryDir dir;
    MissionRecord r;

    const QString vacio = dir.filePath(QStringLiteral("vacio.klv"));
    ASSERT_TRUE(escribe(vacio, QByteArray()));
    r.setBytes(0, QByteArray(kMemoriaSize, '\x11'));
    ASSERT_TRUE(LeerArchivo(r, vacio).ok);
    EXPECT_EQ(r.Memoria(), QByteArray(kMemoriaSize, '\0'));

    QByteArray lleno(kMemoriaSize, '\0');
    lleno[kMemoriaSize - 1] = 'Z';
    const QString justo = dir.filePath(QStringLiteral("justo.klv"));
    ASSERT_TRUE(escribe(justo, lleno));
    ASSERT_TRUE(LeerArchivo(r, justo).ok);
    EXPECT_EQ(r.byte(67000), 'Z');

    const QString largo = dir.filePath(QStringLiteral("largo.klv"));
    ASSERT_TRUE(escribe(largo, QByteArray(kMemoriaSize + 1, '\x22')));
    for (auto leer : {LeerArchivo, LeerCabecera}) {
        r.setBytes(0, QByteArray(kMemoriaSize, '\x11'));
        const FileResult res = leer(r, largo);
        EXPECT_FALSE(res.ok);
        EXPECT_EQ(res.number, 9);
        EXPECT_EQ(r.Memoria(), QByteArray(kMemoriaSize, '\0'));   // cleared, nothing loaded
    }

    r.setBytes(0, QByteArray(kMemoriaSize, '\x11'));
    const FileResult falta = LeerArchivo(r, dir.filePath(QStringLiteral("falta.klv")));
    EXPECT_FALSE(falta.ok);
    EXPECT_EQ(falta.number, 53);
    EXPECT_EQ(r.Memoria(), QByteArray(kMemoriaSize, '\0'));
}

TEST(RecordFile, PartialReadTakesOnlyTheHeaderBlocksAndAlarmTables)
{
    QTemporaryDir dir;
    QByteArray todo(kImageSize, '\0');
    for (int i = 0; i < todo.size(); ++i)
        todo[i] = char(1 + i % 250);
    const QString path = dir.filePath(QStringLiteral("p.klv"));
    ASSERT_TRUE(escribe(path, todo));

    MissionRecord r;
    r.setBytes(0, QByteArray(kMemoriaSize, '\x77'));
    ASSERT_TRUE(LeerCabecera(r, path).ok);
    for (int i = 0; i < 2000; ++i) {
        const bool leido = i <= 95 || (i >= 256 && i <= 258) || (i >= 1280 && i <= 1343);
        ASSERT_EQ(r.Memoria().at(i), leido ? todo.at(i) : '\0') << "address " << i;
    }
    EXPECT_EQ(r.Memoria().mid(2000), QByteArray(kMemoriaSize - 2000, '\0'));

    // A short file reads zeros where it has no bytes.
    const QString corto = dir.filePath(QStringLiteral("corto.klv"));
    ASSERT_TRUE(escribe(corto, todo.left(257)));
    ASSERT_TRUE(LeerCabecera(r, corto).ok);
    EXPECT_EQ(r.byte(256), quint8(todo.at(256)));
    EXPECT_EQ(r.byte(258), 0);
    EXPECT_EQ(r.byte(1280), 0);
}
