// The worker pool: any thread count gives the same picture; aborts; the limit rule.
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

struct Picture {
    int winx, winy;
    std::vector<std::int16_t> mandel;
    Picture(int w, int h, std::int16_t fill = 0) : winx(w), winy(h), mandel(w * h, fill) {}
    std::int16_t at(int i, int j) const { return mandel[j * winx + i]; }
};

std::int32_t render(Picture& p, const MANDAT& v, std::atomic<int>& status, int threads,
                    RowKernel kernel = referenceRows) {
    RenderWorkers workers(status);
    const KernelFrame f = KernelFrame::of(v, p.winx, p.winy, iterationLimitInForce(v));
    return workers.run(f, p.mandel.data(), kernel, threads);
}

const MANDAT kSeahorse{-0.7454282857142857, -0.113008642857143, 6.726190476e-06, 1024, 0, 0};

TEST(RenderWorkers, AnyThreadCountGivesTheSamePictureAndWork) {
    std::atomic<int> status{RenderStatus::Rendering};
    Picture one(160, 112), eight(160, 112), odd(160, 112);
    const std::int32_t w1 = render(one, kSeahorse, status, 1);
    EXPECT_GT(w1, 0);
    EXPECT_EQ(render(eight, kSeahorse, status, 8), w1);
    EXPECT_EQ(render(odd, kSeahorse, status, 3), w1);
    EXPECT_EQ(one.mandel, eight.mandel);
    EXPECT_EQ(one.mandel, odd.mandel);
}

TEST(RenderWorkers, WorkCounterSumsEachGroupScaledDown) {
    std::atomic<int> status{RenderStatus::Rendering};
    Picture p(64, 16);
    const MANDAT v{0, 0, 0.5, 1000, 0, 0};
    const KernelFrame f = KernelFrame::of(v, 64, 16, 1000);
    std::int64_t expected = 0;
    std::vector<std::int16_t> scratch(64 * 16);
    for (int r0 = 0; r0 < 16; r0 += 4)
        expected += referenceRows(f, r0, 4, 1, scratch.data()) >> 8;
    EXPECT_EQ(render(p, v, status, 2), expected);
}

TEST(RenderWorkers, CoarseFromTheStartComputesOnlyBlockCornersThenFills) {
    std::atomic<int> status{RenderStatus::AbortCoarse};
    Picture coarse(64, 48, -3), full(64, 48);
    EXPECT_EQ(render(coarse, kStartView, status, 8), -1);
    std::atomic<int> running{RenderStatus::Rendering};
    render(full, kStartView, running, 8);
    for (int j = 0; j < 48; ++j)
        for (int i = 0; i < 64; ++i)
            ASSERT_EQ(coarse.at(i, j), full.at(i & ~3, j & ~3)) << i << "," << j;
}

TEST(RenderWorkers, StopFromTheStartLeavesThePreviousPicture) {
    std::atomic<int> status{RenderStatus::AbortStop};
    Picture p(32, 32, 77);
    EXPECT_EQ(render(p, kStartView, status, 8), -1);
    for (auto v : p.mandel)
        ASSERT_EQ(v, 77);
}

// A kernel that asks for a stop after its second group, standing in for the Abort button.
std::atomic<int>* gStatus = nullptr;
int gGroups = 0;
std::int64_t stopAfterTwoGroups(const KernelFrame& f, int r0, int rows, int stride,
                                std::int16_t* mandel) {
    const std::int64_t n = referenceRows(f, r0, rows, stride, mandel);
    if (++gGroups == 2) gStatus->store(RenderStatus::AbortStop);
    return n;
}
std::int64_t coarseAfterTwoGroups(const KernelFrame& f, int r0, int rows, int stride,
                                  std::int16_t* mandel) {
    const std::int64_t n = referenceRows(f, r0, rows, stride, mandel);
    if (++gGroups == 2) gStatus->store(RenderStatus::AbortCoarse);
    return n;
}

TEST(RenderWorkers, StopDuringTheRenderKeepsUnclaimedRows) {
    std::atomic<int> status{RenderStatus::Rendering};
    gStatus = &status;
    gGroups = 0;
    Picture p(32, 32, 77), full(32, 32);
    EXPECT_EQ(render(p, kStartView, status, 1, stopAfterTwoGroups), -1);
    std::atomic<int> running{RenderStatus::Rendering};
    render(full, kStartView, running, 1);
    for (int j = 0; j < 32; ++j)
        for (int i = 0; i < 32; ++i)
            ASSERT_EQ(p.at(i, j), j < 8 ? full.at(i, j) : 77) << i << "," << j;
}

