#pragma once
// Records for the graph tests: a generated header with chosen samples written over its data.

#include "records/MissionRecord.h"
#include "tools/generator/RecordGenerator.h"

#include <vector>

namespace orvan::views::graphdata {

// A stopped, non-circular mission of samples.size() samples every interval minutes, started
// 2024-03-01 10:00, limits 2 and 8 °C (raw 84 and 96), holding exactly these raw samples.
inline records::MissionRecord recordOf(const std::vector<int>& samples, int interval = 15,
                                       generator::Scenario scenario = generator::Scenario::Finished)
{
    generator::GeneratorOptions o;
    o.scenario = scenario;
    o.samples = int(samples.size());
    o.interval = interval;
    records::MissionRecord r;
    r.setBytes(0, generator::generateImage(o));
    for (size_t k = 0; k < samples.size(); ++k)
        r.setByte(records::kSampleBase + qint64(k), quint8(samples[k]));
    r.LeeAuditoria();
    return r;
}

inline records::MissionRecord generatedRecord(generator::Scenario scenario, int samples, int interval = 15)
{
    generator::GeneratorOptions o;
    o.scenario = scenario;
    o.samples = samples;
    o.interval = interval;
    records::MissionRecord r;
    r.setBytes(0, generator::generateImage(o));
    r.LeeAuditoria();
    return r;
}

} // namespace orvan::views::graphdata
