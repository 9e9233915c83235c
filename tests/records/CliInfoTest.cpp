// orvanlog-cli generate and info, run as the built program.

#include "records/RecordImages.h"
#include "records/RecordFile.h"
#include "support/RunCli.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan::records;
using orvan::test::runCli;

TEST(CliInfo, RecordsPrintTheirDecodedHeaderAndMessages)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A quotation mark and a backslash in a name must still give readable JSON.
    // A record with a damaged stamp prints its fall-back dates and the message.
    MissionRecord damaged;
    damaged.setByte(23, quint8(0x1A));
    ASSERT_TRUE(GuardaArchivo(damaged, dir.filePath(QStringLiteral("damaged.klv"))).ok);
    EXPECT_NE(runCli({QStringLiteral("generate"), QStringLiteral("broken"), dir.filePath(QStringLiteral("x.klv"))}).code, 0);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.klv"))));
    for (const char* arguments : {"finished|--samples|2400|--exporter|FR\\UTAS \"SUR\"|--delay|40000",
                                   "circular|--interval|5|--seed|9", "empty", "damaged"}) {
        const QStringList g = QString::fromLatin1(arguments).split(QLatin1Char('|'));
        SCOPED_TRACE(qPrintable(g.first()));
        const QString path = dir.filePath(g.first() + QStringLiteral(".klv"));
        if (g.first() != QLatin1String("damaged")) {
            const auto gen = runCli(QStringList{QStringLiteral("generate"), g.first(), path} + g.mid(1));
            ASSERT_EQ(gen.code, 0) << gen.err.constData();
        }

        const auto info = runCli({QStringLiteral("info"), path});
        ASSERT_EQ(info.code, 0) << info.err.constData();
        QJsonParseError error;
        const QJsonObject j = QJsonDocument::fromJson(info.out, &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << info.out.constData();

        MissionRecord r;
        ASSERT_TRUE(LeerArchivo(r, path).ok);
        const QStringList messages = r.LeeAuditoria();
        const Auditoria& c = r.campos;
        const auto dateText = [](const QDateTime& t) { return t.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm")); };

        EXPECT_EQ(j.keys().size(), 20);
        const std::pair<const char*, QJsonValue> campos[] = {
            {"EsperaInicio", c.EsperaInicio},   {"DemoraInicio", c.DemoraInicio},     {"LoThreshold", c.LoThreshold},
            {"HiThreshold", c.HiThreshold},     {"Rango", c.Rango},                   {"NumMuestras", c.NumMuestras},
            {"PrimeraMuestra", c.PrimeraMuestra}, {"UltimaMuestra", c.UltimaMuestra}, {"Circular", c.Circular},
            {"AlarmaHi", c.AlarmaHi},           {"AlarmaLo", c.AlarmaLo},             {"ArchivoOk", c.ArchivoOk},
            {"Exportador", c.Exportador},       {"Transportador", c.Transportador},   {"NumSerie", c.NumSerie},
            {"InicioMision", dateText(c.InicioMision)}, {"FinMision", dateText(c.FinMision)},
            {"InicioDatos", dateText(c.InicioDatos)},   {"FinDatos", dateText(c.FinDatos)},
        };
        for (const auto& [key, expected] : campos)
            EXPECT_EQ(j.value(QLatin1String(key)), expected) << key;
        EXPECT_EQ(j.value(QLatin1String("mensajes")).toVariant().toStringList(), messages);
        EXPECT_EQ(messages.isEmpty(), g.first() != QLatin1String("damaged"));
    }
}
