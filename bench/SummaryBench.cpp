// How fast a shipment summary is computed for a full record (24576 samples): the archive will
// summarise thousands of records, so one must take well under 2 ms. Both a straight record with
// excursions and a wrapped circular one, whose samples are read through the slot mapping.
//   build/bin/bench_summary

#include "records/MissionRecord.h"
#include "tools/generator/RecordGenerator.h"
#include "views/ShipmentSummary.h"

#include <benchmark/benchmark.h>

using namespace orvan;

namespace {

records::MissionRecord fullRecord(generator::Scenario scenario, int samples)
{
    generator::GeneratorOptions o;
    o.scenario = scenario;
    o.samples = samples;
    o.interval = 5;
    records::MissionRecord record;
    record.setBytes(0, generator::generateImage(o));
    record.LeeAuditoria();
    return record;
}

void summarise(benchmark::State& state, const records::MissionRecord& record)
{
    for (auto _ : state) {
        const views::ShipmentSummary s = views::summarize(record, Unit::Celsius, {30, 30});
        benchmark::DoNotOptimize(s.mkt);
    }
    state.counters["samples"] = record.heldSampleCount();
}

void BM_SummaryWithExcursions(benchmark::State& state)
{
    static const records::MissionRecord record = fullRecord(generator::Scenario::Alarms, records::kCapacity);
    summarise(state, record);
}
BENCHMARK(BM_SummaryWithExcursions)->Unit(benchmark::kMicrosecond);

void BM_SummaryWrappedCircular(benchmark::State& state)
{
    static const records::MissionRecord record = fullRecord(generator::Scenario::Circular, 30000);
    summarise(state, record);
}
BENCHMARK(BM_SummaryWrappedCircular)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
