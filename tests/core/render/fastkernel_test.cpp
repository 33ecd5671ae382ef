// The fast kernel against the plain loop: every count, every element left alone and every
// iteration total, on each instruction set this processor runs.
#include "core/gallery/gallery.h"
#include "core/render/fastkernel.h"
#include "core/render/renderworkers.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace velq {
namespace {

constexpr std::int16_t kUntouched = -7; // never a count
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct View {
    const char* name;
    double x, y, w;
    int winx, winy, limit;

    KernelFrame frame() const {
        return KernelFrame::of(MANDAT{x, y, w, 0, 0, 0}, winx, winy, limit);
    }
};

// One group: `rows` rows from `r0`, every `stride`-th column.
struct Group {
    int r0, rows, stride;
};

struct Render {
    std::vector<std::int16_t> mandel;
    std::vector<std::int64_t> iterations; // per group
};

Render render(RowKernel kernel, const KernelFrame& f, const std::vector<Group>& groups) {
    Render r{std::vector<std::int16_t>(static_cast<std::size_t>(f.winx) * f.winy, kUntouched), {}};
    for (const Group& g : groups)
        r.iterations.push_back(kernel(f, g.r0, g.rows, g.stride, r.mandel.data()));
    return r;
}

// The workers' groups: four full rows, or in coarse mode one row with every fourth column.
std::vector<Group> workerGroups(int winy, bool coarse) {
    std::vector<Group> groups;
    for (int r0 = 0; r0 < winy; r0 += 4)
        groups.push_back(coarse ? Group{r0, 1, 4} : Group{r0, 4, 1});
    return groups;
}

// Empty when both runs agree; else where they first part.
std::string difference(const Render& want, const Render& got, int winx) {
    std::ostringstream out;
    for (std::size_t k = 0; k < want.mandel.size(); ++k)
        if (want.mandel[k] != got.mandel[k]) {
            out << "pixel (" << k % winx << ", " << k / winx << "): plain loop " << want.mandel[k]
                << ", fast " << got.mandel[k] << "\n";
            break;
        }
    for (std::size_t g = 0; g < want.iterations.size(); ++g)
        if (want.iterations[g] != got.iterations[g]) {
            out << "group " << g << ": plain loop " << want.iterations[g] << " iterations, fast "
                << got.iterations[g] << "\n";
            break;
        }
    return out.str();
}

std::string expectSame(RowKernel fast, const KernelFrame& f, const std::vector<Group>& groups) {
    return difference(render(referenceRows, f, groups), render(fast, f, groups), f.winx);
}

class FastKernel : public testing::TestWithParam<Isa> {
protected:
    void SetUp() override {
        kernel_ = fastRowsFor(GetParam());
        if (kernel_ == nullptr) GTEST_SKIP() << "this processor lacks " << isaName(GetParam());
    }

    // Both worker modes over the whole picture.
    void expectSameAsPlainLoop(const KernelFrame& f) {
        for (bool coarse : {false, true})
            EXPECT_EQ(expectSame(kernel_, f, workerGroups(f.winy, coarse)), "")
                << (coarse ? "coarse" : "full");
    }

