// Worker threads of a render, the block fill of a coarse finish, and the limit rule.
#include "engine/renderworkers.h"

#include <algorithm>
#include <limits>

namespace velq {

RenderWorkers::~RenderWorkers() {
    // A driver that never polled to the end still must not leave threads writing.
    threads_.clear();
}

void RenderWorkers::start(const KernelFrame& frame, std::int16_t* mandel, RowKernel kernel,
                          int threads, int groupRows) {
    mLock_winy.store(0);
    mLock_term = threads;
    mLock_lcnt.store(0);
    frame_ = frame;
    mandel_ = mandel;
    kernel_ = kernel;
    groupRows_ = groupRows;
    syncLock.acquire();
    threads_.reserve(static_cast<std::size_t>(threads));
    for (int t = 0; t < threads; ++t)
        threads_.emplace_back([this] { mandelThread(); });
}

bool RenderWorkers::waitFor(std::chrono::milliseconds timeout) {
    return syncLock.try_acquire_for(timeout);
}

std::int32_t RenderWorkers::finish() {
    threads_.clear(); // every worker has left its loop; joining is immediate
    const int status = status_.load();
    if (status == RenderStatus::AbortCoarse)
        blockFill(mandel_, frame_.winx, frame_.winy, groupRows_);
    const std::int32_t result = status < 0 ? -1 : renderResult(mLock_lcnt.load());
    syncLock.release();
    return result;
}

std::int32_t RenderWorkers::run(const KernelFrame& frame, std::int16_t* mandel, RowKernel kernel,
                                int threads) {
    start(frame, mandel, kernel, threads);
    while (!waitFor(std::chrono::milliseconds(100))) {
    }
    return finish();
}

void RenderWorkers::mandelThread() {
    const KernelFrame f = frame_;
    std::int64_t group = 0;
    for (;;) {
        int r0 = 0;
        {
            std::lock_guard lock(mLock);
            r0 = mLock_winy.load(std::memory_order_relaxed);
            mLock_winy.store(r0 + groupRows_, std::memory_order_relaxed);
            mLock_lcnt.store(mLock_lcnt.load(std::memory_order_relaxed) + (group >> 8),
                             std::memory_order_relaxed);
        }
        if (r0 >= f.winy) break;
        const int status = status_.load(std::memory_order_relaxed);
        if (status == RenderStatus::AbortStop) break;
        const bool coarse = status < 0;
        group = coarse ? kernel_(f, r0, 1, groupRows_, mandel_)
                       : kernel_(f, r0, groupRows_, 1, mandel_);
    }
    bool last = false;
    {
        std::lock_guard lock(mLock);
        last = --mLock_term == 0;
    }
    if (last) syncLock.release();
}

void blockFill(std::int16_t* mandel, int winx, int winy, int block) {
    for (int r = 0; r < winy; r += block) {
        for (int c = 0; c < winx; c += block) {
            const std::int16_t v = mandel[static_cast<std::ptrdiff_t>(r) * winx + c];
            for (int rr = r; rr < std::min(r + block, winy); ++rr) {
                std::int16_t* row = mandel + static_cast<std::ptrdiff_t>(rr) * winx;
                std::fill(row + c, row + std::min(c + block, winx), v);
            }
        }
    }
}

int iterationLimitInForce(const MANDAT& view) {
    if (view.w >= 2.0) return 256;
    if (view.w >= 1.0) return 512;
    return view.it; // also for a NaN width
}

std::int32_t renderResult(std::int64_t work) {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(work, std::numeric_limits<std::int32_t>::max()));
}

} // namespace velq
