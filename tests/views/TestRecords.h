#pragma once
// Records for the view tests: a blank image with a few header values and samples (testdata), or
// a generated record with chosen samples written over its data (graphdata).

#include "records/RecordImages.h"
#include "tools/generator/RecordGenerator.h"

#include <vector>

namespace orvan::views::testdata {

// The sample count, the raw limits (2 and 8 °C), the minutes between samples, circular writing, status.
struct Header { int samples = 0, lo = 84, hi = 96, interval = 15; bool circular = false; int status = 0; };

// Started 6 Dec 2026 14:30.
inline records::MissionRecord makeRecord(const Header& h, const std::vector<int>& samples = {})
{
    records::MissionRecord r;
    records::testdata::putSampleCount(r, h.samples);
    records::testdata::putStamp(r, 30, 14, 6, 12, 26);
    for (const auto& [at, v] : {std::pair{11, h.lo}, {12, h.hi}, {13, h.interval}, {256, h.circular ? 8 : 0},
                                {258, h.status}})
        r.setByte(at, quint8(v));
    for (size_t k = 0; k < samples.size(); ++k)
        r.setByte(records::kSampleBase + qint64(k), quint8(samples[k]));
    r.LeeAuditoria();
    return r;
}

// The logger's count for value index i.
inline void putCount(records::MissionRecord& r, int i, int count)
{
    r.setByte(4096 + 2 * i, quint8(count >> 8));
    r.setByte(4096 + 2 * i + 1, quint8(count & 0xFF));
}

} // namespace orvan::views::testdata

namespace orvan::views::graphdata {

// A mission of the scenario, a sample every interval minutes from 2024-03-01 10:00, limits 2 and
// 8 °C (raw 84 and 96); with samples given, a stopped one holding exactly these raw samples.
inline records::MissionRecord generatedRecord(generator::Scenario scenario, int samples, int interval = 15,
                                              const std::vector<int>& raw = {})
{
    generator::GeneratorOptions o;
    o.scenario = scenario;
    o.samples = samples;
    o.interval = interval;
    records::MissionRecord r;
    r.setBytes(0, generator::generateImage(o));
    for (size_t k = 0; k < raw.size(); ++k)
        r.setByte(records::kSampleBase + qint64(k), quint8(raw[k]));
    r.LeeAuditoria();
    return r;
}

inline records::MissionRecord recordOf(const std::vector<int>& samples, int interval = 15)
{
    return generatedRecord(generator::Scenario::Finished, int(samples.size()), interval, samples);
}

} // namespace orvan::views::graphdata
