// orvanlog-cli stats, alarms and csv, run as the built program: the same results as the views.

#include "views/TestRecords.h"

#include "base/TextTable.h"
#include "records/RecordFile.h"
#include "support/RunCli.h"
#include "views/AlarmList.h"
#include "views/CsvExport.h"
#include "views/SampleList.h"
#include "views/ZoneCounts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::views;
using orvan::test::runCli;

namespace {

template <typename Fila>
QJsonArray json(const Fila& fila)
{
    QJsonArray a;
    for (const auto v : fila)
        a.append(qint64(v));
    return a;
}

template <typename Fila>
QJsonArray tabla(const std::array<Fila, 2>& filas)
{
    return QJsonArray{json(filas[0]), json(filas[1])};
}

records::MissionRecord lee(const QString& path)
{
    records::MissionRecord r;
    EXPECT_TRUE(records::LeerArchivo(r, path).ok);
    r.LeeAuditoria();
    return r;
}

} // namespace

TEST(CliViews, StatsAndAlarmsPrintWhatTheViewsShow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.klv"));
    ASSERT_EQ(runCli({QStringLiteral("generate"), QStringLiteral("alarms"), path}).code, 0);
    const records::MissionRecord r = lee(path);

    for (const char* unidad : {"C", "F"}) {
        SCOPED_TRACE(unidad);
        const int gradosC = QLatin1String(unidad) == QLatin1String("C") ? -1 : 0;
        const auto stats = runCli({QStringLiteral("stats"), path, QStringLiteral("--unit"), QLatin1String(unidad)});
        ASSERT_EQ(stats.code, 0) << stats.err.constData();
        const QJsonObject j = QJsonDocument::fromJson(stats.out).object();
        const ZoneCounts h = CuentaMuestras(r, gradosC, Vista::Histograma);
        const ZoneCounts p = CuentaMuestras(r, gradosC, Vista::Proporciones);
        const QJsonObject jh = j.value(QStringLiteral("histograma")).toObject();
        const QJsonObject jp = j.value(QStringLiteral("proporciones")).toObject();
        EXPECT_EQ(jh.value(QStringLiteral("Cuentas")).toArray(), tabla(h.Cuentas));
        EXPECT_EQ(jh.value(QStringLiteral("Porcentajes")).toArray(), tabla(h.Porcentajes));
        EXPECT_EQ(jh.value(QStringLiteral("HistoMuestras")).toArray(), json(h.HistoMuestras));
        EXPECT_EQ(jh.value(QStringLiteral("HistoEquipo")).toArray(), json(h.HistoEquipo));
        EXPECT_EQ(jp.value(QStringLiteral("Cuentas")).toArray(), tabla(p.Cuentas));
        EXPECT_EQ(jp.value(QStringLiteral("Porcentajes")).toArray(), tabla(p.Porcentajes));
        EXPECT_EQ(jp.keys().size(), 2);

        const auto alarms = runCli({QStringLiteral("alarms"), path, QStringLiteral("--unit"), QLatin1String(unidad)});
        ASSERT_EQ(alarms.code, 0) << alarms.err.constData();
        const QJsonArray filas = QJsonDocument::fromJson(alarms.out).array();
        ASSERT_EQ(filas.size(), kFilasAlarma);
        const auto esperadas = MuestraAlarmas(CargaAlarmas(r, gradosC), QLocale::c());
        int llenas = 0;
        for (int i = 1; i <= kFilasAlarma; ++i) {
            const QJsonObject f = filas.at(i - 1).toObject();
            const FilaAlarma& e = esperadas[size_t(i)];
            EXPECT_EQ(f.value(QStringLiteral("fila")).toInt(), i);
            if (!e.llena) {
                EXPECT_TRUE(f.value(QStringLiteral("fecha")).isNull());
                EXPECT_TRUE(f.value(QStringLiteral("temp")).isNull());
                continue;
            }
            ++llenas;
            EXPECT_EQ(f.value(QStringLiteral("fecha")).toString(), e.fecha.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm")));
            EXPECT_FLOAT_EQ(float(f.value(QStringLiteral("temp")).toDouble()), e.temp);
        }
        EXPECT_GT(llenas, 10);   // the generated record has events of both kinds
    }
}

TEST(CliViews, CsvWritesTheExportFileNextToTheRecordOrToOut)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ENVIO_1.klv"));
    ASSERT_EQ(runCli({QStringLiteral("generate"), QStringLiteral("finished"), path, QStringLiteral("--samples"),
                      QStringLiteral("300"), QStringLiteral("--exporter"), QStringLiteral("A \"B\"")}).code, 0);
    const records::MissionRecord r = lee(path);
    TextTable t;
    t.CargaTextos(TextTable::Frances);
    const QByteArray esperado = ExportaCsv(r, CargaMuestras(r, 0), t, 0, QStringLiteral("ENVIO_1.klv"), QLocale::system());

    const auto junto = runCli({QStringLiteral("csv"), path, QStringLiteral("--lang"), QStringLiteral("3"),
                               QStringLiteral("--unit"), QStringLiteral("F")});
    ASSERT_EQ(junto.code, 0) << junto.err.constData();
    EXPECT_EQ(records::testdata::readFile(dir.filePath(QStringLiteral("ENVIO_1.csv"))), esperado);

    const QString otro = dir.filePath(QStringLiteral("out.txt"));
    ASSERT_EQ(runCli({QStringLiteral("csv"), path, QStringLiteral("-o"), otro, QStringLiteral("--lang"),
                      QStringLiteral("3"), QStringLiteral("--unit"), QStringLiteral("F")}).code, 0);
    EXPECT_EQ(records::testdata::readFile(otro), esperado);

    // Failures: one line, exit 1, no file.
    const auto sinRegistro = runCli({QStringLiteral("csv"), dir.filePath(QStringLiteral("none.klv"))});
    EXPECT_EQ(sinRegistro.code, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.csv"))));
    const auto sinCarpeta = runCli({QStringLiteral("csv"), path, QStringLiteral("-o"), dir.filePath(QStringLiteral("no/x.csv"))});
    EXPECT_EQ(sinCarpeta.code, 1);
    EXPECT_TRUE(sinCarpeta.err.contains("x.csv"));
    EXPECT_EQ(runCli({QStringLiteral("csv")}).code, 2);
}
