// Stepping benchmark frames: the zoom per frame and sequence 1's limit adaptation.
#include "core/benchmark/benchmark.h"
#include "core/benchmark/benchmarksequences.h"

#include <cmath>
#include <gtest/gtest.h>

namespace velq {
namespace {

// Render results giving a mean of exactly 512 and exactly 200 iterations per 320 x 240 pixel.
constexpr std::int32_t kMean512 = 153600;
constexpr std::int32_t kMean200 = 60000;

TEST(AdaptBenchmarkLimit, ThresholdsAreStrict) {
    struct Case {
        int it;
        std::int32_t result;
        int expected;
    };
    const Case cases[] = {
        {1024, kMean512, 1024},    // exactly 512 does not lower
        {1024, kMean512 + 1, 512}, // just above does
        {2048, kMean512 + 1, 512}, // any limit above 1000
        {512, kMean200, 512},      // exactly 200 does not raise
        {512, kMean200 - 1, 1024}, // just below does
        {999, 0, 1024},            // the largest limit that is raised
        {1001, 1 << 30, 512},      // the smallest limit that is lowered
        {1000, 0, 1000},           // 1000 never changes, however few iterations
        {1000, 1 << 30, 1000},     // nor however many
        {512, kMean512 + 1, 512},  // a low limit is never lowered further
        {1024, 0, 1024},           // a high limit is never raised
    };
    for (const Case& c : cases)
        EXPECT_EQ(adaptBenchmarkLimit(c.it, c.result, 320, 240), c.expected)
            << c.it << " " << c.result;
}

TEST(AdaptBenchmarkLimit, MeanUsesThePixelCount) {
    // The same result is a four times higher mean on a quarter of the pixels.
    EXPECT_EQ(adaptBenchmarkLimit(1024, kMean512 / 4 + 1, 160, 120), 512);
    EXPECT_EQ(adaptBenchmarkLimit(1024, kMean512 / 4 + 1, 320, 240), 1024);
    EXPECT_EQ(adaptBenchmarkLimit(512, 0, 0, 240), 512);
}

TEST(NextBenchmarkFrame, OnlySequenceOneAdapts) {
    const MANDAT v{0.25, -0.5, 1.0, 1024, 0x721, 591};
    for (int tag = 1; tag <= 4; ++tag) {
        const MANDAT next = nextBenchmarkFrame(v, 0.9f, tag, kMean512 + 1, 320, 240);
        EXPECT_EQ(next.it, tag == 1 ? 512 : 1024) << tag;
        EXPECT_EQ(next.x, v.x);
        EXPECT_EQ(next.y, v.y);
        EXPECT_EQ(next.cs, v.cs);
        EXPECT_EQ(next.cp, v.cp);
    }
}

TEST(NextBenchmarkFrame, WidthFollowsTheWidenedFactor) {
    for (int tag = 1; tag <= 4; ++tag) {
        const BenchmarkSequence s = *benchmarkSequence(tag);
        MANDAT v = s.start;
        double expected = s.start.w;
        for (int k = 0; k < s.frames; ++k) {
            v = nextBenchmarkFrame(v, s.factor, tag, kMean200 + 1, 320, 240);
            expected *= static_cast<double>(s.factor);
            ASSERT_EQ(v.w, expected) << tag << " frame " << k;
        }
        // After frame k the width is the start width times factor^(k + 1), up to rounding.
        const double power = std::pow(static_cast<double>(s.factor), s.frames);
        EXPECT_NEAR(v.w / (s.start.w * power), 1.0, 1e-12) << tag;
    }
    // The factor is a float: 0.9f is not 0.9.
    EXPECT_EQ(nextBenchmarkFrame({0, 0, 5.0, 1024, 0, 0}, 0.9f, 2, 0, 320, 240).w,
              5.0 * 0.8999999761581421);
}

} // namespace
} // namespace velq
