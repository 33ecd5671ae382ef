// The benchmark's four sequences: start views and the exact per-frame factors.
#include "core/benchmark/benchmarksequences.h"
#include "core/view/iterationlimit.h"

#include <gtest/gtest.h>

namespace velq {
namespace {

TEST(BenchmarkSequences, FactorsAreTheNearestFloats) {
    const double factors[] = {0.8999999761581421, 0.8999999761581421, 1.25, 1.0309277772903442};
    for (int tag = 1; tag <= 4; ++tag) {
        const std::optional<BenchmarkSequence> s = benchmarkSequence(tag);
        ASSERT_TRUE(s) << tag;
        EXPECT_EQ(s->tag, tag);
        EXPECT_EQ(static_cast<double>(s->factor), factors[tag - 1]) << tag;
        EXPECT_EQ(allowedLimit(s->start.it), s->start.it) << tag;
    }
}

TEST(BenchmarkSequences, StartViews) {
    EXPECT_EQ(benchmarkSequence(1)->frames, 200);
    EXPECT_EQ(benchmarkSequence(2)->start, mkMandat(-1.9415584659357656, 0.00011277206327090914,
                                                    5.0000003826749175, 2048, 0x281, 771));
    EXPECT_EQ(benchmarkSequence(3)->start.w, 2.7260158745e-09);
    EXPECT_EQ(benchmarkSequence(4)->start, mkMandat(-1.56947810295, 2e-08, 3e-06, 1024, 1857, 470));
    EXPECT_EQ(benchmarkSequence(4)->frames, 450);
}

TEST(BenchmarkSequences, OtherTagsGiveNothing) {
    for (int tag : {0, 5, -1})
        EXPECT_FALSE(benchmarkSequence(tag)) << tag;
}

} // namespace
} // namespace velq
