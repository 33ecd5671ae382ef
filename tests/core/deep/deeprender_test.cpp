// The deep renderer against brute force in MPFR: live on views cheap enough for it, and on
// the fixtures that velq_deep_oracle wrote for the heavy ones (the DeepHeavy suite, left out
// of the sanitizer runs). A view passes when at least 99.5 % of its raw counts are the
// oracle's; nothing patches pixels afterwards.
#include "bruteforce.h"
#include "core/deep/deepplan.h"
#include "core/deep/deeprender.h"
#include "core/deep/nucleus.h"
#include "core/render/renderworkers.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <tuple>

namespace velq {
namespace {

const std::atomic<int> kRendering{RenderStatus::Rendering};

DeepView viewOf(const char* x, const char* y, const char* w, std::int32_t limit) {
    const ExtFloat wide = *ExtFloat::parse(w);
    return {*Real::parse(x, oracleBits(wide)), *Real::parse(y, oracleBits(wide)), wide, limit};
}

std::vector<std::int32_t> rawCounts(const DeepPlan& plan) {
    std::vector<std::int32_t> counts;
    for (int j = 0; j < plan.winy(); ++j)
        for (int i = 0; i < plan.winx(); ++i)
            counts.push_back(deepCount(plan, i, j).raw);
    return counts;
}

// The share of equal counts, and the first pixels that differ.
struct Agreement {
    double share = 0;
    std::string firstMisses;
};
Agreement agreement(const std::vector<std::int32_t>& got, const std::vector<std::int32_t>& want,
                    int winx) {
    Agreement a;
    int same = 0, shown = 0;
    std::ostringstream misses;
    for (std::size_t k = 0; k < want.size(); ++k) {
        if (got[k] == want[k]) {
            ++same;
        } else if (shown++ < 5) {
            misses << " (" << k % winx << "," << k / winx << "): " << got[k] << " not " << want[k];
        }
    }
    a.share = static_cast<double>(same) / static_cast<double>(want.size());
    a.firstMisses = misses.str();
    return a;
}

constexpr const char* kSeahorseX = "-0.743643887037158704752191506114774";
constexpr const char* kSeahorseY = "0.131825904205311970493132056385139";

// Small pictures that brute force settles in a fraction of a second, the limits of the plain
// loop's edges included (a limit of 1 or 2 tests no z at all or only z_1).
TEST(DeepRender, CountsEqualLiveBruteForce) {
    struct Case {
        const char* name;
        DeepView view;
        int winx, winy;
    };
    const Case cases[] = {
        {"seahorse 1e-16", viewOf(kSeahorseX, kSeahorseY, "1e-16", 16384), 12, 8},
        {"seahorse limit 1", viewOf(kSeahorseX, kSeahorseY, "1e-16", 1), 8, 6},
        {"seahorse limit 2", viewOf(kSeahorseX, kSeahorseY, "1e-16", 2), 8, 6},
        {"i 1e-30 odd size", viewOf("0", "1", "1e-30", 256), 15, 9},
        // Limits one below the commonest raw count: z_limit escapes there but is never tested.
        {"i 1e-30 limit 82", viewOf("0", "1", "1e-30", 82), 15, 9},
        {"i 1e-300 limit 798, wide", viewOf("0", "1", "1e-300", 798), 6, 4},
        {"escaping centre", viewOf("0.2501", "0", "1e-20", 3000), 12, 8},
        {"inside, limit 0", viewOf("-1", "0", "1e-20", 0), 4, 4},
    };
    for (const Case& c : cases) {
        const auto plan = prepareDeep(c.view, c.winx, c.winy, kRendering);
        ASSERT_TRUE(plan) << c.name;
        const auto want = bruteForcePicture(c.view, c.winx, c.winy, oracleBits(c.view.w));
        const Agreement a = agreement(rawCounts(*plan), want, c.winx);
        EXPECT_EQ(a.share, 1.0) << c.name << a.firstMisses;
    }
}

// The workers run deepRows like any kernel: counts folded into 1..1000, the work of every
// pixel (n for an escape at z_n, the limit for none) in each group's total, and coarse rows at
// stride 4.
TEST(DeepRender, WorkersFoldTheCountsAndAddTheWork) {
    const DeepView view = viewOf(kSeahorseX, kSeahorseY, "1e-16", 16384);
    const auto plan = prepareDeep(view, 24, 14, kRendering);
    ASSERT_TRUE(plan);
    std::int64_t expectedWork = 0;
    int aboveTwoThousand = 0;
    std::vector<std::int16_t> expected(24 * 14);
    for (int r0 = 0; r0 < 14; r0 += 4) {
        std::int64_t group = 0;
        for (int j = r0; j < std::min(r0 + 4, 14); ++j) {
            for (int i = 0; i < 24; ++i) {
                const DeepCount c = deepCount(*plan, i, j);
                group += c.work;
                EXPECT_EQ(c.work, c.raw == 0 ? 16384 : c.raw - 1) << i << "," << j;
                aboveTwoThousand += c.raw > 2000;
                std::int32_t folded = c.raw;
                while (folded > 1000)
                    folded -= 1000;
                expected[j * 24 + i] = static_cast<std::int16_t>(folded);
            }
        }
        expectedWork += group >> 8; // what RenderWorkers adds per group
    }
    EXPECT_GT(aboveTwoThousand, 100); // counts that fold more than once
    RenderWorkers workers(kRendering);
    std::vector<std::int16_t> mandel(24 * 14, -7);
    EXPECT_EQ(workers.run(deepFrame(plan), mandel.data(), deepRows), expectedWork);
    EXPECT_EQ(mandel, expected);

    std::vector<std::int16_t> coarse(24 * 14, -7);
    deepRows(deepFrame(plan), 4, 1, 4, coarse.data());
    for (int i = 0; i < 24 * 14; ++i) {
        const bool sampled = i / 24 == 4 && i % 4 == 0;
        EXPECT_EQ(coarse[i], sampled ? expected[i] : -7) << i;
    }
}

// The orbit of `previous` serves the same centre at any size and any lower or equal limit,
// and is carried on for a raised one; another centre or width starts afresh. Counts are those
// of a plan made from nothing.
TEST(DeepPlan, ReusesTheOrbitOfTheSameCentre) {
    const DeepView base = viewOf(kSeahorseX, kSeahorseY, "1e-18", 1024);
    const auto first = prepareDeep(base, 16, 12, kRendering);
    ASSERT_TRUE(first);
    struct Case {
        const char* name;
        DeepView view;
        int winx, winy;
        bool shared;
    };
    DeepView raised = base, other = base, deeper = base;
    raised.it = 4096;
    other.x = *Real::parse("-0.74364388703715870475219150611", oracleBits(base.w));
    deeper.w = *ExtFloat::parse("1e-30");
    const Case cases[] = {
        {"redraw", base, 16, 12, true},    {"resize", base, 20, 8, true},
        {"raised", raised, 16, 12, false}, {"other centre", other, 16, 12, false},
        {"deeper", deeper, 16, 12, false},
    };
    for (const Case& c : cases) {
        const auto plan = prepareDeep(c.view, c.winx, c.winy, kRendering, first);
        ASSERT_TRUE(plan) << c.name;
        EXPECT_EQ(plan->sharedOrbit() == first->sharedOrbit(), c.shared) << c.name;
        const auto fresh = prepareDeep(c.view, c.winx, c.winy, kRendering);
        const std::size_t bytes = (plan->orbit().last() + 1u) * sizeof(Cd);
        EXPECT_EQ(plan->orbit().last(), fresh->orbit().last()) << c.name;
        EXPECT_EQ(std::memcmp(plan->orbit().data(), fresh->orbit().data(), bytes), 0) << c.name;
        EXPECT_EQ(rawCounts(*plan), rawCounts(*fresh)) << c.name;
    }
}

// A movie's frames zooming towards a key share the key's orbit while it lies in their
// pictures (here 7.5 pixels left of their centres); their counts are those of an orbit of
// their own. A key outside the picture, or wider than the frame, is not taken.
TEST(DeepPlan, FramesShareTheOrbitOfTheKeyTheyZoomTowards) {
    const DeepView key = viewOf(kSeahorseX, kSeahorseY, "1e-24", 16384);
    const auto frameAt = [&key](double right, double w) {
        return DeepView{key.x + ExtFloat(right), key.y, ExtFloat(w), key.it};
    };
    const DeepView near = frameAt(5e-20, 1e-19), nearer = frameAt(5e-21, 1e-20);
    const auto first = prepareDeep(near, 40, 30, kRendering, {}, &key);
    const auto second = prepareDeep(nearer, 40, 30, kRendering, first, &key);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->sharedOrbit(), second->sharedOrbit());
    const auto centredOnKey = [&key](const DeepPlan& plan) {
        return plan.orbit().cx() == key.x.withBits(plan.orbit().bits());
    };
    EXPECT_TRUE(centredOnKey(*first));
    for (const auto& [view, plan] : {std::pair{near, first}, std::pair{nearer, second}}) {
        const auto own = prepareDeep(view, 40, 30, kRendering);
        EXPECT_GE(agreement(rawCounts(*plan), rawCounts(*own), 40).share, 0.995);
        // The maps hold for every pixel, off the key's centre as they are.
        for (const auto& [i, j] : {std::pair{0, 0}, {39, 0}, {0, 29}, {39, 29}}) {
            const auto [dx, dy] = plan->delta(i, j);
            EXPECT_LE(std::hypot(dx.toDouble(), dy.toDouble()), plan->doubleBla()->dcMax());
        }
    }
    DeepView wider = key;
    wider.w = ExtFloat(1e-18);
    EXPECT_FALSE(centredOnKey(*prepareDeep(frameAt(5e-19, 1e-19), 40, 30, kRendering, {}, &key)));
    EXPECT_FALSE(centredOnKey(*prepareDeep(nearer, 40, 30, kRendering, {}, &wider)));
}

TEST(DeepPlan, StopsWhenAborted) {
    const std::atomic<int> stop{RenderStatus::AbortStop};
    EXPECT_FALSE(prepareDeep(viewOf("0", "1", "1e-30", 65536), 64, 48, stop));
}

// Only views deeper than the doubles reach, or with limits beyond theirs, take the deep
// renderer; a stopped plan gives no frame, while a double frame never stops.
TEST(DeepRenders, ChooseTheRendererByDepthAndLimit) {
    const std::tuple<const char*, const char*, std::int32_t, bool> cases[] = {
        {"carried", "1e-10", 1024, false},
        {"past the threshold", "4e-15", 1024, true},
        {"past the limits", "1e-10", 65536, true}};
    const std::atomic<int> stop{RenderStatus::AbortStop};
    for (const auto& [name, w, limit, deep] : cases) {
        MANDAT v{-0.75, 0.1, 1e-10, 1024, 0, 0};
        v.deep = std::make_shared<const DeepView>(viewOf("-0.75", "0.1", w, limit));
        DeepRenders renders;
        const auto frame = renders.frame(v, 32, 24, 1024, kRendering);
        ASSERT_TRUE(frame) << name;
        EXPECT_EQ(frame->deep != nullptr, deep) << name;
        EXPECT_EQ(DeepRenders::kernel(*frame, referenceRows) == deepRows, deep) << name;
        EXPECT_EQ(renders.frame(v, 32, 24, 1024, stop).has_value(), !deep) << name;
    }
}

// A band of a poster is the whole picture's frame with fewer rows and its centre row moved
// up: its rows are those of the whole picture's plan.
TEST(DeepRenders, BandsAreRowsOfTheWholePicture) {
    MANDAT v{0, 1, 1e-30, 1024, 0, 0};
    v.deep = std::make_shared<const DeepView>(viewOf("0", "1", "1e-30", 1024));
    DeepRenders renders;
    const KernelFrame whole = *renders.frame(v, 32, 24, 1024, kRendering);
    std::vector<std::int16_t> all(32 * 24), band(32 * 8);
    RenderWorkers workers(kRendering);
    workers.run(whole, all.data(), deepRows, 2);
    KernelFrame rows = whole;
    rows.winy = 8;
    rows.hy = whole.hy - 8; // rows 8 to 15
    workers.run(rows, band.data(), deepRows, 2);
    EXPECT_TRUE(std::equal(band.begin(), band.end(), all.begin() + 32 * 8));
}

// A long orbit keeps its tables within the bound by starting them at a higher level.
TEST(DeepHeavy, TablesStayWithinTheirBound) {
    const auto plan = prepareDeep(viewOf("-1", "0", "1e-20", 1 << 21), 64, 48, kRendering);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->orbit().last(), 1 << 21);
    EXPECT_LE(plan->doubleBla()->bytes(), DoubleBla::kMaxBytes);
    EXPECT_GT(plan->doubleBla()->low(), 1);
}

