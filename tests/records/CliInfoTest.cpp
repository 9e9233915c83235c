// orvanlog-cli generate and info, run as the built program.

#include "records/ImagenPrueba.h"
#include "records/RecordFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan::records;

namespace {

struct Salida {
    int codigo = -1;
    QByteArray out;
    QByteArray err;
};

Salida corre(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(ORVAN_CLI_PATH), args);
    Salida s;
    if (!p.waitForFinished(60000))
        return s;
    s.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    s.out = p.readAllStandardOutput();
    s.err = p.readAllStandardError();
    return s;
}

QString fecha(const QDateTime& t)
{
    return t.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm"));
}

} // namespace

TEST(CliInfo, GeneratedRecordsPrintTheirDecodedHeader)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QList<QStringList> generaciones = {
        {QStringLiteral("finished"), QStringLiteral("--samples"), QStringLiteral("2400"), QStringLiteral("--exporter"), QStringLiteral("FRUTAS SUR"),
         QStringLiteral("--delay"), QStringLiteral("40000")},
        {QStringLiteral("circular"), QStringLiteral("--interval"), QStringLiteral("5"), QStringLiteral("--seed"), QStringLiteral("9")},
        {QStringLiteral("empty")},
    };
    for (const QStringList& g : generaciones) {
        SCOPED_TRACE(qPrintable(g.first()));
        const QString path = dir.filePath(g.first() + QStringLiteral(".klv"));
        const Salida gen = corre(QStringList{QStringLiteral("generate"), g.first(), path} + g.mid(1));
        ASSERT_EQ(gen.codigo, 0) << gen.err.constData();

        const Salida info = corre({QStringLiteral("info"), path});
        ASSERT_EQ(info.codigo, 0) << info.err.constData();
        QJsonParseError error;
        const QJsonObject j = QJsonDocument::fromJson(info.out, &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << info.out.constData();

        MissionRecord r;
        ASSERT_TRUE(LeerArchivo(r, path).ok);
        const QStringList mensajes = r.LeeAuditoria();
        const Auditoria& c = r.campos;

        EXPECT_EQ(j.keys().size(), 20);
        const std::pair<const char*, int> enteros[] = {
            {"EsperaInicio", c.EsperaInicio}, {"DemoraInicio", c.DemoraInicio}, {"LoThreshold", c.LoThreshold},
            {"HiThreshold", c.HiThreshold},   {"Rango", c.Rango},               {"NumMuestras", c.NumMuestras},
            {"PrimeraMuestra", c.PrimeraMuestra}, {"UltimaMuestra", c.UltimaMuestra},
        };
        for (const auto& [clave, valor] : enteros) {
            ASSERT_TRUE(j.value(QLatin1String(clave)).isDouble()) << clave;
            EXPECT_EQ(j.value(QLatin1String(clave)).toInt(), valor) << clave;
        }
        const std::pair<const char*, bool> logicos[] = {
            {"Circular", c.Circular}, {"AlarmaHi", c.AlarmaHi}, {"AlarmaLo", c.AlarmaLo}, {"ArchivoOk", c.ArchivoOk}};
        for (const auto& [clave, valor] : logicos) {
            ASSERT_TRUE(j.value(QLatin1String(clave)).isBool()) << clave;
            EXPECT_EQ(j.value(QLatin1String(clave)).toBool(), valor) << clave;
        }
        EXPECT_EQ(j.value(QLatin1String("Exportador")).toString(), c.Exportador);
        EXPECT_EQ(j.value(QLatin1String("Exportador")).toString().size(), 12);
        EXPECT_EQ(j.value(QLatin1String("Transportador")).toString(), c.Transportador);
        EXPECT_EQ(j.value(QLatin1String("NumSerie")).toString(), c.NumSerie);
        EXPECT_EQ(j.value(QLatin1String("InicioMision")).toString(), fecha(c.InicioMision));
        EXPECT_EQ(j.value(QLatin1String("FinMision")).toString(), fecha(c.FinMision));
        EXPECT_EQ(j.value(QLatin1String("InicioDatos")).toString(), fecha(c.InicioDatos));
        EXPECT_EQ(j.value(QLatin1String("FinDatos")).toString(), fecha(c.FinDatos));
        EXPECT_EQ(j.value(QLatin1String("mensajes")).toVariant().toStringList(), mensajes);
    }
}

TEST(CliInfo, DecodingMessagesAndUnreadableFiles)
{
    QTemporaryDir dir;
    MissionRecord r;
    r.Memoria[23] = char(0x1A);
    const QString malo = dir.filePath(QStringLiteral("malo.klv"));
    ASSERT_TRUE(GuardaArchivo(r, malo).ok);
    const Salida info = corre({QStringLiteral("info"), malo});
    ASSERT_EQ(info.codigo, 0);
    const QJsonObject j = QJsonDocument::fromJson(info.out).object();
    EXPECT_EQ(j.value(QLatin1String("mensajes")).toArray(), QJsonArray{mensajeFechaInicio()});
    EXPECT_EQ(j.value(QLatin1String("InicioMision")).toString(), QStringLiteral("2011-01-01T00:00"));

    const QString largo = dir.filePath(QStringLiteral("largo.klv"));
    ASSERT_TRUE(prueba::escribe(largo, QByteArray(kMemoriaSize + 1, '\0')));
    for (const QString& path : {dir.filePath(QStringLiteral("falta.klv")), largo}) {
        const Salida s = corre({QStringLiteral("info"), path});
        EXPECT_NE(s.codigo, 0);
        EXPECT_TRUE(s.out.isEmpty());
        EXPECT_EQ(s.err.count('\n'), 1) << s.err.constData();
        EXPECT_TRUE(s.err.contains(path.toUtf8()));
    }

    EXPECT_NE(corre({QStringLiteral("generate"), QStringLiteral("broken"), dir.filePath(QStringLiteral("x.klv"))}).codigo, 0);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.klv"))));
}