    RowKernel kernel_ = nullptr;
};

TEST_P(FastKernel, ViewsMatchThePlainLoop) {
    const View views[] = {
        {"start", 0.0, 0.0, 2.0, 160, 120, 256},
        {"start, high limit", 0.0, 0.0, 2.0, 64, 48, 32768},
        {"seahorse valley", -0.7454282857142857, -0.113008642857143, 6.726190476e-06, 96, 72, 1024},
        {"deep, long escapes", -0.756423894629558, 0.0641794108447811, 3.3e-09, 64, 48, 8192},
        {"deep minibrot, mostly inside", -0.756423894629558, 0.0641794108447811, 3.3e-10, 48, 36,
         8192},
        {"main cardioid interior", -0.1, 0.1, 0.1, 32, 24, 32768},
        {"period-2 bulb", -1.0, 0.0, 0.1, 24, 16, 32768},
        {"real axis near -2", -2.0, 0.0, 1e-6, 24, 16, 32768},
        {"real axis near -2, wider", -1.9, 0.0, 0.1, 24, 16, 32768},
        {"parabolic point 0.25", 0.25, 0.0, 1e-6, 24, 16, 32768},
        {"wrap of counts past 1000", 0.2500098, 0.0, 1e-7, 20, 12, 32768},
        // Every pixel samples the same point, so a lane's next pixel repeats the orbit of
        // its last: a saved state must not carry over.
        {"zero width, slow escape", 0.2500098, 0.0, 0.0, 16, 12, 32768},
        {"zero width, inside", -0.1, 0.1, 0.0, 16, 12, 32768},
        // Pixel steps as large as the centre, so that rounding c * s + x once or twice
        // changes a sample and some long counts with it.
        {"samples rounded as the plain loop rounds them", -0.5, 0.5, 0.3, 48, 36, 8192},
        // |z|² climbs past 4 by a hair and the orbit lingers near |z| = 2: where rounding
        // could matter most to a bailout that is not tested at every step.
        {"tip at -2, tiny imaginary parts", -2.0, 0.0, 1e-13, 32, 24, 32768},
        {"tip at -2, a little wider", -1.99999, 0.0, 1e-5, 32, 24, 32768},
        {"|c| = 2 on the imaginary axis", 0.0, 2.0, 1e-9, 24, 16, 8192},
        {"|c| = 2 on the real axis", 2.0, 0.0, 1e-9, 24, 16, 8192},
        // Escapes after 1000 steps up to the limit along the real axis right of 0.25, so that the
        // reduction into 1..1000 is met at many counts.
        {"counts through the thousands", 0.250005, 0.0, 2e-8, 1024, 4, 32768},
        // Inside points settled by their traps, up to the edges of the cardioid and the
        // period-2 disc, where orbits close in slowest and traps are smallest.
        {"seahorse valley, both components", -0.756423894629558, 0.0641794108447811, 0.15, 64, 48,
         8192},
        {"the whole set", -0.5, 0.0, 1.5, 64, 48, 2048},
        {"cardioid edge at the period-3 bulb", -0.125, 0.65, 0.05, 48, 36, 4096},
        {"period-2 disc edge at the period-4 bulb", -1.25, 0.0, 0.02, 48, 36, 8192},
        {"cardioid cusp", 0.25, 0.0, 0.01, 48, 36, 8192},
        {"tiny", -0.5, 0.0, 1.5, 16, 16, 1024},
        {"rows not a multiple of the lanes", -0.75, 0.1, 0.3, 13, 7, 512},
        {"odd width", -0.75, 0.1, 0.3, 37, 5, 512},
        {"one pixel", -0.75, 0.1, 0.3, 1, 1, 512},
        {"one column", -0.75, 0.1, 0.3, 1, 9, 512},
        {"one row", -0.75, 0.1, 0.3, 9, 1, 512},
        {"three wide", -0.75, 0.1, 0.3, 3, 11, 512},
    };
    for (const View& v : views) {
        SCOPED_TRACE(v.name);
        expectSameAsPlainLoop(v.frame());
    }
}

TEST_P(FastKernel, EveryLimitIncludingNoneAndOne) {
    for (int limit : {-5, 0, 1, 2, 3, 4, 63, 64, 65, 66, 999, 1000, 1001, 1002, 32768}) {
        SCOPED_TRACE(limit);
        expectSameAsPlainLoop(View{"", -0.5, 0.0, 1.6, 19, 13, limit}.frame());
        expectSameAsPlainLoop(View{"", 3.0, 0.0, 0.5, 5, 4, limit}.frame()); // escape at once
    }
}

TEST_P(FastKernel, NanInfiniteAndHugeCoordinates) {
    const View views[] = {
        {"NaN x", kNaN, 0.0, 2.0, 16, 12, 32768},
        {"NaN y", 0.0, kNaN, 2.0, 16, 12, 32768},
        {"NaN width", 0.0, 0.0, kNaN, 16, 12, 300},
        {"infinite x", kInf, 0.0, 2.0, 16, 12, 300},
        {"minus infinite y", 0.0, -kInf, 2.0, 16, 12, 300},
        {"infinite width", 0.0, 0.0, kInf, 16, 12, 300},
        {"minus infinite width", -0.5, 0.0, -kInf, 16, 12, 300},
        {"huge x", 1e308, 0.0, 2.0, 16, 12, 300},
        {"huge y", 0.0, -1e308, 2.0, 16, 12, 300},
        {"huge width", 0.0, 0.0, 1e308, 16, 12, 300},
        {"zero width", -0.1, 0.1, 0.0, 16, 12, 300},
        {"subnormal width", 0.0, 0.0, 1e-320, 16, 12, 300},
        {"negative width", -0.5, 0.2, -1.0, 16, 12, 300},
    };
    for (const View& v : views) {
        SCOPED_TRACE(v.name);
        expectSameAsPlainLoop(v.frame());
    }
}

TEST_P(FastKernel, AnyGroupShapeWritesOnlyItsOwnElements) {
    const KernelFrame f = View{"", -0.7, 0.2, 0.9, 23, 17, 700}.frame();
    const Group groups[] = {{0, 4, 1},  {3, 5, 1},  {2, 1, 3},  {5, 2, 7},  {16, 4, 1},
                            {14, 9, 2}, {0, 17, 1}, {0, 40, 5}, {17, 4, 1}, {30, 4, 1},
                            {4, 0, 1},  {4, -3, 1}, {4, 2, 23}, {4, 2, 100}};
    for (const Group& g : groups) {
        SCOPED_TRACE(testing::Message()
                     << "r0 " << g.r0 << " rows " << g.rows << " stride " << g.stride);
        const Render got = render(kernel_, f, {g});
        EXPECT_EQ(difference(render(referenceRows, f, {g}), got, f.winx), "");
        for (int j = 0; j < f.winy; ++j)
            for (int i = 0; i < f.winx; ++i) {
                const bool mine = j >= g.r0 && j < g.r0 + g.rows && i % g.stride == 0;
                EXPECT_EQ(got.mandel[j * f.winx + i] != kUntouched, mine) << i << "," << j;
            }
    }
}

// Small frames near the boundary, where counts are long and depend on every bit of the
// sample, with any group shape.
TEST_P(FastKernel, RandomFramesMatchThePlainLoop) {
    const double near[][2] = {{-0.75, 0.1},      {-1.25, 0.0},      {0.25, 0.0}, {-0.1011, 0.9563},
                              {-1.7687, 0.0017}, {-0.7454, -0.113}, {-0.5, 0.5}, {0.3, 0.5}};
    std::mt19937_64 random(20240611);
    auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    auto between = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    for (int run = 0; run < 400; ++run) {
        const auto* centre = near[between(0, std::size(near) - 1)];
        const double w = std::pow(10.0, uniform(-14.0, 0.3));
        View v{"",
               centre[0] + uniform(-w, w),
               centre[1] + uniform(-w, w),
               w,
               between(1, 33),
               between(1, 25),
               0};
        const int kind = between(0, 9);
        v.limit = kind == 0 ? between(-1, 3) : kind <= 2 ? between(2, 5000) : between(2, 600);
        const int rows = between(1, 6), stride = between(1, 5);
        std::vector<Group> groups;
        for (int r0 = 0; r0 < v.winy; r0 += rows)
            groups.push_back({r0, rows, stride});
        const std::string diff = expectSame(kernel_, v.frame(), groups);
        ASSERT_EQ(diff, "") << "run " << run << ": x " << v.x << " y " << v.y << " w " << v.w
                            << " size " << v.winx << "x" << v.winy << " limit " << v.limit
                            << " rows " << rows << " stride " << stride;
    }
}

// Every gallery place as the window renders it, on every instruction set this processor runs.
TEST(FastKernelGallery, EveryPlaceMatchesThePlainLoop) {
    for (const GalleryPreset& preset : galleryPresets()) {
        SCOPED_TRACE(preset.title);
        const KernelFrame f =
            KernelFrame::of(preset.view, 160, 120, iterationLimitInForce(preset.view));
        const Render want = render(referenceRows, f, workerGroups(f.winy, false));
        for (Isa isa : {Isa::Sse2, Isa::Avx2, Isa::Avx512})
            if (RowKernel k = fastRowsFor(isa)) {
                EXPECT_EQ(difference(want, render(k, f, workerGroups(f.winy, false)), f.winx), "")
                    << isaName(isa);
            }
    }
}

std::string isaTestName(const testing::TestParamInfo<Isa>& info) {
    return std::string(isaName(info.param));
}

INSTANTIATE_TEST_SUITE_P(Isa, FastKernel, testing::Values(Isa::Sse2, Isa::Avx2, Isa::Avx512),
                         isaTestName);

TEST(FastKernelDispatch, BestVariantRunsHereAndEveryVariantAgrees) {
    EXPECT_TRUE(isaSupported(Isa::Sse2));
    EXPECT_TRUE(isaSupported(bestIsa()));
    EXPECT_NE(fastRowsFor(bestIsa()), nullptr);
    const KernelFrame f =
        View{"", -0.7454282857142857, -0.113008642857143, 6.726190476e-06, 48, 36, 1024}.frame();
    const Render best = render(fastRows, f, workerGroups(f.winy, false));
    for (Isa isa : {Isa::Sse2, Isa::Avx2, Isa::Avx512})
        if (RowKernel k = fastRowsFor(isa)) {
            EXPECT_EQ(difference(best, render(k, f, workerGroups(f.winy, false)), f.winx), "")
                << isaName(isa);
        }
}

TEST(FastKernelDispatch, KernelsByName) {
    EXPECT_EQ(kernelNamed("reference"), &referenceRows);
    EXPECT_EQ(kernelNamed("fast"), &fastRows);
    for (const char* name : {"", "Fast", "simd", "reference "})
        EXPECT_EQ(kernelNamed(name), nullptr) << name;
}

} // namespace
} // namespace velq