// The period-3 nuclei are known to many digits; the period-133 one is where the valley view
// of the deep benchmark sits (its size puts the minibrot at 1e-99).
TEST(Nucleus, PeriodNucleusAndSize) {
    struct Case {
        const char *x, *y, *radius;
        int period;
        const char *nx, *ny;
        double size, degrees;
    };
    const Case cases[] = {
        {"-1.75", "0", "0.05", 3, "-1.7548776662466927600495088963585286918946", "0", 1.904e-2, 0},
        {"-0.1", "0.7", "0.1", 3, "-0.1225611668766536199752455518207356540527",
         "0.7448617666197442365931704286043923672402", 1.889e-1, -92.89},
        {"0", "1", "1e-50", 133, "-0.0000000000000000000000000000000000000000000000000287467387",
         "0.9999999999999999999999999999999999999999999999999903918780", 1.386e-99, 172.65},
    };
    for (const Case& c : cases) {
        const long bits = 400;
        const auto n = findNucleus(*Real::parse(c.x, bits), *Real::parse(c.y, bits),
                                   *ExtFloat::parse(c.radius), 1000, bits);
        ASSERT_TRUE(n) << c.x;
        EXPECT_EQ(n->period, c.period) << c.x;
        // The digits given, and nothing beyond them.
        const Real tolerance = *Real::parse(c.period == 3 ? "1e-40" : "1e-58", bits);
        Real dx = n->x - *Real::parse(c.nx, bits), dy = n->y - *Real::parse(c.ny, bits);
        mpfr_abs(dx.get(), dx.get(), MPFR_RNDN);
        mpfr_abs(dy.get(), dy.get(), MPFR_RNDN);
        EXPECT_TRUE(dx < tolerance && dy < tolerance) << c.x << ": " << n->x.fixed(60);
        EXPECT_NEAR(n->size.toDouble() / c.size, 1, 1e-3) << c.x;
        EXPECT_NEAR(n->degrees, c.degrees, 0.01) << c.x;
    }
}

