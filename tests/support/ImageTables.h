#pragma once
// What a logger's memory image must hold in its count table, alarm tables and alarm bits after the
// given samples, computed again from the samples alone.

#include <QByteArray>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace orvan::test {

inline int imageInt24(const QByteArray& img, int at)
{
    return quint8(img[at]) | quint8(img[at + 1]) << 8 | quint8(img[at + 2]) << 16;
}

// The samples a logger notes in its alarm tables: each that goes past a limit the sample before
// it was within, by its index. A crossing at sample 0 sets the alarm bit but takes no entry, as 0
// is an unused one. A raw limit of 0 is no limit.
struct Crossings {
    std::vector<int> low, high;   // the indexes, in the order taken
    bool anyLow = false, anyHigh = false;
};
inline Crossings crossingsOf(const QByteArray& samples, int low, int high)
{
    Crossings c;
    for (int k = 0; k < samples.size(); ++k) {
        const int raw = quint8(samples[k]), prev = k > 0 ? quint8(samples[k - 1]) : -1;
        const bool crossesLow = raw < low && !(prev >= 0 && prev < low);
        const bool crossesHigh = high != 0 && raw > high && !(prev > high);
        c.anyLow |= crossesLow;
        c.anyHigh |= crossesHigh;
        if (crossesLow && k > 0)
            c.low.push_back(k);
        if (crossesHigh && k > 0)
            c.high.push_back(k);
    }
    return c;
}

inline void expectTablesFollowSamples(const QByteArray& img, const QByteArray& samples)
{
    std::vector<int> counts(256, 0);
    for (const char v : samples)
        ++counts[quint8(v)];
    for (int raw = 0; raw < 512; ++raw) {
        const int entry = quint8(img[4096 + 2 * raw]) * 256 + quint8(img[4097 + 2 * raw]);
        ASSERT_EQ(entry, raw < 256 ? std::min(counts[size_t(raw)], 65535) : 0) << "count of raw " << raw;
    }
    const Crossings c = crossingsOf(samples, quint8(img[11]), quint8(img[12]));
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(imageInt24(img, 1280 + 3 * int(i)), i < c.low.size() ? c.low[i] : 0) << "low entry " << i;
        EXPECT_EQ(imageInt24(img, 1312 + 3 * int(i)), i < c.high.size() ? c.high[i] : 0) << "high entry " << i;
    }
    EXPECT_EQ(bool(img[258] & 4), c.anyLow);
    EXPECT_EQ(bool(img[258] & 2), c.anyHigh);
}

} // namespace orvan::test
