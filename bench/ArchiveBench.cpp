// The records archive over 10,000 generated records of mixed sizes (empty to a full memory, every
// scenario), on an SQLite file and on a PostgreSQL server started for the run (PgCluster of the
// tests): the first index, a re-index with nothing changed, and searches over the whole archive.
//   build/bin/bench_archive --benchmark_counters_tabular=true
// Aims: the first index in 20 s or less, an unchanged re-index in 2 s, any search in 50 ms.

#include "archive/Archive.h"
#include "archive/PgCluster.h"
#include "tools/generator/RecordGenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace orvan;

namespace {

constexpr int kRecords = 10000;

// The records, made once: every scenario, 0 to 24576 held samples, three carriers, a year of dates.
const QString& recordFolder()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        const generator::Scenario scenarios[] = {generator::Scenario::Finished, generator::Scenario::Alarms,
                                                 generator::Scenario::Circular, generator::Scenario::Recording,
                                                 generator::Scenario::Empty};
        const char* carriers[] = {"NAVIERA AZUL", "TRANS ANDES", "AEROCARGA"};
        for (int i = 0; i < kRecords; ++i) {
            generator::GeneratorOptions o;
            o.scenario = scenarios[i % 5];
            o.samples = o.scenario == generator::Scenario::Empty ? 0 : (i * 7919) % 30000 + 1;
            o.serial = quint32(1000 + i % 400);
            o.seed = quint64(i);
            o.carrier = QString::fromLatin1(carriers[i % 3]);
            o.prepared = QDateTime(QDate(2024, 1, 1).addDays(i % 365), QTime(8, 0), Qt::UTC);
            QDir().mkpath(dir.filePath(QString::number(i / 1000)));
            QFile f(dir.filePath(QStringLiteral("%1/r%2.klv").arg(i / 1000).arg(i)));
            if (!f.open(QIODevice::WriteOnly) || f.write(generator::generateImage(o)) != 32768)
                return false;
        }
        return true;
    }();
    static const QString path = made ? dir.path() : QString();
    return path;
}

// An empty archive of the engine: a new SQLite file, or the server's tables dropped.
QString emptyArchive(archive::Engine engine)
{
    static QTemporaryDir dir;
    static int n = 0;
    if (engine == archive::Engine::SQLite)
        return dir.filePath(QStringLiteral("archive-%1.sqlite").arg(++n));
    test::PgCluster& pg = test::PgCluster::instance();
    if (!pg.running())
        return {};
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-reset"));
        db.setHostName(pg.socketFolder());
        db.setUserName(QStringLiteral("orvan"));
        db.setDatabaseName(QStringLiteral("archive_test"));
        if (db.open())
            QSqlQuery(db).exec(QStringLiteral("DROP TABLE IF EXISTS orvan_places, orvan_images, orvan_records, orvan_schema"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-reset"));
    return pg.url(QStringLiteral("archive_test"));
}

// The archive of each engine after its first index, for the re-index and the searches.
QString& indexed(archive::Engine engine)
{
    static QString targets[2];
    return targets[int(engine)];
}

void BM_IndexFirst(benchmark::State& state, archive::Engine engine)
{
    if (recordFolder().isEmpty())
        return state.SkipWithError("the records could not be written");
    for (auto _ : state) {
        state.PauseTiming();
        const QString target = emptyArchive(engine);
        archive::Archive a;
        if (target.isEmpty() || !a.open(target))
            return state.SkipWithError(("no archive: " + (target.isEmpty() ? test::PgCluster::instance().error() : a.error())).toStdString().c_str());
        state.ResumeTiming();
        const archive::AddReport r = a.add({recordFolder()});
        if (!r.ok() || r.added + r.newPlaces != kRecords)
            return state.SkipWithError(("index failed: " + r.error).toStdString().c_str());
        indexed(engine) = target;
    }
    state.counters["records"] = kRecords;
}

void BM_IndexUnchanged(benchmark::State& state, archive::Engine engine)
{
    archive::Archive a;
    if (indexed(engine).isEmpty() || !a.open(indexed(engine)))
        return state.SkipWithError("no indexed archive");
    for (auto _ : state) {
        const archive::AddReport r = a.add({recordFolder()});
        if (r.unchanged != kRecords)
            return state.SkipWithError("files were read again");
    }
}

void BM_Search(benchmark::State& state, archive::Engine engine, archive::Filter filter, bool figures,
               archive::RowDetail detail)
{
    archive::Archive a;
    if (indexed(engine).isEmpty() || !a.open(indexed(engine)))
        return state.SkipWithError("no indexed archive");
    int rows = 0;
    for (auto _ : state) {
        if (figures) {
            rows = a.stats(filter).shipments;
        } else {
            rows = a.query(filter, detail).size();
        }
    }
    state.counters["rows"] = rows;
}

archive::Filter carrierAndVerdict()
{
    archive::Filter f;
    f.carrier = QStringLiteral("andes");
    f.verdict = views::Verdict::Fail;
    return f;
}

archive::Filter serialInMarch()
{
    archive::Filter f;
    f.serial = 1042;
    f.from = QDate(2024, 3, 1);
    f.to = QDate(2024, 3, 31);
    return f;
}

archive::Filter textSearch()
{
    archive::Filter f;
    f.text = QStringLiteral("r777");
    return f;
}

void registerAll()
{
    for (archive::Engine engine : {archive::Engine::SQLite, archive::Engine::PostgreSQL}) {
        const std::string name = engine == archive::Engine::SQLite ? "SQLite" : "PostgreSQL";
        benchmark::RegisterBenchmark(("BM_IndexFirst/" + name).c_str(), BM_IndexFirst, engine)
            ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark(("BM_IndexUnchanged/" + name).c_str(), BM_IndexUnchanged, engine)
            ->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
        // The window's searches read the listed fields; the command line's list and the export
        // read every field.
        const auto listed = archive::RowDetail::Listed;
        const struct {
            const char* what;
            archive::Filter filter;
            bool figures;
            archive::RowDetail detail;
        } searches[] = {
            {"carrier+verdict", carrierAndVerdict(), false, listed},
            {"serial+month", serialInMarch(), false, listed},
            {"text in paths", textSearch(), false, listed},
            {"everything", {}, false, listed},
            {"everything, every field", {}, false, archive::RowDetail::Full},
            {"figures of carrier+verdict", carrierAndVerdict(), true, listed},
        };
        for (const auto& s : searches) {
            benchmark::RegisterBenchmark(("BM_Search/" + name + "/" + s.what).c_str(), BM_Search, engine, s.filter,
                                         s.figures, s.detail)
                ->Unit(benchmark::kMillisecond)->UseRealTime();
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    test::PgCluster::instance().shutdown();
    return 0;
}
