// Worker threads of a render, the block fill of a coarse finish, and the limit rule.
#include "core/render/renderworkers.h"

#include <algorithm>
#include <limits>

namespace velq {

RenderWorkers::~RenderWorkers() {
    // A render still running is finished first: each thread returns to its wait, sees the
    // stop request and ends; the jthreads join them.
    for (std::jthread& t : threads_)
        t.request_stop();
    started.notify_all();
    threads_.clear();
}

void RenderWorkers::start(const KernelFrame& frame, std::int16_t* mandel, RowKernel kernel,
                          int threads, int groupRows) {
    threads = std::max(threads, 1); // with none, nobody would ever release syncLock
    mLock_winy.store(0);
    mLock_term = threads;
    mLock_lcnt.store(0);
    frame_ = frame;
    mandel_ = mandel;
    kernel_ = kernel;
    groupRows_ = groupRows;
    syncLock.acquire();
    for (int t = static_cast<int>(threads_.size()); t < threads; ++t)
        threads_.emplace_back([this, t](std::stop_token stop) { waitForRenders(stop, t); });
    {
        std::lock_guard lock(startLock);
        ++startLock_renders;
        startLock_threads = threads;
    }
    started.notify_all();
}

bool RenderWorkers::waitFor(std::chrono::milliseconds timeout) {
    return syncLock.try_acquire_for(timeout);
}

std::int32_t RenderWorkers::finish() {
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

void RenderWorkers::waitForRenders(std::stop_token stop, int index) {
    std::uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock lock(startLock);
            if (!started.wait(lock, stop, [&] { return startLock_renders != seen; })) return;
            seen = startLock_renders;
            if (index >= startLock_threads) continue;
        }
        mandelThread();
    }
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
