// The benchmark's four sequences and the step from one frame to the next.
#include "core/benchmark/benchmark.h"
#include "core/benchmark/benchmarksequences.h"
#include "core/view/iterationlimit.h"

#include <gtest/gtest.h>

namespace velq {
namespace {

// Render results giving a mean of exactly 512 and exactly 200 iterations per 320 x 240 pixel.
constexpr std::int32_t kMean512 = 153600;
constexpr std::int32_t kMean200 = 60000;

TEST(AdaptBenchmarkLimit, StrictThresholdsOnTheMeanPerPixel) {
    struct Case {
        int it;
        std::int32_t result;
        int winx, winy, expected;
    };
    const Case cases[] = {
        {1024, kMean512, 320, 240, 1024},
        {1024, kMean512 + 1, 320, 240, 512},
        {2048, kMean512 + 1, 320, 240, 512},
        {512, kMean200, 320, 240, 512},
        {512, kMean200 - 1, 320, 240, 1024},
        {999, 0, 320, 240, 1024},
        {1001, 1 << 30, 320, 240, 512},
        {1000, 0, 320, 240, 1000},
        {1000, 1 << 30, 320, 240, 1000},
        {512, kMean512 + 1, 320, 240, 512},
        {1024, 0, 320, 240, 1024},
        {1024, kMean512 / 4 + 1, 160, 120, 512},
        {512, 0, 0, 240, 512},
        {512, 0, 240, -1, 512},
    };
    for (const Case& c : cases)
        EXPECT_EQ(adaptBenchmarkLimit(c.it, c.result, c.winx, c.winy), c.expected)
            << c.it << " " << c.result << " " << c.winx << "x" << c.winy;
}

TEST(BenchmarkSequences, StartViewsAndFramesZoomedByTheWidenedFactor) {
    const double factors[] = {0.8999999761581421, 0.8999999761581421, 1.25, 1.0309277772903442};
    const int frames[] = {200, 250, 80, 450};
    for (int tag = 1; tag <= 4; ++tag) {
        const BenchmarkSequence s = benchmarkSequence(tag).value();
        EXPECT_EQ(s.tag, tag);
        EXPECT_EQ(s.frames, frames[tag - 1]);
        EXPECT_EQ(static_cast<double>(s.factor), factors[tag - 1]) << tag;
        EXPECT_EQ(allowedLimit(s.start.it), s.start.it) << tag;
        MANDAT v = s.start;
        double w = s.start.w;
        for (int k = 0; k < 3; ++k) {
            v = nextBenchmarkFrame(v, s.factor, tag, kMean512 + 1, 320, 240);
            w *= factors[tag - 1];
            EXPECT_EQ(v, (MANDAT{s.start.x, s.start.y, w, tag == 1 ? 512 : s.start.it, s.start.cs,
                                 s.start.cp}))
                << tag << " frame " << k;
        }
    }
    EXPECT_EQ(benchmarkSequence(2)->start, (MANDAT{-1.9415584659357656, 0.00011277206327090914,
                                                   5.0000003826749175, 2048, 0x281, 771}));
    EXPECT_EQ(benchmarkSequence(3)->start.w, 2.7260158745e-09);
    EXPECT_EQ(benchmarkSequence(4)->start,
              (MANDAT{-1.56947810295, 2e-08, 3e-06, 1024, 0x741, 470}));
    EXPECT_EQ(benchmarkSequence(1)->start,
              (MANDAT{-1.76860711170213, -0.00222919071832819, 5.0, 1024, 0x721, 591}));
    for (int tag : {0, 5, -1})
        EXPECT_FALSE(benchmarkSequence(tag)) << tag;
}

} // namespace
} // namespace velq
