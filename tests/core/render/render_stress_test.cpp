// Render stress: thousands of small renders on one pool, aborted from another thread at random
// moments, each followed by a full render that must equal the plain loop's picture.
#include "core/render/fastkernel.h"
#include "core/render/renderworkers.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace velq {
namespace {

constexpr std::int16_t kUntouched = -7; // no count has this value

TEST(RenderStress, AbortedRendersLeaveASoundPictureAndTheNextRenderIsExact) {
    // The sanitizer runs ask for fewer renders: each one costs many times more there.
    const char* env = std::getenv("VELQ_STRESS_RENDERS");
    const int renders = env ? std::max(1, std::atoi(env)) : 3000;
    std::mt19937 rng(20240611);
    const auto whole = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng); };
    std::atomic<int> status{RenderStatus::Idle};
    RenderWorkers workers(status); // one pool for every render, as in the window
    int aborted = 0;
    for (int n = 0; n < renders; ++n) {
        const double x = whole(-2200, 800) / 1e3, y = whole(-1300, 1300) / 1e3;
        const MANDAT v{x, y, std::pow(10.0, whole(-70, 5) / 10.0), 256 << whole(0, 2), 0x782, 0};
        const int winx = 16 * whole(1, 8), winy = 16 * whole(1, 8), threads = whole(1, 8);
        const int mode = whole(0, 2), abortAtRow = whole(0, winy); // coarse, stop, coarse + stop
        const RowKernel kernel = whole(0, 1) ? fastRows : referenceRows;
        const auto delay = std::chrono::microseconds(whole(0, 100));
        SCOPED_TRACE(testing::Message() << "render " << n << ", " << winx << "x" << winy << ", "
                                        << threads << " threads, abort " << mode);
        const KernelFrame f = KernelFrame::of(v, winx, winy, iterationLimitInForce(v));
        std::vector<std::int16_t> want(static_cast<std::size_t>(winx) * winy);
        std::int64_t work = 0;
        for (int r0 = 0; r0 < winy; r0 += 4)
            work += referenceRows(f, r0, 4, 1, want.data()) >> 8;

        std::vector<std::int16_t> got(want.size(), kUntouched);
        status = RenderStatus::Rendering;
        workers.start(f, got.data(), kernel, threads);
        std::atomic<bool> ended{false};
        std::jthread user([&] { // the Abort button, pressed at a random point of the render
            while (workers.rowsClaimed() < abortAtRow && !ended)
                std::this_thread::yield();
            status = mode == 1 ? RenderStatus::AbortStop : RenderStatus::AbortCoarse;
            if (mode == 2) {
                std::this_thread::sleep_for(delay);
                status = RenderStatus::AbortStop;
            }
        });
        while (!workers.waitFor(std::chrono::milliseconds(10))) { // a deadlock ends in a timeout
        }
        const std::int32_t result = workers.finish();
        ended = true;
        user.join();
        aborted += result < 0;
        // Unaborted: exact. After a coarse finish every pixel is its block's corner; after a
        // stop every group of rows is exact or untouched; after both each pixel one of those.
        bool blocks = true, groups = true, pixels = true;
        for (int j = 0; j < winy; ++j)
            for (int i = 0; i < winx; ++i) {
                const std::int16_t g = got[j * winx + i];
                const bool exact = g == want[j * winx + i];
                blocks = blocks && g == want[(j & ~3) * winx + (i & ~3)];
                groups = groups && (got[(j & ~3) * winx] == kUntouched ? g == kUntouched : exact);
                pixels = pixels && (exact || g == kUntouched);
            }
        ASSERT_TRUE(result >= 0 ? result == renderResult(work) && got == want
                    : mode == 0 ? blocks
                    : mode == 1 ? groups
                                : blocks || pixels);
        status = RenderStatus::Rendering;
        ASSERT_EQ(workers.run(f, got.data(), kernel, threads), renderResult(work));
        ASSERT_EQ(got, want);
        status = RenderStatus::Idle;
    }
    EXPECT_GT(aborted, renders / 5); // the random moments must really cut renders short
}

} // namespace
} // namespace velq
