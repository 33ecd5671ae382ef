// Traps around attracting cycles: found where they should be, and sound wherever found.
#include "core/render/cycletrap.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace velq {
namespace {

// The plain loop's step, in its order of operations.
void step(double& zr, double& zi, double cr, double ci) {
    const double zr2 = zr * zr, zi2 = zi * zi, zrzi = zr * zi;
    zr = (zr2 - zi2) + cr;
    zi = (zrzi + zrzi) + ci;
}

bool hasTrap(const CycleTrap& t) {
    return t.r0sq >= 0.0 || t.r1sq >= 0.0;
}

// Random samples in the main cardioid (c = m − m² with |m| < 1/2) and in the period-2 disc,
// both up to their edges.
struct Sample {
    double cr, ci;
};
Sample cardioidSample(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> angle(0.0, 6.283185307179586), radius(0.0, 0.5);
    const double r = radius(rng), a = angle(rng);
    const double mr = r * std::cos(a), mi = r * std::sin(a);
    return {mr - (mr * mr - mi * mi), mi - 2.0 * mr * mi};
}
Sample periodTwoSample(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> angle(0.0, 6.283185307179586), radius(0.0, 0.25);
    const double r = radius(rng), a = angle(rng);
    return {-1.0 + r * std::cos(a), r * std::sin(a)};
}

double distance(double zr, double zi, double mr, double mi) {
    return std::sqrt((zr - mr) * (zr - mr) + (zi - mi) * (zi - mi));
}

// A trap maps itself into itself: from anywhere in the first disc, the plain loop's orbit
// visits the discs in turn (of period 2: the second disc after each odd step), so it never
// passes the bailout. Points start right at the edge, where a disc too large would leak.
void expectSound(const CycleTrap& t, double cr, double ci, std::mt19937_64& rng) {
    const double r0 = std::sqrt(t.r0sq / (1.0 - 1e-9)); // the radius before the safety margin
    const double r1 = t.r1sq < 0.0 ? r0 : std::sqrt(t.r1sq / (1.0 - 1e-9));
    const double m1r = t.r1sq < 0.0 ? t.m0r : t.m1r, m1i = t.r1sq < 0.0 ? t.m0i : t.m1i;
    std::uniform_real_distribution<double> angle(0.0, 6.283185307179586), share(0.0, 1.0);
    for (int start = 0; start < 16; ++start) {
        const double a = angle(rng), s = start % 2 ? 1.0 - 1e-7 : share(rng);
        double zr = t.m0r + std::cos(a) * r0 * s, zi = t.m0i + std::sin(a) * r0 * s;
        for (int n = 1; n <= 200; ++n) {
            step(zr, zi, cr, ci);
            const bool odd = n % 2 == 1;
            ASSERT_LE(distance(zr, zi, odd ? m1r : t.m0r, odd ? m1i : t.m0i),
                      (odd ? r1 : r0) * (1.0 + 1e-9))
                << "c = " << cr << " " << ci << ", step " << n;
            ASSERT_LE(zr * zr + zi * zi, 1.9 * 1.9);
        }
    }
}

TEST(CycleTrap, InsidePointsOfBothComponentsGetSoundTraps) {
    std::mt19937_64 rng(7);
    int found = 0;
    const int samples = 3000;
    for (int k = 0; k < samples; ++k) {
        const Sample c = k % 2 ? cardioidSample(rng) : periodTwoSample(rng);
        const CycleTrap t = cycleTrapFor(c.cr, c.ci);
        if (!hasTrap(t)) continue;
        ++found;
        expectSound(t, c.cr, c.ci, rng);
        if (testing::Test::HasFatalFailure()) return;
    }
    // Only samples right at an edge, where the cycle barely attracts, go without.
    EXPECT_GT(found, samples * 9 / 10);
}

TEST(CycleTrap, TheOrbitOfAnInsidePointEntersItsTrap) {
    const Sample samples[] = {{-0.1, 0.1}, {0.2, 0.3}, {-1.0, 0.05}, {-0.9, -0.1}, {-0.7, 0.2}};
    for (const Sample& c : samples) {
        const CycleTrap t = cycleTrapFor(c.cr, c.ci);
        ASSERT_TRUE(hasTrap(t)) << c.cr << " " << c.ci;
        double zr = 0.0, zi = 0.0;
        int n = 0;
        for (; n < 10000 && !t.holds(zr, zi); ++n)
            step(zr, zi, c.cr, c.ci);
        EXPECT_LT(n, 10000) << c.cr << " " << c.ci;
    }
}

TEST(CycleTrap, NoTrapOutsideTheComponentsOnTheirEdgesOrForStrangeSamples) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    // Outside, on the edges (where the cycle no longer attracts), and no numbers at all.
    const Sample none[] = {{0.3, 0.0},  {0.25, 0.0},    {-0.75, 0.0}, {-1.25, 0.0},   {-2.0, 0.0},
                           {-1.5, 0.0}, {0.0, 1.0},     {-0.75, 0.1}, {kNaN, 0.0},    {0.0, kNaN},
                           {kInf, 0.0}, {-kInf, -kInf}, {1e308, 0.0}, {-1e308, 1e308}};
    for (const Sample& c : none) {
        const CycleTrap t = cycleTrapFor(c.cr, c.ci);
        EXPECT_FALSE(hasTrap(t)) << c.cr << " " << c.ci;
        EXPECT_FALSE(t.holds(0.0, 0.0));
    }
    // Subnormal parts change nothing.
    const CycleTrap t = cycleTrapFor(-0.1, 1e-320);
    ASSERT_TRUE(hasTrap(t));
    std::mt19937_64 rng(11);
    expectSound(t, -0.1, 1e-320, rng);
    EXPECT_FALSE(t.holds(kNaN, 0.0));
}

} // namespace
} // namespace velq
