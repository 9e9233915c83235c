#pragma once
// A decoded record built from a few header values and samples, for the view tests.

#include "records/RecordImages.h"

#include <vector>

namespace orvan::views::testdata {

struct Header {
    int samples = 0;           // NumMuestras
    int lo = 84, hi = 96;      // raw limits: 2 and 8 °C
    int interval = 15;         // Rango
    bool circular = false;
    int status = 0;
};

inline records::MissionRecord makeRecord(const Header& h, const std::vector<int>& samples = {})
{
    records::MissionRecord r;
    records::testdata::putSampleCount(r, h.samples);
    records::testdata::putStamp(r, 30, 14, 6, 12, 26);   // 6 Dec 2026 14:30
    r.setByte(11, quint8(h.lo));
    r.setByte(12, quint8(h.hi));
    r.setByte(13, quint8(h.interval));
    r.setByte(256, h.circular ? 8 : 0);
    r.setByte(258, quint8(h.status));
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
