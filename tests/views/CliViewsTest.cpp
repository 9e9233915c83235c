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

template <typename Row>
QJsonArray json(const Row& row)
{
    QJsonArray a;
    for (const auto v : row)
        a.append(qint64(v));
    return a;
}

template <typename Row>
QJsonArray table(const std::array<Row, 2>& rows)
{
    return QJsonArray{json(rows[0]), json(rows[1])};
}

records::MissionRecord readRecordFile(const QString& path)
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
    const records::MissionRecord r = readRecordFile(path);

    for (const char* unit : {"C", "F"}) {
        SCOPED_TRACE(unit);
        const Unit shown = QLatin1String(unit) == QLatin1String("C") ? Unit::Celsius : Unit::Fahrenheit;
        const auto stats = runCli({QStringLiteral("stats"), path, QStringLiteral("--unit"), QLatin1String(unit)});
        ASSERT_EQ(stats.code, 0) << stats.err.constData();
        const QJsonObject j = QJsonDocument::fromJson(stats.out).object();
        const ZoneCounts h = CuentaMuestras(r, shown, CountView::Histogram);
        const ZoneCounts p = CuentaMuestras(r, shown, CountView::Proportions);
        const QJsonObject jh = j.value(QStringLiteral("histograma")).toObject();
        const QJsonObject jp = j.value(QStringLiteral("proporciones")).toObject();
        EXPECT_EQ(jh.value(QStringLiteral("Cuentas")).toArray(), table(h.Cuentas));
        EXPECT_EQ(jh.value(QStringLiteral("Porcentajes")).toArray(), table(h.Porcentajes));
        EXPECT_EQ(jh.value(QStringLiteral("HistoMuestras")).toArray(), json(h.HistoMuestras));
        EXPECT_EQ(jh.value(QStringLiteral("HistoEquipo")).toArray(), json(h.HistoEquipo));
        EXPECT_EQ(jp.value(QStringLiteral("Cuentas")).toArray(), table(p.Cuentas));
        EXPECT_EQ(jp.value(QStringLiteral("Porcentajes")).toArray(), table(p.Porcentajes));
        EXPECT_EQ(jp.keys().size(), 2);

        const auto alarms = runCli({QStringLiteral("alarms"), path, QStringLiteral("--unit"), QLatin1String(unit)});
        ASSERT_EQ(alarms.code, 0) << alarms.err.constData();
        const QJsonArray rows = QJsonDocument::fromJson(alarms.out).array();
        ASSERT_EQ(rows.size(), kAlarmRows);
        const auto expectedRows = MuestraAlarmas(CargaAlarmas(r, shown), QLocale::c());
        int filledRows = 0;
        for (int i = 1; i <= kAlarmRows; ++i) {
            const QJsonObject f = rows.at(i - 1).toObject();
            const AlarmRow& e = expectedRows[size_t(i)];
            EXPECT_EQ(f.value(QStringLiteral("fila")).toInt(), i);
            if (!e.filled) {
                EXPECT_TRUE(f.value(QStringLiteral("fecha")).isNull());
                EXPECT_TRUE(f.value(QStringLiteral("temp")).isNull());
                continue;
            }
            ++filledRows;
            EXPECT_EQ(f.value(QStringLiteral("fecha")).toString(), e.date.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm")));
            EXPECT_FLOAT_EQ(float(f.value(QStringLiteral("temp")).toDouble()), e.temp);
        }
        EXPECT_GT(filledRows, 10);  // the generated record has events of both kinds
    }
}

TEST(CliViews, CsvWritesTheExportFileNextToTheRecordOrToOut)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ENVIO_1.klv"));
    ASSERT_EQ(runCli({QStringLiteral("generate"), QStringLiteral("finished"), path, QStringLiteral("--samples"),
                      QStringLiteral("300"), QStringLiteral("--exporter"), QStringLiteral("A \"B\"")}).code, 0);
    const records::MissionRecord r = readRecordFile(path);
    TextTable t;
    t.CargaTextos(TextTable::French);
    const QByteArray expected = ExportaCsv(r, CargaMuestras(r, Unit::Fahrenheit), t, Unit::Fahrenheit,
                                           QStringLiteral("ENVIO_1.klv"), QLocale::system());

    const auto together = runCli({QStringLiteral("csv"), path, QStringLiteral("--lang"), QStringLiteral("3"),
                               QStringLiteral("--unit"), QStringLiteral("F")});
    ASSERT_EQ(together.code, 0) << together.err.constData();
    EXPECT_EQ(records::testdata::readFile(dir.filePath(QStringLiteral("ENVIO_1.csv"))), expected);

    const QString other = dir.filePath(QStringLiteral("out.txt"));
    ASSERT_EQ(runCli({QStringLiteral("csv"), path, QStringLiteral("-o"), other, QStringLiteral("--lang"),
                      QStringLiteral("3"), QStringLiteral("--unit"), QStringLiteral("F")}).code, 0);
    EXPECT_EQ(records::testdata::readFile(other), expected);

    // Failures: one line, exit 1, no file.
    const auto noRecord = runCli({QStringLiteral("csv"), dir.filePath(QStringLiteral("none.klv"))});
    EXPECT_EQ(noRecord.code, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.csv"))));
    const auto noFolder = runCli({QStringLiteral("csv"), path, QStringLiteral("-o"), dir.filePath(QStringLiteral("no/x.csv"))});
    EXPECT_EQ(noFolder.code, 1);
    EXPECT_TRUE(noFolder.err.contains("x.csv"));
    EXPECT_EQ(runCli({QStringLiteral("csv")}).code, 2);
}
