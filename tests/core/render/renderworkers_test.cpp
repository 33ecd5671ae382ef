// The worker pool: any split of the rows gives the plain loop's picture and work; aborts leave
// blocks or the old rows; kept threads serve any thread count; the limit and width rules.
#include "core/render/renderworkers.h"

#include <cmath>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace velq {
namespace {

// The counts and the work counter of one thread running the plain loop group by group.
struct Picture {
    std::vector<std::int16_t> mandel;
    std::int64_t work = 0;
};
Picture plainLoop(const KernelFrame& f) {
    Picture p{std::vector<std::int16_t>(static_cast<std::size_t>(f.winx) * f.winy), 0};
    for (int r0 = 0; r0 < f.winy; r0 += 4)
        p.work += referenceRows(f, r0, 4, 1, p.mandel.data()) >> 8;
    return p;
}

// Stands in for the kernel: notes its threads and groups (one at a time, so that the other
// threads claim meanwhile) and after the second group sets gAbortTo, the Abort button.
std::mutex gLock;
std::set<std::thread::id> gThreads;
int gGroups = 0, gOutside = 0, gAbortTo = 0;
std::atomic<int> gStatus;

std::int64_t spyRows(const KernelFrame& f, int r0, int rows, int stride, std::int16_t* mandel) {
    std::lock_guard lock(gLock);
    gThreads.insert(std::this_thread::get_id());
    gOutside += r0 >= f.winy;
    if (++gGroups == 2 && gAbortTo != 0) gStatus = gAbortTo;
    return referenceRows(f, r0, rows, stride, mandel);
}

std::int64_t slowRows(const KernelFrame& f, int r0, int rows, int stride, std::int16_t* mandel) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return referenceRows(f, r0, rows, stride, mandel);
}

TEST(RenderWorkers, KeptThreadsGiveThePlainLoopsPictureForAnyThreadCountAndFinishFirst) {
    gStatus = RenderStatus::Rendering;
    gAbortTo = 0;
    RenderWorkers workers(gStatus);
    const MANDAT seahorse{-0.7454282857142857, -0.113008642857143, 6.726190476e-06, 1024, 0, 0};
    for (int threads : {1, 8, 3, 8, 2, 5, 0}) {
        const MANDAT v = threads % 2    ? seahorse
                         : threads == 8 ? kStartView
                                        : MANDAT{-0.75, 0.1, 0.05, 2048, 0, 0};
        const KernelFrame f = KernelFrame::of(v, 96, 64, iterationLimitInForce(v));
        const Picture want = plainLoop(f);
        std::vector<std::int16_t> mandel(96 * 64, -7);
        gThreads.clear();
        gGroups = gOutside = 0;
        EXPECT_EQ(workers.run(f, mandel.data(), spyRows, threads), want.work) << threads;
        EXPECT_EQ(mandel, want.mandel) << threads;
        EXPECT_LE(gThreads.size(), static_cast<std::size_t>(std::max(threads, 1))) << threads;
        EXPECT_TRUE(gGroups == 16 && gOutside == 0) << threads << ": " << gGroups << " groups";
    }
    const KernelFrame f = KernelFrame::of(kStartView, 32, 64, 256);
    std::vector<std::int16_t> mandel(32 * 64, -7);
    {
        RenderWorkers going(gStatus);
        going.start(f, mandel.data(), slowRows);
    } // no wait, no finish: the threads still write their rows before they go
    EXPECT_EQ(mandel, plainLoop(f).mandel);
}

// A coarse finish leaves every pixel its 4 x 4 block's corner; a stop leaves the rows nobody
// claimed as they were (77). Either way the result is -1 and the pool renders on.
TEST(RenderWorkers, AbortsLeaveBlocksOrTheOldRowsAndThePoolRendersOn) {
    const int cases[][3] = {{RenderStatus::AbortCoarse, 0, 0},
                            {RenderStatus::AbortStop, 0, 0},
                            {RenderStatus::Rendering, RenderStatus::AbortCoarse, 0},
                            {RenderStatus::Rendering, RenderStatus::AbortStop, 8}};
    RenderWorkers workers(gStatus);
    const KernelFrame f = KernelFrame::of(kStartView, 32, 32, 256);
    const Picture full = plainLoop(f);
    for (const auto& [atStart, abortTo, oldFromRow] : cases) {
        SCOPED_TRACE(testing::Message() << atStart << " then " << abortTo);
        std::vector<std::int16_t> mandel(32 * 32, 77);
        gStatus = atStart;
        gAbortTo = abortTo;
        gGroups = 0;
        EXPECT_EQ(workers.run(f, mandel.data(), spyRows, 1), -1);
        const bool blocks = (abortTo == 0 ? atStart : abortTo) == RenderStatus::AbortCoarse;
        for (int j = 0; j < 32; ++j)
            for (int i = 0; i < 32; ++i)
                ASSERT_EQ(mandel[j * 32 + i], blocks ? full.mandel[(j & ~3) * 32 + (i & ~3)]
                                              : j < oldFromRow ? full.mandel[j * 32 + i]
                                                               : 77)
                    << i << "," << j;
        gStatus = RenderStatus::Rendering;
        EXPECT_EQ(workers.run(f, mandel.data(), referenceRows, 8), full.work);
        EXPECT_EQ(mandel, full.mandel);
    }
}

// Wide views render with 256 or 512 whatever their limit; widths below 1e-15 are raised to
// it; the work counter saturates at the largest 32-bit value.
TEST(RenderRules, LimitInForceWidthFloorAndResult) {
    const double nan = std::nan(""), max = std::numeric_limits<std::int32_t>::max();
    const double cases[][3] = {{3.0, 256, 3},       {2.0, 256, 2},    {1.999, 512, max},
                               {1.0, 512, max + 1}, {0.999, 8192, 7}, {1e-16, 8192, 1e12},
                               {0.0, 8192, 123},    {-1, 8192, 0},    {2e-15, 8192, 0}};
    for (const auto& [w, limit, work] : cases) {
        EXPECT_EQ(iterationLimitInForce({0, 0, w, 8192, 0, 0}), limit) << w;
        EXPECT_EQ(floorWidth(w), std::max(w, 1e-15)) << w;
        EXPECT_EQ(renderResult(static_cast<std::int64_t>(work)), std::min(work, max)) << w;
    }
    EXPECT_TRUE(std::isnan(floorWidth(nan)) &&
                iterationLimitInForce({0, 0, nan, 700, 0, 0}) == 700);
}

} // namespace
} // namespace velq
