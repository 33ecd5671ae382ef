// The vector lanes on every instruction set: the plain lanes and the AVX2 and AVX-512 lanes
// step and map each pixel bit for bit alike. (That the lanes give the single pixels' counts is
// checked on the fixtures, in deeprender_test.cpp.)
#include "core/deep/deepplan.h"
#include "core/deep/deeprender.h"
#include "core/render/renderworkers.h"

#include <cstring>
#include <gtest/gtest.h>

namespace velq {
namespace {

TEST(DeepLanes, AgreeOnEveryInstructionSet) {
    if (!deepLanesHaveAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    const std::atomic<int> rendering{RenderStatus::Rendering};
    const ExtFloat w = *ExtFloat::parse("1e-20");
    const DeepView view{*Real::parse("-0.743643887037158704752191506114774", 128),
                        *Real::parse("0.131825904205311970493132056385139", 128), w, 30000};
    const auto plan = prepareDeep(view, 64, 64, rendering);
    ASSERT_TRUE(plan);
    const DeepLaneBounds bounds = plan->laneBounds();
    const double step = plan->step().toDouble();
    DeepLanes plain{};
    for (int k = 0; k < DeepLanes::kWidth; ++k) {
        plain.cr[k] = (k * 7 % 64 - 32) * step;
        plain.ci[k] = (k * 13 % 64 - 32) * step;
        plain.idle[k] = k == 5 ? -1 : 0; // one lane without a pixel
    }
    DeepLanes avx2 = plain, avx512 = plain;
    std::int64_t steps = 0;
    for (int round = 0; round < 400; ++round) {
        const unsigned looks = stepDeepLanesPlain(plain, bounds);
        ASSERT_EQ(stepDeepLanesAvx2(avx2, bounds), looks) << round;
        ASSERT_EQ(std::memcmp(&plain, &avx2, sizeof plain), 0) << round;
        if (deepLanesHaveAvx512()) {
            ASSERT_EQ(stepDeepLanesAvx512(avx512, bounds), looks) << round;
            ASSERT_EQ(std::memcmp(&plain, &avx512, sizeof plain), 0) << round;
        }
        // What asked for a look goes on as the plan's rebase would have it: from z with the
        // reference at its start, or from the start again once done.
        for (int k = 0; k < DeepLanes::kWidth; ++k) {
            if ((looks >> k & 1) == 0) continue;
            const Cd z = bounds.ref[plain.m[k]] + Cd{plain.dr[k], plain.di[k]};
            const bool done = plain.n[k] >= bounds.limit || norm(z) > 4;
            steps += plain.n[k];
            plain.dr[k] = done ? 0.0 : z.re;
            plain.di[k] = done ? 0.0 : z.im;
            plain.m[k] = 0;
            plain.n[k] = done ? 0 : plain.n[k];
        }
        avx2 = avx512 = plain;
    }
    EXPECT_GT(steps, 1000000); // far past the maps of the first steps
}

} // namespace
} // namespace velq