// At a nucleus the reference comes back nearer to 0 than any double: such a Z is kept aside,
// both of its parts, and read back whole.
TEST(ReferenceOrbit, KeepsTheCloseApproachesBelowTheDoubles) {
    const long bits = 4000;
    const auto n = findNucleus(*Real::parse("-0.1", bits), *Real::parse("0.7", bits),
                               *ExtFloat::parse("0.1"), 10, bits);
    ASSERT_TRUE(n && n->period == 3);
    const auto orbit = ReferenceOrbit::compute(n->x, n->y, bits, 8, kRendering);
    ASSERT_TRUE(orbit);
    Real x(bits), y(bits);
    for (int k = 0; k < 3; ++k) { // Z_3, rounded as the orbit rounds it
        const Real xy = x * y;
        x = x * x - y * y + n->x;
        y = xy + xy + n->y;
    }
    ASSERT_FALSE(mpfr_zero_p(x.get()));
    const Cw z = orbit->wideAt(3);
    for (const auto& [part, exact] : {std::pair{z.re, &x}, std::pair{z.im, &y}}) {
        long e = 0;
        const double m = mpfr_get_d_2exp(&e, exact->get(), MPFR_RNDN);
        if (m == 0.0)
            EXPECT_EQ(part, 0.0);
        else
            EXPECT_NEAR(std::ldexp(part / m, static_cast<int>(z.e - e)), 1.0, 1e-15);
    }
}

