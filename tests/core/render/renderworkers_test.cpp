// The worker pool: any split of the rows gives the plain loop's picture and work; aborts leave
// blocks or the old rows; kept threads serve any thread count; the limit and width rules.
#include "core/render/renderworkers.h"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

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

// Stands in for the kernel: notes the threads and groups it runs, lets the other threads
// claim too, and sets `abortTo` once `abortAfter` groups are done (the Abort button).
struct Spy {
    std::mutex lock;
    std::set<std::thread::id> threads;
    int groups = 0, outside = 0, abortAfter = 0, abortTo = 0;
    std::atomic<int>* status = nullptr;

    void reset(int after = 0, int to = 0, std::atomic<int>* abortStatus = nullptr) {
        threads.clear();
        groups = outside = 0;
        abortAfter = after;
        abortTo = to;
        status = abortStatus;
    }
} gSpy;

std::int64_t spyRows(const KernelFrame& f, int r0, int rows, int stride, std::int16_t* mandel) {
    const std::int64_t n = referenceRows(f, r0, rows, stride, mandel);
    {
        std::lock_guard lock(gSpy.lock);
        gSpy.threads.insert(std::this_thread::get_id());
        gSpy.outside += r0 >= f.winy;
        if (++gSpy.groups == gSpy.abortAfter) gSpy.status->store(gSpy.abortTo);
    }
    if (gSpy.abortAfter == 0) std::this_thread::sleep_for(std::chrono::microseconds(100));
    return n;
}

TEST(RenderWorkers, KeptThreadsGiveThePlainLoopsPictureForAnyThreadCount) {
    std::atomic<int> status{RenderStatus::Rendering};
    RenderWorkers workers(status);
    const MANDAT views[] = {{-0.7454282857142857, -0.113008642857143, 6.726190476e-06, 1024, 0, 0},
                            kStartView,
                            {-0.75, 0.1, 0.05, 2048, 0, 0}};
    int k = 0;
    for (int threads : {1, 8, 3, 8, 2, 5, 0}) {
        SCOPED_TRACE(testing::Message() << threads << " threads");
        const MANDAT& v = views[k++ % 3];
        const KernelFrame f = KernelFrame::of(v, 96, 64, iterationLimitInForce(v));
        const Picture want = plainLoop(f);
        std::vector<std::int16_t> mandel(96 * 64, -7);
        gSpy.reset();
        EXPECT_EQ(workers.run(f, mandel.data(), spyRows, threads), want.work);
        EXPECT_EQ(mandel, want.mandel);
        EXPECT_LE(static_cast<int>(gSpy.threads.size()), std::max(threads, 1));
        EXPECT_EQ(gSpy.groups, 16);
        EXPECT_EQ(gSpy.outside, 0);
    }
}

TEST(RenderWorkers, AbortsLeaveBlocksOrTheOldRowsAndThePoolRendersOn) {
    enum Left { Blocks, Old, EightRowsThenOld };
    struct Case {
        const char* what;
        int statusAtStart, abortAfter, abortTo;
        Left left;
    };
    const Case cases[] = {
        {"coarse from the start", RenderStatus::AbortCoarse, 0, 0, Blocks},
        {"stop from the start", RenderStatus::AbortStop, 0, 0, Old},
        {"coarse after two groups", RenderStatus::Rendering, 2, RenderStatus::AbortCoarse, Blocks},
        {"stop after two groups", RenderStatus::Rendering, 2, RenderStatus::AbortStop,
         EightRowsThenOld},
    };
    std::atomic<int> status;
    RenderWorkers workers(status);
    const KernelFrame f = KernelFrame::of(kStartView, 32, 32, 256);
    const Picture full = plainLoop(f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::int16_t> mandel(32 * 32, 77);
        status = c.statusAtStart;
        gSpy.reset(c.abortAfter, c.abortTo, &status);
        EXPECT_EQ(workers.run(f, mandel.data(), spyRows, 1), -1);
        for (int j = 0; j < 32; ++j)
            for (int i = 0; i < 32; ++i)
                ASSERT_EQ(mandel[j * 32 + i], c.left == Blocks
                                                  ? full.mandel[(j & ~3) * 32 + (i & ~3)]
                                              : c.left == Old || j >= 8 ? 77
                                                                        : full.mandel[j * 32 + i])
                    << i << "," << j;
        status = RenderStatus::Rendering;
        EXPECT_EQ(workers.run(f, mandel.data(), referenceRows, 8), full.work);
        EXPECT_EQ(mandel, full.mandel);
    }
}

std::int64_t slowRows(const KernelFrame& f, int r0, int rows, int stride, std::int16_t* mandel) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return referenceRows(f, r0, rows, stride, mandel);
}

TEST(RenderWorkers, GoingAwayDuringARenderFinishesItFirst) {
    std::atomic<int> status{RenderStatus::Rendering};
    const KernelFrame f = KernelFrame::of(kStartView, 32, 64, 256);
    std::vector<std::int16_t> mandel(32 * 64, -7);
    {
        RenderWorkers workers(status);
        workers.start(f, mandel.data(), slowRows);
    } // no wait, no finish: the threads still write their rows before they go
    EXPECT_EQ(mandel, plainLoop(f).mandel);
}

TEST(RenderRules, LimitInForceWidthFloorAndResult) {
    const double nan = std::nan("");
    const std::pair<double, int> limits[] = {{3.0, 256}, {2.0, 256},    {1.999, 512},
                                             {1.0, 512}, {0.999, 8192}, {nan, 8192}};
    for (const auto& [w, limit] : limits)
        EXPECT_EQ(iterationLimitInForce({0, 0, w, 8192, 0, 0}), limit) << w;
    const std::pair<double, double> widths[] = {
        {0.0, 1e-15}, {-1.0, 1e-15}, {1e-16, 1e-15}, {1e-15, 1e-15}, {2e-15, 2e-15}};
    for (const auto& [w, floored] : widths)
        EXPECT_EQ(floorWidth(w), floored) << w;
    EXPECT_TRUE(std::isnan(floorWidth(nan)));
    EXPECT_EQ(renderResult(123), 123);
    EXPECT_EQ(renderResult(std::numeric_limits<std::int32_t>::max()),
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(renderResult(std::int64_t{1} << 40), std::numeric_limits<std::int32_t>::max());
}

} // namespace
} // namespace velq
