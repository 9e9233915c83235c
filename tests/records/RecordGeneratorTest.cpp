// The record generator: images must be what a logger would hold after the same samples.

#include "records/RecordImages.h"
#include "support/ImageTables.h"
#include "tools/generator/RecordGenerator.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace orvan::generator;
using namespace orvan::records;

namespace {

int filled(const QByteArray& img, int table)
{
    int n = 0;
    for (int i = 0; i < 10; ++i)
        n += orvan::test::imageInt24(img, table + 3 * i) != 0;
    return n;
}

// Counts, tables and bits computed again from the samples, independently of the generator; and
// the samples where a logger keeps them.
void checkConsistency(const GeneratorOptions& o, const QByteArray& sampleBytes, const QByteArray& img)
{
    ASSERT_EQ(img.size(), kImageSize);
    EXPECT_EQ(orvan::test::imageInt24(img, 26), sampleBytes.size());
    for (const char v : sampleBytes)
        ASSERT_LE(quint8(v), 143);
    orvan::test::expectTablesFollowSamples(img, sampleBytes);

    const bool circular = o.scenario == Scenario::Circular;
    EXPECT_EQ(bool(img[256] & 8), circular);
    QByteArray area(kCapacity, '\0');
    for (int k = 0; k < sampleBytes.size(); ++k) {
        if (circular)
            area[k % kCapacity] = sampleBytes[k];
        else if (k < kCapacity)
            area[k] = sampleBytes[k];
    }
    EXPECT_EQ(img.mid(kSampleBase), area);
}

} // namespace

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
        const QByteArray sampleBytes = generateSamples(o);
        EXPECT_EQ(sampleBytes.size(), sampleCount(o));
        const QByteArray img = buildImage(o, sampleBytes);
        checkConsistency(o, sampleBytes, img);
        EXPECT_EQ(generateImage(o), img);
        EXPECT_EQ(img[258] & 6, 6);   // a cold-chain mission crosses both limits
        if (entries >= 0) {
            EXPECT_EQ(filled(img, 1280), entries);
            EXPECT_EQ(filled(img, 1312), entries);
        }
        EXPECT_EQ(bool(img[258] & 32), kind == Scenario::Recording);
        EXPECT_FALSE(img[258] & 64);
    }
}