// Inside points are proven by an attracting cycle found by Newton's method, at the cycle's
// own period even from a multiple of it; outside the minibrot no cycle is proven.
TEST(DeepPlan, ProvesInsideByAnAttractingCycle) {
    const long bits = 400;
    const auto n = findNucleus(*Real::parse("0", bits), *Real::parse("1", bits),
                               *ExtFloat::parse("1e-50"), 1000, bits);
    ASSERT_TRUE(n);
    const auto plan = prepareDeep({n->x, n->y, n->size, 4096}, 8, 8, kRendering);
    ASSERT_TRUE(plan);
    const double size = n->size.toDouble();
    for (const std::int64_t period : {133, 266, 399}) {
        CycleSeed seed;
        seed.period = period;
        EXPECT_TRUE(plan->cycleInside({0.1 * size, -0.05 * size}, seed)) << period;
        EXPECT_EQ(seed.period, 133);
        EXPECT_LT(seed.lambda, 1.0);
        // The seed serves the next pixel, now by the disc about the point it predicts.
        EXPECT_TRUE(plan->cycleInside({0.12 * size, -0.05 * size}, seed)) << period;
    }
    CycleSeed seed;
    seed.period = 133;
    EXPECT_FALSE(plan->cycleInside({3 * size, 0}, seed));
    EXPECT_EQ(deepCount(*plan, 4, 4).raw, 0);
    EXPECT_GT(deepCount(*plan, 0, 0).raw, 0);
}

