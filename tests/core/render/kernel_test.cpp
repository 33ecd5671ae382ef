// Escape counts, pixel geometry and the work counter of the plain kernel.
#include "core/render/kernel.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace velq {
namespace {

int count(double cr, double ci, int limit) {
    std::int64_t iterations = 0;
    return escapeCount(cr, ci, limit, iterations);
}

TEST(EscapeCount, PointsThatNeverEscape) {
    for (double c : {0.0, -2.0, -1.5, 0.25})
        for (int limit : {1, 2, 256, 32768})
            EXPECT_EQ(count(c, 0.0, limit), 0) << c << " " << limit;
}

TEST(EscapeCount, FirstIteratesAndBailoutIsStrict) {
    EXPECT_EQ(count(3.0, 0.0, 1024), 2);
    EXPECT_EQ(count(2.0, 0.0, 1024), 3); // |z1|^2 = 4 is not greater than 4
    EXPECT_EQ(count(1.0, 1.0, 1024), 3);
    EXPECT_EQ(count(0.5, 0.0, 6), 6);
    EXPECT_EQ(count(0.5, 0.0, 5), 0);
    EXPECT_EQ(count(0.5, 0.0, 32768), 6);
}

TEST(EscapeCount, LimitsOfOneTwoAndBelow) {
    for (double c : {3.0, 0.5, 0.0})
        EXPECT_EQ(count(c, 0.0, 1), 0);
    EXPECT_EQ(count(3.0, 0.0, 2), 2);
    EXPECT_EQ(count(1.5, 0.0, 2), 0);
    EXPECT_EQ(count(3.0, 0.0, 0), 0);
    EXPECT_EQ(count(3.0, 0.0, -5), 0);
}

TEST(EscapeCount, LargeCountsWrapIntoOneToThousand) {
    EXPECT_EQ(count(0.2500098, 0.0, 1003), 3);
    EXPECT_EQ(count(0.2500098, 0.0, 1002), 0);
    EXPECT_EQ(count(0.250009, 0.0, 32768), 46);
    EXPECT_EQ(count(0.250009, 0.0, 1024), 0);
}

TEST(EscapeCount, NanAndInfinityRunToTheLimit) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::int64_t iterations = 0;
    EXPECT_EQ(escapeCount(nan, 0.0, 300, iterations), 0);
    EXPECT_EQ(iterations, 300);
    EXPECT_EQ(count(inf, 0.0, 300), 2); // inf^2 > 4 at once
    EXPECT_EQ(count(0.0, inf, 300), 2);
}

TEST(EscapeCount, IterationsSpent) {
    std::int64_t iterations = 0;
    escapeCount(0.0, 0.0, 700, iterations); // inside: the full limit
    EXPECT_EQ(iterations, 700);
    iterations = 0;
    escapeCount(3.0, 0.0, 700, iterations); // escapes at z1: one iteration
    EXPECT_EQ(iterations, 1);
    iterations = 0;
    escapeCount(0.250009, 0.0, 32768, iterations); // raw count 1046: escapes at z1045
    EXPECT_EQ(iterations, 1045);
}

TEST(KernelFrame, StartViewGeometry) {
    const KernelFrame f = KernelFrame::of(MANDAT{0, 0, 2, 1024, 0x782, 0}, 320, 240, 256);
    EXPECT_EQ(f.s, 4.0 / 240.0);
    EXPECT_EQ(f.hx, 160);
    EXPECT_EQ(f.hy, 120);
    // Pixel (i, j) samples (x + (i - hx) s) + i (y - (j - hy) s).
    auto sample = [&](int i, int j) {
        return std::pair{static_cast<double>(i - f.hx) * f.s + f.x,
                         static_cast<double>(j - f.hy) * (-f.s) + f.y};
    };
    EXPECT_EQ(sample(0, 0), std::pair(-160 * (4.0 / 240.0), 120 * (4.0 / 240.0)));
    EXPECT_NEAR(sample(0, 0).first, -8.0 / 3.0, 1e-15);
    EXPECT_EQ(sample(0, 0).second, 2.0);
    EXPECT_EQ(sample(160, 120), std::pair(0.0, 0.0));
    EXPECT_NEAR(sample(319, 239).first, 159.0 / 60.0, 1e-15);
    EXPECT_NEAR(sample(319, 239).second, -119.0 / 60.0, 1e-15);
}

// A whole picture against a loop written here from the definition of the picture.
TEST(ReferenceRows, WholeStartViewMatchesPlainLoop) {
    const int winx = 320, winy = 240, limit = 256;
    const KernelFrame f = KernelFrame::of(MANDAT{0, 0, 2, 1024, 0x782, 0}, winx, winy, limit);
    std::vector<std::int16_t> mandel(winx * winy, -7);
    std::int64_t total = 0;
    for (int r0 = 0; r0 < winy; r0 += 4)
        total += referenceRows(f, r0, 4, 1, mandel.data());

    const double s = 4.0 / 240.0;
    std::int64_t expectedTotal = 0;
    for (int j = 0; j < winy; ++j) {
        for (int i = 0; i < winx; ++i) {
            const double cr = static_cast<double>(i - 160) * s + 0.0;
            const double ci = static_cast<double>(j - 120) * (-s) + 0.0;
            double zr = 0, zi = 0;
            int n = 0, stored = 0;
            for (n = 1; n < limit; ++n) { // z_n for n = 1 .. limit - 1
                const double nr = zr * zr - zi * zi + cr;
                zi = 2 * zr * zi + ci;
                zr = nr;
                if (zr * zr + zi * zi > 4.0) {
                    stored = (n + 1 - 1) % 1000 + 1;
                    break;
                }
            }
            expectedTotal += stored ? n : limit;
            ASSERT_EQ(mandel[j * winx + i], stored) << i << "," << j;
        }
    }
    EXPECT_EQ(total, expectedTotal);
}

TEST(ReferenceRows, StrideFourWritesOnlyEveryFourthColumnOfOneRow) {
    const KernelFrame f = KernelFrame::of(MANDAT{0, 0, 2, 256, 0, 0}, 32, 16, 256);
    std::vector<std::int16_t> mandel(32 * 16, -1);
    referenceRows(f, 4, 1, 4, mandel.data());
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 32; ++i)
            EXPECT_EQ(mandel[j * 32 + i] != -1, j == 4 && i % 4 == 0) << i << "," << j;
}

} // namespace
} // namespace velq
