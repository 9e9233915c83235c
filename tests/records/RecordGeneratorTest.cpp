// The record generator: images must be what a logger would hold after the same samples.

#include "records/RecordImages.h"
#include "support/ImageTables.h"
#include "tools/generator/RecordGenerator.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace orvan::generator;
using namespace orvan::records;

// Counts, tables and bits computed again from the samples, independently of the generator; and
// the samples where a logger keeps them.
TEST(RecordGenerator, ScenariosGiveConsistentImages)
{
    // scenario, samples (-1: the scenario's own), filled entries in each alarm table (-1: not checked)
    const std::tuple<Scenario, int, int> cases[] = {
        {Scenario::Finished, -1, -1}, {Scenario::Alarms, 2000, 10}, {Scenario::Circular, -1, -1}, {Scenario::Recording, 500, -1},
    };
    for (const auto& [kind, n, entries] : cases) {
        SCOPED_TRACE(testing::Message() << "scenario " << int(kind) << ", " << n);
        GeneratorOptions o;
        o.scenario = kind;
        o.samples = n;
        ASSERT_TRUE(validate(o).isEmpty());
        const QByteArray samples = generateSamples(o);
        const QByteArray img = buildImage(o, samples);
        EXPECT_EQ(generateImage(o), img);
        ASSERT_EQ(img.size(), kImageSize);
        EXPECT_EQ(std::make_tuple(samples.size(), orvan::test::imageInt24(img, 26)), std::make_tuple(sampleCount(o), int(samples.size())));
        EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](char v) { return quint8(v) <= 143; }));
        orvan::test::expectTablesFollowSamples(img, samples);

        const bool circular = kind == Scenario::Circular;
        QByteArray area(kCapacity, '\0');
        for (int k = 0; k < samples.size() && (circular || k < kCapacity); ++k)
            area[k % kCapacity] = samples[k];
        EXPECT_EQ(img.mid(kSampleBase), area);
        EXPECT_EQ(bool(img[256] & 8), circular);
        EXPECT_EQ(img[258] & (2 | 4 | 32 | 64), 2 | 4 | (kind == Scenario::Recording ? 32 : 0));   // both limits crossed
        for (const int table : {1280, 1312}) {
            int filled = 0;
            for (int i = 0; i < 10; ++i)
                filled += orvan::test::imageInt24(img, table + 3 * i) != 0;
            EXPECT_TRUE(entries < 0 || filled == entries) << table;
        }
    }
}
