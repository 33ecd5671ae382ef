// The benchmark's four sequences and the step from one frame to the next.
#include "core/benchmark/benchmark.h"
#include "core/benchmark/benchmarksequences.h"

#include <gtest/gtest.h>

namespace velq {
namespace {

// Results of a mean of exactly 512 and of 200 iterations per pixel at 320 x 240: a limit
// above 1000 is lowered to 512 only above 512, one below 1000 raised to 1024 only below 200.
TEST(AdaptBenchmarkLimit, StrictThresholdsOnTheMeanPerPixel) {
    const int m512 = 153600, m200 = 60000;
    const int cases[][5] = {
        {1024, m512, 320, 240, 1024},    {1024, m512 + 1, 320, 240, 512},
        {2048, m512 + 1, 320, 240, 512}, {512, m200, 320, 240, 512},
        {512, m200 - 1, 320, 240, 1024}, {999, 0, 320, 240, 1024},
        {1001, 1 << 30, 320, 240, 512},  {1000, 0, 320, 240, 1000},
        {1000, 1 << 30, 320, 240, 1000}, {512, m512 + 1, 320, 240, 512},
        {1024, 0, 320, 240, 1024},       {1024, m512 / 4 + 1, 160, 120, 512},
        {512, 0, 0, 240, 512},           {512, 0, 240, -1, 512},
    };
    for (const auto& [it, result, winx, winy, expected] : cases)
        EXPECT_EQ(adaptBenchmarkLimit(it, result, winx, winy), expected)
            << it << " " << result << " " << winx << "x" << winy;
}

// Each frame widens the float factor to double for the product; only sequence 1 adapts.
TEST(BenchmarkSequences, StartViewsAndFramesZoomedByTheWidenedFactor) {
    const MANDAT starts[] = {
        {-1.76860711170213, -0.00222919071832819, 5.0, 1024, 0x721, 591},
        {-1.9415584659357656, 0.00011277206327090914, 5.0000003826749175, 2048, 0x281, 771},
        {-0.756423894629558, 0.0641794108447811, 2.7260158745e-09, 8192, 0x742, 583},
        {-1.56947810295, 2e-08, 3e-06, 1024, 0x741, 470}};
    const double factors[] = {0.8999999761581421, 0.8999999761581421, 1.25, 1.0309277772903442};
    const int frames[] = {200, 250, 80, 450};
    for (int tag = 1; tag <= 4; ++tag) {
        const BenchmarkSequence s = benchmarkSequence(tag).value();
        EXPECT_EQ(std::tuple(s.tag, s.frames, static_cast<double>(s.factor), s.start),
                  std::tuple(tag, frames[tag - 1], factors[tag - 1], starts[tag - 1]));
        MANDAT v = s.start, want = s.start;
        for (int k = 0; k < 3; ++k) {
            v = nextBenchmarkFrame(v, s.factor, tag, 153601, 320, 240);
            want.w *= factors[tag - 1];
            want.it = tag == 1 ? 512 : want.it;
            EXPECT_EQ(v, want) << tag << " frame " << k;
        }
    }
    for (int tag : {0, 5, -1})
        EXPECT_FALSE(benchmarkSequence(tag)) << tag;
}

} // namespace
} // namespace velq