TEST(RenderWorkers, CoarseAbortDuringTheRenderFillsEveryBlock) {
    std::atomic<int> status{RenderStatus::Rendering};
    gStatus = &status;
    gGroups = 0;
    Picture p(32, 32), full(32, 32);
    EXPECT_EQ(render(p, kStartView, status, 1, coarseAfterTwoGroups), -1);
    std::atomic<int> running{RenderStatus::Rendering};
    render(full, kStartView, running, 1);
    for (int j = 0; j < 32; ++j)
        for (int i = 0; i < 32; ++i)
            ASSERT_EQ(p.at(i, j), full.at(i & ~3, j & ~3)) << i << "," << j;
}

TEST(RenderWorkers, PoolIsReusableAfterAnAbort) {
    std::atomic<int> status{RenderStatus::AbortStop};
    RenderWorkers workers(status);
    Picture p(32, 32), q(32, 32);
    const KernelFrame f = KernelFrame::of(kStartView, 32, 32, 256);
    EXPECT_EQ(workers.run(f, p.mandel.data()), -1);
    status = RenderStatus::Rendering;
    EXPECT_GE(workers.run(f, p.mandel.data()), 0);
    std::atomic<int> running{RenderStatus::Rendering};
    render(q, kStartView, running, 8);
    EXPECT_EQ(p.mandel, q.mandel);
}

// Records which threads ran groups, standing in for a kernel.
std::mutex gSeenLock;
std::set<std::thread::id> gSeen;
std::int64_t recordingThread(const KernelFrame& f, int r0, int rows, int stride,
                             std::int16_t* mandel) {
    {
        std::lock_guard lock(gSeenLock);
        gSeen.insert(std::this_thread::get_id());
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200)); // let the others claim too
    return referenceRows(f, r0, rows, stride, mandel);
}

TEST(RenderWorkers, KeptThreadsServeRendersOfAnyThreadCountInTurn) {
    std::atomic<int> status{RenderStatus::Rendering};
    RenderWorkers workers(status);
    const MANDAT views[] = {kSeahorse, kStartView, {-0.75, 0.1, 0.05, 2048, 0, 0}};
    int k = 0;
    for (int threads : {1, 8, 3, 8, 2, 5}) {
        const MANDAT& v = views[k++ % 3];
        Picture kept(96, 64), fresh(96, 64);
        const KernelFrame f = KernelFrame::of(v, 96, 64, iterationLimitInForce(v));
        gSeen.clear();
        const std::int32_t work = workers.run(f, kept.mandel.data(), recordingThread, threads);
        EXPECT_LE(static_cast<int>(gSeen.size()), threads);
        EXPECT_EQ(work, render(fresh, v, status, threads));
        EXPECT_EQ(kept.mandel, fresh.mandel) << threads << " threads";
    }
}

std::int64_t slowGroups(const KernelFrame& f, int r0, int rows, int stride, std::int16_t* mandel) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return referenceRows(f, r0, rows, stride, mandel);
}

TEST(RenderWorkers, GoingAwayDuringARenderFinishesItFirst) {
    std::atomic<int> status{RenderStatus::Rendering};
    Picture p(32, 64, -7), full(32, 64);
    {
        RenderWorkers workers(status);
        const KernelFrame f = KernelFrame::of(kStartView, 32, 64, 256);
        workers.start(f, p.mandel.data(), slowGroups);
    } // no wait, no finish: the threads still write their rows before they go
    render(full, kStartView, status, 8);
    EXPECT_EQ(p.mandel, full.mandel);
}

TEST(RenderResult, SaturatesAtTheLargest32BitValue) {
    EXPECT_EQ(renderResult(0), 0);
    EXPECT_EQ(renderResult(123), 123);
    EXPECT_EQ(renderResult(std::int64_t{1} << 40), std::numeric_limits<std::int32_t>::max());
}

TEST(LimitInForce, WideViewsUseFixedLimits) {
    EXPECT_EQ(iterationLimitInForce({0, 0, 3.0, 8192, 0, 0}), 256);
    EXPECT_EQ(iterationLimitInForce({0, 0, 2.0, 8192, 0, 0}), 256);
    EXPECT_EQ(iterationLimitInForce({0, 0, 1.0, 8192, 0, 0}), 512);
    EXPECT_EQ(iterationLimitInForce({0, 0, 0.5, 8192, 0, 0}), 8192);
    EXPECT_EQ(iterationLimitInForce({0, 0, std::nan(""), 4096, 0, 0}), 4096);
}

TEST(WidthFloor, TinyZeroAndNegativeWidthsBecomeTheFloor) {
    EXPECT_EQ(floorWidth(0.0), 1e-15);
    EXPECT_EQ(floorWidth(-1.0), 1e-15);
    EXPECT_EQ(floorWidth(1e-16), 1e-15);
    EXPECT_EQ(floorWidth(1e-15), 1e-15);
    EXPECT_EQ(floorWidth(2e-15), 2e-15);
    EXPECT_TRUE(std::isnan(floorWidth(std::nan(""))));
}

} // namespace
} // namespace velq
