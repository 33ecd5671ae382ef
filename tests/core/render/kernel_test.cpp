// The plain loop's counts, the fast kernel against it on every instruction set this processor
// runs, and the traps and bounds that settle pixels without iterating them.
#include "core/gallery/gallery.h"
#include "core/render/boundedorbit.h"
#include "core/render/cycletrap.h"
#include "core/render/fastkernel.h"
#include "core/render/renderworkers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <set>

namespace velq {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::int16_t kUntouched = -7; // never a count
constexpr double kSeahorseX = -0.7436438870371587, kSeahorseY = 0.1318259042053120;

// c = 2 stops at |z1|^2 = 4, which is no escape; raw counts 1003 and 1046 fold to 3 and 46.
TEST(EscapeCount, CountsIterationsAndTheFoldIntoOneToThousand) {
    const double a = 0.2500098, b = 0.250009;
    const double cases[][5] = {
        // c, limit, count, iterations
        {3, 0, 1024, 2, 1},       {2, 0, 1024, 3, 2},     {1, 1, 1024, 3, 2},
        {0.5, 0, 6, 6, 5},        {0.5, 0, 5, 0, 5},      {0.5, 0, 32768, 6, 5},
        {0, 0, 700, 0, 700},      {-2, 0, 1024, 0, 1024}, {-1.5, 0, 1024, 0, 1024},
        {0.25, 0, 9999, 0, 9999}, {3, 0, 1, 0, 1},        {0, 0, 1, 0, 1},
        {3, 0, 2, 2, 1},          {1.5, 0, 2, 0, 2},      {3, 0, 0, 0, 0},
        {3, 0, -5, 0, 0},         {a, 0, 1003, 3, 1002},  {a, 0, 1002, 0, 1002},
        {b, 0, 32768, 46, 1045},  {b, 0, 1024, 0, 1024},  {kNaN, 0, 300, 0, 300},
        {kInf, 0, 300, 2, 1},     {0, kInf, 300, 2, 1},
    };
    for (const auto& [cr, ci, limit, count, iterations] : cases) {
        std::int64_t n = 0;
        EXPECT_EQ(escapeCount(cr, ci, int(limit), n), int(count))
            << cr << " " << ci << " " << limit;
        EXPECT_EQ(n, std::int64_t(iterations)) << cr << " " << ci << " limit " << limit;
    }
}

// Pixel (i, j) of a 320 x 240 picture at w = 2 samples (i - 160) s + (120 - j) s i with
// s = 4 / 240: (0, 0) is -8/3 + 2i, (160, 120) exactly 0.
TEST(ReferenceRows, PixelGeometryOfTheStartView) {
    const KernelFrame f = KernelFrame::of(kStartView, 320, 240, 256);
    ASSERT_EQ(f.s, 4.0 / 240.0);
    std::vector<std::int16_t> mandel(320 * 240, kUntouched);
    std::int64_t total = 0, expected = 0;
    for (int r0 = 0; r0 < 240; r0 += 4)
        total += referenceRows(f, r0, 4, 1, mandel.data());
    for (int j = 0; j < 240; ++j)
        for (int i = 0; i < 320; ++i)
            ASSERT_EQ(mandel[j * 320 + i],
                      escapeCount((i - 160) * f.s, (120 - j) * f.s, 256, expected))
                << i << "," << j;
    EXPECT_EQ(total, expected);
}

// Runs the kernel over groups of rows (first row, rows, stride) into a picture of untouched
// elements; the counts, then the iterations of each group.
using Groups = std::vector<std::array<int, 3>>;
std::pair<std::vector<std::int16_t>, std::vector<std::int64_t>>
render(RowKernel kernel, const KernelFrame& f, const Groups& groups) {
    std::pair r{std::vector<std::int16_t>(static_cast<std::size_t>(f.winx) * f.winy, kUntouched),
                std::vector<std::int64_t>()};
    for (const auto& [r0, rows, stride] : groups)
        r.second.push_back(kernel(f, r0, rows, stride, r.first.data()));
    return r;
}

// Whether the fast kernel gives the plain loop's counts and iterations.
bool same(RowKernel fast, const KernelFrame& f, const Groups& groups) {
    return render(fast, f, groups) == render(referenceRows, f, groups);
}

KernelFrame frame(double x, double y, double w, int winx, int winy, int limit) {
    return KernelFrame::of({x, y, w, 0, 0, 0}, winx, winy, limit);
}

class FastKernel : public testing::TestWithParam<Isa> {
protected:
    void SetUp() override {
        kernel_ = fastRowsFor(GetParam());
        if (kernel_ == nullptr) GTEST_SKIP() << "this processor lacks " << isaName(GetParam());
    }
    // The workers' groups, every four rows: four rows, or one row with every fourth column.
    void expectSame(const KernelFrame& f, const std::string& what) {
        Groups fine, coarse;
        for (int r0 = 0; r0 < f.winy; r0 += 4) {
            fine.push_back({r0, 4, 1});
            coarse.push_back({r0, 1, 4});
        }
        EXPECT_TRUE(same(kernel_, f, fine)) << what;
        EXPECT_TRUE(same(kernel_, f, coarse)) << what << ", coarse";
    }
    RowKernel kernel_ = nullptr;
};

// Deep and wide views, counts past 1000, the edges of the cardioid and the period-2 disc
// where traps are smallest, zero widths (a lane's saved state must not carry over to the
// next pixel, which repeats the orbit), views of no numbers at all, odd sizes, the gallery,
// every limit.
TEST_P(FastKernel, ViewsSizesAndLimitsAsThePlainLoop) {
    const double x = -0.756423894629558, y = 0.0641794108447811, a = 0.2500098;
    const std::array<double, 4> views[] = {
        {0.0, 0.0, 2.0, 256},       {0.0, 0.0, 2.0, 32768}, {-0.1, 0.1, 0.1, 32768},
        {x, y, 3.3e-9, 8192},       {x, y, 3.3e-10, 8192},  {x, y, 0.15, 8192},
        {-1, 0, 0.1, 32768},        {-2, 0, 1e-13, 32768},  {-1.99999, 0, 1e-5, 32768},
        {0, 2, 1e-9, 8192},         {0.25, 0, 1e-6, 32768}, {a, 0, 1e-7, 32768},
        {a, 0, 0, 32768},           {-0.1, 0.1, 0, 32768},  {-0.5, 0.5, 0.3, 8192},
        {-0.125, 0.65, 0.05, 4096}, {-1.25, 0, 0.02, 8192}, {kNaN, 0, 2, 32768},
        {0, 0, kNaN, 300},          {kInf, 0, 2, 300},      {-0.5, 0, -kInf, 300},
        {0, -1e308, 2, 300},        {0, 0, 1e308, 300},     {0, 0, 1e-320, 300},
        {0.250005, 0, 2e-8, 32768},
    };
    // Tiles of black near the edge, some bounded to the limit and some not, beside colours.
    expectSame(frame(kSeahorseX, kSeahorseY, 1e-7, 160, 120, 1024), "seahorse");
    for (const auto& v : views)
        expectSame(frame(v[0], v[1], v[2], 32, 24, int(v[3])), testing::PrintToString(v));
    const std::pair<int, int> sizes[] = {{160, 120}, {1024, 4}, {13, 7}, {1, 1}, {1, 9}, {3, 11}};
    for (const auto& [w, h] : sizes)
        expectSame(frame(-0.7454282857142857, -0.113008642857143, 6.7e-06, w, h, 1024),
                   testing::PrintToString(std::pair(w, h)));
    for (const GalleryPreset& p : galleryPresets()) // as the window renders them
        expectSame(KernelFrame::of(p.view, 32, 24, iterationLimitInForce(p.view)),
                   std::string(p.title));
    for (int limit : {-5, 0, 1, 2, 3, 4, 63, 64, 65, 66, 999, 1000, 1001, 1002}) {
        expectSame(frame(-0.5, 0, 1.6, 19, 13, limit), "limit " + std::to_string(limit));
        expectSame(frame(3, 0, 0.5, 5, 4, limit),
                   "escaping at once, limit " + std::to_string(limit));
    }
}

// Groups past the picture, empty ones and strides wider than a row write nothing extra.
TEST_P(FastKernel, AnyGroupAsThePlainLoop) {
    const KernelFrame f = frame(-0.7, 0.2, 0.9, 23, 17, 700);
    const Groups all = {{0, 4, 1},  {3, 5, 1}, {2, 1, 3},  {5, 2, 7},  {16, 4, 1}, {0, 40, 5},
                        {17, 4, 1}, {4, 0, 1}, {4, -3, 1}, {4, 2, 23}, {4, 2, 100}};
    for (const auto& g : all) {
        SCOPED_TRACE(testing::Message() << g[0] << " " << g[1] << " " << g[2]);
        EXPECT_TRUE(same(kernel_, f, {g}));
        const std::vector<std::int16_t> plain = render(referenceRows, f, {g}).first;
        const int rows = std::clamp(std::min(g[1], f.winy - g[0]), 0, f.winy);
        EXPECT_EQ(std::count_if(plain.begin(), plain.end(), [](auto v) { return v != kUntouched; }),
                  rows * ((f.winx + g[2] - 1) / g[2]));
    }
}

// Each set's bound gives every disc the steps that one disc at a time gives, whichever lane
// it takes.
TEST_P(FastKernel, BoundsAsOneDiscAtATime) {
    std::vector<double> cr, ci, radius;
    for (int k = 0; k < 11; ++k) {
        cr.push_back(kSeahorseX + k * 3e-10);
        ci.push_back(kSeahorseY - k * 1e-10);
        radius.push_back(k % 3 ? std::ldexp(1.0, -36 - k) : 0.0);
    }
    std::vector<int> held(11);
    boundedDiscsFor(GetParam())(cr.data(), ci.data(), radius.data(), 11, 1100, held.data());
    for (int k = 0; k < 11; ++k)
        EXPECT_EQ(held[k], boundedSteps(cr[k], ci[k], radius[k], 1100)) << k;
    EXPECT_GT(std::set(held.begin(), held.end()).size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(Isa, FastKernel, testing::Values(Isa::Sse2, Isa::Avx2, Isa::Avx512),
                         [](const auto& info) { return std::string(isaName(info.param)); });

TEST(FastKernelDispatch, TheWidestSetThisProcessorRuns) {
    EXPECT_TRUE(isaSupported(Isa::Sse2));
    for (Isa wider : {Isa::Avx2, Isa::Avx512})
        EXPECT_TRUE(!isaSupported(wider) || bestIsa() >= wider) << isaName(wider);
}

// From anywhere in the first disc, right up to its edge, the plain loop's orbit visits the
// discs in turn and never leaves them. Outside the components, on their edges (where the
// cycle no longer attracts) and for no numbers at all there is no trap.
TEST(CycleTrap, SoundWhereverFoundAndFoundInside) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> angle(0.0, 6.283185307179586), share(0.0, 1.0);
    int found = 0;
    for (int k = 0; k < 3000; ++k) {
        // c = m - m^2 with |m| < 1/2 fills the cardioid; the period-2 disc has radius 1/4.
        const double r = share(rng) / (k % 2 ? 2 : 4), a = angle(rng);
        const double mr = r * std::cos(a), mi = r * std::sin(a);
        const double cr = k % 2 ? mr - (mr * mr - mi * mi) : mr - 1,
                     ci = k % 2 ? mi - 2 * mr * mi : mi;
        const CycleTrap t = cycleTrapFor(cr, ci);
        if (t.r0sq < 0.0) continue;
        ++found;
        for (int start = 0; start < 8; ++start) {
            const double b = angle(rng), s = start % 2 ? 1.0 - 1e-7 : share(rng);
            const double r0 = std::sqrt(t.r0sq / (1.0 - 1e-9)),
                         r1 = std::sqrt(t.r1sq / (1.0 - 1e-9));
            double zr = t.m0r + std::cos(b) * r0 * s, zi = t.m0i + std::sin(b) * r0 * s;
            for (int n = 1; n <= 100; ++n) {
                const double zr2 = zr * zr, zi2 = zi * zi, zrzi = zr * zi; // the plain loop's step
                zr = (zr2 - zi2) + cr;
                zi = (zrzi + zrzi) + ci;
                const bool odd = t.r1sq >= 0.0 && n % 2 == 1;
                ASSERT_LE(std::hypot(zr - (odd ? t.m1r : t.m0r), zi - (odd ? t.m1i : t.m0i)),
                          (odd ? r1 : r0) * (1.0 + 1e-9))
                    << "c = " << cr << " " << ci << ", step " << n;
            }
        }
    }
    EXPECT_GT(found, 2700); // only samples right at an edge go without
    const double none[][2] = {{0.3, 0}, {0.25, 0}, {-0.75, 0}, {-1.25, 0}, {-2, 0},
                              {0, 1},   {kNaN, 0}, {0, kNaN},  {kInf, 0},  {1e308, 0}};
    for (const auto& [cr, ci] : none) {
        const CycleTrap t = cycleTrapFor(cr, ci);
        EXPECT_TRUE(t.r0sq < 0 && t.r1sq < 0 && !t.holds(0, 0) && !t.holds(kNaN, 0))
            << cr << " " << ci;
    }
}

// The step at which the plain loop's orbit of c first has |z|² > 4, or `limit`.
int escapeStep(double cr, double ci, int limit) {
    double zr2 = 0, zi2 = 0, zrzi = 0;
    for (int n = 1; n < limit; ++n) {
        const double zr = (zr2 - zi2) + cr, zi = (zrzi + zrzi) + ci;
        zr2 = zr * zr, zi2 = zi * zi, zrzi = zr * zi;
        if (zr2 + zi2 > 4.0) return n;
    }
    return limit;
}

// While the bound holds, no sample of its disc escapes: checked at the centre and on the rim,
// for discs near the edge of the set that hold for some steps, for all of them, or (radius 0)
// right up to the escape.
TEST(BoundedOrbit, NoSampleOfTheDiscEscapesWhileItHolds) {
    const int limit = 1020;
    int bounded = 0, tight = 0;
    for (int k = 0; k < 400; ++k) {
        const double cr = kSeahorseX + (k % 20 - 10) * 3e-10,
                     ci = kSeahorseY + (k / 20 - 10) * 3e-10;
        const double radius = k % 4 == 0 ? 0.0 : std::ldexp(1.0, -30 - k % 23);
        const int held = boundedSteps(cr, ci, radius, limit);
        bounded += held == limit;
        tight += radius == 0.0 && held == escapeStep(cr, ci, limit);
        for (int a = 0; a <= 16; ++a) {
            const double r = a == 16 ? 0.0 : radius, t = a * 0.39269908169872414;
            ASSERT_GE(escapeStep(cr + r * std::cos(t), ci + r * std::sin(t), limit), held)
                << cr << " " << ci << " radius " << radius;
        }
    }
    EXPECT_GT(bounded, 150);
    EXPECT_GT(tight, 90);
    EXPECT_LT(boundedSteps(kNaN, 0, 0, limit), limit);
    EXPECT_LT(boundedSteps(-1, 0, kInf, limit), limit);
}

// The discs the bound was asked about; those narrower than `holdBelow` hold to the limit,
// the others half of it, so that those are tried again in quarters.
std::vector<std::array<double, 3>> asked;
double holdBelow = 0;
void holdNarrow(const double* cr, const double* ci, const double* radius, int count, int limit,
                int* held) {
    for (int k = 0; k < count; ++k) {
        asked.push_back({cr[k], ci[k], radius[k]});
        held[k] = radius[k] < holdBelow ? limit : limit / 2;
    }
}

void boundEach(const double* cr, const double* ci, const double* radius, int count, int limit,
               int* held) {
    for (int k = 0; k < count; ++k)
        held[k] = boundedSteps(cr[k], ci[k], radius[k], limit);
}

// The pixels of tiles that hold are stored as 0 and counted at the limit, and each lies in a
// disc that held, whether 64 columns wide or quarters of them; a black picture's row group
// is settled whole by the bound itself.
TEST(BoundedOrbit, SettlesThePixelsOfTheDiscsThatHold) {
    const KernelFrame f = frame(-0.5, 0.25, 0.3, 150, 37, 3000);
    for (double below : {1.0, 0.3}) { // 64-column tiles have radius 0.51, quarters 0.12
        holdBelow = below;
        asked.clear();
        std::vector<std::int16_t> mandel(150 * 37, kUntouched);
        std::int64_t iterations = 0;
        EXPECT_TRUE(settleBoundedTiles(f, 33, 4, mandel.data(), iterations, holdNarrow).empty());
        EXPECT_EQ(iterations, 150 * 4 * 3000);
        EXPECT_EQ(std::count(mandel.begin(), mandel.end(), 0), 600);
        EXPECT_EQ(asked.size() > 3, below < 0.5);
        for (int j = 33; j < 37; ++j)
            for (int i = 0; i < 150; ++i) {
                const double cr = (i - f.hx) * f.s + f.x, ci = (j - f.hy) * -f.s + f.y;
                EXPECT_TRUE(std::any_of(asked.begin(), asked.end(),
                                        [&](const auto& d) {
                                            return d[2] < below &&
                                                   std::hypot(cr - d[0], ci - d[1]) <= d[2];
                                        }))
                    << i << " " << j;
            }
    }
    const KernelFrame black = frame(kSeahorseX, kSeahorseY, 1e-10, 200, 150, 1024);
    std::vector<std::int16_t> mandel(200 * 150, kUntouched);
    std::int64_t iterations = 0;
    EXPECT_TRUE(settleBoundedTiles(black, 146, 4, mandel.data(), iterations, boundEach).empty());
    EXPECT_EQ(iterations, 200 * 4 * 1024);
}

} // namespace
} // namespace velq