// The fixtures: 64 x 48 pictures of views too slow for brute force in a test.
TEST(DeepHeavy, CountsEqualTheOraclesFixtures) {
    const char* const names[] = {
        "i_1e-45", "i_1e-300", "seahorse_1e-20", "seahorse_1e-30", "valley133_1e-100", "i_1e-1000",
    };
    for (const char* name : names) {
        std::ifstream in(std::string(VELQ_DEEP_FIXTURES) + "/" + name + ".counts");
        std::stringstream text;
        text << in.rdbuf();
        const std::optional<Fixture> f = parseFixture(text.str());
        ASSERT_TRUE(f) << name;
        const auto plan = prepareDeep(*f->view(), f->winx, f->winy, kRendering);
        ASSERT_TRUE(plan) << name;
        const std::vector<std::int32_t> raw = rawCounts(*plan);
        const Agreement a = agreement(raw, f->counts, f->winx);
        EXPECT_GE(a.share, 0.995) << name << a.firstMisses;
        // Whole rows (the pixels in lanes) give the single pixels' counts, folded.
        std::vector<std::int16_t> rows(raw.size());
        for (int r0 = 0; r0 < f->winy; r0 += 4)
            deepRows(deepFrame(plan), r0, 4, 1, rows.data());
        for (std::size_t k = 0; k < raw.size(); ++k)
            ASSERT_EQ(rows[k], raw[k] == 0 ? 0 : (raw[k] - 1) % 1000 + 1) << name << " " << k;
        std::printf("%s: %.2f %% of the counts equal\n", name, 100 * a.share);
    }
}

} // namespace
} // namespace velq
